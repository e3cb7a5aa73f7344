#pragma once

#include <QByteArray>
#include <QString>

namespace zal {

// Writes the whole content to a temporary file in the target's folder and renames it over the target,
// so that a failed or interrupted write never destroys the earlier file. A symbolic link is followed:
// its target is what gets written, and the link stays. An existing file keeps its permission bits (and
// owner, where we may set it); new files get the user's normal permissions (umask applies) and are never
// writable for others. An existing target that the user may not write is refused, as opening it for
// writing would have been. When the folder takes no new file but the file itself is writable, the file
// is overwritten in place and flushed.
// Signals that end the program (Ctrl+C, a closed terminal) wait until the temporary file is renamed or
// removed; a temporary left by a killed program is removed by the next write of the same file.
bool WriteFileAtomically(const QString& path, const QByteArray& data);

// Removes the temporary files of earlier writes of path whose program is gone; how many it removed.
int RemoveLeftoverTemporaries(const QString& path);

// A file nobody may write (no write permission bit at all), or one this user may not write. Root may
// write anything, but a file without write bits is still meant to stay as it is.
bool IsReadOnlyFile(const QString& path);

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const QString& path, QByteArray& data);

// Creates one folder (not its parents) when missing; true when it exists afterwards.
bool MakeFolder(const QString& path);

// Copies source over target through WriteFileAtomically. Nothing is reported.
bool CopyFileReplacing(const QString& source, const QString& target);

// Removes trailing path separators (a lone "/" stays).
QString WithoutTrailingSeparator(QString path);

// Appends a separator unless the path already ends with one.
QString WithTrailingSeparator(QString path);

} // namespace zal
