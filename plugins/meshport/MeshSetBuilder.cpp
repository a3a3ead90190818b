#include "plugins/meshport/MeshSetBuilder.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

namespace zelvane::meshport {

namespace {

char* CopyName(const std::string& name)
{
    char* copy = static_cast<char*>(std::malloc(name.size() + 1));
    if (!copy)
        throw std::bad_alloc();
    std::memcpy(copy, name.c_str(), name.size() + 1);
    return copy;
}

bool CornersInside(const MeshFace& face, int32_t vertexCount)
{
    for (const int32_t corner : face.vertex)
        if (corner < 0 || corner >= vertexCount)
            return false;
    return true;
}

// Every allocation comes before the first array leaves the object, so a
// failure leaves the object as it was.
MeshPart BuildPart(MeshObject& object)
{
    MeshPart part{};
    part.name = CopyName(object.name);
    const size_t vertexCount = object.vertices.size(); // at most 65535: a u16 count
    MallocArray<MeshTexCoord> texCoords = std::move(object.mapping);
    try {
        texCoords.Resize(vertexCount);
    } catch (...) {
        std::free(const_cast<char*>(part.name));
        throw;
    }

    size_t kept = 0;
    for (const MeshFace& face : object.faces)
        if (CornersInside(face, static_cast<int32_t>(vertexCount)))
            object.faces[kept++] = face;

    part.faceCount = static_cast<int32_t>(kept);
    part.faces = object.faces.Release();
    part.vertexCount = static_cast<int32_t>(vertexCount);
    part.vertices = object.vertices.Release();
    part.texCoordCount = static_cast<int32_t>(vertexCount);
    part.texCoords = texCoords.Release();
    return part;
}

void FreePart(MeshPart& part)
{
    std::free(const_cast<char*>(part.name));
    std::free(part.faces);
    std::free(part.vertices);
    std::free(part.texCoords);
    part = MeshPart{};
}

} // namespace

void HandOverMeshes(ThreeDSModel& model, MeshSet& set)
{
    // Each mesh takes at least a chunk header of a file below 4 GiB, so this
    // cut never bites; it keeps the count honest all the same.
    const size_t count = std::min<size_t>(model.objects.size(), std::numeric_limits<int32_t>::max());
    MallocArray<MeshPart> parts(count);
    size_t built = 0;
    try {
        for (; built < count; ++built)
            parts[built] = BuildPart(model.objects[built]);
    } catch (...) {
        for (size_t i = 0; i < built; ++i)
            FreePart(parts[i]);
        throw;
    }
    set.partCount = static_cast<int32_t>(count);
    set.parts = parts.Release();
}

void SetEmpty(MeshSet& set)
{
    set.partCount = 0;
    // A failed allocation leaves a null pointer, which a count of 0 allows.
    set.parts = static_cast<MeshPart*>(std::malloc(sizeof(MeshPart)));
}

void ReleaseMeshSet(MeshSet& set)
{
    for (int32_t i = 0; i < set.partCount; ++i)
        FreePart(set.parts[i]);
    std::free(set.parts);
    set.partCount = 0;
    set.parts = nullptr;
}

} // namespace zelvane::meshport
