#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <initializer_list>
#include <memory>
#include <vector>

// Turns SIGTERM and SIGINT into a signal on the event loop: the handler
// only writes a byte to a pipe, which is all a handler may safely do.
class SignalWatch final : public QObject {
    Q_OBJECT

public:
    // One watch a process: the handler's pipe is the process's.
    explicit SignalWatch(std::initializer_list<int> signalNumbers, QObject* parent = nullptr);
    ~SignalWatch() override;
    SignalWatch(const SignalWatch&) = delete;
    SignalWatch& operator=(const SignalWatch&) = delete;

signals:
    void received(int signalNumber);

private:
    static void handle(int signalNumber);
    void drain();

    std::unique_ptr<QSocketNotifier> notifier_;
    std::vector<int> signals_;
};
