#pragma once

// The older products' map, one list of steps per page of the editor, in fill order.

#include "MapSteps.h"

namespace zal {

std::vector<Step> RadioInputSteps();
// V1.x packs a relay and a transmitter bit into one byte; both pages write them.
void WriteRelayBits(MapContext& c, const QString& relayName, int address, int relayMask);
void WriteTxBit(MapContext& c, const QString& txName, int address, int bit);
std::vector<Step> WiredInputSteps();
std::vector<Step> PreferenceSteps();
std::vector<Step> ProductInfoAndPositionSteps();

} // namespace zal
