// The records database on a real PostgreSQL server, started for the test.

#include "records/RecordsDatabase.h"
#include "config/Products.h"
#include "line/ProductionLine.h"
#include "records/ServerUrl.h"
#include "shell/Language.h"
#include "support/PostgresServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <memory>
#include <set>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zal;

namespace {

using Block = std::vector<std::uint16_t>;

// The records speak the program's language; these tests read their English.
struct EnglishTexts {
    EnglishTexts() { EXPECT_TRUE(InstallLanguage(Language::English)); }
    ~EnglishTexts() { InstallLanguage(Language::German); }
};

BackupEntry Backup(const QString& file, const QString& serial) {
    BackupEntry e;
    e.file = file;
    e.device = {2, QStringLiteral("ZAL"), QStringLiteral("22.08"), serial, serial, QStringLiteral("A001")};
    e.time = QDateTime::currentDateTimeUtc();
    e.command = QStringLiteral("read");
    e.result = QStringLiteral("done");
    e.station = QStringLiteral("A");
    e.image = QByteArray(256, '\x22');
    return e;
}

// Records a newer program made are read, never written: it may keep its reservations elsewhere, and a
// code would go out twice. A refused write leaves them readable.
TEST(RecordsDatabase, ANewerSchemaIsReadNeverWritten) {
    const EnglishTexts english;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("records.sqlite"));
    {
        RecordsDatabase records(path);
        ASSERT_TRUE(records.AddBackups({Backup(QStringLiteral("one.bin"), QStringLiteral("000100"))}));
        EXPECT_EQ(records.newerSchema(), 0);
    }
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("newer"));
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        ASSERT_TRUE(QSqlQuery(db).exec(QStringLiteral("UPDATE schema_version SET version = 99")));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("newer"));
    RecordsDatabase newer(path);
    ASSERT_TRUE(newer.isOpen()) << newer.error().toStdString();
    EXPECT_EQ(newer.newerSchema(), 99);
    EXPECT_FALSE(newer.AddBackups({Backup(QStringLiteral("two.bin"), QStringLiteral("000101"))}));
    EXPECT_TRUE(
        newer.error().contains(QStringLiteral("newer version of this program (schema 99; this program "
                                              "knows %1)")
                                   .arg(RecordsDatabase::CurrentSchemaVersion())))
        << newer.error().toStdString();
    EXPECT_FALSE(newer.ReserveCodeBlock(0x7000, false, QStringLiteral("A"), QStringLiteral("u")));
    EXPECT_FALSE(newer.StartRun(QStringLiteral("A"), QStringLiteral("z.Zal"), QStringLiteral("ZAL")));
    EXPECT_EQ(newer.ImportUsedCodes({0x7000}, QStringLiteral("log.csv")).problem(),
              RecordsProblem::NewerSchema);
    ASSERT_TRUE(newer.Codes());
    EXPECT_TRUE(newer.Codes()->empty());
    const auto backups = newer.Backups({});
    ASSERT_TRUE(backups) << newer.error().toStdString();
    ASSERT_EQ(backups->size(), 1u);
    EXPECT_EQ(backups->front().file, QStringLiteral("one.bin"));
    EXPECT_TRUE(newer.Devices());
}

// Devices come by serial number as a number (3, 20, 100), not as text (100, 20, 3).
TEST(RecordsDatabase, DevicesComeInSerialNumberOrder) {
    QTemporaryDir dir;
    RecordsDatabase records(dir.filePath(QStringLiteral("records.sqlite")));
    ASSERT_TRUE(records.AddBackups({Backup(QStringLiteral("a.bin"), QStringLiteral("000100")),
                                    Backup(QStringLiteral("b.bin"), QStringLiteral("000020")),
                                    Backup(QStringLiteral("c.bin"), QStringLiteral("000003"))}));
    QStringList serials;
    for (const DeviceRecord& d : records.Devices().value_or(std::vector<DeviceRecord>{}))
        serials << d.device.serial;
    EXPECT_EQ(serials,
              (QStringList{QStringLiteral("000003"), QStringLiteral("000020"), QStringLiteral("000100")}));
}

