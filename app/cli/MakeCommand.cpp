// `make`.
//
//   1. Options and the report of the steps
//   2. Work files, GUIDs in use, the object's footprint
//   3. The steps: base, clone, import, place, properties, render, write
//   4. The command

#include "app/cli/MakeCommand.h"

#include "app/cli/CliOutput.h"
#include "app/cli/CliReporter.h"
#include "app/cli/GameFolderOption.h"
#include "app/cli/ObjectArguments.h"
#include "app/cli/PluginChoice.h"
#include "app/cli/PropertyAssignments.h"
#include "document/RenderSprites.h"
#include "document/FootprintPlacement.h"
#include "document/MeshImport.h"
#include "document/SceneFile.h"
#include "objects/CObjectFile.h"
#include "objects/ObjectCatalog.h"
#include "objects/ObjectClone.h"
#include "objects/ObjectFileOpener.h"
#include "objects/PreviewTile.h"
#include "plugins/host/CPluginManager.h"
#include "resfile/FileReplacement.h"
#include "resfile/ResErrors.h"
#include "scene/ActiveGLContext.h"
#include "scene/COGLMesh.h"
#include "scene/COGLScene.h"
#include "scene/HeadlessGLContext.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <iterator>
#include <optional>
#include <set>
#include <sstream>

namespace zelvane::cli {

namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

// ---------------------------------------------------------------------------
// 1. Options and the report

struct MakeOptions {
    ObjectArgument base;
    std::vector<std::string> models;
    float scale = 1.0f;
    bool fit = false;
    float rotate = 0.0f;
    std::string offset;
    std::optional<std::string> name;
    std::optional<int> price;
    std::optional<std::string> description;
    int samples = 4;
    bool dither = false;
    bool noShadow = false;
    std::string out;
    std::string scene;
    bool json = false;
};

// Says each step as it is done: a line, or an entry of the JSON printed at
// the end. A failure is one line on stderr naming the step (and, with
// --json, the steps done and the failure on stdout).
class StepReport {
public:
    explicit StepReport(bool json) : json_(json) {}

    void Done(const char* step, const std::string& line, Json details = Json::object())
    {
        if (!json_) {
            std::cout << step << ": " << Printable(line) << '\n';
            std::cout.flush();
        }
        details["step"] = step;
        details["text"] = line;
        steps_.push_back(std::move(details));
    }

    int Failed(const char* step, const std::string& subject, const std::string& message)
    {
        if (json_)
            PrintJson(std::cout, {{"ok", false},
                                  {"failedStep", step},
                                  {"error", subject.empty() ? message : subject + ": " + message},
                                  {"steps", steps_}});
        return Fail(std::string("make: ") + step, subject.empty() ? message : subject + ": " + message);
    }

    const Json& Steps() const { return steps_; }

private:
    bool json_;
    Json steps_ = Json::array();
};

std::string Fixed(double value, int digits)
{
    std::ostringstream text;
    text << std::fixed << std::setprecision(digits) << value;
    return text.str();
}

std::string Triple(const Vector3& v)
{
    return Fixed(v.x, 3) + "," + Fixed(v.y, 3) + "," + Fixed(v.z, 3);
}

std::optional<Vector3> ParseOffset(const std::string& text)
{
    Vector3 v;
    float* parts[3] = {&v.x, &v.y, &v.z};
    std::size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        const std::size_t comma = i < 2 ? text.find(',', start) : text.size();
        if (comma == std::string::npos)
            return std::nullopt;
        const std::string part = text.substr(start, comma - start);
        char* end = nullptr;
        *parts[i] = std::strtof(part.c_str(), &end);
        if (part.empty() || end != part.c_str() + part.size() || !std::isfinite(*parts[i]))
            return std::nullopt;
        start = comma + 1;
    }
    return v;
}

// ---------------------------------------------------------------------------
// 2. Work files, GUIDs, the footprint

