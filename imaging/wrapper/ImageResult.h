// The result of loading a picture, and the record of the last failure of a picture operation.
#pragma once

#include <cstdint>
#include <string>

struct ImageResult {
    std::string message; // empty on success, else the failure's readable text and the library's text
    int32_t severity = 0; // 0 success; 5, 6, 7 or 8 for failures
    int32_t code = 0; // the library's error code; 0 on success

    friend bool operator==(const ImageResult&, const ImageResult&) = default;
};
