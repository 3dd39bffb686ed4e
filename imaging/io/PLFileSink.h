// A data sink that writes a file safely: the bytes go to a new temporary file in the target's
// folder, and only a successful Close renames it over the target. Until then, and whenever writing
// fails, the file that was there stays byte for byte as it was.
// An existing target the user may not write is refused. When only the folder refuses a new file
// while the target may be written, the target is written in place instead: the whole new file is
// gathered in memory and written over the old one at Close (written, cut to its length, synced),
// so a save that fails before then leaves the old contents. Before the first old byte is
// overwritten, the disk space the new contents need is reserved; a disk too full for them refuses
// the save and leaves the file as it was. Only an interruption (power loss, a kill) or a failing
// disk while Close writes them can lose the old contents.
//
// A file holds at most the maximum size it was opened with, and never more than the process's
// file size limit (RLIMIT_FSIZE): a write that would pass either raises code 11, as a full disk
// does, before any byte of it reaches the file (so no SIGXFSZ is ever raised by a sink).
//
// A save holds an exclusive lock (flock) on its temporary file until the file has its new name. A
// save that was killed leaves its temporary file behind unlocked: the next save of the same file
// removes such files of the user's own.
#pragma once

#include "imaging/io/PLDataSink.h"
#include "imaging/io/PLFileCalls.h"

#include <string>
#include <vector>

class PLFileSink : public PLDataSink {
public:
    explicit PLFileSink(const PLFileCalls& calls = PLFileCalls::Posix());
    // An unfinished file is dropped: the target keeps its old contents.
    ~PLFileSink() override;

    // Opens the sink for a file of at most maxSize bytes. Returns 0, or the error code, with errno
    // telling why: 3 when the folder does not exist (or a part of the path is a file), 5 when
    // access is denied (the existing target is not writable for the user, or the folder takes no
    // new file and there is no target to write in place), the file system is read-only or the
    // target is not a regular file, 4 for anything else. A name that is a symbolic link stays a
    // link: the file it points to is written, whether it exists or not.
    virtual int OpenFile(const char* name, int64_t maxSize);
    virtual int OpenFileW(const wchar_t* name, int64_t maxSize);

    // Completes the file: writes what is buffered, syncs it to the disk, closes it and renames it
    // over the target. A failure raises (5 for access denied or a read-only file system, 11 when
    // the disk is full, 4 otherwise) and leaves the target as it was. Does nothing when the sink
    // is not open.
    void Close() override;
    bool CanSeek() const override { return true; }
    // Drops the temporary file; the target stays as it was.
    void Abandon();

protected:
    void Store(const uint8_t* data, size_t n) override;
    int64_t Capacity() const override;
    // Writes what is buffered and moves the file's offset.
    void MoveTo(int64_t position) override;

private:
    int Begin(const std::string& target);
    // Opens the existing target itself for writing: the fallback when its folder takes no new file.
    int BeginInPlace(const std::string& target);
    // Takes the open file over; temp is empty when writing in place.
    void Adopt(int fd, const std::string& target, std::string temp);
    // Writes the buffered bytes; false with errno set on failure.
    bool Flush();
    // Writes n bytes at the file's offset; false with errno set on failure (EFBIG, before anything
    // is written, when they would pass the process's file size limit).
    bool WriteAll(const uint8_t* data, size_t n);
    // Makes sure the disk has room for a file of length bytes written in place, before the first
    // old byte is overwritten; false with errno set (ENOSPC when it has not).
    bool ReserveInPlace(int64_t length);
    // Whether the target is written in place (no temporary file): the buffer then holds the whole
    // file, and the write position is m_Used.
    bool InPlace() const { return m_Fd >= 0 && m_Temp.empty(); }
    // Closes and removes the temporary file, keeping errno.
    void Discard();
    // Drops the file and raises the error of the failed step.
    [[noreturn]] void Fail(const char* step, int error);

    PLFileCalls m_Calls;
    int m_Fd = -1;
    std::string m_Target;
    std::string m_Temp;
    std::vector<uint8_t> m_Buffer;
    size_t m_Used = 0;
    // Where the file's next write goes.
    int64_t m_FileOffset = 0;
    int64_t m_MaxSize = 0;
};
