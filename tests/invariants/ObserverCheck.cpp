#include "ObserverCheck.h"

#include "SimulatedSupply.h"
#include "ViolationBook.h"
#include "station/SupplyStation.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace {

constexpr auto kStale = SupplyController::kStaleAfter;
// What a loaded machine may add before an observer hears of staleness.
constexpr auto kSlack = std::chrono::milliseconds(300);
constexpr double kThreeDecimals = 0.0005;
constexpr double kFourDecimals = 0.00005;
constexpr double kExact = 1e-6;

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::istringstream stream(text);
    for (std::string part; std::getline(stream, part, separator);) {
        parts.push_back(part);
    }
    if (!text.empty() && text.back() == separator) {
        parts.emplace_back();
    }
    return parts;
}

std::optional<double> number(const std::string& text)
{
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    return text.empty() || end != text.c_str() + text.size() ? std::nullopt : std::optional(value);
}

std::optional<double> jsonNumber(const QJsonObject& json, const char* key)
{
    const QJsonValue value = json.value(QLatin1String(key));
    return value.isDouble() ? std::optional(value.toDouble()) : std::nullopt;
}

// "CURR?" after "MEAS:VOLT?" is MEAS:CURR?, as a command after ';' is read
// below the previous one's path: a plain query is the setpoint's only when
// written from the root or after a command with no path.
bool fromRoot(const std::vector<std::string>& commands, std::size_t index)
{
    if (!commands[index].empty() && commands[index].front() == ':') {
        return true;
    }
    for (std::size_t i = index; i-- > 0;) {
        if (!commands[i].empty() && commands[i].front() != '*') {
            const std::string header = commands[i].substr(0, commands[i].find(' '));
            return header.find(':', header.front() == ':' ? 1 : 0) == std::string::npos;
        }
    }
    return true;
}

std::string shown(std::optional<double> value)
{
    return value ? std::to_string(*value) : "nothing";
}

} // namespace

ObserverCheck::ObserverCheck(
    StationJournal& journal, const SimulatedSupply& supply, std::string csvPath, ViolationBook& book)
    : journal_(journal)
    , supply_(supply)
    , book_(book)
    , csv_(csvPath)
{
}

std::optional<SlotWindow> ObserverCheck::window() const
{
    if (voltsFullScale_ <= 0.0) {
        return std::nullopt;
    }
    return SlotWindow(journal_, voltsFullScale_, amperesFullScale_);
}

// The reply before the one in effect at that moment: an observer that
// refreshes at each poll may show what held then.
Moment ObserverCheck::pollBefore(Moment at) const
{
    const std::optional<Moment> last = journal_.replyBefore(at);
    const std::optional<Moment> before = last ? journal_.replyBefore(*last - std::chrono::microseconds(1)) : last;
    return before.value_or(last.value_or(at));
}

std::optional<Moment> ObserverCheck::measuredBefore(Moment at) const
{
    for (auto it = measuredAt_.rbegin(); it != measuredAt_.rend(); ++it) {
        if (*it <= at) {
            return *it;
        }
    }
    return std::nullopt;
}

// Stale for certain at that moment: no reading for longer than the threshold and the slack.
bool ObserverCheck::staleAt(Moment at) const
{
    const std::optional<Moment> last = measuredBefore(at);
    return !last || at - *last > kStale + kSlack;
}

void ObserverCheck::measured(const Measurement& /*measurement*/)
{
    const SupplyController& controller = journal_.station().controller();
    voltsFullScale_ = controller.profile().voltageMax;
    amperesFullScale_ = controller.profile().currentMax;
    measuredAt_.push_back(Clock::now());
    while (measuredAt_.size() > 1 && Clock::now() - measuredAt_.front() > std::chrono::seconds(60)) {
        measuredAt_.pop_front();
    }
    const std::string line = newestCsvLine();
    if (!line.empty()) {
        checkCsv(line);
    }
}

