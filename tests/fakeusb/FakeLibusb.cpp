// A stand-in for libusb that models FTDI FT232R chips, with a KBX and a device behind the first ones, so
// that the program's libftdi path runs on a machine without hardware: the real libftdi1 calls these
// functions instead of libusb's (the library is preloaded, or linked before libusb).
//
// The chip: bulk IN packets of 64 bytes, each starting with two modem-status bytes; a packet with less
// than 62 data bytes goes out only when the latency timer runs out (a status-only packet if nothing
// came), or at once when the event character (when one is set) arrives; bytes cross the line at 57600
// baud, 8N2 (11 bits a byte) in both directions.
//
// ZAL_FAKE_USB describes the devices, in bus order, separated by ';': KIND,SERIAL[,OPTION...] where
// KIND is "kbx" (a KBX: description "Vesk KBX - Active USB Interface") or "other" (an unrelated FTDI
// adapter), and the options are image=PATH (the device memory), save=PATH (saved when the unit is
// closed), denied (opening is refused: no permission), busy (another program has claimed it),
// unplug=N (gone after N commands), slow=MS (the device takes that long to answer), split (replies
// come in two packets), late=RATE and latems=MS (a share of replies comes that late), nodevice (a KBX
// without a device). ZAL_FAKE_USB_EVENTS names a file that gets a line per claim, release and close,
// and per setting of the latency timer and the event character.

#include "KbxSimEngine.h"

#include <QFile>

#include <libusb.h>

#include <chrono>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using zal::sim::KbxSimEngine;

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kByteSeconds = 11.0 / 57600.0;
constexpr int kPacket = 64;
constexpr int kStatusBytes = 2;

double Now() {
    return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

void SleepUntil(double when) {
    const double left = when - Now();
    if (left > 0)
        std::this_thread::sleep_for(std::chrono::duration<double>(left));
}

struct Device;

} // namespace

struct libusb_context {
    int unused = 0;
};
struct libusb_device {
    Device* device;
};
struct libusb_device_handle {
    Device* device;
};

namespace {

struct Device {
    libusb_device self{this}; // what the device lists hand out; lives as long as the device
    std::string kind, serial, description, imagePath, savePath;
    bool denied = false, busy = false, split = false;
    int unplugAfter = -1;
    double slowSeconds = 0.002;
    double lateSeconds = 0;
    std::unique_ptr<KbxSimEngine> engine;
    std::deque<std::pair<double, char>> toHost; // bytes on their way to the host, with their arrival
    double lineFreeAt = 0;                      // when the line from the device is free again
    double lastPacket = 0;
    int latencyMs = 16;
    int eventChar = -1; // none
    bool claimed = false;
    bool gone = false;
    libusb_device_descriptor descriptor{};
    uint8_t address = 0;

