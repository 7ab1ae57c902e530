#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <chrono>

// Runs a program of ours as a child and reads its CPU time and peak memory from /proc.
class ProcessProbe {
public:
    ProcessProbe(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment);
    ~ProcessProbe();

    bool running() const;
    double cpuSeconds() const;
    double peakResidentMegabytes() const;
    QString firstLine();

    // The share of one core the child used over the given wall time.
    double cpuShareOver(std::chrono::seconds wall) const;

private:
    mutable QProcess process_;
};