// A private folder for the clone and the render until they are finished;
// removed with everything in it when the command ends.
class WorkFolder {
public:
    WorkFolder()
    {
        std::error_code ec;
        std::string pattern = (fs::temp_directory_path(ec) / "zelvane-make-XXXXXX").string();
        if (ec)
            pattern = "/tmp/zelvane-make-XXXXXX";
        if (mkdtemp(pattern.data()))
            path_ = pattern;
    }
    ~WorkFolder()
    {
        std::error_code ec;
        if (!path_.empty())
            fs::remove_all(path_, ec);
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    bool Made() const { return !path_.empty(); }
    std::string File(const char* name) const { return (fs::path(path_) / name).string(); }

private:
    std::string path_;
};

// The GUIDs of the object files lying in `folder` (not below it): objects
// made there by earlier runs, which the catalog does not see until they are
// moved into the game.
std::set<uint32_t> GuidsInFolder(const fs::path& folder)
{
    std::set<uint32_t> guids;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::string extension = it->path().extension().string();
        std::transform(extension.begin(), extension.end(), extension.begin(), [](unsigned char c) {
            return static_cast<char>(std::tolower(c));
        });
        std::error_code fileError;
        if (extension != ".iff" || !it->is_regular_file(fileError))
            continue;
        const std::string path = it->path().string();
        std::string why;
        ObjectFileOpener opener;
        MountFolderOf(path);
        if (!opener.Open(path, {}, why))
            continue;
        CObjectFile file(path, opener.TakeContainer());
        if (file.BuildLists() != kResOk)
            continue;
        for (const auto& object : file.Objects())
            guids.insert(static_cast<uint32_t>(object->Definition().Guid()));
    }
    return guids;
}

// Where the object's tiles lie on the floor: the cage that spans them, and
// the scene point in the middle of them (the cage's centre is the scene's
// origin; tile (x, y) covers scene x around y and z around −x).
struct Footprint {
    CageSize cage{1, 1, 1};
    Vector3 middle;
    std::size_t tiles = 1;
};

Footprint FootprintOf(const CObjectEntry& object)
{
    std::vector<std::span<const uint8_t>> members;
    for (const CObjectEntry* member : object.Members())
        members.push_back(member->Definition().Bytes());
    const std::vector<PreviewTile> tiles = PreviewTilesOf(object.Definition().Bytes(), members);
    Footprint footprint;
    int lowX = 0, highX = 0, lowY = 0, highY = 0;
    bool any = false;
    for (const PreviewTile& tile : tiles) {
        if (tile.level != 0)
            continue;
        lowX = any ? std::min(lowX, tile.x) : tile.x;
        highX = any ? std::max(highX, tile.x) : tile.x;
        lowY = any ? std::min(lowY, tile.y) : tile.y;
        highY = any ? std::max(highY, tile.y) : tile.y;
        any = true;
    }
    footprint.tiles = std::max<std::size_t>(tiles.size(), 1);
    if (!any)
        return footprint;
    footprint.cage = {highY - lowY + 1, 1, highX - lowX + 1};
    footprint.middle = {static_cast<float>(lowY + highY) * 0.5f, 0.0f, -static_cast<float>(lowX + highX) * 0.5f};
    return footprint;
}

// Why `path` cannot be an output, or nothing: its folder must exist and be
// writable, and it must not be a folder itself.
std::optional<std::string> UnwritableReason(const std::string& path)
{
    std::error_code ec;
    if (fs::is_directory(path, ec))
        return std::string("is a folder");
    const fs::path folder = fs::absolute(path, ec).parent_path();
    if (ec || !fs::is_directory(folder, ec))
        return "its folder " + folder.string() + " does not exist";
    if (access(folder.c_str(), W_OK | X_OK) != 0)
        return "its folder " + folder.string() + " cannot be written";
    return std::nullopt;
}

std::optional<std::vector<uint8_t>> BytesOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// ---------------------------------------------------------------------------
// 3. The steps

class Make {
public:
    Make(const MakeOptions& options) : options_(options), report_(options.json) {}

