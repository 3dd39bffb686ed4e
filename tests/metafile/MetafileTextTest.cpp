// The text the player hands the canvas: ANSI text and face names read in the code page of the
// font's character set (with the advances of double-byte characters summed), UTF-16 text as it is,
// and the small text record. No font for most of these scripts is installed, so the text is
// checked where the recording canvas receives it.
#include "imaging/metafile/MetafileData.h"
#include "imaging/metafile/MetafilePlayer.h"
#include "imaging/metafile/RecordingMetafileCanvas.h"
#include "metafile/EmfBuilder.h"
#include "metafile/RecordedTexts.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using emfbuilder::EmfBuilder;
using wmfwriter::Bytes;
using wmfwriter::Writer;

constexpr int kCreateFontIndirect = 0x02FB;
constexpr int kExtTextOut = 0x0A32;
constexpr uint32_t kSelectObject = 37;
constexpr uint32_t kExtCreateFontIndirectW = 82;
constexpr uint32_t kExtTextOutA = 83;
constexpr uint32_t kSmallTextOut = 108;
constexpr uint32_t kNoBounds = 0x100;
constexpr uint32_t kSmallChars = 0x200;

using recordedtexts::TextsOf;

// A Windows metafile of one unit a pixel whose font has the character set and face bytes.
Writer WmfWithFont(uint8_t charset, const Bytes& face = {})
{
    Writer w(4);
    w.Record(0x020C, { 100, 100 }); // window extent
    w.RecordOf(kCreateFontIndirect, { -16, 0, 0, 0, 400, 0, charset << 8, 0, 0 }, face);
    w.Record(wmfwriter::kSelectObject, { 0 });
    return w;
}

Bytes WmfTextOut(uint8_t charset, const std::string& bytes)
{
    Writer w = WmfWithFont(charset);
    w.Text(10, 10, bytes);
    return w.File();
}

// ExtTextOut of the bytes with one advance a byte.
Bytes WmfExtTextOut(uint8_t charset, const Bytes& bytes, const std::vector<int>& advances)
{
    Writer w = WmfWithFont(charset);
    Bytes tail = bytes;
    if (tail.size() % 2)
        tail.push_back(0);
    for (const int a : advances)
        Writer::Put16(tail, a);
    w.RecordOf(kExtTextOut, { 10, 10, int(bytes.size()), 0 }, tail);
    return w.File();
}

// An enhanced metafile (100 pixels square, one unit a pixel) whose font has the character set.
EmfBuilder EmfWithFont(uint8_t charset)
{
    EmfBuilder b(100);
    Bytes face;
    for (const char16_t c : u"Arial")
        Writer::Put16(face, c);
    face.resize(64, 0);
    b.Record(kExtCreateFontIndirectW, { 1, uint32_t(-16), 0, 0, 0, 400, uint32_t(charset) << 24, 0 }, face);
    b.Record(kSelectObject, { 1 });
    return b;
}

Bytes EmfExtTextOutA(uint8_t charset, const Bytes& bytes, const std::vector<uint32_t>& advances)
{
    EmfBuilder b = EmfWithFont(charset);
    Bytes tail = bytes;
    while (tail.size() % 4)
        tail.push_back(0);
    const uint32_t dxAt = advances.empty() ? 0 : uint32_t(76 + tail.size());
    for (const uint32_t a : advances)
        Writer::Put32(tail, a);
    b.Record(
        kExtTextOutA, { 0, 0, 0, 0, 1, 0, 0, 10, 10, uint32_t(bytes.size()), 76, 0, 0, 0, 0, 0, dxAt }, tail);
    return b.File();
}

// The small text record with the options; its text bytes follow the bounds unless the options
// leave them out. count may differ from what the bytes hold.
Bytes EmfSmallTextOut(uint32_t options, uint32_t count, const Bytes& text)
{
    EmfBuilder b = EmfWithFont(128); // a Shift JIS font, which the small text does not follow
    std::vector<uint32_t> values { 20, 30, count, options, 1, 0, 0 };
    if ((options & kNoBounds) == 0)
        values.insert(values.end(), { 0, 0, 100, 100 });
    Bytes tail = text;
    while (tail.size() % 4)
        tail.push_back(0);
    Bytes record;
    for (const uint32_t v : values)
        Writer::Put32(record, v);
    record.insert(record.end(), tail.begin(), tail.end());
    // Written as raw bytes after the record's type and size.
    b.Record(kSmallTextOut, {}, record);
    return b.File();
}

Bytes Utf16(const std::u16string& text)
{
    Bytes bytes;
    for (const char16_t c : text)
        Writer::Put16(bytes, c);
    return bytes;
}

struct TextCase {
    const char* name;
    std::function<Bytes()> file;
    std::vector<std::string> texts;
};

