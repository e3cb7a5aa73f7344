// One suite, run against every way of reaching a KBX: the in-process simulator in virtual time, and
// kbx-sim on a real pseudo-terminal through the tty transport.

#include "config/ImageFile.h"
#include "device/KbxInterface.h"
#include "device/TtyTransport.h"
#include "support/SimRig.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zal;
using namespace zal::test;

namespace {

ConfigImage Pattern(int salt) {
    ConfigImage image;
    for (int i = 0; i < kImageSize; ++i)
        image[i] = static_cast<std::uint8_t>(i * 31 + salt);
    return image;
}

struct Faults {
    double nakRate = 0, corruptRate = 0, lateRate = 0;
    QString protect; // "A0-AF"
    std::uint32_t seed = 1;
};

// A device behind a KBX, with a way in and a way to look at the device memory afterwards.
class Backend {
public:
    virtual ~Backend() = default;
    virtual void start(const ConfigImage& memory, const Faults& faults) = 0;
    virtual std::unique_ptr<TKbxInterface> connect() = 0;
    virtual ConfigImage deviceMemory() = 0; // ends the device's run
};

class InProcess : public Backend {
public:
    void start(const ConfigImage& memory, const Faults& faults) override {
        sim::KbxSimOptions o;
        o.seed = faults.seed;
        o.nakRate = faults.nakRate;
        o.corruptRate = faults.corruptRate;
        o.lateRate = faults.lateRate;
        if (!faults.protect.isEmpty())
            o.writeProtected.push_back(
                {faults.protect.left(2).toInt(nullptr, 16), faults.protect.right(2).toInt(nullptr, 16)});
        rig_ = std::make_unique<SimRig>(o);
        rig_->engine.memory() = memory;
    }
    std::unique_ptr<TKbxInterface> connect() override { return rig_->makeInterface(); }
    ConfigImage deviceMemory() override { return rig_->engine.memory(); }

private:
    std::unique_ptr<SimRig> rig_;
};

class OverPty : public Backend {
public:
    void start(const ConfigImage& memory, const Faults& faults) override {
        const QString image = home_.file(QStringLiteral("device.bin"));
        ASSERT_TRUE(SaveImageFile(image, memory));
        QStringList args{"--image",        image,
                         "--save",         home_.file(QStringLiteral("saved.bin")),
                         "--latency-ms",   "0",
                         "--seed",         QString::number(faults.seed),
                         "--nak-rate",     QString::number(faults.nakRate),
                         "--corrupt-rate", QString::number(faults.corruptRate),
                         "--late-rate",    QString::number(faults.lateRate)};
        if (!faults.protect.isEmpty())
            args << "--protect" << faults.protect;
        sim_ = std::make_unique<SimProcess>(args);
        ASSERT_TRUE(sim_->ready());
    }
    std::unique_ptr<TKbxInterface> connect() override {
        const QString path = sim_->path();
        return std::make_unique<TKbxInterface>([path] { return std::make_unique<TtyTransport>(path); },
                                               SystemClock());
    }
    ConfigImage deviceMemory() override {
        sim_->stop();
        ConfigImage image{};
        EXPECT_TRUE(LoadImageFile(home_.file(QStringLiteral("saved.bin")), image));
        return image;
    }

private:
    TempHome home_;
    std::unique_ptr<SimProcess> sim_;
};

class TransportSuite : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        if (std::string(GetParam()) == "InProcess")
            backend = std::make_unique<InProcess>();
        else
            backend = std::make_unique<OverPty>();
    }
    std::unique_ptr<Backend> backend;
};

TEST_P(TransportSuite, ReadsTheWholeImage) {
    backend->start(Pattern(3), {});
    auto kbx = backend->connect();
    ASSERT_EQ(kbx->Open(), kbxOk);
    EXPECT_EQ(kbx->ConnectDevice(), kbxOk);
    ConfigImage image{};
    EXPECT_EQ(kbx->ReadImage(image), kbxOk);
    EXPECT_EQ(image, Pattern(3));
    kbx->Close();
}

