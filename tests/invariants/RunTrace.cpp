#include "RunTrace.h"

RunTrace& RunTrace::instance()
{
    static RunTrace trace;
    return trace;
}

void RunTrace::open(const std::string& path)
{
    const std::lock_guard lock(mutex_);
    file_.close();
    if (!path.empty()) {
        file_.open(path);
    }
}

void RunTrace::close()
{
    const std::lock_guard lock(mutex_);
    file_.close();
}

void RunTrace::write(Moment at, const char* source, const std::string& text)
{
    const std::lock_guard lock(mutex_);
    if (file_.is_open()) {
        file_ << RunClock::ms(at) << '\t' << source << '\t' << text << '\n';
    }
}
