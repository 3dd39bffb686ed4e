#include "metafile/LibEmfPictures.h"

#include <libEMF/emf.h>

#include <cstdio>
#include <cstring>

namespace libemf {
namespace {

std::vector<uint8_t> Finish(HDC dc, FILE* file)
{
    HENHMETAFILE metafile = CloseEnhMetaFileWithFILE(dc);
    DeleteEnhMetaFile(metafile);
    std::fflush(file);
    std::vector<uint8_t> bytes;
    std::rewind(file);
    int c = 0;
    while ((c = std::fgetc(file)) != EOF)
        bytes.push_back(static_cast<uint8_t>(c));
    std::fclose(file);
    return bytes;
}

} // namespace

std::vector<uint8_t> ShapesPicture()
{
    FILE* file = std::tmpfile();
    const RECT frame { 0, 0, 4000, 2000 }; // 0.01 mm
    HDC dc = CreateEnhMetaFileWithFILEA(0, file, &frame, "orvanel test\0shapes\0");
    // Logical units of 0.1 mm, y down, over the whole frame.
    const int pixelsAcross = GetDeviceCaps(dc, HORZRES);
    const int mmAcross = GetDeviceCaps(dc, HORZSIZE);
    const int pixelsDown = GetDeviceCaps(dc, VERTRES);
    const int mmDown = GetDeviceCaps(dc, VERTSIZE);
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, 400, 200, 0);
    SetViewportExtEx(dc, 40 * pixelsAcross / mmAcross, 20 * pixelsDown / mmDown, 0);

    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    HGDIOBJ oldBrush = SelectObject(dc, red);
    HPEN black = CreatePen(PS_SOLID, 0, RGB(0, 0, 0));
    HGDIOBJ oldPen = SelectObject(dc, black);
    Rectangle(dc, 0, 0, 200, 200);
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    SelectObject(dc, blue);
    SelectObject(dc, GetStockObject(NULL_PEN));
    Ellipse(dc, 220, 20, 380, 180);
    // A green triangle without pen at the top right, a thick yellow line along the bottom.
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    SelectObject(dc, green);
    const POINT triangle[] = { { 340, 0 }, { 400, 0 }, { 400, 60 } };
    Polygon(dc, triangle, 3);
    HPEN yellow = CreatePen(PS_SOLID, 10, RGB(255, 255, 0));
    SelectObject(dc, yellow);
    const POINT line[] = { { 220, 190 }, { 300, 190 }, { 380, 190 } };
    Polyline(dc, line, 3);
    // Black text 5 mm high on the rectangle, from (20, 20).
    LOGFONTA font {};
    font.lfHeight = -50;
    font.lfWeight = FW_BOLD;
    std::strcpy(font.lfFaceName, "Arial");
    HFONT arial = CreateFontIndirectA(&font);
    HGDIOBJ oldFont = SelectObject(dc, arial);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, 20, 20, "HHHH", 4);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(red);
    DeleteObject(blue);
    DeleteObject(green);
    DeleteObject(black);
    DeleteObject(yellow);
    DeleteObject(arial);

    return Finish(dc, file);
}

Device ReferenceDevice(const std::vector<uint8_t>& emf)
{
    const auto at = [&](size_t offset) {
        return int(emf[offset] | (emf[offset + 1] << 8) | (emf[offset + 2] << 16) | (emf[offset + 3] << 24));
    };
    return { at(72), at(76), at(80), at(84) };
}

} // namespace libemf
