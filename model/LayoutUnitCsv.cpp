// A unit's line of the layout document: 15 fields in the current version, fewer in older ones.
#include "model/DocumentFieldReaders.h"
#include "model/LayoutDocumentVersions.h"
#include "model/LayoutUnit.h"
#include "records/CsvFields.h"
#include "records/DataVersion.h"

#include <ostream>

using namespace layoutdoc;

void LayoutUnit::WriteCsv(std::ostream& out) const
{
    WriteCsvString(out, name_, false);
    WriteCsvString(out, caption_, true);
    WriteCsvInt(out, x_, true);
    WriteCsvInt(out, y_, true);
    WriteCsvInt(out, width_, true);
    WriteCsvInt(out, height_, true);
    WriteCsvUnsigned(out, repeatCount_, true);
    WriteCsvInt(out, stepX_, true);
    WriteCsvInt(out, stepY_, true);
    WriteCsvBool(out, singleOnly_, true);
    WriteCsvBool(out, visible_, true);
    WriteCsvInt(out, alignment_, true);
    WriteCsvBool(out, imageFlag_, true);
    WriteCsvInt(out, quarterTurns_, true);
    WriteCsvUnsigned(out, fontSize_, true);
    out << "\r\n";
    for (const auto& child : GetChildren())
        child->WriteCsv(out);
}

// The fields after the name, as the version of the file being read holds them. A field the file
// lacks by its version keeps its value (QuarterTurns becomes 0, the caption the name); a field
// missing because the file ends keeps its value too.
bool LayoutUnit::ReadCsv(std::istream& in)
{
    const double version = SavedDataVersion;
    if (version > CaptionSince)
        ReadPresentText(in, caption_);
    else
        caption_ = name_;
    ReadPresentInt(in, x_);
    ReadPresentInt(in, y_);
    ReadPresentInt(in, width_);
    ReadPresentInt(in, height_);
    itemWidth_ = width_;
    itemHeight_ = height_;
    ReadPresentUnsigned(in, repeatCount_);
    ReadPresentInt(in, stepX_);
    ReadPresentInt(in, stepY_);
    if (version > SingleOnlySince)
        ReadPresentBool(in, singleOnly_);
    ReadPresentBool(in, visible_);
    ReadPresentInt(in, alignment_);
    if (version > ImageFlagSince)
        ReadPresentBool(in, imageFlag_);
    if (version > TurnsAndFontSince) {
        ReadPresentInt(in, quarterTurns_);
        ReadPresentUnsigned(in, fontSize_);
    } else {
        quarterTurns_ = 0;
    }
    ClearModified();
    return in.good();
}
