#include "imaging/pict/PLPictDecoder.h"

#include "imaging/bitmap/PLBmp.h"
#include "imaging/io/PLTextException.h"
#include "imaging/pict/PictOpcodes.h"
#include "imaging/pict/PictRows.h"

#include <cstdio>
#include <string>
#include <string_view>

using pict::Reader;

namespace {

// The trace line of an opcode: its QuickDraw name, or what the reader makes of it beyond them.
std::string OpcodeTrace(int opcode)
{
    if (const char* name = pict::OpcodeName(opcode)) {
        char text[48] = "";
        if (std::string_view(name) == "reserved")
            std::snprintf(text, sizeof text, "Opcode: reserved=0x%x\n", static_cast<unsigned>(opcode));
        else
            std::snprintf(text, sizeof text, "Opcode: %s\n", name);
        return text;
    }
    if (opcode == 0x00FF || opcode == 0xFFFF)
        return "Opcode: End of pict.\n";
    if (opcode == 0x0C00)
        return "Opcode: Header.\n";
    if (opcode == 0x8200)
        return "Opcode: JPEG.\n";
    char text[40] = "";
    if (opcode > 0xA1)
        std::snprintf(text, sizeof text, "Opcode: reserved 0x%x.\n", static_cast<unsigned>(opcode));
    return text;
}

// The bounds of a bit map or PixMap as the trace shows them: top, left, bottom, right.
std::string BoundsTrace(const pict::Rect& bounds)
{
    char text[80];
    std::snprintf(text, sizeof text, "  Bounds: %d, %d, %d, %d\n", bounds.top, bounds.left, bounds.bottom,
        bounds.right);
    return text;
}

// The PixMap record as the trace shows it.
std::string PixMapTrace(const pict::PixMap& p, const pict::Rect& bounds)
{
    char text[400];
    std::snprintf(text, sizeof text,
        "  version: 0x%x\n  packType: %d\n  packSize: %ld\n"
        "  hRes: %ld\n  vRes: %ld\n  pixelSize: %d\n  cmpCount: %d\n  cmpSize: %d.\n  planeBytes: %ld.\n",
        unsigned { p.version }, int { p.packType }, long { p.packSize }, long { p.hRes }, long { p.vRes },
        int { p.pixelSize }, int { p.cmpCount }, int { p.cmpSize }, long { p.planeBytes });
    return "PixMap header info:\n" + BoundsTrace(bounds) + text;
}

} // namespace

PLPictDecoder::PLPictDecoder(PLPicDecoder* jpegDecoder)
    : m_pJpegDecoder(jpegDecoder)
{
}

PLPictDecoder::~PLPictDecoder() = default;

void PLPictDecoder::Open(PLDataSource* pDataSrc)
{
    m_Kind = BitmapKind::None;
    m_bRegion = false;
    m_pSource = pDataSrc;
    Trace(2, "Decoding mac pict.\n");
    Reader reader(*pDataSrc);
    reader.Skip(512); // the file header, which belongs to the application that wrote the file
    reader.Read16(); // picture size (of old files only)
    reader.ReadRect(); // picture frame
    ReadVersion(reader);
    ReadOpcodes(reader);
}

void PLPictDecoder::ReadVersion(Reader& reader)
{
    while (reader.Peek8() == 0)
        reader.Read8();
    if (reader.Read8() != 0x11)
        RaiseError(PL_ERR_WRONG_SIGNATURE, "Error decoding pict: Version number missing.");
    const uint8_t version = reader.Read8();
    if (version == 1)
        m_Version = 1;
    else if (version == 2 && reader.Read8() == 0xFF)
        m_Version = 2;
    else
        RaiseError(PL_ERR_WRONG_SIGNATURE, "Illegal version number.");
    Trace(2, "PICT version " + std::to_string(m_Version) + " found.\n");
}

void PLPictDecoder::ReadOpcodes(Reader& reader)
{
    // Every opcode reads at least one byte, so the loop ends with the data at the latest.
    for (;;) {
        int opcode = 0;
        if (m_Version == 2) {
            if (reader.Position() % 2 != 0)
                reader.Skip(1);
            opcode = reader.Read16();
        } else {
            opcode = reader.Read8();
        }
        if (ReadOpcode(reader, opcode))
            return;
    }
}

