#include "util/window/SystemImageList.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

TEST(SystemImageList, GivesFolderAndFileIconsOffscreenWithoutATheme)
{
    const fs::path root = fs::temp_directory_path() / ("orvanel-icons-" + std::to_string(::getpid()));
    fs::create_directories(root / "folder");
    std::ofstream(root / "notes.txt") << "text";
    std::ofstream(root / "layout.csv") << "a,b";

    // The kinds are known without an application object; icons need one.
    SystemImageList list;
    const int folder = list.GetIconIndex((root / "folder").string());
    const int text = list.GetIconIndex((root / "notes.txt").string());
    EXPECT_EQ(list.GetIconIndex(root.string()), folder);
    EXPECT_NE(text, folder);
    EXPECT_EQ(list.GetIconIndex((root / "notes.txt").string()), text);
    EXPECT_TRUE(list.GetIcon(folder).isNull());

    {
        int argc = 1;
        char name[] = "icons";
        char* argv[] = { name, nullptr };
        QApplication app(argc, argv);
        for (const int index : { folder, text, list.GetIconIndex((root / "layout.csv").string()) }) {
            const QIcon icon = list.GetIcon(index);
            ASSERT_FALSE(icon.isNull()) << index;
            const QImage image = icon.pixmap(16, 16).toImage();
            EXPECT_FALSE(image.isNull());
            EXPECT_GT(image.width(), 0);
        }
        EXPECT_TRUE(list.GetIcon(-1).isNull());
        EXPECT_TRUE(list.GetIcon(list.GetImageCount()).isNull());
    }
    // The icons went with the application object; the indexes stay.
    EXPECT_TRUE(list.GetIcon(folder).isNull());
    EXPECT_EQ(list.GetIconIndex((root / "folder").string()), folder);
    fs::remove_all(root);
}

} // namespace
