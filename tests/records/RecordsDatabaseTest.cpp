// The records database on a real PostgreSQL server, started for the test: initdb into a temporary folder,
// the server on a Unix socket in that folder (no TCP), run as an unprivileged user because PostgreSQL
// refuses root, stopped at the end.

#include "records/RecordsDatabase.h"
#include "line/ProductionLine.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <unistd.h>

using namespace zal;

namespace {

using Block = std::vector<std::uint16_t>;

class PostgresServer : public ::testing::Test {
protected:
    void SetUp() override {
        const QStringList versions =
            QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        for (const QString& v : versions) {
            if (QFile::exists(QStringLiteral("/usr/lib/postgresql/%1/bin/initdb").arg(v)))
                bin_ = QStringLiteral("/usr/lib/postgresql/%1/bin/").arg(v);
        }
        if (bin_.isEmpty())
            GTEST_SKIP() << "PostgreSQL is not installed (./test installs it)";
        ASSERT_TRUE(folder_.isValid());
        folder_.setAutoRemove(true);
        // PostgreSQL refuses to run as root: as root, the server runs as nobody in a folder of its own.
        if (::geteuid() == 0) {
            ASSERT_EQ(::chmod(QFile::encodeName(folder_.path()).constData(), 0777), 0);
            as_ = {QStringLiteral("/usr/sbin/runuser"), QStringLiteral("-u"), QStringLiteral("nobody"),
                   QStringLiteral("--")};
        }
        ASSERT_TRUE(run({bin_ + QStringLiteral("initdb"), QStringLiteral("-D"), data(), QStringLiteral("-A"),
                         QStringLiteral("trust"), QStringLiteral("-U"), QStringLiteral("zal"),
                         QStringLiteral("--no-sync"), QStringLiteral("-E"), QStringLiteral("UTF8")}));
        startServer();
        location_ = QStringLiteral("postgresql://zal@/postgres?host=") + folder_.path();
    }
    void TearDown() override {
        if (!bin_.isEmpty() && started_)
            run({bin_ + QStringLiteral("pg_ctl"), QStringLiteral("-D"), data(), QStringLiteral("-m"),
                 QStringLiteral("immediate"), QStringLiteral("-w"), QStringLiteral("stop")});
    }
    void startServer() {
        started_ = run({bin_ + QStringLiteral("pg_ctl"), QStringLiteral("-D"), data(), QStringLiteral("-l"),
                        folder_.filePath(QStringLiteral("log")), QStringLiteral("-w"), QStringLiteral("-o"),
                        QStringLiteral("-k %1 -c listen_addresses= -c fsync=off").arg(folder_.path()),
                        QStringLiteral("start")});
        ASSERT_TRUE(started_) << QFile(folder_.filePath(QStringLiteral("log"))).readAll().constData();
    }
    void stopServer() {
        ASSERT_TRUE(run({bin_ + QStringLiteral("pg_ctl"), QStringLiteral("-D"), data(), QStringLiteral("-m"),
                         QStringLiteral("fast"), QStringLiteral("-w"), QStringLiteral("stop")}));
        started_ = false;
    }
    QString data() const { return folder_.filePath(QStringLiteral("data")); }
    bool run(QStringList command) {
        command = as_ + command;
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(command.takeFirst(), command);
        const bool ok =
            p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
        if (!ok)
            ADD_FAILURE() << command.join(u' ').toStdString() << ":\n" << p.readAll().constData();
        return ok;
    }

    QString bin_, location_;
    QStringList as_;
    QTemporaryDir folder_;
    bool started_ = false;
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
        ASSERT_EQ(block.size(), 6u) << a.why().toStdString() << b.why().toStdString();
        for (const std::uint16_t code : block)
            EXPECT_TRUE(seen.insert(code).second) << code;
    }

    stopServer();
    EXPECT_EQ(a.Next(), std::nullopt);
    EXPECT_TRUE(a.unreachable());
    EXPECT_FALSE(a.why().isEmpty());
    startServer();
    EXPECT_EQ(a.Next().value_or(Block{}).size(), 6u) << a.why().toStdString();
}

} // namespace
