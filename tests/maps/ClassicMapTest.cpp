#include "config/Products.h"
#include "rules/EditorRules.h"
#include "support/EditorFixture.h"

#include <gtest/gtest.h>

using namespace zal;
using namespace zal::test;

namespace {

class ClassicMap : public ::testing::Test {
protected:
    // Opens a variant of the product's default image.
    void OpenVariant(int product, int version, const std::function<void(ConfigImage&)>& change) {
        fx.New(product, version);
        ConfigImage image = fx.e().working();
        change(image);
        ASSERT_TRUE(fx.Open(image));
        fx.dialogs.clear();
    }
    ConfigImage Collected() { return fx.Collected(); }
    void Type(const char* name, const QString& text) { fx.Type(name, text); }
    void Select(const char* name, int value) {
        Field& field = fx.f(name);
        fx.e().form().selectIndex(field, IndexOfValue(field.list.values, value));
    }

    EditorFixture fx;
};

TEST_F(ClassicMap, TheLastFaultInFillOrderIsReported) {
    fx.New(kZal, 0x22);
    ConfigImage image = fx.e().working();
    image[0x48] = 0x77; // transmitter of position 1
    image[0x25] = 0x77; // alarm type "Alle ID's", filled later
    fx.Open(image);
    EXPECT_EQ(fx.e().lastFault(), 0x25);
    ASSERT_EQ(fx.dialogs.ids(), std::vector<int>{10643});
    EXPECT_TRUE(fx.dialogs.shown[0].text.endsWith(
        QStringLiteral("(Der Wert 119 an der Adresse 37 ist nicht korrekt)")));
    // A drop-down left without selection by the fill collects as 0xFF.
    EXPECT_EQ(fx.f("cbbxActionTxPos1").index, -1);
    EXPECT_EQ(Collected()[0x48], 0xFF);

    // All eight K-ORBA position types are filled before the eight relays.
    image = fx.Default(kZal, 0x22);
    image[0xB7] = 0x77;
    image[0xC0] = 0x77;
    fx.Open(image, QStringLiteral("korba"));
    EXPECT_EQ(fx.e().lastFault(), 0xC0);

    // A read-only drop-down the fill could not select keeps the image's byte.
    OpenVariant(kBora, 0x22, [](ConfigImage& i) { i[0x49] = 0x77; }); // transmitter 2 of a BORA: read-only
    ASSERT_FALSE(fx.f("cbbxActionTxPos2").enabled);
    EXPECT_EQ(Collected()[0x49], 0x77);
}

TEST_F(ClassicMap, V1xPacksRelayAndTransmitterIntoOneByte) {
    OpenVariant(kZal, 0x00, [](ConfigImage& image) {
        image[0x38] = 0x06;
        image[0x3D] = 0x04; // position 6: bit 2 set, but positions 6-8 have no transmitter
    });
    EXPECT_EQ(fx.e().lastFault(), -1);
    EXPECT_EQ(fx.f("cbbxActionRelayPos1").value(), 2);
    EXPECT_EQ(fx.f("cbbxActionTxPos1").value(), 1);
    EXPECT_EQ(fx.f("cbbxActionTxPos6").value(), 0);
    EXPECT_EQ(fx.f("edtActionCodePos1").text, QStringLiteral("A001")); // the position's own fixed code
    ConfigImage image = Collected();
    EXPECT_EQ(image[0x38], 0x06);
    EXPECT_EQ(image[0x3D], 0x00); // collecting relay 6 clears the stray bit

    OpenVariant(kZal, 0x00, [](ConfigImage& i) { i[0x38] = 0x3E; });
    EXPECT_EQ(Collected()[0x38], 0x06); // bits 3-7 cleared
}

TEST_F(ClassicMap, V1xZalMirrorsPositionOneIntoTheFixedInput) {
    OpenVariant(kZal, 0x00, [](ConfigImage& image) { image[0x20] = 3; });
    EXPECT_EQ(fx.f("cbbxActionAlarmTypePos1").selectedText(), fx.f("cbbxWiredAlarmType1").selectedText());
    EXPECT_EQ(fx.f("cbbxActionAlarmTypePosF").selectedText(), QStringLiteral("Brandalarm"));
    Select("cbbxActionRelayPos1", 2);
    EXPECT_EQ(fx.f("cbbxActionRelayPosF").index, fx.f("cbbxActionRelayPos1").index);
    Select("cbbxWiredAlarmType1", 1);
    EXPECT_EQ(fx.f("cbbxActionAlarmTypePos1").selectedText(), QStringLiteral("Notruf"));
    EXPECT_EQ(fx.f("cbbxActionAlarmTypePosF").selectedText(), QStringLiteral("Notruf"));
    fx.Poke(0x36, 0x5A);
    fx.Poke(0x37, 0x5B);
    const ConfigImage image = Collected();
    EXPECT_EQ(image[0x36], 0x5A);
    EXPECT_EQ(image[0x37], 0x5B);
    EXPECT_EQ(image[0x38], 0x02);
}

TEST_F(ClassicMap, ActionCodesFollowTheTransmitters) {
    OpenVariant(kZal, 0x22, [](ConfigImage& image) {
        image[0x48 + 3] = 3; // position 4: its own fixed code
        image[0x48 + 6] = 2; // position 7: the first fixed code
        image[0x48 + 1] = 1; // position 2: unchanged
        image[0x47] = 2;     // "Alle ID's": the first fixed code
    });
    EXPECT_EQ(fx.f("edtActionCodePos4").text, QStringLiteral("A004"));
    EXPECT_EQ(fx.f("edtActionCodePos7").text, QStringLiteral("A001"));
    EXPECT_EQ(fx.f("edtActionCodePos2").text, QStringLiteral("gleiche"));
    EXPECT_EQ(fx.f("edtActionCodePosA").text, QStringLiteral("A001"));
    EXPECT_EQ(fx.f("edtActionCodePos1").text, QStringLiteral("----"));
    // RadioTx2 of positions 6-8 has no "own code" item; a stored 3 there finds no item and shows "----".
    Select("cbbxActionTxPos4", 0);
    EXPECT_EQ(fx.f("edtActionCodePos4").text, QStringLiteral("----"));

    OpenVariant(kBora, 0x22, [](ConfigImage& image) {
        image.fill(0);
        image[0xF8] = 1;
        image[0xF9] = 0x22;
        for (int a = 0x46; a <= 0x4F; ++a)
            image[a] = 3;
    });
    for (const char* code : {"edtActionCodePos1", "edtActionCodePos4", "edtActionCodePosA"})
        EXPECT_EQ(fx.f(code).text, QStringLiteral("----"));
}

TEST_F(ClassicMap, WiredCodesAndV1xWiredPacking) {
    OpenVariant(kZal, 0x00, [](ConfigImage& image) { image[0x58] = 0x0A; });
    EXPECT_EQ(fx.f("cbbxWiredRelay1").value(), 2);
    EXPECT_EQ(fx.f("cbbxWiredTx1").value(), 1);
    EXPECT_EQ(fx.f("edtWiredCode1").text, QStringLiteral("A001"));
    EXPECT_EQ(Collected()[0x58], 0x0A);

    OpenVariant(kZal, 0x22, [](ConfigImage& image) {
        image[0x6C] = 3;
        image[0x6B] = 2;
    });
    EXPECT_EQ(fx.f("edtWiredCode5").text, QStringLiteral("A005"));
    EXPECT_EQ(fx.f("edtWiredCode4").text, QStringLiteral("A001"));
    Select("cbbxWiredTx5", 0);
    EXPECT_EQ(fx.f("edtWiredCode5").text, QStringLiteral("----"));
}

TEST_F(ClassicMap, ThresholdsBothWays) {
    const struct {
        int byte;
        const char* shown;
    } fills[] = {{0x80, "1,5"}, {127, "1,5"}, {0, "0,0"}, {255, "3,0"}, {0x55, "1,0"}};
    for (const auto& c : fills) {
        OpenVariant(kBora, 0x22,
                    [&](ConfigImage& image) { image[0x40] = static_cast<std::uint8_t>(c.byte); });
        EXPECT_EQ(fx.f("edtWiredThreshold4").text, QLatin1String(c.shown));
    }
    const struct {
        const char* text;
        int byte;
    } collects[] = {{"1,5", 127}, {"3,1", 0xFF}, {"", 0}, {"3,0", 255}, {"0,1", 8}, {"2", 170}};
    for (const auto& c : collects) {
        OpenVariant(kBora, 0x22, [](ConfigImage&) {});
        fx.e().form().setText(fx.f("edtWiredThreshold4"), QLatin1String(c.text));
        EXPECT_EQ(Collected()[0x40], c.byte) << c.text;
    }
}

TEST_F(ClassicMap, AnAnalogueInputBlanksItsOutputsAndRestoresThem) {
    OpenVariant(kBora, 0x22, [](ConfigImage& image) {
        image[0x6B] = 3;    // input 4 sends its own fixed code
        image[0x23] = 2;    // alarm type of input 4
        image[0x5B] = 0x99; // relay byte of input 4 (BORA has no wired relay list: must stay as it is)
    });
    const int tx = fx.f("cbbxWiredTx4").index, alarm = fx.f("cbbxWiredAlarmType4").index;
    const QString code = fx.f("edtWiredCode4").text;
    ASSERT_EQ(code, QStringLiteral("B004"));
    Select("cbbxWiredInputType4", 3);
    for (const char* name : {"cbbxWiredRelay4", "cbbxWiredTx4", "cbbxWiredAlarmType4", "edtWiredCode4"}) {
        EXPECT_FALSE(fx.f(name).enabled) << name;
        EXPECT_EQ(fx.f(name).mark, 2) << name;
    }
    EXPECT_EQ(fx.f("cbbxWiredTx4").index, -1);
    EXPECT_EQ(fx.f("edtWiredCode4").text, QStringLiteral("----"));
    fx.Poke(0x6B, 0x42); // while analogue, the outputs' bytes are left alone
    const ConfigImage blanked = Collected();
    EXPECT_EQ(blanked[0x6B], 0x42);
    EXPECT_EQ(blanked[0x63], 3);

    Select("cbbxWiredInputType4", 1);
    EXPECT_EQ(fx.f("cbbxWiredTx4").index, tx);
    EXPECT_EQ(fx.f("cbbxWiredAlarmType4").index, alarm);
    EXPECT_EQ(fx.f("edtWiredCode4").text, code);
    EXPECT_TRUE(fx.f("cbbxWiredTx4").enabled);
    EXPECT_EQ(fx.f("cbbxWiredRelay4").mark, 1);
    EXPECT_FALSE(fx.f("cbbxWiredRelay4").enabled); // BORA's relay is read-only
}

TEST_F(ClassicMap, AutoResetTimers) {
    OpenVariant(kMuve, 0x22, [](ConfigImage& image) {
        for (int a = 0x76; a <= 0x7F; ++a)
            image[a] = 0x11;
    });
    EXPECT_EQ(fx.f("edtWiredAutoResetTimer3").text, QStringLiteral("---"));
    const ConfigImage muve = Collected();
    for (int a = 0x76; a <= 0x7F; ++a)
        EXPECT_EQ(muve[a], 0) << a;

    OpenVariant(kZal, 0x21, [](ConfigImage& image) {
        image[0x78] = 0x01;
        image[0x79] = 0x2C;
    });
    EXPECT_EQ(fx.f("edtWiredAutoResetTimer2").text, QStringLiteral("300"));
    fx.e().form().setText(fx.f("edtWiredAutoResetTimer2"), QStringLiteral("6000"));
    EXPECT_EQ(ReadU16BE(Collected(), 0x78), 6000);
    // A text that is not a whole number stops the collect; the image stays as it was.
    fx.e().form().setText(fx.f("edtWiredAutoResetTimer5"), QString());
    const ConfigImage before = fx.e().working();
    const std::optional<ConversionError> error = fx.e().CollectFields();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->fieldName, QStringLiteral("edtWiredAutoResetTimer5"));
    EXPECT_EQ(fx.e().working(), before);
}

