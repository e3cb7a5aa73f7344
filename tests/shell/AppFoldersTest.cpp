#include "shell/AppFolders.h"
#include "shell/SettingsFile.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace zal;
using namespace zal::test;

namespace {

const QByteArray kShippedValues = "[Setup]\r\n\r\n[AlarmType]\r\n0=Normaler Alarm\r\n1=<END>\r\n";

// A home with an install folder holding the shipped copies, and the platform's two folders.
class AppFoldersTest : public ::testing::Test {
protected:
    void SetUp() override {
        install = home.file(QStringLiteral("install/"));
        WriteTestFile(install + QStringLiteral("Values.i"), kShippedValues);
        for (const QString& base : DefaultImageBaseNames())
            WriteTestFile(install + base + QStringLiteral(".b"), QByteArray(256, char(0x11)));
        platform.applicationData = home.file(QStringLiteral("appdata"));
        platform.documents = home.file(QStringLiteral("documents"));
        QDir().mkpath(platform.applicationData);
        QDir().mkpath(platform.documents);
    }

    AppFolders Settle(const QString& version = QStringLiteral("1.0.0.1"), const QStringList& args = {}) {
        return SettleFolders(install, version, args, platform);
    }

    TempHome home;
    QString install;
    PlatformFolders platform;
};

TEST_F(AppFoldersTest, FirstStartInstallsSettingsAndAllDefaultImages) {
    const AppFolders f = Settle();
    EXPECT_EQ(f.dataFolder, platform.applicationData + QStringLiteral("/VESK/ZAL Programmer (DE)/"));
    EXPECT_EQ(f.configFolder, platform.documents + QStringLiteral("/VESK/ZAL Config/"));
    EXPECT_TRUE(QFileInfo(f.configFolder).isDir());
    EXPECT_EQ(f.settingsFile, f.dataFolder + QStringLiteral("Values.ini"));
    EXPECT_EQ(f.defaultConfigFolder, platform.documents + QStringLiteral("/VESK/ZAL Config"));

    const SettingsFile settings = SettingsFile::Load(f.settingsFile);
    EXPECT_EQ(settings.text("Setup", "AppVersion"), QStringLiteral("1.0.0.1"));
    EXPECT_FALSE(settings.value("Setup", "ConfigDirectory").has_value());
    EXPECT_EQ(settings.text("AlarmType", "0"), QStringLiteral("Normaler Alarm"));
    for (const QString& base : DefaultImageBaseNames())
        EXPECT_EQ(ReadTestFile(f.dataFolder + base + QStringLiteral(".bin")), QByteArray(256, char(0x11)));
    // The shipped products' 18 at least; Products.EveryRowAndLayout holds them to the product rows.
    EXPECT_GE(DefaultImageBaseNames().size(), 18);
}

TEST_F(AppFoldersTest, CreatedFilesAndFoldersAreNotWritableForOthers) {
    const AppFolders f = Settle();
    for (const QString& path :
         {f.dataFolder, f.configFolder, f.settingsFile, f.dataFolder + QStringLiteral("Default ZAL V21.bin")})
        EXPECT_FALSE(QFileInfo(path).permission(QFileDevice::WriteOther)) << path.toStdString();
}

TEST_F(AppFoldersTest, UpdateKeepsConfigDirectoryAndRefreshesEverythingElse) {
    AppFolders f = Settle(QStringLiteral("1.0.0.1"));
    StoreDefaultConfigFolder(f, home.file(QStringLiteral("mine/")));
    WriteTestFile(f.settingsFile, ReadTestFile(f.settingsFile) + "[Extra]\r\nkey=old\r\n");
    WriteTestFile(f.dataFolder + QStringLiteral("Default BORA V22.bin"), QByteArray(256, char(0x22)));
    WriteTestFile(install + QStringLiteral("Default BORA V22.b"), QByteArray(256, char(0x33)));

    f = Settle(QStringLiteral("1.0.0.2"));
    const SettingsFile settings = SettingsFile::Load(f.settingsFile);
    EXPECT_EQ(settings.text("Setup", "ConfigDirectory"), home.file(QStringLiteral("mine")));
    EXPECT_EQ(settings.text("Setup", "AppVersion"), QStringLiteral("1.0.0.2"));
    EXPECT_FALSE(settings.hasSection("Extra"));
    EXPECT_EQ(ReadTestFile(f.dataFolder + QStringLiteral("Default BORA V22.bin")),
              QByteArray(256, char(0x33)));
    EXPECT_EQ(f.defaultConfigFolder, home.file(QStringLiteral("mine")));
}

TEST_F(AppFoldersTest, SameVersionRestoresMissingImagesAndKeepsEditedOnes) {
    AppFolders f = Settle();
    QFile::remove(f.dataFolder + QStringLiteral("Default ZAL V20.bin"));
    WriteTestFile(f.dataFolder + QStringLiteral("Default ZAL V21.bin"), QByteArray(256, char(0x44)));
    WriteTestFile(f.settingsFile, ReadTestFile(f.settingsFile) + "[Extra]\r\nkey=kept\r\n");

    f = Settle();
    EXPECT_EQ(ReadTestFile(f.dataFolder + QStringLiteral("Default ZAL V20.bin")),
              QByteArray(256, char(0x11)));
    EXPECT_EQ(ReadTestFile(f.dataFolder + QStringLiteral("Default ZAL V21.bin")),
              QByteArray(256, char(0x44)));
    EXPECT_EQ(ReadSettingValue(f.settingsFile, "Extra", "key"), QStringLiteral("kept"));
}

TEST_F(AppFoldersTest, FolderArgumentWinsAndLeavesConfigDirectoryAlone) {
    AppFolders f = Settle();
    StoreDefaultConfigFolder(f, home.file(QStringLiteral("stored")));
    const QString argument = home.file(QStringLiteral("argument"));
    QDir().mkpath(argument);

    f = Settle(QStringLiteral("1.0.0.1"),
               {QStringLiteral("-SERVICE"), home.file(QStringLiteral("nothing")), argument});
    EXPECT_EQ(f.defaultConfigFolder, argument);
    EXPECT_EQ(ReadSettingValue(f.settingsFile, "Setup", "ConfigDirectory"),
              home.file(QStringLiteral("stored")));
}

TEST_F(AppFoldersTest, StoredConfigDirectoryIsUsedWithoutTrailingSeparator) {
    const AppFolders first = Settle();
    WriteSettingValue(first.settingsFile, "Setup", "ConfigDirectory", QStringLiteral("/srv/configs/"));
    EXPECT_EQ(Settle().defaultConfigFolder, QStringLiteral("/srv/configs"));
}

TEST_F(AppFoldersTest, WithoutPlatformFoldersEverythingLivesInTheInstallFolder) {
    platform = {};
    const AppFolders f = Settle();
    EXPECT_EQ(f.dataFolder, install);
    EXPECT_EQ(f.configFolder, install + QStringLiteral("Config/"));
    EXPECT_TRUE(QFileInfo(f.configFolder).isDir());
    EXPECT_EQ(SettingsFile::Load(f.settingsFile).text("Setup", "AppVersion"), QStringLiteral("1.0.0.1"));
}

TEST_F(AppFoldersTest, MissingShippedCopiesLeaveTheDataFolderAsItIs) {
    QDir(install).removeRecursively();
    const AppFolders f = Settle();
    EXPECT_FALSE(QFileInfo::exists(f.settingsFile));
    EXPECT_FALSE(QFileInfo::exists(f.dataFolder + QStringLiteral("Default BORA V22.bin")));
}

TEST(PlatformFolders, FollowTheXdgVariablesAndAreCreated) {
    TempHome home;
    const PlatformFolders p = SystemPlatformFolders();
    EXPECT_EQ(p.applicationData, home.file(QStringLiteral(".local/share")));
    EXPECT_TRUE(p.documents.startsWith(home.path()));
    EXPECT_TRUE(QFileInfo(p.applicationData).isDir());
    EXPECT_TRUE(QFileInfo(p.documents).isDir());
}

// Without a HOME (a service, "env -i") root must not settle its folders at "/".
TEST(PlatformFolders, AHomeOfSlashIsNoHome) {
    const struct {
        const char *variable, *password, *home;
    } cases[] = {
        {"/home/anna", "/root", "/home/anna"},
        {"", "/root", "/root"},
        {"/", "/root", "/root"},
        {"//", "/root", "/root"},
        {"", "/", ""},
        {"", "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UsableHome(QLatin1String(c.variable), QLatin1String(c.password)), QLatin1String(c.home))
            << c.variable << " / " << c.password;
}

TEST(InstallFolder, BuildTreeAndInstalledLayout) {
    TempHome home;
    const QString build = home.file(QStringLiteral("build/bin"));
    WriteTestFile(build + QStringLiteral("/Values.i"), "x");
    EXPECT_EQ(FindInstallFolder(build), build + u'/');

    const QString prefix = home.file(QStringLiteral("usr"));
    QDir().mkpath(prefix + QStringLiteral("/bin"));
    QDir().mkpath(prefix + QStringLiteral("/share/zal-programmer"));
    EXPECT_EQ(FindInstallFolder(prefix + QStringLiteral("/bin")),
              prefix + QStringLiteral("/share/zal-programmer/"));
}

} // namespace
