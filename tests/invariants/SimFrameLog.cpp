#include "SimFrameLog.h"

#include "RunTrace.h"
#include "SimulatedSupply.h"

#include <sstream>

namespace {

constexpr auto kHistory = std::chrono::seconds(60);

bool startsWith(const std::string& text, const char* head)
{
    return text.rfind(head, 0) == 0;
}

int field(const std::string& text, const char* name)
{
    const std::size_t at = text.find(name);
    return at == std::string::npos ? -1 : std::stoi(text.substr(at + std::char_traits<char>::length(name)));
}

} // namespace

void SimFrameLog::attach(SimulatedSupply& supply)
{
    supply.setLogSink([this](const std::string& line) {
        // The supply's own stamp is the wall clock's; the run's is the monotonic one.
        const std::size_t space = line.find(' ');
        append(space == std::string::npos ? line : line.substr(space + 1));
    });
}

void SimFrameLog::note(const std::string& text)
{
    append(text);
}

void SimFrameLog::append(const std::string& text)
{
    const Moment now = Clock::now();
    RunTrace::instance().write(now, "supply", text);
    const std::lock_guard lock(mutex_);
    fresh_.push_back({now, text});
}

std::vector<SimEvent> SimFrameLog::take()
{
    std::vector<Line> lines;
    {
        const std::lock_guard lock(mutex_);
        lines.swap(fresh_);
    }
    std::vector<SimEvent> events;
    for (const Line& line : lines) {
        events.push_back(parse(line));
        history_.push_back(events.back());
    }
    while (!history_.empty() && Clock::now() - history_.front().at > kHistory) {
        history_.pop_front();
    }
    return events;
}

SimEvent SimFrameLog::parse(const Line& line)
{
    SimEvent event;
    event.at = line.at;
    event.text = line.text;
    if (line.text == "poll") {
        event.kind = SimEvent::Kind::Poll;
    } else if (startsWith(line.text, "garbage 0x")) {
        event.kind = SimEvent::Kind::Garbage;
    } else if (startsWith(line.text, "set-") || startsWith(line.text, "ignored code=")) {
        parseCommand(event, line.text);
    }
    follow(event);
    return event;
}

void SimFrameLog::parseCommand(SimEvent& event, const std::string& text) const
{
    if (startsWith(text, "ignored")) {
        event.kind = SimEvent::Kind::OtherModel;
    } else if (startsWith(text, "set-voltage+toggle")) {
        event.kind = SimEvent::Kind::Toggle;
    } else {
        event.kind = startsWith(text, "set-voltage") ? SimEvent::Kind::Voltage : SimEvent::Kind::Current;
    }
    event.code = field(text, "code=");
    event.raw = field(text, "raw=");
    if (text.find("(ignored: panel switch)") != std::string::npos) {
        event.fate = SimEvent::Fate::PanelSwitch;
    } else if (text.find("(ignored: silent)") != std::string::npos) {
        event.fate = SimEvent::Fate::Silent;
    }
}

void SimFrameLog::follow(SimEvent& event)
{
    event.outputBefore = output_;
    if (event.kind == SimEvent::Kind::Poll) {
        // The supply's own watchdog: no poll for too long switches it off.
        if (lastPoll_ != Moment{} && event.at - lastPoll_ > kWatchdog && output_) {
            output_ = false;
            event.supplySide = true;
        }
        lastPoll_ = event.at;
    } else if (event.kind == SimEvent::Kind::Toggle && event.fate == SimEvent::Fate::Applied) {
        output_ = event.text.find("(output on)") != std::string::npos;
    } else if (event.kind == SimEvent::Kind::Change) {
        followChange(event);
    }
    event.outputAfter = output_;
}

void SimFrameLog::followChange(SimEvent& event)
{
    const std::string& text = event.text;
    if (text == "output on" || text == "output off") {
        output_ = text == "output on";
    } else if (text == "silent") {
        silent_ = true;
    } else if (text == "answering") {
        // Mains coming back finds the output off.
        output_ = output_ && !silent_;
        silent_ = false;
    } else if (!startsWith(text, "panel switch") && text != "vanished" && text != "plugged") {
        return;
    }
    event.supplySide = true;
}

std::vector<std::string> SimFrameLog::tail(std::size_t count) const
{
    std::vector<std::string> lines;
    const std::size_t from = history_.size() > count ? history_.size() - count : 0;
    for (std::size_t i = from; i < history_.size(); ++i) {
        std::ostringstream line;
        line << RunClock::stamp(history_[i].at) << "  " << history_[i].text;
        lines.push_back(line.str());
    }
    return lines;
}
