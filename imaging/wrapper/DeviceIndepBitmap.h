// The picture object the rest of the tool handles: one device-independent bitmap with the EXIF
// data of the file it came from. Every failure of the image library is turned into an
// ImageResult at this boundary and kept as the last error; the wrapper also remembers the
// quarter turns applied since the load and whether the pixels changed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "imaging/bitmap/PLCoord.h"
#include "imaging/wrapper/ImageResult.h"
#include "platform/win/Types.h"

class ExifData;
class PLFilter;
class PLJPEGDecoder;
class PLTextException;
class PLWinBmp;

namespace Pellimar {

class DeviceIndepBitmap {
public:
    static constexpr int32_t kNotLoaded = 4; // load state of a wrapper without a usable picture
    static constexpr int32_t kJpegFile = 5; // file type after a JPEG load

    DeviceIndepBitmap();
    // A copy has its own pixels, shares the EXIF entries and counts as modified.
    DeviceIndepBitmap(const DeviceIndepBitmap& other);
    DeviceIndepBitmap& operator=(const DeviceIndepBitmap& other);
    ~DeviceIndepBitmap();

    // Loads a JPEG file at 32 bits per pixel with its EXIF data, shrunk to fit maxW x maxH when
    // both are above 0 and the picture is larger.
    ImageResult LoadJpegWithExif(const std::string& path, PLJPEGDecoder& decoder, int32_t maxW, int32_t maxH);

    // Drops the pixels and the EXIF data; the full reset also forgets the last error, the load
    // state, the busy flag, the file type and the quarter turns.
    void Reset(bool full);
    // Any state other than 0 also drops the pixels and the EXIF data.
    void SetLoadState(int32_t state);
    int32_t GetLoadState() const { return m_LoadState; }

    ImageResult GetLastResult() const { return { m_LastErrorText, m_LastSeverity, m_LastCode }; }
    void ClearLastError();
    // The result for a library failure, also kept as the last error.
    ImageResult ResultFromException(const PLTextException& e);

    // Width and height in pixels; 0 x 0 without a picture.
    PLCoord GetSize() const;
    bool IsLandscape() const;

    // Keeps the columns x1 .. x2 - 1 of the rows y1 .. y2 - 1; a rectangle outside the picture
    // changes nothing. False when the library failed.
    bool Crop(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    // The rectangle of ratio a : b (see AspectCrop.h), applied unless noApply is set. An empty
    // picture, or a ratio that is not a finite number above 0, crops nothing and gives the whole
    // picture.
    win::RECT CropToAspect(double a, double b, int32_t marginPercent, int32_t yOffsetPercent,
        int32_t xOffsetPercent, bool noApply, bool force);
    // Turns the picture t quarter turns clockwise; t is counted modulo 4, so -1 is three turns.
    bool Rotate(int32_t t);
    // Turns the picture to the given number of clockwise quarter turns from the loaded picture
    // (modulo 4). Counts as a change also when the picture is already there.
    bool RotateToOrientation(int32_t state);

    PLWinBmp* GetBitmap() const { return m_pBitmap.get(); }
    ExifData* GetExifData() const { return m_pExif.get(); }
    int32_t GetFileType() const { return m_FileType; }
    int32_t GetJpegQuality() const { return m_JpegQuality; }
    void SetJpegQuality(int32_t quality) { m_JpegQuality = quality; }
    int32_t GetQuarterTurns() const { return m_QuarterTurns; }
    bool IsModified() const { return m_bModified; }
    bool IsBusy() const { return m_bBusy; }
    void SetBusy(bool busy) { m_bBusy = busy; }

private:
    bool ApplyFilter(const PLFilter& filter);
    void CopyFrom(const DeviceIndepBitmap& other);

    std::unique_ptr<PLWinBmp> m_pBitmap;
    std::unique_ptr<ExifData> m_pExif;
    int32_t m_LoadState = kNotLoaded;
    std::string m_LastErrorText;
    int32_t m_LastSeverity = 0;
    int32_t m_LastCode = 0;
    int32_t m_FileType = 0;
    int32_t m_JpegQuality = 90;
    int32_t m_QuarterTurns = 0;
    bool m_bModified = false;
    bool m_bBusy = false;
};

} // namespace Pellimar
