#pragma once

#include "config/ConfigImage.h"
#include "config/ImageLayout.h"
#include "radio/DeviceIdentity.h"
#include "records/RecordsDatabase.h"

#include <QDateTime>

#include <vector>

namespace zal::bench {

// A ZAL V22 with that serial number; the variant changes every other byte.
inline ConfigImage BenchDevice(int serial, int variant) {
    ConfigImage image{};
    image.fill(static_cast<std::uint8_t>(variant));
    image[kProductCodeAddress] = 2; // ZAL
    image[kVersionCodeAddress] = 0x22;
    image[0xFD] = static_cast<std::uint8_t>(serial >> 16);
    image[0xFE] = static_cast<std::uint8_t>(serial >> 8);
    image[0xFF] = static_cast<std::uint8_t>(serial);
    return image;
}

// The records of a busy station: count backups of count / 20 devices, 20 each, one every four minutes
// up to now.
inline std::vector<BackupEntry> BenchBackups(int count, const QString& station) {
    std::vector<BackupEntry> entries;
    entries.reserve(static_cast<size_t>(count));
    const QDateTime now = QDateTime::currentDateTime();
    for (int i = 0; i < count; ++i) {
        const ConfigImage image = BenchDevice(i / 20, i % 20);
        BackupEntry e;
        e.device = IdentifyDevice(image);
        e.time = now.addSecs(-static_cast<qint64>(count - i) * 250);
        e.file = e.device.deviceKey() + QStringLiteral(" %1.bin").arg(i);
        e.command = QStringLiteral("read");
        e.result = QStringLiteral("done");
        e.station = station;
        e.image = QByteArray(reinterpret_cast<const char*>(image.data()), kImageSize);
        entries.push_back(e);
    }
    return entries;
}

} // namespace zal::bench
