// The record base shared by every persistent object of the data model, with its record-message
// (dispatch) readers and writers.
//
// A record message (all numbers little-endian):
//   operation (1 byte, DispatchOp)
//   addChild:     record type (1 byte), child id (4 bytes), then the child's own message
//   removeChild:  record type (1 byte), child id (4 bytes)
//   fieldUpdates: any number of (2-byte field id, value) pairs, then the terminator: the field id
//                 equal to the record's number of fields
// Values: int32 and uint32 4 bytes; bool 1 byte; point or size two int32 (x or width first);
// string a 4-byte length and the bytes.
//
// Reading is hostile-input safe: every reader checks the stream before and after it reads, and
// throws DispatchReadError on a stream that has failed or ended, including a short read; no
// length from the stream is allocated ahead of the bytes actually present. Readers of lists must
// keep to the same rule: read element by element (each read throws when the bytes run out),
// never reserve by the count.
#pragma once

#include "platform/win/Types.h"
#include "records/Archivable.h"
#include "records/DispatchRaw.h"
#include "records/ReadContext.h"
#include "records/RecordType.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>

enum class DispatchOp : uint8_t {
    addChild = 0,
    removeChild = 1,
    fieldUpdates = 2,
};

class DatabaseRecord {
public:
    // Thrown by the record-message readers.
    class DispatchReadError : public std::exception {
    public:
        explicit DispatchReadError(std::string message)
            : message_(std::move(message))
        {
        }
        DispatchReadError(const DispatchReadError&) = default;
        const char* what() const noexcept override { return message_.c_str(); }

    private:
        std::string message_;
    };

    // A visitor over records.
    class TraverseAction {
    public:
        virtual ~TraverseAction() = default;
        virtual bool Apply(DatabaseRecord& record) = 0;

        // Where the walk stands: the record id of the collection being walked and the record
        // type of the children it visits. A collection sets them for its walk and restores the
        // previous values afterwards.
        uint32_t GetParentId() const { return parentId_; }
        void SetParentId(uint32_t id) { parentId_ = id; }
        RecordType GetRecordType() const { return recordType_; }
        void SetRecordType(RecordType type) { recordType_ = type; }

    private:
        uint32_t parentId_ {};
        RecordType recordType_ {};
    };

    // Hooks without arguments that traversal actions call on each record; the base does nothing.
    enum class TraverseHook { first, second, third, fourth, fifth };

    // Field ids 0 to 63 have a bit in the modified mask; higher ids are never modified.
    static constexpr uint16_t MaskFieldCount = 64;

    DatabaseRecord();
    // Copies never take the id, owner or modified mask: a copy is a new record of its own, and
    // assignment keeps the target's.
    DatabaseRecord(const DatabaseRecord&);
    DatabaseRecord& operator=(const DatabaseRecord&);
    virtual ~DatabaseRecord();

    // The class name, ": " and the id; some classes add ": " and a text of theirs.
    virtual std::string Describe() const = 0;
    // Sets the mask bits of all the record's field ids.
    virtual void MarkAllFieldsModified() = 0;
    // Writes the record's field updates (all of them, or with pendingOnly only the modified
    // ones), then the terminator id when writeTerminator is set. No operation byte, no children.
    virtual void WriteFields(bool pendingOnly, std::ostream& os, bool writeTerminator) = 0;
    // Reads one record message addressed to this record; returns its operation byte.
    virtual uint8_t ReadFields(std::istream& is) = 0;
    // Copies the record's own fields into target when it is of the same class and returns it;
    // nullptr when target is of another class.
    virtual DatabaseRecord* Clone(DatabaseRecord& target) const = 0;
    // A new record of the same class holding the record's own fields.
    virtual std::unique_ptr<DatabaseRecord> Clone() const = 0;
    // Applies the action to the record (and whatever the class chooses to visit); the base visits
    // nothing and returns false.
    virtual bool Traverse(TraverseAction& action);
    // Called on a child that a record message has just created, before it reads its fields.
    virtual void OnDispatchAdded();
    // Called on a child just before a record message removes it.
    virtual void OnDispatchRemoved();
    // Change notification; the base answers 0.
    virtual int NotifyChange(int operation, RecordType type, int id);
    virtual void OnTraverseHook(TraverseHook hook);
    // A query of the counting traversal; the base answers 0 and leaves hit as it was.
    virtual int Query(uint8_t operation, uint8_t type, int id, int value, bool& hit);

    uint32_t GetId() const { return id_; }
    bool HasId() const { return id_ != 0; }
    DatabaseRecord* GetOwner() const { return owner_; }
    void SetOwner(DatabaseRecord* owner) { owner_ = owner; }

    uint64_t GetModifiedMask() const { return modified_; }
    bool IsFieldModified(uint16_t fieldId) const;
    void SetFieldModified(uint16_t fieldId);
    void ClearFieldModified(uint16_t fieldId);
    // Sets the bits of field ids 0 to count - 1.
    void SetFieldsModified(uint16_t count);
    void ClearModified() { modified_ = 0; }