// A relative Database= is taken in the data folder, whatever the current folder; a location that is
// neither an absolute path nor a URL is refused, and no file of its name appears.
TEST(RecordsDatabase, WhereTheRecordsAre) {
    const EnglishTexts english;
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("data")) + u'/';
    const QString settings = dir.filePath(QStringLiteral("Values.ini"));
    const QByteArray environment = qgetenv("ZAL_RECORDS");
    qunsetenv("ZAL_RECORDS");
    const struct {
        const char* setting;
        QString location;
    } cases[] = {
        {"", data + QStringLiteral("records.sqlite")},
        {"myrecords.sqlite", data + QStringLiteral("myrecords.sqlite")},
        {"sub/../r.sqlite", data + QStringLiteral("r.sqlite")},
        {"/srv/zal/records.sqlite", QStringLiteral("/srv/zal/records.sqlite")},
        {"postgresql://zal@db1,db2/zal", QStringLiteral("postgresql://zal@db1,db2/zal")},
    };
    for (const auto& c : cases) {
        QFile file(settings);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray("[Records]\nDatabase=") + c.setting + '\n');
        file.close();
        EXPECT_EQ(RecordsDatabase::Location(data, Settings::Load(settings)), c.location) << c.setting;
    }
    if (!environment.isNull())
        qputenv("ZAL_RECORDS", environment);
    const QString here = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    for (const char* location : {"garbage::%%%", "relative.sqlite", "mysql://db/zal"}) {
        RecordsDatabase records{QLatin1String(location)};
        EXPECT_FALSE(records.isOpen()) << location;
        EXPECT_TRUE(records.error().contains(QStringLiteral("absolute path or a postgresql:// URL")))
            << records.error().toStdString();
    }
    EXPECT_EQ(QDir().entryList(QDir::Files), QStringList{QStringLiteral("Values.ini")});
    QDir::setCurrent(here);

    // A server's URL as libpq reads it: a host list (a primary and its standby) writes only where
    // writing is possible; only options this program knows, with values it can pass on, are taken, and a
    // URL that is refused says why without its password.
    const struct {
        const char* url;
        const char* hosts;   // nullptr: refused
        const char* options; // or, when refused, what the reason says
    } servers[] = {
        {"postgresql://zal@db1,db2/zal", "db1,db2", "target_session_attrs=read-write"},
        {"postgresql://zal@db1:5433,[::1]:5434/zal?sslmode=require", "db1,::1",
         "port=5433,5434;sslmode=require;target_session_attrs=read-write"},
        {"postgresql://zal@/postgres?host=/run/a,/run/b&target_session_attrs=any", "/run/a,/run/b",
         "target_session_attrs=any"},
        {"postgresql://zal@db/zal?lock_timeout=2&statement_timeout=1min&replication_wait=500ms", "db", ""},
        {"postgresql://zal@db/zal?application_name=a%20b;x", nullptr, "cannot be passed on"},
        {"postgresql://zal@db:x/zal", nullptr, "is no number"},
        {"postgresql://zal:secret@db/zal", nullptr, "~/.pgpass"},
        {"postgresql://zal@db/zal?password=secret", nullptr, "~/.pgpass"},
        {"postgresql://zal@db/zal?sslmod=require", nullptr, "unknown option \"sslmod\""},
        {"postgresql://zal@db/zal?lock_timeout=2x", nullptr, "is no duration"},
        {"postgresql://zal@db/zal?statement_timeout=99999999min", nullptr, "is no duration"},
        {"postgresql://zal@[::1:5432/zal", nullptr, "bracket"},
    };
    for (const auto& c : servers) {
        const records_url::ServerUrl url = records_url::ParseServerUrl(QLatin1String(c.url));
        EXPECT_EQ(url.valid, c.hosts != nullptr) << c.url;
        EXPECT_EQ(RecordsDatabase::IsValidLocation(QLatin1String(c.url)), url.valid) << c.url;
        if (!url.valid) {
            const RecordsDatabase refused{QLatin1String(c.url)};
            EXPECT_EQ(refused.problem(), RecordsProblem::Invalid) << c.url;
            EXPECT_TRUE(refused.error().contains(QLatin1String(c.options))) << refused.error().toStdString();
            EXPECT_FALSE(refused.error().contains(QLatin1String("secret"))) << refused.error().toStdString();
            continue;
        }
        EXPECT_EQ(url.hosts.join(u','), QLatin1String(c.hosts)) << c.url;
        EXPECT_EQ(url.options().join(u';'), QLatin1String(c.options)) << c.url;
    }
    EXPECT_EQ(RecordsDatabase::ShownLocation(QStringLiteral("postgresql://zal:secret@db/zal?password=x&a=b")),
              QStringLiteral("postgresql://zal@db/zal?password=***&a=b"));
    const struct {
        const char* text;
        qint64 ms; // -1: none
    } waits[] = {{"2", 2}, {"2s", 2000}, {"1min", 60000}, {"500ms", 500}, {"2x", -1}, {"", -1}, {"s", -1}};
    for (const auto& w : waits)
        EXPECT_EQ(DurationMs(QLatin1String(w.text)).value_or(-1), w.ms) << w.text;
}

