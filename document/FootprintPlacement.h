#pragma once
// Where new things go: onto the footprint. An object that Insert makes and a
// model that Import brings in stand on the floor (y = 0) in the middle of the
// footprint cage, which the scene centres on its origin (tile (0, 0)). An
// imported model first gets its origin, the point it is placed, turned and
// scaled about, moved to the middle of its box, so Rotate turns it in place,
// and it may be made to fit the footprint.
//
// Qt-free and without the document, so the command-line tool places models
// by the same rule as the editor's Import.

#include "scene/COGLViewport.h"
#include "scene/math/Box3.h"

namespace zelvane {

class COGLMesh;
class COGLObject;

// Which way is up in a model file: as its plug-in says (the turn the import
// gives it), or y or z (3D Studio's files stand on z).
enum class ModelUpAxis { AsPlugin = 0, Y = 1, Z = 2 };

// The Import Options: how large and which way up a model comes in.
struct ImportOptions {
    // Times the size its plug-in gives it; above 0.
    float scale = 1.0f;
    ModelUpAxis up = ModelUpAxis::AsPlugin;
    // Scaled (larger or smaller, the same on every axis) so that it fills the
    // cage's width and depth as far as it can without leaving them.
    bool fitToFootprint = false;

    friend bool operator==(const ImportOptions&, const ImportOptions&) = default;
};

// The cage as a box in the scene: x from −width/2 to width/2, y from the
// floor to its height, z from −depth/2 to depth/2.
Box3 FootprintBox(const CageSize& cage);

// How far an object whose shape fills `sceneBox` must move to stand on the
// floor in the middle of the footprint.
Vector3 OffsetOntoFootprint(const Box3& sceneBox, const CageSize& cage);

// Moves `object` to stand on the floor in the middle of the footprint.
void StandOnFootprint(COGLObject& object, const CageSize& cage);

// An imported mesh as the plug-in's import left it (its scale and turn are
// the plug-in's): its origin moved to the middle of its vertices' box, then
// turned, scaled and made to fit as `options` say, and stood on the footprint.
void PlaceImportedMesh(COGLMesh& mesh, const ImportOptions& options, const CageSize& cage);

} // namespace zelvane