TEST_F(ClassicMap, UnusedWiredPageOfMuveAndDorf) {
    OpenVariant(kDorf, 0x21, [](ConfigImage& image) {
        for (int a = 0x20; a <= 0x24; ++a)
            image[a] = 0xEE;
        for (int a = 0x58; a <= 0x6C; ++a)
            image[a] = 0xEE;
        image[0x40] = image[0x41] = image[0x42] = 0xEE;
    });
    EXPECT_EQ(fx.e().lastFault(), -1);
    EXPECT_EQ(fx.f("cbbxWiredInputType2").index, 0);
    EXPECT_EQ(fx.f("edtWiredThreshold5").text, QStringLiteral("---"));
    EXPECT_EQ(fx.f("edtWiredCode1").text, QStringLiteral("----"));
    const ConfigImage image = Collected();
    EXPECT_EQ(image[0x22], 0xEE);
    EXPECT_EQ(image[0x42], 0xEE);
    EXPECT_EQ(image[0x68], 0xEE);
}

TEST_F(ClassicMap, DelayAndHopsWithTheirJumpers) {
    OpenVariant(kZal, 0x22, [](ConfigImage& image) {
        image[0x53] = 0xFF;
        image[0x67] = 0xFF;
    });
    EXPECT_TRUE(fx.f("cbDelayUseJumpers").checked);
    EXPECT_EQ(fx.f("edtDelay").text, QStringLiteral("---"));
    EXPECT_FALSE(fx.f("edtDelay").enabled);
    EXPECT_EQ(fx.f("cbDelayUseJumpers").mark, 1);

    OpenVariant(kZal, 0x22, [](ConfigImage& image) {
        image[0x53] = 0xFF;
        image[0x67] = 0x00;
    });
    EXPECT_FALSE(fx.f("cbDelayUseJumpers").checked);
    EXPECT_EQ(fx.f("edtDelay").text, QStringLiteral("25,5"));
    fx.e().form().setText(fx.f("edtDelay"), QStringLiteral("6553,4"));
    ConfigImage image = Collected();
    EXPECT_EQ(image[0x67], 0xFF);
    EXPECT_EQ(image[0x53], 0xFE);
    // Typing more is held at the limit while typing; the collect rule alone stops short of the jumpers.
    fx.e().form().setText(fx.f("edtDelay"), QStringLiteral("6553,5"));
    EXPECT_EQ(fx.f("edtDelay").text, QStringLiteral("6553"));
    FormModel bare; // no handlers: the rule as it stands
    BuildValueLists(bare, kZal, 0x22, fx.e().folders().settings());
    ApplyEnablingRules(bare, kZal, 0x22);
    ConfigImage raw = fx.Default(kZal, 0x22);
    MapContext context(bare, raw, kZal, 0x22, fx.e().locale());
    MapState state;
    FillClassic(context, state, {});
    bare.setText(bare["edtDelay"], QStringLiteral("6553,5"));
    CollectClassic(context);
    EXPECT_EQ(raw[0x67], 0xFF);
    EXPECT_EQ(raw[0x53], 0xFE);

    OpenVariant(kMuve, 0x20, [](ConfigImage& image) { image[0x54] = 0xFF; });
    EXPECT_TRUE(fx.f("cbMaxNoOfHopsUseJumpers").checked);
    fx.e().form().click(fx.f("cbMaxNoOfHopsUseJumpers"));
    EXPECT_TRUE(fx.f("edtMaxNoOfHops").enabled);
    EXPECT_EQ(fx.f("edtMaxNoOfHops").text, QString());
    EXPECT_EQ(Collected()[0x54], 1);
}

