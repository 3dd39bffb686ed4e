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

void OrderFormBadKeys::Report(std::string_view key)
{
    if (++count_ <= ShownBadKeys)
        GetTheApp().MessageBox(
            "Ignoring bad key \"" + std::string(key) + "\" found in order form template file", win::MB_OK);
}

void OrderFormBadKeys::Finish() const
{
    if (count_ > ShownBadKeys)
        GetTheApp().MessageBox("Ignoring " + std::to_string(count_ - ShownBadKeys)
                + " more bad keys found in order form template file",
            win::MB_OK);
}

void SetOrderFormTemplateValue(OrderFormSettings& settings, OrderFormBadKeys& badKeys, std::string_view key,
    std::optional<int32_t> value)
{
    const auto found = std::find(OrderFormSettingNames.begin(), OrderFormSettingNames.end(), key);
    if (found == OrderFormSettingNames.end())
        badKeys.Report(key);
    else if (value)
        settings[static_cast<std::size_t>(found - OrderFormSettingNames.begin())] = *value;
}

namespace {

// The value field of a setting line: nothing when the line has none or it is not a number.
std::optional<int32_t> ReadValue(std::istream& in, bool& lineEnded)
{
    const auto value = layoutdoc::ReadPresentField(in);
    lineEnded = !value || value->endsLine;
    int32_t parsed = 0;
    if (value && StringToInt(value->text, parsed))
        return parsed;
    return std::nullopt;
}

} // namespace

OrderFormSettings ReadOrderFormTemplateValues(std::istream& in)
{
    using namespace layoutdoc;
    OrderFormSettings settings {};
    OrderFormBadKeys badKeys;
    while (auto number = ReadPresentField(in)) {
        // The first field is the version of the line; nothing else uses it.
        StringToDouble(number->text, SavedDataVersion);
        if (number->endsLine)
            continue; // a blank line, or a line without a key
        const auto key = ReadPresentField(in);
        if (!key)
            break;
        bool lineEnded = key->endsLine;
        const std::optional<int32_t> value = lineEnded ? std::nullopt : ReadValue(in, lineEnded);
        SetOrderFormTemplateValue(settings, badKeys, key->text, value);
        if (!lineEnded)
            SkipCsvLine(in);
    }
    badKeys.Finish();
    SavedDataVersion = 0;
    return settings;
}
