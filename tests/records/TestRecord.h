// A small record with one field of each dispatch type, for the record base tests. Its fields:
// 0 Count (int32), 1 Name (string), 2 Flag (bool), 3 Position (point), 4 Extent (size),
// 5 Total (uint32); terminator 6. Children of type ctLayoutUnit may be added and removed.
#pragma once

#include "records/DatabaseRecord.h"

#include <memory>
#include <string>
#include <vector>

class TestRecord : public Archivable, public DatabaseRecord {
public:
    static constexpr uint16_t FieldCount = 6;

    int32_t count = 0;
    std::string name;
    bool flag = false;
    win::POINT position;
    win::SIZE extent;
    uint32_t total = 0;
    std::vector<std::shared_ptr<TestRecord>> children;
    std::vector<std::string> events; // hooks called, in order

    TestRecord() = default;
    explicit TestRecord(uint32_t id) { SetId(id); }

    void Store(win::Archive&) const override { }
    void Load(win::Archive&) override { }

    std::string Describe() const override { return "TestRecord: " + std::to_string(GetId()); }
    void MarkAllFieldsModified() override { SetFieldsModified(FieldCount); }

    void WriteFields(bool pendingOnly, std::ostream& os, bool writeTerminator) override
    {
        WriteDispatchInt(pendingOnly, os, count, 0);
        WriteDispatchString(pendingOnly, os, name, 1);
        WriteDispatchBool(pendingOnly, os, flag, 2);
        WriteDispatchPoint(pendingOnly, os, position, 3);
        WriteDispatchPoint(pendingOnly, os, extent, 4);
        WriteDispatchUnsigned(pendingOnly, os, total, 5);
        if (writeTerminator)
            WriteDispatchRaw16(os, FieldCount);
    }

    uint8_t ReadFields(std::istream& is) override
    {
        const uint8_t operation = ReadDispatchOperation(is);
        if (operation == static_cast<uint8_t>(DispatchOp::fieldUpdates)) {
            ReadFieldUpdates(is, FieldCount, [&](uint16_t fieldId) { return ReadField(is, fieldId); });
        } else if (operation <= static_cast<uint8_t>(DispatchOp::removeChild)) {
            const ChildAddress child = ReadChildAddress(is);
            const bool known = child.type == static_cast<uint8_t>(RecordType::ctLayoutUnit);
            if (operation == static_cast<uint8_t>(DispatchOp::addChild) && !known)
                ThrowUnknownChildType(child.type);
            if (known)
                operation == 0 ? AddChild(child.id, is) : RemoveChild(child.id);
        }
        return operation;
    }

    DatabaseRecord* Clone(DatabaseRecord& target) const override
    {
        auto* same = dynamic_cast<TestRecord*>(&target);
        if (same)
            same->CopyFields(*this);
        return same;
    }
    std::unique_ptr<DatabaseRecord> Clone() const override
    {
        auto copy = std::make_unique<TestRecord>();
        copy->CopyFields(*this);
        return copy;
    }

    void OnDispatchAdded() override { events.push_back("added"); }
    void OnDispatchRemoved() override { events.push_back("removed"); }
    void OnTraverseHook(TraverseHook hook) override
    {
        events.push_back("hook" + std::to_string(static_cast<int>(hook)));
    }

    // For the counting action: answers queryResult and reports queryHit.
    int queryResult = 0;
    bool queryHit = false;
    int Query(uint8_t, uint8_t, int, int, bool& hit) override
    {
        if (queryHit)
            hit = true;
        return queryResult;
    }

    using DatabaseRecord::SetId;

private:
    void CopyFields(const TestRecord& other)
    {
        count = other.count;
        name = other.name;
        flag = other.flag;
        position = other.position;
        extent = other.extent;
        total = other.total;
    }

    bool ReadField(std::istream& is, uint16_t fieldId)
    {
        switch (fieldId) {
        case 0:
            ReadDispatchInt(is, count);
            return true;
        case 1:
            ReadDispatchString(is, name);
            return true;
        case 2:
            ReadDispatchBool(is, flag);
            return true;
        case 3:
            ReadDispatchPoint(is, position);
            return true;
        case 4:
            ReadDispatchPoint(is, extent);
            return true;
        case 5:
            ReadDispatchUnsigned(is, total);
            return true;
        default:
            return false;
        }
    }

    void AddChild(uint32_t id, std::istream& is)
    {
        auto child = std::make_shared<TestRecord>(id);
        children.push_back(child);
        child->OnDispatchAdded();
        child->ReadFields(is);
    }

    void RemoveChild(uint32_t id)
    {
        for (auto it = children.begin(); it != children.end(); ++it)
            if ((*it)->GetId() == id) {
                (*it)->OnDispatchRemoved();
                children.erase(it);
                return;
            }
    }
};
