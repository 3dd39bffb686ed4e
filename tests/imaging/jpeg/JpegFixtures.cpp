#include "imaging/jpeg/JpegFixtures.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include <jpeglib.h>

namespace jpegfixtures {
namespace {

struct ErrorJump {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    int warnings;
};

[[noreturn]] void JumpOnError(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<ErrorJump*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void CountWarning(j_common_ptr cinfo, int level)
{
    if (level < 0)
        ++reinterpret_cast<ErrorJump*>(cinfo->err)->warnings;
}

void InstallErrors(j_common_ptr cinfo, ErrorJump& err)
{
    cinfo->err = jpeg_std_error(&err.pub);
    err.pub.error_exit = JumpOnError;
    err.pub.emit_message = CountWarning;
    err.message[0] = '\0';
    err.warnings = 0;
}

void Put16(Bytes& out, unsigned v)
{
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(Bytes& out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// Compression with a plain C frame between setjmp and libjpeg; returns false on a libjpeg error.
bool Compress(jpeg_compress_struct* cinfo, const JpegRecipe& recipe, const Bytes& samples,
    unsigned char** out, unsigned long* outSize)
{
    if (setjmp(reinterpret_cast<ErrorJump*>(cinfo->err)->jump))
        return false;
    jpeg_mem_dest(cinfo, out, outSize);
    cinfo->image_width = static_cast<JDIMENSION>(recipe.width);
    cinfo->image_height = static_cast<JDIMENSION>(recipe.height);
    const int components = ComponentsOf(recipe.colour);
    cinfo->input_components = components;
    cinfo->in_color_space = components == 4 ? JCS_CMYK : components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(cinfo);
    if (recipe.colour == Colour::Ycck)
        jpeg_set_colorspace(cinfo, JCS_YCCK);
    jpeg_set_quality(cinfo, recipe.quality, TRUE);
    // Subsampling applies to luma: the Y of YCbCr and of YCCK (with its K alongside).
    if (recipe.colour == Colour::Rgb || recipe.colour == Colour::Ycck) {
        cinfo->comp_info[0].h_samp_factor = recipe.lumaH;
        cinfo->comp_info[0].v_samp_factor = recipe.lumaV;
    }
    if (recipe.colour == Colour::Ycck) {
        cinfo->comp_info[3].h_samp_factor = recipe.lumaH;
        cinfo->comp_info[3].v_samp_factor = recipe.lumaV;
    }
    cinfo->dct_method = JDCT_FLOAT;
    cinfo->arith_code = recipe.arithmetic ? TRUE : FALSE;
    cinfo->restart_interval = static_cast<unsigned>(recipe.restartInterval);
    cinfo->write_JFIF_header = recipe.density ? TRUE : FALSE;
    if (recipe.density) {
        cinfo->density_unit = static_cast<UINT8>(recipe.density->unit);
        cinfo->X_density = static_cast<UINT16>(recipe.density->x);
        cinfo->Y_density = static_cast<UINT16>(recipe.density->y);
    }
    if (recipe.progressive)
        jpeg_simple_progression(cinfo);
    jpeg_start_compress(cinfo, TRUE);
    for (const Bytes& block : recipe.app1)
        jpeg_write_marker(cinfo, JPEG_APP0 + 1, block.data(), static_cast<unsigned>(block.size()));
    const size_t stride = static_cast<size_t>(recipe.width) * components;
    while (cinfo->next_scanline < cinfo->image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(samples.data() + cinfo->next_scanline * stride);
        jpeg_write_scanlines(cinfo, &row, 1);
    }
    jpeg_finish_compress(cinfo);
    return true;
}

bool Decompress(
    jpeg_decompress_struct* cinfo, const Bytes& jpeg, Layout out, bool fancy, ReferenceImage* image)
{
    if (setjmp(reinterpret_cast<ErrorJump*>(cinfo->err)->jump))
        return false;
    jpeg_mem_src(cinfo, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(cinfo, TRUE);
    cinfo->out_color_space = out == Layout::Grey ? JCS_GRAYSCALE : JCS_EXT_BGRA;
    cinfo->dct_method = JDCT_FLOAT;
    cinfo->do_fancy_upsampling = fancy ? TRUE : FALSE;
    jpeg_start_decompress(cinfo);
    image->width = static_cast<int>(cinfo->output_width);
    image->height = static_cast<int>(cinfo->output_height);
    image->components = cinfo->output_components;
    const size_t stride = static_cast<size_t>(image->width) * image->components;
    image->samples.assign(stride * image->height, 0);
    while (cinfo->output_scanline < cinfo->output_height) {
        JSAMPROW row = image->samples.data() + cinfo->output_scanline * stride;
        jpeg_read_scanlines(cinfo, &row, 1);
    }
    jpeg_finish_decompress(cinfo);
    return true;
}

} // namespace

int ComponentsOf(Colour colour)
{
    switch (colour) {
    case Colour::Grey:
        return 1;
    case Colour::Cmyk:
    case Colour::Ycck:
        return 4;
    default:
        return 3;
    }
}

Bytes MakePattern(int width, int height, int components)
{
    Bytes samples(static_cast<size_t>(width) * height * components);
    uint32_t noise = 12345;
    size_t i = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < components; ++c) {
                noise = noise * 1103515245u + 12345u;
                const int smooth = (x * 255 / (width > 1 ? width - 1 : 1) * (c + 1)
                                       + y * 255 / (height > 1 ? height - 1 : 1))
                    / (c + 2);
                const int detail = ((x / 3 + y / 5 + c) % 4 == 0) ? 40 : 0;
                samples[i++]
                    = static_cast<uint8_t>((smooth + detail + static_cast<int>((noise >> 24) % 16)) & 0xFF);
            }
    return samples;
}

Bytes MakeJpeg(const JpegRecipe& recipe)
{
    const Bytes samples = recipe.samples.empty()
        ? MakePattern(recipe.width, recipe.height, ComponentsOf(recipe.colour))
        : recipe.samples;
    jpeg_compress_struct cinfo {};
    ErrorJump err {};
    InstallErrors(reinterpret_cast<j_common_ptr>(&cinfo), err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool ok = Compress(&cinfo, recipe, samples, &buffer, &size);
    jpeg_destroy_compress(&cinfo);
    Bytes result;
    if (ok)
        result.assign(buffer, buffer + size);
    std::free(buffer);
    if (!ok)
        throw std::runtime_error(std::string("libjpeg could not compress the fixture: ") + err.message);
    return result;
}

ReferenceImage ReferenceDecode(const Bytes& jpeg, Layout out, bool fancyUpsampling)
{
    ReferenceImage image;
    jpeg_decompress_struct cinfo {};
    ErrorJump err {};
    InstallErrors(reinterpret_cast<j_common_ptr>(&cinfo), err);
    jpeg_create_decompress(&cinfo);
    if (!Decompress(&cinfo, jpeg, out, fancyUpsampling, &image))
        image.error = err.message;
    image.warnings = err.warnings;
    jpeg_destroy_decompress(&cinfo);
    return image;
}

Bytes MakeExifBlockWithType(uint16_t tag, uint16_t type, uint16_t value)
{
    Bytes block = { 'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0 };
    Put32(block, 8); // main directory right after the TIFF header
    Put16(block, 1);
    Put16(block, tag);
    Put16(block, type);
    Put32(block, 1);
    Put16(block, value);
    Put16(block, 0);
    Put32(block, 0); // no further directory
    return block;
}

Bytes MakeExifBlock(uint16_t tag, uint16_t value)
{
    return MakeExifBlockWithType(tag, 3, value);
}

std::string WriteFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
    return path;
}

} // namespace jpegfixtures
