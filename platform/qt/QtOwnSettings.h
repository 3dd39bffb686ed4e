// Qt keeps settings of its own, in QtProject.conf of the user's configuration folder: the file
// dialog's history and last folder, the colour dialog's custom colours. The program keeps what it
// remembers in its settings file only, so while a QtOwnSettingsScratch lives, Qt's user-scope
// settings go to a scratch folder of its own, removed with it.
#pragma once

#include <memory>
#include <string>

class QTemporaryDir;

namespace fw {

class QtOwnSettingsScratch {
public:
    QtOwnSettingsScratch();
    ~QtOwnSettingsScratch();
    QtOwnSettingsScratch(const QtOwnSettingsScratch&) = delete;
    QtOwnSettingsScratch& operator=(const QtOwnSettingsScratch&) = delete;

    // Where Qt's own settings go meanwhile.
    std::string Folder() const;

private:
    std::unique_ptr<QTemporaryDir> folder_;
};

} // namespace fw
