#include "model/MoneyCsv.h"

#include "model/DocumentFieldReaders.h"
#include "records/CsvFields.h"

bool ParseMoney(std::string_view text, Money& money)
{
    double units = 0;
    if (!StringToDouble(text, units))
        return false;
    money = Money(units);
    return true;
}

std::istream& ReadCsvMoney(std::istream& in, Money& money, bool& endOfLine)
{
    endOfLine = false;
    if (const auto field = layoutdoc::ReadPresentField(in)) {
        ParseMoney(field->text, money);
        endOfLine = field->endsLine;
    }
    return in;
}

std::istream& ReadCsvMoney(std::istream& in, Money& money)
{
    bool endOfLine = false;
    return ReadCsvMoney(in, money, endOfLine);
}

std::ostream& WriteCsvMoney(std::ostream& out, const Money& money, bool leadingComma)
{
    return WriteCsvString(out, FormatNumber(money.GetUnits(), 0, 2, false, '0'), leadingComma);
}
