#include "util/FileOperation.h"

#include "platform/win/FileFind.h"
#include "platform/win/LastError.h"
#include "util/DuplicateName.h"
#include "util/PathText.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

bool AcceptablePath(const std::string& path)
{
    return !path.empty() && path.front() == '/' && path.size() < PATH_MAX
        && path.find('\0') == std::string::npos;
}

bool HasWildcard(const std::string& name)
{
    return name.find_first_of("*?") != std::string::npos;
}

// The path with every folder leading to it resolved (links followed); the last component is
// kept as given, so that a link is itself the item, unless it is "." or "..".
fs::path ResolveFolders(const fs::path& path)
{
    std::error_code error;
    const fs::path name = path.filename();
    if (name.empty() || name == "." || name == "..")
        return fs::weakly_canonical(path, error);
    return fs::weakly_canonical(path.parent_path(), error) / name;
}

bool IsRoot(const fs::path& path)
{
    return path.empty() || path == path.root_path();
}

// Whether inner is the folder outer or lies below it (both resolved).
bool IsWithin(const fs::path& inner, const fs::path& outer)
{
    auto innerPart = inner.begin();
    for (auto outerPart = outer.begin(); outerPart != outer.end(); ++outerPart, ++innerPart) {
        if (outerPart->empty() && std::next(outerPart) == outer.end())
            break; // a trailing separator
        if (innerPart == inner.end() || *innerPart != *outerPart)
            return false;
    }
    return true;
}

void SetError(const std::error_code& error)
{
    win::SetLastError(static_cast<win::DWORD>(error.value() != 0 ? error.value() : EIO));
}

struct Sources {
    std::vector<fs::path> items;
    bool fromPattern = false;
};

// The entries of a folder in name order; a folder that cannot be read to its end sets the error
// (never throws).
std::vector<fs::path> SortedChildren(const fs::path& folder, std::error_code& error)
{
    std::vector<fs::path> children;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        children.push_back(it->path());
    std::sort(children.begin(), children.end());
    return children;
}

// The items named by the request's source, in name order; nothing when a plain path is missing
// (the last error set).
std::optional<Sources> FindSources(const std::string& source)
{
    const fs::path path(WithoutTrailingSlashes(source));
    const std::string pattern = path.filename().string();
    Sources sources;
    std::error_code error;
    if (!HasWildcard(pattern)) {
        const fs::path item = ResolveFolders(path);
        if (!fs::exists(fs::symlink_status(item, error))) {
            win::SetLastError(ENOENT);
            return std::nullopt;
        }
        sources.items.push_back(item);
        return sources;
    }
    sources.fromPattern = true;
    sources.items = SortedChildren(fs::weakly_canonical(path.parent_path(), error), error);
    if (error) {
        SetError(error);
        return std::nullopt;
    }
    std::erase_if(sources.items,
        [&](const fs::path& item) { return !win::WildcardMatch(pattern, item.filename().string()); });
    return sources;
}

std::size_t CountSteps(const fs::path& item)
{
    std::size_t steps = 1;
    std::error_code error;
    if (fs::is_directory(fs::symlink_status(item, error))) {
        for (auto it = fs::recursive_directory_iterator(item, error); !error && it != fs::end(it);
             it.increment(error))
            ++steps;
    }
    return steps;
}

// One run of a request: the progress, and whether anything failed or the user cancelled.
class Run {
public:
    Run(FileOperationProgress& progress, const DiscardItem& discard)
        : progress_(progress)
        , discard_(discard)
    {
    }

    FileOperationResult Result() const
    {
        if (cancelled_)
            return FileOperationResult::cancelled;
        return failed_ ? FileOperationResult::failed : FileOperationResult::done;
    }
    // False once the user has cancelled.
    bool Step(const fs::path& item)
    {
        cancelled_ = cancelled_ || !progress_.Step(item.string());
        return !cancelled_;
    }
    void Fail(const std::error_code& error)
    {
        SetError(error);
        failed_ = true;
    }
    void Fail(int code) { Fail(std::error_code(code, std::generic_category())); }

    void Copy(const fs::path& from, const fs::path& to);
    void Move(const fs::path& from, const fs::path& to);
    void Remove(const fs::path& item)
    {
        if (Step(item) && !discard_(item.string()))
            failed_ = true;
    }

private:
    // Copy without the item's step.
    void CopyItem(const fs::path& from, const fs::path& to);
    void CopyFolder(const fs::path& from, const fs::path& to);
    void CopyChildren(const fs::path& from, const fs::path& to);
    void CopyFile(const fs::path& from, const fs::path& to);
    void CopyLink(const fs::path& from, const fs::path& to);
    void ReplaceWith(const fs::path& to, const std::function<void(const fs::path&, std::error_code&)>& make);
    void MoveAcrossDevices(const fs::path& from, const fs::path& to);

