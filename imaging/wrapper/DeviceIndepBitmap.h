// The picture object the rest of the tool handles: one device-independent bitmap with the EXIF
// data of the file it came from. Every failure of the image library is turned into an
// ImageResult at this boundary and kept as the last error; the wrapper also remembers the
// quarter turns applied since the load and whether the pixels changed.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "imaging/bitmap/PLCoord.h"
#include "imaging/codec/PLFileTypes.h"
#include "imaging/io/PLFileCalls.h"
#include "imaging/wrapper/ImageProcessingSettings.h"
#include "imaging/wrapper/ImageResult.h"
#include "imaging/wrapper/ResizeSettings.h"
#include "platform/win/Types.h"

class ExifData;
class PLFilter;
class PLJPEGDecoder;
class PLPicDecoder;
class PLPicEncoder;
class PLTextException;
class PLWinBmp;

namespace gdi {
class DeviceContext;
}

namespace Pellimar {

class DeviceIndepBitmap {
public:
    static constexpr int32_t kNotLoaded = 4; // load state of a wrapper without a usable picture
    static constexpr int32_t kJpegFile = PLFileType::Jpeg; // file type after a JPEG load

    // Brushes that paint the picture locally (DeviceIndepBitmapBrush.h).
    class Brush;
    class DodgeBrush;

    DeviceIndepBitmap();
    // A copy shares the pixels until either picture changes them (each change works on pixels of
    // the picture's own), shares the EXIF entries and counts as modified.
    DeviceIndepBitmap(const DeviceIndepBitmap& other);
    DeviceIndepBitmap& operator=(const DeviceIndepBitmap& other);
    ~DeviceIndepBitmap();
    // The copy of operator=, telling whether it succeeded; a failure is kept as the last error.
    bool CopyFrom(const DeviceIndepBitmap& other);

    // Loads a JPEG file at 32 bits per pixel with its EXIF data, shrunk to fit maxW x maxH when
    // both are above 0 and the picture is larger.
    ImageResult LoadJpegWithExif(const std::string& path, PLJPEGDecoder& decoder, int32_t maxW, int32_t maxH);

    // Loads a picture through the decoder at 32 bits per pixel, shrunk as LoadJpegWithExif does;
    // the file type becomes the decoder's. LoadFile drops the EXIF data; LoadJpeg keeps the EXIF
    // object and, when there is one and the file is a JPEG, fills it from the file. A failure
    // closes the decoder and gives the error table's result.
    ImageResult LoadFile(const std::string& path, PLPicDecoder& decoder, int32_t maxW, int32_t maxH);
    ImageResult LoadJpeg(const std::string& path, PLPicDecoder& decoder, int32_t maxW, int32_t maxH);

    // True for the file types that Save writes: BMP, TIFF, JPEG and PNG.
    bool CanSave() const;
    // Writes the picture in its file type (a JPEG at jpegQuality and the picture's resolution,
    // with the EXIF data when asked and present). The file that was there is replaced only by a
    // complete new one: a failed save leaves it as it was. Success clears modified.
    ImageResult Save(const std::string& path, bool withExif);
    // Writes a copy of the picture fitted into maxW x maxH (no limit when either is 0 or less)
    // as JPEG (at jpegQuality) or BMP, under the process-wide encoder lock. The copy is decoded
    // afresh from the source file when one is named and either reload is set or the box is larger
    // than the picture, so that a picture is never enlarged from a reduced copy (edits in memory
    // are then not saved). The picture itself is not changed.
    ImageResult SaveResizedJpeg(const std::string& path, const std::string& sourcePath, PLPicDecoder& decoder,
        int32_t maxW, int32_t maxH, bool reload);
    ImageResult SaveResizedBmp(const std::string& path, const std::string& sourcePath, PLPicDecoder& decoder,
        int32_t maxW, int32_t maxH, bool reload);
    // The calls through which files are saved (tests hand in failing ones).
    void SetFileCalls(const PLFileCalls& calls) { m_FileCalls = calls; }

