// `bake`.

#include "app/cli/BakeCommand.h"

#include "app/cli/CliOutput.h"
#include "app/cli/CliReporter.h"
#include "app/cli/SceneCommand.h"
#include "document/RenderSprites.h"
#include "objects/CObjectFile.h"
#include "objects/ObjectFileOpener.h"
#include "scene/ActiveGLContext.h"
#include "scene/COGLScene.h"
#include "scene/HeadlessGLContext.h"
#include "scene/ObjectFileBeside.h"
#include "scene/SceneLoadResult.h"

#include <filesystem>
#include <iomanip>
#include <iostream>
#include <sstream>

namespace zelvane::cli {

namespace {

struct BakeOptionsText {
    std::string scene;
    std::string out;
    std::string object;
    int samples = 4;
    bool dither = false;
    bool json = false;
};

std::string Ids(const std::vector<int16_t>& ids)
{
    std::string text;
    for (const int16_t id : ids)
        text += (text.empty() ? "" : ", ") + std::to_string(id);
    return text;
}

int RunBake(const BakeOptionsText& options)
{
    const std::string objectPath = ObjectFilePathBeside(options.scene);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(objectPath, ec))
        return Fail(options.scene, "no object file beside it (" + objectPath +
                                       "): the editor saves the working object file there with the scene");
    const std::string out = options.out.empty() ? objectPath : options.out;
    const bool inPlace = options.out.empty() || std::filesystem::equivalent(objectPath, options.out, ec);

    // The scene's objects are made in the context they are drawn in.
    std::string error;
    std::unique_ptr<HeadlessGLContext> context = HeadlessGLContext::Create(16, 16, error);
    if (!context)
        return Fail("bake", "no off-screen OpenGL context: " + error);
    ActiveGLContextScope active(*context);
    context->BeginGL();
    int status = kExitOk;
    {
        auto scene = std::make_unique<COGLScene>();
        // As the editor makes a scene; the bake draws neither the floor, the
        // walls nor the lights, and lights objects with its own.
        scene->CreateDefaults();
        SceneLoadResult loaded;
        if (const std::string why = LoadSceneWithWarnings(options.scene, *scene, loaded); !why.empty()) {
            status = Fail(options.scene, why);
        } else {
            ObjectFileOptions how;
            how.purpose = inPlace ? OpenPurpose::Change : OpenPurpose::Read;
            ObjectFileOpener opener;
            if (!opener.Open(objectPath, how, error)) {
                status = Fail(objectPath, error);
            } else {
                CObjectFile file(objectPath, opener.TakeContainer());
                static_cast<void>(file.BuildLists());
                const CObjectEntry* object = file.ListedObjects().empty() ? nullptr : file.ListedObjects().front();
                if (!options.object.empty()) {
                    object = nullptr;
                    for (const CObjectEntry* listed : file.ListedObjects())
                        if (listed->ResourceName() == options.object)
                            object = listed;
                }
                if (!object) {
                    status = Fail(objectPath, options.object.empty() ? "it lists no object"
                                                                     : "it lists no object named " + Quoted(options.object));
                } else {
                    CliReporter messages;
                    BakeRequest request;
                    request.scene = scene.get();
                    request.objects = BakeableObjects(*scene);
                    request.file = &file;
                    request.filePath = out;
                    request.object = object;
                    request.options.render.samples = options.samples;
                    request.options.dither = options.dither;
                    const BakeResult result = BakeSprites(request);
                    const std::string said = messages.TakeMessages();
                    for (const std::string& note : result.notes)
                        Warn(options.scene, note);
                    if (result.outcome != BakeOutcome::Written) {
                        status = Fail(out, said.empty() ? result.error : said);
                    } else if (options.json) {
                        PrintJson(std::cout, {{"scene", options.scene},
                                              {"file", out},
                                              {"object", object->ResourceName()},
                                              {"objects", request.objects.size()},
                                              {"sprites", result.spriteIds},
                                              {"drawGroups", result.drawGroupIds},
                                              {"palette", result.paletteId},
                                              {"colours", result.coloursUsed},
                                              {"psnr", result.psnr},
                                              {"seconds", result.timings.total},
                                              {"notes", result.notes}});
                    } else {
                        std::ostringstream psnr;
                        psnr << std::fixed << std::setprecision(1) << result.psnr;
                        std::cout << Printable(out) << ": " << Quoted(object->ResourceName()) << " rendered from "
                                  << request.objects.size() << (request.objects.size() == 1 ? " object" : " objects")
                                  << ": sprites " << Ids(result.spriteIds) << ", draw groups "
                                  << Ids(result.drawGroupIds) << ", palette " << result.paletteId << " ("
                                  << result.coloursUsed << " colours, " << psnr.str() << " dB)\n";
                    }
                }
            }
        }
        scene.reset();
    }
    context->EndGL();
    return status;
}

} // namespace

void AddBakeCommand(CLI::App& app, int& status)
{
    auto options = std::make_shared<BakeOptionsText>();
    CLI::App* bake = app.add_subcommand(
        "bake", "Render a scene file's objects with the game's camera into the sprites of the object file beside it");
    bake->add_option("SCENE", options->scene, "The scene file (.cgs); its object file lies beside it (.iff)")
        ->required();
    bake->add_option("-o,--out", options->out, "Write the object file with its new sprites here (default: in place)");
    bake->add_option("--object", options->object,
                     "The object whose graphics change, by resource name (default: the first listed)");
    bake->add_option("--samples", options->samples, "Samples a pixel side at the largest zoom (default 4)")
        ->check(CLI::Range(1, 16));
    bake->add_flag("--dither", options->dither, "Dither the colours to the palette (Floyd-Steinberg)");
    bake->add_flag("--json", options->json, "Print what was written as JSON");
    bake->callback([options, &status] { status = RunBake(*options); });
}

} // namespace zelvane::cli
