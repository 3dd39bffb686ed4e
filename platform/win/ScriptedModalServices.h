// A test double for the modal services: records every text and flag shown and answers with the
// answers the test queued, in order. A modal that the test did not expect throws
// UnexpectedModal, so that a test fails instead of hanging on a dialog nobody can answer.
#pragma once

#include "platform/win/ModalServices.h"

#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

namespace win {

class UnexpectedModal : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

class ScriptedModalServices : public ModalServices {
public:
    struct Shown {
        std::string text;
        UINT flags = 0;
    };

    // Queues the answer to the next message box.
    void AnswerNext(int answer) { answers_.push_back(answer); }
    int MessageBox(std::string_view text, UINT flags) override;

    const std::vector<Shown>& Messages() const { return shown_; }
    bool AllAnswersUsed() const { return answers_.empty(); }

private:
    std::deque<int> answers_;
    std::vector<Shown> shown_;
};

} // namespace win
