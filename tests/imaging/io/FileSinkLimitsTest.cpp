// The file sink's limits and the files it leaves: its maximum size, the process's file size limit,
// the temporary files of killed saves, and names that are symbolic links.
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "imaging/bitmap/BmpTestHelpers.h"
#include "imaging/codec/EncoderTestSupport.h"
#include "imaging/io/PLFileSink.h"
#include "imaging/io/PLTextException.h"
#include "imaging/io/SinkSave.h"
#include "imaging/png/PLPNGEncoder.h"

namespace {

using namespace encodertest;

using sinksave::SaveBytes;

// The exit status of a child that runs body, or -signal when a signal ended it.
template <typename Body> int InChild(Body body)
{
    const pid_t child = ::fork();
    if (child == 0)
        _exit(body() & 0xFF);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child)
        return -1000;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

using FileSinkLimits = ScratchFolder;

// A sink of 1,000 bytes takes 1,000 and refuses 1,200 with code 11: the old file stays as it was
// and no temporary file is left.
TEST_F(FileSinkLimits, AWritePastTheMaximumSizeRaisesCode11AndKeepsTheOldFile)
{
    const std::string path = Path("a.bin");
    const Bytes old(50, 'o');
    WriteFileBytes(path, old);
    EXPECT_EQ(SaveBytes(path, Bytes(1200, 'n'), 1000), PL_ERR_END_OF_FILE);
    EXPECT_EQ(ReadFileBytes(path), old);
    EXPECT_EQ(Names(), std::vector<std::string> { "a.bin" });
    EXPECT_EQ(SaveBytes(path, Bytes(1000, 'n'), 1000), 0);
    EXPECT_EQ(ReadFileBytes(path), Bytes(1000, 'n'));
}

// In a child that keeps SIGXFSZ's default action (the end of the process): a file written past
// RLIMIT_FSIZE is refused as EFBIG with code 11, by a sink and by an encoder, and the process goes on;
// the old file stays and no temporary file is left.
TEST_F(FileSinkLimits, AWritePastTheFileSizeLimitFailsLikeAFullDiskInsteadOfKillingTheProcess)
{
    const std::string path = Path("a.png");
    const Bytes old(100, 'o');
    WriteFileBytes(path, old);
    const int status = InChild([&] {
        std::signal(SIGXFSZ, SIG_DFL);
        const rlimit limit { 2000, RLIM_INFINITY };
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return 99;
        // Large enough to go straight to the file, and small enough to be buffered first.
        for (const size_t length : { size_t { 200000 }, size_t { 5000 } }) {
            errno = 0;
            if (SaveBytes(path, Bytes(length, 'n')) != PL_ERR_END_OF_FILE || errno != EFBIG)
                return 1;
        }
        PLPNGEncoder encoder;
        const auto noisy = MakePicture(32, 200, 100);
        return ErrorCodeOf([&] { encoder.EncodeFile(path.c_str(), noisy.get()); }) == PL_ERR_END_OF_FILE ? 0
                                                                                                         : 2;
    });
    EXPECT_EQ(status, 0) << "a negative status is the signal that ended the child";
    EXPECT_EQ(ReadFileBytes(path), old);
    EXPECT_EQ(Names(), std::vector<std::string> { "a.png" });
}

// The temporary files of saves that were killed are removed by the next save of the same file,
// when they are the user's own and no save holds them locked; every other file stays.
TEST_F(FileSinkLimits, ASaveRemovesTheTemporaryFilesOfKilledSavesOfTheSameFile)
{
    const std::string path = Path("a.txt");
    WriteFileBytes(path, Bytes(10, 'o'));
    const std::vector<std::string> killed { ".a.txt.4242-0.tmp", ".a.txt.1-17.tmp" };
    const std::vector<std::string> kept { ".a.txt.99-0.tmp.bak", ".a.txt.x-0.tmp", ".b.txt.4242-0.tmp",
        ".a.txt.4242.tmp", "a.txt.4242-0.tmp", ".a.txt.5-5.tmp" /* held */,
        ".a.txt.6-6.tmp" /* another user's */ };
    for (const std::string& name : killed)
        WriteFileBytes(Path(name), Bytes(1000, 't'));
    for (const std::string& name : kept)
        WriteFileBytes(Path(name), Bytes(1000, 'k'));
    // A save still writing holds its file locked (a lock of another open file counts as another
    // process's would).
    const int held = ::open(Path(".a.txt.5-5.tmp").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
    ASSERT_EQ(::chown(Path(".a.txt.6-6.tmp").c_str(), 65534, 65534), 0);

    EXPECT_EQ(SaveBytes(path, Bytes(20, 'n')), 0);
    ::close(held);
    std::vector<std::string> expected = kept;
    expected.push_back("a.txt");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Names(), expected);
    EXPECT_EQ(ReadFileBytes(path), Bytes(20, 'n'));
}

// While a save writes, its temporary file is locked, so that another save of the file leaves it.
TEST_F(FileSinkLimits, ASaveThatIsStillWritingKeepsItsTemporaryFile)
{
    const std::string path = Path("a.txt");
    PLFileSink writing;
    ASSERT_EQ(writing.OpenFile(path.c_str(), 1 << 20), 0);
    const Bytes first(100000, 'w'); // past the buffer: the temporary file holds it
    writing.WriteBytes(static_cast<int>(first.size()), first.data());
    EXPECT_EQ(SaveBytes(path, Bytes(20, 'n')), 0);
    writing.Close();
    EXPECT_EQ(ReadFileBytes(path), first);
    EXPECT_EQ(Names(), std::vector<std::string> { "a.txt" });
}

// A name that is a symbolic link stays a link: the save writes the file it points to, which a
// dangling link creates, or is refused where that file cannot be made (3 for a missing folder).
TEST_F(FileSinkLimits, ASaveOntoASymbolicLinkWritesWhereItPoints)
{
    std::filesystem::create_directory(dir / "real");
    struct Case {
        const char* what;
        const char* pointsTo; // relative to the link's folder
        int code;
        const char* written; // where the bytes end up, relative to the scratch folder
    };
    const Case cases[] = {
        { "an existing file", "real/old.txt", 0, "real/old.txt" },
        { "a missing file", "real/new.txt", 0, "real/new.txt" },
        { "a missing file through another link", "hop", 0, "real/far.txt" },
        { "a missing folder", "missing/new.txt", PL_ERR_PATH_NOT_FOUND, nullptr },
        { "itself", "link", PL_ERR_FILE_NOT_FOUND, nullptr },
    };
    WriteFileBytes(Path("real/old.txt"), Bytes(5, 'o'));
    std::filesystem::create_symlink("real/far.txt", dir / "hop");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::filesystem::path link = dir / "link";
        std::filesystem::remove(link);
        std::filesystem::create_symlink(c.pointsTo, link);
        EXPECT_EQ(SaveBytes(link.string(), Bytes(20, 'n')), c.code);
        EXPECT_TRUE(std::filesystem::is_symlink(link));
        EXPECT_EQ(std::filesystem::read_symlink(link), c.pointsTo);
        if (c.written) {
            EXPECT_EQ(ReadFileBytes(Path(c.written)), Bytes(20, 'n'));
        }
    }
    EXPECT_EQ(Names(), (std::vector<std::string> { "hop", "link", "real" }));
}

