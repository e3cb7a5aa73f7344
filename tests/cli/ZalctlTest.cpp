// zalctl end to end, as a technician or a batch script runs it, in a temporary home.

#include "config/ImageFile.h"
#include "config/Products.h"
#include "shell/FileSystem.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

using namespace zal;
using namespace zal::test;

namespace {

struct Result {
    int exitCode;
    QString out, err;
};

class Zalctl : public ::testing::Test {
protected:
    Result zalctl(const QStringList& arguments, const QString& lang = QStringLiteral("de_DE.UTF-8"),
                  const QString& program = QStringLiteral(ZAL_BIN_DIR "/zalctl")) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.file(QStringLiteral(".local/share")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.file(QStringLiteral(".config")));
        env.remove(QStringLiteral("LC_ALL"));
        env.remove(QStringLiteral("LC_NUMERIC"));
        env.remove(QStringLiteral("LC_MESSAGES"));
        env.remove(QStringLiteral("LANGUAGE"));
        env.insert(QStringLiteral("LANG"), lang);
        p.setProcessEnvironment(env);
        p.start(program, arguments);
        p.waitForFinished(30000);
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }
    QJsonObject json(const Result& run) { return QJsonDocument::fromJson(run.out.toUtf8()).object(); }
    QJsonObject field(const QJsonObject& editor, const char* name) {
        return editor[QStringLiteral("fields")].toObject()[QLatin1String(name)].toObject();
    }
    ConfigImage read(const QString& path) {
        ConfigImage image{};
        EXPECT_TRUE(LoadImageFile(path, image));
        return image;
    }
    QString file(const char* name) { return home.file(QLatin1String(name)); }

    TempHome home;
};

TEST_F(Zalctl, NewThenShow) {
    ASSERT_EQ(zalctl({"new", "zal", "V21", "-o", file("x.Zal")}).exitCode, 0);
    const Result show = zalctl({"show", file("x.Zal"), "--json"});
    ASSERT_EQ(show.exitCode, 0) << show.err.toStdString();
    const QJsonObject editor = json(show);
    EXPECT_EQ(editor["product"].toInt(), 2);
    EXPECT_EQ(editor["version"].toInt(), 0x21);
    EXPECT_EQ(editor["minor"].toInt(), 4);
    EXPECT_EQ(editor["fault"].toInt(), -1);
    EXPECT_EQ(editor["fileState"].toString(), QStringLiteral("fsOpened"));
    EXPECT_EQ(editor["title"].toString(), QStringLiteral("x.Zal - ZAL family programmer"));
    EXPECT_TRUE(editor["messages"].toArray().isEmpty());
    EXPECT_TRUE(editor["menus"].toObject()["mnuChangeFixedRadioCodes"].toObject()["visible"].toBool());
    EXPECT_FALSE(editor["menus"].toObject()["mnuWriteDefaultZal"].toObject()["visible"].toBool());
    const QJsonObject tx = field(editor, "cbbxActionTxPos1");
    EXPECT_EQ(tx["kind"].toString(), QStringLiteral("combo"));
    EXPECT_EQ(tx["value"].toInt(), 0);
    EXPECT_EQ(tx["text"].toString(), QStringLiteral("Aus"));
    EXPECT_EQ(field(editor, "edtWiredThreshold4")["text"].toString(), QStringLiteral("1,0"));
    EXPECT_EQ(field(editor, "edtRxCodePos1")["maxLength"].toInt(), 4);
    EXPECT_EQ(field(editor, "cbListenBeforeTransmit")["checked"].toBool(), false);

    const Result text = zalctl({"show", file("x.Zal")});
    EXPECT_TRUE(text.out.contains(QStringLiteral("== Verkabelte Eingänge ==")));
    EXPECT_TRUE(text.out.contains(QStringLiteral("Schwellwert, Eingang 4: 1,0 V (DC)")));
    EXPECT_EQ(json(zalctl({"show", file("x.Zal"), "--json"}, QStringLiteral("en_US.UTF-8")))["fields"]
                  .toObject()["edtWiredThreshold4"]
                  .toObject()["text"]
                  .toString(),
              QStringLiteral("1.0"));
}

// Outside a German locale the texts are English, with the same message numbers, field names and JSON
// keys; the language chosen in the window's Hilfe menu holds for zalctl too.
TEST_F(Zalctl, EnglishBesideGerman) {
    ASSERT_EQ(zalctl({"new", "zal", "V21", "-o", file("x.Zal")}).exitCode, 0);
    const QJsonObject german = json(zalctl({"show", file("x.Zal"), "--json"}));
    const QJsonObject english =
        json(zalctl({"show", file("x.Zal"), "--json"}, QStringLiteral("en_GB.UTF-8")));
    EXPECT_EQ(english.keys(), german.keys());
    EXPECT_EQ(english["fields"].toObject().keys(), german["fields"].toObject().keys());
    EXPECT_EQ(field(english, "cbbxActionTxPos1")["text"].toString(), QStringLiteral("Off"));
    EXPECT_EQ(field(english, "cbbxActionTxPos1")["value"], field(german, "cbbxActionTxPos1")["value"]);

    const Result text = zalctl({"show", file("x.Zal")}, QStringLiteral("en_GB.UTF-8"));
    EXPECT_TRUE(text.out.contains(QStringLiteral("== Wired inputs ==")));
    EXPECT_TRUE(text.out.contains(QStringLiteral("Threshold, input 4: 1.0 V (DC)")));
    const Result missing = zalctl({"show", file("none.Zal")}, QStringLiteral("en_GB.UTF-8"));
    EXPECT_TRUE(missing.err.contains(QStringLiteral("10604: Cannot load the selected configuration")))
        << missing.err.toStdString();
    // zalctl's own lines speak the same language as the messages they follow.
    for (const auto& [lang, said] :
         {std::pair{"de_DE.UTF-8", "gibt es nicht: die für die KBX angegebene"},
          std::pair{"en_GB.UTF-8", "There is no /nonexistent/tty: the port given"}}) {
        const Result read = zalctl({"read", "--port", "/nonexistent/tty"}, QLatin1String(lang));
        EXPECT_TRUE(read.err.contains(QString::fromUtf8(said))) << read.err.toStdString();
    }

    // A recipe written in German names its items in German; English takes them too.
    WriteTestFile(file("recipe.json"), R"({"fields": {"cbbxActionTxPos2": {"text": "Sende unverändert"}}})");
    const Result applied =
        zalctl({"apply", file("x.Zal"), file("recipe.json")}, QStringLiteral("en_GB.UTF-8"));
    EXPECT_EQ(applied.exitCode, 0) << applied.err.toStdString();
    EXPECT_EQ(field(json(zalctl({"show", file("x.Zal"), "--json"})), "cbbxActionTxPos2")["text"].toString(),
              QStringLiteral("Sende unverändert"));

    // The user's choice outweighs the locale.
    QDir().mkpath(home.file(QStringLiteral(".config/VESK")));
    QFile chosen(home.file(QStringLiteral(".config/VESK/ZAL Programmer.ini")));
    ASSERT_TRUE(chosen.open(QIODevice::WriteOnly));
    chosen.write("[General]\nlanguage=de\n");
    chosen.close();
    EXPECT_TRUE(zalctl({"show", file("x.Zal")}, QStringLiteral("en_GB.UTF-8"))
                    .out.contains(QStringLiteral("== Verkabelte Eingänge ==")));
}

