// Text of the "ANSI" text records (and a Windows metafile's face names): bytes in the Windows code
// page of the selected font's character set, turned into Unicode.
#pragma once

#include <QString>

#include <cstdint>
#include <string_view>
#include <vector>

namespace metafile {

// The Windows code page of a font's character set: the Far East, Greek, Turkish, Vietnamese,
// Hebrew, Arabic, Baltic, Cyrillic, Thai and Central European sets have their own; every other
// value (the ANSI and default sets among them) is read as 1252. Text in the symbol set has an
// encoding of its own (SymbolText.h).
int CodePageOfCharset(uint8_t charset);

struct AnsiText {
    QString text;
    // For each UTF-16 unit of text, the bytes it was read from: 2 for a double-byte character, 1
    // otherwise, 0 for the second unit of a surrogate pair.
    std::vector<uint8_t> bytes;
};

// The bytes read as the code page's characters. A byte or pair the code page does not define, and
// a lead byte without its trail byte, each become one replacement character (U+FFFD) of one byte;
// the byte after a lead byte that does not pair with it is read again as a character of its own.
AnsiText DecodeAnsi(std::string_view bytes, int codePage);

// Advances given one a byte (as an ANSI record gives them) made one a UTF-16 unit of the text:
// a double-byte character advances by the sum of its two. Missing entries count as 0; without
// advances there are none.
std::vector<double> UnitAdvances(const std::vector<double>& perByte, const AnsiText& text);

} // namespace metafile
