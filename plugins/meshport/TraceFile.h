#pragma once
// The diagnostic trace "z.txt": written to the current folder by every
// import that reads a face material group, describing the last group read.

#include "plugins/meshport/ThreeDSModel.h"

namespace zelvane::meshport {

// Replaces "z.txt" with "NF <face count>" and a line "<position> <face>"
// for every face number above 15000. Does nothing when the file cannot be
// opened for writing.
void WriteTrace(const GroupTrace& trace);

} // namespace zelvane::meshport
