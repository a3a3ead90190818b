#include "tests/document/SampleGameFixture.h"

namespace zelvane::test {

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
