#pragma once

#include "readings/ChargeCounters.h"
#include "readings/CsvRecorder.h"
#include "readings/Reading.h"
#include "readings/ReadingHistory.h"
#include "readings/ReadingsChart.h"

#include <QWidget>

#include <iosfwd>

class QAbstractButton;
class QButtonGroup;
class QLabel;
class QMenuBar;

// "Графики": the readings over time, the charge counters and the CSV
// recording. A window of its own that never blocks the main one; closing it
// only hides it, and while hidden it keeps counting and recording but draws
// nothing.
class ReadingsWindow : public QWidget {
    Q_OBJECT
public:
    explicit ReadingsWindow(QWidget* parent = nullptr);

    const ReadingHistory& history() const { return history_; }
    const ChargeCounters& counters() const { return counters_; }
    bool isRecording() const { return recorder_.isRecording(); }
    ReadingsChart& chart() { return *chart_; }

    void addReading(const Reading& reading);
    // Shows the window in front.
    void open();
    // As the command line asks: open at once, and record to a file, appending
    // without a question to one that has lines, which `notes` is told.
    void start(bool openNow, const QString& recordFile, std::ostream& notes);
    // The menu of the main window's read-outs: this window, recording, counters.
    void showQuickMenu(const QPoint& globalPosition);
    void setFullScale(double volts, double amperes);
    // The supply's model, for the title of a saved picture.
    void setModelName(const QString& name);
    void resetCounters();
    // Asks whether to append when the file has lines already. False when
    // cancelled or when the file cannot be written.
    bool recordTo(const QString& path);
    bool startRecording(const QString& path, CsvRecorder::Mode mode);
    void stopRecording();
    // Titled with the times shown, the model and the counters.
    bool savePng(const QString& path);
    bool exportCsv(const QString& path);

signals:
    void recordingChanged(bool recording);
    void recordingFailed(const QString& message);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QMenuBar* createMenu();
    QLayout* createSpanRow();
    QLayout* createPointerRow();
    QLayout* createCounterRow();
    void chooseRecordingFile();
    void choosePngFile();
    void chooseExportFile();
    void showCounters();
    void showRecording();
    void showFailure(const QString& message);

    ReadingHistory history_;
    ChargeCounters counters_;
    CsvRecorder recorder_;
    ReadingsChart* chart_;
    QButtonGroup* spans_ = nullptr;
    QAbstractButton* follow_ = nullptr;
    QAbstractButton* record_ = nullptr;
    QLabel* pointer_ = nullptr;
    QLabel* ampereHours_ = nullptr;
    QLabel* wattHours_ = nullptr;
    QLabel* outputOnTime_ = nullptr;
    QLabel* recording_ = nullptr;
    QAction* stopAction_ = nullptr;
    QString modelName_;
};
