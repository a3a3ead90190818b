#include "plugins/modelport/ObjReader.h"

// Sections:
//   1. lines and words
//   2. material libraries
//   3. the model's statements
//   4. parts with their own arrays

#include "plugins/interface/MeshMaterials.h"
#include "plugins/interface/MeshModelInfo.h"
#include "plugins/kit/TexturePath.h"
#include "plugins/kit/WholeFile.h"
#include "plugins/modelport/Triangulate.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <limits>
#include <map>
#include <memory>
#include <set>
#include <system_error>
#include <unordered_map>

namespace zelvane::modelport {

namespace {

// ---------------------------------------------------------------------------
// 1. lines and words

constexpr uint64_t kMaxLibraryBytes = uint64_t{1} << 26;
constexpr size_t kMaxLibraries = 16;

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// The next word of `line` (which moves past it); empty at the end.
std::string_view NextWord(std::string_view& line)
{
    size_t start = 0;
    while (start < line.size() && IsSpace(line[start]))
        ++start;
    size_t end = start;
    while (end < line.size() && !IsSpace(line[end]))
        ++end;
    const std::string_view word = line.substr(start, end - start);
    line.remove_prefix(end);
    return word;
}

// The next number of `line`; false when the next word is none.
bool NextFloat(std::string_view& line, float& value)
{
    std::string_view word = NextWord(line);
    if (!word.empty() && word.front() == '+')
        word.remove_prefix(1);
    if (word.empty())
        return false;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    return error == std::errc() && end == word.data() + word.size();
}

// Calls statement(keyword, rest) for every line that says something.
template <typename Statement>
void ForEachLine(std::string_view text, Statement&& statement)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        const size_t comment = line.find('#');
        if (comment != std::string_view::npos)
            line = line.substr(0, comment);
        const std::string_view keyword = NextWord(line);
        if (!keyword.empty())
            statement(keyword, line);
    }
}

