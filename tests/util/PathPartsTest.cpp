#include "util/PathParts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct PartsCase {
    const char* path;
    const char* folder;
    const char* baseName;
    const char* extension;
};

std::string Part(void (*get)(std::string_view, std::string&), std::string_view path)
{
    std::string result = "unset";
    get(path, result);
    return result;
}

TEST(PathParts, SplitsFolderBaseNameAndExtension)
{
    const std::vector<PartsCase> cases = {
        { "/home/studio/report.txt", "/home/studio/", "report", ".txt" },
        { "/home/studio/archive.tar.gz", "/home/studio/", "archive.tar", ".gz" },
        { "/home/my.photos/readme", "/home/my.photos/", "readme", "" }, // the folder's dot is no extension
        { "/home/studio/.profile", "/home/studio/", ".profile", "" },
        { "/home/studio/", "/home/studio/", "", "" },
        { "report.txt", "", "report", ".txt" },
        { "/", "/", "", "" },
        { "", "", "", "" },
    };
    for (const PartsCase& c : cases) {
        const std::string name = std::string(c.baseName) + c.extension;
        EXPECT_EQ(Part(GetPathDrive, c.path), "") << c.path;
        EXPECT_EQ(Part(GetPathDriveAndFolder, c.path), c.folder) << c.path;
        EXPECT_EQ(Part(GetPathFolder, c.path), c.folder) << c.path;
        EXPECT_EQ(Part(GetPathBaseName, c.path), c.baseName) << c.path;
        EXPECT_EQ(Part(GetPathExtension, c.path), c.extension) << c.path;
        EXPECT_EQ(Part(GetPathFileName, c.path), name) << c.path;
        EXPECT_EQ(Part(GetPathWithoutDrive, c.path), c.path) << c.path;
    }
}

TEST(PathParts, SplitPathListsTheFolderNames)
{
    const std::vector<std::pair<const char*, std::vector<std::string>>> cases = {
        { "/home/studio/report.txt", { "home", "studio" } },
        { "/home/studio/", { "home", "studio" } },
        { "//server/share/proofs/sheet.csv", { "//server", "share", "proofs" } },
        { "relative/part/file", { "relative", "part" } },
        { "/file", {} },
        { "", {} },
    };
    for (const auto& [path, expected] : cases) {
        std::vector<std::string> parts = { "kept" };
        SplitPath(path, parts);
        std::vector<std::string> withKept = { "kept" };
        withKept.insert(withKept.end(), expected.begin(), expected.end());
        EXPECT_EQ(parts, withKept) << path;
    }
}

TEST(PathParts, RemovesOneTrailingSlashButKeepsTheRoot)
{
    const std::vector<std::pair<std::string, std::string>> cases
        = { { "/a/b/", "/a/b" }, { "/a/b//", "/a/b/" }, { "/a/b", "/a/b" }, { "/", "/" }, { "", "" } };
    for (auto [path, expected] : cases) {
        RemoveTrailingBackslash(path);
        EXPECT_EQ(path, expected);
    }
}

} // namespace
