#include "config/ImageFile.h"
#include "config/Products.h"
#include "support/EditorFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace zal;
using namespace zal::test;

namespace {

class FileCommands : public ::testing::Test {
protected:
    QString file(const QString& name) { return fx.home.file(name); }
    QString Write(const QString& name, const ConfigImage& image, int size = kImageSize) {
        const QByteArray bytes(reinterpret_cast<const char*>(image.data()), kImageSize);
        return WriteTestFile(file(name), bytes.leftJustified(size, '\x11').left(size));
    }
    ConfigImage Read(const QString& path) {
        ConfigImage image{};
        LoadImageFile(path, image);
        return image;
    }
    void OpenPath(const QString& path) {
        fx.dialogs.paths.push_back(path);
        fx.e().FileOpen();
    }
    bool SaveAs(const QString& path) {
        fx.dialogs.paths.push_back(path);
        return static_cast<bool>(fx.e().FileSaveAs());
    }

    EditorFixture fx;
};

TEST_F(FileCommands, NewLoadsTheDefaultOfTheChosenVersion) {
    fx.e().SelectProduct(kZal);
    fx.e().FileNew(NewEntry::V20xx);
    EXPECT_EQ(fx.e().version(), 0x20);
    EXPECT_EQ(fx.e().working(), fx.Default(kZal, 0x20));
    EXPECT_EQ(fx.e().fileState(), fsNew);
    EXPECT_EQ(fx.e().title(), QStringLiteral("(Default) - ZAL family programmer"));
    fx.e().SelectProduct(kMuvePlus);
    fx.e().FileNew(NewEntry::V20xx);
    EXPECT_EQ(fx.e().working(), fx.Default(kMuvePlus, 1));
    EXPECT_TRUE(fx.dialogs.shown.empty());

    fx.e().SelectProduct(kBora);
    fx.dialogs.clear();
    fx.e().FileNew(NewEntry::Unknown);
    ASSERT_EQ(fx.dialogs.shown.size(), 1u);
    EXPECT_EQ(fx.dialogs.shown[0].text,
              QStringLiteral("Runtime error in File-New Click. Please contact VESK Electronics"));
}

TEST_F(FileCommands, AMissingDefaultImageIsReportedAndTheEditorGoesOn) {
    QFile::remove(fx.dataFile(QStringLiteral("Default DORF V21.bin")));
    fx.e().SelectProduct(kDorf);
    fx.dialogs.clear();
    fx.e().FileNew(NewEntry::V21xx);
    ASSERT_EQ(fx.dialogs.ids(), std::vector<int>{10606});
    EXPECT_TRUE(
        fx.dialogs.shown[0].text.endsWith(QStringLiteral("nicht gefunden werdenDefault DORF V21.bin")));
    EXPECT_EQ(fx.e().version(), 0x22); // the image it had still selects
}

TEST_F(FileCommands, OpenByFileLength) {
    const QString good = Write(QStringLiteral("long.Bora"), fx.Default(kBora, 0x22), 300);
    OpenPath(good);
    EXPECT_EQ(fx.e().fileName(), good);
    EXPECT_EQ(fx.e().fileState(), fsOpened);
    EXPECT_EQ(fx.e().title(), QStringLiteral("long.Bora - ZAL family programmer"));
    ASSERT_EQ(fx.dialogs.requests.size(), 1u);
    EXPECT_EQ(fx.dialogs.requests[0].title, QStringLiteral("Öffnen"));
    EXPECT_EQ(fx.dialogs.requests[0].filter, QStringLiteral("BORA Konfigurationsdatei|*.Bora"));
    EXPECT_EQ(fx.dialogs.requests[0].folder, fx.e().folders().defaultConfigFolder);

    // A short file is not taken: the editor keeps its image, file and state.
    const ConfigImage before = fx.e().working();
    OpenPath(Write(QStringLiteral("short.Bora"), fx.Default(kZal, 0x21), 255));
    EXPECT_EQ(fx.dialogs.ids(), std::vector<int>{10604});
    EXPECT_EQ(fx.e().working(), before);
    EXPECT_EQ(fx.e().fileName(), good);
    EXPECT_EQ(fx.e().fileState(), fsOpened);
}

TEST_F(FileCommands, OpenSwitchesToTheFilesProduct) {
    OpenPath(Write(QStringLiteral("whatever.Bora"), fx.Default(kMuve, 0x21)));
    EXPECT_EQ(fx.e().product(), kMuve);
    EXPECT_EQ(fx.e().version(), 0x21);
    EXPECT_TRUE(fx.dialogs.shown.empty());
}

TEST_F(FileCommands, RefusedFilesLeaveTheEditorAsItWas) {
    const struct {
        int product, version, minor;
        int message;
        const char* contains;
    } cases[] = {
        {kZal, 0x05, 0x01, 10631, "(0x0501)"},
        {kZal, 0x23, 0x00, 10648, "Update"},
        {80, 0x22, 0x00, 10628, "passt nicht"},
        {kMuvePlus, 0x00, 0x00, 10631, "(0x0000)"},
    };
    const QString earlier = Write(QStringLiteral("earlier.Bora"), fx.Default(kBora, 0x22));
    OpenPath(earlier);
    const ConfigImage before = fx.e().working();
    for (const auto& c : cases) {
        ConfigImage image = fx.Default(kZal, 0x22);
        image[0xF8] = static_cast<std::uint8_t>(c.product);
        image[0xF9] = static_cast<std::uint8_t>(c.version);
        image[0xFA] = static_cast<std::uint8_t>(c.minor);
        fx.dialogs.clear();
        OpenPath(Write(QStringLiteral("refused.Zal"), image));
        ASSERT_EQ(fx.dialogs.ids(), std::vector<int>{c.message});
        EXPECT_TRUE(fx.dialogs.shown[0].text.contains(QLatin1String(c.contains))) << c.message;
        EXPECT_EQ(fx.e().working(), before);
        EXPECT_EQ(fx.e().fileName(), earlier);
        EXPECT_EQ(fx.e().product(), kBora);
    }
    EXPECT_EQ(fx.e().statusText(), QString());
    // A following Save writes the earlier configuration under its own name.
    fx.e().FileSave();
    EXPECT_EQ(Read(earlier), before);
}

TEST_F(FileCommands, SaveAsForcesTheProductsExtension) {
    fx.e().SelectProduct(kZal);
    SaveAs(file(QStringLiteral("Lager.txt")));
    EXPECT_TRUE(QFile::exists(file(QStringLiteral("Lager.Zal"))));
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("Lager.txt"))));
    EXPECT_EQ(fx.e().fileState(), fsSaved);
    EXPECT_EQ(fx.e().title(), QStringLiteral("Lager.Zal - ZAL family programmer"));
    EXPECT_EQ(Read(file(QStringLiteral("Lager.Zal"))), fx.e().working());
    ASSERT_EQ(fx.dialogs.requests.size(), 1u);
    EXPECT_EQ(fx.dialogs.requests[0].fileName, QStringLiteral("*.Zal"));
    // The next Save As starts at the current file.
    SaveAs(file(QStringLiteral("Zweites")));
    EXPECT_EQ(fx.dialogs.requests[1].fileName, QStringLiteral("Lager.Zal"));
    EXPECT_TRUE(QFile::exists(file(QStringLiteral("Zweites.Zal"))));
}

