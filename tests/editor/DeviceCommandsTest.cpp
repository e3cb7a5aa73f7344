// Every device command against the simulator in the same process (virtual time), with the fault
// matrix: the message, the outcome and the device memory afterwards.

#include "config/ImageChecksum.h"
#include "config/ImageFile.h"
#include "config/Products.h"
#include "radio/DeviceIdentity.h"
#include "radio/RadioCode.h"
#include "shell/StringTable.h"
#include "support/EditorFixture.h"
#include "support/SimRig.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace zal;
using namespace zal::test;

namespace {

class DeviceCommands : public ::testing::Test {
protected:
    explicit DeviceCommands(sim::KbxSimOptions options = {}) : rig(std::move(options)) {}

    void SetUp() override {
        fx = std::make_unique<EditorFixture>(args, QLocale(QLocale::German, QLocale::Germany), rig.factory(),
                                             &rig.clock);
    }
    ConfigImage& device() { return rig.engine.memory(); }
    TfrmEnterData& e() { return fx->e(); }
    std::vector<int> ids() { return fx->dialogs.ids(); }
    // Commands of a kind ("R", "W", ...) sent since the last call.
    int sent(char kind) {
        int n = 0;
        for (const QByteArray& c : rig.sent)
            n += c.startsWith(kind);
        return n;
    }
    int bytesWritten() {
        int n = 0;
        for (const QByteArray& c : rig.sent)
            n += c.startsWith('W') ? c.mid(5, 2).toInt(nullptr, 16) : 0;
        return n;
    }
    void reset() {
        rig.sent.clear();
        fx->dialogs.clear();
    }