// A file name that is not UTF-8 (Latin-1, as old shares give them) is made, changed and opened under
// exactly its own bytes. The names go through the shell, as they would from a technician's script.
TEST_F(Zalctl, NamesThatAreNotUtf8KeepTheirBytes) {
    const struct {
        const char* printf; // the name as printf writes it
        QByteArray native;
    } names[] = {{"\\344rger.Zal", "\xe4rger.Zal"},
                 {"neu\\374.Zal", "neu\xfc.Zal"},
                 {"ok-\\303\\274.Zal", "ok-\xc3\xbc.Zal"}};
    for (const auto& n : names) {
        const QString script =
            QStringLiteral("z='%1/zalctl'; cd '%2' && n=$(printf '%3') && \"$z\" new ZAL -o \"$n\" && "
                           "\"$z\" set \"$n\" edtNoShortTransm=5 && \"$z\" show \"$n\" --json")
                .arg(QStringLiteral(ZAL_BIN_DIR), home.path(), QLatin1String(n.printf));
        const Result run =
            zalctl({QStringLiteral("-c"), script}, QStringLiteral("C.UTF-8"), QStringLiteral("/bin/sh"));
        EXPECT_EQ(run.exitCode, 0) << n.printf << ": " << run.err.toStdString();
        const QString name = home.path() + u'/' + NameFromNative(n.native);
        EXPECT_TRUE(IsRegularFile(name)) << n.printf;
        EXPECT_EQ(read(name)[0x50], 5) << n.printf;
        EXPECT_EQ(json(run)["fileState"].toString(), QStringLiteral("fsOpened")) << n.printf;
    }
}

