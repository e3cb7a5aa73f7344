// zalctl's device commands against kbx-sim over a real pseudo-terminal: one group per command, with
// success and faults, checking the exit code, the messages and the device memory afterwards.

#include "backup/SupportBundle.h"
#include "config/ImageChecksum.h"
#include "config/ImageFile.h"
#include "config/Products.h"
#include "records/RecordsDatabase.h"
#include "shell/FileSystem.h"
#include "support/PostgresServer.h"
#include "support/SimRig.h"
#include "support/TempHome.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QThread>

#include <csignal>
#include <map>
#include <set>

#include <gtest/gtest.h>

using namespace zal;
using namespace zal::test;

namespace {

struct Outcome {
    int exitCode;
    QString out, err;
};

class ZalctlDevice : public ::testing::Test {
protected:
    QString file(const char* name) { return home.file(QLatin1String(name)); }
    QString shipped(const char* base) { return QStringLiteral(ZAL_BIN_DIR "/%1.b").arg(QLatin1String(base)); }

    // Starts the device; its memory comes from image and is saved when it stops.
    void startDevice(const QString& image, QStringList options = {}) {
        sim_.reset();
        options << QStringLiteral("--no-pacing") << QStringLiteral("--image") << image
                << QStringLiteral("--save") << file("device.bin");
        sim_ = std::make_unique<SimProcess>(options);
        ASSERT_TRUE(sim_->ready());
    }
    ConfigImage stopDevice() {
        sim_->stop();
        ConfigImage image{};
        EXPECT_TRUE(LoadImageFile(file("device.bin"), image));
        return image;
    }
    Outcome zalctl(const QStringList& arguments, bool trace = false) {
        QProcess p;
        start(p, arguments, trace);
        p.waitForFinished(60000);
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }
    void start(QProcess& p, const QStringList& arguments, bool trace = false) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.file(QStringLiteral(".local/share")));
        env.insert(QStringLiteral("LANG"), QStringLiteral("de_DE.UTF-8"));
        env.remove(QStringLiteral("LANGUAGE"));
        env.remove(QStringLiteral("LC_ALL"));
        env.remove(QStringLiteral("LC_MESSAGES"));
        env.insert(QStringLiteral("ZAL_KBX_PORT"), sim_ ? sim_->path() : home.file(QStringLiteral("no-kbx")));
        if (trace)
            env.insert(QStringLiteral("ZAL_KBX_TRACE"), QStringLiteral("1"));
        else
            env.remove(QStringLiteral("ZAL_KBX_TRACE"));
        for (const auto& [name, value] : env_)
            env.insert(name, value);
        p.setProcessEnvironment(env);
        // What a command writes by default (the line's log) lands in the test's home, not in the tree.
        p.setWorkingDirectory(home.path());
        p.start(QStringLiteral(ZAL_BIN_DIR "/zalctl"), arguments);
    }
    // Waits until the process has written text to standard error; what it wrote.
    static QString waitForError(QProcess& p, const QString& text) { return waitForError(p, text, 1, {}); }
    // Until the process's standard error (after what was read already) says text so many times.
    static QString waitForError(QProcess& p, const QString& text, int times, QString err) {
        QElapsedTimer timer;
        timer.start();
        while (err.count(text) < times && timer.elapsed() < 30000 && p.state() != QProcess::NotRunning) {
            p.waitForReadyRead(200);
            err += QString::fromUtf8(p.readAllStandardError());
        }
        return err;
    }
    // Units of a line, each a simulator with its own device, named on the line's arguments.
    std::vector<std::unique_ptr<SimProcess>> startUnits(int count, int firstSerial, QStringList& arguments) {
        std::vector<std::unique_ptr<SimProcess>> units;
        for (int unit = 0; unit < count; ++unit) {
            units.push_back(std::make_unique<SimProcess>(
                QStringList{"--no-pacing", "--image", ownDevice(firstSerial + unit)}));
            EXPECT_TRUE(units.back()->ready());
            arguments << "--port" << units.back()->path();
        }
        return units;
    }
    // The shipped ZAL V22 as a device of its own serial number.
    QString ownDevice(int serial) {
        ConfigImage own = Load(shipped("Default ZAL V22"));
        own[0xFF] = static_cast<std::uint8_t>(serial);
        const QString path = file(QStringLiteral("own%1.bin").arg(serial).toLatin1());
        EXPECT_TRUE(SaveImageFile(path, own));
        return path;
    }
    static ConfigImage Load(const QString& path) {
        ConfigImage image{};
        LoadImageFile(path, image);
        return image;
    }

    TempHome home;
    std::unique_ptr<SimProcess> sim_;
    std::map<QString, QString> env_; // for the programs a test starts, over the above
};

TEST_F(ZalctlDevice, ReadThenSetThenWrite) {
    startDevice(shipped("Default ZAL V21"));
    const Outcome read = zalctl({"read", "-o", file("a.Zal")});
    ASSERT_EQ(read.exitCode, 0) << read.err.toStdString();
    EXPECT_TRUE(read.err.contains(QStringLiteral("information 10620: Lesen vollständig")));
    EXPECT_EQ(Load(file("a.Zal")), Load(shipped("Default ZAL V21")));
    ASSERT_EQ(zalctl({"set", file("a.Zal"), "edtNoLongTransm=4", "edtRxCodePos2=ABCD"}).exitCode, 0);
    // The preview names the two fields and writes nothing; the write then lists the same.
    const Outcome preview = zalctl({"write", file("a.Zal"), "--preview", "--json"});
    ASSERT_EQ(preview.exitCode, 0) << preview.err.toStdString();
    const QJsonArray changes = QJsonDocument::fromJson(preview.out.toUtf8()).object()["changes"].toArray();
    ASSERT_EQ(changes.size(), 2);
    EXPECT_EQ(changes[0].toObject()["field"].toString(), QStringLiteral("edtRxCodePos2"));
    EXPECT_EQ(changes[0].toObject()["written"].toString(), QStringLiteral("ABCD"));
    EXPECT_FALSE(preview.err.contains(QStringLiteral("10619")));
    const Outcome write = zalctl({"write", file("a.Zal")});
    ASSERT_EQ(write.exitCode, 0) << write.err.toStdString();
    EXPECT_TRUE(write.err.contains(QStringLiteral("information 10619")));
    EXPECT_TRUE(write.out.contains(QStringLiteral("Anzahl langer Übertragungen: 1 -> 4")))
        << write.out.toStdString();
    const ConfigImage device = stopDevice();
    EXPECT_EQ(device[0x51], 4);
    EXPECT_EQ(ReadU16BE(device, 0x02), 0xABCD);

    // Bytes that no BORA field shows change all the same: the preview names the device and lists them
    // by address, and never says nothing would change.
    ConfigImage bora = Load(shipped("Default BORA V22"));
    bora[0x53] = 0x05;
    bora[0x9F] = 0x32;
    bora[0xFF] = 0x2A;
    ASSERT_TRUE(SaveImageFile(file("bora.bin"), bora));
    startDevice(file("bora.bin"));
    ASSERT_EQ(zalctl({"new", "BORA", "V22", "-o", file("n.Bora")}).exitCode, 0);
    const Outcome bytes = zalctl({"write", file("n.Bora"), "--preview"});
    ASSERT_EQ(bytes.exitCode, 0) << bytes.err.toStdString();
    for (const char* line :
         {"Gerät: BORA 22.08, Seriennummer 42", "Adresse 0x53: 05 -> 00", "Adresse 0x9F: 32 -> 00"})
        EXPECT_TRUE(bytes.out.contains(QString::fromUtf8(line))) << bytes.out.toStdString();
    EXPECT_EQ(stopDevice(), bora);
}

