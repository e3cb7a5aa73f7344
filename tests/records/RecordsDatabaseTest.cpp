// The records database on a real PostgreSQL server, started for the test.

#include "records/RecordsDatabase.h"
#include "line/ProductionLine.h"
#include "support/PostgresServer.h"

#include <QThread>

#include <gtest/gtest.h>

#include <memory>
#include <set>

using namespace zal;

namespace {

using Block = std::vector<std::uint16_t>;

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