    QStringList args;
    SimRig rig;
    std::unique_ptr<EditorFixture> fx;
};

// --- Read -----------------------------------------------------------------------------------------------

// The unit is there but cannot be had: the message stays the one the program always showed, and the
// reason follows it in the box, as a paragraph of its own, and on the status bar.
TEST_F(DeviceCommands, WhyTheKbxCouldNotBeOpenedFollowsTheMessage) {
    rig.kbxPresent = false;
    rig.openFailure = QStringLiteral("The KBX at /dev/ttyUSB0 was found, but access to it was denied.");
    EXPECT_FALSE(e().ReadFromDevice());
    EXPECT_EQ(ids(), std::vector<int>{10617});
    EXPECT_EQ(fx->dialogs.shown[0].text, Str(10617) + QStringLiteral("\n\n") + rig.openFailure);
    EXPECT_TRUE(e().statusText().startsWith(Str(10617)));
    EXPECT_TRUE(e().statusText().endsWith(rig.openFailure));
}

TEST_F(DeviceCommands, ReadShowsTheDevicesConfiguration) {
    device() = fx->Default(kZal, 0x21);
    device()[0x00] = 0x12;
    device()[0x01] = 0x34;
    EXPECT_TRUE(e().ReadFromDevice());
    EXPECT_EQ(ids(), (std::vector<int>{10625, 10620}));
    EXPECT_EQ(e().statusText(), QStringLiteral("Lesen vollständig"));
    EXPECT_EQ(e().product(), kZal);
    EXPECT_EQ(e().version(), 0x21);
    EXPECT_EQ(e().working(), device());
    EXPECT_EQ(fx->f("edtRxCodePos1").text, QStringLiteral("1234"));
    EXPECT_EQ(e().fileState(), fsFromDevice);
    EXPECT_EQ(e().title(),
              QStringLiteral("(aus Gerät ausgelesen) \u00b7 ZAL 000000 - ZAL family programmer"));
    EXPECT_EQ(sent('O'), 1);
    EXPECT_EQ(sent('R'), 1 + 16); // the identity, then the whole image ending with it again
    EXPECT_FALSE(e().busy());
}

TEST_F(DeviceCommands, ReadOfAFaultyImageStillLoadsIt) {
    device() = fx->Default(kBora, 0x22);
    device()[0x30] = 0x42; // no item for the battery alarm
    EXPECT_TRUE(e().ReadFromDevice());
    EXPECT_EQ(ids(), std::vector<int>{10644});
    EXPECT_TRUE(fx->dialogs.shown[0].text.endsWith(
        QStringLiteral("(Der Wert 66 an der Adresse 48 ist nicht korrekt)")));
    EXPECT_EQ(e().statusText(), QStringLiteral("Fehler beim Konvertieren von Daten"));
    EXPECT_EQ(e().fileState(), fsFromDevice);
}

TEST_F(DeviceCommands, ReadOfAMuvePlusWithABadChecksumWarnsAndLoads) {
    device() = fx->Default(kMuvePlus, 1);
    device()[0xE0] ^= 0x01;
    EXPECT_TRUE(e().ReadFromDevice());
    EXPECT_EQ(ids(), (std::vector<int>{10669, 10625, 10620}));
    EXPECT_EQ(e().product(), kMuvePlus);
}

TEST_F(DeviceCommands, ReadOfAnUnknownVersionOffersToSaveIt) {
    device() = fx->Default(kBora, 0x22);
    device()[0xF9] = 0x10;
    const ConfigImage before = e().working();
    fx->dialogs.answers = {Answer::Yes};
    fx->dialogs.paths = {fx->home.file(QStringLiteral("device"))};
    EXPECT_FALSE(e().ReadFromDevice());
    EXPECT_EQ(ids(), std::vector<int>{10629});
    EXPECT_TRUE(fx->dialogs.shown[0].text.startsWith(QStringLiteral("Unbekannte Versionsnummer. (0x1008)")));
    ASSERT_EQ(fx->dialogs.requests.size(), 1u);
    EXPECT_EQ(fx->dialogs.requests[0].filterIndex, 1);
    EXPECT_EQ(fx->dialogs.requests[0].fileName, QStringLiteral("*.Bora"));
    EXPECT_EQ(fx->dialogs.requests[0].folder, e().folders().configFolder);
    ConfigImage saved{};
    ASSERT_TRUE(LoadImageFile(fx->home.file(QStringLiteral("device.Bora")), saved));
    EXPECT_EQ(saved, device());
    EXPECT_EQ(
        e().statusText(),
        QString::fromUtf8("Die Konfiguration des angeschlossenen Gerätes wurde in einer Datei gespeichert."));
    EXPECT_EQ(e().working(), before);
    EXPECT_EQ(e().fileState(), fsNew);
}

TEST_F(DeviceCommands, ReadRefusesWhatItCannotShow) {
    const struct {
        int product, version;
        int message;
        bool question;
    } cases[] = {{kBora, 0x23, 10647, false}, {kMuvePlus, 2, 10647, false}, {0x42, 0x22, 10626, true}};
    for (const auto& c : cases) {
        device() = fx->Default(kZal, 0x22);
        device()[0xF8] = static_cast<std::uint8_t>(c.product);
        device()[0xF9] = static_cast<std::uint8_t>(c.version);
        reset();
        const ConfigImage before = e().working();
        EXPECT_FALSE(e().ReadFromDevice());
        EXPECT_EQ(ids(), std::vector<int>{c.message});
        EXPECT_EQ(fx->dialogs.questions.size(), c.question ? 1u : 0u);
        EXPECT_EQ(e().working(), before);
    }
}

struct Fault {
    const char* name;
    void (*apply)(SimRig&);
    int readMessage;  // what Read from device says
    int writeMessage; // what Write to device says
};

void PrintTo(const Fault& f, std::ostream* out) {
    *out << f.name;
}

class DeviceFaults : public DeviceCommands, public ::testing::WithParamInterface<Fault> {};

TEST_P(DeviceFaults, NeverASuccessMessageAndTheDeviceKeepsWhatItHad) {
    const Fault& f = GetParam();
    device() = fx->Default(kBora, 0x22);
    const ConfigImage original = device();
    f.apply(rig);

    const ConfigImage editorBefore = e().working();
    if (f.readMessage == 0) { // faults of writing alone: the read goes through
        EXPECT_TRUE(e().ReadFromDevice());
    } else {
        EXPECT_FALSE(e().ReadFromDevice());
        EXPECT_EQ(ids(), std::vector<int>{f.readMessage});
        EXPECT_EQ(e().statusText(), Str(f.readMessage));
        EXPECT_EQ(e().working(), editorBefore);
        EXPECT_EQ(e().fileState(), fsNew);
    }

    reset();
    fx->f("edtWiredAutoResetTimer1").text = QStringLiteral("77"); // something to write
    EXPECT_FALSE(e().WriteToDevice());
    EXPECT_EQ(ids(), std::vector<int>{f.writeMessage});
    EXPECT_EQ(e().statusText(), Str(f.writeMessage));
    // A BORA write never touches the fixed codes, 0x6E-0x6F and the product data.
    for (int a : {0x10, 0x15, 0x1E, 0x6E, 0x6F, 0xF7, 0xF8, 0xFF})
        EXPECT_EQ(device()[a], original[a]) << a;
    EXPECT_FALSE(e().busy());
}

INSTANTIATE_TEST_SUITE_P(
    Matrix, DeviceFaults,
    ::testing::Values(
        Fault{"NoKbx", [](SimRig& r) { r.kbxPresent = false; }, 10617, 10617},
        Fault{"NoDevice", [](SimRig& r) { r.engine.options().devicePresent = false; }, 10615, 10615},
        Fault{"NakOnEveryAttempt", [](SimRig& r) { r.engine.options().nakRate = 1; }, 10615, 10615},
        Fault{"Silence", [](SimRig& r) { r.engine.options().silenceRate = 1; }, 10615, 10615},
        Fault{"CorruptFrames", [](SimRig& r) { r.engine.options().corruptRate = 1; }, 10608, 10608},
        Fault{"LowerCaseHex", [](SimRig& r) { r.engine.options().lowerCaseHex = true; }, 10608, 10608},
        Fault{"TruncatedReplies", [](SimRig& r) { r.engine.options().truncateRate = 1; }, 10608, 10608},
        Fault{"WritesRefused", [](SimRig& r) { r.engine.options().refuseWrites = true; }, 0, 10609},
        Fault{"WriteProtected",
              [](SimRig& r) {
                  r.engine.options().writeProtected = {{0x70, 0x7F}};
              },
              0, 10633}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeviceCommands, DisconnectInTheMiddleOfATransfer) {
    device() = fx->Default(kBora, 0x22);
    rig.engine.options().disconnectAfter = 8;
    EXPECT_FALSE(e().ReadFromDevice());
    EXPECT_EQ(ids(), std::vector<int>{10608});

    // Gone after the image read before the write and two of the written chunks: the write ends at the
    // first chunk nobody answered and names what went out and the backup that puts it back.
    rig.engine = sim::KbxSimEngine(sim::KbxSimOptions{});
    device() = fx->Default(kBora, 0x22);
    const ConfigImage original = device();
    rig.engine.options().disconnectAfter = 1 + 1 + 16 + 1 + 2;
    reset();
    fx->f("edtNoShortTransm").text = QStringLiteral("9");
    const CommandResult result = e().WriteToDevice();
    EXPECT_EQ(result, CommandResult::Failed);
    EXPECT_TRUE(result.deviceChanged());
    EXPECT_EQ(ids(), std::vector<int>{10609});
    EXPECT_EQ(rig.engine.commands(), 1 + 1 + 16 + 1 + 2 + 3); // the silent chunk's three tries, then nothing
    EXPECT_TRUE(result.detail().contains(QStringLiteral("Adressen 0x00-0x0F, 0x1F-0x3E")))
        << result.detail().toStdString();
    EXPECT_TRUE(result.detail().contains(QFileInfo(e().lastBackup()).fileName()))
        << result.detail().toStdString();
    EXPECT_EQ(device()[0x50], original[0x50]); // its chunk never arrived
}

// --- Write ----------------------------------------------------------------------------------------------

TEST_F(DeviceCommands, WriteOfTheOlderProductsWritesItsThreeRangesAndVerifies) {
    device() = fx->Default(kBora, 0x22);
    const ConfigImage original = device();
    for (int a : {0x10, 0x1B, 0x1E, 0x6E, 0x6F, 0xF7, 0xFD})
        fx->Poke(a, 0xEE);
    fx->e().form().setText(fx->f("edtNoShortTransm"), QStringLiteral("7"));
    EXPECT_TRUE(e().WriteToDevice());
    EXPECT_EQ(ids(), std::vector<int>{10619});
    // The device kept its serial number and radio IDs, and the editor now holds them as it does.
    EXPECT_EQ(e().statusText(),
              QStringLiteral("Schreiben und Überprüfung vollständig \u2013 das Gerät behält "
                             "seine Seriennummer und Funk-IDs"));
    EXPECT_EQ(device()[0x50], 7);
    for (int a : {0x10, 0x1B, 0x1E, 0x6E, 0x6F, 0xF7, 0xFD}) {
        EXPECT_EQ(device()[a], original[a]) << a;
        EXPECT_EQ(e().working()[a], original[a]) << a;
    }
    EXPECT_EQ(e().working(), device());
    EXPECT_FALSE(e().HasUnsavedChanges());
    EXPECT_EQ(bytesWritten(), 230);
    // The whole image read and kept before the write between two reads of the identity, the identity
    // again before the first frame, and the read-back.
    EXPECT_EQ(sent('R'), 1 + 16 + 1 + 16);
    EXPECT_EQ(e().fileState(), fsNew);

    // Without the backup before a write, only the 51 bytes of identification are read first.
    StoreBackupBeforeWrite(e().folders().settingsFile, false);
    reset();
    EXPECT_TRUE(e().WriteToDevice());
    EXPECT_EQ(sent('R'), 1 + 4 + 1 + 16);
    EXPECT_EQ(e().statusText(), QStringLiteral("Schreiben und Überprüfung vollständig"));
}

TEST_F(DeviceCommands, WriteOfAMuvePlusKeepsTheDevicesOwnBytes) {
    for (int product : {kMuvePlus, kMuvePlus2}) {
        device() = fx->Default(product, 1);
        for (int a : {0x00, 0x05, 0x1F, 0x94, 0xF0, 0xF5, 0xF7, 0xFF})
            device()[a] = 0x3C;
        StoreImageChecksum(device());
        const ConfigImage original = device();
        e().SelectProduct(product);
        reset();
        fx->e().form().setText(fx->f("edtNoLongTransm"), QStringLiteral("4"));
        EXPECT_TRUE(e().WriteToDevice());
        EXPECT_EQ(ids(), std::vector<int>{10619});
        for (int a : {0x00, 0x05, 0x1F, 0x94, 0xF0, 0xF5, 0xF7, 0xFF}) {
            EXPECT_EQ(device()[a], original[a]) << a;
            EXPECT_EQ(e().working()[a], original[a]) << a; // taken over into the working image
        }
        EXPECT_EQ(device()[0x81], 4);
        EXPECT_TRUE(TestImageChecksum(device()));
        EXPECT_EQ(bytesWritten(), product == kMuvePlus2 ? 192 : 191);
        EXPECT_EQ(device()[0xE2], product == kMuvePlus2 ? 1 : original[0xE2]);
        if (product != kMuvePlus2)
            continue;
        // A MUVE+ II keeps its long serial (its radio ID in the long protocol), whether the write
        // reads the device whole or its identification only: the file's never becomes the device's.
        for (const bool whole : {true, false}) {
            StoreBackupBeforeWrite(e().folders().settingsFile, whole);
            device()[0xC9] = whole ? 0x5A : 0xA5;
            StoreImageChecksum(device());
            reset();
            EXPECT_TRUE(e().WriteToDevice()) << whole;
            EXPECT_EQ(device()[0xC9], whole ? 0x5A : 0xA5) << whole;
            EXPECT_EQ(e().working()[0xC9], whole ? 0x5A : 0xA5) << whole;
        }
        StoreBackupBeforeWrite(e().folders().settingsFile, true);
    }
}

TEST_F(DeviceCommands, WriteRefusesAnotherProductOrVersion) {
    device() = fx->Default(kZal, 0x22);
    EXPECT_FALSE(e().WriteToDevice()); // the editor has BORA
    EXPECT_EQ(ids(), std::vector<int>{10602});
    EXPECT_EQ(sent('W'), 0);

    WriteTestFile(e().folders().settingsFile, "[ProductName]\n1=BORA\n");
    reset();
    EXPECT_FALSE(e().WriteToDevice());
    EXPECT_EQ(ids(), std::vector<int>{10603});
    EXPECT_EQ(e().statusText(), Str(10603));

    device() = fx->Default(kBora, 0x21);
    reset();
    EXPECT_FALSE(e().WriteToDevice());
    EXPECT_EQ(ids(), std::vector<int>{10641});
    EXPECT_EQ(sent('W'), 0);

    for (const auto& [version, message] : {std::pair{0x23, 10647}, std::pair{0x05, 10630}}) {
        device()[0xF9] = static_cast<std::uint8_t>(version);
        reset();
        EXPECT_FALSE(e().WriteToDevice());
        EXPECT_EQ(ids(), std::vector<int>{message});
        EXPECT_EQ(sent('W'), 0);
    }
}

// Another device behind the KBX at any step of a write or a restore, or a stop asked for before the first
// written frame: never "done", never two devices mixed in a device or a backup, and a stop before the
// first frame leaves the device byte for byte as it was.
TEST_F(DeviceCommands, ADeviceSwappedDuringATransferIsNeverCalledDone) {
    const ConfigImage first = fx->Default(kZal, 0x22);
    ConfigImage second = first;
    second[0xFF] ^= 0x5A; // another serial number
    const QString names = QStringLiteral("ZAL %1 statt ZAL %2")
                              .arg(IdentifyDevice(second).serial, IdentifyDevice(first).serial);
    const QString bothReads = QStringLiteral("erst ZAL %1, dann ZAL %2")
                                  .arg(IdentifyDevice(first).serial, IdentifyDevice(second).serial);
    enum Command { Write, Restore, CancelledWrite, PreviewedWrite };
    enum Then { Swap, Stop };
    // Chunks: the identity, the whole image (16), the identity before the first frame, then the write's
    // three ranges (15) and, for a restore, the identity and the fixed radio IDs; the verification
    // read last (a negative step counts from the end).
    constexpr int kPreRead = 1 + 16;
    const struct {
        Command command;
        int at;
        Then then;
        CommandResult::Kind outcome;
        const char* said; // what the last message says, with the devices named (none for a stop)
        bool nameBoth;    // as "second statt first"; else as read, first then second
        bool untouched;   // the device behind the KBX at the end holds what it held when put there
    } cases[] = {
        {Write, -16, Swap, CommandResult::Failed, "Ein anderes Gerät ist jetzt angeschlossen", true, false},
        {Restore, -16, Swap, CommandResult::Failed, "Ein anderes Gerät ist jetzt angeschlossen", true, false},
        {CancelledWrite, kPreRead + 2, Swap, CommandResult::Cancelled, "Nichts wurde zurückgeschrieben", true,
         false},
        // Swapped while the technician read the preview: nothing is written.
        {PreviewedWrite, 0, Swap, CommandResult::Refused, "Ein anderes Gerät ist jetzt angeschlossen", true,
         true},
        // During the read before the write: nothing kept, nothing written.
        {Write, 5, Swap, CommandResult::Failed, "während des Lesens getauscht", false, true},
        {Restore, 5, Swap, CommandResult::Failed, "während des Lesens getauscht", false, true},
        // After that read, before the first frame.
        {Write, kPreRead, Swap, CommandResult::Failed, "Nichts wurde geschrieben", true, true},
        // A restore's fixed radio IDs go last and only into the device whose identity was just read.
        {Restore, kPreRead + 1 + 15, Swap, CommandResult::Failed,
         "In ZAL 000000 oder schon in ZAL 000090 gingen, in dieser Reihenfolge: Adressen 0x00-0x0F, "
         "0x1F-0x6D, 0x70-0xF6;",
         true, true},
        // Ctrl+C or SIGTERM during the read before the write, or just before the first frame.
        {Write, 5, Stop, CommandResult::Cancelled, "", false, true},
        {Write, kPreRead, Stop, CommandResult::Cancelled, "", false, true},
        {Restore, 5, Stop, CommandResult::Cancelled, "", false, true},
    };
    for (const auto& c : cases) {
        const std::string label = std::to_string(c.command) + '@' + std::to_string(c.at);
        e().SelectProduct(kZal);
        device() = first;
        device()[0x50] = 3;
        const ConfigImage before = device();
        ConfigImage connected = before;
        reset();
        fx->e().form().setText(fx->f("edtNoShortTransm"), QStringLiteral("7"));
        bool stop = false;
        e().observer().stopRequested = [&stop] { return stop; };
        e().observer().progress = [&](int done, int planned) {
            if (done != (c.at < 0 ? planned + c.at : c.at) || c.command == PreviewedWrite)
                return;
            if (c.then == Stop) {
                stop = true;
                return;
            }
            if (device()[0xFF] == second[0xFF])
                return;
            if (c.command == CancelledWrite)
                e().CancelTransfer();
            device() = connected = second;
        };
        fx->dialogs.answers = {Answer::Yes}; // put back what the device held
        StoreWritePreview(e().folders().settingsFile, c.command == PreviewedWrite);
        e().observer().confirmWrite = [&](const std::vector<DifferenceRow>&) {
            device() = connected = second;
            return true;
        };
        rig.sent.clear();
        const int backups = e().backups().FileCount();
        const CommandResult result = c.command == Restore ? e().RestoreImage(first) : e().WriteToDevice();
        e().observer().progress = nullptr;
        e().observer().confirmWrite = nullptr;
        e().observer().stopRequested = nullptr;
        EXPECT_EQ(result.kind(), c.outcome) << label;
        const QString said = fx->dialogs.shown.empty() ? QString() : fx->dialogs.shown.back().text;
        if (*c.said) {
            EXPECT_TRUE(said.contains(QString::fromUtf8(c.said)) &&
                        said.contains(c.nameBoth ? names : bothReads))
                << label << ' ' << said.toStdString();
        }
        const std::vector<int> shown = ids();
        EXPECT_EQ(std::count(shown.begin(), shown.end(), 10619), 0) << label;
        if (c.untouched) {
            EXPECT_EQ(device(), connected) << label;
        }
        if (c.then == Stop) {
            EXPECT_EQ(sent('W'), 0) << label;
            EXPECT_EQ(device(), before) << label;
        }
        // A read that saw two devices is never kept as a backup.
        if (c.at == 5 && c.then == Swap) {
            EXPECT_EQ(e().backups().FileCount(), backups) << label;
        }
    }
}

TEST_F(DeviceCommands, FirmwareWarningsDoNotStopTheWrite) {
    device() = fx->Default(kMuvePlus, 1);
    device()[0xFA] = 0x02;
    StoreImageChecksum(device());
    e().SelectProduct(kMuvePlus);
    fx->e().form().selectIndex(fx->f("cbbxAcknowledge"), 2); // 0x83 = 0, 0x88 = 1
    reset();
    EXPECT_TRUE(e().WriteToDevice());
    EXPECT_EQ(ids(), (std::vector<int>{10651, 10619}));

    for (const auto& [minor, warned] : {std::pair{0x07, true}, std::pair{0x08, false}}) {
        device() = fx->Default(kZal, 0x22);
        device()[0xFA] = static_cast<std::uint8_t>(minor);
        e().SelectProduct(kZal);
        fx->e().form().setText(fx->f("edtPosCode1"), QStringLiteral("1234"));
        reset();
        EXPECT_TRUE(e().WriteToDevice());
        EXPECT_EQ(ids(), warned ? (std::vector<int>{10652, 10619}) : std::vector<int>{10619});
    }
}

TEST_F(DeviceCommands, AConversionErrorStopsTheWriteBeforeAnythingIsSent) {
    device() = fx->Default(kBora, 0x22);
    fx->e().form().setText(fx->f("edtWiredThreshold5"),
                           QStringLiteral("x")); // reported while typing, and kept
    reset();
    EXPECT_FALSE(e().WriteToDevice());
    EXPECT_TRUE(rig.sent.empty());
    ASSERT_EQ(fx->dialogs.shown.size(), 1u);
    EXPECT_EQ(fx->dialogs.shown[0].kind, MessageKind::Error);
    EXPECT_TRUE(fx->dialogs.shown[0].text.contains(QStringLiteral("Schwellwert, Eingang 5")));
}

// --- Backups and the support log ------------------------------------------------------------------------

TEST_F(DeviceCommands, EveryImageReadIsKeptAndTheLogTellsWhatHappened) {
    device() = fx->Default(kZal, 0x22);
    device()[0xFF] = 0x2A; // serial 42
    const ConfigImage before = device();
    EXPECT_TRUE(e().ReadFromDevice());
    const QString readBackup = e().lastBackup();
    EXPECT_TRUE(QFileInfo(readBackup).fileName().startsWith(QStringLiteral("ZAL 000042 ")));
    EXPECT_EQ(test::ReadTestFile(readBackup), QByteArray(reinterpret_cast<const char*>(before.data()), 256));

    // The write keeps the device's image first; unchanged since the read, it is that backup.
    fx->e().form().setText(fx->f("edtNoShortTransm"), QStringLiteral("7"));
    EXPECT_TRUE(e().WriteToDevice());
    EXPECT_EQ(e().lastBackup(), readBackup);
    // The next write finds the image the last one wrote: a new backup, completed with the result.
    fx->e().form().setText(fx->f("edtNoShortTransm"), QStringLiteral("8"));
    const ConfigImage written = device();
    EXPECT_TRUE(e().WriteToDevice());
    ASSERT_NE(e().lastBackup(), readBackup);
    EXPECT_EQ(test::ReadTestFile(e().lastBackup()),
              QByteArray(reinterpret_cast<const char*>(written.data()), 256));
    const std::vector<BackupEntry> list = e().backups().List().value_or({});
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].command, QStringLiteral("read"));
    EXPECT_EQ(list[1].command, QStringLiteral("write"));
    EXPECT_EQ(list[1].result, QStringLiteral("done"));

