// The sheet a layout is printed on: one of eleven paper sizes or a custom size, the four margins
// and the orientation, in tenths of a millimetre. The margins double as a per-user setting: read
// when a PaperSpecs is created, written back when it is destroyed.
#pragma once

#include "model/FieldTable.h"
#include "platform/win/Archive.h"
#include "platform/win/Types.h"
#include "records/DatabaseRecord.h"
#include "records/ReadContext.h"

#include <array>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>

class PaperSpecs;
// The layout documents hold texts, integers and flags only.
template <> struct FieldKinds<PaperSpecs> : DocumentFieldKinds<PaperSpecs> {
};

struct PaperSize {
    const char* name;
    int32_t height;
    int32_t width;
};

// The paper list, in index order; the last entry, "Custom", carries the A4 sizes.
extern const std::array<PaperSize, 11> PaperSizeTable;

class PaperSpecs : public Archivable, public DatabaseRecord {
public:
    enum FieldId : uint16_t {
        fieldPaperType,
        fieldPaperHeight,
        fieldPaperWidth,
        fieldMarginLeft,
        fieldMarginRight,
        fieldMarginTop,
        fieldMarginBottom,
        fieldPortrait,
        fieldCount
    };
    static constexpr int32_t customPaper = 10;
    // What FindPaperIndex gives when no table entry has the sheet's sizes.
    static constexpr int32_t noPaperFound = 11;

    // The stored fields, in the order of the document lines and the archive form.
    static FieldTable<PaperSpecs> Fields();

    // The table entry of the index; an index outside the table gives the custom entry.
    explicit PaperSpecs(int32_t paperIndex);
    // The given sizes, with the index of the first table entry that has them, else custom.
    PaperSpecs(int32_t height, int32_t width);
    // Writes the margins to the settings, unless they were discarded.
    ~PaperSpecs() override;
    PaperSpecs(const PaperSpecs&) = delete;
    PaperSpecs& operator=(const PaperSpecs&) = delete;

    // The table entry's index and sizes; an index outside the table keeps the sizes and takes
    // the index that FindPaperIndex finds for them, else custom.
    void SelectPaper(int32_t paperIndex);
    void SetHeight(int32_t height);
    void SetWidth(int32_t width);
    // Makes the first table entry with the sheet's height and width the PaperType and returns
    // its index; when none matches, PaperType is left as it is and the result is noPaperFound.
    int32_t FindPaperIndex();
    // (MarginLeft, MarginTop, PaperWidth - MarginRight, PaperHeight - MarginBottom) of the
    // unturned sheet, whatever the orientation.
    win::RECT GetPrintableRect() const;

    int32_t GetPaperType() const { return paperType_; }
    int32_t GetPaperHeight() const { return paperHeight_; }
    int32_t GetPaperWidth() const { return paperWidth_; }
    int32_t GetMarginLeft() const { return marginLeft_; }
    int32_t GetMarginRight() const { return marginRight_; }
    int32_t GetMarginTop() const { return marginTop_; }
    int32_t GetMarginBottom() const { return marginBottom_; }
    bool GetPortrait() const { return portrait_; }
    void SetMarginLeft(int32_t margin);
    void SetMarginRight(int32_t margin);
    void SetMarginTop(int32_t margin);
    void SetMarginBottom(int32_t margin);
    void SetPortrait(bool portrait);
    // Keeps the destructor from writing the margins: for a sheet read from a file that was then
    // refused, whose margins must not become the user's.
    void DiscardMargins() { storeMargins_ = false; }

    // The eight paper lines of the layout document: label,value without quotes, CR LF ends.
    void WriteCsv(std::ostream& out) const;
    // Reads the eight paper lines of a document of the context's version; a value that is
    // missing or not a number keeps the field's value, and a PaperType outside the table is
    // brought back into it.
    void ReadCsv(std::istream& in, const ReadContext& context);

    // Record forms.
    std::string Describe() const override;
    void MarkAllFieldsModified() override;
    void WriteFields(bool pendingOnly, std::ostream& out, bool writeTerminator) override;
    uint8_t ReadFields(std::istream& in) override;
    DatabaseRecord* Clone(DatabaseRecord& target) const override;
    std::unique_ptr<DatabaseRecord> Clone() const override;
    void Store(win::Archive& archive) const override;
    // The framework entry point reads by SavedDataVersion.
    void Load(win::Archive& archive) override;
    void Load(win::Archive& archive, const ReadContext& context);

private:
    void ReadMarginSettings();
    // A PaperType outside the table, from whatever source, becomes the index of the sizes, or
    // custom; the sizes stay.
    void KeepPaperTypeInTable();

    int32_t paperType_ = 0;
    int32_t paperHeight_ = 0;
    int32_t paperWidth_ = 0;
    int32_t marginLeft_ = 30;
    int32_t marginRight_ = 30;
    int32_t marginTop_ = 30;
    int32_t marginBottom_ = 30;
    bool portrait_ = true;
    bool storeMargins_ = true;
};
