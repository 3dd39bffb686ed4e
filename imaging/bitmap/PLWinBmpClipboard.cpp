// The bitmap on the clipboard: copying its DIB block there, and taking a DIB block or a device
// bitmap from it.
#include "imaging/bitmap/PLClipboard.h"
#include "imaging/bitmap/PLWinBmp.h"
#include "imaging/io/PLTextException.h"

#include <algorithm>
#include <new>

namespace {

// Closes the clipboard on every path.
class OpenClipboard {
public:
    explicit OpenClipboard(PLClipboard& clipboard)
        : m_Clipboard(clipboard)
        , m_bOpen(clipboard.Open())
    {
    }
    OpenClipboard(const OpenClipboard&) = delete;
    OpenClipboard& operator=(const OpenClipboard&) = delete;
    ~OpenClipboard()
    {
        if (m_bOpen)
            m_Clipboard.Close();
    }
    bool IsOpen() const { return m_bOpen; }

private:
    PLClipboard& m_Clipboard;
    bool m_bOpen;
};

// The depth a device bitmap is read at: 1, 8 or 32.
int DepthFor(int bitsPerPixel)
{
    if (bitsPerPixel > 8)
        return 32;
    return bitsPerPixel == 1 ? 1 : 8;
}

} // namespace

std::vector<uint8_t> PLWinBmp::CopyToGlobalMemory() const
{
    try {
        return std::vector<uint8_t>(m_pDib.get(), m_pDib.get() + m_DibSize);
    } catch (const std::bad_alloc&) {
        throw PLTextException(PL_ERR_NO_MEMORY, "Can't allocate global memory block.");
    }
}

void PLWinBmp::CreateFromHBitmap(const gdi::Bitmap& bitmap)
{
    // A bitmap whose pixels cannot be read leaves this picture as it was.
    if (bitmap.height <= 0 || !bitmap.View().IsValid())
        throw PLTextException(PL_ERR_FORMAT_UNKNOWN, "Can't read the pixels of the bitmap.");
    const int depth = DepthFor(bitmap.bitsPerPixel);
    Create(bitmap.width, bitmap.height, depth, false, false);
    std::vector<gdi::RGBQUAD> colours(m_pClrTab ? size_t(GetNumColors()) : 0);
    const auto bitsBytes = static_cast<size_t>(BitsBytesFor(bitmap.width, bitmap.height, depth));
    if (gdi::GetDIBits(bitmap, depth, m_pBits, bitsBytes, colours.empty() ? nullptr : colours.data())
        != bitmap.height)
        throw PLTextException(PL_ERR_FORMAT_UNKNOWN, "Can't read the pixels of the bitmap.");
    for (size_t i = 0; i < colours.size(); ++i)
        SetPaletteEntry(static_cast<int>(i), colours[i].rgbRed, colours[i].rgbGreen, colours[i].rgbBlue, 255);
}

void PLWinBmp::CreateFromDIBAndPalette(
    const PLBitmapInfoHeader* dib, size_t blockSize, const gdi::Palette* palette)
{
    // CreateFromDIB checks the whole block before it replaces anything, so a block that another
    // program made badly leaves this picture as it was.
    CreateFromDIB(dib, blockSize);
    if (!palette || m_bpp > 8)
        return;
    const size_t entries = std::min(palette->entries.size(), static_cast<size_t>(GetNumColors()));
    for (size_t i = 0; i < entries; ++i) {
        const gdi::PALETTEENTRY& e = palette->entries[i];
        SetPaletteEntry(static_cast<int>(i), e.peRed, e.peGreen, e.peBlue, 0);
    }
}

bool PLWinBmp::CopyToClipboard() const
{
    const std::unique_ptr<PLClipboard> clipboard = CreateClipboard();
    return clipboard && CopyToClipboard(*clipboard);
}

bool PLWinBmp::CopyToClipboard(PLClipboard& clipboard) const
{
    const std::vector<uint8_t> block = CopyToGlobalMemory();
    const OpenClipboard open(clipboard);
    if (!open.IsOpen())
        return false;
    clipboard.Empty();
    return clipboard.SetDib(block);
}

bool PLWinBmp::CopyFromClipboard(unsigned format)
{
    const std::unique_ptr<PLClipboard> clipboard = CreateClipboard();
    return clipboard && CopyFromClipboard(*clipboard, format);
}

bool PLWinBmp::CopyFromClipboard(PLClipboard& clipboard, unsigned format)
{
    // Only the two picture formats make a bitmap: any other leaves this one as it was.
    if ((format != PL_CF_BITMAP && format != PL_CF_DIB) || !clipboard.IsFormatAvailable(format))
        return false;
    const OpenClipboard open(clipboard);
    if (!open.IsOpen())
        return false;
    if (format == PL_CF_BITMAP) {
        const std::optional<gdi::Bitmap> bitmap = clipboard.GetBitmap();
        if (!bitmap)
            return false;
        CreateFromHBitmap(*bitmap);
        return true;
    }
    const std::optional<std::vector<uint8_t>> dib = clipboard.GetDib();
    if (!dib)
        return false;
    const std::optional<gdi::Palette> palette
        = clipboard.IsFormatAvailable(PL_CF_PALETTE) ? clipboard.GetPalette() : std::nullopt;
    CreateFromDIBAndPalette(
        reinterpret_cast<const PLBitmapInfoHeader*>(dib->data()), dib->size(), palette ? &*palette : nullptr);
    return true;
}
