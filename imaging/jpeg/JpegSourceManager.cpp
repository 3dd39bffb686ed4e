#include "imaging/jpeg/JpegSourceManager.h"

#include <cstdio>

#include <jerror.h>

#include "imaging/jpeg/JpegErrorManager.h"

namespace {

// The JPEG end-of-image marker.
const JOCTET kFakeEndOfImage[2] = { 0xFF, JPEG_EOI };

JpegSourceManager& Manager(j_decompress_ptr cinfo)
{
    return *reinterpret_cast<JpegSourceManager*>(cinfo->src);
}

void InitSource(j_decompress_ptr) { }
void TermSource(j_decompress_ptr) { }

void SupplyFakeEndOfImage(j_decompress_ptr cinfo)
{
    WARNMS(cinfo, JWRN_JPEG_EOF);
    cinfo->src->next_input_byte = kFakeEndOfImage;
    cinfo->src->bytes_in_buffer = sizeof kFakeEndOfImage;
}

// The whole block was handed over at the start, so libjpeg only asks again when it is used up.
boolean FillInput(j_decompress_ptr cinfo)
{
    SupplyFakeEndOfImage(cinfo);
    return TRUE;
}

void SkipInput(j_decompress_ptr cinfo, long count)
{
    if (count <= 0)
        return;
    jpeg_source_mgr& src = *cinfo->src;
    if (static_cast<unsigned long>(count) <= src.bytes_in_buffer) {
        src.next_input_byte += count;
        src.bytes_in_buffer -= static_cast<size_t>(count);
    } else {
        SupplyFakeEndOfImage(cinfo);
    }
}

void ReportProgress(j_common_ptr common)
{
    auto* cinfo = reinterpret_cast<j_decompress_ptr>(common);
    JpegSourceManager& manager = Manager(cinfo);
    if (manager.scanLimit > 0 && cinfo->input_scan_number > manager.scanLimit) {
        char text[80];
        std::snprintf(text, sizeof text, "JPEG image has more than %d scans", manager.scanLimit);
        FailJpegCall(common, text);
    }
    const jpeg_progress_mgr& progress = manager.progress;
    if (manager.onProgress && progress.pass_limit > 0 && progress.total_passes > 0) {
        const double pass
            = static_cast<double>(progress.pass_counter) / static_cast<double>(progress.pass_limit);
        if (!manager.onProgress(manager.client, (pass + progress.completed_passes) / progress.total_passes))
            FailJpegCall(common, "Decoding was stopped by its progress listener");
    }
}

} // namespace

void InstallJpegSource(jpeg_decompress_struct* cinfo, JpegSourceManager& manager, const uint8_t* data,
    size_t size, void* client, bool (*onProgress)(void* client, double fraction))
{
    manager.pub.init_source = InitSource;
    manager.pub.fill_input_buffer = FillInput;
    manager.pub.skip_input_data = SkipInput;
    manager.pub.resync_to_restart = jpeg_resync_to_restart;
    manager.pub.term_source = TermSource;
    manager.pub.next_input_byte = data;
    manager.pub.bytes_in_buffer = size;
    manager.progress.progress_monitor = ReportProgress;
    manager.data = data;
    manager.size = size;
    manager.client = client;
    manager.onProgress = onProgress;
    cinfo->src = &manager.pub;
    cinfo->progress = &manager.progress;
}
