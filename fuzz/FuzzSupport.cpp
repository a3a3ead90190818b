#include "fuzz/FuzzSupport.h"

#include "resfile/CTGIffFile.h"
#include "resfile/ResErrors.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace zelvane::fuzz {

namespace {

struct Scratch {
    std::string path;

    Scratch()
    {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/zelvane-fuzz-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            Fail("cannot create the scratch folder", pattern);
        path = pattern;
    }
    ~Scratch()
    {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

} // namespace

const std::string& ScratchFolder()
{
    static const Scratch scratch;
    return scratch.path;
}

void WriteWholeFile(const std::string& path, const uint8_t* data, size_t size)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        Fail("cannot write", path);
    const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    if (std::fclose(file) != 0 || !written)
        Fail("cannot write", path);
}

std::vector<uint8_t> ReadWholeFile(const std::string& path)
{
    // In one read: targets call this after every edit, and a byte-wise
    // stream iterator under coverage instrumentation dominated their time.
    std::error_code ec;
    const uintmax_t size = std::filesystem::file_size(path, ec);
    std::FILE* file = ec ? nullptr : std::fopen(path.c_str(), "rb");
    if (!file)
        Fail("cannot read", path);
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    const bool read = bytes.empty() || std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    std::fclose(file);
    if (!read)
        Fail("cannot read", path);
    return bytes;
}

void Fail(const char* what, const std::string& detail)
{
    std::fprintf(stderr, "fuzz check failed: %s%s%s\n", what, detail.empty() ? "" : ": ", detail.c_str());
    std::abort();
}

Resources ReadResources(const std::string& path)
{
    CTGIffFile file;
    file.SetOpenReadOnly(true);
    Check(file.OpenContainer(path) == kResOk, "the file opens", path);
    Resources all;
    for (int32_t t = 1; t <= file.CountTypes(); ++t) {
        const ResType type = file.GetIndType(t);
        for (int32_t i = 1; i <= file.CountResources(type); ++i) {
            ResHandle* data = file.GetIndResource(type, i, nullptr);
            Check(data != nullptr, "every resource reads");
            int16_t id = 0;
            file.GetResId(data, id);
            all[{type, id}] = {data->Bytes().begin(), data->Bytes().end()};
            file.ReleaseResource(data);
        }
    }
    static_cast<void>(file.CloseContainer());
    return all;
}

} // namespace zelvane::fuzz
