// The about box: its caption, icon and texts, closed by OK, grabbed for a look.
#include "app/dialogs/AboutDlg.h"
#include "app/dialogs/DialogsFixture.h"
#include "qt/fw/DialogScript.h"

#include <QLabel>
#include <QPixmap>

#include <algorithm>
#include <vector>

namespace dialogstest {
namespace {

using AboutDlgTest = DialogsTest;

TEST_F(AboutDlgTest, ShowsTheIconNameAndMakerAndOkClosesIt)
{
    qttest::ScriptDialog<CAboutDlg>(*modal, CAboutDlg::IDD, [](CAboutDlg& d) {
        QDialog* window = d.GetWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->windowTitle(), "About Orvanel");
        std::vector<QString> texts;
        const QLabel* icon = nullptr;
        for (const QLabel* label : window->findChildren<QLabel*>()) {
            if (!label->text().isEmpty())
                texts.push_back(label->text());
            else if (!label->pixmap().isNull())
                icon = label;
        }
        std::sort(texts.begin(), texts.end());
        EXPECT_EQ(texts, (std::vector<QString> { "Copyright (C) Wendmoor", "Orvanel Version 1.0" }));
        ASSERT_NE(icon, nullptr) << "the program's icon";
        EXPECT_EQ(icon->pixmap().size(), QSize(32, 32));
        // The icon stands left of the texts, the button right of them.
        const QWidget* ok = d.GetDlgItem(win::IDOK)->GetWidget();
        for (const QLabel* label : window->findChildren<QLabel*>()) {
            if (label == icon)
                continue;
            EXPECT_GT(label->x(), icon->geometry().right()) << label->text().toStdString();
            EXPECT_LT(label->geometry().right(), ok->x()) << label->text().toStdString();
        }
        Render(d, "AboutDlg");
        qttest::Click(d, win::IDOK);
    });
    CAboutDlg dialog;
    EXPECT_EQ(dialog.DoModal(), win::IDOK);
    EXPECT_EQ(modal->Dialogs(), std::vector<win::UINT> { CAboutDlg::IDD });
}

} // namespace
} // namespace dialogstest
