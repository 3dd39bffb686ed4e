// libjpeg's source and progress managers over one block of bytes that is handed over whole: the
// bytes that remain of a data source from its read position on. When libjpeg wants more than the
// block holds, the file is truncated: a "Premature end of JPEG file" warning is emitted and a fake
// end-of-image marker is supplied, so that libjpeg finishes the picture with what it has.
#pragma once

#include <cstddef>
#include <cstdint>

#include <cstdio> // jpeglib.h needs FILE and size_t declared first

#include <jpeglib.h>

struct JpegSourceManager {
    jpeg_source_mgr pub; // first member: libjpeg sees this struct through cinfo->src
    jpeg_progress_mgr progress;
    const uint8_t* data; // the block, not owned
    size_t size;
    void* client; // handed to the progress routine
    int scanLimit; // a picture with more scans than this fails; 0 for no limit
    // Told the fraction done; answers false to stop decoding (the call then fails).
    bool (*onProgress)(void* client, double fraction);
};

// Points cinfo's source and progress managers at the manager, which the caller keeps alive as long
// as cinfo reads from it; libjpeg starts at data and never reads beyond data + size.
void InstallJpegSource(jpeg_decompress_struct* cinfo, JpegSourceManager& manager, const uint8_t* data,
    size_t size, void* client, bool (*onProgress)(void* client, double fraction));
