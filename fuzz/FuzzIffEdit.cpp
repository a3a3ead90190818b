// Opens arbitrary bytes as an IFF object file, damaged further as the
// input's last bytes say, applies a few edits chosen by them, closes it and
// opens it again through the map and by a scan. Besides the sanitizers it
// checks, whatever the file holds:
//   - every resource that read before (through the index the file opens
//     with, or through a scan) keeps its chunk's bytes after every edit and
//     reads the same after the close, unless an edit worked on it;
//   - the file still opens after every edit and after the close.
// And where the map and a scan agreed before: every resource whose write
// succeeded reads back byte for byte with its name, removed and renamed-away
// resources are gone, a clean close leaves a usable map, and the map then
// agrees with a scan.
//
//   1. The input: file bytes, 4 bytes per damage, 4 bytes per edit, then
//      the counts
//   2. What the file must hold afterwards (the model)
//   3. What read before, and what the edits worked on
//   4. The edits
//   5. Checks after every edit and after reopening

#include "bytes/ByteReader.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/IffDamage.h"
#include "resfile/CTGIffFile.h"
#include "resfile/IffLayout.h"
#include "resfile/ResErrors.h"

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <tuple>

using namespace zelvane;

namespace {

// ---------------------------------------------------------------------------
// 1. The input

constexpr size_t kEditBytes = 4;
constexpr size_t kMaxEdits = 8;
// The damage count sits in bits 3-5 of the last byte (0: the file as it is).
constexpr unsigned kDamageShift = 3;
constexpr size_t kMaxDamages = 7;
// A chunk that claims far more than the file holds makes the next append land
// behind its claimed end; beyond this the file would grow for nothing.
constexpr uint64_t kMaxOvershoot = 1 << 16;

struct Edit {
    uint8_t kind, a, b, c;
};

struct Input {
    std::vector<uint8_t> file;
    std::vector<fuzz::IffDamage::Op> damages;
    std::vector<Edit> edits;
};

Input Split(const uint8_t* data, size_t size)
{
    Input input;
    if (size == 0)
        return input;
    const uint8_t counts = data[size - 1];
    const size_t edits = std::min(1 + (counts & (kMaxEdits - 1)), (size - 1) / kEditBytes);
    const size_t damages = std::min<size_t>((counts >> kDamageShift) & kMaxDamages, (size - 1) / kEditBytes - edits);
    const size_t fileSize = size - 1 - (damages + edits) * kEditBytes;
    input.file.assign(data, data + fileSize);
    const uint8_t* e = data + fileSize;
    for (size_t i = 0; i < damages; ++i, e += kEditBytes)
        input.damages.push_back({e[0], e[1], e[2], e[3]});
    for (size_t i = 0; i < edits; ++i, e += kEditBytes)
        input.edits.push_back({e[0], e[1], e[2], e[3]});
    return input;
}

uint32_t BigEndian32(const uint8_t* p)
{
    return ByteReader(std::span(p, 4)).u32be();
}

// The chunk chain as a scan walks it.
struct Chain {
    std::set<uint32_t> offsets;
    bool broken = false;      // stopped at a readable header with an impossible size
    uint64_t overshoot = 0;   // how far the last chunk claims to reach past the end
};

Chain Walk(const std::vector<uint8_t>& file)
{
    Chain chain;
    uint64_t offset = kIffHeaderSize;
    while (offset + kChunkHeaderSize <= file.size()) {
        const uint32_t size = BigEndian32(file.data() + offset + 4);
        if (size < kChunkHeaderSize || size > kChunkMaxSize) {
            chain.broken = true;
            break;
        }
        chain.offsets.insert(static_cast<uint32_t>(offset));
        offset += size;
    }
    chain.overshoot = offset > file.size() ? offset - file.size() : 0;
    return chain;
}

// ---------------------------------------------------------------------------
// 2. The model

struct Key {
    ResType type = 0;
    int32_t id = 0;
    uint8_t attribute = 0;
    auto operator<=>(const Key&) const = default;
    std::string Text() const
    {
        return ResTypeName(type) + " " + std::to_string(id) + " attribute " + std::to_string(attribute);
    }
};

struct Expected {
    std::vector<uint8_t> bytes;
    std::string label;
    bool pending = false; // added but not written yet: only a successful close writes it
};

struct Model {
    std::map<Key, Expected> present;
    std::set<Key> absent;
    // Keys whose last write failed: their handle may no longer match the file.
    std::set<Key> unknown;

