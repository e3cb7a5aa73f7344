#pragma once

#include "shell/Result.h"

#include <QByteArray>
#include <QString>

#include <utility>
#include <vector>

namespace zal {

// One file of a support bundle: its name inside the archive and its content.
using BundleEntry = std::pair<QString, QByteArray>;

// Writes a zip archive of the entries (through a temporary file, so a failed write leaves no half
// archive).
Result<> WriteZipArchive(const QString& path, const std::vector<BundleEntry>& entries);

// The names and contents of a zip archive, for checking what a bundle holds.
std::vector<BundleEntry> ReadZipArchive(const QString& path);

// libarchive's own version text.
QString ArchiveLibraryVersion();

} // namespace zal
