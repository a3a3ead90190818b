#pragma once
// Byte layout of the scene file (".cgs"): all numbers little-endian, floats
// 32-bit IEEE, no padding anywhere.
//
//   "CGS1", version (u32)                          the document's 8 bytes
//   object count N (u32), texture count T (u32)
//   T texture records: flag (u8), path (260 bytes, NUL-terminated)
//   N object entries: kind code (i32), the common object record (271 bytes),
//     then the kind's tail: planes 1 byte, text 82 bytes, meshes their mesh
//     set (name, parts with faces, vertices and texture coordinates, extents)
//   only when a mesh has materials, the materials section after the last
//   object (a reader that stops after N objects never sees it):
//     "ZMAT", the section's length L (u32) counting the bytes after it,
//     mesh count M (u32), then M entries:
//       the mesh's position among the N objects (u32)
//       material count (u32), each material: name (u32 length, bytes),
//         ambient, diffuse, specular (3 f32 each), shininess (f32),
//         opacity (f32), two-sided (u8), texture path (u32 length, bytes)
//       part count (u32: 0 or the mesh's), each part: group count (u32),
//         each group: material (i32), texture path (u32 length, bytes),
//         face count F (u32), F faces (i32)
//   only when a mesh knows the model file it was imported from, the sources
//   section after that (an older reader stops at a tag it does not know):
//     "ZSRC", length L (u32), mesh count M (u32), then M entries:
//       the mesh's position among the N objects (u32), the model file's path
//       (u32 length, bytes), move count K (u32), K moves of the shape (3 f32)
//   only when the scene carries a footprint cage, the cage section last:
//     "ZCAG", length 12 (u32), width, height, depth (i32 each, 1 to 255)
// A section appears at most once; readers stop at the first tag they do not
// know (or a repeated one) and leave the rest alone.

#include <array>
#include <cstddef>
#include <cstdint>

namespace zelvane::scene_file {

inline constexpr std::array<std::uint8_t, 4> kMagic = {'C', 'G', 'S', '1'};
inline constexpr std::uint32_t kVersion = 1;
inline constexpr std::size_t kHeaderSize = 8;

inline constexpr std::size_t kTextureFlagSize = 1;
inline constexpr std::size_t kTexturePathField = 260;
inline constexpr std::size_t kTextureRecordSize = kTextureFlagSize + kTexturePathField;
static_assert(kTextureRecordSize == 261);

inline constexpr std::size_t kKindCodeSize = 4;

// The common object record, field by field.
inline constexpr std::size_t kNameField = 100;
inline constexpr std::size_t kColourSize = 16;
inline constexpr std::size_t kFloatSize = 4;
inline constexpr std::size_t kVectorSize = 12;
inline constexpr std::size_t kQuaternionSize = 16;
inline constexpr std::size_t kCommonRecordSize = kNameField + 4 * kColourSize // materials
                                                 + kFloatSize                 // shininess
                                                 + kQuaternionSize            // orientation
                                                 + 2 * kVectorSize            // scale, position
                                                 + kFloatSize                 // position x again
                                                 + 3                          // visible, transparent, marked
                                                 + 4 + 4 + 4                  // pick style, flags, texture index
                                                 + 3 * kVectorSize            // texture rotation, scale, offset
                                                 + 4 + 4;                     // environment mode, spare word
static_assert(kCommonRecordSize == 271);

inline constexpr std::size_t kPlaneTailSize = 1;
inline constexpr std::size_t kTextTailSize = 82;

// The mesh tail's records.
inline constexpr std::size_t kMeshFaceSize = 24;
inline constexpr std::size_t kMeshVertexSize = 12;
inline constexpr std::size_t kMeshTexCoordSize = 8;
// A part with an empty name and no faces, vertices or coordinates: its four counts.
inline constexpr std::size_t kSmallestMeshPart = 16;

inline constexpr std::int32_t kNoTexture = -1;

// The materials section.
inline constexpr std::array<std::uint8_t, 4> kMaterialsTag = {'Z', 'M', 'A', 'T'};
inline constexpr std::size_t kSectionHeaderSize = 8; // tag and length
inline constexpr std::size_t kSmallestMaterial = 4 + 9 * 4 + 4 + 4 + 1 + 4;
inline constexpr std::size_t kSmallestGroup = 4 + 4 + 4;
inline constexpr std::size_t kGroupFaceSize = 4;

// The sources section.
inline constexpr std::array<std::uint8_t, 4> kSourcesTag = {'Z', 'S', 'R', 'C'};
inline constexpr std::size_t kSmallestSource = 4 + 4 + 4;
inline constexpr std::size_t kShapeMoveSize = 12;

// The cage section.
inline constexpr std::array<std::uint8_t, 4> kCageTag = {'Z', 'C', 'A', 'G'};
inline constexpr std::size_t kCageSectionLength = 12;
inline constexpr std::int32_t kLargestCageSide = 255;

} // namespace zelvane::scene_file
