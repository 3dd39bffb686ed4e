// Saving bytes through a file sink in a test, with the code the sink gives.
#pragma once

#include "imaging/io/PLFileSink.h"
#include "imaging/io/PLTextException.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sinksave {

// Saves bytes into path through a sink of at most maxSize bytes working with the given calls: 0,
// the open error or the code raised.
inline int SaveBytes(const std::string& path, const std::vector<uint8_t>& bytes, int64_t maxSize = 1 << 20,
    const PLFileCalls& calls = PLFileCalls::Posix())
{
    PLFileSink sink(calls);
    try {
        if (const int error = sink.OpenFile(path.c_str(), maxSize))
            return error;
        sink.WriteBytes(static_cast<int>(bytes.size()), bytes.data());
        sink.Close();
    } catch (const PLTextException& e) {
        return e.GetCode();
    }
    return 0;
}

} // namespace sinksave
