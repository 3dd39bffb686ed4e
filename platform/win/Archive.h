// A binary archive, as the original framework's: one direction only (loading or storing),
// little-endian numbers, and texts in the length-prefixed form (a byte below 255; else 0xFF and
// a 16-bit length; else 0xFF, 0xFFFF and a 32-bit length). Reading past the end, reading from a
// storing archive or writing to a loading one throws ArchiveException.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace win {

class ArchiveException : public std::runtime_error {
public:
    enum class Cause {
        endOfFile, // a read went past the end of the data
        readOnly, // a write to an archive that is loading
        writeOnly, // a read from an archive that is storing
        badFormat, // a length form this archive does not support
    };
    ArchiveException(Cause cause, const std::string& what)
        : std::runtime_error(what)
        , cause_(cause)
    {
    }
    Cause GetCause() const { return cause_; }

private:
    Cause cause_;
};

class Archive {
public:
    enum class Mode { load, store };

    // An archive that stores into an empty buffer.
    Archive();
    // An archive that loads the given bytes.
    explicit Archive(std::string bytes);

    bool IsLoading() const { return mode_ == Mode::load; }
    bool IsStoring() const { return mode_ == Mode::store; }
    // The bytes stored so far, or the bytes being loaded.
    const std::string& Bytes() const { return bytes_; }
    std::size_t Position() const { return position_; }
    std::size_t Remaining() const { return bytes_.size() - position_; }

    void Write(const void* data, std::size_t size);
    void Read(void* data, std::size_t size);

    Archive& operator<<(uint8_t v) { return WriteLE(v, 1); }
    Archive& operator<<(int8_t v) { return WriteLE(static_cast<uint8_t>(v), 1); }
    Archive& operator<<(uint16_t v) { return WriteLE(v, 2); }
    Archive& operator<<(int16_t v) { return WriteLE(static_cast<uint16_t>(v), 2); }
    Archive& operator<<(uint32_t v) { return WriteLE(v, 4); }
    Archive& operator<<(int32_t v) { return WriteLE(static_cast<uint32_t>(v), 4); }
    Archive& operator<<(uint64_t v) { return WriteLE(v, 8); }
    Archive& operator<<(int64_t v) { return WriteLE(static_cast<uint64_t>(v), 8); }
    Archive& operator<<(double v);
    // Booleans are one byte, 0 or 1.
    Archive& operator<<(bool v) { return WriteLE(v ? 1u : 0u, 1); }

    Archive& operator>>(uint8_t& v) { return ReadInteger(v); }
    Archive& operator>>(int8_t& v) { return ReadInteger(v); }
    Archive& operator>>(uint16_t& v) { return ReadInteger(v); }
    Archive& operator>>(int16_t& v) { return ReadInteger(v); }
    Archive& operator>>(uint32_t& v) { return ReadInteger(v); }
    Archive& operator>>(int32_t& v) { return ReadInteger(v); }
    Archive& operator>>(uint64_t& v) { return ReadInteger(v); }
    Archive& operator>>(int64_t& v) { return ReadInteger(v); }
    Archive& operator>>(double& v);
    // Any non-zero byte reads as true.
    Archive& operator>>(bool& v);

    // A text in the length-prefixed form.
    void WriteString(std::string_view text);
    std::string ReadString();

private:
    Archive& WriteLE(uint64_t value, int bytes);
    uint64_t ReadLE(int bytes);
    // An integer of the type's width; signed types take the two's complement bits.
    template <typename T> Archive& ReadInteger(T& v)
    {
        v = static_cast<T>(ReadLE(static_cast<int>(sizeof(T))));
        return *this;
    }
    void RequireStoring() const;
    void RequireLoading() const;

    Mode mode_;
    std::string bytes_;
    std::size_t position_ = 0;
};

} // namespace win
