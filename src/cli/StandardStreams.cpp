#include "StandardStreams.h"

#include <QCoreApplication>
#include <QJsonValue>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace zal::cli {
namespace {

bool gClosed[3] = {false, false, false};

} // namespace

void GuardStandardDescriptors() {
    for (int fd = 0; fd < 3; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        gClosed[fd] = true;
        const int null = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (null >= 0 && null != fd) {
            ::dup2(null, fd);
            ::close(null);
        }
    }
}

StreamDevice::StreamDevice(int fd, bool keepsLines)
    : fd_(fd), closed_(fd >= 0 && fd < 3 && gClosed[fd]), keepsLines_(keepsLines) {
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

// A failed write is reported by the command at its end; the stream goes on as if written, so that the
// command runs to the end it would have had and says what it did on standard error.
qint64 StreamDevice::writeData(const char* data, qint64 size) {
    if (closed_ && size > 0 && writeError_ == 0)
        writeError_ = EBADF;
    for (qint64 done = 0; done < size && writeError_ == 0;) {
        const ssize_t n = ::write(fd_, data + done, static_cast<size_t>(size - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            writeError_ = n < 0 ? errno : EIO;
            break;
        }
        done += n;
        written_ += n;
    }
    if (!keepsLines_)
        return size;
    partial_.append(data, size);
    for (qsizetype end; (end = partial_.indexOf('\n')) >= 0;) {
        line(QString::fromUtf8(partial_.constData(), end));
        partial_.remove(0, end + 1);
    }
    return size;
}

void ErrorStreamDevice::line(const QString& text) {
    // The kinds as CliDialogs writes them (never translated): a command refused with an information or
    // a warning (another device than the file's) has that message's number.
    static const QRegularExpression numbered(QStringLiteral("^(error|warning|information) (\\d+): (.*)$"));
    static const QLatin1String own("zalctl: ");
    const std::lock_guard lock(mutex_);
    if (const QRegularExpressionMatch m = numbered.match(text); m.hasMatch()) {
        const bool error = m.captured(1) == QLatin1String("error");
        int& number = error ? number_ : otherNumber_;
        if (number == 0)
            number = m.captured(2).toInt();
        (error ? errors_ : others_) << m.captured(3);
    } else if (text.startsWith(own)) {
        errors_ << text.mid(own.size());
    }
}

QJsonObject ErrorStreamDevice::errorJson() const {
    const std::lock_guard lock(mutex_);
    if (errors_.isEmpty() && others_.isEmpty())
        return {};
    const int number = number_ ? number_ : otherNumber_;
    return QJsonObject{{QStringLiteral("number"), number ? QJsonValue(number) : QJsonValue()},
                       {QStringLiteral("text"), (errors_.isEmpty() ? others_ : errors_).join(u'\n')}};
}

} // namespace zal::cli

namespace zal::cli {

int FinishOutput(int result, QTextStream& out, QTextStream& err) {
    out.flush();
    const auto* device = dynamic_cast<const StreamDevice*>(out.device());
    if (!device || device->writeError() == 0)
        return result;
    err << "zalctl: "
        << QCoreApplication::translate("Cli", "die Ausgabe kann nicht geschrieben werden: %1")
               .arg(QString::fromLocal8Bit(std::strerror(device->writeError())))
        << Qt::endl;
    return result == 0 ? 1 : result;
}

QJsonObject ErrorJson(QTextStream& err, int exitCode) {
    err.flush();
    const auto* device = dynamic_cast<const ErrorStreamDevice*>(err.device());
    QJsonObject error = device ? device->errorJson() : QJsonObject();
    if (error.isEmpty())
        error = QJsonObject{{QStringLiteral("number"), QJsonValue()},
                            {QStringLiteral("text"),
                             exitCode == 2
                                 ? QCoreApplication::translate("Cli", "falscher Aufruf")
                                 : QCoreApplication::translate("Cli", "der Befehl ist fehlgeschlagen")}};
    return error;
}

} // namespace zal::cli
