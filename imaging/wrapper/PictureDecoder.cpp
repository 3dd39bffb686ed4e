#include "imaging/wrapper/PictureDecoder.h"

#include "imaging/jpeg/PLJPEGDecoder.h"

std::unique_ptr<PLPicDecoder> MakePictureDecoder()
{
    return std::make_unique<PLJPEGDecoder>();
}
