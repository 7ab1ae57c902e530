#include "settings/StaleTemporaries.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(StaleTemporaries, OnlyOldTemporariesOfOursGoBesideTheFileAndItsLinkTarget)
{
    QTemporaryDir directory;
    const fs::path root = directory.path().toStdString();
    fs::create_directories(root / "conf");
    fs::create_directories(root / "dotfiles");
    fs::create_symlink(root / "dotfiles/real.ini", root / "conf/x.ini");
    const auto make = [&](const std::string& name, bool old) {
        std::ofstream(root / name) << "[COM-Port]\n";
        if (old) {
            fs::last_write_time(root / name, fs::file_time_type::clock::now() - std::chrono::minutes(2));
        }
    };
    make("conf/x.ini.Ab12Cd", true);
    make("dotfiles/real.ini.zz9QZ0", true);
    make("conf/x.ini.Fresh1", false);
    make("conf/x.ini.backup", true); // a word, most likely the user's
    make("conf/x.ini.Ab12Cde", true);
    make("conf/y.ini.Ab12Cd", true);
    fs::create_directory(root / "conf/x.ini.Dir123");
    std::set<std::string> kept{
        "x.ini", "x.ini.Fresh1", "x.ini.backup", "x.ini.Ab12Cde", "y.ini.Ab12Cd", "x.ini.Dir123"};
    if (::geteuid() == 0) { // only root can give a file away
        make("conf/x.ini.Own123", true);
        ASSERT_EQ(::chown((root / "conf/x.ini.Own123").c_str(), 4242, 4242), 0);
        kept.insert("x.ini.Own123");
    }

    EXPECT_EQ(StaleTemporaries::remove((root / "conf/x.ini").string()), 2);
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(root / "conf")) {
        left.insert(entry.path().filename().string());
    }
    EXPECT_EQ(left, kept);
    EXPECT_TRUE(fs::is_empty(root / "dotfiles"));
}
