#include "plugins/modelport/GltfReader.h"

// Sections:
//   1. the binary container and the JSON
//   2. transforms
//   3. buffers, data URIs and file names
//   4. accessors: checked against their views and buffers, then read
//   5. the node tree: which primitives are drawn where
//   6. primitives into parts
//   7. materials and their pictures

#include "bytes/ByteReader.h"
#include "plugins/interface/MeshMaterials.h"
#include "plugins/interface/MeshModelInfo.h"
#include "plugins/kit/TexturePath.h"
#include "plugins/kit/WholeFile.h"
#include "plugins/modelport/BoundedJson.h"
#include "plugins/modelport/ImageCache.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace zelvane::modelport {

namespace {

// ---------------------------------------------------------------------------
// 1. the binary container and the JSON

namespace glb {
constexpr uint32_t kMagic = 0x46546C67; // "glTF"
constexpr uint32_t kVersion = 2;
constexpr size_t kHeaderSize = 12;
constexpr size_t kChunkHeaderSize = 8;
constexpr uint32_t kJsonChunk = 0x4E4F534A; // "JSON"
constexpr uint32_t kBinChunk = 0x004E4942;  // "BIN\0"
} // namespace glb

// Nesting and size a real file never needs; far below what could hurt.
constexpr JsonLimits kJsonLimits{64, uint64_t{1} << 23};
constexpr uint64_t kMaxJsonBytes = uint64_t{1} << 30;
constexpr uint64_t kMaxExternalBytes = uint64_t{1} << 31;
constexpr size_t kMaxNodeDepth = 256;

// Extensions that change nothing this reader needs, or that it reads.
constexpr const char* kUnderstoodExtensions[] = {
    "KHR_materials_pbrSpecularGlossiness", "KHR_materials_unlit", "KHR_texture_transform",
    "KHR_mesh_quantization",               "KHR_materials_emissive_strength", "KHR_materials_ior",
    "KHR_materials_specular",              "KHR_lights_punctual",
};

std::string WhyUnreadable(std::string_view extension)
{
    if (extension == "KHR_draco_mesh_compression")
        return "The model uses Draco mesh compression (KHR_draco_mesh_compression), which zelvane cannot decode; "
               "export it without Draco compression.";
    if (extension == "EXT_meshopt_compression")
        return "The model uses meshoptimizer compression (EXT_meshopt_compression), which zelvane cannot decode; "
               "export it without compression.";
    return "The model requires the glTF extension " + std::string(extension) + ", which zelvane cannot read.";
}

// ---------------------------------------------------------------------------
// 2. transforms

// Column-major 4 × 4, as glTF stores matrices.
struct Matrix {
    std::array<double, 16> m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    Matrix operator*(const Matrix& b) const
    {
        Matrix r;
        for (int col = 0; col < 4; ++col)
            for (int row = 0; row < 4; ++row) {
                double sum = 0;
                for (int k = 0; k < 4; ++k)
                    sum += m[k * 4 + row] * b.m[col * 4 + k];
                r.m[col * 4 + row] = sum;
            }
        return r;
    }
    // Whether the transform mirrors (its 3 × 3 part has a negative determinant).
    bool Mirrors() const
    {
        const double det = m[0] * (m[5] * m[10] - m[9] * m[6]) - m[4] * (m[1] * m[10] - m[9] * m[2]) +
                           m[8] * (m[1] * m[6] - m[5] * m[2]);
        return det < 0;
    }
};

Matrix LocalTransform(const Json& node)
{
    Matrix local;
    if (NumbersMember(node, "matrix", local.m.data(), 16))
        return local;
    double t[3] = {0, 0, 0}, r[4] = {0, 0, 0, 1}, s[3] = {1, 1, 1};
    NumbersMember(node, "translation", t, 3);
    NumbersMember(node, "rotation", r, 4);
    NumbersMember(node, "scale", s, 3);
    const double length = std::sqrt(r[0] * r[0] + r[1] * r[1] + r[2] * r[2] + r[3] * r[3]);
    if (length > 0)
        for (double& c : r)
            c /= length;
    const double x = r[0], y = r[1], z = r[2], w = r[3];
    const double rotation[9] = {1 - 2 * (y * y + z * z), 2 * (x * y + z * w),     2 * (x * z - y * w),
                                2 * (x * y - z * w),     1 - 2 * (x * x + z * z), 2 * (y * z + x * w),
                                2 * (x * z + y * w),     2 * (y * z - x * w),     1 - 2 * (x * x + y * y)};
    for (int col = 0; col < 3; ++col)
        for (int row = 0; row < 3; ++row)
            local.m[col * 4 + row] = rotation[col * 3 + row] * s[col];
    local.m[12] = t[0];
    local.m[13] = t[1];
    local.m[14] = t[2];
    return local;
}

// ---------------------------------------------------------------------------
// 3. buffers, data URIs and file names

int Base64Value(char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+' || c == '-')
        return 62;
    if (c == '/' || c == '_')
        return 63;
    return -1;
}

// The bytes of base64 text; none when it holds anything else.
std::optional<std::vector<uint8_t>> DecodeBase64(std::string_view text)
{
    while (!text.empty() && text.back() == '=')
        text.remove_suffix(1);
    std::vector<uint8_t> bytes;
    bytes.reserve(text.size() / 4 * 3 + 3);
    uint32_t bits = 0;
    int held = 0;
    for (const char c : text) {
        const int value = Base64Value(c);
        if (value < 0)
            return std::nullopt;
        bits = (bits << 6) | static_cast<uint32_t>(value);
        held += 6;
        if (held >= 8) {
            held -= 8;
            bytes.push_back(static_cast<uint8_t>(bits >> held));
        }
    }
    return bytes;
}

// "data:<type>;base64,<text>": the text after the comma, and the type.
std::optional<std::string_view> DataUriPayload(std::string_view uri, std::string_view& type)
{
    if (uri.substr(0, 5) != "data:")
        return std::nullopt;
    const size_t comma = uri.find(',');
    if (comma == std::string_view::npos)
        return std::nullopt;
    const std::string_view header = uri.substr(5, comma - 5);
    if (header.size() < 7 || header.substr(header.size() - 7) != ";base64")
        return std::nullopt;
    type = header.substr(0, header.size() - 7);
    return uri.substr(comma + 1);
}

bool HasScheme(std::string_view uri)
{
    const size_t colon = uri.find(':');
    return colon != std::string_view::npos && colon > 1 && uri.find('/') > colon;
}

// URIs escape spaces and other bytes as %XX.
std::string PercentDecoded(std::string_view uri)
{
    std::string text;
    text.reserve(uri.size());
    const auto hex = [](char c) {
        return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    };
    for (size_t i = 0; i < uri.size(); ++i) {
        if (uri[i] == '%' && i + 2 < uri.size() && hex(uri[i + 1]) >= 0 && hex(uri[i + 2]) >= 0) {
            text += static_cast<char>(hex(uri[i + 1]) * 16 + hex(uri[i + 2]));
            i += 2;
        } else {
            text += uri[i];
        }
    }
    return text;
}

// ---------------------------------------------------------------------------
// 4. accessors

namespace component {
constexpr int kByte = 5120;
constexpr int kUnsignedByte = 5121;
constexpr int kShort = 5122;
constexpr int kUnsignedShort = 5123;
constexpr int kUnsignedInt = 5125;
constexpr int kFloat = 5126;
} // namespace component

size_t ComponentSize(int type)
{
    switch (type) {
    case component::kByte:
    case component::kUnsignedByte: return 1;
    case component::kShort:
    case component::kUnsignedShort: return 2;
    case component::kUnsignedInt:
    case component::kFloat: return 4;
    default: return 0;
    }
}

int ComponentsOf(std::string_view type)
{
    if (type == "SCALAR")
        return 1;
    if (type == "VEC2")
        return 2;
    if (type == "VEC3")
        return 3;
    if (type == "VEC4" || type == "MAT2")
        return 4;
    if (type == "MAT3")
        return 9;
    if (type == "MAT4")
        return 16;
    return 0;
}

// An accessor whose every element lies inside its view and buffer.
struct Accessor {
    uint64_t count = 0;
    int componentType = 0;
    int components = 0;
    bool normalized = false;
    size_t elementSize = 0;
    size_t stride = 0;
    std::span<const uint8_t> data; // from the first element; empty without a view
    bool hasView = false;
    uint64_t sparseCount = 0;
    int sparseIndexType = 0;
    std::span<const uint8_t> sparseIndices;
    std::span<const uint8_t> sparseValues;
};

float FloatComponent(ByteReader& in, int type, bool normalized)
{
    switch (type) {
    case component::kFloat: return in.f32le();
    case component::kUnsignedByte: {
        const float v = in.u8();
        return normalized ? v / 255.0f : v;
    }
    case component::kByte: {
        const float v = static_cast<int8_t>(in.u8());
        return normalized ? std::max(v / 127.0f, -1.0f) : v;
    }
    case component::kUnsignedShort: {
        const float v = in.u16le();
        return normalized ? v / 65535.0f : v;
    }
    case component::kShort: {
        const float v = in.i16le();
        return normalized ? std::max(v / 32767.0f, -1.0f) : v;
    }
    case component::kUnsignedInt: {
        const float v = static_cast<float>(in.u32le());
        return normalized ? v / 4294967295.0f : v;
    }
    default: return 0.0f;
    }
}

uint32_t IntegerComponent(ByteReader& in, int type)
{
    switch (type) {
    case component::kUnsignedByte: return in.u8();
    case component::kUnsignedShort: return in.u16le();
    case component::kUnsignedInt: return in.u32le();
    default: return std::numeric_limits<uint32_t>::max();
    }
}

// Calls sink(index, values) for every element, the sparse substitutions
// after the dense elements (an element may so be given twice: the later
// wins). Every read is inside the spans the accessor was checked against.
template <typename Value, typename Sink>
void ForEachElement(const Accessor& accessor, Sink&& sink)
{
    Value values[16] = {};
    const auto read = [&](ByteReader& in) {
        for (int c = 0; c < accessor.components; ++c) {
            if constexpr (std::is_same_v<Value, float>)
                values[c] = FloatComponent(in, accessor.componentType, accessor.normalized);
            else
                values[c] = IntegerComponent(in, accessor.componentType);
        }
    };
    ByteReader dense(accessor.data);
    for (uint64_t i = 0; i < accessor.count; ++i) {
        if (accessor.hasView) {
            dense.seek(static_cast<size_t>(i * accessor.stride));
            read(dense);
        }
        sink(i, values);
    }
    if (accessor.sparseCount == 0)
        return;
    ByteReader indices(accessor.sparseIndices);
    ByteReader substitutes(accessor.sparseValues);
    for (uint64_t k = 0; k < accessor.sparseCount; ++k) {
        const uint32_t index = IntegerComponent(indices, accessor.sparseIndexType);
        read(substitutes);
        if (index < accessor.count)
            sink(index, values);
    }
}

// ---------------------------------------------------------------------------
// 5.-7. the reader

struct Instance {
    uint64_t node = 0;
    uint64_t mesh = 0;
    uint64_t primitive = 0;
    Matrix world;
};

class Reader {
public:
    Reader(const Json& document, std::span<const uint8_t> binChunk, const GltfOptions& options, Model& model)
        : doc_(document), bin_(binChunk), options_(options), model_(model)
    {
    }