    // Draws the picture stretched onto the rectangle, leaving the device unchanged where a pixel
    // lies within the tolerance of the key colour (the sum of the four channels' differences).
    // Drawn as a black-and-white mask with SRCAND, then the picture, blackened where the mask is
    // white, with SRCPAINT. Nothing is drawn without a picture.
    bool MakeColorKeyMask(gdi::DeviceContext& dc, int32_t keyRed, int32_t keyGreen, int32_t keyBlue,
        int32_t keyAlpha, int32_t x, int32_t y, int32_t width, int32_t height, int32_t tolerance);
    // The same with the key taken from the picture's top-left pixel.
    bool DrawWithCornerKey(
        gdi::DeviceContext& dc, int32_t x, int32_t y, int32_t width, int32_t height, int32_t tolerance);

    // A dodge brush on this picture, owned by it (until a reset) and returned for painting.
    DodgeBrush* AddDodgeBrush(int16_t radius, int16_t featherPercent, int16_t strength);

    // Drops the pixels, the EXIF data and the brushes; the full reset also forgets the last error,
    // the load state, the busy flag, the file type and the quarter turns.
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

    // Editing operations. Each returns true and does nothing on a wrapper without a picture (except
    // where said), and false, with the failure as the last error, when the library fails or refuses
    // an argument or the picture's depth; a refused operation leaves the picture as it was.

    // Colour and tone adjustments, each doing nothing when its offsets are 0. Colour offsets and
    // lightness need a 32-bpp picture, hue, saturation, brightness and contrast 24 or 32 bpp.
    bool ApplyColor(int32_t red, int32_t green, int32_t blue, bool balanced);
    bool ApplyHSB(int32_t hue, int32_t saturation, int32_t brightness);
    // Contrast about mid-grey by the factor 1000 / (c^2 + 1000) below 0 and c^2 / 1000 + 1 above.
    bool ApplyContrast(int32_t contrast);
    bool ApplyLightness(int32_t amount, bool additive);
    bool Mirror();
    bool Flip();
    // Sets the other picture (of the same depth) on the left (mode 2) or the right (mode 3), both cut
    // to the lower height; nothing when either wrapper has no picture.
    bool Join(int32_t mode, const DeviceIndepBitmap& other);
    // Darkens the picture under the centred 32-bpp watermark; the result is 32 bpp. The divisor must
    // be above 0.
    bool ApplyWatermark(const DeviceIndepBitmap& watermark, int32_t divisor);
    // The grey point must lie inside the picture.
    bool ApplyWhiteBalance(int32_t x, int32_t y, int32_t tonalRange);
    // Every pixel of a 32-bpp picture becomes the colour, opaque.
    bool Fill(win::COLORREF colour);
    // Lightens and stretches a little, then turns the picture grey (kept at 32 bpp).
    bool MakeGrayscale();

    // The same operations with their arguments taken from the settings' fields of the same names.
    bool Rotate(const ImageProcessingSettings& settings);
    bool Crop(const ImageProcessingSettings& settings);
    bool ApplyLightness(const ImageProcessingSettings& settings);
    bool ApplyColor(const ImageProcessingSettings& settings);
    bool ApplyHSB(const ImageProcessingSettings& settings);
    bool ApplyContrast(const ImageProcessingSettings& settings);
    bool ApplyWhiteBalance(const ImageProcessingSettings& settings);
    bool Fill(const ImageProcessingSettings& settings);
    bool Mirror(const ImageProcessingSettings& settings);
    bool Flip(const ImageProcessingSettings& settings);
    bool MakeGrayscale(const ImageProcessingSettings& settings);

    // Replaces the picture with a blank one (also on a wrapper without a picture); the file type
    // becomes 0. The first form gives both resolutions one value.
    bool CreateImage(
        int32_t width, int32_t height, int32_t bpp, bool alpha, bool greyscale, int32_t resolution);
    bool CreateImage(
        int32_t width, int32_t height, int32_t bpp, bool alpha, bool greyscale, const PLCoord& resolution);
    // Scales a 32-bpp picture as the settings say; width and height must be above 0.
    bool Resize(const ResizeSettings& settings);

