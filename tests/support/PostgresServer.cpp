#include "PostgresServer.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>

#include <sys/stat.h>
#include <unistd.h>

namespace zal::test {

namespace {

QString FindBin() {
    QString bin;
    for (const QString& v :
         QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (QFile::exists(QStringLiteral("/usr/lib/postgresql/%1/bin/initdb").arg(v)))
            bin = QStringLiteral("/usr/lib/postgresql/%1/bin/").arg(v);
    }
    return bin;
}

} // namespace

PostgresServer::PostgresServer() : bin_(FindBin()) {
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

PostgresServer::PostgresServer(PostgresServer& primary) : bin_(primary.bin_), as_(primary.as_) {
    if (bin_.isEmpty() || !primary.running())
        return;
    if (::geteuid() == 0) {
        EXPECT_EQ(::chmod(QFile::encodeName(folder_.path()).constData(), 0777), 0);
    }
    // A copy of the primary that follows it (-R writes where it streams from), then the primary told
    // to wait for it at every commit.
    if (!run({bin_ + QStringLiteral("pg_basebackup"), QStringLiteral("-h"), primary.folder(),
              QStringLiteral("-U"), QStringLiteral("zal"), QStringLiteral("-D"), data(), QStringLiteral("-R"),
              QStringLiteral("-X"), QStringLiteral("stream"), QStringLiteral("--no-sync")}) ||
        !start())
        return;
    primary.sql(QStringLiteral("ALTER SYSTEM SET synchronous_standby_names = '*'"));
    primary.sql(QStringLiteral("SELECT pg_reload_conf()"));
    for (int i = 0; i < 200; ++i) {
        if (primary.sql(QStringLiteral(
                "SELECT count(*) FROM pg_stat_replication WHERE sync_state = 'sync'")) == QLatin1String("1"))
            return;
        ::usleep(100000);
    }
    ADD_FAILURE() << "the standby never became synchronous";
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

bool PostgresServer::kill() {
    started_ =
        started_ && !run({bin_ + QStringLiteral("pg_ctl"), QStringLiteral("-D"), data(), QStringLiteral("-m"),
                          QStringLiteral("immediate"), QStringLiteral("-w"), QStringLiteral("stop")});
    return !started_;
}

bool PostgresServer::promote() {
    return run({bin_ + QStringLiteral("pg_ctl"), QStringLiteral("-D"), data(), QStringLiteral("-w"),
                QStringLiteral("promote")});
}

QString PostgresServer::sql(const QString& statement) {
    QString output;
    run({bin_ + QStringLiteral("psql"), QStringLiteral("-h"), folder(), QStringLiteral("-U"),
         QStringLiteral("zal"), QStringLiteral("-d"), QStringLiteral("postgres"), QStringLiteral("-AtX"),
         QStringLiteral("-c"), statement},
        &output);
    return output.trimmed();
}

QString PostgresServer::data() const {
    return folder_.filePath(QStringLiteral("data"));
}

bool PostgresServer::run(QStringList command, QString* output) {
    command = as_ + command;
    QProcess p;
    p.setProcessChannelMode(output ? QProcess::SeparateChannels : QProcess::MergedChannels);
    // The tools look for their user's home folder, which nobody's is not: they start in the server's.
    p.setWorkingDirectory(folder_.path());
    p.start(command.takeFirst(), command);
    const bool ok = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (output)
        *output = QString::fromUtf8(p.readAllStandardOutput());
    if (!ok)
        ADD_FAILURE() << command.join(u' ').toStdString() << ":\n"
                      << p.readAll().constData() << p.readAllStandardError().constData();
    return ok;
}

} // namespace zal::test
