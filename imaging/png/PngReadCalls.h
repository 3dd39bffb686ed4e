// The libpng side of the PNG decoder. libpng reads from a block of memory; its errors end in a
// longjmp back to the setjmp of the guarded call that is running, whose frame holds no object with a
// destructor, and the call returns false with libpng's message kept. The decoder throws on its own
// side of the boundary, so no exception ever unwinds through libpng.
#pragma once

#include <cstddef>
#include <cstdint>

#include <png.h>

struct PngReadState {
    const uint8_t* data;
    size_t size;
    size_t position;
    bool endOfData; // libpng asked for more bytes than the block holds
    char message[256]; // libpng's message when it stopped
};

struct PngHeader {
    uint32_t width;
    uint32_t height;
    int bitDepth;
    int colourType;
    bool hasPhys;
    uint32_t physX;
    uint32_t physY;
    int physUnit;
};

// Owns libpng's read and info structures; Handle() is null when they could not be created.
class PngReader {
public:
    // Reads from the state (not owned), with libpng's picture size limited to maxSide on each side.
    PngReader(PngReadState& state, uint32_t maxSide);
    ~PngReader();
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    png_structp Handle() const { return m_Png; }
    png_infop Info() const { return m_Info; }

private:
    png_structp m_Png = nullptr;
    png_infop m_Info = nullptr;
};

// Reads the chunks up to the image data and describes the picture.
bool PngGuardedReadInfo(const PngReader& reader, PngHeader& header);

// Sets the transforms that give one byte per pixel (palette index or grey) or four (blue, green, red,
// alpha or 255) and updates libpng's row description; rowBytes is what libpng will write per row.
bool PngGuardedSetTransforms(const PngReader& reader, const PngHeader& header, size_t& rowBytes);

// Reads every row (all passes of an interlaced picture) into rows[0 .. height - 1].
bool PngGuardedReadImage(const PngReader& reader, uint8_t* const* rows);

// Reads the chunks after the image data.
bool PngGuardedReadEnd(const PngReader& reader);