TEST_F(ClassicMap, SameCodeInhibitTimePerVersion) {
    OpenVariant(kDorf, 0x00, [](ConfigImage& image) {
        image[0x56] = 0x33;
        image[0x70] = 0x44;
    });
    EXPECT_EQ(fx.f("edtSameCodeInhibitTime").text, QStringLiteral("11"));
    ConfigImage image = Collected();
    EXPECT_EQ(image[0x56], 0x33);
    EXPECT_EQ(image[0x70], 0x44);
    OpenVariant(kBora, 0x00, [](ConfigImage&) {});
    EXPECT_EQ(fx.f("edtSameCodeInhibitTime").text, QStringLiteral("---"));

    OpenVariant(kZal, 0x21, [](ConfigImage& i) {
        i[0x56] = 0x2C;
        i[0x66] = 0x01;
    });
    EXPECT_EQ(fx.f("edtSameCodeInhibitTime").text, QStringLiteral("300"));
    Type("edtSameCodeInhibitTime", QStringLiteral("300"));
    image = Collected();
    EXPECT_EQ(image[0x56], 0x2C);
    EXPECT_EQ(image[0x66], 0x01);

    OpenVariant(kZal, 0x22, [](ConfigImage& i) {
        i[0x70] = 0x0E;
        i[0x71] = 0x10;
        i[0x72] = 0;
        i[0x73] = 7;
    });
    EXPECT_EQ(fx.f("edtSameCodeInhibitTime").text, QStringLiteral("3600"));
    EXPECT_EQ(fx.f("edtDementiaBlockTime").text, QStringLiteral("7"));
}

