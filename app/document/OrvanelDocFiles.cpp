// Reading and writing the layout file.
#include "app/document/OrvanelDoc.h"

#include "app/document/DocumentHints.h"
#include "app/document/UndoManager.h"
#include "imaging/io/PLFileSink.h"
#include "imaging/io/PLTextException.h"
#include "imaging/wrapper/ImageCache.h"
#include "platform/win/LastError.h"
#include "records/CsvTextFile.h"
#include "records/SharedFunctions.h"

#include <cerrno>
#include <sstream>
#include <utility>

namespace {
// The message box of a file that could not be opened or written, with the system's text.
void ReportFileError(const std::string& prefix, const std::string& path, int error)
{
    win::SetLastError(static_cast<win::DWORD>(error != 0 ? error : EIO));
    ShowErrorMessage(prefix + path, "");
}
} // namespace

bool COrvanelDoc::ReadLayout(const std::string& path)
{
    // Only a regular file is read, whole, within the bounds of a CSV text file: a folder, a FIFO
    // or a device cannot be opened; a file past the bounds is damaged.
    CsvTextFile file = LoadCsvTextFile(path);
    if (file.status == CsvTextFileStatus::cannotOpen) {
        ReportFileError("Could not open file: ", path, file.error);
        failedPath_ = path;
        UpdateViews(hint::openFailed);
        return false;
    }
    if (file.status == CsvTextFileStatus::damaged) {
        GetTheApp().MessageBox(path + " is not a layout file", win::MB_OK);
        return false;
    }
    std::istringstream in(std::move(file.bytes));
    // A file is read into a whole copy of the current layout: what the file does not set (the
    // fields an older version lacks, units it does not name, the type and tree a legacy
    // template places its units on) keeps the current layout's values, and a refused file
    // leaves nothing half-read behind; the copy's margins then never reach the settings. A file
    // from a later version has said so already; one that is not a layout, or ends before its
    // layout does, is said here.
    auto read = layout_->Duplicate();
    const LayoutFileStatus status = read->ReadDocument(in);
    if (status != LayoutFileStatus::read) {
        read->GetPaper().DiscardMargins();
        if (status == LayoutFileStatus::notALayout)
            GetTheApp().MessageBox(path + " is not a layout file", win::MB_OK);
        else if (status == LayoutFileStatus::cutShort)
            GetTheApp().MessageBox(path + " ends before its layout does: the file is incomplete", win::MB_OK);
        return false;
    }
    layout_.swap(read);
    read.reset();
    path_ = path;
    failedPath_.clear();
    FinishSamplePrefetch();
    GetImageCache().Reset();
    SetModifiedFlag(win::FALSE);
    // Steps recorded on the old layout would move units of this one.
    GetUndoManager().Clear();
    UpdatePackCounts();
    LoadSampleImages();
    UpdateViews(hint::layoutReplaced);
    return true;
}

win::BOOL COrvanelDoc::OnOpenDocument(std::string_view path)
{
    return ReadLayout(std::string(path)) ? win::TRUE : win::FALSE;
}

int COrvanelDoc::ReplaceFile(const std::string& path, const std::string& bytes) const
{
    PLFileSink sink(fileCalls_);
    errno = 0;
    if (sink.OpenFile(path.c_str(), static_cast<int64_t>(bytes.size())) != 0)
        return errno != 0 ? errno : EIO;
    try {
        sink.WriteBytes(static_cast<int>(bytes.size()), reinterpret_cast<const uint8_t*>(bytes.data()));
        sink.Close();
    } catch (const PLTextException&) {
        return errno != 0 ? errno : EIO;
    }
    return 0;
}

bool COrvanelDoc::WriteLayout(const std::string& path)
{
    std::ostringstream out;
    int error = layout_->WriteCsv(out) ? 0 : EIO;
    if (error == 0)
        error = ReplaceFile(path, out.str());
    const bool written = error == 0;
    if (written) {
        path_ = path;
        failedPath_.clear();
        SetModifiedFlag(win::FALSE);
    } else {
        ReportFileError("Could not open file: ", path, error);
        failedPath_ = path;
    }
    UpdateViews(hint::saveAttempted);
    return written;
}
