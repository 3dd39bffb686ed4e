// Shared pieces of the painter tests: pictures made in memory, a picture source that hands them
// out as a cache would, and a page of the default layout drawn at scale 1 on a 254 dpi recording
// device, where one device pixel is one layout unit.
#pragma once

#include "app/view/BarcodeUnitPainter.h"
#include "app/view/DisplayCopyCache.h"
#include "app/view/PageDrawing.h"
#include "app/view/PaintContext.h"
#include "app/view/PictureSource.h"
#include "imaging/bitmap/PLWinBmp.h"
#include "model/Layout.h"
#include "model/PacksCollection.h"
#include "platform/gdi/RecordingDeviceContext.h"
#include "platform/win/AppContext.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

namespace painttest {

inline constexpr char kPortraitPath[] = "/samples/portrait.jpg";
inline constexpr char kGroupPath[] = "/samples/group.jpg";

// A 32-bpp picture whose pixels come from the function (x, y from the top-left).
inline std::shared_ptr<Pellimar::DeviceIndepBitmap> MakePicture(
    int width, int height, int dpi = 0,
    const std::function<win::COLORREF(int, int)>& colour = [](int, int) { return win::RGB(90, 120, 150); })
{
    auto picture = std::make_shared<Pellimar::DeviceIndepBitmap>();
    EXPECT_TRUE(picture->CreateImage(width, height, 32, false, false, dpi));
    const PLWinBmp& bmp = *picture->GetBitmap();
    for (int y = 0; y < height; ++y) {
        PLPixel32* row = bmp.GetRow32(y);
        for (int x = 0; x < width; ++x) {
            const win::COLORREF c = colour(x, y);
            row[x].Set(win::GetRValue(c), win::GetGValue(c), win::GetBValue(c));
        }
    }
    return picture;
}

// Pictures by name; a name is "in the cache" once it has been asked for or the samples were loaded.
class FakePictures : public PictureSource {
public:
    std::map<std::string, Picture> files;
    std::set<std::string> held;
    int sampleLoads = 0;

    bool Contains(const std::string& path) override { return held.count(path) != 0; }
    Picture GetImage(const std::string& path, ImageResult& result) override
    {
        const auto it = files.find(path);
        if (it == files.end()) {
            result = { "missing", 7, 0 };
            return {};
        }
        held.insert(path);
        result = {};
        return it->second;
    }
    void LoadSampleImages() override
    {
        ++sampleLoads;
        for (const auto& [name, picture] : files)
            held.insert(name);
    }
};

// The default layout of a proof type on A4 with 30 margins, drawn on a 254 dpi recording device.
struct PageFixture {
    explicit PageFixture(int32_t layoutType = 0, bool printing = false)
        : dc(gdi::RecordingDeviceContext::kDefaultCaps, printing)
    {
        win::AppContext::Instance().Reset();
        layout = std::make_unique<Layout>();
        layout->SetLayoutType(layoutType);
        dc.SetMapMode(gdi::MM_LOMETRIC);
        content.portraitSamplePath = kPortraitPath;
        content.groupSamplePath = kGroupPath;
        content.reference = kSampleReference;
    }
    ~PageFixture()
    {
        layout.reset();
        win::AppContext::Instance().Reset();
    }

    LayoutUnit& Unit(const std::string& name) { return *layout->GetRootUnit()->FindByName(name); }
    PaintContext Context() { return { converter, dc, *layout, pictures, copies, content.reference, &packs }; }
    // The page at zoom 1 in a client area just the page's size: the page starts at the origin.
    LayoutConverter DrawScreen(const LayoutUnit* selected = nullptr)
    {
        const win::SIZE page { layout->GetPaper().GetPaperWidth(), layout->GetPaper().GetPaperHeight() };
        return DrawPage(dc, { *layout, content, pictures, copies, 1.0, page, page, selected, &packs });
    }

    gdi::RecordingDeviceContext dc;
    std::unique_ptr<Layout> layout;
    LayoutConverter converter;
    FakePictures pictures;
    DisplayCopyCache copies;
    PageContent content;
    PacksCollection packs;
};

// The margin test's marks on a printer whose printable area is 4800 x 6600 pixels, in the current
// font: each word inside its edge, each line on the edge.
inline void ExpectMarginMarks(gdi::RecordingDeviceContext& dc)
{
    const auto texts = dc.All<gdi::RecordedText>();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0].text, "LEFT");
    EXPECT_EQ(texts[0].deviceOrigin, (win::POINT { 10, 10 }));
    EXPECT_EQ(texts[1].text, "TOP");
    EXPECT_EQ(texts[1].deviceOrigin, (win::POINT { 2350, 10 }));
    EXPECT_EQ(texts[2].text, "RIGHT");
    EXPECT_EQ(texts[2].deviceOrigin.x, 4800 - dc.GetTextExtent("RIGHT ").cx);
    EXPECT_EQ(texts[3].text, "BOTTOM");
    const win::SIZE bottom = dc.GetTextExtent("BOTTOM");
    EXPECT_EQ(texts[3].deviceOrigin, (win::POINT { 2400 - bottom.cx / 2, 6600 - bottom.cy - 10 }));
    const auto lines = dc.All<gdi::RecordedLine>();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].call.deviceFrom, (win::POINT { 0, 0 }));
    EXPECT_EQ(lines[0].call.deviceTo, (win::POINT { 0, 100 }));
    EXPECT_EQ(lines[1].call.deviceFrom, (win::POINT { 2350, 0 }));
    EXPECT_EQ(lines[1].call.deviceTo, (win::POINT { 2450, 0 }));
    EXPECT_EQ(lines[2].call.deviceFrom, (win::POINT { 4799, 0 }));
    EXPECT_EQ(lines[2].call.deviceTo, (win::POINT { 4799, 100 }));
    EXPECT_EQ(lines[3].call.deviceFrom, (win::POINT { 2350, 6599 }));
    EXPECT_EQ(lines[3].call.deviceTo, (win::POINT { 2450, 6599 }));
}

} // namespace painttest
