#include "SupportLog.h"

#include "shell/FileSystem.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <mutex>

namespace zal {

QString SupportLogPath(const QString& dataFolder) {
    return WithTrailingSeparator(dataFolder) + QStringLiteral("Support.log");
}

SupportLog::SupportLog(QString path, qint64 maxBytes, int maxFiles)
    : path_(std::move(path)), maxBytes_(maxBytes), maxFiles_(std::max(1, maxFiles)) {}

QStringList SupportLog::Files() const {
    QStringList files;
    for (int i = 0; i < maxFiles_; ++i) {
        const QString name = i == 0 ? path_ : path_ + u'.' + QString::number(i);
        if (QFileInfo::exists(name))
            files << name;
    }
    return files;
}

void SupportLog::Rotate() {
    QFile::remove(path_ + u'.' + QString::number(maxFiles_ - 1));
    for (int i = maxFiles_ - 2; i >= 0; --i) {
        const QString from = i == 0 ? path_ : path_ + u'.' + QString::number(i);
        QFile::rename(from, path_ + u'.' + QString::number(i + 1));
    }
}

Result<> SupportLog::Append(const QStringList& lines) {
    // The units of a production line write from threads of their own; a rotation must not meet a write.
    static std::mutex lock;
    const std::lock_guard guard(lock);
    QByteArray text;
    for (const QString& line : lines)
        text += line.toUtf8() + '\n';
    // A single entry larger than a whole file is cut, so that the limit holds.
    if (text.size() > maxBytes_)
        text = text.left(maxBytes_ - 1) + '\n';
    if (QFileInfo(path_).size() + text.size() > maxBytes_)
        Rotate();
    QFile file(path_);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append) && file.write(text) == text.size() &&
        file.flush())
        return {};
    const int cause = errno;
    return Failure{FileProblem(cause), path_ + QStringLiteral(": ") + file.errorString()};
}

} // namespace zal
