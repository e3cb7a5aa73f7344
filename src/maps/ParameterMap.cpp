#include "ParameterMap.h"

#include "config/Products.h"

namespace zal {

int FillFields(MapContext& context, MapState& state, const MapHooks& hooks) {
    context.fault = -1;
    return IsPlusProduct(context.product) ? FillPlus(context, hooks) : FillClassic(context, state, hooks);
}

std::optional<ConversionError> CollectFields(MapContext& context) {
    try {
        if (IsPlusProduct(context.product))
            CollectPlus(context);
        else
            CollectClassic(context);
    } catch (const ConversionError& error) {
        return error;
    }
    return std::nullopt;
}

} // namespace zal
