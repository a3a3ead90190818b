#include "tests/document/SampleGameFolder.h"

#include "tests/testkit/TestFiles.h"
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

} // namespace zelvane::test
