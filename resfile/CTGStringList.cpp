// CTGStringList: reading every stored layout, editing, and the merge on save.
//
//   1. Configuration and loading
//   2. Parsing the layouts
//   3. Editing
//   4. Saving and encoding

#include "resfile/CTGStringList.h"

#include "bytes/ByteReader.h"
#include "bytes/ByteWriter.h"
#include "resfile/LanguageCodePages.h"

#include <algorithm>
#include <memory>

namespace zelvane {

namespace {

constexpr uint16_t kLayoutPlain = 0xFFFF;     // -1: texts
constexpr uint16_t kLayoutComments = 0xFFFE;  // -2: texts with comments
constexpr uint16_t kLayoutLanguages = 0xFFFD; // -3: language, text, comment
constexpr uint16_t kLayoutLanguageSets = 0xFFFC; // -4: per slot a count, then language, text, comment
// Layout -4 as later tools store it in chunks not marked converted: the
// convert rule swaps its first word although it is little-endian.
constexpr uint16_t kLayoutLanguageSetsUnconverted = 0xFCFF;
constexpr size_t kMaxTextLength = 65535;
// A layout -4 entry holds at least its language byte and two length bytes.
constexpr size_t kSmallestSetEntry = 3;
// Length bytes of a layout -4 text: 7 bits each, low group first.
constexpr int kMaxLengthBytes = 5;
// What fills the rest of a resource block that a list does not use.
constexpr uint8_t kBlockFiller = 0xA3;

// A text holding a NUL would split its record: it is stored up to the NUL, as it reads back.
std::string_view UpToNul(const std::optional<std::string>& text)
{
    const std::string_view view = text ? std::string_view(*text) : std::string_view();
    return view.substr(0, view.find('\0'));
}

// A NUL-terminated text; a missing terminator ends the text at the end of the data.
std::string ReadText(ByteReader& reader)
{
    return reader.cstring(std::min(reader.remaining(), kMaxTextLength));
}

// A layout -4 text: its length in 7-bit groups, low group first, the high
// bit of each byte saying that another follows; then that many bytes. None
// when the length runs on or the text runs past the data.
std::optional<std::string> ReadSizedText(ByteReader& reader)
{
    uint64_t length = 0;
    for (int i = 0; i < kMaxLengthBytes; ++i) {
        const uint8_t byte = reader.u8();
        if (!reader.ok())
            return std::nullopt;
        length |= uint64_t{byte & 0x7Fu} << (7 * i);
        if ((byte & 0x80) != 0)
            continue;
        if (length > reader.remaining())
            return std::nullopt;
        const std::span<const uint8_t> bytes = reader.bytes(static_cast<size_t>(length));
        return std::string(bytes.begin(), bytes.end());
    }
    return std::nullopt;
}

bool OnlyFillerLeft(ByteReader& reader)
{
    const std::span<const uint8_t> rest = reader.bytes(reader.remaining());
    return std::all_of(rest.begin(), rest.end(), [](uint8_t b) { return b == kBlockFiller; });
}

} // namespace

// ---------------------------------------------------------------------------
// 1. Configuration and loading

void CTGStringList::Configure(CTGResFile* container, int16_t id, ResType type, CaretText caret, int8_t language)
{
    container_ = container;
    id_ = id;
    type_ = type;
    caret_ = caret;
    language_ = language < 0 || language >= kLanguageSlots ? 0 : language;
}

void CTGStringList::Clear()
{
    for (Slot& slot : slots_)
        slot.clear();
    layout_ = StringListLayout::None;
}

const char* StringListLayoutName(StringListLayout layout)
{
    switch (layout) {
    case StringListLayout::None: break;
    case StringListLayout::Plain: return "-1";
    case StringListLayout::Comments: return "-2";
    case StringListLayout::Languages: return "-3";
    case StringListLayout::LanguageSets: return "-4";
    case StringListLayout::LengthPrefixed: return "length-prefixed";
    case StringListLayout::CaretText: return "caret text";
    }
    return "";
}

void CTGStringList::ConvertOnLoad(uint8_t* data, uint32_t length)
{
    if (length < 2)
        return;
    std::swap(data[0], data[1]);
    if (data[0] == 0xFF && data[1] == 0xFF && length >= 4)
        std::swap(data[2], data[3]);
}

int32_t CTGStringList::Load(LoadLanguages languages, FillEmptySlots fill)
{
    if (!container_ || !container_->IsOpen())
        return -1;
    Clear();
    ResHandle* data = container_->GetResource(type_, id_, caret_ == CaretText::Yes ? nullptr : &ConvertOnLoad);
    if (!data)
        return container_->GetLastError();
    std::string label;
    container_->GetResName(data, label);
    name_ = label;
    const int32_t result = Parse(data->Bytes(), languages, fill);
    container_->ReleaseResource(data);
    return result;
}

int32_t CTGStringList::LoadWithFallback(CTGResFile* container, int16_t id, int8_t language)
{
    Configure(container, id, kTypeSTRList, CaretText::No, language);
    const int32_t result = Load(LoadLanguages::Current, FillEmptySlots::No);
    if (result == kResOk)
        return result;
    Configure(container, id, kTypeCaretText, CaretText::Yes, language);
    return Load(LoadLanguages::Current, FillEmptySlots::No);
}

// ---------------------------------------------------------------------------
// 2. Parsing

void CTGStringList::AddToCurrentAndDefault(StringEntry entry)
{
    if (language_ != 0)
        slots_[0].push_back(entry);
    slots_[static_cast<size_t>(language_)].push_back(std::move(entry));
}

void CTGStringList::FillFromDefault()
{
    for (size_t s = 1; s < slots_.size(); ++s) {
        if (!slots_[s].empty())
            continue;
        slots_[s] = slots_[0];
        for (StringEntry& entry : slots_[s])
            entry.origin = 0;
    }
}

// Layout -4: a byte N, then N sets, set s holding the entries of slot s: a
// 16-bit count, then per entry a language byte (the slot again, or 255),
// the text and the comment. Only a list that holds together to its last
// byte (block filler aside) is read, so that saving one never drops what
// was not understood. False when it does not hold together.
bool CTGStringList::ParseLanguageSets(ByteReader& reader, LoadLanguages languages)
{
    const uint8_t sets = reader.u8();
    if (!reader.ok() || sets > kLanguageSlots)
        return false;
    for (uint8_t set = 0; set < sets; ++set) {
        const uint16_t count = reader.u16le();
        if (!reader.ok() || count > reader.remaining() / kSmallestSetEntry)
            return false;
        for (uint32_t i = 0; i < count; ++i) {
            reader.skip(1); // the language byte: the set decides the slot
            std::optional<std::string> text = ReadSizedText(reader);
            std::optional<std::string> comment = text ? ReadSizedText(reader) : std::nullopt;
            if (!comment)
                return false;
            if (languages == LoadLanguages::Current && set != language_)
                continue;
            StringEntry entry;
            entry.text = SlotBytesFromUtf8(set, *text);
            entry.comment = SlotBytesFromUtf8(set, *comment);
            slots_[set].push_back(std::move(entry));
        }
    }
    return OnlyFillerLeft(reader);
}

int32_t CTGStringList::Parse(std::span<const uint8_t> data, LoadLanguages languages, FillEmptySlots fill)
{
    Clear();
    StringListLayout layout = StringListLayout::CaretText;
    if (caret_ == CaretText::Yes) {
        // Every string sits between two carets; text outside the pairs is ignored.
        const std::string_view text(reinterpret_cast<const char*>(data.data()), data.size());
        size_t open = text.find('^');
        while (open != std::string_view::npos) {
            const size_t close = text.find('^', open + 1);
            if (close == std::string_view::npos)
                break;
            StringEntry entry;
            entry.text = std::string(text.substr(open + 1, close - open - 1));
            AddToCurrentAndDefault(std::move(entry));
            open = text.find('^', close + 1);
        }
    } else {
        ByteReader reader(data);
        const uint16_t first = reader.u16le();
        if (!reader.ok())
            return kErrBadLayout;
        if (first == kLayoutPlain || first == kLayoutComments) {
            layout = first == kLayoutPlain ? StringListLayout::Plain : StringListLayout::Comments;
            const uint16_t count = reader.u16le();
            for (uint32_t i = 0; i < count && reader.remaining() > 0; ++i) {
                StringEntry entry;
                entry.text = ReadText(reader);
                if (first == kLayoutComments)
                    entry.comment = ReadText(reader);
                AddToCurrentAndDefault(std::move(entry));
            }
        } else if (first == kLayoutLanguages) {
            layout = StringListLayout::Languages;
            const uint16_t count = reader.u16le();
            size_t number = 0;
            int previous = -1;
            // Real lists end in filler bytes after the last record: only `count` records are read.
            for (uint32_t i = 0; i < count && reader.remaining() > 0; ++i) {
                const uint8_t languageByte = reader.u8();
                StringEntry entry;
                entry.text = ReadText(reader);
                entry.comment = ReadText(reader);
                number = languageByte == previous ? number + 1 : 1;
                previous = languageByte;
                if (languageByte < 1 || languageByte > kLanguageSlots)
                    continue;
                const size_t slot = languageByte - 1u;
                if (languages == LoadLanguages::Current && slot != static_cast<size_t>(language_))
                    continue;
                Slot& target = slots_[slot];
                if (target.size() < number)
                    target.resize(number);
                target[number - 1] = std::move(entry);
            }
        } else if (first == kLayoutLanguageSets || first == kLayoutLanguageSetsUnconverted) {
            layout = StringListLayout::LanguageSets;
            if (!ParseLanguageSets(reader, languages)) {
                Clear();
                return kErrBadLayout;
            }
        } else if (first < 0x8000) {
            // Length-prefixed texts; the first word is the count.
            layout = StringListLayout::LengthPrefixed;
            for (uint32_t i = 0; i < first && reader.remaining() > 0; ++i) {
                const uint8_t length = reader.u8();
                std::span<const uint8_t> bytes = reader.bytes(std::min<size_t>(length, reader.remaining()));
                std::string text(bytes.begin(), bytes.end());
                for (char& c : text) {
                    if (static_cast<uint8_t>(c) == 0xA1)
                        c = 'o';
                    else if (static_cast<uint8_t>(c) == 0xD5)
                        c = '\'';
                }
                StringEntry entry;
                entry.text = std::move(text);
                AddToCurrentAndDefault(std::move(entry));
            }
        } else {
            return kErrBadLayout;
        }
    }
    if (fill == FillEmptySlots::Yes)
        FillFromDefault();
    layout_ = layout;
    return kResOk;
}

// ---------------------------------------------------------------------------
// 3. Editing

CTGStringList::Slot* CTGStringList::SlotFor(uint8_t language)
{
    const size_t slot = language == kCurrentLanguage ? static_cast<size_t>(language_) : language;
    return slot < slots_.size() ? &slots_[slot] : nullptr;
}

const CTGStringList::Slot* CTGStringList::SlotFor(uint8_t language) const
{
    return const_cast<CTGStringList*>(this)->SlotFor(language);
}

const StringEntry* CTGStringList::Entry(int32_t index, uint8_t language) const
{
    const Slot* slot = SlotFor(language);
    if (!slot || index < 1 || static_cast<size_t>(index) > slot->size())
        return nullptr;
    return &(*slot)[static_cast<size_t>(index) - 1];
}

std::optional<std::string> CTGStringList::GetString(int32_t index, uint8_t language) const
{
    const StringEntry* entry = Entry(index, language);
    return entry ? entry->text : std::nullopt;
}

std::optional<std::string> CTGStringList::GetComment(int32_t index, uint8_t language) const
{
    const StringEntry* entry = Entry(index, language);
    return entry ? entry->comment : std::nullopt;
}

int32_t CTGStringList::Count(uint8_t language) const
{
    const Slot* slot = SlotFor(language);
    return slot ? static_cast<int32_t>(slot->size()) : 0;
}

StringEntry* CTGStringList::EntryForWriting(int32_t index, uint8_t language)
{
    Slot* slot = SlotFor(language);
    if (!slot || index < 1 || static_cast<size_t>(index) > slot->size() + 1)
        return nullptr;
    if (static_cast<size_t>(index) == slot->size() + 1)
        slot->emplace_back();
    StringEntry& entry = (*slot)[static_cast<size_t>(index) - 1];
    entry.origin = static_cast<int8_t>(slot - slots_.data());
    return &entry;
}

void CTGStringList::SetString(int32_t index, std::string_view text, uint8_t language)
{
    if (StringEntry* entry = EntryForWriting(index, language))
        entry->text = std::string(text);
}

void CTGStringList::SetComment(int32_t index, std::string_view text, uint8_t language)
{
    if (StringEntry* entry = EntryForWriting(index, language))
        entry->comment = std::string(text);
}

void CTGStringList::DeleteString(int32_t index, uint8_t language)
{
    Slot* slot = SlotFor(language);
    if (!slot || index < 1 || static_cast<size_t>(index) > slot->size())
        return;
    slot->erase(slot->begin() + (index - 1));
}

// ---------------------------------------------------------------------------
// 4. Saving and encoding

std::vector<uint8_t> CTGStringList::Encode() const
{
    size_t total = 0;
    for (const Slot& slot : slots_)
        total += slot.size();
    ByteWriter out;
    out.u16le(kLayoutLanguages);
    out.u16le(static_cast<uint16_t>(std::min<size_t>(total, UINT16_MAX)));
    size_t written = 0;
    for (size_t s = 0; s < slots_.size(); ++s)
        for (const StringEntry& entry : slots_[s]) {
            if (written++ == UINT16_MAX)
                return out.take();
            out.u8(static_cast<uint8_t>(s + 1));
            out.text(UpToNul(entry.text));
            out.u8(0);
            out.text(UpToNul(entry.comment));
            out.u8(0);
        }
    return out.take();
}

int32_t CTGStringList::Save()
{
    if (!container_ || !container_->IsOpen())
        return -1;
    CTGStringList stored;
    stored.Configure(container_, id_, type_, caret_, language_);
    // A list that is not stored yet starts empty; one stored in a layout we
    // cannot read is left alone rather than overwritten with what we know.
    if (stored.Load(LoadLanguages::All, FillEmptySlots::Yes) == kErrBadLayout)
        return kErrBadLayout;

    const Slot& mine = slots_[static_cast<size_t>(language_)];
    Slot& theirs = stored.slots_[static_cast<size_t>(language_)];
    for (size_t i = 0; i < mine.size(); ++i) {
        if (i == theirs.size())
            theirs.emplace_back();
        theirs[i].text = mine[i].text;
        theirs[i].comment = mine[i].comment;
        theirs[i].origin = mine[i].origin;
    }

    for (size_t s = 1; s < stored.slots_.size(); ++s) {
        Slot& slot = stored.slots_[s];
        for (size_t i = slot.size(); i < mine.size() && i < stored.slots_[0].size(); ++i) {
            StringEntry copy = stored.slots_[0][i];
            copy.origin = 0;
            slot.push_back(std::move(copy));
        }
        if (std::all_of(slot.begin(), slot.end(), [](const StringEntry& e) { return e.origin == 0; }))
            slot.clear();
    }

    const std::vector<uint8_t> bytes = stored.Encode();
    ResHandle* handle = ResHandle::CreateFrom(bytes);
    if (!handle)
        return kErrNoCompactionMemory;
    const ResType type = (type_ == 0 || type_ == kTypeCaretText) ? kTypeSTRList : type_;
    // A list made without loading has no name of its own: the stored label stays.
    const std::string& name = name_.empty() ? stored.name_ : name_;
    int32_t error = container_->AddResource(handle, type, id_, name, ResConverted::Yes);
    if (error != kResOk) {
        ResHandle::Dispose(handle);
        return error;
    }
    error = container_->WriteResource(handle);
    const int32_t detached = container_->DetachResource(handle);
    if (detached == kResOk)
        ResHandle::Dispose(handle);
    return error != kResOk ? error : detached;
}

} // namespace zelvane