    void Run()
    {
        if (!CheckAsset() || !CheckRequiredExtensions())
            return;
        ReadMaterials();
        const std::vector<Instance> instances = CollectInstances();
        if (model_.refused)
            return;
        uint64_t vertices = 0, triangles = 0;
        for (const Instance& instance : instances) {
            const Json* primitive = Primitive(instance);
            uint64_t v = 0, t = 0;
            // Each capped, so that the sums cannot wrap round.
            if (primitive && Measure(*primitive, v, t)) {
                vertices += std::min(v, kMaxVertices + 1);
                triangles += std::min(t, kMaxTriangles + 1);
            }
        }
        if (vertices > kMaxVertices || triangles > kMaxTriangles) {
            model_.Refuse("The model has " + std::to_string(triangles) + " triangles and " + std::to_string(vertices) +
                          " vertices in its scene, more than zelvane imports (" + std::to_string(kMaxTriangles) +
                          " triangles).");
            return;
        }
        for (const Instance& instance : instances)
            ReadInstance(instance);
        SayWhatWasDropped();
    }

private:
    bool CheckAsset()
    {
        const Json* asset = ObjectMember(doc_, "asset");
        const std::optional<std::string_view> version = asset ? StringMember(*asset, "version") : std::nullopt;
        if (!version) {
            model_.Refuse("The file is not a glTF model: it has no asset version.");
            return false;
        }
        if (version->substr(0, 2) != "2.") {
            model_.Refuse("The file is a glTF model of version " + std::string(*version) +
                          "; zelvane reads version 2.");
            return false;
        }
        return true;
    }