TEST_F(ZalctlDevice, ReadFaults) {
    const struct {
        QStringList options;
        const char* message;
    } cases[] = {
        {{"--no-device"}, "error 10615"},
        {{"--silent"}, "error 10615"},
        {{"--corrupt-rate", "1"}, "error 10608"},
        {{"--lower-case"}, "error 10608"},
        {{"--disconnect-after", "6"}, "error 10608"},
        {{"--babble"}, "error 10615"}, // a port that never stops sending ends in time
    };
    for (const auto& c : cases) {
        startDevice(shipped("Default BORA V22"), c.options);
        const Outcome read = zalctl({"read", "-o", file("r.Bora")});
        EXPECT_EQ(read.exitCode, 1) << c.message;
        EXPECT_TRUE(read.err.contains(QLatin1String(c.message))) << read.err.toStdString();
        EXPECT_FALSE(QFile::exists(file("r.Bora")));
    }
    sim_.reset();
    const Outcome none = zalctl({"read"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_TRUE(none.err.contains(QStringLiteral("error 10617")));
}

// Two programs on one KBX would take each other's replies: the second is refused and told who holds it.
// Ctrl+C ends learning as Abort does (reception off, the file as it was) and frees the KBX.
TEST_F(ZalctlDevice, OneProgramAtATimeAndCtrlCEndsLearningCleanly) {
    ASSERT_EQ(zalctl({"new", "ZAL", "-o", file("l.Zal")}).exitCode, 0);
    const ConfigImage before = Load(file("l.Zal"));
    startDevice(shipped("Default ZAL V22")); // no transmitter sends: learning waits
    QProcess learner;
    start(learner, {"learn", file("l.Zal"), "3", "--timeout", "30"}, true);
    QString err = waitForError(learner, QStringLiteral("Aktivieren Sie den Funksender"));
    ASSERT_TRUE(err.contains(QStringLiteral("Aktivieren"))) << err.toStdString();

    const Outcome second = zalctl({"read"});
    EXPECT_EQ(second.exitCode, 1);
    EXPECT_TRUE(second.err.contains(QStringLiteral("error 10617"))) << second.err.toStdString();
    EXPECT_TRUE(second.err.contains(
        QStringLiteral("von einem anderen Programm verwendet (Prozess %1)").arg(learner.processId())));

    ASSERT_GT(learner.processId(), 0);
    ::kill(static_cast<pid_t>(learner.processId()), SIGINT);
    ASSERT_TRUE(learner.waitForFinished(5000));
    err += QString::fromUtf8(learner.readAllStandardError());
    EXPECT_EQ(learner.exitCode(), 130);
    EXPECT_TRUE(err.contains(QStringLiteral("> <STX>s0"))) << err.toStdString();
    EXPECT_EQ(Load(file("l.Zal")), before);
    EXPECT_EQ(zalctl({"read"}).exitCode, 0);
}

// The KBX gone in the middle of learning or of changing the fixed codes: the command ends at once
// (not at its timeout), saying that the KBX was disconnected, and the file stays as it was.
TEST_F(ZalctlDevice, AKbxGoneMidCommandIsSaidAtOnce) {
    ASSERT_EQ(zalctl({"new", "ZAL", "-o", file("k.Zal")}).exitCode, 0);
    const ConfigImage before = Load(file("k.Zal"));
    const struct {
        QStringList command;
        const char* underWay; // on standard error once the command talks to the device
    } cases[] = {
        {{"learn", file("k.Zal"), "3", "--timeout", "30"}, "Aktivieren Sie den Funksender"},
        {{"change-codes", file("k.Zal"), "4711", "--changecodes"}, "> <STX>R00100C"},
    };
    for (const auto& c : cases) {
        sim_ = std::make_unique<SimProcess>(
            QStringList{"--latency-ms", "200", "--image", shipped("Default ZAL V22")});
        ASSERT_TRUE(sim_->ready());
        QProcess command;
        start(command, c.command, true);
        QString err = waitForError(command, QString::fromUtf8(c.underWay));
        ASSERT_TRUE(err.contains(QString::fromUtf8(c.underWay))) << err.toStdString();
        QElapsedTimer gone;
        gone.start();
        sim_->stop();
        ASSERT_TRUE(command.waitForFinished(10000));
        err += QString::fromUtf8(command.readAllStandardError());
        EXPECT_LT(gone.elapsed(), 2500) << c.command[0].toStdString();
        EXPECT_EQ(command.exitCode(), 1);
        EXPECT_TRUE(err.contains(QStringLiteral("error 10615")) &&
                    err.contains(QStringLiteral("KBX wurde getrennt")))
            << err.toStdString();
        EXPECT_EQ(Load(file("k.Zal")), before);
    }
    sim_.reset();
}

// Ctrl+C, SIGTERM, or SIGHUP of a closed terminal during the read before a write: nothing is written and
// the device is left byte for byte as it was. During the write: the transfer under way is finished and
// reported. Either way the exit code says so.
TEST_F(ZalctlDevice, ASignalStopsAWriteBeforeItsFirstByteOrFinishesIt) {
    ASSERT_EQ(zalctl({"new", "ZAL", "V21", "-o", file("w.Zal")}).exitCode, 0);
    ASSERT_EQ(zalctl({"set", file("w.Zal"), "edtNoShortTransm=7"}).exitCode, 0);
    const ConfigImage shippedImage = Load(shipped("Default ZAL V21"));
    const struct {
        int signal;
        const char* at; // the frame after which it comes
        bool written;
    } cases[] = {
        {SIGINT, "> <STX>R", false},   {SIGTERM, "> <STX>R", false}, {SIGHUP, "> <STX>R", false},
        {SIGTERM, "> <STX>W00", true}, {SIGHUP, "> <STX>W00", true},
    };
    for (const auto& c : cases) {
        sim_ = std::make_unique<SimProcess>(QStringList{
            "--latency-ms", "30", "--image", shipped("Default ZAL V21"), "--save", file("device.bin")});
        ASSERT_TRUE(sim_->ready());
        QProcess writer;
        start(writer, {"write", file("w.Zal")}, true);
        QString err = waitForError(writer, QString::fromLatin1(c.at));
        ASSERT_GT(writer.processId(), 0) << err.toStdString(); // never kill(0): that is our own group
        ::kill(static_cast<pid_t>(writer.processId()), c.signal);
        ASSERT_TRUE(writer.waitForFinished(10000));
        err += QString::fromUtf8(writer.readAllStandardError());
        EXPECT_EQ(writer.exitCode(), 130) << c.signal;
        EXPECT_EQ(err.contains(QStringLiteral("information 10619")), c.written) << err.toStdString();
        const ConfigImage device = stopDevice();
        if (c.written) {
            EXPECT_EQ(device[0x50], 7);
        } else {
            EXPECT_EQ(device, shippedImage) << c.signal;
            EXPECT_FALSE(err.contains(QStringLiteral("> <STX>W"))) << err.toStdString();
        }
    }
}

// --- Production line --------------------------------------------------------------------------------------

// The log's rows (without the header) once it has at least n of them, waiting up to ten seconds.
static QStringList LogRows(const QString& path, int n) {
    QElapsedTimer timer;
    timer.start();
    QStringList rows;
    do {
        QFile log(path);
        if (log.open(QIODevice::ReadOnly))
            rows = QString::fromUtf8(log.readAll()).split(u'\n', Qt::SkipEmptyParts).mid(1);
        if (rows.size() >= n)
            break;
        QThread::msleep(50);
    } while (timer.elapsed() < 10000);
    return rows;
}

// Two units at once, one of them failing every write; devices come and go on the simulators' input.
TEST_F(ZalctlDevice, LineConfiguresDevicesAsTheyComeAndGo) {
    ASSERT_EQ(zalctl({"new", "ZAL", "-o", file("z.Zal")}).exitCode, 0);
    ASSERT_EQ(zalctl({"set", file("z.Zal"), "edtNoShortTransm=9"}).exitCode, 0);
    SimProcess a({"--no-pacing", "--image", shipped("Default ZAL V22")});
    SimProcess b({"--no-pacing", "--refuse-writes", "--image", shipped("Default ZAL V22")});
    ASSERT_TRUE(a.ready() && b.ready());
    QProcess line;
    start(line, {"line", file("z.Zal"), "--port", a.path(), "--port", b.path(), "--count", "4",
                 "--change-codes", "A100", "--log", file("log.csv")});
    ASSERT_EQ(LogRows(file("log.csv"), 2).size(), 2);
    EXPECT_EQ(a.command(QStringLiteral("save ") + file("first.bin")), QStringLiteral("saved"));
    EXPECT_EQ(a.command(QStringLiteral("remove")), QStringLiteral("removed"));
    EXPECT_EQ(b.command(QStringLiteral("remove")), QStringLiteral("removed"));
    // A device of another product is refused and never written; then a ZAL again.
    EXPECT_EQ(a.command(QStringLiteral("insert ") + shipped("Default DORF V22")), QStringLiteral("inserted"));
    ASSERT_EQ(LogRows(file("log.csv"), 3).size(), 3);
    a.command(QStringLiteral("save ") + file("dorf.bin"));
    a.command(QStringLiteral("remove"));
    a.command(QStringLiteral("insert ") + shipped("Default ZAL V22"));
    ASSERT_TRUE(line.waitForFinished(15000));
    EXPECT_EQ(line.exitCode(), 1); // not every device was written

    QFile logFile(file("log.csv"));
    ASSERT_TRUE(logFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(logFile.readLine(),
              "time,serial,product,version,radio_id,codes,result,message,duration_ms,unit\n");
    const QStringList rows = LogRows(file("log.csv"), 4);
    ASSERT_EQ(rows.size(), 4);
    QStringList results, codes;
    for (const QString& row : rows) {
        const QStringList f = row.split(u',');
        ASSERT_GE(f.size(), 10) << row.toStdString();
        results << f[6] + u'@' + (f.last() == a.path() ? QStringLiteral("a") : QStringLiteral("b"));
        if (!f[5].isEmpty())
            codes << f[5];
    }
    results.sort();
    codes.sort(); // the units reserve at the same time; a block given back goes to the next device
    EXPECT_EQ(results, (QStringList{"failed@b", "refused@a", "written@a", "written@a"}));
    EXPECT_EQ(codes, (QStringList{"A100 A101 A102 A103 A104 A105", "A106 A107 A108 A109 A10A A10B"}));
    EXPECT_TRUE(rows.filter(QStringLiteral(",refused,")).value(0).contains(QStringLiteral(",DORF,22.08,")));
    // Each row says why, in the message the technician saw (the log keeps it on one line).
    EXPECT_TRUE(
        rows.filter(QStringLiteral(",failed,")).value(0).contains(QStringLiteral("Fehler beim Schreiben")));
    EXPECT_TRUE(
        rows.filter(QStringLiteral(",refused,")).value(0).contains(QString::fromUtf8("nicht identisch")));
    const ConfigImage first = Load(file("first.bin"));
    EXPECT_EQ(first[0x50], 9);
    // The first device holds one of the two blocks the log names, whichever unit reserved first.
    const QString firstCode = QString::number(ReadU16BE(first, 0x10), 16).toUpper();
    EXPECT_EQ(codes.filter(QRegularExpression(u'^' + firstCode + u' ')).size(), 1) << firstCode.toStdString();
    EXPECT_EQ(Load(file("dorf.bin")), Load(shipped("Default DORF V22")));

    // The next runs with the same log never give a code twice; Ctrl+C, or the terminal closed, while a
    // device is being written (at the line rate) ends the run once that device is done and logged.
    const struct {
        int signal;
        const char* codes;
    } stops[] = {{SIGINT, ",A10C A10D A10E A10F A110 A111,written,"},
                 {SIGHUP, ",A112 A113 A114 A115 A116 A117,written,"}};
    int logged = static_cast<int>(rows.size());
    for (const auto& stop : stops) {
        SimProcess c({"--image", shipped("Default ZAL V22")});
        ASSERT_TRUE(c.ready());
        QProcess next;
        start(next, {"line", file("z.Zal"), "--port", c.path(), "--change-codes", "A100", "--log",
                     file("log.csv")});
        const QString err = waitForError(next, QStringLiteral("Gerät gefunden"));
        ASSERT_GT(next.processId(), 0) << err.toStdString();
        ::kill(static_cast<pid_t>(next.processId()), stop.signal);
        ASSERT_TRUE(next.waitForFinished(10000));
        EXPECT_EQ(next.exitCode(), 130) << stop.signal; // as read and write say an interruption
        const QStringList now = LogRows(file("log.csv"), ++logged);
        ASSERT_EQ(now.size(), logged) << stop.signal;
        EXPECT_TRUE(now.last().contains(QLatin1String(stop.codes))) << now.last().toStdString();
    }
}

// Every product row, in its newest layout, is read, written and configured by the line on a simulated
// device: a product added to the rows is tried end to end with the rest.
TEST_F(ZalctlDevice, EveryProductIsReadWrittenAndConfiguredOnTheLine) {
    for (const ProductInfo& p : Products()) {
        const QString model = QString::fromLatin1(p.model.get()).remove(u' ');
        const QString extension = QString::fromLatin1(p.extension.get());
        SCOPED_TRACE(model.toStdString());
        const int version = NewestLayout(p.code);
        const QString suffix = p.family == ProductFamily::Plus
                                   ? QStringLiteral("V1")
                                   : QLatin1String(FindClassicVersion(version)->defaultSuffix);
        const ConfigImage shippedImage = Load(
            QStringLiteral(ZAL_BIN_DIR "/") +
            DefaultImageFileName(QLatin1String(p.defaultFileWord), suffix).chopped(4) + QStringLiteral(".b"));
        ASSERT_EQ(shippedImage[kProductCodeAddress], p.code);
        // A device that differs from its default in a written byte (the number of short transmissions, an
        // extended repeater's transmission delay of position 1).
        const int at = p.family == ProductFamily::Plus ? 0x61 : 0x50;
        ConfigImage changed = shippedImage;
        changed[at] ^= 0x01;
        if (TestImageChecksum(shippedImage))
            StoreImageChecksum(changed);
        ASSERT_TRUE(SaveImageFile(file("changed.bin"), changed));

        startDevice(file("changed.bin"));
        const Outcome read = zalctl({"read", "-o", file("r") + extension});
        ASSERT_EQ(read.exitCode, 0) << read.err.toStdString();
        EXPECT_EQ(Load(file("r") + extension), changed);
        ASSERT_EQ(zalctl({"new", model, "-o", file("n") + extension}).exitCode, 0);
        const Outcome write = zalctl({"write", file("n") + extension});
        ASSERT_EQ(write.exitCode, 0) << write.err.toStdString();
        EXPECT_EQ(stopDevice()[at], shippedImage[at]);

        startDevice(file("changed.bin"));
        const Outcome line = zalctl({"line", file("n") + extension, "--port", sim_->path(), "--count", "1",
                                     "--log", file("line.csv")});
        EXPECT_EQ(line.exitCode, 0) << line.err.toStdString();
        EXPECT_EQ(stopDevice()[at], shippedImage[at]);
        const QStringList rows = LogRows(file("line.csv"), 1);
        ASSERT_EQ(rows.size(), 1);
        EXPECT_TRUE(rows[0].contains(QStringLiteral(",written,"))) << rows[0].toStdString();
        QFile::remove(file("line.csv"));
    }
}

// Fixed codes come from the records database that every line program on the PC shares: four programs at
// once hand out four disjoint blocks; a program killed during its code write, and a code write whose
// verification failed, leave their codes used, so the next run goes on past them.
TEST_F(ZalctlDevice, LinesOnOneDatabaseNeverShareACode) {
    ASSERT_EQ(zalctl({"new", "ZAL", "-o", file("z.Zal")}).exitCode, 0);
    // Without its database the line hands out nothing: it does not start, and the device is untouched.
    {
        SimProcess device({"--no-pacing", "--image", shipped("Default ZAL V22")});
        ASSERT_TRUE(device.ready());
        // Records a newer program made: read, but no code is handed out from them.
        const QString newer = file("newer.sqlite");
        { RecordsDatabase made(newer); }
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("newer"));
            db.setDatabaseName(newer);
            ASSERT_TRUE(db.open());
            ASSERT_TRUE(QSqlQuery(db).exec(QStringLiteral("UPDATE schema_version SET version = 99")));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("newer"));
        for (const QByteArray& records :
             {QByteArray("/nonexistent/records.sqlite"),
              QByteArray("postgresql://zal@/zal?host=/nonexistent"), newer.toUtf8()}) {
            qputenv("ZAL_RECORDS", records);
            const Outcome refused = zalctl({"line", file("z.Zal"), "--port", device.path(), "--change-codes",
                                            "3000", "--log", file("r.csv")});
            qunsetenv("ZAL_RECORDS");
            EXPECT_EQ(refused.exitCode, 1) << records.constData();
            EXPECT_TRUE(refused.err.contains(QStringLiteral("es können keine Codes vergeben werden")))
                << refused.err.toStdString();
        }
        EXPECT_EQ(device.command(QStringLiteral("save ") + file("untouched.bin")), QStringLiteral("saved"));
        EXPECT_EQ(Load(file("untouched.bin")), Load(shipped("Default ZAL V22")));
    }
    // Four lines at once, each backing up a device of its own before it writes.
    std::vector<std::unique_ptr<SimProcess>> sims;
    std::vector<std::unique_ptr<QProcess>> lines;
    for (int i = 0; i < 4; ++i) {
        ConfigImage own = Load(shipped("Default ZAL V22"));
        own[0xFF] = static_cast<std::uint8_t>(0x40 + i);
        const QString image = file(QStringLiteral("unit%1.bin").arg(i).toLatin1());
        ASSERT_TRUE(SaveImageFile(image, own));
        sims.push_back(std::make_unique<SimProcess>(QStringList{"--no-pacing", "--image", image}));
        ASSERT_TRUE(sims.back()->ready());
        lines.push_back(std::make_unique<QProcess>());
        start(*lines.back(),
              {"line", file("z.Zal"), "--port", sims.back()->path(), "--count", "1", "--change-codes", "3000",
               "--log", file(QStringLiteral("log%1.csv").arg(i).toLatin1())});
    }
    std::set<QString> codes;
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(lines[static_cast<size_t>(i)]->waitForFinished(30000));
        EXPECT_EQ(lines[static_cast<size_t>(i)]->exitCode(), 0)
            << lines[static_cast<size_t>(i)]->readAllStandardError().toStdString();
        const QStringList rows = LogRows(file(QStringLiteral("log%1.csv").arg(i).toLatin1()), 1);
        ASSERT_EQ(rows.size(), 1);
        for (const QString& code : rows[0].split(u',')[5].split(u' '))
            EXPECT_TRUE(codes.insert(code).second) << code.toStdString();
    }
    EXPECT_EQ(codes.size(), 24u);
    EXPECT_EQ(*codes.begin(), QStringLiteral("3000"));
    const QJsonArray backups =
        QJsonDocument::fromJson(zalctl({"backups", "list", "--json"}).out.toUtf8()).array();
    EXPECT_EQ(backups.size(), 4);
    for (const QJsonValue& b : backups)
        EXPECT_TRUE(PathExists(b[QStringLiteral("path")].toString()))
            << b[QStringLiteral("file")].toString().toStdString();
    const Outcome devices = zalctl({"devices"});
    EXPECT_EQ(devices.out.count(QStringLiteral("ZAL 22.")), 4) << devices.out.toStdString();
    EXPECT_EQ(devices.out.count(QStringLiteral("  1 Sicherung  ")), 4) << devices.out.toStdString();

    // Killed while its codes are being written: the block it reserved stays handed out.
    SimProcess slow({"--latency-ms", "40", "--image", shipped("Default ZAL V22")});
    ASSERT_TRUE(slow.ready());
    QProcess killed;
    start(killed,
          {"line", file("z.Zal"), "--port", slow.path(), "--change-codes", "3000", "--log", file("k.csv")},
          true);
    waitForError(killed, QStringLiteral("> <STX>W0010"));
    ASSERT_GT(killed.processId(), 0);
    ::kill(static_cast<pid_t>(killed.processId()), SIGKILL);
    killed.waitForFinished(10000);
    // Refused in the middle: the device takes the write of its codes but keeps none of them.
    SimProcess refusing({"--no-pacing", "--protect", "10-1B", "--image", shipped("Default ZAL V22")});
    ASSERT_TRUE(refusing.ready());
    const Outcome failed = zalctl({"line", file("z.Zal"), "--port", refusing.path(), "--count", "1",
                                   "--change-codes", "3000", "--log", file("f.csv")});
    EXPECT_EQ(failed.exitCode, 1);
    const QStringList failedRow = LogRows(file("f.csv"), 1);
    ASSERT_EQ(failedRow.size(), 1);
    EXPECT_TRUE(failedRow[0].contains(QStringLiteral(",301E 301F 3020 3021 3022 3023,failed,")))
        << failedRow[0].toStdString(); // after the four blocks and the killed run's
    SimProcess next({"--no-pacing", "--image", shipped("Default ZAL V22")});
    ASSERT_TRUE(next.ready());
    ASSERT_EQ(zalctl({"line", file("z.Zal"), "--port", next.path(), "--count", "1", "--change-codes", "3000",
                      "--log", file("n.csv")})
                  .exitCode,
              0);
    EXPECT_TRUE(LogRows(file("n.csv"), 1)
                    .value(0)
                    .contains(QStringLiteral(",3024 3025 3026 3027 3028 3029,written,")));

    // The support bundle sums the records up, never carrying the database itself. (How many are written
    // depends on whether the killed run got its codes out before it died; they are used either way.)
    ASSERT_EQ(zalctl({"support-bundle", "-o", file("s.zip")}).exitCode, 0);
    QByteArray summary;
    for (const BundleEntry& e : ReadZipArchive(file("s.zip"))) {
        EXPECT_FALSE(e.first.contains(QStringLiteral("sqlite"))) << e.first.toStdString();
        if (e.first == QStringLiteral("records.txt"))
            summary = e.second;
    }
    const QByteArray schema =
        "schema version: " + QByteArray::number(RecordsDatabase::CurrentSchemaVersion());
    for (const QByteArray& line :
         {QByteArray("back end: SQLite"), schema, QByteArray("fixed codes failed: 6"),
          QByteArray("fixed codes written: "), QByteArray("backups: 5")})
        EXPECT_TRUE(summary.contains(line)) << line.constData() << '\n' << summary.constData();
    // A row per device of every run: the four lines', the refused and the last run's, and the killed
    // run's when it got to its row.
    const QRegularExpressionMatch rows =
        QRegularExpression(QStringLiteral("production_rows: (\\d+)")).match(QString::fromUtf8(summary));
    ASSERT_TRUE(rows.hasMatch()) << summary.constData();
    EXPECT_GE(rows.captured(1).toInt(), 6);
    EXPECT_LE(rows.captured(1).toInt(), 7);
}

