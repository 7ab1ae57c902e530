#include "link/LinkState.h"

const std::string& LinkState::currentPortName() const
{
    static const std::string none;
    const auto index = static_cast<std::size_t>(portIndex.load());
    return index < portNames.size() ? portNames[index] : none;
}
