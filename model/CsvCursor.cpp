#include "model/CsvCursor.h"

#include "model/DocumentFieldReaders.h"
#include "model/MoneyCsv.h"
#include "records/CsvNumbers.h"

bool CsvCursor::Next(std::string& text)
{
    auto field = layoutdoc::ReadPresentField(in_);
    if (!field) {
        lastEndedLine_ = true;
        return false;
    }
    lastEndedLine_ = field->endsLine;
    text = std::move(field->text);
    return true;
}

bool CsvCursor::Text(std::string& text)
{
    return Next(text);
}

bool CsvCursor::Bool(bool& flag)
{
    return Parsed(flag, [](std::string_view text, bool& value) {
        int number = 0;
        if (StringToInt(text, number))
            value = number != 0;
    });
}

bool CsvCursor::Unsigned(uint32_t& value)
{
    return Parsed(value, StringToUnsigned);
}

bool CsvCursor::Int(int32_t& value)
{
    return Parsed(value, StringToInt);
}

bool CsvCursor::Double(double& value)
{
    return Parsed(value, StringToDouble);
}

bool CsvCursor::Price(Money& money)
{
    return Parsed(money, ParseMoney);
}

bool CsvCursor::Skip()
{
    std::string text;
    return Next(text);
}

void CsvCursor::SkipRestOfLine()
{
    while (!lastEndedLine_)
        Skip();
}

void CsvCursor::SkipLine()
{
    lastEndedLine_ = false;
    SkipRestOfLine();
}