// Reads killed at any moment of their backup: the records stay readable, and hide no other backup (at
// most the killed read's file stands without its record).
TEST_F(ZalctlDevice, AKillDuringABackupHidesNoOther) {
    sim_ = std::make_unique<SimProcess>(QStringList{"--image", shipped("Default ZAL V22")}); // at line speed
    ASSERT_TRUE(sim_->ready());
    // Where each kill lands is a point of the read, not a time: after so many of its 17 replies, the
    // last of which starts the backup (a kill then lands in it or just after).
    const std::pair<const char*, int> killPoints[] = {{"< <STX>", 12}, {"< <STX>", 14}, {"< <STX>", 16},
                                                      {"< <STX>", 17}, {"< <STX>", 17}, {"< <STX>", 17}};
    int kills = 0, completed = 0;
    for (int i = 0; i < 12; ++i) {
        ConfigImage image = Load(shipped("Default ZAL V22"));
        image[0xFF] = static_cast<std::uint8_t>(i); // a device of its own each time: a new backup
        ASSERT_TRUE(SaveImageFile(file("i.bin"), image));
        ASSERT_EQ(sim_->command(QStringLiteral("insert ") + file("i.bin")), QStringLiteral("inserted"));
        QProcess read;
        start(read, {"read"}, true);
        if (i % 2 == 1) {
            const auto& [text, times] = killPoints[i / 2];
            waitForError(read, QLatin1String(text), times, {});
            if (read.processId() > 0) { // 0 once it ended: kill(0) would end this test's whole group
                ::kill(static_cast<pid_t>(read.processId()), SIGKILL);
                ++kills;
            }
        }
        if (read.state() != QProcess::NotRunning) {
            ASSERT_TRUE(read.waitForFinished(20000));
        }
        completed += read.exitStatus() == QProcess::NormalExit && read.exitCode() == 0;
    }
    const Outcome list = zalctl({"backups", "list", "--json"});
    ASSERT_EQ(list.exitCode, 0) << list.err.toStdString();
    const QJsonArray listed = QJsonDocument::fromJson(list.out.toUtf8()).array();
    const QStringList files = QDir(file(".local/share/VESK/ZAL Programmer (DE)/Backups"))
                                  .entryList({QStringLiteral("*.bin")}, QDir::Files);
    // Every read that ended well has its backup listed (each was another device); a read after a killed
    // one may find the KBX still busy with the dead one's frame and fail, which is not this test's matter.
    EXPECT_GE(completed, 3);
    EXPECT_GE(listed.size(), completed) << files.size();
    EXPECT_LE(files.size() - listed.size(), kills);
    for (const QJsonValue& b : listed)
        EXPECT_TRUE(files.contains(b[QStringLiteral("file")].toString()))
            << b[QStringLiteral("file")].toString().toStdString();
}

