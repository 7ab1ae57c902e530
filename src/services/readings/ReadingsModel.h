#pragma once

#include "program/ChargeCounters.h"
#include "readings/CsvRecorder.h"
#include "readings/Reading.h"
#include "readings/ReadingHistory.h"

#include <QObject>
#include <QString>

#include <iosfwd>
#include <string>

class SupplyOutlook;
struct RunSummary;
struct OutwardState;

// The readings over time with their charge counters and CSV recording. It
// keeps counting and recording whether or not a window shows it.
class ReadingsModel final : public QObject {
    Q_OBJECT

public:
    explicit ReadingsModel(QObject* parent = nullptr);

    // Takes the supply's state at each of its full statuses, and a gap for
    // each loss of the link or of fresh readings. A running program's step
    // and events go into the readings, its summary beside the recording; a
    // trip goes in with or without a program.
    void follow(const SupplyOutlook& outlook);

    const ReadingHistory& history() const { return history_; }
    const ChargeCounters& counters() const { return counters_; }
    const CsvRecorder& recorder() const { return recorder_; }
    bool isRecording() const { return recorder_.isRecording(); }
    double voltageFullScale() const { return voltageFullScale_; }
    double currentFullScale() const { return currentFullScale_; }
    // The supply's model, for the title of a saved picture.
    const QString& modelName() const { return modelName_; }

    void addReading(const Reading& reading);
    void setFullScale(double volts, double amperes);
    void setModelName(const QString& name) { modelName_ = name; }
    void resetCounters();
    // The running program's step for the readings to come; 0 when none runs.
    void setProgramStep(int step) { programStep_ = step; }
    // Goes with the next reading, into its record and as a mark in the chart.
    void noteEvent(const std::string& event);
    // Events that no reading will carry, as when the readings end, go on a
    // gap of their own.
    void recordPendingEvents();
    bool startRecording(const QString& path, CsvRecorder::Mode mode);
    void stopRecording();
    // As the command line asks: appending without a question to a file that
    // has lines, which `notes` is told in English, as is a recording that
    // cannot start.
    void recordFromCommandLine(const QString& path, std::ostream& notes);

    // The supply's state, stamped now: a gap without a present reading.
    static Reading readingOf(const OutwardState& state);
    // A lost link or stale readings: a gap in the chart and an empty line in the record.
    static Reading gap();

signals:
    void readingAdded();
    void countersReset();
    void fullScaleChanged(double volts, double amperes);
    void recordingChanged(bool recording);
    // In the window's words and in English.
    void recordingFailed(const QString& message, const QString& inEnglish);

private:
    void followPrograms(const SupplyOutlook& outlook);
    void writeSummary(const RunSummary& summary);

    ReadingHistory history_;
    ChargeCounters counters_;
    CsvRecorder recorder_;
    double voltageFullScale_ = 0.0;
    double currentFullScale_ = 0.0;
    QString modelName_;
    int programStep_ = 0;
    std::string pendingEvents_;
};
