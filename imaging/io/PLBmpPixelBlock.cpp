#include "imaging/io/PLBmpPixelBlock.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include <sys/mman.h>

#if defined(__SANITIZE_ADDRESS__)
#define PL_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PL_ADDRESS_SANITIZER 1
#endif
#endif

#if PL_ADDRESS_SANITIZER
#include <sanitizer/asan_interface.h>
#define PL_POISON(addr, size) ASAN_POISON_MEMORY_REGION(addr, size)
#define PL_UNPOISON(addr, size) ASAN_UNPOISON_MEMORY_REGION(addr, size)
#else
#define PL_POISON(addr, size) ((void)(addr), (void)(size))
#define PL_UNPOISON(addr, size) ((void)(addr), (void)(size))
#endif

namespace {

constexpr size_t kHugePage = size_t(2) << 20;
// From this size on a block is aligned to huge pages and its length rounded up to whole ones, so
// that every part of it can be a huge page. On a virtual machine the first write to each fresh
// 4 KB page costs several microseconds even when the page was prefaulted (the host maps it too):
// a 640x480 picture (1.2 MB) took 1.2 ms that way against 0.13 ms in one huge page. Below 1 MB
// the rounding would waste more memory than the picture holds.
constexpr size_t kHugeFrom = size_t(1) << 20;
// From this size on a block is mapped directly. Below it, the C library keeps freed blocks for the
// next request, which spares a program that resizes again and again from fresh page faults.
constexpr size_t kMappedFrom = size_t(32) << 20;

size_t RoundUp(size_t bytes, size_t unit)
{
    return (bytes + unit - 1) / unit * unit;
}

// Blocks from this size on are prefaulted: the C library maps them fresh from the kernel.
constexpr size_t kPrefaultFrom = size_t(128) << 10;

// Asks the kernel for every page of a fresh block in one call, instead of one page fault per 4 KB as
// the pixels are first written: a 400x300 picture is 118 pages, and on a virtual machine those
// faults cost more than decoding it. Pages already there are left alone; a kernel without the call
// (before Linux 5.14) leaves the faults to come as before.
void Prefault(uint8_t* data, size_t bytes)
{
#ifdef MADV_POPULATE_WRITE
    if (bytes < kPrefaultFrom)
        return;
    const auto first = RoundUp(reinterpret_cast<uintptr_t>(data), 4096);
    const auto end = reinterpret_cast<uintptr_t>(data) + bytes;
    if (end > first)
        ::madvise(reinterpret_cast<void*>(first), (end - first) / 4096 * 4096, MADV_POPULATE_WRITE);
#else
    (void)data;
    (void)bytes;
#endif
}

} // namespace

PLBmpPixelBlock::PLBmpPixelBlock(size_t bytes)
    : PLBmpPixelBlock(bytes, true)
{
}

PLBmpPixelBlock PLBmpPixelBlock::ForOverwrite(size_t bytes)
{
    return PLBmpPixelBlock(bytes, false);
}

PLBmpPixelBlock::PLBmpPixelBlock(size_t bytes, bool zeroed)
    : m_Bytes(bytes)
{
    if (bytes < kHugeFrom) {
        const size_t asked = bytes > 0 ? bytes : 1;
        m_pData = static_cast<uint8_t*>(zeroed ? std::calloc(asked, 1) : std::malloc(asked));
        if (!m_pData)
            throw std::bad_alloc();
        Prefault(m_pData, bytes);
        return;
    }
    if (bytes < kMappedFrom) {
        void* p = nullptr;
        const size_t length = RoundUp(bytes, kHugePage);
        if (::posix_memalign(&p, kHugePage, length) != 0)
            throw std::bad_alloc();
        // Advice before the first touch, so that fresh memory arrives in huge pages; memory the
        // C library hands out again is not zero, hence the fill when zeros are asked for.
        ::madvise(p, length, MADV_HUGEPAGE);
        PL_POISON(static_cast<uint8_t*>(p) + bytes, length - bytes);
        m_pData = static_cast<uint8_t*>(zeroed ? std::memset(p, 0, bytes) : p);
        return;
    }
    if (bytes > SIZE_MAX - 2 * kHugePage)
        throw std::bad_alloc();
    // Map one huge page more than needed, then give back what lies outside the aligned part.
    const size_t length = RoundUp(bytes, kHugePage);
    void* const mapped
        = ::mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        throw std::bad_alloc();
    auto* const start = static_cast<uint8_t*>(mapped);
    auto* const aligned = reinterpret_cast<uint8_t*>(
        RoundUp(reinterpret_cast<uintptr_t>(start), kHugePage)); // within the first huge page
    const auto head = static_cast<size_t>(aligned - start);
    if (head > 0)
        ::munmap(start, head);
    ::munmap(aligned + length, kHugePage - head);
    // Only advice: where huge pages are off or unavailable the block works with small pages.
    ::madvise(aligned, length, MADV_HUGEPAGE);
    m_pData = aligned;
    m_MappedBytes = length;
    // The rounding beyond the block stays out of bounds for the address sanitizer.
    PL_POISON(m_pData + m_Bytes, m_MappedBytes - m_Bytes);
}

PLBmpPixelBlock::~PLBmpPixelBlock()
{
    reset();
}

PLBmpPixelBlock::PLBmpPixelBlock(PLBmpPixelBlock&& other) noexcept
    : m_pData(std::exchange(other.m_pData, nullptr))
    , m_Bytes(std::exchange(other.m_Bytes, 0))
    , m_MappedBytes(std::exchange(other.m_MappedBytes, 0))
{
}

PLBmpPixelBlock& PLBmpPixelBlock::operator=(PLBmpPixelBlock&& other) noexcept
{
    if (this != &other) {
        reset();
        m_pData = std::exchange(other.m_pData, nullptr);
        m_Bytes = std::exchange(other.m_Bytes, 0);
        m_MappedBytes = std::exchange(other.m_MappedBytes, 0);
    }
    return *this;
}

void PLBmpPixelBlock::reset()
{
    if (m_MappedBytes > 0) {
        PL_UNPOISON(m_pData + m_Bytes, m_MappedBytes - m_Bytes);
        ::munmap(m_pData, m_MappedBytes);
    } else {
        std::free(m_pData);
    }
    m_pData = nullptr;
    m_Bytes = 0;
    m_MappedBytes = 0;
}
