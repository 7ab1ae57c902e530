#include "FileSizeLimit.h"
#include "settings/AtomicFile.h"
#include "settings/ControllerSettings.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    std::string path() const { return directory.filePath(QStringLiteral("conf/tendrel-controller.ini")).toStdString(); }

    void write(const std::string& bytes) const
    {
        QDir(directory.path()).mkpath(QStringLiteral("conf"));
        std::ofstream(path(), std::ios::binary) << bytes;
    }

    std::string read() const
    {
        std::ifstream file(path(), std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

    std::vector<std::pair<double, double>> rows() const
    {
        std::vector<std::pair<double, double>> found;
        for (const auto& pair : settings.load().hotValues) {
            found.emplace_back(pair.voltage.value, pair.current.value);
        }
        return found;
    }

    QTemporaryDir directory;
    ControllerSettings settings{SettingsFile(path())};
};

constexpr const char* kDefaults = "[COM-Port]\nUsePort=Auto\nLastPort=\n[HotValues]\nTotalZ=1\nV1=138\nA1=100\n";
const ControllerSettings::Saved kOnePair{"COM3", "COM1", {10}, {10}};
constexpr const char* kOnePairText = "[COM-Port]\nUsePort=COM3\nLastPort=COM1\n[HotValues]\nTotalZ=1\nV1=1.0\nA1=1.0\n";
using Problem = ControllerSettings::Problem;
namespace fs = std::filesystem;

} // namespace

TEST_F(SettingsFileTest, DefaultsAreWrittenIntoANewDirectory)
{
    EXPECT_FALSE(settings.hasPortSetting());
    settings.writeDefaults();
    EXPECT_EQ(read(), kDefaults);
    EXPECT_TRUE(settings.hasPortSetting());
    const ControllerSettings::Loaded loaded = settings.load();
    EXPECT_EQ(loaded.usePort, "Auto");
    EXPECT_EQ(loaded.lastPort, "");
    ASSERT_EQ(loaded.hotValues.size(), 1U);
    EXPECT_EQ(loaded.hotValues[0].voltage.thousandths, 13800);
    EXPECT_EQ(loaded.hotValues[0].current.thousandths, 10000);
}

TEST_F(SettingsFileTest, AnEmptyPortSettingCountsAsMissingAndDefaultsFillInOnlyWhatIsMissing)
{
    write("[COM-Port]\nUsePort=\nLastPort=COM4\n[HotValues]\nTotalZ=2\nV1=1.0\nA1=1.0\nV2=5.0\nA2=2.0\n");
    EXPECT_FALSE(settings.hasPortSetting());
    settings.writeDefaults();
    EXPECT_EQ(
        read(), "[COM-Port]\nUsePort=Auto\nLastPort=COM4\n[HotValues]\nTotalZ=2\nV1=1.0\nA1=1.0\nV2=5.0\nA2=2.0\n");
    write("[HotValues]\nV1=2.0\n");
    settings.writeDefaults();
    EXPECT_EQ(read(), "[HotValues]\nV1=2.0\nTotalZ=1\nA1=100\n[COM-Port]\nUsePort=Auto\nLastPort=\n");
}

TEST_F(SettingsFileTest, HotValuesReadInVoltsOrTenthsInTheCLocale)
{
    write("[HotValues]\nTotalZ=7\nV1=13.8\nA1=10.0\nV2=138\nA2=100\nV3=13,8\nA3=1e2\nV4=abc\nA4=-2.5\n"
          "V5=1e30\nA5=-1e30\nV6=nan\nA6=inf\nV7=0x10\nA7=+.5e1x\n");
    const auto loaded = settings.load().hotValues;
    ASSERT_EQ(loaded.size(), 7U);
    EXPECT_EQ(loaded[0].voltage.thousandths, 13800);
    EXPECT_EQ(loaded[1].voltage.thousandths, 13800);
    EXPECT_EQ(loaded[1].current.thousandths, 10000);
    EXPECT_EQ(loaded[2].voltage.thousandths, 1300); // stops at the comma; no point: tenths
    EXPECT_NEAR(loaded[2].voltage.value, 1.3, 1e-9);
    EXPECT_EQ(loaded[2].current.thousandths, 10000);
    EXPECT_EQ(loaded[3].voltage.thousandths, 0);
    EXPECT_EQ(loaded[3].current.thousandths, -2500);
    // Far outside any range: clamped, while the row keeps what was read.
    EXPECT_EQ(loaded[4].voltage.thousandths, INT_MAX / 10);
    EXPECT_EQ(loaded[4].current.thousandths, INT_MIN / 10);
    EXPECT_DOUBLE_EQ(loaded[4].voltage.value, 1e29);
    // Decimal only: no hexadecimal, infinity or not-a-number.
    EXPECT_EQ(loaded[5].voltage.value, 0.0);
    EXPECT_EQ(loaded[5].current.thousandths, 0);
    EXPECT_EQ(loaded[6].voltage.thousandths, 0);
    EXPECT_EQ(loaded[6].current.thousandths, 5000);
}

