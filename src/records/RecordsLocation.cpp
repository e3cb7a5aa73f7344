// Where the records are (a file in the data folder, an absolute path or a server's URL), how they are
// shown, and who and where writes them.

#include "RecordsConnection.h"
#include "RecordsDatabase.h"
#include "RecordsSql.h"
#include "ServerUrl.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <QSysInfo>
#include <QUrl>
#include <QUrlQuery>

#include <vector>

#include <pwd.h>
#include <unistd.h>

namespace zal {
using namespace records_sql;

namespace {

// "garbage::%%%", "mysql://...": a scheme this program does not know, which must not become a file.
bool HasScheme(const QString& location) {
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    return scheme.match(location).hasMatch();
}

} // namespace

QString RecordsDatabase::Location(const QString& dataFolder, const Settings& settings) {
    QString location = settings.value(setting::kRecordsDatabase);
    if (location.isEmpty())
        return dataFolder + QStringLiteral("records.sqlite");
    // A relative name in the file is read against the data folder; one from the environment is taken
    // as it stands, and refused when opened rather than read against a folder the caller did not name.
    if (!Settings::FromEnvironment(setting::kRecordsDatabase) && !IsServerLocation(location) &&
        !HasScheme(location) && !QDir::isAbsolutePath(location))
        return QDir::cleanPath(QDir(dataFolder).filePath(location));
    if (!IsServerLocation(location))
        return location;
    // The waits the settings name go into the URL, unless it names them itself. Appended as text: a
    // URL naming several hosts is no URL Qt parses.
    const QUrlQuery query(location.section(u'?', 1));
    for (const auto& [wait, item] : {std::pair{setting::kRecordsConnectTimeout, "connect_timeout"},
                                     std::pair{setting::kRecordsStatementTimeout, "statement_timeout"},
                                     std::pair{setting::kRecordsLockTimeout, "lock_timeout"},
                                     std::pair{setting::kRecordsReplicationWait, "replication_wait"}}) {
        // A wait that is no duration is said with the settings' problems and leaves the default.
        const QString value = settings.wait(wait);
        if (!value.isEmpty() && !query.hasQueryItem(QLatin1String(item)))
            location += (location.contains(u'?') ? u'&' : u'?') + QLatin1String(item) + u'=' +
                        QString::fromLatin1(QUrl::toPercentEncoding(value));
    }
    return location;
}

bool RecordsDatabase::IsValidLocation(const QString& location) {
    return LocationProblem(location).isEmpty();
}

QString RecordsDatabase::LocationProblem(const QString& location) {
    if (IsServerLocation(location))
        return records_url::ParseServerUrl(location).problem;
    if (!HasScheme(location) && QDir::isAbsolutePath(location))
        return QString();
    // A relative name would follow the current folder: two job folders, two databases, one code twice.
    return QCoreApplication::translate(
               "Records",
               "Die Aufzeichnungen müssen ein absoluter Pfad oder eine postgresql://-URL sein, nicht \"%1\"")
        .arg(records_url::WithoutPassword(location));
}

QString RecordsDatabase::ShownLocation(const QString& location) {
    return records_url::WithoutPassword(location);
}

QString RecordsDatabase::Station(const Settings& settings) {
    const QString station = settings.value(setting::kRecordsStation);
    return station.isEmpty() ? QSysInfo::machineHostName() : station;
}

QString RecordsDatabase::User() {
    // The line's units ask from their threads: getpwuid_r, with a buffer of their own, never shares
    // the static record getpwuid fills.
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return QString::fromLocal8Bit(found->pw_name);
    return qEnvironmentVariable("USER");
}

} // namespace zal
