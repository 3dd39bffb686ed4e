// The steps the Undo command can take back, newest first, up to a limit, and the steps it has
// taken back (nothing offers them again yet). One manager for the process.
#pragma once

#include "app/document/Undo.h"

#include <deque>
#include <memory>
#include <string>

class COrvanelDoc;

// The prefixes of the commands' texts.
extern const char* const UndoTextPrefix; // "Undo "
extern const char* const RedoTextPrefix; // "Redo "

class UndoManager {
public:
    static constexpr unsigned initialLimit = 10;

    UndoManager() = default;
    UndoManager(const UndoManager&) = delete;
    UndoManager& operator=(const UndoManager&) = delete;

    // Puts the step first, drops the oldest steps beyond the limit and empties the redo list.
    void AddUndo(std::unique_ptr<Undo> step);
    // Takes the newest step back on the document and moves it to the redo list; nothing when
    // the undo list is empty. True when the step changed the document.
    bool Undo(COrvanelDoc& document);
    // Does the newest undone step again and moves it back to the undo list.
    void Redo(COrvanelDoc& document);
    // Keeps at most n steps in each list, the newest.
    void SetLimit(unsigned n);
    unsigned GetLimit() const { return limit_; }

    // "Undo " followed by the description of step i counted from the newest, or "Undo " alone.
    std::string GetUndoText(unsigned i) const;
    std::string GetRedoText(unsigned i) const;
    std::size_t GetUndoCount() const { return undoList_.size(); }
    std::size_t GetRedoCount() const { return redoList_.size(); }

    void Clear();
    void ClearUndo() { undoList_.clear(); }
    void ClearRedo() { redoList_.clear(); }
    // Back to a new manager's state: both lists empty, the initial limit. For tests.
    void Reset();

private:
    using Steps = std::deque<std::unique_ptr<::Undo>>;
    static void Truncate(Steps& steps, unsigned n);
    static std::string StepText(const Steps& steps, unsigned i, const char* prefix);

    Steps undoList_;
    Steps redoList_;
    unsigned limit_ = initialLimit;
};

// The one manager of the process, made on the first call.
UndoManager& GetUndoManager();
