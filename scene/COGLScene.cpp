#include "scene/COGLScene.h"

#include "report/ProgramFolders.h"
#include "report/ProgressDisplay.h"
#include "scene/ActiveGLContext.h"
#include "scene/BackToFront.h"
#include "scene/CFileLocator.h"
#include "scene/COGLMesh.h"
#include "scene/COGLPointLight.h"
#include "scene/GLBracket.h"
#include "scene/ObjectFactory.h"
#include "scene/SceneFileLayout.h"
#include "scene/SceneFileReader.h"
#include "scene/SceneFileWriter.h"
#include "scene/TextureParameters.h"

#include <algorithm>
#include <limits>

namespace zelvane {

namespace {

constexpr float kDefaultTextureScale = 3.0f;
constexpr Vector3 kDefaultLightPositions[] = {{-6.0f, 8.0f, 6.0f}, {6.0f, 8.0f, -6.0f}, {9.0f, 3.0f, 0.0f}};

// The progress bar of a load: a fixed range, stepped twice for the counts,
// once per texture and object and once at the end.
constexpr int kLoadingRange = 50;
constexpr const char* kLoadingText = "Loading...";

// "object 3 of 7 (Box)", for errors.
std::string ObjectLabel(std::size_t number, std::uint32_t count, std::optional<ObjectKind> kind)
{
    std::string label = "object " + std::to_string(number) + " of " + std::to_string(count);
    if (kind)
        label += " (" + std::string(DefaultNameOf(*kind)) + ")";
    return label;
}

// A section after the objects: its tag, its length, the bytes `section` holds.
void WriteSection(SceneFileWriter& file, const std::array<std::uint8_t, 4>& tag, SceneFileWriter& section,
                  std::string_view what)
{
    if (!section.Finish()) {
        file.Fail(section.Error());
        return;
    }
    const std::vector<std::uint8_t>& bytes = section.Bytes();
    if (bytes.size() > std::numeric_limits<std::uint32_t>::max()) {
        file.Fail(std::string(what) + " take more than 4 GiB");
        return;
    }
    file.Raw(tag);
    file.U32(static_cast<std::uint32_t>(bytes.size()));
    file.Raw(bytes);
}


// The meshes among `objects` that `keep` chooses, each with its position
// there (how the optional sections name them).
template <typename Keep>
std::vector<std::pair<std::uint32_t, const COGLMesh*>> NumberedMeshes(
    const std::vector<std::unique_ptr<COGLObject>>& objects, Keep keep)
{
    std::vector<std::pair<std::uint32_t, const COGLMesh*>> meshes;
    for (std::size_t o = 0; o < objects.size(); ++o)
        if (const auto* mesh = dynamic_cast<const COGLMesh*>(objects[o].get()); mesh && keep(*mesh))
            meshes.emplace_back(static_cast<std::uint32_t>(o), mesh);
    return meshes;
}

// An optional section's length, checked against what the file holds: where
// its entries start, or none with `result.error` saying what is wrong.
struct SectionSpan {
    std::uint32_t length = 0;
    std::uint64_t start = 0;
};

std::optional<SectionSpan> BeginSection(SceneFileReader& file, const char* name, SceneLoadResult& result)
{
    const std::uint32_t length = file.U32();
    if (!file.ok() || length > file.Remaining() || length < 4) {
        result.error = std::string("the ") + name + " section is said to be " + std::to_string(length) +
                       " bytes long, but the file holds " + std::to_string(file.Remaining()) + " more";
        return std::nullopt;
    }
    return SectionSpan{length, file.Position()};
}

// Fails `file` unless the entries read fill the section exactly.
void EndSection(SceneFileReader& file, const char* name, const SectionSpan& span)
{
    if (file.ok() && file.Position() - span.start != span.length)
        file.Fail(std::string("the ") + name + " section is " + std::to_string(span.length) +
                  " bytes long, its entries " + std::to_string(file.Position() - span.start));
}

// The mesh an entry names by its position among the file's objects; none,
// with `file` failed, when that is no mesh. `entry` says whose, for the message.
COGLMesh* MeshOfEntry(SceneFileReader& file, const std::vector<COGLObject*>& loaded, const std::string& entry)
{
    const std::uint32_t position = file.U32();
    auto* mesh = position < loaded.size() ? dynamic_cast<COGLMesh*>(loaded[position]) : nullptr;
    if (!mesh && file.ok())
        file.Fail(entry + " to object " + std::to_string(position + 1) + ", which is no mesh of the file");
    return mesh;
}

} // namespace

// --- Construction and defaults ----------------------------------------------

COGLScene::COGLScene() : textureFilter_(kDefaultTextureFilter) {}

COGLScene::~COGLScene()
{
    selectedObject_ = nullptr;
    objects_.clear();
    textures_.clear();
    lights_.clear();
    floorPlane_.reset();
    rightWallPlane_.reset();
    leftWallPlane_.reset();
    defaultTextures_.clear();
    loadLocator_.reset();
}

std::string COGLScene::DefaultMapsFolder()
{
    if (const std::optional<std::string> maps = FindProgramFolder("Maps"))
        return *maps;
    return StartFolder() + "Maps/";
}

void COGLScene::CreateDefaults()
{
    CreateDefaults(DefaultMapsFolder());
}

COGLTexture2D* COGLScene::LoadDefaultTexture(const std::string& path)
{
    auto texture = std::make_unique<COGLTexture2D>();
    texture->SetScene(this);
    texture->SetSource(path, 0);
    if (!texture->IsLoaded())
        return nullptr;
    defaultTextures_.push_back(std::move(texture));
    return defaultTextures_.back().get();
}

void COGLScene::CreateDefaults(const std::string& mapsFolder)
{
    std::string folder = mapsFolder;
    if (!folder.empty() && folder.back() != '/')
        folder += '/';

    floorPlane_ = std::make_unique<COGLFloor>();
    floorPlane_->SetPickable(false);
    if (COGLTexture2D* floor = LoadDefaultTexture(folder + "Default Floor.bmp")) {
        floorPlane_->SetTextureEnvMode(GL_MODULATE);
        floorPlane_->SetTextureScale({kDefaultTextureScale, kDefaultTextureScale, 1.0f});
        floorPlane_->SetTexture(floor);
    }

    rightWallPlane_ = std::make_unique<COGLRightWall>();
    rightWallPlane_->SetPickable(false);
    leftWallPlane_ = std::make_unique<COGLLeftWall>();
    leftWallPlane_->SetPickable(false);
    // Each wall asks for its texture, as each has its own.
    for (COGLPlane* wall : std::initializer_list<COGLPlane*>{rightWallPlane_.get(), leftWallPlane_.get()})
        if (COGLTexture2D* paper = LoadDefaultTexture(folder + "Default Wall.bmp")) {
            wall->SetTextureScale({kDefaultTextureScale, 1.0f, 1.0f});
            wall->SetTexture(paper);
        }

    for (const Vector3& at : kDefaultLightPositions)
        AddLight(std::make_unique<COGLPointLight>(at.x, at.y, at.z));
}

// --- Contents ----------------------------------------------------------------

COGLObject& COGLScene::AddObject(std::unique_ptr<COGLObject> object)
{
    objects_.push_back(std::move(object));
    return *objects_.back();
}

COGLLight& COGLScene::AddLight(std::unique_ptr<COGLLight> light)
{
    lights_.push_back(std::move(light));
    return *lights_.back();
}

COGLTexture2D& COGLScene::AddTexture(std::unique_ptr<COGLTexture2D> texture)
{
    texture->SetScene(this);
    textures_.push_back(std::move(texture));
    return *textures_.back();
}

bool COGLScene::RemoveObject(const COGLObject* object)
{
    return TakeObject(object) != nullptr;
}

void COGLScene::ClearScene()
{
    DeleteAllObjects();
    DeleteAllTextures();
    selectedObject_ = nullptr;
    savedCage_.reset();
}

void COGLScene::DeleteAllObjects()
{
    selectedObject_ = nullptr;
    objects_.clear();
}

std::array<COGLObject*, 3> COGLScene::FixedPlanes() const
{
    return {floorPlane_.get(), leftWallPlane_.get(), rightWallPlane_.get()};
}

void COGLScene::DeleteAllTextures()
{
    for (const auto& texture : textures_) {
        for (COGLObject* plane : FixedPlanes())
            if (plane && plane->Texture() == texture.get())
                plane->SetTexture(nullptr);
        for (const auto& object : objects_)
            if (object->Texture() == texture.get())
                object->SetTexture(nullptr);
        texture->SetUseCount(0);
    }
    textures_.clear();
}

COGLScene::Contents COGLScene::TakeContents()
{
    Contents taken;
    for (auto& texture : textures_)
        for (COGLObject* plane : FixedPlanes())
            if (plane && plane->Texture() == texture.get()) {
                taken.planeTextures.emplace_back(plane, texture.get());
                plane->SetTexture(nullptr);
            }
    taken.objects = std::move(objects_);
    taken.textures = std::move(textures_);
    objects_.clear();
    textures_.clear();
    selectedObject_ = nullptr;
    return taken;
}

void COGLScene::RestoreContents(Contents contents)
{
    for (auto& texture : contents.textures)
        AddTexture(std::move(texture));
    for (auto& object : contents.objects)
        objects_.push_back(std::move(object));
    for (const auto& [plane, texture] : contents.planeTextures)
        plane->SetTexture(texture);
}

std::unique_ptr<COGLTexture2D> COGLScene::TakeTexture(const COGLTexture2D* texture)
{
    const auto it = std::find_if(textures_.begin(), textures_.end(), [&](const auto& t) { return t.get() == texture; });
    if (it == textures_.end())
        return nullptr;
    for (COGLObject* plane : FixedPlanes())
        if (plane && plane->Texture() == texture)
            plane->SetTexture(nullptr);
    for (const auto& object : objects_)
        if (object->Texture() == texture)
            object->SetTexture(nullptr);
    std::unique_ptr<COGLTexture2D> taken = std::move(*it);
    textures_.erase(it);
    return taken;
}

std::unique_ptr<COGLObject> COGLScene::TakeObject(const COGLObject* object, std::size_t* index)
{
    const auto it = std::find_if(objects_.begin(), objects_.end(), [&](const auto& o) { return o.get() == object; });
    if (it == objects_.end())
        return nullptr;
    if (selectedObject_ == object)
        selectedObject_ = nullptr;
    if (index)
        *index = static_cast<std::size_t>(it - objects_.begin());
    std::unique_ptr<COGLObject> taken = std::move(*it);
    objects_.erase(it);
    return taken;
}

COGLObject& COGLScene::InsertObject(std::size_t index, std::unique_ptr<COGLObject> object)
{
    const auto at = objects_.begin() + static_cast<std::ptrdiff_t>(std::min(index, objects_.size()));
    return **objects_.insert(at, std::move(object));
}

bool COGLScene::Contains(const COGLObject* object) const
{
    return std::any_of(objects_.begin(), objects_.end(), [&](const auto& o) { return o.get() == object; });
}

// --- Selection ---------------------------------------------------------------

COGLObject* COGLScene::SelectObjectById(std::uint32_t id)
{
    selectedObject_ = FindPickable(id);
    return selectedObject_;
}

COGLObject* COGLScene::FindPickable(std::uint32_t id) const
{
    for (const auto& object : objects_)
        if (object->Id() == id && object->IsPickable())
            return object.get();
    return nullptr;
}

// --- Drawing and picking -----------------------------------------------------

void COGLScene::Draw(DrawFlags flags, const COGLCamera& camera)
{
    glColor3fv(lightMarkerColor_.data());
    for (const auto& light : lights_) {
        light->Apply();
        light->DrawMarker();
    }

    glColor3fv(objectColor_.data());
    for (COGLObject* plane : FixedPlanes())
        if (plane)
            plane->Draw(flags);

    std::vector<float> distances;
    distances.reserve(objects_.size());
    for (const auto& object : objects_)
        distances.push_back(object->Position().DistanceTo(camera.Eye()));
    for (const std::size_t index : BackToFrontOrder(distances)) {
        COGLObject& object = *objects_[index];
        glColor3fv(&object == selectedObject_ ? selectedColor_.data() : objectColor_.data());
        object.Draw(flags);
    }
    glFlush();
}

void COGLScene::DrawForPicking()
{
    for (const auto& light : lights_)
        light->DrawMarkerForPicking();
    for (const auto& object : objects_)
        object->DrawForPicking();
    glFlush();
}

void COGLScene::ApplyAmbient() const
{
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient_.data());
}

