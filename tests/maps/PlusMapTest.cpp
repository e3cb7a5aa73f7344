#include "config/ImageChecksum.h"
#include "config/Products.h"
#include "radio/RadioCode.h"
#include "rules/EditorRules.h"
#include "support/EditorFixture.h"

#include <QDate>

#include <gtest/gtest.h>

using namespace zal;
using namespace zal::test;

namespace {

class PlusMap : public ::testing::Test {
protected:
    void OpenVariant(int product, const std::function<void(ConfigImage&)>& change) {
        fx.New(product, 1);
        ConfigImage image = fx.e().working();
        change(image);
        fx.dialogs.clear();
        ASSERT_TRUE(fx.Open(image));
        opened = image;
    }
    ConfigImage Collected() { return fx.Collected(); }
    void Type(const char* name, const QString& text) { fx.Type(name, text); }

    EditorFixture fx;
    ConfigImage opened{};
};

TEST_F(PlusMap, IntervalsInMinutesOrHours) {
    const struct {
        int minutes;
        const char* shown;
        int units;
        int collected;
    } cases[] = {
        {90, "90", 0, 90}, {120, "2", 1, 120}, {510, "8", 1, 480}, {500, "500", 0, 500}, {60, "1", 1, 60}};
    for (const auto& c : cases) {
        OpenVariant(kMuvePlus,
                    [&](ConfigImage& i) { WriteU16BE(i, 0xA4, static_cast<std::uint16_t>(c.minutes)); });
        EXPECT_EQ(fx.f("edtBatteryAlarmInterval").text, QLatin1String(c.shown));
        EXPECT_EQ(fx.f("cbbxBatteryAlarmIntervalUnits").value(), c.units);
        EXPECT_EQ(ReadU16BE(Collected(), 0xA4), c.collected);
    }
}

TEST_F(PlusMap, QuarterSecondRules) {
    OpenVariant(kMuvePlus, [](ConfigImage& i) {
        WriteU16BE(i, 0x84, 5);
        WriteU16BE(i, 0x60, 5);
    });
    EXPECT_EQ(fx.f("edtSameCodeInhibitTime").text, QStringLiteral("1"));
    EXPECT_EQ(fx.f("edtActionTransmissionDelayPos1").text, QStringLiteral("1,25"));
    EXPECT_EQ(ReadU16BE(Collected(), 0x84), 4);
    const struct {
        const char* text;
        int quarters;
    } delays[] = {{"1,3", 5}, {"1,4", 6}, {"1,375", 6}, {"0", 0}, {"3600", 14400}};
    for (const auto& c : delays) {
        fx.e().form().setText(fx.f("edtActionTransmissionDelayPos3"), QLatin1String(c.text));
        EXPECT_EQ(ReadU16BE(Collected(), 0x64), c.quarters) << c.text;
    }
}

TEST_F(PlusMap, LowBatteryThresholdCutsTheFraction) {
    OpenVariant(kMuvePlus2, [](ConfigImage&) {});
    for (const auto& [text, byte] : {std::pair{"3,5", 35}, std::pair{"3,59", 35}, std::pair{"6", 60}}) {
        fx.e().form().setText(fx.f("edtLowBatteryThreshold"), QLatin1String(text));
        EXPECT_EQ(Collected()[0xA6], byte) << text;
    }
}

TEST_F(PlusMap, CarrierSenseIsSignedOnlyForMuvePlus2) {
    OpenVariant(kMuvePlus2, [](ConfigImage& i) {
        i[0xF6] = 0xB0;
        i[0x92] = 1;
    });
    EXPECT_EQ(fx.f("edtCarrierSenseThresholdValue").text, QStringLiteral("-80"));
    Type("edtCarrierSenseThresholdValue", QStringLiteral("-80"));
    EXPECT_EQ(Collected()[0xF6], 0xB0);
    // The map shows a MUVE+ byte unsigned; the field's range check (0-31) then holds it at 31, as the
    // fill's change of the text runs the check.
    FormModel bare;
    BuildValueLists(bare, kMuvePlus, 1, fx.e().folders().settings());
    ApplyEnablingRules(bare, kMuvePlus, 1);
    ConfigImage raw = fx.Default(kMuvePlus, 1);
    raw[0xF6] = 0xB0;
    MapContext context(bare, raw, kMuvePlus, 1, fx.e().locale());
    FillPlus(context, {});
    EXPECT_EQ(bare["edtCarrierSenseThresholdValue"].text, QStringLiteral("176"));
    OpenVariant(kMuvePlus, [](ConfigImage& i) { i[0xF6] = 0xB0; });
    EXPECT_EQ(fx.dialogs.ids(), std::vector<int>{10691});
    EXPECT_EQ(fx.f("edtCarrierSenseThresholdValue").text, QStringLiteral("31"));
}

TEST_F(PlusMap, DeviceRadioIdShortAndLong) {
    OpenVariant(kMuvePlus2, [](ConfigImage& i) {
        i[0x94] = 2;
        i[0xC8] = 0x12;
        i[0xC9] = 0x34;
        i[0xCA] = 0x56;
        i[0xFE] = 0x78;
        i[0xFF] = 0x9A;
    });
    EXPECT_EQ(fx.f("edtDeviceRadioId").text, QStringLiteral("123456789A"));
    EXPECT_EQ(fx.f("edtSerialNumber").text, QStringLiteral("123456789A"));
    OpenVariant(kMuvePlus2, [](ConfigImage& i) {
        i[0x94] = 0;
        i[0x00] = 0x00;
        i[0x01] = 0x00;
    });
    EXPECT_EQ(fx.f("edtDeviceRadioId").text, QStringLiteral("0000"));
    OpenVariant(kMuvePlus, [](ConfigImage& i) {
        i[0x00] = 0x00;
        i[0x01] = 0x00;
    });
    EXPECT_EQ(fx.f("edtDeviceRadioId").text, QString());
}

TEST_F(PlusMap, TheLastFaultInFillOrderIsReported) {
    OpenVariant(kMuvePlus, [](ConfigImage& i) {
        i[0x40] = 0x77;
        i[0xA1] = 0x77;
    });
    EXPECT_EQ(fx.e().lastFault(), 0xA1);
    OpenVariant(kMuvePlus2, [](ConfigImage& i) {
        i[0x95] = 1;
        i[0x83] = 1;
    });
    EXPECT_EQ(fx.e().lastFault(), 0x95);
}

TEST_F(PlusMap, ActionCodesFromTheEightFixedCodes) {
    OpenVariant(kMuvePlus, [](ConfigImage& i) {
        i[0x40] = 255;
        i[0x41] = 3;
        i[0x42] = 0;
        i[0x4F] = 8;
    });
    EXPECT_EQ(fx.f("edtActionCodePos1").text, QStringLiteral("gleiche"));
    EXPECT_EQ(fx.f("edtActionCodePos2").text, CodeToText(opened[0x06], opened[0x07]));
    EXPECT_EQ(fx.f("edtActionCodePos3").text, QStringLiteral("----"));
    EXPECT_EQ(fx.f("edtActionCodePosA").text, CodeToText(opened[0x10], opened[0x11]));
    fx.e().form().selectIndex(fx.f("cbbxActionTxPos3"),
                              IndexOfValue(fx.f("cbbxActionTxPos3").list.values, 1));
    EXPECT_EQ(fx.f("edtActionCodePos3").text, CodeToText(opened[0x02], opened[0x03]));
}

TEST_F(PlusMap, ProductionDates) {
    const struct {
        std::array<std::uint8_t, 4> bcd;
        QString shown;
    } cases[] = {
        {{0x20, 0x19, 0x09, 0x05},
         QLocale(QLocale::German, QLocale::Germany).toString(QDate(2019, 9, 5), QLocale::ShortFormat)},
        {{0x19, 0x99, 0x01, 0x01}, QStringLiteral("---")},
        {{0x20, 0x21, 0x04, 0x31}, QStringLiteral("---")}, // 31 April
        {{0x20, 0x21, 0x13, 0x01}, QStringLiteral("---")},
        {{0x20, 0x2A, 0x01, 0x01},
         QLocale(QLocale::German, QLocale::Germany).toString(QDate(2000, 1, 1), QLocale::ShortFormat)},
    };
    for (const auto& c : cases) {
        OpenVariant(kMuvePlus,
                    [&](ConfigImage& i) { std::copy(c.bcd.begin(), c.bcd.end(), i.begin() + 0xF0); });
        EXPECT_EQ(fx.f("edtProductionDate").text, c.shown);
    }
}

TEST_F(PlusMap, AcknowledgeKeepsTwoBits) {
    for (int value = 0; value <= 3; ++value) {
        OpenVariant(kMuvePlus2, [](ConfigImage&) {});
        fx.e().form().selectIndex(fx.f("cbbxAcknowledge"), value);
        const ConfigImage image = Collected();
        const int expected[4][2] = {{0, 0}, {1, 1}, {0, 1}, {1, 0}};
        EXPECT_EQ(image[0x83], expected[value][0]);
        EXPECT_EQ(image[0x88], expected[value][1]);
        fx.Open(image, QStringLiteral("again"));
        EXPECT_EQ(fx.f("cbbxAcknowledge").value(), value);
    }
    // Old MUVE+ firmware (1.02 and below) keeps the value itself in 0x83.
    OpenVariant(kMuvePlus, [](ConfigImage& i) {
        i[0xFA] = 0x02;
        i[0x83] = 2;
        i[0x88] = 0;
    });
    EXPECT_EQ(fx.f("cbbxAcknowledge").value(), 2);
    // ... and gets it back there, so that a re-save keeps what the technician chose.
    for (int value = 0; value <= 3; ++value) {
        fx.e().form().selectIndex(fx.f("cbbxAcknowledge"),
                                  IndexOfValue(fx.f("cbbxAcknowledge").list.values, value));
        const ConfigImage saved = Collected();
        EXPECT_EQ(saved[0x83], value);
        EXPECT_EQ(saved[0x88], (std::array{0, 1, 1, 0}[static_cast<size_t>(value)]));
        fx.Open(saved, QStringLiteral("old"));
        EXPECT_EQ(fx.f("cbbxAcknowledge").value(), value);
    }
    OpenVariant(kMuvePlus, [](ConfigImage& i) {
        i[0xFA] = 0x03;
        i[0x83] = 0;
        i[0x88] = 1;
    });
    EXPECT_EQ(fx.f("cbbxAcknowledge").value(), 2);
}

// A read-only drop-down that shows no item is written back as the image had it.
TEST_F(PlusMap, UnknownProtocolsOfAMuvePlus2AreKept) {
    OpenVariant(kMuvePlus2, [](ConfigImage& i) {
        i[0x94] = 0x77;
        i[0x95] = 0x66;
    });
    EXPECT_EQ(fx.f("cbbxTransmissionProtocol").index, -1);
    const ConfigImage saved = Collected();
    EXPECT_EQ(saved[0x94], 0x77);
    EXPECT_EQ(saved[0x95], 0x66);
}

TEST_F(PlusMap, FrequenciesAndRegions) {
    OpenVariant(kMuvePlus2, [](ConfigImage&) {});
    EXPECT_EQ(fx.f("edtFrequencyRegion").text, QStringLiteral("869,2 MHz & 869,5 MHz"));
    OpenVariant(kMuvePlus2, [](ConfigImage& i) { i[0xC0] = 0; });
    EXPECT_EQ(fx.f("edtFrequencyRegion").text, QStringLiteral("---"));
    OpenVariant(kMuvePlus, [](ConfigImage& i) { i[0xFB] = 2; });
    EXPECT_EQ(fx.f("edtFrequencyRegion").text, QStringLiteral("Grossbritannien (869 MHz)"));
}

// Every address the map does not collect passes through, the checksum at 0xE0 among them.
TEST_F(PlusMap, OnlyCollectedAddressesChange) {
    for (int product : {kMuvePlus, kMuvePlus2}) {
        OpenVariant(product, [](ConfigImage& i) {
            for (int a : {0x12, 0x30, 0x48, 0x58, 0x70, 0x89, 0x93, 0x96, 0xA8, 0xE0, 0xE5, 0xF7})
                i[a] = 0x5A;
        });
        const ConfigImage image = Collected();
        const bool plus2 = product == kMuvePlus2;
        for (int a = 0; a < kImageSize; ++a) {
            const bool collected = (a >= 0x20 && a <= 0x2F) || (a >= 0x40 && a <= 0x47) || a == 0x4F ||
                                   (a >= 0x50 && a <= 0x57) || a == 0x5F || (a >= 0x60 && a <= 0x6F) ||
                                   a == 0x7E || a == 0x7F || (a >= 0x80 && a <= 0x88) || a == 0x90 ||
                                   a == 0x91 || a == 0x92 || (plus2 && (a == 0x94 || a == 0x95)) ||
                                   (a >= 0xA0 && a <= 0xA7) || a == 0xF6;
            if (!collected) {
                EXPECT_EQ(image[a], opened[a]) << product << " address " << a;
            }
        }
    }
}

} // namespace