std::string_view AsText(std::span<const uint8_t> bytes)
{
    // Text is read as characters; every access below stays inside the view.
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

float Unit(float value)
{
    return std::isfinite(value) ? std::clamp(value, 0.0f, 1.0f) : 0.0f;
}

// ---------------------------------------------------------------------------
// 2. material libraries

// How many numbers follow each option of a map statement (at most).
int OptionArguments(std::string_view option)
{
    if (option == "-o" || option == "-s" || option == "-t")
        return 3;
    if (option == "-mm")
        return 2;
    if (option == "-blendu" || option == "-blendv" || option == "-bm" || option == "-boost" || option == "-cc" ||
        option == "-clamp" || option == "-imfchan" || option == "-texres" || option == "-type")
        return 1;
    return 0;
}

// The file name of a map statement after its options ("-s 1 1 1 my
// wood.png" names "my wood.png").
std::string_view MapFileName(std::string_view rest)
{
    rest = Trimmed(rest);
    while (!rest.empty() && rest.front() == '-') {
        std::string_view after = rest;
        const std::string_view option = NextWord(after);
        const int arguments = OptionArguments(option);
        if (arguments == 0)
            break;
        rest = after;
        for (int k = 0; k < arguments; ++k) {
            std::string_view probe = rest;
            const std::string_view word = NextWord(probe);
            float number = 0;
            std::string_view copy = word;
            // -o, -s and -t take one to three numbers; on/off for the flags.
            const bool isNumber = NextFloat(copy, number);
            if (word.empty() || (!isNumber && word != "on" && word != "off" && (k > 0 || arguments == 3)))
                break;
            rest = probe;
        }
        rest = Trimmed(rest);
    }
    return rest;
}

void ReadColour(std::string_view rest, std::array<float, 3>& colour)
{
    float values[3];
    std::string_view probe = rest;
    if (!NextFloat(probe, values[0]))
        return; // "spectral" and "xyz" colours are not taken
    // One number stands for all three.
    values[1] = values[2] = values[0];
    NextFloat(probe, values[1]) && NextFloat(probe, values[2]);
    for (int c = 0; c < 3; ++c)
        colour[c] = Unit(values[c]);
}

// ---------------------------------------------------------------------------
// 3. the model's statements

struct Corner {
    int64_t vertex;
    int64_t texCoord; // -1: none
};

struct PendingPart {
    std::string name;
    // Three corners per triangle, global zero-based indices (checked later).
    std::vector<Corner> corners;
    std::vector<int32_t> materials; // per triangle; -1 for none
};

class Reader {
public:
    Reader(const ObjOptions& options, Model& model) : options_(options), model_(model) {}

    void Read(std::string_view text)
    {
        ForEachLine(text, [&](std::string_view keyword, std::string_view rest) { Statement(keyword, rest); });
        BuildParts();
        SayWhatWasDropped();
    }

private:
    void Statement(std::string_view keyword, std::string_view rest)
    {
        if (keyword == "v") {
            MeshVertex v{0, 0, 0};
            const bool ok = NextFloat(rest, v.x) && NextFloat(rest, v.y) && NextFloat(rest, v.z);
            const bool finite = ok && std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
            positions_.push_back(finite ? v : MeshVertex{0, 0, 0});
            if (!finite)
                notFinite_.insert(positions_.size() - 1);
        } else if (keyword == "vt") {
            MeshTexCoord t{0, 0};
            if (NextFloat(rest, t.u))
                NextFloat(rest, t.v);
            if (!std::isfinite(t.u) || !std::isfinite(t.v))
                t = {0, 0};
            texCoords_.push_back(t);
        } else if (keyword == "f") {
            Face(rest);
        } else if (keyword == "o" || keyword == "g") {
            const std::string_view name = Trimmed(rest);
            SelectPart(name.empty() ? std::string_view("default") : name);
        } else if (keyword == "usemtl") {
            const std::string name(Trimmed(rest));
            const auto found = materialIndex_.find(name);
            currentMaterial_ = found == materialIndex_.end() ? -1 : found->second;
            if (found == materialIndex_.end() && !name.empty() && unknownMaterials_.insert(name).second &&
                unknownMaterials_.size() <= 8)
                model_.Note("the material \"" + name + "\" is in no material library; its faces keep the mesh's own");
        } else if (keyword == "mtllib") {
            Libraries(Trimmed(rest));
        } else if (keyword == "l" || keyword == "p") {
            ++model_.dropped.pointsAndLines;
        }
    }

    void SelectPart(std::string_view name)
    {
        const std::string key(name.substr(0, ZELPLUG_MAX_MATERIAL_NAME));
        const auto found = partIndex_.find(key);
        if (found != partIndex_.end()) {
            current_ = found->second;
            return;
        }
        // Past the limit further names continue the part before them.
        if (pending_.size() >= kMaxParts) {
            if (!tooManyParts_)
                model_.Note("the model names more than " + std::to_string(kMaxParts) +
                            " objects and groups; the faces of the others were put into the part before them");
            tooManyParts_ = true;
            return;
        }
        // A name given before any face names the part that holds no face yet.
        if (current_ < pending_.size() && pending_[current_].corners.empty() && !named_[current_]) {
            partIndex_.erase(pending_[current_].name);
            pending_[current_].name = key;
        } else {
            current_ = pending_.size();
            pending_.push_back({key, {}, {}});
            named_.push_back(false);
        }
        named_[current_] = true;
        partIndex_[key] = current_;
    }

    // A 1-based index, or a negative one counting back from the last given.
    static bool Resolve(int64_t index, size_t count, int64_t& resolved)
    {
        if (index > 0)
            resolved = index - 1;
        else if (index < 0)
            resolved = static_cast<int64_t>(count) + index;
        else
            return false;
        return resolved >= 0;
    }

    static bool ParseIndex(std::string_view& word, int64_t& value)
    {
        const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
        if (error != std::errc())
            return false;
        word.remove_prefix(static_cast<size_t>(end - word.data()));
        return true;
    }

    void Face(std::string_view rest)
    {
        if (pending_.empty()) {
            pending_.push_back({"default", {}, {}});
            named_.push_back(false);
            partIndex_["default"] = 0;
            current_ = 0;
        }
        polygon_.clear();
        bool broken = false;
        for (std::string_view word = NextWord(rest); !word.empty(); word = NextWord(rest)) {
            int64_t v = 0, t = 0;
            Corner corner{-1, -1};
            if (!ParseIndex(word, v) || !Resolve(v, positions_.size(), corner.vertex))
                broken = true;
            if (!word.empty() && word.front() == '/') {
                word.remove_prefix(1);
                if (!word.empty() && word.front() != '/' &&
                    (!ParseIndex(word, t) || !Resolve(t, texCoords_.size(), corner.texCoord)))
                    broken = true;
            }
            polygon_.push_back(corner);
        }
        if (polygon_.size() < 3) {
            ++model_.dropped.pointsAndLines;
            return;
        }
        PendingPart& part = pending_[current_];
        if (broken) {
            model_.dropped.facesOutside += polygon_.size() - 2;
            return;
        }
        triangles_.clear();
        if (polygon_.size() == 3) {
            triangles_.push_back({0, 1, 2});
        } else {
            // Cut in the polygon's plane when every corner is known already.
            points_.clear();
            for (const Corner& corner : polygon_)
                points_.push_back(static_cast<uint64_t>(corner.vertex) < positions_.size()
                                      ? positions_[static_cast<size_t>(corner.vertex)]
                                      : MeshVertex{0, 0, 0});
            if (TriangulatePolygon(points_, triangles_) == Cut::FanOfLargePolygon)
                ++largePolygons_;
        }
        for (const auto& triangle : triangles_) {
            for (const uint32_t k : triangle)
                part.corners.push_back(polygon_[k]);
            part.materials.push_back(currentMaterial_);
        }
    }

    void Libraries(std::string_view names)
    {
        if (options_.modelPath.empty() || names.empty())
            return;
        // A name may hold spaces: the whole rest of the line first, then each word.
        if (Library(names, false))
            return;
        for (std::string_view word = NextWord(names); !word.empty(); word = NextWord(names))
            Library(word, true);
    }

    bool Library(std::string_view name, bool sayWhenMissing)
    {
        const std::string path = pluginkit::ResolveTexturePath(options_.modelPath, name, ZELPLUG_MAX_TEXTURE_PATH);
        std::error_code ec;
        std::unique_ptr<uint8_t[]> bytes;
        size_t size = 0;
        if (path.empty() || !std::filesystem::is_regular_file(path, ec) ||
            !pluginkit::ReadWholeFile(path.c_str(), bytes, size, kMaxLibraryBytes)) {
            if (sayWhenMissing)
                model_.Note("the material library " + std::string(name) + " cannot be read");
            return false;
        }
        if (!libraries_.insert(path).second || libraries_.size() > kMaxLibraries)
            return true;
        const size_t before = model_.materials.size();
        ReadMaterialLibrary(AsText({bytes.get(), size}), path, model_);
        for (size_t m = before; m < model_.materials.size(); ++m)
            materialIndex_[model_.materials[m].name] = static_cast<int32_t>(m);
        return true;
    }

    // ---------------------------------------------------------------------------
    // 4. parts with their own arrays

    void BuildParts()
    {
        std::vector<int32_t> vertexLocal(positions_.size(), -1);
        std::vector<int32_t> texLocal(texCoords_.size(), -1);
        for (PendingPart& pending : pending_) {
            if (pending.corners.empty())
                continue;
            BuildPart(pending, vertexLocal, texLocal);
            pending = PendingPart{};
        }
    }

    void BuildPart(const PendingPart& pending, std::vector<int32_t>& vertexLocal, std::vector<int32_t>& texLocal)
    {
        // First which triangles stay and which global entries they use,
        // then arrays of exactly that size.
        const size_t triangleCount = pending.materials.size();
        std::vector<uint8_t> keep(triangleCount, 0);
        std::vector<uint32_t> usedVertices, usedTexCoords;
        bool needsBlankTexCoord = false;
        for (size_t t = 0; t < triangleCount; ++t) {
            const Corner* corner = &pending.corners[3 * t];
            bool inside = true, finite = true;
            for (int k = 0; k < 3; ++k) {
                inside = inside && static_cast<uint64_t>(corner[k].vertex) < positions_.size() &&
                         (corner[k].texCoord < 0 || static_cast<uint64_t>(corner[k].texCoord) < texCoords_.size());
                finite = finite && !(inside && notFinite_.count(static_cast<size_t>(corner[k].vertex)));
            }
            if (!inside) {
                ++model_.dropped.facesOutside;
                continue;
            }
            if (!finite) {
                ++model_.dropped.facesNotFinite;
                continue;
            }
            keep[t] = 1;
            for (int k = 0; k < 3; ++k) {
                const auto v = static_cast<size_t>(corner[k].vertex);
                if (vertexLocal[v] < 0) {
                    vertexLocal[v] = static_cast<int32_t>(usedVertices.size());
                    usedVertices.push_back(static_cast<uint32_t>(v));
                }
                if (corner[k].texCoord < 0) {
                    needsBlankTexCoord = true;
                } else if (const auto c = static_cast<size_t>(corner[k].texCoord); texLocal[c] < 0) {
                    texLocal[c] = static_cast<int32_t>(usedTexCoords.size());
                    usedTexCoords.push_back(static_cast<uint32_t>(c));
                }
            }
        }
        const auto blank = static_cast<int32_t>(usedTexCoords.size());
        Part part;
        part.name = pending.name;
        part.vertices = MallocArray<MeshVertex>(usedVertices.size());
        for (size_t i = 0; i < usedVertices.size(); ++i)
            part.vertices[i] = positions_[usedVertices[i]];
        part.texCoords = MallocArray<MeshTexCoord>(usedTexCoords.size() + (needsBlankTexCoord ? 1 : 0));
        for (size_t i = 0; i < usedTexCoords.size(); ++i)
            part.texCoords[i] = texCoords_[usedTexCoords[i]];
        size_t kept = 0;
        for (const uint8_t k : keep)
            kept += k;
        part.faces = MallocArray<MeshFace>(kept);
        std::map<int32_t, std::vector<int32_t>> byMaterial;
        size_t f = 0;
        for (size_t t = 0; t < triangleCount; ++t) {
            if (!keep[t])
                continue;
            MeshFace& face = part.faces[f];
            for (int k = 0; k < 3; ++k) {
                const Corner& corner = pending.corners[3 * t + static_cast<size_t>(k)];
                face.vertex[k] = vertexLocal[static_cast<size_t>(corner.vertex)];
                face.texCoord[k] = corner.texCoord < 0 ? blank : texLocal[static_cast<size_t>(corner.texCoord)];
            }
            if (pending.materials[t] >= 0)
                byMaterial[pending.materials[t]].push_back(static_cast<int32_t>(f));
            ++f;
        }
        for (auto& [material, faces] : byMaterial) {
            FaceGroup group;
            group.material = material;
            group.faces = MallocArray<int32_t>(faces.size());
            std::copy(faces.begin(), faces.end(), group.faces.begin());
            part.groups.push_back(std::move(group));
        }
        // Clean for the next part: only the entries this part set.
        for (const uint32_t v : usedVertices)
            vertexLocal[v] = -1;
        for (const uint32_t c : usedTexCoords)
            texLocal[c] = -1;
        model_.parts.push_back(std::move(part));
    }

    void SayWhatWasDropped()
    {
        const Dropped& dropped = model_.dropped;
        if (dropped.facesOutside)
            model_.Note(std::to_string(dropped.facesOutside) +
                        " faces point past their vertices or texture coordinates and were left out");
        if (dropped.facesNotFinite)
            model_.Note(std::to_string(dropped.facesNotFinite) +
                        " faces have a corner that is not a finite number and were left out");
        if (dropped.pointsAndLines)
            model_.Note(std::to_string(dropped.pointsAndLines) +
                        " points and lines were left out (zelvane draws triangles)");
        if (largePolygons_)
            model_.Note(std::to_string(largePolygons_) + " concave polygons of more than " +
                        std::to_string(kMaxEarPolygon) + " corners were cut as fans");
    }

    const ObjOptions& options_;
    Model& model_;
    std::vector<MeshVertex> positions_;
    std::set<size_t> notFinite_;
    std::vector<MeshTexCoord> texCoords_;
    std::vector<PendingPart> pending_;
    std::vector<bool> named_;
    std::unordered_map<std::string, size_t> partIndex_;
    size_t current_ = 0;
    int32_t currentMaterial_ = -1;
    std::unordered_map<std::string, int32_t> materialIndex_;
    std::set<std::string> unknownMaterials_;
    std::set<std::string> libraries_;
    uint64_t largePolygons_ = 0;
    bool tooManyParts_ = false;
    // Reused for every face.
    std::vector<Corner> polygon_;
    std::vector<MeshVertex> points_;
    std::vector<std::array<uint32_t, 3>> triangles_;
};

} // namespace

