#include "app/UserGuide.h"

#include "report/ProgramFolders.h"
#include "report/Reporter.h"

#include <QDesktopServices>
#include <QUrl>

#include <filesystem>

namespace zelvane {

namespace {

bool OpenOrTell(const QUrl& address, const char* failure)
{
    if (address.isValid() && QDesktopServices::openUrl(address))
        return true;
    CurrentReporter().ShowMessage(failure, MessageIcon::Error, MessageButtons::Ok);
    return false;
}

} // namespace

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

bool OpenUserGuide()
{
    const std::optional<std::string> page = UserGuidePath();
    return OpenOrTell(page ? QUrl::fromLocalFile(QString::fromStdString(*page)) : QUrl(), kHelpFailedText);
}

bool OpenWebPage()
{
    return OpenOrTell(QUrl(QString::fromLatin1(kWebPageAddress)), kWebPageFailedText);
}

} // namespace zelvane