    // An unknown version is kept too, before the question about saving it.
    device()[kVersionCodeAddress] = 0x10;
    EXPECT_FALSE(e().ReadFromDevice());
    EXPECT_EQ(e().backups().List()->size(), 3u);

    const QByteArray log = test::ReadTestFile(e().supportLogPath());
    EXPECT_TRUE(log.contains(" read (ZAL 22.08)")) << log.constData();
    EXPECT_TRUE(log.contains("message 10620: Lesen vollst"));
    EXPECT_TRUE(log.contains(" write: done ("));
    EXPECT_TRUE(log.contains(" read: refused ("));
    EXPECT_FALSE(log.contains("<STX>")); // frames only when asked for
    e().setFrameLogging(true);
    EXPECT_TRUE(e().ReadFromDevice() == CommandResult::Refused);
    EXPECT_TRUE(test::ReadTestFile(e().supportLogPath()).contains("> <STX>R00"));
}

TEST_F(DeviceCommands, ABackupThatFailsNeverStopsTheWriteAndIsReported) {
    device() = fx->Default(kBora, 0x22);
    test::WriteTestFile(e().folders().dataFolder + "Backups", "a file where the folder should be");
    QString notice;
    e().observer().notice = [&notice](const QString& text) { notice = text; };
    fx->e().form().setText(fx->f("edtNoShortTransm"), QStringLiteral("7"));
    EXPECT_TRUE(e().WriteToDevice());
    EXPECT_EQ(device()[0x50], 7);
    EXPECT_EQ(ids(), std::vector<int>{10619});
    EXPECT_TRUE(e().statusText().startsWith(
        QStringLiteral("Schreiben und Überprüfung vollständig \u2013 Sicherung fehlgeschlagen")))
        << e().statusText().toStdString();
    EXPECT_TRUE(notice.startsWith(QStringLiteral("Sicherung fehlgeschlagen")));
    EXPECT_TRUE(e().lastBackup().isEmpty());
}

