// One step that the Undo command can take back: what it did is described for the command's text,
// and Apply takes it back on the document.
#pragma once

#include <string>

class COrvanelDoc;

class Undo {
public:
    explicit Undo(std::string description)
        : description_(std::move(description))
    {
    }
    virtual ~Undo() = default;
    Undo(const Undo&) = delete;
    Undo& operator=(const Undo&) = delete;

    const std::string& GetDescription() const { return description_; }

    // Takes the step back on the document; true when that changed it.
    virtual bool Apply(COrvanelDoc& document) = 0;
    // Does the step again.
    virtual void Reapply(COrvanelDoc& document) = 0;

private:
    std::string description_;
};
