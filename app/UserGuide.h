#pragma once
// The Help menu's two destinations: the user guide that ships with the
// program (HTML in its "Help" folder) and the product's web page, both
// opened in the desktop's browser. A failure is told with the messages
// people know.

#include <optional>
#include <string>

namespace zelvane {

inline constexpr const char* kWebPageAddress = "https://zelvane.example.org/";
inline constexpr const char* kHelpFailedText = "Could not find/execute the help file (zelvane.chm).";
inline constexpr const char* kWebPageFailedText = "Could not open the link to the zelvane Web Page.";

// The guide's first page ("Help/index.html" below the start folder, beside the
// program or where it is installed); nothing when it is not there.
std::optional<std::string> UserGuidePath();

// Opens the guide; false, after telling the user, when it is missing or the
// desktop cannot open it.
bool OpenUserGuide();
bool OpenWebPage();

} // namespace zelvane