TEST_F(DeviceCommands, ProgressCountsEveryChunk) {
    device() = fx->Default(kBora, 0x22);
    std::vector<std::pair<int, int>> seen;
    e().observer().progress = [&seen](int done, int planned) { seen.push_back({done, planned}); };
    EXPECT_TRUE(e().WriteToDevice());
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen.back(), (std::pair{0, 0})); // nothing of the transfer stays behind the final box
    const auto& last = seen[seen.size() - 2];
    EXPECT_EQ(last.first, last.second);
    EXPECT_EQ(last.second, 1 + 16 + 1 + 15 + 16);
}

// --- Service writes -------------------------------------------------------------------------------------

class ServiceWrites : public DeviceCommands {
protected:
    ServiceWrites() { args = {QStringLiteral("-SERVICE")}; }
};

TEST_F(ServiceWrites, DefaultImageInTheVersionTheDeviceReports) {
    device() = fx->Default(kBora, 0x22);
    for (int a : {0x10, 0x1E, 0x6E, 0xF7, 0xFA, 0xFF})
        device()[a] = 0x5C;
    const ConfigImage original = device();
    fx->dialogs.answers = {Answer::Yes};
    EXPECT_EQ(e().WriteDefault(QStringLiteral("ZAL")), CommandResult::Done);
    EXPECT_EQ(ids(), (std::vector<int>{10668, 10667}));
    EXPECT_TRUE(fx->dialogs.shown[1].text.startsWith(
        QString::fromUtf8("Angeschlossenes Gerät wurde auf ‚ZAL’ Version V22.xx")));
    const ConfigImage zal = fx->Default(kZal, 0x22);
    EXPECT_EQ(device()[0xF8], kZal);
    EXPECT_EQ(device()[0x33], zal[0x33]);
    for (int a : {0x10, 0x1E, 0x6E, 0xF7, 0xFA, 0xFF})
        EXPECT_EQ(device()[a], original[a]) << a;
    EXPECT_EQ(e().product(), kZal);

    device()[0xF9] = 0xFF;
    reset();
    fx->dialogs.answers = {Answer::Yes};
    EXPECT_EQ(e().WriteDefault(QStringLiteral("DORF")), CommandResult::Done);
    EXPECT_EQ(device()[0xF9], 0x00); // the V1X image
    EXPECT_EQ(e().version(), 0);
}

