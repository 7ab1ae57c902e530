#pragma once

#include "Moment.h"

#include <fstream>
#include <mutex>
#include <string>

// Everything a run saw, in one file in the order it happened: the actions
// issued, the frame log and the event log, each line with its moment; for
// reading a failure through. Off unless given a file.
class RunTrace {
public:
    static RunTrace& instance();
    void open(const std::string& path);
    void close();
    void write(Moment at, const char* source, const std::string& text);

private:
    std::mutex mutex_;
    std::ofstream file_;
};
