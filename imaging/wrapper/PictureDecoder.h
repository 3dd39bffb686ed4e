// The decoder through which the picture wrapper reads a file of any format it loads: the one
// place where that decoder is chosen. It recognises every format the library reads.
#pragma once

#include <memory>

class PLPicDecoder;

std::unique_ptr<PLPicDecoder> MakePictureDecoder();
