#include "backup/BackupStore.h"
#include "backup/SupportBundle.h"
#include "backup/SupportLog.h"
#include "config/Products.h"
#include "shell/AppFolders.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace zal {
namespace {

using test::ReadTestFile;
using test::TempHome;
using test::WriteTestFile;

ConfigImage Device(int product, unsigned serial, std::uint8_t fill = 0x11) {
    ConfigImage image{};
    image.fill(fill);
    image[kProductCodeAddress] = static_cast<std::uint8_t>(product);
    image[kVersionCodeAddress] = product == kMuvePlus || product == kMuvePlus2 ? 1 : 0x22;
    image[kMinorVersionAddress] = 8;
    image[0xFD] = static_cast<std::uint8_t>(serial >> 16);
    image[0xFE] = static_cast<std::uint8_t>(serial >> 8);
    image[0xFF] = static_cast<std::uint8_t>(serial);
    return image;
}

const QDateTime kMorning(QDate(2026, 12, 7), QTime(10, 15, 2));

TEST(DeviceIdentity, NamesTheDeviceAsTheEditorShowsIt) {
    ConfigImage zal = Device(kZal, 4711);
    zal[0x10] = 0xAB;
    zal[0x11] = 0x12;
    ConfigImage plus2 = Device(kMuvePlus2, 0x0102);
    plus2[0xC8] = 0xC8;
    plus2[0xC9] = 0xC9;
    plus2[0xCA] = 0xCA;
    plus2[0x94] = 2;
    ConfigImage unknown = Device(0x42, 7);
    const struct {
        ConfigImage image;
        const char *name, *version, *serial, *radioId;
    } cases[] = {
        {zal, "ZAL", "22.08", "004711", "AB12"},
        {Device(kMuvePlus, 16777215), "MUVE+", "01.08", "16777215", "1111"},
        {plus2, "MUVE+ II", "01.08", "C8C9CA0102", "C8C9CA0102"},
        {unknown, "Unbekannt", "22.08", "000007", "1111"},
    };
    for (const auto& c : cases) {
        const DeviceIdentity id = IdentifyDevice(c.image);
        EXPECT_EQ(id.productName, QLatin1String(c.name));
        EXPECT_EQ(id.version, QLatin1String(c.version)) << c.name;
        EXPECT_EQ(id.serial, QLatin1String(c.serial)) << c.name;
        EXPECT_EQ(id.radioId, QLatin1String(c.radioId)) << c.name;
    }
}

TEST(BackupStore, KeepsEachImageOnceByteForByteAndIndexesIt) {
    TempHome home;
    BackupStore store(home.file("Backups"));
    const ConfigImage zal = Device(kZal, 4711);
    const StoredBackup first = store.Store(zal, QStringLiteral("read"), kMorning);
    ASSERT_TRUE(first.ok) << first.error.toStdString();
    EXPECT_FALSE(first.reused);
    EXPECT_EQ(QFileInfo(first.file).fileName(), QStringLiteral("ZAL 004711 2026-12-07 10-15-02.bin"));
    EXPECT_EQ(ReadTestFile(first.file), QByteArray(reinterpret_cast<const char*>(zal.data()), 256));
    EXPECT_FALSE(QFileInfo(first.file).isWritable() && QFileInfo(first.file).permission(QFile::WriteOwner));
    EXPECT_TRUE(store.SetResult(first.file, QStringLiteral("done")));

    // The same image again is the newest backup already; another device's or a changed one is new,
    // also within the same second.
    const StoredBackup again = store.Store(zal, QStringLiteral("write"), kMorning.addSecs(60));
    EXPECT_TRUE(again.ok && again.reused);
    EXPECT_EQ(again.file, first.file);
    ConfigImage changed = zal;
    changed[0x50] = 9;
    const StoredBackup second = store.Store(changed, QStringLiteral("write"), kMorning);
    EXPECT_EQ(QFileInfo(second.file).fileName(), QStringLiteral("ZAL 004711 2026-12-07 10-15-02 (2).bin"));
    EXPECT_TRUE(store.Store(Device(kBora, 4711), QStringLiteral("read"), kMorning).ok);

    const std::vector<BackupEntry> list = store.List();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].command, QStringLiteral("read"));
    EXPECT_EQ(list[0].result, QStringLiteral("done")); // the later result line completes the entry
    EXPECT_EQ(list[0].device.serial, QStringLiteral("004711"));
    EXPECT_EQ(list[0].time, kMorning);
    EXPECT_EQ(list[1].result, QString());

    // A line that names a file outside the folder, or garbage, is ignored; a line torn by a kill hides
    // nothing that comes after it.
    QFile index(store.indexPath());
    ASSERT_TRUE(index.open(QIODevice::Append));
    index.write("{\"file\":\"../Values.ini\",\"command\":\"read\"}\nnot json\n{\"file\":\"ZAL 0047");
    index.close();
    EXPECT_EQ(store.List().size(), 3u);
    EXPECT_TRUE(store.Store(Device(kDorf, 4712), QStringLiteral("read"), kMorning).ok);
    EXPECT_EQ(store.List().size(), 4u) << ReadTestFile(store.indexPath()).constData();
}

