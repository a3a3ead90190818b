#include "report/OpenFileDialog.h"

namespace zelvane {

namespace {

class NobodyToAsk final : public IOpenFileDialog {
public:
    std::optional<std::string> AskForFileToOpen(const OpenFileQuestion&) override { return std::nullopt; }
};

IOpenFileDialog* gDialog = nullptr;

} // namespace

IOpenFileDialog::~IOpenFileDialog() = default;

void SetOpenFileDialog(IOpenFileDialog* dialog)
{
    gDialog = dialog;
}

IOpenFileDialog& CurrentOpenFileDialog()
{
    static NobodyToAsk nobody;
    return gDialog ? *gDialog : nobody;
}

} // namespace zelvane
