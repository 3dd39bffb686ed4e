#include "imaging/png/PngReadCalls.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// libpng's largest allocation for one ancillary chunk (text, ICC profiles and the like).
constexpr png_alloc_size_t kMaxChunkBytes = 8u << 20;

[[noreturn]] void OnPngError(png_structp png, png_const_charp message)
{
    auto* state = static_cast<PngReadState*>(png_get_error_ptr(png));
    std::snprintf(state->message, sizeof state->message, "%s", message ? message : "");
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) { }

void OnPngRead(png_structp png, png_bytep out, size_t n)
{
    auto* state = static_cast<PngReadState*>(png_get_io_ptr(png));
    if (n > state->size - state->position) {
        state->endOfData = true;
        png_error(png, "End of the PNG data.");
    }
    std::memcpy(out, state->data + state->position, n);
    state->position += n;
}

} // namespace

PngReader::PngReader(PngReadState& state, uint32_t maxSide)
{
    m_Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &state, OnPngError, OnPngWarning);
    if (!m_Png)
        return;
    m_Info = png_create_info_struct(m_Png);
    if (!m_Info) {
        png_destroy_read_struct(&m_Png, nullptr, nullptr);
        return;
    }
    png_set_read_fn(m_Png, &state, OnPngRead);
    png_set_user_limits(m_Png, maxSide, maxSide);
    png_set_chunk_malloc_max(m_Png, kMaxChunkBytes);
    // Ancillary chunks other than pHYs are skipped unread: libpng would otherwise allocate a text
    // chunk's whole stated length (up to 2 GB) before reading it.
    png_set_keep_unknown_chunks(m_Png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    static const png_byte kUsedChunks[] = "pHYs";
    png_set_keep_unknown_chunks(m_Png, PNG_HANDLE_CHUNK_AS_DEFAULT, kUsedChunks, 1);
}

PngReader::~PngReader()
{
    if (m_Png)
        png_destroy_read_struct(&m_Png, &m_Info, nullptr);
}

bool PngGuardedReadInfo(const PngReader& reader, PngHeader& header)
{
    png_structp png = reader.Handle();
    png_infop info = reader.Info();
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_info(png, info);
    int interlace = 0;
    png_get_IHDR(png, info, &header.width, &header.height, &header.bitDepth, &header.colourType, &interlace,
        nullptr, nullptr);
    header.hasPhys = png_get_pHYs(png, info, &header.physX, &header.physY, &header.physUnit) != 0;
    return true;
}

bool PngGuardedSetTransforms(const PngReader& reader, const PngHeader& header, size_t& rowBytes)
{
    png_structp png = reader.Handle();
    png_infop info = reader.Info();
    if (setjmp(png_jmpbuf(png)))
        return false;
    if (header.bitDepth == 16)
        png_set_strip_16(png);
    if (header.bitDepth < 8)
        png_set_packing(png);
    switch (header.colourType) {
    case PNG_COLOR_TYPE_RGB:
        png_set_bgr(png);
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
        break;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        png_set_gray_to_rgb(png);
        png_set_bgr(png);
        break;
    case PNG_COLOR_TYPE_RGB_ALPHA:
        png_set_bgr(png);
        break;
    default: // grey and palette: one byte per pixel
        break;
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    rowBytes = png_get_rowbytes(png, info);
    return true;
}

bool PngGuardedReadImage(const PngReader& reader, uint8_t* const* rows)
{
    png_structp png = reader.Handle();
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_image(png, const_cast<png_bytepp>(rows));
    return true;
}

bool PngGuardedReadEnd(const PngReader& reader)
{
    png_structp png = reader.Handle();
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_end(png, nullptr);
    return true;
}
