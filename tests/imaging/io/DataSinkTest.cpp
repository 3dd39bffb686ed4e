// Data sinks: the memory sink's bounds, the file sink's safe replacement of the target, its error
// codes, and every encoder failing cleanly when its sink fails.
#include <gtest/gtest.h>

#include <ostream>

#include <cerrno>
#include <climits>
#include <csignal>
#include <functional>
#include <memory>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "imaging/bitmap/BmpTestHelpers.h"
#include "imaging/bitmap/PLWinBmp.h"
#include "imaging/codec/EncoderTestSupport.h"
#include "imaging/io/ModelledDisk.h"
#include "imaging/io/PLFileSink.h"
#include "imaging/io/PLMemSink.h"
#include "imaging/io/SinkSave.h"
#include "imaging/jpeg/PLJPEGEncoder.h"
#include "imaging/png/PLPNGEncoder.h"
#include "imaging/raster/PLBmpEncoder.h"
#include "imaging/tiff/PLTIFFEncoder.h"

namespace {

using namespace encodertest;

// A write that does not fit raises code 11 and leaves the bytes past the sink's end alone; the
// count is checked as room left, so a huge count cannot overflow; a negative one is refused.
TEST(MemSink, BoundsAndCounts)
{
    Bytes buffer(12, 0xEE);
    PLMemSink sink;
    ASSERT_EQ(sink.OpenMemory(buffer.data(), 10), 0);
    const uint8_t data[8] = { 1, 2, 3, 4, 5, 6, 7, 8 };
    EXPECT_EQ(sink.WriteBytes(8, data), 8);
    EXPECT_EQ(ErrorCodeOf([&] { sink.WriteBytes(3, data); }), PL_ERR_END_OF_FILE);
    EXPECT_EQ(ErrorCodeOf([&] { sink.WriteBytes(INT_MAX, data); }), PL_ERR_END_OF_FILE);
    EXPECT_EQ(ErrorCodeOf([&] { sink.WriteBytes(-1, data); }), PL_ERR_INTERNAL);
    sink.WriteByte(9);
    sink.WriteByte(10);
    EXPECT_EQ(ErrorCodeOf([&] { sink.WriteByte(11); }), PL_ERR_END_OF_FILE);
    EXPECT_EQ(sink.GetBytesWritten(), 10);
    EXPECT_EQ(buffer, (Bytes { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 0xEE, 0xEE }));
    EXPECT_EQ(sink.OpenMemory(nullptr, 5), PL_ERR_FILE_NOT_FOUND);
}

// Going back overwrites what was written, and the length stays the furthest byte reached; going past
// the end writes zeros up to the new position, within the sink's bounds. A memory sink and a file
// sink end up with the same bytes.
TEST(SinkSeek, OverwritesAndFillsGapsWithZeros)
{
    const auto write = [](PLDataSink& sink) {
        sink.WriteBytes(6, reinterpret_cast<const uint8_t*>("abcdef"));
        sink.Seek(2);
        sink.WriteBytes(2, reinterpret_cast<const uint8_t*>("XY"));
        EXPECT_EQ(sink.GetPosition(), 4);
        EXPECT_EQ(sink.GetBytesWritten(), 6);
        sink.Seek(10);
        sink.WriteByte('Z');
        EXPECT_EQ(sink.GetBytesWritten(), 11);
        EXPECT_EQ(ErrorCodeOf([&] { sink.Seek(-1); }), PL_ERR_INTERNAL);
    };
    const Bytes expected { 'a', 'b', 'X', 'Y', 'e', 'f', 0, 0, 0, 0, 'Z' };
    Bytes buffer(12, 0xEE);
    PLMemSink memory;
    ASSERT_EQ(memory.OpenMemory(buffer.data(), 12), 0);
    write(memory);
    EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 11), expected);
    EXPECT_EQ(ErrorCodeOf([&] { memory.Seek(13); }), PL_ERR_END_OF_FILE);

    const std::string path = testing::TempDir() + "orvanel-seek-" + std::to_string(::getpid());
    PLFileSink file;
    ASSERT_EQ(file.OpenFile(path.c_str(), 1 << 20), 0);
    write(file);
    file.Close();
    EXPECT_EQ(ReadFileBytes(path), expected);
    ::unlink(path.c_str());
}

