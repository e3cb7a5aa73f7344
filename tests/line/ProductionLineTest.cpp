#include "line/ProductionLine.h"
#include "editor/FixedCodeWindows.h"
#include "records/RecordsDatabase.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>

using namespace zal;

namespace {

using Block = std::vector<std::uint16_t>;

TEST(CodeAllocator, HandsOutBlocksThatNeverShareACode) {
    const struct {
        const char* name;
        std::uint16_t first;
        bool plus;
        std::set<std::uint16_t> used;
        std::vector<Block> expected;
    } cases[] = {
        {"classic",
         0xA100,
         false,
         {},
         {{0xA100, 0xA101, 0xA102, 0xA103, 0xA104, 0xA105},
          {0xA106, 0xA107, 0xA108, 0xA109, 0xA10A, 0xA10B}}},
        {"classic past FFFE",
         0xFFFC,
         false,
         {},
         {{0xFFFC, 0xFFFD, 0xFFFE, 0x0001, 0x0002, 0x0003},
          {0x0004, 0x0005, 0x0006, 0x0007, 0x0008, 0x0009}}},
        {"plus skips what the log used",
         0x1000,
         true,
         {0x1004},
         {{0x1005, 0x1006, 0x1007, 0x1008, 0x1009, 0x100A, 0x100B, 0x100C, 0x100D}}},
        {"plus never reaches FFFF",
         0xFFF0,
         true,
         {},
         {{0xFFF0, 0xFFF1, 0xFFF2, 0xFFF3, 0xFFF4, 0xFFF5, 0xFFF6, 0xFFF7, 0xFFF8},
          {0x0001, 0x0002, 0x0003, 0x0004, 0x0005, 0x0006, 0x0007, 0x0008, 0x0009}}},
    };
    test::TempHome home;
    int n = 0;
    for (const auto& c : cases) {
        const QString database = home.file(QStringLiteral("records%1.sqlite").arg(n++));
        RecordsDatabase(database).ImportUsedCodes(c.used, QStringLiteral("log.csv"));
        CodeAllocator codes(c.first, c.plus, database, QStringLiteral("test"));
        for (const Block& expected : c.expected) {
            const Result<Block> next = codes.Next();
            EXPECT_EQ(next, expected) << c.name << next.error().toStdString();
        }
    }
    // All codes given: nothing more, rather than a code twice.
    std::set<std::uint16_t> all;
    for (int code = 1; code < 0xFFFF; ++code)
        all.insert(static_cast<std::uint16_t>(code));
    all.erase(0x1234);
    const QString full = home.file(QStringLiteral("full.sqlite"));
    RecordsDatabase(full).ImportUsedCodes(all, QStringLiteral("log.csv"));
    CodeAllocator none(0x1000, false, full, QStringLiteral("test"));
    EXPECT_EQ(none.Next().problem(), RecordsProblem::Exhausted);
}

// Units in threads of their own, each reserving through its own connection, never share a code; a
// block given back is handed out again, one that failed stays used; the schema is at its version.
TEST(CodeAllocator, ReservationsInOneDatabaseNeverShareACode) {
    test::TempHome home;
    const QString database = home.file(QStringLiteral("records.sqlite"));
    CodeAllocator codes(0x3000, false, database, QStringLiteral("station"));
    std::vector<Block> blocks(8);
    // Qt's threads, as this process has no application object to clean up after foreign ones.
    std::vector<std::unique_ptr<QThread>> units;
    for (size_t i = 0; i < blocks.size(); ++i) {
        units.emplace_back(QThread::create(
            [&codes, &blocks, i] { blocks[i] = codes.Next(QString::number(i)).value_or(Block{}); }));
        units.back()->start();
    }
    for (auto& t : units)
        t->wait();
    std::set<std::uint16_t> seen;
    for (const Block& b : blocks) {
        ASSERT_EQ(b.size(), 6u);
        for (const std::uint16_t code : b)
            EXPECT_TRUE(seen.insert(code).second) << code;
    }
    codes.GiveBack(blocks[0]);
    codes.Settle(blocks[1], QStringLiteral("failed"), QStringLiteral("000042"));
    EXPECT_EQ(codes.Next(), blocks[0]);
    RecordsDatabase records(database);
    EXPECT_EQ(records.schemaVersion(), RecordsDatabase::CurrentSchemaVersion());
    const auto all = records.Codes().value_or({});
    EXPECT_EQ(all.size(), 8u * 6u);
    const auto failed =
        std::find_if(all.begin(), all.end(), [&](const auto& c) { return c.first == blocks[1][0]; });
    ASSERT_NE(failed, all.end());
    EXPECT_EQ(failed->second, QStringLiteral("failed"));
    // A database that cannot be reached hands out nothing and says so.
    CodeAllocator nowhere(0x3000, false, home.file(QStringLiteral("no/such/folder/records.sqlite")),
                          QStringLiteral("station"));
    const Result<Block> unreachable = nowhere.Next();
    EXPECT_FALSE(unreachable);
    EXPECT_EQ(unreachable.problem(), RecordsProblem::Unreachable);
    EXPECT_FALSE(unreachable.error().isEmpty());
}

// The log takes only a log of its own form; a row torn by a crash is ended, a log moved away is made
// again with its header, and a row that does not fit on the disk is not written at all, its cause said.
TEST(LineLog, IsNeverDamaged) {
    test::TempHome home;
    const QByteArray header = LineLog::Columns().join(u',').toUtf8() + '\n';
    LineRecord row;
    row.time = QDateTime::fromString(QStringLiteral("2026-12-08T11:35:05Z"), Qt::ISODate);
    row.serial = QStringLiteral("000601");
    row.codes = QStringLiteral("6600 6601 6602 6603 6604 6605");
    row.result = QStringLiteral("written");
    const QString fifo = home.file(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    const QString passwd =
        test::WriteTestFile(home.file(QStringLiteral("passwd")), "root:x:0:0:root:/root:/bin/bash\n");
    const QString link = home.file(QStringLiteral("link.csv"));
    ASSERT_TRUE(QFile::link(passwd, link));
    for (const QString& path : {fifo, link, home.path(), QStringLiteral("/dev/null")}) {
        LineLog log;
        const Result<> opened = log.Open(path);
        EXPECT_FALSE(opened) << path.toStdString();
        EXPECT_FALSE(opened.error().isEmpty()) << path.toStdString();
    }
    EXPECT_EQ(test::ReadTestFile(passwd), "root:x:0:0:root:/root:/bin/bash\n");

    const QString path =
        test::WriteTestFile(home.file(QStringLiteral("log.csv")), header + "2026-12-08T11:35:04Z,000600");
    LineLog log;
    ASSERT_TRUE(log.Open(path));
    ASSERT_TRUE(log.Append(row));
    const QByteArray written = test::ReadTestFile(path);
    EXPECT_TRUE(written.endsWith(
        ",000600\n2026-12-08T11:35:05Z,000601,,,,6600 6601 6602 6603 6604 6605,written,,0,\n"))
        << written.constData();
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(log.Append(row));
    EXPECT_TRUE(test::ReadTestFile(path).startsWith(header + "2026-12-08T11:35:05Z,000601,"));

    // A full disk, as a file size limit makes it: nothing of the row stays, and the cause is said.
    const qint64 before = QFileInfo(path).size();
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{static_cast<rlim_t>(before + 10), static_cast<rlim_t>(before + 10)};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const Result<> appended = log.Append(row);
        ::_exit(!appended && !appended.error().isEmpty() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(QFileInfo(path).size(), before);
}

} // namespace
