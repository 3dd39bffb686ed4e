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
    const int32_t type = layout_->GetLayoutType();
    if (type == portraitType || type == combinedType)
        PrepareSample(ProgramOptions::Instance().portraitSamplePath, "PImage");
    if (type == groupType || type == combinedType)
        PrepareSample(ProgramOptions::Instance().groupSamplePath, type == groupType ? "GImage" : "CGImage");
}

void COrvanelDoc::PrepareSample(const std::string& path, const std::string& unitName)
{
    ImageCache& cache = GetImageCache();
    ImageResult result;
    // The working picture starts again from the picture as loaded.
    if (cache.Contains(path))
        cache.Reprocess(path, result, std::nullopt, false);
    else if (!cache.HasDecodeScale(path))
        cache.SetDecodeScale(path, kSampleDisplayScale); // the screen never needs more at first
    result = {};
    const ImageCache::Picture picture = cache.GetImage(path, result);
    const LayoutUnit* unit = layout_->GetRootUnit()->FindByName(unitName);
    if (picture != nullptr && result.severity == 0 && unit != nullptr)
        picture->CropToAspect(unit->GetHeight(), unit->GetWidth(), 0, 0, 0, false, false);
}

void COrvanelDoc::ReloadSampleImage(const std::string& path, int scale)
{
    ImageCache& cache = GetImageCache();
    cache.SetDecodeScale(path, scale);
    cache.Remove(path);
    LoadSampleImages();
}
