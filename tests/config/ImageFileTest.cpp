#include "config/ImageFile.h"
#include "shell/FileSystem.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

using namespace zal;
using namespace zal::test;

namespace {

QByteArray Pattern(int size) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i * 13 + 1);
    return bytes;
}

ConfigImage Filled(std::uint8_t value) {
    ConfigImage image;
    image.fill(value);
    return image;
}

TEST(LoadImageFile, ByFileLength) {
    TempHome home;
    const struct {
        int size;
        Problem problem;
    } cases[] = {{256, Problem::None}, {300, Problem::None}, {255, Problem::Damaged}, {0, Problem::Damaged}};
    for (const auto& c : cases) {
        const QString path = WriteTestFile(home.file(QStringLiteral("f%1.Zal").arg(c.size)), Pattern(c.size));
        ConfigImage image = Filled(0xEE);
        EXPECT_EQ(LoadImageFile(path, image).problem(), c.problem) << c.size;
        const QByteArray expected = Pattern(c.size).left(256).leftJustified(256, '\0');
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(image.data()), 256), expected) << c.size;
    }
}

TEST(LoadImageFile, UnopenableFileLeavesTheImageUntouched) {
    TempHome home;
    const std::pair<QString, Problem> cases[] = {
        {home.file(QStringLiteral("missing.Zal")), Problem::NotFound}, {home.path(), Problem::Invalid}};
    for (const auto& [path, problem] : cases) {
        ConfigImage image = Filled(0xEE);
        const Result<> load = LoadImageFile(path, image);
        EXPECT_EQ(load.problem(), problem) << path.toStdString();
        EXPECT_TRUE(load.error().contains(path)) << load.error().toStdString();
        EXPECT_EQ(image, Filled(0xEE));
    }
}

TEST(SaveImageFile, WritesExactly256BytesAndReplaces) {
    TempHome home;
    const QString path = WriteTestFile(home.file(QStringLiteral("a.Bora")), QByteArray(1000, 'x'));
    EXPECT_TRUE(SaveImageFile(path, Filled(0x42)));
    EXPECT_EQ(ReadTestFile(path), QByteArray(256, 0x42));
    EXPECT_FALSE(QFileInfo(path).permission(QFileDevice::WriteOther));
    EXPECT_EQ(QDir(home.path()).entryList(QDir::Files), QStringList{QStringLiteral("a.Bora")});
}

TEST(SaveImageFile, FailsIntoAMissingFolder) {
    TempHome home;
    EXPECT_FALSE(SaveImageFile(home.file(QStringLiteral("no/such/a.Zal")), Filled(1)));
}

// A save that fails half way (here: the file size limit, as a full disk would) leaves the earlier file
// as it was and no temporary file behind.
TEST(SaveImageFile, AFailedSaveKeepsTheEarlierFile) {
    TempHome home;
    const QString path = WriteTestFile(home.file(QStringLiteral("keep.Zal")), Pattern(256));

    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const Result<> saved = SaveImageFile(path, Filled(0x55));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved);
    EXPECT_EQ(saved.error(), QString::fromLocal8Bit(std::strerror(EFBIG))); // the cause is said
    EXPECT_EQ(ReadTestFile(path), Pattern(256));
    EXPECT_EQ(QDir(home.path()).entryList(QDir::Files), QStringList{QStringLiteral("keep.Zal")});
    // A full disk is a kind of its own, not a file that cannot be reached.
    EXPECT_EQ(SaveImageFile(QStringLiteral("/dev/full"), Filled(0x55)).problem(), Problem::Full);
}

// Saving keeps what the file is: a link stays a link and its target gets the bytes, a file keeps its
// permission bits.
TEST(SaveImageFile, KeepsLinksAndPermissions) {
    TempHome home;
    QDir().mkpath(home.file(QStringLiteral("store")));
    const QString target = WriteTestFile(home.file(QStringLiteral("store/real.Zal")), Pattern(256));
    ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0640), 0);
    const QString relative = home.file(QStringLiteral("relative.Zal"));
    const QString absolute = home.file(QStringLiteral("absolute.Zal"));
    ASSERT_TRUE(QFile::link(QStringLiteral("store/real.Zal"), relative));
    ASSERT_TRUE(QFile::link(target, absolute));
    for (const auto& [link, value] : {std::pair{relative, 0x11}, std::pair{absolute, 0x22}}) {
        ASSERT_TRUE(SaveImageFile(link, Filled(static_cast<std::uint8_t>(value))));
        EXPECT_TRUE(QFileInfo(link).isSymLink());
        EXPECT_EQ(ReadTestFile(target), QByteArray(256, static_cast<char>(value)));
    }
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(QDir(home.file(QStringLiteral("store"))).entryList(QDir::Files),
              QStringList{QStringLiteral("real.Zal")});
}