TEST_F(ClassicMap, PreferencesAndProductInformation) {
    OpenVariant(kZal, 0x22, [](ConfigImage& image) {
        image[0x44] = 0xFF;
        image[0xFB] = 0x21;
        image[0xFD] = 0x01;
        image[0xFE] = 0x00;
        image[0xFF] = 0x02;
        image[0x9F] = 23;
        image[0xFC] = 0x77; // no region has this value: "---", no fault
    });
    EXPECT_EQ(fx.e().lastFault(), -1);
    EXPECT_EQ(fx.f("edtOutPassageDelay").text, QStringLiteral("0"));
    EXPECT_EQ(fx.f("edtHardvareVersion").text, QStringLiteral("2.1"));
    EXPECT_EQ(fx.f("edtSerialNumber").text, QStringLiteral("65538"));
    EXPECT_EQ(fx.f("edtInhibitRelayAfterPersonnell").text, QStringLiteral("2,3"));
    EXPECT_EQ(fx.f("edtFrequencyRegion").text, QStringLiteral("---"));
    EXPECT_EQ(fx.f("edtProgramVersion").text, QStringLiteral("22.08"));
    EXPECT_EQ(fx.f("edtDeviceRadioId").text, QStringLiteral("A001"));
    const ConfigImage image = Collected();
    EXPECT_EQ(image[0x44], 0x00);
    EXPECT_EQ(image[0xFD], 0x01);
    EXPECT_EQ(image[0xFE], 0x00);
    EXPECT_EQ(image[0xFF], 0x02);
    EXPECT_EQ(image[0x9F], 23);

    for (const auto& [byte, text] :
         {std::pair{0x1A, "1.a"}, std::pair{0x00, "1.0"}, std::pair{0xFF, "1.0"}}) {
        OpenVariant(kZal, 0x22, [b = byte](ConfigImage& i) { i[0xFB] = static_cast<std::uint8_t>(b); });
        EXPECT_EQ(fx.f("edtHardvareVersion").text, QLatin1String(text));
    }
}

