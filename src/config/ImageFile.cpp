#include "ImageFile.h"

#include "shell/FileSystem.h"

#include <QFile>
#include <QFileInfo>

namespace zal {

bool LoadImageFile(const QString& path, ConfigImage& image) {
    QFile file;
    if (!IsRegularFile(path) || !OpenForReading(file, path))
        return false;
    image.fill(0);
    const qint64 read = file.read(reinterpret_cast<char*>(image.data()), kImageSize);
    return read == kImageSize;
}

bool SaveImageFile(const QString& path, const ConfigImage& image) {
    // A save of this file that was killed half way may have left its temporary beside it.
    RemoveLeftoverTemporaries(path);
    return WriteFileAtomically(
        path, QByteArray(reinterpret_cast<const char*>(image.data()), static_cast<qsizetype>(image.size())));
}

} // namespace zal
