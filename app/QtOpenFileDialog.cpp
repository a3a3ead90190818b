#include "app/QtOpenFileDialog.h"

#include "app/FileDialogs.h"

namespace zelvane {

std::optional<std::string> QtOpenFileDialog::AskForFileToOpen(const OpenFileQuestion& question)
{
    return AskOpenFile(parent_, question);
}

} // namespace zelvane