TEST_F(FileCommands, OverwritingAnIncompatibleFileAsksFirst) {
    fx.e().SelectProduct(kZal); // V22, minor 08
    const QString older = Write(QStringLiteral("older.Zal"), fx.Default(kZal, 0x21));
    fx.dialogs.answers = {Answer::Yes, Answer::No};
    SaveAs(older);
    EXPECT_EQ(fx.dialogs.questions, (std::vector<int>{10611, 10662}));
    EXPECT_TRUE(fx.dialogs.shown[1].text.contains(QStringLiteral("Dateiversion v21.04 with v22.08")));
    EXPECT_EQ(Read(older), fx.Default(kZal, 0x21));
    EXPECT_EQ(fx.e().fileState(), fsNew);

    fx.dialogs.clear();
    fx.dialogs.answers = {Answer::Yes, Answer::Yes};
    SaveAs(older);
    EXPECT_EQ(Read(older), fx.e().working());

    const QString dorf = Write(QStringLiteral("dorf.Zal"), fx.Default(kDorf, 0x22));
    fx.dialogs.clear();
    fx.dialogs.answers = {Answer::Yes, Answer::No};
    SaveAs(dorf);
    EXPECT_EQ(fx.dialogs.questions, (std::vector<int>{10611, 10661}));
    EXPECT_TRUE(fx.dialogs.shown[1].text.contains(QStringLiteral("Dateityp DORF mit ZAL")));
    EXPECT_EQ(Read(dorf), fx.Default(kDorf, 0x22));

    fx.dialogs.clear();
    const QString same = Write(QStringLiteral("same.Zal"), fx.Default(kZal, 0x22));
    fx.dialogs.answers = {Answer::No};
    SaveAs(same);
    EXPECT_EQ(fx.dialogs.questions, std::vector<int>{10611});
}

