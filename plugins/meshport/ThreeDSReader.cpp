#include "plugins/meshport/ThreeDSReader.h"
// Sections:
//   1. Chunk walk and array decoding
//   2. Objects and their triangle meshes
//   3. Materials
//   4. Material resolution
//   5. The file

#include "bytes/ByteReader.h"
#include "plugins/meshport/ThreeDSLayout.h"

#include <algorithm>
#include <unordered_map>

namespace zelvane::meshport {

namespace {

// ---------------------------------------------------------------------------
// 1. Chunk walk and array decoding

// Calls handle(id, chunk) for every chunk from the reader's position to its
// end, `chunk` limited to that chunk's data and sub-chunks.
template <typename Handler>
void ForEachChunk(ByteReader& reader, Handler&& handle)
{
    while (reader.remaining() >= kChunkHeaderSize) {
        const uint16_t id = reader.u16le();
        const uint32_t length = reader.u32le();
        // Shorter than its own header: no later chunk of this level can be found.
        if (length < kChunkHeaderSize)
            return;
        ByteReader chunk = reader.take_sub(std::min<size_t>(length - kChunkHeaderSize, reader.remaining()));
        handle(id, chunk);
    }
}

// Elements are decoded from a span the cursor handed out, whose size is a
// multiple of the element size by construction (and read as 0 otherwise).
uint16_t U16At(std::span<const uint8_t> bytes, size_t at)
{
    return ByteReader(bytes).sub(at, 2).u16le();
}

float F32At(std::span<const uint8_t> bytes, size_t at)
{
    return ByteReader(bytes).sub(at, 4).f32le();
}

// A u16 count followed by that many records, cut to the records the chunk
// holds; returns the records' bytes.
std::span<const uint8_t> CountedRecords(ByteReader& chunk, size_t recordBytes)
{
    const size_t count = std::min<size_t>(chunk.u16le(), chunk.remaining() / recordBytes);
    return chunk.bytes(count * recordBytes);
}

// A NUL-terminated string that may run to the chunk's end.
std::string ChunkString(ByteReader& chunk)
{
    return chunk.cstring(chunk.remaining());
}

// ---------------------------------------------------------------------------
// 2. Objects and their triangle meshes

void ReadVertexList(ByteReader& chunk, MeshObject& object)
{
    const std::span<const uint8_t> raw = CountedRecords(chunk, kVertexBytes);
    MallocArray<MeshVertex> vertices(raw.size() / kVertexBytes);
    for (size_t i = 0, at = 0; i < vertices.size(); ++i, at += kVertexBytes)
        vertices[i] = {F32At(raw, at), F32At(raw, at + 4), F32At(raw, at + 8)};
    object.vertices = std::move(vertices);
}

void ReadMapping(ByteReader& chunk, MeshObject& object)
{
    const std::span<const uint8_t> raw = CountedRecords(chunk, kMappingBytes);
    MallocArray<MeshTexCoord> mapping(raw.size() / kMappingBytes);
    for (size_t i = 0, at = 0; i < mapping.size(); ++i, at += kMappingBytes)
        mapping[i] = {F32At(raw, at), F32At(raw, at + 4)};
    object.mapping = std::move(mapping);
}

void ReadFaceGroup(ByteReader& chunk, MeshObject& object, std::optional<GroupTrace>& trace)
{
    FaceGroup group;
    group.materialName = ChunkString(chunk);
    const std::span<const uint8_t> raw = CountedRecords(chunk, 2);
    group.faces.resize(raw.size() / 2);
    GroupTrace& traced = trace.emplace();
    traced.faceCount = group.faces.size();
    for (size_t i = 0; i < group.faces.size(); ++i) {
        group.faces[i] = U16At(raw, 2 * i);
        if (group.faces[i] > kTracedFaceNumber)
            traced.tracedFaces.emplace_back(i, group.faces[i]);
    }
    object.groups.push_back(std::move(group));
}

void ReadFaceList(ByteReader& chunk, MeshObject& object, std::optional<GroupTrace>& trace)
{
    const std::span<const uint8_t> raw = CountedRecords(chunk, kFaceBytes);
    MallocArray<MeshFace> faces(raw.size() / kFaceBytes);
    for (size_t i = 0, at = 0; i < faces.size(); ++i, at += kFaceBytes) {
        const int32_t a = U16At(raw, at), b = U16At(raw, at + 2), c = U16At(raw, at + 4);
        faces[i] = {{a, b, c}, {a, b, c}}; // the flags word is dropped
    }
    object.faces = std::move(faces);
    object.faceMaterials.assign(object.faces.size(), 0);
    // A second face list replaces the first, and with it the groups of the first.
    object.groups.clear();
    ForEachChunk(chunk, [&](uint16_t id, ByteReader& sub) {
        if (id == kChunkFaceGroup)
            ReadFaceGroup(sub, object, trace);
    });
}

void ReadMatrix(ByteReader& chunk, MeshObject& object)
{
    const std::span<const uint8_t> raw = chunk.bytes(kMatrixFloats * 4);
    if (raw.empty())
        return; // too short: the identity stays
    for (size_t row = 0; row < 4; ++row)
        for (size_t column = 0; column < 3; ++column)
            object.matrix[row][column] = F32At(raw, (row * 3 + column) * 4);
}

void ReadTriangleMesh(ByteReader& chunk, ThreeDSModel& model, const std::string& name)
{
    MeshObject& object = model.objects.emplace_back();
    object.name = name;
    ForEachChunk(chunk, [&](uint16_t id, ByteReader& sub) {
        switch (id) {
        case kChunkVertexList: ReadVertexList(sub, object); break;
        case kChunkMapping: ReadMapping(sub, object); break;
        case kChunkFaceList: ReadFaceList(sub, object, model.trace); break;
        case kChunkMatrix: ReadMatrix(sub, object); break;
        default: break;
        }
    });
}

// The whole stored name is skipped, so a long one never shifts the reader
// into the sub-chunks; only its first 11 characters are kept.
std::string ReadObjectName(ByteReader& chunk)
{
    std::string name = ChunkString(chunk);
    if (name.empty())
        return kDefaultObjectName;
    if (name.size() > kMaxObjectNameLength)
        name.resize(kMaxObjectNameLength);
    return name;
}

void ReadObject(ByteReader& chunk, ThreeDSModel& model)
{
    const std::string name = ReadObjectName(chunk);
    ForEachChunk(chunk, [&](uint16_t id, ByteReader& sub) {
        if (id == kChunkTriangleMesh)
            ReadTriangleMesh(sub, model, name);
    });
}

// ---------------------------------------------------------------------------
// 3. Materials

// Colours in 0..1 scaled to a byte; out-of-range and NaN values saturate
// instead of wrapping.
uint8_t ColourByte(float value)
{
    const float scaled = value * 255.0f;
    if (!(scaled > 0.0f))
        return 0;
    return scaled >= 255.0f ? 255 : static_cast<uint8_t>(scaled);
}

void ReadColour(ByteReader& chunk, std::array<uint8_t, 3>& colour)
{
    ForEachChunk(chunk, [&](uint16_t id, ByteReader& sub) {
        if (id == kChunkColourFloat || id == kChunkColourFloatGamma) {
            const std::span<const uint8_t> raw = sub.bytes(12);
            if (!raw.empty())
                colour = {ColourByte(F32At(raw, 0)), ColourByte(F32At(raw, 4)), ColourByte(F32At(raw, 8))};
        } else if (id == kChunkColourBytes || id == kChunkColourBytesGamma) {
            const std::span<const uint8_t> raw = sub.bytes(3);
            if (!raw.empty())
                colour = {raw[0], raw[1], raw[2]};
        }
    });
}

// A percentage as a fraction of 1, cut into [0, 1]; NaN reads as 0.
void ReadPercentage(ByteReader& chunk, float& fraction)
{
    ForEachChunk(chunk, [&](uint16_t id, ByteReader& sub) {
        std::optional<float> value;
        if (id == kChunkPercentInt) {
            if (const std::span<const uint8_t> raw = sub.bytes(2); !raw.empty())
                value = U16At(raw, 0) / 100.0f;
        } else if (id == kChunkPercentFloat) {
            if (const std::span<const uint8_t> raw = sub.bytes(4); !raw.empty())
                value = F32At(raw, 0);
        }
        if (value)
            fraction = *value > 0.0f ? std::min(*value, 1.0f) : 0.0f;
    });
}

void ReadMaterial(ByteReader& chunk, ThreeDSModel& model)
{
    Material& material = model.materials.emplace_back();
    material.number = static_cast<uint32_t>(model.materials.size() - 1);
    ForEachChunk(chunk, [&](uint16_t id, ByteReader& sub) {
        switch (id) {
        case kChunkMaterialName: material.name = ChunkString(sub); break;
        case kChunkAmbient: ReadColour(sub, material.ambient); break;
        case kChunkDiffuse: ReadColour(sub, material.diffuse); break;
        case kChunkSpecular: ReadColour(sub, material.specular); break;
        case kChunkShininess: ReadPercentage(sub, material.shininess); break;
        case kChunkShininessStrength: ReadPercentage(sub, material.shininessStrength); break;
        case kChunkTransparency: ReadPercentage(sub, material.transparency); break;
        case kChunkTwoSided: material.twoSided = true; break;
        case kChunkTextureMap:
            ForEachChunk(sub, [&](uint16_t mapId, ByteReader& map) {
                if (mapId == kChunkTextureFile)
                    material.textureFile = ChunkString(map);
            });
            break;
        default: break;
        }
    });
}

// ---------------------------------------------------------------------------
// 4. Material resolution

std::string Folded(std::string_view text)
{
    std::string folded(text);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

// Every group takes the number of the first material of its name (compared
// without regard to case; 0 when none matches) and gives it to its faces; a
// face number past the last face counts as the last face. A face listed by
// several groups keeps the last group's material.
void ResolveMaterials(ThreeDSModel& model)
{
    if (model.materials.empty()) {
        model.materials.emplace_back(); // number 0, no name, black, no texture
        model.madeUpMaterial = true;
    }
    std::unordered_map<std::string, uint32_t> byName;
    for (const Material& material : model.materials)
        byName.try_emplace(Folded(material.name), material.number);
    for (MeshObject& object : model.objects) {
        const size_t faceCount = object.faceMaterials.size();
        object.faceInGroup.assign(faceCount, 0);
        for (FaceGroup& group : object.groups) {
            const auto found = byName.find(Folded(group.materialName));
            group.material = found == byName.end() ? 0 : found->second;
            if (faceCount == 0)
                continue; // nothing to number, not even a last face
            for (const uint16_t face : group.faces) {
                const size_t at = std::min<size_t>(face, faceCount - 1);
                object.faceMaterials[at] = group.material;
                object.faceInGroup[at] = 1;
            }
        }
    }
}

} // namespace

// ---------------------------------------------------------------------------
// 5. The file

ThreeDSModel ReadThreeDS(std::span<const uint8_t> bytes)
{
    ThreeDSModel model;
    ByteReader file(bytes);
    if (file.u16le() != kChunkMain || !file.ok())
        return model;
    model.accepted = true;
    const uint32_t length = file.u32le();
    if (!file.ok() || length < kChunkHeaderSize)
        return model;
    // Bytes after the main chunk are not part of the model.
    ByteReader main = file.take_sub(std::min<size_t>(length - kChunkHeaderSize, file.remaining()));
    ForEachChunk(main, [&](uint16_t id, ByteReader& editor) {
        if (id != kChunkEditor)
            return;
        ForEachChunk(editor, [&](uint16_t childId, ByteReader& child) {
            if (childId == kChunkObject)
                ReadObject(child, model);
            else if (childId == kChunkMaterial)
                ReadMaterial(child, model);
        });
    });
    ResolveMaterials(model);
    return model;
}

} // namespace zelvane::meshport
