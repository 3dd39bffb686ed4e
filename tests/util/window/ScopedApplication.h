// An application object for the length of one test, offscreen. The util tests make and end their
// own (the icon list's test checks what happens without one), so none may outlive its test.
#pragma once

#include <QApplication>

#include <memory>

class ScopedApplication {
public:
    ScopedApplication()
    {
        if (QCoreApplication::instance() != nullptr)
            return;
        if (qgetenv("QT_QPA_PLATFORM").isEmpty())
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    ScopedApplication(const ScopedApplication&) = delete;
    ScopedApplication& operator=(const ScopedApplication&) = delete;

private:
    int argc_ = 1;
    char name_[10] = "util_test";
    char* argv_[2] = { name_, nullptr };
    std::unique_ptr<QApplication> app_;
};