bool PLPictDecoder::ReadOpcode(Reader& reader, int opcode)
{
    if (TraceWanted(2))
        Trace(2, OpcodeTrace(opcode));
    if (opcode == 0x00FF || opcode == 0xFFFF)
        RaiseError(PL_ERR_FORMAT_NOT_SUPPORTED, "PICT contained only vector data!\n");
    if (opcode <= 0xA1) {
        switch (opcode) {
        case 0x01: // clip region
        case 0x70: // polygons
        case 0x71:
        case 0x72:
        case 0x73:
        case 0x74:
        case 0x75:
        case 0x76:
        case 0x77:
            Trace(3, opcode == 0x01 ? "" : "Skipping polygon or region.\n");
            reader.SkipSizedRecord();
            return false;
        case 0x12: // pixel patterns
        case 0x13:
        case 0x14:
            SkipPixelPattern(reader);
            return false;
        case 0xA1: // long comment: kind, then a 16-bit length
            reader.Skip(2);
            reader.Skip(reader.Read16());
            return false;
        case 0x90:
        case 0x91:
        case 0x98:
        case 0x99:
            ReadBitmapOpcode(reader, opcode);
            return true;
        case 0x9A:
            ReadDirectBits(reader);
            return true;
        default:
            break;
        }
        const int length = pict::OpcodeDataLength(opcode);
        reader.Skip(length == pict::kLengthFollows ? reader.Read16() : length);
        return false;
    }
    if (opcode <= 0xAF) // reserved, with a 16-bit length
        reader.Skip(reader.Read16());
    else if (opcode <= 0xCF) // reserved, no data
        ;
    else if (opcode <= 0xFE) // reserved, with a 32-bit length
        reader.Skip(reader.Read32());
    else if (opcode == 0x0C00) // the version-2 header: version, resolutions, source rect, reserved
        reader.Skip(24);
    else if (opcode <= 0x7FFF) // reserved: twice the high byte, one more with bit 7 of the low
        reader.Skip((opcode >> 7) & 0xFF);
    else if (opcode <= 0x80FF) // reserved, no data
        ;
    else if (opcode == 0x8200) {
        ReadJpeg(reader);
        return true;
    } else // reserved, with a 32-bit length
        reader.Skip(reader.Read32());
    return false;
}

void PLPictDecoder::SkipPixelPattern(Reader& reader)
{
    const uint16_t type = reader.Read16();
    if (type == 2) {
        reader.Skip(13);
        return;
    }
    if (type != 1)
        RaiseError(PL_ERR_FORMAT_UNKNOWN, "Unknown pattern type in pixPat.");
    reader.Skip(8);
    const uint16_t rowBytes = reader.Read16();
    const pict::Rect bounds = reader.ReadRect();
    const pict::PixMap pixMap = reader.ReadPixMap();
    reader.ReadColourTable();
    pict::CheckBounds(bounds);
    pict::SkipRows(reader, { bounds.Width(), bounds.Height(), pixMap.pixelSize, pixMap.cmpCount, rowBytes });
}

void PLPictDecoder::ReadBitmapOpcode(Reader& reader, int opcode)
{
    m_bRegion = opcode == 0x91 || opcode == 0x99;
    m_RowBytes = reader.Read16();
    m_Bounds = reader.ReadRect();
    if (m_RowBytes & 0x8000) {
        m_PixMap = reader.ReadPixMap();
        Trace(2, PixMapTrace(m_PixMap, m_Bounds));
        DescribePixMap();
        m_Kind = BitmapKind::PixMap;
        return;
    }
    // A version-1 bit map: one bit per pixel, described at 8 bits.
    Trace(2, "Reading version 1 bitmap.\n");
    Trace(2, BoundsTrace(m_Bounds));
    reader.Skip(16); // source and destination rects
    CheckImageSize(m_Bounds.Width(), m_Bounds.Height(), 8, "bitmap bounds are empty.");
    SetInfo(PLCoord(m_Bounds.Width(), m_Bounds.Height()), 8, PLCoord(0, 0), false, false);
    m_Kind = BitmapKind::BitMap;
}

void PLPictDecoder::ReadDirectBits(Reader& reader)
{
    reader.Skip(4); // base address
    reader.Skip(2); // row bytes
    m_Bounds = reader.ReadRect();
    m_PixMap = reader.ReadPixMap();
    reader.Skip(16); // source and destination rects
    reader.Skip(2); // transfer mode
    DescribePixMap();
    m_Kind = BitmapKind::DirectBits;
}

