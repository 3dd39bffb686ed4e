#include "imaging/iff/IffForm.h"

#include "imaging/codec/PLPicDecoder.h"
#include "imaging/io/PLTextException.h"

#include <optional>

namespace iff {
namespace {

// The trace line of each masking technique, by its number.
constexpr const char* kMaskingTraces[]
    = { "No masking.\n", "Has mask plane.\n", "Has transparent colour.\n", "Lasso" };

constexpr int kHeaderSize = 20;

void Refuse(const char* text)
{
    PLPicDecoder::RaiseError(PL_ERR_FORMAT_UNKNOWN, text);
}

BitmapHeader ReadHeader(PLBigEndianReader& reader, int64_t length)
{
    if (length != kHeaderSize)
        Refuse("Unexpected header size.");
    BitmapHeader h;
    h.width = reader.Read16();
    h.height = reader.Read16();
    h.x = reader.ReadSigned16();
    h.y = reader.ReadSigned16();
    h.planes = reader.Read8();
    h.masking = reader.Read8();
    h.compression = reader.Read8();
    h.pad = reader.Read8();
    h.transparentColour = reader.Read16();
    h.xAspect = reader.Read8();
    h.yAspect = reader.Read8();
    h.pageWidth = reader.ReadSigned16();
    h.pageHeight = reader.ReadSigned16();
    if (h.masking > uint8_t(Masking::Lasso))
        Refuse("Unknown masking technique.");
    PLPicDecoder::Trace(2, kMaskingTraces[h.masking]);
    if (h.compression > 1)
        Refuse("Unknown compression method.");
    PLPicDecoder::Trace(2, h.compression == 0 ? "No compression.\n" : "Byte run encoding.\n");
    return h;
}

// Reads the colour map into the palette and returns its entry count.
int64_t ReadColourMap(PLBigEndianReader& reader, int64_t length, Form& form)
{
    const int64_t entries = length / 3;
    const uint8_t* p = reader.ReadBytes(length);
    for (int64_t i = 0; i < entries && i < 256; ++i)
        form.palette[size_t(i)].Set(p[3 * i], p[3 * i + 1], p[3 * i + 2], 255);
    return entries;
}

// Checks the form once its chunks are read, in the order a reader expects the messages.
void CheckForm(
    const Form& form, bool hasHeader, std::optional<int64_t> colourEntries, bool hasBody, int64_t formEnd)
{
    const BitmapHeader& h = form.header;
    if (!hasHeader)
        Refuse("Header not found.");
    if (!colourEntries && h.planes <= 8)
        Refuse("Palette not found.");
    if (!hasBody)
        Refuse("Body not found.");
    if (h.compression == 0 && form.bodyLength != form.RowBytes() * h.height)
        Refuse("Unexpected body size.");
    if (form.bodyStart + form.bodyLength > formEnd)
        Refuse("Body extends beyond form.");
    const int colourBits = form.HoldAndModify() ? h.planes - 2 : h.planes;
    if (colourEntries && colourBits >= 0 && colourBits < 40 && *colourEntries > (int64_t(1) << colourBits))
        Refuse("Too many CMAP entries.");
}

// Plane counts the decoder can build pixels of: 1 to 8 (indices, or hold-and-modify from 3 to 8), 24
// (red, green, blue) and 32 (with alpha).
void CheckPlanes(const Form& form)
{
    const int planes = form.header.planes;
    if (planes == 0 || (planes > 8 && planes != 24 && planes != 32) || (form.chunky && planes > 8))
        PLPicDecoder::RaiseError(PL_ERR_FORMAT_NOT_SUPPORTED, "Unsupported number of bit planes.");
    if (form.HoldAndModify() && (planes < 3 || planes > 8))
        PLPicDecoder::RaiseError(
            PL_ERR_FORMAT_NOT_SUPPORTED, "Unsupported number of hold-and-modify planes.");
}

} // namespace

int Form::StoredPlanes() const
{
    return header.planes + (header.masking == uint8_t(Masking::MaskPlane) ? 1 : 0);
}

int64_t Form::RowBytes() const
{
    if (chunky)
        return (int64_t(header.width) + 1) / 2 * 2;
    return PlaneBytes() * StoredPlanes();
}

Form ReadForm(PLBigEndianReader& reader)
{
    if (reader.ReadTag() != "FORM")
        PLPicDecoder::RaiseError(PL_ERR_WRONG_SIGNATURE, "File is not a single-form IFF.");
    const int64_t formEnd = int64_t(reader.Read32()) + 8;
    const std::string type = reader.ReadTag();
    if (type != "PBM " && type != "ILBM")
        Refuse("Unknown form type.");
    Form form;
    form.chunky = type == "PBM ";
    PLPicDecoder::Trace(2, form.chunky ? "Form type: PBM\n" : "Form type: ILBM\n");
    bool hasHeader = false;
    bool hasBody = false;
    std::optional<int64_t> colourEntries;
    while (!hasBody && reader.Position() + 8 <= formEnd) {
        const std::string id = reader.ReadTag();
        const int64_t length = reader.Read32();
        const int64_t end = reader.Position() + length + (length & 1);
        if (id == "BODY") {
            form.bodyStart = reader.Position();
            form.bodyLength = length;
            hasBody = true;
            break;
        }
        if (end > formEnd)
            Refuse("Chunk extends beyond form.");
        if (id == "BMHD") {
            form.header = ReadHeader(reader, length);
            hasHeader = true;
        } else if (id == "CMAP") {
            colourEntries = ReadColourMap(reader, length, form);
        } else if (id == "CAMG") {
            if (length != 4)
                Refuse("Unexpected CAMG size.");
            form.viewportMode = reader.Read32();
        }
        reader.SkipTo(end);
    }
    CheckForm(form, hasHeader, colourEntries, hasBody, formEnd);
    CheckPlanes(form);
    PLPicDecoder::CheckImageSize(form.header.width, form.header.height, 32, "The picture is empty.");
    if (form.bodyStart + form.bodyLength > reader.Size())
        PLPicDecoder::RaiseError(PL_ERR_END_OF_FILE, "Body extends beyond the end of the file.");
    return form;
}

} // namespace iff
