#include "app/QtReporter.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

namespace zelvane {

namespace {

QMessageBox::Icon ToQt(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Error:
    case MessageIcon::Stop:
        break;
    }
    return QMessageBox::Critical;
}

QMessageBox::StandardButtons ToQt(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

} // namespace

MessageAnswer QtReporter::ShowMessage(std::string_view text, MessageIcon icon, MessageButtons buttons)
{
    QMessageBox box(ToQt(icon), QStringLiteral("zelvane"),
                    QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size())), ToQt(buttons),
                    QApplication::activeWindow());
    // Escape and the close button choose the box's escape button (Cancel, No or
    // the only button), so exec always returns one of `buttons`.
    switch (box.exec()) {
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        return MessageAnswer::Ok;
    }
}

void QtReporter::BeginBusy()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtReporter::EndBusy()
{
    QApplication::restoreOverrideCursor();
}

} // namespace zelvane
