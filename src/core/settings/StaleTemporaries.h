#pragma once

#include <chrono>
#include <filesystem>
#include <string>

// What a save killed midway leaves beside the settings file: a temporary named
// after it, a point and six letters or digits, as both mkstemp and Qt's save
// file name theirs.
class StaleTemporaries {
public:
    // Removes those beside the file and beside the file its links lead to;
    // only regular files of this user, untouched for at least minimumAge.
    // Returns how many went.
    static int remove(const std::string& path, std::chrono::seconds minimumAge = std::chrono::minutes(1));

private:
    static int removeBeside(const std::filesystem::path& file, std::chrono::seconds minimumAge);
    static bool isTemporaryOf(const std::string& name, const std::string& fileName);
    static std::filesystem::path linkTarget(const std::filesystem::path& path);
};
