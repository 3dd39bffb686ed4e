// Helpers for the layout document tests: fixtures, reading and writing through strings, and a
// snapshot of every stored field of a layout, in the order the document holds them.
#pragma once

#include "model/Layout.h"

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace layoutdoc_test {

// The bytes of tests/data/layoutdoc/<name>.
std::string ReadFixture(std::string_view name);

std::string WriteToString(const Layout& layout);
bool ReadFromString(Layout& layout, const std::string& text);

// Every stored field as ("PaperWidth", "2100") or ("PImage.X", "30"): the layout's own fields
// first, then each unit's fields in tree order, each list in the order of the document.
using Snapshot = std::vector<std::pair<std::string, std::string>>;
Snapshot StoredFields(const Layout& layout);

// The same fields by name, with each unit's item size ("PImage.ItemWidth") added.
std::map<std::string, std::string> FieldMap(const Layout& layout);

LayoutUnit& UnitNamed(const Layout& layout, const std::string& name);

// Gives every stored field a value that differs from its current one: booleans flipped, numbers
// and texts replaced by values made from the seed and the field's position.
void ChangeEveryStoredField(Layout& layout, int seed);

} // namespace layoutdoc_test
