#include "FtdiTransport.h"

#include "KbxFrame.h"
#include "shell/Settings.h"

#include <ftdi.h>
#include <libusb.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringList>

#include <algorithm>
#include <chrono>
#include <thread>

namespace zal {
namespace {

// The chip holds back a partly filled USB packet until its latency timer runs out (16 ms by default), or
// until its event character arrives. ETX ends every framed reply and never occurs inside one, so a reply
// leaves the chip the moment it is whole; the one-byte answers (ACK, NAK) wait for the timer, which is
// set to its smallest value.
constexpr unsigned char kLatencyTimerMs = 1;
constexpr unsigned char kEventCharacter = kEtx;

// How much earlier than the awaited bytes can be complete a wait starts reading.
constexpr std::chrono::microseconds kWakeMargin{1000};

// A byte on the line: start bit, eight data bits and two stop bits at 57600 baud.
constexpr std::chrono::nanoseconds kByteTime{11'000'000'000LL / 57600};
static_assert(FtdiTransport::kMinReadTimeoutMs >= 2 * kLatencyTimerMs + 2);

// The vendor and product ids to look at: FTDI's own, and a pair of the unit's own when ZAL_KBX_USB_ID
// gives one ("vvvv:pppp", hexadecimal).
std::vector<std::pair<int, int>> UsbIds() {
    std::vector<std::pair<int, int>> ids{{0, 0}}; // libftdi's list of FTDI's own product ids
    const QStringList own = Settings::Environment(setting::kKbxUsbId).split(u':');
    bool vendorOk = false, productOk = false;
    if (own.size() == 2) {
        const int vendor = own[0].toInt(&vendorOk, 16);
        const int product = own[1].toInt(&productOk, 16);
        if (vendorOk && productOk)
            ids.emplace_back(vendor, product);
    }
    return ids;
}

QString UsbString(libusb_device_handle* handle, uint8_t index) {
    unsigned char text[128] = {};
    if (index == 0 || libusb_get_string_descriptor_ascii(handle, index, text, sizeof text) < 0)
        return QString();
    return QString::fromLatin1(reinterpret_cast<const char*>(text));
}

// The strings of a USB device that cannot be opened: the kernel read them when the device was plugged in
// and shows them to every user in sysfs, so a KBX without access can still be told from another adapter.
// ZAL_USB_SYSFS points the tests at a folder of their own.
struct SysfsStrings {
    bool known = false;
    QString product, serial;
};

SysfsStrings SysfsUsbStrings(int bus, int address) {
    const auto text = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.read(256)).trimmed() : QString();
    };
    const QString sysfs = Settings::Environment(setting::kUsbSysfs);
    const QDir root(sysfs.isEmpty() ? QStringLiteral("/sys/bus/usb/devices") : sysfs);
    for (const QString& name : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString device = root.filePath(name) + u'/';
        if (text(device + QStringLiteral("busnum")) != QString::number(bus) ||
            text(device + QStringLiteral("devnum")) != QString::number(address))
            continue;
        return {true, text(device + QStringLiteral("product")), text(device + QStringLiteral("serial"))};
    }
    return {};
}

constexpr const char* kNoAccess =
    QT_TRANSLATE_NOOP("Kbx", "Ein FTDI-USB-Gerät wurde gefunden, aber der Zugriff darauf wurde verweigert. "
                             "Installieren Sie die udev-Regel 70-zal-kbx.rules (sie kommt mit dem Paket) und "
                             "stecken Sie die KBX neu ein (zalctl kbx-list zeigt, was zu sehen ist).");
constexpr const char* kNoAccessToKbx = QT_TRANSLATE_NOOP(
    "Kbx", "Die KBX %1 wurde gefunden, aber der Zugriff darauf wurde verweigert. Installieren Sie die "
           "udev-Regel 70-zal-kbx.rules (sie kommt mit dem Paket) oder nehmen Sie den Benutzer in die Gruppe "
           "plugdev auf, und stecken Sie die KBX neu ein.");
constexpr const char* kInUse = QT_TRANSLATE_NOOP("Kbx", "Die KBX wird von einem anderen Programm verwendet.");
constexpr const char* kNoFtdi =
    QT_TRANSLATE_NOOP("Kbx", "Es ist kein FTDI-USB-Gerät eingesteckt: ist die KBX angeschlossen?");

QString KbxText(const char* text) {
    return QCoreApplication::translate("Kbx", text);
}

} // namespace

Result<> FtdiTransport::open() {
    if (openUnit())
        return {};
    return Failure{problem_, failure_};
}

