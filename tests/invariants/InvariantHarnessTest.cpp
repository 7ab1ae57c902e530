#include "Action.h"
#include "ActionPlan.h"
#include "CheckSelection.h"
#include "Shrinker.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

Action scpi(const std::string& line)
{
    return {0, false, Action::Kind::Scpi, line};
}

bool holds(const std::vector<Action>& actions, const std::string& line)
{
    return std::any_of(actions.begin(), actions.end(), [&line](const Action& a) { return a.argument == line; });
}

} // namespace

// A seed replays its actions exactly, and a printed list reads back as it was.
TEST(InvariantHarnessTest, ASeedAndAPrintedListReplayTheSameActions)
{
    const std::vector<Action> first = ActionPlan::generate(42, 300);
    const std::vector<Action> again = ActionPlan::generate(42, 300);
    ASSERT_EQ(first.size(), 300U);
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].text(), again[i].text());
        const auto read = Action::parse(first[i].text());
        ASSERT_TRUE(read) << first[i].text();
        EXPECT_EQ(read->text(), first[i].text());
    }
    EXPECT_NE(ActionPlan::generate(43, 300)[5].text() + ActionPlan::generate(43, 300)[6].text(),
        first[5].text() + first[6].text());
}

// The shrink keeps only what the failure needs, here two actions far apart.
TEST(InvariantHarnessTest, ShrinksToTheActionsTheFailureNeeds)
{
    std::vector<Action> actions;
    for (int i = 0; i < 40; ++i) {
        actions.push_back(scpi("VOLT " + std::to_string(i)));
    }
    const auto fails = [](const std::vector<Action>& list) { return holds(list, "VOLT 3") && holds(list, "VOLT 31"); };
    Shrinker shrinker(fails, std::chrono::seconds(10));
    const std::vector<Action> minimal = shrinker.shrink(actions);
    ASSERT_EQ(minimal.size(), 2U);
    EXPECT_EQ(minimal[0].argument, "VOLT 3");
    EXPECT_EQ(minimal[1].argument, "VOLT 31");
    EXPECT_TRUE(shrinker.finished());
}

TEST(InvariantHarnessTest, ChecksAreChosenByInvariantOrTag)
{
    struct Case {
        const char* selection;
        const char* check;
        bool enabled;
    };
    const Case cases[] = {
        {"all", "5/csv", true},
        {"1,2", "2/asked-on", true},
        {"1,2", "3/current-after-on", false},
        {"5/scpi", "5/scpi-stale", false},
        {"all,-5/truth", "5/truth", false},
        {"all,-5", "5/csv", false},
        {"4", "44/x", false},
    };
    for (const Case& row : cases) {
        EXPECT_EQ(CheckSelection::parse(row.selection).enabled(row.check), row.enabled)
            << row.selection << " " << row.check;
    }
}
