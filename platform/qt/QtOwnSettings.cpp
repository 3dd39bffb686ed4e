#include "platform/qt/QtOwnSettings.h"

#include "platform/qt/FilePath.h"

#include <QSettings>
#include <QTemporaryDir>

namespace fw {

namespace {
// A folder no one can make, not even root (it would lie below a device file): settings written
// there are lost, never written anywhere else.
const QString nowhere = QStringLiteral("/dev/null/qt-settings");

void PointQtSettingsAt(const QString& folder)
{
    for (const QSettings::Format format : { QSettings::NativeFormat, QSettings::IniFormat })
        QSettings::setPath(format, QSettings::UserScope, folder);
}
} // namespace

QtOwnSettingsScratch::QtOwnSettingsScratch()
    : folder_(std::make_unique<QTemporaryDir>())
{
    PointQtSettingsAt(folder_->isValid() ? folder_->path() : nowhere);
}

QtOwnSettingsScratch::~QtOwnSettingsScratch()
{
    // What Qt writes later (the colour dialog's custom colours at process exit) is dropped.
    PointQtSettingsAt(nowhere);
}

std::string QtOwnSettingsScratch::Folder() const
{
    return ToFilePath(folder_->path());
}

} // namespace fw