TEST_F(ClassicMap, EveryInhibitRelayByteComesBack) {
    OpenVariant(kDorf, 0x22, [](ConfigImage&) {});
    for (int b = 0; b <= 250; ++b) {
        fx.Poke(0x9F, static_cast<std::uint8_t>(b));
        fx.e().FillFields();
        ASSERT_EQ(Collected()[0x9F], b) << fx.f("edtInhibitRelayAfterPersonnell").text.toStdString();
    }
    // Above 25 s the field's range check holds the value at its limit, already during the fill.
    fx.Poke(0x9F, 251);
    fx.e().FillFields();
    EXPECT_EQ(fx.dialogs.ids(), std::vector<int>{10692});
    EXPECT_EQ(Collected()[0x9F], 250);
}

TEST_F(ClassicMap, AProductCodeWithoutItemIsKept) {
    fx.New(kZal, 0x22);
    // A product the list does not name: the fill reports 0xF8, the collect keeps the byte.
    const QString ini = fx.e().folders().settingsFile;
    QFile file(ini);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.close();
    fx.e().form().setIndex(fx.f("cbbxProductName"), -1);
    EXPECT_EQ(Collected()[0xF8], kZal);
}

// Collecting an image full of sentinel bytes changes only the addresses the map collects.
TEST_F(ClassicMap, OnlyCollectedAddressesChange) {
    const struct {
        int product, version;
        std::vector<std::pair<int, int>> untouched;
    } cases[] = {
        {kZal,
         0x22,
         {{0x10, 0x19},
          {0x1C, 0x1E},
          {0x34, 0x35},
          {0x5D, 0x5F},
          {0x65, 0x65},
          {0x6D, 0x6F},
          {0x74, 0x75},
          {0x80, 0x90},
          {0x92, 0x9E},
          {0xB8, 0xBF},
          {0xC8, 0xF4},
          {0xF6, 0xF6},
          {0xF9, 0xFC}}},
        {kBora, 0x20, {{0x10, 0x19}, {0x80, 0x90}, {0x92, 0xF4}, {0xF6, 0xF6}, {0xF9, 0xFC}}},
        {kMuve, 0x00, {{0x10, 0x19}, {0x46, 0x4F}, {0x53, 0x54}, {0x56, 0x56}, {0x66, 0x73}, {0x80, 0xF4}}},
    };
    for (const auto& c : cases) {
        fx.New(c.product, c.version);
        ConfigImage sentinel;
        sentinel.fill(0xA5);
        sentinel[0xF8] = static_cast<std::uint8_t>(c.product);
        sentinel[0xF9] = static_cast<std::uint8_t>(c.version);
        fx.Open(sentinel);
        // Values that parse, so that the collect runs through.
        for (Field& f : fx.e().form().fields()) {
            if (f.kind() == FieldKind::Edit && f.mark == 1 && f.text == QStringLiteral("---"))
                fx.e().form().setText(f, QStringLiteral("1"));
        }
        const ConfigImage image = Collected();
        for (const auto& [first, last] : c.untouched) {
            for (int a = first; a <= last; ++a)
                EXPECT_EQ(image[a], sentinel[a]) << c.product << "/" << c.version << " address " << a;
        }
    }
}

