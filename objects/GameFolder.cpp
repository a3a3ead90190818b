// Game folder discovery: the sources in order, the profile's INI file and the
// Wine registry with its drive mapping.

#include "objects/GameFolder.h"

#include "report/UserFolders.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace zelvane {

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string Trim(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// Undoes the quoting and backslash escapes of INI and registry files.
std::string Unquote(const std::string& text)
{
    std::string value = Trim(text);
    if (value.size() < 2 || value.front() != '"' || value.back() != '"')
        return value;
    std::string out;
    for (size_t i = 1; i + 1 < value.size(); ++i) {
        if (value[i] == '\\' && i + 2 < value.size())
            ++i;
        out += value[i];
    }
    return out;
}

bool IsReadable(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

bool IsFolder(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && fs::is_directory(path, ec);
}

std::string WithSlash(std::string path)
{
    if (!path.empty() && path.back() != '/')
        path += '/';
    return path;
}

} // namespace

GameFolderInputs GameFolderInputs::FromEnvironment(std::optional<std::string> commandLine,
                                                   std::vector<std::string> sampleFolders)
{
    GameFolderInputs inputs;
    inputs.commandLine = std::move(commandLine);
    if (const char* value = std::getenv("SIMS_DATA"); value && *value)
        inputs.environment = value;
    if (const std::optional<std::string> config = UserFolderPath(UserFolder::Config)) {
        // The editor takes an earlier version's zelvane.ini over as zelvane.conf
        // when it starts; until then the old file still says where the game is.
        inputs.profilePath = *config + "zelvane.conf";
        if (!IsReadable(inputs.profilePath) && IsReadable(*config + "zelvane.ini"))
            inputs.profilePath = *config + "zelvane.ini";
    }
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix)
        inputs.winePrefix = prefix;
    else if (const std::optional<std::string> home = HomeFolder())
        inputs.winePrefix = *home + ".wine";
    inputs.sampleFolders = std::move(sampleFolders);
    return inputs;
}

std::optional<std::string> ReadIniValue(const std::string& path, const std::string& section, const std::string& key)
{
    std::ifstream in(path);
    if (!in)
        return std::nullopt;
    std::string line, current;
    while (std::getline(in, line)) {
        line = Trim(line);
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            current = line.substr(1, line.size() - 2);
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string::npos || current != section)
            continue;
        if (Trim(line.substr(0, equals)) == key)
            return Unquote(line.substr(equals + 1));
    }
    return std::nullopt;
}

std::optional<std::string> ReadWineGameFolder(const std::string& systemReg)
{
    std::ifstream in(systemReg);
    if (!in)
        return std::nullopt;
    // Key lines look like [Software\\Maxis\\The Sims] 1600000000, backslashes doubled.
    const std::string wanted = "software\\\\maxis\\\\the sims";
    std::string line;
    bool inKey = false;
    while (std::getline(in, line)) {
        line = Trim(line);
        if (!line.empty() && line.front() == '[') {
            const size_t close = line.find(']');
            inKey = close != std::string::npos && Lower(line.substr(1, close - 1)) == wanted;
            continue;
        }
        if (!inKey)
            continue;
        const size_t equals = line.find("\"=");
        if (equals == std::string::npos || Lower(line.substr(0, equals + 1)) != "\"sims_data\"")
            continue;
        std::string value = line.substr(equals + 2);
        if (value.rfind("str(2):", 0) == 0) // an expandable string
            value = value.substr(7);
        return Unquote(value);
    }
    return std::nullopt;
}

std::optional<std::string> MapWinePath(const std::string& winePrefix, const std::string& windowsPath)
{
    if (windowsPath.size() < 2 || windowsPath[1] != ':' || !std::isalpha(static_cast<unsigned char>(windowsPath[0])))
        return std::nullopt;
    const char drive = static_cast<char>(std::tolower(static_cast<unsigned char>(windowsPath[0])));
    std::string root = winePrefix + "/dosdevices/" + drive + ":";
    if (!IsFolder(root)) {
        if (drive != 'c' || !IsFolder(winePrefix + "/drive_c"))
            return std::nullopt;
        root = winePrefix + "/drive_c";
    }
    // Windows ignores case; the Linux folders may not match the registry's spelling.
    fs::path path = root;
    size_t start = 2;
    while (start < windowsPath.size()) {
        size_t end = windowsPath.find_first_of("\\/", start);
        if (end == std::string::npos)
            end = windowsPath.size();
        const std::string part = windowsPath.substr(start, end - start);
        start = end + 1;
        if (part.empty())
            continue;
        fs::path next = path / part;
        std::error_code ec;
        if (!fs::exists(next, ec)) {
            for (const auto& item : fs::directory_iterator(path, ec))
                if (Lower(item.path().filename().string()) == Lower(part)) {
                    next = item.path();
                    break;
                }
        }
        path = next;
    }
    return path.string();
}

GameFolderChoice FindGameFolder(const GameFolderInputs& inputs)
{
    GameFolderChoice choice;
    auto consider = [&](const std::optional<std::string>& folder, GameFolderSource source, const char* what) {
        if (!folder || choice.source != GameFolderSource::None)
            return;
        if (IsFolder(*folder)) {
            choice.folder = WithSlash(*folder);
            choice.source = source;
        } else {
            choice.notes.push_back(std::string(what) + " names \"" + *folder + "\", which is not a folder");
        }
    };
    consider(inputs.commandLine, GameFolderSource::CommandLine, "the command line");
    consider(inputs.environment, GameFolderSource::Environment, "SIMS_DATA");
    consider(ReadIniValue(inputs.profilePath, "Settings", "SIMS_DATA"), GameFolderSource::Profile, "the profile");
    if (choice.source == GameFolderSource::None && !inputs.winePrefix.empty()) {
        if (const auto windows = ReadWineGameFolder(inputs.winePrefix + "/system.reg")) {
            const auto mapped = MapWinePath(inputs.winePrefix, *windows);
            if (mapped)
                consider(mapped, GameFolderSource::WineRegistry, "the Wine registry");
            else
                choice.notes.push_back("the Wine registry names \"" + *windows + "\" on a drive Wine does not map");
        }
    }
    for (const std::string& sample : inputs.sampleFolders)
        if (choice.source == GameFolderSource::None && IsFolder(sample)) {
            choice.folder = WithSlash(sample);
            choice.source = GameFolderSource::SampleGame;
        }
    return choice;
}

std::vector<std::string> SampleGameFolders(const std::string& executableFolder)
{
    const fs::path here = executableFolder;
    return {(here / "../sample-game").lexically_normal().string(),
            (here / "../../sample-game").lexically_normal().string(),
            (here / "../share/zelvane/sample-game").lexically_normal().string()};
}

const char* GameFolderSourceName(GameFolderSource source)
{
    switch (source) {
    case GameFolderSource::CommandLine: return "command line";
    case GameFolderSource::Environment: return "SIMS_DATA";
    case GameFolderSource::Profile: return "profile";
    case GameFolderSource::WineRegistry: return "Wine registry";
    case GameFolderSource::SampleGame: return "sample game";
    case GameFolderSource::None: break;
    }
    return "none";
}

} // namespace zelvane
