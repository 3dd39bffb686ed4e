#include "imaging/metafile/AnsiText.h"

#include "platform/qt/Cp1252.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <string>

namespace metafile {
namespace {

constexpr int kDefaultCodePage = 1252;
constexpr char32_t kReplacement = 0xFFFD;

struct CharsetCodePage {
    uint8_t charset;
    int codePage;
};

constexpr std::array<CharsetCodePage, 14> kCodePages { {
    { 128, 932 }, // Shift JIS
    { 129, 949 }, // Hangul (Unified Hangul Code)
    { 130, 1361 }, // Johab
    { 134, 936 }, // GB 2312 (GBK)
    { 136, 950 }, // Big5
    { 161, 1253 }, // Greek
    { 162, 1254 }, // Turkish
    { 163, 1258 }, // Vietnamese
    { 177, 1255 }, // Hebrew
    { 178, 1256 }, // Arabic
    { 186, 1257 }, // Baltic
    { 204, 1251 }, // Cyrillic
    { 222, 874 }, // Thai
    { 238, 1250 }, // Central European
} };

// glibc's name of the code page.
std::string IconvName(int codePage)
{
    return codePage == 1361 ? std::string("JOHAB") : "CP" + std::to_string(codePage);
}

// One iconv conversion from a Windows code page into UTF-32, used a character at a time so that
// each character's bytes are known (and no state carries from one to the next).
class CodePageReader {
public:
    explicit CodePageReader(int codePage)
        : m_cd(iconv_open("UTF-32LE", IconvName(codePage).c_str()))
    {
    }
    ~CodePageReader()
    {
        if (Valid())
            iconv_close(m_cd);
    }
    CodePageReader(const CodePageReader&) = delete;
    CodePageReader& operator=(const CodePageReader&) = delete;

    bool Valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // The code points of the character made of exactly these bytes; empty when they are none, with
    // incomplete set when they begin one.
    std::u32string Character(const char* bytes, size_t size, bool& incomplete)
    {
        incomplete = false;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char* in = const_cast<char*>(bytes);
        size_t inLeft = size;
        std::array<unsigned char, 16> out {};
        char* at = reinterpret_cast<char*>(out.data());
        size_t outLeft = out.size();
        if (iconv(m_cd, &in, &inLeft, &at, &outLeft) == size_t(-1)) {
            incomplete = errno == EINVAL;
            return {};
        }
        // A code page that composes characters holds the last one back until it is flushed.
        if (inLeft != 0 || iconv(m_cd, nullptr, nullptr, &at, &outLeft) == size_t(-1))
            return {};
        std::u32string codePoints;
        for (size_t i = 0; i + 4 <= out.size() - outLeft; i += 4)
            codePoints += static_cast<char32_t>(
                out[i] | (out[i + 1] << 8) | (out[i + 2] << 16) | (uint32_t(out[i + 3]) << 24));
        return codePoints;
    }

private:
    iconv_t m_cd;
};

void Append(AnsiText& out, const std::u32string& codePoints, uint8_t bytes)
{
    for (char32_t c : codePoints) {
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            c = kReplacement;
        if (c > 0xFFFF) {
            out.text += QChar(QChar::highSurrogate(c));
            out.text += QChar(QChar::lowSurrogate(c));
            out.bytes.push_back(bytes);
            out.bytes.push_back(0);
        } else {
            out.text += QChar(static_cast<char16_t>(c));
            out.bytes.push_back(bytes);
        }
        bytes = 0; // the character's bytes go to its first unit
    }
}

AnsiText Cp1252Text(std::string_view bytes)
{
    return { fw::FromCp1252(bytes), std::vector<uint8_t>(bytes.size(), 1) };
}

} // namespace

int CodePageOfCharset(uint8_t charset)
{
    for (const CharsetCodePage& entry : kCodePages)
        if (entry.charset == charset)
            return entry.codePage;
    return kDefaultCodePage;
}

AnsiText DecodeAnsi(std::string_view bytes, int codePage)
{
    if (codePage == kDefaultCodePage)
        return Cp1252Text(bytes);
    CodePageReader reader(codePage);
    if (!reader.Valid())
        return Cp1252Text(bytes); // no converter for the code page here: read as before
    AnsiText out;
    out.text.reserve(static_cast<qsizetype>(bytes.size()));
    for (size_t at = 0; at < bytes.size();) {
        const auto byte = static_cast<uint8_t>(bytes[at]);
        if (byte < 0x80) {
            // Every Windows code page keeps ASCII in its lower half (glibc's Johab alone reads
            // 0x5C as the won sign), and no character starts with such a byte.
            Append(out, std::u32string(1, byte), 1);
            ++at;
            continue;
        }
        bool incomplete = false;
        std::u32string character = reader.Character(bytes.data() + at, 1, incomplete);
        uint8_t used = 1;
        if (character.empty() && incomplete && at + 1 < bytes.size()) {
            character = reader.Character(bytes.data() + at, 2, incomplete);
            used = character.empty() ? 1 : 2;
        }
        Append(out, character.empty() ? std::u32string(1, kReplacement) : character, used);
        at += used;
    }
    return out;
}

std::vector<double> UnitAdvances(const std::vector<double>& perByte, const AnsiText& text)
{
    if (perByte.empty())
        return {};
    std::vector<double> advances;
    advances.reserve(text.bytes.size());
    size_t at = 0;
    for (const uint8_t bytes : text.bytes) {
        double sum = 0;
        for (uint8_t i = 0; i < bytes; ++i, ++at)
            sum += at < perByte.size() ? perByte[at] : 0;
        advances.push_back(sum);
    }
    return advances;
}

} // namespace metafile
