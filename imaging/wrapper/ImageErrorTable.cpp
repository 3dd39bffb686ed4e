#include "imaging/wrapper/ImageErrorTable.h"

#include <algorithm>

#include "imaging/io/PLTextException.h"

namespace {

struct ErrorWording {
    int code;
    const char* text;
    int32_t severity;
};

constexpr ErrorWording kWordings[] = {
    { PL_ERR_WRONG_SIGNATURE, "Expected file signature not found", 5 },
    { PL_ERR_FORMAT_UNKNOWN, "Unexpected data encountered", 5 },
    { PL_ERR_PATH_NOT_FOUND, "Path not Found", 7 },
    { PL_ERR_FILE_NOT_FOUND, "File not found", 7 },
    { PL_ERR_ACCESS_DENIED, "Access denied", 5 },
    { PL_ERR_UNKNOWN_FILE_TYPE, "Unrecognized file type", 6 },
    { PL_ERR_DIB_TOO_LARGE, "Maximum size for 1 bmp was exceeded", 5 },
    { PL_ERR_NO_MEMORY, "Out of memory!!", 5 },
    { PL_ERR_END_OF_FILE, "End of file reached before end of image", 5 },
    { PL_ERR_BAD_EXIF, "Bad EXIF data", 8 },
};
constexpr ErrorWording kOtherError = { 0, "Unexpected Error", 5 };

} // namespace

ImageResult ImageResultFromException(const PLTextException& e)
{
    const auto* found = std::find_if(std::begin(kWordings), std::end(kWordings),
        [&](const ErrorWording& w) { return w.code == e.GetCode(); });
    const ErrorWording& wording = found != std::end(kWordings) ? *found : kOtherError;
    ImageResult result;
    result.message = std::string(wording.text) + ": " + e.GetText();
    std::erase(result.message, '\n');
    result.severity = wording.severity;
    result.code = e.GetCode();
    return result;
}
