#include "document/IPanelView.h"

namespace zelvane {

IPanelView::~IPanelView() = default;

} // namespace zelvane