    int Run()
    {
        const auto started = std::chrono::steady_clock::now();
        if (const int status = CheckOutputs(); status != kExitOk)
            return status;
        if (!work_.Made())
            return report_.Failed("clone", "", "no private work folder could be made in the temporary folder");
        if (const int status = Base(); status != kExitOk)
            return status;
        if (const int status = Clone(); status != kExitOk)
            return status;

        // The meshes are made, and rendered, in one off-screen context.
        std::string error;
        context_ = HeadlessGLContext::Create(16, 16, error);
        if (!context_)
            return report_.Failed("import", "", "no off-screen OpenGL context: " + error);
        ActiveGLContextScope active(*context_);
        context_->BeginGL();
        scene_ = std::make_unique<COGLScene>();
        int status = Import();
        if (status == kExitOk)
            status = Place();
        if (status == kExitOk)
            status = Properties();
        if (status == kExitOk)
            status = Render();
        if (status == kExitOk)
            status = Write();
        // The meshes' lists go in the context they were made in.
        scene_.reset();
        context_->EndGL();
        if (status != kExitOk)
            return status;
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        if (options_.json) {
            result_["ok"] = true;
            result_["seconds"] = seconds;
            result_["steps"] = report_.Steps();
            PrintJson(std::cout, result_);
        }
        return kExitOk;
    }

private:
    int CheckOutputs()
    {
        if (options_.fit && options_.scale != 1.0f)
            return report_.Failed("place", "", "--scale and --fit exclude each other");
        if (!options_.offset.empty()) {
            offset_ = ParseOffset(options_.offset);
            if (!offset_)
                return report_.Failed("place", "--offset " + Quoted(options_.offset), "expected X,Y,Z, e.g. 0,0.1,0");
        }
        for (const std::string* path : {&options_.out, &options_.scene}) {
            if (path->empty())
                continue;
            if (const std::optional<std::string> why = UnwritableReason(*path))
                return report_.Failed("write", *path, *why);
        }
        std::error_code ec;
        if (!options_.scene.empty() && fs::weakly_canonical(options_.scene, ec) == fs::weakly_canonical(options_.out, ec))
            return report_.Failed("write", options_.scene, "the scene file and the object file are one file");
        if (!options_.scene.empty() && !IsSceneFileName(options_.scene))
            return report_.Failed("write", options_.scene, "a scene file's name ends in .cgs");
        return kExitOk;
    }

    int Base()
    {
        std::string subject, error;
        if (!FindObject(options_.base, found_, subject, error))
            return report_.Failed("base", subject, error);
        sourceOpener_ = std::make_unique<ObjectFileOpener>();
        if (!sourceOpener_->Open(found_.path, {}, error))
            return report_.Failed("base", found_.path, error);
        source_ = std::make_unique<CObjectFile>(found_.path, sourceOpener_->TakeContainer());
        if (const int32_t code = source_->BuildLists(); code != kResOk)
            return report_.Failed("base", found_.path, ResErrorText(code));
        base_ = source_->FindObject(found_.id);
        if (!base_)
            return report_.Failed("base", found_.path, "has no object with OBJD id " + std::to_string(found_.id));
        footprint_ = FootprintOf(*base_);
        const auto guid = static_cast<uint32_t>(base_->Definition().Guid());
        const std::string tiles =
            footprint_.tiles == 1 ? "1 tile" : std::to_string(footprint_.tiles) + " tiles";
        report_.Done("base",
                     found_.path + " OBJD " + std::to_string(found_.id) + " " + Quoted(base_->ResourceName()) +
                         ", GUID " + GuidText(guid) + ", " + tiles,
                     {{"file", found_.path},
                      {"id", found_.id},
                      {"resource_name", base_->ResourceName()},
                      {"guid", GuidText(guid)},
                      {"tiles", footprint_.tiles}});
        result_["base"] = {{"file", found_.path}, {"id", found_.id}, {"guid", GuidText(guid)}};
        return kExitOk;
    }