// --- Textures ----------------------------------------------------------------

void COGLScene::SetObjectTextureByIndex(COGLObject& object, std::int32_t index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= textures_.size())
        return;
    object.SetTexture(textures_[static_cast<std::size_t>(index)].get());
}

void COGLScene::ApplyTextureParameters(const COGLTexture2D& texture) const
{
    IGLContext& context = ActiveGLContext();
    context.BeginGL();
    ApplyTextureFilter(texture.GlName(), textureFilter_);
    context.EndGL();
}

// --- Scene file ------------------------------------------------------------------

void COGLScene::SaveScene(SceneFileWriter& file) const
{
    using namespace scene_file;
    for (std::size_t t = 0; t < textures_.size(); ++t)
        if (textures_[t]->Path().size() >= kTexturePathField) {
            file.Fail("the path of texture " + std::to_string(t + 1) + " (\"" + textures_[t]->Path() + "\") is " +
                      std::to_string(textures_[t]->Path().size()) + " characters long; a scene file holds at most " +
                      std::to_string(kTexturePathField - 1));
            return;
        }

    file.U32(static_cast<std::uint32_t>(objects_.size()));
    file.U32(static_cast<std::uint32_t>(textures_.size()));
    for (const auto& texture : textures_) {
        file.U8(texture->TextureFlag());
        file.FixedText(texture->Path(), kTexturePathField);
    }
    for (const auto& object : objects_) {
        file.I32(static_cast<std::int32_t>(object->Kind()));
        const auto it = std::find_if(textures_.begin(), textures_.end(),
                                     [&](const auto& texture) { return texture.get() == object->Texture(); });
        const std::int32_t index = object->Texture() && it != textures_.end()
                                       ? static_cast<std::int32_t>(it - textures_.begin())
                                       : kNoTexture;
        object->SaveObject(file, index);
    }
    SaveMaterialsSection(file);
    SaveSourcesSection(file);
    SaveCageSection(file);
}

