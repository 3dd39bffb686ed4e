// Helpers for the wrapper's loading and saving tests: a JPEG decoder that reports another file type
// (so that pictures of every type the wrapper saves can be made before their decoders exist), and
// loading a JPEG fixture as such a picture.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "imaging/jpeg/JpegFixtures.h"
#include "imaging/jpeg/PLJPEGDecoder.h"
#include "imaging/wrapper/DeviceIndepBitmap.h"

namespace wrappertest {

class TypedJpegDecoder : public PLJPEGDecoder {
public:
    explicit TypedJpegDecoder(int32_t type)
        : m_Type(type)
    {
    }
    int32_t GetFileType() const override { return m_Type; }

private:
    int32_t m_Type;
};

// Writes the recipe's JPEG to path and loads it into the wrapper as a picture of the file type.
inline void LoadAs(Pellimar::DeviceIndepBitmap& dib, const std::string& path,
    const jpegfixtures::JpegRecipe& recipe, int32_t fileType)
{
    jpegfixtures::WriteFile(path, jpegfixtures::MakeJpeg(recipe));
    TypedJpegDecoder decoder(fileType);
    ASSERT_EQ(dib.LoadFile(path, decoder, -1, -1), ImageResult {});
    ASSERT_EQ(dib.GetFileType(), fileType);
}

} // namespace wrappertest
