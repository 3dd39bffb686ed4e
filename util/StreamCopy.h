// Reading streams up to markers.
#pragma once

#include <istream>
#include <ostream>
#include <string_view>

// Reads up to and including the count-th ">" (a count of 0 or below reads to the end); true
// when the stream is still good.
bool SkipPastClosingBrackets(std::istream& is, int count);
// Copies the input to the output up to the wanted text, which is consumed but not written;
// letter case is ignored in the comparison unless matchCase. Returns true when the input ended
// without the wanted text (all of it copied), false when the text was found. An input shorter
// than the wanted text writes nothing and returns false.
bool CopyUntilText(std::ostream& os, std::istream& is, std::string_view wanted, bool matchCase);
