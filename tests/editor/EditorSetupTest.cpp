#include "config/Products.h"
#include "support/EditorFixture.h"

#include <gtest/gtest.h>

using namespace zal;
using namespace zal::test;

namespace {

bool Visible(EditorFixture& fx, const char* menu) {
    return fx.e().menu(QLatin1String(menu))->visible;
}
bool Enabled(EditorFixture& fx, const char* menu) {
    return fx.e().menu(QLatin1String(menu))->enabled;
}

TEST(EditorSetup, StartsWithANewBoraV22) {
    EditorFixture fx;
    EXPECT_EQ(fx.e().product(), kBora);
    EXPECT_EQ(fx.e().version(), 0x22);
    EXPECT_EQ(fx.e().fileState(), fsNew);
    EXPECT_EQ(fx.e().title(), QStringLiteral("(Default) - ZAL family programmer"));
    EXPECT_EQ(fx.e().page(), 0);
    EXPECT_TRUE(fx.dialogs.shown.empty());
    EXPECT_EQ(fx.e().folders().defaultConfigFolder,
              fx.home.file(QStringLiteral("documents/VESK/ZAL Config")));
}

// The Communication menu in its order: a default write per product that has one, from the rows.
TEST(EditorSetup, TheDefaultWritesComeFromTheProducts) {
    QStringList communication;
    for (const MenuItem& item : EditorMenu()) {
        if (item.parent == MenuId::Communication)
            communication << QLatin1String(item.name);
        if (item.id == MenuId::WriteDefault) {
            EXPECT_EQ(QLatin1String(ProductRow(item.product).writeDefaultMenu), QLatin1String(item.name));
        }
    }
    // The shipped products' default writes, then any a build adds, before the version byte.
    EXPECT_TRUE(communication.join(u' ').startsWith(
        QStringLiteral("mnuCommunicationReadFromDevice mnuCommunicationWriteToDevice mnuWriteDefaultBora "
                       "mnuWriteDefaultZal mnuWriteDefaultMuve mnuWriteDefaultDorf ")))
        << communication.join(u' ').toStdString();
    EXPECT_TRUE(
        communication.join(u' ').endsWith(QStringLiteral(" mnuWriteVersionByte mnuChangeFixedRadioCodes")));
}

TEST(EditorSetup, CommandLineSwitches) {
    const struct {
        QStringList arguments;
        bool service, codes;
    } cases[] = {
        {{}, false, false},
        {{QStringLiteral("-service")}, true, true},
        {{QStringLiteral("-SERVICE"), QStringLiteral("x")}, false, false},
        {{QStringLiteral("-ChangeCodes")}, false, true},
        {{QStringLiteral("service")}, false, false},
    };
    for (const auto& c : cases) {
        EditorFixture fx(c.arguments);
        EXPECT_EQ(fx.e().serviceMode(), c.service) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(fx.e().codeChange(), c.codes);
        for (int product : {kBora, kZal, kMuve, kDorf}) {
            fx.e().SelectProduct(product);
            EXPECT_EQ(Visible(fx, "mnuWriteDefaultZal"), c.service);
            EXPECT_EQ(Visible(fx, "mnuWriteVersionByte"), c.service);
            EXPECT_TRUE(Visible(fx, "mnuChangeFixedRadioCodes"));
            EXPECT_TRUE(Enabled(fx, "mnuChangeFixedRadioCodes"));
            EXPECT_TRUE(Visible(fx, "mnuFileNewVersion"));
        }
        for (int product : {kMuvePlus, kMuvePlus2}) {
            fx.e().SelectProduct(product);
            EXPECT_FALSE(Visible(fx, "mnuWriteDefaultZal"));
            EXPECT_FALSE(Visible(fx, "mnuWriteVersionByte"));
            EXPECT_FALSE(Visible(fx, "mnuFileNewVersion"));
            EXPECT_EQ(Visible(fx, "mnuChangeFixedRadioCodes"), c.codes);
            EXPECT_EQ(Enabled(fx, "mnuChangeFixedRadioCodes"), c.codes);
        }
        fx.e().SelectProduct(kBora);
        EXPECT_TRUE(Visible(fx, "mnuFileNewVersion"));
    }
}

TEST(EditorSetup, TheProductChoosesThePage) {
    EditorFixture fx;
    fx.e().setPage(0);
    fx.e().SelectProduct(kBora);
    EXPECT_EQ(fx.e().page(), 2);
    fx.e().SelectProduct(kMuve);
    EXPECT_EQ(fx.e().page(), 0);
    fx.e().setPage(2);
    fx.e().SelectProduct(kZal);
    EXPECT_EQ(fx.e().page(), 2);
    fx.e().setPage(3);
    fx.e().SelectProduct(kMuvePlus);
    EXPECT_EQ(fx.e().page(), 3);
    fx.e().setPage(2);
    fx.e().SelectProduct(kMuvePlus2);
    EXPECT_EQ(fx.e().page(), 0);
}

TEST(EnablingRules, StatesPerProductAndVersion) {
    // Each string: one letter per variant MUVE+, MUVE+ II, BORA/ZAL/MUVE/DORF V22, BORA/ZAL/MUVE/DORF V1.x;
    // o = enabled and in use, r = disabled and in use, x = disabled and not in use.
    const struct {
        const char* field;
        const char* states;
    } rows[] = {
        {"cbbxRxCodePosA", "..roooxxxx"},
        {"cbbxActionRelayPos1", "..roooxoxo"},
        {"cbbxActionTxPos3", "ooroorxoxx"},
        {"cbbxActionAlarmTypePosA", "ooxooxxxox"},
        {"edtActionTransmissionDelayPos1", "ooxxxxxxxx"},
        {"cbbxWiredTx2", "xxooxxroxx"},
        {"cbbxWiredRelay5", "xxroxxxoxx"},
        {"cbbxPowerMode", "xxoorrxxxx"},
        {"cbbxMainsOK", "ooooorooor"},
        {"edtPulseActivationTime", "xxxoooxoxo"},
        {"edtMaxNoOfHops", "ooxorxxxxx"}, // the MUVE default uses the jumpers: the fill disables the field
        {"cbbxFrequencyBandTransmit", "ooxxxxxxxx"},
        {"edtNoShortTransm", "oooooxooox"},
        {"edtPosCode1", "xxxoxoxxxx"},
    };
    const int variants[][2] = {{kMuvePlus, 1}, {kMuvePlus2, 1}, {kBora, 0x22}, {kZal, 0x22},  {kMuve, 0x22},
                               {kDorf, 0x22},  {kBora, 0x00},   {kZal, 0x00},  {kMuve, 0x00}, {kDorf, 0x00}};
    EditorFixture fx;
    for (const auto& row : rows) {
        const QString states = QString::fromLatin1(row.states);
        ASSERT_EQ(states.size(), 10) << row.field;
        for (int v = 0; v < 10; ++v) {
            const QChar s = states[v];
            if (s == u'.')
                continue;
            fx.New(variants[v][0], variants[v][1]);
            const Field& f = fx.f(row.field);
            EXPECT_EQ(f.enabled, s == u'o') << row.field << " variant " << v;
            EXPECT_EQ(f.mark, s == u'x' ? 2 : 1) << row.field << " variant " << v;
        }
    }
}

TEST(EnablingRules, KeptStatesAndTheirEdgeCases) {
    EditorFixture fx;
    fx.e().SelectProduct(kMuvePlus);
    EXPECT_FALSE(fx.f("cbbxProductName").enabled); // kept from BORA's rules
    fx.New(kZal, 0x21);
    EXPECT_FALSE(fx.f("edtPosCode3").enabled);
    EXPECT_EQ(fx.f("edtPosCode3").text, QStringLiteral("---"));
    EXPECT_EQ(fx.f("cbbxPosType3").index, 0);
    EXPECT_EQ(fx.f("edtDementiaBlockTime").mark, 2);
    fx.New(kZal, 0x22);
    EXPECT_TRUE(fx.f("edtDementiaBlockTime").enabled);
    EXPECT_EQ(fx.f("edtSameCodeInhibitTime").maxLength, 4);
    fx.New(kZal, 0x20);
    EXPECT_EQ(fx.f("edtSameCodeInhibitTime").maxLength, 3);
    EXPECT_EQ(fx.f("edtPulseActivationTime").maxLength, 6);
    fx.New(kMuvePlus2, 1);
    EXPECT_EQ(fx.f("edtCarrierSenseThresholdValue").maxLength, 4);
}

// Every product and layout version the editor shows.
const std::vector<std::pair<int, int>> kVariants = [] {
    std::vector<std::pair<int, int>> v;
    for (int product : {kBora, kZal, kMuve, kDorf})
        for (int version : {0x00, 0x20, 0x21, 0x22})
            v.emplace_back(product, version);
    v.emplace_back(kMuvePlus, 1);
    v.emplace_back(kMuvePlus2, 1);
    return v;
}();

// A field the rules of a product leave alone must not keep what the product shown before made of it.
TEST(EnablingRules, FieldStatesNeverDependOnTheProductShownBefore) {
    std::vector<std::vector<FieldState>> fresh;
    for (const auto& [product, version] : kVariants) {
        EditorFixture fx;
        fx.New(product, version);
        fresh.push_back(fx.e().form().states());
    }
    EditorFixture fx;
    for (size_t p = 0; p < kVariants.size(); ++p) {
        for (size_t q = 0; q < kVariants.size(); ++q) {
            fx.New(kVariants[q].first, kVariants[q].second);
            fx.New(kVariants[p].first, kVariants[p].second);
            const std::vector<FieldState> states = fx.e().form().states();
            for (size_t i = 0; i < states.size(); ++i)
                ASSERT_EQ(states[i], fresh[p][i]) << fx.e().form().fields()[i].name().toStdString()
                                                  << " of variant " << p << " after " << q;
        }
    }
}

// The V1.x timers are left alone by the rules: after any other product they still go into the file.
TEST(EnablingRules, V1xTimersSurviveASaveAfterEveryOtherProduct) {
    EditorFixture fx;
    for (int product : {kBora, kZal}) {
        ConfigImage image = fx.Default(product, 0x00);
        for (int k = 0; k < 5; ++k)
            WriteU16BE(image, 0x76 + 2 * k, static_cast<std::uint16_t>(k * 7 + 3));
        for (const auto& [other, version] : kVariants) {
            fx.New(other, version);
            ASSERT_TRUE(fx.Open(image));
            const ConfigImage saved = fx.Collected();
            EXPECT_TRUE(SameRange(saved, image, 0x76, 0x7F))
                << product << " after " << other << "/" << version;
        }
    }
}

TEST(ValueLists, PerProductAndVersion) {
    EditorFixture fx;
    fx.New(kBora, 0x22);
    EXPECT_EQ(fx.f("cbbxRxCodePosA").list.items, QStringList{QStringLiteral("Nein")});
    EXPECT_EQ(fx.f("cbbxRxCodePosA").list.values, std::vector<int>{2});
    EXPECT_EQ(fx.f("cbbxWiredInputType4").list.items.last(), QStringLiteral("Analogeingang (Spannung)"));
    fx.New(kZal, 0x22);
    const Field& alarm = fx.f("cbbxActionAlarmTypePos3");
    EXPECT_EQ(alarm.list.items.last(), QStringLiteral("Transparent"));
    EXPECT_EQ(alarm.list.values.back(), 255);
    EXPECT_EQ(fx.f("cbbxWiredAlarmType3").list.values.back(), 9); // wired alarm types: no "Transparent"
    EXPECT_EQ(fx.f("cbbxFrequencyBandReceive").list.values, (std::vector<int>{0, 1}));
    EXPECT_EQ(fx.f("cbbxPosType1").list.items.first(), QStringLiteral("Nicht verwendet"));
    EXPECT_EQ(fx.f("cbbxWiredTx1").list.values, (std::vector<int>{0, 2, 3}));
    fx.New(kZal, 0x21);
    EXPECT_EQ(fx.f("cbbxFrequencyBandReceive").list.values, std::vector<int>{0});
    EXPECT_EQ(fx.f("cbbxPosRelay1").list.items, QStringList{QStringLiteral("---")});
    fx.New(kZal, 0x00);
    EXPECT_EQ(fx.f("cbbxWiredInputType4").list.items, QStringList{QStringLiteral("Schliesser Kontakt")});
    EXPECT_EQ(fx.f("cbbxActionRelayPosA").list.items, QStringList{QStringLiteral("Aus")});
    fx.New(kBora, 0x00);
    EXPECT_EQ(fx.f("cbbxWiredTx3").list.items, QStringList{QStringLiteral("Sende 3. feste")});
    EXPECT_EQ(fx.f("cbbxWiredTx3").list.values, std::vector<int>{1});
    fx.New(kMuve, 0x00);
    EXPECT_EQ(fx.f("cbbxActionTxPos2").list.items, QStringList{QStringLiteral("Sende unverändert")});
    EXPECT_EQ(fx.f("cbbxActionAlarmTypePos2").list.items, QStringList{QStringLiteral("Transparent")});
    fx.New(kMuvePlus2, 1);
    EXPECT_EQ(fx.f("cbbxTransmissionProtocol").list.values, (std::vector<int>{0, 2}));
    EXPECT_EQ(fx.f("cbbxAcknowledge").list.items.size(), 4);
    EXPECT_EQ(fx.f("cbbxActionTxPos1").list.values.back(), 255);
    EXPECT_EQ(fx.f("cbbxBatteryAlarmIntervalUnits").list.items,
              (QStringList{QStringLiteral("Minuten"), QStringLiteral("Stunden")}));
}

// The settings file decides the lists; capacities cut them, and the extended repeaters keep the
// product lists the older products built.
TEST(ValueLists, FromAChangedSettingsFile) {
    EditorFixture fx;
    QByteArray ini = "[AlarmType]\n";
    for (int k = 0; k < 150; ++k)
        ini += QByteArray::number(k) + "=Typ " + QByteArray::number(k) + "\n";
    ini += "[RadioTxPlus]\n";
    for (int k = 0; k < 30; ++k)
        ini += QByteArray::number(k) + "=Tx " + QByteArray::number(k) + "\n";
    ini += "[ProductName]\n1=Sender\n2=Zentrale\n";
    WriteTestFile(fx.e().folders().settingsFile, ini);
    fx.e().SelectProduct(kMuvePlus);
    EXPECT_EQ(fx.f("cbbxActionAlarmTypePos1").list.items.size(), 101);
    EXPECT_EQ(fx.f("cbbxActionAlarmTypePos1").list.items.last(), QStringLiteral("Transparent"));
    EXPECT_EQ(fx.f("cbbxActionTxPos1").list.items.size(), 20);
    EXPECT_EQ(fx.f("cbbxProductName").list.items.size(), 6); // kept from BORA
    fx.e().SelectProduct(kZal);
    EXPECT_EQ(fx.f("cbbxProductName").list.items,
              (QStringList{QStringLiteral("Sender"), QStringLiteral("Zentrale")}));
    // Sections that are gone give empty lists: every must-match field then faults.
    EXPECT_TRUE(fx.f("cbbxMainsOK").list.items.isEmpty());
    EXPECT_GE(fx.e().lastFault(), 0);
}

} // namespace
