#pragma once
// The open-file questions of code below the GUI (the file locator's, the
// Import command's) answered with a file dialog over the main window.

#include "report/OpenFileDialog.h"

class QWidget;

namespace zelvane {

class QtOpenFileDialog final : public IOpenFileDialog {
public:
    explicit QtOpenFileDialog(QWidget* parent) : parent_(parent) {}

    std::optional<std::string> AskForFileToOpen(const OpenFileQuestion& question) override;

private:
    QWidget* parent_;
};

} // namespace zelvane
