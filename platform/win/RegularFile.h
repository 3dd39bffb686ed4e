// Reading a whole text file that a user named, without trusting what the name stands for. The
// file is opened so that opening cannot block (a FIFO, a device), and only a regular file is read;
// what is read is held to a bound, so that memory stays bounded whatever the file holds (a file
// that grows while it is read included).
#pragma once

#include <cstdint>
#include <string>

namespace win {

// The most a text file the tool reads may hold: no layout, catalogue or pack template comes near.
constexpr std::uint64_t kMaxTextFileBytes = std::uint64_t { 16 } << 20;

enum class RegularFileStatus {
    read,
    cannotOpen, // error tells why: the system's code, EISDIR for a folder, EINVAL for a special file
    tooLarge, // longer than the bound: refused as a damaged file is
};

struct RegularFileBytes {
    RegularFileStatus status = RegularFileStatus::cannotOpen;
    int error = 0;
    std::string bytes; // the whole file when read, else empty
};

// Reads the regular file at path whole, refusing anything longer than maxBytes.
RegularFileBytes ReadRegularFile(const std::string& path, std::uint64_t maxBytes = kMaxTextFileBytes);

} // namespace win