    // Border sides.
    static constexpr uint32_t kBorderLeft = 1;
    static constexpr uint32_t kBorderRight = 2;
    static constexpr uint32_t kBorderTop = 4;
    static constexpr uint32_t kBorderBottom = 8;
    // Widens a 32-bpp picture by strips of the colour on the flagged sides: n pixels wide; a
    // percentage of the longer side on every side; or a percentage of the width left and right and
    // of the height top and bottom. Widths and percentages must not be negative.
    bool AddBorderPixels(int32_t width, win::COLORREF colour, uint32_t sides);
    bool AddBorderPercent(int32_t percent, win::COLORREF colour, uint32_t sides);
    bool AddBorderPercentEach(int32_t percent, win::COLORREF colour, uint32_t sides);
    // Paints the outer n rows or columns of the flagged sides of a 24- or 32-bpp picture with the
    // colour, leaving alpha; false without a picture.
    bool PaintBorderStrips(int32_t width, win::COLORREF colour, uint32_t sides);
    // Keeps the centred (100 - p) percent of each side; p from 0 to 100.
    bool CropCentredPercent(int32_t percent);

    // The pixels, for reading: copies of the picture may share them (see the copy constructor).
    PLWinBmp* GetBitmap() const { return m_pBitmap.get(); }
    // Whether another copy of the picture shares these pixels.
    bool SharesPixels() const { return m_pBitmap && m_pBitmap.use_count() > 1; }
    ExifData* GetExifData() const { return m_pExif.get(); }
    int32_t GetFileType() const { return m_FileType; }
    int32_t GetJpegQuality() const { return m_JpegQuality; }
    void SetJpegQuality(int32_t quality) { m_JpegQuality = quality; }
    int32_t GetQuarterTurns() const { return m_QuarterTurns; }
    // The picture was decoded at 1/scale of the file's size (1 for full size).
    int32_t GetDecodeScale() const { return m_DecodeScale; }
    bool IsModified() const { return m_bModified; }
    // Raised by every change of the pixels (loads, copies, turns, crops, filters, brushes, resets),
    // and only then: a turn to the orientation the picture already has leaves it alone. Copies
    // made for display are kept under it.
    uint64_t GetChangeCount() const { return m_ChangeCount; }
    bool IsBusy() const { return m_bBusy; }
    void SetBusy(bool busy) { m_bBusy = busy; }
    // Waits (without limit) until the picture is not busy and marks it busy, in one atomic step;
    // Unlock clears the mark.
    void Lock();
    void Unlock();

private:
    // Decodes the file into the picture at 32 bpp, calls whileOpen (when given) before the decoder
    // is closed, and shrinks the picture into the box. The file type becomes the decoder's.
    ImageResult DecodeFile(const std::string& path, PLPicDecoder& decoder, int32_t maxW, int32_t maxH,
        const std::function<void()>& whileOpen);
    // Shrinks the picture to fit maxW x maxH when both are above 0 and it is larger; throws.
    void ShrinkToBox(int32_t maxW, int32_t maxH);
    ImageResult SaveResized(const std::string& path, const std::string& sourcePath, PLPicDecoder& decoder,
        int32_t maxW, int32_t maxH, bool reload, PLPicEncoder& encoder);
    bool ApplyFilter(const PLFilter& filter);
    // Keeps the unsupported-feature failure with the text as the last error; false.
    bool Refuse(const char* text);
    // Takes the other wrapper's last error as this one's; false.
    bool KeepLastErrorOf(const DeviceIndepBitmap& other);
    bool AddBorders(
        int32_t sideStrip, int32_t endStrip, win::COLORREF colour, uint32_t sides, int32_t blankSize);
    void NotePixelChange() { ++m_ChangeCount; }
    // The pixels, copied first when another picture shares them, for writing in place; throws.
    PLWinBmp& OwnBitmap();

    std::shared_ptr<PLWinBmp> m_pBitmap; // shared between copies until one of them changes
    std::unique_ptr<ExifData> m_pExif;
    int32_t m_LoadState = kNotLoaded;
    std::string m_LastErrorText;
    int32_t m_LastSeverity = 0;
    int32_t m_LastCode = 0;
    int32_t m_FileType = 0;
    int32_t m_JpegQuality = 90;
    int32_t m_QuarterTurns = 0;
    int32_t m_DecodeScale = 1;
    bool m_bModified = false;
    uint64_t m_ChangeCount = 0;
    std::vector<std::unique_ptr<Brush>> m_Brushes;
    bool m_bBusy = false;
    PLFileCalls m_FileCalls = PLFileCalls::Posix();
};

} // namespace Pellimar