// Each encoder with the bitmap it writes.
struct EncoderCase {
    const char* name;
    std::function<std::unique_ptr<PLPicEncoder>()> make;
};

void PrintTo(const EncoderCase& c, std::ostream* os)
{
    *os << c.name;
}

const EncoderCase kEncoders[] = {
    { "jpeg", [] { return std::make_unique<PLJPEGEncoder>(); } },
    { "png", [] { return std::make_unique<PLPNGEncoder>(); } },
    { "bmp", [] { return std::make_unique<PLBmpEncoder>(); } },
    { "tiff", [] { return std::make_unique<PLTIFFEncoder>(); } },
};

class EncoderSinks : public ScratchFolder, public testing::WithParamInterface<EncoderCase> {
protected:
    // A picture whose file is several kilobytes in every format, with rows that padding lengthens.
    std::unique_ptr<PLAnyBmp> picture = MakePicture(24, 63, 47);
    const Bytes oldContents = Bytes(100, 'o');
};

// A memory sink too small for the file: code 11 comes back through libjpeg, libpng and libtiff as
// it was raised, and nothing is written past the sink's end.
TEST_P(EncoderSinks, FullMemorySinkRaisesCode11)
{
    Bytes buffer(600, 0xEE);
    PLMemSink sink;
    ASSERT_EQ(sink.OpenMemory(buffer.data(), 500), 0);
    const auto encoder = GetParam().make();
    EXPECT_EQ(ErrorCodeOf([&] { encoder->EncodeToSink(picture.get(), &sink); }), PL_ERR_END_OF_FILE);
    EXPECT_LE(sink.GetBytesWritten(), 500);
    EXPECT_EQ(Bytes(buffer.begin() + 500, buffer.end()), Bytes(100, 0xEE));
}

// A successful encode replaces the old file and leaves no temporary file; one that fails leaves the
// old file byte for byte as it was. The file holds exactly what the encoder writes into memory.
TEST_P(EncoderSinks, OldFileIntactUntilTheNewOneIsComplete)
{
    const std::string path = Path("picture");
    WriteFileBytes(path, oldContents);
    const auto encoder = GetParam().make();
    PLAnyBmp deep;
    deep.Create(4, 4, 16, false, false); // a depth no encoder writes
    EXPECT_EQ(ErrorCodeOf([&] { encoder->EncodeFile(path.c_str(), &deep); }), PL_ERR_FORMAT_NOT_SUPPORTED);
    EXPECT_EQ(ReadFileBytes(path), oldContents);
    EXPECT_EQ(Names(), std::vector<std::string> { "picture" });

    encoder->EncodeFile(path.c_str(), picture.get());
    const Bytes written = ReadFileBytes(path);
    EXPECT_GT(written.size(), 500u);
    // The same picture held bottom-up, as the program holds it, encoded into memory: the same bytes.
    PLWinBmp held;
    held.CreateCopy(*picture, 0);
    Bytes again(written.size());
    PLMemSink sink;
    ASSERT_EQ(sink.OpenMemory(again.data(), static_cast<int>(again.size())), 0);
    GetParam().make()->EncodeToSink(&held, &sink);
    EXPECT_EQ(written, again);
    EXPECT_EQ(Names(), std::vector<std::string> { "picture" });
}

// A full disk: the child process may write no file beyond 2,000 bytes (SIGXFSZ ignored, so the write
// fails with EFBIG). The encode reports code 11 and the old file stays.
TEST_P(EncoderSinks, FullDiskLeavesTheOldFile)
{
    const std::string path = Path("picture");
    WriteFileBytes(path, oldContents);
    const auto encoder = GetParam().make();
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit { 2000, 2000 };
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const auto large = MakePicture(32, 256, 128);
        _exit(ErrorCodeOf([&] { encoder->EncodeFile(path.c_str(), large.get()); }) & 0xFF);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), PL_ERR_END_OF_FILE);
    EXPECT_EQ(ReadFileBytes(path), oldContents);
    EXPECT_EQ(Names(), std::vector<std::string> { "picture" });
}

