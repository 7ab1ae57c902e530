#pragma once

#include "EventLoopWait.h"
#include "controller/SupplyController.h"
#include "link/PortList.h"
#include "link/SupplyLink.h"
#include "station/StationSettings.h"
#include "timer/TimerRun.h"

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

// Counts what the controller and the settings would tell the user.
class CountingPrompts {
public:
    CountingPrompts(SupplyController& controller, StationSettings& settings)
    {
        QObject::connect(&controller, &SupplyController::unknownSupplyFound, [this] { ++unknownSupplies; });
        QObject::connect(&settings, &StationSettings::settingsProblem,
            [this](const QString& advice) { problems.push_back(advice); });
    }

    int unknownSupplies = 0;
    QStringList problems;
};

// A controller on the given ports, started as the program starts it.
class Rig {
public:
    explicit Rig(const std::string& port = "/dev/tendrel-test-none", SerialPortFactory factory = {})
        : link_(std::move(factory))
        , controller(link_)
        , timer(controller)
        , settings(link_, controller)
        , prompts(controller, settings)
    {
        ::setenv(PortList::kOverrideVariable, port.c_str(), 1);
        EXPECT_TRUE(settings.listPorts());
        settings.start();
    }
    ~Rig()
    {
        settings.shutDown();
        controller.shutDown();
    }

    void reply(const Reply& reply) { controller.onReply(reply); }
    // The same answer twice, as one alone is not trusted to name a model,
    // and again until the supply has answered for the frames that were queued.
    void identify(const Reply& answer)
    {
        link_.takeQueued();
        for (int i = 0; i < 4 && (i < 2 || !controller.identified()); ++i) {
            reply(answer);
        }
    }

    bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = std::chrono::seconds(3))
    {
        return spinUntil(condition, timeout);
    }

    SupplyLink& link() { return link_; }

private:
    SupplyLink link_;

public:
    SupplyController controller;
    TimerRun timer;
    StationSettings settings;
    CountingPrompts prompts;
};