TEST_F(FileCommands, ReadOnlyFilesAreNotOverwritten) {
    const QString locked = Write(QStringLiteral("locked.Bora"), fx.Default(kDorf, 0x20));
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    fx.dialogs.paths.push_back(locked);
    EXPECT_TRUE(fx.e().FileSaveAs() == CommandResult::Refused);
    EXPECT_EQ(fx.dialogs.ids(), std::vector<int>{10610});
    EXPECT_EQ(Read(locked), fx.Default(kDorf, 0x20));
}

// A backup, this station's or a copy of another's, is kept read-only: Save says so and points to
// Save As, wherever below the backup folder it lies.
TEST_F(FileCommands, ABackupIsNeverSavedOverAndSaveSaysWhy) {
    for (const char* folder : {"", "stations/Line 2/"}) {
        const QString path =
            fx.e().backups().folder() + QLatin1String(folder) + QStringLiteral("ZAL 000001.bin");
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
        ASSERT_TRUE(SaveImageFile(path, fx.Default(kZal, 0x22)));
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
        ASSERT_TRUE(fx.e().OpenPath(path));
        fx.dialogs.clear();
        fx.e().form().setText(fx.f("edtNoShortTransm"), QStringLiteral("7"));
        EXPECT_EQ(fx.e().FileSave(), CommandResult::Failed) << folder;
        ASSERT_EQ(fx.dialogs.shown.size(), 1u) << folder;
        EXPECT_TRUE(fx.dialogs.shown[0].text.contains(QStringLiteral("Sicherungen sind schreibgeschützt")))
            << folder;
        EXPECT_EQ(Read(path), fx.Default(kZal, 0x22));
    }
}

TEST_F(FileCommands, CancelledDialogsChangeNothing) {
    EXPECT_TRUE(fx.e().FileSaveAs() == CommandResult::Cancelled);
    EXPECT_TRUE(fx.e().FileOpen() == CommandResult::Cancelled);
    EXPECT_TRUE(fx.e().FileSave() == CommandResult::Cancelled); // no file yet: Save As, cancelled too
    EXPECT_EQ(fx.dialogs.requests.size(), 3u);
    EXPECT_EQ(fx.e().fileState(), fsNew);
    EXPECT_TRUE(fx.dialogs.shown.empty());
}

TEST_F(FileCommands, AFailedSaveIsReported) {
    // A failed Save As leaves the title naming no file that does not exist.
    EXPECT_FALSE(SaveAs(file(QStringLiteral("no/such/folder/x.Bora"))));
    EXPECT_EQ(fx.dialogs.ids(), std::vector<int>{10605});
    // The box names the file and why (here: the folder is missing), which is what can be mended.
    EXPECT_TRUE(fx.dialogs.shown[0].text.contains(file(QStringLiteral("no/such/folder/x.Bora: "))))
        << fx.dialogs.shown[0].text.toStdString();
    EXPECT_EQ(fx.e().fileState(), fsNew);
    EXPECT_TRUE(fx.e().fileName().isEmpty());
    // A failed Save keeps the file's name and counts as saved, as it always did.
    ASSERT_TRUE(SaveAs(file(QStringLiteral("x.Bora"))));
    QFile::remove(file(QStringLiteral("x.Bora")));
    QDir().mkpath(file(QStringLiteral("x.Bora/blocked")));
    fx.dialogs.clear();
    EXPECT_FALSE(fx.e().FileSave());
    EXPECT_EQ(fx.dialogs.ids(), std::vector<int>{10605});
    EXPECT_EQ(fx.e().fileName(), file(QStringLiteral("x.Bora")));
}

// A decimal text that does not parse: nothing is written and the image stays as it was.
TEST_F(FileCommands, AConversionErrorStopsTheSave) {
    fx.e().SelectProduct(kZal);
    const QString path = file(QStringLiteral("a.Zal"));
    SaveAs(path);
    const ConfigImage saved = Read(path);
    fx.e().form().setText(fx.f("edtRxCodePos1"), QStringLiteral("1234"));
    fx.e().form().setText(fx.f("edtWiredThreshold4"), QStringLiteral("1,2,3"));
    fx.dialogs.clear();
    const ConfigImage before = fx.e().working();
    fx.e().FileSave();
    ASSERT_EQ(fx.dialogs.shown.size(), 1u);
    EXPECT_TRUE(fx.dialogs.shown[0].text.contains(QStringLiteral("'1,2,3'")));
    EXPECT_TRUE(fx.dialogs.shown[0].text.contains(QStringLiteral("Schwellwert, Eingang 4")));
    EXPECT_EQ(fx.e().working(), before);
    EXPECT_EQ(Read(path), saved);
}

