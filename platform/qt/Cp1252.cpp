#include "platform/qt/Cp1252.h"

#include <algorithm>
#include <array>
#include <optional>

namespace fw {

namespace {

// Unicode of the bytes 0x80 to 0x9F.
// clang-format off
    constexpr std::array<char16_t, 32> kHighControls = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
    };
// clang-format on

char16_t ToUnicode(unsigned char byte)
{
    return byte >= 0x80 && byte <= 0x9F ? kHighControls[byte - 0x80] : char16_t(byte);
}

} // namespace

QString FromCp1252(std::string_view text)
{
    QString out;
    out.reserve(static_cast<qsizetype>(text.size()));
    for (char c : text)
        out.append(QChar(ToUnicode(static_cast<unsigned char>(c))));
    return out;
}

namespace {

// The code page's byte of a character, if it has one.
std::optional<char> ByteOf(QChar character)
{
    const char16_t u = character.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<char>(u);
    const auto found = std::find(kHighControls.begin(), kHighControls.end(), u);
    if (found == kHighControls.end())
        return std::nullopt;
    return static_cast<char>(0x80 + (found - kHighControls.begin()));
}

} // namespace

std::string ToCp1252(const QString& text)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar character : text)
        out.push_back(ByteOf(character).value_or('?'));
    return out;
}

bool FitsCp1252(const QString& text)
{
    return std::all_of(
        text.begin(), text.end(), [](QChar character) { return ByteOf(character).has_value(); });
}

} // namespace fw
