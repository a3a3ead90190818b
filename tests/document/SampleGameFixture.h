#pragma once
// The sample game, written once per test process into a private folder, and
// a catalog of it; messages go to a recorder for the fixture's life.

#include "objects/ObjectCatalog.h"
#include "tests/testkit/RecordingReporter.h"
#include "tests/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace zelvane::test {

// The folder of the sample game (aborts the test process when it cannot be written).
const std::string& SampleGameFolder();

class SampleGameTest : public ::testing::Test {
protected:
    SampleGameTest();
    ~SampleGameTest() override;

    // The listed object of that resource name (fails the test when missing).
    CObjectEntry& Object(std::string_view resourceName);

    RecordingReporter reporter_;
    ObjectCatalog catalog_;
    TempDir work_;
};

} // namespace zelvane::test