INSTANTIATE_TEST_SUITE_P(Encoders, EncoderSinks, testing::ValuesIn(kEncoders),
    [](const testing::TestParamInfo<EncoderCase>& info) { return std::string(info.param.name); });

// File calls that fail with a chosen errno: at open, at write, at the sync to disk, or at rename.
int g_OpenError = 0;
int g_WriteError = 0;
int g_RenameError = 0;
int g_SyncError = 0;
int g_AccessError = 0;
int g_InPlaceError = 0;

PLFileCalls FailingCalls()
{
    PLFileCalls calls = PLFileCalls::Posix();
    calls.access = [](const char* path, int mode) {
        if (g_AccessError == 0)
            return PLFileCalls::Posix().access(path, mode);
        errno = g_AccessError;
        return -1;
    };
    calls.openInPlace = [](const char* path) {
        if (g_InPlaceError == 0)
            return PLFileCalls::Posix().openInPlace(path);
        errno = g_InPlaceError;
        return -1;
    };
    calls.open = [](const char* path, int flags, mode_t mode) {
        if (g_OpenError == 0)
            return PLFileCalls::Posix().open(path, flags, mode);
        errno = g_OpenError;
        return -1;
    };
    calls.write = [](int fd, const void* data, size_t n) -> ssize_t {
        if (g_WriteError == 0)
            return PLFileCalls::Posix().write(fd, data, n);
        errno = g_WriteError;
        return -1;
    };
    calls.rename = [](const char* from, const char* to) {
        if (g_RenameError == 0)
            return PLFileCalls::Posix().rename(from, to);
        errno = g_RenameError;
        return -1;
    };
    calls.sync = [](int fd) {
        if (g_SyncError == 0)
            return PLFileCalls::Posix().sync(fd);
        errno = g_SyncError;
        return -1;
    };
    return calls;
}

struct FileSinkErrors : ScratchFolder {
    void TearDown() override
    {
        g_OpenError = g_WriteError = g_RenameError = g_SyncError = g_AccessError = g_InPlaceError = 0;
        ScratchFolder::TearDown();
    }
};

// The code of an encode into path with the failing calls, and the text it raised.
std::pair<int, std::string> EncodeError(const std::string& path)
{
    PLBmpEncoder encoder;
    encoder.SetFileCalls(FailingCalls());
    try {
        encoder.EncodeFile(path.c_str(), MakePicture(8, 5, 5).get());
    } catch (const PLTextException& e) {
        return { e.GetCode(), e.GetText() };
    }
    return { 0, "" };
}

TEST_F(FileSinkErrors, OpenCodes)
{
    WriteFileBytes(Path("plain"), { 1 });
    std::filesystem::create_directory(Path("folder"));
    EXPECT_EQ(EncodeError(Path("missing/a.bmp")).first, PL_ERR_PATH_NOT_FOUND);
    EXPECT_EQ(EncodeError(Path("plain/a.bmp")).first, PL_ERR_PATH_NOT_FOUND);
    EXPECT_EQ(EncodeError(Path("folder")).first, PL_ERR_ACCESS_DENIED);
    const std::pair<int, std::string> missing = EncodeError(Path("missing/a.bmp"));
    EXPECT_EQ(missing.second,
        "Decoder error: Opening " + Path("missing/a.bmp") + " failed: No such file or directory\n");
    struct Case {
        int error;
        int code;
    };
    for (const Case c : { Case { EACCES, 5 }, Case { EPERM, 5 }, Case { EROFS, 5 }, Case { EMFILE, 4 } }) {
        g_OpenError = c.error;
        EXPECT_EQ(EncodeError(Path("a.bmp")).first, c.code) << c.error;
    }
    g_OpenError = 0;
    EXPECT_EQ(Names(), (std::vector<std::string> { "folder", "plain" }));
}

// Writing or replacing failing through the seam is reported; the old file stays and no temporary
// file is left.
TEST_F(FileSinkErrors, WriteAndRenameFailures)
{
    const std::string path = Path("a.bmp");
    const Bytes old(50, 'o');
    WriteFileBytes(path, old);
    struct Case {
        int* slot;
        int error;
        int code;
    };
    for (const Case c : { Case { &g_WriteError, ENOSPC, 11 }, Case { &g_WriteError, EACCES, 5 },
             Case { &g_WriteError, EIO, 4 }, Case { &g_SyncError, EIO, 4 }, Case { &g_SyncError, ENOSPC, 11 },
             Case { &g_RenameError, EACCES, 5 } }) {
        *c.slot = c.error;
        EXPECT_EQ(EncodeError(path).first, c.code) << c.error;
        *c.slot = 0;
        EXPECT_EQ(ReadFileBytes(path), old);
        EXPECT_EQ(Names(), std::vector<std::string> { "a.bmp" });
    }
}

