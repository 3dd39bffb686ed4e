// The EXIF reader's own exception: a malformed directory entry (unknown type, impossible component
// count). The reader turns it into PLTextException code PL_ERR_BAD_EXIF for the main, Exif and GPS
// directories and ignores it inside a maker note.
#pragma once

#include "imaging/io/PLObject.h"

#include <string>

class PLExifException : public PLObject {
public:
    explicit PLExifException(std::string text)
        : text_(std::move(text))
    {
    }

    const std::string& GetText() const { return text_; }

private:
    std::string text_;
};