// Records this user may read but not write (the file, or its folder too): read, never written, and a
// write says why. As root, whom no mode stops, the check runs as nobody in a child process.
TEST(RecordsDatabase, ReadOnlyRecordsAreStillRead) {
    const EnglishTexts english;
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("data"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/records.sqlite");
    // Made on a thread of its own, whose end closes its connection: the child must make its own.
    std::thread([&path] {
        RecordsDatabase records(path);
        EXPECT_TRUE(records.AddBackups({Backup(QStringLiteral("one.bin"), QStringLiteral("000100"))}));
    }).join();
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
    for (const QString& file : QDir(folder).entryList(QDir::Files))
        ASSERT_EQ(::chmod(QFile::encodeName(folder + u'/' + file).constData(), 0444), 0);
    for (const mode_t folderMode : {0777, 0555}) {
        ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), folderMode), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (::geteuid() == 0 && ::setresuid(65534, 65534, 65534) != 0)
                ::_exit(100);
            RecordsDatabase records(path);
            int fault = records.isOpen() ? 0 : 1;
            fault |= records.readOnly() ? 0 : 2;
            const auto backups = records.Backups({});
            fault |= backups && backups->size() == 1 ? 0 : 4;
            fault |= records.Devices() ? 0 : 8;
            fault |= !records.AddBackups({Backup(QStringLiteral("two.bin"), QStringLiteral("000101"))}) &&
                             records.problem() == RecordsProblem::ReadOnly &&
                             records.error().contains(QStringLiteral("read-only"))
                         ? 0
                         : 16;
            ::_exit(fault);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "folder mode " << std::oct << folderMode;
    }
    ::chmod(QFile::encodeName(folder).constData(), 0755);
}