TEST_P(TransportSuite, WritesAndReadsBackUnderFaults) {
    backend->start(Pattern(1), {.nakRate = 0.1, .corruptRate = 0.1, .protect = {}, .seed = 11});
    auto kbx = backend->connect();
    ASSERT_EQ(kbx->Open(), kbxOk);
    const ConfigImage wanted = Pattern(2);
    EXPECT_EQ(kbx->WriteBlock(wanted, 0x00, 0xFF), kbxOk);
    ConfigImage back{};
    EXPECT_EQ(kbx->ReadImage(back), kbxOk);
    EXPECT_EQ(back, wanted);
    kbx->Close();
    EXPECT_EQ(backend->deviceMemory(), wanted);
}

TEST_P(TransportSuite, AProtectedRangeIsAcceptedButOnlyTheReadBackTells) {
    backend->start(Pattern(1), {.protect = QStringLiteral("A0-AF")});
    auto kbx = backend->connect();
    ASSERT_EQ(kbx->Open(), kbxOk);
    const ConfigImage wanted = Pattern(2);
    EXPECT_EQ(kbx->WriteBlock(wanted, 0x00, 0xFF), kbxOk);
    ConfigImage back{};
    EXPECT_EQ(kbx->ReadImage(back), kbxOk);
    EXPECT_TRUE(SameRange(back, wanted, 0x00, 0x9F));
    EXPECT_TRUE(SameRange(back, Pattern(1), 0xA0, 0xAF));
    EXPECT_TRUE(SameRange(back, wanted, 0xB0, 0xFF));
}

TEST_P(TransportSuite, LateRepliesAreNeverTakenForTheNextCommands) {
    backend->start(Pattern(5), {.lateRate = 0.2, .protect = {}, .seed = 3});
    auto kbx = backend->connect();
    ASSERT_EQ(kbx->Open(), kbxOk);
    int read = 0;
    for (int round = 0; round < 3; ++round) {
        ConfigImage image{};
        if (kbx->ReadImage(image) == kbxOk) {
            ++read;
            EXPECT_EQ(image, Pattern(5)) << round;
        }
    }
    EXPECT_GT(read, 0);
}

INSTANTIATE_TEST_SUITE_P(Transports, TransportSuite, ::testing::Values("InProcess", "OverPty"),
                         [](const auto& info) { return std::string(info.param); });

// A KBX that goes away in the middle of a transfer is noticed at once, and said so.
TEST(TtyTransport, AHangUpEndsTheTransferAtOnce) {
    SimProcess sim({QStringLiteral("--no-pacing")});
    ASSERT_TRUE(sim.ready());
    const QString path = sim.path();
    TKbxInterface kbx([path] { return std::make_unique<TtyTransport>(path); }, SystemClock());
    ASSERT_EQ(kbx.Open(), kbxOk);
    ASSERT_EQ(kbx.ConnectDevice(), kbxOk);
    sim.stop();
    QElapsedTimer timer;
    timer.start();
    ConfigImage image{};
    EXPECT_EQ(kbx.ReadImage(image), kbxReadFailed);
    EXPECT_EQ(kbx.WriteBlock(image, 0x00, 0x3F), kbxNoReply);
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_TRUE(kbx.lineFailure().contains(QStringLiteral("Die KBX wurde getrennt")))
        << kbx.lineFailure().toStdString();
}

TEST(TtyTransport, OneSessionAtATime) {
    SimProcess sim({QStringLiteral("--no-pacing")});
    ASSERT_TRUE(sim.ready());
    const QString path = sim.path();
    const auto factory = [path] { return std::make_unique<TtyTransport>(path); };
    TKbxInterface first(factory, SystemClock()), second(factory, SystemClock());
    ASSERT_EQ(first.Open(), kbxOk);
    EXPECT_EQ(second.Open(), kbxOpenFailed);
    EXPECT_TRUE(second.openFailure().contains(QStringLiteral("von einem anderen Programm verwendet")));
    EXPECT_EQ(second.openProblem(), Problem::Busy);
    first.Close();
    EXPECT_EQ(second.Open(), kbxOk); // released on close
    EXPECT_TRUE(second.openFailure().isEmpty());
}

