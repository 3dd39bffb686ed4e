#include "imaging/bitmap/PLClipboard.h"

#include "imaging/io/PLFactorySlot.h"

PLClipboardFactory SetClipboardFactory(PLClipboardFactory factory)
{
    return PLFactorySlot<PLClipboardFactory>::Set(factory);
}

std::unique_ptr<PLClipboard> CreateClipboard()
{
    if (const PLClipboardFactory factory = PLFactorySlot<PLClipboardFactory>::Get())
        return factory();
    return nullptr;
}