// Two stations on one PostgreSQL server, two units each: no code twice. A backup one station made is
// listed and restored by the other, from the server alone. The server stopped during a run stops the
// line before it hands out another code.
TEST_F(ZalctlDevice, StationsOnOneServer) {
    PostgresServer server;
    if (!server.installed())
        GTEST_SKIP() << "PostgreSQL is not installed (./test installs it)";
    ASSERT_TRUE(server.running());
    env_[QStringLiteral("ZAL_RECORDS")] = server.location();
    ASSERT_EQ(zalctl({"new", "ZAL", "-o", file("z.Zal")}).exitCode, 0);
    std::vector<std::unique_ptr<SimProcess>> sims;
    QProcess lines[2];
    for (int station = 0; station < 2; ++station) {
        QStringList arguments{
            "line",           file("z.Zal"), "--count", "2",
            "--change-codes", "3000",        "--log",   file(station == 0 ? "a.csv" : "b.csv")};
        for (int unit = 0; unit < 2; ++unit) {
            ConfigImage own = Load(shipped("Default ZAL V22"));
            own[0xFF] = static_cast<std::uint8_t>(0x60 + station * 2 + unit);
            const QString image = file(QStringLiteral("s%1u%2.bin").arg(station).arg(unit).toLatin1());
            ASSERT_TRUE(SaveImageFile(image, own));
            sims.push_back(std::make_unique<SimProcess>(QStringList{"--no-pacing", "--image", image}));
            ASSERT_TRUE(sims.back()->ready());
            arguments << "--port" << sims.back()->path();
        }
        // Each station a PC of its own: its own name and data folder.
        env_[QStringLiteral("ZAL_STATION")] = station == 0 ? QStringLiteral("A") : QStringLiteral("B");
        env_[QStringLiteral("XDG_DATA_HOME")] = file(station == 0 ? "a-data" : "b-data");
        start(lines[station], arguments);
    }
    std::set<QString> codes;
    for (int station = 0; station < 2; ++station) {
        ASSERT_TRUE(lines[station].waitForFinished(60000));
        EXPECT_EQ(lines[station].exitCode(), 0) << lines[station].readAllStandardError().toStdString();
        const QStringList rows = LogRows(file(station == 0 ? "a.csv" : "b.csv"), 2);
        ASSERT_EQ(rows.size(), 2);
        for (const QString& row : rows) {
            for (const QString& code : row.split(u',')[5].split(u' '))
                EXPECT_TRUE(codes.insert(code).second) << code.toStdString();
        }
    }
    EXPECT_EQ(codes.size(), 24u);

    // B lists what A kept before writing the device of A's first unit, and restores it.
    const Outcome listed = zalctl({"backups", "list", "--station", "A", "--serial", "97", "--json"});
    const QJsonArray fromA = QJsonDocument::fromJson(listed.out.toUtf8()).array();
    ASSERT_EQ(fromA.size(), 1) << listed.out.toStdString() << listed.err.toStdString();
    EXPECT_TRUE(fromA[0][QStringLiteral("path")].isNull());
    EXPECT_FALSE(PathExists(file("b-data/VESK/ZAL Programmer (DE)/Backups/") +
                            fromA[0][QStringLiteral("file")].toString()));
    ConfigImage changed = Load(file("s0u1.bin"));
    changed[0x50] = 9;
    ASSERT_TRUE(SaveImageFile(file("changed.bin"), changed));
    startDevice(file("changed.bin"));
    const Outcome restored =
        zalctl({"backups", "restore", fromA[0][QStringLiteral("file")].toString(), "--yes"});
    ASSERT_EQ(restored.exitCode, 0) << restored.err.toStdString();
    EXPECT_EQ(stopDevice(), Load(file("s0u1.bin")));
    const Outcome devices = zalctl({"devices", "--json"});
    EXPECT_EQ(QJsonDocument::fromJson(devices.out.toUtf8()).array().size(), 4) << devices.out.toStdString();

    // The server goes away while A's line waits for its next device.
    env_[QStringLiteral("ZAL_STATION")] = QStringLiteral("A");
    env_[QStringLiteral("XDG_DATA_HOME")] = file("a-data");
    SimProcess unit({"--no-pacing", "--image", file("s0u0.bin")});
    ASSERT_TRUE(unit.ready());
    QProcess running;
    start(running,
          {"line", file("z.Zal"), "--port", unit.path(), "--change-codes", "3000", "--log", file("c.csv")});
    QString said = waitForError(running, QStringLiteral("das Gerät entfernen"));
    ASSERT_TRUE(server.stop());
    EXPECT_EQ(unit.command(QStringLiteral("remove")), QStringLiteral("removed"));
    EXPECT_EQ(unit.command(QStringLiteral("insert ") + file("s1u0.bin")), QStringLiteral("inserted"));
    ASSERT_TRUE(running.waitForFinished(30000));
    EXPECT_EQ(running.exitCode(), 1);
    said += QString::fromUtf8(running.readAllStandardError());
    EXPECT_TRUE(said.contains(QStringLiteral("der Lauf hat angehalten: Die Aufzeichnungen")))
        << said.toStdString();
    const QStringList rows = LogRows(file("c.csv"), 2);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_TRUE(rows[1].contains(QStringLiteral(",,failed,"))) << rows[1].toStdString(); // no codes

    // Frozen while the line takes its next device: SIGTERM still ends the line, the device's row logged,
    // while the server stays frozen (it held the line until it thawed before): within a wait far below
    // the statement timeout (30 s), so the stop did not wait for the server. No wall-clock figure is
    // asserted, which a loaded machine would break.
    ASSERT_TRUE(server.start());
    QProcess stopped;
    start(stopped,
          {"line", file("z.Zal"), "--port", unit.path(), "--change-codes", "3000", "--log", file("d.csv")});
    said = waitForError(stopped, QStringLiteral("das Gerät entfernen"));
    ASSERT_TRUE(server.freeze(true));
    EXPECT_EQ(unit.command(QStringLiteral("remove")), QStringLiteral("removed"));
    EXPECT_EQ(unit.command(QStringLiteral("insert ") + file("s1u1.bin")), QStringLiteral("inserted"));
    QThread::msleep(1500);
    ASSERT_GT(stopped.processId(), 0);
    ::kill(static_cast<pid_t>(stopped.processId()), SIGTERM);
    const bool ended = stopped.waitForFinished(10000);
    ASSERT_TRUE(server.freeze(false));
    ASSERT_TRUE(ended);
    EXPECT_EQ(stopped.exitCode(), 130) << stopped.readAllStandardError().toStdString();
    EXPECT_EQ(LogRows(file("d.csv"), 2).size(), 2u);
}

// A floor's server with a synchronous standby: the primary killed while two units take their next
// devices, the standby promoted a moment later, and the line goes on with it. No code twice across the
// failover, and every row of the run is in the records the standby kept.
TEST_F(ZalctlDevice, ALineGoesOnAcrossAFailover) {
    PostgresServer primary;
    if (!primary.installed())
        GTEST_SKIP() << "PostgreSQL is not installed (./test installs it)";
    ASSERT_TRUE(primary.running());
    PostgresServer standby(primary);
    ASSERT_TRUE(standby.running());
    env_[QStringLiteral("ZAL_RECORDS")] =
        QStringLiteral("postgresql://zal@/postgres?host=%1,%2").arg(primary.folder(), standby.folder());
    ASSERT_EQ(zalctl({"new", "ZAL", "-o", file("z.Zal")}).exitCode, 0);
    const auto image = [this](int serial) { return ownDevice(serial); };
    QStringList arguments{"line",           file("z.Zal"), "--count", "6",
                          "--change-codes", "3000",        "--log",   file("f.csv")};
    const auto units = startUnits(2, 0x70, arguments);
    QProcess line;
    start(line, arguments);
    QString said;
    // Each unit's next device, once the line is done with the one before.
    const auto next = [&](int round) {
        said = waitForError(line, QStringLiteral("das Gerät entfernen"), round * 2, said);
        ASSERT_EQ(said.count(QStringLiteral("das Gerät entfernen")), round * 2) << said.toStdString();
        for (int unit = 0; unit < 2; ++unit) {
            EXPECT_EQ(units[static_cast<size_t>(unit)]->command(QStringLiteral("remove")),
                      QStringLiteral("removed"));
            EXPECT_EQ(units[static_cast<size_t>(unit)]->command(QStringLiteral("insert ") +
                                                                image(0x70 + round * 2 + unit)),
                      QStringLiteral("inserted"));
        }
    };
    next(1);
    ASSERT_TRUE(primary.kill());
    QThread::msleep(1000);
    ASSERT_TRUE(standby.promote());
    next(2);
    ASSERT_TRUE(line.waitForFinished(60000));
    said += QString::fromUtf8(line.readAllStandardError());
    EXPECT_EQ(line.exitCode(), 0) << said.toStdString();
    const QStringList rows = LogRows(file("f.csv"), 6);
    ASSERT_EQ(rows.size(), 6) << said.toStdString();
    std::set<QString> codes;
    qint64 longest = 0;
    for (const QString& row : rows) {
        EXPECT_TRUE(row.contains(QStringLiteral(",written,"))) << row.toStdString();
        for (const QString& code : row.split(u',')[5].split(u' '))
            EXPECT_TRUE(codes.insert(code).second) << code.toStdString();
        longest = std::max(longest, row.split(u',')[8].toLongLong());
    }
    EXPECT_EQ(codes.size(), 36u);
    // The lost connection's statements go quietly: the calls themselves said what the loss meant.
    EXPECT_FALSE(said.contains(QStringLiteral("Unable to free statement"))) << said.toStdString();
    EXPECT_FALSE(said.contains(QStringLiteral("terminating connection"))) << said.toStdString();
    RecordProperty("longest device across the failover (ms)", static_cast<int>(longest));
    // The standby kept every row and every written block.
    const QString run = standby.sql(QStringLiteral("SELECT max(id) FROM production_runs"));
    EXPECT_EQ(standby.sql(QStringLiteral("SELECT count(*) FROM production_rows WHERE run_id = ") + run),
              QStringLiteral("6"));
    EXPECT_EQ(standby.sql(QStringLiteral("SELECT count(*) FROM fixed_codes WHERE state = 'written'")),
              QStringLiteral("36"));
}

// Codes must outlive the records' server: a standby that commits do not wait for is refused before any
// device unless the operator says otherwise; a reservation the standby did not confirm (it stopped
// mid-run) goes into no device, which is left as it came, and the run stops saying why; an empty
// database's schema waiting for that standby ends with SIGTERM at once; after a failover to the standby
// no code is handed out twice.
TEST_F(ZalctlDevice, NoDeviceGetsACodeItsStandbyDidNotConfirm) {
    PostgresServer primary;
    if (!primary.installed())
        GTEST_SKIP() << "PostgreSQL is not installed (./test installs it)";
    ASSERT_TRUE(primary.running());
    PostgresServer standby(primary);
    ASSERT_TRUE(standby.running());
    primary.sql(QStringLiteral("CREATE DATABASE empty"));
    const QString hosts = QStringLiteral("host=%1,%2").arg(primary.folder(), standby.folder());
    env_[QStringLiteral("ZAL_RECORDS")] =
        QStringLiteral("postgresql://zal@/postgres?%1&replication_wait=1s").arg(hosts);
    ASSERT_EQ(zalctl({"new", "ZAL", "-o", file("z.Zal")}).exitCode, 0);
    const auto image = [this](int serial) { return ownDevice(serial); };
    SimProcess unit({"--no-pacing", "--image", image(0x70)});
    ASSERT_TRUE(unit.ready());
    const auto memory = [&] {
        EXPECT_EQ(unit.command(QStringLiteral("save ") + file("now.bin")), QStringLiteral("saved"));
        return Load(file("now.bin"));
    };
    const QStringList line{"line",           file("z.Zal"), "--port", unit.path(),
                           "--change-codes", "3000",        "--log",  file("g.csv")};
    const auto synchronous = [&](const char* names) {
        primary.sql(
            QStringLiteral("ALTER SYSTEM SET synchronous_standby_names = '%1'").arg(QLatin1String(names)));
        primary.sql(QStringLiteral("SELECT pg_reload_conf()"));
        for (int i = 0;
             i < 100 && primary.sql(QStringLiteral("SELECT count(*) FROM pg_stat_replication "
                                                   "WHERE sync_state = '%1'")
                                        .arg(QLatin1String(*names ? "sync" : "async"))) != QLatin1String("1");
             ++i)
            QThread::msleep(100);
    };
    synchronous("");
    const Outcome refused = zalctl(line + QStringList{"--count", "1"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("--allow-async-standby"))) << refused.err.toStdString();
    EXPECT_EQ(memory(), Load(image(0x70)));
    const Outcome allowed = zalctl(line + QStringList{"--count", "1", "--allow-async-standby"});
    EXPECT_EQ(allowed.exitCode, 0) << allowed.err.toStdString();
    EXPECT_TRUE(LogRows(file("g.csv"), 1).value(0).contains(QStringLiteral("synchronous_standby_names")));
    synchronous("*");

    QProcess running;
    start(running, line);
    QString said = waitForError(running, QStringLiteral("das Gerät entfernen"));
    ASSERT_TRUE(standby.stop());
    const QString second = image(0x71);
    EXPECT_EQ(unit.command(QStringLiteral("remove")), QStringLiteral("removed"));
    EXPECT_EQ(unit.command(QStringLiteral("insert ") + second), QStringLiteral("inserted"));
    ASSERT_TRUE(running.waitForFinished(30000));
    said += QString::fromUtf8(running.readAllStandardError());
    EXPECT_EQ(running.exitCode(), 1);
    EXPECT_TRUE(said.contains(QStringLiteral("gilt nicht: der Standby hat das Festschreiben nicht")))
        << said.toStdString();
    EXPECT_TRUE(LogRows(file("g.csv"), 3).value(2).contains(QStringLiteral(",,failed,")));
    EXPECT_EQ(memory(), Load(second));
    // A run started while the standby is down touches no device.
    const Outcome down = zalctl(line + QStringList{"--count", "1"});
    EXPECT_EQ(down.exitCode, 1);
    EXPECT_TRUE(down.err.contains(QStringLiteral("kein Gerät wurde berührt"))) << down.err.toStdString();
    EXPECT_EQ(LogRows(file("g.csv"), 3).size(), 3);

    // The first connection to an empty database makes the schema, whose commit waits for the standby.
    env_[QStringLiteral("ZAL_RECORDS")] = QStringLiteral("postgresql://zal@/empty?host=") + primary.folder();
    QProcess devices;
    start(devices, {"devices"});
    QThread::msleep(1500);
    ASSERT_GT(devices.processId(), 0);
    ::kill(static_cast<pid_t>(devices.processId()), SIGTERM);
    EXPECT_TRUE(devices.waitForFinished(2000));
    EXPECT_NE(devices.exitCode(), 0);

    // The standby takes over; the next run repeats nothing.
    env_[QStringLiteral("ZAL_RECORDS")] = QStringLiteral("postgresql://zal@/postgres?") + hosts;
    ASSERT_TRUE(primary.kill());
    ASSERT_TRUE(standby.start());
    ASSERT_TRUE(standby.promote());
    const Outcome after = zalctl(line + QStringList{"--count", "1"});
    EXPECT_EQ(after.exitCode, 0) << after.err.toStdString();
    std::set<QString> codes;
    for (const QString& row : LogRows(file("g.csv"), 4))
        for (const QString& code : row.split(u',')[5].split(u' ', Qt::SkipEmptyParts))
            EXPECT_TRUE(codes.insert(code).second) << code.toStdString();
    EXPECT_EQ(codes.size(), 18u);
}

