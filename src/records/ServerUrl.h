#pragma once

// A PostgreSQL server's URL, read the way libpq reads it, so that a floor whose server has a standby
// names both: postgresql://zal@db1,db2:5433/zal, or postgresql://zal@/zal?host=/run/a,/run/b for Unix
// socket folders. Qt's URL class takes no host list, and Qt's driver takes one port; this reads them.

#include <QString>
#include <QStringList>

#include <optional>

namespace zal::records_url {

struct ServerUrl {
    bool valid = false;
    QString problem; // why it is not valid, for the technician (without any password)
    QString user;
    QString database;
    QStringList hosts; // names, addresses or socket folders; libpq tries them in this order
    QStringList ports; // one per host, empty where the URL names none; or empty
    QStringList query; // the query's items, key=value, decoded
    QString item(const QString& key) const;
    // The connection options Qt's driver passes on to libpq besides host, user and database: the
    // ports, and the query's items libpq knows and this program does not set itself.
    QStringList options() const;
};

// Reads the URL; it is not valid (problem says why) when a port is no number, a bracket is not closed,
// it holds a password (which belongs in ~/.pgpass or PGPASSFILE), or its query names an option this
// program does not know, a wait that is no duration (a whole number of ms, or with ms, s or min), or a
// value that cannot be passed on.
ServerUrl ParseServerUrl(const QString& url);
// The query's options this program takes: its own waits, libpq's host and port lists, and the
// libpq options passed on.
const QStringList& KnownOptions();

// The URL as messages show it: without a password (in its user part or its query), whatever else it
// holds.
QString WithoutPassword(const QString& url);

} // namespace zal::records_url
