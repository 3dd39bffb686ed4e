// Memory for a bitmap's pixels: zero-filled, or left as it comes for a caller that writes every byte.
#pragma once

#include <cstddef>
#include <cstdint>

// A block of zero bytes, owned. From 1 MB on, blocks are aligned to 2 MB, take whole 2 MB units and
// are marked for transparent huge pages: a picture then costs one page fault per 2 MB instead of one
// per 4 KB, which on a virtual machine outweighs the work done on the pixels (the rounding is
// resident memory: at most 2 MB a block). Below 32 MB they come from the C library,
// which keeps freed blocks for reuse (and are zeroed); from 32 MB on they are mapped straight from
// the kernel, which hands them out zeroed, so no fill pass touches them first.
class PLBmpPixelBlock {
public:
    PLBmpPixelBlock() = default;
    // Throws std::bad_alloc when the memory cannot be had.
    explicit PLBmpPixelBlock(size_t bytes);
    // A block whose bytes are not cleared first: fresh pages are zero anyway, but memory the C
    // library hands out again holds what it held. For a caller that writes every byte itself.
    static PLBmpPixelBlock ForOverwrite(size_t bytes);
    ~PLBmpPixelBlock();

    PLBmpPixelBlock(PLBmpPixelBlock&& other) noexcept;
    PLBmpPixelBlock& operator=(PLBmpPixelBlock&& other) noexcept;
    PLBmpPixelBlock(const PLBmpPixelBlock&) = delete;
    PLBmpPixelBlock& operator=(const PLBmpPixelBlock&) = delete;

    uint8_t* get() const { return m_pData; }
    size_t size() const { return m_Bytes; }
    void reset();

private:
    PLBmpPixelBlock(size_t bytes, bool zeroed);

    uint8_t* m_pData = nullptr;
    size_t m_Bytes = 0;
    size_t m_MappedBytes = 0; // 0 when the block came from calloc
};
