#include "records/CsvFields.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <sstream>
#include <vector>

namespace {

struct WriterCase {
    std::function<void(std::ostream&)> write;
    std::string bytes;
};

TEST(CsvWriters, ExactBytes)
{
    const std::vector<WriterCase> cases = {
        { [](auto& os) { WriteCsvString(os, std::string("He said \"hi\""), false); },
            "\"He said \"\"hi\"\"\"" },
        { [](auto& os) { WriteCsvString(os, std::string(), true); }, ",\"\"" },
        { [](auto& os) { WriteCsvString(os, "a,b", true); }, ",\"a,b\"" },
        { [](auto& os) { WriteCsvString(os, std::string("x\ny\xE9"), false); }, "\"x\ny\xE9\"" },
        { [](auto& os) { WriteCsvBool(os, true, true); }, ",\"1\"" },
        { [](auto& os) { WriteCsvBool(os, false, false); }, "\"0\"" },
        { [](auto& os) { WriteCsvInt(os, -42, false); }, "\"-42\"" },
        { [](auto& os) { WriteCsvInt(os, INT_MIN, true); }, ",\"-2147483648\"" },
        { [](auto& os) { WriteCsvUnsigned(os, 4294967295u, true); }, ",\"4294967295\"" },
        { [](auto& os) { WriteCsvDouble(os, 2.453, false); }, "\"2.453\"" },
        { [](auto& os) { WriteCsvDouble(os, 1234567.0, true); }, ",\"1.23457e+06\"" },
        { [](auto& os) { WriteCsvDouble(os, -0.5, false); }, "\"-0.5\"" },
    };
    for (const auto& c : cases) {
        std::ostringstream os;
        c.write(os);
        EXPECT_EQ(os.str(), c.bytes);
    }
}

// A written line reads back field by field (a CR inside a value comes back as LF).
TEST(CsvWriters, LineReadsBack)
{
    const std::vector<std::string> values
        = { "plain", "", "a,b", "He said \"hi\"", "two\nlines", "  padded", "\"", "\xC2\xB8 stays a comma" };
    std::ostringstream os;
    for (std::size_t i = 0; i < values.size(); ++i)
        WriteCsvString(os, values[i], i > 0);
    os << "\r\n";

    std::istringstream in(os.str());
    for (std::size_t i = 0; i < values.size(); ++i) {
        std::string text;
        bool endOfLine = false;
        ReadCsvField(in, text, endOfLine);
        const std::string expected = i + 1 == values.size() ? ", stays a comma" : values[i];
        EXPECT_EQ(text, expected) << "field " << i;
        EXPECT_EQ(endOfLine, i + 1 == values.size()) << "field " << i;
    }
}

} // namespace