    bool CheckRequiredExtensions()
    {
        const Json* required = ArrayMember(doc_, "extensionsRequired");
        if (!required)
            return true;
        for (const Json& name : *required) {
            if (!name.is_string())
                continue;
            const std::string& extension = name.get_ref<const std::string&>();
            if (std::none_of(std::begin(kUnderstoodExtensions), std::end(kUnderstoodExtensions),
                             [&](const char* known) { return extension == known; })) {
                model_.Refuse(WhyUnreadable(extension));
                return false;
            }
        }
        return true;
    }

    // --- buffers -----------------------------------------------------------

    std::span<const uint8_t> Buffer(uint64_t index)
    {
        if (const auto found = buffers_.find(index); found != buffers_.end())
            return found->second;
        std::span<const uint8_t> bytes = LoadBuffer(index);
        buffers_[index] = bytes;
        return bytes;
    }

    std::span<const uint8_t> LoadBuffer(uint64_t index)
    {
        const Json* buffer = ElementOf(doc_, "buffers", index);
        if (!buffer) {
            Note("buffer " + std::to_string(index) + " does not exist");
            return {};
        }
        const uint64_t declared = IndexMember(*buffer, "byteLength").value_or(0);
        const std::optional<std::string_view> uri = StringMember(*buffer, "uri");
        std::span<const uint8_t> bytes;
        if (!uri) {
            // The binary chunk of a .glb is the first buffer without a URI.
            bytes = index == 0 ? bin_ : std::span<const uint8_t>();
        } else if (std::string_view type; const std::optional<std::string_view> payload = DataUriPayload(*uri, type)) {
            std::optional<std::vector<uint8_t>> decoded = DecodeBase64(*payload);
            if (!decoded) {
                Note("buffer " + std::to_string(index) + " holds a data URI that is not base64");
                return {};
            }
            bytes = Keep(std::move(*decoded));
        } else if (HasScheme(*uri)) {
            Note("buffer " + std::to_string(index) + " lies elsewhere (" + std::string(*uri) + ") and was not read");
            return {};
        } else {
            bytes = ReadBeside(PercentDecoded(*uri), "buffer " + std::to_string(index));
        }
        if (bytes.size() < declared)
            Note("buffer " + std::to_string(index) + " holds " + std::to_string(bytes.size()) + " of its " +
                 std::to_string(declared) + " bytes");
        return bytes.first(static_cast<size_t>(std::min<uint64_t>(bytes.size(), declared)));
    }

    std::span<const uint8_t> Keep(std::vector<uint8_t> bytes)
    {
        owned_.push_back(std::move(bytes));
        return owned_.back();
    }

    std::span<const uint8_t> ReadBeside(const std::string& name, const std::string& what)
    {
        if (options_.modelPath.empty()) {
            Note(what + " (" + name + ") lies in another file, which was not read");
            return {};
        }
        const std::string path = pluginkit::ResolveTexturePath(options_.modelPath, name, ZELPLUG_MAX_TEXTURE_PATH);
        std::unique_ptr<uint8_t[]> bytes;
        size_t size = 0;
        if (path.empty() || !pluginkit::ReadWholeFile(path.c_str(), bytes, size, kMaxExternalBytes)) {
            Note(what + ": the file " + name + " cannot be read");
            return {};
        }
        files_.push_back(std::move(bytes));
        return {files_.back().get(), size};
    }

