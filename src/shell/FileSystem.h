#pragma once

#include "Result.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

namespace zal {

// File names on Linux are bytes. Qt 6 reads them as UTF-8 and makes a byte that is no part of UTF-8
// into U+FFFD, so a name such as "\xE4rger.Zal" (Latin-1) could neither be opened nor saved under its
// own name. Such a byte is carried as the lone surrogate U+DC80+byte, which no UTF-8 name can give, and
// becomes the byte again where the name reaches the system. The program's own file functions below take
// names in this form; everything that is valid UTF-8 reads as it always did.
QString NameFromNative(const QByteArray& native);
QByteArray NativeName(const QString& name);
// A program's arguments (argv[1] on) in that form: a file name that is not UTF-8 reaches its file.
QStringList ArgumentsFromNative(int argc, char* argv[]);
// Whether something exists under the name (a dangling link counts), and whether it is a regular file
// (after links).
bool PathExists(const QString& path);
bool IsRegularFile(const QString& path);
// Whether two names reach the same file.
bool SameFile(const QString& a, const QString& b);

// Writes the whole content to a temporary file in the target's folder and renames it over the target,
// so that a failed or interrupted write never destroys the earlier file. A symbolic link is followed:
// its target is what gets written, and the link stays. An existing file keeps its permission bits (and
// owner, where we may set it); new files get the user's normal permissions (umask applies) and are never
// writable for others. An existing target that the user may not write is refused, as opening it for
// writing would have been. When the folder takes no new file but the file itself is writable, the file
// is overwritten in place and flushed.
// Signals that end the program (Ctrl+C, a closed terminal) wait until the temporary file is renamed or
// removed. A failure says why (and leaves errno set to its cause).
Result<> WriteFileAtomically(const QString& path, const QByteArray& data);
// What kind of failure an errno of a file call is: Full (no space, over quota), ReadOnly (no
// permission, a read-only file system), Unreachable otherwise.
Problem FileProblem(int cause);

// An existing target that is no regular file (a FIFO, a terminal, /dev/stdout and anything else under
// /dev or /proc): WriteFileAtomically writes it where it is, and there is nothing there to replace, ask
// about or read back.
bool IsWrittenThrough(const QString& path);

// Removes the temporary files of earlier writes of path whose program is gone; how many it removed. A
// configuration's save and open call it; it reads the whole folder, so the backups' writes do not.
int RemoveLeftoverTemporaries(const QString& path);

// A file nobody may write (no write permission bit at all), or one this user may not write. Root may
// write anything, but a file without write bits is still meant to stay as it is.
bool IsReadOnlyFile(const QString& path);

// Opens a file (not a folder) for reading under the name as given above; false when it cannot.
bool OpenForReading(QFile& file, const QString& path);

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const QString& path, QByteArray& data);

// Creates one folder (not its parents) when missing; true when it exists afterwards.
bool MakeFolder(const QString& path);

// Copies source over target through WriteFileAtomically.
Result<> CopyFileReplacing(const QString& source, const QString& target);

// Removes trailing path separators (a lone "/" stays).
QString WithoutTrailingSeparator(QString path);

// Appends a separator unless the path already ends with one.
QString WithTrailingSeparator(QString path);

} // namespace zal
