#pragma once
// Helpers shared by the fuzz targets: a private scratch folder per process
// (containers open by path, so every input goes through a real file), whole
// file I/O, and a check that aborts with a message, which libFuzzer reports
// as a crash and the replayer as a failed test.

#include "resfile/ResType.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace zelvane::fuzz {

// Created on first use under $TMPDIR (or /tmp), removed when the process exits.
const std::string& ScratchFolder();

// Replaces the file's contents; aborts when it cannot, since every later
// check would be meaningless.
void WriteWholeFile(const std::string& path, const uint8_t* data, size_t size);
std::vector<uint8_t> ReadWholeFile(const std::string& path);

// Every resource of an IFF file by type and id, its bytes as stored; aborts
// when the file does not open or a resource does not read.
using Resources = std::map<std::pair<ResType, int16_t>, std::vector<uint8_t>>;
Resources ReadResources(const std::string& path);

[[noreturn]] void Fail(const char* what, const std::string& detail = {});

inline void Check(bool condition, const char* what, const std::string& detail = {})
{
    if (!condition)
        Fail(what, detail);
}

} // namespace zelvane::fuzz
