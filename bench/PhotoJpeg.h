// A photograph-like JPEG made at run time for the benchmarks, and the jump-on-error handler they
// share with libjpeg. Include after the image library's headers: libjpeg defines TRUE and FALSE.
#pragma once

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <utility>
#include <vector>

#include <jpeglib.h>

namespace benchphoto {

struct Jump {
    jpeg_error_mgr pub;
    std::jmp_buf buf;
};

[[noreturn]] inline void JumpOut(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<Jump*>(cinfo->err)->buf, 1);
}

inline bool CompressInto(jpeg_compress_struct* c, const std::vector<uint8_t>& rgb, int w, int h,
    unsigned char** out, unsigned long* size)
{
    if (setjmp(reinterpret_cast<Jump*>(c->err)->buf))
        return false;
    jpeg_mem_dest(c, out, size);
    c->image_width = static_cast<JDIMENSION>(w);
    c->image_height = static_cast<JDIMENSION>(h);
    c->input_components = 3;
    c->in_color_space = JCS_RGB;
    jpeg_set_defaults(c);
    jpeg_set_quality(c, 92, TRUE);
    jpeg_start_compress(c, TRUE);
    while (c->next_scanline < c->image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.data() + static_cast<size_t>(c->next_scanline) * w * 3);
        jpeg_write_scanlines(c, &row, 1);
    }
    jpeg_finish_compress(c);
    return true;
}

// A 4:2:0 photograph-like picture: smooth shading with fine noise.
inline const std::vector<uint8_t>& Photo(int w, int h)
{
    static std::map<std::pair<int, int>, std::vector<uint8_t>> made;
    std::vector<uint8_t>& jpeg = made[{ w, h }];
    if (!jpeg.empty())
        return jpeg;
    std::vector<uint8_t> rgb(static_cast<size_t>(w) * h * 3);
    uint32_t noise = 1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) {
                noise = noise * 1664525u + 1013904223u;
                rgb[(static_cast<size_t>(y) * w + x) * 3 + c]
                    = static_cast<uint8_t>((x * (c + 1) / 9 + y / 7 + (noise >> 27)) & 0xFF);
            }
    jpeg_compress_struct c {};
    Jump err {};
    c.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = JumpOut;
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    if (CompressInto(&c, rgb, w, h, &out, &size))
        jpeg.assign(out, out + size);
    jpeg_destroy_compress(&c);
    std::free(out);
    return jpeg;
}

} // namespace benchphoto