TEST_F(FileCommands, ExitAsksAndResets) {
    fx.e().SelectProduct(kMuve);
    fx.dialogs.answers = {Answer::Cancel};
    EXPECT_FALSE(fx.e().FileExit());
    EXPECT_EQ(fx.e().product(), kMuve);

    fx.dialogs.answers = {Answer::Yes};
    fx.dialogs.paths = {file(QStringLiteral("beforeExit"))};
    EXPECT_TRUE(fx.e().FileExit());
    EXPECT_TRUE(QFile::exists(file(QStringLiteral("beforeExit.Muve"))));
    EXPECT_EQ(fx.e().product(), kBora);
    EXPECT_EQ(fx.e().fileState(), fsNew);
    EXPECT_TRUE(fx.e().fileName().isEmpty());
    EXPECT_EQ(fx.e().page(), 0);
    EXPECT_EQ(fx.e().working(), fx.Default(kBora, 0x22));
    EXPECT_EQ(fx.dialogs.questions, (std::vector<int>{10607, 10607}));

    // A save that does not happen keeps the editor open with its edits; the close box asks only when
    // there is something to lose.
    fx.e().SelectProduct(kZal);
    EXPECT_FALSE(fx.e().HasUnsavedChanges());
    EXPECT_TRUE(fx.e().CloseRequested());
    fx.Type("edtNoShortTransm", QStringLiteral("7"));
    EXPECT_TRUE(fx.e().HasUnsavedChanges());
    fx.dialogs.answers = {Answer::Yes}; // the Save As dialog is then cancelled
    EXPECT_FALSE(fx.e().FileExit());
    EXPECT_EQ(fx.f("edtNoShortTransm").text, QStringLiteral("7"));
    fx.dialogs.answers = {Answer::Cancel};
    EXPECT_FALSE(fx.e().CloseRequested());
    fx.dialogs.questions.clear();
    EXPECT_TRUE(fx.e().CloseRequested()); // answered No: closes without saving
    EXPECT_EQ(fx.dialogs.questions, std::vector<int>{10607});
    // An image holding a byte that no field shows as it is (0x77 where the list has no such item), as a
    // backup or a restored device may, is not changed by being shown.
    ConfigImage odd = fx.Default(kZal, 0x22);
    odd[0x48] = 0x77;
    ASSERT_TRUE(SaveImageFile(file(QStringLiteral("odd.Zal")), odd));
    ASSERT_TRUE(fx.e().OpenPath(file(QStringLiteral("odd.Zal"))));
    EXPECT_FALSE(fx.e().HasUnsavedChanges());
}

TEST_F(FileCommands, DefaultFolderIsStored) {
    QDir().mkpath(file(QStringLiteral("elsewhere")));
    fx.e().SetDefaultConfigFolder(file(QStringLiteral("elsewhere/")));
    EXPECT_EQ(fx.e().folders().defaultConfigFolder, file(QStringLiteral("elsewhere")));
    fx.e().FileOpen();
    EXPECT_EQ(fx.dialogs.requests.back().folder, file(QStringLiteral("elsewhere")));
    // A remembered folder that is gone: Open starts in the configuration folder.
    QDir(file(QStringLiteral("elsewhere"))).removeRecursively();
    fx.e().FileOpen();
    EXPECT_EQ(fx.dialogs.requests.back().folder, fx.e().folders().configFolder);
    EXPECT_TRUE(fx.dialogs.requests.back().fileName.isEmpty());
}

TEST_F(FileCommands, CompareListsExactlyTheFieldsThatDiffer) {
    ConfigImage other = fx.Default(kZal, 0x22);
    other[0x50] = 9; // short transmissions
    other[0x51] = 2; // long transmissions
    const QString path = fx.home.file("other.Zal");
    ASSERT_TRUE(SaveImageFile(path, other));
    fx.New(kZal, 0x22);
    fx.Type("edtNoLongTransm", QStringLiteral("2")); // the same as the other now, though not saved
    const auto rows = fx.e().CompareWith(path);
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 1u);
    EXPECT_EQ((*rows)[0].name, QStringLiteral("edtNoShortTransm"));
    EXPECT_EQ((*rows)[0].page, QStringLiteral("Weitere"));
    EXPECT_EQ((*rows)[0].other, QStringLiteral("9"));
    EXPECT_EQ(fx.e().CompareWith(fx.home.file("missing.Zal")), std::nullopt);
    EXPECT_EQ(fx.dialogs.ids(), std::vector<int>{10604});
}

} // namespace
