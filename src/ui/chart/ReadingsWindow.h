#pragma once

#include "chart/ReadingsChart.h"
#include "readings/CsvRecorder.h"

#include <QWidget>

class ReadingsModel;

class QAbstractButton;
class QButtonGroup;
class QLabel;
class QMenu;
class QMenuBar;

// "Графики": the readings over time, the charge counters and the CSV
// recording, as the readings model holds them. A window of its own that never
// blocks the main one; closing it only hides it, and while hidden it draws
// nothing while the model goes on counting and recording.
class ReadingsWindow : public QWidget {
    Q_OBJECT
public:
    explicit ReadingsWindow(ReadingsModel& model, QWidget* parent = nullptr);

    ReadingsChart& chart() { return *chart_; }

    // Shows the window in front.
    void open();
    // The main window's read-outs' menu gets this window, recording, counters.
    void fillQuickMenu(QMenu& menu);
    // Asks whether to append when the file has lines already. False when
    // cancelled or when the file cannot be written.
    bool recordTo(const QString& path);
    // Titled with the times shown, the model and the counters.
    bool savePng(const QString& path);
    bool exportCsv(const QString& path);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QMenuBar* createMenu();
    QLayout* createSpanRow();
    QLabel* createPointer();
    QLabel* createMarksLegend();
    QLayout* createCounterRow();
    void chooseRecordingFile();
    void choosePngFile();
    void chooseExportFile();
    void showCounters();
    void showRecording();
    void showFailure(const QString& message);

    void toggleRecording();

    ReadingsModel& model_;
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
};
