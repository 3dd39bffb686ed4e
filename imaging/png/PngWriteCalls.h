// The libpng side of the PNG encoder. libpng's errors end in a longjmp back to the setjmp of the
// guarded write, whose frame holds no object with a destructor; a sink's C++ exception is caught in
// the write routine, kept, and turned into a libpng error, so that no exception ever unwinds through
// libpng. The encoder throws on its own side of the boundary.
#pragma once

#include <cstdint>
#include <exception>

class PLDataSink;

struct PngPalette {
    uint8_t red[256];
    uint8_t green[256];
    uint8_t blue[256];
};

struct PngImage {
    uint32_t width;
    uint32_t height;
    int bitDepth; // 1 or 8
    int colourType; // PNG_COLOR_TYPE_PALETTE, _RGB or _RGB_ALPHA
    int bytesPerPixel; // of the rows handed over when not a palette: 3 or 4 (blue, green, red, x)
    int paletteSize; // entries of palette for palette images
    const PngPalette* palette;
    uint32_t xPixelsPerMetre; // 0 and 0 for none
    uint32_t yPixelsPerMetre;
    int compressionLevel;
    uint8_t* const* rows; // top first
};

struct PngWriteState {
    PLDataSink* sink;
    std::exception_ptr failure; // what the sink raised, if it did
    char message[256]; // libpng's message when it stopped
};

// Writes the whole image through libpng into the state's sink. Returns 0 on success, 1 when libpng
// failed (the message, or the kept failure, says why), 2 when libpng's structures could not be
// created (also when libpng refuses the version asked for; a test passes an old one).
int PngGuardedWrite(const PngImage& image, PngWriteState& state, const char* libpngVersion = nullptr);