TEST_F(SettingsFileTest, PairsFollowTheCountAndSkipIncompleteOnes)
{
    write("[HotValues]\nTotalZ=4\nV1=1.0\nA1=1.0\nA2=2.0\nV3=3.0\nA3=3.0\nV4=no\nA4=4.0\nV5=5.0\nA5=5.0\n"
          "v6=6.0\nV01=9.0\nA01=9.0\n");
    EXPECT_EQ(rows(), (std::vector<std::pair<double, double>>{{1.0, 1.0}, {3.0, 3.0}}));
    for (const char* count : {"0", "-3", "x"}) {
        write(std::string("[HotValues]\nTotalZ=") + count + "\nV1=1.0\nA1=1.0\n");
        EXPECT_TRUE(rows().empty()) << count;
    }
}

TEST_F(SettingsFileTest, AHugeCountReadsOnlyTheKeysThatAreThere)
{
    write("[hotvalues]\ntotalz=2000000000\nv1999999999=1.5\nA1999999999=2.5\nV3=3.0\nA3=3.0\n");
    EXPECT_EQ(rows(), (std::vector<std::pair<double, double>>{{3.0, 3.0}, {1.5, 2.5}}));
}

TEST_F(SettingsFileTest, DiagnosticModeIsExactlyOne)
{
    for (const auto& [text, on] :
        std::vector<std::pair<std::string, bool>>{{"[Debug]\nDebug=1\n", true}, {"[debug]\nDEBUG = 1\n", true},
            {"[Debug]\nDebug=2\n", false}, {"[Debug]\nDebug=11\n", false}, {"", false}}) {
        write(text);
        EXPECT_EQ(settings.load().diagnosticsOn, on) << text;
    }
}

// A service reads its keys as the file matches them: without regard to case, the first of equal keys.
TEST_F(SettingsFileTest, EachServiceGetsItsSectionAsWritten)
{
    write("[remote]\nENABLED=1\nEnabled=0\n[MQTT]\nHost=broker\nPort=1884\n[Metrics]\n");
    const ControllerSettings::Loaded loaded = settings.load();
    EXPECT_EQ(loaded.remote.value("Enabled"), "1");
    EXPECT_EQ(loaded.remote.value("Listen"), "");
    EXPECT_TRUE(loaded.metrics.entries().empty());
    EXPECT_EQ(loaded.mqtt.entries(), (std::vector<IniDocument::Entry>{{"Host", "broker"}, {"Port", "1884"}}));
}

TEST_F(SettingsFileTest, SavingRenumbersThePairsAndKeepsTheRest)
{
    write("; mine\n[COM-Port]\nUsePort=Auto\nLastPort=\n[HotValues]\nTotalZ=3\nV1=1.0\nA1=1.0\nV2=2.0\nA2=2.0\n"
          "V3=3.0\nA3=3.0\n[Debug]\nDebug=0\n");
    settings.save({"Auto", "ttyUSB0", {138, 79}, {100, 13}});
    EXPECT_EQ(read(),
        "; mine\n[COM-Port]\nUsePort=Auto\nLastPort=ttyUSB0\n[HotValues]\nTotalZ=2\nV1=13.8\nA1=10.0\n"
        "V2=7.9\nA2=1.3\nV3=3.0\nA3=3.0\n[Debug]\nDebug=0\n");
}

