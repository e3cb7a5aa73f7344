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

private:
    QString data() const;
    bool run(QStringList command);

    QString bin_;
    QStringList as_;
    QTemporaryDir folder_;
    bool started_ = false;
};

} // namespace zal::test
