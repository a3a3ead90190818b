#pragma once
// The process-wide debug log and error reporting. Each log is started afresh
// (its old file deleted) at its first message in a run, so a log holds exactly
// one run's messages; every message is appended as given, with no time stamp or
// line end added, by opening and closing the file, so a crash loses nothing.

#include <string_view>

namespace zelvane {

// Appends `text` to "log.txt". When the log folder cannot be found or created,
// says so in a message box and drops the text; the next call tries again. A file
// that cannot be opened loses the text silently.
void LogDebug(std::string_view text);

// Appends `text` to "errors.txt" (failing like `LogDebug`) and shows it with an
// OK button.
void ReportError(std::string_view text);

// `ReportError`, the text shown again with the stop icon, then the process ends
// at once with status 1: no settings are saved and no document is closed.
[[noreturn]] void FatalError(std::string_view text);

// `FatalError` with the help text for a failure to set up or make current an
// OpenGL context; `tag` names the call that failed.
[[noreturn]] void ReportWindowsError(std::string_view tag);

} // namespace zelvane
