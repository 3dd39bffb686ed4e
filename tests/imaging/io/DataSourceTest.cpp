// Data sources: opening files, bounded reads and progress.
#include "imaging/bitmap/BmpTestHelpers.h"
#include "imaging/io/PLFileSource.h"
#include "imaging/io/PLMemSource.h"
#include "imaging/io/PLProgressListener.h"
#include "imaging/io/PLResourceModule.h"
#include "imaging/io/PLResourceSource.h"

#include <climits>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The permissions ("r--p", "---p", ...) of every mapping of this process that overlaps [begin, end),
// in address order, from /proc/self/maps.
std::vector<std::string> MappingsWithin(uintptr_t begin, uintptr_t end)
{
    std::vector<std::string> found;
    std::ifstream maps("/proc/self/maps");
    uintptr_t first = 0, last = 0;
    char dash = 0;
    std::string permissions, rest;
    while (maps >> std::hex >> first >> dash >> last >> permissions && std::getline(maps, rest))
        if (first < end && last > begin)
            found.push_back(permissions);
    return found;
}

class ProgressLog : public PLProgressListener {
public:
    void OnProgress(double part) override { parts.push_back(part); }
    std::vector<double> parts;
};

// A scratch folder removed after the test.
class ScratchFolder : public testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("orvanel-sources-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        const fs::path path = dir / name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path.string();
    }
    fs::path dir;
};

using FileSourceOpen = ScratchFolder;

TEST_F(FileSourceOpen, ErrorTable)
{
    Write("empty.jpg", {});
    fs::create_directories(dir / "folder.jpg");
    const std::string fifo = (dir / "pipe.jpg").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    Write("plain", { 1 });
    struct Case {
        std::string path;
        int code;
    };
    const Case cases[] = {
        { (dir / "missing-folder" / "a.jpg").string(), PL_ERR_PATH_NOT_FOUND },
        { (dir / "plain" / "a.jpg").string(), PL_ERR_PATH_NOT_FOUND }, // a file used as a folder
        { (dir / "missing.jpg").string(), PL_ERR_FILE_NOT_FOUND },
        { (dir / "empty.jpg").string(), PL_ERR_ACCESS_DENIED },
        { (dir / "folder.jpg").string(), PL_ERR_ACCESS_DENIED },
        { fifo, PL_ERR_ACCESS_DENIED }, // and does not wait for a writer
    };
    for (const Case& c : cases) {
        PLFileSource source;
        EXPECT_EQ(source.OpenFile(c.path.c_str()), c.code) << c.path;
        EXPECT_EQ(source.GetFileSize(), 0) << c.path;
        EXPECT_EQ(std::string(source.GetName()), "") << c.path;
    }
}

TEST_F(FileSourceOpen, FileBeyondThirtyTwoBitsIsRefusedBeforeReading)
{
    // A sparse file: it takes no disk space, and reading it whole would need 2 GiB of memory.
    const std::string path = Write("huge.jpg", { 1 });
    fs::resize_file(path, uintmax_t(INT_MAX) + 1);
    PLFileSource source;
    EXPECT_EQ(source.OpenFile(path.c_str()), PL_ERR_DIB_TOO_LARGE);
    EXPECT_EQ(source.GetFileSize(), 0);
}

// Whether this process is granted a read lease on the file (its owner, a local file system,
// leases switched on).
bool LeasesGranted(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const bool granted = fd >= 0 && ::fcntl(fd, F_SETLEASE, F_RDLCK) == 0;
    if (fd >= 0)
        ::close(fd);
    return granted;
}

// A photograph another process still has open for writing (being copied in) is refused with the
// access-denied code, which the image cache retries on; once the writer closes it, it opens.
TEST_F(FileSourceOpen, AFileOpenForWritingElsewhereIsAccessDenied)
{
    const std::string path = Write("copying.jpg", { 1, 2, 3 });
    if (!LeasesGranted(path))
        GTEST_SKIP() << "no read leases here";
    int opened[2], release[2];
    ASSERT_EQ(::pipe(opened), 0);
    ASSERT_EQ(::pipe(release), 0);
    const pid_t writer = ::fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        ::close(opened[0]);
        ::close(release[1]);
        const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND);
        char c = fd >= 0 ? 'y' : 'n';
        (void)!::write(opened[1], &c, 1);
        (void)!::read(release[0], &c, 1); // until the parent closes its end
        ::_exit(0);
    }
    ::close(opened[1]);
    ::close(release[0]);
    char state = 0;
    ASSERT_EQ(::read(opened[0], &state, 1), 1);
    ASSERT_EQ(state, 'y');
    {
        PLFileSource source;
        EXPECT_EQ(source.OpenFile(path.c_str()), PL_ERR_ACCESS_DENIED);
    }
    ::close(release[1]);
    int status = 0;
    ASSERT_EQ(::waitpid(writer, &status, 0), writer);
    ::close(opened[0]);
    PLFileSource source;
    EXPECT_EQ(source.OpenFile(path.c_str()), 0);
    EXPECT_EQ(source.GetFileSize(), 3);
}

