#pragma once
// The diagnostic trace "z.txt": written by every import that reads a face
// material group, describing the last group read. It goes into the program's
// log folder, beside log.txt, never into the folder the user works in.

#include "plugins/meshport/ThreeDSModel.h"

#include <optional>
#include <string>

namespace zelvane::meshport {

// The folder the trace goes into, ending in "/": the one the program writes
// log.txt into ($ZELVANE_LOG_DIR, else $XDG_STATE_HOME/zelvane/, else
// $HOME/.local/state/zelvane/). None when none of them is usable.
std::optional<std::string> TraceFolder();

// Replaces "z.txt" in the trace folder (made when missing) with
// "NF <face count>" and a line "<position> <face>" for every face number
// above 15000. Does nothing when there is no trace folder or the file cannot
// be opened for writing.
void WriteTrace(const GroupTrace& trace);

} // namespace zelvane::meshport
