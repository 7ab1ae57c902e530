#include "ProcessProbe.h"

#include <QDir>
#include <QFile>
#include <QThread>

#include <unistd.h>

ProcessProbe::ProcessProbe(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment)
{
    process_.setProcessEnvironment(environment);
    process_.setProcessChannelMode(QProcess::SeparateChannels);
    process_.start(program, arguments);
    process_.waitForStarted();
}

ProcessProbe::~ProcessProbe()
{
    process_.terminate();
    if (!process_.waitForFinished(2000)) {
        process_.kill();
        process_.waitForFinished(1000);
    }
}

bool ProcessProbe::running() const
{
    return process_.state() == QProcess::Running;
}

double ProcessProbe::cpuSeconds() const
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(process_.processId()));
    if (!stat.open(QIODevice::ReadOnly)) {
        return 0.0;
    }
    const QByteArray text = stat.readAll();
    // Fields after the command name, which may hold blanks, start past its ')'.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    const double ticks = fields.value(11).toDouble() + fields.value(12).toDouble();
    return ticks / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

double ProcessProbe::peakResidentMegabytes() const
{
    return megabytesIn(QStringLiteral("status"), "VmHWM:");
}

// Anonymous rather than Private_Dirty: the latter also counts written pages of
// shared mappings the child alone has open, such as a shared-memory buffer,
// which are not the program's own growth.
double ProcessProbe::privateAnonymousMegabytes() const
{
    return megabytesIn(QStringLiteral("smaps_rollup"), "Anonymous:");
}

// A field given in kB in one of the child's files under /proc; 0 when absent.
double ProcessProbe::megabytesIn(const QString& procFile, const QByteArray& field) const
{
    QFile file(QStringLiteral("/proc/%1/%2").arg(process_.processId()).arg(procFile));
    if (!file.open(QIODevice::ReadOnly)) {
        return 0.0;
    }
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith(field)) {
            return line.mid(field.size()).trimmed().split(' ').value(0).toDouble() / 1024.0;
        }
    }
    return 0.0;
}

QString ProcessProbe::firstLine()
{
    while (!process_.canReadLine() && process_.waitForReadyRead(2000)) { }
    return QString::fromUtf8(process_.readLine()).trimmed();
}

int ProcessProbe::terminateAndWait()
{
    process_.terminate();
    if (!process_.waitForFinished(15000) || process_.exitStatus() != QProcess::NormalExit) {
        return -1;
    }
    return process_.exitCode();
}

double ProcessProbe::cpuShareOver(std::chrono::seconds wall) const
{
    const double before = cpuSeconds();
    QThread::sleep(static_cast<unsigned long>(wall.count()));
    return (cpuSeconds() - before) / static_cast<double>(wall.count());
}

double ProcessProbe::scheduledShareOver(std::chrono::seconds wall) const
{
    const double before = scheduledSeconds();
    QThread::sleep(static_cast<unsigned long>(wall.count()));
    return (scheduledSeconds() - before) / static_cast<double>(wall.count());
}

// The first field of each thread's schedstat: its nanoseconds on a CPU.
double ProcessProbe::scheduledSeconds() const
{
    const QString tasks = QStringLiteral("/proc/%1/task").arg(process_.processId());
    double nanoseconds = 0.0;
    for (const QString& thread : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile schedstat(tasks + QLatin1Char('/') + thread + QStringLiteral("/schedstat"));
        if (schedstat.open(QIODevice::ReadOnly)) {
            nanoseconds += schedstat.readAll().split(' ').value(0).toDouble();
        }
    }
    return nanoseconds * 1e-9;
}
