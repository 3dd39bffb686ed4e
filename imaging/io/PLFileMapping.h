// A read-only mapping of a whole file that survives the file shrinking while it is mapped.
#pragma once

#include <cstddef>
#include <cstdint>

// Reading a page of a mapping beyond the end of a file that was cut short meanwhile raises SIGBUS,
// which would end the process (the image cache reads files that may still be being written). While
// a mapping lives, a process-wide SIGBUS handler puts zero pages in place of the vanished part and
// marks the mapping damaged; the reader sees zeros and asks Damaged() when it is done. The handler
// stays installed for the life of the process. Any other SIGBUS (a fault elsewhere, or one sent by
// kill or raise) has the effect it would have had without it: the earlier handler is called, an
// ignored one that was sent is ignored, and otherwise the process ends by SIGBUS.
class PLFileMapping {
public:
    PLFileMapping() = default;
    ~PLFileMapping();
    PLFileMapping(PLFileMapping&& other) noexcept;
    PLFileMapping& operator=(PLFileMapping&& other) noexcept;
    PLFileMapping(const PLFileMapping&) = delete;
    PLFileMapping& operator=(const PLFileMapping&) = delete;

    // Maps the first size bytes (size > 0) of the open file fd, read-only, and keeps the mapping
    // after fd is closed. False, with nothing mapped, when the file cannot be mapped (a file system
    // without mappings, no address space) or too many mappings are live already.
    bool Map(int fd, size_t size);
    void reset();

    const uint8_t* data() const { return m_pData; }
    size_t size() const { return m_Size; }
    // True when part of the file vanished while it was mapped: that part reads as zero bytes.
    bool Damaged() const;

private:
    uint8_t* m_pData = nullptr;
    size_t m_Size = 0;
    size_t m_MappedBytes = 0; // the file's pages
    size_t m_ReservedBytes = 0; // the address space held, from m_pData: the pages or more
    int m_Slot = -1;
};
