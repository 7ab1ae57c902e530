#include "SeedSession.h"

#include "ActionPlan.h"
#include "RunTrace.h"
#include "Shrinker.h"
#include "supply/ModelTable.h"

#include <QDir>

#include <fstream>
#include <numeric>
#include <ostream>
#include <set>

namespace {

// Enough actions for the longest run: they come about seven a second.
constexpr std::size_t kActionsPerSecond = 12;
constexpr std::chrono::seconds kTryOverhead{8};
constexpr int kConfirmations = 3;

std::string modelName(int code)
{
    const auto model = ModelTable::find(code);
    return model ? model->modelName : "?";
}

} // namespace

SeedSession::SeedSession(const RunOptions& options, std::ostream& out)
    : options_(options)
    , out_(out)
{
}

bool SeedSession::runSeed(std::uint64_t seed)
{
    const int model = ActionPlan::modelCode(seed);
    const auto count = static_cast<std::size_t>(options_.seconds.count()) * kActionsPerSecond + 50;
    out_ << "== seed " << seed << " (replay: TENDREL_INVARIANT_SEEDS=" << seed << ")" << std::endl;
    return runActions("seed-" + std::to_string(seed), model, ActionPlan::generate(seed, count));
}

bool SeedSession::runList(const std::string& path)
{
    int model = 1;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) {
        if (line.rfind("# model ", 0) == 0) {
            model = std::stoi(line.substr(8));
        }
    }
    out_ << "== list " << path << std::endl;
    return runActions("list", model, ActionPlan::read(path));
}

InvariantRun::Settings SeedSession::settings(int modelCode, const std::vector<Action>& actions) const
{
    InvariantRun::Settings settings;
    settings.actions = actions;
    settings.modelCode = modelCode;
    settings.limit = options_.seconds;
    settings.checks = options_.checks;
    settings.timing = {std::chrono::milliseconds(50), options_.pace, options_.pace, std::chrono::milliseconds(30),
        std::chrono::milliseconds(100)};
    settings.mqtt = options_.mqtt;
    return settings;
}

bool SeedSession::runActions(const std::string& name, int modelCode, const std::vector<Action>& actions)
{
    out_ << "model " << modelCode << " (" << modelName(modelCode) << "), " << actions.size() << " actions drawn, "
         << options_.describe() << std::endl;
    if (options_.trace) {
        const std::string trace = outPath(name, "trace");
        RunTrace::instance().open(trace);
        out_ << "trace: " << trace << std::endl;
    }
    const InvariantRun::Result result = InvariantRun::run(settings(modelCode, actions));
    RunTrace::instance().close();
    if (!result.started) {
        out_ << "FAILED to start: " << result.problem << std::endl;
        return false;
    }
    seconds_ += result.seconds;
    actions_ += result.issued;
    printResult(result);
    bool passed = true;
    std::set<std::string> shrunk;
    for (const Violation& found : result.violations) {
        const bool enforced = options_.checks.enabled(found.check);
        passed = passed && !enforced;
        if ((enforced || options_.shrinkAll) && options_.shrinkSeconds.count() > 0
            && shrunk.insert(found.check).second) {
            const std::vector<Action> upTo(actions.begin(),
                actions.begin() + static_cast<std::ptrdiff_t>(std::min(found.actions, actions.size())));
            shrink(name, modelCode, upTo, found);
        }
    }
    out_ << (passed ? "PASSED" : "FAILED") << std::endl << std::endl;
    return passed;
}

void SeedSession::printResult(const InvariantRun::Result& result)
{
    out_ << result.issued << " actions issued (" << result.skipped << " not allowed then) in " << result.seconds
         << " s: " << (result.seconds > 0 ? static_cast<double>(result.issued) / result.seconds : 0.0) << " actions/s, "
         << result.replies << " replies" << (result.mqtt ? "" : ", without MQTT") << std::endl;
    for (const Violation& found : result.violations) {
        out_ << (options_.checks.enabled(found.check) ? "  VIOLATED " : "  (not enforced) ") << found.check << " x"
             << result.counts.at(found.check) << ", first after action #"
             << (found.actions == 0 ? 0 : found.actions - 1) << ": " << found.text << std::endl;
    }
    if (std::any_of(result.violations.begin(), result.violations.end(),
            [this](const Violation& v) { return options_.checks.enabled(v.check); })) {
        out_ << "  the frame log's end:" << std::endl;
        for (const std::string& line : result.frameTail) {
            out_ << "    " << line << std::endl;
        }
        out_ << "  the event log's end:" << std::endl;
        for (const std::string& line : result.eventTail) {
            out_ << "    " << line << std::endl;
        }
    }
}

void SeedSession::shrink(
    const std::string& name, int modelCode, const std::vector<Action>& actions, const Violation& found)
{
    const auto test = [&](const std::vector<Action>& candidate) {
        InvariantRun::Settings trial = settings(modelCode, candidate);
        trial.stopAt = found.check;
        const int gaps = std::accumulate(
            candidate.begin(), candidate.end(), 0, [](int sum, const Action& action) { return sum + action.gapMs; });
        trial.limit = std::min(options_.seconds,
            std::chrono::duration_cast<std::chrono::seconds>(std::chrono::milliseconds(gaps) + kTryOverhead));
        const InvariantRun::Result result = InvariantRun::run(trial);
        return result.started
            && std::any_of(result.violations.begin(), result.violations.end(),
                [&found](const Violation& v) { return v.check == found.check; });
    };
    const std::string failing = writeList(name + "-" + found.check, "failing", modelCode, actions);
    out_ << "  shrinking " << found.check << " from " << actions.size() << " actions (" << failing << ")" << std::endl;
    Shrinker shrinker(test, options_.shrinkSeconds);
    const std::vector<Action> minimal = shrinker.shrink(actions);
    int again = 0;
    for (int i = 0; i < kConfirmations; ++i) {
        again += test(minimal) ? 1 : 0;
    }
    const std::string file = writeList(name + "-" + found.check + "-min", "shrunk", modelCode, minimal);
    out_ << "  " << found.check << ": " << minimal.size() << " actions after " << shrinker.tries() << " tries"
         << (shrinker.finished() ? "" : " (time up)") << ", failing again " << again << "/" << kConfirmations
         << " times; replay: TENDREL_INVARIANT_ACTIONS=" << file << std::endl;
    for (std::size_t i = 0; i < minimal.size(); ++i) {
        out_ << "    #" << i << " " << minimal[i].text() << std::endl;
    }
    if (minimal.empty()) {
        out_ << "    (no action: the supply found at start shows it)" << std::endl;
    }
}

std::string SeedSession::outPath(const std::string& name, const char* extension) const
{
    std::string safe = name;
    std::replace(safe.begin(), safe.end(), '/', '-');
    const QString directory
        = options_.outDirectory.empty() ? QDir::tempPath() : QString::fromStdString(options_.outDirectory);
    QDir().mkpath(directory);
    return directory.toStdString() + "/invariant-" + safe + "." + extension;
}

std::string SeedSession::writeList(
    const std::string& file, const std::string& title, int modelCode, const std::vector<Action>& actions) const
{
    const std::string path = outPath(file, "actions");
    std::ofstream list(path);
    list << "# " << title << " actions of an invariant run\n# model " << modelCode << "\n";
    for (std::size_t i = 0; i < actions.size(); ++i) {
        list << "#" << i << " " << actions[i].text() << "\n";
    }
    return path;
}
