#include "util/window/PageFlow.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// How often each lower-case letter, then the blank, occurs in a thousand characters of English.
constexpr std::array<int, 27> kLetterWeights = { 64, 14, 27, 35, 100, 20, 14, 42, 63, 3, 6, 35, 20, 56, 56,
    17, 4, 49, 56, 71, 31, 10, 18, 3, 18, 2, 166 };

int WholeMillimetres(int pixels, int dotsPerInch)
{
    return static_cast<int>(int64_t { pixels } * 254 / (int64_t { dotsPerInch } * 10));
}

} // namespace

PageFrame PageFrameOf(const gdi::DeviceContext& dc)
{
    const int width = WholeMillimetres(dc.GetDeviceCaps(gdi::HORZRES), dc.GetDeviceCaps(gdi::LOGPIXELSX));
    const int height = WholeMillimetres(dc.GetDeviceCaps(gdi::VERTRES), dc.GetDeviceCaps(gdi::LOGPIXELSY));
    return { (width - 10) * 10, -(height * 10) };
}

gdi::LOGFONT PointFont(int pointSize, std::string_view face, const gdi::DeviceContext& dc)
{
    // The size in device pixels, rounded, then in logical units.
    const int64_t dots = int64_t { dc.GetDeviceCaps(gdi::LOGPIXELSY) } * pointSize;
    const int64_t pixels = (dots >= 0 ? dots + 360 : dots - 360) / 720;
    gdi::LOGFONT font;
    font.lfHeight = -std::abs(dc.DeviceToLogicalY(pixels));
    gdi::SetFaceName(font, face);
    return font;
}

int AverageCharWidth(const gdi::DeviceContext& dc)
{
    int64_t sum = 0;
    for (std::size_t i = 0; i < kLetterWeights.size(); ++i) {
        const char c = i < 26 ? static_cast<char>('a' + i) : ' ';
        sum += int64_t { dc.GetTextExtent(std::string_view(&c, 1)).cx } * kLetterWeights[i];
    }
    return static_cast<int>(std::max<int64_t>(1, (sum + 500) / 1000));
}

PageFlow::PageFlow(PageDevice& device, const PageFrame& frame, int lineHeight)
    : device_(device)
    , frame_(frame)
    , lineHeight_(lineHeight)
{
    device_.StartPage();
}

int PageFlow::NextLineY()
{
    if (pageFull_) {
        WriteFooter();
        ++page_;
        device_.EndPage();
        device_.StartPage();
        y_ = -lineHeight_;
        pageFull_ = false;
    }
    return y_;
}

void PageFlow::LineWritten()
{
    y_ -= lineHeight_;
    pageFull_ = y_ - lineHeight_ < frame_.bottom + 2 * lineHeight_;
}

void PageFlow::Finish()
{
    if (page_ > 1)
        WriteFooter();
}

void PageFlow::WriteFooter()
{
    char footer[32];
    std::snprintf(footer, sizeof footer, "Page %d", page_);
    gdi::DeviceContext& dc = device_.Dc();
    const int width = dc.GetTextExtent(footer).cx;
    dc.TextOut(frame_.usableWidth / 2 - width / 2 + kPageLeftMargin, frame_.bottom + lineHeight_, footer);
}

SelectedFont::SelectedFont(gdi::DeviceContext& dc, const gdi::LOGFONT& font)
    : dc_(dc)
{
    font_.CreateFontIndirect(&font);
    previous_ = dc_.SelectObject(&font_);
}

SelectedFont::~SelectedFont()
{
    dc_.SelectObject(previous_);
}
