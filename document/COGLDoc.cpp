#include "document/COGLDoc.h"

#include "document/AddObjectCommand.h"
#include "document/ClearSceneCommand.h"
#include "document/FunctionCommand.h"
#include "document/MeshImport.h"
#include "document/ObjectFileCommand.h"
#include "document/PlaceObjectCommand.h"
#include "document/RemoveObjectCommand.h"
#include "document/SceneFile.h"
#include "document/TextureCommands.h"
#include "report/ErrorLog.h"
#include "report/ProgramFolders.h"
#include "scene/ActiveGLContext.h"
#include "scene/COGLLight.h"
#include "scene/COGLMesh.h"
#include "scene/COGLPlane.h"
#include "scene/COGLScene.h"
#include "scene/COGLText.h"
#include "scene/COGLTexture2D.h"
#include "scene/ObjectFactory.h"

#include <algorithm>
#include <filesystem>

namespace zelvane {

namespace {

// Brackets work that makes or deletes display lists and textures.
class GLScope {
public:
    GLScope() : context_(ActiveGLContext()) { context_.BeginGL(); }
    ~GLScope() { context_.EndGL(); }
    GLScope(const GLScope&) = delete;
    GLScope& operator=(const GLScope&) = delete;

private:
    IGLContext& context_;
};

} // namespace

// --- Construction and catalog ----------------------------------------------------

COGLDoc::COGLDoc(std::optional<std::string> commandLineGameFolder, std::vector<std::string> sampleFolders,
                 std::string workingObjectPath)
    : commandLineGameFolder_(std::move(commandLineGameFolder)), sampleFolders_(std::move(sampleFolders)),
      workingObject_(std::move(workingObjectPath))
{
    workingObject_.SetFileObserver([this](CObjectFile* file) { OnObjectFileReplaced(file); });
}

COGLDoc::~COGLDoc()
{
    workingObject_.SetFileObserver(nullptr);
    // The history's steps may hold objects and textures of the scene.
    history_.Clear();
}

void COGLDoc::OnNewDocument()
{
    const GameFolderChoice found =
        FindGameFolder(GameFolderInputs::FromEnvironment(commandLineGameFolder_, sampleFolders_));
    for (const std::string& note : found.notes)
        LogDebug("Game folder: " + note + "\n");
    // Without a new answer the previous game folder stays.
    if (found.source != GameFolderSource::None || gameFolder_.source == GameFolderSource::None)
        gameFolder_ = found;
    LogDebug("Game folder: " + gameFolder_.folder + " (" + GameFolderSourceName(gameFolder_.source) + ")\n");
    catalog_.Rebuild(gameFolder_.folder);
    LogDebug("Catalog: " + std::to_string(catalog_.Files().size()) + " object files, " +
             std::to_string(catalog_.ListedObjects().size()) + " objects\n");
}

void COGLDoc::OnObjectFileReplaced(CObjectFile* file)
{
    if (scene_)
        scene_->SetObjectFile(file);
    Announce(kObjectFileChanged | kHistoryChanged);
}

void COGLDoc::NoteObjectFileEdited()
{
    workingObject_.NoteEdited();
    Announce(kObjectFileChanged | kHistoryChanged);
}

Status COGLDoc::ReplaceObjectFile(std::string text, const std::function<Status(const std::string& path)>& replace)
{
    Result<std::vector<uint8_t>> before = workingObject_.Contents();
    if (!before)
        return before.GetStatus();
    Status replaced = Status::Ok();
    const Result<WorkingObjectFile::RewriteOutcome> rewritten = workingObject_.Rewrite([&](CObjectFile&) {
        replaced = replace(workingObject_.Path());
        return replaced.ok();
    });
    if (!replaced)
        return replaced;
    if (!rewritten)
        return rewritten.GetStatus();
    Result<std::vector<uint8_t>> after = workingObject_.Contents();
    if (!after)
        return after.GetStatus();
    Record(std::make_unique<ObjectFileCommand>(std::move(text), workingObject_, std::move(*before), std::move(*after)),
           kObjectFileChanged);
    return replaced;
}

// --- The scene ---------------------------------------------------------------------

void COGLDoc::NewScene(const std::string& mapsFolder)
{
    {
        GLScope gl;
        EmptyHistory();
        selection_ = {};
        scene_.reset();
        scene_ = std::make_unique<COGLScene>();
        scene_->CreateDefaults(mapsFolder.empty() ? COGLScene::DefaultMapsFolder() : mapsFolder);
        scene_->SetObjectFile(workingObject_.File());
    }
    pathName_.clear();
    lastLoad_ = {};
    Announce(kSceneChanged | kSelectionChanged | kHistoryChanged | kPathChanged);
}

void COGLDoc::CloseScene()
{
    {
        GLScope gl;
        EmptyHistory();
        selection_ = {};
        scene_.reset();
    }
    Announce(kSceneChanged | kSelectionChanged | kHistoryChanged);
}

Status COGLDoc::ScanPlugins()
{
    Status scanned = plugins_.ScanPlugins();
    Announce(kPluginsChanged);
    return scanned;
}

// --- Scene files --------------------------------------------------------------------

Status COGLDoc::SaveSceneFile(const std::string& path)
{
    if (!scene_)
        return Status::Failure(std::string(kFailedToSaveText) + " There is no scene to save.");
    // A scene whose file said which cage it was made for says the cage it has now.
    if (scene_->SavedCage())
        scene_->SetSavedCage(cage_);
    Status saved = WriteSceneFile(path, *scene_);
    if (!saved)
        return saved;
    if (const Status copied = workingObject_.CopyBesideScene(path); !copied)
        saved.Warn(std::string(kFailedToSaveText) + " The scene was saved, but its object file was not: " +
                   copied.Message());
    history_.MarkSaved();
    pathName_ = path;
    Announce(kHistoryChanged | kPathChanged | kObjectFileChanged);
    return saved;
}

Status COGLDoc::OpenSceneFile(const std::string& path)
{
    if (!IsSceneFileName(path))
        return Status::Failure("\"" + path + "\" is not a scene file: scene files end in \".cgs\".");
    if (!scene_)
        return Status::Failure(std::string(kFailedToOpenText) + " The view has no scene yet.");
    // A file that is no scene file at all leaves the scene as it is.
    if (Status probe = ProbeSceneFile(path); !probe)
        return probe;
    Status opened = Status::Ok();
    {
        // Textures and text letters are made while the scene is read.
        GLScope gl;
        EmptyHistory();
        selection_ = {};
        scene_->ClearScene();
        opened = ReadSceneFile(path, *scene_, lastLoad_);
    }
    DocumentChanges changes = kSceneChanged | kSelectionChanged | kHistoryChanged | kPathChanged;
    if (opened && scene_->SavedCage()) {
        cage_ = *scene_->SavedCage();
        changes |= kViewOptionsChanged;
    }
    if (opened) {
        pathName_ = path;
        const Result<WorkingObjectFile::SceneCopyOutcome> taken = workingObject_.TakeFromScene(path);
        if (!taken)
            opened.Warn("The scene was opened, but the object file beside it could not become the working object "
                        "file: " + taken.Message());
    }
    Announce(changes);
    return opened;
}

bool COGLDoc::HasUnsavedChanges() const
{
    return history_.HasUnsavedChanges() || workingObject_.HasUnsavedEdits();
}

// --- Commands ------------------------------------------------------------------------

void COGLDoc::Announce(DocumentChanges changes)
{
    changed_.Emit(changes);
}

void COGLDoc::Do(std::unique_ptr<UndoCommand> command, DocumentChanges changes)
{
    {
        // Steps dropped from the history may delete objects and textures.
        GLScope gl;
        history_.Push(std::move(command));
    }
    Announce(changes | kHistoryChanged | ValidateSelection());
}

void COGLDoc::Record(std::unique_ptr<UndoCommand> command, DocumentChanges changes)
{
    {
        GLScope gl;
        history_.Record(std::move(command));
    }
    Announce(changes | kHistoryChanged | ValidateSelection());
}

void COGLDoc::EmptyHistory()
{
    GLScope gl;
    history_.Clear();
}

Result<COGLMesh*> COGLDoc::ImportFile(const std::string& path, const CPlugin* plugin, const ImportOptions& options)
{
    if (!scene_)
        return Result<COGLMesh*>::Failure("There is no scene to import into.");
    if (!plugin)
        plugin = plugins_.FindForFile(path);
    if (!plugin)
        return Result<COGLMesh*>::Failure("No plug-in imports this kind of file:\n" + path);
    Result<std::unique_ptr<COGLMesh>> mesh = [&] {
        GLScope gl;
        Result<std::unique_ptr<COGLMesh>> imported = ImportMesh(plugins_, *plugin, path);
        if (imported)
            PlaceImportedMesh(**imported, options, cage_);
        return imported;
    }();
    if (!mesh)
        return mesh.GetStatus();
    COGLMesh* added = mesh->get();
    AddObject(std::move(*mesh), "Import");
    Result<COGLMesh*> result(added);
    for (const std::string& warning : mesh.Warnings())
        result.Warn(warning);
    return result;
}

bool COGLDoc::OpensDroppedFile(const std::string& path) const
{
    if (IsSceneFileName(path))
        return true;
    std::string extension = std::filesystem::path(path).extension().string();
    return extension.size() > 1 && std::any_of(plugins_.Plugins().begin(), plugins_.Plugins().end(), [&](const auto& plugin) {
               return plugin->ReadsExtension(std::string_view(extension).substr(1));
           });
}

std::string COGLDoc::ImportStartFolder() const
{
    if (const std::optional<std::string> meshes = FindProgramFolder("Meshes"))
        return *meshes;
    std::error_code ec;
    if (!gameFolder_.folder.empty() && std::filesystem::is_directory(gameFolder_.folder + "Meshes", ec))
        return gameFolder_.folder + "Meshes/";
    return StartFolder();
}

COGLObject& COGLDoc::AddObject(std::unique_ptr<COGLObject> object, std::string text, Added added)
{
    COGLObject& placed = *object;
    DocumentChanges changes = kSceneChanged;
    if (added == Added::Selected) {
        selection_ = {&placed, nullptr};
        scene_->SetSelectedObject(&placed);
        changes |= kSelectionChanged;
    }
    Do(std::make_unique<AddObjectCommand>(std::move(text), *scene_, std::move(object)), changes);
    return placed;
}

COGLObject* COGLDoc::InsertObject(ObjectKind kind)
{
    if (!scene_)
        return nullptr;
    std::unique_ptr<COGLObject> object;
    {
        GLScope gl;
        object = MakeInsertedObject(kind);
    }
    if (!object)
        return nullptr;
    PutOnFootprint(*object, cage_);
    return &AddObject(std::move(object), "Insert " + std::string(DefaultNameOf(kind)));
}

COGLObject* COGLDoc::InsertText(const TextRequest& request)
{
    if (!scene_)
        return nullptr;
    std::unique_ptr<COGLText> text;
    {
        GLScope gl;
        text = MakeInsertedText(request);
    }
    if (!text)
        return nullptr;
    PutOnFootprint(*text, cage_);
    return &AddObject(std::move(text), "Insert Text");
}

bool COGLDoc::CanCopySelection() const
{
    return scene_ && selection_.object;
}

bool COGLDoc::CopySelection()
{
    if (!CanCopySelection())
        return false;
    const COGLObject& source = *selection_.object;
    std::unique_ptr<COGLObject> copy;
    {
        // A new object builds its kind's display lists on first use; a text
        // builds its letters anew from the source's text and font.
        GLScope gl;
        if (const auto* mesh = dynamic_cast<const COGLMesh*>(&source)) {
            copy = COGLMesh::CopyOf(*mesh);
        } else {
            copy = CreateObjectOfKind(source.Kind());
            if (!copy)
                return false;
            auto* text = dynamic_cast<COGLText*>(copy.get());
            if (const auto* sourceText = dynamic_cast<const COGLText*>(&source); text && sourceText)
                text->CopyText(*sourceText);
            else
                copy->CopyFrom(source);
        }
    }
    const auto* sourcePlane = dynamic_cast<const COGLPlane*>(&source);
    if (auto* plane = dynamic_cast<COGLPlane*>(copy.get()); plane && sourcePlane)
        plane->SetTessellated(sourcePlane->IsTessellated());
    // The copy is pickable wherever the original was.
    copy->SetPickable(source.IsPickable());
    AddObject(std::move(copy), "Copy");
    return true;
}

bool COGLDoc::DeleteSelection()
{
    if (!scene_ || !selection_.object || !scene_->Contains(selection_.object))
        return false;
    COGLObject& object = *selection_.object;
    selection_ = {};
    scene_->SetSelectedObject(nullptr);
    Do(std::make_unique<RemoveObjectCommand>("Delete", *scene_, object), kSceneChanged | kSelectionChanged);
    return true;
}

void COGLDoc::ClearScene()
{
    if (!scene_)
        return;
    selection_ = {};
    scene_->SetSelectedObject(nullptr);
    Do(std::make_unique<ClearSceneCommand>(*scene_), kSceneChanged | kSelectionChanged);
}

COGLTexture2D* COGLDoc::LoadTexture(const std::string& path)
{
    if (!scene_)
        return nullptr;
    auto texture = std::make_unique<COGLTexture2D>();
    {
        GLScope gl;
        texture->SetSource(path, 0);
        texture->SetScene(scene_.get());
        if (!texture->IsLoaded())
            return nullptr;
    }
    COGLTexture2D* loaded = texture.get();
    Do(std::make_unique<AddTextureCommand>("Load Texture", *scene_, std::move(texture)), kSceneChanged);
    return loaded;
}

void COGLDoc::SetObjectTexture(COGLObject& object, const ObjectTextureState& state, std::string text)
{
    const ObjectTextureState before = ObjectTextureState::Of(object);
    state.ApplyTo(object);
    const ObjectTextureState after = ObjectTextureState::Of(object); // a texture that does not load stays off
    if (after == before)
        return;
    Record(std::make_unique<ObjectTextureCommand>(std::move(text), object, before, after), kSceneChanged);
}

Status COGLDoc::SetGroupTexture(COGLMesh& mesh, std::size_t part, std::size_t group, const std::string& path)
{
    const auto& paths = mesh.GroupTexturePaths();
    if (part >= paths.size() || group >= paths[part].size())
        return Status::Failure("The mesh has no face group " + std::to_string(group + 1) + " in part " +
                               std::to_string(part + 1) + ".");
    const std::string before = paths[part][group];
    if (before == path)
        return Status::Ok();
    std::string problem;
    {
        GLScope gl;
        if (!mesh.SetGroupTexture(part, group, path, problem))
            return Status::Failure("\"" + path + "\" cannot be the group's texture: " + problem + ".");
    }
    Record(std::make_unique<GroupTextureCommand>(mesh, part, group, before, path), kSceneChanged);
    return Status::Ok();
}

void COGLDoc::PlacementMoved(COGLObject&)
{
    Announce(kSceneChanged);
}

void COGLDoc::CommitPlacement(COGLObject& object, const ObjectPlacement& before, std::string text)
{
    const ObjectPlacement after = ObjectPlacement::Of(object);
    if (after == before)
        return;
    Record(std::make_unique<PlaceObjectCommand>(std::move(text), object, before, after), kSceneChanged);
}

void COGLDoc::CancelPlacement(COGLObject& object, const ObjectPlacement& before)
{
    if (ObjectPlacement::Of(object) == before)
        return;
    before.ApplyTo(object);
    Announce(kSceneChanged);
}

// --- Selection ----------------------------------------------------------------------

void COGLDoc::Select(const SelectedItem& item)
{
    SelectedItem checked = item;
    if (!scene_ || (checked.object && !scene_->Contains(checked.object)))
        checked = {};
    if (checked.light) {
        const auto& lights = scene_->Lights();
        if (std::none_of(lights.begin(), lights.end(), [&](const auto& l) { return l.get() == checked.light; }))
            checked = {};
    }
    selection_ = checked;
    if (scene_)
        scene_->SetSelectedObject(SelectionTarget());
    Announce(kSelectionChanged);
}

COGLObject* COGLDoc::SelectionTarget() const
{
    if (selection_.object)
        return selection_.object;
    return selection_.light ? selection_.light->Marker() : nullptr;
}

DocumentChanges COGLDoc::ValidateSelection()
{
    if (!scene_ || !selection_.object || scene_->Contains(selection_.object))
        return 0;
    selection_ = {};
    scene_->SetSelectedObject(nullptr);
    return kSelectionChanged;
}

// --- Undo ------------------------------------------------------------------------------

void COGLDoc::Undo()
{
    if (!history_.CanUndo())
        return;
    {
        GLScope gl;
        history_.Undo();
    }
    Announce(kSceneChanged | kHistoryChanged | kViewOptionsChanged | ValidateSelection());
}

void COGLDoc::Redo()
{
    if (!history_.CanRedo())
        return;
    {
        GLScope gl;
        history_.Redo();
    }
    Announce(kSceneChanged | kHistoryChanged | kViewOptionsChanged | ValidateSelection());
}

// --- What the view shows of the object -------------------------------------------------

void COGLDoc::SetCage(const CageSize& size)
{
    const CageSize before = cage_;
    if (size.width == before.width && size.height == before.height && size.depth == before.depth)
        return;
    // Only a scene whose file keeps its cage saves it.
    const SavedWithScene saved = scene_ && scene_->SavedCage() ? SavedWithScene::Yes : SavedWithScene::No;
    Do(std::make_unique<FunctionCommand>(
           "Cage Size", [this, size] { cage_ = size; }, [this, before] { cage_ = before; }, saved),
       kViewOptionsChanged);
}

void COGLDoc::SetZoom(ZoomPreset preset)
{
    const ZoomPreset before = zoom_;
    if (preset == before)
        return;
    Do(std::make_unique<FunctionCommand>(
           "Zoom Preset", [this, preset] { zoom_ = preset; }, [this, before] { zoom_ = before; }, SavedWithScene::No),
       kViewOptionsChanged);
}

void COGLDoc::ReleaseZoomPreset()
{
    if (zoom_ == ZoomPreset::Free)
        return;
    zoom_ = ZoomPreset::Free;
    Announce(kViewOptionsChanged);
}

} // namespace zelvane
