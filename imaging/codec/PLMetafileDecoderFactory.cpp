#include "imaging/codec/PLMetafileDecoderFactory.h"

#include "imaging/io/PLFactorySlot.h"
#include "imaging/io/PLTextException.h"

namespace {

// The decoder of a program built without the metafile library.
class PLMissingMetafileDecoder : public PLPicDecoder {
public:
    void Open(PLDataSource*) override
    {
        RaiseError(PL_ERR_FORMAT_NOT_COMPILED, "Library not compiled for this file type.");
    }
    void DecodeImage(PLBmp*) override
    {
        RaiseError(PL_ERR_FORMAT_NOT_COMPILED, "Library not compiled for this file type.");
    }
};

} // namespace

PLMetafileDecoderFactory SetMetafileDecoderFactory(PLMetafileDecoderFactory factory)
{
    return PLFactorySlot<PLMetafileDecoderFactory>::Set(factory);
}

std::unique_ptr<PLPicDecoder> CreateMetafileDecoder()
{
    if (const PLMetafileDecoderFactory factory = PLFactorySlot<PLMetafileDecoderFactory>::Get())
        return factory();
    return std::make_unique<PLMissingMetafileDecoder>();
}
