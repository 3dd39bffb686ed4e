#include "util/ShareEnumerator.h"
#include "util/ShareLists.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A folder of share files of the test's own, removed afterwards.
class ShareFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() / ("orvanel-shares-" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "usershares");
        fs::create_directories(root / "exports.d");
    }
    void TearDown() override { fs::remove_all(root); }

    void Write(const fs::path& relative, const std::string& text) const
    {
        std::ofstream(root / relative, std::ios::binary) << text;
    }
    ShareSources Sources() const
    {
        return { (root / "smb.conf").string(), (root / "usershares").string(), (root / "exports").string(),
            (root / "exports.d").string() };
    }
    fs::path root;
};

std::vector<std::string> Paths(const ShareEnumerator& shares)
{
    std::vector<std::string> paths;
    for (const auto& share : shares.GetShares())
        paths.push_back(share.path);
    return paths;
}

TEST_F(ShareFiles, FindsTheSharesOfEverySource)
{
    Write("smb.conf",
        "[global]\n   workgroup = STUDIO\n   path = /srv/global\n"
        "[homes]\n   path = /home\n"
        "[printers]\n   path = /var/spool/samba\n   printable = yes\n"
        "[Photos]\n   Path = /srv/photos/\n   comment = the studio's photographs\n"
        "; [Old]\n#   path = /srv/old\n"
        "[admin$]\n   path = /srv/admin\n"
        "[perUser]\n   path = /srv/users/%U\n"
        "[offline]\n   path = /srv/offline\n   available = no\n"
        "[laser]\n   path = /var/spool/laser\n   print ok = Yes\n"
        "[continued]\n   path = /srv/\\\n   continued\n"
        "[relative]\n   path = srv/relative\n"
        "[nopath]\n   comment = nothing\n");
    Write("usershares/proofs", "#VERSION 2\npath=/home/studio/proofs\ncomment=\nusershare_acl=S-1-1-0:R,\n");
    Write("usershares/hidden$", "path=/home/studio/hidden\n");
    Write("exports",
        "# comment\n/srv/nfs  192.168.1.0/24(rw,sync)\n\"/srv/with space\" *(ro)\n"
        "/srv/octal\\040name *(ro)\nrelative *(ro)\n/srv/cont \\\n   *(ro)\n");
    Write("exports.d/extra.exports", "/srv/extra *(ro)\n");
    Write("exports.d/ignored.txt", "/srv/ignored *(ro)\n");

    const ShareEnumerator shares(Sources());
    EXPECT_EQ(Paths(shares),
        (std::vector<std::string> { "/srv/photos", "/var/spool/laser", "/srv/continued",
            "/home/studio/proofs", "/srv/nfs", "/srv/with space", "/srv/octal name", "/srv/cont",
            "/srv/extra" }));
    EXPECT_EQ(shares.GetShares()[0].name, "Photos");
    EXPECT_EQ(shares.GetShares()[1].type, ShareEnumerator::ShareType::PrintQueue);
    EXPECT_EQ(shares.GetShares()[0].type, ShareEnumerator::ShareType::Disk);
}

TEST_F(ShareFiles, IsSharedMatchesTheSharePathExactly)
{
    Write("smb.conf", "[photos]\npath = /srv/photos\n");
    const ShareEnumerator shares(Sources());
    struct Case {
        const char* path;
        bool shared;
    };
    for (const Case c :
        { Case { "/srv/photos", true }, { "/srv/photos/", true }, { "/srv/photos/2024", false },
            { "/srv/photos2", false }, { "/srv/Photos", false }, { "/srv", false }, { "", false } })
        EXPECT_EQ(shares.IsShared(c.path), c.shared) << c.path;
}

TEST_F(ShareFiles, RefreshReadsTheFilesAgain)
{
    ShareEnumerator shares(Sources());
    EXPECT_FALSE(shares.IsShared("/srv/photos"));
    Write("exports", "/srv/photos *(ro)\n");
    EXPECT_FALSE(shares.IsShared("/srv/photos"));
    shares.Refresh();
    EXPECT_TRUE(shares.IsShared("/srv/photos"));
    fs::remove(root / "exports");
    shares.Refresh();
    EXPECT_TRUE(shares.GetShares().empty());
}

TEST_F(ShareFiles, HostileFilesNeverListAShareTwiceOrCrash)
{
    // The same path from every source, a line far longer than any share line, a path that is a
    // folder instead of a file, and an unterminated section header.
    const std::string longLine(share_lists::kMaxLineLength * 3, 'x');
    Write("smb.conf",
        "[a]\npath = /srv/same\n" + longLine + "\n[b]\npath = /srv/same/\n[c\npath = /srv/c\n"
            + "[d]\npath = /srv/" + longLine + "\n");
    Write("usershares/same", "path=/srv/same\n");
    Write("exports", "/srv/same *(ro)\n/srv/same *(rw)\n" + longLine + "\n/srv/after *(ro)");
    fs::create_directories(root / "exports.d" / "folder.exports");
    const ShareEnumerator shares(Sources());
    EXPECT_EQ(Paths(shares), (std::vector<std::string> { "/srv/same", "/srv/after" }));
    EXPECT_EQ(shares.GetShares()[0].name, "a");
}

TEST_F(ShareFiles, MissingFilesGiveNoShares)
{
    const ShareEnumerator shares({ (root / "none.conf").string(), (root / "none").string(), "", "" });
    EXPECT_TRUE(shares.GetShares().empty());
    EXPECT_FALSE(shares.IsShared("/"));
}

TEST(ShareLists, AnUnterminatedSectionHeaderEndsTheSectionBeforeIt)
{
    // The section before has a name too long to be kept inside the string itself, so that a
    // header written into the ended section would write into freed memory.
    std::istringstream in("[a section with a long name]\npath = /srv/long\n[broken\npath = /srv/broken\n"
                          "[after]\npath = /srv/after\n");
    std::vector<std::string> names;
    for (const auto& share : share_lists::ReadSambaConfig(in))
        names.push_back(share.name);
    EXPECT_EQ(names, (std::vector<std::string> { "a section with a long name", "after" }));
}

TEST(ShareLists, BoundedLinesEndAtLineFeedsAndDropCarriageReturns)
{
    std::istringstream in("one\r\ntwo\n\nthree");
    std::string line;
    std::vector<std::string> lines;
    while (share_lists::ReadBoundedLine(in, line))
        lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string> { "one", "two", "", "three" }));
}

} // namespace