TEST_F(FileSourceOpen, AFileCutShortWhileOpenReadsAsZerosAndIsNoLongerIntact)
{
    // Three pages and a bit, so that the cut leaves whole pages of the mapping beyond the end.
    std::vector<uint8_t> bytes(3 * 4096 + 100);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i % 251 + 1);
    const std::string path = Write("photo.jpg", bytes);
    PLFileSource source;
    ASSERT_EQ(source.OpenFile(path.c_str()), 0);
    fs::remove(path); // removing the name alone takes nothing away
    EXPECT_EQ(source.PeekBytes(static_cast<int>(bytes.size()))[bytes.size() - 1], bytes.back());
    EXPECT_TRUE(source.IsIntact());
    // Another process cutting the file short must not kill the reader with SIGBUS.
    PLFileSource cut;
    const std::string again = Write("again.jpg", bytes);
    ASSERT_EQ(cut.OpenFile(again.c_str()), 0);
    fs::resize_file(again, 4096);
    const uint8_t* data = cut.ReadBytes(static_cast<int>(bytes.size()));
    EXPECT_EQ(data[4095], bytes[4095]); // the page that is left
    EXPECT_EQ(data[2 * 4096], 0);
    EXPECT_EQ(data[bytes.size() - 1], 0);
    EXPECT_FALSE(cut.IsIntact());
    cut.Close();
    EXPECT_TRUE(cut.IsIntact());
}

// Another process writing the file's bytes while it is open (same size) shows through the mapping:
// the source is then no longer intact. The file's time is set back first, so that the write is
// seen even when it falls in the same clock tick as the file's making.
TEST_F(FileSourceOpen, AFileWrittenWhileOpenIsNoLongerIntact)
{
    const std::vector<uint8_t> bytes(5000, 'a');
    const std::string path = Write("photo.jpg", bytes);
    const timespec past[2] = { { 1000000000, 0 }, { 1000000000, 0 } };
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), past, 0), 0);
    PLFileSource source;
    ASSERT_EQ(source.OpenFile(path.c_str()), 0);
    EXPECT_TRUE(source.IsIntact());
    {
        std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(100);
        file.put('b');
    }
    EXPECT_EQ(source.PeekBytes(200)[100], 'b');
    EXPECT_FALSE(source.IsIntact());
}

// A small file's mapping keeps the 2 MB of address space that one page table covers to itself, so
// that unmapping it frees the table and the processor's address cache is flushed once rather than
// page by page (on a virtual machine, 0.8 ms for a 70 KB photograph); closing gives all of it back.
TEST_F(FileSourceOpen, ASmallFileHasAPageTableToItselfAndClosingGivesItsAddressSpaceBack)
{
    std::vector<uint8_t> bytes(70000);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i % 253);
    const std::string path = Write("small.jpg", bytes);
    PLFileSource source;
    ASSERT_EQ(source.OpenFile(path.c_str()), 0);
    const auto start = reinterpret_cast<uintptr_t>(source.PeekBytes(1));
    const uintptr_t span = uintptr_t(2) << 20;
    EXPECT_EQ(start % span, 0u);
    EXPECT_EQ(MappingsWithin(start, start + span), (std::vector<std::string> { "r--p", "---p" }));
    EXPECT_EQ(source.ReadBytes(static_cast<int>(bytes.size()))[bytes.size() - 1], bytes.back());
    source.Close();
    EXPECT_TRUE(MappingsWithin(start, start + span).empty());
}

TEST_F(FileSourceOpen, WideNamesOpenTheUtf8File)
{
    const std::string path = Write("Bild-\xC3\xA4.jpg", { 9, 8 });
    const std::wstring wide = (dir / "").wstring() + L"Bild-\u00E4.jpg";
    PLFileSource source;
    ASSERT_EQ(source.OpenFileW(wide.c_str()), 0);
    EXPECT_EQ(std::string(source.GetName()), "Wide");
    EXPECT_EQ(std::wstring(source.GetNameW()), wide);
    EXPECT_EQ(source.GetFileSize(), 2);
}

