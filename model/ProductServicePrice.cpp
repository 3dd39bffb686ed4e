// A product's price for a service type, with the full-service floor that ties it to the price of
// the pack it comes in.
#include "model/PacksCollection.h"
#include "model/ProductDetails.h"
#include "platform/win/IntArithmetic.h"

Money ProductDetails::GetServicePrice(int32_t serviceType, const PacksCollection& packs) const
{
    if (serviceType == static_cast<int32_t>(ServiceType::fullService) && fields_.PricePercent > 0) {
        const int32_t index = packs.FindPackWithProduct(fields_.ID);
        if (index >= 0)
            return GetServicePriceFromReference(serviceType, packs.GetPack(index)->GetPrice());
    }
    return GetServicePriceFromReference(serviceType, Money());
}

Money ProductDetails::GetServicePriceFromReference(int32_t serviceType, const Money& reference) const
{
    switch (serviceType) {
    case static_cast<int32_t>(ServiceType::returnOnly):
        return fields_.Return;
    case static_cast<int32_t>(ServiceType::dataEntryAndReturn):
        return fields_.Data;
    case static_cast<int32_t>(ServiceType::fullService): {
        // The floor: PricePercent of the reference, each step rounded to whole hundredths. The
        // product is kept in double precision, so that a large reference limits only the result.
        if (fields_.PricePercent > 0) {
            const double scaled = RoundToDecimals(reference.GetAmount() * fields_.PricePercent, 0);
            const Money floor(win::SaturateToInt32(RoundToDecimals(scaled / 100.0, 0)));
            if (floor > fields_.Full)
                return floor;
        }
        return fields_.Full;
    }
    default:
        return Money();
    }
}
