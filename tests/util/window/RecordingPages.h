// A page device for tests: a recording device context (by default 210 x 297 mm at 254 dots per
// inch, so that one logical unit of the low-metric mapping is one pixel) that also notes where each
// page starts and ends.
#pragma once

#include "platform/gdi/RecordingDeviceContext.h"
#include "util/window/PageDevice.h"

#include <string>
#include <vector>

class RecordingPages : public PageDevice {
public:
    explicit RecordingPages(const gdi::DeviceCaps& caps = gdi::RecordingDeviceContext::kDefaultCaps)
        : dc(caps, true)
    {
    }

    gdi::DeviceContext& Dc() override { return dc; }
    bool StartPage() override
    {
        if (open)
            faults.push_back("page started while one is open");
        open = true;
        pageStarts.push_back(dc.Primitives().size());
        return true;
    }
    bool EndPage() override
    {
        if (!open)
            faults.push_back("page ended while none is open");
        open = false;
        return true;
    }

    // The texts written on each page, in order.
    std::vector<std::vector<gdi::RecordedText>> PageTexts() const
    {
        std::vector<std::vector<gdi::RecordedText>> pages;
        const auto& all = dc.Primitives();
        for (std::size_t p = 0; p < pageStarts.size(); ++p) {
            pages.emplace_back();
            const std::size_t end = p + 1 < pageStarts.size() ? pageStarts[p + 1] : all.size();
            for (std::size_t i = pageStarts[p]; i < end; ++i)
                if (const auto* text = std::get_if<gdi::RecordedText>(&all[i]))
                    pages.back().push_back(*text);
        }
        return pages;
    }

    gdi::RecordingDeviceContext dc;
    std::vector<std::size_t> pageStarts; // the number of primitives drawn before each page
    std::vector<std::string> faults;
    bool open = false;
};
