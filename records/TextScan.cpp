#include "records/TextScan.h"

#include "records/AsciiCase.h"

#include <cstring>

namespace {
constexpr int kEof = std::char_traits<char>::eof();

char Fold(char c, bool ignoreCase)
{
    return ignoreCase ? ToUpperAscii(c) : c;
}

// Turns each "<BR>" or "<br>" (and one LF directly after it) into one LF.
std::string ConvertBreaks(const std::string& text)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (text.compare(i, 4, "<BR>") == 0 || text.compare(i, 4, "<br>") == 0) {
            result.push_back('\n');
            i += 4;
            if (i < text.size() && text[i] == '\n')
                ++i;
        } else {
            result.push_back(text[i++]);
        }
    }
    return result;
}

bool EndsWithFolded(const std::string& read, std::string_view text, bool matchCase)
{
    if (read.size() < text.size())
        return false;
    const std::size_t start = read.size() - text.size();
    for (std::size_t i = 0; i < text.size(); ++i)
        if (Fold(read[start + i], !matchCase) != Fold(text[i], !matchCase))
            return false;
    return true;
}
} // namespace

bool SkipToText(std::istream& is, std::string_view text, bool ignoreCase)
{
    const std::string sought = ignoreCase ? ToUpperAscii(text) : std::string(text);
    if (!is.good())
        return false;
    std::size_t matched = 0;
    while (matched < sought.size()) {
        const int c = is.get();
        if (c == kEof)
            return false;
        if (Fold(static_cast<char>(c), ignoreCase) == sought[matched])
            ++matched;
        else
            matched = 0;
    }
    return true;
}

ReadUntilResult ReadUntilText(std::istream& is, std::string& out, std::string_view text, std::size_t limit,
    bool matchCase, bool convertBreaks, std::string* rest)
{
    std::string read;
    ReadUntilResult result = ReadUntilResult::streamFailed;
    for (;;) {
        if (EndsWithFolded(read, text, matchCase)) {
            read.resize(read.size() - text.size());
            result = ReadUntilResult::found;
            break;
        }
        if (read.size() >= limit) {
            result = ReadUntilResult::limitReached;
            if (rest) {
                const std::size_t tail = std::min(text.size(), read.size());
                *rest = read.substr(read.size() - tail);
                if (!matchCase)
                    *rest = ToUpperAscii(*rest);
            }
            break;
        }
        const int c = is.get();
        if (c == kEof)
            break;
        read.push_back(static_cast<char>(c));
    }
    out = convertBreaks ? ConvertBreaks(read) : read;
    return result;
}

void SkipWhiteSpace(std::istream& is)
{
    for (;;) {
        const int c = is.peek();
        if (c == kEof || !IsCSpace(static_cast<char>(c)))
            return;
        is.get();
    }
}

void TrimLeft(std::string& text)
{
    std::size_t first = 0;
    while (first < text.size() && IsCSpace(text[first]))
        ++first;
    text.erase(0, first);
}

void TrimRight(std::string& text)
{
    std::size_t end = text.size();
    while (end > 0 && IsCSpace(text[end - 1]))
        --end;
    text.erase(end);
}

void TrimRight(char* text)
{
    if (!text)
        return;
    for (std::size_t end = std::strlen(text); end > 0 && IsCSpace(text[end - 1]); --end)
        text[end - 1] = '\0';
}

void CollapseWhiteSpace(std::string& text, char fill)
{
    std::string result;
    result.reserve(text.size());
    bool inRun = false;
    for (const char c : text) {
        if (IsCSpace(c)) {
            if (!inRun && fill != '\0')
                result.push_back(fill);
            inRun = true;
        } else {
            result.push_back(c);
            inRun = false;
        }
    }
    text = std::move(result);
}

void CollapseWhiteSpace(char* text, char fill)
{
    if (!text)
        return;
    std::string collapsed(text);
    CollapseWhiteSpace(collapsed, fill);
    // Never longer than the original, so it fits where the original was.
    std::memcpy(text, collapsed.c_str(), collapsed.size() + 1);
}