    bool unplugged() {
        if (!gone && unplugAfter >= 0 && engine && engine->commands() >= unplugAfter)
            gone = true;
        return gone;
    }
};

struct Bus {
    std::mutex lock;
    std::string config;
    std::vector<std::unique_ptr<Device>> devices;
};

Bus& TheBus() {
    static Bus bus;
    return bus;
}

void Event(const std::string& text) {
    const char* path = std::getenv("ZAL_FAKE_USB_EVENTS");
    if (!path)
        return;
    QFile file(QString::fromLocal8Bit(path));
    if (file.open(QIODevice::Append))
        file.write(QByteArray::fromStdString(text) + '\n');
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return parts;
}

// The devices of ZAL_FAKE_USB; made anew only when the description changes, so that a unit keeps its
// memory from one opening to the next within a process.
void Configure(Bus& bus) {
    const char* text = std::getenv("ZAL_FAKE_USB");
    const std::string config = text ? text : "";
    if (config == bus.config)
        return;
    bus.config = config;
    bus.devices.clear();
    uint8_t address = 1;
    for (const std::string& layout : Split(config, ';')) {
        const std::vector<std::string> parts = Split(layout, ',');
        if (parts.size() < 2)
            continue;
        auto d = std::make_unique<Device>();
        d->kind = parts[0];
        d->serial = parts[1];
        d->description = d->kind == "kbx" ? "Vesk KBX - Active USB Interface" : "FT232R USB UART";
        zal::sim::KbxSimOptions options;
        for (size_t i = 2; i < parts.size(); ++i) {
            const std::string& o = parts[i];
            const size_t eq = o.find('=');
            const std::string key = o.substr(0, eq), value = eq == std::string::npos ? "" : o.substr(eq + 1);
            if (key == "image")
                d->imagePath = value;
            else if (key == "save")
                d->savePath = value;
            else if (key == "denied")
                d->denied = true;
            else if (key == "busy")
                d->busy = true;
            else if (key == "split")
                d->split = true;
            else if (key == "unplug")
                d->unplugAfter = std::stoi(value);
            else if (key == "slow")
                d->slowSeconds = std::stoi(value) / 1000.0;
            else if (key == "late")
                options.lateRate = std::stod(value);
            else if (key == "latems")
                d->lateSeconds = std::stoi(value) / 1000.0;
            else if (key == "nodevice")
                options.devicePresent = false;
        }
        d->engine = std::make_unique<KbxSimEngine>(options);
        if (!d->imagePath.empty()) {
            QFile image(QString::fromStdString(d->imagePath));
            if (image.open(QIODevice::ReadOnly)) {
                const QByteArray bytes = image.read(zal::kImageSize);
                std::memcpy(d->engine->memory().data(), bytes.constData(),
                            std::min<size_t>(static_cast<size_t>(bytes.size()), zal::kImageSize));
            }
        }
        d->descriptor.bLength = sizeof(libusb_device_descriptor);
        d->descriptor.bDescriptorType = LIBUSB_DT_DEVICE;
        d->descriptor.bcdUSB = 0x0200;
        d->descriptor.bMaxPacketSize0 = 8;
        d->descriptor.idVendor = 0x0403;
        d->descriptor.idProduct = 0x6001;
        d->descriptor.bcdDevice = 0x0600; // FT232R
        d->descriptor.iManufacturer = 1;
        d->descriptor.iProduct = 2;
        d->descriptor.iSerialNumber = 3;
        d->descriptor.bNumConfigurations = 1;
        d->address = address++;
        bus.devices.push_back(std::move(d));
    }
}

// What the device sends back for the bytes that reach it at the given times.
void ToDevice(Device& d, const unsigned char* data, int length, double start) {
    for (int i = 0; i < length; ++i) {
        const double arrival = start + (i + 1) * kByteSeconds;
        QByteArray reply;
        if (!d.engine->receive(static_cast<char>(data[i]), reply) || reply.isEmpty())
            continue;
        double at = std::max(arrival + d.slowSeconds, d.lineFreeAt);
        if (d.lateSeconds > 0 && d.engine->rollLate())
            at += d.lateSeconds;
        for (qsizetype k = 0; k < reply.size(); ++k) {
            // A split reply pauses in its middle for longer than the latency timer.
            if (d.split && k == reply.size() / 2)
                at += (d.latencyMs + 5) / 1000.0;
            at += kByteSeconds;
            d.toHost.emplace_back(at, reply[k]);
        }
        d.lineFreeAt = at;
    }
}

libusb_config_descriptor* MakeConfig() {
    auto* endpoints = new libusb_endpoint_descriptor[2]{};
    endpoints[0].bEndpointAddress = 0x81;
    endpoints[0].bmAttributes = LIBUSB_TRANSFER_TYPE_BULK;
    endpoints[0].wMaxPacketSize = kPacket;
    endpoints[1].bEndpointAddress = 0x02;
    endpoints[1].bmAttributes = LIBUSB_TRANSFER_TYPE_BULK;
    endpoints[1].wMaxPacketSize = kPacket;
    auto* setting = new libusb_interface_descriptor{};
    setting->bNumEndpoints = 2;
    setting->endpoint = endpoints;
    auto* interface = new libusb_interface{};
    interface->altsetting = setting;
    interface->num_altsetting = 1;
    auto* config = new libusb_config_descriptor{};
    config->bNumInterfaces = 1;
    config->bConfigurationValue = 1;
    config->interface = interface;
    return config;
}

} // namespace

