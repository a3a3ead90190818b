#include "report/ErrorLog.h"

#include "report/LogFolder.h"
#include "report/Reporter.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace zelvane {

namespace {

constexpr std::string_view kProductWebSite = "https://zelvane.example.org/";

struct LogFile {
    const char* fileName;
    const char* cannotStartText;
    std::string path;
    bool started = false;
};

LogFile gDebugLog{"log.txt", "Could not initialize debug outputter", {}};
LogFile gErrorLog{"errors.txt", "Could not initialize Error outputter", {}};

bool Start(LogFile& log)
{
    if (log.started)
        return true;
    const std::optional<std::string> folder = LogFolder();
    std::error_code error;
    if (folder)
        std::filesystem::create_directories(*folder, error);
    if (!folder || error) {
        CurrentReporter().ShowMessage(log.cannotStartText, MessageIcon::Warning, MessageButtons::Ok);
        return false;
    }
    log.path = *folder + log.fileName;
    std::remove(log.path.c_str());
    log.started = true;
    return true;
}

void Append(LogFile& log, std::string_view text)
{
    if (!Start(log))
        return;
    std::FILE* file = std::fopen(log.path.c_str(), "a+");
    if (!file)
        return;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
}

} // namespace

void LogDebug(std::string_view text)
{
    Append(gDebugLog, text);
}

void ReportError(std::string_view text)
{
    Append(gErrorLog, text);
    CurrentReporter().ShowMessage(text, MessageIcon::Error, MessageButtons::Ok);
}

void FatalError(std::string_view text)
{
    ReportError(text);
    CurrentReporter().ShowMessage(text, MessageIcon::Stop, MessageButtons::Ok);
    std::_Exit(1);
}

void ReportWindowsError(std::string_view tag)
{
    std::string message(tag);
    message += "\n\nThis error was probably caused by an incompatable version of OpenGL.\n";
    message += "The correct version can be downloaded from the zelvane web site, ";
    message += kProductWebSite;
    message += "\n\nCreate a directory for zelvane\n";
    message += "    Copy zelvane.exe and the OpenGL dlls into this directory and try again.\n\n";
    message += "IMPORTANT!! DO NOT put the OpenGL dlls in your system directory.";
    FatalError(message);
}

} // namespace zelvane
