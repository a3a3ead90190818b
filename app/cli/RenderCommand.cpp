// `render` and `pick`.

#include "app/cli/RenderCommand.h"

#include "app/cli/PngOutput.h"
#include "app/cli/CliOutput.h"
#include "app/cli/PluginChoice.h"
#include "app/cli/SceneCommand.h"
#include "document/FootprintPlacement.h"
#include "document/MeshImport.h"
#include "scene/ActiveGLContext.h"
#include "scene/COGLMesh.h"
#include "scene/COGLScene.h"
#include "scene/COGLText.h"
#include "scene/COGLViewport3D.h"
#include "scene/GLBracket.h"
#include "scene/HeadlessGLContext.h"
#include "scene/ObjectFactory.h"
#include "scene/SceneFrame.h"
#include "scene/ScenePicker.h"
#include "scene/ZoomPreset.h"
#include "scene/text/Windows1252.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <iostream>
#include <map>
#include <optional>

namespace zelvane::cli {

namespace {

constexpr int kLargestSide = 8192;

const std::map<std::string, ObjectKind>& AddableKinds()
{
    static const std::map<std::string, ObjectKind> kinds = {
        {"plane", ObjectKind::Plane},         {"floor", ObjectKind::Floor},
        {"box", ObjectKind::Box},             {"sphere", ObjectKind::Sphere},
        {"rightwall", ObjectKind::RightWall}, {"leftwall", ObjectKind::LeftWall},
        {"ceiling", ObjectKind::Ceiling},     {"rod", ObjectKind::Rod},
        {"cylinder", ObjectKind::Cylinder},   {"cone", ObjectKind::Cone},
        {"disk", ObjectKind::Disk},           {"billboard", ObjectKind::Billboard},
    };
    return kinds;
}

struct Addition {
    ObjectKind kind;
    std::optional<Vector3> position;
    // The characters of a text object, in the code page scene files use.
    std::string text;
};

struct SceneOptions {
    std::string size = "800x600";
    std::string camera = "sims";
    std::string mode = "shaded";
    std::string zoom = "medium";
    bool grid = false;
    bool cage = false;
    bool axis = false;
    std::string cageSize = "1,1,1";
    std::vector<std::string> additions;
    std::vector<std::string> texts;
    std::string sceneFile;
    std::vector<std::string> imports;
    int select = 0;
    std::string maps;
};

struct RenderOptions {
    SceneOptions scene;
    std::string out;
};

struct PickOptions {
    SceneOptions scene;
    int x = 0;
    int y = 0;
    bool json = false;
};

// Everything the options describe, checked before any OpenGL work.
struct SceneSetup {
    int width = 0;
    int height = 0;
    CameraPreset camera = CameraPreset::Sims;
    DrawFlags mode = kDisplayShaded;
    ZoomPreset zoom = ZoomPreset::Medium;
    CageSize cageSize;
    std::vector<Addition> additions;
};

bool ParseFloat(std::string_view text, float& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

// "A,B,C" as three numbers.
template <typename Number>
bool ParseTriple(std::string_view text, Number (&values)[3])
{
    for (int i = 0; i < 3; ++i) {
        const std::size_t comma = text.find(',');
        if ((comma == std::string_view::npos) != (i == 2))
            return false;
        const std::string_view part = text.substr(0, comma);
        bool ok = false;
        if constexpr (std::is_same_v<Number, float>) {
            ok = ParseFloat(part, values[i]);
        } else {
            const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), values[i]);
            ok = error == std::errc() && end == part.data() + part.size();
        }
        if (!ok)
            return false;
        text.remove_prefix(comma == std::string_view::npos ? text.size() : comma + 1);
    }
    return true;
}

// The position "X,Y,Z" after the '@' at `at` of an option's value, if it has
// one (`at` is npos when it has none); false when it is not three numbers.
bool ParsePositionAfter(std::string_view value, std::size_t at, std::optional<Vector3>& position)
{
    if (at == std::string_view::npos)
        return true;
    float xyz[3] = {0, 0, 0};
    if (!ParseTriple(value.substr(at + 1), xyz))
        return false;
    position = Vector3{xyz[0], xyz[1], xyz[2]};
    return true;
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Empty when the options describe a scene, else what is wrong with them.
std::string Parse(const SceneOptions& options, SceneSetup& setup)
{
    const std::size_t x = options.size.find('x');
    if (x == std::string::npos)
        return "--size is WIDTHxHEIGHT, e.g. 800x600";
    const std::string_view size = options.size;
    const auto [widthEnd, widthError] = std::from_chars(size.data(), size.data() + x, setup.width);
    const auto [heightEnd, heightError] = std::from_chars(size.data() + x + 1, size.data() + size.size(), setup.height);
    if (widthError != std::errc() || heightError != std::errc() || widthEnd != size.data() + x
        || heightEnd != size.data() + size.size())
        return "--size is WIDTHxHEIGHT, e.g. 800x600";
    if (setup.width < 1 || setup.height < 1 || setup.width > kLargestSide || setup.height > kLargestSide)
        return "--size takes 1 to " + std::to_string(kLargestSide) + " pixels a side";

    static const std::map<std::string, CameraPreset> cameras = {{"sims", CameraPreset::Sims},
                                                                {"top", CameraPreset::Top},
                                                                {"front", CameraPreset::Front},
                                                                {"left", CameraPreset::Left},
                                                                {"right", CameraPreset::Right}};
    static const std::map<std::string, ZoomPreset> zooms = {
        {"near", ZoomPreset::Near}, {"medium", ZoomPreset::Medium}, {"far", ZoomPreset::Far}};
    setup.camera = cameras.at(options.camera);
    setup.zoom = zooms.at(options.zoom);
    setup.mode = options.mode == "wireframe" ? kDisplayWireframe : kDisplayShaded;

    int cage[3] = {1, 1, 1};
    if (!ParseTriple(options.cageSize, cage) || cage[0] < 0 || cage[1] < 0 || cage[2] < 0)
        return "--cage-size is W,H,D in whole units, e.g. 2,1,3";
    setup.cageSize = {cage[0], cage[1], cage[2]};

    for (const std::string& addition : options.additions) {
        const std::size_t at = addition.find('@');
        const std::string kindName = Lower(addition.substr(0, at));
        const auto kind = AddableKinds().find(kindName);
        if (kind == AddableKinds().end())
            return "--add " + Quoted(addition) + ": no primitive is called " + Quoted(kindName);
        Addition parsed{kind->second, std::nullopt, {}};
        if (!ParsePositionAfter(addition, at, parsed.position))
            return "--add " + Quoted(addition) + ": the position is X,Y,Z, e.g. box@1,0.5,-2";
        setup.additions.push_back(parsed);
    }
    for (const std::string& text : options.texts) {
        // The last '@' starts the position, so a text may hold '@' itself.
        const std::size_t at = text.rfind('@');
        Addition parsed{ObjectKind::Text, std::nullopt, {}};
        const std::optional<std::string> bytes = Utf8To1252(text.substr(0, at));
        if (!bytes)
            return "--text " + Quoted(text) + ": only the characters of the Western code page (Windows-1252) can be drawn";
        parsed.text = *bytes;
        if (!ParsePositionAfter(text, at, parsed.position))
            return "--text " + Quoted(text) + ": the position is X,Y,Z, e.g. Hello@0,1,-2";
        setup.additions.push_back(parsed);
    }
    if (options.select < 0)
        return "--select takes the number of an object, from 1";
    // With a scene file or imports the objects are counted once they are there.
    const bool onlyAdditions = options.sceneFile.empty() && options.imports.empty();
    if (onlyAdditions && static_cast<std::size_t>(options.select) > setup.additions.size())
        return "--select takes the number of an added primitive, 1 to " + std::to_string(setup.additions.size());
    for (const std::string& mesh : options.imports)
        if (const std::optional<std::string> reason = UnreadableReason(mesh))
            return "--import " + Quoted(mesh) + ": " + *reason;
    return {};
}

// The off-screen context, the scene and the viewport, built as the view
// builds them.
struct Stage {
    std::unique_ptr<HeadlessGLContext> context;
    std::unique_ptr<ActiveGLContextScope> active;
    std::unique_ptr<COGLScene> scene;
    COGLViewport3D viewport;
    // Objects before this one came from the scene file and the imports.
    std::size_t firstAddition = 0;

    ~Stage()
    {
        // The scene deletes its textures and lights in the context.
        scene.reset();
        active.reset();
    }
};

std::string Build(const SceneOptions& options, const SceneSetup& setup, Stage& stage)
{
    std::string error;
    stage.context = HeadlessGLContext::Create(setup.width, setup.height, error);
    if (!stage.context)
        return "no off-screen OpenGL context: " + error;
    stage.active = std::make_unique<ActiveGLContextScope>(*stage.context);
    GLBracket current;
    stage.scene = std::make_unique<COGLScene>();
    if (options.maps.empty())
        stage.scene->CreateDefaults();
    else
        stage.scene->CreateDefaults(options.maps);
    if (!options.sceneFile.empty()) {
        SceneLoadResult loaded;
        if (const std::string why = LoadSceneWithWarnings(options.sceneFile, *stage.scene, loaded); !why.empty())
            return options.sceneFile + ": " + why;
    }
    if (!options.imports.empty()) {
        CPluginManager plugins;
        LoadPlugins(plugins);
        for (const std::string& mesh : options.imports) {
            std::string subject, why;
            const CPlugin* plugin = ChoosePlugin(plugins, mesh, {}, subject, why);
            if (!plugin)
                return "--import " + Quoted(mesh) + ": " + why;
            Result<std::unique_ptr<COGLMesh>> imported = ImportMesh(plugins, *plugin, mesh);
            if (!imported)
                return "--import " + Quoted(mesh) + ": " + imported.Message();
            for (const std::string& warning : imported.Warnings())
                Warn(mesh, warning);
            PlaceImportedMesh(**imported, ImportOptions{}, setup.cageSize);
            stage.scene->AddObject(std::move(*imported));
        }
    }
    stage.firstAddition = stage.scene->Objects().size();
    for (const Addition& addition : setup.additions) {
        std::unique_ptr<COGLObject> object = CreateObjectOfKind(addition.kind);
        if (auto* text = dynamic_cast<COGLText*>(object.get()))
            text->ReplaceText(addition.text);
        if (addition.position)
            object->SetPosition(addition.position->x, addition.position->y, addition.position->z);
        stage.scene->AddObject(std::move(object));
    }
    if (static_cast<std::size_t>(options.select) > stage.scene->Objects().size())
        return "--select takes the number of an object, 1 to " + std::to_string(stage.scene->Objects().size());
    if (options.select > 0)
        stage.scene->SetSelectedObject(stage.scene->Objects()[static_cast<std::size_t>(options.select - 1)].get());
    stage.viewport.SetRectangle(0, 0, setup.width, setup.height);
    stage.viewport.SetDisplayMode(setup.mode);
    stage.viewport.SetGrid(options.grid);
    stage.viewport.SetCage(options.cage);
    stage.viewport.SetAxis(options.axis);
    stage.viewport.SetCageSize(setup.cageSize);
    stage.viewport.Camera().SetPreset(setup.camera);
    ApplyZoomPreset(setup.zoom, stage.viewport.Camera());
    return {};
}

int RunRender(const RenderOptions& options)
{
    SceneSetup setup;
    if (std::string error = Parse(options.scene, setup); !error.empty())
        return Fail("render", error);
    Stage stage;
    if (std::string error = Build(options.scene, setup, stage); !error.empty())
        return Fail("render", error);
    stage.context->BeginGL();
    DrawFrame(stage.viewport, *stage.scene);
    stage.context->EndGL();
    if (std::string error; !WritePng(options.out, stage.context->ReadImage(), nullptr, error))
        return Fail(options.out, "cannot write the PNG: " + error);
    std::cout << options.out << ": " << setup.width << " x " << setup.height << " pixels, "
              << stage.scene->Objects().size() << (stage.scene->Objects().size() == 1 ? " object" : " objects")
              << " besides the floor and walls\n";
    return kExitOk;
}

int RunPick(const PickOptions& options)
{
    SceneSetup setup;
    if (std::string error = Parse(options.scene, setup); !error.empty())
        return Fail("pick", error);
    if (options.x < 0 || options.y < 0 || options.x >= setup.width || options.y >= setup.height)
        return Fail("pick", "the point lies outside the " + options.scene.size + " picture");
    Stage stage;
    if (std::string error = Build(options.scene, setup, stage); !error.empty())
        return Fail("pick", error);
    // A frame first, as the view has always drawn one before a click.
    stage.context->BeginGL();
    DrawFrame(stage.viewport, *stage.scene);
    const PickResult picked = PickAt(stage.viewport, *stage.scene, options.x, options.y);
    stage.context->EndGL();

    const auto& objects = stage.scene->Objects();
    const auto found = std::find_if(objects.begin(), objects.end(), [&](const auto& o) { return o.get() == picked.object; });
    const std::size_t number = picked.object ? static_cast<std::size_t>(found - objects.begin()) + 1 : 0;
    if (options.json) {
        nlohmann::ordered_json result = {{"x", options.x}, {"y", options.y}};
        result["object"] = picked.object ? nlohmann::ordered_json{{"number", number},
                                                                  {"kind", DefaultNameOf(picked.object->Kind())},
                                                                  {"name", picked.object->Name()}}
                                         : nlohmann::ordered_json(nullptr);
        result["light"] = picked.light ? nlohmann::ordered_json{{"name", picked.light->Name()},
                                                                {"slot", picked.light->Slot()}}
                                       : nlohmann::ordered_json(nullptr);
        PrintJson(std::cout, result);
        return kExitOk;
    }
    if (picked.object && number > stage.firstAddition)
        std::cout << "(" << options.x << ", " << options.y << "): " << Printable(picked.object->Name()) << ", added primitive "
                  << number - stage.firstAddition << '\n';
    else if (picked.object)
        std::cout << "(" << options.x << ", " << options.y << "): " << Printable(picked.object->Name()) << ", object "
                  << number << " of the scene\n";
    else if (picked.light)
        std::cout << "(" << options.x << ", " << options.y << "): the marker of light " << Quoted(picked.light->Name())
                  << " in slot " << picked.light->Slot() << "; the scene selects nothing\n";
    else
        std::cout << "(" << options.x << ", " << options.y << "): nothing\n";
    return kExitOk;
}

void AddSceneOptions(CLI::App& command, SceneOptions& options)
{
    command.add_option("--size", options.size, "Picture size WIDTHxHEIGHT (default 800x600)");
    command.add_option("--camera", options.camera, "Camera preset: sims (the game's view, default), front, top, left, right")
        ->check(CLI::IsMember({"sims", "front", "top", "left", "right"}));
    command.add_option("--mode", options.mode, "Display mode: shaded (default) or wireframe")
        ->check(CLI::IsMember({"shaded", "wireframe"}));
    command.add_option("--zoom", options.zoom, "Zoom preset: near, medium (default) or far")
        ->check(CLI::IsMember({"near", "medium", "far"}));
    command.add_flag("--grid", options.grid, "Draw the floor grid (wireframe mode only, as in the editor)");
    command.add_flag("--cage", options.cage, "Draw the footprint cage (wireframe mode only, as in the editor)");
    command.add_option("--cage-size", options.cageSize, "The cage's width, height and depth: W,H,D (default 1,1,1)");
    command.add_flag("--axis", options.axis, "Draw the axis marker in the lower-left corner");
    command.add_option("--add", options.additions,
                       "Add a primitive: KIND or KIND@X,Y,Z, KIND one of box, sphere, cylinder, rod, cone, plane, "
                       "ceiling, disk, billboard, floor, leftwall, rightwall; repeat for more (without a position "
                       "each takes its kind's default place)");
    command.add_option("--text", options.texts,
                       "Add a 3-D text object: TEXT or TEXT@X,Y,Z (up to 32 characters, centred on its position, "
                       "default 0,0,0); repeat for more; texts count after the primitives for --select");
    command.add_option("--scene", options.sceneFile,
                       "Draw the objects and textures of a scene file (.cgs) in the room; textures are looked for "
                       "where the file says, then beside it");
    command.add_option("--import", options.imports,
                       "Import a mesh file through the plug-ins (chosen by its extension) and add it as the editor's "
                       "Import does; repeat for more");
    command.add_option("--select", options.select,
                       "Select the N-th object (drawn in the selection colour): the scene file's, then the imported "
                       "meshes, then the added primitives and texts");
    command.add_option("--maps", options.maps, "Folder of the default floor and wall textures (default: the program's Maps)");
}

} // namespace

void AddRenderCommands(CLI::App& app, int& status)
{
    auto render = std::make_shared<RenderOptions>();
    CLI::App* draw = app.add_subcommand("render", "Draw the editor's default scene off screen into a PNG");
    draw->add_option("-o,--out", render->out, "The PNG to write")->required();
    AddSceneOptions(*draw, render->scene);
    draw->callback([render, &status] { status = RunRender(*render); });

    auto pick = std::make_shared<PickOptions>();
    CLI::App* click = app.add_subcommand("pick", "Say what a click at pixel (X, Y) of the rendered scene would select");
    click->add_option("X", pick->x, "Pixels from the picture's left edge")->required();
    click->add_option("Y", pick->y, "Pixels from the picture's top edge")->required();
    click->add_flag("--json", pick->json, "Print the result as JSON");
    AddSceneOptions(*click, pick->scene);
    click->callback([pick, &status] { status = RunPick(*pick); });
}

} // namespace zelvane::cli
