// The SIGBUS handler of the file mappings: a file cut short under a decode is an error, never a
// crash, for as long as the process lives; every other SIGBUS has the effect it would have had
// without the handler.
#include "imaging/bitmap/BmpTestHelpers.h"
#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/io/PLFileSource.h"
#include "imaging/io/PLMemSink.h"
#include "imaging/jpeg/PLJPEGDecoder.h"
#include "imaging/jpeg/PLJPEGEncoder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <ostream>
#include <string>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A JPEG of noise, so that its file runs to many pages.
std::vector<uint8_t> NoiseJpeg()
{
    PLAnyBmp picture;
    picture.Create(256, 256, 32, false, false);
    uint32_t state = 1;
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            state = state * 1664525u + 1013904223u;
            picture.GetRow32(y)[x]
                = PLPixel32(uint8_t(state >> 24), uint8_t(state >> 16), uint8_t(state >> 8), 255);
        }
    std::vector<uint8_t> bytes(1 << 20);
    PLMemSink sink;
    sink.OpenMemory(bytes.data(), static_cast<int>(bytes.size()));
    PLJPEGEncoder().EncodeToSink(&picture, &sink);
    bytes.resize(static_cast<size_t>(sink.GetBytesWritten()));
    return bytes;
}

// A file in memory with the given bytes.
int MemoryFile(const std::vector<uint8_t>& bytes)
{
    const int fd = ::memfd_create("orvanel-bus-error", 0);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        ::_exit(90);
    return fd;
}

// The path that opens the file of a descriptor.
std::string PathOf(int fd)
{
    return "/proc/self/fd/" + std::to_string(fd);
}

std::string ScratchPath(const char* name)
{
    return (fs::temp_directory_path() / (name + std::to_string(::getpid()))).string();
}

// Decodes a JPEG whose file is cut short while the decoder holds it open: the library's code.
int DecodeCutShort(const std::vector<uint8_t>& jpeg)
{
    const std::string path = ScratchPath("orvanel-cut-short-");
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0 || ::write(fd, jpeg.data(), jpeg.size()) != static_cast<ssize_t>(jpeg.size()))
        ::_exit(90);
    ::close(fd); // a file still open for writing would be refused as being written
    PLJPEGDecoder decoder;
    decoder.OpenFile(path.c_str());
    if (::truncate(path.c_str(), 4096) != 0) // the header stays; the scans are cut off
        ::_exit(91);
    ::unlink(path.c_str());
    PLAnyBmp decoded;
    return ErrorCodeOf([&] { decoder.GetImage(decoded, 32); });
}

TEST(BusError, ADecodeOfAFileCutShortUnderItIsAnErrorNotACrash)
{
    const std::vector<uint8_t> jpeg = NoiseJpeg();
    ASSERT_GT(jpeg.size(), 2 * 4096u);
    EXPECT_EQ(DecodeCutShort(jpeg), PL_ERR_END_OF_FILE);
    EXPECT_EQ(DecodeCutShort(jpeg), PL_ERR_END_OF_FILE) << "the second time";
    // The same cut made before opening is an ordinary short file, which decodes with a warning.
    const std::string path = ScratchPath("orvanel-cut-");
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(jpeg.data(), 1, 4096, file);
    std::fclose(file);
    PLAnyBmp decoded;
    PLJPEGDecoder().DecodeFile(path.c_str(), &decoded, 32);
    fs::remove(path);
    EXPECT_EQ(decoded.GetSize(), PLCoord(256, 256));
}

// A mapping of the test's own (not the library's) faulting: the library's handler passes it on.
TEST(BusError, AFaultOutsideTheLibrarysMappingsReachesTheEarlierHandler)
{
    const int fd = MemoryFile(std::vector<uint8_t>(3 * 4096, 7));
    PLFileSource source; // installs the handler; the sanitizer's is the earlier one
    ASSERT_EQ(source.OpenFile(PathOf(fd).c_str()), 0);
    EXPECT_DEATH(
        {
            auto* mapped
                = static_cast<volatile uint8_t*>(::mmap(nullptr, 3 * 4096, PROT_READ, MAP_SHARED, fd, 0));
            ::ftruncate(fd, 0);
            std::printf("%d\n", mapped[2 * 4096]);
        },
        "");
    ::close(fd);
}

// What the process had for SIGBUS before the library installed its handler.
enum class Earlier { byDefault, ignored, handler };
// How the SIGBUS comes: sent by the process to itself, sent with the address of a byte of a live
// mapping where a fault's address would be, or a fault in a mapping of the process's own.
enum class Arrival { raised, killed, queuedWithAMappedAddress, faultOutsideTheMappings };

struct SignalCase {
    const char* name;
    Earlier earlier;
    Arrival arrival;
    // Whether the process lives on (and a file cut short under a decode then gives code 11), or
    // ends by SIGBUS.
    bool survives;
};

void PrintTo(const SignalCase& c, std::ostream* os)
{
    *os << c.name;
}

