#include "imaging/bitmap/PLClipboard.h"

namespace {

PLClipboardFactory& Registered()
{
    static PLClipboardFactory factory = nullptr;
    return factory;
}

} // namespace

PLClipboardFactory SetClipboardFactory(PLClipboardFactory factory)
{
    const PLClipboardFactory previous = Registered();
    Registered() = factory;
    return previous;
}

std::unique_ptr<PLClipboard> CreateClipboard()
{
    if (const PLClipboardFactory factory = Registered())
        return factory();
    return nullptr;
}
