// The libftdi path through the real libftdi1, with libusb replaced by a model of FT232R chips that have
// a KBX behind them (tests/fakeusb): this executable is linked with the model before libusb.

#include "device/FtdiTransport.h"
#include "device/KbxInterface.h"
#include "support/TempHome.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using namespace zal;
using namespace zal::test;

namespace {

ConfigImage Image(std::uint8_t seed) {
    ConfigImage image{};
    for (int i = 0; i < kImageSize; ++i)
        image[static_cast<size_t>(i)] = static_cast<std::uint8_t>(i * 7 + seed);
    return image;
}

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

class FtdiPath : public ::testing::Test {
protected:
    // The devices on the modelled bus, as ZAL_FAKE_USB describes them; "@A" and "@B" stand for two
    // device images. Sysfs shows each device's strings as the kernel would (bus 1, addresses from 1).
    void bus(QString layout) {
        layout.replace(QStringLiteral("@A"), imageA).replace(QStringLiteral("@B"), imageB);
        qputenv("ZAL_FAKE_USB", layout.toLocal8Bit());
        qputenv("ZAL_FAKE_USB_EVENTS", QFile::encodeName(home.file("events")));
        const QString sysfs = home.file(QStringLiteral("sysfs"));
        QDir(sysfs).removeRecursively();
        const QStringList devices = layout.split(u';');
        for (qsizetype i = 0; i < devices.size(); ++i) {
            const QStringList parts = devices[i].split(u',');
            const QString folder = QStringLiteral("%1/1-%2/").arg(sysfs).arg(i + 1);
            const bool kbx = parts[0] == QLatin1String("kbx");
            WriteTestFile(folder + QStringLiteral("busnum"), "1\n");
            WriteTestFile(folder + QStringLiteral("devnum"), QByteArray::number(i + 1) + '\n');
            WriteTestFile(folder + QStringLiteral("product"),
                          kbx ? "Vesk KBX - Active USB Interface\n" : "FT232R USB UART\n");
            WriteTestFile(folder + QStringLiteral("serial"), parts.value(1).toLatin1() + '\n');
        }
        qputenv("ZAL_USB_SYSFS", QFile::encodeName(sysfs));
    }
    static KbxTransportFactory Ftdi(const QString& serial = {}) {
        return [serial] { return std::unique_ptr<KbxTransport>(std::make_unique<FtdiTransport>(serial)); };
    }
    void SetUp() override {
        WriteTestFile(imageA, QByteArray(reinterpret_cast<const char*>(Image(1).data()), kImageSize));
        WriteTestFile(imageB, QByteArray(reinterpret_cast<const char*>(Image(2).data()), kImageSize));
    }
    void TearDown() override { qunsetenv("ZAL_FAKE_USB"); }

