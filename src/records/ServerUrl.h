#pragma once

// A PostgreSQL server's URL, read the way libpq reads it, so that a floor whose server has a standby
// names both: postgresql://zal@db1,db2:5433/zal, or postgresql://zal@/zal?host=/run/a,/run/b for Unix
// socket folders. Qt's URL class takes no host list, and Qt's driver takes one port; this reads them.

#include <QString>
#include <QStringList>

namespace zal::records_url {

struct ServerUrl {
    bool valid = false;
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

ServerUrl ParseServerUrl(const QString& url);

// The URL as messages show it: without a password, whatever else it holds.
QString WithoutPassword(const QString& url);

} // namespace zal::records_url
