#pragma once
// The objects of the Insert menu as they come in: each about a tile in size
// and the right way up (cylinders, rods and cones standing, planes and disks
// lying on the floor like a mat, a billboard upright), for the document to
// stand on the footprint (FootprintPlacement). Made in the active context.

#include "scene/COGLViewport.h"
#include "scene/ObjectKind.h"

#include <memory>
#include <string>

namespace zelvane {

class COGLObject;
class COGLText;

// The kinds Insert offers besides text, in the menu's order.
inline constexpr ObjectKind kInsertableKinds[] = {ObjectKind::Box,  ObjectKind::Sphere, ObjectKind::Cylinder,
                                                  ObjectKind::Rod,  ObjectKind::Cone,   ObjectKind::Plane,
                                                  ObjectKind::Disk, ObjectKind::Billboard};

// A new object of one of kInsertableKinds; null for any other kind.
std::unique_ptr<COGLObject> MakeInsertedObject(ObjectKind kind);
// Stands an inserted object on the footprint (StandOnFootprint); planes and
// disks lie just above the floor, so it does not show through them.
void PutOnFootprint(COGLObject& object, const CageSize& cage);

// What "3-D Text..." asks for.
struct TextRequest {
    std::string text = "Text";    // UTF-8; at most 32 characters of the Western code page
    std::string fontFamily = "Arial";
    float depth = 0.5f;           // how far the letters reach back, in letter heights
};
inline constexpr float kLargestTextDepth = 10.0f;
// Empty when `request` can be made; otherwise why not, for the user.
std::string WhyTextCannotBeMade(const TextRequest& request);
// Upright letters one unit high; null when WhyTextCannotBeMade says no.
std::unique_ptr<COGLText> MakeInsertedText(const TextRequest& request);

} // namespace zelvane
