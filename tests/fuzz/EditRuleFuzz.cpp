// Any texts, selections and characters through the one-decimal editing rule,
// re-entered on every change as in the window.
#include "panels/OneDecimalRule.h"
#include "toolkit/ClassicEdit.h"

#include <QApplication>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>

namespace {

ClassicEdit* edit = nullptr;
int lastChar = 0;
OneDecimalRule::Bounds bounds{0.8, 15.7};
OneDecimalRule::Options options;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    new QApplication(*argc, *argv);
    edit = new ClassicEdit(new QWidget);
    QObject::connect(edit, &ClassicEdit::changed, [] { OneDecimalRule::onChange(*edit, lastChar, bounds, options); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4) {
        return 0;
    }
    options.window = (data[0] & 1) != 0 ? OneDecimalRule::Window::Main : OneDecimalRule::Window::AddValues;
    options.threeDigitCaret = (data[0] & 2) != 0;
    bounds = (data[0] & 4) != 0 ? OneDecimalRule::Bounds{0.8, 105.0} : OneDecimalRule::Bounds{0.5, 63.0};
    edit->setTypingLimit(4 + (data[0] >> 7));
    lastChar = 0;
    const std::size_t textLength = std::min<std::size_t>(data[1] % 8, size - 4);
    edit->setProgramText(
        QString::fromLatin1(reinterpret_cast<const char*>(data + 4), static_cast<qsizetype>(textLength)));
    edit->setSelectionRange(data[2] % 8, data[3] % 8);
    for (std::size_t i = 4 + textLength; i < size; ++i) {
        lastChar = data[i];
        if (data[i] % 7 == 0) {
            OneDecimalRule::onStep(*edit, lastChar, bounds, data[i] % 3 == 0 ? 1 : -1);
        } else {
            OneDecimalRule::onChange(*edit, lastChar, bounds, options);
        }
    }
    return 0;
}
