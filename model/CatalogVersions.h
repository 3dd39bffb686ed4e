// The data versions at which the catalogue's stored forms gained their fields, one table per
// form. Every threshold is compared with the version of the file or archive being read, which
// its reader is handed (ReadContext).
//
//  - "Since" thresholds: the field is present when the version is strictly greater (Holds).
//  - "Before" thresholds: the repair applies when the version is strictly smaller.
#pragma once

#include <limits>

namespace catalogversions {

// Present in every version; never present.
inline constexpr double always = -std::numeric_limits<double>::infinity();
inline constexpr double never = std::numeric_limits<double>::infinity();

// Product catalogue file (ProductCatalog.csv): settings of line 1.
namespace file {
inline constexpr double CatalogReorderSince = 2.0463;
inline constexpr double NonStandaloneSurchargeSince = 2.054;
inline constexpr double HardbackChargeSince = 2.351;
inline constexpr double VatRateSince = 2.354;
inline constexpr double OverseasSurchargeSince = 2.391;
} // namespace file

// Product rows of the file and the product's archive form share their thresholds.
namespace product {
inline constexpr double Column4TextSince = 2.45;
inline constexpr double Column5TextSince = 2.44;
inline constexpr double Column8FlagSince = 2.44;
inline constexpr double SepPackScanSince = 2.0465;
inline constexpr double CaptionSeparationSince = 2.32;
inline constexpr double PricePercentSince = 2.0422;
inline constexpr double NeedsAddressSince = 2.0464;
inline constexpr double PrintLabelOnScanSince = 2.0466;
inline constexpr double NonSAProductIdSince = 2.397;
inline constexpr double NumMultiImagesSince = 2.4;
} // namespace product

// Archive forms of the catalogue and its mount table.
namespace archive {
inline constexpr double RecordIdSince = 2.2;
inline constexpr double CatalogReorderSince = 2.0463;
inline constexpr double NonCrpSurchargeSince = 2.0297;
inline constexpr double NonStandaloneSurchargeSince = 2.054;
inline constexpr double HardbackChargeSince = 2.351;
inline constexpr double VatRateSince = 2.354;
inline constexpr double OverseasSurchargeSince = 2.391;
// Older archives may hold products saved without prices: they take the global catalogue's.
inline constexpr double UnpricedProductsBefore = 2.039;
} // namespace archive

} // namespace catalogversions
