// Any settings file: read as at start-up, then edited and written back.
#include "settings/ControllerSettings.h"
#include "text/Cp1251.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = Cp1251::toUtf8(bytes);
    IniDocument document = IniDocument::parse(text);
    if (document.serialise() != text) { // every byte is kept
        __builtin_trap();
    }
    const ControllerSettings::Loaded loaded = ControllerSettings::read(document);
    document.setValue("COM-Port", "UsePort", loaded.usePort);
    document.setValue("HotValues", "TotalZ", std::to_string(loaded.hotValues.size()));
    const IniDocument again = IniDocument::parse(document.serialise());
    if (ControllerSettings::read(again).hotValues.size() > loaded.hotValues.size() + 1) {
        __builtin_trap();
    }
    return 0;
}
