// Fuzz target: parses Windows and enhanced metafiles from memory and plays them onto a recording
// canvas (no painting, so no graphical application is needed), for a picture of 640 x 480.
#include <cstddef>
#include <cstdint>

#include "imaging/io/PLTextException.h"
#include "imaging/metafile/MetafileData.h"
#include "imaging/metafile/MetafilePlayer.h"
#include "imaging/metafile/RecordingMetafileCanvas.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20))
        return 0;
    try {
        const metafile::Metafile m = metafile::Parse(data, size);
        metafile::RecordingMetafileCanvas canvas;
        metafile::MetafilePlayer player(m, canvas, 640, 480);
        player.Play();
    } catch (const PLTextException&) {
    }
    return 0;
}