// An existing target the user may not write is refused with code 5 before anything is written. A
// folder that takes no new file is written around: a writable target is written in place (the same
// file, no temporary left); without a target, or when the in-place open fails too, code 5.
TEST_F(FileSinkErrors, WriteProtectedTargetsAndFolders)
{
    const Bytes old(50, 'o');
    const auto picture = MakePicture(8, 5, 5);
    PLBmpEncoder reference;
    const Bytes encoded = EncodeToMemory(reference, *picture);
    struct Case {
        const char* name;
        bool targetExists;
        int accessError, openError, inPlaceError;
        int code;
    };
    const Case cases[] = {
        { "read-only file", true, EACCES, 0, 0, PL_ERR_ACCESS_DENIED },
        { "file on a read-only file system", true, EROFS, 0, 0, PL_ERR_ACCESS_DENIED },
        { "read-only folder, writable file", true, 0, EACCES, 0, 0 },
        { "read-only folder, in-place open refused", true, 0, EACCES, EACCES, PL_ERR_ACCESS_DENIED },
        { "read-only folder, no file", false, 0, EACCES, 0, PL_ERR_ACCESS_DENIED },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Path("a.bmp");
        std::filesystem::remove(path);
        if (c.targetExists)
            WriteFileBytes(path, old);
        struct stat before { };
        ::stat(path.c_str(), &before);
        g_AccessError = c.accessError, g_OpenError = c.openError, g_InPlaceError = c.inPlaceError;
        EXPECT_EQ(EncodeError(path).first, c.code);
        g_AccessError = g_OpenError = g_InPlaceError = 0;
        if (c.code != 0 && c.targetExists) {
            EXPECT_EQ(ReadFileBytes(path), old);
        }
        if (c.code == 0) {
            EXPECT_EQ(ReadFileBytes(path), encoded);
            struct stat after { };
            ::stat(path.c_str(), &after);
            EXPECT_EQ(after.st_ino, before.st_ino) << "not written in place";
        }
        EXPECT_EQ(
            Names(), c.targetExists ? std::vector<std::string> { "a.bmp" } : std::vector<std::string> {});
    }
}

// A save written in place that fails before it is complete (the encoder stops, or the sink is let
// go unfinished) leaves the old file byte for byte as it was; a complete one leaves exactly the new
// bytes, a shorter file cut to its length.
TEST_F(FileSinkErrors, AnUnfinishedSaveInPlaceLeavesTheOldFile)
{
    const Bytes old(5000, 'o');
    const std::string path = Path("a.bmp");
    WriteFileBytes(path, old);
    g_OpenError = EACCES; // the folder takes no new file
    {
        PLFileSink sink(FailingCalls());
        ASSERT_EQ(sink.OpenFile(path.c_str(), 1 << 20), 0);
        const Bytes part(3000, 'n');
        sink.WriteBytes(static_cast<int>(part.size()), part.data());
        EXPECT_EQ(ReadFileBytes(path), old);
    }
    EXPECT_EQ(ReadFileBytes(path), old);
    {
        PLFileSink sink(FailingCalls());
        ASSERT_EQ(sink.OpenFile(path.c_str(), 1 << 20), 0);
        const Bytes whole(100, 'n');
        sink.WriteBytes(static_cast<int>(whole.size()), whole.data());
        sink.Seek(0);
        sink.WriteByte('N');
        sink.Close();
    }
    Bytes expected(100, 'n');
    expected[0] = 'N';
    EXPECT_EQ(ReadFileBytes(path), expected);
    EXPECT_EQ(Names(), std::vector<std::string> { "a.bmp" });
}

// Saves the bytes through a sink with the given calls: 0 or the code raised.
int SaveBytes(const std::string& path, const PLFileCalls& calls, const Bytes& bytes)
{
    return sinksave::SaveBytes(path, bytes, 1 << 20, calls);
}

