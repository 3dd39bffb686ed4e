// libjpeg's error manager with the fatal-error exit replaced: a fatal error formats its message
// and jumps back to the setjmp of the guarded call that is running (see JpegGuardedCalls.h), so
// that no C++ exception ever unwinds through libjpeg's C frames. Warnings are counted and the
// last one kept instead of being printed.
#pragma once

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

struct JpegErrorManager {
    jpeg_error_mgr pub; // first member: libjpeg sees this struct through cinfo->err
    std::jmp_buf jump; // set by every guarded call before it enters libjpeg
    char message[JMSG_LENGTH_MAX + 80]; // text of the fatal error that ended the last guarded call
    int warningCount;
    char lastWarning[JMSG_LENGTH_MAX];
};

// Points cinfo->err at the manager and resets it. Call before jpeg_create_decompress.
void InstallJpegErrorManager(jpeg_common_struct* cinfo, JpegErrorManager& manager);

// The manager installed on cinfo.
JpegErrorManager& JpegErrors(jpeg_common_struct* cinfo);

// Forgets the warnings of an earlier picture.
void ResetJpegWarnings(JpegErrorManager& manager);

// Ends the running guarded call with our own text, from code that libjpeg called back (the
// progress routine). Never returns.
[[noreturn]] void FailJpegCall(jpeg_common_struct* cinfo, const char* text);
