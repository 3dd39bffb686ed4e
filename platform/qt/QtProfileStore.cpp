#include "platform/qt/QtProfileStore.h"

#include "platform/qt/Cp1252.h"
#include "platform/qt/FilePath.h"

#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

namespace fw {

namespace {
QString Key(std::string_view section, std::string_view entry)
{
    return FromCp1252(section) + '/' + FromCp1252(entry);
}

// A value edited by hand with a comma in it reads back as a list; it was one text.
QString AsText(const QVariant& value)
{
    return value.typeId() == QMetaType::QStringList ? value.toStringList().join(',') : value.toString();
}
} // namespace

QtProfileStore::QtProfileStore(const std::string& path)
    : settings_(std::make_unique<QSettings>(FromFilePath(path), QSettings::IniFormat))
{
}

QtProfileStore::~QtProfileStore()
{
    settings_->sync();
}

std::string QtProfileStore::DefaultPath(std::string_view key, std::string_view application)
{
    const QByteArray chosen = qgetenv("ORVANEL_SETTINGS");
    if (!chosen.isEmpty())
        return chosen.toStdString();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return ToFilePath(folder + '/' + FromCp1252(key) + '/' + FromCp1252(application) + ".conf");
}

std::string QtProfileStore::FileName() const
{
    return ToFilePath(settings_->fileName());
}

int QtProfileStore::GetProfileInt(std::string_view section, std::string_view entry, int defaultValue) const
{
    const QVariant value = settings_->value(Key(section, entry));
    if (!value.isValid())
        return defaultValue;
    return win::ParseProfileInt(AsText(value).toStdString(), defaultValue);
}

bool QtProfileStore::WriteProfileInt(std::string_view section, std::string_view entry, int value)
{
    return WriteProfileString(section, entry, std::to_string(value));
}

std::string QtProfileStore::GetProfileString(
    std::string_view section, std::string_view entry, std::string_view defaultValue) const
{
    const QVariant value = settings_->value(Key(section, entry));
    return value.isValid() ? ToCp1252(AsText(value)) : std::string(defaultValue);
}

bool QtProfileStore::WriteProfileString(
    std::string_view section, std::string_view entry, std::string_view value)
{
    settings_->setValue(Key(section, entry), FromCp1252(value));
    // The first write creates the file and tells whether it can be written; once it could, later
    // values stay in memory (other stores of this process see them) until Flush or destruction.
    // While the file cannot be written every write tries again, so each one reports the failure.
    if (!writable_) {
        settings_->sync();
        writable_ = settings_->status() == QSettings::NoError;
    }
    return writable_;
}

bool QtProfileStore::Flush()
{
    settings_->sync();
    writable_ = settings_->status() == QSettings::NoError;
    return writable_;
}

} // namespace fw
