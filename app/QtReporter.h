#pragma once
// Shows the messages of the layers below the GUI as modal message boxes.

#include "report/Reporter.h"

namespace zelvane {

class QtReporter final : public IReporter {
public:
    MessageAnswer ShowMessage(std::string_view text, MessageIcon icon, MessageButtons buttons) override;
    // The wait cursor, over the whole application.
    void BeginBusy() override;
    void EndBusy() override;
};

} // namespace zelvane