// Records of every earlier schema are brought forward with every row kept: each is built from a frozen
// copy of what that version made (tests/records/schemas, never from today's migrations, so that an
// edited old migration cannot pass), given the rows its version holds, and opened.
TEST(RecordsDatabase, EveryEarlierSchemaIsBroughtForward) {
    for (int version = 1; version < RecordsDatabase::CurrentSchemaVersion(); ++version) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("records.sqlite"));
        const QString name = QStringLiteral("schema %1").arg(version);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(path);
            ASSERT_TRUE(db.open());
            QSqlQuery q(db);
            QFile frozen(QStringLiteral(ZAL_SOURCE_DIR "/tests/records/schemas/sqlite-v%1.sql").arg(version));
            ASSERT_TRUE(frozen.open(QIODevice::ReadOnly)) << frozen.fileName().toStdString();
            QStringList statements;
            for (const QString& line : QString::fromUtf8(frozen.readAll()).split(u'\n', Qt::SkipEmptyParts))
                if (!line.startsWith(QLatin1String("--")))
                    statements << line.chopped(1); // each statement a line, ending in ";"
            // A ZAL 000100 that the line gave 7000-7005, and a BORA of the same serial that was only read.
            statements << QStringLiteral("INSERT INTO fixed_codes VALUES (%1, 28672, 'written', 'A', 'u', "
                                         "'000100', '2026-01-01T00:00:00Z'") +
                              (version >= 5 ? QStringLiteral(", 'ZAL')") : QStringLiteral(")"));
            if (version >= 3)
                statements << QStringLiteral(
                                  "INSERT INTO backups (station, file, time_ms, time_utc, command, result, "
                                  "user_name, product, product_name, version, serial, serial_key, radio_id, "
                                  "device_key, image) VALUES ('A', 'b.bin', 1, '1970-01-01T00:00:00Z', "
                                  "'read', 'done', 'vm', 1, 'BORA', '22.08', '000100', '100', 'A001', "
                                  "'BORA 000100', x'00')")
                           << QStringLiteral(
                                  "INSERT INTO devices VALUES ('BORA 000100', 1, 'BORA', '22.08', '000100', "
                                  "'100', 'A001', 1, 'A'") +
                                  (version >= 6 ? QStringLiteral(", '', 0)") : QStringLiteral(")"))
                           << QStringLiteral("INSERT INTO production_runs VALUES (1, 'A', 'vm', "
                                             "'2026-01-01T00:00:00Z', 'z.Zal', 'ZAL')")
                           << QStringLiteral(
                                  "INSERT INTO production_rows VALUES (1, '2026-01-01T00:00:00Z', 'A', 'u', "
                                  "'000100', 'ZAL', '22.08', 'A001', '7000 7001 7002 7003 7004 7005', "
                                  "'written', '', 1)");
            for (const QString& sql : statements) {
                if (sql.startsWith(QLatin1String("INSERT INTO fixed_codes"))) {
                    for (int code = 0x7000; code <= 0x7005; ++code)
                        ASSERT_TRUE(q.exec(sql.arg(code))) << q.lastError().text().toStdString();
                } else {
                    ASSERT_TRUE(q.exec(sql))
                        << version << ' ' << sql.toStdString() << ' ' << q.lastError().text().toStdString();
                }
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
        RecordsDatabase records(path);
        ASSERT_TRUE(records.isOpen()) << version << records.error().toStdString();
        EXPECT_EQ(records.schemaVersion(), RecordsDatabase::CurrentSchemaVersion()) << version;
        EXPECT_EQ(records.Codes().value_or({}).size(), 6u) << version;
        if (version < 3)
            continue;
        const auto backups = records.Backups({.images = true});
        ASSERT_TRUE(backups && backups->size() == 1) << version;
        EXPECT_EQ(backups->front().image, QByteArray(1, '\0'));
        // The codes went to the ZAL the production row names, not to the BORA of the same serial.
        const auto devices = records.Devices();
        ASSERT_TRUE(devices && devices->size() == 1) << version;
        EXPECT_EQ(devices->front().codes, QString()) << version;
        // A ZAL 000200 takes the place of the ZAL 000100, and its codes with it; the BORA keeps none.
        const DeviceIdentity broken{.product = kZal,
                                    .productName = QStringLiteral("ZAL"),
                                    .version = QStringLiteral("22.08"),
                                    .shownSerial = QStringLiteral("100"),
                                    .serial = QStringLiteral("000100"),
                                    .radioId = QStringLiteral("7000")};
        DeviceIdentity replacement = broken;
        replacement.shownSerial = QStringLiteral("200");
        replacement.serial = QStringLiteral("000200");
        ASSERT_TRUE(records.RecordReplacement(broken, replacement, QStringLiteral("B"))) << version;
        QStringList seen;
        const auto after = records.Devices();
        ASSERT_TRUE(after) << version;
        const auto uncounted = records.Devices(false);
        ASSERT_TRUE(uncounted && uncounted->size() == after->size()) << version;
        for (size_t i = 0; i < after->size(); ++i) {
            const DeviceRecord& d = (*after)[i];
            seen << d.device.deviceKey() + u':' + d.codes + u'>' + d.replacedBy;
            // Counted one by one as counted all at once.
            EXPECT_EQ((*uncounted)[i].backups, -1);
            EXPECT_EQ(records.BackupCount((*uncounted)[i].device), d.backups) << version;
        }
        EXPECT_EQ(seen.join(u','), QStringLiteral("BORA 000100:>,ZAL 000100:>ZAL 000200,"
                                                  "ZAL 000200:7000 7001 7002 7003 7004 7005>"))
            << version;
    }
}

class PostgresServer : public ::testing::Test {
protected:
    void SetUp() override {
        if (!server_.installed())
            GTEST_SKIP() << "PostgreSQL is not installed (./test installs it)";
        ASSERT_TRUE(server_.running());
        location_ = server_.location();
    }
    void stopServer() { ASSERT_TRUE(server_.stop()); }
    void startServer() { ASSERT_TRUE(server_.start()); }

    test::PostgresServer server_;
    QString location_;
};

