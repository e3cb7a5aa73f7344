#include "KbxTransport.h"
#include "TtyTransport.h"
#include "shell/Settings.h"

#ifdef ZAL_HAVE_LIBFTDI
#include "FtdiTransport.h"

#include <ftdi.h>
#endif

#include <QtGlobal>

#include <chrono>

namespace zal {
namespace {

class SteadyClock : public KbxClock {
public:
    std::int64_t nowMs() override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
};

// Stands in when the program was built without libftdi and no tty is named: there is no KBX to find.
class NoTransport : public KbxTransport {
public:
    Result<> open() override { return Failure{Problem::NotFound, {}}; }
    void close() override {}
    bool setBaudRate(int) override { return false; }
    bool setDataCharacteristics(int, int, int) override { return false; }
    bool setNoFlowControl() override { return false; }
    bool clearDtr() override { return false; }
    void purge(bool, bool) override {}
    void setTimeouts(int, int) override {}
    int queueStatus() override { return 0; }
    int read(char*, int) override { return -1; }
    int write(const QByteArray&) override { return -1; }
    void waitForData(int, int) override {}
};

} // namespace

KbxClock& SystemClock() {
    static SteadyClock clock;
    return clock;
}

std::vector<UsbUnit> ListUsbUnits(bool* withLibftdi) {
#ifdef ZAL_HAVE_LIBFTDI
    if (withLibftdi)
        *withLibftdi = true;
    return FtdiTransport::List();
#else
    if (withLibftdi)
        *withLibftdi = false;
    return {};
#endif
}

KbxTransportFactory TransportFactoryFor(const QString& port, const QString& usbSerial) {
    if (!port.isEmpty())
        return [port]() -> std::unique_ptr<KbxTransport> { return std::make_unique<TtyTransport>(port); };
    if (!usbSerial.isEmpty()) {
#ifdef ZAL_HAVE_LIBFTDI
        return [usbSerial]() -> std::unique_ptr<KbxTransport> {
            return std::make_unique<FtdiTransport>(usbSerial);
        };
#else
        return []() -> std::unique_ptr<KbxTransport> { return std::make_unique<NoTransport>(); };
#endif
    }
    return DefaultTransportFactory();
}

QString UsbLibraryVersion() {
#ifdef ZAL_HAVE_LIBFTDI
    const ftdi_version_info v = ftdi_get_library_version();
    return QStringLiteral("libftdi1 %1").arg(QString::fromLatin1(v.version_str));
#else
    return QStringLiteral("none");
#endif
}

KbxTransportFactory DefaultTransportFactory() {
    return []() -> std::unique_ptr<KbxTransport> {
        const QString port = Settings::Environment(setting::kKbxPort);
        if (!port.isEmpty())
            return std::make_unique<TtyTransport>(port);
#ifdef ZAL_HAVE_LIBFTDI
        return std::make_unique<FtdiTransport>();
#else
        return std::make_unique<NoTransport>();
#endif
    };
}

} // namespace zal