TEST_F(ServiceWrites, DefaultImageRefusals) {
    device() = fx->Default(kMuvePlus, 1);
    fx->dialogs.answers = {Answer::Yes};
    const CommandResult notClassic = e().WriteDefault(QStringLiteral("BORA"));
    EXPECT_EQ(notClassic, CommandResult::Refused);
    EXPECT_EQ(notClassic.message(), Msg::DeviceNotClassic);
    EXPECT_FALSE(notClassic.deviceChanged());
    EXPECT_EQ(ids(), (std::vector<int>{10649})); // refused before the question
    EXPECT_EQ(sent('W'), 0);

    device() = fx->Default(kBora, 0x22);
    device()[0xF9] = 0x10;
    reset();
    fx->dialogs.answers = {Answer::Yes};
    EXPECT_EQ(e().WriteDefault(QStringLiteral("BORA")), CommandResult::Refused);
    EXPECT_EQ(ids(), (std::vector<int>{10630})); // refused before the question
    EXPECT_EQ(e().statusText(), Str(10609));

    device()[0xF9] = 0x21;
    QFile::remove(fx->dataFile(QStringLiteral("Default MUVE V21.bin")));
    reset();
    fx->dialogs.answers = {Answer::Yes};
    EXPECT_EQ(e().WriteDefault(QStringLiteral("MUVE")), CommandResult::Refused);
    EXPECT_EQ(ids(), (std::vector<int>{10664})); // refused before the question
    EXPECT_TRUE(fx->dialogs.shown[0].text.contains(fx->dataFile(QStringLiteral("Default MUVE V21.bin"))));
    EXPECT_EQ(sent('W'), 0);

    reset();
    fx->dialogs.answers.clear(); // the Yes above was never asked for
    EXPECT_EQ(e().WriteDefault(QStringLiteral("BORA")), CommandResult::Cancelled); // answered No
    EXPECT_EQ(sent('W'), 0);
    // The question names the device that Yes would change.
    EXPECT_TRUE(fx->dialogs.shown[0].text.contains(QStringLiteral("Angeschlossen ist: BORA 21")))
        << fx->dialogs.shown[0].text.toStdString();

    rig.engine.options().writeProtected = {{0xF8, 0xF8}}; // the product code stays BORA
    reset();
    fx->dialogs.answers = {Answer::Yes};
    const ConfigImage before = e().working();
    const CommandResult different = e().WriteDefault(QStringLiteral("ZAL"));
    EXPECT_EQ(different, CommandResult::Failed);
    EXPECT_EQ(different.message(), Msg::VerifyFailed);
    EXPECT_TRUE(different.deviceChanged());
    EXPECT_EQ(ids(), (std::vector<int>{10668, 10633}));
    // Only a verified write puts the default image into the editor.
    EXPECT_EQ(e().working(), before);
    EXPECT_EQ(e().product(), kBora);
}