// Two stations with two units each reserve blocks at the same time: no code twice. Then the server
// goes away: nothing more is handed out, and the allocator says the database cannot be reached.
TEST_F(PostgresServer, StationsNeverShareACodeAndAGoneServerHandsOutNothing) {
    RecordsDatabase records(location_);
    ASSERT_TRUE(records.isOpen()) << records.error().toStdString();
    EXPECT_TRUE(records.postgres());
    EXPECT_EQ(records.schemaVersion(), RecordsDatabase::CurrentSchemaVersion());
    EXPECT_EQ(records.ImportUsedCodes({0x5003}, QStringLiteral("log.csv")), 1);

    CodeAllocator a(0x5000, false, location_, QStringLiteral("station A"));
    CodeAllocator b(0x5000, false, location_, QStringLiteral("station B"));
    std::vector<Block> blocks(4 * 5);
    // Qt's threads, as this process has no application object to clean up after foreign ones.
    std::vector<std::unique_ptr<QThread>> units;
    for (int unit = 0; unit < 4; ++unit) {
        units.emplace_back(QThread::create([&, unit] {
            CodeAllocator& station = unit < 2 ? a : b;
            for (int i = 0; i < 5; ++i)
                blocks[static_cast<size_t>(unit * 5 + i)] =
                    station.Next(QString::number(unit)).value_or(Block{});
        }));
        units.back()->start();
    }
    for (auto& t : units)
        t->wait();
    std::set<std::uint16_t> seen{0x5003};
    for (const Block& block : blocks) {
        ASSERT_EQ(block.size(), 6u);
        for (const std::uint16_t code : block)
            EXPECT_TRUE(seen.insert(code).second) << code;
    }

    stopServer();
    const Result<Block> away = a.Next();
    EXPECT_FALSE(away);
    EXPECT_EQ(away.problem(), RecordsProblem::Unreachable);
    EXPECT_FALSE(away.error().isEmpty());
    startServer();
    const Result<Block> back = a.Next();
    EXPECT_EQ(back.value_or(Block{}).size(), 6u) << back.error().toStdString();
}

// An administrator's transaction holding the codes' table, a frozen server, a port that accepts and
// never answers, a stop asked for: each call ends in its time, says which of them it met, and the next
// call after it works again.
TEST_F(PostgresServer, EveryWaitEnds) {
    const auto reserve = [](RecordsDatabase& records) {
        return records.ReserveCodeBlock(0x6000, false, QStringLiteral("A"), QStringLiteral("u"))
            .value_or(Block{})
            .size();
    };
    QElapsedTimer timer;
    {
        RecordsDatabase made(location_);
        ASSERT_TRUE(made.isOpen()) << made.error().toStdString();
    }
    {
        QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("admin"));
        admin.setHostName(location_.section(QStringLiteral("host="), 1));
        admin.setUserName(QStringLiteral("zal"));
        admin.setDatabaseName(QStringLiteral("postgres"));
        ASSERT_TRUE(admin.open());
        QSqlQuery q(admin);
        ASSERT_TRUE(q.exec(QStringLiteral("BEGIN")));
        ASSERT_TRUE(q.exec(QStringLiteral("LOCK TABLE fixed_codes IN ACCESS EXCLUSIVE MODE")));
        timer.start();
        RecordsDatabase records(location_ + QStringLiteral("&lock_timeout=300ms"));
        ASSERT_TRUE(records.isOpen()) << records.error().toStdString();
        EXPECT_EQ(reserve(records), 0u);
        EXPECT_LT(timer.elapsed(), 5000);
        EXPECT_EQ(records.problem(), RecordsProblem::Busy) << records.error().toStdString();
        EXPECT_TRUE(records.error().contains(QStringLiteral("lock timeout")))
            << records.error().toStdString();
        // A wait that is no duration is refused, and never reaches the server's SET.
        RecordsDatabase odd(location_ + QStringLiteral("&lock_timeout=1';DROP"));
        EXPECT_EQ(odd.problem(), RecordsProblem::Invalid) << odd.error().toStdString();
        q.exec(QStringLiteral("ROLLBACK"));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("admin"));
    RecordsDatabase records(location_ + QStringLiteral("&lock_timeout=300ms&statement_timeout=1s"));
    EXPECT_EQ(reserve(records), 6u) << records.error().toStdString();

    // Frozen, the server cannot time its own statements out: the program's watch does, a little later.
    ASSERT_TRUE(server_.freeze(true));
    timer.restart();
    EXPECT_EQ(reserve(records), 0u);
    EXPECT_LT(timer.elapsed(), 6000);
    EXPECT_EQ(records.problem(), RecordsProblem::TimedOut) << records.error().toStdString();
    ASSERT_TRUE(server_.freeze(false));
    EXPECT_EQ(reserve(records), 6u) << records.error().toStdString();

    // A port that takes the connection and never answers: the connect timeout.
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), length), 0);
    ASSERT_EQ(::listen(listener, 4), 0);
    ASSERT_EQ(::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
    timer.restart();
    RecordsDatabase silent(
        QStringLiteral("postgresql://zal@127.0.0.1:%1/zal?connect_timeout=2s").arg(ntohs(address.sin_port)));
    EXPECT_FALSE(silent.isOpen());
    EXPECT_EQ(silent.problem(), RecordsProblem::Unreachable) << silent.error().toStdString();
    EXPECT_LT(timer.elapsed(), 5000);
    ::close(listener);

    // A stop (Ctrl+C, SIGTERM) while the server is frozen and the wait is long: over within a second.
    RecordsDatabase patient(location_);
    ASSERT_TRUE(patient.isOpen()) << patient.error().toStdString();
    ASSERT_TRUE(server_.freeze(true));
    std::thread stop([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        RecordsDatabase::CancelRunning();
    });
    timer.restart();
    EXPECT_EQ(reserve(patient), 0u);
    EXPECT_LT(timer.elapsed(), 2000);
    EXPECT_EQ(patient.problem(), RecordsProblem::Cancelled) << patient.error().toStdString();
    stop.join();
    ASSERT_TRUE(server_.freeze(false));
}

