#include "FormLayout.h"

#include <QByteArray>

#include <deque>
#include <string>
#include <string_view>

namespace zal {
namespace {

// Names built from a prefix and a position live as long as the program.
const char* Keep(const std::string& text) {
    static std::deque<std::string> names;
    names.push_back(text);
    return names.back().c_str();
}

struct Builder {
    std::vector<FieldDecl> fields;

    void add(const char* name, FieldKind kind, const char* group, int row, int column, int rowCaption,
             int columnCaption = 0, int unitCaption = 0, bool hidden = false) {
        fields.push_back({name, kind, group, row, column, rowCaption, columnCaption, unitCaption, hidden});
    }
    // One field per position: prefix + suffix, one grid row each.
    void column(const std::string& prefix, FieldKind kind, const char* group,
                const std::vector<std::string>& suffixes, const std::vector<int>& rows,
                const std::vector<int>& rowCaptions, int column, int columnCaption) {
        for (size_t i = 0; i < suffixes.size(); ++i)
            add(Keep(prefix + suffixes[i]), kind, group, rows[i], column, rowCaptions[i], columnCaption);
    }
};

// Radio positions: 1-8 (captions "Position 1"-"Position 8"), F ("Feste ID"), A ("Alle ID's").
const std::vector<std::string> kPositions{"1", "2", "3", "4", "5", "6", "7", "8", "F", "A"};
const std::vector<int> kPositionRows{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
const std::vector<int> kPositionCaptions{10402, 10403, 10404, 10405, 10406,
                                         10407, 10408, 10409, 10410, 10411};

std::vector<FieldDecl> Build() {
    using K = FieldKind;
    Builder b;
    const std::vector<std::string> one8(kPositions.begin(), kPositions.begin() + 8);
    const std::vector<int> rows8(kPositionRows.begin(), kPositionRows.begin() + 8);
    const std::vector<int> captions8(kPositionCaptions.begin(), kPositionCaptions.begin() + 8);

    // Page 1, radio inputs.
    b.column("edtRxCodePos", K::Edit, "gbx_1_1", one8, rows8, captions8, 0, 10401);
    b.column("btnReceiveRadioCode", K::Button, "gbx_1_1", one8, rows8, captions8, 1, 0);
    b.add("edtRxCodePosF", K::Edit, "gbx_1_1", 8, 0, 10410, 10401);
    b.add("cbbxRxCodePosA", K::Combo, "gbx_1_1", 9, 0, 10411, 10401);
    b.column("cbbxActionRelayPos", K::Combo, "gbx_1_2", kPositions, kPositionRows, kPositionCaptions, 0,
             10421);
    b.column("cbbxActionTxPos", K::Combo, "gbx_1_2", kPositions, kPositionRows, kPositionCaptions, 1, 10422);
    b.column("edtActionCodePos", K::Edit, "gbx_1_2", kPositions, kPositionRows, kPositionCaptions, 2, 10423);
    b.column("cbbxActionAlarmTypePos", K::Combo, "gbx_1_2", kPositions, kPositionRows, kPositionCaptions, 3,
             10424);
    std::vector<std::string> delayPositions = one8;
    delayPositions.push_back("A");
    std::vector<int> delayRows = rows8, delayCaptions = captions8;
    delayRows.push_back(9);
    delayCaptions.push_back(10411);
    b.column("edtActionTransmissionDelayPos", K::Edit, "gbx_1_2", delayPositions, delayRows, delayCaptions, 4,
             10425);

    // Page 2, K-ORBA positions.
    const std::vector<int> itemCaptions{10433, 10434, 10435, 10436, 10437, 10438, 10439, 10440};
    b.column("edtPosCode", K::Edit, "gbx_2_1", one8, rows8, itemCaptions, 0, 10431);
    b.column("cbbxPosType", K::Combo, "gbx_2_1", one8, rows8, itemCaptions, 1, 10432);
    b.column("cbbxPosRelay", K::Combo, "gbx_2_2", one8, rows8, itemCaptions, 0, 10451);
    b.add("edtInhibitRelayAfterPersonnell", K::Edit, "gbx_2_2", 8, 0, 10452);

    // Page 3, wired inputs.
    const std::vector<std::string> inputs{"1", "2", "3", "4", "5"};
    const std::vector<int> inputRows{0, 1, 2, 3, 4};
    const std::vector<int> inputCaptions{10462, 10463, 10464, 10465, 10466};
    b.column("cbbxWiredInputType", K::Combo, "gbx_3_1", inputs, inputRows, inputCaptions, 0, 10461);
    b.column("cbbxWiredRelay", K::Combo, "gbx_3_2", inputs, inputRows, inputCaptions, 0, 10471);
    b.column("cbbxWiredTx", K::Combo, "gbx_3_2", inputs, inputRows, inputCaptions, 1, 10472);
    b.column("edtWiredCode", K::Edit, "gbx_3_2", inputs, inputRows, inputCaptions, 2, 10473);
    b.column("cbbxWiredAlarmType", K::Combo, "gbx_3_2", inputs, inputRows, inputCaptions, 3, 10474);
    b.column("edtWiredAutoResetTimer", K::Edit, "gbx_3_2", inputs, inputRows, inputCaptions, 4, 10475);
    b.add("edtWiredThreshold4", K::Edit, "gbx_3_3", 0, 0, 10481, 0, 10482);
    b.add("edtWiredThreshold5", K::Edit, "gbx_3_3", 1, 0, 10483, 0, 10484);
    b.add("cbbxSendAlarmWhen", K::Combo, "gbx_3_3", 2, 0, 10485);

    // Page 4, further settings.
    const char* g1 = "gbx_4_1";
    b.add("cbbxPowerMode", K::Combo, g1, 0, 0, 10491);
    b.add("cbbxBatteryAlarm", K::Combo, g1, 1, 0, 10492);
    b.add("edtBatteryAlarmInterval", K::Edit, g1, 2, 0, 10493);
    b.add("cbbxBatteryAlarmIntervalUnits", K::Combo, g1, 2, 1, 10493);
    b.add("edtLowBatteryThreshold", K::Edit, g1, 3, 0, 10494);
    b.add("cbbxMainsFailure", K::Combo, g1, 4, 0, 10495);
    b.add("cbbxMainsOK", K::Combo, g1, 5, 0, 10496);
    b.add("edtTestAlarmInterval", K::Edit, g1, 6, 0, 10497);
    b.add("cbbxTestAlarmIntervalUnits", K::Combo, g1, 6, 1, 10497);
    b.add("edtBatteryChargeDuration", K::Edit, g1, 7, 0, 10498);
    b.add("edtOutPassageDelay", K::Edit, g1, 8, 0, 10499);
    b.add("edtInPassageDelay", K::Edit, g1, 9, 0, 10500);
    b.add("edtPulseActivationTime", K::Edit, g1, 10, 0, 10501);

    const char* g2 = "gbx_4_2";
    b.add("edtNoShortTransm", K::Edit, g2, 0, 0, 10511);
    b.add("edtNoLongTransm", K::Edit, g2, 1, 0, 10512);
    b.add("edtDelay", K::Edit, g2, 2, 0, 10513);
    b.add("cbDelayUseJumpers", K::Check, g2, 2, 1, 10514);
    b.add("edtMaxNoOfHops", K::Edit, g2, 3, 0, 10515);
    b.add("cbMaxNoOfHopsUseJumpers", K::Check, g2, 3, 1, 10516);
    b.add("edtSameCodeInhibitTime", K::Edit, g2, 4, 0, 10517, 0, 10520);
    b.add("edtDementiaBlockTime", K::Edit, g2, 5, 0, 10518, 0, 10520);
    b.add("cbbxAcknowledge", K::Combo, g2, 6, 0, 10519);
    b.add("cbbxFrequencyBandTransmit", K::Combo, g2, 7, 0, 10522);
    b.add("cbbxFrequencyBandReceive", K::Combo, g2, 8, 0, 10521);
    b.add("cbListenBeforeTransmit", K::Check, g2, 9, 0, 10524);
    b.add("edtCarrierSenseThresholdValue", K::Edit, g2, 10, 0, 10523);
    b.add("edtEquipmentType", K::Edit, g2, 11, 0, 10525);

    const char* g3 = "gbx_4_3";
    b.add("cbbxProductName", K::Combo, g3, 0, 0, 10531);
    b.add("edtProgramVersion", K::Edit, g3, 1, 0, 10532);
    b.add("edtProductionDate", K::Edit, g3, 2, 0, 10533);
    b.add("edtFrequencyRegion", K::Edit, g3, 3, 0, 10537);
    b.add("edtRadioCalibration", K::Edit, g3, 4, 0, 10534);
    b.add("edtDeviceRadioId", K::Edit, g3, 5, 0, 10535);
    b.add("edtSerialNumber", K::Edit, g3, 6, 0, 10536);
    b.add("cbbxReceptionProtocol", K::Combo, g3, 7, 0, 10526);
    b.add("cbbxTransmissionProtocol", K::Combo, g3, 8, 0, 10527);
    b.add("edtHardvareVersion", K::Edit, g3, 9, 0, 0, 0, 0, true);
    b.add("cbbxFrequencyRegion", K::Combo, g3, 10, 0, 0, 0, 0, true);
    b.add("cbbxFrequencyRegionPlus", K::Combo, g3, 11, 0, 0, 0, 0, true);
    return b.fields;
}

} // namespace

const std::vector<PageDecl>& FormPages() {
    static const std::vector<PageDecl> pages{
        {"tbshtPage1", 10201}, {"tbshtPage2", 10202}, {"tbshtPage3", 10203}, {"tbshtPage4", 10204}};
    return pages;
}

const std::vector<GroupDecl>& FormGroups() {
    static const std::vector<GroupDecl> groups{
        {"gbx_1_1", 0, 10301, {10401}, 0},
        {"gbx_1_2", 0, 10302, {10421, 10422, 10423, 10424, 10425}, 1},
        {"gbx_2_1", 1, 10303, {10431, 10432}, 0},
        {"gbx_2_2", 1, 10304, {10451}, 1},
        {"gbx_3_1", 2, 10305, {10461}, 0},
        {"gbx_3_2", 2, 10306, {10471, 10472, 10473, 10474, 10475}, 1},
        {"gbx_3_3", 2, 10307, {}, 0},
        {"gbx_4_1", 3, 10308, {}, 0},
        {"gbx_4_2", 3, 10309, {}, 1},
        {"gbx_4_3", 3, 10310, {}, 2, true},
    };
    return groups;
}

int FormGroupPage(const char* groupName) {
    for (const GroupDecl& g : FormGroups()) {
        if (std::string_view(g.name) == groupName)
            return g.page;
    }
    return -1;
}

bool InInformationGroup(const FieldDecl& field) {
    for (const GroupDecl& g : FormGroups()) {
        if (std::string_view(g.name) == field.group)
            return g.informationOnly;
    }
    return false;
}

bool IsInformationOnly(const FieldDecl& field) {
    return field.kind == FieldKind::Edit && InInformationGroup(field);
}

const std::vector<FieldDecl>& FormFields() {
    static const std::vector<FieldDecl> fields = Build();
    return fields;
}

} // namespace zal
