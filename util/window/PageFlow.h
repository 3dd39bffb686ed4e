// What the two page writers share: the page's frame in the low-metric mapping (units of 0.1 mm, y
// up, the origin at the printable area's top-left corner), their "Arial" font, and the flow of lines
// down the pages with the centred "Page %d" footer.
#pragma once

#include "platform/gdi/GdiObjects.h"
#include "util/window/PageDevice.h"

#include <string_view>

struct PageFrame {
    int usableWidth = 0; // (printable width in whole millimetres - 10) x 10
    int bottom = 0; // -(printable height in whole millimetres x 10)
};

constexpr int kPageLeftMargin = 50;

PageFrame PageFrameOf(const gdi::DeviceContext& dc);

// The font of the face at a size in tenths of a point, for the device context's current mapping
// (the height in logical units, negative: the character height).
gdi::LOGFONT PointFont(int pointSize, std::string_view face, const gdi::DeviceContext& dc);

// The selected font's average character width in logical units: the widths of the lower-case
// letters and the blank weighted by how often they occur in English text (the rule of the font
// format's own average for the fonts it was made for; it gives Arial's average for Liberation Sans,
// whose own figure covers all its many glyphs). At least 1.
int AverageCharWidth(const gdi::DeviceContext& dc);

// Lines written down the pages: the first at y = 0, each next one a line height lower. When a line
// leaves less than two lines above the page's footer line, the next line goes to a new page, one
// line below the top, after the footer "Page n" has been written. Pages are started only for lines
// that are written, so that no page is left empty.
class PageFlow {
public:
    // Starts the first page.
    PageFlow(PageDevice& device, const PageFrame& frame, int lineHeight);
    // The height at which the next line goes, breaking the page first when it is full.
    int NextLineY();
    // The line was written at NextLineY.
    void LineWritten();
    // The footer on the last page when more than one page was begun. The last page stays open.
    void Finish();

private:
    void WriteFooter();

    PageDevice& device_;
    PageFrame frame_;
    int lineHeight_;
    int y_ = 0;
    int page_ = 1;
    bool pageFull_ = false;
};

// Selects a font for its lifetime and selects the previous one back before the font goes.
class SelectedFont {
public:
    SelectedFont(gdi::DeviceContext& dc, const gdi::LOGFONT& font);
    ~SelectedFont();
    SelectedFont(const SelectedFont&) = delete;
    SelectedFont& operator=(const SelectedFont&) = delete;

private:
    gdi::DeviceContext& dc_;
    gdi::CFont font_;
    gdi::CFont* previous_ = nullptr;
};
