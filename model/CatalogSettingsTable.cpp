// The catalogue's own fields: the name, then the settings in the order of the file's line 1, each
// with the key the file writes before it. Amount defaults are in currency units.
#include "model/CatalogVersions.h"
#include "model/ProductCatalog.h"

namespace {
using S = CatalogSettings;
using namespace catalogversions;
} // namespace

const std::array<CatalogSetting, catalogSettingCount> CatalogSettingsTable = { {
    { 0, "", &S::Name, always, nullptr, always, 0, 0 },
    { 1, "discount", &S::Discount, always, nullptr, always, 6.7, 1 },
    { 2, "disc red", &S::DiscRed, always, nullptr, always, 0.5, 2 },
    { 3, "max disc prods", &S::MaxDiscProds, always, nullptr, always, 8, 3 },
    { 4, "custom reorder", &S::CustomReorder, always, nullptr, always, 0.10, 4 },
    { 5, "catalog reorder", &S::CatalogReorder, file::CatalogReorderSince, nullptr,
        archive::CatalogReorderSince, 0.32, 5 },
    { 6, "min order", &S::MinOrder, always, nullptr, always, 0, 6 },
    { 7, "retouch charge", &S::RetouchCharge, always, nullptr, always, 30.00, 7 },
    { 8, "non crp surcharge", &S::NonCrpSurcharge, always, nullptr, archive::NonCrpSurchargeSince, 3.0, 8 },
    { 9, "non standalone surcharge", &S::NonStandaloneSurcharge, file::NonStandaloneSurchargeSince, nullptr,
        archive::NonStandaloneSurchargeSince, 1.00, 9 },
    { 10, "hardback charge", &S::HardbackCharge, file::HardbackChargeSince, nullptr,
        archive::HardbackChargeSince, 0.20, 10 },
    { 11, "VAT rate", &S::VatRate, file::VatRateSince, nullptr, archive::VatRateSince, 20.0, 11 },
    { 12, "overseas surchare", &S::OverseasSurcharge, file::OverseasSurchargeSince, nullptr,
        archive::OverseasSurchargeSince, 0, 12 },
} };