const std::vector<TextCase>& Cases()
{
    static const std::vector<TextCase> cases {
        // One case a code page: Far East double-byte sets, then the single-byte ones.
        { "shift-jis", [] { return WmfTextOut(128, "\x82\xA0\x82\xA2"); }, { "text あい font Arial" } },
        { "shift-jis-windows-extension", [] { return WmfTextOut(128, "\x87\x40"); },
            { "text ① font Arial" } },
        { "gbk", [] { return WmfTextOut(134, "\xD6\xD0\xCE\xC4\x80"); }, { "text 中文€ font Arial" } },
        { "unified-hangul", [] { return WmfTextOut(129, "\xB0\xA1\x81\x41"); }, { "text 가갂 font Arial" } },
        { "big5", [] { return WmfTextOut(136, "\xA4\xA4\xA4\xE5"); }, { "text 中文 font Arial" } },
        { "johab", [] { return WmfTextOut(130, "\x88\x61\\"); }, { "text 가\\ font Arial" } },
        { "greek", [] { return WmfTextOut(161, "\xE1\xE2"); }, { "text αβ font Arial" } },
        { "turkish", [] { return WmfTextOut(162, "\xD0\xFD"); }, { "text Ğı font Arial" } },
        { "vietnamese-uncomposed", [] { return WmfTextOut(163, "a\xEC\xC3"); },
            { "text a\u0301Ă font Arial" } },
        { "hebrew", [] { return WmfTextOut(177, "\xE0"); }, { "text א font Arial" } },
        { "arabic", [] { return WmfTextOut(178, "\xC7"); }, { "text ا font Arial" } },
        { "baltic", [] { return WmfTextOut(186, "\xC0"); }, { "text Ą font Arial" } },
        { "cyrillic", [] { return WmfTextOut(204, "\xCF\xF0\xE8"); }, { "text При font Arial" } },
        { "thai", [] { return WmfTextOut(222, "\xA1"); }, { "text ก font Arial" } },
        { "central-european", [] { return WmfTextOut(238, "\x8A"); }, { "text Š font Arial" } },
        { "ansi-and-default-stay-1252",
            [] {
                Writer w(4);
                for (const int charset : { 0, 1 }) {
                    w.RecordOf(kCreateFontIndirect, { -16, 0, 0, 0, 400, 0, charset << 8, 0, 0 }, {});
                    w.Record(wmfwriter::kSelectObject, { 0 });
                    w.Text(10, 10, "\x80\xE9\x81");
                    w.Record(wmfwriter::kDeleteObject, { 0 });
                }
                return w.File();
            },
            { "text €é\u0081 font Arial", "text €é\u0081 font Arial" } },
        { "face-name-in-the-code-page",
            [] {
                Writer w = WmfWithFont(128, { 0x82, 0x6C, 0x82, 0x72, 0 }); // full-width "MS"
                w.Text(10, 10, "A");
                return w.File();
            },
            { "text A font ＭＳ" } },
        // Bytes that are no character each become one replacement character; a trail byte that
        // does not pair with its lead byte is read again.
        { "shift-jis-lead-byte-cut-off", [] { return WmfTextOut(128, "A\x82"); }, { "text A� font Arial" } },
        { "shift-jis-lead-byte-without-trail", [] { return WmfTextOut(128, "\x82 \xA0"); },
            { "text � � font Arial" } },
        { "greek-undefined-byte", [] { return WmfTextOut(161, "\xAA"); }, { "text � font Arial" } },
        // Advances come one a byte: a double-byte character advances by the sum of its two.
        { "wmf-double-byte-advances",
            [] {
                return WmfExtTextOut(128, { 0x82, 0xA0, 'A', 0x82, 0xA2 }, { 10, 20, 5, 30, 40 });
            },
            { "text あAい font Arial advances 30 5 70" } },
        { "emf-ansi-text-and-advances",
            [] {
                return EmfExtTextOutA(128, { 0x82, 0xA0, 0x82, 0xA2 }, { 10, 20, 30, 40 });
            },
            { "text あい font Arial advances 30 70" } },
        { "emf-ansi-text-cut-off-lead-byte",
            [] {
                return EmfExtTextOutA(136, { 'x', 0xA4 }, { 7, 9 });
            },
            { "text x� font Arial advances 7 9" } },
        // The small text record: one byte a character (Latin-1 whatever the font), or UTF-16.
        { "small-text-small-chars-without-bounds",
            [] {
                return EmfSmallTextOut(kNoBounds | kSmallChars, 4, { 'C', 'a', 'f', 0xE9 });
            },
            { "text Café font Arial" } },
        { "small-text-utf16-with-bounds", [] { return EmfSmallTextOut(0, 2, Utf16(u"あ€")); },
            { "text あ€ font Arial" } },
        { "small-text-small-chars-with-bounds",
            [] {
                return EmfSmallTextOut(kSmallChars, 3, { 'a', 'b', 'c' });
            },
            { "text abc font Arial" } },
        { "small-text-count-past-the-record", [] { return EmfSmallTextOut(kNoBounds, 3, Utf16(u"ab")); },
            {} },
        { "small-text-count-past-the-record-small-chars",
            [] {
                return EmfSmallTextOut(kNoBounds | kSmallChars, 0x7FFFFFFF, { 'a', 'b' });
            },
            {} },
    };
    return cases;
}

TEST(MetafileText, EachRecordHandsTheCanvasItsText)
{
    for (const TextCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TextsOf(c.file()), c.texts);
    }
}

} // namespace