bool FtdiTransport::openUnit() {
    close();
    problem_ = Problem::Unreachable;
    ftdi_ = ftdi_new();
    if (!ftdi_)
        return false;
    ftdi_->module_detach_mode = AUTO_DETACH_REATACH_SIO_MODULE;
    failure_.clear();
    lineFailure_.clear();
    dead_ = false;
    // Every FTDI device is looked at in turn, rather than letting libftdi take the first with the
    // description: libftdi gives up the whole search at the first device it cannot open, so an
    // adapter without permission, or a KBX another program holds, would hide a free KBX behind it.
    bool denied = false, inUse = false;
    int found = 0;     // FTDI devices of any kind
    QString deniedKbx; // the serial of a KBX without access, as sysfs names it
    for (const auto& [vendor, product] : UsbIds()) {
        ftdi_device_list* devices = nullptr;
        if (ftdi_usb_find_all(ftdi_, &devices, vendor, product) < 0)
            continue;
        for (ftdi_device_list* d = devices; d && !open_; d = d->next) {
            ++found;
            libusb_device_descriptor descriptor{};
            libusb_device_handle* handle = nullptr;
            if (libusb_get_device_descriptor(d->dev, &descriptor) != 0)
                continue;
            const int opened = libusb_open(d->dev, &handle);
            if (opened == LIBUSB_ERROR_ACCESS) {
                // An adapter that sysfs shows to be no KBX (or another KBX than the one asked for) is no
                // reason to speak of access.
                const SysfsStrings seen =
                    SysfsUsbStrings(libusb_get_bus_number(d->dev), libusb_get_device_address(d->dev));
                const bool wanted = seen.product == QLatin1String(kDescription) &&
                                    (serial_.isEmpty() || seen.serial == serial_);
                if (!seen.known)
                    denied = true;
                else if (wanted && deniedKbx.isEmpty())
                    deniedKbx = seen.serial.isEmpty() ? QStringLiteral("-") : seen.serial;
            }
            if (opened != 0)
                continue;
            const QString description = UsbString(handle, descriptor.iProduct);
            const QString serial = UsbString(handle, descriptor.iSerialNumber);
            libusb_close(handle);
            if (description != QLatin1String(kDescription) || (!serial_.isEmpty() && serial != serial_))
                continue;
            // Opening claims the unit's USB interface, which the kernel grants to one program at a
            // time: a second program gets -5 and goes on to the next unit.
            const int result = ftdi_usb_open_dev(ftdi_, d->dev);
            if (result == 0)
                open_ = true;
            else if (result == -5)
                inUse = true;
            else if (result == -4)
                denied = true;
        }
        ftdi_list_free(&devices);
        if (open_)
            break;
    }
    if (!open_) {
        problem_ = inUse                            ? Problem::Busy
                   : !deniedKbx.isEmpty() || denied ? Problem::Unreachable
                                                    : Problem::NotFound;
        if (inUse)
            failure_ = KbxText(kInUse);
        else if (!deniedKbx.isEmpty())
            failure_ = KbxText(kNoAccessToKbx).arg(deniedKbx);
        else if (denied)
            failure_ = KbxText(kNoAccess);
        else if (found == 0)
            failure_ = KbxText(kNoFtdi);
        ftdi_free(ftdi_);
        ftdi_ = nullptr;
        return false;
    }
    ftdi_set_latency_timer(ftdi_, kLatencyTimerMs);
    ftdi_set_event_char(ftdi_, kEventCharacter, 1);
    received_.clear();
    return true;
}

bool FtdiTransport::check(int result) {
    if (result >= 0 || result == LIBUSB_ERROR_TIMEOUT)
        return result >= 0;
    if (!dead_) {
        dead_ = true;
        lineFailure_ = QCoreApplication::translate("Kbx", "Die KBX wurde getrennt (%1).")
                           .arg(QString::fromLatin1(libusb_error_name(result)));
    }
    return false;
}

FtdiTransport::FtdiTransport(QString serial) : serial_(std::move(serial)) {}

FtdiTransport::~FtdiTransport() {
    close();
}

std::vector<UsbUnit> FtdiTransport::List() {
    std::vector<UsbUnit> units;
    ftdi_context* ftdi = ftdi_new();
    if (!ftdi)
        return units;
    ftdi_device_list* devices = nullptr;
    // Vendor and product 0: every product id of FTDI's own that libftdi knows.
    if (ftdi_usb_find_all(ftdi, &devices, 0, 0) >= 0) {
        for (ftdi_device_list* d = devices; d; d = d->next) {
            UsbUnit unit;
            unit.bus = libusb_get_bus_number(d->dev);
            unit.address = libusb_get_device_address(d->dev);
            char description[128] = {}, serial[64] = {};
            unit.accessible = ftdi_usb_get_strings(ftdi, d->dev, nullptr, 0, description, sizeof description,
                                                   serial, sizeof serial) == 0;
            unit.description = QString::fromLatin1(description);
            unit.serial = QString::fromLatin1(serial);
            if (!unit.accessible) {
                const SysfsStrings seen = SysfsUsbStrings(unit.bus, unit.address);
                unit.description = seen.product;
                unit.serial = seen.serial;
            }
            unit.isKbx = unit.description == QLatin1String(kDescription);
            units.push_back(unit);
        }
        ftdi_list_free(&devices);
    }
    ftdi_free(ftdi);
    return units;
}

