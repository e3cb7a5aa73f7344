#include "backup/BackupStore.h"
#include "backup/SupportBundle.h"
#include "backup/SupportLog.h"
#include "config/Products.h"
#include "shell/AppFolders.h"
#include "shell/FileSystem.h"
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

// A station's backups in folder, recorded in the home's database.
BackupStore Station(TempHome& home, const char* folder, const char* station = "bench-1",
                    BackupPolicy policy = {}, BackupStore::Writer writer = {}) {
    return BackupStore(home.file(folder), home.file("records.sqlite"), QLatin1String(station), policy,
                       std::move(writer));
}

std::vector<BackupEntry> Listed(BackupStore& store, const BackupQuery& query = {}) {
    const auto entries = store.List(query);
    EXPECT_TRUE(entries) << entries.error().toStdString();
    return entries.value_or(std::vector<BackupEntry>{});
}

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
    BackupStore store = Station(home, "Backups");
    const ConfigImage zal = Device(kZal, 4711);
    const Result<StoredBackup> first = store.Store(zal, QStringLiteral("read"), kMorning);
    ASSERT_TRUE(first) << first.error().toStdString();
    EXPECT_FALSE(first->reused);
    EXPECT_EQ(QFileInfo(first->file).fileName(), QStringLiteral("ZAL 004711 2026-12-07 10-15-02.bin"));
    EXPECT_EQ(ReadTestFile(first->file), QByteArray(reinterpret_cast<const char*>(zal.data()), 256));
    EXPECT_FALSE(QFileInfo(first->file).isWritable() && QFileInfo(first->file).permission(QFile::WriteOwner));
    EXPECT_TRUE(store.SetResult(first->file, QStringLiteral("done")));

    // The same image again is the newest backup already; another device's or a changed one is new,
    // also within the same second.
    const Result<StoredBackup> again = store.Store(zal, QStringLiteral("write"), kMorning.addSecs(60));
    EXPECT_TRUE(again && again->reused);
    EXPECT_EQ(again->file, first->file);
    ConfigImage changed = zal;
    changed[0x50] = 9;
    const Result<StoredBackup> second = store.Store(changed, QStringLiteral("write"), kMorning);
    EXPECT_EQ(QFileInfo(second->file).fileName(), QStringLiteral("ZAL 004711 2026-12-07 10-15-02 (2).bin"));
    EXPECT_TRUE(store.Store(Device(kBora, 4711), QStringLiteral("read"), kMorning));

    const std::vector<BackupEntry> list = Listed(store);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].command, QStringLiteral("read"));
    EXPECT_EQ(list[0].result, QStringLiteral("done"));
    EXPECT_EQ(list[0].device.serial, QStringLiteral("004711"));
    EXPECT_EQ(list[0].time, kMorning);
    EXPECT_EQ(list[0].station, QStringLiteral("bench-1"));
    EXPECT_EQ(list[1].result, QString());
    // A serial number in the form the editor shows it, or in capitals and small letters, finds its device.
    EXPECT_EQ(Listed(store, {.serial = QStringLiteral("4711")}).size(), 3u);
    EXPECT_TRUE(store.Store(Device(kMuvePlus2, 0xAB01), QStringLiteral("read"), kMorning));
    EXPECT_EQ(Listed(store, {.serial = QStringLiteral("111111ab01")}).size(), 1u);
    EXPECT_EQ(Listed(store, {.since = kMorning.addSecs(1)}).size(), 0u);
    // The newest few, still oldest first: the window lists a station's years that way.
    const std::vector<BackupEntry> newest = Listed(store, {.newest = 2});
    ASSERT_EQ(newest.size(), 2u);
    EXPECT_EQ(newest[0].device.product, kBora);
    EXPECT_EQ(newest[1].device.product, kMuvePlus2);
}

// Another station on the same records sees every backup, and gets a file of another's from its image.
TEST(BackupStore, AnotherStationsBackupIsListedAndWrittenFromTheRecords) {
    TempHome home;
    BackupStore first = Station(home, "A/Backups", "../up");
    const ConfigImage zal = Device(kZal, 4711);
    const Result<StoredBackup> kept = first.Store(zal, QStringLiteral("read"), kMorning);
    ASSERT_TRUE(kept);
    BackupStore other = Station(home, "B/Backups", "bench-2");
    const std::vector<BackupEntry> seen = Listed(other, {.station = QStringLiteral("../up")});
    ASSERT_EQ(seen.size(), 1u);
    // The station's name stays inside the folder, whatever it holds.
    const QString path = other.LocalFile(seen[0]);
    EXPECT_EQ(path, home.file("B/Backups/stations/_.._up/ZAL 004711 2026-12-07 10-15-02.bin"));
    EXPECT_EQ(ReadTestFile(path), ReadTestFile(kept->file));
    EXPECT_EQ(other.Find(seen[0].file)->image, ReadTestFile(kept->file));
    // The other station's own backup of the same device is its own: nothing is reused across stations.
    EXPECT_FALSE(other.Store(zal, QStringLiteral("read"), kMorning)->reused);
    EXPECT_EQ(Listed(other, {.serial = QStringLiteral("4711")}).size(), 2u);
}

