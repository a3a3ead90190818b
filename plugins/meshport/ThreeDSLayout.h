#pragma once
// The parts of the 3D Studio mesh format that meshport reads. Every chunk
// is a 6-byte header (id u16, length u32 counting the header, the chunk's own
// data and its sub-chunks) followed by its data; all numbers little-endian.

#include <cstddef>
#include <cstdint>

namespace zelvane::meshport {

inline constexpr size_t kChunkHeaderSize = 6;

inline constexpr uint16_t kChunkMain = 0x4D4D;         // at offset 0: sub-chunks
inline constexpr uint16_t kChunkEditor = 0x3D3D;       // in main: objects and materials
inline constexpr uint16_t kChunkObject = 0x4000;       // in editor: name, then sub-chunks
inline constexpr uint16_t kChunkTriangleMesh = 0x4100; // in object: one mesh part
inline constexpr uint16_t kChunkVertexList = 0x4110;   // in mesh: u16 count, count x (x, y, z) f32
inline constexpr uint16_t kChunkFaceList = 0x4120;     // in mesh: u16 count, count x (a, b, c, flags) u16, sub-chunks
inline constexpr uint16_t kChunkFaceGroup = 0x4130;    // in face list: material name, u16 count, count x u16 face
inline constexpr uint16_t kChunkMapping = 0x4140;      // in mesh: u16 count, count x (u, v) f32
inline constexpr uint16_t kChunkMatrix = 0x4160;       // in mesh: 4 rows x 3 f32
inline constexpr uint16_t kChunkMaterial = 0xAFFF;     // in editor: sub-chunks
inline constexpr uint16_t kChunkMaterialName = 0xA000; // in material: string
inline constexpr uint16_t kChunkAmbient = 0xA010;      // in material: colour sub-chunks
inline constexpr uint16_t kChunkDiffuse = 0xA020;      // in material: colour sub-chunks
inline constexpr uint16_t kChunkSpecular = 0xA030;     // in material: colour sub-chunks
inline constexpr uint16_t kChunkShininess = 0xA040;    // in material: percentage sub-chunks
inline constexpr uint16_t kChunkShininessStrength = 0xA041;
inline constexpr uint16_t kChunkTransparency = 0xA050; // in material: percentage sub-chunks
inline constexpr uint16_t kChunkTwoSided = 0xA081;     // in material: no data; present means two-sided
inline constexpr uint16_t kChunkTextureMap = 0xA200;   // in material: sub-chunks
inline constexpr uint16_t kChunkTextureFile = 0xA300;  // in texture map: string
inline constexpr uint16_t kChunkColourFloat = 0x0010;  // three f32 in 0..1
inline constexpr uint16_t kChunkColourBytes = 0x0011;  // three bytes
inline constexpr uint16_t kChunkColourFloatGamma = 0x0012;
inline constexpr uint16_t kChunkColourBytesGamma = 0x0013;
inline constexpr uint16_t kChunkPercentInt = 0x0030;   // u16, 0 to 100
inline constexpr uint16_t kChunkPercentFloat = 0x0031; // f32, 0 to 1

inline constexpr size_t kVertexBytes = 12;
inline constexpr size_t kMappingBytes = 8;
inline constexpr size_t kFaceBytes = 8; // three corners and a flags word
inline constexpr size_t kMatrixFloats = 12;

// An object name keeps at most this many characters; longer ones are cut.
inline constexpr size_t kMaxObjectNameLength = 11;
inline constexpr const char* kDefaultObjectName = "Default name";

// The trace file lists a group's face numbers above this one.
inline constexpr uint32_t kTracedFaceNumber = 15000;
inline constexpr const char* kTraceFileName = "z.txt";

} // namespace zelvane::meshport