// The primary lost and no standby promoted, with three units waiting for it: the whole line shares one
// window, each unit says it waits, and the line stops within a few seconds of the window's end with each
// new device left as it came.
TEST_F(ZalctlDevice, ALostPrimaryStopsTheWholeLineWithinOneWindow) {
    PostgresServer primary;
    if (!primary.installed())
        GTEST_SKIP() << "PostgreSQL is not installed (./test installs it)";
    ASSERT_TRUE(primary.running());
    PostgresServer standby(primary);
    ASSERT_TRUE(standby.running());
    env_[QStringLiteral("ZAL_RECORDS")] =
        QStringLiteral("postgresql://zal@/postgres?host=%1,%2").arg(primary.folder(), standby.folder());
    ASSERT_EQ(zalctl({"new", "ZAL", "-o", file("z.Zal")}).exitCode, 0);
    const auto image = [this](int serial) { return ownDevice(serial); };
    QStringList arguments{"line", file("z.Zal"), "--change-codes", "3000", "--log", file("h.csv")};
    const auto units = startUnits(3, 0x80, arguments);
    QProcess line;
    start(line, arguments);
    QString said = waitForError(line, QStringLiteral("das Gerät entfernen"), 3, {});
    ASSERT_EQ(said.count(QStringLiteral("das Gerät entfernen")), 3) << said.toStdString();
    ASSERT_TRUE(primary.kill());
    QElapsedTimer timer;
    timer.start();
    for (int unit = 0; unit < 3; ++unit) {
        EXPECT_EQ(units[static_cast<size_t>(unit)]->command(QStringLiteral("remove")),
                  QStringLiteral("removed"));
        EXPECT_EQ(units[static_cast<size_t>(unit)]->command(QStringLiteral("insert ") + image(0x83 + unit)),
                  QStringLiteral("inserted"));
    }
    ASSERT_TRUE(line.waitForFinished(60000));
    const qint64 took = timer.elapsed();
    said += QString::fromUtf8(line.readAllStandardError());
    EXPECT_EQ(line.exitCode(), 1) << said.toStdString();
    EXPECT_LT(took, (RecordsDatabase::kFailoverWait.count() + 5) * 1000) << said.toStdString();
    EXPECT_EQ(said.count(QStringLiteral("dass ein Standby übernimmt")), 3) << said.toStdString();
    RecordProperty("stop after a lost primary, 3 units (ms)", static_cast<int>(took));
    for (const char* stray : {"QString::arg", "database not open", "QSqlQuery"})
        EXPECT_FALSE(said.contains(QLatin1String(stray))) << said.toStdString();
    for (int unit = 0; unit < 3; ++unit) {
        EXPECT_EQ(units[static_cast<size_t>(unit)]->command(QStringLiteral("save ") + file("now.bin")),
                  QStringLiteral("saved"));
        EXPECT_EQ(Load(file("now.bin")), Load(image(0x83 + unit))) << unit;
    }
}

// A station of a team's server with the role zalctl records roles gives it: a whole line runs, and the
// station can neither delete a code or a backup, nor free a code, nor change one's value.
TEST_F(ZalctlDevice, AStationRoleRunsALineAndFreesNothing) {
    PostgresServer server;
    if (!server.installed())
        GTEST_SKIP() << "PostgreSQL is not installed (./test installs it)";
    ASSERT_TRUE(server.running());
    env_[QStringLiteral("ZAL_RECORDS")] = server.location();
    ASSERT_EQ(zalctl({"devices"}).exitCode, 0); // the owner makes the tables
    const Outcome roles = zalctl({"records", "roles"});
    ASSERT_EQ(roles.exitCode, 0);
    server.sql(roles.out);
    EXPECT_EQ(zalctl({"records", "roles", "x\"; DROP"}).exitCode, 2);
    server.sql(QStringLiteral("CREATE ROLE line2 LOGIN IN ROLE zal_station"));
    const QString station = QStringLiteral("postgresql://line2@/postgres?host=") + server.folder();
    env_[QStringLiteral("ZAL_RECORDS")] = station;
    ASSERT_EQ(zalctl({"new", "ZAL", "-o", file("z.Zal")}).exitCode, 0);
    startDevice(shipped("Default ZAL V22"));
    const Outcome line =
        zalctl({"line", file("z.Zal"), "--change-codes", "3000", "--count", "1", "--log", file("s.csv")});
    EXPECT_EQ(line.exitCode, 0) << line.err.toStdString();
    EXPECT_TRUE(
        LogRows(file("s.csv"), 1).value(0).contains(QStringLiteral("3000 3001 3002 3003 3004 3005,written")));
    EXPECT_EQ(server.sql(QStringLiteral("SELECT count(*) FROM fixed_codes WHERE state = 'written'")),
              QStringLiteral("6"));

    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("station"));
    db.setHostName(server.folder());
    db.setUserName(QStringLiteral("line2"));
    db.setDatabaseName(QStringLiteral("postgres"));
    ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
    for (const char* statement :
         {"DELETE FROM fixed_codes", "DELETE FROM backups", "UPDATE fixed_codes SET state = 'reserved'",
          "UPDATE fixed_codes SET code = code + 16", "UPDATE fixed_codes SET block_first = 1",
          "TRUNCATE fixed_codes", "DROP TABLE fixed_codes"}) {
        QSqlQuery q(db);
        EXPECT_FALSE(q.exec(QLatin1String(statement))) << statement;
        EXPECT_EQ(q.lastError().nativeErrorCode().left(2), QStringLiteral("42")) << statement;
    }
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("station"));
    EXPECT_EQ(server.sql(QStringLiteral("SELECT count(*) FROM fixed_codes WHERE state = 'written'")),
              QStringLiteral("6"));
}

// A unit whose KBX is missing or silent is reported at once; with no usable unit the line ends.
TEST_F(ZalctlDevice, LineReportsAnUnusableKbxAtOnce) {
    ASSERT_EQ(zalctl({"new", "ZAL", "-o", file("z.Zal")}).exitCode, 0);
    SimProcess silent({"--silent"});
    ASSERT_TRUE(silent.ready());
    QElapsedTimer timer;
    timer.start();
    const Outcome none =
        zalctl({"line", file("z.Zal"), "--port", file("no-such-tty"), "--port", silent.path()});
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_EQ(none.exitCode, 1);
    for (const char* said : {"KBX nicht gefunden: ", "gibt es nicht", "die KBX antwortet nicht",
                             "keine KBX konnte verwendet werden"})
        EXPECT_TRUE(none.err.contains(QString::fromUtf8(said))) << said << '\n' << none.err.toStdString();
    EXPECT_FALSE(none.err.contains(QStringLiteral("warte auf ein Gerät"))) << none.err.toStdString();

    // Beside a working unit the run goes on with that one.
    SimProcess good({"--no-pacing", "--image", shipped("Default ZAL V22")});
    ASSERT_TRUE(good.ready());
    const Outcome one =
        zalctl({"line", file("z.Zal"), "--port", silent.path(), "--port", good.path(), "--count", "1"});
    EXPECT_EQ(one.exitCode, 0) << one.err.toStdString();
    EXPECT_TRUE(one.out.startsWith(QStringLiteral("1 geschrieben"))) << one.out.toStdString();
}

// A device image saved without an extension gets the device's own, as the dialog's preselected type.
TEST_F(ZalctlDevice, AnUnreadableImageIsSavedWithTheProductsExtension) {
    ConfigImage device = Load(shipped("Default ZAL V22"));
    device[0xF9] = 0x10;
    ASSERT_TRUE(SaveImageFile(file("odd.bin"), device));
    startDevice(file("odd.bin"));
    const Outcome read = zalctl({"read", "-o", file("dump"), "--yes"});
    EXPECT_TRUE(read.err.contains(QStringLiteral("question 10629")));
    EXPECT_EQ(Load(file("dump.Zal")), device);
}

// The serial number the editor shows finds the device's backups, and so does the recorded form.
TEST_F(ZalctlDevice, TheShownSerialFindsTheBackups) {
    ConfigImage device = Load(shipped("Default ZAL V22"));
    device[0xFD] = 0;
    device[0xFE] = 0;
    device[0xFF] = 42;
    ASSERT_TRUE(SaveImageFile(file("s42.bin"), device));
    startDevice(file("s42.bin"));
    ASSERT_EQ(zalctl({"read", "-o", file("r.Zal")}).exitCode, 0);
    const QJsonObject shown = QJsonDocument::fromJson(zalctl({"show", file("r.Zal"), "--json"}).out.toUtf8())
                                  .object()["fields"]
                                  .toObject()["edtSerialNumber"]
                                  .toObject();
    EXPECT_EQ(shown["text"].toString(), QStringLiteral("42"));
    for (const char* serial : {"42", "000042"})
        EXPECT_TRUE(
            zalctl({"backups", "list", "--serial", serial}).out.contains(QStringLiteral("ZAL 000042 ")))
            << serial;
    const Outcome none = zalctl({"backups", "list", "--serial", "43"});
    EXPECT_EQ(none.out, QString());
    EXPECT_TRUE(none.err.contains(QStringLiteral("keine Sicherung"))) << none.err.toStdString();
}