TEST_F(Zalctl, WrongUsage) {
    EXPECT_EQ(zalctl({"new", "KAFFEE"}).exitCode, 2);
    EXPECT_EQ(zalctl({"new", "BORA", "V30"}).exitCode, 2);
    EXPECT_EQ(zalctl({"show"}).exitCode, 2);
    EXPECT_EQ(zalctl({"frobnicate"}).exitCode, 2);
    EXPECT_EQ(zalctl({"show", file("missing.Bora")}).exitCode, 1);
    // An option the command does not take is named, not ignored.
    const Result stray = zalctl({"show", file("x.Bora"), "--serial", "42"});
    EXPECT_EQ(stray.exitCode, 2);
    EXPECT_TRUE(stray.err.contains(QStringLiteral("show nimmt --serial nicht"))) << stray.err.toStdString();
    EXPECT_EQ(zalctl({"new", "BORA", "--port", "/dev/null"}).exitCode, 2); // no KBX for new
    EXPECT_EQ(zalctl({"backups"}).exitCode, 2);
    EXPECT_EQ(zalctl({"line", "x.Zal", "--change-codes", ""}).exitCode, 2); // an empty script variable
    // Records named by a relative path or an unknown scheme would be made in the current folder.
    // A server's URL that would connect otherwise than it says, or holds a password, likewise; the
    // password is never shown.
    const QByteArray records = qgetenv("ZAL_RECORDS");
    for (const auto& [location, said] : {std::pair{"garbage::%%%", "absoluter Pfad"},
                                         std::pair{"postgresql://zal:SECRET@db/zal", "~/.pgpass"},
                                         std::pair{"postgresql://zal@db/zal?password=SECRET", "~/.pgpass"},
                                         std::pair{"postgresql://zal@db/zal?sslmod=require", "sslmode"}}) {
        qputenv("ZAL_RECORDS", location);
        const Result located = zalctl({"backups", "list", "--json"});
        EXPECT_EQ(located.exitCode, 2) << location;
        EXPECT_TRUE(located.err.contains(QLatin1String(said))) << located.err.toStdString();
        EXPECT_FALSE((located.err + located.out).contains(QStringLiteral("SECRET"))) << location;
    }
    records.isNull() ? qunsetenv("ZAL_RECORDS") : qputenv("ZAL_RECORDS", records);
    // An output never replaces the input or a configuration file without --yes.
    ASSERT_EQ(zalctl({"new", "BORA", "-o", file("keep.Bora")}).exitCode, 0);
    const QByteArray kept = ReadTestFile(file("keep.Bora"));
    for (const QStringList& command :
         {QStringList{"export", file("keep.Bora"), "--format", "csv", "-o", file("keep.Bora")},
          QStringList{"support-bundle", "-o", file("keep.Bora")},
          QStringList{"kbx-dump", "-o", file("keep.Bora")}}) {
        EXPECT_EQ(zalctl(command).exitCode, 1) << command.join(u' ').toStdString();
        EXPECT_EQ(ReadTestFile(file("keep.Bora")), kept);
    }
    // Every command explains itself on standard output; what a command does not take is a usage error.
    for (const char* command : {"folders",      "new",           "show",
                                "set",          "apply",         "diff",
                                "export",       "backups list",  "backups restore",
                                "devices",      "devices show",  "support-bundle",
                                "read",         "write",         "learn",
                                "change-codes", "write-default", "write-version-byte",
                                "line",         "kbx-info",      "kbx-list",
                                "kbx-dump",     "version"}) {
        const QStringList words = QString::fromLatin1(command).split(u' ');
        for (const QStringList& asked : {words + QStringList{"--help"}, QStringList{"help"} + words}) {
            const Result help = zalctl(asked);
            EXPECT_EQ(help.exitCode, 0) << asked.join(u' ').toStdString();
            EXPECT_TRUE(help.out.startsWith(QStringLiteral("usage: zalctl ") + QLatin1String(command)))
                << help.out.toStdString();
        }
    }
    const struct {
        QStringList arguments;
        const char* said; // on standard error
    } refused[] = {
        {{"version", "--bogus"}, "unknown option '--bogus'"},
        {{"show", "a.Zal", "-o"}, "-o needs a value"},
        {{"folders", "extra"}, "folders does not take extra"},
        {{"--field-names", "--bogus"}, "takes nothing more"},
        {{"--version", "now"}, "takes nothing more"},
        {{"devices", "show", ""}, "usage: zalctl devices show"},
        {{"backups", "list", "--serial", ""}, "--serial needs a value"},
        {{"backups", "list", "--serial", "xyz"}, "--serial xyz is no serial number"},
        {{"backups", "list", "--since", ""}, "is not a date"},
        {{"backups", "list", "--since", "2026-12-08T25:00"}, "is not a date"},
        {{"backups", "list", "--since", "2026-12-08T12:61"}, "is not a date"},
        {{"backups", "list", "--since", "2026-12-08Txyz"}, "is not a date"},
        {{"help", "frobnicate"}, "unknown command"},
        // A typo gets the nearest command or option, not the whole usage.
        {{"wirte", "a.Zal"}, "unknown command 'wirte'; did you mean 'write'?"},
        {{"--verison"}, "unknown option '--verison'; did you mean '--version'?"},
        {{"show", "-nosuch.Zal"}, "unknown option '-nosuch.Zal'"}, // one word, not its letters
    };
    for (const auto& r : refused) {
        const Result run = zalctl(r.arguments, QStringLiteral("en_GB.UTF-8"));
        EXPECT_EQ(run.exitCode, 2) << r.arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains(QLatin1String(r.said))) << run.err.toStdString();
    }
    EXPECT_FALSE(zalctl({"wirte"}, QStringLiteral("en_GB.UTF-8")).err.contains(QStringLiteral("Commands:")));
    // A file whose name starts with "-" is the file.
    ASSERT_EQ(zalctl({"new", "ZAL", "-o", file("-dash.Zal")}).exitCode, 0);
    const Result dash =
        zalctl({QStringLiteral("-c"), QStringLiteral("cd '%1' && '%2/zalctl' show -dash.Zal --json")
                                          .arg(home.path(), QStringLiteral(ZAL_BIN_DIR))},
               QStringLiteral("C.UTF-8"), QStringLiteral("/bin/sh"));
    EXPECT_EQ(dash.exitCode, 0) << dash.err.toStdString();
    EXPECT_EQ(json(dash)[QStringLiteral("fileName")].toString(), QStringLiteral("-dash.Zal"));
    // A file that did not open shows nothing on stdout.
    const Result missing = zalctl({"show", file("nosuch.Zal")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.out.isEmpty()) << missing.out.size();
    EXPECT_EQ(zalctl({"version"}).out, zalctl({"--version"}).out);
    EXPECT_EQ(zalctl({"help", "help"}).out, zalctl({"--help"}).out);
    // A folder is no output file.
    QDir().mkpath(file("folder"));
    const Result folder = zalctl({"new", "ZAL", "-o", file("folder") + u'/'});
    EXPECT_EQ(folder.exitCode, 1);
    EXPECT_EQ(QDir(file("folder")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList());
    // The KBX commands take a chosen port too, and say why it gives no KBX.
    for (const char* command : {"kbx-dump", "kbx-info"}) {
        const auto missing = zalctl({command, "--port", "/nonexistent/tty"});
        EXPECT_EQ(missing.exitCode, 1) << command;
        EXPECT_TRUE(missing.err.contains(QStringLiteral("existiert nicht"))) << missing.err.toStdString();
        EXPECT_TRUE(missing.out.isEmpty()) << command << ' ' << missing.out.toStdString();
    }
}

// Output that cannot be written is an error, and --json gives a JSON document whatever happened.
TEST_F(Zalctl, OutputIsCheckedAndJsonComesOnFailureToo) {
    ASSERT_EQ(zalctl({"new", "ZAL", "-o", file("z.Zal")}).exitCode, 0);
    // (backups list and devices, with backups to list, in the device tests)
    for (const char* command : {"show z.Zal --json", "--field-names", "version", "--help"}) {
        for (const char* redirect : {"> /dev/full", ">&-"}) {
            const Result run =
                zalctl({QStringLiteral("-c"), QStringLiteral("cd '%1' && '%2/zalctl' %3 %4")
                                                  .arg(home.path(), QStringLiteral(ZAL_BIN_DIR),
                                                       QLatin1String(command), QLatin1String(redirect))},
                       QStringLiteral("C.UTF-8"), QStringLiteral("/bin/sh"));
            EXPECT_EQ(run.exitCode, 1) << command << ' ' << redirect;
            EXPECT_TRUE(run.err.contains(QStringLiteral("cannot write the output"))) << run.err.toStdString();
        }
    }
    const struct {
        QStringList arguments;
        int number; // 0: none
        const char* text;
    } failures[] = {
        {{"set", file("z.Zal"), "edtNoLongTransm=999", "--json"}, 10681, "did not take the value"},
        {{"devices", "show", "999999", "--json"}, 0, "no device with serial number 999999"},
        {{"show", file("none.Zal"), "--json"}, 10604, "There is no file"},
        {{"new", "KAFFEE", "--json"}, 0, "products are"},
    };
    for (const auto& f : failures) {
        const Result run = zalctl(f.arguments, QStringLiteral("en_GB.UTF-8"));
        EXPECT_NE(run.exitCode, 0) << f.arguments.join(u' ').toStdString();
        QJsonParseError parsed{};
        const QJsonObject error =
            QJsonDocument::fromJson(run.out.toUtf8(), &parsed).object()[QStringLiteral("error")].toObject();
        EXPECT_EQ(parsed.error, QJsonParseError::NoError) << run.out.toStdString();
        EXPECT_EQ(error[QStringLiteral("number")].toInt(), f.number) << run.out.toStdString();
        EXPECT_TRUE(error[QStringLiteral("text")].toString().contains(QLatin1String(f.text)))
            << run.out.toStdString();
    }
    // Why a configuration cannot be opened follows the message.
    QDir().mkpath(file("folder.Zal"));
    WriteTestFile(file("short.Zal"), "short");
    for (const auto& [name, why] :
         {std::pair{"none.Zal", "There is no file"}, std::pair{"folder.Zal", "is a folder"},
          std::pair{"short.Zal", "holds 5 bytes"}}) {
        const Result run = zalctl({"show", file(name)}, QStringLiteral("en_GB.UTF-8"));
        EXPECT_TRUE(
            run.err.contains(QStringLiteral("10604: Cannot load the selected configuration\nzalctl: ")) &&
            run.err.contains(QLatin1String(why)))
            << run.err.toStdString();
    }
}

// The completion file and the manual page name every command and every option the usage text (made
// from the command table) gives each command.
TEST_F(Zalctl, CompletionAndManualPageFollowTheCommandTable) {
    // What the completion and a script ask creates nothing in the home: no folder, no settings.
    const Result names = zalctl({"--field-names"});
    EXPECT_TRUE(names.out.contains(QStringLiteral("\nedtNoShortTransm\n"))) << names.out.toStdString();
    EXPECT_TRUE(names.out.contains(QStringLiteral("\ncbbxActionTxPos1\n")));
    EXPECT_TRUE(zalctl({"--version"}).out.startsWith(QStringLiteral("zalctl 1.")));
    EXPECT_TRUE(QDir(home.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    const Result help = zalctl({"--help"});
    ASSERT_EQ(help.exitCode, 0);
    const auto read = [](const char* path) {
        QFile f(QStringLiteral(ZAL_SOURCE_DIR "/") + QLatin1String(path));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    };
    const Result completionRun = zalctl({"--completion", "bash"});
    ASSERT_EQ(completionRun.exitCode, 0);
    const QString completion = completionRun.out;
    // Each command offers its own options: the line that completes them for the command.
    const auto optionsOf = [&completion](const QString& name) {
        const QRegularExpression row(QStringLiteral("\"%1\"\\) COMPREPLY=\\(\\$\\(compgen -W \"([^\"]*)\"")
                                         .arg(QRegularExpression::escape(name)));
        return row.match(completion).captured(1).split(u' ');
    };
    QString manual = read("data/man/zalctl.1");
    manual.replace(QStringLiteral("\\-"), QStringLiteral("-"));
    manual.replace(QStringLiteral("\\ "), QStringLiteral(" ")); // the headings' spaces that never break
    manual.remove(QRegularExpression(QStringLiteral(R"(\\f[BIR])")));
    const QStringList entries = manual.split(QStringLiteral("\n.TP\n"));
    const QRegularExpression option(QStringLiteral(R"((--[a-z-]+|-o)\b)"));
    int commands = 0;
    for (const QString& line : help.out.split(u'\n')) {
        if (!line.startsWith(QStringLiteral("  ")) || line.startsWith(QStringLiteral("   ")))
            continue;
        const QStringList words = line.trimmed().split(u' ');
        // A word that is no command of its own names its commands with the next word.
        const bool group = words[0] == QLatin1String("backups") || words[0] == QLatin1String("records") ||
                           (words[0] == QLatin1String("devices") && words.value(1) == QLatin1String("show"));
        const QString name = group ? words[0] + u' ' + words[1] : words[0];
        ++commands;
        EXPECT_TRUE(completion.contains(u' ' + words[0] + u' ') ||
                    completion.contains(u'"' + words[0] + u' ') ||
                    completion.contains(u' ' + words[0] + u'"'))
            << "completion lacks " << name.toStdString();
        // The command's entry: the first that begins with its name (or names it after a comma).
        const QString* entry = nullptr;
        for (const QString& e : entries) {
            const QString heading = e.section(u'\n', 0, 0);
            if (heading.contains(QRegularExpression(QStringLiteral(R"((^|[ ",]))") +
                                                    QRegularExpression::escape(name) +
                                                    QStringLiteral(R"(([ "]|$))")))) {
                entry = &e;
                break;
            }
        }
        ASSERT_TRUE(entry) << "manual page lacks " << name.toStdString();
        QStringList offered = optionsOf(name);
        for (auto m = option.globalMatch(line); m.hasNext();) {
            const QString o = m.next().captured(1);
            EXPECT_TRUE(offered.removeOne(o))
                << "completion of " << name.toStdString() << " lacks " << o.toStdString();
            if (o != QLatin1String("--kbx") && o != QLatin1String("--port")) { // said once for every command
                EXPECT_TRUE(entry->contains(o))
                    << "manual entry of " << name.toStdString() << " lacks " << o.toStdString();
            }
        }
        // Nothing it does not take (the editor's own switches are said once for all in the usage).
        for (const QString& o : offered) {
            EXPECT_TRUE(o == QLatin1String("--help") || o == QLatin1String("--yes") ||
                        o == QLatin1String("--service") || o == QLatin1String("--changecodes"))
                << "completion offers " << name.toStdString() << ' ' << o.toStdString();
        }
    }
    EXPECT_GE(commands, 21);
    for (const char* global : {"--yes", "--service", "--changecodes", "--kbx", "--port"})
        EXPECT_TRUE(manual.contains(QLatin1String(global))) << global;
}

// The completion as bash runs it (bash-completion's _filedir stood in for): what each place offers.
TEST_F(Zalctl, CompletionOffersWhatEachPlaceTakes) {
    WriteTestFile(file("zalctl.bash"), zalctl({"--completion", "bash"}).out.toUtf8());
    const struct {
        const char* line; // the words typed, the last being completed
        const char* offered;
    } places[] = {
        {"zalctl help wr", "write write-default write-version-byte"},
        {"zalctl records export --csv ", "<files -d>"},
        // The shipped products' extensions first, then any a build adds, then the raw images.
        {"zalctl show ",
         "<files @(Bora|bora|Zal|zal|Muve|muve|Dorf|dorf|Muveplus|muveplus|Muveplus2|muveplus2|"},
        {"zalctl backups restore ", "<files bin>"},
        {"zalctl devices --he", "--header --help"},
    };
    for (const auto& p : places) {
        const QString script =
            QStringLiteral("_filedir() { COMPREPLY+=(\"<files $*>\"); }; compopt() { :; }; PATH='%1':$PATH; "
                           ". '%2'; COMP_WORDS=(%3); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); %4 _zalctl; "
                           "echo \"${COMPREPLY[*]}\"")
                .arg(QStringLiteral(ZAL_BIN_DIR), file("zalctl.bash"), QLatin1String(p.line),
                     QLatin1String(p.line).endsWith(u' ')
                         ? QStringLiteral("COMP_WORDS+=(''); ((COMP_CWORD++));")
                         : QString());
        const Result run =
            zalctl({QStringLiteral("-c"), script}, QStringLiteral("C.UTF-8"), QStringLiteral("/bin/bash"));
        const QString offered = run.out.trimmed();
        if (QLatin1String(p.offered).endsWith(u'|'))
            EXPECT_TRUE(offered.startsWith(QLatin1String(p.offered)) &&
                        offered.endsWith(QLatin1String("|bin)>")))
                << p.line << ": " << offered.toStdString();
        else
            EXPECT_EQ(offered, QLatin1String(p.offered)) << p.line << ": " << run.err.toStdString();
    }
}

// Every list of the products a user reads (the help in both languages, the manual pages, the package
// and desktop descriptions as the build fills them in, the README) names the products of the rows:
// all of them, or those with a default write. The README is the one list written by hand: a product
// added to the rows fails here until it names it too (the example product, made for the tests alone,
// is not in it).
TEST_F(Zalctl, ProductListsFollowTheProductRows) {
    QStringList all, defaults;
    for (const ProductInfo& p : Products()) {
        all << QString::fromLatin1(p.model.get()).remove(u' ');
        if (p.writeDefaultMenu)
            defaults << all.last();
    }
    QStringList texts{zalctl({"--help"}).out, zalctl({"--help"}, QStringLiteral("en_GB.UTF-8")).out,
                      zalctl({"new", "KAFFEE"}).err, zalctl({"help", "write-default"}).out};
    QStringList paths{QStringLiteral(ZAL_SOURCE_DIR "/README.md")};
    for (const char* filled : {"zalctl.1", "zal-programmer.1", "zal-programmer.desktop",
                               "zal-programmer.metainfo.xml", "package-description.cmake"})
        paths << QStringLiteral(ZAL_FILLED_DIR "/") + QLatin1String(filled);
    for (const QString& path : paths) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
        QString text = QString::fromUtf8(f.readAll());
#ifdef ZAL_EXAMPLE_PRODUCT
        if (path.endsWith(QLatin1String("README.md")))
            continue;
#endif
        texts << text.replace(QStringLiteral("\"\n       \""), QStringLiteral(" "));
    }
    // The file types, with their extensions: the desktop's, the software centre's and the manual's.
    QFile mimeFile(QStringLiteral(ZAL_FILLED_DIR "/zal-programmer-mime.xml"));
    ASSERT_TRUE(mimeFile.open(QIODevice::ReadOnly));
    const QString mime = QString::fromUtf8(mimeFile.readAll());
    for (const ProductInfo& p : Products()) {
        const QString extension = QString::fromLatin1(p.extension.get());
        const QString type = QStringLiteral("application/x-zal-") + extension.mid(1).toLower();
        EXPECT_TRUE(
            mime.contains(QStringLiteral("<glob pattern=\"*%1\" case-sensitive=\"true\"/>").arg(extension)))
            << extension.toStdString();
        EXPECT_TRUE(mime.contains(QStringLiteral("<mime-type type=\"%1\">").arg(type))) << type.toStdString();
        // The filled texts stand last: zalctl.1, zal-programmer.1, the desktop entry, the metainfo, the
        // package description.
        const qsizetype filled = texts.size() - 5;
        EXPECT_TRUE(texts[filled + 1].contains(extension)) << extension.toStdString();
        EXPECT_TRUE(texts[filled + 2].contains(type + u';')) << type.toStdString();
        EXPECT_TRUE(texts[filled + 3].contains(QStringLiteral("<mediatype>%1<").arg(type)))
            << type.toStdString();
    }
    const QString name = QStringLiteral(R"([A-Z][A-Z0-9]*\+?(?: ?II)?)");
    const QRegularExpression list(QStringLiteral(R"(BORA(?:(?:, | and | or | oder |\s+)%1)+)").arg(name));
    int lists = 0;
    for (const QString& text : texts) {
        for (auto m = list.globalMatch(text); m.hasNext();) {
            const QString found = m.next().captured(0);
            QStringList names =
                found.split(QRegularExpression(QStringLiteral(R"(, | and | or | oder |\s+(?=[A-Z]{3}))")));
            for (QString& n : names)
                n.remove(QRegularExpression(QStringLiteral(R"(\s)")));
            EXPECT_TRUE(names == all || names == defaults) << found.toStdString();
            ++lists;
        }
    }
#ifdef ZAL_EXAMPLE_PRODUCT
    EXPECT_GE(lists, 11); // the README's two left out
#else
    EXPECT_GE(lists, 13);
#endif
}

