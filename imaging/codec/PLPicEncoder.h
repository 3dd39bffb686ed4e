// The protocol of every picture encoder: a bitmap is written as one complete file, either into a
// data sink or into a named file. A named file is written through a file sink, so that the file
// that was there is only replaced once the new one is complete.
#pragma once

#include "imaging/io/PLFileCalls.h"
#include "imaging/io/PLObject.h"

class PLBmp;
class PLDataSink;

class PLPicEncoder : public PLObject {
public:
    PLPicEncoder() = default;
    PLPicEncoder(const PLPicEncoder&) = delete;
    PLPicEncoder& operator=(const PLPicEncoder&) = delete;
    ~PLPicEncoder() override = default;

    // Writes the file; an open failure raises the sink's code with "Opening <name> failed: <reason>".
    // The file may hold at most the memory of the picture's pixels (at least 4 bytes a pixel) and
    // 64 KB: a longer one fails with code 11.
    virtual void EncodeFile(const char* name, const PLBmp* bmp);
    // The same with a wide name; a name longer than 899 bytes is shown as "{{Filename too long}}".
    virtual void EncodeFileW(const wchar_t* name, const PLBmp* bmp);
    // Raises code 6 for an empty picture, else calls DoEncode.
    virtual void EncodeToSink(const PLBmp* bmp, PLDataSink* sink);
    // Writes the picture into the sink.
    virtual void DoEncode(const PLBmp* bmp, PLDataSink* sink) = 0;

    // Raises the unsupported-feature code for a picture whose depth the format's encoder does not
    // write.
    [[noreturn]] static void RaiseUnsupportedDepth(int bpp, const char* format);

    // The calls through which named files are written (tests hand in failing ones).
    void SetFileCalls(const PLFileCalls& calls) { m_FileCalls = calls; }

private:
    PLFileCalls m_FileCalls = PLFileCalls::Posix();
};
