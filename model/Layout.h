// One proof-sheet design: proof type, background, overprint settings, paper and the tree of
// layout units that places every element on the page.
#pragma once

#include "model/FieldTable.h"
#include "model/LayoutUnit.h"
#include "model/PaperSpecs.h"
#include "platform/win/Archive.h"
#include "records/DatabaseRecord.h"
#include "records/ReadContext.h"

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>

// The default background picture's file name; nothing reads it.
extern const char* const OrderBackgroundName;

class Layout;

// What reading a layout document came to (Layout::ReadDocument).
enum class LayoutFileStatus { read, notALayout, laterVersion, cutShort };

// The layout documents hold texts, integers and flags only.
template <> struct FieldKinds<Layout> : DocumentFieldKinds<Layout> {
};

class Layout : public Archivable, public DatabaseRecord {
public:
    enum FieldId : uint16_t {
        fieldLayoutType,
        fieldBackgroundImage,
        fieldBackgroundPOD,
        fieldPrintMainImage,
        fieldOverprintCopyright,
        fieldOverprintWord,
        fieldOverprintColour,
        fieldOverprintDiagonal,
        fieldOverprintDiagWidth,
        fieldCount
    };

    // The stored fields, in the order of the document lines and the archive form. LayoutType comes
    // first: the document and archive readers rebuild the tree with it; messages and copies store
    // it as it is.
    static FieldTable<Layout> Fields();

    // A portrait layout on A4, with the margins from the settings.
    Layout();
    ~Layout() override;
    Layout(const Layout&) = delete;
    Layout& operator=(const Layout&) = delete;

    // A layout of its own with everything this one holds: its fields and type, a deep copy of the
    // unit tree (every unit with all its fields and item sizes) and its paper. A file is read into
    // such a copy, so that whatever the file leaves out keeps the current layout's values.
    std::unique_ptr<Layout> Duplicate() const;

    // Builds the default tree of the type with the eight extra text units; the current type
    // keeps the tree as it is.
    void SetLayoutType(int32_t layoutType);
    // The four font sizes of files that predate per-unit font sizes (tenths of a point).
    void ApplyLegacyFontSizes(uint32_t barcode, uint32_t text, uint32_t small, uint32_t description);
    // Hides ExtraTxt3 to ExtraTxt8, which files older than 2.062 have no use for.
    void HideLateExtraTexts();

    const std::shared_ptr<LayoutUnit>& GetRootUnit() const { return root_; }
    int32_t GetLayoutType() const { return layoutType_; }
    PaperSpecs& GetPaper() { return paper_; }
    const PaperSpecs& GetPaper() const { return paper_; }
    const std::string& GetBackgroundImage() const { return backgroundImage_; }
    bool GetBackgroundPOD() const { return backgroundPOD_; }
    bool GetPrintMainImage() const { return printMainImage_; }
    bool GetOverprintCopyright() const { return overprintCopyright_; }
    const std::string& GetOverprintWord() const { return overprintWord_; }
    const std::string& GetOverprintColour() const { return overprintColour_; }
    bool GetOverprintDiagonal() const { return overprintDiagonal_; }
    uint32_t GetOverprintDiagWidth() const { return overprintDiagWidth_; }
    bool IsLoaded() const { return loaded_; }

    void SetBackgroundImage(const std::string& path);
    void SetBackgroundPOD(bool onPaper);
    void SetPrintMainImage(bool print);
    void SetOverprintCopyright(bool overprint);
    void SetOverprintWord(const std::string& word);
    void SetOverprintColour(const std::string& colour);
    void SetOverprintDiagonal(bool diagonal);
    void SetOverprintDiagWidth(uint32_t width);
    void SetLoaded(bool loaded) { loaded_ = loaded; }

    // The layout document (written and read by the document code): WriteCsv writes the whole
    // document and reports whether the stream took it; ReadCsv reads a document or a legacy
    // order-form template into this layout.
    bool WriteCsv(std::ostream& out) const;
    bool ReadCsv(std::istream& in);
    // ReadCsv with what came of it: ReadCsv is true for read and cutShort. notALayout and
    // laterVersion (which shows its own message) leave the layout unchanged; cutShort has read what
    // the file holds, which ends where it could not (a header without its unit count, fewer whole
    // unit lines than the count says, a value cut off inside its quotes). A first line whose version is not a
    // finite number is notALayout.
    LayoutFileStatus ReadDocument(std::istream& in);
    // Reads the legacy order-form template after its first line and places the units.
    void ReadOrderFormTemplate(std::istream& in);

    // Record forms.
    std::string Describe() const override;
    void MarkAllFieldsModified() override;
    void WriteFields(bool pendingOnly, std::ostream& out, bool writeTerminator) override;
    uint8_t ReadFields(std::istream& in) override;
    DatabaseRecord* Clone(DatabaseRecord& target) const override;
    std::unique_ptr<DatabaseRecord> Clone() const override;
    bool Traverse(TraverseAction& action) override;
    void Store(win::Archive& archive) const override;
    // The framework entry point reads by SavedDataVersion.
    void Load(win::Archive& archive) override;
    void Load(win::Archive& archive, const ReadContext& context);

private:
    // Reads the value of one field of a field-update message; false for an unknown id.
    bool ReadFieldValue(std::istream& in, uint16_t fieldId);

    int32_t layoutType_ = 3;
    std::string backgroundImage_;
    bool backgroundPOD_ = true;
    bool printMainImage_ = false;
    bool overprintCopyright_ = false;
    std::string overprintWord_ = "Proof";
    std::string overprintColour_ = "FFFFFF";
    bool overprintDiagonal_ = true;
    uint32_t overprintDiagWidth_ = 5;
    std::shared_ptr<LayoutUnit> root_;
    PaperSpecs paper_ { 0 };
    bool loaded_ = false;
};
