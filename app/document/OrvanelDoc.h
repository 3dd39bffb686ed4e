// The application's one document: the layout being edited, the pack template, the layout file's
// path, and all file work of the shell (new, open, save, the pack template, the sample pictures).
// It tells the drawing view and the editing form what changed through the hints of
// DocumentHints.h and carries the Save and Undo commands.
#pragma once

#include "imaging/io/PLFileCalls.h"
#include "model/Layout.h"
#include "model/PacksCollection.h"
#include "platform/qt/fw/CmdUI.h"
#include "platform/qt/fw/Document.h"

#include <cstdint>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class COrvanelDoc : public fw::Document {
public:
    // A default portrait layout; the undo limit becomes 20. The sample pictures wait for the first
    // drawing.
    COrvanelDoc();
    ~COrvanelDoc() override;

    // A fresh default layout, after the save question when the layout was changed. The modified
    // flag keeps its value; Cancel (or a save that did not happen) changes nothing.
    win::BOOL OnNewDocument() override;
    // The save question before the layout is replaced or the frame closes: false when the user
    // cancelled or the save did not happen; otherwise the modified flag is cleared.
    win::BOOL SaveModified() override;
    win::BOOL DoFileSave() override { return OnFileSave() ? win::TRUE : win::FALSE; }
    void Serialize(win::Archive&) override { }
    // A layout file named on the command line is read as File Open reads it (ReadLayout, with its
    // messages): false when it could not be, which ends start-up.
    win::BOOL OnOpenDocument(std::string_view path) override;

    // Opens the layout file at path, or the one the user chooses when path is empty, after the
    // save question.
    void OpenLayout(const std::string& path);
    // Reads the file in place of the current layout; a file that cannot be read changes nothing.
    bool ReadLayout(const std::string& path);
    // Writes the layout through a temporary file renamed over the target; a failure is reported
    // and leaves the old file, the path and the modified flag as they were.
    bool WriteLayout(const std::string& path);

    void OnFileOpen();
    // Each reports whether the layout was written.
    bool OnFileSave();
    bool OnFileSaveAs();
    void OnUpdateFileSave(fw::CmdUI& ui);
    void OnEditUndo();
    void OnUpdateEditUndo(fw::CmdUI& ui);

    // True when a pack template was read from the file the options name.
    bool LoadPackTemplate();
    // The numbers of portrait and group packs into the repeat counts of the pack units.
    void UpdatePackCounts();
    // Loads the sample pictures of the layout type into the image cache, cropped to their units.
    // A sample is decoded for the screen at 1/kSampleDisplayScale of its size unless a finer
    // scale was asked for (ReloadSampleImage). Half size still has the six pixels for each drawn
    // one that the first frame needs to look as the full decode does (kSampleOversampling), so
    // the first drawing decodes once.
    void LoadSampleImages();
    static constexpr int kSampleDisplayScale = 2;
    // Decodes the sample picture again at 1/scale of its size (1 for full size, as printing needs)
    // and crops it to its unit again; the picture held so far is let go. The other sample is left
    // as it is.
    void ReloadSampleImage(const std::string& path, int scale);
    // Starts loading the sample pictures on a thread of its own, so that at start-up they are
    // decoded while the window is being shown. Every later use of the samples (loading them again,
    // drawing) waits for it first: FinishSamplePrefetch.
    void PrefetchSampleImages();
    void FinishSamplePrefetch();
    void LayoutChanged();
    // After a drag (full) or an arrow-key nudge.
    void UnitMoved(bool full);
    void PrintMarginTest();
    void PrintLayout();
    // The last step of start-up: the title, then the pack template from now on.
    bool InitTitleAndPacks();

    Layout& GetLayout() { return *layout_; }
    const Layout& GetLayout() const { return *layout_; }
    PacksCollection& GetPacks() { return packs_; }
    const std::string& GetPath() const { return path_; }
    const std::string& GetFailedPath() const { return failedPath_; }

    // The file calls through which layouts are written (tests fail them on purpose).
    void SetFileCalls(const PLFileCalls& calls) { fileCalls_ = calls; }

private:
    enum class Proceed { yes, no };
    // The save question when the layout is modified: no when the user cancels or the save
    // chosen does not happen.
    Proceed AskToSave();
    // Writes the layout's bytes over path; the system's error code on failure, else 0.
    int ReplaceFile(const std::string& path, const std::string& bytes) const;
    // One sample picture to load: its file, and the size of the unit it is cropped to (none when
    // the layout has no such unit).
    struct SampleLoad {
        std::string path;
        std::optional<std::pair<int32_t, int32_t>> unitSize;
    };
    // The samples of the layout type, with the decode scale of each set when none was asked for.
    std::vector<SampleLoad> SampleLoads() const;
    // Loads the sample into the cache and crops it. Touches nothing of the document, so that it
    // can run on the prefetch's thread.
    static void LoadSample(const SampleLoad& sample);
    void UpdateViews(win::LPARAM hint) { UpdateAllViews(nullptr, hint); }

    std::unique_ptr<Layout> layout_;
    PacksCollection packs_;
    bool packTemplateEnabled_ = false;
    std::string path_;
    std::string failedPath_;
    PLFileCalls fileCalls_ = PLFileCalls::Posix();
    // Last, so that a prefetch still running is waited for before anything else goes.
    std::future<void> samplePrefetch_;
};
