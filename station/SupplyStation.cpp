#include "station/SupplyStation.h"

SupplyStation::SupplyStation(SerialPortFactory portFactory, LinkTiming timing)
    : link_(std::move(portFactory), timing)
    , controller_(link_)
{
    readings_.follow(controller_);
}

SupplyStation::~SupplyStation()
{
    shutDown();
}

void SupplyStation::start(const std::optional<std::string>& remoteOption, std::ostream& messages)
{
    controller_.start();
    remote_ = RemoteControl::start(controller_, remoteOption, messages);
}

void SupplyStation::shutDown()
{
    remote_.reset();
    controller_.shutDown();
}