void PLPictDecoder::DescribePixMap()
{
    const int bpp = m_PixMap.pixelSize <= 8 ? 8 : 32;
    CheckImageSize(m_Bounds.Width(), m_Bounds.Height(), bpp, "bitmap bounds are empty.");
    const PLCoord resolution(static_cast<int>(m_PixMap.hRes >> 16), static_cast<int>(m_PixMap.vRes >> 16));
    SetInfo(PLCoord(m_Bounds.Width(), m_Bounds.Height()), bpp, resolution,
        bpp == 32 && m_PixMap.cmpCount == 4, false);
}

void PLPictDecoder::ReadJpeg(Reader& reader)
{
    const uint32_t length = reader.Read32();
    PLDataSource& source = reader.Source();
    for (uint32_t scanned = 0; scanned < length && reader.BytesLeft() > 0; ++scanned) {
        if (reader.BytesLeft() >= 3) {
            const uint8_t* p = source.PeekBytes(3);
            if (p[0] == 0xFF && p[1] == 0xD8 && p[2] == 0xFF) {
                if (!m_pJpegDecoder)
                    RaiseError(PL_ERR_FORMAT_NOT_SUPPORTED, "Library not compiled for PICT/JPEG.");
                m_bJpegOpen = true;
                try {
                    m_pJpegDecoder->Open(&source);
                } catch (...) {
                    AbortJpeg();
                    throw;
                }
                CopyInfoFrom(*m_pJpegDecoder);
                m_Kind = BitmapKind::Jpeg;
                return;
            }
        }
        reader.Read8();
    }
    RaiseError(PL_ERR_FORMAT_NOT_SUPPORTED, "PICT file contains unrecognized quicktime data.\n");
}

void PLPictDecoder::AbortJpeg()
{
    // The JPEG decoder reads our source without owning it: closing it leaves the source alone and
    // makes the decoder ready for its next picture.
    if (m_bJpegOpen && m_pJpegDecoder)
        m_pJpegDecoder->Close();
    m_bJpegOpen = false;
}

void PLPictDecoder::DecodeImage(PLBmp* pBmp)
{
    const BitmapKind kind = m_Kind;
    m_Kind = BitmapKind::None;
    if (kind == BitmapKind::Jpeg) {
        try {
            m_pJpegDecoder->DecodeImage(pBmp);
        } catch (...) {
            AbortJpeg();
            throw;
        }
        AbortJpeg();
        return;
    }
    if (kind == BitmapKind::None || !m_pSource)
        RaiseError(PL_ERR_INTERNAL, "PICT decoder has no picture open.");
    Reader reader(*m_pSource);
    if (kind == BitmapKind::PixMap) {
        const pict::Palette palette = reader.ReadColourTable();
        if (pBmp->GetBitsPerPixel() == 8)
            for (int i = 0; i < 256; ++i) {
                const auto& entry = palette[static_cast<size_t>(i)];
                pBmp->SetPaletteEntry(i, entry.red, entry.green, entry.blue, 255);
            }
        reader.Skip(16); // source and destination rects
    }
    if (kind != BitmapKind::DirectBits) {
        reader.Skip(2); // transfer mode
        Trace(3, m_bRegion ? "Skipping polygon or region.\n" : "");
        if (m_bRegion)
            reader.SkipSizedRecord();
    }
    if (kind == BitmapKind::BitMap) {
        // A set bit is black, as QuickDraw draws it.
        pBmp->SetPaletteEntry(0, 255, 255, 255, 255);
        pBmp->SetPaletteEntry(1, 0, 0, 0, 255);
    }
    const int pixelSize = kind == BitmapKind::BitMap ? 1 : m_PixMap.pixelSize;
    const int rowBytes = kind == BitmapKind::DirectBits ? 0 : m_RowBytes;
    pict::DecodeRows(
        reader, { m_Bounds.Width(), m_Bounds.Height(), pixelSize, m_PixMap.cmpCount, rowBytes }, *pBmp);
}

void PLPictDecoder::Close()
{
    AbortJpeg();
    m_Kind = BitmapKind::None;
    m_pSource = nullptr;
    PLPicDecoder::Close();
}
