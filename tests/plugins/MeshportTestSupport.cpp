#include "tests/plugins/MeshportTestSupport.h"

#include "plugins/host/MeshSetCheck.h"
#include "plugins/meshport/MeshSetBuilder.h"
#include "plugins/meshport/MeshportImport.h"

#include <cstring>
#include <fstream>
#include <sstream>

namespace zelvane::test {

ImportedSet::ImportedSet(const std::vector<uint8_t>& bytes)
{
    meshport::ImportBytes(bytes, set_, meshport::TraceMode::Skip);
}

ImportedSet::~ImportedSet()
{
    meshport::ReleaseMeshSet(set_);
}

std::string ContractProblem(const MeshSet& set)
{
    if (set.partCount > 0 && !set.parts)
        return "parts missing";
    if (!set.parts)
        return "no part allocation";
    MeshSet copy = set;
    if (const auto problem = CheckMeshSet(copy))
        return *problem;
    for (int32_t i = 0; i < set.partCount; ++i) {
        const MeshPart& part = set.parts[i];
        if (part.texCoordCount != part.vertexCount)
            return "part " + std::to_string(i) + ": mapping count differs from vertex count";
        if (!part.name || std::strlen(part.name) == 0 ||
            (std::strlen(part.name) > 11 && std::strcmp(part.name, "Default name") != 0))
            return "part " + std::to_string(i) + ": bad name";
        for (int32_t f = 0; f < part.faceCount; ++f)
            for (int k = 0; k < 3; ++k)
                if (part.faces[f].vertex[k] != part.faces[f].texCoord[k])
                    return "part " + std::to_string(i) + ": texture corner differs from vertex corner";
    }
    return {};
}

CurrentFolder::CurrentFolder(const std::filesystem::path& folder) : previous_(std::filesystem::current_path())
{
    std::filesystem::current_path(folder);
}

CurrentFolder::~CurrentFolder()
{
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
}

std::string ReadText(const std::filesystem::path& path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace zelvane::test
