#include "ParameterMap.h"

#include "config/Products.h"

namespace zal {

int FillFields(MapContext& context, MapState& state, const MapHooks& hooks) {
    context.fault = -1;
    return IsPlusProduct(context.product) ? FillPlus(context, hooks) : FillClassic(context, state, hooks);
}

std::optional<ConversionError> CollectFields(MapContext& context) {
    context.conversionError.reset();
    if (IsPlusProduct(context.product))
        CollectPlus(context);
    else
        CollectClassic(context);
    return context.conversionError;
}

} // namespace zal
