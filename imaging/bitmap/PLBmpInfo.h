// The description of a picture: size, depth, resolution and the alpha and greyscale flags.
#pragma once

#include "imaging/bitmap/PLCoord.h"
#include "imaging/io/PLObject.h"

#include <string>

class PLBmpInfo : public PLObject {
public:
    PLBmpInfo() = default;
    PLBmpInfo(const PLCoord& size, int bpp, const PLCoord& resolution, bool hasAlpha, bool isGreyscale);
    // Reads the text that Describe writes; a non-zero alpha or greyscale number sets the flag.
    // A text of another form leaves the description empty.
    explicit PLBmpInfo(const char* description);

    void SetInfo(const PLCoord& size, int bpp, const PLCoord& resolution, bool hasAlpha, bool isGreyscale);
    void CopyInfoFrom(const PLBmpInfo& other);

    // "{ Size: (w, h), bpp: n, Resolution: (x, y), Alpha: 0|1, Greyscale: 0|1 }"
    std::string Describe() const;

    const PLCoord& GetSize() const { return m_Size; }
    int GetWidth() const { return m_Size.x; }
    int GetHeight() const { return m_Size.y; }
    int GetBitsPerPixel() const { return m_bpp; }
    const PLCoord& GetResolution() const { return m_Resolution; }
    bool HasAlpha() const { return m_bAlphaChannel; }
    bool IsGreyscale() const { return m_bIsGreyscale; }

    bool operator==(const PLBmpInfo& other) const;

protected:
    PLCoord m_Size;
    int m_bpp = 0;
    PLCoord m_Resolution;
    bool m_bAlphaChannel = false;
    bool m_bIsGreyscale = false;
};
