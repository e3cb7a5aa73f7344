#include "SupportBundle.h"

#include "shell/FileSystem.h"

#include <QDateTime>
#include <QFile>

#include <archive.h>
#include <archive_entry.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace zal {
namespace {

struct ArchiveCloser {
    void operator()(archive* a) const { archive_write_free(a); }
};
struct ReaderCloser {
    void operator()(archive* a) const { archive_read_free(a); }
};

la_ssize_t AppendToBytes(archive*, void* bytes, const void* data, size_t size) {
    static_cast<QByteArray*>(bytes)->append(static_cast<const char*>(data), static_cast<qsizetype>(size));
    return static_cast<la_ssize_t>(size);
}

} // namespace

Result<> WriteZipArchive(const QString& path, const std::vector<BundleEntry>& entries) {
    const auto failed = [](archive* zip) {
        return Failure{Problem::Other, QString::fromUtf8(archive_error_string(zip))};
    };
    // The archive is made in memory and saved whole, as every other file: a full disk or a folder in
    // the way fails plainly, and an earlier bundle stays as it was.
    QByteArray bytes;
    std::unique_ptr<archive, ArchiveCloser> zip(archive_write_new());
    archive_write_set_format_zip(zip.get());
    if (archive_write_open(zip.get(), &bytes, nullptr, AppendToBytes, nullptr) != ARCHIVE_OK)
        return failed(zip.get());
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
            return failed(zip.get());
    }
    if (archive_write_close(zip.get()) != ARCHIVE_OK)
        return failed(zip.get());
    zip.reset();
    return WriteFileAtomically(path, bytes);
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
