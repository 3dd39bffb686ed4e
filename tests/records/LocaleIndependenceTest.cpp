// Numbers are written and parsed in the classic form whatever the process locale: here a
// decimal-comma locale with '.' grouping is made global and imbued in the caller's streams.
#include "records/CsvFields.h"

#include <gtest/gtest.h>

#include <locale>
#include <sstream>

namespace {

class DecimalComma : public std::numpunct<char> {
protected:
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

class UnderDecimalCommaLocale : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = std::locale::global(std::locale(std::locale::classic(), new DecimalComma));
    }
    void TearDown() override { std::locale::global(previous_); }

private:
    std::locale previous_;
};

TEST_F(UnderDecimalCommaLocale, TheLocaleReallyFormatsWithComma)
{
    std::ostringstream os;
    os << 1234567.5 << ' ' << 1234567 << ' ' << 2.5;
    EXPECT_EQ(os.str(), "1,23457e+06 1.234.567 2,5") << "the test locale must differ from the classic one";
}

TEST_F(UnderDecimalCommaLocale, WritersUseClassicForm)
{
    std::ostringstream os; // takes the global locale
    WriteCsvDouble(os, 2.453, false);
    WriteCsvInt(os, 1234567, true);
    WriteCsvUnsigned(os, 4000000000u, true);
    WriteCsvDouble(os, 0.5, true);
    EXPECT_EQ(os.str(), "\"2.453\",\"1234567\",\"4000000000\",\"0.5\"");
    EXPECT_EQ(FormatInt(1234567, 9), "001234567");
}

TEST_F(UnderDecimalCommaLocale, ReadersUseClassicForm)
{
    std::istringstream in("2.453,\"1234567\",(2.5),1.234\n");
    double version = 0;
    int number = 0;
    double negative = 0;
    double grouped = 0;
    ReadCsvDouble(in, version);
    ReadCsvInt(in, number);
    ReadCsvDouble(in, negative);
    ReadCsvDouble(in, grouped);
    EXPECT_EQ(version, 2.453);
    EXPECT_EQ(number, 1234567);
    EXPECT_EQ(negative, -2.5);
    EXPECT_EQ(grouped, 1.234) << "'.' is the decimal point, never a thousands separator";

    double value = 0;
    ASSERT_TRUE(StringToDouble("2,5", value));
    EXPECT_EQ(value, 2.0) << "',' ends a number";
}

} // namespace
