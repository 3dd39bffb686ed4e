#include "app/document/UndoManager.h"

const char* const UndoTextPrefix = "Undo ";
const char* const RedoTextPrefix = "Redo ";

void UndoManager::AddUndo(std::unique_ptr<::Undo> step)
{
    if (step == nullptr)
        return;
    undoList_.push_front(std::move(step));
    Truncate(undoList_, limit_);
    ClearRedo();
}

bool UndoManager::Undo(COrvanelDoc& document)
{
    if (undoList_.empty())
        return false;
    const bool changed = undoList_.front()->Apply(document);
    redoList_.push_front(std::move(undoList_.front()));
    undoList_.pop_front();
    return changed;
}

void UndoManager::Redo(COrvanelDoc& document)
{
    if (redoList_.empty())
        return;
    redoList_.front()->Reapply(document);
    undoList_.push_front(std::move(redoList_.front()));
    redoList_.pop_front();
}

void UndoManager::SetLimit(unsigned n)
{
    limit_ = n;
    Truncate(undoList_, n);
    Truncate(redoList_, n);
}

std::string UndoManager::GetUndoText(unsigned i) const
{
    return StepText(undoList_, i, UndoTextPrefix);
}

std::string UndoManager::GetRedoText(unsigned i) const
{
    return StepText(redoList_, i, RedoTextPrefix);
}

void UndoManager::Clear()
{
    ClearUndo();
    ClearRedo();
}

void UndoManager::Reset()
{
    Clear();
    limit_ = initialLimit;
}

void UndoManager::Truncate(Steps& steps, unsigned n)
{
    if (steps.size() > n)
        steps.resize(n);
}

std::string UndoManager::StepText(const Steps& steps, unsigned i, const char* prefix)
{
    return i < steps.size() ? prefix + steps[i]->GetDescription() : std::string(prefix);
}

UndoManager& GetUndoManager()
{
    static UndoManager manager;
    return manager;
}
