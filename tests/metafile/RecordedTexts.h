// The texts a metafile hands the canvas, as the recording canvas writes them down.
#pragma once

#include "imaging/metafile/MetafileData.h"
#include "imaging/metafile/MetafilePlayer.h"
#include "imaging/metafile/RecordingMetafileCanvas.h"
#include "metafile/WmfWriter.h"

#include <string>
#include <vector>

namespace recordedtexts {

// The texts the canvas received, one line each ("text <text> font <face> [advances ...]"), played
// on a 100 x 100 picture.
inline std::vector<std::string> TextsOf(const wmfwriter::Bytes& file)
{
    const metafile::Metafile m = metafile::Parse(file.data(), file.size());
    metafile::RecordingMetafileCanvas canvas;
    metafile::MetafilePlayer player(m, canvas, 100, 100);
    player.Play();
    std::vector<std::string> texts;
    for (const std::string& call : canvas.calls)
        if (call.rfind("text ", 0) == 0)
            texts.push_back(call);
    return texts;
}

} // namespace recordedtexts