void COGLScene::SaveMaterialsSection(SceneFileWriter& file) const
{
    using namespace scene_file;
    const auto meshes = NumberedMeshes(objects_, [](const COGLMesh& mesh) { return mesh.HasMaterials(); });
    // Scenes without materials keep the file they always had.
    if (meshes.empty())
        return;
    SceneFileWriter section;
    section.U32(static_cast<std::uint32_t>(meshes.size()));
    for (const auto& [position, mesh] : meshes) {
        section.U32(position);
        mesh->SaveMaterials(section);
    }
    WriteSection(file, kMaterialsTag, section, "the materials of the scene's meshes");
}

void COGLScene::SaveSourcesSection(SceneFileWriter& file) const
{
    using namespace scene_file;
    const auto meshes =
        NumberedMeshes(objects_, [](const COGLMesh& mesh) { return !mesh.Source().modelPath.empty(); });
    // Scenes of meshes from nowhere known keep the file they always had.
    if (meshes.empty())
        return;
    SceneFileWriter section;
    section.U32(static_cast<std::uint32_t>(meshes.size()));
    for (const auto& [position, mesh] : meshes) {
        section.U32(position);
        section.CountedText(mesh->Source().modelPath);
        section.U32(static_cast<std::uint32_t>(mesh->Source().shapeMoves.size()));
        for (const Vector3& move : mesh->Source().shapeMoves)
            section.Vec3(move);
    }
    WriteSection(file, kSourcesTag, section, "the model paths of the scene's meshes");
}

