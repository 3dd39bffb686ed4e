// Decodes a JPEG file with the library's decoder, as the image wrapper does (32 bits per pixel,
// float inverse DCT, no fancy upsampling), and writes the picture as PPM, or nothing when the
// output is "-":
//   jpegdecode [--mapped] <input.jpg> <output.ppm | ->
// By default the file is read through the library's file source, as the image wrapper reads it
// (the whole file into memory first). With --mapped the file is mapped and decoded from memory, so
// that the decoder and its bitmap are timed without the file source.
// The peer script times it beside djpeg and vips doing the same work.
#include <cstdio>
#include <cstring>
#include <string_view>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "bench/PpmFile.h"
#include "imaging/bitmap/PLWinBmp.h"
#include "imaging/io/PLTextException.h"
#include "imaging/jpeg/PLJPEGDecoder.h"

namespace {

// Decodes the file's bytes mapped into memory; false when it cannot be mapped.
bool DecodeMapped(const char* path, PLWinBmp& bmp)
{
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st { };
    void* data = MAP_FAILED;
    if (::fstat(fd, &st) == 0 && st.st_size > 0 && st.st_size < (off_t { 1 } << 31))
        data = ::mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    ::close(fd);
    if (data == MAP_FAILED)
        return false;
    try {
        PLJPEGDecoder decoder;
        decoder.DecodeMemory(static_cast<const uint8_t*>(data), static_cast<int>(st.st_size), &bmp, 32);
    } catch (...) {
        ::munmap(data, static_cast<size_t>(st.st_size));
        throw;
    }
    ::munmap(data, static_cast<size_t>(st.st_size));
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const bool mapped = argc == 4 && std::string_view(argv[1]) == "--mapped";
    if (argc != 3 + (mapped ? 1 : 0)) {
        std::fprintf(stderr, "usage: jpegdecode [--mapped] <input.jpg> <output.ppm | ->\n");
        return 2;
    }
    const char* input = argv[argc - 2];
    const char* output = argv[argc - 1];
    PLWinBmp bmp;
    try {
        if (mapped) {
            if (!DecodeMapped(input, bmp)) {
                std::fprintf(stderr, "jpegdecode: cannot map %s\n", input);
                return 1;
            }
        } else {
            PLJPEGDecoder decoder;
            decoder.DecodeFile(input, &bmp, 32);
        }
    } catch (const PLTextException& e) {
        std::fprintf(stderr, "jpegdecode: %s", e.GetText());
        return 1;
    }
    if (std::strcmp(output, "-") != 0
        && !bench::WritePpm(output, bmp.GetWidth(), bmp.GetHeight(), bmp.GetLineArray())) {
        std::fprintf(stderr, "jpegdecode: cannot write %s\n", output);
        return 1;
    }
    return 0;
}
