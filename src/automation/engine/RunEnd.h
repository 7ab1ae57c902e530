#pragma once

// How a program's run ended, for scripts: the reason beside it is the
// window's words, which change with the language.
enum class RunEnd { Done, Condition, Protection, LinkLost, Stopped, Closed };

// The stable code a report and PROGram:REASon? give for it.
constexpr const char* runEndCode(RunEnd end)
{
    switch (end) {
    case RunEnd::Done:
        return "done";
    case RunEnd::Condition:
        return "condition";
    case RunEnd::Protection:
        return "protection";
    case RunEnd::LinkLost:
        return "link_lost";
    case RunEnd::Stopped:
        return "stopped";
    case RunEnd::Closed:
        return "closed";
    }
    return "done";
}