    FileOperationProgress& progress_;
    const DiscardItem& discard_;
    bool failed_ = false;
    bool cancelled_ = false;
};

// The copy's contents reach the disk before its name replaces anything (or a move removes its
// source): after a crash the name holds the old file or the whole copy.
void SyncToDisk(const fs::path& file, std::error_code& error)
{
    const int descriptor = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0 || ::fsync(descriptor) != 0)
        error = std::error_code(errno, std::generic_category());
    if (descriptor >= 0)
        ::close(descriptor);
}

void Run::Copy(const fs::path& from, const fs::path& to)
{
    if (Step(from))
        CopyItem(from, to);
}

void Run::CopyItem(const fs::path& from, const fs::path& to)
{
    std::error_code error;
    const fs::file_status status = fs::symlink_status(from, error);
    if (fs::is_symlink(status))
        CopyLink(from, to);
    else if (fs::is_directory(status))
        CopyFolder(from, to);
    else if (fs::is_regular_file(status))
        CopyFile(from, to);
    else
        Fail(error ? error : std::make_error_code(std::errc::no_such_file_or_directory));
}

// A new folder takes the source's permissions; one that would not let its owner add to it (a
// read-only folder) is writable while its contents arrive and gets them once they have.
void Run::CopyFolder(const fs::path& from, const fs::path& to)
{
    std::error_code error;
    const fs::file_status existing = fs::symlink_status(to, error);
    if (fs::exists(existing) && !fs::is_directory(existing))
        return Fail(EEXIST);
    if (fs::exists(existing))
        return CopyChildren(from, to);
    if (!fs::create_directory(to, from, error))
        return Fail(error);
    constexpr fs::perms ownerAdds = fs::perms::owner_write | fs::perms::owner_exec;
    const fs::perms made = fs::symlink_status(to, error).permissions();
    if (error || (made & ownerAdds) == ownerAdds)
        return CopyChildren(from, to);
    fs::permissions(to, ownerAdds, fs::perm_options::add, error);
    CopyChildren(from, to);
    fs::permissions(to, made, error);
}

void Run::CopyChildren(const fs::path& from, const fs::path& to)
{
    std::error_code error;
    const std::vector<fs::path> children = SortedChildren(from, error);
    if (error)
        return Fail(error);
    for (const fs::path& child : children) {
        if (cancelled_)
            return;
        Copy(child, to / child.filename());
    }
}

// Makes the new item under a fresh name beside the target, then renames it over the target, so
// that whatever had the target's name (even a read-only file) stays until the new item is whole.
void Run::ReplaceWith(const fs::path& to, const std::function<void(const fs::path&, std::error_code&)>& make)
{
    std::string temporary = (to.parent_path() / (std::string(kReplacementNamePrefix) + "XXXXXX")).string();
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0)
        return Fail(errno);
    ::close(descriptor);
    std::error_code error;
    make(temporary, error);
    if (!error) {
        fs::rename(temporary, to, error);
        if (!error)
            return;
    }
    std::error_code ignored;
    fs::remove(temporary, ignored);
    Fail(error);
}

void Run::CopyFile(const fs::path& from, const fs::path& to)
{
    std::error_code error;
    if (fs::is_directory(fs::symlink_status(to, error)))
        return Fail(EISDIR);
    ReplaceWith(to, [&from](const fs::path& fresh, std::error_code& made) {
        if (fs::copy_file(from, fresh, fs::copy_options::overwrite_existing, made))
            SyncToDisk(fresh, made);
    });
}

void Run::CopyLink(const fs::path& from, const fs::path& to)
{
    std::error_code error;
    const fs::path linkTarget = fs::read_symlink(from, error);
    if (error)
        return Fail(error);
    if (fs::is_directory(fs::symlink_status(to, error)))
        return Fail(EISDIR);
    // The fresh name is reserved by an empty file, which gives way to the link.
    ReplaceWith(to, [&linkTarget](const fs::path& fresh, std::error_code& made) {
        if (fs::remove(fresh, made))
            fs::create_symlink(linkTarget, fresh, made);
    });
}

