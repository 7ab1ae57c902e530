#pragma once

#include "controller/SupplyController.h"
#include "controller/SupplyPrompts.h"
#include "link/PortList.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

// Counts what the controller would ask the user.
class CountingPrompts final : public SupplyPrompts {
public:
    void unknownSupply() override { ++unknownSupplies; }
    void settingsProblem(const QString& advice) override { problems.push_back(advice); }

    int unknownSupplies = 0;
    QStringList problems;
};

// A controller on the given ports, started as the program starts it.
class Rig {
public:
    explicit Rig(const std::string& port = "/dev/tendrel-test-none", SerialPortFactory factory = {})
        : controller(state, prompts, std::move(factory))
    {
        ::setenv(PortList::kOverrideVariable, port.c_str(), 1);
        EXPECT_TRUE(controller.listPorts());
        controller.start();
    }
    ~Rig() { controller.shutDown(); }

    void reply(const std::vector<std::int32_t>& values)
    {
        state.replyValues = values;
        controller.onLinkReply();
    }
    // The same answer twice, as one alone is not trusted to name a model,
    // and again until the supply has answered for the frames that were queued.
    void identify(const std::vector<std::int32_t>& values)
    {
        state.voltagePending.store(0);
        state.currentPending.store(0);
        for (int i = 0; i < 4 && (i < 2 || state.identified.load() == 0); ++i) {
            reply(values);
        }
    }

    bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = std::chrono::seconds(3))
    {
        const QDeadlineTimer deadline(timeout);
        while (!condition() && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        return condition();
    }

    LinkState state;
    CountingPrompts prompts;
    SupplyController controller;
};