// An index of an earlier version is taken in once, a torn line hiding nothing; while the records
// cannot be reached, backups are kept there and taken in later.
TEST(BackupStore, AnEarlierIndexAndWhatWaitedAreTakenInOnce) {
    TempHome home;
    const QString folder = home.file("Backups/");
    QDir().mkpath(folder);
    const ConfigImage zal = Device(kZal, 4711);
    WriteTestFile(folder + "ZAL 004711 a.bin", QByteArray(reinterpret_cast<const char*>(zal.data()), 256));
    WriteTestFile(folder + "DORF 000002 b.bin", QByteArray(256, 0x22));
    WriteTestFile(
        folder + "index.jsonl",
        "{\"file\":\"ZAL 004711 a.bin\",\"product\":2,\"productName\":\"ZAL\",\"serial\":\"004711\","
        "\"time\":\"2026-12-01T10:00:00+01:00\",\"command\":\"read\"}\n"
        "{\"file\":\"ZAL 0047\n"
        "{\"file\":\"../Values.ini\",\"command\":\"read\"}\n"
        "{\"file\":\"DORF 000002 b.bin\",\"productName\":\"DORF\",\"serial\":\"000002\","
        "\"time\":\"2026-12-02T10:00:00+01:00\",\"command\":\"write\"}\n"
        "{\"file\":\"gone.bin\",\"command\":\"read\"}\n"
        "{\"file\":\"ZAL 004711 a.bin\",\"result\":\"done\"}\n");
    BackupStore store = Station(home, "Backups");
    QStringList notices;
    store.notice = [&notices](const QString& text) { notices << text; };
    const std::vector<BackupEntry> list = Listed(store);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].result, QStringLiteral("done"));
    EXPECT_EQ(list[1].device.productName, QStringLiteral("DORF"));
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices[0].contains(QStringLiteral("2 Einträge, 1 ohne ihre Datei ausgelassen; nicht lesbare "
                                                   "Zeilen: 2, 3")))
        << notices[0].toStdString();
    EXPECT_FALSE(PathExists(folder + "index.jsonl"));
    EXPECT_TRUE(ReadTestFile(folder + "index.jsonl.imported").contains("gone.bin"));
    EXPECT_EQ(Listed(store).size(), 2u);
    EXPECT_EQ(notices.size(), 1);

    // Records out of reach: the backup and its result are kept beside the files, and said.
    BackupStore away(folder, home.file("no/such/folder/records.sqlite"), QStringLiteral("bench-1"));
    const Result<StoredBackup> waiting = away.Store(Device(kBora, 9), QStringLiteral("write"), kMorning);
    ASSERT_TRUE(waiting);
    EXPECT_FALSE(waiting->recordsProblem.isEmpty());
    EXPECT_TRUE(PathExists(waiting->file));
    EXPECT_FALSE(away.List());
    EXPECT_TRUE(away.SetResult(waiting->file, QStringLiteral("failed")));
    const std::vector<BackupEntry> later = Listed(store);
    ASSERT_EQ(later.size(), 3u);
    EXPECT_EQ(later[2].result, QStringLiteral("failed"));
    EXPECT_EQ(later[2].user, RecordsDatabase::User());
    EXPECT_TRUE(ReadTestFile(folder + "index.jsonl.imported").contains("BORA"));
}

