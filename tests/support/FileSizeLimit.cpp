#include "FileSizeLimit.h"

FileSizeLimit::FileSizeLimit(rlim_t bytes)
    : previousHandler_(std::signal(SIGXFSZ, SIG_IGN)) // else the process is killed
{
    ::getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limited = previous_;
    limited.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limited);
}

FileSizeLimit::~FileSizeLimit()
{
    ::setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
}