TEST_F(Zalctl, SetActsAsATechnician) {
    ASSERT_EQ(zalctl({"new", "ZAL", "-o", file("z.Zal")}).exitCode, 0);
    const ConfigImage before = read(file("z.Zal"));
    // A value the range check replaced or a key the filter dropped: nothing is saved, and both are named.
    const Result kept =
        zalctl({"set", file("z.Zal"), "edtNoShortTransm=256", "cbbxActionTxPos4=v:3", "edtRxCodePos1=12g4"});
    EXPECT_EQ(kept.exitCode, 1);
    EXPECT_TRUE(kept.err.contains(QStringLiteral("error 10680: Anzahl der kurzen Übertragungen")));
    EXPECT_TRUE(kept.err.contains(QStringLiteral("zalctl: Warnung: Taste 'g' von edtRxCodePos1 verworfen")));
    EXPECT_TRUE(kept.err.contains(QStringLiteral("edtNoShortTransm hat den verlangten Wert nicht angenommen; "
                                                 "es enthält \"255\"")));
    EXPECT_TRUE(kept.err.contains(QStringLiteral("edtRxCodePos1 hat den verlangten Wert nicht")));
    EXPECT_EQ(read(file("z.Zal")), before);

    const Result set = zalctl({"set", file("z.Zal"), "edtNoShortTransm=25", "cbbxActionTxPos4=v:3",
                               "edtRxCodePos1=1240", "--json"});
    ASSERT_EQ(set.exitCode, 0) << set.err.toStdString();
    const ConfigImage image = read(file("z.Zal"));
    EXPECT_EQ(image[0x50], 25);
    EXPECT_EQ(image[0x48 + 3], 3);
    EXPECT_EQ(image[0x00], 0x12);
    EXPECT_EQ(image[0x01], 0x40);
    EXPECT_EQ(field(json(set), "edtActionCodePos4")["text"].toString(), QStringLiteral("A004"));

    // Without assignments, -o saves a copy as Save As does.
    ASSERT_EQ(zalctl({"set", file("z.Zal"), "-o", file("copy")}).exitCode, 0);
    EXPECT_EQ(read(file("copy.Zal")), image);

    // What the window lets a technician change is what set changes: MUVE+ radio codes are enabled.
    ASSERT_EQ(zalctl({"new", "MUVE+", "-o", file("p.Muveplus")}).exitCode, 0);
    ASSERT_EQ(zalctl({"set", file("p.Muveplus"), "edtRxCodePos2=ABCD"}).exitCode, 0);
    EXPECT_EQ(read(file("p.Muveplus"))[0x22], 0xAB);
    // What the technician cannot change (product information, a value the product does not keep even
    // when forced open) is refused by set and apply alike, and nothing is saved.
    const ConfigImage plus = read(file("p.Muveplus"));
    WriteTestFile(file("r.json"), R"({"fields": {"edtActionCodePos1": {"text": "1234"}}})");
    const struct {
        QStringList command;
        const char* said;
    } unchangeable[] = {
        {{"set", file("p.Muveplus"), "edtProgramVersion=99.99"}, "edtProgramVersion zeigt nur"},
        {{"set", file("p.Muveplus"), "edtSerialNumber=5", "--force"}, "edtSerialNumber zeigt nur"},
        // Forcing the product or a protocol would make a file that another product takes.
        {{"set", file("p.Muveplus"), "cbbxProductName=v:1", "--force"},
         "cbbxProductName gehört zur Produktinformation"},
        {{"set", file("p.Muveplus"), "cbbxTransmissionProtocol=v:2", "--force"},
         "cbbxTransmissionProtocol gehört zur Produktinformation"},
        {{"set", file("p.Muveplus"), "edtActionCodePos1=1234", "--force"},
         "edtActionCodePos1 hat den verlangten Wert nicht angenommen"},
        {{"apply", file("p.Muveplus"), file("r.json"), "--force"},
         "edtActionCodePos1 kann bei diesem Produkt"},
    };
    for (const auto& c : unchangeable) {
        const Result r = zalctl(c.command);
        EXPECT_EQ(r.exitCode, 1) << c.said;
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.said))) << r.err.toStdString();
        EXPECT_EQ(read(file("p.Muveplus")), plus) << c.said;
    }

    // Fields not in use are refused unless forced.
    const Result refused = zalctl({"set", file("z.Zal"), "edtActionTransmissionDelayPos1=5"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("nicht verwendet")));
    // Forced, such a field is changed only where the product keeps what it gets: a ZAL does not keep
    // this one, so the file would not hold it.
    const Result lost = zalctl({"set", file("z.Zal"), "edtActionTransmissionDelayPos1=5", "--force"});
    EXPECT_EQ(lost.exitCode, 1);
    EXPECT_TRUE(lost.err.contains(QStringLiteral("es enthält \"---\""))) << lost.err.toStdString();
    EXPECT_EQ(zalctl({"set", file("z.Zal"), "noSuchField=1"}).exitCode, 2);
    EXPECT_EQ(zalctl({"set", file("z.Zal"), "cbbxActionTxPos1=v:77"}).exitCode, 1);
    EXPECT_EQ(zalctl({"set", file("z.Zal"), "cbDelayUseJumpers=1"}).exitCode,
              1); // a ZAL has no delay jumpers
    EXPECT_EQ(zalctl({"set", file("z.Zal"), "cbDelayUseJumpers=1", "--force"}).exitCode, 0);

    ASSERT_EQ(zalctl({"new", "MUVE", "-o", file("m.Muve")}).exitCode, 0);
    ASSERT_EQ(zalctl({"set", file("m.Muve"), "cbDelayUseJumpers=0", "edtDelay=2,5"}).exitCode, 0);
    EXPECT_EQ(read(file("m.Muve"))[0x53], 25);
    EXPECT_EQ(read(file("m.Muve"))[0x67], 0);
}

