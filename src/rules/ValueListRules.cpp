// Which list each drop-down shows, per product and version. Rows are applied in order; a later row for
// the same field replaces what an earlier one built.

#include "EditorRules.h"
#include "config/Products.h"
#include "form/FieldNames.h"
#include "form/FormModel.h"
#include "shell/Language.h"
#include "shell/Settings.h"
#include "shell/StringTable.h"

#include <initializer_list>
#include <vector>

namespace zal {
namespace {

// Item texts: a string-table number, a literal, or the text of a settings key read once per build.
constexpr int kBandText = -100;     // kBandText - k: "FrequencyBand" key k
constexpr int kProtocolText = -200; // kProtocolText - k: "RadioProtocol" key k

struct Item {
    int textId;
    const char* literal;
    int value;
};

struct ListSource {
    const char* section = nullptr;
    int capacity = 0;
    bool transparent = false; // "Transparent" (255) appended after the section's items
    bool empty = false;       // one item without text and without stored value
    std::vector<Item> items;
    bool productRows = false; // the product in hand is added with its model name when the section has none
};

ListSource Section(const char* name, int capacity) {
    return {name, capacity, false, false, {}};
}
ListSource SectionT(const char* name, int capacity) {
    return {name, capacity, true, false, {}};
}
ListSource ProductSection(const char* name, int capacity) {
    ListSource source = Section(name, capacity);
    source.productRows = true;
    return source;
}
ListSource Text(int id, int value) {
    return {nullptr, 0, false, false, {{id, nullptr, value}}};
}
ListSource Dash() {
    return {nullptr, 0, false, false, {{0, "---", 0}}};
}
ListSource Texts(std::initializer_list<std::pair<int, int>> items) {
    ListSource source;
    for (const auto& [id, value] : items)
        source.items.push_back({id, nullptr, value});
    return source;
}
ListSource Empty() {
    return {nullptr, 0, false, true, {}};
}

using V = Variant;
struct Rule {
    const char* fields;
    Scope scope;
    ListSource source;
    int onlyVersion = -1; // the row applies only to this version code
};

constexpr Scope kPlus = kScopePlus;
constexpr Scope kClassic = kScopeClassic;

const std::vector<Rule>& Rules() {
    static const std::vector<Rule> rules{
        // Radio inputs and actions.
        {"cbbxRxCodePosA", kPlus, Text(10718, 0)},
        {"cbbxRxCodePosA", V::Bora2, Text(10715, 2)},
        {"cbbxRxCodePosA", V::Zal2, Section("YesNo", 10)},
        {"cbbxRxCodePosA", V::Muve2 | V::Dorf2, Section("JumperYesNo", 10)},
        {"cbbxRxCodePosA", V::Bora1, Dash()},
        {"cbbxRxCodePosA", V::Zal1, Text(10715, 0)},
        {"cbbxRxCodePosA", V::Muve1 | V::Dorf1, Text(10713, 0)},

        {"cbbxActionRelayPos{1-8,F,A}", kPlus, Dash()},
        {"cbbxActionRelayPos{1-8,F,A}", V::Bora2 | V::Muve1, Text(10711, 0)},
        {"cbbxActionRelayPos{1-8,F,A}", V::Zal2 | V::Dorf2, Section("Relay1", 20)},
        {"cbbxActionRelayPos{1-8,F,A}", V::Muve2, Section("Relay2", 20)},
        {"cbbxActionRelayPos{1-8,F,A}", V::Bora1, Dash()},
        {"cbbxActionRelayPos{1-8,F}", V::Zal1, Section("ActionRelay_COMP", 20)},
        {"cbbxActionRelayPosA", V::Zal1, Text(10711, 0)},
        {"cbbxActionRelayPos{1-8}", V::Dorf1, Section("ActionRelay_COMP", 20)},
        {"cbbxActionRelayPosF", V::Dorf1, Text(10711, 0)},
        {"cbbxActionRelayPosA", V::Dorf1, Text(10713, 0)},

        {"cbbxActionTxPos{1-8,A}", kPlus, Section("RadioTxPlus", 20)},
        {"cbbxActionTxPosF", kPlus, Dash()},
        {"cbbxActionTxPos{1-8,F,A}", V::Bora2 | V::Dorf2 | V::Dorf1, Text(10711, 0)},
        {"cbbxActionTxPos{1-5}", V::Zal2 | V::Muve2, Section("RadioTx1", 20)},
        {"cbbxActionTxPos{6-8,F,A}", V::Zal2 | V::Muve2, Section("RadioTx2", 20)},
        {"cbbxActionTxPos{1-8,F,A}", V::Bora1, Dash()},
        {"cbbxActionTxPos{1-5,F}", V::Zal1, Section("RadioTx_COMP", 20)},
        {"cbbxActionTxPos{6-8,A}", V::Zal1, Text(10711, 0)},
        {"cbbxActionTxPos{1-8,A}", V::Muve1, Text(10712, 0)},
        {"cbbxActionTxPosF", V::Muve1, Text(10711, 0)},

        {"cbbxActionAlarmTypePos{1-8,A}", kPlus, SectionT("AlarmType", 100)},
        {"cbbxActionAlarmTypePosF", kPlus, Dash()},
        {"cbbxActionAlarmTypePos{1-8,F,A}", V::Bora2 | V::Dorf2 | V::Bora1 | V::Dorf1, Dash()},
        {"cbbxActionAlarmTypePos{1-8,F,A}", V::Zal2 | V::Muve2, SectionT("AlarmType", 100)},
        {"cbbxActionAlarmTypePos{1-5,F}", V::Zal1, Empty()},
        {"cbbxActionAlarmTypePos{6-8,A}", V::Zal1, Dash()},
        {"cbbxActionAlarmTypePos{1-8}", V::Muve1, Text(10640, 0)},
        {"cbbxActionAlarmTypePosF", V::Muve1, Dash()},
        {"cbbxActionAlarmTypePosA", V::Muve1, SectionT("AlarmType", 100)},

        // Wired inputs.
        {"cbbxWiredInputType{1-5} cbbxWiredRelay{1-5} cbbxWiredTx{1-5} cbbxWiredAlarmType{1-5} "
         "cbbxSendAlarmWhen",
         (V::MuvePlus | V::MuvePlus2 | V::Muve2 | V::Dorf2 | V::Muve1 | V::Dorf1), Dash()},
        {"cbbxWiredInputType{1-3}", V::Bora2 | V::Zal2, Section("InputType_123", 25)},
        {"cbbxWiredInputType{4-5}", V::Bora2, Section("InputType_45_BORA", 25)},
        {"cbbxWiredInputType{4-5}", V::Zal2, Section("InputType_45", 25)},
        {"cbbxWiredInputType{1-5}", V::Bora1, Text(10713, 0)},
        {"cbbxWiredInputType{1-3}", V::Zal1, Text(10713, 0)},
        {"cbbxWiredInputType{4-5}", V::Zal1, Text(10714, 0)},
        {"cbbxWiredRelay{1-5}", V::Bora2, Text(10711, 0)},
        {"cbbxWiredRelay{1-5}", V::Zal2, Section("Relay2", 25)},
        {"cbbxWiredRelay{1-5}", V::Bora1, Dash()},
        {"cbbxWiredRelay{1-5}", V::Zal1, Section("WiredRelay_COMP", 25)},
        {"cbbxWiredTx{1-5}", V::Bora2 | V::Zal2, Section("RadioTx3", 25)},
        {"cbbxWiredTx1", V::Bora1, Text(10731, 1)},
        {"cbbxWiredTx2", V::Bora1, Text(10732, 1)},
        {"cbbxWiredTx3", V::Bora1, Text(10733, 1)},
        {"cbbxWiredTx4", V::Bora1, Text(10734, 1)},
        {"cbbxWiredTx5", V::Bora1, Text(10735, 1)},
        {"cbbxWiredTx{1-5}", V::Zal1, Section("RadioTx_COMP", 25)},
        {"cbbxWiredAlarmType{1-5}", V::Bora2 | V::Zal2 | V::Bora1 | V::Zal1, Section("AlarmType", 100)},
        {"cbbxSendAlarmWhen", V::Bora2 | V::Zal2 | V::Bora1 | V::Zal1, Section("Threshold", 10)},

        // Power supply and supervision.
        {"cbbxPowerMode", kPlus, Text(10716, 0)},
        {"cbbxPowerMode", V::Bora2 | V::Zal2, Section("PowerMode1", 10)},
        {"cbbxPowerMode", V::Muve2 | V::Dorf2, Text(10716, 1)},
        {"cbbxPowerMode", V::Bora1 | V::Zal1, Text(10713, 0)},
        {"cbbxPowerMode", V::Muve1 | V::Dorf1, Text(10716, 0)},
        {"cbbxBatteryAlarm", kPlus, Dash()},
        {"cbbxBatteryAlarm", (V::Bora2 | V::Zal2 | V::Muve2 | V::Bora1 | V::Zal1 | V::Muve1),
         Section("NoYesFunction", 10)},
        {"cbbxBatteryAlarm cbbxMainsFailure cbbxMainsOK", V::Dorf2 | V::Dorf1, Text(10717, 0)},
        {"cbbxMainsFailure cbbxMainsOK",
         (V::MuvePlus | V::MuvePlus2 | V::Bora2 | V::Zal2 | V::Muve2 | V::Bora1 | V::Zal1 | V::Muve1),
         Section("NoYesFunction", 10)},
        {"cbbxBatteryAlarmIntervalUnits cbbxTestAlarmIntervalUnits", kPlus, Texts({{10741, 0}, {10742, 1}})},
        {"cbbxBatteryAlarmIntervalUnits", kClassic, Dash()},
        {"cbbxTestAlarmIntervalUnits", kClassic, Text(10742, 1)},

        // Radio settings.
        {"cbbxAcknowledge", kPlus, Texts({{10761, 0}, {10762, 1}, {10763, 2}, {10764, 3}})},
        {"cbbxAcknowledge", V::Bora2 | V::Bora1, Dash()},
        {"cbbxAcknowledge", (V::Zal2 | V::Muve2 | V::Dorf2 | V::Zal1 | V::Muve1 | V::Dorf1),
         Texts({{10761, 0}, {10762, 1}})},
        {"cbbxFrequencyBandTransmit", kPlus, Texts({{kBandText - 0, 0}, {kBandText - 1, 1}})},
        {"cbbxFrequencyBandTransmit", V::Bora2 | V::Zal2 | V::Muve2, Text(kBandText - 0, 0)},
        {"cbbxFrequencyBandTransmit", V::Dorf2 | V::Bora1 | V::Zal1 | V::Muve1 | V::Dorf1, Dash()},
        {"cbbxFrequencyBandReceive", kPlus,
         Texts({{kBandText - 0, 0}, {kBandText - 1, 1}, {kBandText - 2, 2}})},
        {"cbbxFrequencyBandReceive", V::Bora2 | V::Bora1 | V::Zal1 | V::Muve1 | V::Dorf1, Dash()},
        {"cbbxFrequencyBandReceive", V::Zal2 | V::Muve2 | V::Dorf2, Text(kBandText - 0, 0)},
        {"cbbxFrequencyBandReceive", (V::Zal2 | V::Muve2 | V::Dorf2),
         Texts({{kBandText - 0, 0}, {kBandText - 1, 1}}), 0x22},
        {"cbbxReceptionProtocol cbbxTransmissionProtocol",
         {V::MuvePlus2},
         Texts({{kProtocolText - 0, 0}, {kProtocolText - 2, 2}})},
        {"cbbxReceptionProtocol cbbxTransmissionProtocol",
         (V::MuvePlus | V::Bora2 | V::Zal2 | V::Muve2 | V::Dorf2 | V::Bora1 | V::Zal1 | V::Muve1 | V::Dorf1),
         Dash()},

        // Product information: only the older products rebuild these; the extended repeaters keep them.
        {"cbbxProductName", kClassic, ProductSection("ProductName", 100)},
        {"cbbxFrequencyRegion", kClassic, Section("FrequencyRegion", 20)},
        {"cbbxFrequencyRegionPlus", kClassic, Section("FrequencyRegionPlus", 20)},
    };
    return rules;
}

class Builder {
public:
    Builder(FormModel& form, const Settings& settings, int product)
        : form_(form), settings_(settings), product_(product) {
        // The band and protocol texts are read once per build.
        for (int key : {0, 1, 2})
            band_[key] = ValueListText(settings_.entry(setting::kFrequencyBand, key));
        for (int key : {0, 2, 3})
            protocol_[key] = ValueListText(settings_.entry(setting::kRadioProtocol, key));
    }

