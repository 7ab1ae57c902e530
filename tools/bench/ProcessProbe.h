#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <chrono>

// Runs a program of ours as a child and reads its CPU time and memory from /proc.
class ProcessProbe {
public:
    ProcessProbe(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment);
    ~ProcessProbe();

    bool running() const;
    double cpuSeconds() const;
    double peakResidentMegabytes() const;
    // What the child holds in RAM that no other process shares: heap, stacks,
    // written library data.
    double privateAnonymousMegabytes() const;
    QString firstLine();
    // SIGTERM, then the exit code; -1 when it did not end normally in time.
    int terminateAndWait();

    // The share of one core the child used over the given wall time.
    double cpuShareOver(std::chrono::seconds wall) const;
    // The same to the nanosecond rather than the clock tick, for shares of a
    // few hundredths of a per cent; it misses threads that end in the window.
    double scheduledShareOver(std::chrono::seconds wall) const;

private:
    double scheduledSeconds() const;
    double megabytesIn(const QString& procFile, const QByteArray& field) const;

    mutable QProcess process_;
};
