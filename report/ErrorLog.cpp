#include "report/ErrorLog.h"

#include "report/LogFolder.h"
#include "report/Reporter.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace zelvane {

namespace {


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
    message += "\n\nzelvane could not use OpenGL: the graphics driver gave no OpenGL 2.1 context with the "
               "compatibility profile, or it stopped working.\n\n";
    message += "What to try:\n";
    message += "  - Install Mesa's OpenGL driver (Debian: sudo apt install libgl1-mesa-dri libglx-mesa0), or the "
               "driver your graphics card's maker provides.\n";
    message += "  - Start zelvane with Mesa's software rasteriser: LIBGL_ALWAYS_SOFTWARE=1 zelvane\n";
    message += "    (or set ForceSWRender=1 in the [Settings] section of ~/.config/zelvane/zelvane.conf).\n";
    message += "  - Over a remote connection, start zelvane on the machine whose screen it shows.";
    FatalError(message);
}

} // namespace zelvane
