// The catalogue and the pack template named by a path that is no ordinary file, or a file past the
// bounds of a CSV text file: refused without waiting and without reading it, the way a file that
// cannot be opened or a damaged file is refused.
#include "model/PackTemplateFile.h"
#include "model/ProductCatalogFile.h"
#include "platform/win/RegularFile.h"
#include "records/CsvTextFile.h"
#include "util/TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

enum class Outcome { read, cannotOpen, damaged };

struct Reader {
    const char* name;
    const char* shipped; // the shipped file, which reads
    Outcome (*read)(const std::string& path);
};

Outcome ReadCatalogue(const std::string& path)
{
    ProductCatalog catalog;
    switch (ReadProductCatalogFile(path, catalog)) {
    case CatalogFileStatus::read:
        return Outcome::read;
    case CatalogFileStatus::cannotOpen:
        return Outcome::cannotOpen;
    default:
        return Outcome::damaged;
    }
}

// A damaged template leaves the collection's packs as they were.
Outcome ReadTemplate(const std::string& path)
{
    PacksCollection packs;
    packs.AddPack(std::make_shared<PackDetails>());
    switch (ReadPackTemplateFile(path, packs)) {
    case PackTemplateStatus::read:
        return Outcome::read;
    case PackTemplateStatus::cannotOpen:
        return Outcome::cannotOpen;
    default:
        return packs.GetPackCount() == 1 ? Outcome::damaged : Outcome::read;
    }
}

const Reader kReaders[] = {
    { "catalogue", ORVANEL_TEST_DATA "/../../data/ProductCatalog.csv", ReadCatalogue },
    { "pack template", ORVANEL_TEST_DATA "/../../data/Packs.csv", ReadTemplate },
};

std::string Shipped(const Reader& reader)
{
    std::ifstream in(reader.shipped, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

// The shipped file with its first field that holds text replaced by a longer one.
std::string WithLongField(const Reader& reader, std::size_t length)
{
    std::string bytes = Shipped(reader);
    const std::string name = reader.read == ReadCatalogue ? "Orvanel Portrait Studio" : "Pack A";
    const std::size_t at = bytes.find("\"" + name + "\"");
    return bytes.replace(at + 1, name.size(), std::string(length, 'x'));
}

void Write(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// A FIFO nobody writes to and /dev/zero: opening the one used to wait for ever, reading the other
// to fill the memory. Both are refused as files that cannot be opened, in a child that an alarm
// ends should it wait.
TEST(TextFileBounds, SpecialFilesAreRefusedWithoutWaitingOrReading)
{
    const TempFolder folder;
    const std::string fifo = folder / "file.fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        ::alarm(120); // a guard only: a refusal takes no time at all
        int failures = 0;
        for (const Reader& reader : kReaders) {
            for (const std::string& path : { fifo, std::string("/dev/zero"), folder.Path().string() }) {
                errno = 0;
                const Outcome outcome = reader.read(path);
                failures += outcome != Outcome::cannotOpen || errno == 0;
            }
        }
        _exit(failures);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

// A field or a file longer than any real one is refused as a damaged file, before anything of it is
// read; the shipped files, and fields up to the bound, read.
TEST(TextFileBounds, FilesPastTheBoundsAreRefusedAsDamaged)
{
    const TempFolder folder;
    for (const Reader& reader : kReaders) {
        SCOPED_TRACE(reader.name);
        const std::string path = folder / "file.csv";
        EXPECT_EQ(reader.read(reader.shipped), Outcome::read);
        Write(path, WithLongField(reader, kMaxCsvFieldBytes - 2)); // quotes count: within the bound
        EXPECT_EQ(reader.read(path), Outcome::read);
        Write(path, WithLongField(reader, kMaxCsvFieldBytes + 1));
        EXPECT_EQ(reader.read(path), Outcome::damaged);
        // The shipped file followed by a run of line ends, a byte past the file bound in all.
        const std::string shipped = Shipped(reader);
        Write(path, shipped + std::string(win::kMaxTextFileBytes + 1 - shipped.size(), '\n'));
        EXPECT_EQ(reader.read(path), Outcome::damaged);
    }
}

// Fields are taken as the CSV reader takes them: quoted commas and line ends do not end one, a
// doubled quote stays inside it.
TEST(TextFileBounds, FieldLengthsFollowTheQuotes)
{
    struct Case {
        std::string text;
        std::size_t longest; // bytes of the longest field, quotes included
    };
    const Case cases[] = {
        { "ab,cde\r\nf", 3 },
        { "\"a,b\r\nc\",d", 8 },
        { "\"a\"\"b\",c", 6 },
        { "a\xC2\xB8"
          "b,c",
            4 },
        { "", 0 },
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(CsvFieldsWithin(c.text, c.longest)) << c.text;
        if (c.longest > 0) {
            EXPECT_FALSE(CsvFieldsWithin(c.text, c.longest - 1)) << c.text;
        }
    }
}

} // namespace