const SignalCase kSignalCases[] = {
    { "RaisedWithTheDefault", Earlier::byDefault, Arrival::raised, false },
    { "KilledWithTheDefault", Earlier::byDefault, Arrival::killed, false },
    { "QueuedWithAMappedAddressWithTheDefault", Earlier::byDefault, Arrival::queuedWithAMappedAddress,
        false },
    { "FaultWithTheDefault", Earlier::byDefault, Arrival::faultOutsideTheMappings, false },
    { "RaisedWhileIgnored", Earlier::ignored, Arrival::raised, true },
    { "QueuedWithAMappedAddressWhileIgnored", Earlier::ignored, Arrival::queuedWithAMappedAddress, true },
    // The kernel does not let a fault be ignored.
    { "FaultWhileIgnored", Earlier::ignored, Arrival::faultOutsideTheMappings, false },
    { "RaisedToAnEarlierHandler", Earlier::handler, Arrival::raised, true },
    { "QueuedWithAMappedAddressToAnEarlierHandler", Earlier::handler, Arrival::queuedWithAMappedAddress,
        true },
};

volatile sig_atomic_t g_EarlierHandlerCalls = 0;

void CountCall(int)
{
    g_EarlierHandlerCalls = g_EarlierHandlerCalls + 1;
}

void SetEarlier(Earlier earlier)
{
    struct sigaction action { };
    action.sa_handler = earlier == Earlier::byDefault ? SIG_DFL
        : earlier == Earlier::ignored                 ? SIG_IGN
                                                      : CountCall;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGBUS, &action, nullptr);
}

void Deliver(Arrival arrival, const uint8_t* mapped)
{
    switch (arrival) {
    case Arrival::raised:
        ::raise(SIGBUS);
        break;
    case Arrival::killed:
        ::kill(::getpid(), SIGBUS);
        break;
    case Arrival::queuedWithAMappedAddress: {
        siginfo_t info {};
        info.si_signo = SIGBUS;
        info.si_code = SI_QUEUE;
        info.si_addr = const_cast<uint8_t*>(mapped + 4096);
        ::syscall(SYS_rt_tgsigqueueinfo, ::getpid(), ::gettid(), SIGBUS, &info);
        break;
    }
    case Arrival::faultOutsideTheMappings: {
        const int fd = MemoryFile(std::vector<uint8_t>(3 * 4096, 7));
        auto* own = static_cast<volatile uint8_t*>(::mmap(nullptr, 3 * 4096, PROT_READ, MAP_SHARED, fd, 0));
        if (own == MAP_FAILED || ::ftruncate(fd, 0) != 0)
            ::_exit(92);
        std::printf("%d\n", own[2 * 4096]);
        break;
    }
    }
}

// Exit codes of the child beyond the library's own.
constexpr int kLivedOn = 100; // a SIGBUS that should have ended the process did not
constexpr int kMappingDamaged = 101; // a sent SIGBUS was taken for a fault in the mapping
constexpr int kEarlierHandlerMissed = 102;

// Runs in a fresh process (the test program started again for this test alone), where the library
// has mapped nothing yet: the sanitizer's own SIGBUS handler is replaced before the first mapping.
[[noreturn]] void RunChild(const SignalCase& c)
{
    const rlimit noCore { 0, 0 };
    ::setrlimit(RLIMIT_CORE, &noCore);
    SetEarlier(c.earlier);
    const std::vector<uint8_t> jpeg = NoiseJpeg();
    const int fd = MemoryFile(jpeg);
    PLFileSource source;
    if (source.OpenFile(PathOf(fd).c_str()) != 0)
        ::_exit(93);
    Deliver(c.arrival, source.PeekBytes(1));
    if (!c.survives)
        ::_exit(kLivedOn);
    if (!source.IsIntact())
        ::_exit(kMappingDamaged);
    if (c.earlier == Earlier::handler && g_EarlierHandlerCalls != 1)
        ::_exit(kEarlierHandlerMissed);
    // The handler is still there: a file cut short is an error, the first time and the next.
    const int first = DecodeCutShort(jpeg);
    ::_exit(first == DecodeCutShort(jpeg) ? first : 94);
}

class ForeignSigbus : public testing::TestWithParam<SignalCase> { };

TEST_P(ForeignSigbus, HasTheEffectItWouldHaveHadWithoutTheLibrary)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const SignalCase& c = GetParam();
    if (c.survives)
        EXPECT_EXIT(RunChild(c), testing::ExitedWithCode(PL_ERR_END_OF_FILE), "");
    else
        EXPECT_EXIT(RunChild(c), testing::KilledBySignal(SIGBUS), "");
}

INSTANTIATE_TEST_SUITE_P(Arrivals, ForeignSigbus, testing::ValuesIn(kSignalCases),
    [](const testing::TestParamInfo<SignalCase>& info) { return std::string(info.param.name); });

} // namespace