// A port that sends without end: every exchange ends within its bounds, and nothing counts as read.
TEST(TtyTransport, APortThatNeverStopsSendingCannotHoldTheSession) {
    SimProcess sim({QStringLiteral("--babble")});
    ASSERT_TRUE(sim.ready());
    const QString path = sim.path();
    TKbxInterface kbx([path] { return std::make_unique<TtyTransport>(path); }, SystemClock());
    ASSERT_EQ(kbx.Open(), kbxOk);
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(kbx.ConnectDevice(), kbxNoReply);
    ConfigImage image{};
    EXPECT_EQ(kbx.ReadBlock(image, 0x00, 0x0F), kbxReadFailed);
    EXPECT_EQ(image, ConfigImage{});
    // Three attempts, each bounded by the drain limit before it and the transaction limit.
    EXPECT_LT(timer.elapsed(), 3 * (TKbxInterface::kDrainLimitMs + 300));
}

// A tty the user may not open: the transport says so, with the remedy. Run as an ordinary user, for
// whom the permission bits count (root's would not).
TEST(TtyTransport, NoPermissionIsToldApartFromNoKbx) {
    TempHome home;
    const QString path = home.file(QStringLiteral("ttyUSB9"));
    QFile(path).open(QIODevice::WriteOnly);
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0600), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(home.path()).constData(), 0755), 0);
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && ::setuid(65534) != 0)
            ::_exit(3);
        TtyTransport tty(path);
        const Result<> opened = tty.open();
        const QByteArray failure = opened ? QByteArray("opened") : opened.error().toUtf8();
        [[maybe_unused]] const ssize_t n =
            ::write(pipeEnds[1], failure.constData(), static_cast<size_t>(failure.size()));
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    char text[512] = {};
    const ssize_t n = ::read(pipeEnds[0], text, sizeof text - 1);
    ::close(pipeEnds[0]);
    ::waitpid(child, nullptr, 0);
    ASSERT_GT(n, 0);
    EXPECT_TRUE(QByteArray(text).contains("wurde gefunden, aber der Zugriff darauf wurde verweigert"))
        << text;
    EXPECT_TRUE(QByteArray(text).contains("70-zal-kbx.rules")) << text;
}

// A port that is not there, a folder and a file that is no tty each say which they are.
TEST(TtyTransport, APortThatCannotBeAKbxSaysWhy) {
    const struct {
        const char* path;
        const char* says;
        Problem problem;
    } cases[] = {{"/nonexistent/tty", "existiert nicht", Problem::NotFound},
                 {"/tmp", "ist ein Ordner", Problem::Invalid},
                 {"/dev/null", "keine serielle Schnittstelle", Problem::Invalid}};
    for (const auto& c : cases) {
        TKbxInterface kbx([&] { return std::make_unique<TtyTransport>(QLatin1String(c.path)); },
                          SystemClock());
        EXPECT_EQ(kbx.Open(), kbxOpenFailed) << c.path;
        EXPECT_FALSE(kbx.isOpen());
        EXPECT_TRUE(kbx.openFailure().contains(QLatin1String(c.says))) << kbx.openFailure().toStdString();
        EXPECT_EQ(kbx.openProblem(), c.problem) << c.path;
    }
}

// Without ZAL_KBX_PORT the tool looks for the unit on USB; there is none on a build machine.
TEST(DefaultTransport, NoUnitAndNoPortMeansOpenFails) {
    const QByteArray saved = qgetenv("ZAL_KBX_PORT");
    qunsetenv("ZAL_KBX_PORT");
    TKbxInterface kbx;
    EXPECT_EQ(kbx.Open(), kbxOpenFailed);
    EXPECT_FALSE(kbx.isOpen());
    if (!saved.isEmpty())
        qputenv("ZAL_KBX_PORT", saved);
}

} // namespace