// Every kind of source over the same ten bytes.
class BoundedReads : public ScratchFolder, public testing::WithParamInterface<int> {
protected:
    PLDataSource& OpenSource()
    {
        const std::vector<uint8_t> bytes { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9 };
        switch (GetParam()) {
        case 0:
            EXPECT_EQ(file.OpenFile(Write("ten", bytes).c_str()), 0);
            return file;
        case 1:
            EXPECT_EQ(memory.OpenMemory(data, 10), 0);
            return memory;
        default:
            module.Add(PL_RT_RCDATA, 7, bytes);
            EXPECT_EQ(resource.OpenResource(module, 7), 0);
            return resource;
        }
    }
    const uint8_t data[10] = { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9 };
    PLFileSource file;
    PLMemSource memory;
    PLResourceModule module;
    PLResourceSource resource;
};

TEST_P(BoundedReads, ReadToTheEndAndNotOneByteFurther)
{
    PLDataSource& source = OpenSource();
    EXPECT_EQ(*source.ReadBytes(4), 0);
    EXPECT_EQ(*source.PeekBytes(6), 4);
    EXPECT_EQ(source.ReadBytes(6)[5], 9);
    EXPECT_EQ(source.GetBytesLeft(), 0);
    EXPECT_EQ(ErrorCodeOf([&] { source.ReadBytes(1); }), PL_ERR_END_OF_FILE);
    EXPECT_EQ(ErrorCodeOf([&] { source.PeekBytes(1); }), PL_ERR_END_OF_FILE);
    EXPECT_EQ(source.GetPosition(), 10);
    EXPECT_NO_THROW(source.ReadBytes(0));
}

TEST_P(BoundedReads, HugeAndNegativeCountsMoveNothing)
{
    PLDataSource& source = OpenSource();
    source.ReadBytes(3);
    EXPECT_EQ(ErrorCodeOf([&] { source.ReadBytes(INT_MAX); }), PL_ERR_END_OF_FILE);
    EXPECT_EQ(ErrorCodeOf([&] { source.PeekBytes(INT_MAX); }), PL_ERR_END_OF_FILE);
    EXPECT_EQ(ErrorCodeOf([&] { source.ReadBytes(-1); }), PL_ERR_FORMAT_UNKNOWN);
    EXPECT_EQ(ErrorCodeOf([&] { source.PeekBytes(INT_MIN); }), PL_ERR_FORMAT_UNKNOWN);
    EXPECT_EQ(source.GetPosition(), 3);
    EXPECT_EQ(*source.GetRemainingData(), 3);
}

INSTANTIATE_TEST_SUITE_P(FileMemoryResource, BoundedReads, testing::Values(0, 1, 2));

TEST(DataSourceProgress, OncePerKilobyteCrossedAndOneAtClose)
{
    const std::vector<uint8_t> bytes(3000);
    ProgressLog log;
    PLMemSource source(&log);
    ASSERT_EQ(source.OpenMemory(bytes.data(), 3000), 0);
    for (int i = 0; i < 30; ++i)
        source.ReadBytes(100);
    source.Close();
    source.Close(); // a second close tells nothing more
    EXPECT_EQ(log.parts, (std::vector<double> { 1100.0 / 3000, 2100.0 / 3000, 1.0 }));
}

TEST(ResourceSource, MissingResourceIsCodeFourAndNamesCarryTheId)
{
    PLResourceModule module;
    module.Add("PICT", 12, { 1, 2 });
    PLResourceSource source;
    EXPECT_EQ(source.OpenResource(module, 12), PL_ERR_FILE_NOT_FOUND) << "raw data is another type";
    ASSERT_EQ(source.OpenResource(module, 12, "PICT"), 0);
    EXPECT_EQ(std::string(source.GetName()), "Resource: 12");
    EXPECT_EQ(source.GetFileSize(), 2);
}

TEST(MemorySource, RefusesANegativeSize)
{
    const uint8_t byte = 0;
    PLMemSource source;
    EXPECT_EQ(source.OpenMemory(&byte, -1), PL_ERR_FILE_NOT_FOUND);
    EXPECT_EQ(source.GetFileSize(), 0);
}

} // namespace