// As an unprivileged user: a dangling link into a folder the user may not write is refused with
// code 5, and the link stays.
TEST_F(FileSinkLimits, ADanglingLinkIntoAFolderTheUserMayNotWriteIsRefused)
{
    std::filesystem::create_directory(dir / "closed");
    ::chmod(Path("closed").c_str(), 0755);
    ::chmod(dir.c_str(), 0777);
    const std::filesystem::path link = dir / "link";
    std::filesystem::create_symlink("closed/new.txt", link);
    const int status = InChild([&] {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            return 77;
        return SaveBytes(link.string(), Bytes(20, 'n'));
    });
    if (status == 77)
        GTEST_SKIP() << "cannot change to an unprivileged user here";
    EXPECT_EQ(status, PL_ERR_ACCESS_DENIED);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_FALSE(std::filesystem::exists(dir / "closed/new.txt"));
}

// In a sticky folder anyone may write (/tmp), a link another user planted is not followed, as the
// kernel follows none there: the save is refused with code 5, and neither the link nor the file it
// points to changes. The user's own link there is followed.
TEST_F(FileSinkLimits, ALinkAnotherUserPlantedInASharedFolderIsNotFollowed)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "planting another user's link needs root";
    std::filesystem::create_directory(dir / "shared");
    ::chmod(Path("shared").c_str(), 01777);
    WriteFileBytes(Path("precious.txt"), Bytes(5, 'p'));
    const std::filesystem::path planted = dir / "shared/photo.jpg";
    std::filesystem::create_symlink(dir / "precious.txt", planted);
    ASSERT_EQ(::lchown(planted.c_str(), 65534, 65534), 0);
    EXPECT_EQ(SaveBytes(planted.string(), Bytes(20, 'n')), PL_ERR_ACCESS_DENIED);
    EXPECT_TRUE(std::filesystem::is_symlink(planted));
    EXPECT_EQ(ReadFileBytes(Path("precious.txt")), Bytes(5, 'p'));

    const std::filesystem::path own = dir / "shared/own.jpg";
    std::filesystem::create_symlink(dir / "mine.txt", own);
    EXPECT_EQ(SaveBytes(own.string(), Bytes(20, 'n')), 0);
    EXPECT_EQ(ReadFileBytes(Path("mine.txt")), Bytes(20, 'n'));
}

} // namespace