// With fewer codes left than a device needs, the device is left as it came and the run stops, saying
// why on stderr and in the log.
TEST_F(ZalctlDevice, ALineNeverConfiguresADeviceItCannotFinish) {
    ASSERT_EQ(zalctl({"new", "ZAL", "-o", file("z.Zal")}).exitCode, 0);
    ASSERT_EQ(zalctl({"set", file("z.Zal"), "edtNoShortTransm=9"}).exitCode, 0);
    EXPECT_EQ(zalctl({"line", file("z.Zal"), "--count", "0"}).exitCode, 2); // no run at all
    // An earlier log that handed out every code but five.
    QByteArray codes;
    for (int code = 1; code < 0xFFFF; ++code)
        if (code < 0x7000 || code > 0x7004)
            codes += QByteArray::number(code, 16).rightJustified(4, '0').toUpper() + ' ';
    codes.chop(1);
    WriteTestFile(file("log.csv"),
                  "time,serial,product,version,radio_id,codes,result,message,duration_ms,unit\n"
                  "2026-01-01T00:00:00Z,000001,ZAL,22.08,A001," +
                      codes + ",written,,1,x\n");
    startDevice(shipped("Default ZAL V22"));
    env_[QStringLiteral("LANG")] = QStringLiteral("en_US.UTF-8"); // the records' words in English
    const Outcome run =
        zalctl({"line", file("z.Zal"), "--count", "1", "--change-codes", "7000", "--log", file("log.csv")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("no free block of 6 fixed codes after 7000")))
        << run.err.toStdString();
    EXPECT_EQ(stopDevice(), Load(shipped("Default ZAL V22")));
    const QStringList rows = LogRows(file("log.csv"), 2);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_TRUE(rows[1].contains(QStringLiteral(",failed,no free block of 6 fixed codes after 7000")))
        << rows[1].toStdString();
}

// Records lost (a disk replaced, the file deleted): the list says the backup files are there and names
// the command that takes them back in, with the device read from each image.
TEST_F(ZalctlDevice, LostRecordsAreRebuiltFromTheBackupFiles) {
    ConfigImage device = Load(shipped("Default ZAL V22"));
    device[0xFF] = 42;
    for (int i = 0; i < 6; ++i) { // fixed codes 5000-5005, as a line gave them
        device[static_cast<size_t>(0x10 + 2 * i)] = 0x50;
        device[static_cast<size_t>(0x11 + 2 * i)] = static_cast<std::uint8_t>(i);
    }
    ASSERT_TRUE(SaveImageFile(file("s42.bin"), device));
    startDevice(file("s42.bin"));
    ASSERT_EQ(zalctl({"read", "-o", file("r.Zal")}).exitCode, 0);
    const QString listed = zalctl({"backups", "list"}).out;
    ASSERT_TRUE(listed.contains(QStringLiteral("ZAL 22.08  000042"))) << listed.toStdString();
    const QString data = file(".local/share/VESK/ZAL Programmer (DE)/");
    for (const QString& name : QDir(data).entryList({QStringLiteral("records.sqlite*")}))
        ASSERT_TRUE(QFile::remove(data + name));
    const Outcome empty = zalctl({"backups", "list"});
    EXPECT_EQ(empty.out, QString());
    EXPECT_TRUE(empty.err.contains(QStringLiteral("zalctl records rebuild"))) << empty.err.toStdString();
    for (const char* taken : {"1 von 1", "0 von 1"}) {
        const Outcome rebuilt = zalctl({"records", "rebuild"});
        EXPECT_EQ(rebuilt.exitCode, 0) << rebuilt.err.toStdString();
        EXPECT_TRUE(rebuilt.out.startsWith(QLatin1String(taken))) << rebuilt.out.toStdString();
        // The codes the image holds count as handed out again; what no file holds is said.
        EXPECT_TRUE(rebuilt.out.contains(QStringLiteral("6 Festcodes aus den Abbildern")))
            << rebuilt.out.toStdString();
        EXPECT_TRUE(rebuilt.err.contains(QStringLiteral("nicht wiederhergestellt")))
            << rebuilt.err.toStdString();
    }
    // For a spreadsheet: a file per table, images left out.
    const Outcome exported = zalctl({"records", "export", "--csv", file("csv")});
    EXPECT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    const QList<QByteArray> rows = ReadTestFile(file("csv/backups.csv")).split('\n');
    ASSERT_EQ(rows.size(), 3); // the header, the backup, the end
    EXPECT_TRUE(rows[1].contains(",000042,")) << rows[1].constData();
    // Every table, the devices with when one was replaced.
    for (const char* table : {"devices", "device_events", "production_runs", "production_rows", "fixed_codes",
                              "stations", "schema_version"})
        EXPECT_TRUE(QFile::exists(file("csv/") + QLatin1String(table) + QStringLiteral(".csv"))) << table;
    EXPECT_TRUE(
        ReadTestFile(file("csv/devices.csv"))
            .startsWith(
                "device_key,product_name,version,serial,radio_id,last_seen,station,replaced_by,replaced\n"));
    // What only the records knew (how the read ended) is unknown now; the rest is as it was.
    EXPECT_EQ(zalctl({"backups", "list"}).out,
              QString(listed).replace(QStringLiteral("read done"), QStringLiteral("read ?")));

    // A line's log gives back the codes of devices no backup holds; a log that is not there, or no log,
    // stops the rebuild before it starts.
    WriteTestFile(file("l.csv"), "time,serial,product,version,radio_id,codes,result,message,"
                                 "duration_ms,unit\n2026-12-07T20:05:05Z,000007,ZAL,22.08,6000,"
                                 "6000 6001 6002 6003 6004 6005,written,,90,KBX\n");
    const Outcome logged = zalctl({"records", "rebuild", "--log", file("l.csv")});
    EXPECT_TRUE(logged.out.contains(
        QStringLiteral("6 Festcodes aus %1 gelten als vergeben (6 neu)").arg(file("l.csv"))))
        << logged.out.toStdString();
    EXPECT_EQ(zalctl({"records", "rebuild", "--log", file("nosuch.csv")}).exitCode, 1);
    EXPECT_EQ(zalctl({"records", "rebuild", "--log", file("r.Zal")}).exitCode, 2);
    ASSERT_EQ(zalctl({"new", "ZAL", "-o", file("z.Zal")}).exitCode, 0);
    for (const char* first : {"5000", "6000"}) {
        const Outcome line = zalctl({"line", file("z.Zal"), "--change-codes", first, "--count", "1", "--log",
                                     file(QStringLiteral("n%1.csv").arg(QLatin1String(first)).toLatin1())});
        EXPECT_EQ(line.exitCode, 0) << line.err.toStdString();
        const QStringList given =
            LogRows(file(QStringLiteral("n%1.csv").arg(QLatin1String(first)).toLatin1()), 1);
        ASSERT_EQ(given.size(), 1);
        EXPECT_EQ(given[0].split(u',')[5].left(4), QString::number(QString::fromLatin1(first).toInt() + 6))
            << given[0].toStdString();
        startDevice(file("s42.bin"));
    }
}

// A CSV file's rows, each cell with whether it stood in quotes.
static std::vector<std::vector<std::pair<QString, bool>>> CsvCells(const QByteArray& text) {
    std::vector<std::vector<std::pair<QString, bool>>> rows(1);
    QString cell;
    bool quoted = false, inQuotes = false;
    const QString all = QString::fromUtf8(text);
    for (qsizetype i = 0; i < all.size(); ++i) {
        const QChar c = all[i];
        if (inQuotes && c == u'"' && i + 1 < all.size() && all[i + 1] == u'"') {
            cell += c;
            ++i;
        } else if (c == u'"') {
            inQuotes = !inQuotes;
            quoted = true;
        } else if (!inQuotes && (c == u',' || c == u'\n')) {
            rows.back().emplace_back(cell, quoted);
            cell.clear();
            quoted = false;
            if (c == u'\n')
                rows.emplace_back();
        } else if (c != u'\r' || inQuotes) {
            cell += c;
        }
    }
    if (rows.back().empty())
        rows.pop_back();
    return rows;
}

