// The protocol of every picture decoder: Open reads the header of a data source and describes the
// picture, GetImage creates the bitmap at the requested depth and DecodeImage fills it, Close
// releases the source. The Decode calls run all three and release the source on every path.
#pragma once

#include "imaging/bitmap/PLBmpInfo.h"
#include "imaging/codec/PLFileTypes.h"
#include "imaging/io/PLDataSource.h"

#include <cstdint>
#include <memory>
#include <string>

class PLBmp;
class PLProgressListener;
class PLResourceModule;

class PLPicDecoder : public PLBmpInfo {
public:
    PLPicDecoder() = default;
    PLPicDecoder(const PLPicDecoder&) = delete;
    PLPicDecoder& operator=(const PLPicDecoder&) = delete;
    ~PLPicDecoder() override;

    // bpp 0 keeps the picture's own depth; a larger one converts; a smaller one raises code 6.
    virtual void DecodeFile(
        const char* path, PLBmp* pBmp, int bpp = 0, PLProgressListener* listener = nullptr);
    virtual void DecodeFileW(
        const wchar_t* path, PLBmp* pBmp, int bpp = 0, PLProgressListener* listener = nullptr);
    virtual void DecodeResource(
        const PLResourceModule& module, int id, PLBmp* pBmp, int bpp = 0, const char* type = nullptr);
    virtual void DecodeMemory(const uint8_t* data, int size, PLBmp* pBmp, int bpp = 0);

    // Opens the file and the decoder on it; on failure (raised as the source's error code with
    // "Opening <path> failed") the decoder holds no source.
    void OpenFile(const char* path, PLProgressListener* listener = nullptr);
    void OpenFileW(const wchar_t* path, PLProgressListener* listener = nullptr);
    virtual void GetImage(PLBmp& bmp, int bpp = 0);
    // Closes and releases the current source, if any.
    virtual void Close();
    // The type of file the decoder reads (PLFileTypes.h); a decoder of several formats reports the
    // one its last Open found. Unknown by default.
    virtual int32_t GetFileType() const { return PLFileType::Unknown; }

    // Reads the header from the source and describes the picture with SetInfo.
    virtual void Open(PLDataSource* pDataSrc) = 0;
    // Fills the bitmap, already created from the description.
    virtual void DecodeImage(PLBmp* pBmp) = 0;

    // Takes the source over as the current one (closing any earlier one).
    void SetDataSource(std::unique_ptr<PLDataSource> source);
    // Lends the decoder a source that stays another's (a decoder that chose this one for the
    // picture): it is the current source until Close, which forgets it without closing it.
    void LendDataSource(PLDataSource* source);
    PLDataSource* GetDataSource() const { return m_pDataSrc ? m_pDataSrc.get() : m_pLentSrc; }

    // Throws PLTextException(code, "Decoder error: <text>\n"), after writing that text to the
    // trace file when one is set.
    [[noreturn]] static void RaiseError(int code, const char* text);
    // Raises code 11 when the source's data changed while it was read (a file cut short under its
    // mapping, whose vanished part read as zeros): the picture just decoded cannot be trusted, and
    // a decode that failed on such data failed because of the change. Called after a decode and
    // on its failure paths, so that a changed file always gives code 11.
    void CheckSourceIntact() const;
    [[noreturn]] static void RaiseSourceChanged();

    // Tracing, one setting for the whole process: a line of a level at or below the trace level is
    // appended to the trace file, when one is set. Off at start (level 0, no file); destroying any
    // decoder forgets the file, so tracing stops until the next SetTraceConfig.
    static void Trace(int level, const char* text);
    static void Trace(int level, const std::string& text) { Trace(level, text.c_str()); }
    // Whether a line of the level would be written: lets a caller skip making a line per item.
    static bool TraceWanted(int level);
    // Sets the level and the file (none: null or empty); a file given is deleted, so that the
    // trace starts afresh.
    static void SetTraceConfig(int level, const char* file);

    // The size check every decoder makes before anything is allocated for a picture: a width or
    // height of 0 or less raises code 2 with emptyText (a picture without pixels is a damaged
    // file, not an empty bitmap), and a picture beyond the library's cap the maximum-size code.
    static void CheckImageSize(int64_t width, int64_t height, int bpp, const char* emptyText);

    // Expands one PackBits row. Rows of fewer than 8 bytes are stored unpacked: the result is
    // the next rowBytes bytes of the source and dest is untouched. Otherwise packedLength bytes are
    // read and expanded into dest; every run is bounded by the input and the output left, the
    // bytes of dest that were not written are zeroed, and the result is dest.
    static const uint8_t* UnpackBits(
        uint8_t* dest, PLDataSource* source, int destSize, int rowBytes, int packedLength);

private:
    // Calls Open on the source and keeps it; a failure closes and releases it.
    void OpenSource(std::unique_ptr<PLDataSource> source);
    // GetImage, then Close; Close also when GetImage fails.
    void DecodeOpened(PLBmp& bmp, int bpp);

    std::unique_ptr<PLDataSource> m_pDataSrc;
    PLDataSource* m_pLentSrc = nullptr; // not owned
};