TEST_F(Zalctl, SaveAsAsksBeforeOverwriting) {
    ASSERT_EQ(zalctl({"new", "DORF", "V20", "-o", file("a.Dorf")}).exitCode, 0);
    ASSERT_EQ(zalctl({"new", "DORF", "-o", file("b.Dorf")}).exitCode, 0);
    const Result no = zalctl({"set", file("a.Dorf"), "edtSameCodeInhibitTime=5", "-o", file("b.Dorf")});
    EXPECT_EQ(no.exitCode, 1);
    EXPECT_TRUE(no.err.contains(QStringLiteral("question 10611")));
    const Result yes =
        zalctl({"set", file("b.Dorf"), "edtSameCodeInhibitTime=30", "-o", file("a.Dorf"), "--yes"});
    EXPECT_EQ(yes.exitCode, 0) << yes.err.toStdString();
    EXPECT_TRUE(yes.err.contains(QStringLiteral("question 10662")));
    EXPECT_EQ(read(file("a.Dorf"))[0x71], 30);
}

TEST_F(Zalctl, Diff) {
    ASSERT_EQ(zalctl({"new", "MUVE+", "-o", file("m1")}).exitCode, 0);
    ASSERT_EQ(zalctl({"new", "muve+", "-o", file("m2")}).exitCode, 0);
    EXPECT_EQ(zalctl({"diff", file("m1.Muveplus"), file("m2.Muveplus")}).exitCode, 0);
    ASSERT_EQ(zalctl({"set", file("m2.Muveplus"), "edtNoShortTransm=7"}).exitCode, 0);
    const Result diff = zalctl({"diff", file("m1.Muveplus"), file("m2.Muveplus")});
    EXPECT_EQ(diff.exitCode, 1);
    EXPECT_EQ(diff.out, QStringLiteral("edtNoShortTransm\tAnzahl kurzer Übertragungen\t3\t7\n"));
}