// The file is written as each reading comes: its last whole line is the newest.
std::string ObserverCheck::newestCsvLine()
{
    csv_.clear();
    char buffer[4096];
    while (csv_.read(buffer, sizeof buffer) || csv_.gcount() > 0) {
        csvPartial_.append(buffer, static_cast<std::size_t>(csv_.gcount()));
    }
    std::size_t end = csvPartial_.rfind('\n');
    if (end == std::string::npos) {
        return {};
    }
    const std::size_t start = end == 0 ? std::string::npos : csvPartial_.rfind('\n', end - 1);
    csvLast_ = csvPartial_.substr(
        start == std::string::npos ? 0 : start + 1, end - (start == std::string::npos ? 0 : start + 1));
    csvPartial_.erase(0, end + 1);
    return csvLast_;
}

void ObserverCheck::checkCsv(const std::string& line)
{
    const std::vector<std::string> fields = split(line, ',');
    const auto states = window();
    if (fields.size() < 9 || fields[2].empty() || !states) {
        return;
    }
    const Moment now = Clock::now();
    const Moment from = pollBefore(now);
    const std::optional<double> volts = number(fields[7]);
    const std::optional<double> amperes = number(fields[8]);
    if (!states->voltageShown(from, now, volts, kThreeDecimals)) {
        book_.report("5/csv",
            "the CSV line of the reading at " + RunClock::stamp(now) + " has set_voltage_V '" + fields[7]
                + "'; the supply holds " + states->describe(from, now, true));
    }
    if (!states->currentShown(from, now, amperes, kThreeDecimals)) {
        book_.report("5/csv",
            "the CSV line of the reading at " + RunClock::stamp(now) + " has set_current_A '" + fields[8]
                + "'; the supply holds " + states->describe(from, now, false));
    }
}

void ObserverCheck::scpiFinished(const ScpiClient::Line& line)
{
    if (!line.answer || line.timedOut) {
        return;
    }
    std::vector<std::string> queries;
    const std::vector<std::string> commands = split(line.text, ';');
    for (std::size_t i = 0; i < commands.size(); ++i) {
        if (!commands[i].empty() && commands[i].back() == '?') {
            const std::string query = commands[i].front() == ':' ? commands[i].substr(1) : commands[i];
            queries.push_back(fromRoot(commands, i) ? query : "(below a path) " + query);
        }
    }
    const std::vector<std::string> answers = split(*line.answer, ';');
    // A line stops at its first error: its answers then no longer pair with its queries.
    if (answers.size() != queries.size()) {
        return;
    }
    for (std::size_t i = 0; i < queries.size(); ++i) {
        checkScpiAnswer(line, queries[i], answers[i]);
    }
}

void ObserverCheck::checkScpiAnswer(const ScpiClient::Line& line, const std::string& query, const std::string& answer)
{
    const auto states = window();
    const std::optional<double> value = number(answer);
    if (!states || !value) {
        return;
    }
    const bool volts = query == "VOLT?";
    if ((volts || query == "CURR?")
        && !(volts ? states->voltageShown(line.sent, line.answered, value, kThreeDecimals)
                   : states->currentShown(line.sent, line.answered, value, kThreeDecimals))) {
        book_.report("5/scpi",
            "'" + query + "' in '" + line.text + "' answered " + answer + " at " + RunClock::stamp(line.answered)
                + "; the supply holds " + states->describe(line.sent, line.answered, volts));
    }
    if (query.rfind("MEAS:", 0) == 0) {
        const std::optional<Moment> last = measuredBefore(line.answered);
        if (!last || *last < line.sent - kStale - kSlack) {
            book_.report("5/scpi-stale",
                "'" + query + "' answered " + answer + " at " + RunClock::stamp(line.answered)
                    + " though no reading had come since " + (last ? RunClock::stamp(*last) : "the link was lost"));
        }
    }
}

void ObserverCheck::metricsScraped(const MetricsScraper::Scrape& scrape)
{
    const auto states = window();
    if (!states) {
        return;
    }
    const auto sample = [&scrape](const char* name) {
        const auto found = scrape.samples.find(name);
        return found == scrape.samples.end() ? std::nullopt : std::optional(found->second);
    };
    const Moment from = pollBefore(scrape.asked);
    const auto volts = sample("tendrel_supply_voltage_setpoint_volts");
    const auto amperes = sample("tendrel_supply_current_setpoint_amperes");
    if (!states->voltageShown(from, scrape.answered, volts, kExact)
        || !states->currentShown(from, scrape.answered, amperes, kExact)) {
        book_.report("5/metrics",
            "the metrics scraped at " + RunClock::stamp(scrape.answered) + " give the setpoints " + shown(volts)
                + " V, " + shown(amperes) + " A; the supply holds " + states->describe(from, scrape.answered, true)
                + " V, " + states->describe(from, scrape.answered, false) + " A");
    }
    if (sample("tendrel_supply_voltage_volts") && staleAt(scrape.asked) && staleAt(scrape.answered)) {
        book_.report("5/metrics-stale",
            "the metrics scraped at " + RunClock::stamp(scrape.answered) + " give a voltage reading, stale since "
                + (measuredBefore(scrape.answered) ? RunClock::stamp(*measuredBefore(scrape.answered)) : "ever"));
    }
}