TEST(ClassicMapLocale, EnglishShowsAPoint) {
    EditorFixture fx({}, QLocale(QLocale::English, QLocale::UnitedStates));
    fx.New(kBora, 0x22);
    EXPECT_EQ(fx.f("edtWiredThreshold4").text, QStringLiteral("1.0"));
    fx.e().form().setText(fx.f("edtWiredThreshold4"), QStringLiteral("1.5"));
    ASSERT_FALSE(fx.e().CollectFields());
    EXPECT_EQ(fx.e().working()[0x40], 127);
}

} // namespace

namespace {

TEST(ClassicMapFaultOrder, AcrossPagesTheLastInFillOrderWins) {
    EditorFixture fx;
    fx.New(kZal, 0x22);
    ConfigImage image = fx.e().working();
    image[0x48] = 0x77; // radio page
    image[0x60] = 0x77; // wired page
    image[0x30] = 0x77; // preferences
    image[0xB3] = 0x77; // K-ORBA position type, filled last
    fx.Open(image);
    EXPECT_EQ(fx.e().lastFault(), 0xB3);
    image[0xB3] = 0;
    fx.Open(image, QStringLiteral("second"));
    EXPECT_EQ(fx.e().lastFault(), 0x30);
}

} // namespace

namespace {

// The layout versions differ in where (and whether) some values are kept.
TEST(ClassicMapVersions, WhereEachVersionKeepsItsTimes) {
    const struct {
        int version;
        const char* field;
        const char* text;
        std::vector<std::pair<int, int>> bytes; // address, value; -1: left as it was
    } cases[] = {
        {0x00, "edtPulseActivationTime", "2,5", {{0x43, 25}, {0x57, -1}}},
        {0x22, "edtPulseActivationTime", "300", {{0x43, 0xB8}, {0x57, 0x0B}}},
        {0x20, "edtSameCodeInhibitTime", "200", {{0x56, 200}, {0x66, -1}, {0x70, -1}}},
        {0x21, "edtSameCodeInhibitTime", "300", {{0x56, 0x2C}, {0x66, 0x01}, {0x70, -1}}},
        {0x22, "edtSameCodeInhibitTime", "3000", {{0x70, 0x0B}, {0x71, 0xB8}, {0x56, -1}}},
        {0x22, "edtDementiaBlockTime", "100", {{0x72, 0}, {0x73, 100}}},
        {0x21, "edtDementiaBlockTime", "100", {{0x72, -1}, {0x73, -1}}},
    };
    for (const auto& c : cases) {
        EditorFixture fx;
        fx.New(kZal, c.version);
        ConfigImage image = fx.e().working();
        for (const auto& [address, value] : c.bytes)
            image[address] = 0x5A;
        fx.Open(image);
        fx.e().form().setText(fx.f(c.field), QLatin1String(c.text));
        const ConfigImage collected = fx.Collected();
        for (const auto& [address, value] : c.bytes)
            EXPECT_EQ(collected[address], value < 0 ? 0x5A : value)
                << c.field << " V" << std::hex << c.version << " at " << address;
    }
}

} // namespace
