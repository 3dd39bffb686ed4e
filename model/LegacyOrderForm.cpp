#include "model/LegacyOrderForm.h"

#include "model/DocumentFieldReaders.h"
#include "records/CsvFields.h"
#include "records/DataVersion.h"
#include "records/SharedFunctions.h"

#include <algorithm>
#include <string>

const std::array<std::string_view, OrderFormSettingCount> OrderFormSettingNames = {
    "OrderBarcodePoint",
    "OrderTextPoint",
    "OrderSmallTextPoint",
    "OrderDescriptionTextPoint",
    "PortraitOrderPrintWidth",
    "PortraitOrderPrintHeight",
    "PortraitOrderPrintLeftMargin",
    "PortraitOrderPrintTopMargin",
    "PortraitOrderBarcodeCentre",
    "PortraitOrderBarcodeTopMargin",
    "PortraitOrderRefTopMargin",
    "PortraitOrderRefBox1",
    "PortraitOrderRefBox2",
    "PortraitOrderRefBox3",
    "PortraitOrderRefBox4",
    "PortraitOrderPriceRightMargin",
    "PortraitOrderPriceTopMargin",
    "PortraitOrderDescripLeftMargin",
    "PortraitOrderDescripTopMargin",
    "PortraitMinOrderPriceRightMargin",
    "PortraitMinOrderPriceTopMargin",
    "PortraitOrderPriceHeight",
    "PortraitOrderSuppTextLeftMargin",
    "PortraitOrderSuppTextTopMargin",
    "MultiPortraitOrderSeparation",
    "MultiPortraitOrderPerPage",
    "GroupOrderPrintWidth",
    "GroupOrderPrintHeight",
    "GroupOrderPrintLeftMargin",
    "GroupOrderPrintTopMargin",
    "GroupOrderBarcodeCentre",
    "GroupOrderBarcodeTopMargin",
    "GroupOrderRefTopMargin",
    "GroupOrderRefBox1",
    "GroupOrderRefBox2",
    "GroupOrderRefBox3",
    "GroupOrderRefBox4",
    "GroupOrderPriceRightMargin",
    "GroupOrderPriceTopMargin",
    "GroupOrderDescripLeftMargin",
    "GroupOrderDescripTopMargin",
    "GroupOrderPriceHeight",
    "GroupOrderSuppTextLeftMargin",
    "GroupOrderSuppTextTopMargin",
    "CombinedOrderPriceTopMargin",
    "CombinedOrderDescripTopMargin",
    "CombinedOrderGroupPrintWidth",
    "CombinedOrderGroupPrintHeight",
    "CombinedOrderGroupPrintLeftMargin",
    "CombinedOrderGroupPrintTopMargin",
    "PortraitOrderLandscape",
    "GroupOrderLandscape",
    "CombinedOrderLandscape",
};

void SetOrderFormTemplateValue(OrderFormSettings& settings, std::string_view key, int32_t value)
{
    const auto found = std::find(OrderFormSettingNames.begin(), OrderFormSettingNames.end(), key);
    if (found == OrderFormSettingNames.end()) {
        GetTheApp().MessageBox(
            "Ignoring bad key \"" + std::string(key) + "\" found in order form template file", win::MB_OK);
        return;
    }
    settings[static_cast<std::size_t>(found - OrderFormSettingNames.begin())] = value;
}

OrderFormSettings ReadOrderFormTemplateValues(std::istream& in)
{
    using namespace layoutdoc;
    OrderFormSettings settings {};
    while (auto number = ReadPresentField(in)) {
        // The first field is the version of the line; nothing else uses it.
        StringToDouble(number->text, SavedDataVersion);
        if (number->endsLine)
            continue; // a blank line, or a line without a key
        const auto key = ReadPresentField(in);
        if (!key || key->endsLine)
            continue; // no value to store under it
        const auto value = ReadPresentField(in);
        if (!value)
            break;
        int32_t parsed = 0;
        if (StringToInt(value->text, parsed))
            SetOrderFormTemplateValue(settings, key->text, parsed);
        if (!value->endsLine)
            SkipCsvLine(in);
    }
    SavedDataVersion = 0;
    return settings;
}
