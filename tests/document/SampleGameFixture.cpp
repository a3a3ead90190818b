#include "tests/document/SampleGameFixture.h"

#include "tools/SampleGame.h"

#include <cstdlib>

namespace zelvane::test {

const std::string& SampleGameFolder()
{
    static const TempDir folder;
    static const std::string path = [] {
        if (!WriteSampleGame(folder.Path()).error.empty())
            std::abort();
        return folder.Path().string() + "/";
    }();
    return path;
}

SampleGameTest::SampleGameTest()
{
    SetReporter(&reporter_);
    catalog_.Rebuild(SampleGameFolder());
}

SampleGameTest::~SampleGameTest()
{
    SetReporter(nullptr);
}

CObjectEntry& SampleGameTest::Object(std::string_view resourceName)
{
    for (CObjectEntry* entry : catalog_.ListedObjects())
        if (entry->ResourceName() == resourceName)
            return *entry;
    ADD_FAILURE() << "no object named " << resourceName;
    return *catalog_.ListedObjects().front();
}

} // namespace zelvane::test