TEST(BackupStore, PrunesOnlyWhatIsBothOldAndBeyondTheNewestOfItsDevice) {
    TempHome home;
    BackupStore store(home.file("Backups"), BackupPolicy{365, 3, true});
    const QDateTime now = kMorning;
    // Device A: five backups two years old, then one last week; device B: two very old ones.
    for (int i = 0; i < 5; ++i)
        store.Store(Device(kZal, 1, static_cast<std::uint8_t>(i)), QStringLiteral("read"),
                    now.addDays(-730 + i));
    store.Store(Device(kZal, 1, 0x77), QStringLiteral("read"), now.addDays(-7));
    store.Store(Device(kDorf, 2, 1), QStringLiteral("read"), now.addDays(-2000));
    store.Store(Device(kDorf, 2, 2), QStringLiteral("read"), now.addDays(-1999));
    // Each Store pruned as it went; what is left: A's newest three (one young, two old), B's two.
    const std::vector<BackupEntry> left = store.List();
    ASSERT_EQ(left.size(), 5u);
    int young = 0;
    for (const BackupEntry& e : left)
        young += e.time > now.addDays(-365);
    EXPECT_EQ(young, 1);
    EXPECT_EQ(QDir(store.folder()).entryList({QStringLiteral("*.bin")}).size(), 5);
    // The index was rewritten without the removed ones.
    EXPECT_EQ(ReadTestFile(store.indexPath()).count('\n'), 5);

    // Two programs on one folder: each sees what the other appended, and the other's rewrite of the
    // index after a prune, whatever it had read of the index before.
    BackupStore other(home.file("Backups"), BackupPolicy{365, 3, true});
    ASSERT_EQ(other.List().size(), 5u);
    store.Store(Device(kDorf, 2, 3), QStringLiteral("read"), now.addDays(-1998));
    store.Store(Device(kDorf, 2, 4), QStringLiteral("read"), now.addDays(-1997));
    EXPECT_EQ(store.Prune(now), 1); // B's oldest
    ASSERT_EQ(store.List().size(), 6u);
    EXPECT_EQ(other.List().size(), 6u);
    EXPECT_TRUE(other.Store(Device(kDorf, 2, 4), QStringLiteral("read"), now).reused);
    EXPECT_FALSE(other.Store(Device(kBora, 3), QStringLiteral("read"), now).reused);
    EXPECT_EQ(store.List().size(), 7u);
    EXPECT_TRUE(store.Store(Device(kBora, 3), QStringLiteral("write"), now).reused);

    // Within the age limit nothing goes, however many there are.
    BackupStore young5(home.file("Young"), BackupPolicy{365, 1, true});
    for (int i = 0; i < 5; ++i)
        young5.Store(Device(kZal, 1, static_cast<std::uint8_t>(i)), QStringLiteral("read"), now.addDays(i));
    EXPECT_EQ(young5.List().size(), 5u);
}

