#include "platform/qt/Cp1252.h"

#include <array>

namespace fw {

namespace {

    // Unicode of the bytes 0x80 to 0x9F.
    constexpr std::array<char16_t, 32> kHighControls = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
    };

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

std::string ToCp1252(const QString& text)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (QChar qc : text) {
        const char16_t u = qc.unicode();
        char byte = '?';
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            byte = static_cast<char>(u);
        } else {
            for (std::size_t i = 0; i < kHighControls.size(); ++i)
                if (kHighControls[i] == u)
                    byte = static_cast<char>(0x80 + i);
        }
        out.push_back(byte);
    }
    return out;
}

} // namespace fw