TEST_F(Zalctl, FoldersAreSettledInTheHome) {
    const Result folders = zalctl({"folders"});
    EXPECT_EQ(folders.exitCode, 0);
    EXPECT_TRUE(folders.out.contains(home.file(QStringLiteral(".local/share/VESK/ZAL Programmer (DE)/"))));
    EXPECT_TRUE(folders.out.contains(QStringLiteral("Default MUVEPLUS2 V1.bin")));
    // Every setting with what is used and where it came from, in the user's language; what cannot be
    // used is said beside it.
    const QString values = file(".local/share/VESK/ZAL Programmer (DE)/Values.ini");
    QByteArray ini = ReadTestFile(values);
    const int line = static_cast<int>(ini.count('\n')) + 2;
    WriteTestFile(values, ini + "[Records]\nStation=L2\nLockTimeout=2\n");
    const Result listed = zalctl({"folders"}, QStringLiteral("en_US.UTF-8"));
    EXPECT_TRUE(listed.out.contains(QStringLiteral("Install folder: "))) << listed.out.toStdString();
    const QRegularExpression station(
        QStringLiteral("\\n  Values\\.ini:%1 +\\[Records\\] Station=L2\\n").arg(line));
    EXPECT_TRUE(listed.out.contains(station)) << listed.out.toStdString();
    EXPECT_TRUE(listed.out.contains(
        QRegularExpression(QStringLiteral("\\n  Default +\\[Backups\\] MaxAgeDays=365\\n"))));
    EXPECT_TRUE(listed.err.contains(
        QStringLiteral("[Records] LockTimeout=2: only for records on a PostgreSQL server")))
        << listed.err.toStdString();
}

// A configuration exported with show --json, trimmed or not, applies to another file as set would.
TEST_F(Zalctl, RecipesRoundTripThroughShowJson) {
    ASSERT_EQ(zalctl({"new", "ZAL", "-o", file("a.Zal")}).exitCode, 0);
    ASSERT_EQ(
        zalctl({"set", file("a.Zal"), "edtNoShortTransm=7", "cbbxActionTxPos1=i:2", "edtRxCodePos3=BEEF"})
            .exitCode,
        0);
    const Result shown = zalctl({"show", file("a.Zal"), "--json"});
    WriteTestFile(file("recipe.json"), shown.out.toUtf8());
    ASSERT_EQ(zalctl({"new", "ZAL", "-o", file("b.Zal")}).exitCode, 0);
    const Result applied = zalctl({"apply", file("b.Zal"), file("recipe.json")});
    EXPECT_EQ(applied.exitCode, 0) << applied.err.toStdString();
    EXPECT_EQ(zalctl({"diff", file("a.Zal"), file("b.Zal")}).out, QString());
    // It lists what it changed as diff would, in the window's order, with what the rules changed too.
    const QStringList lines = applied.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5) << applied.out.toStdString();
    EXPECT_EQ(
        lines.mid(0, 4),
        (QStringList{
            QStringLiteral("edtRxCodePos3\tPosition 3 / Funk ID's\t\tBEEF"),
            QStringLiteral("cbbxActionTxPos1\tPosition 1 / Funk Übertragung\tAus\tSende mit 1. fester ID"),
            QStringLiteral("edtActionCodePos1\tPosition 1 / ID\t----\tA001"),
            QStringLiteral("edtNoShortTransm\tAnzahl kurzer Übertragungen\t3\t7")}));
    // A recipe made under one language applies under the other: items, decimals, dates and what the
    // read-only fields show, in either.
    for (const auto& [product, set] :
         {std::pair{"ZAL", "edtWiredThreshold4=2,5"}, std::pair{"MUVE+", "edtNoShortTransm=6"}}) {
        for (const auto& [from, to] :
             {std::pair{"de_DE.UTF-8", "en_US.UTF-8"}, std::pair{"en_US.UTF-8", "de_DE.UTF-8"}}) {
            ASSERT_EQ(zalctl({"new", product, "-o", file("x")}).exitCode, 0);
            const QString made = QDir(home.path()).entryList({QStringLiteral("x.*")}).value(0);
            ASSERT_EQ(zalctl({"set", file(made.toLatin1()), set}, QStringLiteral("de_DE.UTF-8")).exitCode, 0);
            WriteTestFile(
                file("other.json"),
                zalctl({"show", file(made.toLatin1()), "--json"}, QLatin1String(from)).out.toUtf8());
            ASSERT_EQ(zalctl({"new", product, "-o", file("y")}).exitCode, 0);
            const QString target = QDir(home.path()).entryList({QStringLiteral("y.*")}).value(0);
            const Result crossed =
                zalctl({"apply", file(target.toLatin1()), file("other.json")}, QLatin1String(to));
            EXPECT_EQ(crossed.exitCode, 0) << product << ' ' << from << ": " << crossed.err.toStdString();
            EXPECT_EQ(ReadTestFile(file(target.toLatin1())), ReadTestFile(file(made.toLatin1())))
                << product << ' ' << from;
            QFile::remove(file(made.toLatin1()));
            QFile::remove(file(target.toLatin1()));
        }
    }

    const struct {
        const char* recipe;
        int exitCode;
    } cases[] = {
        {R"({"fields": {"edtNoLongTransm": {"text": "5"}, "cbbxActionTxPos2": {"value": 1}}})", 0},
        {R"({"fields": {"edtNoLongTransm": {"text": "9999"}}})", 1},   // the range check puts in its limit
        {R"({"fields": {"cbbxActionTxPos2": {"value": 77}}})", 1},     // no such item
        {R"({"fields": {"edtActionCodePos1": {"text": "1234"}}})", 1}, // derived, not typed
        {R"({"fields": {"noSuchField": {"text": "1"}}})", 2},
        {R"([1, 2])", 2},
        // A value only in its own JSON type, and an entry that sets something.
        {R"({"fields": {"edtNoLongTransm": {"text": 7}}})", 1},
        {R"({"fields": {"edtNoLongTransm": null}})", 1},
        {R"({"fields": {"edtNoLongTransm": "7"}})", 1},
        {R"({"fields": {"edtNoLongTransm": {}}})", 1},
        {R"({"fields": {"edtNoLongTransm": {"txt": "7"}}})", 1},
        {R"({"fields": {"edtNoLongTransm": {"value": 7}}})", 1},
        {R"({"fields": {"edtRxCodePos2": {"text": 1234}}})", 1},
        {R"({"fields": {"cbbxActionTxPos2": {"value": "1"}}})", 1},
        {R"({"fields": {"cbbxActionTxPos2": {"index": 1.5}}})", 1},
        {R"({"fields": {"cbListenBeforeTransmit": {"checked": 1}}})", 1},
        {R"({"fields": {"edtNoLongTransm": {"text": "5"}, "edtNoLongTransm": {"text": "6"}}})", 1},
    };
    for (const auto& c : cases) {
        WriteTestFile(file("r.json"), c.recipe);
        const ConfigImage before = read(file("b.Zal"));
        const Result r = zalctl({"apply", file("b.Zal"), file("r.json"), "-o", file("c.Zal"), "--yes"});
        EXPECT_EQ(r.exitCode, c.exitCode) << c.recipe << r.err.toStdString();
        EXPECT_EQ(read(file("b.Zal")), before) << c.recipe;
    }
    EXPECT_EQ(json(zalctl({"show", file("c.Zal"), "--json"}))["fields"]
                  .toObject()["edtNoLongTransm"]
                  .toObject()["text"]
                  .toString(),
              QStringLiteral("5"));
    // A recipe too large to be one, or a device that never ends, is refused before it is read whole.
    WriteTestFile(file("big.json"), QByteArray(2 << 20, ' '));
    EXPECT_EQ(zalctl({"apply", file("b.Zal"), file("big.json")}).exitCode, 1);
    EXPECT_EQ(zalctl({"apply", file("b.Zal"), "/dev/zero"}).exitCode, 1);
    // Another product's whole configuration does not stay: what differs where DORF has no choice.
    ASSERT_EQ(zalctl({"new", "DORF", "-o", file("d.Dorf")}).exitCode, 0);
    EXPECT_EQ(zalctl({"apply", file("d.Dorf"), file("recipe.json")}).exitCode, 1);
}

