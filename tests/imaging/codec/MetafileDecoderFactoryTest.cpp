#include "imaging/bitmap/BmpTestHelpers.h"
#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/codec/PLMetafileDecoderFactory.h"

#include <gtest/gtest.h>

namespace {

TEST(MetafileDecoderFactory, WithoutTheMetafileLibraryMetafilesAreRefusedWithCode12)
{
    const PLMetafileDecoderFactory before = SetMetafileDecoderFactory(nullptr);
    const auto decoder = CreateMetafileDecoder();
    ASSERT_NE(decoder, nullptr);
    const uint8_t data[] = { 0xD7, 0xCD, 0xC6, 0x9A, 0, 0 };
    PLAnyBmp bmp;
    EXPECT_EQ(
        ErrorCodeOf([&] { decoder->DecodeMemory(data, sizeof data, &bmp); }), PL_ERR_FORMAT_NOT_COMPILED);
    SetMetafileDecoderFactory(before);
}

TEST(MetafileDecoderFactory, TheRegisteredFactoryIsUsed)
{
    static int made = 0;
    const PLMetafileDecoderFactory before = SetMetafileDecoderFactory([]() -> std::unique_ptr<PLPicDecoder> {
        ++made;
        return nullptr;
    });
    EXPECT_EQ(CreateMetafileDecoder(), nullptr);
    EXPECT_EQ(made, 1);
    SetMetafileDecoderFactory(before);
}

} // namespace
