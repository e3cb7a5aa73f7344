#pragma once

#include "ConfigImage.h"
#include "shell/Result.h"

#include <QString>

namespace zal {

// A configuration file is the bare 256-byte image. Loading succeeds when at least 256 bytes can be read
// from the start of the file (bytes beyond are ignored). A file that cannot be opened leaves the image
// untouched; a short file leaves it zero-filled beyond what was read, and fails. A failure says why in
// the technician's words: NotFound (no such file), Invalid (a folder, no regular file), Unreachable (no
// permission, another error), Damaged (too few bytes).
Result<> LoadImageFile(const QString& path, ConfigImage& image);

// Writes exactly 256 bytes, replacing the file only once the new one is complete.
Result<> SaveImageFile(const QString& path, const ConfigImage& image);

} // namespace zal