// The report holds every field the window shows, in use or not, for every product; the PDF has pages
// and text that a PDF reader finds.
// A report or a support bundle that cannot be written whole (a full disk: here a file size limit, which
// fails writes as ENOSPC would; a folder in the way) fails with exit 1 and leaves the earlier file whole.
TEST_F(Zalctl, OutputsThatCannotBeWrittenFailAndKeepTheEarlierFile) {
    ASSERT_EQ(zalctl({"new", "ZAL", "-o", file("c.Zal")}).exitCode, 0);
    QDir().mkpath(file("folder.pdf"));
    const struct {
        const char* command;
        const char* output;
        bool full;
    } cases[] = {
        {"export c.Zal --yes -o", "r.pdf", true},   {"export c.Zal --yes -o", "r.html", true},
        {"support-bundle --yes -o", "s.zip", true}, {"export c.Zal -o", "folder.pdf", false},
        {"support-bundle -o", "folder.pdf", false},
    };
    for (const auto& c : cases) {
        const bool folder = !c.full;
        if (!folder)
            WriteTestFile(file(c.output), "earlier\n");
        const QString script =
            QStringLiteral("cd '%1' && trap '' XFSZ && %2 exec '%3/zalctl' %4 %5")
                .arg(home.path(), QLatin1String(c.full ? "ulimit -f 4 &&" : ""), QStringLiteral(ZAL_BIN_DIR),
                     QLatin1String(c.command), QLatin1String(c.output));
        const Result run =
            zalctl({QStringLiteral("-c"), script}, QStringLiteral("C.UTF-8"), QStringLiteral("/bin/sh"));
        EXPECT_EQ(run.exitCode, 1) << c.command << ' ' << c.output << ": " << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("cannot write"))) << run.err.toStdString();
        if (!folder) {
            EXPECT_EQ(ReadTestFile(file(c.output)), "earlier\n") << c.output;
        }
        EXPECT_EQ(QDir(home.path()).entryList({QStringLiteral(".*zal-*")}, QDir::Files | QDir::Hidden),
                  QStringList()); // no temporary left
    }
}

TEST_F(Zalctl, ReportOfEveryProduct) {
    QString config;
    for (const char* product : {"BORA", "ZAL", "MUVE", "DORF", "MUVE+", "MUVE+II"}) {
        // Saved with the product's own extension.
        for (const QString& old : QDir(home.path()).entryList({QStringLiteral("c.*")}))
            QFile::remove(home.file(old));
        ASSERT_EQ(zalctl({"new", product, "-o", file("c")}).exitCode, 0) << product;
        config = home.file(QDir(home.path()).entryList({QStringLiteral("c.*")}).value(0));
        const QJsonObject fields = json(zalctl({"show", config, "--json"}))["fields"].toObject();
        for (const char* format : {"csv", "html", "json"})
            ASSERT_EQ(zalctl({"export", config, "--format", format, "-o", file("r.") + format}).exitCode, 0);
        const QStringList csv = QString::fromUtf8(ReadTestFile(file("r.csv"))).split(QStringLiteral("\r\n"));
        const QString html = QString::fromUtf8(ReadTestFile(file("r.html")));
        int inUse = 0;
        for (auto it = fields.begin(); it != fields.end(); ++it) {
            const QJsonObject f = it.value().toObject();
            if (!f["visible"].toBool() || f["kind"].toString() == QLatin1String("button"))
                continue;
            const bool used = f["mark"].toInt() != 2;
            inUse += used;
            const QString value =
                f["kind"].toString() == QLatin1String("check")
                    ? (f["checked"].toBool() ? QStringLiteral("[x]") : QStringLiteral("[ ]"))
                    : f["text"].toString();
            const QString tail = (used ? QStringLiteral(";ja;") : QStringLiteral(";nein;")) + it.key();
            const auto line =
                std::find_if(csv.begin(), csv.end(), [&](const QString& l) { return l.endsWith(tail); });
            ASSERT_NE(line, csv.end()) << product << ' ' << it.key().toStdString();
            EXPECT_TRUE(line->contains(u';' + value + u';')) << line->toStdString();
        }
        EXPECT_EQ(html.count(QStringLiteral("<td>ja</td>")), inUse) << product;
        EXPECT_TRUE(csv[1].startsWith(
            QStringLiteral("Bericht;Gerät;Produktname;") +
            QString::fromLatin1(product).replace(QStringLiteral("II"), QStringLiteral(" II"))));
        EXPECT_EQ(QJsonDocument::fromJson(ReadTestFile(file("r.json")))["fields"].toArray().size(),
                  csv.size() - 8); // a header, six device lines and the last line end
    }

    ASSERT_EQ(zalctl({"export", config, "-o", file("r.pdf")}).exitCode, 0);
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {file("r.pdf")});
    ASSERT_TRUE(info.waitForFinished(20000));
    const QString pages = QString::fromUtf8(info.readAllStandardOutput())
                              .section(QStringLiteral("Pages:"), 1)
                              .trimmed()
                              .section(u'\n', 0, 0);
    EXPECT_GE(pages.toInt(), 2) << pages.toStdString();
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {file("r.pdf"), QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(20000));
    EXPECT_EQ(text.exitCode(), 0);
    const QString words =
        QString::fromUtf8(text.readAllStandardOutput()).replace(QChar(0xFB01), QStringLiteral("fi"));
    for (const char* expected : {"Konfigurationsbericht", "MUVE+ II", "Seriennummer", "Funkeingänge"})
        EXPECT_TRUE(words.contains(QString::fromUtf8(expected))) << expected;
    EXPECT_EQ(zalctl({"export", config, "--format", "doc", "-o", file("r.doc")}).exitCode, 2);
}

} // namespace

