// Any values from the line, handed to the real window as the worker would.
#include "app/ControllerDialog.h"
#include "link/LinkState.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

ControllerDialog* window = nullptr;
LinkState* state = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("XDG_CONFIG_HOME", "/tmp/tendrel-fuzz-config", 1);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    // Kept to the end of the process: nothing is torn down under the fuzzer's exit.
    new QApplication(*argc, *argv);
    // Unknown models are announced in a message box: answer it at once.
    static QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            box->accept();
        }
    });
    answer.start(0);
    // The window without its worker: the fuzzer is the line.
    state = new LinkState;
    window = new ControllerDialog(*state);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Each reply: a count byte, then that many values of up to four bytes.
    std::size_t at = 0;
    while (at < size) {
        const std::size_t count = data[at++] % 5;
        state->replyValues.clear();
        for (std::size_t i = 0; i < count && at < size; ++i) {
            std::int32_t value = 0;
            const std::size_t width = std::min<std::size_t>(1 + data[at] % 4, size - at);
            std::memcpy(&value, data + at, width);
            at += width;
            state->replyValues.push_back(value);
        }
        window->controller().onLinkReply();
    }
    return 0;
}
