#include "platform/win/Archive.h"

#include "platform/win/LittleEndian.h"

#include <bit>
#include <cstring>

namespace win {

namespace {
constexpr uint8_t kLongLength = 0xFF;
// Lengths of 0xFFFE and 0xFFFF cannot stand in the 16-bit form: 0xFFFF announces the
// 32-bit form and 0xFFFE marks a wide-character text, which this archive does not hold.
constexpr uint16_t kWideMarker = 0xFFFE;
constexpr uint16_t kLongerLength = 0xFFFF;
} // namespace

Archive::Archive()
    : mode_(Mode::store)
{
}

Archive::Archive(std::string bytes)
    : mode_(Mode::load)
    , bytes_(std::move(bytes))
{
}

void Archive::RequireStoring() const
{
    if (!IsStoring())
        throw ArchiveException(ArchiveException::Cause::readOnly, "write to an archive that is loading");
}

void Archive::RequireLoading() const
{
    if (!IsLoading())
        throw ArchiveException(ArchiveException::Cause::writeOnly, "read from an archive that is storing");
}

void Archive::Write(const void* data, std::size_t size)
{
    RequireStoring();
    bytes_.append(static_cast<const char*>(data), size);
}

void Archive::Read(void* data, std::size_t size)
{
    RequireLoading();
    if (size > Remaining())
        throw ArchiveException(ArchiveException::Cause::endOfFile, "read past the end of the archive");
    if (size > 0)
        std::memcpy(data, bytes_.data() + position_, size);
    position_ += size;
}

Archive& Archive::WriteLE(uint64_t value, int bytes)
{
    unsigned char raw[8] = {};
    StoreLittleEndian(value, static_cast<std::size_t>(bytes), raw);
    Write(raw, static_cast<std::size_t>(bytes));
    return *this;
}

uint64_t Archive::ReadLE(int bytes)
{
    unsigned char raw[8] = {};
    Read(raw, static_cast<std::size_t>(bytes));
    return LoadLittleEndian(raw, static_cast<std::size_t>(bytes));
}

Archive& Archive::operator<<(double v)
{
    return WriteLE(std::bit_cast<uint64_t>(v), 8);
}

Archive& Archive::operator>>(double& v)
{
    v = std::bit_cast<double>(ReadLE(8));
    return *this;
}
Archive& Archive::operator>>(bool& v)
{
    v = ReadLE(1) != 0;
    return *this;
}

void Archive::WriteString(std::string_view text)
{
    RequireStoring();
    const std::size_t length = text.size();
    if (length > UINT32_MAX)
        throw ArchiveException(ArchiveException::Cause::badFormat, "text too long for an archive");
    if (length < kLongLength) {
        *this << static_cast<uint8_t>(length);
    } else if (length < kWideMarker) {
        *this << kLongLength << static_cast<uint16_t>(length);
    } else {
        *this << kLongLength << kLongerLength << static_cast<uint32_t>(length);
    }
    Write(text.data(), length);
}

std::string Archive::ReadString()
{
    uint8_t shortLength = 0;
    *this >> shortLength;
    uint64_t length = shortLength;
    if (shortLength == kLongLength) {
        uint16_t mediumLength = 0;
        *this >> mediumLength;
        length = mediumLength;
        if (mediumLength == kWideMarker)
            throw ArchiveException(ArchiveException::Cause::badFormat, "wide-character text in archive");
        if (mediumLength == kLongerLength) {
            uint32_t longLength = 0;
            *this >> longLength;
            length = longLength;
        }
    }
    // The length comes from the data: check it against what is there before allocating.
    if (length > Remaining())
        throw ArchiveException(ArchiveException::Cause::endOfFile, "text runs past the end of the archive");
    std::string text(static_cast<std::size_t>(length), '\0');
    Read(text.data(), text.size());
    return text;
}

} // namespace win
