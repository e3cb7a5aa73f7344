#include "ServerUrl.h"

#include <QRegularExpression>
#include <QUrl>

namespace zal::records_url {
namespace {

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

QStringList ServerUrl::options() const {
    QStringList options;
    if (!ports.isEmpty())
        options << QStringLiteral("port=") + ports.join(u',');
    // Qt's driver joins the options with spaces unquoted: a value that could end one option and start
    // another is not passed on.
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_./:+-]+$"));
    for (const char* key :
         {"target_session_attrs", "sslmode", "sslrootcert", "sslcert", "sslkey", "application_name",
          "keepalives", "keepalives_idle", "keepalives_interval", "keepalives_count", "tcp_user_timeout"}) {
        const QString value = item(QLatin1String(key));
        if (plain.match(value).hasMatch())
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
    const qsizetype start = AuthorityStart(url);
    if (start < 0)
        return parsed;
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
            port = entry.mid(bracket + 1).section(u':', 1);
        } else if (colon >= 0) {
            host = entry.left(colon);
            port = entry.mid(colon + 1);
        }
        bool number = false;
        if (!port.isEmpty() && (port.toInt(&number), !number))
            return parsed;
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
    parsed.valid = true;
    return parsed;
}

QString WithoutPassword(const QString& url) {
    const qsizetype start = AuthorityStart(url);
    const qsizetype at = url.indexOf(u'@', start);
    const qsizetype end = url.indexOf(u'/', start);
    if (start < 0 || at < 0 || (end >= 0 && at > end))
        return url;
    const qsizetype colon = url.indexOf(u':', start);
    if (colon < 0 || colon > at)
        return url;
    return url.left(colon) + url.mid(at);
}

} // namespace zal::records_url
