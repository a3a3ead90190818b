#pragma once
/*
 * The mesh records that cross between the editor and an import plug-in.
 *
 * A plug-in fills a MeshSet with MeshPart records; every array and string it
 * hands back is allocated by the plug-in and belongs to the editor from then
 * on. Plain C, so a plug-in can be written in C or C++; the layout is the
 * platform's natural one (little-endian, pointers of native width), in the
 * field order below, which is part of the contract.
 *
 * Invariant a plug-in keeps: every vertex index of a face lies in
 * [0, vertexCount) of its part, every texture index in [0, texCoordCount);
 * a count of 0 allows any pointer (nothing is read through it); partCount is
 * never negative.
 */

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct MeshVertex {
    float x, y, z; /* in the source file's units and axes */
} MeshVertex;

typedef struct MeshTexCoord {
    float u, v;
} MeshTexCoord;

/* One triangle: corner k is drawn at vertices[vertex[k]] with
   texCoords[texCoord[k]], corners in stored order. */
typedef struct MeshFace {
    int32_t vertex[3];
    int32_t texCoord[3];
} MeshFace;

/* One named triangle mesh (the object name in the source file). */
typedef struct MeshPart {
    const char* name;
    MeshFace* faces;
    int32_t faceCount;
    MeshVertex* vertices;
    int32_t vertexCount;
    MeshTexCoord* texCoords;
    int32_t texCoordCount;
} MeshPart;

/* The editor fills name and the three extents (half-sizes of the bounding
   box); a plug-in writes only partCount and parts. */
typedef struct MeshSet {
    const char* name;
    int32_t partCount;
    MeshPart* parts;
    float extentX;
    float extentY;
    float extentZ;
} MeshSet;

#ifdef __cplusplus
#define ZELPLUG_STATIC_ASSERT(condition, message) static_assert(condition, message)
#else
#define ZELPLUG_STATIC_ASSERT(condition, message) _Static_assert(condition, message)
#endif

ZELPLUG_STATIC_ASSERT(sizeof(MeshVertex) == 12, "MeshVertex is three 32-bit floats");
ZELPLUG_STATIC_ASSERT(sizeof(MeshTexCoord) == 8, "MeshTexCoord is two 32-bit floats");
ZELPLUG_STATIC_ASSERT(sizeof(MeshFace) == 24, "MeshFace is six 32-bit indices");
/* Seven fields of 4 bytes with 32-bit pointers; with 64-bit pointers each
   count is padded to pointer alignment. */
ZELPLUG_STATIC_ASSERT(sizeof(MeshPart) == (sizeof(void*) == 4 ? 28 : 56), "MeshPart layout");
ZELPLUG_STATIC_ASSERT(sizeof(MeshSet) == (sizeof(void*) == 4 ? 24 : 40), "MeshSet layout");

#ifdef __cplusplus
}
#endif