    // The bytes of buffer view `index`, when it lies inside its buffer.
    std::optional<std::span<const uint8_t>> View(uint64_t index, size_t* stride = nullptr)
    {
        const Json* view = ElementOf(doc_, "bufferViews", index);
        if (!view)
            return std::nullopt;
        const std::optional<uint64_t> buffer = IndexMember(*view, "buffer");
        const std::optional<uint64_t> length = IndexMember(*view, "byteLength");
        const uint64_t offset = IndexMember(*view, "byteOffset").value_or(0);
        if (!buffer || !length)
            return std::nullopt;
        const std::span<const uint8_t> bytes = Buffer(*buffer);
        if (offset > bytes.size() || *length > bytes.size() - offset)
            return std::nullopt;
        if (stride)
            *stride = static_cast<size_t>(std::min<uint64_t>(IndexMember(*view, "byteStride").value_or(0), 4096));
        return bytes.subspan(static_cast<size_t>(offset), static_cast<size_t>(*length));
    }

    // --- accessors ---------------------------------------------------------

    // The accessor, checked; none (with a note naming what it is for) when
    // any element would lie outside its data.
    std::optional<Accessor> ReadAccessor(uint64_t index, const std::string& what)
    {
        const auto refuse = [&](const std::string& why) {
            Note(what + ": accessor " + std::to_string(index) + " " + why + "; left out");
            return std::nullopt;
        };
        const Json* json = ElementOf(doc_, "accessors", index);
        if (!json)
            return refuse("does not exist");
        Accessor accessor;
        accessor.componentType = static_cast<int>(IndexMember(*json, "componentType").value_or(0));
        accessor.components = ComponentsOf(StringMember(*json, "type").value_or(""));
        const size_t componentSize = ComponentSize(accessor.componentType);
        if (componentSize == 0 || accessor.components == 0)
            return refuse("has no known component or element type");
        accessor.elementSize = componentSize * static_cast<size_t>(accessor.components);
        accessor.normalized = BoolMember(*json, "normalized", false);
        const std::optional<uint64_t> count = IndexMember(*json, "count");
        if (!count)
            return refuse("has no count");
        accessor.count = *count;
        if (const std::optional<uint64_t> viewIndex = IndexMember(*json, "bufferView")) {
            size_t stride = 0;
            const std::optional<std::span<const uint8_t>> view = View(*viewIndex, &stride);
            if (!view)
                return refuse("names a buffer view that does not lie inside its buffer");
            accessor.stride = stride ? stride : accessor.elementSize;
            if (accessor.stride < accessor.elementSize)
                return refuse("has elements wider than their stride");
            const uint64_t offset = IndexMember(*json, "byteOffset").value_or(0);
            if (offset > view->size())
                return refuse("begins past the end of its buffer view");
            const size_t available = view->size() - static_cast<size_t>(offset);
            if (accessor.count > 0 &&
                (available < accessor.elementSize ||
                 accessor.count - 1 > (available - accessor.elementSize) / accessor.stride))
                return refuse("holds " + std::to_string(accessor.count) + " elements, more than its buffer view");
            accessor.data = view->subspan(static_cast<size_t>(offset));
            accessor.hasView = true;
        } else if (accessor.count > kMaxDatalessElements) {
            // No data to bound the count: a limit of its own.
            return refuse("claims " + std::to_string(accessor.count) + " elements without any data");
        }
        if (const Json* sparse = ObjectMember(*json, "sparse"))
            if (!ReadSparse(*sparse, accessor))
                return refuse("has sparse substitutes that do not lie inside their buffer views");
        return accessor;
    }

    bool ReadSparse(const Json& sparse, Accessor& accessor)
    {
        const std::optional<uint64_t> count = IndexMember(sparse, "count");
        const Json* indices = ObjectMember(sparse, "indices");
        const Json* values = ObjectMember(sparse, "values");
        if (!count || !indices || !values || *count > accessor.count)
            return false;
        accessor.sparseIndexType = static_cast<int>(IndexMember(*indices, "componentType").value_or(0));
        if (accessor.sparseIndexType != component::kUnsignedByte && accessor.sparseIndexType != component::kUnsignedShort &&
            accessor.sparseIndexType != component::kUnsignedInt)
            return false;
        const auto section = [&](const Json& part, size_t elementSize, std::span<const uint8_t>& out) {
            const std::optional<uint64_t> viewIndex = IndexMember(part, "bufferView");
            const std::optional<std::span<const uint8_t>> view = viewIndex ? View(*viewIndex) : std::nullopt;
            const uint64_t offset = IndexMember(part, "byteOffset").value_or(0);
            if (!view || offset > view->size() || *count > (view->size() - offset) / elementSize)
                return false;
            out = view->subspan(static_cast<size_t>(offset), static_cast<size_t>(*count * elementSize));
            return true;
        };
        if (!section(*indices, ComponentSize(accessor.sparseIndexType), accessor.sparseIndices) ||
            !section(*values, accessor.elementSize, accessor.sparseValues))
            return false;
        accessor.sparseCount = *count;
        return true;
    }

    // --- the node tree -----------------------------------------------------

