// The abstract bitmap: a description, a palette for depths up to 8 bits, a table of row pointers
// (row 0 is the top row whatever the memory order) and the conversions between depths.
#pragma once

#include "imaging/bitmap/PLBmpInfo.h"
#include "imaging/bitmap/PLPixel24.h"
#include "imaging/bitmap/PLPixel32.h"

#include <cstdint>
#include <memory>
#include <vector>

class PLFilter;

// The largest picture the library creates: no side above 32768 pixels, at most 2^28 pixels.
inline constexpr int32_t PL_MAX_SIDE = 32768;
inline constexpr int64_t PL_MAX_PIXELS = int64_t(1) << 28;

class PLBmp : public PLBmpInfo {
public:
    PLBmp() = default;
    PLBmp(const PLBmp&) = delete;
    PLBmp& operator=(const PLBmp&) = delete;
    ~PLBmp() override = default;

    // Create with the description's size, depth, flags and resolution; pixels start zeroed.
    virtual void CreateFromInfo(const PLBmpInfo& info);
    // Re-creates the bitmap (zero-filled, alpha 255 at 32 bpp, grey palette below 16 bpp). When bits are
    // given, each row takes (width x bpp + 7) / 8 bytes from them, the source advancing by stride, or by
    // that row length when stride is 0. A size beyond the library's limits raises the out-of-memory code
    // and leaves the bitmap as it was.
    virtual void Create(int width, int height, int bpp, bool hasAlpha, bool isGreyscale,
        const uint8_t* bits = nullptr, int stride = 0, const PLCoord& resolution = PLCoord());
    // Like Create without bits, for a caller that writes every pixel of every row before anything
    // reads them: from 8 bpp on the pixel bytes are not cleared first (they hold whatever the memory
    // held; fresh pages are zero), and no opaque alpha is written. Row padding and palettes are zero,
    // the grey palette below 16 bpp is set as by Create, and pictures below 8 bpp are cleared.
    void CreateForOverwrite(int width, int height, int bpp, bool hasAlpha, bool isGreyscale,
        const PLCoord& resolution = PLCoord());
    virtual int64_t MemoryInUse() const = 0;
    virtual int BytesPerRow() const = 0;
    // Bracket direct access to the rows; they only count.
    virtual void Lock(bool read, bool write) const;
    virtual void Unlock() const;

    // A copy of src at the given depth (0: src's own depth), converting when the depths differ.
    // Supported depths are 1, 8, 24 and 32; another pair raises the unsupported-feature code.
    void CreateCopy(const PLBmp& src, int bpp = 0);
    void CreateFilteredCopy(PLBmp& src, const PLFilter& filter);
    void ApplyFilter(const PLFilter& filter);

    // A new bitmap of this bitmap's own class (16 x 16 at 8 bpp, as every bitmap starts).
    virtual std::unique_ptr<PLBmp> CreateOfSameKind() const = 0;
    // Exchanges the whole picture (description, pixels, palette, rows) with other's, so that a
    // picture filtered into a scratch bitmap is moved in instead of copied back. A bitmap of another
    // class is copied instead. Lock counts and quantization settings stay with each bitmap.
    void SwapPicture(PLBmp& other);

    PLCoord GetSize() const { return m_Size; }
    int GetNumColors() const;
    int GetLockCount() const { return m_LockCount; }

    // Row access: the table has one entry per row, row 0 at the top.
    uint8_t* const* GetLineArray() const { return m_Rows.data(); }
    uint8_t* GetRow(int y) const { return m_Rows[static_cast<size_t>(y)]; }
    PLPixel32* GetRow32(int y) const { return reinterpret_cast<PLPixel32*>(GetRow(y)); }
    PLPixel24* GetRow24(int y) const { return reinterpret_cast<PLPixel24*>(GetRow(y)); }
    // The pixel at (x, y) as a 32-bit colour, through the palette below 16 bpp (1, 8, 24 and 32 bpp).
    PLPixel32 GetPixel32(int x, int y) const;

