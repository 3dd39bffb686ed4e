#include "util/window/PageWriters.h"

#include "platform/win/LastError.h"
#include "records/CsvFields.h"
#include "records/CsvTextFile.h"
#include "records/SharedFunctions.h"
#include "util/window/PageFlow.h"

#include <cerrno>
#include <sstream>
#include <utility>
#include <vector>

namespace {

// Where each column starts, and where the last one ends (edge n).
std::vector<int> ColumnEdges(const PageFrame& frame, std::span<const int> widths, int columns)
{
    std::vector<int> edges { kPageLeftMargin };
    const int64_t share = int64_t { frame.usableWidth } - 10 * int64_t { columns };
    for (int i = 0; i < columns; ++i)
        edges.push_back(
            static_cast<int>(edges.back() + 10 + widths[static_cast<std::size_t>(i)] * share / 100));
    edges.back() = frame.usableWidth + 49;
    return edges;
}

// Lines of a text broken at its own line ends (CR LF, LF or CR).
std::vector<std::string_view> TextLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    lines.push_back(text.substr(start));
    return lines;
}

// The x of a text of the width placed in [left, right) by the alignment.
int AlignedX(int alignment, int left, int right, int width)
{
    switch (alignment) {
    case kAlignCentre:
        return (left + right) / 2 - width / 2;
    case kAlignRight:
        return right - width;
    default:
        return left;
    }
}

// The text drawn into the rectangle (top above bottom), line under line from its top.
void DrawTextInRect(gdi::DeviceContext& dc, std::string_view text, const win::RECT& rect, int alignment)
{
    int y = rect.top;
    for (const std::string_view line : TextLines(text)) {
        const win::SIZE extent = dc.GetTextExtent(line);
        dc.TextOut(AlignedX(alignment, rect.left, rect.right, extent.cx), y, line);
        y -= extent.cy;
    }
}

} // namespace

bool PrintCsvFileTable(PageDevice& device, int fontSize, const std::string& fileName, int columns,
    std::span<const int> widths, std::span<const int> alignments, std::span<const bool> rectangleFlags)
{
    const auto n = static_cast<std::size_t>(columns);
    // Without a column no field would ever be read, and the rows would never end.
    if (columns < 1 || widths.size() < n || alignments.size() < n || rectangleFlags.size() < n)
        return false;
    // Only a regular file, loaded whole within the bounds of a CSV text file: a FIFO or a device
    // cannot make the print wait or fill the memory.
    CsvTextFile file = LoadCsvTextFile(fileName);
    if (file.status != CsvTextFileStatus::loaded) {
        win::SetLastError(static_cast<win::DWORD>(file.error != 0 ? file.error : EFBIG));
        ShowErrorMessage("Failed to open " + fileName, "");
        return false;
    }
    std::istringstream in(std::move(file.bytes));
    gdi::DeviceContext& dc = device.Dc();
    dc.SetMapMode(gdi::MM_LOMETRIC);
    const SelectedFont font(dc, PointFont(fontSize, "Arial", dc));
    const int lineHeight = static_cast<int>(dc.GetTextExtent("X").cy * 1.1);
    const PageFrame frame = PageFrameOf(dc);
    const std::vector<int> edges = ColumnEdges(frame, widths, columns);
    PageFlow flow(device, frame, lineHeight);
    while (in.peek() != std::char_traits<char>::eof()) {
        const int y = flow.NextLineY();
        for (std::size_t i = 0; i < n && in.peek() != std::char_traits<char>::eof(); ++i) {
            std::string text;
            bool endOfLine = false;
            ReadCsvField(in, text, endOfLine);
            const int left = edges[i];
            const int right = edges[i + 1] - 10;
            if (rectangleFlags[i])
                DrawTextInRect(dc, text, { left, y - lineHeight, right, y - 2 * lineHeight }, alignments[i]);
            else
                dc.TextOut(AlignedX(alignments[i], left, right, dc.GetTextExtent(text).cx), y, text);
            if (endOfLine)
                break;
        }
        flow.LineWritten();
    }
    flow.Finish();
    return true;
}
