#include "KbxCommands.h"

#include "CommandTable.h"
#include "Session.h"
#include "config/ConfigImage.h"
#include "config/ImageFile.h"
#include "device/KbxInterface.h"
#include "shell/Messages.h"
#include "shell/Settings.h"
#include "shell/StringTable.h"

#include <QCoreApplication>
#include <optional>

namespace zal::cli {
namespace {

void Error(QTextStream& err, Msg message) {
    err << "error " << MessageId(message) << ": " << MessageText(message) << Qt::endl;
}

// The KBX chosen with --port or --kbx, else the default one.
KbxTransportFactory ChosenKbx(const Options& o) {
    return TransportFactoryFor(o.port.value(0), o.kbx.value(0));
}

// Why no KBX could be used, beyond the message: in use, no access, no such port.
void Why(QTextStream& err, const TKbxInterface& kbx) {
    const QString why = kbx.openFailure().isEmpty() ? kbx.lineFailure() : kbx.openFailure();
    if (!why.isEmpty())
        err << "zalctl: " << why << Qt::endl;
}

} // namespace

int RunKbxInfo(QTextStream& out, QTextStream& err, const QStringList& arguments) {
    const Options o = Parse(arguments);
    if (!o.error.isEmpty() || !o.positional.isEmpty()) {
        PrintCommandUsage(err, "kbx-info", {}, o.error);
        return 2;
    }
    TKbxInterface kbx(ChosenKbx(o), SystemClock());
    const bool opened =
        kbx.Open() == kbxOk; // as the About window: the answer to "v" tells whether a KBX is there
    QString info;
    const int result = kbx.ReadInfo(info);
    kbx.Close();
    // Only an answer goes to standard output: a failure leaves it empty.
    if (result == kbxOk)
        out << StrF(10705, {info}) << Qt::endl;
    if (result != kbxOk) {
        err << "zalctl: "
            << (opened ? QCoreApplication::translate("Cli", "die KBX hat nicht geantwortet")
                       : QCoreApplication::translate("Cli", "keine KBX gefunden"))
            << Qt::endl;
        Why(err, kbx);
        return 1;
    }
    return 0;
}

int RunKbxList(QTextStream& out, QTextStream& err, const QStringList& arguments) {
    if (!arguments.isEmpty()) {
        PrintCommandUsage(err, "kbx-list");
        return 2;
    }
    bool withLibftdi = false;
    const std::vector<UsbUnit> units = ListUsbUnits(&withLibftdi);
    int kbxSeen = 0;
    if (!withLibftdi)
        out << "USB: " << QCoreApplication::translate("Cli", "nicht durchsucht (ohne libftdi1 gebaut)")
            << '\n';
    else if (units.empty())
        out << "USB: " << QCoreApplication::translate("Cli", "kein FTDI-Gerät eingesteckt") << '\n';
    for (const UsbUnit& u : units) {
        // One whole line per unit: "USB-Bus 001, Gerät 004: ..."
        const char* line =
            !u.accessible && u.description.isEmpty()
                ? QT_TRANSLATE_NOOP("Cli",
                                    "USB-Bus %1, Gerät %2: FTDI-Gerät, Zugriff verweigert (die udev-Regel "
                                    "70-zal-kbx.rules installieren)")
            : !u.accessible && u.isKbx
                ? QT_TRANSLATE_NOOP("Cli",
                                    "USB-Bus %1, Gerät %2: \"%3\" Seriennummer %4 - KBX, Zugriff verweigert "
                                    "(die udev-Regel 70-zal-kbx.rules installieren)")
            : !u.accessible
                ? QT_TRANSLATE_NOOP("Cli", "USB-Bus %1, Gerät %2: \"%3\" Seriennummer %4 - Zugriff "
                                           "verweigert (die udev-Regel 70-zal-kbx.rules installieren)")
            : u.isKbx ? QT_TRANSLATE_NOOP("Cli", "USB-Bus %1, Gerät %2: \"%3\" Seriennummer %4 - KBX")
                      : QT_TRANSLATE_NOOP("Cli", "USB-Bus %1, Gerät %2: \"%3\" Seriennummer %4 - keine KBX");
        QString text = QCoreApplication::translate("Cli", line)
                           .arg(u.bus, 3, 10, QChar(u'0'))
                           .arg(u.address, 3, 10, QChar(u'0'));
        if (u.accessible || !u.description.isEmpty())
            text = text.arg(u.description, u.serial.isEmpty() ? QStringLiteral("-") : u.serial);
        out << text << '\n';
        if (!u.accessible)
            continue;
        kbxSeen += u.isKbx;
    }
    const QString port = Settings::Environment(setting::kKbxPort);
    if (port.isEmpty()) {
        out << "ZAL_KBX_PORT: " << QCoreApplication::translate("Cli", "nicht gesetzt") << '\n';
    } else {
        TKbxInterface kbx;
        QString info;
        const bool opened = kbx.Open() == kbxOk;
        const bool answered = opened && kbx.ReadInfo(info) == kbxOk;
        out << "ZAL_KBX_PORT " << port << ": ";
        if (answered)
            out << QCoreApplication::translate("Cli", "KBX antwortet \"%1\"").arg(info) << '\n';
        else if (opened)
            out << QCoreApplication::translate("Cli", "geöffnet, aber keine KBX antwortet") << '\n';
        else
            out << QCoreApplication::translate("Cli", "kann nicht geöffnet werden")
                << (kbx.openFailure().isEmpty() ? QString() : QStringLiteral(": ") + kbx.openFailure())
                << '\n';
        kbxSeen += answered;
        kbx.Close();
    }
    out.flush();
    return kbxSeen > 0 ? 0 : 1;
}

int RunKbxDump(QTextStream& out, QTextStream& err, const QStringList& arguments) {
    const Options o = Parse(arguments);
    if (!o.error.isEmpty() || !o.positional.isEmpty()) {
        PrintCommandUsage(err, "kbx-dump", {}, o.error);
        return 2;
    }
    const QString output = OutputPath(o);
    if (OutputRefused(err, o))
        return 1;
    TKbxInterface kbx(ChosenKbx(o), SystemClock());
    ConfigImage image{};
    std::optional<Msg> failure;
    if (kbx.Open() != kbxOk)
        failure = Msg::KbxNotFound;
    else if (kbx.ConnectDevice() != kbxOk)
        failure = Msg::NoDeviceConnection;
    else if (kbx.ReadImage(image) != kbxOk)
        failure = Msg::ReadFailed;
    kbx.Close();
    if (failure) {
        Error(err, *failure);
        Why(err, kbx);
        return 1;
    }
    if (!output.isEmpty()) {
        // A raw backup of the device, no editor involved.
        if (!SaveImageFile(output, image)) {
            Error(err, Msg::CannotSaveConfiguration);
            return 1;
        }
        return 0;
    }
    for (int row = 0; row < kImageSize; row += 16) {
        out << QStringLiteral("%1:").arg(row, 2, 16, QChar(u'0')).toUpper();
        QString text;
        for (int i = 0; i < 16; ++i) {
            const std::uint8_t b = image[row + i];
            out << ' ' << QStringLiteral("%1").arg(b, 2, 16, QChar(u'0')).toUpper();
            text += (b >= 0x20 && b < 0x7F) ? QChar(b) : QChar(u'.');
        }
        out << "  " << text << '\n';
    }
    out.flush();
    return 0;
}

} // namespace zal::cli