    int Clone()
    {
        // New GUIDs are random and drawn again while the game's catalog
        // (its downloads included) or an object file beside the output uses
        // them, so objects made one after another never share one.
        ObjectCatalog catalog;
        const GameFolderSearch game = SearchGameFolder(options_.base.where.gameFolder);
        if (game.givenIsNoFolder)
            return report_.Failed("clone", options_.base.where.gameFolder, "not a folder");
        if (!game.folder.empty())
            catalog.Rebuild(game.folder);
        std::error_code ec;
        const std::set<uint32_t> beside = GuidsInFolder(fs::absolute(options_.out, ec).parent_path());
        // The catalog rebuild resets the file system: mount the source's folder again.
        MountFolderOf(found_.path);

        CloneOptions clone;
        clone.targetPath = work_.File("clone.iff");
        clone.guidInUse = [&](uint32_t guid) { return catalog.GuidInUse(guid) || beside.count(guid) > 0; };
        CliReporter messages;
        const CloneResult result = CloneObject(*base_, clone);
        if (!result.succeeded)
            return report_.Failed("clone", found_.path, messages.TakeMessages());
        catalog.Clear();
        clonePath_ = clone.targetPath;
        Json guids = Json::array();
        std::string line;
        for (const ClonedGuid& g : result.guids) {
            guids.push_back({{"id", g.definitionId},
                             {"resource_name", g.resourceName},
                             {"old_guid", GuidText(g.oldGuid)},
                             {"new_guid", GuidText(g.newGuid)}});
            line += (line.empty() ? "" : ", ") + GuidText(g.newGuid) + " (was " + GuidText(g.oldGuid) + ")";
            clonedIds_.push_back(g.definitionId);
        }
        report_.Done("clone",
                     std::to_string(result.guids.size()) + (result.guids.size() == 1 ? " object" : " objects") +
                         ", new GUID" + (result.guids.size() == 1 ? " " : "s ") + line +
                         (game.folder.empty() ? "; no game folder: kept apart from the files beside the output only"
                                              : "; none is used in " + game.folder),
                     {{"guids", guids}});
        result_["guids"] = std::move(guids);
        return kExitOk;
    }

    int Import()
    {
        LoadPlugins(plugins_);
        Json models = Json::array();
        for (const std::string& model : options_.models) {
            if (const std::optional<std::string> reason = UnreadableReason(model))
                return report_.Failed("import", model, *reason);
            std::string subject, why;
            const CPlugin* plugin = ChoosePlugin(plugins_, model, {}, subject, why);
            if (!plugin)
                return report_.Failed("import", subject, why);
            Result<std::unique_ptr<COGLMesh>> mesh = ImportMesh(plugins_, *plugin, model);
            if (!mesh)
                return report_.Failed("import", model, mesh.Message());
            for (const std::string& warning : mesh.Warnings())
                Warn(model, warning);
            const MeshSet& set = (*mesh)->GetMeshSet();
            report_.Done("import",
                         model + ": " + std::to_string(set.partCount) + (set.partCount == 1 ? " part, " : " parts, ") +
                             std::to_string((*mesh)->TriangleCount()) + " faces (" + plugin->Name() + ")",
                         {{"model", model},
                          {"plugin", plugin->Name()},
                          {"parts", set.partCount},
                          {"faces", (*mesh)->TriangleCount()}});
            meshes_.push_back(std::move(*mesh));
        }
        return kExitOk;
    }

    int Place()
    {
        ImportOptions import;
        import.scale = options_.scale;
        import.fitToFootprint = options_.fit;
        Json placed = Json::array();
        for (std::size_t m = 0; m < meshes_.size(); ++m) {
            COGLMesh& mesh = *meshes_[m];
            // As the editor's Import places it in a cage over the object's tiles...
            PlaceImportedMesh(mesh, import, footprint_.cage);
            // ...turned about the vertical through its middle, as Rotate turns it...
            if (options_.rotate != 0.0f)
                mesh.SetOrientation(Quaternion::FromAxisAngle({0.0f, 1.0f, 0.0f}, options_.rotate) * mesh.Orientation());
            // ...and moved where the tiles lie and by the offset asked for.
            Vector3 to = mesh.Position() + footprint_.middle;
            if (offset_)
                to = to + *offset_;
            mesh.SetPosition(to.x, to.y, to.z);
            const Box3 box = mesh.SceneBox();
            const Vector3 size = box.Size();
            const std::string name = fs::path(options_.models[m]).filename().string();
            report_.Done("place",
                         name + " at " + Triple(mesh.Position()) + ", scale " + Fixed(mesh.Scale().x, 4) + ", " +
                             Fixed(size.x, 2) + " x " + Fixed(size.y, 2) + " x " + Fixed(size.z, 2) + " units",
                         {{"model", options_.models[m]},
                          {"position", {mesh.Position().x, mesh.Position().y, mesh.Position().z}},
                          {"scale", {mesh.Scale().x, mesh.Scale().y, mesh.Scale().z}},
                          {"size", {size.x, size.y, size.z}}});
            placed.push_back(report_.Steps().back());
            scene_->AddObject(std::move(meshes_[m]));
        }
        meshes_.clear();
        scene_->SetSavedCage(footprint_.cage);
        result_["models"] = std::move(placed);
        return kExitOk;
    }

