// One named element of a proof-sheet layout: a rectangle placed relative to its parent, turned by
// clockwise quarter turns, repeated at a fixed step, owning its child units. Coordinates are
// integers in tenths of a millimetre, x to the right and y downward from the paper's top-left.
#pragma once

#include "model/ExtensibleVector.h"
#include "model/FieldTable.h"
#include "platform/win/Archive.h"
#include "platform/win/Types.h"
#include "records/DatabaseRecord.h"
#include "records/ReadContext.h"

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

class LayoutUnit;
// The layout documents hold texts, integers and flags only.
template <> struct FieldKinds<LayoutUnit> : DocumentFieldKinds<LayoutUnit> {
};

class LayoutUnit : public Archivable,
                   public DatabaseRecord,
                   private ExtensibleVector<std::shared_ptr<LayoutUnit>> {
public:
    // Deepest level below the root at which a record message may add a unit; deeper trees would
    // only come from hostile messages and would exhaust the stack of the recursive geometry.
    static constexpr int maxMessageDepth = 64;

    // Field ids of the record message, one mask bit each; fieldCount is the terminator.
    enum FieldId : uint16_t {
        fieldName,
        fieldCaption,
        fieldPosition,
        fieldSize,
        fieldRepeatCount,
        fieldStep,
        fieldVisible,
        fieldAlignment,
        fieldImageFlag,
        fieldQuarterTurns,
        fieldFontSize,
        fieldSingleOnly,
        fieldCount
    };

    // The stored fields, in the order of the document line and the archive form (Name first).
    static FieldTable<LayoutUnit> Fields();

    explicit LayoutUnit(LayoutUnit* parent = nullptr);
    ~LayoutUnit() override;
    LayoutUnit(const LayoutUnit&) = delete;
    LayoutUnit& operator=(const LayoutUnit&) = delete;

    // Tree. The children are kept in order, each with this unit as its parent.
    using Children = std::vector<std::shared_ptr<LayoutUnit>>;
    std::shared_ptr<LayoutUnit> AddChild(const std::string& name);
    LayoutUnit* FindByName(const std::string& name);
    const LayoutUnit* FindByName(const std::string& name) const;
    LayoutUnit* FindByPath(const std::string& path);
    std::string GetPath() const;
    int CountUnits() const;
    // Copies the source's fields and a deep copy of its children (the Parent too, so the copy
    // points to the source's parent). Safe when the source is this unit or overlaps its subtree.
    void CopyFrom(const LayoutUnit& source);
    const Children& GetChildren() const { return GetElements(); }

    // Angles and turns.
    int GetAngle() const;
    int GetAbsoluteAngle() const;
    int GetAbsoluteQuarterTurns() const;
    void SetAngle(int tenthsOfDegree);

    // Positions and extents.
    win::POINT GetAbsolutePosition(int copyIndex = 0) const;
    void SetAbsolutePosition(win::POINT point);
    void MoveBy(win::POINT delta);
    win::SIZE GetRepeatExtent() const;
    win::RECT GetBounds() const;
    win::RECT GetItemRect(int copyIndex) const;
    bool IsShown() const;
    LayoutUnit* HitTest(win::POINT point);
    void FitToChildren();
    void FitSubtree();
    void GrowItemSize(win::SIZE size);

    // Field access. Setters of record fields mark the field modified.
    const std::string& GetName() const { return name_; }
    const std::string& GetCaption() const { return caption_; }
    int32_t GetX() const { return x_; }
    int32_t GetY() const { return y_; }
    win::POINT GetPosition() const { return { x_, y_ }; }
    int32_t GetWidth() const { return width_; }
    int32_t GetHeight() const { return height_; }
    uint32_t GetRepeatCount() const { return repeatCount_; }
    int32_t GetStepX() const { return stepX_; }
    int32_t GetStepY() const { return stepY_; }
    win::POINT GetStep() const { return { stepX_, stepY_ }; }
    bool GetVisible() const { return visible_; }
    int32_t GetAlignment() const { return alignment_; }
    bool GetImageFlag() const { return imageFlag_; }
    int32_t GetQuarterTurns() const { return quarterTurns_; }
    uint32_t GetFontSize() const { return fontSize_; }
    bool GetSingleOnly() const { return singleOnly_; }
    LayoutUnit* GetParent() const { return parent_; }
    int32_t GetItemWidth() const { return itemWidth_; }
    int32_t GetItemHeight() const { return itemHeight_; }
    win::SIZE GetItemSize() const { return { itemWidth_, itemHeight_ }; }
    int32_t GetCurrentItem() const { return currentItem_; }
    int32_t GetExtraWidth() const { return extraWidth_; }
    int32_t GetExtraHeight() const { return extraHeight_; }

    // Sets the name, and the caption too while that is empty.
    void SetName(const std::string& name);
    void SetCaption(const std::string& caption);
    void SetPosition(win::POINT position);
    void SetX(int32_t x);
    void SetY(int32_t y);
    // Width and Height together with the item size.
    void SetSize(win::SIZE size);
    // Width and Height alone.
    void SetWidthHeight(win::SIZE size);
    void SetRepeatCount(uint32_t count);
    void SetStep(win::POINT step);
    void SetVisible(bool visible);
    void SetAlignment(int32_t alignment);
    void SetImageFlag(bool flag);
    void SetQuarterTurns(int32_t turns);
    void SetFontSize(uint32_t size);
    void SetSingleOnly(bool singleOnly);
    void SetParent(LayoutUnit* parent) { parent_ = parent; }
    void SetItemSize(win::SIZE size);
    void SetCurrentItem(int32_t item) { currentItem_ = item; }

    // Layout document line (written and read by the document code), read by the version of the
    // document; ReadCsv is false when the file ended before the line's last field.
    void WriteCsv(std::ostream& out) const;
    bool ReadCsv(std::istream& in, const ReadContext& context);

    // Record forms.
    std::string Describe() const override;
    void MarkAllFieldsModified() override;
    void WriteFields(bool pendingOnly, std::ostream& out, bool writeTerminator) override;
    uint8_t ReadFields(std::istream& in) override;
    DatabaseRecord* Clone(DatabaseRecord& target) const override;
    std::unique_ptr<DatabaseRecord> Clone() const override;
    bool Traverse(TraverseAction& action) override;
    void Store(win::Archive& archive) const override;
    // Reads the unit's archive form after its name, which the caller has read already; the
    // framework entry point reads by SavedDataVersion.
    void Load(win::Archive& archive) override;
    void Load(win::Archive& archive, const ReadContext& context);

    // Child operations of a unit message: a new child that reads the embedded message (removed
    // again when that message cannot be read whole), and the removal of the first child with
    // the id.
    void ReadChildRecord(uint32_t id, std::istream& in);
    void RemoveChildById(uint32_t id);

private:
    void CopyFieldsAndChildren(const LayoutUnit& source);
    bool HoldsInSubtree(const LayoutUnit* unit) const;
    // Reads the value of one field of a field-update message; false for an unknown id.
    bool ReadFieldValue(std::istream& in, uint16_t fieldId);
    // Levels below the root.
    int GetDepth() const;

    std::string name_;
    std::string caption_;
    int32_t x_ = 0;
    int32_t y_ = 0;
    int32_t width_ = 0;
    int32_t height_ = 0;
    uint32_t repeatCount_ = 1;
    int32_t stepX_ = 0;
    int32_t stepY_ = 0;
    bool visible_ = true;
    int32_t alignment_ = 0;
    bool imageFlag_ = false;
    int32_t quarterTurns_ = 0;
    uint32_t fontSize_ = 100;
    bool singleOnly_ = false;
    LayoutUnit* parent_ = nullptr;
    int32_t itemWidth_ = 0;
    int32_t itemHeight_ = 0;
    int32_t currentItem_ = 0;
    int32_t extraWidth_ = 0;
    int32_t extraHeight_ = 0;
};
