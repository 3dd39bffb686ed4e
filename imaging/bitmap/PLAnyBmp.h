// A bitmap held as one block of unpadded rows, top row first; decoders and filters use it as scratch.
#pragma once

#include "imaging/bitmap/PLBmp.h"
#include "imaging/io/PLBmpPixelBlock.h"

#include <memory>

class PLAnyBmp : public PLBmp {
public:
    // A 16 x 16 bitmap of 8 bpp with the grey palette.
    PLAnyBmp();
    ~PLAnyBmp() override;

    int64_t MemoryInUse() const override;
    int BytesPerRow() const override;
    std::unique_ptr<PLBmp> CreateOfSameKind() const override;

    // The pixel block (rows top first, (width x bpp + 7) / 8 bytes each).
    uint8_t* GetPixels() const { return m_pBits.get(); }

    static int64_t BitsBytesFor(int width, int height, int bpp);
    // Rows, palette and the object itself.
    static int64_t MemoryFor(int width, int height, int bpp);

protected:
    void AllocatePixels(int width, int height, int bpp, bool hasAlpha, bool isGreyscale) override;
    void FreePixels() override;
    void BuildRowTable() override;
    void SwapStorage(PLBmp& other) override;

private:
    PLBmpPixelBlock m_pBits;
    std::unique_ptr<PLPixel32[]> m_Palette;
};
