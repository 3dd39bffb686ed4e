// The progress window of file copies, moves and deletions: the item being handled, a bar, and a
// Cancel button that stops the operation after the item in hand. It is shown while the work runs
// in the calling thread, which keeps the window alive by processing events at every step.
#pragma once

#include "util/FileOperation.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <string>

class QLabel;
class QProgressBar;
class QPushButton;

class FileProgressDialog : public QDialog, public FileOperationProgress {
public:
    explicit FileProgressDialog(const QString& title, QWidget* parent = nullptr);

    void Start(std::size_t steps) override;
    bool Step(const std::string& path) override { return (ShowItem(path), KeepGoing()); }
    // The two halves of a step: the item and the bar updated, then the events handled (a click
    // on Cancel among them); false once Cancel was pressed.
    void ShowItem(const std::string& path);
    bool KeepGoing();

    QPushButton* CancelButton() const { return cancel_; }
    bool WasCancelled() const { return cancelled_; }

private:
    QLabel* item_;
    QProgressBar* bar_;
    QPushButton* cancel_;
    bool cancelled_ = false;
    int done_ = 0;
};

// Called at every step of the shell-style file functions, with their progress window (null when
// the operation is silent or there is no application window to show) and the item about to be
// handled; false cancels the operation before that item. Tests install one for as long as a
// ScopedFileProgressHook lives, to press Cancel or change the files midway.
using FileProgressHook = std::function<bool(FileProgressDialog* dialog, const std::string& path)>;

class ScopedFileProgressHook {
public:
    explicit ScopedFileProgressHook(FileProgressHook hook);
    ~ScopedFileProgressHook();
    ScopedFileProgressHook(const ScopedFileProgressHook&) = delete;
    ScopedFileProgressHook& operator=(const ScopedFileProgressHook&) = delete;

private:
    FileProgressHook previous_;
};

// The hook installed, or an empty function.
const FileProgressHook& CurrentFileProgressHook();