void ObserverCheck::mqttState(const MqttPeer::Message& message)
{
    const auto states = window();
    if (!states) {
        return;
    }
    const Moment from = pollBefore(message.at);
    const auto volts = jsonNumber(message.json, "voltage_setpoint");
    const auto amperes = jsonNumber(message.json, "current_setpoint");
    if (!states->voltageShown(from, message.at, volts, kFourDecimals)
        || !states->currentShown(from, message.at, amperes, kFourDecimals)) {
        book_.report("5/mqtt",
            "the MQTT state heard at " + RunClock::stamp(message.at) + " gives the setpoints " + shown(volts) + " V, "
                + shown(amperes) + " A; the supply holds " + states->describe(from, message.at, true) + " V, "
                + states->describe(from, message.at, false) + " A");
    }
}

void ObserverCheck::onEvent(const SimEvent& event, const ToggleLedger::Match* /*toggles*/)
{
    if (event.command() && event.fate == SimEvent::Fate::PanelSwitch) {
        ignoredUnseen_ = event.at;
    }
}

void ObserverCheck::atReplyEnd()
{
    checkTruth();
    checkStaleness();
}

// Once every command has been answered for, the supply holds the states.
void ObserverCheck::checkTruth()
{
    SupplyStation& station = journal_.station();
    const SupplyController& controller = station.controller();
    if (!controller.live() || controller.refusalFor(false) == CommandRefusal::PanelSwitch) {
        ignoredUnseen_.reset(); // the program has seen the switch, and forgotten what it sent
    }
    if (!controller.live() || controller.adoptingReadings() || !controller.commandsSettled()
        || !(station.link().queued() == SupplyLink::Queued{})) {
        truthMisses_ = 0;
        return;
    }
    const auto volts = controller.heldVoltage();
    const auto amperes = controller.heldCurrent();
    const int voltageRaw = supply_.voltageRaw();
    const int currentRaw = supply_.currentRaw();
    const bool differs = (volts && voltageRaw != station.link().voltageRaw())
        || (amperes && currentRaw != station.link().currentRaw());
    if (!differs) {
        ignoredUnseen_.reset();
    }
    truthMisses_ = differs && !ignoredUnseen_ ? truthMisses_ + 1 : 0;
    if (truthMisses_ > 2) {
        book_.report("5/truth",
            "every command answered for at " + RunClock::stamp(Clock::now()) + ", the controller reports raw "
                + std::to_string(station.link().voltageRaw()) + "/" + std::to_string(station.link().currentRaw())
                + " while the supply holds " + std::to_string(voltageRaw) + "/" + std::to_string(currentRaw));
    }
}

void ObserverCheck::checkStaleness()
{
    const SupplyController& controller = journal_.station().controller();
    const Moment now = Clock::now();
    newestCsvLine();
    if (!controller.identified() || !staleAt(now) || measuredAt_.empty()) {
        return;
    }
    if (!csvLast_.empty() && split(csvLast_, ',').size() > 2 && !split(csvLast_, ',')[2].empty()) {
        book_.report("5/csv-stale",
            "no reading since " + RunClock::stamp(measuredAt_.back()) + ", and the CSV's last line is a reading");
    }
    const auto& state = mqtt_ != nullptr ? mqtt_->lastState() : std::nullopt;
    if (state && jsonNumber(state->json, "voltage")) {
        book_.report("5/mqtt-stale",
            "no reading since " + RunClock::stamp(measuredAt_.back()) + ", and the MQTT state heard at "
                + RunClock::stamp(state->at) + " still gives one: " + state->text);
    }
}
