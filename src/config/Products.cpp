#include "Products.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>

namespace zal {
namespace {

constexpr ProductInfo kProducts[] = {
    {.code = kBora,
     .model = "BORA",
     .buttonCaption = "BORA",
     .buttonOrder = 0,
     .infoText = QT_TRANSLATE_NOOP("Products", "Funksender mit verkableten Eingängen"),
     .extension = ".Bora",
     .fileTypeText = QT_TRANSLATE_NOOP("Products", "BORA Konfigurationsdatei"),
     .defaultFileWord = "BORA",
     .writeDefaultMenu = "mnuWriteDefaultBora",
     .writeDefaultText = QT_TRANSLATE_NOOP("Products", "Schreibe ,Default BORA' in Gerät"),
     .family = ProductFamily::Classic,
     .layouts = kEveryClassicLayout,
     .variant = Variant::Bora2,
     .variantV1x = Variant::Bora1,
     .saveFilterIndex = 1,
     .saveFilterLabel = "BORA (*.bora)",
     .ownCodeAddress = kFixedCodesAddress,
     .longSerial = false,
     .writtenMarker = -1,
     .signedCarrierSense = false,
     .frequencyRegionText = false,
     .delayJumpers = false,
     .v1xJumpers = false,
     .v1xSharedInputs = false,
     .v1xActionCodes = V1xActionCodes::None,
     .txActionCodesV2x = false,
     .positions = false,
     .radioInputs = false,
     .wiredInputs = true},
    {.code = kZal,
     .model = "ZAL",
     .buttonCaption = "ZAL",
     .buttonOrder = 1,
     .infoText = QT_TRANSLATE_NOOP("Products", "Sende/Empfänger für verkabelete Ein/Ausgänge"),
     .extension = ".Zal",
     .fileTypeText = QT_TRANSLATE_NOOP("Products", "ZAL Konfigurationsdatei"),
     .defaultFileWord = "ZAL",
     .writeDefaultMenu = "mnuWriteDefaultZal",
     .writeDefaultText = QT_TRANSLATE_NOOP("Products", "Schreibe ,Default ZAL' in Gerät"),
     .family = ProductFamily::Classic,
     .layouts = kEveryClassicLayout,
     .variant = Variant::Zal2,
     .variantV1x = Variant::Zal1,
     .saveFilterIndex = 2,
     .saveFilterLabel = "ZAL (*.zal)",
     .ownCodeAddress = kFixedCodesAddress,
     .longSerial = false,
     .writtenMarker = -1,
     .signedCarrierSense = false,
     .frequencyRegionText = false,
     .delayJumpers = true,
     .v1xJumpers = false,
     .v1xSharedInputs = true,
     .v1xActionCodes = V1xActionCodes::OwnFixed,
     .txActionCodesV2x = true,
     .positions = true,
     .radioInputs = true,
     .wiredInputs = true},
    {.code = kMuve,
     .model = "MUVE",
     .buttonCaption = "MUVE",
     .buttonOrder = 2,
     .infoText = QT_TRANSLATE_NOOP("Products", "Funkrepeater zur Vergrößerung der Funkreichweite"),
     .extension = ".Muve",
     .fileTypeText = QT_TRANSLATE_NOOP("Products", "MUVE Konfigurationsdatei"),
     .defaultFileWord = "MUVE",
     .writeDefaultMenu = "mnuWriteDefaultMuve",
     .writeDefaultText = QT_TRANSLATE_NOOP("Products", "Schreibe ,Default MUVE' in Gerät"),
     .family = ProductFamily::Classic,
     .layouts = kEveryClassicLayout,
     .variant = Variant::Muve2,
     .variantV1x = Variant::Muve1,
     .saveFilterIndex = 3,
     .saveFilterLabel = "MUVE (*.muve)",
     .ownCodeAddress = kFixedCodesAddress,
     .longSerial = false,
     .writtenMarker = -1,
     .signedCarrierSense = false,
     .frequencyRegionText = false,
     .delayJumpers = true,
     .v1xJumpers = true,
     .v1xSharedInputs = false,
     .v1xActionCodes = V1xActionCodes::Repeated,
     .txActionCodesV2x = true,
     .positions = false,
     .radioInputs = true,
     .wiredInputs = false},
    {.code = kDorf,
     .model = "DORF",
     .buttonCaption = "DORF",
     .buttonOrder = 5,
     .infoText = QT_TRANSLATE_NOOP("Products", "Funkempfänger mit verkabeltem Ausgang"),
     .extension = ".Dorf",
     .fileTypeText = QT_TRANSLATE_NOOP("Products", "DORF Konfigurationsdatei"),
     .defaultFileWord = "DORF",
     .writeDefaultMenu = "mnuWriteDefaultDorf",
     .writeDefaultText = QT_TRANSLATE_NOOP("Products", "Schreibe ,Default DORF' in Gerät"),
     .family = ProductFamily::Classic,
     .layouts = kEveryClassicLayout,
     .variant = Variant::Dorf2,
     .variantV1x = Variant::Dorf1,
     .saveFilterIndex = 6,
     .saveFilterLabel = "DORF (*.dorf)",
     .ownCodeAddress = kFixedCodesAddress,
     .longSerial = false,
     .writtenMarker = -1,
     .signedCarrierSense = false,
     .frequencyRegionText = false,
     .delayJumpers = false,
     .v1xJumpers = false,
     .v1xSharedInputs = false,
     .v1xActionCodes = V1xActionCodes::None,
     .txActionCodesV2x = false,
     .positions = true,
     .radioInputs = true,
     .wiredInputs = false},
    {.code = kMuvePlus,
     .model = "MUVE+",
     .buttonCaption = "MUVE+",
     .buttonOrder = 3,
     .infoText = QT_TRANSLATE_NOOP("Products", "Dualband Funkrepaeter zur Vergrößerung der Funkreichweite"),
     .extension = ".Muveplus",
     .fileTypeText = QT_TRANSLATE_NOOP("Products", "MUVE+ Konfigurationsdatei"),
     .defaultFileWord = "MUVEPLUS",
     .writeDefaultMenu = nullptr,
     .writeDefaultText = nullptr,
     .family = ProductFamily::Plus,
     .layouts = Layouts({kVersionPlus}),
     .variant = Variant::MuvePlus,
     .variantV1x = Variant::None,
     .saveFilterIndex = 4,
     .saveFilterLabel = "MUVE+ (*.muveplus)",
     .ownCodeAddress = kPlusOwnCodeAddress,
     .longSerial = false,
     .writtenMarker = -1,
     .signedCarrierSense = false,
     .frequencyRegionText = false,
     .delayJumpers = false,
     .v1xJumpers = false,
     .v1xSharedInputs = false,
     .v1xActionCodes = V1xActionCodes::None,
     .txActionCodesV2x = false,
     .positions = false,
     .radioInputs = true,
     .wiredInputs = false},
    {.code = kMuvePlus2,
     .model = "MUVE+ II",
     .buttonCaption = "MUVE+ II",
     .buttonOrder = 4,
     .infoText = QT_TRANSLATE_NOOP("Products", "Dualband Funkrepaeter zur Vergrößerung der Funkreichweite"),
     .extension = ".Muveplus2",
     .fileTypeText = QT_TRANSLATE_NOOP("Products", "MUVE+ II Konfigurationsdatei"),
     .defaultFileWord = "MUVEPLUS2",
     .writeDefaultMenu = nullptr,
     .writeDefaultText = nullptr,
     .family = ProductFamily::Plus,
     .layouts = Layouts({kVersionPlus}),
     .variant = Variant::MuvePlus2,
     .variantV1x = Variant::None,
     .saveFilterIndex = 5,
     .saveFilterLabel = "MUVE+ II (*muveplus2)",
     .ownCodeAddress = kPlusOwnCodeAddress,
     .longSerial = true,
     .writtenMarker = 0xE2,
     .signedCarrierSense = true,
     .frequencyRegionText = true,
     .delayJumpers = false,
     .v1xJumpers = false,
     .v1xSharedInputs = false,
     .v1xActionCodes = V1xActionCodes::None,
     .txActionCodesV2x = false,
     .positions = false,
     .radioInputs = true,
     .wiredInputs = false},
#ifdef ZAL_EXAMPLE_PRODUCT
    // KARO: a product of the older family made in layout V22 alone, that behaves as a ZAL (its columns
    // in the rules are ZAL's). Built for the tests only.
    {.code = 6,
     .model = "KARO",
     .buttonCaption = "KARO",
     .buttonOrder = 6,
     .infoText = QT_TRANSLATE_NOOP("Products", "Sende/Empfänger wie ZAL, nur in Version V22"),
     .extension = ".Karo",
     .fileTypeText = QT_TRANSLATE_NOOP("Products", "KARO Konfigurationsdatei"),
     .defaultFileWord = "KARO",
     .writeDefaultMenu = "mnuWriteDefaultKaro",
     .writeDefaultText = QT_TRANSLATE_NOOP("Products", "Schreibe ,Default KARO' in Gerät"),
     .family = ProductFamily::Classic,
     .layouts = Layouts({kVersionV22}),
     .variant = Variant::Zal2,
     .variantV1x = Variant::None,
     .saveFilterIndex = 7,
     .saveFilterLabel = "KARO (*.karo)",
     .ownCodeAddress = kFixedCodesAddress,
     .longSerial = false,
     .writtenMarker = -1,
     .signedCarrierSense = false,
     .frequencyRegionText = false,
     .delayJumpers = true,
     .v1xJumpers = false,
     .v1xSharedInputs = false,
     .v1xActionCodes = V1xActionCodes::None,
     .txActionCodesV2x = true,
     .positions = true,
     .radioInputs = true,
     .wiredInputs = true},
#endif
};

constexpr LayoutVersion kClassicVersions[] = {
    {kVersionV1x, "V1X", "V1.x"},
    {kVersionV20, "V20", "V20.xx"},
    {kVersionV21, "V21", "V21.xx"},
    {kVersionV22, "V22", "V22.xx"},
};

} // namespace

std::span<const ProductInfo> Products() {
    return kProducts;
}

const ProductInfo* FindProduct(int code) {
    const auto it = std::find_if(std::begin(kProducts), std::end(kProducts),
                                 [code](const ProductInfo& p) { return p.code == code; });
    return it == std::end(kProducts) ? nullptr : it;
}

bool IsPlusProduct(int code) {
    const ProductInfo* p = FindProduct(code);
    return p && p->family == ProductFamily::Plus;
}

bool IsClassicProduct(int code) {
    const ProductInfo* p = FindProduct(code);
    return p && p->family == ProductFamily::Classic;
}

std::span<const LayoutVersion> ClassicVersions() {
    return kClassicVersions;
}

const LayoutVersion* FindClassicVersion(int code) {
    if (code == 0xFF)
        code = kVersionV1x;
    const auto it = std::find_if(std::begin(kClassicVersions), std::end(kClassicVersions),
                                 [code](const LayoutVersion& v) { return v.code == code; });
    return it == std::end(kClassicVersions) ? nullptr : it;
}

bool HasPositions(int product, int version) {
    const ProductInfo* p = FindProduct(product);
    return p && p->positions && version == kVersionV22;
}

bool HasLayout(int product, int version) {
    const ProductInfo* p = FindProduct(product);
    if (!p)
        return false;
    return (p->layouts & LayoutBit(version)) != 0;
}

std::vector<int> LayoutsOf(int product) {
    std::vector<int> versions;
    for (const int version : {kVersionV1x, kVersionV20, kVersionV21, kVersionV22, kVersionPlus}) {
        if (HasLayout(product, version))
            versions.push_back(version);
    }
    return versions;
}

int NewestLayout(int product) {
    for (const int version : {kVersionPlus, kVersionV22, kVersionV21, kVersionV20, kVersionV1x}) {
        if (HasLayout(product, version))
            return version;
    }
    return kVersionInvalid;
}

QString LayoutNames(int product) {
    if (IsPlusProduct(product))
        return QStringLiteral("V1");
    QStringList names;
    for (const LayoutVersion& v : kClassicVersions) {
        if (HasLayout(product, v.code))
            names << (v.code == kVersionV1x ? QStringLiteral("V1.x") : QLatin1String(v.defaultSuffix));
    }
    return names.join(QLatin1String(", "));
}

QString ProductText(const char* text) {
    return text && *text ? QCoreApplication::translate("Products", text) : QString();
}

QString DefaultImageFileName(const QString& productWord, const QString& suffix) {
    return QStringLiteral("Default %1 %2.bin").arg(productWord, suffix);
}

Variant VariantOf(int product, int version) {
    const ProductInfo* p = FindProduct(product);
    if (!p)
        return Variant::None;
    if (p->family == ProductFamily::Plus)
        return p->variant;
    if (!HasLayout(product, version))
        return Variant::None;
    if (version == kVersionV1x)
        return p->variantV1x;
    return IsV2x(version) ? p->variant.get() : Variant::None;
}

QString SaveFilter() {
    std::vector<const ProductInfo*> rows;
    for (const ProductInfo& p : kProducts)
        rows.push_back(&p);
    std::sort(rows.begin(), rows.end(), [](const ProductInfo* a, const ProductInfo* b) {
        return a->saveFilterIndex < b->saveFilterIndex;
    });
    QStringList entries;
    for (const ProductInfo* p : rows)
        entries << QString::fromUtf8(p->saveFilterLabel.get())
                << u'*' + QString::fromLatin1(p->extension.get()).toLower();
    return entries.join(u'|');
}

QString ConfigurationPatterns() {
    QStringList lower, asWritten;
    for (const ProductInfo& p : kProducts) {
        lower << u'*' + QString::fromLatin1(p.extension.get()).toLower();
        asWritten << u'*' + QString::fromLatin1(p.extension.get());
    }
    return (lower + asWritten).join(u' ');
}

const ProductInfo* DefaultWriteProduct(const QString& word) {
    for (const ProductInfo& p : kProducts) {
        if (p.writeDefaultMenu && word.compare(QLatin1String(p.defaultFileWord), Qt::CaseInsensitive) == 0)
            return &p;
    }
    return nullptr;
}

int DefaultProduct() {
    return kBora;
}

const ProductInfo& ProductRow(int code) {
    static constexpr ProductInfo kUnknown{.code = 0,
                                          .model = "",
                                          .buttonCaption = "",
                                          .buttonOrder = -1,
                                          .infoText = "",
                                          .extension = "",
                                          .fileTypeText = "",
                                          .defaultFileWord = "",
                                          .writeDefaultMenu = nullptr,
                                          .writeDefaultText = nullptr,
                                          .family = ProductFamily::Classic,
                                          .layouts = 0,
                                          .variant = Variant::None,
                                          .variantV1x = Variant::None,
                                          .saveFilterIndex = 0,
                                          .saveFilterLabel = "",
                                          .ownCodeAddress = kFixedCodesAddress,
                                          .longSerial = false,
                                          .writtenMarker = -1,
                                          .signedCarrierSense = false,
                                          .frequencyRegionText = false,
                                          .delayJumpers = false,
                                          .v1xJumpers = false,
                                          .v1xSharedInputs = false,
                                          .v1xActionCodes = V1xActionCodes::None,
                                          .txActionCodesV2x = false,
                                          .positions = false,
                                          .radioInputs = false,
                                          .wiredInputs = false};
    const ProductInfo* p = FindProduct(code);
    return p ? *p : kUnknown;
}

std::vector<AddressRange> WriteRanges(int product) {
    if (IsPlusProduct(product))
        return {{0x20, 0x92}, {0x96, 0xE0}, {0xF6, 0xF6}};
    return {{0x00, 0x0F}, {0x1F, 0x6D}, {0x70, 0xF6}};
}

std::vector<AddressRange> VerifiedRanges(int product) {
    if (IsPlusProduct(product))
        return {{0x20, 0xE0}, {0xF6, 0xF6}};
    return WriteRanges(product);
}

std::vector<AddressRange> KeptByDevice(int product) {
    if (!IsPlusProduct(product))
        return {};
    std::vector<AddressRange> kept{{0x00, 0x1F}, {0x93, 0x95}, {0xF0, 0xF5}, {0xF7, 0xFF}};
    // A long serial (the radio ID in the long protocol) lies inside a written range: it goes out as
    // the device has it, never as the file that was opened has it.
    if (HasLongSerial(product))
        kept.push_back(kPlus2LongSerialBytes);
    return kept;
}

std::vector<AddressRange> IdentificationRanges() {
    return {{0x00, 0x1F}, {0x93, 0x95}, {0xF0, 0xFF}};
}

std::vector<AddressRange> IdentificationRanges(int product) {
    std::vector<AddressRange> ranges = IdentificationRanges();
    if (HasLongSerial(product))
        ranges.push_back(kPlus2LongSerialBytes);
    return ranges;
}

std::vector<AddressRange> DefaultWriteRanges() {
    std::vector<AddressRange> ranges = WriteRanges(DefaultProduct());
    ranges.push_back({0xF8, 0xF9});
    return ranges;
}

int WrittenMarkerAddress(int product) {
    const ProductInfo* p = FindProduct(product);
    return p ? p->writtenMarker.get() : -1;
}

bool HasLongSerial(int product) {
    const ProductInfo* p = FindProduct(product);
    return p && p->longSerial;
}

} // namespace zal
