// Where the page drawing takes its pictures: the sample photographs and the background, by file
// name. The view hands in the image cache with the document's way of loading its samples; tests
// hand in pictures made in memory.
#pragma once

#include "imaging/wrapper/DeviceIndepBitmap.h"
#include "imaging/wrapper/ImageResult.h"

#include <functional>
#include <memory>
#include <string>

class ImageCache;

class PictureSource {
public:
    using Picture = std::shared_ptr<Pellimar::DeviceIndepBitmap>;
    virtual ~PictureSource();
    virtual bool Contains(const std::string& path) = 0;
    // The picture of the file (loaded when missing), or empty with the failure in result.
    virtual Picture GetImage(const std::string& path, ImageResult& result) = 0;
    // Loads the document's sample pictures into the source.
    virtual void LoadSampleImages() = 0;
    // The sample picture is decoded at a reduced scale that does not cover what is drawn: decode
    // it again at 1/scale of its size (1 for full size). Sources of pictures made in memory
    // have nothing finer to give.
    virtual void ReloadSample(const std::string& path, int scale);
};

// The process's image cache: pictures taken without waiting and without adjustments.
class CachePictureSource : public PictureSource {
public:
    using ReloadSampleCall = std::function<void(const std::string& path, int scale)>;
    CachePictureSource(
        ImageCache& cache, std::function<void()> loadSampleImages, ReloadSampleCall reloadSample = nullptr);
    bool Contains(const std::string& path) override;
    Picture GetImage(const std::string& path, ImageResult& result) override;
    void LoadSampleImages() override;
    void ReloadSample(const std::string& path, int scale) override;

private:
    ImageCache& cache_;
    std::function<void()> loadSampleImages_;
    ReloadSampleCall reloadSample_;
};

// One drawing's view of a source: the samples are loaded at most once, however many copies of a
// proof find a sample missing. A sample file that is missing or cannot be decoded is then tried
// once per drawing, not once per copy (each try of a combined proof also redoes the other sample).
class OneDrawingPictures : public PictureSource {
public:
    explicit OneDrawingPictures(PictureSource& source)
        : source_(source)
    {
    }
    bool Contains(const std::string& path) override { return source_.Contains(path); }
    Picture GetImage(const std::string& path, ImageResult& result) override
    {
        return source_.GetImage(path, result);
    }
    void LoadSampleImages() override;
    void ReloadSample(const std::string& path, int scale) override { source_.ReloadSample(path, scale); }

private:
    PictureSource& source_;
    bool samplesLoaded_ = false;
};
