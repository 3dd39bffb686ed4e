#include "app/view/PictureSource.h"

#include "imaging/wrapper/ImageCache.h"

#include <utility>

PictureSource::~PictureSource() = default;

void PictureSource::ReloadSample(const std::string&, int) { }

CachePictureSource::CachePictureSource(
    ImageCache& cache, std::function<void()> loadSampleImages, ReloadSampleCall reloadSample)
    : cache_(cache)
    , loadSampleImages_(std::move(loadSampleImages))
    , reloadSample_(std::move(reloadSample))
{
}

bool CachePictureSource::Contains(const std::string& path)
{
    return cache_.Contains(path);
}

PictureSource::Picture CachePictureSource::GetImage(const std::string& path, ImageResult& result)
{
    return cache_.GetImage(path, result);
}

void CachePictureSource::LoadSampleImages()
{
    if (loadSampleImages_)
        loadSampleImages_();
}

void CachePictureSource::ReloadSample(const std::string& path, int scale)
{
    if (reloadSample_)
        reloadSample_(path, scale);
}

void OneDrawingPictures::LoadSampleImages()
{
    if (samplesLoaded_)
        return;
    samplesLoaded_ = true;
    source_.LoadSampleImages();
}
