#pragma once
// A catalog of the sample game for each test; messages go to a recorder for
// the fixture's life.

#include "objects/ObjectCatalog.h"
#include "tests/document/SampleGameFolder.h"
#include "tests/testkit/RecordingReporter.h"
#include "tests/testkit/TestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace zelvane::test {

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