// A save written in place (the folder takes no new file) on a disk with little room.
struct InPlaceSpaceCase {
    const char* name;
    size_t oldLength, newLength;
    int64_t freeBytes;
    bool canReserve;
    int code;
};

void PrintTo(const InPlaceSpaceCase& c, std::ostream* os)
{
    *os << c.name;
}

const InPlaceSpaceCase kInPlaceSpaceCases[] = {
    { "RoomForALongerFile", 100, 5000, 6000, true, 0 },
    { "NoRoomForALongerFile", 100, 5000, 1000, true, PL_ERR_END_OF_FILE },
    { "AShorterFileOnAFullDisk", 5000, 100, 0, true, 0 },
    // Where nothing can be reserved, only the space the old file holds is sure.
    { "AShorterFileWithoutReserving", 5000, 100, 0, false, 0 },
    { "AFileOfTheSameLengthWithoutReserving", 5000, 5000, 0, false, 0 },
    { "ALongerFileWithoutReserving", 100, 5000, 10000, false, PL_ERR_END_OF_FILE },
};

class InPlaceSpace : public ScratchFolder, public testing::WithParamInterface<InPlaceSpaceCase> { };

// The space is made sure of before the first old byte is overwritten: a save that cannot be made
// sure of it is refused with code 11 and leaves the file byte for byte as it was.
TEST_P(InPlaceSpace, ASaveInPlaceOverwritesOnlyWhenTheNewBytesFit)
{
    const InPlaceSpaceCase& c = GetParam();
    const std::string path = Path("a.bmp");
    const Bytes old(c.oldLength, 'o');
    const Bytes written(c.newLength, 'n');
    WriteFileBytes(path, old);
    modelleddisk::Reset(c.freeBytes, true, c.canReserve); // in a folder that takes no new file
    EXPECT_EQ(SaveBytes(path, modelleddisk::Calls(), written), c.code);
    EXPECT_EQ(ReadFileBytes(path), c.code == 0 ? written : old);
    EXPECT_EQ(Names(), std::vector<std::string> { "a.bmp" });
}

INSTANTIATE_TEST_SUITE_P(Disks, InPlaceSpace, testing::ValuesIn(kInPlaceSpaceCases),
    [](const testing::TestParamInfo<InPlaceSpaceCase>& info) { return std::string(info.param.name); });

// Exit codes of the child that saves on a small file system of its own.
enum SmallDiskOutcome {
    kSavedSafely,
    kLongerNotRefused,
    kOldFileChanged,
    kShorterRefused,
    kCannotMount = 77
};

// A file of length bytes, or false when the disk has no room for it.
bool WriteFileOf(const std::string& path, size_t length)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const Bytes bytes(length, 'o');
    const bool written = fd >= 0 && ::write(fd, bytes.data(), length) == static_cast<ssize_t>(length);
    if (fd >= 0)
        ::close(fd);
    return written;
}

// In a child process: saves in place (the folder refuses new files through the seam) into a file on
// a full tmpfs of 64 KB, mounted where only this process sees it.
SmallDiskOutcome SaveOnASmallFullDisk(const std::string& folder)
{
    if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
        || ::mount("orvanel-small", folder.c_str(), "tmpfs", 0, "size=64k") != 0)
        return kCannotMount;
    const std::string path = folder + "/a.bmp";
    WriteFileOf(path, 8192);
    const Bytes old = ReadFileBytes(path);
    for (int i = 0; WriteFileOf(folder + "/filler" + std::to_string(i), 4096); ++i) { }
    g_OpenError = EACCES;
    if (SaveBytes(path, FailingCalls(), Bytes(40000, 'n')) != PL_ERR_END_OF_FILE)
        return kLongerNotRefused;
    if (ReadFileBytes(path) != old)
        return kOldFileChanged;
    const Bytes shorter(4000, 'n');
    if (SaveBytes(path, FailingCalls(), shorter) != 0 || ReadFileBytes(path) != shorter)
        return kShorterRefused;
    return kSavedSafely;
}