    // The palette: GetNumColors entries when the depth is 8 or less, else none.
    PLPixel32* GetPalette() const { return m_pClrTab; }
    // The palette setters do nothing on a bitmap without a palette or with an index outside it.
    void SetPalette(const PLPixel32* entries);
    void SetPaletteEntry(int index, uint8_t r, uint8_t g, uint8_t b, uint8_t a);
    void SetGrayPalette();
    void CopyPaletteFrom(const PLBmp& other);
    int FindNearestColor(PLPixel32 colour) const;

    // Turning alpha on makes every alpha byte (32 bpp) or palette alpha opaque first; a 16- or 24-bpp
    // bitmap cannot carry alpha and ignores a request to turn it on.
    void SetHasAlpha(bool hasAlpha);
    // Copies an 8-bpp bitmap of the same size into the alpha bytes of this 32-bpp bitmap; other
    // depths or sizes change nothing.
    void SetAlphaChannel(const PLBmp& alpha);
    void SetQuantizationMode(int ditherType, int paletteType);
    int GetDitherType() const { return m_DitherType; }
    int GetPaletteType() const { return m_PaletteType; }
    void SetResolution(const PLCoord& resolution) { m_Resolution = resolution; }

    bool AlmostEqual(const PLBmp& other, int epsilon) const;
    bool operator==(const PLBmp& other) const { return AlmostEqual(other, 0); }

    // Bytes a row needs without padding: (width x bpp + 7) / 8, in 64 bits.
    static int64_t UnpaddedRowBytes(int64_t width, int bpp);
    // Raises the maximum-size code for a picture beyond the library's limits, the out-of-memory
    // code for a negative size, and the unsupported-feature code for a depth other than 1, 2, 4,
    // 8, 16, 24 or 32.
    static void CheckPictureSize(int64_t width, int64_t height, int bpp);

protected:
    virtual void AllocatePixels(int width, int height, int bpp, bool hasAlpha, bool isGreyscale) = 0;
    virtual void FreePixels() = 0;
    virtual void BuildRowTable() = 0;
    // SwapPicture's part in the derived class: its storage, with other of the same class.
    virtual void SwapStorage(PLBmp& other) = 0;

    // Shared set-up after AllocatePixels: description, row table, opaque alpha, grey palette.
    void InitLocals(int width, int height, int bpp, bool hasAlpha, bool isGreyscale);
    // What FreePixels leaves behind: an empty picture without rows or palette.
    void ForgetPixels();
    // True while pixels are allocated for a caller that writes every pixel byte itself: the block
    // need not be cleared first, only what lies outside the pixels.
    bool PixelsWillBeOverwritten() const { return !m_bFillOpaque; }

    PLPixel32* m_pClrTab = nullptr;
    std::vector<uint8_t*> m_Rows;
    mutable int m_LockCount = 0;
    int m_DitherType = 0;
    int m_PaletteType = 2;

private:
    // False only while pixels are allocated for a caller that writes all of them itself.
    bool m_bFillOpaque = true;

    // Runs allocate with the opaque alpha fill left out, restoring the flag even on a throw.
    template <typename Allocate> void WithoutOpaqueFill(Allocate&& allocate)
    {
        struct Restore {
            bool& flag;
            ~Restore() { flag = true; }
        } restore { m_bFillOpaque };
        m_bFillOpaque = false;
        allocate();
    }

    void CopySameDepth(const PLBmp& src);
    void ConvertFrom(const PLBmp& src, int bpp);
    void ConvertTo1Bpp(const PLBmp& src);
    void ConvertTo8Bpp(const PLBmp& src);
    void ConvertTo8BppFrom1Bpp(const PLBmp& src);
    void ConvertToTrueColor(const PLBmp& src);
};

// Holds a bitmap locked for the lifetime of the guard.
class PLBmpLock {
public:
    PLBmpLock(const PLBmp& bmp, bool read, bool write)
        : m_Bmp(bmp)
    {
        m_Bmp.Lock(read, write);
    }
    ~PLBmpLock() { m_Bmp.Unlock(); }
    PLBmpLock(const PLBmpLock&) = delete;
    PLBmpLock& operator=(const PLBmpLock&) = delete;

private:
    const PLBmp& m_Bmp;
};