    std::vector<Instance> CollectInstances()
    {
        std::vector<Instance> instances;
        const Json* nodes = ArrayMember(doc_, "nodes");
        if (!nodes)
            return instances;
        std::vector<uint64_t> roots;
        const uint64_t sceneIndex = IndexMember(doc_, "scene").value_or(0);
        if (const Json* scene = ElementOf(doc_, "scenes", sceneIndex)) {
            if (const Json* list = ArrayMember(*scene, "nodes"))
                for (const Json& node : *list)
                    if (node.is_number_unsigned())
                        roots.push_back(node.get<uint64_t>());
        } else {
            // Without scenes every node that is nobody's child is drawn.
            std::vector<bool> child(nodes->size(), false);
            for (const Json& node : *nodes)
                if (const Json* children = ArrayMember(node, "children"))
                    for (const Json& c : *children)
                        if (c.is_number_unsigned() && c.get<uint64_t>() < child.size())
                            child[c.get<size_t>()] = true;
            for (size_t i = 0; i < child.size(); ++i)
                if (!child[i])
                    roots.push_back(i);
        }

        // Each node is visited once: a node listed twice or a cycle of
        // children would otherwise repeat the tree below it without end.
        std::vector<bool> visited(nodes->size(), false);
        struct Step {
            uint64_t node;
            Matrix parent;
            size_t depth;
        };
        std::vector<Step> stack;
        for (auto it = roots.rbegin(); it != roots.rend(); ++it)
            stack.push_back({*it, Matrix{}, 1});
        bool repeated = false, tooDeep = false;
        while (!stack.empty()) {
            const Step step = stack.back();
            stack.pop_back();
            if (step.node >= nodes->size() || !(*nodes)[step.node].is_object())
                continue;
            if (visited[step.node]) {
                repeated = true;
                continue;
            }
            if (step.depth > kMaxNodeDepth) {
                tooDeep = true;
                continue;
            }
            visited[step.node] = true;
            const Json& node = (*nodes)[step.node];
            const Matrix world = step.parent * LocalTransform(node);
            if (const std::optional<uint64_t> mesh = IndexMember(node, "mesh"))
                if (const Json* meshJson = ElementOf(doc_, "meshes", *mesh))
                    if (const Json* primitives = ArrayMember(*meshJson, "primitives"))
                        for (uint64_t p = 0; p < primitives->size(); ++p) {
                            if (instances.size() >= kMaxParts) {
                                model_.Refuse("The model's scene draws more than " + std::to_string(kMaxParts) +
                                              " meshes, more than zelvane imports.");
                                return {};
                            }
                            instances.push_back({step.node, *mesh, p, world});
                        }
            if (const Json* children = ArrayMember(node, "children"))
                for (auto c = children->rbegin(); c != children->rend(); ++c)
                    if (c->is_number_unsigned())
                        stack.push_back({c->get<uint64_t>(), world, step.depth + 1});
        }
        if (repeated)
            Note("nodes that appear more than once in the scene's tree were drawn once");
        if (tooDeep)
            Note("nodes nested deeper than " + std::to_string(kMaxNodeDepth) + " levels were left out");
        return instances;
    }

    const Json* Primitive(const Instance& instance) const
    {
        const Json* mesh = ElementOf(doc_, "meshes", instance.mesh);
        return mesh ? ElementOf(*mesh, "primitives", instance.primitive) : nullptr;
    }

    // --- primitives --------------------------------------------------------

    static int ModeOf(const Json& primitive) { return static_cast<int>(IndexMember(primitive, "mode").value_or(4)); }

    static uint64_t TrianglesOf(int mode, uint64_t corners)
    {
        if (mode == 4)
            return corners / 3;
        return corners >= 3 ? corners - 2 : 0;
    }

    // Vertices and triangles the primitive would add, from the counts of
    // its accessors alone (nothing is read or allocated).
    bool Measure(const Json& primitive, uint64_t& vertices, uint64_t& triangles) const
    {
        const int mode = ModeOf(primitive);
        const Json* attributes = ObjectMember(primitive, "attributes");
        if (mode < 4 || mode > 6 || !attributes)
            return false;
        const auto countOf = [&](std::optional<uint64_t> index) -> uint64_t {
            const Json* accessor = index ? ElementOf(doc_, "accessors", *index) : nullptr;
            return accessor ? IndexMember(*accessor, "count").value_or(0) : 0;
        };
        vertices = countOf(IndexMember(*attributes, "POSITION"));
        const std::optional<uint64_t> indices = IndexMember(primitive, "indices");
        triangles = TrianglesOf(mode, indices ? countOf(indices) : vertices);
        return true;
    }

    std::string PartName(const Instance& instance) const
    {
        const Json* node = ElementOf(doc_, "nodes", instance.node);
        const Json* mesh = ElementOf(doc_, "meshes", instance.mesh);
        std::string name(node ? StringMember(*node, "name").value_or("") : "");
        if (name.empty())
            name = "node " + std::to_string(instance.node);
        std::string meshName(mesh ? StringMember(*mesh, "name").value_or("") : "");
        if (meshName.empty())
            meshName = "mesh " + std::to_string(instance.mesh);
        name += "/" + meshName;
        const Json* primitives = mesh ? ArrayMember(*mesh, "primitives") : nullptr;
        if (primitives && primitives->size() > 1)
            name += "/" + std::to_string(instance.primitive);
        // Names stay within what the host takes.
        if (name.size() > ZELPLUG_MAX_MATERIAL_NAME)
            name.resize(ZELPLUG_MAX_MATERIAL_NAME);
        return name;
    }

