// The fixture of the dialog tests: the framework fixture (Qt application, scripted modal services,
// an application object) with the settings in a temporary file of the test's own, and the
// program options read afresh from it.
#pragma once

#include "app/dialogs/ProgramOptions.h"
#include "platform/qt/QtProfileStore.h"
#include "platform/qt/fw/Dialog.h"
#include "qt/fw/FrameworkFixture.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>

#include <filesystem>
#include <string>

namespace dialogstest {

class DialogsTest : public fwtest::FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        app->SetRegistryKey("Wendmoor"); // the settings file ORVANEL_SETTINGS names
        ProgramOptions::Instance().Reset();
    }
    void TearDown() override
    {
        FrameworkTest::TearDown();
        ProgramOptions::Instance().Reset();
    }

    static std::filesystem::path SettingsFile() { return Folder() / "Orvanel.conf"; }
    // A value as the settings file holds it, read past the program's store; empty when absent.
    static std::string Stored(const std::string& section, const std::string& entry)
    {
        QSettings file(QString::fromStdString(SettingsFile().string()), QSettings::IniFormat);
        return file.value(QString::fromStdString(section + "/" + entry)).toString().toStdString();
    }
    static bool IsStored(const std::string& section, const std::string& entry)
    {
        QSettings file(QString::fromStdString(SettingsFile().string()), QSettings::IniFormat);
        return file.contains(QString::fromStdString(section + "/" + entry));
    }

    // Grabs the open dialog to test-output/dialogs/<name>.png for a person to look at, and checks
    // that every static text, button and radio caption fits its control with this machine's fonts.
    static void Render(const fw::Dialog& dialog, const std::string& name)
    {
        QDialog* window = dialog.GetWindow();
        ASSERT_NE(window, nullptr);
        const std::filesystem::path file = qttest::OutputPath("dialogs") / (name + ".png");
        std::filesystem::create_directories(file.parent_path());
        EXPECT_TRUE(window->grab().toImage().save(QString::fromStdString(file.string())));
        for (const QLabel* label : window->findChildren<QLabel*>()) {
            if (label->text().isEmpty())
                continue;
            EXPECT_LE(label->heightForWidth(label->width()), label->height())
                << name << ": \"" << label->text().toStdString() << "\" wraps beyond its static";
        }
        for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
            const int needed = qobject_cast<const QPushButton*>(button) != nullptr
                ? button->fontMetrics().horizontalAdvance(button->text()) + 8
                : button->sizeHint().width();
            EXPECT_LE(needed, button->width())
                << name << ": \"" << button->text().toStdString() << "\" is clipped";
        }
    }
};

} // namespace dialogstest
