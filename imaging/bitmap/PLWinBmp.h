// A bitmap held as one device-independent bitmap block: the 40-byte header, the colour table up to
// 8 bpp, then the rows bottom row first, each padded to a multiple of 4 bytes. It draws itself on a
// device context; the image wrapper holds its pictures in this form.
#pragma once

#include "imaging/bitmap/PLBmp.h"
#include "imaging/bitmap/PLBox.h"
#include "imaging/bitmap/PLDibHeader.h"
#include "imaging/io/PLBmpPixelBlock.h"

#include <cstddef>
#include <memory>
#include <vector>

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Dib.h"

class PLClipboard;
class PLResourceModule;

class PLWinBmp : public PLBmp {
public:
    // A 16 x 16 bitmap of 8 bpp with the grey palette.
    PLWinBmp();
    ~PLWinBmp() override;

    int64_t MemoryInUse() const override;
    int BytesPerRow() const override;
    std::unique_ptr<PLBmp> CreateOfSameKind() const override;

    // Replaces the picture with the module's bitmap resource; false (nothing changed) when the module
    // has no such resource.
    bool LoadResource(const PLResourceModule& module, int id);
    // Copies a DIB block of blockSize bytes. The header must describe an uncompressed bottom-up picture
    // of 1, 4, 8, 16, 24 or 32 bpp whose colour table and rows lie inside the block.
    void CreateFromDIB(const PLBitmapInfoHeader* dib, size_t blockSize);

    // The device bitmap's pixels at 1, 8 or 32 bpp (deeper bitmaps become 32, other shallow ones 8),
    // without flags; raises code 2 when its pixels cannot be read.
    void CreateFromHBitmap(const gdi::Bitmap& bitmap);
    // CreateFromDIB, then, up to 8 bpp, the palette's entries (alpha 0) in place of the colour table.
    void CreateFromDIBAndPalette(
        const PLBitmapInfoHeader* dib, size_t blockSize, const gdi::Palette* palette);

    // The clipboard: copying puts the DIB block on it in place of what was there; pasting takes
    // PL_CF_DIB (with the clipboard's palette when it offers one) or PL_CF_BITMAP. False when no
    // clipboard can be opened, the format is not offered or holds no data, or the data did not
    // arrive; a block that is no picture raises the library's error. Without an argument, the
    // registered clipboard.
    bool CopyToClipboard() const;
    bool CopyToClipboard(PLClipboard& clipboard) const;
    bool CopyFromClipboard(unsigned format);
    bool CopyFromClipboard(PLClipboard& clipboard, unsigned format);
    // A copy of the DIB block, as one memory block of the block's own size; raises code 10 "Can't
    // allocate global memory block." when it cannot be allocated.
    std::vector<uint8_t> CopyToGlobalMemory() const;

    // Drawing through a device context; x, y, width and height are logical units there.
    // The picture at (x, y) in its own size.
    void Draw(gdi::DeviceContext& dc, int x, int y, win::DWORD rop = gdi::SRCCOPY) const;
    // The whole picture stretched onto the rectangle; a negative extent flips that axis.
    void StretchDraw(
        gdi::DeviceContext& dc, int x, int y, int width, int height, win::DWORD rop = gdi::SRCCOPY) const;
    // Stretched by a factor; the drawn width and height are truncated toward zero.
    void StretchDrawScaled(
        gdi::DeviceContext& dc, int x, int y, double factor, win::DWORD rop = gdi::SRCCOPY) const;
    // The source rectangle of the picture, one pixel to one device pixel, its top-left at (x, y).
    void DrawPart(gdi::DeviceContext& dc, int x, int y, const PLBox& source) const;
    // The block's pixels as the drawing calls take them.
    gdi::DibView GetDibView() const;

    const PLBitmapInfoHeader* GetBitmapInfo() const;
    uint8_t* GetBits() const { return m_pBits; }
    size_t GetDibSize() const { return m_DibSize; }

    // Blends (with the source's alpha) or copies src into this 32-bpp bitmap at (x, y), both counted
    // in the blocks' memory order (y from the bottom rows); only the overlap is touched.
    void AlphaBlit(const PLWinBmp& src, int x, int y);

    static int64_t RowBytesFor(int width, int bpp);
    static int64_t BitsBytesFor(int width, int height, int bpp);
    static int64_t DibBytesFor(int width, int height, int bpp);

protected:
    void AllocatePixels(int width, int height, int bpp, bool hasAlpha, bool isGreyscale) override;
    void FreePixels() override;
    void BuildRowTable() override;
    void SwapStorage(PLBmp& other) override;
    void SetDibPointers();

private:
    // Zeroes the header, the colour table and the padding of each row of a block allocated for
    // overwriting, which the caller's pixels leave alone.
    void ClearAllButPixels(int width, int height, int bpp);
    // Zero bytes when allocated (the pixels not cleared for a caller that overwrites them): big
    // blocks come straight from the kernel, with no fill pass.
    PLBmpPixelBlock m_pDib;
    size_t m_DibSize = 0;
    uint8_t* m_pBits = nullptr;
};