    void apply(const char* fields, const ListSource& source) {
        for (const QString& name : ExpandFieldNames(fields)) {
            Field& f = form_.field(name);
            ValueList list;
            bool selectFirst = false;
            if (source.section) {
                selectFirst = LoadSectionList(settings_.file(), QString::fromLatin1(source.section), list,
                                              source.capacity);
                if (source.transparent)
                    AppendItem(list, Str(10640), 255);
                // A product that a settings file predates still has its own name to show.
                if (source.productRows && FindProduct(product_))
                    AppendItem(list, QString::fromLatin1(ProductRow(product_).model.get()), product_);
            } else if (source.empty) {
                SetEmptyItem(list);
            } else {
                for (const Item& item : source.items)
                    AppendItem(list, text(item), item.value);
            }
            form_.setItems(f, std::move(list));
            if (selectFirst)
                form_.setIndex(f, 0);
        }
    }

private:
    QString text(const Item& item) const {
        if (item.literal)
            return QString::fromUtf8(item.literal);
        if (item.textId <= kProtocolText)
            return protocol_[kProtocolText - item.textId];
        if (item.textId <= kBandText)
            return band_[kBandText - item.textId];
        return Str(item.textId);
    }

    FormModel& form_;
    const Settings& settings_;
    const int product_;
    QString band_[3];
    QString protocol_[4];
};

bool Applies(const Rule& rule, Variant variant, int version) {
    return (rule.onlyVersion < 0 || rule.onlyVersion == version) && rule.scope.contains(variant);
}

} // namespace

void BuildValueLists(FormModel& form, int product, int version, const Settings& settings) {
    Builder builder(form, settings, product);
    const Variant variant = VariantOf(product, version);
    for (const Rule& rule : Rules()) {
        if (Applies(rule, variant, version))
            builder.apply(rule.fields, rule.source);
    }
    // The position lists come last, for every product and version.
    const bool positions = HasPositions(product, version);
    builder.apply("cbbxPosType{1-8}", positions ? Section("KorbaType", 10) : Dash());
    builder.apply("cbbxPosRelay{1-8}", positions ? Section("Relay1", 10) : Dash());
}

} // namespace zal
