#include "DialogHarness.h"

#include "link/PortAccessAdvice.h"
#include "link/QtSerialPort.h"
#include "panels/SupplyFrame.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

// Ports that never open and report it to the advice as QtSerialPort does.
SerialPortFactory refusingPorts(PortAccessAdvice& advice, std::atomic<int>& attempts)
{
    class RefusingPort final : public SerialPort {
    public:
        RefusingPort(PortAccessAdvice& advice, std::atomic<int>& attempts)
            : advice_(advice)
            , attempts_(attempts)
        {
        }
        bool open(const std::string& name) override
        {
            advice_.portDidNotOpen(QtSerialPort::devicePath(name));
            ++attempts_;
            return false;
        }
        void close() override { }
        void write(const std::uint8_t* /*data*/, std::size_t /*count*/) override { }
        std::size_t read(std::uint8_t* /*data*/, std::size_t /*count*/) override { return 0; }
        std::size_t waiting() override { return 0; }
        void discardInput() override { }

    private:
        PortAccessAdvice& advice_;
        std::atomic<int>& attempts_;
    };
    return [&advice, &attempts] { return std::make_unique<RefusingPort>(advice, attempts); };
}

QString messageAfterTwoRounds(PortAccessAdvice& advice, const std::vector<std::string>& ports)
{
    std::atomic<int> attempts{0};
    DialogHarness window(ports, {refusingPorts(advice, attempts), {}, {}},
        [&](ControllerDialog& dialog) { dialog.setPortAccessAdvice(advice); });
    const auto rounds = static_cast<int>(2 * ports.size());
    EXPECT_TRUE(DialogHarness::waitUntil([&] { return attempts.load() >= rounds; }));
    QCoreApplication::processEvents(); // the checks the refusals queued
    return window.text(1031);
}

} // namespace

// "pts/0" is refused as /dev/pts/0, the device it names.
TEST(PortPermission, WhenEveryPortIsRefusedTheWindowPointsToTheGroupDialout)
{
    PortAccessAdvice advice(
        [](const std::string& path) {
            return path.starts_with("/dev/") ? PortAccessAdvice::Refusal::Denied : PortAccessAdvice::Refusal::Other;
        },
        [](const auto&) {});
    EXPECT_EQ(messageAfterTwoRounds(advice, {"ttyUSB0", "pts/0"}), QString::fromUtf8(SupplyFrame::kPortsRefusedText));
    EXPECT_NE(QString::fromUtf8(SupplyFrame::kPortsRefusedText).indexOf(QStringLiteral("dialout")), -1);
}

TEST(PortPermission, ABusyPortKeepsTheUsualTextAndAMissingOneIsNamedBesideIt)
{
    using Refusal = PortAccessAdvice::Refusal;
    PortAccessAdvice busy(
        [](const std::string& path) { return path != "/dev/ttyS0" ? Refusal::Denied : Refusal::Other; },
        [](const auto&) {});
    EXPECT_EQ(messageAfterTwoRounds(busy, {"ttyUSB0", "ttyS0"}), QString::fromUtf8(SupplyFrame::kNoFreePortText));
    PortAccessAdvice missing([](const std::string&) { return Refusal::Missing; }, [](const auto&) {});
    const QString text = messageAfterTwoRounds(missing, {"/dev/ttyUSB9"});
    EXPECT_TRUE(text.startsWith(QString::fromUtf8(SupplyFrame::kNoFreePortText))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("/dev/ttyUSB9"))) << text.toStdString();
}