TEST_F(FileSinkErrors, ASaveInPlaceOnARealFullDiskIsRefusedAndKeepsTheOldFile)
{
    const std::string folder = Path("small");
    std::filesystem::create_directory(folder);
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0)
        _exit(SaveOnASmallFullDisk(folder));
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == kCannotMount)
        GTEST_SKIP() << "cannot mount a small file system here";
    EXPECT_EQ(WEXITSTATUS(status), kSavedSafely);
}

// The process may write no file beyond 2,000 bytes (SIGXFSZ ignored, so that a write fails with
// EFBIG): a longer file written in place is refused before the old one is touched.
TEST_F(FileSinkErrors, ASaveInPlaceBeyondTheFileSizeLimitKeepsTheOldFile)
{
    const std::string path = Path("a.bmp");
    const Bytes old(100, 'o');
    WriteFileBytes(path, old);
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit { 2000, 2000 };
        ::setrlimit(RLIMIT_FSIZE, &limit);
        g_OpenError = EACCES; // the folder takes no new file
        _exit(SaveBytes(path, FailingCalls(), Bytes(5000, 'n')));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), PL_ERR_END_OF_FILE);
    EXPECT_EQ(ReadFileBytes(path), old);
}

// A hard link keeps the old contents when the saved name gets a new file; written in place, both
// names show the new contents.
TEST_F(FileSinkErrors, HardLinksKeepTheOldFileUnlessWrittenInPlace)
{
    const Bytes old(50, 'o');
    const std::string path = Path("a.bmp");
    const std::string link = Path("link.bmp");
    for (const bool inPlace : { false, true }) {
        SCOPED_TRACE(inPlace ? "in place" : "replaced");
        std::filesystem::remove(path);
        std::filesystem::remove(link);
        WriteFileBytes(path, old);
        std::filesystem::create_hard_link(path, link);
        g_OpenError = inPlace ? EACCES : 0;
        EXPECT_EQ(EncodeError(path).first, 0);
        g_OpenError = 0;
        EXPECT_NE(ReadFileBytes(path), old);
        EXPECT_EQ(ReadFileBytes(link) == old, !inPlace);
    }
}

// The real check, in a child that runs as an unprivileged user: a file of mode 0444 in a folder the
// user may write is refused and stays as it was.
TEST_F(FileSinkErrors, AnUnprivilegedUserCannotReplaceAReadOnlyFile)
{
    const Bytes old(50, 'o');
    const std::string path = Path("a.bmp");
    WriteFileBytes(path, old);
    ::chmod(path.c_str(), 0444);
    ::chmod(dir.c_str(), 0777);
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            _exit(2);
        PLBmpEncoder encoder;
        try {
            encoder.EncodeFile(path.c_str(), MakePicture(8, 5, 5).get());
        } catch (const PLTextException& e) {
            _exit(e.GetCode() == PL_ERR_ACCESS_DENIED ? 0 : 1);
        }
        _exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 2)
        GTEST_SKIP() << "cannot change to an unprivileged user here";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadFileBytes(path), old);
    EXPECT_EQ(Names(), std::vector<std::string> { "a.bmp" });
}

// A wide name is written as UTF-8, and a name of the file system's longest length can be saved; a
// name too long to show is shown as "{{Filename too long}}".
TEST_F(FileSinkErrors, WideAndLongNames)
{
    const std::wstring folder(dir.wstring());
    PLPNGEncoder encoder;
    encoder.EncodeFileW((folder + L"/caf\u00e9.png").c_str(), MakePicture(24, 3, 3).get());
    const std::string longest(255, 'n');
    encoder.EncodeFile(Path(longest).c_str(), MakePicture(24, 3, 3).get());
    EXPECT_EQ(Names(), (std::vector<std::string> { "caf\xc3\xa9.png", longest }));
    const std::wstring longName = folder + L"/missing/" + std::wstring(950, L'x');
    try {
        encoder.EncodeFileW(longName.c_str(), MakePicture(24, 3, 3).get());
        ADD_FAILURE() << "no error";
    } catch (const PLTextException& e) {
        EXPECT_EQ(e.GetCode(), PL_ERR_PATH_NOT_FOUND);
        EXPECT_NE(std::string(e.GetText()).find("{{Filename too long}}"), std::string::npos);
    }
}

} // namespace
