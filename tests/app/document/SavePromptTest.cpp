#include "DocumentFixture.h"
#include "app/document/DocumentHints.h"

namespace doctest {
namespace {

// The three operations that ask whether to save a modified layout.
enum class Operation { formNew, open, closeWindow };
// The user's answer, and what became of a Yes.
enum class Answer { yesSaved, yesSaveAsCancelled, yesSaveFailed, no, cancel };

struct PromptCase {
    const char* name;
    Operation operation;
    Answer answer;
};

void PrintTo(const PromptCase& c, std::ostream* out)
{
    *out << c.name;
}

class SavePrompt : public DocumentTest, public ::testing::WithParamInterface<PromptCase> { };

constexpr const char* prompt = "Do you want to save changes to the current layout?";

// Yes goes on only when the layout was written; Cancel and a save that did not happen stop the
// operation with the modified flag set. After No the form's New keeps the flag.
TEST_P(SavePrompt, GoesOnOnlyWhenTheChangesAreSavedOrGivenUp)
{
    const PromptCase& c = GetParam();
    const std::string other = Path("other.txt");
    {
        Layout group;
        group.SetLayoutType(1);
        group.GetPaper().DiscardMargins();
        WriteBytes(other, LayoutBytes(group));
    }
    const std::string saved = Path("saved.txt");
    if (c.answer == Answer::yesSaved || c.answer == Answer::yesSaveFailed) {
        ASSERT_TRUE(document->WriteLayout(saved));
    }
    if (c.answer == Answer::yesSaveFailed) {
        std::filesystem::remove(saved);
        std::filesystem::create_directory(saved); // the next save of the layout fails
    }
    document->UnitMoved(false);
    TakeHints();

    modal->AnswerNext(c.answer == Answer::no ? win::IDNO
            : c.answer == Answer::cancel     ? win::IDCANCEL
                                             : win::IDYES);
    if (c.answer == Answer::yesSaveAsCancelled)
        modal->AnswerNextFile(win::IDCANCEL);
    if (c.answer == Answer::yesSaveFailed)
        modal->AnswerNext(win::IDOK);

    bool wentOn = false;
    switch (c.operation) {
    case Operation::formNew:
        document->GetLayout().SetLayoutType(1);
        EXPECT_EQ(document->OnNewDocument(), win::TRUE);
        wentOn = document->GetLayout().GetLayoutType() == 0;
        break;
    case Operation::open:
        document->OpenLayout(other);
        wentOn = document->GetPath() == other;
        break;
    case Operation::closeWindow:
        wentOn = document->CanCloseFrame(nullptr) != win::FALSE;
        break;
    }

    const bool expectOn = c.answer == Answer::yesSaved || c.answer == Answer::no;
    EXPECT_EQ(wentOn, expectOn);
    EXPECT_EQ(modal->Messages().at(0).text, prompt);
    EXPECT_EQ(modal->Messages().at(0).flags, win::MB_YESNOCANCEL);
    const bool flagKept = !expectOn || (c.operation == Operation::formNew && c.answer == Answer::no);
    EXPECT_EQ(document->IsModified() != win::FALSE, flagKept);
    Hints expected;
    if (c.answer == Answer::yesSaved || c.answer == Answer::yesSaveFailed)
        expected.push_back(hint::saveAttempted);
    if (expectOn && c.operation != Operation::closeWindow)
        expected.push_back(hint::layoutReplaced);
    EXPECT_EQ(TakeHints(), expected);
    if (c.answer == Answer::yesSaved) {
        EXPECT_EQ(FileBytes(saved).substr(0, 22), "\"Custom Order Template");
    }
}

const PromptCase promptCases[] = {
    { "NewYes", Operation::formNew, Answer::yesSaved },
    { "NewYesSaveAsCancelled", Operation::formNew, Answer::yesSaveAsCancelled },
    { "NewYesSaveFailed", Operation::formNew, Answer::yesSaveFailed },
    { "NewNo", Operation::formNew, Answer::no },
    { "NewCancel", Operation::formNew, Answer::cancel },
    { "OpenYes", Operation::open, Answer::yesSaved },
    { "OpenYesSaveAsCancelled", Operation::open, Answer::yesSaveAsCancelled },
    { "OpenYesSaveFailed", Operation::open, Answer::yesSaveFailed },
    { "OpenNo", Operation::open, Answer::no },
    { "OpenCancel", Operation::open, Answer::cancel },
    { "CloseYes", Operation::closeWindow, Answer::yesSaved },
    { "CloseYesSaveAsCancelled", Operation::closeWindow, Answer::yesSaveAsCancelled },
    { "CloseYesSaveFailed", Operation::closeWindow, Answer::yesSaveFailed },
    { "CloseNo", Operation::closeWindow, Answer::no },
    { "CloseCancel", Operation::closeWindow, Answer::cancel },
};

INSTANTIATE_TEST_SUITE_P(Document, SavePrompt, ::testing::ValuesIn(promptCases),
    [](const ::testing::TestParamInfo<PromptCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace doctest
