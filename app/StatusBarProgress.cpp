#include "app/StatusBarProgress.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>

namespace zelvane {

StatusBarProgress::StatusBarProgress(QStatusBar& statusBar) : statusBar_(statusBar) {}

StatusBarProgress::~StatusBarProgress()
{
    if (nesting_ > 0)
        Remove();
}

void StatusBarProgress::BeginProgress(int range, std::string_view text)
{
    if (++nesting_ > 1)
        return;
    // The first pane's messages would hide the display: it takes the pane itself.
    statusBar_.clearMessage();
    display_ = new QWidget;
    display_->setObjectName(QStringLiteral("progressDisplay"));
    auto* layout = new QHBoxLayout(display_);
    layout->setContentsMargins(0, 0, 0, 0);
    text_ = new QLabel(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    text_->setObjectName(QStringLiteral("progressText"));
    bar_ = new QProgressBar;
    bar_->setObjectName(QStringLiteral("progressBar"));
    bar_->setRange(0, range);
    bar_->setValue(0);
    bar_->setTextVisible(false);
    layout->addWidget(text_, 1);
    layout->addWidget(bar_, 1);
    statusBar_.addWidget(display_, 1);
    display_->show();
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void StatusBarProgress::StepProgress()
{
    if (bar_ && bar_->value() < bar_->maximum())
        bar_->setValue(bar_->value() + 1);
}

void StatusBarProgress::EndProgress()
{
    if (nesting_ == 0)
        return;
    if (--nesting_ == 0)
        Remove();
}

void StatusBarProgress::Remove()
{
    statusBar_.removeWidget(display_);
    delete display_;
    display_ = nullptr;
    text_ = nullptr;
    bar_ = nullptr;
    QApplication::restoreOverrideCursor();
}

} // namespace zelvane
