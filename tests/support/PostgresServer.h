#pragma once

// A real PostgreSQL server for a test: initdb into a temporary folder, the server on a Unix socket in
// that folder (no TCP), run as an unprivileged user because PostgreSQL refuses root, stopped at the end.

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace zal::test {

class PostgresServer {
public:
    PostgresServer(); // made and started; a failure is a test failure
    // A synchronous standby of primary, streaming from it: the primary's commits wait for it.
    explicit PostgresServer(PostgresServer& primary);
    ~PostgresServer();
    PostgresServer(const PostgresServer&) = delete;
    PostgresServer& operator=(const PostgresServer&) = delete;

    // Whether Debian's postgresql package is there (./test installs it); the tests skip without it.
    bool installed() const { return !bin_.isEmpty(); }
    bool running() const { return started_; }
    // The database as the program names it: postgresql://zal@/postgres?host=FOLDER.
    QString location() const;
    bool start();
    bool stop();
    // The whole server frozen (SIGSTOP to the postmaster and every backend) or thawed: a server that
    // accepts connections and never answers.
    bool freeze(bool frozen);
    // Stopped the way a crash stops it: no checkpoint, no goodbye to its clients.
    bool kill();
    // A standby made the primary.
    bool promote();
    // The folder of its Unix socket: the host the program names.
    QString folder() const { return folder_.path(); }
    // One statement run by psql; its output.
    QString sql(const QString& statement);

private:
    QString data() const;
    bool run(QStringList command, QString* output = nullptr);

    QString bin_;
    QStringList as_;
    QTemporaryDir folder_;
    bool started_ = false;
};

} // namespace zal::test