// A primary whose synchronous standby is down: a reservation it cannot have confirmed is never handed
// out and stays reserved on the primary, an empty database's schema is not taken as made, and the wait
// is the program's own (1 s here), not the statement timeout. A standby that commits do not wait for
// is named before any code goes out.
TEST_F(PostgresServer, OnlyAReservationTheStandbyConfirmedCounts) {
    test::PostgresServer standby(server_);
    ASSERT_TRUE(standby.running());
    server_.sql(QStringLiteral("CREATE DATABASE empty"));
    const QString hosts =
        QStringLiteral("?host=%1,%2&replication_wait=1s").arg(server_.folder(), standby.folder());
    const QString both = QStringLiteral("postgresql://zal@/postgres") + hosts;
    {
        RecordsDatabase records(both);
        ASSERT_TRUE(records.isOpen()) << records.error().toStdString();
        EXPECT_EQ(records.ReplicationRisk(), QString());
    }
    ASSERT_TRUE(standby.stop());
    CodeAllocator line(0x3000, false, both, QStringLiteral("A"));
    QElapsedTimer timer;
    timer.start();
    const Result<Block> unconfirmed = line.Next();
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_EQ(unconfirmed.problem(), RecordsProblem::Unconfirmed) << unconfirmed.error().toStdString();
    EXPECT_TRUE(unconfirmed.error().contains(QStringLiteral("3000 3001 3002 3003 3004 3005")))
        << unconfirmed.error().toStdString();
    EXPECT_EQ(server_.sql(QStringLiteral("SELECT string_agg(to_hex(code), ' ' ORDER BY code) FROM "
                                         "fixed_codes WHERE state = 'reserved'")),
              QStringLiteral("3000 3001 3002 3003 3004 3005"));

    timer.restart();
    RecordsDatabase fresh(QStringLiteral("postgresql://zal@/empty") + hosts);
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_FALSE(fresh.isOpen());
    EXPECT_EQ(fresh.problem(), RecordsProblem::Unconfirmed) << fresh.error().toStdString();

    server_.sql(QStringLiteral("ALTER SYSTEM SET synchronous_standby_names = ''"));
    server_.sql(QStringLiteral("SELECT pg_reload_conf()"));
    ASSERT_TRUE(standby.start());
    for (int i = 0; i < 100 && server_.sql(QStringLiteral("SELECT count(*) FROM pg_stat_replication WHERE "
                                                          "sync_state = 'async'")) != QLatin1String("1");
         ++i)
        QThread::msleep(100);
    const Result<QString> risk = RecordsDatabase(both).ReplicationRisk();
    ASSERT_TRUE(risk) << risk.error().toStdString();
    EXPECT_TRUE(risk->contains(QStringLiteral("synchronous_standby_names"))) << risk->toStdString();
    ASSERT_TRUE(standby.stop());
    EXPECT_EQ(RecordsDatabase(both).ReplicationRisk(), QString()); // a server alone
}