// The workbook read by LibreOffice, cell by cell against the CSV files: codes, serial numbers and
// versions stay text as they are (1E10 no number, 004711 with its zeros), times are dates, ids numbers.
TEST_F(ZalctlDevice, TheRecordsReachASpreadsheetAsTheyAre) {
    const QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (office.isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed; ./test installs libreoffice-calc-nogui";
    ASSERT_EQ(zalctl({"new", "ZAL", "-o", file("z.Zal")}).exitCode, 0);
    ConfigImage device = Load(shipped("Default ZAL V22"));
    WriteU16BE(device, 0xFE, 4711);
    ASSERT_TRUE(SaveImageFile(file("d.bin"), device));
    startDevice(file("d.bin"));
    const Outcome line =
        zalctl({"line", file("z.Zal"), "--change-codes", "1E10", "--count", "1", "--log", file("log.csv")});
    ASSERT_EQ(line.exitCode, 0) << line.err.toStdString();
    const Outcome exported = zalctl({"records", "export", "--csv", file("csv"), "-o", file("r.xlsx")});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    QProcess convert;
    convert.start(office, {QStringLiteral("-env:UserInstallation=file://") + file("office"), "--headless",
                           "--convert-to",
                           // UTF-8, text cells in quotes, cells as shown, every sheet
                           "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,true,true,true,false,false,-1",
                           "--outdir", file("sheets"), file("r.xlsx")});
    ASSERT_TRUE(convert.waitForFinished(120000));
    ASSERT_EQ(convert.exitCode(), 0) << convert.readAllStandardError().constData();
    const std::set<QString> numbers{"id", "run_id", "duration_ms", "schema_version.version"};
    const std::set<QString> times{"time_utc",  "started_utc", "reserved_at",
                                  "last_seen", "replaced",    "pruned"};
    int tables = 0;
    for (const QString& csv : exported.out.split(u'\n', Qt::SkipEmptyParts)) {
        if (!csv.endsWith(QLatin1String(".csv")))
            continue;
        ++tables;
        const QString table = QFileInfo(csv).completeBaseName();
        const auto expected = CsvCells(ReadTestFile(csv));
        const auto shown = CsvCells(ReadTestFile(file("sheets/r-") + table + QStringLiteral(".csv")));
        ASSERT_EQ(shown.size(), expected.size()) << table.toStdString();
        for (size_t r = 0; r < expected.size(); ++r) {
            ASSERT_EQ(shown[r].size(), expected[r].size()) << table.toStdString() << " row " << r;
            for (size_t c = 0; c < expected[r].size(); ++c) {
                const QString column = expected[0][c].first;
                QString want = expected[r][c].first;
                const auto& [got, text] = shown[r][c];
                const bool number = numbers.count(column) || numbers.count(table + u'.' + column);
                const bool time = times.count(column) > 0;
                if (r > 0 && time) // a date as the sheet shows it, to the second
                    want = want.left(19).replace(u'T', u' ');
                EXPECT_EQ(got, want) << table.toStdString() << ' ' << column.toStdString() << " row " << r;
                if (r > 0 && !want.isEmpty()) {
                    EXPECT_EQ(text, !number && !time) << table.toStdString() << ' ' << column.toStdString();
                }
            }
        }
    }
    EXPECT_EQ(tables, 8);
    // What a spreadsheet's CSV import used to turn into numbers.
    const QByteArray codes = ReadTestFile(file("sheets/r-fixed_codes.csv"));
    for (const char* code : {"\"1E10\",\"1E10\"", "\"1E15\",\"1E10\""})
        EXPECT_TRUE(codes.contains(code)) << codes.constData();
    EXPECT_TRUE(ReadTestFile(file("sheets/r-devices.csv")).contains(",\"004711\",")) << "serial";
}

// One customer's file written into another device, a restore, a replacement and a line device: the
// editor, the records' row and the history all tell what the device holds afterwards.
TEST_F(ZalctlDevice, AfterATransferEverythingNamesTheDeviceWritten) {
    const auto device = [this](int serial, std::uint16_t code) {
        ConfigImage image = Load(shipped("Default ZAL V22"));
        WriteU16BE(image, 0xFE, static_cast<std::uint16_t>(serial));
        WriteU16BE(image, 0x10, code);
        const QString path = file(QStringLiteral("d%1.bin").arg(serial).toLatin1());
        EXPECT_TRUE(SaveImageFile(path, image));
        return path;
    };
    const auto row = [this](const char* serial) {
        for (const QJsonValue d : QJsonDocument::fromJson(zalctl({"devices", "--json"}).out.toUtf8()).array())
            if (d[QStringLiteral("serial")].toString() == QLatin1String(serial))
                return d.toObject();
        return QJsonObject();
    };
    const auto last = [this](const char* serial) {
        const QJsonArray steps =
            QJsonDocument::fromJson(zalctl({"devices", "show", serial, "--json"}).out.toUtf8()).array();
        return steps.isEmpty() ? QJsonObject() : steps.last().toObject();
    };
    startDevice(device(4711, 0xB101));
    ASSERT_EQ(zalctl({"read", "-o", file("kunde1.Zal")}).exitCode, 0);
    ASSERT_EQ(zalctl({"set", file("kunde1.Zal"), "edtNoShortTransm=7"}).exitCode, 0);
    stopDevice();

    // The file of 4711 into 4712: the editor holds 4712 and its radio ID, as do its row and history.
    startDevice(device(4712, 0xB201));
    const Outcome write = zalctl({"write", file("kunde1.Zal"), "--json"});
    ASSERT_EQ(write.exitCode, 0) << write.err.toStdString();
    const QJsonObject fields = QJsonDocument::fromJson(write.out.toUtf8()).object()["fields"].toObject();
    EXPECT_EQ(fields["edtSerialNumber"]["text"].toString(), QStringLiteral("4712"));
    EXPECT_EQ(fields["edtDeviceRadioId"]["text"].toString(), QStringLiteral("B201"));
    EXPECT_TRUE(QJsonDocument::fromJson(write.out.toUtf8())
                    .object()["title"]
                    .toString()
                    .contains(QStringLiteral("ZAL 004712")));
    EXPECT_EQ(row("004712")["radioId"].toString(), QStringLiteral("B201"));
    QJsonObject event = last("4712");
    EXPECT_TRUE(event["event"].toBool());
    EXPECT_EQ(event["command"].toString(), QStringLiteral("write"));
    EXPECT_EQ(event["changes"].toArray().size(), 1); // the write's own change, and only it
    stopDevice();

    // The backup of 4711 into 4712 as its replacement: the history ends with the replacement, the
    // row with the radio ID 4712 now has.
    startDevice(file("d4712.bin"));
    const Outcome replace = zalctl({"backups", "restore", file("d4711.bin"), "--replace", "--yes"});
    ASSERT_EQ(replace.exitCode, 0) << replace.err.toStdString();
    event = last("4712");
    EXPECT_EQ(event["command"].toString(), QStringLiteral("replacement"));
    EXPECT_EQ(event["radioId"].toString(), QStringLiteral("B101"));
    EXPECT_EQ(row("004712")["radioId"].toString(), QStringLiteral("B101"));
    EXPECT_FALSE(replace.err.contains(QStringLiteral("Datei > Sicherungen")));
    stopDevice();

    // A line device: its row shows the codes the line gave it, not the ones it came with.
    startDevice(device(4713, 0xA001));
    const Outcome line = zalctl({"line", file("kunde1.Zal"), "--change-codes", "3000", "--count", "1"});
    ASSERT_EQ(line.exitCode, 0) << line.err.toStdString();
    EXPECT_EQ(row("004713")["radioId"].toString(), QStringLiteral("3000"));
    EXPECT_EQ(last("4713")["command"].toString(), QStringLiteral("line"));
    EXPECT_EQ(last("4713")["changes"].toArray().isEmpty(), false);
}

TEST_F(ZalctlDevice, ThePristineImageIsKeptAndCanBeRestored) {
    // A station named with an escape sequence and a newline (another PC's records) shows escaped on a
    // terminal and exact in JSON.
    const QString station = QStringLiteral("Lager\x1b[2J\nforged");
    env_[QStringLiteral("ZAL_STATION")] = station;
    startDevice(shipped("Default ZAL V21"));
    ASSERT_EQ(zalctl({"read", "-o", file("a.Zal")}).exitCode, 0);
    ASSERT_EQ(zalctl({"set", file("a.Zal"), "edtNoLongTransm=4"}).exitCode, 0);
    ASSERT_EQ(zalctl({"write", file("a.Zal")}).exitCode, 0);
    ASSERT_EQ(zalctl({"write", file("a.Zal")}).exitCode, 0); // unchanged since: no new backup

    const Outcome list = zalctl({"backups", "list", "--json"});
    ASSERT_EQ(list.exitCode, 0) << list.err.toStdString();
    const QJsonArray backups = QJsonDocument::fromJson(list.out.toUtf8()).array();
    ASSERT_EQ(backups.size(), 2);
    const QJsonObject pristine = backups[0].toObject();
    for (const char* key : {"file", "product", "version", "serial", "time", "command"})
        EXPECT_TRUE(pristine.contains(QLatin1String(key))) << key;
    EXPECT_EQ(pristine["command"].toString(), QStringLiteral("read"));
    EXPECT_EQ(backups[1].toObject()["command"].toString(), QStringLiteral("write"));
    // A time carries its offset, so that it reads the same in every zone.
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d(Z|[+-]\\d\\d:\\d\\d)$"))
            .match(pristine["time"].toString())
            .hasMatch())
        << pristine["time"].toString().toStdString();
    EXPECT_EQ(pristine["station"].toString(), station);
    for (const QStringList& text : {QStringList{"backups", "list"}, QStringList{"devices"}}) {
        const QString out = zalctl(text).out;
        EXPECT_FALSE(out.contains(QChar(0x1b))) << text.join(u' ').toStdString();
        EXPECT_TRUE(out.contains(QStringLiteral("Lager\\x1b[2J\\x0aforged"))) << out.toStdString();
        EXPECT_EQ(out.count(u'\n'), text.size() == 2 ? 2 : 1) << out.toStdString(); // no forged row
        // Heads over aligned columns on a terminal, or in a pipe when asked.
        const QStringList headed = zalctl(text + QStringList{"--header"}).out.split(u'\n');
        ASSERT_EQ(headed.size(), out.count(u'\n') + 2) << headed.join(u'\n').toStdString();
        EXPECT_TRUE(
            headed[0].startsWith(text.size() == 2 ? QStringLiteral("Zeit ") : QStringLiteral("Gerät ")));
        EXPECT_EQ(headed[0].indexOf(QStringLiteral("Seriennummer")),
                  headed[1].indexOf(pristine["serial"].toString() + QStringLiteral("  ")))
            << headed.join(u'\n').toStdString();
        // A list that cannot be written is a failure, not an empty answer.
        QProcess full;
        full.setStandardOutputFile(QStringLiteral("/dev/full"));
        start(full, text);
        ASSERT_TRUE(full.waitForFinished(30000));
        EXPECT_EQ(full.exitCode(), 1) << full.readAllStandardError().toStdString();
    }
    EXPECT_EQ(Load(pristine["path"].toString()), Load(shipped("Default ZAL V21")));
    EXPECT_EQ(zalctl({"backups", "list", "--serial", "999999"}).out, QString());
    // The device's history names the field the write changed, by its caption.
    const Outcome history = zalctl({"devices", "show", pristine["serial"].toString()});
    EXPECT_TRUE(history.out.contains(QStringLiteral("    Weitere / Anzahl langer Übertragungen: 1 -> 4\n")))
        << history.out.toStdString();
    const QJsonArray steps =
        QJsonDocument::fromJson(
            zalctl({"devices", "show", pristine["serial"].toString(), "--json"}).out.toUtf8())
            .array();
    // The read, the first write's event (its pre-write image was the read's), the backup before the
    // second write and its event: each write is there with exactly its own changes.
    ASSERT_EQ(steps.size(), 4);
    for (const int event : {1, 3})
        EXPECT_TRUE(steps[event][QStringLiteral("event")].toBool()) << event;
    EXPECT_TRUE(steps[3][QStringLiteral("changes")].toArray().isEmpty());
    const QJsonObject change = steps[1][QStringLiteral("changes")][0].toObject();
    EXPECT_EQ(change[QStringLiteral("field")].toString(), QStringLiteral("edtNoLongTransm"));
    EXPECT_EQ(change[QStringLiteral("before")].toString() + u'>' + change[QStringLiteral("after")].toString(),
              QStringLiteral("1>4"));

    // Without --yes nothing is written; a backup of another product is refused as write refuses it.
    const QString name = pristine["file"].toString();
    EXPECT_EQ(zalctl({"backups", "restore", name}).exitCode, 1);
    ASSERT_EQ(zalctl({"new", "DORF", "-o", file("d.Dorf")}).exitCode, 0);
    const Outcome other = zalctl({"backups", "restore", file("d.Dorf"), "--yes"});
    EXPECT_EQ(other.exitCode, 1);
    EXPECT_TRUE(other.err.contains(QStringLiteral("10602")));
    const Outcome restore = zalctl({"backups", "restore", name, "--yes"});
    ASSERT_EQ(restore.exitCode, 0) << restore.err.toStdString();
    EXPECT_TRUE(restore.err.contains(QStringLiteral("information 10619")));

    const Outcome bundle = zalctl({"support-bundle", "-o", file("s.zip")});
    ASSERT_EQ(bundle.exitCode, 0) << bundle.err.toStdString();
    EXPECT_EQ(stopDevice(), Load(shipped("Default ZAL V21")));
    QStringList names;
    QByteArray logText, info;
    for (const BundleEntry& e : ReadZipArchive(file("s.zip"))) {
        names << e.first;
        if (e.first.contains(QStringLiteral("log")))
            logText += e.second;
        if (e.first == QStringLiteral("kbx-info.txt"))
            info = e.second;
    }
    for (const char* expected : {"versions.txt", "kbx-info.txt", "records.txt", "Values.ini"})
        EXPECT_TRUE(names.contains(QLatin1String(expected))) << expected;
    EXPECT_EQ(info, "KBX-SIM 1.0\n");
    EXPECT_TRUE(logText.contains(" read: done (") && logText.contains(" restore: refused ("));

    // A support log that is a link to a private file elsewhere stays out of the bundle, and the notes
    // say so.
    const QString log = file(".local/share/VESK/ZAL Programmer (DE)/Support.log");
    WriteTestFile(file("private.txt"), "SECRET\n");
    ASSERT_TRUE(QFile::remove(log) && QFile::link(file("private.txt"), log));
    // Nor does a password the settings hold (they are the user's alone to read).
    const QString settings = file(".local/share/VESK/ZAL Programmer (DE)/Values.ini");
    EXPECT_EQ(QFile::permissions(settings) & ~(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ReadUser | QFileDevice::WriteUser),
              QFileDevice::Permissions());
    WriteTestFile(settings, ReadTestFile(settings) +
                                "\n[Other]\nPassword=SECRET\nUrl=postgresql://zal:SECRET@db/zal\n");
    ASSERT_EQ(zalctl({"support-bundle", "-o", file("s2.zip")}).exitCode, 0);
    QByteArray notes;
    for (const BundleEntry& e : ReadZipArchive(file("s2.zip"))) {
        EXPECT_FALSE(e.second.contains("SECRET")) << e.first.toStdString();
        if (e.first == QStringLiteral("notes.txt"))
            notes = e.second;
    }
    EXPECT_TRUE(notes.startsWith("Support.log: left out, a symbolic link")) << notes.constData();
}

