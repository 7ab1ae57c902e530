#pragma once

#include <string>

// A symbolic link with a stable name to a device whose name changes between runs.
// Removed on destruction, but only while it still points where this object put it.
class DeviceLink {
public:
    DeviceLink() = default;
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // Replaces an existing symbolic link at path; refuses to replace anything else.
    bool create(const std::string& path, const std::string& target);
    void remove();

private:
    bool pointsAtTarget() const;

    std::string path_;
    std::string target_;
};
