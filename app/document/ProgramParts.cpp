#include "app/document/ProgramParts.h"

#include "app/dialogs/ProgramOptions.h"
#include "app/document/OrvanelDoc.h"
#include "app/view/BarcodeUnitPainter.h"
#include "app/view/DisplayCopyCache.h"
#include "app/view/PageDrawing.h"
#include "app/view/PictureSource.h"
#include "imaging/wrapper/ImageCache.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/qt/fw/FrameWnd.h"
#include "platform/qt/fw/View.h"

namespace {

// Until the editing frame is wired in: a window that shows the page of the document's layout,
// scaled to fit.
class PageView : public fw::View {
public:
    void OnDraw(gdi::DeviceContext& dc) override
    {
        auto* document = dynamic_cast<COrvanelDoc*>(GetDocument());
        if (document == nullptr)
            return;
        const ProgramOptions& options = ProgramOptions::Instance();
        PageContent content { options.portraitSamplePath, options.groupSamplePath, options.extraText,
            kSampleReference };
        CachePictureSource pictures(GetImageCache(), [document] { document->LoadSampleImages(); });
        const win::SIZE client { width(), height() };
        PageRequest request { document->GetLayout(), content, pictures, copies_ };
        request.zoom = 0.25;
        request.scrollSize = client;
        request.clientSize = client;
        request.packs = &document->GetPacks();
        DrawPage(dc, request);
    }
    void OnUpdate(fw::View*, win::LPARAM) override { update(); }

private:
    DisplayCopyCache copies_;
};

} // namespace

AppParts ProgramParts()
{
    return { [] { return std::make_unique<fw::FrameWnd>(); }, [] { return std::make_unique<PageView>(); }, {},
        std::nullopt };
}
