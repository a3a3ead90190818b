#pragma once
// The Help menu's two destinations: the user guide that ships with the
// program (HTML in its "Help" folder), shown in a window of its own inside
// the program, so no browser is needed; and the product's web page, opened
// in the desktop's browser, or, when none can be started, the address given
// to the user (and put on the clipboard) to open by hand.

#include <QDialog>

#include <optional>
#include <string>

class QTextBrowser;

namespace zelvane {

inline constexpr const char* kWebPageAddress = "https://zelvane.example.org/";
inline constexpr const char* kHelpMissingText =
    "Could not find the user guide: there is no Help/index.html below the folder zelvane was started in, "
    "nor beside the program or where it is installed (/usr/share/zelvane/Help).";
inline constexpr const char* kWebPageFailedText = "Could not open the link to the zelvane Web Page.";

// The guide's first page ("Help/index.html" below the start folder, beside the
// program or where it is installed); nothing when it is not there.
std::optional<std::string> UserGuidePath();

// The guide in a window: its pages with their pictures, links between them,
// Back, Forward and Contents. Links that lead out of the guide go to the
// desktop's browser (OpenLink).
class CUserGuideDlg : public QDialog {
    Q_OBJECT

public:
    CUserGuideDlg(const std::string& firstPage, QWidget* parent = nullptr);
    QTextBrowser& Browser() const { return *browser_; }

private:
    QTextBrowser* browser_;
};

// Shows the guide in its window (one window, brought to the front when it is
// open already); false, after telling the user, when the guide is missing.
bool OpenUserGuide(QWidget* parent);

// Opens an address in the desktop's browser; when none can be started, says
// so with `failure`, the address and what to do, and puts the address on the
// clipboard. False then.
bool OpenLink(const QString& address, const char* failure);
bool OpenWebPage();

} // namespace zelvane
