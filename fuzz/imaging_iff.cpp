// Fuzz target: decodes IFF-85 (ILBM and PBM) data from memory (see DecodeInput.h).
#include "fuzz/DecodeInput.h"
#include "imaging/iff/PLIFF85Decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PLIFF85Decoder decoder;
    fuzzing::DecodeInput(decoder, data, size);
    return 0;
}
