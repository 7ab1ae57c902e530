// Any values from the line, handed to the real window as the worker would.
#include "app/ControllerDialog.h"
#include "station/SupplyStation.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

ControllerDialog* window = nullptr;

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
    window = new ControllerDialog(*new SupplyStation);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Each reply: a shape byte (which words came), then the status and each
    // word in up to four bytes.
    std::size_t at = 0;
    const auto value = [&] {
        std::int32_t read = 0;
        if (at < size) {
            const std::size_t width = std::min<std::size_t>(1 + data[at] % 4, size - at);
            std::memcpy(&read, data + at, width);
            at += width;
        }
        return read;
    };
    while (at < size) {
        const std::uint8_t shape = data[at++];
        Reply reply{value()};
        if ((shape & 1) != 0) {
            reply.voltageWord = value();
        }
        if ((shape & 2) != 0) {
            reply.currentWord = value();
        }
        window->controller().onReply(reply);
    }
    return 0;
}
