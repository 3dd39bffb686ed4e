#include "imaging/jpeg/JpegErrorManager.h"

#include <cstring>

namespace {

[[noreturn]] void ExitOnFatalError(j_common_ptr cinfo)
{
    JpegErrorManager& manager = JpegErrors(cinfo);
    (*cinfo->err->format_message)(cinfo, manager.message);
    std::longjmp(manager.jump, 1);
}

// Level -1 is a warning (corrupt data, premature end); levels 0 and up are trace messages, which
// are dropped.
void CollectMessage(j_common_ptr cinfo, int level)
{
    if (level >= 0)
        return;
    JpegErrorManager& manager = JpegErrors(cinfo);
    ++manager.warningCount;
    ++cinfo->err->num_warnings;
    (*cinfo->err->format_message)(cinfo, manager.lastWarning);
}

void DropMessage(j_common_ptr) { }

} // namespace

void InstallJpegErrorManager(jpeg_common_struct* cinfo, JpegErrorManager& manager)
{
    cinfo->err = jpeg_std_error(&manager.pub);
    manager.pub.error_exit = ExitOnFatalError;
    manager.pub.emit_message = CollectMessage;
    manager.pub.output_message = DropMessage;
    manager.message[0] = '\0';
    ResetJpegWarnings(manager);
}

JpegErrorManager& JpegErrors(jpeg_common_struct* cinfo)
{
    // pub is the first member, so the error pointer is the manager itself.
    return *reinterpret_cast<JpegErrorManager*>(cinfo->err);
}

void ResetJpegWarnings(JpegErrorManager& manager)
{
    manager.warningCount = 0;
    manager.lastWarning[0] = '\0';
    manager.pub.num_warnings = 0;
}

void FailJpegCall(jpeg_common_struct* cinfo, const char* text)
{
    JpegErrorManager& manager = JpegErrors(cinfo);
    std::snprintf(manager.message, sizeof manager.message, "%s", text);
    std::longjmp(manager.jump, 1);
}