TEST_F(ServiceWrites, VersionByte) {
    device() = fx->Default(kBora, 0x22);
    fx->dialogs.answers = {Answer::Yes};
    EXPECT_TRUE(e().WriteVersionByte());
    EXPECT_EQ(ids(), (std::vector<int>{10665, 10666}));
    EXPECT_EQ(device()[0xF9], 0);
    EXPECT_EQ(e().version(), 0x22);       // the editor's version is not changed
    EXPECT_EQ(e().working()[0xF9], 0x22); // nor its image: a later Save keeps the file's layout

    device()[0xF9] = 0x22;
    rig.engine.options().writeProtected = {{0xF9, 0xF9}};
    reset();
    fx->dialogs.answers = {Answer::Yes};
    EXPECT_FALSE(e().WriteVersionByte());
    EXPECT_EQ(ids(), (std::vector<int>{10665, 10633}));

    // The read-back that fails is reported, not passed over in silence.
    rig.engine = sim::KbxSimEngine(sim::KbxSimOptions{});
    rig.engine.options().disconnectAfter = 2;
    reset();
    fx->dialogs.answers = {Answer::Yes};
    EXPECT_FALSE(e().WriteVersionByte());
    EXPECT_EQ(ids(), (std::vector<int>{10665, 10608}));
}

