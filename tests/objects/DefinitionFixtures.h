#pragma once
// Object files for the definition, catalog string and property editor tests:
// one 'OBJD' record (id 128, named "chair") and whatever strings a test adds,
// written with IffBuilder into a temporary folder and opened.

#include "bytes/ByteSpanWriter.h"
#include "objects/ObjectDefinition.h"
#include "resfile/CTGIffFile.h"
#include "resfile/IffBuilder.h"
#include "tests/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace zelvane::test {

inline constexpr int16_t kObjectId = 128;
inline constexpr int16_t kStringsId = 2000;

// Stores a little-endian word at a byte offset of a record of any length.
inline void PutWord(std::vector<uint8_t>& record, size_t offset, uint16_t value)
{
    ByteSpanWriter w(record);
    w.seek(offset);
    w.u16le(value);
    ASSERT_TRUE(w.ok()) << "offset " << offset << " is outside the record";
}

// A version-138 record of `size` bytes whose catalog strings id is kStringsId.
inline std::vector<uint8_t> Record(size_t size = objd::kRecordSize, uint8_t version = 138)
{
    ObjectDefinition record;
    record.SetInt32At(objd::kVersion, version);
    record.SetWord(objd::kCatalogStringsId / 2, kStringsId);
    std::vector<uint8_t> bytes = record.StoredBytes();
    bytes.resize(size);
    return bytes;
}

// A string list in layout -3: {language byte, text, comment} records.
inline std::vector<uint8_t> LanguageList(const std::vector<std::pair<int, std::string>>& records,
                                         const std::string& comment = "")
{
    std::vector<uint8_t> data = {0xFD, 0xFF, static_cast<uint8_t>(records.size()), 0};
    for (const auto& [language, text] : records) {
        data.push_back(static_cast<uint8_t>(language));
        for (const std::string& s : {text, comment}) {
            data.insert(data.end(), s.begin(), s.end());
            data.push_back(0);
        }
    }
    return data;
}

inline std::vector<uint8_t> Chars(std::string_view text) { return {text.begin(), text.end()}; }

class DefinitionFile {
public:
    explicit DefinitionFile(const std::vector<uint8_t>& record, const std::function<void(IffBuilder&)>& more = {})
    {
        IffBuilder builder;
        builder.AddChunk(kTypeOBJD, kObjectId, "chair", record);
        if (more)
            more(builder);
        WriteBytes(path, builder.Build(IffBuilder::Map::Written));
        EXPECT_EQ(file.OpenContainer(path), kResOk);
    }

    // Closes and opens the file again: what is read now is what was saved.
    void Reopen()
    {
        ASSERT_EQ(file.CloseContainer(), kResOk);
        ASSERT_EQ(file.OpenContainer(path), kResOk);
    }

    // A resource's bytes as another reader of the file sees them; empty when missing.
    std::vector<uint8_t> Stored(ResType type, int16_t id) const
    {
        CTGIffFile reader;
        EXPECT_EQ(reader.OpenContainer(path), kResOk);
        const ResHandle* data = reader.GetResource(type, id, &ObjectDefinition::KeepAsStored);
        return data ? std::vector<uint8_t>(data->Bytes().begin(), data->Bytes().end()) : std::vector<uint8_t>();
    }

    TempDir dir;
    std::string path = dir.File("object.iff");
    CTGIffFile file;
};

// A DefinitionFile whose 'CTSS' list holds {language, text} records.
inline DefinitionFile WithCtss(const std::vector<uint8_t>& record,
                               const std::vector<std::pair<int, std::string>>& strings)
{
    return DefinitionFile(record, [&](IffBuilder& b) { b.AddChunk(kTypeCTSS, kStringsId, "", LanguageList(strings)); });
}

} // namespace zelvane::test