// A restore writes the kept bytes themselves: a value no field has an item for, and the fixed radio IDs
// that a write keeps; a byte the device does not take fails the restore. Into another device (another
// serial number) only as the technician says: its configuration alone, or as the kept device's
// replacement, which the records note.
TEST_F(ZalctlDevice, RestoreGivesBackExactlyWhatWasKept) {
    const ConfigImage shippedZal = Load(shipped("Default ZAL V22"));
    ConfigImage kept = shippedZal;
    kept[0x48] = 0x77;
    WriteU16BE(kept, 0x10, 0xABCD); // the device's own radio ID
    WriteU16BE(kept, 0x1A, 0x1234); // the fixed input's code
    ASSERT_TRUE(SaveImageFile(file("kept.Zal"), kept));
    ConfigImage other = shippedZal; // another ZAL, with radio IDs of its own
    WriteU16BE(other, 0x10, 0x5678);
    other[0xFF] ^= 0x5A;
    ASSERT_TRUE(SaveImageFile(file("other.Zal"), other));
    ConfigImage configured = kept; // the other one, configured as the kept one, its own IDs and serial kept
    std::copy(other.begin() + 0x10, other.begin() + 0x1C, configured.begin() + 0x10);
    configured[0xFF] = other[0xFF];
    ConfigImage replacing = kept; // the other one in the kept one's place
    replacing[0xFF] = other[0xFF];
    const QString keptName = QStringLiteral("ZAL ") + IdentifyDevice(kept).serial;
    const QString otherName = QStringLiteral("ZAL ") + IdentifyDevice(other).serial;
    const struct {
        const char* device;
        QStringList options;
        int exitCode;
        QString said;
        ConfigImage after;
    } cases[] = {
        {"Default ZAL V22", {}, 0, "information 10619", kept},
        {"Default ZAL V22", {"--protect", "48"}, 1, "0x48: 00 statt 77", {}},
        {"other",
         {},
         1,
         keptName + QStringLiteral(", angeschlossen ist ZAL ") + IdentifyDevice(other).serial,
         other},
        {"other", {"--config-only"}, 0, "information 10619", configured},
        {"other", {"--replace"}, 0, "information 10619", replacing},
        {"other", {"--replace", "--config-only"}, 2, "schließen einander aus", other},
    };
    for (const auto& c : cases) {
        const bool another = QLatin1String(c.device) == QLatin1String("other");
        const QStringList restoreOptions = another ? c.options : QStringList{};
        startDevice(another ? file("other.Zal") : shipped(c.device), another ? QStringList{} : c.options);
        const Outcome restore =
            zalctl(QStringList{"backups", "restore", file("kept.Zal"), "--yes"} + restoreOptions);
        EXPECT_EQ(restore.exitCode, c.exitCode) << restore.err.toStdString();
        EXPECT_TRUE(restore.err.contains(c.said)) << restore.err.toStdString();
        const ConfigImage device = stopDevice();
        if (c.after != ConfigImage{}) {
            EXPECT_EQ(device, c.after) << restore.err.toStdString();
        }
    }
    // The records know the kept device as replaced by the other one.
    const QJsonArray devices = QJsonDocument::fromJson(zalctl({"devices", "--json"}).out.toUtf8()).array();
    QStringList replaced;
    for (const QJsonValue d : devices)
        replaced << d[QStringLiteral("product")].toString() + u' ' + d[QStringLiteral("serial")].toString() +
                        u'>' + d[QStringLiteral("replacedBy")].toString();
    EXPECT_TRUE(replaced.contains(keptName + u'>' + otherName)) << replaced.join(u',').toStdString();
    EXPECT_TRUE(zalctl({"devices"}).out.contains(QStringLiteral("ersetzt durch ") + otherName));
}

TEST_F(ZalctlDevice, WriteFaultsNeverClaimSuccess) {
    ASSERT_EQ(zalctl({"new", "BORA", "-o", file("b.Bora")}).exitCode, 0);
    ASSERT_EQ(zalctl({"set", file("b.Bora"), "edtNoShortTransm=9"}).exitCode, 0);
    const struct {
        QStringList options;
        const char* message;
    } cases[] = {
        {{"--no-device"}, "error 10615"},
        {{"--nak-rate", "1"}, "error 10615"},
        {{"--refuse-writes"}, "error 10609"},
        {{"--protect", "50-50"}, "error 10633"},
        // Silent after two written chunks: the write ends there and says what went out.
        {{"--disconnect-after", "21"}, "Adressen 0x00-0x0F, 0x1F-0x3E"},
        {{"--truncate-rate", "1"}, "error 10608"},
    };
    for (const auto& c : cases) {
        startDevice(shipped("Default BORA V22"), c.options);
        const Outcome write = zalctl({"write", file("b.Bora")});
        EXPECT_EQ(write.exitCode, 1) << c.message;
        EXPECT_TRUE(write.err.contains(QLatin1String(c.message))) << write.err.toStdString();
        EXPECT_FALSE(write.err.contains(QStringLiteral("10619")));
        const ConfigImage device = stopDevice();
        EXPECT_TRUE(SameRange(device, Load(shipped("Default BORA V22")), 0x10, 0x1E));
        EXPECT_EQ(device[0x50], 3) << c.message; // the new value never arrived
    }
    // Refused with an information (another product's device): --json's error has that message's number.
    startDevice(shipped("Default ZAL V22"));
    const Outcome other = zalctl({"write", file("b.Bora"), "--json"});
    EXPECT_EQ(other.exitCode, 1);
    const QJsonObject error = QJsonDocument::fromJson(other.out.toUtf8())["error"].toObject();
    EXPECT_EQ(error["number"].toInt(), 10602) << other.out.left(300).toStdString();
    EXPECT_TRUE(error["text"].toString().contains(QStringLiteral("nicht identisch")))
        << other.err.toStdString();
}

TEST_F(ZalctlDevice, RawBackup) {
    startDevice(shipped("Default MUVEPLUS2 V1"));
    ASSERT_EQ(zalctl({"kbx-dump", "-o", file("raw.bin")}).exitCode, 0);
    EXPECT_EQ(Load(file("raw.bin")), Load(shipped("Default MUVEPLUS2 V1")));
    const Outcome info = zalctl({"kbx-info"});
    EXPECT_EQ(info.exitCode, 0);
    EXPECT_EQ(info.out, QStringLiteral("KBX info: KBX-SIM 1.0\n"));
    const Outcome traced = zalctl({"kbx-info"}, true);
    EXPECT_TRUE(traced.err.contains(QStringLiteral("> <STX>v76<ETX>"))) << traced.err.toStdString();
    EXPECT_TRUE(traced.err.contains(QStringLiteral("< <STX>KBX-SIM 1.0")));
    // kbx-list tells what answers where.
    const Outcome list = zalctl({"kbx-list"});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_TRUE(
        list.out.contains(QStringLiteral("ZAL_KBX_PORT %1: KBX antwortet \"KBX-SIM 1.0\"").arg(sim_->path())))
        << list.out.toStdString();
    sim_.reset();
    EXPECT_EQ(zalctl({"kbx-info"}).out, QString()); // nothing answered: nothing on stdout
    EXPECT_EQ(zalctl({"kbx-list"}).exitCode, 1);    // nothing answers
}

TEST_F(ZalctlDevice, LearnAPosition) {
    ASSERT_EQ(zalctl({"new", "ZAL", "-o", file("l.Zal")}).exitCode, 0);
    startDevice(shipped("Default ZAL V22"), {"--learn-code", "5A5A", "--after-polls", "1"});
    const Outcome learn = zalctl({"learn", file("l.Zal"), "5", "--timeout", "10"});
    ASSERT_EQ(learn.exitCode, 0) << learn.err.toStdString();
    EXPECT_TRUE(learn.err.contains(QStringLiteral("Aktivieren Sie den Funksender für Position 5")));
    EXPECT_EQ(ReadU16BE(Load(file("l.Zal")), 0x08), 0x5A5A);

    startDevice(shipped("Default ZAL V22")); // no transmitter sends
    const Outcome timeout = zalctl({"learn", file("l.Zal"), "5", "--timeout", "1"});
    EXPECT_EQ(timeout.exitCode, 1);
    EXPECT_EQ(ReadU16BE(Load(file("l.Zal")), 0x08), 0x5A5A); // not saved
    EXPECT_EQ(zalctl({"learn", file("l.Zal"), "9"}).exitCode, 2);
}

TEST_F(ZalctlDevice, ChangeTheFixedCodes) {
    ASSERT_EQ(zalctl({"new", "DORF", "-o", file("d.Dorf")}).exitCode, 0);
    startDevice(shipped("Default DORF V22"));
    // A code the field would not take exactly as typed is refused, and nothing reaches the device.
    for (const QStringList& codes :
         {QStringList{"12G4"}, QStringList{"0x12"}, QStringList{"12345"}, QStringList{"GGGG"},
          QStringList{"1234", "GGGG"}, QStringList{"FFFF"}, QStringList{"123"}}) {
        const Outcome refused = zalctl(QStringList{"change-codes", file("d.Dorf")} + codes);
        EXPECT_EQ(refused.exitCode, 1) << codes.join(u' ').toStdString();
        EXPECT_TRUE(refused.err.contains(QStringLiteral("nichts wurde geschrieben")))
            << refused.err.toStdString();
    }
    EXPECT_TRUE(SameRange(stopDevice(), Load(shipped("Default DORF V22")), 0x10, 0x1B));
    startDevice(shipped("Default DORF V22"));
    const Outcome change = zalctl({"change-codes", file("d.Dorf"), "fffe"});
    ASSERT_EQ(change.exitCode, 0) << change.err.toStdString();
    EXPECT_TRUE(change.err.contains(QStringLiteral("information 10663")));
    const ConfigImage device = stopDevice();
    EXPECT_EQ(ReadU16BE(device, 0x10), 0xFFFE);
    EXPECT_EQ(ReadU16BE(device, 0x12), 0x0001);
    EXPECT_EQ(ReadU16BE(Load(file("d.Dorf")), 0x1A), 0x0005);

    ASSERT_EQ(zalctl({"new", "MUVE+", "-o", file("m")}).exitCode, 0);
    startDevice(shipped("Default MUVEPLUS V1"));
    EXPECT_EQ(zalctl({"change-codes", file("m.Muveplus"), "1000"}).exitCode, 1); // needs --changecodes
    const Outcome plus = zalctl({"change-codes", file("m.Muveplus"), "1000", "--changecodes"});
    ASSERT_EQ(plus.exitCode, 0) << plus.err.toStdString();
    const ConfigImage muve = stopDevice();
    EXPECT_EQ(ReadU16BE(muve, 0x00), 0x1000);
    EXPECT_EQ(ReadU16BE(muve, 0x10), 0x1008);
    EXPECT_TRUE(TestImageChecksum(muve));

    startDevice(shipped("Default ZAL V22"));
    const Outcome other = zalctl({"change-codes", file("d.Dorf"), "1234"});
    EXPECT_EQ(other.exitCode, 1);
    EXPECT_TRUE(other.err.contains(QStringLiteral("information 10646")));
}

TEST_F(ZalctlDevice, ServiceWrites) {
    startDevice(shipped("Default BORA V21"));
    EXPECT_EQ(zalctl({"write-default", "ZAL", "--yes"}).exitCode, 1); // a service command
    const Outcome def = zalctl({"write-default", "zal", "--service", "--yes"});
    ASSERT_EQ(def.exitCode, 0) << def.err.toStdString();
    EXPECT_TRUE(def.err.contains(QString::fromUtf8("‚ZAL’ Version V21.xx")));
    const Outcome version = zalctl({"write-version-byte", "--service", "--yes"});
    ASSERT_EQ(version.exitCode, 0) << version.err.toStdString();
    const ConfigImage device = stopDevice();
    EXPECT_EQ(device[0xF8], 2);
    EXPECT_EQ(device[0xF9], 0);
    EXPECT_TRUE(SameRange(device, Load(shipped("Default BORA V21")), 0x10, 0x1E));

    startDevice(shipped("Default MUVEPLUS V1"));
    const Outcome refused = zalctl({"write-default", "BORA", "--service", "--yes"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("error 10649")));
}

} // namespace
