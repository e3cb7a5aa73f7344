#pragma once

#include "shell/Result.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zal {

// A log of the device commands for the service: appended to, never read by the program, and rotated
// so that it never takes more than maxFiles x maxBytes of the disk ("Support.log", "Support.log.1", ...).
class SupportLog {
public:
    static constexpr qint64 kMaxBytes = 1024 * 1024;
    static constexpr int kMaxFiles = 3;

    explicit SupportLog(QString path, qint64 maxBytes = kMaxBytes, int maxFiles = kMaxFiles);

    const QString& path() const { return path_; }
    // Appends whole lines (a line end is added to each).
    Result<> Append(const QStringList& lines);
    // The log's files that exist, newest first.
    QStringList Files() const;

private:
    void Rotate();

    QString path_;
    qint64 maxBytes_;
    int maxFiles_;
};

// The log in a data folder.
QString SupportLogPath(const QString& dataFolder);

} // namespace zal