TEST(BackupStore, AFolderOrDiskThatFailsIsReportedAndLeavesNoHalfBackup) {
    TempHome home;
    WriteTestFile(home.file("Blocked"), "a file where the folder should be");
    const StoredBackup blocked =
        BackupStore(home.file("Blocked")).Store(Device(kZal, 1), QStringLiteral("read"));
    EXPECT_FALSE(blocked.ok);
    EXPECT_TRUE(blocked.error.contains(QStringLiteral("Blocked")));

    BackupStore full(home.file("Full"), {}, [](const QString&, const QByteArray&) { return false; });
    const StoredBackup noSpace = full.Store(Device(kZal, 1), QStringLiteral("write"));
    EXPECT_FALSE(noSpace.ok);
    EXPECT_TRUE(full.List().empty());
    EXPECT_TRUE(QDir(full.folder()).entryList({QStringLiteral("*.bin")}).isEmpty());
}

TEST(BackupStore, PolicyComesFromItsOwnSectionAndSurvivesAProgramUpdate) {
    TempHome home;
    const QString ini =
        WriteTestFile(home.file("Values.ini"), "[Setup]\nAppVersion=1\n[Backups]\nMaxAgeDays=30\n"
                                               "KeepPerDevice=junk\nBeforeWrite=0\n");
    const BackupPolicy p = LoadBackupPolicy(ini);
    EXPECT_EQ(p.maxAgeDays, 30);
    EXPECT_EQ(p.keepPerDevice, 20);
    EXPECT_FALSE(p.beforeWrite);
    EXPECT_TRUE(StoreBackupBeforeWrite(ini, true));
    EXPECT_TRUE(LoadBackupPolicy(ini).beforeWrite);
    EXPECT_TRUE(ReadTestFile(ini).startsWith("[Setup]\nAppVersion=1\n")); // other sections untouched

    // A refresh from the shipped copy replaces the file but keeps the section.
    const QString install = home.file("install") + u'/';
    WriteTestFile(install + "Values.i", "[Setup]\n[ProductName]\n1=BORA\n");
    const QString data = home.file("data");
    QDir().mkpath(data + "/VESK/ZAL Programmer (DE)");
    const QString settings = data + "/VESK/ZAL Programmer (DE)/Values.ini";
    QFile::copy(ini, settings);
    SettleFolders(install, QStringLiteral("2"), {}, PlatformFolders{data, home.file("docs")});
    EXPECT_TRUE(ReadTestFile(settings).contains("1=BORA"));
    EXPECT_EQ(LoadBackupPolicy(settings).maxAgeDays, 30);
}

TEST(SupportLog, RotatesAtItsLimitAndKeepsNoMoreThanItsFiles) {
    TempHome home;
    SupportLog log(home.file("Support.log"), 100, 3);
    for (int i = 0; i < 12; ++i)
        ASSERT_TRUE(log.Append({QStringLiteral("entry %1 ").arg(i) + QString(30, u'x')}));
    const QStringList files = log.Files();
    ASSERT_EQ(files.size(), 3);
    for (const QString& f : files)
        EXPECT_LE(QFileInfo(f).size(), 100);
    EXPECT_TRUE(ReadTestFile(files[0]).contains("entry 11"));
    EXPECT_FALSE(QFileInfo::exists(home.file("Support.log.3")));
    // An entry larger than a file is cut to fit.
    ASSERT_TRUE(log.Append({QString(500, u'y')}));
    EXPECT_LE(QFileInfo(log.path()).size(), 100);
}

TEST(SupportBundle, AZipArchiveHoldsWhatWasPutIn) {
    TempHome home;
    const std::vector<BundleEntry> entries{{QStringLiteral("Support.log"), "line\n"},
                                           {QStringLiteral("Values.ini"), QByteArray("[Setup]\n\xe4\n")}};
    ASSERT_EQ(WriteZipArchive(home.file("b.zip"), entries), QString());
    EXPECT_EQ(ReadZipArchive(home.file("b.zip")), entries);
    EXPECT_FALSE(WriteZipArchive(home.file("missing/b.zip"), entries).isEmpty());
}

} // namespace
} // namespace zal
