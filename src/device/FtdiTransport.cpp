#include "FtdiTransport.h"

#include <ftdi.h>
#include <libusb.h>

#include <algorithm>
#include <chrono>

namespace zal {
namespace {

// Product ids of the FTDI chips a KBX may be built on; the vendor id is FTDI's own.
constexpr int kFtdiVendor = 0x0403;
constexpr int kFtdiProducts[] = {0x6001, 0x6015, 0x6010, 0x6011, 0x6014};

// The chip holds back a partly filled USB packet until its latency timer runs out: 16 ms by default.
// Every one of the ~35 transactions of a write with verification would wait for it once, so the timer
// is set to its smallest useful value.
constexpr unsigned char kLatencyTimerMs = 2;

} // namespace

FtdiTransport::FtdiTransport(QString serial) : serial_(std::move(serial)) {}

FtdiTransport::~FtdiTransport() {
    close();
}

bool FtdiTransport::open() {
    close();
    ftdi_ = ftdi_new();
    if (!ftdi_)
        return false;
    ftdi_->module_detach_mode = AUTO_DETACH_REATACH_SIO_MODULE;
    failure_.clear();
    for (int product : kFtdiProducts) {
        // Compares the USB description exactly and takes the first unit that has it. Opening claims
        // the unit's USB interface, which the kernel grants to one program at a time: a second
        // program cannot share the unit and gets -5.
        const QByteArray serial = serial_.toLatin1();
        const int result = ftdi_usb_open_desc(ftdi_, kFtdiVendor, product, kDescription,
                                              serial_.isEmpty() ? nullptr : serial.constData());
        if (result == 0) {
            open_ = true;
            break;
        }
        if (result == -5)
            failure_ = QStringLiteral("The KBX is in use by another program.");
        else if (result == -4 && failure_.isEmpty())
            failure_ =
                QStringLiteral("An FTDI USB device was found, but access to it was denied. Install the udev "
                               "rule 70-zal-kbx.rules (it comes with the package) and plug the KBX in again "
                               "(zalctl kbx-list shows what is seen).");
    }
    if (!open_) {
        ftdi_free(ftdi_);
        ftdi_ = nullptr;
        return false;
    }
    ftdi_set_latency_timer(ftdi_, kLatencyTimerMs);
    received_.clear();
    return true;
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
    return open_ && ftdi_set_baudrate(ftdi_, baud) == 0;
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
    if (!open_)
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
bool FtdiTransport::fill(int timeoutMs) {
    unsigned char buffer[512];
    const int savedTimeout = ftdi_->usb_read_timeout;
    ftdi_->usb_read_timeout = std::max(1, timeoutMs);
    const int n = ftdi_read_data(ftdi_, buffer, sizeof buffer);
    ftdi_->usb_read_timeout = savedTimeout;
    if (n > 0)
        received_.append(reinterpret_cast<const char*>(buffer), n);
    return n > 0;
}

int FtdiTransport::queueStatus() {
    if (!open_)
        return 0;
    fill(1);
    received_.markReported(received_.size());
    return static_cast<int>(received_.size());
}

int FtdiTransport::read(char* buffer, int maxBytes) {
    if (!open_)
        return -1;
    return received_.take(buffer, maxBytes);
}

int FtdiTransport::write(const QByteArray& bytes) {
    if (!open_)
        return -1;
    return ftdi_write_data(ftdi_, reinterpret_cast<const unsigned char*>(bytes.constData()),
                           static_cast<int>(bytes.size()));
}

void FtdiTransport::waitForData(int timeoutMs, int) {
    if (!open_ || timeoutMs <= 0)
        return;
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!received_.grewSinceReport()) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            break;
        fill(static_cast<int>(left));
    }
}

} // namespace zal
