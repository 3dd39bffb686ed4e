// The pack template, the pack counts of the layout and the sample pictures.
#include "app/document/OrvanelDoc.h"

#include "app/dialogs/ProgramOptions.h"
#include "app/document/DocumentHints.h"
#include "imaging/wrapper/ImageCache.h"
#include "model/PackTemplateFile.h"
#include "platform/win/LastError.h"
#include "records/SharedFunctions.h"

#include <cerrno>

namespace {
enum LayoutType : int32_t { portraitType = 0, groupType = 1, combinedType = 2 };
}

bool COrvanelDoc::LoadPackTemplate()
{
    bool read = false;
    const std::string path = ProgramOptions::Instance().packDetailsPath;
    if (!path.empty()) {
        errno = 0;
        switch (ReadPackTemplateFile(path, packs_)) {
        case PackTemplateStatus::read:
            read = true;
            break;
        case PackTemplateStatus::cannotOpen:
            win::SetLastError(static_cast<win::DWORD>(errno != 0 ? errno : ENOENT));
            ShowErrorMessage("Could not open file: " + path, "");
            break;
        case PackTemplateStatus::notATemplate:
            GetTheApp().MessageBox(NotAPackTemplateMessage(path), win::MB_OK);
            break;
        }
    }
    UpdatePackCounts();
    UpdateViews(hint::layoutValues);
    return read;
}

void COrvanelDoc::UpdatePackCounts()
{
    uint32_t portraitPacks = 0;
    uint32_t groupPacks = 0;
    for (std::size_t i = 0; i < packs_.GetPackCount(); ++i)
        ++(packs_.PackHasGroupProduct(i) ? groupPacks : portraitPacks);
    LayoutUnit& root = *layout_->GetRootUnit();
    const auto setCount = [&root](const char* name, uint32_t count) {
        if (LayoutUnit* unit = root.FindByName(name))
            unit->SetRepeatCount(count);
    };
    setCount("PPacks", portraitPacks);
    setCount("GPacks", groupPacks);
    setCount("CGPacks", groupPacks);
}

void COrvanelDoc::LoadSampleImages()
{
    FinishSamplePrefetch();
    for (const SampleLoad& sample : SampleLoads())
        LoadSample(sample);
}

void COrvanelDoc::PrefetchSampleImages()
{
    FinishSamplePrefetch();
    // Samples already loaded (a layout opened from the command line loads its own) are left as
    // they are.
    std::vector<SampleLoad> samples = SampleLoads();
    std::erase_if(samples, [](const SampleLoad& sample) { return GetImageCache().Contains(sample.path); });
    if (samples.empty())
        return;
    samplePrefetch_ = std::async(std::launch::async, [samples = std::move(samples)] {
        for (const SampleLoad& sample : samples)
            LoadSample(sample);
    });
}

void COrvanelDoc::FinishSamplePrefetch()
{
    if (samplePrefetch_.valid())
        samplePrefetch_.get();
}

std::vector<COrvanelDoc::SampleLoad> COrvanelDoc::SampleLoads() const
{
    const ProgramOptions& options = ProgramOptions::Instance();
    const int32_t type = layout_->GetLayoutType();
    std::vector<std::pair<std::string, std::string>> wanted; // file, unit name
    if (type == portraitType || type == combinedType)
        wanted.emplace_back(options.portraitSamplePath, "PImage");
    if (type == groupType || type == combinedType)
        wanted.emplace_back(options.groupSamplePath, type == groupType ? "GImage" : "CGImage");
    ImageCache& cache = GetImageCache();
    std::vector<SampleLoad> samples;
    for (const auto& [path, unitName] : wanted) {
        if (!cache.HasDecodeScale(path))
            cache.SetDecodeScale(path, kSampleDisplayScale); // the screen never needs more at first
        SampleLoad& sample = samples.emplace_back(SampleLoad { path, std::nullopt });
        if (const LayoutUnit* unit = layout_->GetRootUnit()->FindByName(unitName))
            sample.unitSize = std::make_pair(unit->GetHeight(), unit->GetWidth());
    }
    return samples;
}

void COrvanelDoc::LoadSample(const SampleLoad& sample)
{
    ImageResult result;
    // The working picture starts again from the picture as loaded (or is loaded), and is cropped
    // before the cache hands it out: this runs on the prefetch thread too, while the window may
    // be drawing the picture it got before.
    const auto cropToUnit = [&](Pellimar::DeviceIndepBitmap& picture) {
        if (result.severity == 0 && sample.unitSize)
            picture.CropToAspect(sample.unitSize->first, sample.unitSize->second, 0, 0, 0, false, false);
    };
    GetImageCache().Reprocess(sample.path, result, std::nullopt, false, cropToUnit);
}

void COrvanelDoc::ReloadSampleImage(const std::string& path, int scale)
{
    FinishSamplePrefetch();
    ImageCache& cache = GetImageCache();
    cache.SetDecodeScale(path, scale);
    cache.Remove(path);
    // Only this sample: the others keep their pictures.
    for (const SampleLoad& sample : SampleLoads())
        if (sample.path == path)
            LoadSample(sample);
}
