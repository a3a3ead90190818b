#pragma once
// How code below the GUI asks the user for a file to open (the scene file
// reader asks for a texture it cannot find). The editor installs a file
// dialog here, tests a scripted answerer; without either nobody can be asked
// and every question is answered with Cancel.

#include <optional>
#include <string>

namespace zelvane {

struct OpenFileQuestion {
    std::string title;
    // Pairs of description and patterns, "|"-separated and ended by "||":
    // "Windows Bitmap (*.bmp)|*.bmp||".
    std::string filter;
    // The file name the dialog proposes.
    std::string proposedName;
    // Where the dialog starts; empty: wherever it likes.
    std::string startFolder;
};

class IOpenFileDialog {
public:
    virtual ~IOpenFileDialog();
    // The full path of the file the user chose, or nothing when they cancelled.
    virtual std::optional<std::string> AskForFileToOpen(const OpenFileQuestion& question) = 0;
};

// Installs `dialog` for the whole process; nullptr: nobody to ask again. The
// caller keeps ownership and must outlive its installation.
void SetOpenFileDialog(IOpenFileDialog* dialog);
IOpenFileDialog& CurrentOpenFileDialog();

} // namespace zelvane
