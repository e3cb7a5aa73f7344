#pragma once

#include "ConfigImage.h"
#include "shell/Result.h"

#include <QString>

namespace zal {

// A configuration file is the bare 256-byte image. Loading succeeds when at least 256 bytes can be read
// from the start of the file (bytes beyond are ignored). A file that cannot be opened leaves the image
// untouched; a short file leaves it zero-filled beyond what was read, and fails.
bool LoadImageFile(const QString& path, ConfigImage& image);

// Why LoadImageFile cannot load the file at path, in the technician's words (there is no such file,
// no permission, a folder, too few bytes); empty when nothing stands in the way.
QString ImageFileProblem(const QString& path);

// Writes exactly 256 bytes, replacing the file only once the new one is complete.
Result<> SaveImageFile(const QString& path, const ConfigImage& image);

} // namespace zal