    int Properties()
    {
        std::vector<std::string> assignments;
        if (options_.name)
            assignments.push_back("Name=" + *options_.name);
        if (options_.price)
            assignments.push_back("Price=" + std::to_string(*options_.price));
        if (options_.description)
            assignments.push_back("Description=" + *options_.description);
        if (options_.noShadow)
            assignments.push_back("Shadow=-1");
        result_["properties"] = assignments;
        if (assignments.empty()) {
            report_.Done("properties", "none given; the base's kept", {{"assignments", assignments}});
            return kExitOk;
        }
        const StoredProperties stored = StoreProperties(clonePath_, found_.id, assignments);
        if (!stored.ok)
            return report_.Failed("properties", stored.subject, stored.error);
        // Each tile of a multi-tile object draws its own shadow.
        if (options_.noShadow)
            for (const int16_t id : clonedIds_)
                if (id != found_.id)
                    if (const StoredProperties tile = StoreProperties(clonePath_, id, {"Shadow=-1"}); !tile.ok)
                        return report_.Failed("properties", tile.subject, tile.error);
        std::string line;
        for (const std::string& assignment : assignments)
            line += (line.empty() ? "" : ", ") + assignment;
        report_.Done("properties", line, {{"assignments", assignments}});
        return kExitOk;
    }

    int Render()
    {
        std::string error;
        ObjectFileOpener opener;
        if (!opener.Open(clonePath_, {}, error))
            return report_.Failed("render", "", "the clone: " + error);
        CObjectFile file(clonePath_, opener.TakeContainer());
        if (const int32_t code = file.BuildLists(); code != kResOk)
            return report_.Failed("render", "", "the clone: " + std::string(ResErrorText(code)));
        const CObjectEntry* object = file.FindObject(found_.id);
        if (!object)
            return report_.Failed("render", "", "the clone has no object with OBJD id " + std::to_string(found_.id));
        madePath_ = work_.File("made.iff");
        CliReporter messages;
        BakeRequest request;
        request.scene = scene_.get();
        request.objects = BakeableObjects(*scene_);
        request.file = &file;
        request.filePath = madePath_;
        request.object = object;
        request.options.render.samples = options_.samples;
        request.options.dither = options_.dither;
        const BakeResult result = BakeSprites(request);
        const std::string said = messages.TakeMessages();
        if (result.outcome != BakeOutcome::Written)
            return report_.Failed("render", "", said.empty() ? result.error : said);
        for (const std::string& note : result.notes)
            Warn("render", note);
        std::string sprites;
        for (const int16_t id : result.spriteIds)
            sprites += (sprites.empty() ? "" : ", ") + std::to_string(id);
        Json details = {{"sprites", result.spriteIds},
                        {"drawGroups", result.drawGroupIds},
                        {"palette", result.paletteId},
                        {"colours", result.coloursUsed},
                        {"psnr", result.psnr},
                        {"seconds", result.timings.total}};
        report_.Done("render",
                     "sprites " + sprites + ", palette " + std::to_string(result.paletteId) + " (" +
                         std::to_string(result.coloursUsed) + " colours, " + Fixed(result.psnr, 1) + " dB)",
                     details);
        result_["render"] = std::move(details);
        return kExitOk;
    }