    void Set(const Key& key, Expected expected)
    {
        absent.erase(key);
        unknown.erase(key);
        present[key] = std::move(expected);
    }
    void Remove(const Key& key)
    {
        present.erase(key);
        unknown.erase(key);
        absent.insert(key);
    }
    // After a failed call nothing is known of the key any more.
    void Forget(const Key& key)
    {
        present.erase(key);
        absent.erase(key);
        unknown.insert(key);
    }
};

struct Located {
    Key key;
    int32_t place = 0; // 1-based within its type, for GetIndResource
    std::string label;
};

std::vector<Located> Entries(const IffIndex& index)
{
    std::vector<Located> entries;
    for (const IffTypeGroup& group : index.groups)
        for (size_t i = 0; i < group.entries.size(); ++i) {
            const IffEntry& entry = group.entries[i];
            entries.push_back({{group.type, entry.id, entry.Attribute()}, static_cast<int32_t>(i + 1), entry.label});
        }
    return entries;
}

size_t CountKey(const IffIndex& index, const Key& key)
{
    const std::vector<Located> entries = Entries(index);
    return static_cast<size_t>(std::count_if(entries.begin(), entries.end(), [&](const Located& l) { return l.key == key; }));
}

// A chunk header holds 63 characters of a name. A scan reads a 64th when the
// header's 0 byte is missing and a map may carry longer names; a rewritten
// header keeps the first 63, which is all that is compared.
std::string StoredLabel(const std::string& label)
{
    return label.substr(0, kMaxLabelLength);
}

using IndexRow = std::tuple<ResType, int32_t, uint16_t, std::string, uint32_t>;

std::vector<IndexRow> Rows(const IffIndex& index)
{
    std::vector<IndexRow> rows;
    for (const IffTypeGroup& group : index.groups)
        for (const IffEntry& entry : group.entries)
            rows.emplace_back(group.type, entry.id, entry.diskFlags, StoredLabel(entry.label), entry.offset);
    std::sort(rows.begin(), rows.end());
    return rows;
}

// ---------------------------------------------------------------------------
// 3. What read before, and what the edits worked on

// A resource as it read before the edits: its chunk's bytes in the file,
// header included, and what a load handed out.
struct Held {
    Key key;
    uint32_t offset = 0;
    std::vector<uint8_t> chunk;
    std::vector<uint8_t> data;
    std::string label;
};

std::vector<Held> WhatReads(const std::string& path, IndexMode mode)
{
    std::vector<Held> held;
    CTGIffFile file;
    file.SetOpenReadOnly(true);
    if (file.OpenContainer(path, mode) != kResOk)
        return held;
    const std::vector<uint8_t> bytes = fuzz::ReadWholeFile(path);
    for (const IffTypeGroup& group : file.Index().groups) {
        // A damaged map can repeat a type: lookups reach only its first group.
        if (file.Index().FindGroup(group.type) != &group)
            continue;
        for (size_t i = 0; i < group.entries.size(); ++i) {
            const IffEntry& entry = group.entries[i];
            // A "chunk" that shares bytes with the file header is no
            // resource: every change rewrites that header.
            if (entry.offset < kIffHeaderSize)
                continue;
            ResHandle* data = file.GetIndResource(group.type, static_cast<int32_t>(i + 1), nullptr);
            if (!data)
                continue;
            const auto chunk = bytes.begin() + entry.offset;
            held.push_back({{group.type, entry.id, entry.Attribute()},
                            entry.offset,
                            {chunk, chunk + kChunkHeaderSize + data->Size()},
                            {data->Data(), data->Data() + data->Size()},
                            StoredLabel(entry.label)});
        }
    }
    return held;
}

// The resources the edits worked on, by key (as the index the file opened
// with lists them) and by the offset of their chunk then (as a scan finds it).
struct Touched {
    std::set<Key> keys;
    std::set<uint32_t> offsets;

