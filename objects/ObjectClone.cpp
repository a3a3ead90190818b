// The clone of a base object into the working object file.
//
//   1. Messages and small helpers
//   2. Gathering what belongs to the object
//   3. Checking and copying the source's resources
//   4. Repairing behaviour code
//   5. The clone, start to end, and opening the working file

#include "objects/ObjectClone.h"

#include "objects/CObjectFile.h"
#include "objects/GuidSource.h"
#include "objects/ObjectFileOpener.h"
#include "objects/ResourceCopy.h"
#include "report/Reporter.h"
#include "report/UserFolders.h"
#include "resfile/CTGDrawGroup.h"
#include "resfile/CTGFileSystem.h"
#include "resfile/CTGIffFile.h"
#include "resfile/CTGObjResFileSet.h"
#include "resfile/CTGStringList.h"
#include "resfile/FileReplacement.h"

#include <cstdio>
#include <filesystem>
#include <map>
#include <set>

namespace zelvane {

namespace {

// ---------------------------------------------------------------------------
// 1. Messages and helpers

// A resource type the clone rebuilds as a string list instead of copying it.
constexpr ResType kTypeRebuiltStrings = 0x63737400;

std::string Format(const char* pattern, const std::string& path, int32_t code)
{
    char text[1024];
    std::snprintf(text, sizeof text, pattern, path.c_str(), code);
    return text;
}

void ShowError(const std::string& text)
{
    CurrentReporter().ShowMessage(text, MessageIcon::Error, MessageButtons::Ok);
}

struct Gathered {
    std::set<int16_t> definitions;
    std::set<int16_t> strings;
    std::set<int16_t> drawGroups;
    std::set<int32_t> sprites;
};

// ---------------------------------------------------------------------------
// 2. Gathering

int32_t Gather(const CObjectEntry& object, CTGResFile& source, Gathered& what)
{
    std::vector<const CObjectEntry*> objects = {&object};
    objects.insert(objects.end(), object.Members().begin(), object.Members().end());
    for (size_t k = 0; k < objects.size(); ++k) {
        what.definitions.insert(objects[k]->DefinitionId());
        ResHandle* data = source.GetResource(kTypeOBJD, objects[k]->DefinitionId(), nullptr);
        if (!data)
            return source.GetLastError();
        const ObjectDefinition definition = ObjectDefinition::FromBytes(data->Bytes());
        source.ReleaseResource(data);
        if (k == 0)
            what.strings.insert(definition.CatalogStringsId());
        const int16_t first = definition.Word(objd::kFirstDrawGroup / 2);
        const int16_t count = definition.Word(objd::kDrawGroupCount / 2);
        if (first <= 0 || count <= 0)
            continue;
        for (int32_t i = 0; i < count && first + i <= INT16_MAX; ++i) {
            const auto id = static_cast<int16_t>(first + i);
            if (!what.drawGroups.insert(id).second)
                continue;
            CTGDrawGroup group;
            // A draw group that cannot be read names no sprites; the copy pass still takes it if present.
            if (group.Load(source, id) != kResOk)
                continue;
            for (const DrawGroupImage& image : group.Images())
                for (const DrawGroupSprite& sprite : image.sprites)
                    what.sprites.insert(sprite.spriteId);
        }
    }
    return kResOk;
}

// ---------------------------------------------------------------------------
// 3. Checking and copying

bool Taken(ResType type, int16_t id, const Gathered& what)
{
    if (type == kTypeOBJD || type == MakeResType("OBJf"))
        return what.definitions.count(id) > 0;
    if (type == kTypeCTSS)
        return what.strings.count(id) > 0;
    if (type == kTypeDGRP)
        return what.drawGroups.count(id) > 0;
    if (type == kTypeSPR || type == kTypeSPR2)
        return what.sprites.count(id) > 0;
    return true;
}

int32_t RebuildStringList(CTGResFile& source, CTGResFile& target, int16_t id)
{
    CTGStringList from;
    const int32_t error = from.LoadWithFallback(&source, id, -1);
    if (error != kResOk)
        return error;
    CTGStringList to;
    to.Configure(&target, id, kTypeSTRList, CaretText::No, -1);
    to.SetName(from.Name());
    for (int32_t i = 1; i <= from.Count(); ++i) {
        to.SetString(i, from.GetString(i).value_or(""));
        if (const auto comment = from.GetComment(i))
            to.SetComment(i, *comment);
    }
    return to.Save();
}

// ---------------------------------------------------------------------------
// 4. Repairing behaviour code

int32_t RepairBehaviours(CTGResFile& target, const std::map<uint32_t, uint32_t>& guidMap,
                         std::vector<RepairedBehaviour>& repaired)
{
    std::vector<int16_t> ids;
    const int16_t count = target.CountResources(kTypeBHAV);
    for (int32_t i = 1; i <= count; ++i) {
        ResHandle* data = target.GetIndResource(kTypeBHAV, i, nullptr);
        if (!data)
            return target.GetLastError();
        int16_t id = 0;
        target.GetResId(data, id);
        ids.push_back(id);
        target.ReleaseResource(data);
    }
    for (int16_t id : ids) {
        ResHandle* data = target.GetResource(kTypeBHAV, id, nullptr);
        if (!data)
            return target.GetLastError();
        RepairedBehaviour behaviour;
        behaviour.id = id;
        target.GetResName(data, behaviour.name);
        const BehaviourRepairResult result = RepairBehaviourGuids(data->Bytes(), guidMap);
        behaviour.layout = result.layout;
        behaviour.patches = result.patches;
        if (!behaviour.patches.empty()) {
            if (target.AddResource(data, kTypeBHAV, id, behaviour.name, ResConverted::Yes) != kResOk)
                return target.GetLastError();
            repaired.push_back(std::move(behaviour));
        }
        if (target.ReleaseResource(data) != kResOk)
            return target.GetLastError();
    }
    return kResOk;
}

} // namespace

// ---------------------------------------------------------------------------
// 5. The clone

CloneResult CloneObject(const CObjectEntry& object, const CloneOptions& options)
{
    BusyScope busy;
    CloneResult result;
    CTGResFile& source = object.Owner().Container();
    const std::string& shownPath = options.targetPath;
    // Written beside the working file, which it replaces only once complete.
    FileReplacement replacement(options.targetPath);
    const std::string& staging = replacement.StagingPath();

    auto target = MakeWorkingFileTarget();
    if (const int32_t error = target->CreateContainer(staging); error != kResOk) {
        ShowError(Format("Could not create the new object object file named \"%s\", error #%d!", shownPath, error));
        result.error = error;
        return result;
    }
    if (const int32_t error = target->OpenContainer(staging); error != kResOk) {
        ShowError(Format("Could not clone the object file to \"%s\": error #%d!", shownPath, error));
        result.error = error;
        return result;
    }
    // The staging file only matters once complete: the replacement syncs it
    // once, so flushes on the way need not.
    if (auto* iff = dynamic_cast<CTGIffFile*>(target->Member(0)))
        static_cast<void>(iff->SyncOnlyAtClose()); // cannot fail on the member just opened

    auto fail = [&](int32_t error) {
        char text[256];
        std::snprintf(text, sizeof text, "Encountered an error reading from object file, error #%d!", error);
        ShowError(text);
        static_cast<void>(target->CloseContainer()); // the staging file is thrown away
        replacement.Abandon();
        ShowError(Format("Could not clone the object file to \"%s\": error #%d!", shownPath, error));
        result.error = error;
        result.guids.clear();
        result.behaviours.clear();
        return result;
    };

    Gathered what;
    if (const int32_t error = Gather(object, source, what); error != kResOk)
        return fail(error);
    // The check pass reads everything once before anything is written.
    if (const int32_t error = WalkResources(source, [](ResType, int16_t, const std::string&, bool, ResHandle*) {
            return kResOk;
        });
        error != kResOk)
        return fail(error);

    std::map<uint32_t, uint32_t> guidMap;
    std::set<uint32_t> cloneGuids; // old and new GUIDs of this clone
    for (int16_t id : what.definitions)
        if (CObjectEntry* entry = object.Owner().FindObject(id))
            cloneGuids.insert(static_cast<uint32_t>(entry->Definition().Guid()));
    auto taken = [&](uint32_t guid) {
        return cloneGuids.count(guid) > 0 || (options.guidInUse && options.guidInUse(guid));
    };

    const int32_t copied = WalkResources(source, [&](ResType type, int16_t id, const std::string& name,
                                                     bool converted, ResHandle* data) -> int32_t {
        if (type == kTypeRebuiltStrings)
            return RebuildStringList(source, *target, id);
        if (!Taken(type, id, what))
            return kResOk;
        result.copied.push_back(ResTypeName(type) + " #" + std::to_string(id));
        if (type != kTypeOBJD)
            return AddAndWrite(*target, data->Bytes(), type, id, name, converted);
        // Normalised first: a short record has no room for the GUID fields.
        ObjectDefinition definition = ObjectDefinition::FromBytes(data->Bytes());
        const auto oldGuid = static_cast<uint32_t>(definition.Guid());
        const uint32_t newGuid = GuidSource::NewUnusedGuid(taken);
        cloneGuids.insert(newGuid);
        guidMap.emplace(oldGuid, newGuid);
        definition.SetClonedFromGuid(static_cast<int32_t>(oldGuid));
        definition.SetGuid(static_cast<int32_t>(newGuid));
        result.guids.push_back({id, name, oldGuid, newGuid});
        return AddAndWrite(*target, definition.StoredBytes(), type, id, name, converted);
    });
    if (copied != kResOk)
        return fail(copied);

    if (const int32_t error = RepairBehaviours(*target, guidMap, result.behaviours); error != kResOk)
        return fail(error);
    if (const int32_t error = target->UpdateContainer(); error != kResOk)
        return fail(error);
    if (const int32_t error = target->CloseContainer(); error != kResOk)
        return fail(error);

    // Complete: now it may replace the previous working file (which, if
    // open, keeps reading its old contents until it is closed).
    if (replacement.Commit() != kResOk) {
        ShowError(Format("Could not clone the object file to \"%s\": error #%d!", shownPath, kErrCannotCreate));
        result.error = kErrCannotCreate;
        result.guids.clear();
        result.behaviours.clear();
        return result;
    }
    result.succeeded = true;
    return result;
}

std::unique_ptr<CObjectFile> OpenWorkingObjectFile(const std::string& path)
{
    int32_t code = kResOk;
    std::unique_ptr<CTGObjResFileSet> container = ObjectFileOpener::OpenSet(path, OpenPurpose::Change, code);
    if (!container) {
        ShowError("Could NOT open new object file!");
        return nullptr;
    }
    auto file = std::make_unique<CObjectFile>(path, std::move(container));
    // A record that cannot be read ends the list; the objects before it can still be edited.
    static_cast<void>(file->BuildLists());
    if (!file->ListedObjects().empty())
        file->ListedObjects().front()->ReadCatalogStrings();
    return file;
}

std::string DefaultWorkingObjectFilePath()
{
    // Without a home, a folder of its own in the temporary folder.
    const std::optional<std::string> data = UserFolderPath(UserFolder::Data);
    const std::filesystem::path folder = data ? std::filesystem::path(*data)
                                              : std::filesystem::temp_directory_path() / "zelvane";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return (folder / "zeltemp.iff").string();
}

} // namespace zelvane