void COGLScene::SaveCageSection(SceneFileWriter& file) const
{
    using namespace scene_file;
    if (!savedCage_)
        return;
    file.Raw(kCageTag);
    file.U32(static_cast<std::uint32_t>(kCageSectionLength));
    file.I32(savedCage_->width);
    file.I32(savedCage_->height);
    file.I32(savedCage_->depth);
}

SceneLoadResult COGLScene::LoadScene(SceneFileReader& file, const std::string& sceneFilePath)
{
    SceneLoadResult result;
    ProgressScope progress(kLoadingRange, kLoadingText);
    loadLocator_ = std::make_unique<CFileLocator>();
    loadLocator_->SetFolder(sceneFilePath);

    const std::uint32_t objectCount = file.U32();
    const std::uint32_t textureCount = file.U32();
    progress.Step();
    progress.Step();

    // Texture records in file order; objects name them by that position.
    std::vector<COGLTexture2D*> byPosition;
    for (std::uint32_t t = 0; t < textureCount && file.ok(); ++t) {
        StoredTexture stored;
        stored.flag = file.U8();
        stored.storedPath = file.FixedText(scene_file::kTexturePathField);
        if (!file.ok()) {
            result.error = "texture " + std::to_string(t + 1) + " of " + std::to_string(textureCount) + ": " +
                           file.Error();
            break;
        }
        std::string path = stored.storedPath;
        COGLTexture2D* texture = nullptr;
        if (loadLocator_->Locate(path)) {
            auto made = std::make_unique<COGLTexture2D>();
            made->SetSource(path, stored.flag);
            texture = &AddTexture(std::move(made));
            stored.foundPath = path;
        }
        byPosition.push_back(texture);
        result.textures.push_back(std::move(stored));
        progress.Step();
    }
    if (!file.ok() && result.error.empty())
        result.error = "the object and texture counts: " + file.Error();

    std::vector<COGLObject*> loaded;
    {
        GLBracket context;
        for (std::uint32_t o = 0; o < objectCount && result.error.empty(); ++o) {
            const std::int32_t code = file.I32();
            if (!file.ok()) {
                result.error = ObjectLabel(o + 1, objectCount, std::nullopt) + ": " + file.Error();
                break;
            }
            const std::optional<ObjectKind> kind = KindFromCode(code);
            std::unique_ptr<COGLObject> object = kind ? CreateObjectToLoad(*kind) : nullptr;
            if (!object) {
                result.error = ObjectLabel(o + 1, objectCount, kind) + " is of kind " + std::to_string(code) + ", which " +
                               (kind ? "this version of zelvane cannot read" : "no object has") +
                               "; the objects after it cannot be read either";
                break;
            }
            const std::int32_t index = object->LoadObject(file);
            if (!file.ok()) {
                result.error = ObjectLabel(o + 1, objectCount, kind) + ": " + file.Error();
                break;
            }
            if (index >= 0 && static_cast<std::size_t>(index) < byPosition.size() && byPosition[static_cast<std::size_t>(index)])
                object->SetTexture(byPosition[static_cast<std::size_t>(index)]);
            loaded.push_back(&AddObject(std::move(object)));
            result.objectTextures.push_back(index);
            ++result.objectsRead;
            progress.Step();
        }
    }
    if (result.error.empty())
        LoadSections(file, loaded, result);
    progress.Step();
    result.searchCancelled = !loadLocator_->NotFound().empty();

    loadLocator_.reset();
    return result;
}

