#include "SupportBundle.h"

#include <QDateTime>
#include <QFile>
#include <QSaveFile>

#include <archive.h>
#include <archive_entry.h>

#include <memory>

namespace zal {
namespace {

struct ArchiveCloser {
    void operator()(archive* a) const { archive_write_free(a); }
};
struct ReaderCloser {
    void operator()(archive* a) const { archive_read_free(a); }
};

la_ssize_t WriteToSaveFile(archive*, void* file, const void* data, size_t size) {
    auto* out = static_cast<QSaveFile*>(file);
    return out->write(static_cast<const char*>(data), static_cast<qint64>(size));
}

} // namespace

QString WriteZipArchive(const QString& path, const std::vector<BundleEntry>& entries) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    std::unique_ptr<archive, ArchiveCloser> zip(archive_write_new());
    archive_write_set_format_zip(zip.get());
    if (archive_write_open(zip.get(), &file, nullptr, WriteToSaveFile, nullptr) != ARCHIVE_OK)
        return QString::fromUtf8(archive_error_string(zip.get()));
    const time_t now = QDateTime::currentSecsSinceEpoch();
    for (const auto& [name, content] : entries) {
        std::unique_ptr<archive_entry, decltype(&archive_entry_free)> entry(archive_entry_new(),
                                                                            archive_entry_free);
        archive_entry_set_pathname_utf8(entry.get(), name.toUtf8().constData());
        archive_entry_set_filetype(entry.get(), AE_IFREG);
        archive_entry_set_perm(entry.get(), 0644);
        archive_entry_set_size(entry.get(), content.size());
        archive_entry_set_mtime(entry.get(), now, 0);
        if (archive_write_header(zip.get(), entry.get()) != ARCHIVE_OK ||
            archive_write_data(zip.get(), content.constData(), static_cast<size_t>(content.size())) !=
                content.size())
            return QString::fromUtf8(archive_error_string(zip.get()));
    }
    if (archive_write_close(zip.get()) != ARCHIVE_OK)
        return QString::fromUtf8(archive_error_string(zip.get()));
    zip.reset();
    if (!file.commit())
        return file.errorString();
    return QString();
}

std::vector<BundleEntry> ReadZipArchive(const QString& path) {
    std::vector<BundleEntry> entries;
    std::unique_ptr<archive, ReaderCloser> zip(archive_read_new());
    archive_read_support_format_zip(zip.get());
    if (archive_read_open_filename(zip.get(), QFile::encodeName(path).constData(), 16384) != ARCHIVE_OK)
        return entries;
    archive_entry* entry = nullptr;
    while (archive_read_next_header(zip.get(), &entry) == ARCHIVE_OK) {
        QByteArray content;
        char buffer[8192];
        la_ssize_t n = 0;
        while ((n = archive_read_data(zip.get(), buffer, sizeof buffer)) > 0)
            content.append(buffer, n);
        entries.emplace_back(QString::fromUtf8(archive_entry_pathname_utf8(entry)), content);
    }
    return entries;
}

QString ArchiveLibraryVersion() {
    return QString::fromLatin1(archive_version_details());
}

} // namespace zal
