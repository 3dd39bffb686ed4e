#include "platform/gdi/BmpFile.h"

#include "platform/win/LittleEndian.h"

namespace gdi {
namespace {

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::size_t kInfoHeaderBytes = 40;
constexpr uint32_t kBitFields = 3;

// The bytes of a DIB block before its rows: the header, the three masks of a 40-byte header with
// bit fields, and the colour table (the colours used, or 2^bpp up to 8 bpp when that is 0). 0 when
// the block is too short to tell.
std::size_t BytesBeforeRows(const uint8_t* dib, std::size_t size)
{
    if (size < kInfoHeaderBytes)
        return 0;
    const uint64_t headerBytes = win::LoadLittleEndian(dib, 4);
    const uint64_t bpp = win::LoadLittleEndian(dib + 14, 2);
    const uint64_t compression = win::LoadLittleEndian(dib + 16, 4);
    const uint64_t used = win::LoadLittleEndian(dib + 32, 4);
    if (headerBytes < kInfoHeaderBytes || headerBytes > size)
        return 0;
    const uint64_t masks = headerBytes == kInfoHeaderBytes && compression == kBitFields ? 12 : 0;
    const uint64_t entries = used != 0 ? used : (bpp <= 8 ? uint64_t { 1 } << bpp : 0);
    const uint64_t total = headerBytes + masks + 4 * entries;
    return total <= size ? static_cast<std::size_t>(total) : 0;
}

} // namespace

std::optional<std::vector<uint8_t>> BmpFileFromDib(const std::vector<uint8_t>& dib)
{
    const std::size_t beforeRows = BytesBeforeRows(dib.data(), dib.size());
    if (beforeRows == 0)
        return std::nullopt;
    std::vector<uint8_t> file(kFileHeaderBytes, 0);
    file[0] = 'B';
    file[1] = 'M';
    win::StoreLittleEndian(kFileHeaderBytes + dib.size(), 4, file.data() + 2);
    win::StoreLittleEndian(kFileHeaderBytes + beforeRows, 4, file.data() + 10);
    file.insert(file.end(), dib.begin(), dib.end());
    return file;
}

std::optional<std::vector<uint8_t>> DibFromBmpFile(const std::vector<uint8_t>& file)
{
    if (file.size() < kFileHeaderBytes + kInfoHeaderBytes || file[0] != 'B' || file[1] != 'M')
        return std::nullopt;
    const uint8_t* dib = file.data() + kFileHeaderBytes;
    const std::size_t beforeRows = BytesBeforeRows(dib, file.size() - kFileHeaderBytes);
    const uint64_t rowsAt = win::LoadLittleEndian(file.data() + 10, 4);
    if (beforeRows == 0 || rowsAt < kFileHeaderBytes + beforeRows || rowsAt > file.size())
        return std::nullopt;
    std::vector<uint8_t> block(dib, dib + beforeRows);
    block.insert(block.end(), file.begin() + static_cast<std::ptrdiff_t>(rowsAt), file.end());
    return block;
}

} // namespace gdi
