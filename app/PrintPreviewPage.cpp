#include "app/PrintPreviewPage.h"

#include "interaction/CommandIds.h"
#include "view/COGLView.h"

#include <QAction>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>
#include <QVBoxLayout>

namespace zelvane {

PrintPreviewPage::PrintPreviewPage(COGLView& view, QWidget* parent)
    : QWidget(parent), printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)),
      pages_(new QPrintPreviewWidget(printer_.get(), this))
{
    setObjectName(QStringLiteral("printPreview"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* buttons = new QToolBar(this);
    buttons->setObjectName(QStringLiteral("previewBar"));
    pages_->setObjectName(QStringLiteral("previewPages"));
    connect(pages_, &QPrintPreviewWidget::paintRequested, this,
            [&view](QPrinter* printer) { view.PrintCaptured(*printer); });
    QAction* print = buttons->addAction(tr("&Print..."), this, &PrintPreviewPage::PrintRequested);
    print->setObjectName(QStringLiteral("actionPreviewPrint"));
    QAction* next = buttons->addAction(tr("&Next Page"), pages_,
                                       [this] { pages_->setCurrentPage(pages_->currentPage() + 1); });
    next->setShortcut(QKeySequence(Qt::Key_PageDown));
    next->setData(command::kPreviewNextPage);
    QAction* previous = buttons->addAction(tr("Pre&v Page"), pages_,
                                           [this] { pages_->setCurrentPage(pages_->currentPage() - 1); });
    previous->setShortcut(QKeySequence(Qt::Key_PageUp));
    previous->setData(command::kPreviewPreviousPage);
    buttons->addAction(tr("Zoom &In"), pages_, [this] { pages_->zoomIn(); });
    buttons->addAction(tr("Zoom &Out"), pages_, [this] { pages_->zoomOut(); });
    QAction* closing = buttons->addAction(tr("&Close"), this, &PrintPreviewPage::CloseRequested);
    closing->setObjectName(QStringLiteral("actionPreviewClose"));
    closing->setShortcut(QKeySequence(Qt::Key_Escape));
    closing->setData(command::kPreviewClose);
    for (QAction* action : buttons->actions())
        action->setShortcutContext(Qt::WindowShortcut);
    layout->addWidget(buttons);
    layout->addWidget(pages_, 1);
}

// The preview widget paints on the printer: it goes first.
PrintPreviewPage::~PrintPreviewPage()
{
    delete pages_;
}

} // namespace zelvane
