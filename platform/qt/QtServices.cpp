#include "platform/qt/QtServices.h"

#include "platform/qt/QtModalServices.h"
#include "platform/qt/QtShell.h"
#include "platform/win/AppContext.h"

#include <memory>

namespace fw {

QtServices::QtServices()
{
    win::AppContext& context = win::AppContext::Instance();
    context.SetModalServices(std::make_shared<QtModalServices>());
    context.SetShell(std::make_shared<QtShell>());
}

QtServices::~QtServices()
{
    win::AppContext::Instance().Reset();
}

} // namespace fw
