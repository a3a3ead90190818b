// Reads arbitrary bytes as a scene file (after its 8-byte header when the
// input has one, else from the start) into an empty scene, with nobody to ask
// for textures. A read that stops says why and keeps exactly the objects it
// counted; a read that completes saves a file that reads back completely and
// saves to the same bytes again.

#include "bytes/ByteReader.h"
#include "fuzz/FuzzSupport.h"
#include "report/Reporter.h"
#include "scene/COGLScene.h"
#include "scene/SceneFileLayout.h"
#include "scene/SceneFileReader.h"
#include "scene/SceneFileWriter.h"

#include <algorithm>
#include <optional>
#include <span>

namespace {

using namespace zelvane;

class Silent final : public IReporter {
public:
    MessageAnswer ShowMessage(std::string_view, MessageIcon, MessageButtons buttons) override
    {
        return FirstButton(buttons);
    }
};

SceneLoadResult Read(COGLScene& scene, std::span<const uint8_t> bytes, std::size_t start)
{
    SceneFileReader reader(bytes, start);
    return scene.LoadScene(reader, fuzz::ScratchFolder() + "/scene.cgs");
}

// The scene written, or nothing when a texture was found under a path too
// long for its record (the one refusal allowed).
std::optional<std::vector<uint8_t>> Written(const COGLScene& scene)
{
    SceneFileWriter writer;
    scene.SaveScene(writer);
    if (!writer.Finish()) {
        fuzz::Check(writer.Error().find("a scene file holds at most 259") != std::string::npos,
                    "a scene that was read can be written", writer.Error());
        return std::nullopt;
    }
    return writer.Bytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Silent silent;
    SetReporter(&silent);
    const std::span<const uint8_t> file(data, size);
    ByteReader header(file);
    const std::span<const uint8_t> magic = header.bytes(scene_file::kMagic.size());
    const bool framed = header.ok() && std::equal(magic.begin(), magic.end(), scene_file::kMagic.begin());

    COGLScene scene;
    const SceneLoadResult result = Read(scene, file, framed ? scene_file::kHeaderSize : 0);
    fuzz::Check(result.objectsRead == scene.Objects().size(), "every object counted as read is in the scene");
    fuzz::Check(scene.Textures().size() <= result.textures.size(), "no more textures than records");
    if (!result.Complete())
        return 0;

    const std::optional<std::vector<uint8_t>> first = Written(scene);
    if (!first)
        return 0;
    COGLScene again;
    const SceneLoadResult reread = Read(again, *first, 0);
    fuzz::Check(reread.Complete(), "what was written reads back", reread.error);
    fuzz::Check(again.Objects().size() == scene.Objects().size(), "with every object");
    fuzz::Check(Written(again) == first, "and writes the same bytes again");
    return 0;
}
