// The layout document: Layout::ReadCsv and Layout::WriteCsv. The reader takes every version the
// program ever wrote (the version in the first line says which lines and fields the file holds)
// and the legacy order-form template; the writer writes the current version with CR LF ends.
#include "model/DocumentFieldReaders.h"
#include "model/Layout.h"
#include "model/LayoutDocumentVersions.h"
#include "platform/win/IntArithmetic.h"
#include "records/CsvFields.h"
#include "records/DataVersion.h"
#include "records/SharedFunctions.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

using namespace layoutdoc;

namespace {

constexpr const char* DocumentTitle = "Custom Order Template";
constexpr const char* LegacyTemplateKey = "Key";
constexpr const char* LineEnd = "\r\n";

// A line of a label and its value (text, flag or number).
template <typename T> void WriteKeyLine(std::ostream& out, std::string_view key, const T& value)
{
    WriteCsvString(out, std::string(key), false);
    WriteCsvValue(out, value, true);
    out << LineEnd;
}

void WriteKeyLines(FieldTable<Layout> rows, const Layout& layout, std::ostream& out)
{
    fieldtable::ForEach(rows, layout,
        [&](const FieldRow<Layout>& row, const auto& value) { WriteKeyLine(out, row.label, value); });
}

// Lines of a label, which is not compared with anything, and a value, which is assigned only when
// it is there; the lines the document lacks by its version take their fields' absent values.
void ReadKeyLines(FieldTable<Layout> rows, Layout& layout, std::istream& in, const ReadContext& context)
{
    fieldtable::ReadHeld(rows, layout, context, 0.0, [&](auto& value) {
        ReadPresentField(in);
        ReadPresentValue(in, value);
    });
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

// Files before 2.0 hold a barcode's size in its font size: five times as wide, 1.2 times as high.
void ConvertLegacyBarcode(LayoutUnit& unit)
{
    const int64_t font = unit.GetFontSize();
    unit.SetSize({ win::SaturateToInt32(font * 5),
        win::SaturateToInt32(static_cast<int64_t>(static_cast<double>(font) * 1.2)) });
    unit.SetFontSize(0);
}

// Up to count unit lines, each matched to the layout's unit by name; a line for a unit the layout
// lacks is read into a scratch unit and dropped. Stops at the end of the file whatever the count
// says; a blank line is not a unit. False when the file ended before count whole lines.
bool ReadUnitLines(std::istream& in, LayoutUnit& root, unsigned count, const ReadContext& context)
{
    LayoutUnit scratch;
    for (unsigned read = 0; read < count;) {
        const auto name = ReadPresentField(in);
        if (!name)
            return false;
        if (name->text.empty() && name->endsLine)
            continue;
        ++read;
        LayoutUnit* unit = root.FindByName(name->text);
        const bool whole = (unit ? *unit : scratch).ReadCsv(in, context);
        if (unit && context.dataVersion < BarcodeSizeInFontBefore
            && (name->text == "PBarcode" || name->text == "GBarcode"))
            ConvertLegacyBarcode(*unit);
        if (!whole)
            return false;
    }
    return true;
}

// Everything after the first line of a document of the context's version: the LayoutType line,
// the paper lines, the layout's other lines (with the four font sizes of old files after
// PrintMainImage), the unit count and the unit lines. False when the file ends before the last of
// them: its header has no unit count, or fewer whole unit lines than the count says.
bool ReadDocumentBody(std::istream& in, Layout& layout, const ReadContext& context)
{
    int32_t type = layout.GetLayoutType();
    ReadPresentField(in);
    if (ReadPresentInt(in, type))
        layout.SetLayoutType(type); // the current type keeps the tree and its values
    layout.GetPaper().ReadCsv(in, context);
    const FieldTable<Layout> lines = Layout::Fields().subspan(1);
    const std::size_t beforeFontSizes = Layout::fieldOverprintCopyright - 1;
    ReadKeyLines(lines.first(beforeFontSizes), layout, in, context);
    LegacyFontSizes fontSizes;
    if (context.dataVersion < LegacyFontSizesBefore)
        fontSizes = ReadLegacyFontSizes(in);
    ReadKeyLines(lines.subspan(beforeFontSizes), layout, in, context);

    unsigned count = 0; // a count that is not a number reads no unit
    ReadPresentField(in);
    const bool counted = ReadPresentUnsigned(in, count);
    const bool whole = ReadUnitLines(in, *layout.GetRootUnit(), count, context) && counted;

    const bool allSizes
        = std::all_of(fontSizes.begin(), fontSizes.end(), [](const auto& size) { return size.has_value(); });
    if (context.dataVersion < LegacyFontSizesBefore && allSizes)
        layout.ApplyLegacyFontSizes(*fontSizes[0], *fontSizes[1], *fontSizes[2], *fontSizes[3]);
    if (context.dataVersion < LateExtraTextsBefore)
        layout.HideLateExtraTexts();
    return whole;
}

// A version field the reader can go by: a finite number. Anything else (empty, "nan", "inf", a
// number out of range, a word) would read the body as some other version's, silently.
std::optional<double> ReadableVersion(const std::string& text)
{
    double version = 0;
    if (text.empty() || !StringToDouble(text, version) || !std::isfinite(version))
        return std::nullopt;
    return version;
}

} // namespace

bool Layout::WriteCsv(std::ostream& out) const
{
    WriteCsvString(out, DocumentTitle, false);
    WriteCsvDouble(out, CurrentDataVersion, true);
    out << ',' << LineEnd;
    const FieldTable<Layout> rows = Fields();
    WriteKeyLines(rows.first(1), *this, out);
    paper_.WriteCsv(out);
    WriteKeyLines(rows.subspan(1), *this, out);
    WriteKeyLine(out, "LayoutUnits", static_cast<unsigned>(root_->CountUnits()));
    root_->WriteCsv(out);
    out.flush();
    return !out.fail();
}

bool Layout::ReadCsv(std::istream& in)
{
    const LayoutFileStatus status = ReadDocument(in);
    return status == LayoutFileStatus::read || status == LayoutFileStatus::cutShort;
}

LayoutFileStatus Layout::ReadDocument(std::istream& in)
{
    std::string title;
    bool titleEndsLine = false;
    ReadCsvField(in, title, titleEndsLine);
    if (title != DocumentTitle)
        return LayoutFileStatus::notALayout;
    // A first line without a second field has no version to read by: taking the next line's
    // first field as the version would misread every line after it.
    const auto second = titleEndsLine ? std::nullopt : ReadPresentField(in);
    if (!second)
        return LayoutFileStatus::notALayout;
    if (!second->endsLine)
        SkipCsvLine(in); // field by field: any length, any line-end form

    bool whole = true;
    if (second->text == LegacyTemplateKey) {
        ReadOrderFormTemplate(in);
    } else {
        // The version read is kept as the program's record of the last file read.
        const std::optional<double> version = ReadableVersion(second->text);
        if (!version)
            return LayoutFileStatus::notALayout;
        ReadContext context { *version };
        SavedDataVersion = context.dataVersion;
        if (context.dataVersion > CurrentDataVersion) {
            GetTheApp().MessageBox("The layout file was generated by a later version of the software\n"
                                   "Saved version is "
                    + FormatDouble(context.dataVersion) + ". This version is "
                    + FormatDouble(CurrentDataVersion),
                win::MB_OK);
            return LayoutFileStatus::laterVersion;
        }
        whole = ReadDocumentBody(in, *this, context);
    }
    loaded_ = true;
    ClearModified();
    return whole ? LayoutFileStatus::read : LayoutFileStatus::cutShort;
}
