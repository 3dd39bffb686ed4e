// The mounts section of the catalogue file:
//
//   Mount Type,ID,"0","1",,
//   Mount Description,,"Card mount","Folder",,
//   "7x5","0","4.50","6.00",,"101","102",,
//   ...
//
// Each line's fields are read positionally; the rest of a line is skipped only when the last
// field read did not already end it, so that a line without its trailing empty fields never
// costs the line after it.
#include "model/MountData.h"

#include "model/CsvCursor.h"
#include "records/CsvFields.h"
#include "records/CsvNumbers.h"
#include "records/SharedFunctions.h"
#include "records/TextScan.h"

#include <ostream>

namespace {
constexpr const char* lineEnd = "\r\n";
}

bool MountData::IsCsvHeading(const std::string& field)
{
    return CompareNoCase(field, csvHeading) == 0;
}

bool MountData::ReadCsv(std::istream& in)
{
    CsvCursor cursor(in);
    ReadCsvSection(cursor, false);
    return true;
}

bool MountData::ReadCsvSection(CsvCursor& cursor, bool headingRead)
{
    descriptions_.clear();
    sizes_.clear();
    const bool found = headingRead || SkipToText(cursor.Stream(), csvHeading, true);
    if (found) {
        // The rest of the heading's line: the mount type numbers. A heading found by its text is
        // not a field the cursor has read, so its line has not ended yet.
        if (headingRead)
            cursor.SkipRestOfLine();
        else
            cursor.SkipLine();
        ReadCsvTypesAndSizes(cursor);
    }
    ClearModified();
    return found;
}

void MountData::ReadCsvTypesAndSizes(CsvCursor& cursor)
{
    // The label and the empty field after it, then the descriptions up to the first empty field
    // or the end of the line.
    cursor.Skip();
    if (!cursor.LastEndedLine())
        cursor.Skip();
    while (!cursor.LastEndedLine()) {
        std::string description;
        if (!cursor.Text(description) || description.empty())
            break;
        descriptions_.push_back(std::move(description));
    }
    cursor.SkipRestOfLine();
    const auto typeCount = static_cast<uint32_t>(descriptions_.size());
    for (;;) {
        auto size = std::make_shared<MountSizeData>();
        if (!size->ReadCsv(cursor, typeCount))
            break;
        sizes_.push_back(std::move(size));
        cursor.SkipRestOfLine();
    }
}

void MountData::WriteCsv(std::ostream& out) const
{
    out << "Mount Type,ID";
    for (std::size_t t = 0; t < descriptions_.size(); ++t)
        WriteCsvUnsigned(out, static_cast<unsigned>(t), true);
    out << ",," << lineEnd << "Mount Description,";
    for (const auto& description : descriptions_)
        WriteCsvString(out, description, true);
    out << ",," << lineEnd;
    for (std::size_t i = 0; i < sizes_.size(); ++i) {
        sizes_[i]->WriteCsv(out, static_cast<uint32_t>(i));
        out << ",," << lineEnd;
    }
}
