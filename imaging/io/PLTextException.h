// The one exception of the image library: a numeric code (one of the PL_ERR_* constants) and a text.
#pragma once

#include "imaging/io/PLObject.h"

#include <string>

// Error codes carried by PLTextException.
inline constexpr int PL_ERR_WRONG_SIGNATURE = 1; // the data lacks the expected file signature
inline constexpr int PL_ERR_FORMAT_UNKNOWN = 2; // unexpected data in the file
inline constexpr int PL_ERR_PATH_NOT_FOUND = 3;
inline constexpr int PL_ERR_FILE_NOT_FOUND = 4; // also any other failure to open
inline constexpr int PL_ERR_ACCESS_DENIED = 5;
inline constexpr int PL_ERR_FORMAT_NOT_SUPPORTED = 6; // unsupported feature or request
inline constexpr int PL_ERR_INTERNAL = 7; // internal inconsistency
inline constexpr int PL_ERR_UNKNOWN_FILE_TYPE = 8;
inline constexpr int PL_ERR_DIB_TOO_LARGE = 9; // the maximum size of a bitmap was exceeded
inline constexpr int PL_ERR_NO_MEMORY = 10; // out of memory, or a picture larger than the library accepts
inline constexpr int PL_ERR_END_OF_FILE = 11; // data ended early, or an output buffer is full
inline constexpr int PL_ERR_FORMAT_NOT_COMPILED = 12; // the library was built without this file type
inline constexpr int PL_ERR_BAD_EXIF = 14;

class PLTextException : public PLObject {
public:
    PLTextException(int code, const char* text);
    PLTextException(int code, int extra, const char* text);

    virtual int GetCode() const { return code_; }
    virtual const char* GetText() const { return text_.c_str(); }

    // The second integer, set only by the three-argument constructor.
    int GetExtra() const { return extra_; }

private:
    int code_;
    int extra_;
    std::string text_;
};
