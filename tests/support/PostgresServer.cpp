#include "PostgresServer.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>

#include <sys/stat.h>
#include <unistd.h>

namespace zal::test {

PostgresServer::PostgresServer() {
    for (const QString& v :
         QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (QFile::exists(QStringLiteral("/usr/lib/postgresql/%1/bin/initdb").arg(v)))
            bin_ = QStringLiteral("/usr/lib/postgresql/%1/bin/").arg(v);
    }
    if (bin_.isEmpty())
        return;
    EXPECT_TRUE(folder_.isValid());
    // As root, the server runs as nobody in a folder it may write.
    if (::geteuid() == 0) {
        EXPECT_EQ(::chmod(QFile::encodeName(folder_.path()).constData(), 0777), 0);
        as_ = {QStringLiteral("/usr/sbin/runuser"), QStringLiteral("-u"), QStringLiteral("nobody"),
               QStringLiteral("--")};
    }
    if (run({bin_ + QStringLiteral("initdb"), QStringLiteral("-D"), data(), QStringLiteral("-A"),
             QStringLiteral("trust"), QStringLiteral("-U"), QStringLiteral("zal"),
             QStringLiteral("--no-sync"), QStringLiteral("-E"), QStringLiteral("UTF8")}))
        start();
}

PostgresServer::~PostgresServer() {
    if (started_)
        run({bin_ + QStringLiteral("pg_ctl"), QStringLiteral("-D"), data(), QStringLiteral("-m"),
             QStringLiteral("immediate"), QStringLiteral("-w"), QStringLiteral("stop")});
}

QString PostgresServer::location() const {
    return QStringLiteral("postgresql://zal@/postgres?host=") + folder_.path();
}

bool PostgresServer::start() {
    started_ = run({bin_ + QStringLiteral("pg_ctl"), QStringLiteral("-D"), data(), QStringLiteral("-l"),
                    folder_.filePath(QStringLiteral("log")), QStringLiteral("-w"), QStringLiteral("-o"),
                    QStringLiteral("-k %1 -c listen_addresses= -c fsync=off").arg(folder_.path()),
                    QStringLiteral("start")});
    if (!started_) {
        QFile log(folder_.filePath(QStringLiteral("log")));
        log.open(QIODevice::ReadOnly);
        ADD_FAILURE() << log.readAll().constData();
    }
    return started_;
}

bool PostgresServer::stop() {
    const bool stopped =
        run({bin_ + QStringLiteral("pg_ctl"), QStringLiteral("-D"), data(), QStringLiteral("-m"),
             QStringLiteral("fast"), QStringLiteral("-w"), QStringLiteral("stop")});
    started_ = started_ && !stopped;
    return stopped;
}

bool PostgresServer::freeze(bool frozen) {
    QFile pidFile(data() + QStringLiteral("/postmaster.pid"));
    if (!pidFile.open(QIODevice::ReadOnly))
        return false;
    const pid_t postmaster = pidFile.readLine().trimmed().toInt();
    if (postmaster <= 0)
        return false;
    const int signal = frozen ? SIGSTOP : SIGCONT;
    // Every backend leads a session of its own: each is stopped by its own pid.
    QFile children(QStringLiteral("/proc/%1/task/%1/children").arg(postmaster));
    if (!children.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& child : children.readAll().split(' '))
        if (child.trimmed().toInt() > 0)
            ::kill(child.trimmed().toInt(), signal);
    return ::kill(postmaster, signal) == 0;
}

QString PostgresServer::data() const {
    return folder_.filePath(QStringLiteral("data"));
}

bool PostgresServer::run(QStringList command) {
    command = as_ + command;
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(command.takeFirst(), command);
    const bool ok = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (!ok)
        ADD_FAILURE() << command.join(u' ').toStdString() << ":\n" << p.readAll().constData();
    return ok;
}

} // namespace zal::test
