// Text records beyond their characters: the rectangle an ExtTextOut record fills first and keeps
// its text inside, text in a font of the symbol character set (read through the Symbol encoding),
// and glyph indices, drawn in the named face only where that very face is installed. Checked by
// the colours at points and the ink in boxes worked out from the records; the symbol text also
// where the recording canvas receives it.
#include "imaging/metafile/MetafileData.h"
#include "imaging/metafile/MetafilePlayer.h"
#include "imaging/metafile/RecordingMetafileCanvas.h"
#include "metafile/FixtureTable.h"
#include "metafile/RecordedTexts.h"

#include <QFont>
#include <QRawFont>

#include <array>

namespace {

using namespace fixturetable;

// Windows metafile functions.
constexpr int kSetBkMode = 0x0102;
constexpr int kSetBkColor = 0x0201;
constexpr int kCreateFontIndirect = 0x02FB;
constexpr int kExtTextOut = 0x0A32;

// Enhanced metafile records.
constexpr uint32_t kSetBkModeEmf = 18;
constexpr uint32_t kSetBkColorEmf = 25;
constexpr uint32_t kSelectObject = 37;
constexpr uint32_t kExtCreateFontIndirectW = 82;
constexpr uint32_t kExtTextOutA = 83;
constexpr uint32_t kExtTextOutW = 84;
constexpr uint32_t kSmallTextOut = 108;

constexpr uint32_t kTransparent = 1;
constexpr uint32_t kOpaque = 0x2;
constexpr uint32_t kClipped = 0x4;
constexpr uint32_t kGlyphIndex = 0x10;
constexpr uint32_t kSmallChars = 0x200;
constexpr uint8_t kSymbolCharset = 2;

// The text's characters 40 pixels high from here on, in the face and character set (object 1),
// with the background transparent and red.
void Font(EmfBuilder& b, const std::u16string& face, uint8_t charset = 0, int height = -40)
{
    Bytes name;
    for (const char16_t c : face)
        Writer::Put16(name, c);
    name.resize(64, 0);
    b.Record(
        kExtCreateFontIndirectW, { 1, uint32_t(height), 0, 0, 0, 400, uint32_t(charset) << 24, 0 }, name);
    b.Record(kSelectObject, { 1 });
    b.Record(kSetBkModeEmf, { kTransparent });
    b.Record(kSetBkColorEmf, { 0x0000FF });
}

// An ExtTextOut record at (x, y): its options, rectangle and text (UTF-16 units or bytes, with
// glyph indices the indices).
void ExtTextOut(EmfBuilder& b, uint32_t type, int x, int y, uint32_t options, std::array<int, 4> rectangle,
    const std::vector<uint16_t>& text)
{
    constexpr uint32_t kTextAt = 76;
    Bytes tail;
    for (const uint16_t unit : text) {
        if (type == kExtTextOutW)
            Writer::Put16(tail, unit);
        else
            tail.push_back(uint8_t(unit));
    }
    while (tail.size() % 4)
        tail.push_back(0);
    const auto [left, top, right, bottom] = rectangle;
    b.Record(type,
        { 0, 0, 0, 0, 1, 0, 0, uint32_t(x), uint32_t(y), uint32_t(text.size()), text.empty() ? 0 : kTextAt,
            options, uint32_t(left), uint32_t(top), uint32_t(right), uint32_t(bottom), 0 },
        tail);
}

std::vector<uint16_t> Units(const std::u16string& text)
{
    return { text.begin(), text.end() };
}

// A small text record of one byte a character with its options and rectangle.
void SmallTextOut(
    EmfBuilder& b, int x, int y, uint32_t options, std::array<int, 4> rectangle, const std::string& text)
{
    constexpr uint32_t kNoRectangle = 0x100;
    std::vector<uint32_t> values { uint32_t(x), uint32_t(y), uint32_t(text.size()), options | kSmallChars, 1,
        0, 0 };
    if ((options & kNoRectangle) == 0)
        for (const int v : rectangle)
            values.push_back(uint32_t(v));
    Bytes record;
    for (const uint32_t v : values)
        Writer::Put32(record, v);
    record.insert(record.end(), text.begin(), text.end());
    while (record.size() % 4)
        record.push_back(0);
    b.Record(kSmallTextOut, {}, record);
}

// The glyph index of the character in the installed face.
uint16_t GlyphOf(const QString& face, char16_t c)
{
    decodefortest::EnsureApplication();
    QFont font(face);
    font.setPixelSize(40);
    const QList<quint32> glyphs = QRawFont::fromFont(font).glyphIndexesForString(QString(QChar(c)));
    return glyphs.isEmpty() ? 0 : uint16_t(glyphs.front());
}

const std::vector<Fixture>& Fixtures()
{
    static const std::vector<Fixture> fixtures {
        // The rectangle is filled with the background colour also without any character; the
        // mode of the background does not matter.
        { "emf-exttextoutw-opaque-without-characters",
            [] {
                return Enhanced([](EmfBuilder& b) {
                    Font(b, u"Arial");
                    ExtTextOut(b, kExtTextOutW, 10, 10, kOpaque, { 10, 10, 40, 40 }, {});
                });
            },
            { { 10, 10, kRed }, { 39, 39, kRed }, { 25, 25, kRed }, { 9, 9, kWhite }, { 41, 20, kWhite },
                { 20, 41, kWhite } } },
        // Letters 40 pixels high run far to the right of the rectangle they are clipped to.
        { "emf-exttextouta-clipped",
            [] {
                return Enhanced([](EmfBuilder& b) {
                    Font(b, u"Arial");
                    ExtTextOut(b, kExtTextOutA, 10, 10, kClipped, { 10, 0, 40, 100 }, Units(u"MMMM"));
                });
            },
            {}, { { 10, 20, 40, 50, true }, { 40, 0, 100, 100, false }, { 0, 0, 10, 100, false } } },
        // Filled and clipped: the cell's top (above the capitals) red, nothing outside.
        { "emf-smalltextout-opaque-and-clipped",
            [] {
                return Enhanced([](EmfBuilder& b) {
                    Font(b, u"Arial");
                    SmallTextOut(b, 50, 50, kOpaque | kClipped, { 50, 50, 70, 70 }, "MMMM");
                });
            },
            { { 55, 51, kRed }, { 65, 51, kRed } },
            { { 70, 0, 100, 100, false }, { 0, 70, 100, 100, false } } },
        { "wmf-exttextout-opaque-and-clipped",
            [] {
                return Placeable([](Writer& w) {
                    w.Record(kCreateFontIndirect, { -40, 0, 0, 0, 400, 0, 0, 0, 0 });
                    w.Record(wmfwriter::kSelectObject, { 0 });
                    w.Record(kSetBkMode, { 1 });
                    w.Colour(kSetBkColor, 255, 0, 0);
                    w.RecordOf(kExtTextOut, { 10, 10, 4, int(kOpaque | kClipped), 10, 10, 40, 40 },
                        { 'M', 'M', 'M', 'M' });
                });
            },
            { { 20, 11, kRed }, { 35, 11, kRed } }, { { 40, 2, 98, 98, false }, { 2, 40, 98, 98, false } } },
        // Codes of the Symbol encoding drawn as its characters: private-use U+F061 (alpha), a Greek
        // letter as itself and the byte 0xA5 (infinity), each somewhere in its own box. (Characters
        // of the default face, so that no fallback face is loaded: Qt's fallback leaks.)
        { "emf-symbol-font-text",
            [] {
                return Enhanced([](EmfBuilder& b) {
                    Font(b, u"Symbol", kSymbolCharset);
                    ExtTextOut(b, kExtTextOutW, 10, 10, 0, {}, { 0xF061 });
                    ExtTextOut(b, kExtTextOutW, 60, 10, 0, {}, { 0x03B1 });
                    ExtTextOut(b, kExtTextOutA, 10, 60, 0, {}, { 0xA5 });
                });
            },
            {}, { { 10, 10, 50, 55, true }, { 60, 10, 100, 55, true }, { 10, 60, 50, 100, true } } },
        // The stem of the capital I of the installed face (as a character its index would be
        // something else); then glyphs of a face that is missing, which a face standing in for it
        // would draw as other glyphs: nothing.
        { "emf-glyph-indices",
            [] {
                return Enhanced([](EmfBuilder& b) {
                    Font(b, u"Liberation Sans", 0, -80);
                    ExtTextOut(b, kExtTextOutW, 10, 10, kGlyphIndex, {}, { GlyphOf("Liberation Sans", 'I') });
                    Font(b, u"No Such Face Installed");
                    ExtTextOut(b, kExtTextOutW, 50, 10, kGlyphIndex, {}, { 36, 37, 38 });
                    Font(b, u"Arial");
                    SmallTextOut(b, 50, 60, kGlyphIndex, {}, "$%&");
                });
            },
            {}, { { 10, 35, 40, 60, true }, { 40, 0, 100, 100, false } } },
    };
    return fixtures;
}

TEST(MetafileTextOptions, EveryFixtureDrawsWhatItsRecordsSay)
{
    for (const Fixture& f : Fixtures()) {
        SCOPED_TRACE(f.name);
        CheckFixture(f);
    }
}

using recordedtexts::TextsOf;

TEST(MetafileTextOptions, SymbolFontTextIsReadThroughTheSymbolEncoding)
{
    const struct {
        const char* name;
        std::function<Bytes()> file;
        std::vector<std::string> texts;
    } cases[] = {
        { "utf16-private-use-latin-and-greek",
            [] {
                return Enhanced([](EmfBuilder& b) {
                    Font(b, u"Symbol", kSymbolCharset);
                    ExtTextOut(
                        b, kExtTextOutW, 0, 0, 0, {}, { 0xF061, 'a', 0x03B1, 0xF0EC, 0xEF, 0xF0A5, 'A' });
                });
            },
            { "text ααα⎧⎪∞\u0391 font Symbol" } },
        { "ansi-bytes-and-undefined-ones",
            [] {
                return Enhanced([](EmfBuilder& b) {
                    Font(b, u"Symbol", kSymbolCharset);
                    ExtTextOut(b, kExtTextOutA, 0, 0, 0, {}, { 'p', 0xEC, 0xEF, 0x80, 0xF0, '1' });
                });
            },
            { "text π⎧⎪��1 font Symbol" } },
        { "small-text",
            [] {
                return Enhanced([](EmfBuilder& b) {
                    Font(b, u"Symbol", kSymbolCharset);
                    SmallTextOut(b, 0, 0, 0x100, {}, "abg");
                });
            },
            { "text αβγ font Symbol" } },
        { "wmf-textout",
            [] {
                Writer w(4);
                w.Record(wmfwriter::kSetWindowExt, { 100, 100 });
                w.RecordOf(kCreateFontIndirect, { -16, 0, 0, 0, 400, 0, kSymbolCharset << 8, 0, 0 },
                    { 'S', 'y', 'm', 'b', 'o', 'l', 0, 0 });
                w.Record(wmfwriter::kSelectObject, { 0 });
                w.Text(10, 10, "W\xD6");
                return w.File();
            },
            { "text Ω√ font Symbol" } },
        { "other-character-sets-keep-their-characters",
            [] {
                return Enhanced([](EmfBuilder& b) {
                    Font(b, u"Arial");
                    ExtTextOut(b, kExtTextOutW, 0, 0, 0, {}, { 'a', 0xEC });
                    ExtTextOut(b, kExtTextOutA, 0, 0, 0, {}, { 'a', 0xEC });
                });
            },
            { "text aì font Arial", "text aì font Arial" } },
        // Other fonts of the symbol set put pictures of their own at these codes (0xA7 is
        // Wingdings' square bullet): their text is read as ANSI text, as it always was.
        { "other-symbol-set-fonts-keep-their-codes",
            [] {
                return Enhanced([](EmfBuilder& b) {
                    Font(b, u"Wingdings", kSymbolCharset);
                    ExtTextOut(b, kExtTextOutA, 0, 0, 0, {}, { 0xA7, 'l' });
                    ExtTextOut(b, kExtTextOutW, 0, 0, 0, {}, { 0xF0A7, 'l' });
                });
            },
            { "text \u00A7l font Wingdings", "text \uF0A7l font Wingdings" } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TextsOf(c.file()), c.texts);
    }
}

} // namespace
