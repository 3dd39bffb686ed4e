// libjpeg's destination manager over a data sink: compressed data are gathered in an 8,192-byte
// block and handed to the sink a block at a time. A sink that fails raises a C++ exception, which
// must not unwind through libjpeg: it is kept here, libjpeg is stopped with its write error, and
// the encoder throws the kept exception again on its own side.
#pragma once

#include <cstdint>
#include <exception>

#include <cstdio> // jpeglib.h needs FILE and size_t declared first

#include <jpeglib.h>

class PLDataSink;

struct JpegDestinationManager {
    static constexpr size_t kBlockBytes = 8192;

    jpeg_destination_mgr pub; // first member: libjpeg sees this struct through cinfo->dest
    PLDataSink* sink;
    std::exception_ptr failure; // what the sink raised, if it did
    uint8_t block[kBlockBytes];
};

// Points cinfo's destination at the manager, which the caller keeps alive as long as cinfo writes
// through it, and forgets an earlier failure.
void InstallJpegDestination(jpeg_compress_struct* cinfo, JpegDestinationManager& manager, PLDataSink* sink);
