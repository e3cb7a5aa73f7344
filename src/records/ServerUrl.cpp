#include "ServerUrl.h"

#include "shell/Settings.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <QUrl>
#include <algorithm>
#include <iterator>

namespace zal::records_url {
namespace {

QString NoPassword(const QString& shown) {
    return QCoreApplication::translate(
               "Records", "%1 enthält ein Passwort; es gehört in ~/.pgpass (Modus 0600) oder die "
                          "Datei, die PGPASSFILE nennt, nie in die URL")
        .arg(shown);
}

QString Decoded(const QString& text) {
    return QUrl::fromPercentEncoding(text.toUtf8());
}

// Where the URL goes on after its scheme ("postgresql://"); -1 without one.
qsizetype AuthorityStart(const QString& url) {
    const qsizetype scheme = url.indexOf(QLatin1String("://"));
    return scheme < 0 ? -1 : scheme + 3;
}

} // namespace

QString ServerUrl::item(const QString& key) const {
    for (const QString& i : query) {
        if (i.section(u'=', 0, 0) == key)
            return i.section(u'=', 1);
    }
    return QString();
}

namespace {

// The libpq options passed on as they stand.
constexpr const char* kPassedOn[] = {"target_session_attrs",
                                     "sslmode",
                                     "sslrootcert",
                                     "sslcert",
                                     "sslkey",
                                     "application_name",
                                     "keepalives",
                                     "keepalives_idle",
                                     "keepalives_interval",
                                     "keepalives_count",
                                     "tcp_user_timeout"};
// The waits this program sets itself.
constexpr const char* kWaits[] = {"connect_timeout", "statement_timeout", "lock_timeout", "replication_wait"};

// Qt's driver joins the options with spaces unquoted: only a value that cannot end one option and
// start another is passed on.
const QRegularExpression& PlainValue() {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_./:+-]+$"));
    return plain;
}

} // namespace

const QStringList& KnownOptions() {
    static const QStringList known = [] {
        QStringList names{QStringLiteral("host"), QStringLiteral("port")};
        for (const char* name : kWaits)
            names << QLatin1String(name);
        for (const char* name : kPassedOn)
            names << QLatin1String(name);
        return names;
    }();
    return known;
}

QStringList ServerUrl::options() const {
    QStringList options;
    if (!ports.isEmpty())
        options << QStringLiteral("port=") + ports.join(u',');
    for (const char* key : kPassedOn) {
        const QString value = item(QLatin1String(key));
        if (PlainValue().match(value).hasMatch())
            options << QLatin1String(key) + u'=' + value;
    }
    // With a standby named beside the primary, a station writes only where writing is possible: a
    // standby answers reads but would refuse every code reservation.
    if (hosts.size() > 1 && item(QStringLiteral("target_session_attrs")).isEmpty())
        options << QStringLiteral("target_session_attrs=read-write");
    return options;
}

