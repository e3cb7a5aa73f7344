// Any bytes as Values.ini, in any encoding: read, looked up and written back without a crash, and what
// is written back reads the same.

#include "shell/SettingsFile.h"

#include <cstdlib>

using namespace zal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    SettingsFile file = SettingsFile::FromBytes(bytes);
    const QString value = file.text(QStringLiteral("Setup"), QStringLiteral("ConfigDirectory"));
    file.text(QStringLiteral("ProductName"), QStringLiteral("2"));
    file.setValue(QStringLiteral("Setup"), QStringLiteral("AppVersion"), QStringLiteral("1.0.0.1"));
    const SettingsFile again = SettingsFile::FromBytes(file.toBytes());
    if (again.text(QStringLiteral("Setup"), QStringLiteral("AppVersion")) != QLatin1String("1.0.0.1"))
        std::abort();
    (void)value;
    return 0;
}
