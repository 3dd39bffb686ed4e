// The layout document: Layout::ReadCsv and Layout::WriteCsv. The reader takes every version the
// program ever wrote (the version in the first line says which lines and fields the file holds)
// and the legacy order-form template; the writer writes the current version with CR LF ends.
#include "model/DocumentFieldReaders.h"
#include "model/Layout.h"
#include "model/LayoutDocumentVersions.h"
#include "records/CsvFields.h"
#include "records/DataVersion.h"
#include "records/SharedFunctions.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <ostream>

using namespace layoutdoc;

namespace {

constexpr const char* DocumentTitle = "Custom Order Template";
constexpr const char* LegacyTemplateKey = "Key";
constexpr const char* LineEnd = "\r\n";

void WriteKeyLine(std::ostream& out, const char* key, const std::string& value)
{
    WriteCsvString(out, key, false);
    WriteCsvString(out, value, true);
    out << LineEnd;
}

void WriteKeyLine(std::ostream& out, const char* key, bool value)
{
    WriteCsvString(out, key, false);
    WriteCsvBool(out, value, true);
    out << LineEnd;
}

void WriteKeyLine(std::ostream& out, const char* key, unsigned value)
{
    WriteCsvString(out, key, false);
    WriteCsvUnsigned(out, value, true);
    out << LineEnd;
}

// Most lines are a label, which is not compared with anything, and a value; the setter runs only
// when the value is there.
template <typename T, typename Reader, typename Setter>
void ReadKeyLine(std::istream& in, Layout& layout, T value, Reader read, Setter set)
{
    ReadPresentField(in);
    if (read(in, value))
        (layout.*set)(value);
}

// The four font sizes that files before 1.882 hold after BackgroundPOD: barcode, text, small text
// and description. A size that is missing or not a number is left out.
using LegacyFontSizes = std::array<std::optional<unsigned>, 4>;

LegacyFontSizes ReadLegacyFontSizes(std::istream& in)
{
    LegacyFontSizes sizes;
    for (auto& size : sizes) {
        ReadPresentField(in);
        unsigned value = 0;
        const auto field = ReadPresentField(in);
        if (field && StringToUnsigned(field->text, value))
            size = value;
    }
    return sizes;
}

int32_t ClampToInt32(int64_t value)
{
    return static_cast<int32_t>(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// Files before 2.0 hold a barcode's size in its font size: five times as wide, 1.2 times as high.
void ConvertLegacyBarcode(LayoutUnit& unit)
{
    const int64_t font = unit.GetFontSize();
    unit.SetSize(
        { ClampToInt32(font * 5), ClampToInt32(static_cast<int64_t>(static_cast<double>(font) * 1.2)) });
    unit.SetFontSize(0);
}

// Up to count unit lines, each matched to the layout's unit by name; a line for a unit the layout
// lacks is read into a scratch unit and dropped. Stops at the end of the file whatever the count
// says; a blank line is not a unit.
void ReadUnitLines(std::istream& in, LayoutUnit& root, unsigned count, double version)
{
    LayoutUnit scratch;
    for (unsigned read = 0; read < count;) {
        const auto name = ReadPresentField(in);
        if (!name)
            break;
        if (name->text.empty() && name->endsLine)
            continue;
        ++read;
        LayoutUnit* unit = root.FindByName(name->text);
        (unit ? *unit : scratch).ReadCsv(in);
        if (unit && version < BarcodeSizeInFontBefore
            && (name->text == "PBarcode" || name->text == "GBarcode"))
            ConvertLegacyBarcode(*unit);
    }
}

// Everything after the first line of a document of the given version.
void ReadDocumentBody(std::istream& in, Layout& layout, double version)
{
    int32_t type = layout.GetLayoutType();
    ReadPresentField(in);
    if (ReadPresentInt(in, type))
        layout.SetLayoutType(type); // the current type keeps the tree and its values
    layout.GetPaper().ReadCsv(in);
    ReadKeyLine(in, layout, layout.GetBackgroundImage(), ReadPresentText, &Layout::SetBackgroundImage);
    ReadKeyLine(in, layout, layout.GetBackgroundPOD(), ReadPresentBool, &Layout::SetBackgroundPOD);
    if (version > PrintMainImageSince)
        ReadKeyLine(in, layout, layout.GetPrintMainImage(), ReadPresentBool, &Layout::SetPrintMainImage);
    LegacyFontSizes fontSizes;
    if (version < LegacyFontSizesBefore)
        fontSizes = ReadLegacyFontSizes(in);
    if (version > OverprintWordSince) {
        ReadKeyLine(
            in, layout, layout.GetOverprintCopyright(), ReadPresentBool, &Layout::SetOverprintCopyright);
        ReadKeyLine(in, layout, layout.GetOverprintWord(), ReadPresentText, &Layout::SetOverprintWord);
    } else {
        layout.SetOverprintCopyright(false);
    }
    if (version > OverprintColourSince)
        ReadKeyLine(in, layout, layout.GetOverprintColour(), ReadPresentText, &Layout::SetOverprintColour);
    if (version > OverprintDiagonalSince)
        ReadKeyLine(
            in, layout, layout.GetOverprintDiagonal(), ReadPresentBool, &Layout::SetOverprintDiagonal);
    if (version > OverprintDiagWidthSince)
        ReadKeyLine(
            in, layout, layout.GetOverprintDiagWidth(), ReadPresentUnsigned, &Layout::SetOverprintDiagWidth);
    else
        layout.SetOverprintDiagWidth(5);

    unsigned count = 0; // a count that is not a number reads no unit
    ReadPresentField(in);
    ReadPresentUnsigned(in, count);
    ReadUnitLines(in, *layout.GetRootUnit(), count, version);

    const bool allSizes
        = std::all_of(fontSizes.begin(), fontSizes.end(), [](const auto& size) { return size.has_value(); });
    if (version < LegacyFontSizesBefore && allSizes)
        layout.ApplyLegacyFontSizes(*fontSizes[0], *fontSizes[1], *fontSizes[2], *fontSizes[3]);
    if (version < LateExtraTextsBefore)
        layout.HideLateExtraTexts();
}

} // namespace

bool Layout::WriteCsv(std::ostream& out) const
{
    WriteCsvString(out, DocumentTitle, false);
    WriteCsvDouble(out, CurrentDataVersion, true);
    out << ',' << LineEnd;
    WriteCsvString(out, "LayoutType", false);
    WriteCsvInt(out, layoutType_, true);
    out << LineEnd;
    paper_.WriteCsv(out);
    WriteKeyLine(out, "BackgroundImage", backgroundImage_);
    WriteKeyLine(out, "BackgroundPOD", backgroundPOD_);
    WriteKeyLine(out, "PrintMainImage", printMainImage_);
    WriteKeyLine(out, "OverprintCopyright", overprintCopyright_);
    WriteKeyLine(out, "OverprintWord", overprintWord_);
    WriteKeyLine(out, "OverprintColour", overprintColour_);
    WriteKeyLine(out, "OverprintDiagonal", overprintDiagonal_);
    WriteKeyLine(out, "OverprintDiagWidth", overprintDiagWidth_);
    WriteKeyLine(out, "LayoutUnits", static_cast<unsigned>(root_->CountUnits()));
    root_->WriteCsv(out);
    out.flush();
    return !out.fail();
}

bool Layout::ReadCsv(std::istream& in)
{
    std::string title;
    bool titleEndsLine = false;
    ReadCsvField(in, title, titleEndsLine);
    if (title != DocumentTitle)
        return false;
    // A first line without a second field has no version to read by: taking the next line's
    // first field as the version would misread every line after it.
    const auto second = titleEndsLine ? std::nullopt : ReadPresentField(in);
    if (!second)
        return false;
    if (!second->endsLine)
        SkipCsvLine(in); // field by field: any length, any line-end form

    if (second->text == LegacyTemplateKey) {
        ReadOrderFormTemplate(in);
    } else {
        // A version that is not a number leaves the one of the file read before in force.
        StringToDouble(second->text, SavedDataVersion);
        if (SavedDataVersion > CurrentDataVersion) {
            GetTheApp().MessageBox("The layout file was generated by a later version of the software\n"
                                   "Saved version is "
                    + FormatDouble(SavedDataVersion) + ". This version is "
                    + FormatDouble(CurrentDataVersion),
                win::MB_OK);
            return false;
        }
        ReadDocumentBody(in, *this, SavedDataVersion);
    }
    loaded_ = true;
    ClearModified();
    return true;
}