TEST_F(SettingsFileTest, ASaveThatFailsAnywhereLeavesTheOldFileWhole)
{
    write(kDefaults);
    ::chmod(path().c_str(), 0640);
    const std::string replacement(5000, 'x');
    for (const std::size_t failAt : {std::size_t{0}, std::size_t{1}, std::size_t{4096}, std::size_t{4999}}) {
        std::size_t written = 0;
        const AtomicFile::Writer failing = [&](int fd, const char* data, std::size_t size) -> ssize_t {
            if (written >= failAt) {
                errno = ENOSPC;
                return -1;
            }
            const std::size_t chunk = std::min(size, failAt - written);
            written += chunk;
            return ::write(fd, data, chunk);
        };
        EXPECT_FALSE(AtomicFile::replace(path(), replacement, failing)) << failAt;
        EXPECT_EQ(read(), kDefaults) << failAt;
    }
    EXPECT_EQ(QDir(directory.filePath(QStringLiteral("conf"))).entryList(QDir::Files).size(), 1);
    EXPECT_TRUE(AtomicFile::replace(path(), replacement));
    EXPECT_EQ(read(), replacement);
    struct stat info { };
    ::stat(path().c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640U);
}

TEST_F(SettingsFileTest, AnyFileContentLoadsWithoutHarm)
{
    std::mt19937 random(42);
    const std::string alphabet = "[]=;\n\r\t .,-+eE0123456789VAvaTotalZDebugCOM-PortHotValues\"'nofi\xC2\xFF";
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 400);
    for (int i = 0; i < 2000; ++i) {
        std::string text = "[HotValues]\nTotalZ=" + std::to_string(i) + "\n";
        const int n = length(random);
        for (int k = 0; k < n; ++k) {
            text += alphabet[pick(random)];
        }
        write(text);
        const auto loaded = settings.load();
        if (i % 100 == 0) {
            settings.save({loaded.usePort, loaded.lastPort, {1, 2}, {3, 4}});
            EXPECT_EQ(settings.load().hotValues.size(), 2U);
        }
    }
}

TEST_F(SettingsFileTest, EveryLineKeepsItsOwnEnding)
{
    const std::vector<std::pair<std::string, std::string>> cases{
        {"; mine\r\n[COM-Port]\nUsePort=COM3\nLastPort=\n[HotValues]\nTotalZ=1\nV1=5.0\nA1=5.0\n",
            std::string("; mine\r\n") + kOnePairText},
        {"[COM-Port]\rUsePort=COM3\rLastPort=\r[HotValues]\rTotalZ=1\rV1=5.0\rA1=5.0\r",
            "[COM-Port]\rUsePort=COM3\rLastPort=COM1\r[HotValues]\rTotalZ=1\rV1=1.0\rA1=1.0\r"},
        {"[COM-Port]\nUsePort=COM3\n[HotValues]\nTotalZ=1",
            "[COM-Port]\nUsePort=COM3\nLastPort=COM1\n[HotValues]\nTotalZ=1\nV1=1.0\nA1=1.0"},
        {"\xEF\xBB\xBF[COM-Port]\nUsePort=COM3\n[HotValues]\nTotalZ=1\nV1=5.0\nA1=5.0\n",
            std::string("\xEF\xBB\xBF") + kOnePairText},
    };
    for (const auto& [before, after] : cases) {
        write(before);
        EXPECT_TRUE(settings.hasPortSetting()) << before;
        EXPECT_EQ(settings.load().usePort, "COM3") << before;
        EXPECT_EQ(settings.save(kOnePair), Problem::None);
        EXPECT_EQ(read(), after);
    }
}

TEST_F(SettingsFileTest, ASaveGoesThroughLinksAndKeepsThem)
{
    const fs::path real = directory.filePath(QStringLiteral("dotfiles/tendrel.ini")).toStdString();
    const fs::path middle = directory.filePath(QStringLiteral("conf/middle.ini")).toStdString();
    fs::create_directories(real.parent_path());
    fs::create_directories(middle.parent_path());
    // A link, a link to a link, and a link to a file not there yet.
    for (const auto& [first, existing] : {std::pair{real, true}, std::pair{middle, true}, std::pair{real, false}}) {
        fs::remove(path());
        fs::remove(middle);
        fs::remove(real);
        if (existing) {
            std::ofstream(real) << "; mine\n[COM-Port]\nUsePort=COM4\n";
        }
        fs::create_symlink(real, middle);
        fs::create_symlink(first, path());
        EXPECT_EQ(settings.save(kOnePair), Problem::None);
        EXPECT_TRUE(fs::is_symlink(path()) && fs::is_symlink(middle));
        EXPECT_EQ(read(), (existing ? "; mine\n" : "") + std::string(kOnePairText));
        EXPECT_EQ(std::distance(fs::directory_iterator(real.parent_path()), fs::directory_iterator()), 1);
    }
}

