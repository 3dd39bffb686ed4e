// The traversal actions of the record framework. Nothing in this program constructs one; they
// serve the larger system that shares the framework.
#pragma once

#include "records/DatabaseRecord.h"

#include <cstdint>

// Asks each record with an id the query (operation, type, id, value), counts the records that
// report a hit and keeps the last non-zero answer. Operation 1 stops at the first record asked.
class CountTraverseAction : public DatabaseRecord::TraverseAction {
public:
    CountTraverseAction(uint8_t operation, uint8_t type, int id, int value);
    bool Apply(DatabaseRecord& record) override;

    int LastResult() const { return lastResult_; }
    int HitCount() const { return hitCount_; }

private:
    uint8_t operation_;
    uint8_t type_;
    int id_;
    int value_;
    int lastResult_ = 0;
    int hitCount_ = 0;
};

// Calls one of the argument-less hooks on each record and goes on.
class HookTraverseAction : public DatabaseRecord::TraverseAction {
public:
    explicit HookTraverseAction(DatabaseRecord::TraverseHook hook)
        : hook_(hook)
    {
    }
    bool Apply(DatabaseRecord& record) override;

private:
    DatabaseRecord::TraverseHook hook_;
};
