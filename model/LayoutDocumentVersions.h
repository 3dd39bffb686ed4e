// The data versions at which the layout document and the archive forms of its records gained their
// lines and fields. A file holds a field when its version is strictly greater than the field's
// threshold; the conversions apply to files strictly older than theirs.
#pragma once

namespace layoutdoc {

// Lines of the document.
inline constexpr double PrintMainImageSince = 1.878;
inline constexpr double LegacyFontSizesBefore = 1.882;
inline constexpr double OverprintWordSince = 1.751;
inline constexpr double OverprintColourSince = 2.009;
inline constexpr double OverprintDiagonalSince = 2.01;
inline constexpr double OverprintDiagWidthSince = 2.024;

// Fields of a unit line.
inline constexpr double CaptionSince = 2.062;
inline constexpr double SingleOnlySince = 2.0431;
inline constexpr double ImageFlagSince = 1.76;
inline constexpr double TurnsAndFontSince = 1.881;

// The archive forms of layouts, units and paper carry every field the document had gained by this
// version; only the fields added later are versioned in them.
inline constexpr double ArchiveFormsSince = 2.024;

// Conversions of older files.
inline constexpr double BarcodeSizeInFontBefore = 2.0;
inline constexpr double LateExtraTextsBefore = 2.062;

} // namespace layoutdoc
