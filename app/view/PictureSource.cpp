#include "app/view/PictureSource.h"

#include "imaging/wrapper/ImageCache.h"

#include <utility>

PictureSource::~PictureSource() = default;

CachePictureSource::CachePictureSource(ImageCache& cache, std::function<void()> loadSampleImages)
    : cache_(cache)
    , loadSampleImages_(std::move(loadSampleImages))
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

void OneDrawingPictures::LoadSampleImages()
{
    if (samplesLoaded_)
        return;
    samplesLoaded_ = true;
    source_.LoadSampleImages();
}