void COGLScene::LoadSections(SceneFileReader& file, const std::vector<COGLObject*>& loaded, SceneLoadResult& result)
{
    using namespace scene_file;
    bool materials = false, sources = false, cage = false;
    auto is = [](std::span<const std::uint8_t> tag, const std::array<std::uint8_t, 4>& known) {
        return std::equal(tag.begin(), tag.end(), known.begin(), known.end());
    };
    // Whatever else follows (nothing, or bytes of no section known here) is
    // left alone, as readers always have. Materials come first, so readers
    // that know only them still find them.
    while (result.error.empty() && file.Remaining() >= kSectionHeaderSize) {
        const std::span<const std::uint8_t> tag = file.Raw(kMaterialsTag.size());
        if (!file.ok())
            return;
        if (!materials && !sources && !cage && is(tag, kMaterialsTag)) {
            materials = true;
            LoadMaterialsSection(file, loaded, result);
        } else if (!sources && !cage && is(tag, kSourcesTag)) {
            sources = true;
            LoadSourcesSection(file, loaded, result);
        } else if (!cage && is(tag, kCageTag)) {
            cage = true;
            LoadCageSection(file, result);
        } else {
            return;
        }
    }
}

void COGLScene::LoadSourcesSection(SceneFileReader& file, const std::vector<COGLObject*>& loaded,
                                   SceneLoadResult& result)
{
    using namespace scene_file;
    const std::optional<SectionSpan> span = BeginSection(file, "sources", result);
    if (!span)
        return;
    std::vector<std::pair<COGLMesh*, MeshSource>> entries;
    if (const std::optional<std::int32_t> count = file.Count(kSmallestSource, "mesh sources")) {
        for (std::int32_t m = 0; m < *count && file.ok(); ++m) {
            COGLMesh* mesh = MeshOfEntry(file, loaded, "the source of entry " + std::to_string(m + 1) + " belongs");
            if (!mesh)
                break;
            MeshSource source;
            source.modelPath = file.CountedText("the model path of entry " + std::to_string(m + 1));
            if (const std::optional<std::int32_t> moves =
                    file.Count(kShapeMoveSize, "shape moves of entry " + std::to_string(m + 1)))
                for (std::int32_t k = 0; k < *moves; ++k)
                    source.shapeMoves.push_back(file.Vec3());
            entries.emplace_back(mesh, std::move(source));
        }
    }
    EndSection(file, "sources", *span);
    if (!file.ok()) {
        result.error = "the sources of the meshes: " + file.Error();
        return;
    }
    for (auto& [mesh, source] : entries)
        mesh->SetSource(std::move(source));
}