    void ReadInstance(const Instance& instance)
    {
        const Json* primitive = Primitive(instance);
        if (!primitive)
            return;
        const std::string name = PartName(instance);
        const int mode = ModeOf(*primitive);
        if (mode <= 3) {
            ++model_.dropped.pointsAndLines;
            return;
        }
        if (mode > 6) {
            Note(name + ": a primitive of unknown mode " + std::to_string(mode) + " was left out");
            return;
        }
        const Json* attributes = ObjectMember(*primitive, "attributes");
        const std::optional<uint64_t> positionIndex = attributes ? IndexMember(*attributes, "POSITION") : std::nullopt;
        if (!positionIndex) {
            if (const Json* extensions = ObjectMember(*primitive, "extensions");
                extensions && Member(*extensions, "KHR_draco_mesh_compression"))
                Note(name + ": " + WhyUnreadable("KHR_draco_mesh_compression"));
            else
                Note(name + ": a primitive without positions was left out");
            return;
        }
        const std::optional<Accessor> positions = ReadAccessor(*positionIndex, name + " positions");
        if (!positions)
            return;
        if (positions->components != 3) {
            Note(name + ": positions that are not three numbers each were left out");
            return;
        }

        Part part;
        part.name = name;
        const size_t vertexCount = static_cast<size_t>(positions->count);
        part.vertices = MallocArray<MeshVertex>(vertexCount);
        std::vector<uint8_t> notFinite(vertexCount, 0);
        const std::array<double, 16>& m = instance.world.m;
        ForEachElement<float>(*positions, [&](uint64_t i, const float* p) {
            const double x = m[0] * p[0] + m[4] * p[1] + m[8] * p[2] + m[12];
            const double y = m[1] * p[0] + m[5] * p[1] + m[9] * p[2] + m[13];
            const double z = m[2] * p[0] + m[6] * p[1] + m[10] * p[2] + m[14];
            MeshVertex v{static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
            const bool finite = std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
            notFinite[i] = finite ? 0 : 1;
            part.vertices[i] = finite ? v : MeshVertex{0, 0, 0};
        });

        part.texCoords = MallocArray<MeshTexCoord>(vertexCount);
        if (const std::optional<uint64_t> uvIndex = IndexMember(*attributes, "TEXCOORD_0"))
            if (const std::optional<Accessor> uv = ReadAccessor(*uvIndex, name + " texture coordinates")) {
                if (uv->components != 2 || uv->count != positions->count)
                    Note(name + ": texture coordinates that do not match the positions were left out");
                else
                    // glTF counts v from the picture's top row, the editor from its bottom row.
                    ForEachElement<float>(*uv, [&](uint64_t i, const float* t) {
                        const bool finite = std::isfinite(t[0]) && std::isfinite(t[1]);
                        part.texCoords[i] = finite ? MeshTexCoord{t[0], 1.0f - t[1]} : MeshTexCoord{0, 0};
                    });
            }

        std::vector<uint32_t> indices;
        const std::optional<uint64_t> indexAccessor = IndexMember(*primitive, "indices");
        if (indexAccessor) {
            const std::optional<Accessor> list = ReadAccessor(*indexAccessor, name + " indices");
            if (!list)
                return;
            if (list->components != 1 || ComponentSize(list->componentType) == 0 ||
                list->componentType == component::kFloat || list->componentType == component::kByte ||
                list->componentType == component::kShort) {
                Note(name + ": indices that are not unsigned integers were left out");
                return;
            }
            indices.resize(static_cast<size_t>(list->count));
            ForEachElement<uint32_t>(*list, [&](uint64_t i, const uint32_t* value) { indices[i] = value[0]; });
        }
        const uint64_t corners = indexAccessor ? indices.size() : vertexCount;
        const auto corner = [&](uint64_t k) -> uint32_t {
            return indexAccessor ? indices[k] : static_cast<uint32_t>(k);
        };
        const uint64_t triangles = TrianglesOf(mode, corners);
        part.faces = MallocArray<MeshFace>(static_cast<size_t>(triangles));
        const bool flip = instance.world.Mirrors();
        size_t kept = 0;
        for (uint64_t t = 0; t < triangles; ++t) {
            uint32_t a, b, c;
            if (mode == 4) {
                a = corner(3 * t), b = corner(3 * t + 1), c = corner(3 * t + 2);
            } else if (mode == 5) {
                // Every other triangle of a strip turns the other way round.
                a = corner(t), b = corner(t + 1 + t % 2), c = corner(t + 2 - t % 2);
            } else {
                a = corner(t + 1), b = corner(t + 2), c = corner(0);
            }
            if (a >= vertexCount || b >= vertexCount || c >= vertexCount) {
                ++model_.dropped.facesOutside;
                continue;
            }
            if (notFinite[a] || notFinite[b] || notFinite[c]) {
                ++model_.dropped.facesNotFinite;
                continue;
            }
            if (flip)
                std::swap(b, c);
            const auto ia = static_cast<int32_t>(a), ib = static_cast<int32_t>(b), ic = static_cast<int32_t>(c);
            part.faces[kept++] = MeshFace{{ia, ib, ic}, {ia, ib, ic}};
        }
        part.faces.Resize(kept);

        if (const std::optional<uint64_t> material = IndexMember(*primitive, "material");
            material && *material < model_.materials.size() && kept > 0) {
            FaceGroup group;
            group.material = static_cast<int32_t>(*material);
            group.faces = MallocArray<int32_t>(kept);
            for (size_t f = 0; f < kept; ++f)
                group.faces[f] = static_cast<int32_t>(f);
            part.groups.push_back(std::move(group));
        }
        model_.parts.push_back(std::move(part));
    }

    // --- materials ---------------------------------------------------------

    static float Unit(double value) { return static_cast<float>(std::clamp(value, 0.0, 1.0)); }

    void ReadMaterials()
    {
        const Json* materials = ArrayMember(doc_, "materials");
        if (!materials)
            return;
        for (size_t i = 0; i < materials->size(); ++i) {
            const Json& json = (*materials)[i];
            Material material;
            material.name = std::string(StringMember(json, "name").value_or(""));
            if (material.name.size() > ZELPLUG_MAX_MATERIAL_NAME)
                material.name.resize(ZELPLUG_MAX_MATERIAL_NAME);
            double colour[4] = {1, 1, 1, 1};
            double metallic = 1, roughness = 1;
            std::optional<uint64_t> texture;
            const Json* pbr = ObjectMember(json, "pbrMetallicRoughness");
            const Json* extensions = ObjectMember(json, "extensions");
            const Json* specularGlossiness =
                extensions ? ObjectMember(*extensions, "KHR_materials_pbrSpecularGlossiness") : nullptr;
            if (pbr) {
                NumbersMember(*pbr, "baseColorFactor", colour, 4);
                metallic = NumberMember(*pbr, "metallicFactor").value_or(1);
                roughness = NumberMember(*pbr, "roughnessFactor").value_or(1);
                if (const Json* info = ObjectMember(*pbr, "baseColorTexture"))
                    texture = IndexMember(*info, "index");
            } else if (specularGlossiness) {
                // The older model's diffuse colour stands in for the base colour.
                NumbersMember(*specularGlossiness, "diffuseFactor", colour, 4);
                metallic = 0;
                roughness = 1 - std::clamp(NumberMember(*specularGlossiness, "glossinessFactor").value_or(1), 0.0, 1.0);
                if (const Json* info = ObjectMember(*specularGlossiness, "diffuseTexture"))
                    texture = IndexMember(*info, "index");
            }
            metallic = std::clamp(metallic, 0.0, 1.0);
            roughness = std::clamp(roughness, 0.0, 1.0);
            for (int c = 0; c < 3; ++c) {
                material.diffuse[c] = Unit(colour[c]);
                material.ambient[c] = material.diffuse[c];
                // Metals reflect in their own colour, everything else in white at 4 %.
                material.specular[c] = Unit((0.04 * (1 - metallic) + colour[c] * metallic) * (1 - roughness));
            }
            material.shininess = static_cast<float>(128.0 * (1 - roughness) * (1 - roughness));
            const std::string_view alphaMode = StringMember(json, "alphaMode").value_or("OPAQUE");
            const float alpha = Unit(colour[3]);
            if (alphaMode == "BLEND")
                material.opacity = alpha;
            else if (alphaMode == "MASK")
                material.opacity = alpha >= NumberMember(json, "alphaCutoff").value_or(0.5) ? 1.0f : 0.0f;
            material.twoSided = BoolMember(json, "doubleSided", false);
            if (texture)
                material.texturePath = TexturePath(*texture, material.name);
            model_.materials.push_back(std::move(material));
        }
    }

    std::string TexturePath(uint64_t textureIndex, const std::string& materialName)
    {
        const std::string what = "the texture of material \"" + materialName + "\"";
        const Json* texture = ElementOf(doc_, "textures", textureIndex);
        if (!texture) {
            Note(what + " does not exist");
            return {};
        }
        const std::optional<uint64_t> source = IndexMember(*texture, "source");
        if (!source) {
            Note(what + " is in a picture format zelvane cannot read (only PNG, JPEG and BMP)");
            return {};
        }
        if (const auto found = imagePaths_.find(*source); found != imagePaths_.end())
            return found->second;
        std::string path = ImagePath(*source, what);
        imagePaths_[*source] = path;
        return path;
    }

    std::string ImagePath(uint64_t imageIndex, const std::string& what)
    {
        const Json* image = ElementOf(doc_, "images", imageIndex);
        if (!image) {
            Note(what + " names a picture that does not exist");
            return {};
        }
        std::span<const uint8_t> bytes;
        if (const std::optional<std::string_view> uri = StringMember(*image, "uri")) {
            std::string_view type;
            if (const std::optional<std::string_view> payload = DataUriPayload(*uri, type)) {
                std::optional<std::vector<uint8_t>> decoded = DecodeBase64(*payload);
                if (!decoded) {
                    Note(what + " is a data URI that is not base64");
                    return {};
                }
                bytes = Keep(std::move(*decoded));
            } else if (HasScheme(*uri)) {
                Note(what + " lies elsewhere (" + std::string(*uri) + ") and was not read");
                return {};
            } else if (options_.modelPath.empty()) {
                return {};
            } else {
                // A picture beside the model is named where it lies.
                return pluginkit::ResolveTexturePath(options_.modelPath, PercentDecoded(*uri), ZELPLUG_MAX_TEXTURE_PATH);
            }
        } else if (const std::optional<uint64_t> viewIndex = IndexMember(*image, "bufferView")) {
            const std::optional<std::span<const uint8_t>> view = View(*viewIndex);
            if (!view) {
                Note(what + " names a buffer view that does not lie inside its buffer");
                return {};
            }
            bytes = *view;
        } else {
            Note(what + " has neither a URI nor a buffer view");
            return {};
        }
        const std::string_view extension = PictureExtension(bytes);
        if (extension.empty()) {
            Note(what + " is in a picture format zelvane cannot read (only PNG, JPEG and BMP)");
            return {};
        }
        if (options_.cacheFolder.empty()) {
            Note(what + " lies inside the model and there is no cache folder to put it in");
            return {};
        }
        std::string problem;
        const std::optional<std::string> path = StoreInCache(bytes, extension, options_.cacheFolder, problem);
        if (!path) {
            Note(what + ": " + problem);
            return {};
        }
        return path->size() <= ZELPLUG_MAX_TEXTURE_PATH ? *path : std::string();
    }

    // --- notes -------------------------------------------------------------

    void Note(std::string text)
    {
        // A damaged file could say the same thing a million times.
        if (model_.notes.size() < 64)
            model_.Note(std::move(text));
        else if (model_.notes.size() == 64)
            model_.Note("(more problems were found and not listed)");
    }

    void SayWhatWasDropped()
    {
        const Dropped& dropped = model_.dropped;
        if (dropped.facesOutside)
            model_.Note(std::to_string(dropped.facesOutside) + " faces point past their vertices and were left out");
        if (dropped.facesNotFinite)
            model_.Note(std::to_string(dropped.facesNotFinite) +
                        " faces have a corner that is not a finite number and were left out");
        if (dropped.pointsAndLines)
            model_.Note(std::to_string(dropped.pointsAndLines) +
                        " primitives of points or lines were left out (zelvane draws triangles)");
    }

    const Json& doc_;
    std::span<const uint8_t> bin_;
    const GltfOptions& options_;
    Model& model_;
    std::map<uint64_t, std::span<const uint8_t>> buffers_;
    std::vector<std::vector<uint8_t>> owned_;
    std::vector<std::unique_ptr<uint8_t[]>> files_;
    std::map<uint64_t, std::string> imagePaths_;
};

// The JSON and binary chunks of a .glb; false (and the model refused) when
// the container is damaged.
bool SplitBinary(std::span<const uint8_t> bytes, std::span<const uint8_t>& json, std::span<const uint8_t>& bin,
                 Model& model)
{
    ByteReader in(bytes);
    const uint32_t magic = in.u32le();
    const uint32_t version = in.u32le();
    const uint32_t length = in.u32le();
    if (!in.ok() || magic != glb::kMagic) {
        model.Refuse("The file is not a binary glTF model.");
        return false;
    }
    if (version != glb::kVersion) {
        model.Refuse("The file is a binary glTF model of version " + std::to_string(version) +
                     "; zelvane reads version 2.");
        return false;
    }
    if (length > bytes.size()) {
        model.Refuse("The file is cut short: it holds " + std::to_string(bytes.size()) + " of its " +
                     std::to_string(length) + " bytes.");
        return false;
    }
    ByteReader chunks = in.sub(glb::kHeaderSize, length - std::min<size_t>(length, glb::kHeaderSize));
    bool first = true;
    while (chunks.ok() && chunks.remaining() >= glb::kChunkHeaderSize) {
        const uint32_t chunkLength = chunks.u32le();
        const uint32_t type = chunks.u32le();
        const std::span<const uint8_t> data = chunks.bytes(chunkLength);
        if (!chunks.ok()) {
            model.Refuse("The file is damaged: a chunk is longer than the file.");
            return false;
        }
        if (first && type != glb::kJsonChunk) {
            model.Refuse("The file is damaged: its first chunk is not its JSON.");
            return false;
        }
        if (first)
            json = data;
        else if (type == glb::kBinChunk && bin.empty())
            bin = data;
        first = false;
        chunks.skip((4 - chunkLength % 4) % 4); // chunks are padded to 4 bytes
    }
    if (first) {
        model.Refuse("The file is damaged: it holds no JSON chunk.");
        return false;
    }
    return true;
}

} // namespace

bool IsBinaryGltf(std::span<const uint8_t> bytes)
{
    ByteReader in(bytes);
    return in.u32le() == glb::kMagic && in.ok();
}

Model ReadGltf(std::span<const uint8_t> bytes, const GltfOptions& options)
{
    Model model;
    model.metresPerUnit = 1.0f;
    model.upAxis = ZELPLUG_UP_Y;
    std::span<const uint8_t> jsonBytes = bytes, bin;
    if (IsBinaryGltf(bytes) && !SplitBinary(bytes, jsonBytes, bin, model))
        return model;
    // A UTF-8 byte-order mark is not JSON, but some writers put one there.
    if (jsonBytes.size() >= 3 && jsonBytes[0] == 0xEF && jsonBytes[1] == 0xBB && jsonBytes[2] == 0xBF)
        jsonBytes = jsonBytes.subspan(3);
    if (jsonBytes.size() > kMaxJsonBytes) {
        model.Refuse("The model's JSON is larger than zelvane reads (1 GiB).");
        return model;
    }
    std::string problem;
    const std::optional<Json> document = ParseBoundedJson(jsonBytes, kJsonLimits, problem);
    if (!document || !document->is_object()) {
        model.Refuse("The file is not a glTF model: " + (document ? std::string("its JSON is no object") : problem) + ".");
        return model;
    }
    Reader(*document, bin, options, model).Run();
    return model;
}

} // namespace zelvane::modelport
