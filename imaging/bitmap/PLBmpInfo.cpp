#include "imaging/bitmap/PLBmpInfo.h"

#include <cstdio>

PLBmpInfo::PLBmpInfo(const PLCoord& size, int bpp, const PLCoord& resolution, bool hasAlpha, bool isGreyscale)
{
    SetInfo(size, bpp, resolution, hasAlpha, isGreyscale);
}

PLBmpInfo::PLBmpInfo(const char* description)
{
    int w = 0, h = 0, bpp = 0, rx = 0, ry = 0, alpha = 0, grey = 0;
    if (description
        && std::sscanf(description,
               "{ Size: (%i, %i), bpp: %i, Resolution: (%i, %i), Alpha: %i, Greyscale: %i }", &w, &h, &bpp,
               &rx, &ry, &alpha, &grey)
            == 7)
        SetInfo(PLCoord(w, h), bpp, PLCoord(rx, ry), alpha != 0, grey != 0);
}

void PLBmpInfo::SetInfo(
    const PLCoord& size, int bpp, const PLCoord& resolution, bool hasAlpha, bool isGreyscale)
{
    m_Size = size;
    m_bpp = bpp;
    m_Resolution = resolution;
    m_bAlphaChannel = hasAlpha;
    m_bIsGreyscale = isGreyscale;
}

void PLBmpInfo::CopyInfoFrom(const PLBmpInfo& other)
{
    SetInfo(other.m_Size, other.m_bpp, other.m_Resolution, other.m_bAlphaChannel, other.m_bIsGreyscale);
}

std::string PLBmpInfo::Describe() const
{
    char text[160];
    std::snprintf(text, sizeof text,
        "{ Size: (%i, %i), bpp: %i, Resolution: (%i, %i), Alpha: %i, Greyscale: %i }", m_Size.x, m_Size.y,
        m_bpp, m_Resolution.x, m_Resolution.y, m_bAlphaChannel ? 1 : 0, m_bIsGreyscale ? 1 : 0);
    return text;
}

bool PLBmpInfo::operator==(const PLBmpInfo& other) const
{
    return m_Size == other.m_Size && m_bpp == other.m_bpp && m_Resolution == other.m_Resolution
        && m_bAlphaChannel == other.m_bAlphaChannel && m_bIsGreyscale == other.m_bIsGreyscale;
}