// --- Radio code learning --------------------------------------------------------------------------------

TEST_F(DeviceCommands, LearningPutsTheReceivedCodeIntoThePosition) {
    e().SelectProduct(kZal);
    rig.engine.options().learnCode = QStringLiteral("12AB");
    rig.engine.options().learnAfterPolls = 2;
    reset();
    ASSERT_TRUE(e().LearnStart(3));
    EXPECT_EQ(e().learnActionText(), QStringLiteral("Aktivieren Sie den Funksender für Position 3"));
    EXPECT_EQ(e().LearnPoll(), TfrmEnterData::LearnState::Waiting);
    EXPECT_EQ(e().LearnPoll(), TfrmEnterData::LearnState::Waiting);
    EXPECT_EQ(e().LearnPoll(), TfrmEnterData::LearnState::Received);
    e().LearnFinish(true);
    EXPECT_EQ(fx->f("edtRxCodePos3").text, QStringLiteral("12AB"));
    std::vector<QByteArray> expected{"s1", "c1", "c1", "c1", "s0"};
    EXPECT_EQ(rig.sent, expected);
    EXPECT_TRUE(ids().empty());
}

TEST_F(DeviceCommands, AbortLeavesThePositionAndFailedPollsNeverClose) {
    e().SelectProduct(kZal);
    fx->e().form().setText(fx->f("edtRxCodePos8"), QStringLiteral("BEEF"));
    rig.engine.options().corruptRate = 1;
    ASSERT_TRUE(e().LearnStart(8));
    for (int tick = 0; tick < 5; ++tick)
        EXPECT_EQ(e().LearnPoll(), TfrmEnterData::LearnState::Waiting);
    e().LearnFinish(false);
    EXPECT_EQ(fx->f("edtRxCodePos8").text, QStringLiteral("BEEF"));
    EXPECT_EQ(rig.sent.back(), QByteArray("s0"));
}

TEST_F(DeviceCommands, LearningWithoutAKbx) {
    rig.kbxPresent = false;
    e().SelectProduct(kZal);
    fx->e().form().setText(fx->f("edtRxCodePos1"), QStringLiteral("BEEF"));
    EXPECT_FALSE(e().LearnStart(1));
    EXPECT_EQ(ids(), std::vector<int>{10617});
    EXPECT_EQ(fx->f("edtRxCodePos1").text, QStringLiteral("BEEF"));
}

// --- Fixed radio ID codes -------------------------------------------------------------------------------

TEST_F(DeviceCommands, ChangingTheFixedCodesOfAZal) {
    device() = fx->Default(kZal, 0x22);
    e().SelectProduct(kZal);
    fx->e().form().selectIndex(fx->f("cbbxActionTxPos2"), 2); // sends the first fixed code
    const ConfigImage before = e().working();
    ASSERT_EQ(e().ChangeFixedCodesBegin(), FixedCodeWindow::Classic);
    TfrmChangeFixed& w = e().changeFixed();
    EXPECT_EQ(w.oldCodes[0], QStringLiteral("A001"));
    EXPECT_EQ(w.oldCodes[5], QStringLiteral("A006"));
    w.setNew(0, QStringLiteral("FFFE"));
    EXPECT_EQ(w.newCodes[1], QStringLiteral("0001")); // FFFF is skipped
    EXPECT_EQ(w.newCodes[5], QStringLiteral("0005"));
    ASSERT_TRUE(w.WriteToDevice());
    e().ChangeFixedCodesCommit(FixedCodeWindow::Classic);
    EXPECT_EQ(ids(), std::vector<int>{10663});
    EXPECT_EQ(ReadU16BE(device(), 0x10), 0xFFFE);
    EXPECT_EQ(ReadU16BE(device(), 0x1A), 0x0005);
    EXPECT_EQ(ReadU16BE(e().working(), 0x12), 0x0001);
    EXPECT_TRUE(SameRange(e().working(), before, 0x1C, 0xFF));
    EXPECT_EQ(fx->f("edtDeviceRadioId").text, QStringLiteral("FFFE"));
    EXPECT_EQ(fx->f("edtActionCodePos2").text, QStringLiteral("FFFE"));
    EXPECT_EQ(fx->f("edtRxCodePosF").text, QStringLiteral("0005"));
}

TEST_F(DeviceCommands, ChangeWindowRefusesInvalidCodesAndWritesTheOldOnesBack) {
    device() = fx->Default(kDorf, 0x21);
    e().SelectProduct(kDorf);
    ASSERT_EQ(e().ChangeFixedCodesBegin(), FixedCodeWindow::Classic);
    TfrmChangeFixed& w = e().changeFixed();
    for (const char* bad : {"0000", "FFFF"}) {
        w.setNew(2, QLatin1String(bad));
        EXPECT_EQ(w.newCodes[2], QString());
    }
    EXPECT_EQ(ids(), (std::vector<int>{10687, 10687}));
    w.setNew(3, QStringLiteral("12")); // not four characters: nothing happens yet, nor may it be written
    EXPECT_EQ(w.newCodes[3], QStringLiteral("12"));
    EXPECT_FALSE(w.writeEnabled());
    w.setNew(3, QStringLiteral("12AB"));
    EXPECT_TRUE(w.writeEnabled());
    EXPECT_EQ(w.changeList(), QStringLiteral("4. feste: %1 \u2192 12AB").arg(w.oldCodes[3]));
    w.setNew(3, QString());
    EXPECT_FALSE(w.writeEnabled()); // nothing to change
    const ConfigImage original = device();
    EXPECT_TRUE(w.WriteToDevice());
    EXPECT_EQ(device(), original);
}

