// The sample photographs in the main window: decoded for the screen at a reduced scale inside the
// JPEG decoder, the first frame looks as it did with the full decode; zooming in decodes again
// with more pixels; printing decodes at full size and gives the pixels back after the job.
#include "MainFrameFixture.h"
#include "app/document/DocumentHints.h"
#include "model/Layout.h"

#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace frametest {
namespace {

// The 3 x 3 box mean of each colour channel (the edges use the pixels that exist).
QImage Blurred(const QImage& source)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    QImage out(image.size(), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            int r = 0, g = 0, b = 0, n = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    if (!image.valid(x + dx, y + dy))
                        continue;
                    const QRgb p = image.pixel(x + dx, y + dy);
                    r += qRed(p);
                    g += qGreen(p);
                    b += qBlue(p);
                    ++n;
                }
            out.setPixel(x, y, qRgb(r / n, g / n, b / n));
        }
    return out;
}

// The largest difference of any channel within the rectangle, and where.
struct Difference {
    int levels = 0;
    QPoint at;
};
Difference LargestDifference(const QImage& a, const QImage& b, const QRect& within)
{
    Difference worst;
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            const int d = std::max({ std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                std::abs(qBlue(p) - qBlue(q)) });
            if (d > worst.levels)
                worst = { d, QPoint(x, y) };
        }
    return worst;
}

class SamplePhotographScale : public MainFrameTest {
protected:
    // The main window at its start size with the page fitted to it, as the first frame shows it.
    void SetUp() override
    {
        MainFrameTest::SetUp();
        view->ZoomToFit();
        RunUntilIdle();
    }
    int PortraitScale()
    {
        ImageResult result;
        const auto picture = GetImageCache().GetImage(SamplePath("PortraitSample.jpg"), result);
        return picture ? picture->GetDecodeScale() : 0;
    }
    // The client rectangle of the portrait image unit, less the blur's reach and a pixel for the
    // fitted picture's rounding at its edges.
    QRect PhotographRect()
    {
        const win::RECT b = view->LayoutToClient(ImageUnitRect());
        return QRect(QPoint(std::min(b.left, b.right), std::min(b.top, b.bottom)),
            QPoint(std::max(b.left, b.right) - 1, std::max(b.top, b.bottom) - 1))
            .adjusted(3, 3, -3, -3);
    }
    win::RECT ImageUnitRect() { return Unit("PImage").GetBounds(); }
    QImage Grab(const char* name)
    {
        const QImage image = view->grab().toImage();
        EXPECT_TRUE(image.save(QString::fromStdString(qttest::OutputPath(name).string())));
        return image;
    }
};

// The first frame, and the page made smaller, drawn from the reduced decode look as they do drawn
// from the full decode: within 8 levels after a 3 x 3 blur of both, and nothing else changes.
TEST_F(SamplePhotographScale, FirstFrameFromTheReducedDecodeLooksLikeTheFullDecode)
{
    for (const int zoomOutSteps : { 0, 6 }) {
        SCOPED_TRACE(zoomOutSteps);
        for (int i = 0; i < zoomOutSteps; ++i)
            view->ZoomOut();
        document->ReloadSampleImage(SamplePath("PortraitSample.jpg"), COrvanelDoc::kSampleDisplayScale);
        const std::string tag = "-out" + std::to_string(zoomOutSteps);
        const QImage reduced = Grab(("sample-first-frame-reduced" + tag + ".png").c_str());
        const int scale = PortraitScale();
        EXPECT_GT(scale, 1) << "the frame needs fewer pixels than the file holds";
        document->ReloadSampleImage(SamplePath("PortraitSample.jpg"), 1);
        const QImage full = Grab(("sample-first-frame-full" + tag + ".png").c_str());
        ASSERT_EQ(PortraitScale(), 1);
        ASSERT_EQ(reduced.size(), full.size());
        const QRect photograph = PhotographRect();
        ASSERT_GT(photograph.width(), zoomOutSteps == 0 ? 100 : 40);
        ASSERT_GT(photograph.height(), zoomOutSteps == 0 ? 100 : 40);
        const Difference worst = LargestDifference(Blurred(reduced), Blurred(full), photograph);
        EXPECT_LE(worst.levels, 8) << "at " << worst.at.x() << ", " << worst.at.y() << " scale " << scale;
        // Outside the photograph nothing changes at all.
        const QRect left(0, 0, photograph.left() - 4, reduced.height());
        EXPECT_EQ(LargestDifference(reduced, full, left).levels, 0);
    }
}

TEST_F(SamplePhotographScale, ZoomingInDecodesAgainWithMorePixelsAndLooksTheSame)
{
    const int firstScale = PortraitScale();
    for (int i = 0; i < 4; ++i)
        view->ZoomIn();
    RunUntilIdle();
    const QImage zoomed = Grab("sample-zoomed-reduced.png");
    const int scale = PortraitScale();
    EXPECT_LT(scale, firstScale) << "zoom " << view->GetZoom();
    // The finer decode has enough pixels for what is drawn: it looks as the full decode does.
    document->ReloadSampleImage(SamplePath("PortraitSample.jpg"), 1);
    const QImage full = Grab("sample-zoomed-full.png");
    const QRect photograph = PhotographRect().intersected(zoomed.rect());
    ASSERT_FALSE(photograph.isEmpty());
    const Difference worst = LargestDifference(Blurred(zoomed), Blurred(full), photograph);
    EXPECT_LE(worst.levels, 8) << "at " << worst.at.x() << ", " << worst.at.y() << " scale " << scale;
}

