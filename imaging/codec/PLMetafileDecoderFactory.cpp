#include "imaging/codec/PLMetafileDecoderFactory.h"

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

PLMetafileDecoderFactory& Registered()
{
    static PLMetafileDecoderFactory factory = nullptr;
    return factory;
}

} // namespace

PLMetafileDecoderFactory SetMetafileDecoderFactory(PLMetafileDecoderFactory factory)
{
    const PLMetafileDecoderFactory previous = Registered();
    Registered() = factory;
    return previous;
}

std::unique_ptr<PLPicDecoder> CreateMetafileDecoder()
{
    if (const PLMetafileDecoderFactory factory = Registered())
        return factory();
    return std::make_unique<PLMissingMetafileDecoder>();
}
