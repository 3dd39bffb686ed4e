// The data versions at which the pack records' stored forms gained their parts. Each form has its
// own thresholds: a pack template row and an archive carry some fields from different versions.
//
//  - "Since": present when the version read is strictly greater.
//  - "Before": the rule applies when the version read is strictly smaller.
//  - "After" and "Before" together: strictly between the two.
#pragma once

namespace packversions {

// Both forms.
inline constexpr double NoPrintFormSince = 2.0299;
inline constexpr double NoPrintWebSince = 2.039; // before it, NoPrintWeb takes NoPrintForm's value
inline constexpr double NoPandPSince = 2.0451;
inline constexpr double AddOnSince = 2.054;
inline constexpr double ImageMixinSince = 2.411;
inline constexpr double ServiceTypeSince = 2.0293;
inline constexpr double MountedSince = 2.029; // an entry's MT; before it, derived from the product
// A dropped integer sits after the service type, and a dropped flag after an entry's M.
inline constexpr double DroppedIntegerAfter = 2.451;
inline constexpr double DroppedIntegerBefore = 2.453;
inline constexpr double DroppedEntryFlagAfter = 1.843;
inline constexpr double DroppedEntryFlagBefore = 1.852;

// Pack template rows.
namespace file {
inline constexpr double MountTypeSince = 2.029;
inline constexpr double NoQtyDiscountSince = 2.0542;
inline constexpr double MonoSince = 1;
// Older rows hold 8 product slots, later ones 10 (this version included).
inline constexpr double TenSlotsFrom = 2.0521;
// Older rows mark a pack unmounted with "nomount" in its short description.
inline constexpr double NoMountMarkerBefore = 2.0291;
// Older rows name the product "SA EImage" as "EImage".
inline constexpr double EImageBefore = 2.045;
} // namespace file

// Archives.
namespace archive {
inline constexpr double ShortDescriptionSince = 1.05; // before it, a copy of the long one
inline constexpr double MountTypeSince = 2.0292;
inline constexpr double NoQtyDiscountSince = 2.0541;
inline constexpr double MonoSince = 1.581; // a 4-byte integer up to MonoAsByteSince
inline constexpr double MonoAsByteSince = 1.77;
} // namespace archive

} // namespace packversions