ServerUrl ParseServerUrl(const QString& url) {
    ServerUrl parsed;
    const QString shown = WithoutPassword(url);
    const auto invalid = [&](const QString& why) {
        parsed.valid = false;
        parsed.problem = why;
        return parsed;
    };
    const qsizetype start = AuthorityStart(url);
    if (start < 0)
        return invalid(QCoreApplication::translate("Records", "%1 ist keine URL").arg(shown));
    QString rest = url.mid(start);
    if (const qsizetype q = rest.indexOf(u'?'); q >= 0) {
        for (const QString& i : rest.mid(q + 1).split(u'&', Qt::SkipEmptyParts))
            parsed.query << Decoded(i.section(u'=', 0, 0)) + u'=' + Decoded(i.section(u'=', 1));
        rest.truncate(q);
    }
    QString authority = rest.section(u'/', 0, 0);
    parsed.database = Decoded(rest.section(u'/', 1));
    if (const qsizetype at = authority.lastIndexOf(u'@'); at >= 0) {
        parsed.user = Decoded(authority.left(at).section(u':', 0, 0));
        if (authority.left(at).contains(u':'))
            return invalid(NoPassword(shown));
        authority = authority.mid(at + 1);
    }
    bool anyPort = false;
    for (const QString& entry : authority.split(u',', Qt::SkipEmptyParts)) {
        // [::1]:5432, db1:5433, db1
        QString host = entry, port;
        const qsizetype bracket = entry.indexOf(u']');
        const qsizetype colon = entry.lastIndexOf(u':');
        if (entry.startsWith(u'[') && bracket > 0) {
            host = entry.mid(1, bracket - 1);
            if (bracket + 1 < entry.size() && entry[bracket + 1] != u':')
                return invalid(QCoreApplication::translate("Records", "in %1 folgt auf \"]\" kein \":PORT\"")
                                   .arg(shown));
            port = entry.mid(bracket + 1).section(u':', 1);
        } else if (entry.startsWith(u'[') || entry.contains(u']')) {
            return invalid(
                QCoreApplication::translate("Records", "in %1 ist eine eckige Klammer nicht geschlossen")
                    .arg(shown));
        } else if (colon >= 0) {
            host = entry.left(colon);
            port = entry.mid(colon + 1);
        }
        bool number = false;
        if (!port.isEmpty() && (port.toInt(&number), !number))
            return invalid(QCoreApplication::translate("Records", "in %1 ist der Port \"%2\" keine Zahl")
                               .arg(shown, port));
        anyPort = anyPort || !port.isEmpty();
        parsed.hosts << Decoded(host);
        parsed.ports << port;
    }
    // libpq's own form for socket folders and lists: ?host=/run/a,/run/b
    if (parsed.hosts.isEmpty()) {
        parsed.hosts = parsed.item(QStringLiteral("host")).split(u',', Qt::SkipEmptyParts);
        parsed.ports = parsed.item(QStringLiteral("port")).split(u',', Qt::SkipEmptyParts);
        anyPort = !parsed.ports.isEmpty();
    }
    if (!anyPort)
        parsed.ports.clear();
    // Every option of the query is one this program uses: a typo (sslmod=require) would otherwise
    // connect without what it asked for.
    for (const QString& i : parsed.query) {
        const QString key = i.section(u'=', 0, 0), value = i.section(u'=', 1);
        if (key == QLatin1String("password"))
            return invalid(NoPassword(shown));
        if (!KnownOptions().contains(key))
            return invalid(QCoreApplication::translate("Records", "%1 nennt die unbekannte Option \"%2\"; "
                                                                  "bekannt sind %3")
                               .arg(shown, key, KnownOptions().join(QStringLiteral(", "))));
        if (std::find_if(std::begin(kWaits), std::end(kWaits),
                         [&](const char* w) { return key == QLatin1String(w); }) != std::end(kWaits)) {
            if (!zal::DurationMs(value))
                return invalid(QCoreApplication::translate(
                                   "Records",
                                   "%1: %2=%3 ist keine Dauer (eine ganze Zahl in ms, oder mit ms, s "
                                   "oder min: 500ms, 2s, 1min)")
                                   .arg(shown, key, value));
        } else if (key != QLatin1String("host") && key != QLatin1String("port") &&
                   !PlainValue().match(value).hasMatch()) {
            return invalid(
                QCoreApplication::translate("Records", "%1: der Wert von %2 kann nicht weitergegeben werden")
                    .arg(shown, key));
        }
    }
    parsed.valid = true;
    return parsed;
}

QString WithoutPassword(const QString& url) {
    QString shown = url;
    // ?password=... or &password=...: its value goes, wherever it stands.
    static const QRegularExpression inQuery(QStringLiteral("([?&]password=)[^&]*"));
    shown.replace(inQuery, QStringLiteral("\\1***"));
    const qsizetype start = AuthorityStart(shown);
    const qsizetype at = shown.indexOf(u'@', start);
    qsizetype end = shown.indexOf(u'/', start);
    if (const qsizetype query = shown.indexOf(u'?', start); query >= 0 && (end < 0 || query < end))
        end = query;
    if (start < 0 || at < 0 || (end >= 0 && at > end))
        return shown;
    const qsizetype colon = shown.indexOf(u':', start);
    if (colon < 0 || colon > at)
        return shown;
    return shown.left(colon) + shown.mid(at);
}

} // namespace zal::records_url
