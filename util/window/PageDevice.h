// A device context that prints in pages: what the page writers draw on. The printer's own (a
// print job on a QPrinter) and, in tests, one that records every primitive and page.
#pragma once

#include "platform/gdi/DeviceContext.h"

class PageDevice {
public:
    virtual ~PageDevice() = default;
    virtual gdi::DeviceContext& Dc() = 0;
    // Starts the next page; false when none could be started.
    virtual bool StartPage() = 0;
    // Ends the page being drawn; false when no page is open.
    virtual bool EndPage() = 0;
};