void FtdiTransport::close() {
    if (ftdi_) {
        if (open_)
            ftdi_usb_close(ftdi_);
        ftdi_free(ftdi_);
    }
    ftdi_ = nullptr;
    open_ = false;
    received_.clear();
}

bool FtdiTransport::setBaudRate(int baud) {
    return open_ && !dead_ && ftdi_set_baudrate(ftdi_, baud) == 0;
}

bool FtdiTransport::setDataCharacteristics(int dataBits, int stopBits, int parity) {
    if (!open_ || dataBits != 8 || parity != 0)
        return false;
    return ftdi_set_line_property(ftdi_, BITS_8, stopBits == 2 ? STOP_BIT_2 : STOP_BIT_1, NONE) == 0;
}

bool FtdiTransport::setNoFlowControl() {
    return open_ && ftdi_setflowctrl(ftdi_, SIO_DISABLE_FLOW_CTRL) == 0;
}

bool FtdiTransport::clearDtr() {
    return open_ && ftdi_setdtr(ftdi_, 0) == 0;
}

void FtdiTransport::purge(bool receive, bool transmit) {
    if (!open_ || dead_)
        return;
    if (receive && transmit)
        ftdi_tcioflush(ftdi_);
    else if (receive)
        ftdi_tciflush(ftdi_);
    else if (transmit)
        ftdi_tcoflush(ftdi_);
    if (receive) {
        received_.clear();
    }
}

void FtdiTransport::setTimeouts(int readMs, int writeMs) {
    if (!open_)
        return;
    ftdi_->usb_read_timeout = readMs;
    ftdi_->usb_write_timeout = writeMs;
}

// One bulk read: libusb sleeps in the kernel until the chip sends a packet, which it does at the latest
// when its latency timer runs out, so this blocks on the device rather than spinning.
bool FtdiTransport::fill(int timeoutMs, int wanted) {
    if (dead_)
        return false;
    unsigned char buffer[512];
    const int savedTimeout = ftdi_->usb_read_timeout;
    ftdi_->usb_read_timeout = std::max(kMinReadTimeoutMs, timeoutMs);
    // Asked for just the bytes awaited, libftdi returns as soon as they are there; asked for more, it
    // reads on until a packet comes without data, which costs a latency period on every reply.
    const int n = ftdi_read_data(ftdi_, buffer, std::clamp(wanted, 1, static_cast<int>(sizeof buffer)));
    ftdi_->usb_read_timeout = savedTimeout;
    if (n > 0)
        received_.append(reinterpret_cast<const char*>(buffer), n);
    return check(n) && n > 0;
}

// What has been read so far: asking the chip here would cost a read with a short timeout, which can lose
// bytes (see kMinReadTimeoutMs); waitForData is where reading happens.
int FtdiTransport::queueStatus() {
    if (!open_)
        return 0;
    received_.markReported(received_.size());
    return static_cast<int>(received_.size());
}

int FtdiTransport::read(char* buffer, int maxBytes) {
    if (!open_)
        return -1;
    return received_.take(buffer, maxBytes);
}

int FtdiTransport::write(const QByteArray& bytes) {
    if (!open_ || dead_)
        return -1;
    const int n = ftdi_write_data(ftdi_, reinterpret_cast<const unsigned char*>(bytes.constData()),
                                  static_cast<int>(bytes.size()));
    if (n > 0)
        lineFreeAt_ = std::max(std::chrono::steady_clock::now(), lineFreeAt_) + n * kByteTime;
    return check(n) ? n : -1;
}

void FtdiTransport::waitForData(int timeoutMs, int bytesAwaited) {
    if (!open_ || dead_ || timeoutMs <= 0)
        return;
    using Clock = std::chrono::steady_clock;
    const auto now = Clock::now();
    const auto deadline = now + std::chrono::milliseconds(timeoutMs);
    // The awaited bytes cannot be here before the command has crossed the line and they have crossed
    // it back. Until then the chip would only send empty packets, one each latency period, each a wakeup:
    // sleeping that time (less a margin) saves them without delaying the reply.
    if (!received_.grewSinceReport()) {
        const auto earliest = (received_.size() == 0 ? std::max(now, lineFreeAt_) : now) +
                              bytesAwaited * kByteTime - kWakeMargin;
        if (earliest > now)
            std::this_thread::sleep_until(std::min(earliest, deadline));
    }
    while (!received_.grewSinceReport()) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0 || dead_)
            break;
        fill(static_cast<int>(left), bytesAwaited);
    }
}

} // namespace zal