    // Called after a child has been appended to a collection, and before one is removed.
    void ChildAdded(DatabaseRecord* child, RecordType type);
    void ChildRemoved(DatabaseRecord* child, RecordType type);
    // Called with the id read from a record message before the child reads its fields; the id
    // is not stored.
    void PrepareRead(uint32_t id);
    // PrepareRead, OnDispatchAdded, then ReadFields.
    void ReadAsChild(uint32_t id, std::istream& is);

    // Typed readers: each throws DispatchReadError when the stream has failed or ended, or when
    // its bytes are not all there.
    void ReadDispatchByte(std::istream& is, uint8_t& value) const;
    void ReadDispatchFieldId(std::istream& is, uint16_t& value) const;
    void ReadDispatchInt(std::istream& is, int32_t& value) const;
    void ReadDispatchUnsigned(std::istream& is, uint32_t& value) const;
    void ReadDispatchBool(std::istream& is, bool& value) const;
    void ReadDispatchPoint(std::istream& is, win::POINT& value) const;
    void ReadDispatchPoint(std::istream& is, win::SIZE& value) const;
    void ReadDispatchString(std::istream& is, std::string& value) const;

    // Typed writers: with pendingOnly set and the field not modified they write nothing;
    // otherwise the 2-byte field id and the value, and the field's bit is cleared.
    void WriteDispatchInt(bool pendingOnly, std::ostream& os, int32_t value, uint16_t fieldId);
    void WriteDispatchUnsigned(bool pendingOnly, std::ostream& os, uint32_t value, uint16_t fieldId);
    void WriteDispatchBool(bool pendingOnly, std::ostream& os, bool value, uint16_t fieldId);
    void WriteDispatchPoint(bool pendingOnly, std::ostream& os, const win::POINT& value, uint16_t fieldId);
    void WriteDispatchPoint(bool pendingOnly, std::ostream& os, const win::SIZE& value, uint16_t fieldId);
    void WriteDispatchString(bool pendingOnly, std::ostream& os, const std::string& value, uint16_t fieldId);
    // The field rule of every writer above, for the writers of further types (amounts, reals,
    // lists): false when pendingOnly is set and the field is not modified; otherwise writes the
    // field id, clears the field's bit and returns true (the caller then writes the value).
    bool BeginDispatchField(bool pendingOnly, std::ostream& os, uint16_t fieldId);

    static constexpr std::string_view FaultyStreamText = "Attempt to read from faulty stream: ";
    static constexpr std::string_view FaultyStringStreamText = "Attempt to read string from faulty stream: ";

protected:
    // Sets the record id and returns the previous one.
    uint32_t SetId(uint32_t id) { return std::exchange(id_, id); }
    // Reads the record id of an archive form; archives of data version RecordIdSince and before
    // carry none, so then nothing is read and the id stays as it was.
    void LoadArchiveId(win::Archive& archive, const ReadContext& context);
    // The same for loaders whose caller has set SavedDataVersion to the archive's version.
    void LoadArchiveId(win::Archive& archive) { LoadArchiveId(archive, ReadContext::OfLastFileRead()); }

    // Throws DispatchReadError with the prefix followed by Describe().
    [[noreturn]] void ThrowDispatchReadError(std::string_view prefix) const;
    // Reads exactly size bytes, or throws DispatchReadError with the prefix: the brick of the
    // typed readers and of readers the derived classes add (doubles, money).
    void ReadDispatchRaw(
        std::istream& is, void* data, std::size_t size, std::string_view prefix = FaultyStreamText) const;
    uint32_t ReadDispatchRaw32(std::istream& is, std::string_view prefix = FaultyStreamText) const;
    uint64_t ReadDispatchRaw64(std::istream& is, std::string_view prefix = FaultyStreamText) const;
    // Reads (field id, value) pairs up to the terminator id. readValue reads the value of a field
    // id and returns false for an id the record does not know, which throws DispatchReadError;
    // each field read has its modified bit cleared.
    void ReadFieldUpdates(
        std::istream& is, uint16_t terminatorId, const std::function<bool(uint16_t fieldId)>& readValue);

    // The start of every record message: makes sure the record-exchange manager exists, through
    // which messages come, then reads the operation byte.
    uint8_t ReadDispatchOperation(std::istream& is) const;
    // The record type and id that follow an add-child or remove-child operation.
    struct ChildAddress {
        uint8_t type = 0;
        uint32_t id = 0;
    };
    ChildAddress ReadChildAddress(std::istream& is) const;
    // An embedded message of a child type the record does not know has a form it can neither read
    // nor skip, so nothing after it can be trusted.
    [[noreturn]] void ThrowUnknownChildType(uint8_t type) const;

private:
    uint32_t id_ = 0;
    DatabaseRecord* owner_ = this;
    uint64_t modified_ = 0;
};
