#include "app/document/ProgramParts.h"

#include "app/frame/MainFrame.h"
#include "app/view/OrvanelView.h"

AppParts ProgramParts()
{
    return { [] { return std::make_unique<CMainFrame>(); }, [] { return std::make_unique<COrvanelView>(); },
        {}, std::nullopt };
}