void COGLScene::LoadCageSection(SceneFileReader& file, SceneLoadResult& result)
{
    using namespace scene_file;
    const std::uint32_t length = file.U32();
    if (!file.ok() || length != kCageSectionLength || file.Remaining() < length) {
        result.error = "the cage section is said to be " + std::to_string(length) + " bytes long; it is " +
                       std::to_string(kCageSectionLength) + " (the file holds " + std::to_string(file.Remaining()) +
                       " more)";
        return;
    }
    const CageSize cage{file.I32(), file.I32(), file.I32()};
    for (const int side : {cage.width, cage.height, cage.depth})
        if (side < 1 || side > kLargestCageSide) {
            result.error = "the cage is " + std::to_string(cage.width) + " x " + std::to_string(cage.height) + " x " +
                           std::to_string(cage.depth) + "; each side is 1 to " + std::to_string(kLargestCageSide);
            return;
        }
    savedCage_ = cage;
}

void COGLScene::LoadMaterialsSection(SceneFileReader& file, const std::vector<COGLObject*>& loaded,
                                     SceneLoadResult& result)
{
    const std::optional<SectionSpan> span = BeginSection(file, "materials", result);
    if (!span)
        return;
    const std::string folder = loadLocator_ ? loadLocator_->Folder() : std::string();
    // Everything is read and checked before any mesh takes its materials.
    const std::uint32_t count = file.U32();
    std::vector<std::pair<COGLMesh*, COGLMesh::StoredMaterials>> entries;
    for (std::uint32_t m = 0; m < count && file.ok(); ++m) {
        COGLMesh* mesh = MeshOfEntry(file, loaded, "the materials of entry " + std::to_string(m + 1) + " belong");
        if (!mesh)
            break;
        entries.emplace_back(mesh, mesh->ReadMaterials(file));
    }
    EndSection(file, "materials", *span);
    if (!file.ok()) {
        result.error = "the materials of the meshes: " + file.Error();
        return;
    }
    GLBracket context;
    for (auto& [mesh, stored] : entries) {
        mesh->SetMaterials(std::move(stored.materials), std::move(stored.groupTextures), folder);
        for (const MissingTexture& missing : mesh->MissingTextures())
            result.missingModelTextures.push_back(missing.path);
    }
}

} // namespace zelvane