    void Add(const IffIndex& index, const Key& key)
    {
        keys.insert(key);
        if (const IffTypeGroup* group = index.FindGroup(key.type))
            for (const IffEntry& entry : group->entries)
                if (entry.id == key.id && entry.Attribute() == key.attribute && entry.IsWritten())
                    offsets.insert(entry.offset);
    }
};

enum class View { Opened, Scanned };

bool Exempt(const Held& held, const Touched& touched, View view)
{
    return view == View::Opened ? touched.keys.count(held.key) != 0 : touched.offsets.count(held.offset) != 0;
}

// ---------------------------------------------------------------------------
// 4. The edits

std::vector<uint8_t> Pattern(size_t size, uint8_t seed)
{
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(seed + i * 13 + (i >> 8));
    return bytes;
}

// Mostly small, sometimes several kilobytes, so free chunks get merged, split and passed over.
size_t SizeFor(uint8_t b, uint8_t c)
{
    return (c & 0x80) ? 8192 + size_t{b} * 97 : (size_t{b} | (static_cast<size_t>(c & 0x7F) << 8)) % 3000;
}

const ResType kAddTypes[] = {kTypeBHAV, kTypeSTRList, MakeResType("FUZZ")};

void Add(CTGIffFile& file, Model& model, Touched& touched, const Edit& edit, bool write)
{
    const IffIndex& index = file.Index();
    ResType type = kAddTypes[edit.a % 3];
    if ((edit.a & 0x80) && !index.groups.empty())
        type = index.groups[(edit.a >> 2) % index.groups.size()].type;
    const Key key{type, 128 + (edit.b & 0x0F), static_cast<uint8_t>((edit.c & 0x40) ? (edit.c & 3) : 0)};
    // Two resources under one key: lookups name only one of them.
    if (CountKey(index, key) > 1)
        return;
    touched.Add(index, key);
    Expected expected{Pattern(SizeFor(edit.b, edit.c), edit.c), "added " + std::to_string(edit.c), !write};
    ResHandle* handle = ResHandle::CreateFrom(expected.bytes);
    if (file.AddResourceEx(handle, key.type, static_cast<int16_t>(key.id), expected.label, key.attribute,
                           ResConverted::Yes) != kResOk) {
        ResHandle::Dispose(handle);
        model.Forget(key);
        return;
    }
    if (write && file.WriteResource(handle) != kResOk) {
        model.Forget(key);
        return;
    }
    model.Set(key, std::move(expected));
}

// The resource an edit works on, loaded; false when there is none to work on.
bool Target(CTGIffFile& file, Touched& touched, const Edit& edit, Located& target, ResHandle*& handle)
{
    const std::vector<Located> entries = Entries(file.Index());
    if (entries.empty())
        return false;
    target = entries[edit.a % entries.size()];
    if (CountKey(file.Index(), target.key) != 1)
        return false;
    handle = file.GetIndResource(target.key.type, target.place, nullptr);
    if (handle)
        touched.Add(file.Index(), target.key);
    return handle != nullptr;
}

void Rewrite(CTGIffFile& file, Model& model, Touched& touched, const Edit& edit, bool resize)
{
    Located target;
    ResHandle* handle = nullptr;
    if (!Target(file, touched, edit, target, handle))
        return;
    size_t size = handle->Size();
    if (resize)
        size = (edit.c & 1) ? size - std::min<size_t>(size, size_t{edit.b} * 17)
                            : size + 1 + size_t{edit.b} * 53 + ((edit.c & 2) ? 16384 : 0);
    const std::vector<uint8_t> bytes = Pattern(size, edit.b ^ edit.c);
    if (!handle->Resize(static_cast<uint32_t>(size)))
        return;
    std::copy(bytes.begin(), bytes.end(), handle->Data());
    if (file.WriteResource(handle) != kResOk) {
        model.Forget(target.key);
        return;
    }
    model.Set(target.key, {bytes, target.label, false});
}

void Remove(CTGIffFile& file, Model& model, Touched& touched, const Edit& edit)
{
    Located target;
    ResHandle* handle = nullptr;
    if (!Target(file, touched, edit, target, handle))
        return;
    if (file.RemoveResource(handle) != kResOk) {
        model.Forget(target.key);
        return;
    }
    model.Remove(target.key);
}

void Rename(CTGIffFile& file, Model& model, Touched& touched, const Edit& edit)
{
    Located target;
    ResHandle* handle = nullptr;
    if (!Target(file, touched, edit, target, handle))
        return;
    Key renamed = target.key;
    renamed.id = 128 + (edit.b & 0x1F);
    if (renamed != target.key && CountKey(file.Index(), renamed) != 0)
        return;
    touched.keys.insert(renamed);
    const std::string label = "renamed " + std::to_string(edit.c);
    if (renamed == target.key && label == target.label)
        return; // nothing would change
    // What the resource holds: what we wrote, or else what it was loaded
    // with; after a failed write the file may hold either.
    const bool uncertain = model.unknown.count(target.key) != 0;
    auto known = model.present.find(target.key);
    Expected expected = known != model.present.end()
                            ? known->second
                            : Expected{std::vector<uint8_t>(handle->Data(), handle->Data() + handle->Size()), {}, false};
    expected.label = label;
    if (file.SetResInfo(handle, static_cast<int16_t>(renamed.id), label, 0) != kResOk) {
        model.Forget(target.key);
        model.Forget(renamed);
        return;
    }
    if (renamed != target.key)
        model.Remove(target.key);
    if (uncertain)
        model.Forget(renamed);
    else
        model.Set(renamed, std::move(expected));
}

void Apply(CTGIffFile& file, Model& model, Touched& touched, const Edit& edit)
{
    switch (edit.kind % 7) {
    case 0: Add(file, model, touched, edit, true); break;
    case 1: Add(file, model, touched, edit, false); break;
    case 2: Rewrite(file, model, touched, edit, false); break;
    case 3: Rewrite(file, model, touched, edit, true); break;
    case 4: Remove(file, model, touched, edit); break;
    case 5: Rename(file, model, touched, edit); break;
    default:
        if (file.UpdateContainer() == kResOk)
            for (auto& [key, expected] : model.present)
                expected.pending = false;
        break;
    }
}

// ---------------------------------------------------------------------------
// 5. Checks

// Between edits: the file opens, and every resource no edit worked on keeps
// its chunk's bytes where they were.
void CheckBetweenEdits(const std::string& path, const std::vector<Held>& held, const Touched& touched, View view)
{
    const std::vector<uint8_t> bytes = fuzz::ReadWholeFile(path);
    for (const Held& h : held) {
        if (Exempt(h, touched, view))
            continue;
        fuzz::Check(h.offset <= bytes.size() && h.chunk.size() <= bytes.size() - h.offset &&
                        std::equal(h.chunk.begin(), h.chunk.end(), bytes.begin() + h.offset),
                    "an edit wrote over a resource it did not work on",
                    h.key.Text() + " at " + std::to_string(h.offset) + (view == View::Opened ? " (index)" : " (scan)"));
    }
}

void CheckStillOpens(const std::string& path)
{
    CTGIffFile file;
    file.SetOpenReadOnly(true);
    fuzz::Check(file.OpenContainer(path) == kResOk, "the edited file does not open");
}

// After the close: every resource no edit worked on reads the same, under
// its key, with its name (one of several under a key counts once).
void CheckStillRead(const std::string& path, IndexMode mode, const std::vector<Held>& held, const Touched& touched,
                    View view)
{
    std::vector<Held> now = WhatReads(path, mode);
    for (const Held& h : held) {
        if (Exempt(h, touched, view))
            continue;
        const auto same = std::find_if(now.begin(), now.end(), [&](const Held& n) {
            return n.key == h.key && n.data == h.data && n.label == h.label;
        });
        fuzz::Check(same != now.end(), "a resource no edit worked on no longer reads the same",
                    h.key.Text() + (view == View::Opened ? " (index)" : " (scan)"));
        now.erase(same);
    }
}

void CheckHolds(const std::string& path, IndexMode mode, const Model& model, bool expectMap)
{
    const char* how = mode == IndexMode::ForceScan ? "by scan" : "by map";
    CTGIffFile file;
    fuzz::Check(file.OpenContainer(path, mode) == kResOk, "the edited file does not open", how);
    if (expectMap)
        fuzz::Check(file.IndexSourceUsed() == IndexSource::Map, "a clean close left no usable map");
    for (const auto& item : model.present) {
        // Named, not bound: clang 14 cannot capture structured bindings in a lambda.
        const Key& key = item.first;
        const Expected& expected = item.second;
        const std::vector<Located> entries = Entries(file.Index());
        std::vector<Located> matches;
        std::copy_if(entries.begin(), entries.end(), std::back_inserter(matches),
                     [&](const Located& l) { return l.key == key; });
        fuzz::Check(matches.size() == 1, "a written resource is missing or doubled", key.Text() + " " + how);
        fuzz::Check(StoredLabel(matches[0].label) == StoredLabel(expected.label), "a written resource lost its name",
                    key.Text() + " " + how);
        ResHandle* data = file.GetIndResource(key.type, matches[0].place, nullptr);
        fuzz::Check(data != nullptr, "a written resource does not load",
                    key.Text() + " " + how + ": " + std::to_string(file.GetLastError()));
        fuzz::Check(std::equal(data->Data(), data->Data() + data->Size(), expected.bytes.begin(), expected.bytes.end()),
                    "a written resource reads back different bytes", key.Text() + " " + how);
    }
    for (const Key& key : model.absent)
        fuzz::Check(CountKey(file.Index(), key) == 0, "a removed resource is still there", key.Text() + " " + how);
    fuzz::Check(file.CloseContainer() == kResOk, "closing the reopened file failed", how);
}

// Whether every check applies: the map the file was opened with lists exactly
// the chunks a scan finds, and the header's map offset, when set, is a chunk
// of the chain. A map that points elsewhere makes the library write where it
// says, which no check of ours could predict.
bool Trustworthy(const std::string& path, const std::vector<uint8_t>& bytes, const Chain& chain)
{
    const uint32_t mapOffset = bytes.size() >= kIffHeaderSize ? BigEndian32(bytes.data() + kIffMapOffsetPos) : 0;
    if (mapOffset != 0 && !chain.offsets.count(mapOffset))
        return false;
    CTGIffFile byMap, byScan;
    if (byMap.OpenContainer(path, IndexMode::PreferMap) != kResOk ||
        byScan.OpenContainer(path, IndexMode::ForceScan) != kResOk)
        return false;
    return Rows(byMap.Index()) == Rows(byScan.Index());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = fuzz::ScratchFolder() + "/edit.iff";
    Input input = Split(data, size);
    for (const fuzz::IffDamage::Op& damage : input.damages)
        fuzz::IffDamage::Apply(input.file, damage);
    const Chain chain = Walk(input.file);
    if (chain.overshoot > kMaxOvershoot)
        return 0;
    fuzz::WriteWholeFile(path, input.file.data(), input.file.size());
    const bool trusted = Trustworthy(path, input.file, chain);
    const std::vector<Held> opened = WhatReads(path, IndexMode::PreferMap);
    const std::vector<Held> scanned = WhatReads(path, IndexMode::ForceScan);

    Model model;
    Touched touched;
    {
        CTGIffFile file;
        if (file.OpenContainer(path) != kResOk)
            return 0;
        for (const Edit& edit : input.edits) {
            Apply(file, model, touched, edit);
            CheckStillOpens(path);
            CheckBetweenEdits(path, opened, touched, View::Opened);
            CheckBetweenEdits(path, scanned, touched, View::Scanned);
        }
        const bool closed = file.CloseContainer() == kResOk;
        CheckStillOpens(path);
        // A failed close leaves the file to be scanned: only what a scan found is asked for.
        if (closed)
            CheckStillRead(path, IndexMode::PreferMap, opened, touched, View::Opened);
        CheckStillRead(path, IndexMode::ForceScan, scanned, touched, View::Scanned);
        if (!closed) {
            // Resources still pending were to be written by the close.
            for (auto it = model.present.begin(); it != model.present.end();)
                it = it->second.pending ? model.present.erase(it) : std::next(it);
        }
        if (!trusted)
            return 0;
        // Behind a damaged chunk header only the map finds what was appended.
        if (!chain.broken)
            CheckHolds(path, IndexMode::ForceScan, model, false);
        // A file the session changed must carry a map again; one it left alone keeps what it had.
        const bool changed = fuzz::ReadWholeFile(path) != input.file;
        if (closed)
            CheckHolds(path, IndexMode::PreferMap, model, changed);
        if (!closed || chain.broken)
            return 0;
    }
    CTGIffFile byMap, byScan;
    fuzz::Check(byMap.OpenContainer(path, IndexMode::PreferMap) == kResOk &&
                    byScan.OpenContainer(path, IndexMode::ForceScan) == kResOk,
                "the edited file does not open");
    fuzz::Check(Rows(byMap.Index()) == Rows(byScan.Index()), "after a clean close the map and a scan disagree");
    return 0;
}