    // The object file first, then the scene; when the scene cannot be
    // written, the object file is put back as it was.
    int Write()
    {
        std::error_code ec;
        const bool existed = fs::exists(options_.out, ec);
        const std::optional<std::vector<uint8_t>> before = existed ? BytesOf(options_.out) : std::nullopt;
        if (existed && !before)
            return report_.Failed("write", options_.out, "the file there cannot be read to keep it safe");
        std::string error;
        if (!ReplaceWithCopy(madePath_, options_.out, error))
            return report_.Failed("write", options_.out, error);
        std::string line = options_.out;
        if (!options_.scene.empty()) {
            CliReporter messages;
            const Status written = WriteSceneFile(options_.scene, *scene_);
            if (!written) {
                std::string undo;
                if (before ? WriteFileSafely(options_.out, *before, undo) != SafeWrite::Written
                           : !fs::remove(options_.out, ec))
                    return report_.Failed("write", options_.scene,
                                          written.Message() + "; and " + options_.out +
                                              " could not be put back as it was: " + (before ? undo : ec.message()));
                return report_.Failed("write", options_.scene, written.Message());
            }
            for (const std::string& warning : written.Warnings())
                Warn(options_.scene, warning);
            line += ", " + options_.scene;
        }
        report_.Done("write", line);
        result_["file"] = options_.out;
        result_["scene"] = options_.scene.empty() ? Json(nullptr) : Json(options_.scene);
        return kExitOk;
    }

    const MakeOptions& options_;
    StepReport report_;
    Json result_ = Json::object();
    WorkFolder work_;
    std::optional<Vector3> offset_;
    FoundObject found_;
    std::unique_ptr<ObjectFileOpener> sourceOpener_;
    std::unique_ptr<CObjectFile> source_;
    const CObjectEntry* base_ = nullptr;
    Footprint footprint_;
    std::string clonePath_;
    std::vector<int16_t> clonedIds_;
    std::string madePath_;
    std::unique_ptr<HeadlessGLContext> context_;
    CPluginManager plugins_;
    std::vector<std::unique_ptr<COGLMesh>> meshes_;
    std::unique_ptr<COGLScene> scene_;
};

} // namespace

// ---------------------------------------------------------------------------
// 4. The command

void AddMakeCommand(CLI::App& app, int& status)
{
    auto options = std::make_shared<MakeOptions>();
    CLI::App* make = app.add_subcommand(
        "make", "Make a finished object from models in one go: clone a base with new GUIDs, import and place the "
                "models as the editor's Import does, set the properties, render the sprites, write the object file");
    AddObjectArguments(*make, options->base, "The base object's file", FileSpelling::Base,
                       "The base object's OBJD id (default: the file's first object)");
    make->add_option("--model", options->models,
                     "A model file to import (.3ds, .glb, .gltf, .obj; the plug-in is chosen by its extension); "
                     "repeat or list more")
        ->required();
    CLI::Option* scale = make->add_option("--scale", options->scale,
                                          "Times the size the import gives the models (default 1)")
                             ->check(CLI::PositiveNumber);
    make->add_flag("--fit", options->fit, "Scale each model to fill the object's footprint as far as it can")
        ->excludes(scale);
    make->add_option("--rotate", options->rotate, "Turn the models about the vertical by DEGREES");
    make->add_option("--offset", options->offset, "Move the models by X,Y,Z scene units after placing them");
    make->add_option("--name", options->name, "The catalog name");
    make->add_option("--price", options->price, "The price");
    make->add_option("--description", options->description, "The catalog description");
    make->add_option("--samples", options->samples, "Samples a pixel side at the largest zoom (default 4)")
        ->check(CLI::Range(1, 16));
    make->add_flag("--dither", options->dither, "Dither the colours to the palette (Floyd-Steinberg)");
    make->add_flag("--no-shadow", options->noShadow, "No shadow under the object in the game (Shadow = -1)");
    make->add_option("-o,--out", options->out, "The object file to write (.iff)")->required();
    make->add_option("--scene", options->scene,
                     "Also write the scene (.cgs) the sprites were rendered from, its meshes by model path (named "
                     "as OUT with .cgs, as the editor saves them, bake finds the object file beside it)");
    make->add_flag("--json", options->json, "Print what each step did as JSON");
    make->callback([options, &status] {
        Make run(*options);
        status = run.Run();
    });
}

} // namespace zelvane::cli
