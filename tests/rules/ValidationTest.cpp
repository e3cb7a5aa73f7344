#include "rules/Validation.h"
#include "config/Products.h"
#include "support/EditorFixture.h"

#include <gtest/gtest.h>

using namespace zal;
using namespace zal::test;

namespace {

// Types a text key by key into a field, as a technician does.
// Types into a field with the messages of earlier steps cleared.
QString Type(EditorFixture& fx, const char* name, const QString& text) {
    fx.f(name); // the field must exist before anything is cleared
    fx.e().form().replaceText(fx.f(name), QString());
    fx.dialogs.clear();
    return fx.Type(name, text);
}

struct RangeCase {
    int product, version;
    const char* field;
    const char* typed;
    const char* result; // the field's text afterwards
    int message;        // 0: none
};

void PrintTo(const RangeCase& c, std::ostream* out) {
    *out << c.product << "/" << c.version << " " << c.field << "=" << c.typed;
}

class RangeChecks : public ::testing::TestWithParam<RangeCase> {};

TEST_P(RangeChecks, AtTheLimitAndOnePast) {
    const RangeCase& c = GetParam();
    EditorFixture fx;
    fx.New(c.product, c.version);
    EXPECT_EQ(Type(fx, c.field, QLatin1String(c.typed)), QLatin1String(c.result));
    if (c.message)
        EXPECT_EQ(fx.dialogs.ids(), std::vector<int>{c.message});
    else
        EXPECT_TRUE(fx.dialogs.shown.empty()) << fx.dialogs.shown.front().text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Table, RangeChecks,
    ::testing::Values(RangeCase{kZal, 0x22, "edtNoShortTransm", "255", "255", 0},
                      RangeCase{kZal, 0x22, "edtNoShortTransm", "300", "255", 10680},
                      RangeCase{kZal, 0x22, "edtNoLongTransm", "256", "255", 10681},
                      RangeCase{kMuvePlus, 1, "edtTestAlarmInterval", "500", "500", 0},
                      RangeCase{kMuvePlus, 1, "edtTestAlarmInterval", "501", "500", 10675},
                      RangeCase{kBora, 0x22, "edtTestAlarmInterval", "255", "255", 0},
                      RangeCase{kBora, 0x22, "edtTestAlarmInterval", "256", "255", 10675},
                      RangeCase{kZal, 0x22, "edtPulseActivationTime", "3600", "3600", 0},
                      RangeCase{kZal, 0x22, "edtPulseActivationTime", "3601", "3600", 10679},
                      RangeCase{kZal, 0x00, "edtPulseActivationTime", "25,5", "25,5", 0},
                      RangeCase{kZal, 0x00, "edtPulseActivationTime", "25,6", "25,5", 10679},
                      RangeCase{kBora, 0x22, "edtWiredThreshold4", "3", "3", 0},
                      RangeCase{kBora, 0x22, "edtWiredThreshold4", "3,1", "3,0", 10672},
                      RangeCase{kZal, 0x21, "edtWiredThreshold5", "4", "3,0", 10673},
                      RangeCase{kZal, 0x22, "edtBatteryChargeDuration", "256", "255", 10676},
                      RangeCase{kZal, 0x22, "edtOutPassageDelay", "256", "255", 10677},
                      RangeCase{kZal, 0x22, "edtInPassageDelay", "999", "255", 10678},
                      RangeCase{kZal, 0x22, "edtDelay", "6553,4", "6553,4", 0},
                      RangeCase{kZal, 0x22, "edtDelay", "6553,5", "6553", 10682},
                      RangeCase{kZal, 0x22, "edtMaxNoOfHops", "15", "15", 0},
                      RangeCase{kZal, 0x22, "edtMaxNoOfHops", "16", "15", 10683},
                      RangeCase{kZal, 0x22, "edtMaxNoOfHops", "0", "1", 10683},
                      RangeCase{kZal, 0x20, "edtSameCodeInhibitTime", "255", "255", 0},
                      RangeCase{kZal, 0x20, "edtSameCodeInhibitTime", "256", "255", 10684},
                      RangeCase{kZal, 0x21, "edtSameCodeInhibitTime", "3600", "3600", 0},
                      RangeCase{kZal, 0x22, "edtSameCodeInhibitTime", "3601", "3600", 10685},
                      RangeCase{kMuvePlus2, 1, "edtSameCodeInhibitTime", "3601", "3600", 10685},
                      RangeCase{kZal, 0x22, "edtDementiaBlockTime", "3601", "3600", 10686},
                      RangeCase{kMuvePlus, 1, "edtBatteryAlarmInterval", "501", "500", 10689},
                      RangeCase{kMuvePlus, 1, "edtLowBatteryThreshold", "6", "6", 0},
                      RangeCase{kMuvePlus, 1, "edtLowBatteryThreshold", "6,1", "6,0", 10690},
                      RangeCase{kMuvePlus, 1, "edtCarrierSenseThresholdValue", "31", "31", 0},
                      RangeCase{kMuvePlus, 1, "edtCarrierSenseThresholdValue", "32", "31", 10691},
                      RangeCase{kMuvePlus2, 1, "edtCarrierSenseThresholdValue", "127", "127", 0},
                      RangeCase{kMuvePlus2, 1, "edtCarrierSenseThresholdValue", "128", "127", 10695},
                      RangeCase{kMuvePlus2, 1, "edtCarrierSenseThresholdValue", "-129", "-128", 10695},
                      RangeCase{kMuvePlus, 1, "edtCarrierSenseThresholdValue", "-5", "5",
                                0}, // no minus key for MUVE+
                      RangeCase{kZal, 0x22, "edtInhibitRelayAfterPersonnell", "25", "25", 0},
                      RangeCase{kZal, 0x22, "edtInhibitRelayAfterPersonnell", "25,1", "25,0", 10692},
                      RangeCase{kZal, 0x22, "edtEquipmentType", "256", "", 10693},
                      RangeCase{kBora, 0x22, "edtWiredAutoResetTimer3", "6553", "6553", 0},
                      RangeCase{kBora, 0x22, "edtWiredAutoResetTimer3", "6554", "6553", 10694},
                      RangeCase{kMuvePlus, 1, "edtActionTransmissionDelayPos2", "3600", "3600", 0},
                      RangeCase{kMuvePlus, 1, "edtActionTransmissionDelayPosA", "3601", "3600,0", 10682}),
    [](const auto& info) { return std::to_string(info.index); });

TEST(Validation, NoRangeCheckWhereTheFieldIsNotInUseOrTheVersionHasNone) {
    EditorFixture fx;
    fx.New(kZal, 0x00);
    EXPECT_EQ(Type(fx, "edtSameCodeInhibitTime", QStringLiteral("999")), QStringLiteral("999"));
    EXPECT_TRUE(fx.dialogs.shown.empty());
    fx.New(kMuve, 0x22); // passage delays are not in use for a MUVE
    EXPECT_EQ(Type(fx, "edtOutPassageDelay", QStringLiteral("999")), QStringLiteral("999"));
    EXPECT_TRUE(fx.dialogs.shown.empty());
}

TEST(Validation, ADecimalThatDoesNotParseIsReportedAndKept) {
    EditorFixture fx;
    fx.New(kZal, 0x22);
    EXPECT_EQ(Type(fx, "edtPulseActivationTime", QStringLiteral(",")), QStringLiteral(","));
    ASSERT_EQ(fx.dialogs.shown.size(), 1u);
    EXPECT_EQ(fx.dialogs.shown[0].kind, MessageKind::Error);
    EXPECT_TRUE(fx.dialogs.shown[0].text.contains(QStringLiteral("kein gültiger Gleitkommawert")));
}

TEST(Validation, IncompleteRadioCodesAreReportedOnLeaving) {
    EditorFixture fx;
    fx.New(kZal, 0x22);
    Type(fx, "edtRxCodePos1", QStringLiteral("12A"));
    fx.e().form().leave(fx.f("edtRxCodePos1"));
    EXPECT_EQ(fx.dialogs.ids(), std::vector<int>{10671});
    EXPECT_EQ(fx.f("edtRxCodePos1").text, QStringLiteral("12A"));
    Type(fx, "edtRxCodePos1", QString());
    fx.e().form().leave(fx.f("edtRxCodePos1"));
    EXPECT_TRUE(fx.dialogs.shown.empty());
    // Four characters at the most, and only hexadecimal digits.
    EXPECT_EQ(Type(fx, "edtRxCodePos2", QStringLiteral("1g2H3a4b")), QStringLiteral("123a"));
}

TEST(Validation, KeyFiltersPerFieldFamily) {
    const QChar comma(u','), point(u'.');
    for (QChar key : {QChar(u'0'), QChar(u'9'), QChar(8), QChar(3), QChar(22), QChar(24)}) {
        EXPECT_TRUE(IsNumericKey(key, false));
        EXPECT_TRUE(IsDecimalKey(key, comma));
        EXPECT_TRUE(IsWholeNumberKey(key));
    }
    for (QChar key : {QChar(u'a'), QChar(u' '), QChar(u'+'), QChar(13)}) {
        EXPECT_FALSE(IsNumericKey(key, true));
        EXPECT_FALSE(IsDecimalKey(key, comma));
    }
    EXPECT_TRUE(IsNumericKey(QChar(u'-'), true));
    EXPECT_FALSE(IsNumericKey(QChar(u'-'), false));
    EXPECT_TRUE(IsDecimalKey(comma, comma));
    EXPECT_FALSE(IsDecimalKey(point, comma));
    EXPECT_TRUE(IsDecimalKey(point, point));
}

TEST(Validation, JumperBoxesSwitchTheirFieldsOnlyWhileInUse) {
    EditorFixture fx;
    fx.New(kMuve, 0x22); // the MUVE default uses the jumpers
    ASSERT_TRUE(fx.f("cbDelayUseJumpers").checked);
    fx.e().form().click(fx.f("cbDelayUseJumpers"));
    EXPECT_TRUE(fx.f("edtDelay").enabled);
    EXPECT_EQ(fx.f("edtDelay").text, QString());
    fx.e().form().click(fx.f("cbDelayUseJumpers"));
    EXPECT_FALSE(fx.f("edtDelay").enabled);
    EXPECT_EQ(fx.f("edtDelay").text, QStringLiteral("---"));
}

TEST(Validation, ListenBeforeTransmitSwitchesTheCarrierSenseOfMuvePlus2) {
    EditorFixture fx;
    fx.New(kMuvePlus2, 1);
    ConfigImage image = fx.e().working();
    image[0x92] = 0;
    fx.Open(image);
    EXPECT_FALSE(fx.f("edtCarrierSenseThresholdValue").enabled);
    fx.e().form().click(fx.f("cbListenBeforeTransmit"));
    EXPECT_TRUE(fx.f("edtCarrierSenseThresholdValue").enabled);
    fx.New(kMuvePlus, 1);
    fx.e().form().click(fx.f("cbListenBeforeTransmit"));
    EXPECT_TRUE(fx.f("edtCarrierSenseThresholdValue").enabled);
}

} // namespace