TEST_F(SettingsFileTest, AFileThatCannotBeReadIsNeverReplaced)
{
    std::vector<std::function<void()>> unreadable{
        [&] { fs::create_directories(path()); }, [&] { fs::create_symlink(path(), path()); }, // a link to itself
    };
    if (::geteuid() != 0) { // root reads any file
        unreadable.emplace_back([&] {
            write(kDefaults);
            ::chmod(path().c_str(), 0);
        });
    }
    for (const auto& make : unreadable) {
        fs::remove(path());
        QDir(directory.path()).mkpath(QStringLiteral("conf"));
        make();
        const auto before = fs::symlink_status(path());
        ControllerSettings fresh{SettingsFile(path())};
        const ControllerSettings::Loaded loaded = fresh.load();
        EXPECT_EQ(loaded.problem, Problem::Unreadable);
        ASSERT_EQ(loaded.hotValues.size(), 1U); // the defaults, in memory
        EXPECT_EQ(loaded.hotValues[0].voltage.thousandths, 13800);
        EXPECT_EQ(fresh.writeDefaults(), Problem::Unreadable);
        EXPECT_EQ(fresh.save(kOnePair), Problem::Unreadable);
        EXPECT_EQ(fresh.load().lastPort, "COM1");
        const auto after = fs::symlink_status(path());
        EXPECT_TRUE(after.type() == before.type() && after.permissions() == before.permissions());
        ::chmod(path().c_str(), 0600);
    }
}

TEST_F(SettingsFileTest, AReadOnlyFileOrAnotherUsersIsLeftAlone)
{
    write(kDefaults);
    ::chmod(path().c_str(), 0444);
    EXPECT_EQ(settings.save(kOnePair), Problem::ReadOnly);
    EXPECT_EQ(settings.appendPair(2.0, 2.0), Problem::ReadOnly);
    EXPECT_EQ(read(), kDefaults);
    EXPECT_EQ(rows(), (std::vector<std::pair<double, double>>{{1.0, 1.0}, {2.0, 2.0}})); // kept in memory
    ::chmod(path().c_str(), 0644);
    EXPECT_EQ(settings.save(kOnePair), Problem::None); // the next save goes through
    EXPECT_EQ(read(), kOnePairText);
    if (::geteuid() == 0) { // only root can give a file away
        ASSERT_EQ(::chown(path().c_str(), 4242, 4242), 0);
        EXPECT_EQ(settings.save({"Auto", "COM2", {}, {}}), Problem::OtherOwner);
        EXPECT_EQ(read(), kOnePairText);
    }
}

TEST_F(SettingsFileTest, AFailedSaveKeepsThePairsForTheNextOne)
{
    write(kDefaults);
    const ControllerSettings::Saved two{"Auto", "COM1", {10, 20}, {10, 20}};
    {
        const FileSizeLimit diskFull(10);
        EXPECT_EQ(settings.save(two), Problem::NotWritten);
    }
    EXPECT_EQ(read(), kDefaults);
    EXPECT_EQ(rows(), (std::vector<std::pair<double, double>>{{1.0, 1.0}, {2.0, 2.0}}));
    EXPECT_EQ(settings.save(two), Problem::None);
    EXPECT_NE(read().find("TotalZ=2\nV1=1.0\nA1=1.0\nV2=2.0\nA2=2.0\n"), std::string::npos);
}

// Once quadratic: 20 000 pairs took most of a minute.
TEST_F(SettingsFileTest, SavingManyPairsTakesLinearTime)
{
    const std::vector<std::int32_t> fives(20000, 50);
    const std::vector<std::int32_t> tens(20000, 100);
    write(kDefaults);
    QElapsedTimer clock;
    clock.start();
    settings.save({"Auto", "", fives, fives}); // every key new
    settings.save({"Auto", "", tens, tens}); // every key replaced
    EXPECT_LT(clock.elapsed(), 3000);
    const auto loaded = settings.load().hotValues;
    ASSERT_EQ(loaded.size(), tens.size());
    EXPECT_EQ(loaded.back().voltage.thousandths, 10000);
}
