#include "link/LinkState.h"

const std::string& LinkState::currentPortName() const
{
    static const std::string none;
    const std::size_t index = portIndex.load();
    return index < portNames.size() ? portNames[index] : none;
}
