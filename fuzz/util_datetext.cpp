// Fuzzes the date and time text parsers, the date and time stream, raw and archive readers, and
// the wildcard matcher. Whatever the input, every value read must be valid, every valid value
// must format and read back to itself, and the matcher must agree with a plain table-driven
// matcher built from the same rules.
#include "records/AsciiCase.h"
#include "util/CaseConversion.h"
#include "util/Clock.h"
#include "util/DateTimeStreams.h"
#include "util/Wildcard.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void CheckTimeValid(const Time& time)
{
    Check(IsValidTime(time.GetHour(), time.GetMinute(), time.GetSecond()));
}

void CheckDate(std::string_view text)
{
    for (int order = -1; order <= 3; ++order) {
        Date date;
        const bool set = date.Set(text, order);
        Check(set == IsValidDateText(text, order));
        Check(date.IsValid());
        if (set && order >= 0 && order <= 2) {
            Date back;
            Check(back.Set(date.Format(0x00E, order, '/'), order));
            Check(back == date);
        }
    }
}

void CheckTime(std::string_view text)
{
    Time time(1, 2, 3);
    time.Set(text);
    CheckTimeValid(time);
    const TimeParts parts = ParseTimeText(text);
    Check(parts.hour >= 0 && parts.minute >= 0 && parts.second >= 0);
    Check(IsValidTimeText(text) == IsValidTime(parts.hour, parts.minute, parts.second));
    Time back;
    back.Set(time.Format(0x70));
    Check(back == time);
}

void CheckDateTime(const std::string& text)
{
    const DateTime parsed(text, static_cast<int>(text.size() % 3));
    Check(parsed.GetDate().IsValid());
    CheckTimeValid(parsed.GetTime());
    std::ostringstream os;
    os << parsed;
    WriteRaw(os, parsed);
    std::istringstream is(os.str());
    DateTime back;
    DateTime raw;
    Check(static_cast<bool>(ReadRaw(is >> back, raw)));
    Check(back == parsed && raw == parsed);

    // Streams and archives of arbitrary bytes give valid values or fail.
    std::istringstream words(text);
    DateTime read;
    ReadRaw(words >> read, read);
    Check(read.GetDate().IsValid());
    CheckTimeValid(read.GetTime());
    win::Archive ar(text);
    try {
        ar >> read >> read;
    } catch (const win::ArchiveException&) {
    }
    Check(read.GetDate().IsValid());
    CheckTimeValid(read.GetTime());
}

// match[i][j]: pattern from i matches text from j.
bool TableMatch(std::string_view pattern, std::string_view text)
{
    const std::size_t m = pattern.size();
    const std::size_t n = text.size();
    std::vector<std::vector<char>> match(m + 1, std::vector<char>(n + 1, 0));
    match[m][n] = 1;
    for (std::size_t i = m; i-- > 0;)
        match[i][n] = match[i + 1][n]
            && (pattern[i] == '*' || (pattern[i] == '.' && i + 1 < m && pattern[i + 1] == '*'));
    for (std::size_t i = m; i-- > 0;)
        for (std::size_t j = n; j-- > 0;) {
            if (pattern[i] == '*')
                match[i][j] = match[i + 1][j] || match[i][j + 1];
            else
                match[i][j] = (pattern[i] == '?' || pattern[i] == text[j]) && match[i + 1][j + 1];
        }
    return match[0][0] != 0;
}

void CheckWildcard(std::string_view input)
{
    const std::size_t split = input.find('\n');
    const std::string_view pattern = input.substr(0, split);
    const std::string_view text = split == std::string_view::npos ? input : input.substr(split + 1);
    const bool matches = WildcardMatch(pattern, text);
    if (pattern.size() <= 200 && text.size() <= 200)
        Check(matches == TableMatch(pattern, text));
    Check(WildcardMatchNoCase(pattern, text) == WildcardMatch(ToUpperAscii(pattern), ToUpperAscii(text)));
    Check(WildcardMatch("*", text));
}

void CheckTitleCase(std::string_view text)
{
    const std::string title = ToTitleCase(text);
    Check(ToUpperAscii(title) == ToUpperAscii(text));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A fixed clock, so that a missing month always reads as the same one.
    static const ScopedClock clock([] { return LocalMoment { 2016, 2, 10, 12, 0, 0 }; });
    const std::string input(reinterpret_cast<const char*>(data), size);
    CheckDate(input);
    CheckTime(input);
    CheckDateTime(input);
    CheckWildcard(input);
    CheckTitleCase(input);
    return 0;
}
