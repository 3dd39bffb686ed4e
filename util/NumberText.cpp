#include "util/NumberText.h"

#include <iomanip>
#include <locale>
#include <sstream>

std::string FormatPaddedNumber(unsigned value, int width, int precision, char fill)
{
    std::ostringstream os;
    os.imbue(std::locale::classic());
    os << std::fixed << std::setprecision(precision);
    if (width != 0)
        os << std::setw(width) << std::setfill(fill);
    os << value;
    return os.str();
}

std::string DoubleToText(double value, int precision)
{
    std::ostringstream os;
    os.imbue(std::locale::classic());
    os << std::setprecision(precision) << value;
    return os.str();
}
