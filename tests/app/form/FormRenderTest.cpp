#include "app/form/FormFixture.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>
#include <filesystem>

namespace formtest {
namespace {

class FormLook : public FormTest, public ::testing::WithParamInterface<int> { };

// The panel of each proof type, for a person to look at; every caption fits its control.
TEST_P(FormLook, RendersTidyWithEveryCaptionFitting)
{
    UseProofType(GetParam());
    QWidget* panel = form->GetPanel();
    ASSERT_NE(panel, nullptr);
    const char* names[] = { "portrait", "group", "combined" };
    const std::filesystem::path file = qttest::OutputPath("form") / (std::string(names[GetParam()]) + ".png");
    std::filesystem::create_directories(file.parent_path());
    EXPECT_TRUE(panel->grab().toImage().save(QString::fromStdString(file.string())));
    for (const QLabel* label : panel->findChildren<QLabel*>()) {
        if (!label->text().isEmpty()) {
            EXPECT_LE(label->heightForWidth(label->width()), label->height()) << label->text().toStdString();
        }
    }
    for (const QAbstractButton* button : panel->findChildren<QAbstractButton*>()) {
        const int needed = qobject_cast<const QPushButton*>(button) != nullptr
            ? button->fontMetrics().horizontalAdvance(button->text()) + 8
            : button->sizeHint().width();
        EXPECT_LE(needed, button->width()) << button->text().toStdString() << " is clipped";
    }
    EXPECT_GT(form->GetPanelWidth(), 0);
    EXPECT_EQ(form->GetPanelWidthWithMargin(), form->GetPanelWidth() + 40);
}

INSTANTIATE_TEST_SUITE_P(EveryProofType, FormLook, ::testing::Values(0, 1, 2));

} // namespace
} // namespace formtest
