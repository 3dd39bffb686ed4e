// Title case: one pass over the text that keeps a few marks about the word being worked on.
#include "util/CaseConversion.h"

#include "util/CharClasses.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<std::string_view, 14> kSmallWords = {
    "of",
    "to",
    "the",
    "in",
    "on",
    "and",
    "for",
    "with",
    "a",
    "an",
    "by",
    "from",
    "C.E",
    "C.E.",
};

bool IsSmallWord(std::string_view word)
{
    return std::find(kSmallWords.begin(), kSmallWords.end(), word) != kSmallWords.end();
}

struct WordMarks {
    bool starting = true; // the next character is the word's first
    bool afterDigit = false; // a digit came last
    bool hasLower = false;
    bool hasUpper = false;
    bool laterHandled = false; // a character after the first has been handled
    bool firstChanged = false; // the first letter was lowered, or a capital later in the word
};

class TitleCaser {
public:
    explicit TitleCaser(std::string& text)
        : text_(text)
    {
    }

    void Run()
    {
        std::size_t i = 0;
        while (i < text_.size()) {
            const char c = text_[i];
            if (IsCSpace(c) || c == '-') {
                marks_ = {};
                if (!PassSmallWord(i))
                    return;
                continue;
            }
            if (c == '\'') {
                if (!IsPossessive(i))
                    marks_ = {};
                ++i;
                continue;
            }
            HandleWordCharacter(i);
            ++i;
        }
    }

private:
    // At the separator at i: when the word after it (up to the next blank) is a small word, it
    // is passed over with i left on the blank after it, which separates again; otherwise i moves
    // past the separator. False when a small word ends the text: the conversion stops there.
    bool PassSmallWord(std::size_t& i)
    {
        if (i + 1 >= text_.size()) {
            ++i;
            return true;
        }
        const std::size_t start = i + 1;
        const std::size_t end = NextBlank(start);
        if (!IsSmallWord(std::string_view(text_).substr(start, end - start))) {
            ++i;
            return true;
        }
        i = end;
        return end < text_.size();
    }

    // An apostrophe followed by exactly one character before a blank or the end (John's).
    bool IsPossessive(std::size_t i) const
    {
        return i + 1 < text_.size() && (i + 2 == text_.size() || text_[i + 2] == ' ');
    }

    void HandleWordCharacter(std::size_t i)
    {
        char& c = text_[i];
        if (IsCDigit(c)) {
            marks_.starting = false;
            marks_.afterDigit = true;
            return;
        }
        if (marks_.afterDigit) {
            // The character after a run of digits stays as it is (2nd, 3D).
            marks_.afterDigit = false;
            if (IsCLower(c))
                marks_.hasLower = marks_.laterHandled = true;
            return;
        }
        if (marks_.starting) {
            marks_.starting = false;
            marks_.firstChanged = IsCLower(c);
            c = ToUpperAscii(c);
            return;
        }
        HandleLaterCharacter(i);
    }

    void HandleLaterCharacter(std::size_t i)
    {
        char& c = text_[i];
        if (IsCLower(c)) {
            marks_.hasLower = marks_.laterHandled = true;
            return;
        }
        const bool upper = IsCUpper(c);
        if (upper) {
            marks_.hasUpper = true;
            if (marks_.hasLower)
                return; // McDonald
        } else if (marks_.hasUpper && marks_.hasLower) {
            return;
        }
        if (upper && !marks_.firstChanged && !marks_.laterHandled && CapitalsRunOn(i))
            return; // an all-capital word
        c = ToLowerAscii(c);
        marks_.laterHandled = true;
        if (upper)
            marks_.firstChanged = true;
    }

    // The position of the first blank from start, or the end. Starts only grow, so the blank
    // found last is reused until it is passed and the text is scanned once in all.
    std::size_t NextBlank(std::size_t start)
    {
        if (nextBlank_ < start)
            nextBlank_ = std::min(text_.find(' ', start), text_.size());
        return nextBlank_;
    }

    // Whether the run of capitals from i reaches the end of the text or is ended by a character
    // that is not a lower-case letter. The end of the run found last is reused while i is inside
    // it, so that a long run is scanned once.
    bool CapitalsRunOn(std::size_t i)
    {
        if (i >= runEnd_) {
            runEnd_ = i;
            while (runEnd_ < text_.size() && IsCUpper(text_[runEnd_]))
                ++runEnd_;
        }
        return runEnd_ == text_.size() || !IsCLower(text_[runEnd_]);
    }

    std::string& text_;
    WordMarks marks_;
    std::size_t nextBlank_ = 0;
    std::size_t runEnd_ = 0;
};

} // namespace

void ToTitleCase(std::string& text)
{
    TitleCaser(text).Run();
}
