#pragma once

// A self-pipe that wakes a thread blocked in poll(2). notify() only calls write(2),
// so it may also be called from a signal handler.
class WakePipe {
public:
    WakePipe();
    ~WakePipe();
    WakePipe(const WakePipe&) = delete;
    WakePipe& operator=(const WakePipe&) = delete;

    bool isValid() const { return readFd_ >= 0; }
    int readFd() const { return readFd_; }
    void notify() const;
    void drain() const;

private:
    int readFd_ = -1;
    int writeFd_ = -1;
};
