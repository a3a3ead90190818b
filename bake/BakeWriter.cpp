#include "bake/BakeWriter.h"

#include "objects/ResourceCopy.h"
#include "objects/SpriteEncoder.h"
#include "resfile/CTGDrawGroup.h"
#include "resfile/CTGIffFile.h"
#include "resfile/FileReplacement.h"

#include <map>
#include <set>

namespace zelvane {

namespace {

// Draw groups are written in the layout real files use.
constexpr uint16_t kDrawGroupVersion = 20004;

struct NewResource {
    ResType type;
    int16_t id;
    std::string name;
    bool converted; // real files store sprites and palettes unconverted
    std::vector<uint8_t> bytes;
    bool written = false;
};

std::string Where(ResType type, int16_t id)
{
    return ResTypeName(type) + " " + std::to_string(id);
}

} // namespace

BakeWriteResult WriteBake(CTGResFile& source, const std::string& targetPath, const BakePlan& plan,
                          const ObjectSprites& sprites)
{
    BakeWriteResult result;
    // Everything new, encoded before the file is touched.
    std::vector<NewResource> fresh;
    fresh.push_back({kTypePALT, plan.paletteId, plan.paletteName, false, sprites.palette.Encode()});
    for (size_t t = 0; t < plan.tiles.size(); ++t) {
        const PlannedTile& tile = plan.tiles[t];
        const EncodedSprite sprite = EncodeSpr2(sprites.tiles.at(t).frames, plan.paletteId);
        if (!sprite.ok()) {
            result.message = "sprite " + std::to_string(tile.spriteId) + ": " + sprite.error;
            return result;
        }
        fresh.push_back({kTypeSPR2, tile.spriteId, tile.spriteName, false, sprite.bytes});
        for (const int16_t id : tile.drawGroups) {
            const auto name = tile.drawGroupNames.find(id);
            CTGDrawGroup group;
            group.Set(name != tile.drawGroupNames.end() ? name->second : tile.spriteName, kDrawGroupVersion,
                      sprites.tiles.at(t).images);
            fresh.push_back({kTypeDGRP, id, group.Name(), true, group.Encode()});
        }
    }
    auto findFresh = [&](ResType type, int16_t id) -> NewResource* {
        // A replaced 'SPR#' gives way to the new 'SPR2' of its id.
        const ResType wanted = type == kTypeSPR ? kTypeSPR2 : type;
        for (NewResource& r : fresh)
            if (r.type == wanted && r.id == id)
                return &r;
        return nullptr;
    };

    FileReplacement replacement(targetPath);
    auto target = MakeWorkingFileTarget();
    auto fail = [&](int32_t error, std::string message) {
        static_cast<void>(target->CloseContainer()); // the staging file is thrown away
        replacement.Abandon();
        result.error = error;
        result.message = std::move(message);
        return result;
    };
    if (const int32_t error = target->CreateContainer(replacement.StagingPath()); error != kResOk) {
        replacement.Abandon();
        result.error = error;
        result.message = "cannot create " + replacement.StagingPath();
        return result;
    }
    if (const int32_t error = target->OpenContainer(replacement.StagingPath()); error != kResOk)
        return fail(error, "cannot open " + replacement.StagingPath());
    if (auto* iff = dynamic_cast<CTGIffFile*>(target->Member(0)))
        static_cast<void>(iff->SyncOnlyAtClose()); // cannot fail on the member just opened

    std::string failedAt;
    const int32_t copied = WalkResources(source, [&](ResType type, int16_t id, const std::string& name,
                                                     bool converted, ResHandle* data) -> int32_t {
        failedAt = Where(type, id);
        const bool replaced = (type == kTypeSPR || type == kTypeSPR2) ? plan.replacedSprites.count(id) > 0
                              : type == kTypePALT                     ? id == plan.paletteId
                              : type == kTypeDGRP                     ? findFresh(type, id) != nullptr
                                                                      : false;
        if (type == kTypeOBJD)
            if (const auto changed = plan.changedDefinitions.find(id); changed != plan.changedDefinitions.end())
                return AddAndWrite(*target, changed->second.StoredBytes(), type, id, name, converted);
        if (!replaced)
            return AddAndWrite(*target, data->Bytes(), type, id, name, converted);
        // The new resource takes the old one's place (once: a 'SPR#' and a
        // 'SPR2' may share the id).
        NewResource* r = findFresh(type, id);
        if (!r || r->written)
            return kResOk;
        r->written = true;
        return AddAndWrite(*target, r->bytes, r->type, r->id, r->name, r->converted);
    });
    if (copied != kResOk)
        return fail(copied, "cannot copy " + failedAt + " into the new file");
    for (NewResource& r : fresh)
        if (!r.written) {
            if (const int32_t error = AddAndWrite(*target, r.bytes, r.type, r.id, r.name, r.converted); error != kResOk)
                return fail(error, "cannot write " + Where(r.type, r.id));
            r.written = true;
        }
    if (const int32_t error = target->UpdateContainer(); error != kResOk)
        return fail(error, "cannot finish " + replacement.StagingPath());
    if (const int32_t error = target->CloseContainer(); error != kResOk) {
        replacement.Abandon();
        result.error = error;
        result.message = "cannot close " + replacement.StagingPath();
        return result;
    }
    if (const int32_t error = replacement.Commit(); error != kResOk) {
        result.error = error;
        result.message = "cannot put the new file in place of " + targetPath;
        return result;
    }
    return result;
}

} // namespace zelvane
