#pragma once

#include "shell/Result.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace zal {

// Milliseconds of a monotonic clock. Injected so that tests of timeouts and retries run in virtual time.
class KbxClock {
public:
    virtual ~KbxClock() = default;
    virtual std::int64_t nowMs() = 0;
};

// The monotonic clock of the system.
KbxClock& SystemClock();

// One way to reach a KBX: the operations the KBX session needs from the USB serial chip's driver.
// Every operation on a transport that is not open fails quietly.
class KbxTransport {
public:
    virtual ~KbxTransport() = default;

    // Finds and opens the unit. A failure says what kind (NotFound: no unit; Busy: another program
    // holds it; Unreachable: no access or another cause; Invalid: what was named can hold no KBX) and,
    // when the transport knows more than "not found", why in the technician's words.
    virtual Result<> open() = 0;
    virtual void close() = 0;
    // Why the line failed while open (the unit was unplugged); empty when it did not.
    virtual QString lineFailure() const { return QString(); }

    virtual bool setBaudRate(int baud) = 0;
    // 8 data bits, 2 stop bits, no parity is the only setting the KBX uses.
    virtual bool setDataCharacteristics(int dataBits, int stopBits, int parity) = 0;
    virtual bool setNoFlowControl() = 0;
    virtual bool clearDtr() = 0;

    virtual void purge(bool receive, bool transmit) = 0;
    virtual void setTimeouts(int readMs, int writeMs) = 0;

    // Received bytes waiting to be read.
    virtual int queueStatus() = 0;
    // Reads at most maxBytes of what is waiting; -1 on failure.
    virtual int read(char* buffer, int maxBytes) = 0;
    // Writes all bytes; the number written, -1 on failure.
    virtual int write(const QByteArray& bytes) = 0;

    // Blocks until more bytes than queueStatus() reported have arrived, or until timeoutMs has passed.
    // This is what keeps a transfer from spinning: the caller sleeps on the device. bytesAwaited says
    // how many more bytes the caller waits for, so that a serial line may sleep through their line time
    // instead of waking for each byte.
    virtual void waitForData(int timeoutMs, int bytesAwaited) = 0;
};

using KbxTransportFactory = std::function<std::unique_ptr<KbxTransport>()>;

// An FTDI USB device seen on the bus, for telling "not plugged in" from "no permission".
struct UsbUnit {
    QString description; // empty when the device could not be opened to read it
    QString serial;
    int bus = 0;
    int address = 0;
    bool accessible = false; // the device could be opened (its strings read)
    bool isKbx = false;      // its description is the KBX's
};

// Every FTDI USB device plugged in (through libftdi); nothing when the program was built without it,
// and then withLibftdi is set to false.
std::vector<UsbUnit> ListUsbUnits(bool* withLibftdi = nullptr);

// The transport of one chosen KBX: the tty at port, else the unit of that USB serial number through
// libftdi; with neither, DefaultTransportFactory.
KbxTransportFactory TransportFactoryFor(const QString& port, const QString& usbSerial);

// "libftdi1 1.5" and the like; "none" when the program was built without it.
QString UsbLibraryVersion();

// The transport the tool uses: the tty named by ZAL_KBX_PORT when that is set, else the KBX found by its
// USB description through libftdi (when the program was built with it).
KbxTransportFactory DefaultTransportFactory();

} // namespace zal
