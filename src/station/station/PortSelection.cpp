#include "station/PortSelection.h"

#include "link/PortChooser.h"
#include "link/PortList.h"

bool PortSelection::list()
{
    const bool hunting = forThisRun_.empty() || forThisRun_ == PortChooser::kAuto;
    names_ = hunting ? PortList::build() : std::vector{forThisRun_};
    return !names_.empty();
}

std::string PortSelection::choose(const std::string& usePort, const std::string& lastPort)
{
    filePorts_ = {usePort, lastPort};
    const PortChooser::Choice choice
        = PortChooser::choose(names_, forThisRun_.empty() ? usePort : forThisRun_, lastPort);
    usePort_ = choice.usePort;
    lastPort_ = choice.lastPort;
    return PortChooser::summary(choice);
}

std::pair<std::string, std::string> PortSelection::toSave() const
{
    return forThisRun_.empty() ? std::pair{usePort_, lastPort_} : filePorts_;
}
