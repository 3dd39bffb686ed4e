// Text in the Symbol font, a font of the symbol character set: its codes are those of
// the Symbol encoding, which puts Greek letters, mathematical signs and the pieces of tall brackets
// where other fonts have Latin letters. Office programs write the same codes as UTF-16 in the
// private-use range U+F020 to U+F0FF.
#pragma once

#include "imaging/metafile/AnsiText.h"

#include <QString>

#include <cstdint>
#include <string_view>

namespace metafile {

inline constexpr uint8_t kSymbolCharset = 2;

// The Unicode character of a code of the Symbol encoding; U+FFFD for a code it leaves undefined,
// and the code itself below 0x20.
char16_t SymbolCharacter(uint8_t code);

// The bytes of an ANSI text record in a font of the character set: the Symbol encoding's
// characters for the symbol set, the code page's for the others.
AnsiText DecodeFontText(std::string_view bytes, uint8_t charset);

// UTF-16 text in a font of the character set: in the symbol set, U+0020 to U+00FF and U+F020 to
// U+F0FF are codes of the Symbol encoding and become its characters; everything else is drawn as
// it is.
QString FontUnicode(const QString& text, uint8_t charset);

} // namespace metafile
