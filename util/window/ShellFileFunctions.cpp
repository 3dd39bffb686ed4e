#include "util/window/ShellFileFunctions.h"

#include "records/SharedFunctions.h"
#include "util/DuplicateName.h"
#include "util/FileAttributes.h"
#include "util/FileOperation.h"
#include "util/window/FileProgressDialog.h"
#include "util/window/Trash.h"
#include "util/window/WaitCursor.h"

#include <QApplication>

#include <memory>
#include <optional>

namespace {

struct ShellOptions {
    bool showErrors = false;
    bool silent = false;
    bool waitCursor = false;
};

QString TitleOf(FileOperationKind kind)
{
    switch (kind) {
    case FileOperationKind::copy:
        return QStringLiteral("Copying");
    case FileOperationKind::move:
        return QStringLiteral("Moving");
    case FileOperationKind::remove:
        break;
    }
    return QStringLiteral("Deleting");
}

std::string VerbOf(FileOperationKind kind)
{
    switch (kind) {
    case FileOperationKind::copy:
        return "copy";
    case FileOperationKind::move:
        return "move";
    case FileOperationKind::remove:
        break;
    }
    return "delete";
}

// The progress window when there is one to show, and the test hook at every step.
class ShellProgress : public FileOperationProgress {
public:
    ShellProgress(FileOperationKind kind, bool silent)
    {
        if (!silent && qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr)
            dialog_ = std::make_unique<FileProgressDialog>(TitleOf(kind));
    }
    void Start(std::size_t steps) override
    {
        if (dialog_)
            dialog_->Start(steps);
    }
    bool Step(const std::string& path) override
    {
        if (dialog_)
            dialog_->ShowItem(path);
        const FileProgressHook& hook = CurrentFileProgressHook();
        if (hook && !hook(dialog_.get(), path))
            return false;
        return dialog_ ? dialog_->KeepGoing() : true;
    }

private:
    std::unique_ptr<FileProgressDialog> dialog_;
};

bool RunShellOperation(const FileOperationRequest& request, const ShellOptions& options)
{
    std::optional<WaitCursor> cursor;
    if (options.waitCursor)
        cursor.emplace();
    FileOperationResult result = FileOperationResult::refused;
    {
        ShellProgress progress(request.kind, options.silent);
        result = RunFileOperation(request, progress, MoveToTrash);
    }
    if (options.showErrors
        && (result == FileOperationResult::failed || result == FileOperationResult::refused)) {
        cursor.reset();
        ShowErrorMessage("Could not " + VerbOf(request.kind) + " " + request.source, "");
    }
    return result == FileOperationResult::done;
}

FileOperationRequest Request(FileOperationKind kind, const std::string& source, const std::string& target,
    bool renameOnCollision = false)
{
    return { kind, source, target, renameOnCollision };
}

} // namespace

bool ShellCopyFiles(const std::string& source, const std::string& target, bool showErrors)
{
    return RunShellOperation(
        Request(FileOperationKind::copy, source, target), { .showErrors = showErrors, .waitCursor = true });
}

bool ShellMoveFiles(const std::string& source, const std::string& target, bool showErrors)
{
    return RunShellOperation(
        Request(FileOperationKind::move, source, target), { .showErrors = showErrors, .waitCursor = true });
}

bool ShellCopyFilesEx(
    const std::string& source, const std::string& target, bool renameOnCollision, bool silent)
{
    return RunShellOperation(
        Request(FileOperationKind::copy, source, target, renameOnCollision), { .silent = silent });
}

bool ShellMoveFilesEx(
    const std::string& source, const std::string& target, bool renameOnCollision, bool silent)
{
    return RunShellOperation(
        Request(FileOperationKind::move, source, target, renameOnCollision), { .silent = silent });
}

bool ShellDeleteFiles(const std::string& path, bool showErrors, bool contentsOnly)
{
    std::string source = path;
    // An empty path stays empty (and is refused): it must not become "/*".
    if (contentsOnly && !source.empty()) {
        if (source.back() != '/')
            source += '/';
        source += '*';
    }
    return RunShellOperation(Request(FileOperationKind::remove, source, {}), { .showErrors = showErrors });
}

bool ShellDeleteFilesQuiet(const std::string& path, bool clearReadOnlyFirst)
{
    if (clearReadOnlyFirst)
        ClearReadOnly(path);
    return RunShellOperation(
        Request(FileOperationKind::remove, path, {}), { .silent = true, .waitCursor = true });
}

bool DuplicateFileUnderFreeName(const std::string& path, bool markBeforeExtension)
{
    return ShellCopyFilesEx(path, FreeDuplicateName(path, markBeforeExtension), true, false);
}
