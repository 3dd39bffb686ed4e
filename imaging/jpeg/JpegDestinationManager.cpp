#include "imaging/jpeg/JpegDestinationManager.h"

#include "imaging/io/PLDataSink.h"

#include <jerror.h>

namespace {

JpegDestinationManager& Manager(j_compress_ptr cinfo)
{
    // pub is the first member, so the destination pointer is the manager itself.
    return *reinterpret_cast<JpegDestinationManager*>(cinfo->dest);
}

// Hands n bytes to the sink; false, with the sink's exception kept, when it raised.
bool PassToSink(JpegDestinationManager& manager, size_t n)
{
    try {
        manager.sink->WriteBytes(static_cast<int>(n), manager.block);
        return true;
    } catch (...) {
        manager.failure = std::current_exception();
        return false;
    }
}

void StartBlock(JpegDestinationManager& manager)
{
    manager.pub.next_output_byte = manager.block;
    manager.pub.free_in_buffer = JpegDestinationManager::kBlockBytes;
}

void InitDestination(j_compress_ptr cinfo)
{
    StartBlock(Manager(cinfo));
}

boolean EmptyOutputBuffer(j_compress_ptr cinfo)
{
    JpegDestinationManager& manager = Manager(cinfo);
    if (!PassToSink(manager, JpegDestinationManager::kBlockBytes))
        ERREXIT(cinfo, JERR_FILE_WRITE);
    StartBlock(manager);
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo)
{
    JpegDestinationManager& manager = Manager(cinfo);
    const size_t used = JpegDestinationManager::kBlockBytes - manager.pub.free_in_buffer;
    if (used > 0 && !PassToSink(manager, used))
        ERREXIT(cinfo, JERR_FILE_WRITE);
    StartBlock(manager);
}

} // namespace

void InstallJpegDestination(jpeg_compress_struct* cinfo, JpegDestinationManager& manager, PLDataSink* sink)
{
    manager.pub.init_destination = InitDestination;
    manager.pub.empty_output_buffer = EmptyOutputBuffer;
    manager.pub.term_destination = TermDestination;
    manager.sink = sink;
    manager.failure = nullptr;
    StartBlock(manager);
    cinfo->dest = &manager.pub;
}