TEST_F(SamplePhotographScale, PrintingDecodesAtFullSizeThenTheScreenScaleComesBack)
{
    std::vector<int> scales;
    GetImageCache().SetOutOfMemorySeam([&](CacheStep step) {
        if (step == CacheStep::Decode)
            scales.push_back(GetImageCache().GetDecodeScale(SamplePath("PortraitSample.jpg")));
        return false;
    });
    const std::filesystem::path pdf = qttest::OutputPath("sample-print.pdf");
    modal->AnswerNextPrint(win::IDOK, pdf.string());
    view->OnFilePrint();
    GetImageCache().SetOutOfMemorySeam(nullptr);
    EXPECT_TRUE(std::filesystem::exists(pdf));
    // One decode at full size for the print, one at the display scale after it.
    EXPECT_EQ(scales, (std::vector<int> { 1, COrvanelDoc::kSampleDisplayScale }));
    EXPECT_EQ(PortraitScale(), COrvanelDoc::kSampleDisplayScale);
}

// A print of the combined proof has one sample at full size at a time: the portrait goes back to
// the display scale before the group photograph is decoded at full size, so the job never holds
// both full pictures at once. Both come back at the display scale after the job.
TEST_F(SamplePhotographScale, PrintingHoldsOneSampleAtFullSizeAtATime)
{
    document->GetLayout().SetLayoutType(2); // combined: both samples on the page
    document->UpdatePackCounts();
    document->UpdateAllViews(nullptr, hint::layoutReplaced);
    document->LayoutChanged();
    RunUntilIdle();
    const std::string portrait = SamplePath("PortraitSample.jpg");
    const std::string group = SamplePath("GroupSample.jpg");
    std::vector<std::pair<int, int>> fullDecodes; // the portrait's and the group's scales then
    GetImageCache().SetOutOfMemorySeam([&](CacheStep step) {
        ImageCache& cache = GetImageCache();
        if (step == CacheStep::Decode
            && (cache.GetDecodeScale(portrait) == 1 || cache.GetDecodeScale(group) == 1))
            fullDecodes.emplace_back(cache.GetDecodeScale(portrait), cache.GetDecodeScale(group));
        return false;
    });
    const std::filesystem::path pdf = qttest::OutputPath("sample-print-combined.pdf");
    modal->AnswerNextPrint(win::IDOK, pdf.string());
    view->OnFilePrint();
    GetImageCache().SetOutOfMemorySeam(nullptr);
    EXPECT_TRUE(std::filesystem::exists(pdf));
    ASSERT_FALSE(fullDecodes.empty());
    EXPECT_EQ(fullDecodes.front(), std::make_pair(1, COrvanelDoc::kSampleDisplayScale));
    EXPECT_EQ(fullDecodes.back(), std::make_pair(COrvanelDoc::kSampleDisplayScale, 1));
    for (const auto& [portraitScale, groupScale] : fullDecodes)
        EXPECT_FALSE(portraitScale == 1 && groupScale == 1) << "both samples at full size";
    EXPECT_EQ(GetImageCache().GetDecodeScale(portrait), COrvanelDoc::kSampleDisplayScale);
    EXPECT_EQ(GetImageCache().GetDecodeScale(group), COrvanelDoc::kSampleDisplayScale);
}

// A sample the zoom needs at full size stays so after a print (here one cancelled at its dialog):
// only what the print itself decoded at full size goes back to the display scale.
TEST_F(SamplePhotographScale, APrintLeavesASampleTheZoomNeedsAtFullSize)
{
    for (int i = 0; i < 8 && PortraitScale() != 1; ++i) {
        view->ZoomIn();
        RunUntilIdle();
    }
    ASSERT_EQ(PortraitScale(), 1) << "zoom " << view->GetZoom();
    modal->AnswerNextPrint(win::IDCANCEL);
    view->OnFilePrint();
    EXPECT_EQ(PortraitScale(), 1);
}

// Decoding one sample again (a zoom or a print needs it finer) leaves the other sample's picture
// as it is: no copy back from the picture as loaded, no new crop.
TEST_F(SamplePhotographScale, ReloadingOneSampleLeavesTheOtherAlone)
{
    document->GetLayout().SetLayoutType(2); // combined: both samples on the page
    document->UpdatePackCounts();
    document->UpdateAllViews(nullptr, hint::layoutReplaced);
    document->LayoutChanged();
    RunUntilIdle();
    ImageResult result;
    const auto group = GetImageCache().GetImage(SamplePath("GroupSample.jpg"), result);
    ASSERT_NE(group, nullptr);
    const uint64_t changes = group->GetChangeCount();
    document->ReloadSampleImage(SamplePath("PortraitSample.jpg"), 1);
    EXPECT_EQ(PortraitScale(), 1);
    EXPECT_EQ(group->GetChangeCount(), changes);
}

} // namespace
} // namespace frametest
