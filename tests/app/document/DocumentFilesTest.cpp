#include "DocumentFixture.h"
#include "app/document/DocumentHints.h"
#include "imaging/io/ModelledDisk.h"
#include "platform/qt/fw/CmdUI.h"
#include "platform/qt/fw/CommandIds.h"
#include "platform/win/RegularFile.h"
#include "records/CsvTextFile.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace doctest {
namespace {

using DocumentFiles = DocumentTest;

std::string CouldNotOpen(const std::string& path, int error)
{
    return "Could not open file: " + path + "\n" + std::strerror(error);
}

// A group layout on file, so that reading it visibly replaces the default portrait layout. Its
// pack units repeat as often as the document's packs say (none yet).
std::string GroupLayoutBytes()
{
    Layout group;
    group.SetLayoutType(1);
    group.GetRootUnit()->FindByName("GPacks")->SetRepeatCount(0);
    group.GetPaper().DiscardMargins();
    return LayoutBytes(group);
}

TEST_F(DocumentFiles, SaveAsWritesWhatTheLayoutWritesAndReadsBackTheSame)
{
    document->GetLayout().GetRootUnit()->FindByName("PImage")->MoveBy({ 17, 23 });
    document->UnitMoved(false);
    TakeHints();
    const std::string path = Path("proof.txt");
    modal->AnswerNextFile(win::IDOK, path);

    ASSERT_TRUE(document->OnFileSaveAs());

    const std::string bytes = FileBytes(path);
    EXPECT_EQ(bytes, LayoutBytes(document->GetLayout()));
    EXPECT_NE(bytes.find("\r\n"), std::string::npos);
    Layout reread;
    reread.GetPaper().DiscardMargins();
    std::istringstream in(bytes);
    ASSERT_TRUE(reread.ReadCsv(in));
    EXPECT_EQ(LayoutBytes(reread), bytes);
    EXPECT_EQ(document->GetPath(), path);
    EXPECT_FALSE(document->IsModified());
    EXPECT_EQ(win::AppContext::Instance().GetProfileString("Settings", "OrvanelFile", ""), path);
    EXPECT_EQ(TakeHints(), (Hints { hint::saveAttempted, hint::saveAttempted }));
    EXPECT_EQ(FolderNames(), std::vector<std::string> { "proof.txt" });
    const win::FileDialogRequest& asked = modal->FileDialogs().at(0);
    EXPECT_FALSE(asked.open);
    EXPECT_EQ(asked.defaultExt, "txt");
    EXPECT_EQ(asked.filter, "Orvanel File (*.txt)|*.txt||");
}

TEST_F(DocumentFiles, SaveIsOfferedOnlyForALayoutThatHasAFile)
{
    const auto saveEnabled = [this] {
        fw::CmdUI ui(fw::ID_FILE_SAVE);
        EXPECT_TRUE(ui.DoUpdate(*document));
        return ui.IsEnabled();
    };
    EXPECT_FALSE(saveEnabled());
    ASSERT_TRUE(document->WriteLayout(Path("a.txt")));
    EXPECT_TRUE(saveEnabled());
    // Save writes to the same file, without a dialog.
    document->UnitMoved(true);
    EXPECT_TRUE(document->OnFileSave());
    EXPECT_FALSE(document->IsModified());
}

// Where a save fails, and the calls that fail it (none: the path itself fails).
enum class Failure { missingFolder, pathIsFolder, diskFull, syncFails, renameFails, readOnlyFile };

struct SaveFailureCase {
    const char* name;
    Failure failure;
    int error;
};

void PrintTo(const SaveFailureCase& c, std::ostream* out)
{
    *out << c.name;
}

int g_writeError = 0;
int g_syncError = 0;
int g_renameError = 0;
int g_accessError = 0;

PLFileCalls FailingCalls()
{
    PLFileCalls calls = PLFileCalls::Posix();
    calls.access = [](const char* path, int mode) {
        if (g_accessError == 0)
            return PLFileCalls::Posix().access(path, mode);
        errno = g_accessError;
        return -1;
    };
    calls.write = [](int fd, const void* data, size_t n) -> ssize_t {
        if (g_writeError == 0)
            return PLFileCalls::Posix().write(fd, data, n);
        errno = g_writeError;
        return -1;
    };
    calls.sync = [](int fd) {
        if (g_syncError == 0)
            return PLFileCalls::Posix().sync(fd);
        errno = g_syncError;
        return -1;
    };
    calls.rename = [](const char* from, const char* to) {
        if (g_renameError == 0)
            return PLFileCalls::Posix().rename(from, to);
        errno = g_renameError;
        return -1;
    };
    return calls;
}

class SaveFailures : public DocumentTest, public ::testing::WithParamInterface<SaveFailureCase> {
    void TearDown() override
    {
        g_writeError = g_syncError = g_renameError = g_accessError = 0;
        DocumentTest::TearDown();
    }
};

const SaveFailureCase saveFailureCases[] = {
    { "MissingFolder", Failure::missingFolder, ENOENT },
    { "PathIsAFolder", Failure::pathIsFolder, EISDIR },
    { "DiskFull", Failure::diskFull, ENOSPC },
    // The data could not be brought to the disk: renaming would risk an empty file after a crash.
    { "DataNotOnTheDisk", Failure::syncFails, EIO },
    { "InterruptedAfterTheTemporaryFile", Failure::renameFails, EIO },
    // A layout file the user protected is not replaced (tests run as root: the check fails through
    // the seam).
    { "ReadOnlyFile", Failure::readOnlyFile, EACCES },
};

// The old file stays byte for byte; the document keeps its path and its modified flag.
TEST_P(SaveFailures, LeaveTheOldFileAndTheDocumentAsTheyWere)
{
    const SaveFailureCase& c = GetParam();
    const std::string old = Path("layout.txt");
    ASSERT_TRUE(document->WriteLayout(old));
    const std::string oldBytes = FileBytes(old);
    document->GetLayout().GetRootUnit()->FindByName("PImage")->MoveBy({ 5, 5 });
    document->UnitMoved(true);
    TakeHints();

    std::string target = old;
    if (c.failure == Failure::missingFolder)
        target = Path("missing/layout.txt");
    if (c.failure == Failure::pathIsFolder) {
        target = Path("folder");
        std::filesystem::create_directory(target);
    }
    if (c.failure == Failure::diskFull)
        g_writeError = c.error;
    if (c.failure == Failure::syncFails)
        g_syncError = c.error;
    if (c.failure == Failure::renameFails)
        g_renameError = c.error;
    if (c.failure == Failure::readOnlyFile)
        g_accessError = c.error;
    document->SetFileCalls(FailingCalls());
    modal->AnswerNextFile(win::IDOK, target);
    modal->AnswerNext(win::IDOK);

    EXPECT_FALSE(document->OnFileSaveAs());

    ASSERT_EQ(modal->Messages().size(), 1u);
    EXPECT_EQ(modal->Messages()[0].text, CouldNotOpen(target, c.error));
    EXPECT_EQ(FileBytes(old), oldBytes);
    EXPECT_EQ(document->GetPath(), old);
    EXPECT_EQ(document->GetFailedPath(), target);
    EXPECT_TRUE(document->IsModified());
    EXPECT_EQ(TakeHints(), (Hints { hint::saveAttempted, hint::saveAttempted }));
    EXPECT_EQ(win::AppContext::Instance().GetProfileString("Settings", "OrvanelFile", ""), "");
    const std::vector<std::string> left = FolderNames();
    EXPECT_EQ(left.size(), c.failure == Failure::pathIsFolder ? 2u : 1u) << "a temporary file was left";
}

INSTANTIATE_TEST_SUITE_P(Document, SaveFailures, ::testing::ValuesIn(saveFailureCases),
    [](const ::testing::TestParamInfo<SaveFailureCase>& info) { return std::string(info.param.name); });

// A real full disk: a child process whose files may not grow beyond a few bytes, and which SIGXFSZ
// would end (its default action): the save fails as on a full disk, and the process goes on.
TEST_F(DocumentFiles, ASaveBeyondTheFileSizeLimitKeepsTheOldFile)
{
    const std::string old = Path("layout.txt");
    const std::string oldBytes = "Custom Order Template,2.453\r\n";
    WriteBytes(old, oldBytes);
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_DFL);
        const rlimit limit { 64, 64 };
        setrlimit(RLIMIT_FSIZE, &limit);
        modal->AnswerNext(win::IDOK);
        const bool written = document->WriteLayout(old);
        const bool reported
            = modal->Messages().size() == 1 && modal->Messages()[0].text == CouldNotOpen(old, EFBIG);
        _exit(!written && reported && document->GetPath().empty() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the write failed silently or was not reported";
    EXPECT_EQ(FileBytes(old), oldBytes);
    EXPECT_EQ(FolderNames(), std::vector<std::string> { "layout.txt" });
}

// A layout written in place (its folder takes no new file) onto a disk without room for the longer
// new layout: the save is refused and reported, and the old file is kept.
TEST_F(DocumentFiles, ASaveInPlaceOnAFullDiskKeepsTheOldFile)
{
    const std::string old = Path("layout.txt");
    const std::string oldBytes = "Custom Order Template,2.453\r\n";
    WriteBytes(old, oldBytes);
    modelleddisk::Reset(0, true); // a full disk, in a folder that takes no new file
    document->SetFileCalls(modelleddisk::Calls());
    modal->AnswerNext(win::IDOK);

    EXPECT_FALSE(document->WriteLayout(old));

    ASSERT_EQ(modal->Messages().size(), 1u);
    EXPECT_EQ(modal->Messages()[0].text, CouldNotOpen(old, ENOSPC));
    EXPECT_EQ(FileBytes(old), oldBytes);
    EXPECT_EQ(FolderNames(), std::vector<std::string> { "layout.txt" });
}

TEST_F(DocumentFiles, OpenOfAMissingFileReportsItAndKeepsTheLayout)
{
    const std::string before = LayoutBytes(document->GetLayout());
    const std::string gone = Path("gone.txt");
    modal->AnswerNext(win::IDOK);
    document->OpenLayout(gone);
    ASSERT_EQ(modal->Messages().size(), 1u);
    EXPECT_EQ(modal->Messages()[0].text, CouldNotOpen(gone, ENOENT));
    EXPECT_EQ(TakeHints(), Hints { hint::openFailed });
    EXPECT_EQ(document->GetFailedPath(), gone);
    EXPECT_EQ(LayoutBytes(document->GetLayout()), before);
    EXPECT_EQ(document->GetPath(), "");
}

TEST_F(DocumentFiles, OpenThroughTheDialogReadsTheFileAndRemembersIt)
{
    const std::string path = Path("group.txt");
    WriteBytes(path, GroupLayoutBytes());
    win::AppContext::Instance().WriteProfileString("Settings", "OrvanelFile", "last.txt");
    modal->AnswerNextFile(win::IDOK, path);
    document->UnitMoved(false);
    document->SetModifiedFlag(win::FALSE);
    TakeHints();

    document->OnFileOpen();

    EXPECT_EQ(modal->FileDialogs().at(0).fileName, "last.txt");
    EXPECT_TRUE(modal->FileDialogs().at(0).open);
    EXPECT_EQ(document->GetLayout().GetLayoutType(), 1);
    EXPECT_EQ(LayoutBytes(document->GetLayout()), GroupLayoutBytes());
    EXPECT_EQ(document->GetPath(), path);
    EXPECT_EQ(win::AppContext::Instance().GetProfileString("Settings", "OrvanelFile", ""), path);
    EXPECT_EQ(TakeHints(), Hints { hint::layoutReplaced });
}

// Open reads the file on the current layout: what the file does not set keeps the current
// layout's values (an older version's missing fields, units it does not name), and a legacy
// order-form template places the units of the current type's tree. Reading the same file with
// the layout reader on a layout prepared the same way is the reference.
struct OpenOverCase {
    const char* name;
    void (*prepare)(Layout&);
    const char* file;
    int32_t type; // after the read
    bool portrait;
};

void PrintTo(const OpenOverCase& c, std::ostream* out)
{
    *out << c.name;
}

// Values that the files below do not set, on a layout of the type.
void Customise(Layout& layout, int32_t type)
{
    layout.SetLayoutType(type);
    layout.SetOverprintColour("123456");
    layout.SetOverprintDiagonal(false);
    layout.GetPaper().SetMarginTop(55);
    for (const char* name : { "PImage", "GImage", "GRefBoxes", "CGImage" })
        if (LayoutUnit* unit = layout.GetRootUnit()->FindByName(name)) {
            unit->SetSingleOnly(true);
            unit->SetRepeatCount(6);
        }
}

const OpenOverCase openOverCases[] = {
    { "LegacyTemplateOverAGroupLayout", [](Layout& l) { Customise(l, 1); }, "legacy-group.txt", 1, false },
    { "LegacyTemplateOverACombinedLayout",
        [](Layout& l) {
            Customise(l, 2);
            l.GetPaper().SetPortrait(false);
        },
        "legacy-portrait.txt", 2, true },
    { "OlderFileOverTheSameType", [](Layout& l) { Customise(l, 0); }, "v2000.txt", 0, false },
    { "OlderFileOverAnotherType", [](Layout& l) { Customise(l, 1); }, "v2000.txt", 0, false },
};

class OpenOver : public DocumentTest, public ::testing::WithParamInterface<OpenOverCase> { };

TEST_P(OpenOver, KeepsWhatTheFileDoesNotSet)
{
    const OpenOverCase& c = GetParam();
    const std::string path = std::string(ORVANEL_TEST_DATA) + "/layoutdoc/" + c.file;
    Layout reference;
    reference.GetPaper().DiscardMargins();
    c.prepare(reference);
    std::istringstream in(FileBytes(path));
    ASSERT_TRUE(reference.ReadCsv(in));
    for (const char* packs : { "PPacks", "GPacks", "CGPacks" }) // as the document counts no packs
        if (LayoutUnit* unit = reference.GetRootUnit()->FindByName(packs))
            unit->SetRepeatCount(0);
    c.prepare(document->GetLayout());
    TakeHints();

    ASSERT_TRUE(document->ReadLayout(path));

    EXPECT_EQ(document->GetLayout().GetLayoutType(), c.type);
    EXPECT_EQ(document->GetLayout().GetPaper().GetPortrait(), c.portrait);
    EXPECT_EQ(LayoutBytes(document->GetLayout()), LayoutBytes(reference));
    EXPECT_EQ(TakeHints(), Hints { hint::layoutReplaced });
}

INSTANTIATE_TEST_SUITE_P(Document, OpenOver, ::testing::ValuesIn(openOverCases),
    [](const ::testing::TestParamInfo<OpenOverCase>& info) { return std::string(info.param.name); });

struct RefusedFileCase {
    const char* name;
    std::string bytes;
    std::string message; // after the path, or the reader's own message for a later version
};

void PrintTo(const RefusedFileCase& c, std::ostream* out)
{
    *out << c.name;
}

class RefusedFiles : public DocumentTest, public ::testing::WithParamInterface<RefusedFileCase> { };

// A complete layout document of a portrait layout, as the program writes it.
const std::string& Whole()
{
    static const std::string bytes
        = FileBytes(std::string(ORVANEL_TEST_DATA) + "/layoutdoc/v2453-portrait.txt");
    return bytes;
}

// The document cut to its first bytes.
std::string Cut(std::size_t bytes)
{
    return Whole().substr(0, bytes);
}

// The document with its last unit lines left out.
std::string WithoutLastLines(int lines)
{
    std::string bytes = Whole();
    for (int i = 0; i < lines; ++i)
        bytes.erase(bytes.rfind("\r\n", bytes.size() - 3) + 2);
    return bytes;
}

// The document with the caption of its first unit as long as given.
std::string WithLongCaption(std::size_t length)
{
    std::string bytes = Whole();
    const std::size_t caption = bytes.find("\"Master\"", bytes.find("\"Master\"") + 1);
    return bytes.replace(caption + 1, 6, std::string(length, 'c'));
}

const std::string notALayout = " is not a layout file";
const std::string incomplete = " ends before its layout does: the file is incomplete";
const RefusedFileCase refusedFileCases[] = {
    { "NotALayout", "Pack Template,Desc\r\n1,2,3\r\n", notALayout },
    { "RandomBytes", std::string("\x8f\x02\xff\x00zq\x91,\x07\r\x1b", 11), notALayout },
    { "Empty", "", notALayout },
    { "VersionNan", "Custom Order Template,nan,\r\n" + Whole().substr(Whole().find("\"LayoutType")),
        notALayout },
    { "VersionInf", "Custom Order Template,inf,\r\nLayoutType,1\r\n", notALayout },
    { "VersionOutOfRange", "Custom Order Template,1e400,\r\nLayoutType,1\r\n", notALayout },
    { "VersionAWord", "Custom Order Template,KEY,\r\nLayoutType,1\r\n", notALayout },
    { "VersionEmpty", "Custom Order Template,,\r\nLayoutType,1\r\n", notALayout },
    { "LaterVersion", "Custom Order Template,9.5\r\nPaperMarginLeft,5\r\n",
        "The layout file was generated by a later version of the software\nSaved version is 9.5. This "
        "version is 2.453" },
    { "HeaderWithoutBody", Cut(Whole().find("\"LayoutType")), incomplete },
    { "CutTo60Bytes", Cut(60), incomplete },
    { "CutTo900Bytes", Cut(900), incomplete },
    { "CutInTheLastLine", Cut(Whole().size() - 9), incomplete },
    { "CutInsideTheLastQuotedValue", Cut(Whole().size() - 4), incomplete },
    { "FewerUnitLinesThanCounted", WithoutLastLines(2), incomplete },
    { "AFieldPastTheBound", WithLongCaption(kMaxCsvFieldBytes + 1), notALayout },
};

// A refused file swaps nothing in, sends nothing, and none of its margins reach the settings; the
// user is told why (the path first), so that a refused file is not taken for a slow one.
TEST_P(RefusedFiles, LeaveTheDocumentAndTheMarginSettingsAlone)
{
    const RefusedFileCase& c = GetParam();
    const std::string path = Path("refused.txt");
    WriteBytes(path, c.bytes);
    document->GetLayout().GetPaper().SetMarginLeft(77);
    document->UnitMoved(true);
    TakeHints();
    const std::string before = LayoutBytes(document->GetLayout());
    modal->AnswerNext(win::IDOK);

    EXPECT_FALSE(document->ReadLayout(path));

    ASSERT_EQ(modal->Messages().size(), 1u);
    const bool later = c.message.starts_with("The layout file");
    EXPECT_EQ(modal->Messages()[0].text, later ? c.message : path + c.message);
    EXPECT_EQ(LayoutBytes(document->GetLayout()), before);
    EXPECT_TRUE(TakeHints().empty());
    EXPECT_TRUE(document->IsModified());
    EXPECT_EQ(document->GetPath(), "");
    for (const char* entry : { "PaperMarginLeft", "PaperMarginRight", "PaperMarginTop", "PaperMarginBottom" })
        EXPECT_EQ(win::AppContext::Instance().GetProfileInt("Settings", entry, -1), -1) << entry;
}

// A whole file still opens, also without its last line end.
TEST_F(DocumentFiles, AWholeFileWithoutItsLastLineEndOpens)
{
    Layout layout;
    layout.GetRootUnit()->FindByName("ExtraTxt8")->SetCaption("last");
    layout.GetRootUnit()->FindByName("PPacks")->SetRepeatCount(0); // as the document counts no packs
    std::string bytes = LayoutBytes(layout);
    layout.GetPaper().DiscardMargins();
    const std::string path = Path("whole.txt");
    WriteBytes(path, bytes.substr(0, bytes.size() - 2));
    EXPECT_TRUE(document->ReadLayout(path));
    EXPECT_EQ(LayoutBytes(document->GetLayout()), bytes);
}

// A file a byte past the bound of a text file (a whole layout, then line ends) is refused as
// damaged; a long caption within the field bound still reads.
TEST_F(DocumentFiles, OnlyFilesWithinTheBoundsOpen)
{
    const std::string path = Path("long.txt");
    WriteBytes(path, WithLongCaption(kMaxCsvFieldBytes - 2));
    EXPECT_TRUE(document->ReadLayout(path));
    EXPECT_EQ(document->GetLayout().GetRootUnit()->GetCaption(), std::string(kMaxCsvFieldBytes - 2, 'c'));
    WriteBytes(path, Whole() + std::string(win::kMaxTextFileBytes + 1 - Whole().size(), '\n'));
    modal->AnswerNext(win::IDOK);
    EXPECT_FALSE(document->ReadLayout(path));
    ASSERT_EQ(modal->Messages().size(), 1u);
    EXPECT_EQ(modal->Messages()[0].text, path + notALayout);
}

// A FIFO, a device or a folder named as a layout is reported as a file that cannot be opened,
// without waiting on the FIFO or reading the device: in a child, which an alarm ends should it wait.
TEST_F(DocumentFiles, SpecialFilesAreRefusedWithoutWaiting)
{
    const std::string fifo = Path("layout.fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        ::alarm(120); // a guard only: a refusal takes no time at all
        struct Case {
            std::string path;
            int error;
        };
        int failures = 0;
        for (const Case& c :
            { Case { fifo, EINVAL }, Case { "/dev/zero", EINVAL }, Case { Path(""), EISDIR } }) {
            modal->AnswerNext(win::IDOK);
            failures += document->ReadLayout(c.path)
                || modal->Messages().back().text != CouldNotOpen(c.path, c.error)
                || document->GetFailedPath() != c.path;
        }
        _exit(failures);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

INSTANTIATE_TEST_SUITE_P(Document, RefusedFiles, ::testing::ValuesIn(refusedFileCases),
    [](const ::testing::TestParamInfo<RefusedFileCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace doctest
