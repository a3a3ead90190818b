#include "app/UserGuide.h"

#include "report/ProgramFolders.h"
#include "report/Reporter.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <filesystem>

namespace zelvane {

std::optional<std::string> UserGuidePath()
{
    const std::optional<std::string> folder = FindProgramFolder("Help");
    if (!folder)
        return std::nullopt;
    std::string page = *folder + "index.html";
    std::error_code ec;
    if (!std::filesystem::is_regular_file(page, ec))
        return std::nullopt;
    return page;
}

CUserGuideDlg::CUserGuideDlg(const std::string& firstPage, QWidget* parent)
    : QDialog(parent), browser_(new QTextBrowser)
{
    setObjectName(QStringLiteral("userGuide"));
    setWindowTitle(tr("zelvane user guide"));
    browser_->setObjectName(QStringLiteral("guideBrowser"));
    // Pages of the guide open here; addresses on the web go to a browser.
    browser_->setOpenLinks(false);
    connect(browser_, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
        if (link.isLocalFile() || link.isRelative())
            browser_->setSource(link);
        else
            OpenLink(link.toString(), "Could not open the link.");
    });
    const QString page = QFile::decodeName(QByteArray::fromStdString(firstPage));
    browser_->setSearchPaths({QFileInfo(page).absolutePath()});
    browser_->setSource(QUrl::fromLocalFile(page));

    auto* back = new QPushButton(tr("&Back"));
    back->setObjectName(QStringLiteral("guideBack"));
    auto* forward = new QPushButton(tr("&Forward"));
    forward->setObjectName(QStringLiteral("guideForward"));
    auto* contents = new QPushButton(tr("&Contents"));
    contents->setObjectName(QStringLiteral("guideContents"));
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(contents, &QPushButton::clicked, browser_, &QTextBrowser::home);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addWidget(contents);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(browser_, 1);
    layout->addLayout(buttons);
    resize(760, 640);
}

bool OpenUserGuide(QWidget* parent)
{
    const std::optional<std::string> page = UserGuidePath();
    if (!page) {
        CurrentReporter().ShowMessage(kHelpMissingText, MessageIcon::Error, MessageButtons::Ok);
        return false;
    }
    // One guide window for the program, kept until the program ends.
    static QPointer<CUserGuideDlg> shown;
    if (!shown) {
        shown = new CUserGuideDlg(*page, parent);
        shown->setAttribute(Qt::WA_DeleteOnClose, false);
    }
    shown->show();
    shown->raise();
    shown->activateWindow();
    return true;
}

bool OpenLink(const QString& address, const char* failure)
{
    const QUrl url(address);
    if (url.isValid() && QDesktopServices::openUrl(url))
        return true;
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setText(address);
    const std::string text = std::string(failure) + "\n\nNo web browser could be started. Open " +
                             address.toStdString() +
                             " in a browser yourself: the address has been copied to the clipboard. (A desktop "
                             "opens links with xdg-open; installing the xdg-utils package and a browser makes "
                             "this work.)";
    CurrentReporter().ShowMessage(text, MessageIcon::Warning, MessageButtons::Ok);
    return false;
}

bool OpenWebPage()
{
    return OpenLink(QString::fromLatin1(kWebPageAddress), kWebPageFailedText);
}

} // namespace zelvane