// A folder that takes no new file, holding a writable file: the file is written in place. Run as an
// ordinary user, for whom the folder's permission bits count (root's would not).
TEST(SaveImageFile, AWritableFileInAReadOnlyFolderIsWrittenInPlace) {
    TempHome home;
    const QString folder = home.file(QStringLiteral("locked"));
    QDir().mkpath(folder);
    const QString path = WriteTestFile(folder + QStringLiteral("/a.Zal"), Pattern(300));
    const QByteArray nativeFolder = QFile::encodeName(folder), nativePath = QFile::encodeName(path);
    const uid_t user = ::geteuid() == 0 ? 65534 : ::geteuid(); // nobody, when we are root
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(nativeFolder.constData(), user, static_cast<gid_t>(-1)), 0);
        ASSERT_EQ(::chown(nativePath.constData(), user, static_cast<gid_t>(-1)), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(home.path()).constData(), 0755), 0);
    }
    ASSERT_EQ(::chmod(nativeFolder.constData(), 0555), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && ::setuid(user) != 0)
            ::_exit(3);
        ::_exit(SaveImageFile(path, Filled(0x33)) ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ::chmod(nativeFolder.constData(), 0755);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadTestFile(path), QByteArray(256, 0x33)); // cut to the image's length
}

// Ctrl+C or a closed terminal in the middle of a save ends the program after the rename, never with a
// temporary file beside the configuration; the file holds one whole save.
TEST(SaveImageFile, AnInterruptedSaveLeavesNoTemporary) {
    TempHome home;
    const QString path = home.file(QStringLiteral("big.Zal"));
    const QByteArray data(8 << 20, 'z'); // a wide window between the temporary and its rename
    for (const int signal : {SIGINT, SIGHUP, SIGTERM, SIGINT, SIGHUP}) {
        const pid_t child = ::fork();
        if (child == 0) {
            for (;;)
                WriteFileAtomically(path, data);
        }
        // The signal comes while a temporary stands beside the file: in the middle of a save, however
        // fast or loaded the machine (never after a guessed time).
        const auto temporaryStands = [&] {
            return QDir(home.path()).entryList(QDir::Files | QDir::Hidden).size() >
                   (QFileInfo::exists(path) ? 1 : 0);
        };
        for (int waited = 0; !temporaryStands() && waited < 20000; ++waited)
            ::usleep(500);
        if (!temporaryStands()) {
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
            FAIL() << "no save got under way";
        }
        ::kill(child, signal);
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal);
        EXPECT_EQ(QDir(home.path()).entryList(QDir::Files | QDir::Hidden),
                  QStringList{QStringLiteral("big.Zal")});
        EXPECT_EQ(QFileInfo(path).size(), data.size());
    }
}

// What a killed save left is removed by the next save of that file: a temporary of a process that is
// gone, or one too old to be a save under way; another process's save and other files stay.
TEST(SaveImageFile, ALaterSaveRemovesWhatAKilledOneLeft) {
    TempHome home;
    const pid_t gone = ::fork();
    if (gone == 0)
        ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    const QString alive = QString::number(::getppid());
    const struct {
        QString name;
        bool old, stays;
    } files[] = {
        {QStringLiteral(".a.Zal.zal-%1-Ab12Cd").arg(gone), false, false},
        {QStringLiteral(".a.Zal.zal-%1-Ef34Gh").arg(alive), false, true},
        {QStringLiteral(".a.Zal.zal-%1-Ij56Kl").arg(alive), true, false},
        {QStringLiteral(".b.Zal.zal-%1-Mn78Op").arg(gone), false, true},
        {QStringLiteral(".a.Zal.zal-notes"), true, true},
        {QStringLiteral("a.Zal.keep"), true, true},
    };
    for (const auto& f : files) {
        const QString file = WriteTestFile(home.file(f.name), "x");
        if (f.old) {
            const utimbuf hourAgo{::time(nullptr) - 3600, ::time(nullptr) - 3600};
            ASSERT_EQ(::utime(QFile::encodeName(file).constData(), &hourAgo), 0);
        }
    }
    ASSERT_TRUE(SaveImageFile(home.file(QStringLiteral("a.Zal")), Filled(1)));
    for (const auto& f : files)
        EXPECT_EQ(QFileInfo::exists(home.file(f.name)), f.stays) << f.name.toStdString();
}

TEST(ImageRange, SameRangeAndBigEndianHelpers) {
    ConfigImage a{}, b{};
    b[0x20] = 1;
    EXPECT_TRUE(SameRange(a, b, 0x00, 0x1F));
    EXPECT_FALSE(SameRange(a, b, 0x1F, 0x20));
    EXPECT_TRUE(SameRange(a, b, 0x21, 0xFF));
    WriteU16BE(a, 0x70, 0x1234);
    EXPECT_EQ(a[0x70], 0x12);
    EXPECT_EQ(a[0x71], 0x34);
    EXPECT_EQ(ReadU16BE(a, 0x70), 0x1234);
    EXPECT_EQ(BcdToNumber(0x19), 19);
    EXPECT_EQ(BcdToNumber(0x1A), 0);
    EXPECT_EQ(BcdToNumber(0xA1), 0);
}

} // namespace
