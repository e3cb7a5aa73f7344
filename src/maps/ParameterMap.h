#pragma once

#include "MapContext.h"

#include <array>
#include <optional>

namespace zal {

// What the analogue input rule keeps of an input's four output fields while the input is analogue.
struct SavedOutputState {
    bool valid = false;
    int relayIndex = -1, txIndex = -1, alarmIndex = -1;
    QString code;
    std::array<bool, 4> enabled{};
    std::array<int, 4> marks{};
};

// State the maps keep between fills: the saved outputs of wired inputs 4 and 5.
struct MapState {
    std::array<SavedOutputState, 2> analogue;
};

// Fills the fields from the working image; returns -1 or the address of the last value that matched no
// list item.
int FillFields(MapContext& context, MapState& state, const MapHooks& hooks);

// Writes the fields in use back into the image. A text that does not parse is returned as the error
// (the first such field); the others are written all the same, so callers collect into a copy and
// keep it only when there is none.
std::optional<ConversionError> CollectFields(MapContext& context);

// The derived fields, also run by change handlers and after the fixed radio ID codes changed.
void ShowActionCodes(MapContext& context);
void ShowWiredCodes(MapContext& context);
void ShowDeviceRadioId(MapContext& context);
// The device's radio ID, its product name (0xF8 must match an item) and its program version.
void ShowProductIdentity(MapContext& context);
void MirrorFixedInput(MapContext& context);
void CopyWiredAlarmTypes(MapContext& context);
// The analogue input rule for input 4 and/or 5 (index 0 or 1; both with -1).
void ApplyAnalogueInputs(MapContext& context, MapState& state, bool snapshot, int onlyInput = -1);

// Maps of the two families, called by FillFields and CollectFields.
int FillClassic(MapContext& context, MapState& state, const MapHooks& hooks);
void CollectClassic(MapContext& context);
int FillPlus(MapContext& context, const MapHooks& hooks);
void CollectPlus(MapContext& context);

} // namespace zal
