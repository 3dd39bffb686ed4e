#include "imaging/wrapper/PictureDecoder.h"

#include "imaging/detect/PLAnyPicDecoder.h"

std::unique_ptr<PLPicDecoder> MakePictureDecoder()
{
    return std::make_unique<PLAnyPicDecoder>();
}
