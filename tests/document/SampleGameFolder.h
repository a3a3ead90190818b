#pragma once
// The sample game, written once per test process into a private folder.

#include <string>

namespace zelvane::test {

// The folder of the sample game, ending in "/" (aborts the test process when
// it cannot be written).
const std::string& SampleGameFolder();

} // namespace zelvane::test
