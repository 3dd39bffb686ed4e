#include "util/window/PageWriters.h"

#include "util/window/PageFlow.h"

#include <algorithm>

namespace {

// The length of the paragraph's first line: through the last blank at or before position
// perLine - 1, or perLine characters when there is none; the whole of a shorter paragraph.
std::size_t FirstLineLength(std::string_view paragraph, std::size_t perLine)
{
    if (paragraph.size() <= perLine)
        return paragraph.size();
    const std::size_t blank = paragraph.rfind(' ', perLine - 1);
    return blank == std::string_view::npos ? perLine : blank + 1;
}

} // namespace

void PrintWrappedText(PageDevice& device, int fontSize, std::string_view text)
{
    if (text.empty())
        return;
    gdi::DeviceContext& dc = device.Dc();
    dc.SetMapMode(gdi::MM_LOMETRIC);
    const SelectedFont font(dc, PointFont(fontSize, "Arial", dc));
    const int lineHeight = dc.GetTextExtent("X").cy;
    const PageFrame frame = PageFrameOf(dc);
    // A page narrower than four average characters still takes one character a line.
    const auto perLine = static_cast<std::size_t>(std::max(1, frame.usableWidth / AverageCharWidth(dc) - 4));
    PageFlow flow(device, frame, lineHeight);
    std::string_view rest = text;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view paragraph = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view {} : rest.substr(end + 1);
        do {
            const std::size_t length = FirstLineLength(paragraph, perLine);
            dc.TextOut(kPageLeftMargin, flow.NextLineY(), paragraph.substr(0, length));
            flow.LineWritten();
            paragraph.remove_prefix(length);
        } while (!paragraph.empty());
    }
    flow.Finish();
}
