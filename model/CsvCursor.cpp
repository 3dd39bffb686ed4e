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
    std::string text;
    int number = 0;
    if (!Next(text))
        return false;
    if (StringToInt(text, number))
        flag = number != 0;
    return true;
}

bool CsvCursor::Unsigned(uint32_t& value)
{
    std::string text;
    if (!Next(text))
        return false;
    StringToUnsigned(text, value);
    return true;
}

bool CsvCursor::Int(int32_t& value)
{
    std::string text;
    if (!Next(text))
        return false;
    StringToInt(text, value);
    return true;
}

bool CsvCursor::Double(double& value)
{
    std::string text;
    if (!Next(text))
        return false;
    StringToDouble(text, value);
    return true;
}

bool CsvCursor::Price(Money& money)
{
    std::string text;
    if (!Next(text))
        return false;
    ParseMoney(text, money);
    return true;
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
