#include "InvariantRig.h"

#include "EventLoopWait.h"
#include "FreeTcpPort.h"
#include "link/PortList.h"
#include "settings/ControllerSettings.h"
#include "settings/SettingsFile.h"

#include <QDir>
#include <QFile>

#include <cstdlib>

namespace {

SimulatedSupply::Options supplyOptions(int modelCode, const QString& link)
{
    SimulatedSupply::Options options;
    options.modelCode = modelCode;
    options.linkPath = link.toStdString();
    // Hours of polls would fill the memory; the frame log is kept by the run.
    options.recordFrames = false;
    return options;
}

} // namespace

InvariantRig::InvariantRig(const Options& options)
    : options_(options)
    , supply_(supplyOptions(options.modelCode, directory_.filePath(QStringLiteral("supply"))))
    , console_(supply_)
    , book_(options.checks)
{
}

InvariantRig::~InvariantRig()
{
    checks_.reset();
    journal_.reset();
    scraper_.reset();
    peer_.reset();
    scpi_.reset();
    bridge_.reset();
    if (bench_) {
        bench_->shutDown();
    }
    eventLog_.reset();
    bench_.reset();
    ::unsetenv(PortList::kOverrideVariable);
}

bool InvariantRig::start(std::function<void()> afterReply, std::string& problem)
{
    log_.attach(supply_);
    if (!supply_.start() || !prepareSettings(problem)) {
        problem = problem.empty() ? "the simulated supply would not start" : problem;
        return false;
    }
    bench_ = std::make_unique<Bench>(std::vector<std::string>{""}, SerialPortFactory{}, options_.timing);
    if (!station().settings().listPorts() || !startServers(problem) || !startMqtt(problem)) {
        return false;
    }
    follow(std::move(afterReply));
    bench_->start();
    if (!spinUntil([this] { return station().controller().live(); }, std::chrono::seconds(10))) {
        problem = "the supply was not found: " + messages_.str();
        return false;
    }
    addHotValues();
    return connectClients(problem);
}

// The settings file of this run: MQTT commands allowed.
bool InvariantRig::prepareSettings(std::string& problem)
{
    const QString config = directory_.filePath(QStringLiteral("config"));
    QDir().mkpath(config);
    ::setenv("XDG_CONFIG_HOME", config.toLocal8Bit().constData(), 1);
    ::setenv(PortList::kOverrideVariable, supply_.devicePath().c_str(), 1);
    QFile settings(QString::fromStdString(SettingsFile::defaultPath()));
    if (!settings.open(QIODevice::WriteOnly)) {
        problem = "cannot write " + settings.fileName().toStdString();
        return false;
    }
    settings.write("[MQTT]\r\nCommands=1\r\n");
    return true;
}

bool InvariantRig::startServers(std::string& problem)
{
    scpiPort_ = freeTcpPort();
    bench_->startRemote({"127.0.0.1:" + std::to_string(scpiPort_), {}}, messages_);
    const quint16 metricsPort = freeTcpPort();
    bench_->startMetrics({"127.0.0.1:" + std::to_string(metricsPort), {}}, messages_);
    if (bench_->remote() == nullptr || bench_->metrics() == nullptr) {
        problem = "the servers would not start: " + messages_.str();
        return false;
    }
    scraper_ = std::make_unique<MetricsScraper>(metricsPort, std::chrono::milliseconds(700));
    const QString csv = directory_.filePath(QStringLiteral("run.csv"));
    if (!station().readings().startRecording(csv, CsvRecorder::Mode::Overwrite)) {
        problem = "cannot record to " + csv.toStdString();
        return false;
    }
    return true;
}

// Without Debian's broker the run goes on without MQTT, and says so.
bool InvariantRig::startMqtt(std::string& problem)
{
    if (!options_.mqtt || !MosquittoBroker::installed()) {
        return true;
    }
    mqttPort_ = freeTcpPort();
    broker_ = std::make_unique<MosquittoBroker>();
    if (!broker_->start(directory_.path(), mqttPort_)) {
        problem = "mosquitto would not start";
        return false;
    }
    SupplyStation& station = this->station();
    bridge_ = MqttBridge::start({{station.controller(), station.programs(), station.outlook(), station.portName()}},
        {"127.0.0.1:" + std::to_string(mqttPort_), ControllerSettings().load().mqtt}, messages_);
    if (bridge_ == nullptr) {
        problem = "the MQTT bridge would not start: " + messages_.str();
        return false;
    }
    return true;
}

// The checks follow last, after every observer has connected.
void InvariantRig::follow(std::function<void()> afterReply)
{
    eventLog_ = std::make_unique<EventLog>(tap_.stream(), EventLog::Style::Terminal);
    eventLog_->follow(station());
    scpi_ = std::make_unique<ScpiClient>(scpiPort_);
    if (bridge_ != nullptr) {
        peer_ = std::make_unique<MqttPeer>(mqttPort_);
    }
    journal_ = std::make_unique<StationJournal>(station(), tap_);
    checks_ = std::make_unique<CheckSet>(*journal_, log_, tap_, supply_, scpi_.get(),
        directory_.filePath(QStringLiteral("run.csv")).toStdString(), book_);
    checks_->setMqtt(peer_.get());
    journal_->follow(checks_->hooks(std::move(afterReply)));
    scpi_->finished = [this](const ScpiClient::Line& line) { checks_->scpiFinished(line); };
    scraper_->scraped = [this](const MetricsScraper::Scrape& scrape) { checks_->metricsScraped(scrape); };
    if (peer_ != nullptr) {
        peer_->stateHeard = [this](const MqttPeer::Message& message) { checks_->mqttState(message); };
        peer_->sent = [this](const MqttPeer::Sent& sent) { checks_->mqttSent(sent); };
    }
}

bool InvariantRig::connectClients(std::string& problem)
{
    if (!scpi_->connectToServer()) {
        problem = "the remote client could not connect";
        return false;
    }
    if (peer_ != nullptr
        && (!peer_->start() || !spinUntil([this] { return peer_->ready(); }, std::chrono::seconds(10)))) {
        problem = "the MQTT peer heard no state";
        return false;
    }
    return true;
}

// Pairs in the list, as a user keeps them.
void InvariantRig::addHotValues()
{
    StationSettings& settings = station().settings();
    const ModelProfile& model = station().controller().profile();
    settings.addHotValue(model.voltageMin + 2.0, model.currentMin + 0.5);
    settings.addHotValue(std::min(model.voltageMax, 12.0), std::min(model.currentMax, 2.0));
    settings.addHotValue(std::min(model.voltageMax, 5.0), model.currentMin);
}
