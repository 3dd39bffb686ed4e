// Fuzzes the EXIF block reader with the lookups and texts its callers use. The input is the data of an
// APP1 segment ("Exif\0\0" and a TIFF structure). Besides the sanitizers it checks the reader's output
// limits: no value or display text beyond its cap, no block producing more text than its cap.
#include "imaging/exif/ExifData.h"
#include "imaging/io/PLTextException.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void exercise(ExifData& exif)
{
    size_t total = 0;
    for (const auto& entry : exif.GetAllEntries()) {
        check(entry->GetValueText().size() <= ExifMaxValueText + 16);
        check(entry->GetDisplayText().size() <= ExifMaxValueText + 16);
        total += entry->GetValueText().size() + entry->GetDisplayText().size();
        check(exif.FindTag(entry->GetName().c_str()) != nullptr);
        (void)entry->GetDescription();
        (void)entry->GetComponentValue(0);
    }
    check(total <= ExifMaxBlockText);
    for (const char* name : { "main.ori", "Main.Make", "Sub.Shutter", "Sub.Focal", "Canon.CustomFnc",
             "CnSet1.Macro", "Casio.FlashMode", "Fuji.Quality", "Nikon2.Lens" }) {
        (void)exif.GetTagValue(name);
        std::string text;
        exif.GetTagText(name, text);
        exif.GetTagDisplayText(name, text);
    }
    ExifData copy = exif;
    copy.AppendTagFrom("Main.Desc", "Main.Model", "unknown");
    copy.CopyTagText("Main.Make", "Main.Copy");
    copy.Clear();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ExifData exif;
    try {
        exif.ReadFromBlock(data, size);
    } catch (const PLTextException& e) {
        check(e.GetCode() == PL_ERR_BAD_EXIF);
    }
    exercise(exif);
    return 0;
}
