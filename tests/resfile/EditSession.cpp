#include "tests/resfile/EditSession.h"

#include "bytes/ByteReader.h"
#include "tests/testkit/TestFiles.h"

#include <algorithm>
#include <set>
#include <sstream>

namespace zelvane::test {

namespace {

const ResType kTypes[] = {kTypeOBJD, kTypeSPR2, kTypeSTRList};

std::string Describe(const ResKey& key)
{
    return ResTypeName(key.first) + " #" + std::to_string(key.second);
}

// The chunk chain of the file: offsets of live chunks, or an error.
std::string CheckChain(const std::string& path, std::set<uint32_t>& live)
{
    const std::vector<uint8_t> bytes = ReadBytes(path);
    ByteReader r(bytes);
    size_t offset = 64;
    while (offset < bytes.size()) {
        ByteReader h = r.sub(offset, 76);
        if (!h.ok())
            return "chunk chain ends inside a header at " + std::to_string(offset);
        h.skip(4);
        const uint32_t size = h.u32be();
        h.skip(2);
        const uint16_t flags = h.u16be();
        if (size < 76 || size > bytes.size() - offset)
            return "chunk at " + std::to_string(offset) + " has size " + std::to_string(size);
        if (!(flags & 0x0004))
            live.insert(static_cast<uint32_t>(offset));
        offset += size;
    }
    return {};
}

std::string CompareOpened(const std::string& path, IndexMode mode, const Model& model)
{
    const char* how = mode == IndexMode::ForceScan ? "scan" : "map";
    CTGIffFile file;
    if (file.OpenContainer(path, mode) != kResOk)
        return std::string("cannot open by ") + how;
    std::set<uint32_t> live;
    if (std::string chain = CheckChain(path, live); !chain.empty())
        return chain;
    if (file.Index().EntryCount() != model.size())
        return std::string(how) + " lists " + std::to_string(file.Index().EntryCount()) + " resources, model has " +
               std::to_string(model.size());
    std::set<uint32_t> used;
    for (const IffTypeGroup& group : file.Index().groups)
        for (const IffEntry& entry : group.entries) {
            if (!live.count(entry.offset))
                return std::string(how) + ": resource at " + std::to_string(entry.offset) + " is not on a live chunk";
            if (!used.insert(entry.offset).second)
                return std::string(how) + ": two resources share the chunk at " + std::to_string(entry.offset);
        }
    for (const auto& [key, expected] : model) {
        ResHandle* data = file.GetResource(key.first, key.second, nullptr);
        if (!data)
            return std::string(how) + ": " + Describe(key) + " is missing";
        if (std::vector<uint8_t>(data->Bytes().begin(), data->Bytes().end()) != expected.data)
            return std::string(how) + ": " + Describe(key) + " has other data";
        std::string name;
        file.GetResName(data, name);
        if (name != expected.name)
            return std::string(how) + ": " + Describe(key) + " is named '" + name + "', not '" + expected.name + "'";
    }
    return {};
}

} // namespace

size_t EditSession::RandomSize()
{
    // Mostly small, sometimes large enough to make compaction happen.
    const uint32_t roll = rng_() % 20;
    if (roll == 0)
        return 4000 + rng_() % 12000;
    if (roll < 3)
        return 0;
    return rng_() % 700;
}

std::vector<uint8_t> EditSession::RandomBytes(size_t size)
{
    std::vector<uint8_t> bytes(size);
    for (uint8_t& b : bytes)
        b = static_cast<uint8_t>(rng_());
    return bytes;
}

Edit EditSession::Next(const Model& model)
{
    Edit edit;
    std::vector<ResKey> existing;
    for (const auto& [key, value] : model)
        existing.push_back(key);
    const uint32_t roll = rng_() % 100;
    // Keys are drawn from 72; keep well below that so a free one is always found.
    if (existing.empty() || (roll < 25 && existing.size() < 48)) {
        edit.kind = unwritten_ == UnwrittenEdits::Allowed && rng_() % 4 == 0 ? EditKind::AddUnwritten : EditKind::Add;
        do
            edit.key = {kTypes[rng_() % 3], static_cast<int16_t>(static_cast<int>(rng_() % 24) - 4)};
        while (model.count(edit.key));
        edit.data = RandomBytes(RandomSize());
        edit.name = "res " + std::to_string(rng_() % 1000);
        return edit;
    }
    edit.key = existing[rng_() % existing.size()];
    const ModelResource& current = model.at(edit.key);
    if (roll < 45) {
        edit.kind = EditKind::Rewrite;
        edit.data = RandomBytes(current.data.size());
    } else if (roll < 60) {
        edit.kind = EditKind::Grow;
        edit.data = RandomBytes(current.data.size() + 1 + RandomSize());
    } else if (roll < 70) {
        edit.kind = EditKind::Shrink;
        edit.data = RandomBytes(current.data.empty() ? 0 : rng_() % current.data.size());
    } else if (roll < 80) {
        edit.kind = EditKind::Remove;
    } else if (roll < 88) {
        edit.kind = EditKind::Rename;
        edit.name = rng_() % 8 == 0 ? std::string(80, 'L') : "renamed " + std::to_string(rng_() % 1000);
    } else if (roll < 92) {
        edit.kind = EditKind::Update;
    } else if (roll < 96) {
        edit.kind = EditKind::Commit;
    } else {
        edit.kind = EditKind::Reopen;
    }
    return edit;
}

void ApplyToModel(Model& model, const Edit& edit)
{
    switch (edit.kind) {
    case EditKind::Add:
    case EditKind::AddUnwritten:
        model[edit.key] = {edit.data, edit.name.substr(0, 63)};
        break;
    case EditKind::Rewrite:
    case EditKind::Grow:
    case EditKind::Shrink:
        model[edit.key].data = edit.data;
        break;
    case EditKind::Remove:
        model.erase(edit.key);
        break;
    case EditKind::Rename:
        model[edit.key].name = edit.name.substr(0, 63);
        break;
    case EditKind::Update:
    case EditKind::Commit:
    case EditKind::Reopen:
        break;
    }
}

bool ApplyToFile(CTGIffFile& file, const std::string& path, const Edit& edit)
{
    const auto [type, id] = edit.key;
    switch (edit.kind) {
    case EditKind::Add:
    case EditKind::AddUnwritten: {
        ResHandle* h = ResHandle::CreateFrom(edit.data);
        if (file.AddResource(h, type, id, edit.name, ResConverted::No) != kResOk) {
            ResHandle::Dispose(h);
            return false;
        }
        return edit.kind == EditKind::AddUnwritten || file.WriteResource(h) == kResOk;
    }
    case EditKind::Rewrite:
    case EditKind::Grow:
    case EditKind::Shrink: {
        ResHandle* h = file.GetResource(type, id, nullptr);
        if (!h || !h->Resize(static_cast<uint32_t>(edit.data.size())))
            return false;
        std::copy(edit.data.begin(), edit.data.end(), h->Data());
        return file.WriteResource(h) == kResOk;
    }
    case EditKind::Remove: {
        ResHandle* h = file.GetResource(type, id, nullptr);
        return h && file.RemoveResource(h) == kResOk;
    }
    case EditKind::Rename: {
        ResHandle* h = file.GetResource(type, id, nullptr);
        return h && file.SetResInfo(h, id, edit.name, 0) == kResOk;
    }
    case EditKind::Update:
        return file.UpdateContainer() == kResOk;
    case EditKind::Commit:
        return file.CommitContainer() == kResOk;
    case EditKind::Reopen: {
        const bool closed = file.CloseContainer() == kResOk;
        return file.OpenContainer(path) == kResOk && closed;
    }
    }
    return false;
}

std::string CompareWithModel(const std::string& path, const Model& model)
{
    std::string difference = CompareOpened(path, IndexMode::PreferMap, model);
    if (difference.empty())
        difference = CompareOpened(path, IndexMode::ForceScan, model);
    return difference;
}

std::string CompareAfterFailure(const std::string& path, const Model& before, const Model& after)
{
    CTGIffFile file;
    if (file.OpenContainer(path) != kResOk)
        return "cannot open";
    std::set<ResKey> keys;
    for (const auto& [key, value] : before)
        keys.insert(key);
    for (const auto& [key, value] : after)
        keys.insert(key);
    for (const ResKey& key : keys) {
        std::optional<ModelResource> found;
        if (ResHandle* data = file.GetResource(key.first, key.second, nullptr)) {
            ModelResource r{{data->Bytes().begin(), data->Bytes().end()}, {}};
            file.GetResName(data, r.name);
            found = r;
        }
        auto version = [&](const Model& m) -> std::optional<ModelResource> {
            auto it = m.find(key);
            return it == m.end() ? std::nullopt : std::optional<ModelResource>(it->second);
        };
        if (found != version(before) && found != version(after))
            return Describe(key) + (found ? " holds neither its old nor its new version" : " is lost");
    }
    // A resource whose move was cut short may be listed twice (old and new
    // chunk); what must never appear is a resource nobody wrote.
    for (const IffTypeGroup& group : file.Index().groups)
        for (const IffEntry& entry : group.entries)
            if (!keys.count({group.type, static_cast<int16_t>(entry.id)}))
                return "the file holds " + Describe({group.type, static_cast<int16_t>(entry.id)}) + ", which nobody wrote";
    return {};
}

} // namespace zelvane::test