void ReadMaterialLibrary(std::string_view text, const std::string& mtlPath, Model& model)
{
    Material* current = nullptr;
    ForEachLine(text, [&](std::string_view keyword, std::string_view rest) {
        if (keyword == "newmtl") {
            Material& material = model.materials.emplace_back();
            material.name = std::string(Trimmed(rest).substr(0, ZELPLUG_MAX_MATERIAL_NAME));
            material.ambient = {0.2f, 0.2f, 0.2f};
            current = &material;
            return;
        }
        if (!current)
            return;
        float value = 0;
        if (keyword == "Ka") {
            ReadColour(rest, current->ambient);
        } else if (keyword == "Kd") {
            ReadColour(rest, current->diffuse);
        } else if (keyword == "Ks") {
            ReadColour(rest, current->specular);
        } else if (keyword == "Ns" && NextFloat(rest, value)) {
            // OBJ's exponent runs to 1000, OpenGL's to 128.
            current->shininess = std::isfinite(value) ? std::clamp(value * 128.0f / 1000.0f, 0.0f, 128.0f) : 0.0f;
        } else if (keyword == "d") {
            std::string_view probe = Trimmed(rest);
            if (probe.substr(0, 5) == "-halo")
                probe.remove_prefix(5);
            if (NextFloat(probe, value))
                current->opacity = Unit(value);
        } else if (keyword == "Tr" && NextFloat(rest, value)) {
            current->opacity = 1.0f - Unit(value);
        } else if (keyword == "map_Kd") {
            const std::string_view name = MapFileName(rest);
            if (!name.empty())
                current->texturePath = pluginkit::ResolveTexturePath(mtlPath, name, ZELPLUG_MAX_TEXTURE_PATH);
        }
    });
}

Model ReadObj(std::span<const uint8_t> text, const ObjOptions& options)
{
    Model model;
    // OBJ says nothing about units; modellers that write it use metres and +y up.
    model.metresPerUnit = 1.0f;
    model.upAxis = ZELPLUG_UP_Y;
    Reader(options, model).Read(AsText(text));
    return model;
}

} // namespace zelvane::modelport
