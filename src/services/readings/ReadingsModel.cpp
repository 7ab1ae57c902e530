#include "readings/ReadingsModel.h"

#include "controller/SupplyController.h"
#include "engine/ProgramEngine.h"
#include "engine/ProtectionWatch.h"
#include "outlook/SupplyOutlook.h"
#include "readings/RunSummaryFile.h"

#include <QFile>
#include <QFileInfo>

#include <ostream>
#include <utility>

ReadingsModel::ReadingsModel(QObject* parent)
    : QObject(parent)
{
    connect(&recorder_, &CsvRecorder::recordingChanged, this, &ReadingsModel::recordingChanged);
    connect(&recorder_, &CsvRecorder::failed, this, &ReadingsModel::recordingFailed);
}

void ReadingsModel::follow(const SupplyOutlook& outlook)
{
    const SupplyController& controller = outlook.controller();
    connect(&controller, &SupplyController::measured, this, [this, &outlook] { addReading(readingOf(outlook.now())); });
    for (const auto lost : {&SupplyController::linkLost, &SupplyController::measurementsStale}) {
        connect(&controller, lost, this, [this] { addReading(gap()); });
    }
    connect(&controller, &SupplyController::supplyIdentified, this,
        [this, &controller](const QString&, const QString& model) {
            setFullScale(controller.profile().voltageMax, controller.profile().currentMax);
            setModelName(model);
        });
    followPrograms(outlook);
}

void ReadingsModel::followPrograms(const SupplyOutlook& outlook)
{
    const ProgramEngine& programs = outlook.programs();
    connect(&programs, &ProgramEngine::stepStarted, this, &ReadingsModel::setProgramStep);
    connect(
        &programs, &ProgramEngine::runEvent, this, [this](const QString& event) { noteEvent(event.toStdString()); });
    connect(&programs, &ProgramEngine::finished, this, [this](const RunSummary& summary) {
        setProgramStep(0);
        writeSummary(summary);
    });
    connect(&outlook.protection(), &ProtectionWatch::trippedOn, this, [this] { noteEvent("trip"); });
}

void ReadingsModel::writeSummary(const RunSummary& summary)
{
    if (!isRecording()) {
        return;
    }
    const Phrase problem = RunSummaryFile::write(RunSummaryFile::pathBeside(recorder_.path(), summary), summary);
    if (!problem.isEmpty()) {
        emit recordingFailed(problem.inWindow(), problem.inEnglish());
    }
}

void ReadingsModel::noteEvent(const std::string& event)
{
    pendingEvents_ += pendingEvents_.empty() ? event : ";" + event;
}

void ReadingsModel::recordPendingEvents()
{
    if (!pendingEvents_.empty()) {
        addReading(gap());
    }
}

void ReadingsModel::addReading(const Reading& taken)
{
    Reading reading = taken;
    reading.programStep = programStep_;
    reading.events = std::exchange(pendingEvents_, {});
    history_.append(reading);
    counters_.add({reading.monotonic, reading.voltage, reading.current, reading.linked && reading.outputOn});
    recorder_.record(reading);
    emit readingAdded();
}

void ReadingsModel::setFullScale(double volts, double amperes)
{
    voltageFullScale_ = volts;
    currentFullScale_ = amperes;
    emit fullScaleChanged(volts, amperes);
}

void ReadingsModel::resetCounters()
{
    counters_.reset();
    emit countersReset();
}

bool ReadingsModel::startRecording(const QString& path, CsvRecorder::Mode mode)
{
    return recorder_.start(path, mode);
}

void ReadingsModel::stopRecording()
{
    recorder_.stop();
}

void ReadingsModel::recordFromCommandLine(const QString& path, std::ostream& notes)
{
    // Never a question that nobody may be there to answer, never an overwrite.
    const QFileInfo file(path);
    if (file.exists() && file.size() > 0) {
        notes << "--record: appending to " << QFile::encodeName(path).constData() << '\n';
    }
    // A bench without a screen sees no message box: the refusal goes to the notes too, in English.
    const QMetaObject::Connection told = connect(
        &recorder_, &CsvRecorder::failed, this, [&notes](const QString& /*inWindow*/, const QString& inEnglish) {
            notes << "--record: " << inEnglish.toUtf8().constData() << '\n';
        });
    startRecording(path, CsvRecorder::Mode::Append);
    disconnect(told);
}

Reading ReadingsModel::readingOf(const OutwardState& state)
{
    Reading reading = gap();
    if (!state.reading) {
        return reading;
    }
    reading.linked = true;
    reading.monotonic = state.reading->at;
    reading.voltage = state.reading->volts;
    reading.current = state.reading->amperes;
    reading.voltageRegulated = state.reading->voltageRegulated;
    reading.outputOn = state.reading->outputOn;
    reading.setVoltage = state.voltageSetpoint;
    reading.setCurrent = state.currentSetpoint;
    return reading;
}

Reading ReadingsModel::gap()
{
    Reading reading;
    reading.time = std::chrono::system_clock::now();
    reading.monotonic = std::chrono::steady_clock::now();
    return reading;
}
