#include "records/TraverseActions.h"

CountTraverseAction::CountTraverseAction(uint8_t operation, uint8_t type, int id, int value)
    : operation_(operation)
    , type_(type)
    , id_(id)
    , value_(value)
{
}

bool CountTraverseAction::Apply(DatabaseRecord& record)
{
    if (!record.HasId())
        return false;
    if (operation_ != 2 && id_ == 0)
        return false;
    bool hit = false;
    const int result = record.Query(operation_, type_, id_, value_, hit);
    if (hit)
        ++hitCount_;
    if (result != 0)
        lastResult_ = result;
    return operation_ != 1;
}

bool HookTraverseAction::Apply(DatabaseRecord& record)
{
    record.OnTraverseHook(hook_);
    return true;
}
