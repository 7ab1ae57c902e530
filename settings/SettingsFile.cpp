#include "settings/SettingsFile.h"

#include "settings/AtomicFile.h"
#include "toolkit/Cp1251.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

SettingsFile::SettingsFile(std::string path)
    : path_(std::move(path))
{
}

std::string SettingsFile::defaultPath()
{
    return configDirectory() + "/" + executableName() + ".ini";
}

std::string SettingsFile::configDirectory()
{
    // The environment is only read, and only from the window's thread.
    const char* xdg = std::getenv("XDG_CONFIG_HOME"); // NOLINT(concurrency-mt-unsafe)
    if (xdg != nullptr && xdg[0] == '/') {
        return xdg;
    }
    const char* home = std::getenv("HOME"); // NOLINT(concurrency-mt-unsafe)
    return std::string(home != nullptr ? home : "") + "/.config";
}

std::string SettingsFile::executableName()
{
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || executable.stem().empty()) {
        return "tendrel-controller";
    }
    return executable.stem().string();
}

IniDocument SettingsFile::load() const
{
    std::ifstream file(path_, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return IniDocument::parse(Cp1251::toUtf8(bytes));
}

bool SettingsFile::save(const IniDocument& document) const
{
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), error);
    return AtomicFile::replace(path_, Cp1251::fromUtf8(document.serialise()));
}