    TempHome home;
    QString imageA = home.file("a.bin"), imageB = home.file("b.bin");
};

// Found past whatever stands before it on the bus, by description and, when asked, by serial number;
// read and written with verification; a fault reported with its reason.
TEST_F(FtdiPath, OpensTheRightUnitPastOthersAndSaysWhyWhenItCannot) {
    const struct {
        const char* bus;
        const char* serial;
        int seed;        // the image read, 0 when none is to be opened
        const char* why; // what the open failure says; nothing when empty
    } cases[] = {
        {"kbx,K1,image=@A", "", 1, ""},
        {"other,X1;kbx,K1,image=@A", "", 1, ""},
        {"other,X1,denied;kbx,K1,image=@A", "", 1, ""},
        {"kbx,K0,busy,image=@B;kbx,K1,image=@A", "", 1, ""},
        {"kbx,K1,image=@A;kbx,K2,image=@B", "K2", 2, ""},
        {"kbx,K1,denied", "", 0, "Die KBX K1 wurde gefunden, aber der Zugriff darauf wurde verweigert"},
        {"other,X1,denied", "", 0, ""}, // not a KBX: no reason to speak of access
        {"kbx,K1,denied", "K2", 0, ""}, // not the KBX asked for
        {"other,X1,denied;kbx,K2,denied", "K2", 0, "Die KBX K2 wurde gefunden"},
        {"other,X1,denied;kbx,K1,busy", "", 0, "von einem anderen Programm verwendet"},
        {"other,X1", "", 0, ""},
        {"kbx,K1,image=@A", "K9", 0, ""},
        {"", "", 0, "Es ist kein FTDI-USB-Gerät eingesteckt"},
    };
    for (const auto& c : cases) {
        bus(QString::fromLatin1(c.bus));
        TKbxInterface kbx(Ftdi(QString::fromLatin1(c.serial)), SystemClock());
        const int opened = kbx.Open();
        EXPECT_EQ(opened == kbxOk, c.seed != 0) << c.bus;
        EXPECT_TRUE(*c.why ? kbx.openFailure().contains(QString::fromUtf8(c.why))
                           : kbx.openFailure().isEmpty())
            << c.bus << ": " << kbx.openFailure().toStdString();
        if (opened != kbxOk)
            continue;
        ConfigImage read{};
        ASSERT_EQ(kbx.ConnectDevice(), kbxOk) << c.bus;
        ASSERT_EQ(kbx.ReadImage(read), kbxOk) << c.bus;
        EXPECT_EQ(read, Image(static_cast<std::uint8_t>(c.seed))) << c.bus;
        kbx.Close();
    }
}

// A reply leaves the chip the moment its ETX arrives, and a one-byte answer after a latency period of
// 1 ms: the chip is told so when the unit is opened.
TEST_F(FtdiPath, TheChipSendsEachReplyAsItEnds) {
    bus(QStringLiteral("kbx,K1,image=@A"));
    TKbxInterface kbx(Ftdi(), SystemClock());
    ASSERT_EQ(kbx.Open(), kbxOk);
    const QByteArray events = ReadTestFile(home.file("events"));
    EXPECT_TRUE(events.contains("latency 1 K1") && events.contains("event character 3 K1"))
        << events.constData();
}

TEST_F(FtdiPath, WritesWithVerificationThroughSlowAndSplitReplies) {
    for (const char* faults : {"", ",slow=120", ",split"}) {
        bus(QStringLiteral("kbx,K1,image=@A,save=%1%2").arg(home.file("saved.bin"), QLatin1String(faults)));
        TKbxInterface kbx(Ftdi(), SystemClock());
        ASSERT_EQ(kbx.Open(), kbxOk);
        ConfigImage wanted = Image(1);
        for (int a = 0x20; a < 0x90; ++a)
            wanted[static_cast<size_t>(a)] = static_cast<std::uint8_t>(0xFF - a);
        ASSERT_EQ(kbx.WriteBlock(wanted, 0x20, 0x8F), kbxOk) << faults;
        ConfigImage read{};
        ASSERT_EQ(kbx.ReadImage(read), kbxOk) << faults;
        EXPECT_EQ(read, wanted) << faults;
        kbx.Close();
        EXPECT_EQ(ReadTestFile(home.file("saved.bin")),
                  QByteArray(reinterpret_cast<const char*>(wanted.data()), kImageSize));
    }
}

// Replies later than the wait are never taken for the next command's: every read that succeeds is the
// device's image.
TEST_F(FtdiPath, LateRepliesNeverShiftLaterChunks) {
    bus(QStringLiteral("kbx,K1,image=@A,late=0.3,latems=300"));
    TKbxInterface kbx(Ftdi(), SystemClock());
    ASSERT_EQ(kbx.Open(), kbxOk);
    int good = 0;
    for (int round = 0; round < 3; ++round) {
        ConfigImage read{};
        if (kbx.ReadImage(read) == kbxOk) {
            EXPECT_EQ(read, Image(1));
            ++good;
        }
    }
    EXPECT_GT(good, 0);
}

// Unplugged in the middle of a read: the transfer fails at once instead of waiting out every deadline,
// without burning the processor, and says why.
TEST_F(FtdiPath, AnUnpluggedUnitFailsAtOnce) {
    bus(QStringLiteral("kbx,K1,image=@A,unplug=5"));
    TKbxInterface kbx(Ftdi(), SystemClock());
    ASSERT_EQ(kbx.Open(), kbxOk);
    QElapsedTimer timer;
    timer.start();
    const double cpu = CpuSeconds();
    ConfigImage read{};
    EXPECT_NE(kbx.ReadImage(read), kbxOk);
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_LT(CpuSeconds() - cpu, 0.2);
    EXPECT_TRUE(kbx.lineFailure().contains(QStringLiteral("getrennt"))) << kbx.lineFailure().toStdString();
    kbx.Close();
    EXPECT_TRUE(kbx.lineFailure().contains(QStringLiteral("getrennt")));
    EXPECT_EQ(kbx.Open(), kbxOpenFailed); // gone from the bus
}

// zalctl through the modelled chip: the messages, and SIGTERM in the middle of a write releases the unit.
TEST_F(FtdiPath, ZalctlReportsAndReleasesTheUnit) {
    const auto zalctl = [this](const QStringList& arguments, QProcess& p) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(ZAL_FAKEUSB));
        // In a sanitizer build the preloaded model comes before the sanitizer's runtime, which is fine.
        env.insert(QStringLiteral("ASAN_OPTIONS"),
                   env.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":verify_asan_link_order=0"));
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.file(QStringLiteral(".local/share")));
        env.remove(QStringLiteral("ZAL_KBX_PORT"));
        // zalctl's texts in English, whatever the machine's locale.
        env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
        env.remove(QStringLiteral("LANGUAGE"));
        env.remove(QStringLiteral("LC_ALL"));
        env.remove(QStringLiteral("LC_MESSAGES"));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(ZAL_BIN_DIR "/zalctl"), arguments);
    };
    const QString device = QStringLiteral(ZAL_BIN_DIR "/Default ZAL V22.b");
    bus(QStringLiteral("other,X1,denied;kbx,K1,image=%1").arg(device));
    QProcess read;
    zalctl({QStringLiteral("read"), QStringLiteral("-o"), home.file("r.Zal")}, read);
    ASSERT_TRUE(read.waitForFinished(30000));
    EXPECT_EQ(read.exitCode(), 0) << read.readAllStandardError().toStdString();

    bus(QStringLiteral("kbx,K1,denied"));
    QProcess denied;
    zalctl({QStringLiteral("read")}, denied);
    ASSERT_TRUE(denied.waitForFinished(30000));
    const QString deniedErr = QString::fromUtf8(denied.readAllStandardError());
    EXPECT_TRUE(deniedErr.contains(QStringLiteral("error 10617")) &&
                deniedErr.contains(QStringLiteral("udev")))
        << deniedErr.toStdString();
    QProcess listed;
    zalctl({QStringLiteral("kbx-list")}, listed);
    ASSERT_TRUE(listed.waitForFinished(30000));
    const QString list = QString::fromUtf8(listed.readAllStandardOutput());
    EXPECT_TRUE(
        list.contains(QStringLiteral("\"Vesk KBX - Active USB Interface\" serial K1 - KBX, access denied")))
        << list.toStdString();

    bus(QStringLiteral("kbx,K1,unplug=12,image=%1").arg(device));
    QProcess unplugged;
    QElapsedTimer timer;
    timer.start();
    zalctl({QStringLiteral("read")}, unplugged);
    ASSERT_TRUE(unplugged.waitForFinished(30000));
    EXPECT_LT(timer.elapsed(), 5000);
    const QString unpluggedErr = QString::fromUtf8(unplugged.readAllStandardError());
    EXPECT_TRUE(unpluggedErr.contains(QStringLiteral("error 10608")) &&
                unpluggedErr.contains(QStringLiteral("disconnected")))
        << unpluggedErr.toStdString();

    bus(QStringLiteral("kbx,K1,slow=40,image=%1").arg(device));
    QFile::remove(home.file("events"));
    QProcess writer;
    zalctl({QStringLiteral("write"), home.file("r.Zal")}, writer);
    ASSERT_TRUE(writer.waitForStarted());
    QThread::msleep(600);
    ::kill(static_cast<pid_t>(writer.processId()), SIGTERM);
    ASSERT_TRUE(writer.waitForFinished(30000));
    EXPECT_EQ(writer.exitCode(), 130);
    EXPECT_TRUE(ReadTestFile(home.file("events")).contains("release K1"))
        << ReadTestFile(home.file("events")).constData();
}

} // namespace