extern "C" {

int libusb_init(libusb_context** ctx) {
    Bus& bus = TheBus();
    std::lock_guard lock(bus.lock);
    Configure(bus);
    if (ctx)
        *ctx = new libusb_context;
    return 0;
}

void libusb_exit(libusb_context* ctx) {
    delete ctx;
}

ssize_t libusb_get_device_list(libusb_context*, libusb_device*** list) {
    Bus& bus = TheBus();
    std::lock_guard lock(bus.lock);
    std::vector<libusb_device*> present;
    for (auto& d : bus.devices) {
        if (!d->unplugged())
            present.push_back(&d->self);
    }
    *list = new libusb_device*[present.size() + 1];
    for (size_t i = 0; i < present.size(); ++i)
        (*list)[i] = present[i];
    (*list)[present.size()] = nullptr;
    return static_cast<ssize_t>(present.size());
}

void libusb_free_device_list(libusb_device** list, int) {
    delete[] list;
}

// Devices live as long as the bus description that made them.
libusb_device* libusb_ref_device(libusb_device* dev) {
    return dev;
}
void libusb_unref_device(libusb_device*) {}

int libusb_get_device_descriptor(libusb_device* dev, libusb_device_descriptor* desc) {
    *desc = dev->device->descriptor;
    return 0;
}

int libusb_get_config_descriptor(libusb_device*, uint8_t, libusb_config_descriptor** config) {
    *config = MakeConfig();
    return 0;
}

void libusb_free_config_descriptor(libusb_config_descriptor* config) {
    if (!config)
        return;
    delete[] config->interface->altsetting->endpoint;
    delete config->interface->altsetting;
    delete config->interface;
    delete config;
}

uint8_t libusb_get_bus_number(libusb_device*) {
    return 1;
}

uint8_t libusb_get_device_address(libusb_device* dev) {
    return dev->device->address;
}

int libusb_open(libusb_device* dev, libusb_device_handle** handle) {
    Bus& bus = TheBus();
    std::lock_guard lock(bus.lock);
    if (dev->device->unplugged())
        return LIBUSB_ERROR_NO_DEVICE;
    if (dev->device->denied)
        return LIBUSB_ERROR_ACCESS;
    *handle = new libusb_device_handle{dev->device};
    return 0;
}

void libusb_close(libusb_device_handle* handle) {
    if (!handle)
        return;
    Device& d = *handle->device;
    if (!d.savePath.empty() && d.engine) {
        QFile file(QString::fromStdString(d.savePath));
        if (file.open(QIODevice::WriteOnly))
            file.write(reinterpret_cast<const char*>(d.engine->memory().data()), zal::kImageSize);
    }
    Event("close " + d.serial);
    delete handle;
}

int libusb_get_string_descriptor_ascii(libusb_device_handle* handle, uint8_t index, unsigned char* data,
                                       int length) {
    if (handle->device->unplugged())
        return LIBUSB_ERROR_NO_DEVICE;
    const std::string text = index == 1   ? std::string("FTDI")
                             : index == 2 ? handle->device->description
                             : index == 3 ? handle->device->serial
                                          : std::string();
    const int n = std::min(length - 1, static_cast<int>(text.size()));
    std::memcpy(data, text.data(), static_cast<size_t>(n));
    data[n] = 0;
    return n;
}

int libusb_get_configuration(libusb_device_handle*, int* config) {
    *config = 1;
    return 0;
}

int libusb_set_configuration(libusb_device_handle*, int) {
    return 0;
}

int libusb_set_auto_detach_kernel_driver(libusb_device_handle*, int) {
    return 0;
}

int libusb_detach_kernel_driver(libusb_device_handle*, int) {
    return LIBUSB_ERROR_NOT_FOUND;
}

int libusb_claim_interface(libusb_device_handle* handle, int) {
    Device& d = *handle->device;
    if (d.unplugged())
        return LIBUSB_ERROR_NO_DEVICE;
    if (d.busy)
        return LIBUSB_ERROR_BUSY;
    d.claimed = true;
    Event("claim " + d.serial);
    return 0;
}

int libusb_release_interface(libusb_device_handle* handle, int) {
    handle->device->claimed = false;
    Event("release " + handle->device->serial);
    return handle->device->unplugged() ? LIBUSB_ERROR_NO_DEVICE : 0;
}

int libusb_control_transfer(libusb_device_handle* handle, uint8_t requestType, uint8_t request,
                            uint16_t value, uint16_t, unsigned char* data, uint16_t length, unsigned int) {
    Device& d = *handle->device;
    if (d.unplugged())
        return LIBUSB_ERROR_NO_DEVICE;
    const bool in = requestType & LIBUSB_ENDPOINT_IN;
    switch (request) {
    case 0: // reset; 1 and 2 purge the receive and transmit buffers
        if (value == 0 || value == 1)
            d.toHost.clear();
        break;
    case 6: // set the event character: the low byte, enabled by bit 8
        d.eventChar = (value & 0x100) ? (value & 0xFF) : -1;
        Event("event character " + std::to_string(d.eventChar) + " " + d.serial);
        break;
    case 9: // set latency timer
        d.latencyMs = std::max<int>(1, value & 0xFF);
        Event("latency " + std::to_string(d.latencyMs) + " " + d.serial);
        break;
    case 10: // get latency timer
        if (in && length >= 1)
            data[0] = static_cast<unsigned char>(d.latencyMs);
        return in ? 1 : 0;
    case 5: // poll modem status
        if (in && length >= 2) {
            data[0] = 0x31;
            data[1] = 0x60;
        }
        return in ? std::min<int>(2, length) : 0;
    default:
        break;
    }
    return in ? 0 : length;
}

int libusb_bulk_transfer(libusb_device_handle* handle, unsigned char endpoint, unsigned char* data,
                         int length, int* transferred, unsigned int timeout) {
    Device& d = *handle->device;
    *transferred = 0;
    if (d.unplugged())
        return LIBUSB_ERROR_NO_DEVICE;
    const double start = Now();
    if (!(endpoint & LIBUSB_ENDPOINT_IN)) {
        // The bytes leave at the line rate; the call returns once the chip has taken them.
        ToDevice(d, data, length, start);
        *transferred = length;
        return d.unplugged() ? LIBUSB_ERROR_NO_DEVICE : 0;
    }
    const auto arrived = [&d](double at) {
        int n = 0;
        for (const auto& [when, byte] : d.toHost) {
            if (when > at)
                break;
            ++n;
        }
        return n;
    };
    // A full packet goes at once; anything less when the latency timer runs out, or as soon as the event
    // character arrives.
    double sendAt = start;
    if (arrived(start) < kPacket - kStatusBytes) {
        sendAt = std::max(start, d.lastPacket + d.latencyMs / 1000.0);
        for (const auto& [when, byte] : d.toHost) {
            if (when >= sendAt)
                break;
            if (d.eventChar >= 0 && static_cast<unsigned char>(byte) == d.eventChar) {
                sendAt = std::max(start, when);
                break;
            }
        }
    }
    if (timeout > 0 && sendAt - start > timeout / 1000.0) {
        SleepUntil(start + timeout / 1000.0);
        return LIBUSB_ERROR_TIMEOUT;
    }
    SleepUntil(sendAt);
    int offset = 0;
    while (offset + kPacket <= length) {
        const int n = std::min(arrived(sendAt), kPacket - kStatusBytes);
        data[offset] = 0x31;
        data[offset + 1] = 0x60;
        for (int i = 0; i < n; ++i) {
            data[offset + kStatusBytes + i] = static_cast<unsigned char>(d.toHost.front().second);
            d.toHost.pop_front();
        }
        offset += kStatusBytes + n;
        if (n < kPacket - kStatusBytes)
            break; // a short packet ends the transfer
    }
    d.lastPacket = sendAt;
    *transferred = offset;
    return 0;
}

// The asynchronous interface is not used by the program's path; it fails plainly.
libusb_transfer* libusb_alloc_transfer(int) {
    return nullptr;
}
void libusb_free_transfer(libusb_transfer*) {}
int libusb_submit_transfer(libusb_transfer*) {
    return LIBUSB_ERROR_NOT_SUPPORTED;
}
int libusb_cancel_transfer(libusb_transfer*) {
    return LIBUSB_ERROR_NOT_SUPPORTED;
}
int libusb_handle_events_timeout(libusb_context*, struct timeval*) {
    return LIBUSB_ERROR_NOT_SUPPORTED;
}
int libusb_handle_events_timeout_completed(libusb_context*, struct timeval*, int*) {
    return LIBUSB_ERROR_NOT_SUPPORTED;
}

} // extern "C"
