#pragma once
/*
 * The materials of an imported mesh: an optional addition to the records of
 * MeshSet.h, filled by plug-ins that export zelplug_ImportMaterials
 * (PluginExports.h). README.md in this folder explains the contract to
 * plug-in writers.
 *
 * A MeshMaterials holds one table of materials for the whole set and, for
 * each part of the set, its face groups: a group lists faces of that part
 * (by their position in the part's faces) and names one material of the
 * table. A face belongs to at most one group; faces in no group are drawn
 * with the mesh object's own material, as every face is without materials.
 *
 * Ownership is that of the mesh records: the plug-in allocates every array
 * and string from its own heap, and all of it belongs to the editor once the
 * import returns. The editor never frees it and never hands it back.
 *
 * Invariants a plug-in keeps (the editor checks each and refuses materials
 * that break one, importing the mesh without them):
 * - counts are never negative; an array with elements is not NULL;
 * - partCount is 0 (no groups at all) or the set's partCount;
 * - a group's material lies in [0, materialCount), each of its faces in
 *   [0, faceCount) of its part, and no face of a part is in two groups;
 * - colours and opacity are finite and in [0, 1], shininess in [0, 128];
 * - twoSided is 0 or 1;
 * - names are NULL or at most 255 bytes; texturePath is NULL, empty, or an
 *   absolute path ("/" first) of at most 4095 bytes.
 */

#include "plugins/interface/MeshSet.h"

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The version of these records; the editor writes it into
   MeshMaterials.version before the call. A later version may add records
   after the ones here, never change them. */
#define ZELPLUG_MATERIALS_VERSION 1

/* Longest material name and texture path, in bytes without the NUL. */
#define ZELPLUG_MAX_MATERIAL_NAME 255
#define ZELPLUG_MAX_TEXTURE_PATH 4095

/* How a group's faces look under the editor's lights (OpenGL's material
   model). Colours are red, green, blue in [0, 1]. */
typedef struct MeshMaterial {
    const char* name;        /* the material's name in the file; may be NULL */
    float ambient[3];
    float diffuse[3];
    float specular[3];
    float shininess;         /* specular exponent, 0 (dull) to 128 (sharp) */
    float opacity;           /* 1 opaque, 0 invisible */
    int32_t twoSided;        /* 1: both sides of each face are drawn and lit */
    /* The picture laid on the faces with their texture coordinates: the
       absolute path of the file the material names, resolved by the plug-in
       against the model file's folder (on Linux matching names without
       regard to case, as files made on Windows need). NULL or "" for none.
       A path that names no readable picture is allowed: the editor draws the
       group's colours and tells the user which file was missing. */
    const char* texturePath;
} MeshMaterial;

/* Faces of one part drawn with one material. */
typedef struct MeshFaceGroup {
    int32_t material;  /* index into MeshMaterials.materials */
    int32_t faceCount;
    int32_t* faces;    /* positions in the part's faces array */
} MeshFaceGroup;

/* The face groups of one part. */
typedef struct MeshPartGroups {
    int32_t groupCount;
    MeshFaceGroup* groups;
} MeshPartGroups;

/* The editor fills version and sets the rest to 0 and NULL before the call;
   a plug-in with no materials for a file leaves it so. */
typedef struct MeshMaterials {
    int32_t version;         /* written by the editor only */
    int32_t materialCount;
    MeshMaterial* materials;
    int32_t partCount;       /* 0, or the set's partCount */
    MeshPartGroups* parts;   /* partCount records, in the order of the set's parts */
} MeshMaterials;

ZELPLUG_STATIC_ASSERT(sizeof(MeshMaterial) == (sizeof(void*) == 4 ? 56 : 64), "MeshMaterial layout");
ZELPLUG_STATIC_ASSERT(sizeof(MeshFaceGroup) == (sizeof(void*) == 4 ? 12 : 16), "MeshFaceGroup layout");
ZELPLUG_STATIC_ASSERT(sizeof(MeshPartGroups) == (sizeof(void*) == 4 ? 8 : 16), "MeshPartGroups layout");
ZELPLUG_STATIC_ASSERT(sizeof(MeshMaterials) == (sizeof(void*) == 4 ? 20 : 32), "MeshMaterials layout");

#ifdef __cplusplus
}
#endif