namespace {

// -o never replaces what it names when that is no regular file: a FIFO with a reader and a character
// device are written through, a FIFO nobody reads and a socket are refused, and each stays what it was;
// "-" is standard output; a name as long as the file system takes gets its temporary name.
TEST_F(Zalctl, AnOutputIsNeverReplacedByAFile) {
    ASSERT_EQ(zalctl({"new", "ZAL", "-o", file("a.Zal")}).exitCode, 0);
    const QByteArray fifo = QFile::encodeName(file("fifo")), lonely = QFile::encodeName(file("lonely"));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    ASSERT_EQ(::mkfifo(lonely.constData(), 0600), 0);
    QByteArray read;
    std::thread reader([&] {
        QFile f(QString::fromLocal8Bit(fifo));
        if (f.open(QIODevice::ReadOnly))
            read = f.readAll();
    });
    const Result throughFifo = zalctl({"export", file("a.Zal"), "-o", file("fifo"), "--format", "json"});
    reader.join();
    EXPECT_EQ(throughFifo.exitCode, 0) << throughFifo.err.toStdString();
    EXPECT_TRUE(QJsonDocument::fromJson(read).isObject());
    const Result nobody = zalctl({"export", file("a.Zal"), "-o", file("lonely"), "--format", "json"});
    EXPECT_EQ(nobody.exitCode, 1);
    const QByteArray sock = QFile::encodeName(file("sock"));
    const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, sock.constData(), sizeof(address.sun_path) - 1);
    const bool bound = ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    if (bound) {
        EXPECT_EQ(zalctl({"support-bundle", "-o", file("sock")}).exitCode, 1);
    }
    ::close(s);
    // A device node made here (as root): /dev/null's kind, written through and left a device.
    const QByteArray node = QFile::encodeName(file("null"));
    const bool made = ::geteuid() == 0 && ::mknod(node.constData(), S_IFCHR | 0600, makedev(1, 3)) == 0;
    if (made) {
        EXPECT_EQ(zalctl({"export", file("a.Zal"), "-o", file("null"), "--format", "csv"}).exitCode, 0);
    }
    for (const auto& [path, isKind] : std::initializer_list<std::pair<QByteArray, bool (*)(mode_t)>>{
             {fifo, [](mode_t m) { return S_ISFIFO(m); }},
             {lonely, [](mode_t m) { return S_ISFIFO(m); }},
             {sock, [](mode_t m) { return S_ISSOCK(m); }},
             {node, [](mode_t m) { return S_ISCHR(m); }}}) {
        struct stat st {};
        if (::lstat(path.constData(), &st) == 0) {
            EXPECT_TRUE(isKind(st.st_mode)) << path.constData();
        }
    }
    // "-" is standard output: the document itself, and no file named "-".
    const Result dash = zalctl({"export", file("a.Zal"), "-o", "-", "--format", "json"});
    EXPECT_EQ(dash.exitCode, 0);
    EXPECT_TRUE(QJsonDocument::fromJson(dash.out.toUtf8()).isObject());
    EXPECT_FALSE(QFile::exists(file("-")));
    const QString longName =
        QFileInfo(file("a.Zal")).path() + u'/' + QString(250, u'x') + QStringLiteral(".json");
    const Result named = zalctl({"export", file("a.Zal"), "-o", longName});
    EXPECT_EQ(named.exitCode, 0) << named.err.toStdString();
    EXPECT_TRUE(QFile::exists(longName));
}

// A configuration's name is written as given (its product's extension in any case), given the product's
// extension when it has none (and said), or refused with the reason; "-" is standard output.
TEST_F(Zalctl, AConfigurationIsSavedUnderTheNameGiven) {
    const struct {
        QStringList arguments;
        int exitCode;
        const char* written; // nullptr: nothing
        const char* said;
    } names[] = {
        {{"new", "ZAL", "-o", "out.bin"}, 2, nullptr, "(.Bora, .Zal, .Muve, .Dorf, .Muveplus, .Muveplus2"},
        {{"new", "MUVE+", "-o", "X.MuvePlus"}, 0, "X.MuvePlus", ""},
        {{"new", "ZAL", "-o", "X.Bora"}, 1, nullptr, "a ZAL configuration ends in .Zal"},
        {{"new", "ZAL", "-o", "plain"}, 0, "plain.Zal", "saved as "},
        {{"new", "ZAL", "-o", "-", "--json"}, 2, nullptr, "-o - "},
    };
    for (const auto& n : names) {
        QStringList arguments = n.arguments;
        if (arguments[3] != QLatin1String("-"))
            arguments[3] = home.file(arguments[3]);
        const Result run = zalctl(arguments, QStringLiteral("en_GB.UTF-8"));
        EXPECT_EQ(run.exitCode, n.exitCode) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains(QLatin1String(n.said))) << run.err.toStdString();
        const QStringList files = QDir(home.path()).entryList(QDir::Files);
        EXPECT_EQ(files, n.written ? QStringList{QLatin1String(n.written)} : QStringList())
            << arguments.join(u' ').toStdString();
        for (const QString& f : files)
            QFile::remove(home.file(f));
    }
    ASSERT_EQ(zalctl({"new", "ZAL", "-o", file("a.Zal")}).exitCode, 0);
    ASSERT_EQ(zalctl({"set", file("a.Zal"), "edtNoShortTransm=7", "-o", file("b.Zal")}).exitCode, 0);
    const Result piped =
        zalctl({QStringLiteral("-c"), QStringLiteral("'%1/zalctl' set '%2' edtNoShortTransm=7 -o - > '%3'")
                                          .arg(QStringLiteral(ZAL_BIN_DIR), file("a.Zal"), file("c"))},
               QStringLiteral("C.UTF-8"), QStringLiteral("/bin/sh"));
    EXPECT_EQ(piped.exitCode, 0) << piped.err.toStdString();
    EXPECT_EQ(ReadTestFile(file("c")), ReadTestFile(file("b.Zal")));
    EXPECT_FALSE(QFile::exists(file("-")));
}

} // namespace
