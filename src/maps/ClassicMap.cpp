// The parameter map of BORA, ZAL, MUVE and DORF in their four layout versions: tables of the plain
// fields and named rules for what a row cannot say, one file per page of the editor.

#include "ClassicPages.h"

namespace zal {
namespace {

const std::vector<Step>& Steps() {
    static const std::vector<Step> steps = [] {
        std::vector<Step> all;
        for (auto page : {RadioInputSteps, WiredInputSteps, PreferenceSteps, ProductInfoAndPositionSteps}) {
            std::vector<Step> steps = page();
            all.insert(all.end(), steps.begin(), steps.end());
        }
        return all;
    }();
    return steps;
}

} // namespace

int FillClassic(MapContext& c, MapState& state, const MapHooks& hooks) {
    return FillSteps(Steps(), Marks::Respected, c, state, hooks);
}

void CollectClassic(MapContext& c) {
    CollectSteps(Steps(), Marks::Respected, c);
}

} // namespace zal
