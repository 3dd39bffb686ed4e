#include "util/StreamCopy.h"

#include "records/AsciiCase.h"

#include <algorithm>
#include <deque>
#include <string>

bool SkipPastClosingBrackets(std::istream& is, int count)
{
    int seen = 0;
    for (int c = is.get(); c != std::char_traits<char>::eof(); c = is.get())
        if (c == '>' && ++seen == count)
            break;
    return is.good();
}

namespace {

bool WindowEquals(const std::deque<char>& window, std::string_view wanted, bool matchCase)
{
    return std::equal(window.begin(), window.end(), wanted.begin(), wanted.end(),
        [matchCase](char a, char b) { return matchCase ? a == b : ToUpperAscii(a) == ToUpperAscii(b); });
}

} // namespace

bool CopyUntilText(std::ostream& os, std::istream& is, std::string_view wanted, bool matchCase)
{
    std::string first(wanted.size(), '\0');
    if (!is.read(first.data(), static_cast<std::streamsize>(first.size())))
        return false;
    std::deque<char> window(first.begin(), first.end());
    while (!WindowEquals(window, wanted, matchCase)) {
        const int next = is.get();
        if (next == std::char_traits<char>::eof()) {
            for (const char c : window)
                os.put(c);
            return true;
        }
        os.put(window.front());
        window.pop_front();
        window.push_back(static_cast<char>(next));
    }
    return false;
}
