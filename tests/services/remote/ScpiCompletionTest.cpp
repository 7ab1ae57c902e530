#include "FakeInstrument.h"
#include "remote/ScpiSession.h"

#include <gtest/gtest.h>

namespace {

class ScpiCompletionTest : public ::testing::Test {
protected:
    FakeInstrument supply;
    ScpiSession session{supply, "1.2.3"};

    void writeFrames() { supply.written = supply.tickets; }
    ScpiSession::Answer poll()
    {
        ++supply.polls;
        return session.resume();
    }
};

TEST_F(ScpiCompletionTest, WaitsUntilEveryEarlierFrameIsOnTheLine)
{
    supply.heldBack = true;
    for (const char* line : {"VOLT 5;*OPC?;VOLT?", "CURR 2;*WAI;CURR?"}) {
        const ScpiSession::Answer held = session.handleLine(line);
        EXPECT_TRUE(held.waiting) << line;
        EXPECT_TRUE(poll().waiting) << line;
        writeFrames();
        const ScpiSession::Answer done = poll();
        EXPECT_FALSE(done.waiting) << line;
        EXPECT_EQ(done.text, line[0] == 'V' ? "1;5.000" : "2.000") << line;
    }
    // Nothing sent since: complete at once.
    EXPECT_EQ(session.handleLine("*OPC?").text, "1");
}

TEST_F(ScpiCompletionTest, AnOutputThatDoesNotFollowEndsTheWaitWithAnError)
{
    supply.reportedOn = false;
    EXPECT_TRUE(session.handleLine("OUTP ON;*OPC?").waiting);
    for (std::uint64_t i = 1; i < ScpiCompletion::kOutputPolls; ++i) {
        EXPECT_TRUE(poll().waiting) << i;
    }
    EXPECT_EQ(poll().text, "1");
    EXPECT_EQ(session.handleLine("SYST:ERR?").text, "-200,\"Execution error;the output did not follow\"");

    session.handleLine("OUTP OFF;OUTP ON;*OPC?");
    supply.reportedOn.reset(); // the supply follows
    EXPECT_EQ(poll().text, "1");
    EXPECT_EQ(session.handleLine("SYST:ERR?").text, "0,\"No error\"");
}

TEST_F(ScpiCompletionTest, OperationCompleteSetsItsBitOnlyWhenComplete)
{
    supply.heldBack = true;
    EXPECT_EQ(session.handleLine("*ESR?;VOLT 5;*OPC;*ESR?").text, "128;0");
    poll();
    EXPECT_EQ(session.handleLine("*ESR?").text, "0");
    writeFrames();
    poll();
    EXPECT_EQ(session.handleLine("*ESR?").text, "1");
}

TEST_F(ScpiCompletionTest, ALostSupplyOrAGoneClientEndsTheWait)
{
    supply.heldBack = true;
    session.handleLine("VOLT 5;*OPC?");
    supply.present = false;
    EXPECT_EQ(poll().text, "1");

    supply.present = true;
    session.handleLine("VOLT 6;*WAI;OUTP ON");
    session.finishWithoutWaiting();
    EXPECT_EQ(supply.toggles, 1) << "what followed the wait still ran";
}

} // namespace