TEST(BackupStore, PrunesOnlyWhatIsBothOldAndBeyondTheNewestOfItsDevice) {
    TempHome home;
    BackupStore store = Station(home, "Backups", "bench-1", BackupPolicy{365, 3, true});
    const QDateTime now = kMorning;
    // Device A: five backups two years old, then one last week; device B: two very old ones.
    for (int i = 0; i < 5; ++i)
        store.Store(Device(kZal, 1, static_cast<std::uint8_t>(i)), QStringLiteral("read"),
                    now.addDays(-730 + i));
    store.Store(Device(kZal, 1, 0x77), QStringLiteral("read"), now.addDays(-7));
    store.Store(Device(kDorf, 2, 1), QStringLiteral("read"), now.addDays(-2000));
    store.Store(Device(kDorf, 2, 2), QStringLiteral("read"), now.addDays(-1999));
    // Each Store pruned as it went; what is left: A's newest three (one young, two old), B's two.
    const std::vector<BackupEntry> left = Listed(store);
    ASSERT_EQ(left.size(), 5u);
    int young = 0;
    for (const BackupEntry& e : left)
        young += e.time > now.addDays(-365);
    EXPECT_EQ(young, 1);
    EXPECT_EQ(QDir(store.folder()).entryList({QStringLiteral("*.bin")}).size(), 5);

    // Two programs on one folder and database: each sees what the other did.
    BackupStore other = Station(home, "Backups", "bench-1", BackupPolicy{365, 3, true});
    ASSERT_EQ(Listed(other).size(), 5u);
    store.Store(Device(kDorf, 2, 3), QStringLiteral("read"), now.addDays(-1998));
    store.Store(Device(kDorf, 2, 4), QStringLiteral("read"), now.addDays(-1997));
    EXPECT_EQ(store.Prune(now), 1); // B's oldest
    ASSERT_EQ(Listed(store).size(), 6u);
    EXPECT_EQ(Listed(other).size(), 6u);
    EXPECT_TRUE(other.Store(Device(kDorf, 2, 4), QStringLiteral("read"), now)->reused);
    EXPECT_FALSE(other.Store(Device(kBora, 3), QStringLiteral("read"), now)->reused);
    EXPECT_EQ(Listed(store).size(), 7u);
    EXPECT_TRUE(store.Store(Device(kBora, 3), QStringLiteral("write"), now)->reused);

    // Within the age limit nothing goes, however many there are.
    BackupStore young5 = Station(home, "Young", "bench-young", BackupPolicy{365, 1, true});
    for (int i = 0; i < 5; ++i)
        young5.Store(Device(kZal, 1, static_cast<std::uint8_t>(i)), QStringLiteral("read"), now.addDays(i));
    EXPECT_EQ(Listed(young5, {.station = QStringLiteral("bench-young")}).size(), 5u);
}

TEST(BackupStore, AFolderOrDiskThatFailsIsReportedAndLeavesNoHalfBackup) {
    TempHome home;
    WriteTestFile(home.file("Blocked"), "a file where the folder should be");
    const Result<StoredBackup> blocked =
        Station(home, "Blocked").Store(Device(kZal, 1), QStringLiteral("read"));
    EXPECT_FALSE(blocked);
    EXPECT_TRUE(blocked.error().contains(QStringLiteral("Blocked")));

    BackupStore full =
        Station(home, "Full", "bench-1", {}, [](const QString&, const QByteArray&) -> Result<> {
            return Failure{Problem::Unreachable, QStringLiteral("No space left on device")};
        });
    const Result<StoredBackup> noSpace = full.Store(Device(kZal, 1), QStringLiteral("write"));
    EXPECT_FALSE(noSpace);
    EXPECT_TRUE(Listed(full).empty());
    EXPECT_TRUE(QDir(full.folder()).entryList({QStringLiteral("*.bin")}).isEmpty());
}

TEST(BackupStore, PolicyComesFromItsOwnSectionAndSurvivesAProgramUpdate) {
    TempHome home;
    const QString ini =
        WriteTestFile(home.file("Values.ini"), "[Setup]\nAppVersion=1\n[Backups]\nMaxAgeDays=30\n"
                                               "KeepPerDevice=junk\nBeforeWrite=0\n"
                                               "[Records]\nDatabase=postgresql://zal@db/zal\nStation=L2\n");
    const auto LoadBackupPolicy = [](const QString& path) {
        return zal::LoadBackupPolicy(Settings::Load(path));
    };
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
    // So do the records: an update must not send a station of a shared server back to a file of its own.
    EXPECT_EQ(Settings::Load(settings).stored(setting::kRecordsDatabase.place), "postgresql://zal@db/zal");
    EXPECT_EQ(Settings::Load(settings).stored(setting::kRecordsStation.place), "L2");
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
    ASSERT_TRUE(WriteZipArchive(home.file("b.zip"), entries));
    EXPECT_EQ(ReadZipArchive(home.file("b.zip")), entries);
    EXPECT_FALSE(WriteZipArchive(home.file("missing/b.zip"), entries));
}

} // namespace
} // namespace zal