TEST_F(DeviceCommands, ChangingTheCodesOfAMuvePlus) {
    device() = fx->Default(kMuvePlus2, 1);
    e().SelectProduct(kMuvePlus2);
    ASSERT_EQ(e().ChangeFixedCodesBegin(), FixedCodeWindow::Plus);
    TfrmChangeFixedPlus& w = e().changeFixedPlus();
    EXPECT_EQ(w.oldCodes[0], QStringLiteral("F001"));
    w.setNew1(QStringLiteral("FFF7"));
    EXPECT_EQ(ids(), std::vector<int>{10688});
    EXPECT_FALSE(w.writeEnabled);
    w.setNew1(QStringLiteral("00FF"));
    EXPECT_EQ(w.newCodes[1], QStringLiteral("0100"));
    w.setNew1(QStringLiteral("FFF6"));
    EXPECT_TRUE(w.writeEnabled);
    EXPECT_EQ(w.newCodes[8], QStringLiteral("FFFE"));
    w.setNew1(QStringLiteral("FFF8")); // refused: the code shown may not be written
    EXPECT_FALSE(w.writeEnabled);
    w.setNew1(QStringLiteral("FFF6"));
    ASSERT_TRUE(w.WriteToDevice());
    EXPECT_EQ(ReadU16BE(device(), 0x00), 0xFFF6);
    EXPECT_EQ(ReadU16BE(device(), 0x10), 0xFFFE);
    EXPECT_TRUE(TestImageChecksum(device()));
    e().ChangeFixedCodesCommit(FixedCodeWindow::Plus);
    EXPECT_EQ(ReadU16BE(e().working(), 0x02), 0xFFF7);
}

TEST_F(DeviceCommands, FixedCodesOfAnotherProductAreNotChanged) {
    device() = fx->Default(kMuve, 0x22);
    EXPECT_EQ(e().ChangeFixedCodesBegin(), FixedCodeWindow::None);
    ASSERT_EQ(ids(), std::vector<int>{10646});
    EXPECT_TRUE(fx->dialogs.shown[0].text.startsWith(QStringLiteral("Angeschlossenes Gerät ist kein BORA,")));
    rig.kbxPresent = false;
    reset();
    EXPECT_EQ(e().ChangeFixedCodesBegin(), FixedCodeWindow::None);
    EXPECT_EQ(ids(), std::vector<int>{10617}); // a missing KBX says so, not "another product"
}

TEST_F(DeviceCommands, AFailedCodeWriteKeepsTheWindowOpen) {
    device() = fx->Default(kBora, 0x22);
    rig.engine.options().writeProtected = {{0x14, 0x15}};
    ASSERT_EQ(e().ChangeFixedCodesBegin(), FixedCodeWindow::Classic);
    e().changeFixed().setNew(0, QStringLiteral("2000"));
    const ConfigImage before = e().working();
    EXPECT_FALSE(e().changeFixed().WriteToDevice());
    EXPECT_EQ(ids(), std::vector<int>{10633});
    EXPECT_EQ(e().working(), before);
}

} // namespace

namespace {

// A MUVE+ II replacing another keeps its own long serial, which in the long protocol is its radio ID:
// the technician hears that the receivers must learn it, and only then.
TEST_F(DeviceCommands, AReplacementInTheLongProtocolSaysTheReceiversMustLearn) {
    for (const bool longProtocol : {true, false}) {
        ConfigImage kept = fx->Default(kMuvePlus2, 1);
        kept[0x94] = longProtocol ? 2 : 1;
        StoreImageChecksum(kept);
        device() = kept;
        device()[0xFF] ^= 0x5A; // another device, with a long serial of its own
        device()[0xC9] ^= 0x11;
        StoreImageChecksum(device());
        const ConfigImage own = device();
        e().SelectProduct(kMuvePlus2);
        reset();
        EXPECT_TRUE(e().RestoreImage(kept, RestoreInto::Replacement)) << longProtocol;
        EXPECT_EQ(device()[0xC9], own[0xC9]);
        const bool said = std::any_of(fx->dialogs.shown.begin(), fx->dialogs.shown.end(), [](const auto& m) {
            return m.kind == MessageKind::Warning && m.text.contains(QStringLiteral("neu lernen"));
        });
        EXPECT_EQ(said, longProtocol);
    }
}

} // namespace

namespace {

// A device swapped in while a fixed code window is open never gets the codes: they go only into the
// device the window read, the older products' and the extended repeaters' alike.
TEST_F(DeviceCommands, FixedCodesGoOnlyIntoTheDeviceTheWindowRead) {
    for (const int product : {kZal, kMuvePlus2}) {
        const bool plus = product == kMuvePlus2;
        const ConfigImage first = fx->Default(product, plus ? 1 : 0x22);
        ConfigImage second = first;
        second[0xFF] ^= 0x5A; // another serial number
        if (plus)
            StoreImageChecksum(second);
        device() = first;
        e().SelectProduct(product);
        ASSERT_NE(e().ChangeFixedCodesBegin(), FixedCodeWindow::None) << product;
        if (plus)
            e().changeFixedPlus().setNew1(QStringLiteral("2000"));
        else
            e().changeFixed().setNew(0, QStringLiteral("2000"));
        device() = second;
        reset();
        const CommandResult result =
            plus ? e().changeFixedPlus().WriteToDevice() : e().changeFixed().WriteToDevice();
        EXPECT_EQ(result.kind(), CommandResult::Refused) << product;
        EXPECT_FALSE(result.deviceChanged());
        EXPECT_EQ(sent('W'), 0) << product;
        EXPECT_EQ(device(), second) << product;
        ASSERT_FALSE(fx->dialogs.shown.empty());
        EXPECT_TRUE(fx->dialogs.shown.back().text.startsWith(
            QStringLiteral("Ein anderes Gerät ist jetzt angeschlossen")));
    }
}

} // namespace
