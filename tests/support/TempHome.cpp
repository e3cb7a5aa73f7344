#include "TempHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zal::test {

TempHome::TempHome()
    : oldHome_(qgetenv("HOME")), oldData_(qgetenv("XDG_DATA_HOME")), oldConfig_(qgetenv("XDG_CONFIG_HOME")) {
    qputenv("HOME", QFile::encodeName(dir_.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir_.filePath(QStringLiteral(".local/share"))));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_.filePath(QStringLiteral(".config"))));
}

TempHome::~TempHome() {
    qputenv("HOME", oldHome_);
    qputenv("XDG_DATA_HOME", oldData_);
    qputenv("XDG_CONFIG_HOME", oldConfig_);
}

QString WriteTestFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
    return path;
}

QByteArray ReadTestFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace zal::test
