// The older products' map: product information, and the K-ORBA positions of ZAL and DORF V22.

#include "ClassicPages.h"
#include "config/Identification.h"
#include "form/FieldNames.h"
#include "radio/DeviceIdentity.h"
#include "radio/RadioCode.h"

#include <cmath>

namespace zal {
namespace {

void FillProductInfo(MapContext& c) {
    ShowProductIdentity(c);
    Field& regions = c.f("cbbxFrequencyRegion");
    const int region = IndexOfValue(regions.list.values, c.image[kFrequencyRegionAddress]);
    c.form.setIndex(regions, region);
    c.setText(c.f("edtFrequencyRegion"), region >= 0 ? regions.list.items[region] : QStringLiteral("---"));
    c.setText(c.f("edtSerialNumber"), IdentifyDevice(c.image, c.product).shownSerial);
    c.setText(c.f("edtRadioCalibration"), QString::number(c.image[kRadioCalibrationAddress]));
}

// A group's fields are in use together: the first one's mark speaks for all eight.
void FillPositions(MapContext& c) {
    const bool codes = c.f("edtPosCode1").mark == 1;
    for (int n = 1; n <= kPositionCount; ++n) {
        const int a = kPositionCodesAddress + 2 * (n - 1);
        c.setText(c.f(QStringLiteral("edtPosCode%1").arg(n)),
                  codes ? CodeToText(c.image[a], c.image[a + 1]) : QStringLiteral("---"));
    }
    const bool types = c.f("cbbxPosType1").mark == 1;
    const bool relays = c.f("cbbxPosRelay1").mark == 1;
    // All eight types before the eight relays, so that the last fault reported is that of the relays.
    for (int n = 1; n <= kPositionCount; ++n) {
        const int a = kPositionTypesAddress + n - 1;
        c.selectStored(c.f(QStringLiteral("cbbxPosType%1").arg(n)), types ? c.image[a] : 0, types ? a : -1);
    }
    for (int n = 1; n <= kPositionCount; ++n) {
        const int a = kPositionRelaysAddress + n - 1;
        c.selectStored(c.f(QStringLiteral("cbbxPosRelay%1").arg(n)), relays ? c.image[a] : 0,
                       relays ? a : -1);
    }
    Field& inhibit = c.f("edtInhibitRelayAfterPersonnell");
    c.setText(inhibit, inhibit.mark == 1 ? c.decimal(c.image[kPersonnelInhibitAddress] * 0.1, 1)
                                         : QStringLiteral("---"));
}

void CollectProductInfo(MapContext& c) {
    // The product code must never be lost: without a selection the image keeps its own byte.
    const int product = c.f("cbbxProductName").value();
    if (product >= 0)
        c.image[kProductCodeAddress] = static_cast<std::uint8_t>(product & 0xFF);
    const Field& equipment = c.f("edtEquipmentType");
    if (equipment.mark == 1)
        c.image[kEquipmentTypeAddress] =
            static_cast<std::uint8_t>(MapContext::ParseLenient(equipment.text) & 0xFF);
    const int serial = MapContext::ParseLenient(c.f("edtSerialNumber").text);
    c.image[kSerialAddress] = static_cast<std::uint8_t>((serial >> 16) & 0xFF);
    c.image[kSerialAddress + 1] = static_cast<std::uint8_t>((serial >> 8) & 0xFF);
    c.image[kSerialAddress + 2] = static_cast<std::uint8_t>(serial & 0xFF);
    c.image[kRadioCalibrationAddress] =
        static_cast<std::uint8_t>(MapContext::ParseLenient(c.f("edtRadioCalibration").text) & 0xFF);
}

void CollectPositions(MapContext& c) {
    if (c.f("edtPosCode1").mark == 1) {
        for (int n = 1; n <= kPositionCount; ++n)
            WriteU16BE(c.image, kPositionCodesAddress + 2 * (n - 1),
                       TextToCode(c.f(QStringLiteral("edtPosCode%1").arg(n)).text));
    }
    if (c.f("cbbxPosType1").mark == 1) {
        for (int n = 1; n <= kPositionCount; ++n)
            c.storeSelected(c.f(QStringLiteral("cbbxPosType%1").arg(n)), kPositionTypesAddress + n - 1);
    }
    if (c.f("cbbxPosRelay1").mark == 1) {
        for (int n = 1; n <= kPositionCount; ++n)
            c.storeSelected(c.f(QStringLiteral("cbbxPosRelay%1").arg(n)), kPositionRelaysAddress + n - 1);
    }
    const Field& inhibit = c.f("edtInhibitRelayAfterPersonnell");
    if (inhibit.mark == 1) {
        // Divided by the double nearest 0.1 in extended precision, the quotient rounded to a double: so
        // every text the fill shows gives back its byte (in plain double 2,3 would give 22).
        const double quotient =
            static_cast<double>(c.parseDecimalExtended(inhibit) / static_cast<long double>(0.1));
        c.image[kPersonnelInhibitAddress] =
            static_cast<std::uint8_t>(static_cast<long long>(std::trunc(quotient)) & 0xFF);
    }
}

} // namespace

std::vector<Step> ProductInfoAndPositionSteps() {
    return {
        Both("product information", FillProductInfo, CollectProductInfo),
        Both("K-ORBA positions", FillPositions, CollectPositions),
    };
}

} // namespace zal
