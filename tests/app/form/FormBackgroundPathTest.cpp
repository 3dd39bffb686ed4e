// The background image's path in the form: the file system's bytes, shown as UTF-8, or byte by
// byte as Windows-1252 when they are not UTF-8, and never refused as a text of the code page.
#include "app/form/FormFixture.h"

#include <QLineEdit>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>

namespace formtest {
namespace {

const std::string kName = "\xC3\xA9t\xC3\xA9.jpg"; // été.jpg in UTF-8

QString Shown(const COrvanelForm& form)
{
    return qobject_cast<QLineEdit*>(form.GetDlgItem(1020)->GetWidget())->text();
}

std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

// Types the text as the user would, with key events that carry characters beyond ASCII.
void TypePath(COrvanelForm& form, const QString& text)
{
    fw::Control* control = form.GetDlgItem(1020);
    control->SetFocus();
    auto* edit = qobject_cast<QLineEdit*>(control->GetWidget());
    edit->selectAll();
    for (const QChar character : text) {
        QTest::sendKeyEvent(QTest::Press, edit, Qt::Key_unknown, QString(character), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, edit, Qt::Key_unknown, QString(character), Qt::NoModifier);
    }
}

class FormBackgroundPath : public FormTest, public ::testing::WithParamInterface<bool> { };

// A picture named été.jpg, browsed to or typed, goes into the layout in UTF-8, survives a save and
// a reopening, and is drawn (the cache loads it by that name).
TEST_P(FormBackgroundPath, WithAccentsIsStoredInUtf8SavedReopenedAndDrawn)
{
    const bool browse = GetParam();
    const std::string picture = (Folder() / kName).string();
    std::filesystem::copy_file(
        std::filesystem::path(ORVANEL_TEST_DATA).parent_path().parent_path() / "data" / "PortraitSample.jpg",
        picture, std::filesystem::copy_options::overwrite_existing);
    const QString shown = QString::fromUtf8(picture.c_str());
    if (browse) {
        modal->AnswerNextFile(win::IDOK, picture);
        Click(1021);
    } else {
        TypePath(*form, shown);
    }
    EXPECT_EQ(Shown(*form), shown);
    Click(1016);
    EXPECT_TRUE(modal->Messages().empty());
    EXPECT_EQ(document->GetLayout().GetBackgroundImage(), picture);

    const std::string saved = (Folder() / "accents.csv").string();
    ASSERT_TRUE(document->WriteLayout(saved));
    EXPECT_NE(FileBytes(saved).find(picture), std::string::npos);
    document->GetLayout().SetBackgroundImage("");
    ASSERT_TRUE(document->ReadLayout(saved));
    form->LoadFromLayout();
    EXPECT_EQ(document->GetLayout().GetBackgroundImage(), picture);
    EXPECT_EQ(Shown(*form), shown);

    ImageResult result;
    EXPECT_TRUE(GetImageCache().GetImage(document->GetLayout().GetBackgroundImage(), result, true));
    EXPECT_EQ(result.severity, 0);
}

INSTANTIATE_TEST_SUITE_P(BrowsedOrTyped, FormBackgroundPath, ::testing::Bool(),
    [](const auto& info) { return std::string(info.param ? "browsed" : "typed"); });

// A layout whose background path holds byte E9 (é in Windows-1252, not UTF-8) shows été.jpg, and
// an Update with the field left alone keeps the very bytes, which a save writes back.
TEST_F(FormTest, ABackgroundPathThatIsNotUtf8IsShownByteByByteAndKept)
{
    const std::string path = "/photos/\xE9t\xE9.jpg";
    document->GetLayout().SetBackgroundImage(path);
    form->LoadFromLayout();
    EXPECT_EQ(Shown(*form), QStringLiteral(u"/photos/\u00E9t\u00E9.jpg"));
    Click(1016);
    EXPECT_TRUE(modal->Messages().empty());
    EXPECT_EQ(document->GetLayout().GetBackgroundImage(), path);
    const std::string saved = (Folder() / "latin.csv").string();
    ASSERT_TRUE(document->WriteLayout(saved));
    EXPECT_NE(FileBytes(saved).find(path), std::string::npos);
}

} // namespace
} // namespace formtest
