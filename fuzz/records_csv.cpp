// Fuzzes the CSV field reader and the number parsers: every field read from the input must be
// free of CR, read back unchanged after being written, and every number parsed must format and
// parse back to the same value.
#include "records/CsvFields.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// What the reader makes of a written field: each C2 B8 pair reads as a comma.
std::string AsReadBack(const std::string& text)
{
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\xC2' && i + 1 < text.size() && text[i + 1] == '\xB8') {
            result.push_back(',');
            ++i;
        } else {
            result.push_back(text[i]);
        }
    }
    return result;
}

void CheckNumbers(const std::string& text)
{
    int i = 0;
    if (StringToInt(text, i)) {
        int back = ~i; // anything but i
        Check(StringToInt(FormatInt(i), back) && back == i);
    }
    unsigned u = 0;
    if (StringToUnsigned(text, u)) {
        unsigned back = ~u;
        Check(StringToUnsigned(FormatUnsigned(u), back) && back == u);
    }
    double d = 0;
    if (StringToDouble(text, d)) {
        Check(std::isfinite(d));
        double back = 0;
        Check(StringToDouble(FormatDouble(d), back));
    }
}

void CheckField(const std::string& field)
{
    Check(field.find('\r') == std::string::npos);
    std::ostringstream out;
    WriteCsvString(out, field, false);
    std::istringstream in(out.str());
    std::string back;
    bool endOfLine = true;
    ReadCsvField(in, back, endOfLine);
    Check(back == AsReadBack(field));
    Check(!endOfLine);
    CheckNumbers(field);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    CheckNumbers(input);

    std::istringstream in(input);
    std::string field;
    bool endOfLine = false;
    std::size_t reads = 0;
    while (!in.fail()) {
        ReadCsvField(in, field, endOfLine);
        if (!in.fail() || !field.empty())
            CheckField(field);
        Check(++reads <= size + 1); // every read consumes input or ends the stream
    }

    // Skipping to a text taken from the input's first bytes never runs past the end.
    std::istringstream scan(input);
    SkipToText(scan, input.substr(0, std::min<std::size_t>(input.size(), 3)), size % 2 == 0);
    std::istringstream lines(input);
    SkipCsvLine(lines);
    return 0;
}