void Run::Move(const fs::path& from, const fs::path& to)
{
    std::error_code error;
    const fs::file_status fromStatus = fs::symlink_status(from, error);
    const fs::file_status toStatus = fs::symlink_status(to, error);
    if (fs::is_directory(fromStatus) && fs::is_directory(toStatus)) {
        // A folder onto a folder: its contents are merged in, then the emptied folder goes.
        if (!Step(from))
            return;
        const std::vector<fs::path> children = SortedChildren(from, error);
        for (const fs::path& child : children) {
            if (cancelled_)
                return;
            Move(child, to / child.filename());
        }
        if (!failed_ && !cancelled_ && !fs::remove(from, error))
            Fail(error);
        return;
    }
    if (fs::exists(toStatus) && fs::is_directory(fromStatus) != fs::is_directory(toStatus))
        return Fail(fs::is_directory(toStatus) ? EISDIR : ENOTDIR);
    if (!Step(from))
        return;
    fs::rename(from, to, error);
    if (error.value() == EXDEV)
        MoveAcrossDevices(from, to);
    else if (error)
        Fail(error);
}

// A copy (the item's step already taken by the move), then the source is removed only when all
// of it arrived.
void Run::MoveAcrossDevices(const fs::path& from, const fs::path& to)
{
    const bool failedBefore = failed_;
    failed_ = false;
    CopyItem(from, to);
    std::error_code error;
    if (!failed_ && !cancelled_ && fs::remove_all(from, error) == static_cast<std::uintmax_t>(-1))
        Fail(error);
    failed_ = failed_ || failedBefore;
}

bool AcceptableRequest(const FileOperationRequest& request)
{
    if (!AcceptablePath(request.source))
        return false;
    if (request.kind != FileOperationKind::remove && !AcceptablePath(request.target))
        return false;
    // Nothing deletes or moves the root folder, or everything in it.
    const fs::path source(WithoutTrailingSlashes(request.source));
    const bool pattern = HasWildcard(source.filename().string());
    std::error_code error;
    const fs::path resolved
        = pattern ? fs::weakly_canonical(source.parent_path(), error) : ResolveFolders(source);
    return request.kind == FileOperationKind::copy || !IsRoot(resolved);
}

// Where the item goes: into the target when that is a folder (or the source has wildcards),
// else to the target's own name.
fs::path DestinationOf(const fs::path& item, const fs::path& target, bool intoFolder)
{
    std::error_code error;
    return intoFolder || fs::is_directory(fs::status(target, error)) ? target / item.filename() : target;
}

} // namespace

bool DiscardForGood(const std::string& path)
{
    std::error_code error;
    if (fs::remove_all(path, error) != static_cast<std::uintmax_t>(-1) && !error)
        return true;
    SetError(error);
    return false;
}

FileOperationResult RunFileOperation(
    const FileOperationRequest& request, FileOperationProgress& progress, const DiscardItem& discard)
{
    if (!AcceptableRequest(request)) {
        win::SetLastError(EINVAL);
        return FileOperationResult::refused;
    }
    const std::optional<Sources> sources = FindSources(request.source);
    if (!sources)
        return FileOperationResult::failed;

    Run run(progress, discard);
    if (request.kind == FileOperationKind::remove) {
        progress.Start(sources->items.size());
        for (const fs::path& item : sources->items)
            run.Remove(item);
        return run.Result();
    }

    // Every destination is settled, and checked, before anything is touched.
    const fs::path target = ResolveFolders(WithoutTrailingSlashes(request.target));
    std::vector<std::pair<fs::path, fs::path>> work;
    std::size_t steps = 0;
    std::error_code error;
    for (const fs::path& item : sources->items) {
        fs::path destination = DestinationOf(item, target, sources->fromPattern);
        const bool folder = fs::is_directory(fs::symlink_status(item, error));
        if (folder && IsWithin(fs::weakly_canonical(destination, error), fs::weakly_canonical(item, error))) {
            win::SetLastError(EINVAL);
            return FileOperationResult::refused;
        }
        if (fs::exists(fs::symlink_status(destination, error))) {
            if (request.renameOnCollision)
                destination = FreeDuplicateName(destination.string(), false);
            else if (fs::equivalent(item, destination, error)) {
                win::SetLastError(EEXIST);
                return FileOperationResult::refused;
            }
        }
        steps += CountSteps(item);
        work.emplace_back(item, destination);
    }

    progress.Start(steps);
    for (const auto& [item, destination] : work) {
        if (run.Result() == FileOperationResult::cancelled)
            break;
        fs::create_directories(destination.parent_path(), error);
        if (request.kind == FileOperationKind::copy)
            run.Copy(item, destination);
        else
            run.Move(item, destination);
    }
    return run.Result();
}
