// The Truevision TGA decoder: colour-mapped (8-bit indices into an 8-bit bitmap with the map as
// palette, 16-bit indices into a 32-bit bitmap), true-colour (15, 16, 24 and 32 bits into a
// 32-bit bitmap) and greyscale pictures, uncompressed or run-length coded (packets may run on
// into the next row), stored from the top or the bottom, from the left or the right.
#pragma once

#include "imaging/bitmap/PLPixel32.h"
#include "imaging/codec/PLPicDecoder.h"

#include <cstdint>
#include <vector>

class PLTGADecoder : public PLPicDecoder {
public:
    PLTGADecoder() = default;
    ~PLTGADecoder() override;

    void Open(PLDataSource* pDataSrc) override;
    void DecodeImage(PLBmp* pBmp) override;
    void Close() override;
    int32_t GetFileType() const override { return PLFileType::Tga; }

private:
    struct Header {
        uint8_t idLength = 0;
        uint8_t mapType = 0;
        uint8_t imageType = 0;
        uint16_t mapStart = 0;
        uint16_t mapLength = 0;
        uint8_t mapEntrySize = 0;
        uint16_t xOrigin = 0;
        uint16_t yOrigin = 0;
        uint16_t width = 0;
        uint16_t height = 0;
        uint8_t pixelDepth = 0;
        uint8_t descriptor = 0;
    };

    void CheckHeader() const;
    bool IsColourMapped() const { return (m_Header.imageType & 7) == 1; }
    bool HasAlphaBit() const { return (m_Header.descriptor & 0x0F) != 0; }
    // Descriptor bit 4: each stored row runs from the right.
    bool RightToLeft() const { return (m_Header.descriptor & 0x10) != 0; }
    // A run-length packet between rows: one may run on into the next row.
    struct Packet {
        int left = 0; // pixels still to come
        bool repeat = false;
        const uint8_t* value = nullptr; // the next pixel's bytes
    };
    // Reads the colour map; keeps it for a colour-mapped picture, skips it otherwise.
    void ReadColourMap(PLDataSource& source, PLBmp& bmp);
    // One pixel of the given depth at p as a colour (15, 16, 24 or 32 bits).
    PLPixel32 DecodeColour(const uint8_t* p, int depth) const;
    // Writes the value at p (pixelBytes long) into pixel x of the row.
    void StorePixel(uint8_t* row, int x, const uint8_t* p) const;
    // Reads one stored row: raw pixels without a packet, else run-length packets that continue
    // the packet state.
    void ReadRow(PLDataSource& source, uint8_t* row, Packet* packet) const;

    Header m_Header;
    bool m_bHeaderValid = false;
    // The whole colour map by index, for pictures of 16-bit indices.
    std::vector<PLPixel32> m_ColourMap;
};
