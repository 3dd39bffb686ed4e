// The decoder through which the picture wrapper reads a file of any format it loads: the one
// place where that decoder is chosen. Until the library recognises formats by their contents it
// is the JPEG decoder.
#pragma once

#include <memory>

class PLPicDecoder;

std::unique_ptr<PLPicDecoder> MakePictureDecoder();
