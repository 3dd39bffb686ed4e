// Where the metafile decoder comes from. The metafile decoder draws through Qt and lives in a
// library of its own; a program that links it registers its factory once at start-up. Without a
// registered factory the decoder handed out refuses every picture with code 12, "Library not
// compiled for this file type.".
#pragma once

#include "imaging/codec/PLPicDecoder.h"

#include <memory>

using PLMetafileDecoderFactory = std::unique_ptr<PLPicDecoder> (*)();

// Registers the factory (null: none); returns the one registered before.
PLMetafileDecoderFactory SetMetafileDecoderFactory(PLMetafileDecoderFactory factory);

// A new metafile decoder from the registered factory, or one that refuses every picture.
std::unique_ptr<PLPicDecoder> CreateMetafileDecoder();
