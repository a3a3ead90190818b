#include "resfile/FileLayerStats.h"

namespace zelvane {

std::atomic<uint64_t> FileLayerStats::bytes_{0};
std::atomic<uint64_t> FileLayerStats::writes_{0};

void FileLayerStats::Reset()
{
    bytes_ = 0;
    writes_ = 0;
}

} // namespace zelvane