// What a log says became of its codes reaches records that still hold them as only reserved (the server
// was away when the device was written), never codes they already know the fate of; and a code the run
// or its log gave out is never handed out again, whatever the records answer.
TEST_F(PostgresServer, TheLogSettlesTheRecordsAndIsNeverRepeated) {
    RecordsDatabase records(location_);
    const Result<Block> block = records.ReserveCodeBlock(0x4000, false, QStringLiteral("A"), QString());
    ASSERT_TRUE(block) << block.error().toStdString();
    ASSERT_TRUE(records.ReserveCodeBlock(0x4100, false, QStringLiteral("A"), QString()));
    ASSERT_TRUE(records.SetCodesState({0x4100}, QStringLiteral("failed"), QStringLiteral("000009")));
    std::map<std::uint16_t, RecordsDatabase::LoggedCode> logged;
    for (const std::uint16_t code : *block)
        logged[code] = {QStringLiteral("written"), QStringLiteral("004711"), QStringLiteral("ZAL")};
    logged[0x4100] = {QStringLiteral("written"), QStringLiteral("000001"), QStringLiteral("ZAL")};
    EXPECT_EQ(records.ReconcileCodes(logged), 6);
    EXPECT_EQ(server_.sql(QStringLiteral("SELECT string_agg(state || ':' || serial, ' ' ORDER BY code) "
                                         "FROM fixed_codes WHERE code IN (16384, 16640)")),
              QStringLiteral("written:004711 failed:000009"));

    // Records that lost what this run handed out (a restored database): the block goes nowhere.
    ASSERT_TRUE(records.ReleaseCodes({0x4101, 0x4102, 0x4103, 0x4104, 0x4105}));
    server_.sql(QStringLiteral("DELETE FROM fixed_codes WHERE code BETWEEN 16640 AND 16645"));
    CodeAllocator line(0x4100, false, location_, QStringLiteral("A"), {0x4102});
    const Result<Block> again = line.Next();
    EXPECT_EQ(again.problem(), RecordsProblem::Conflict);
    EXPECT_TRUE(again.error().contains(QStringLiteral("4102"))) << again.error().toStdString();
    const Result<Block> next = line.Next();
    ASSERT_TRUE(next) << next.error().toStdString();
    EXPECT_EQ(next->front(), 0x4107);
}

// A long list from a server that answers: read whole and in order, however long its reader takes over
// it (here about 6 s, twice the statement timeout), with many backups of one time across its pages.
TEST_F(PostgresServer, ALongListIsNeverCut) {
    ASSERT_TRUE(RecordsDatabase(location_).isOpen());
    server_.sql(QStringLiteral(
        "INSERT INTO backups (station, file, time_ms, time_utc, command, result, user_name, product, "
        "product_name, version, serial, serial_key, radio_id, device_key, image) SELECT 'A', 'f' || i, i / "
        "7, "
        "'', 'read', 'done', 'u', 2, 'ZAL', '22.08', '000001', '1', 'A001', 'ZAL 000001', '\\x00'::bytea "
        "FROM generate_series(1, 150000) i"));
    RecordsDatabase records(location_ + QStringLiteral("&statement_timeout=3s"));
    int listed = 0;
    QString last;
    bool ordered = true;
    QElapsedTimer timer;
    timer.start();
    const Result<> read = records.Backups({}, [&](const BackupEntry& e) {
        ordered = ordered && e.file == QStringLiteral("f%1").arg(++listed);
        if (listed % 100 == 0)
            QThread::msleep(4);
        return true;
    });
    EXPECT_TRUE(read) << read.error().toStdString();
    EXPECT_EQ(listed, 150000);
    EXPECT_TRUE(ordered);
    EXPECT_GT(timer.elapsed(), 5000); // longer than one statement may take
}

} // namespace
