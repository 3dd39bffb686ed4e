// The catalogue's own fields: the name, then the settings in the order of the file's line 1, each
// with the key the file writes before it. Amount defaults are in currency units.
#include "model/CatalogVersions.h"
#include "model/ProductCatalog.h"

namespace {
using S = CatalogSettings;
using namespace catalogversions;
} // namespace

const std::array<CatalogSetting, catalogSettingCount> CatalogSettingsTable = { {
    { "", &S::Name, 0, 0, 0, always, always },
    { "discount", &S::Discount, 6.7, 1, 1, always, always },
    { "disc red", &S::DiscRed, 0.5, 2, 2, always, always },
    { "max disc prods", &S::MaxDiscProds, 8, 3, 3, always, always },
    { "custom reorder", &S::CustomReorder, 0.10, 4, 4, always, always },
    { "catalog reorder", &S::CatalogReorder, 0.32, 5, 5, file::CatalogReorderSince,
        archive::CatalogReorderSince },
    { "min order", &S::MinOrder, 0, 6, 6, always, always },
    { "retouch charge", &S::RetouchCharge, 30.00, 7, 7, always, always },
    { "non crp surcharge", &S::NonCrpSurcharge, 3.0, 8, 8, always, archive::NonCrpSurchargeSince },
    { "non standalone surcharge", &S::NonStandaloneSurcharge, 1.00, 9, 9, file::NonStandaloneSurchargeSince,
        archive::NonStandaloneSurchargeSince },
    { "hardback charge", &S::HardbackCharge, 0.20, 10, 10, file::HardbackChargeSince,
        archive::HardbackChargeSince },
    { "VAT rate", &S::VatRate, 20.0, 11, 11, file::VatRateSince, archive::VatRateSince },
    { "overseas surchare", &S::OverseasSurcharge, 0, 12, 12, file::OverseasSurchargeSince,
        archive::OverseasSurchargeSince },
} };
