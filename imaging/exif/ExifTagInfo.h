// The constant tag tables that name, explain and format the tags of an EXIF block: one table for each
// directory of the standard layout (Main, Sub, Gps), one for each maker-note layout the reader
// understands, and three for the arrays inside Canon's maker note.
#pragma once

#include <cstdint>
#include <span>
#include <string>

class ExifEntry;

// One pair of a value-name list. A list whose first number is ExifUnitList is a unit appended to the
// texts; one whose first number is ExifCapitaliseList asks for capitalisation; any other list maps the
// entry's integer value to a name (first equal number wins).
struct ExifValueName {
    int32_t number;
    const char* text;
};

inline constexpr int32_t ExifUnitList = -1;
inline constexpr int32_t ExifCapitaliseList = -2;

// Writes the display text of an entry from its numerator, denominator, integer value and value text.
using ExifDisplayFormatter = std::string (*)(const ExifEntry& entry);

// An UNDEFINED value gives its number from its last byte unless its row names another byte.
inline constexpr int32_t ExifNumberInLastByte = -1;

// One row of a tag table. In the two Canon settings tables the tag is the index in the array, in the
// custom-function table the function number.
struct ExifTagInfo {
    uint32_t tag;
    const char* shortName;
    std::span<const ExifValueName> valueNames;
    ExifDisplayFormatter formatter;
    const char* description;
    // For an UNDEFINED value: the offset of the byte that carries the number its value names look up.
    int32_t numberByte = ExifNumberInLastByte;
};

using ExifTagTable = std::span<const ExifTagInfo>;

// The first row of the table with the given tag, or nullptr.
const ExifTagInfo* ExifFindTagInfo(ExifTagTable table, uint32_t tag);

namespace ExifTables {
extern const ExifTagTable Main;
extern const ExifTagTable Sub;
extern const ExifTagTable Gps;
extern const ExifTagTable Nikon;
extern const ExifTagTable Nikon2;
extern const ExifTagTable Oly;
extern const ExifTagTable Canon;
extern const ExifTagTable CnSet1;
extern const ExifTagTable CnSet2;
extern const ExifTagTable CanonCFn;
extern const ExifTagTable Fuji;
extern const ExifTagTable Casio;
} // namespace ExifTables
