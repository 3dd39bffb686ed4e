// Shortening texts: dropping angle-bracket tags, and cutting the middle out of a long text.
#pragma once

#include <string>

// Drops everything from each "<" up to and including the next ">"; a "<" without a later ">"
// drops the rest of the text; a ">" outside a tag stays.
void StripTags(std::string& text);
// When the text is longer than the width and than 5 characters, its middle becomes "..." so that
// the text is width characters long: its first width / 2 - 1 characters, "...", and its last
// width - width / 2 - 2. A width of 3 or less leaves "..." alone.
void AbbreviateMiddle(std::string& text, int width);
