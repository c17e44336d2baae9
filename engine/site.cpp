#include "engine/site.h"

#include "base/errors.h"
#include "base/host.h"
#include "engine/checkrun.h"
#include "project/orvaneprojct.h"

namespace orvane {

Site::Site(Host &host, TSettings &settings, TOrvaneProject &project)
    : m_host(host)
    , m_settings(settings)
    , m_project(project)
{}

Site::~Site()
{
    // Nodes refer to the objects; the objects go first, as at program end.
    FileObjects.DestroyAll();
}

void Site::BeginBusy()
{
    ORVANE_ASSERT(BusyCount >= 0, "mainform");
    ++BusyCount;
    m_host.enterBusy();
}

void Site::EndBusy()
{
    --BusyCount;
    if (BusyCount < 0) {
        BusyCount = 0; // keep the program usable after the fault is reported
        assertionFailed("mainform", __LINE__);
    }
    m_host.setStatus({});
    m_host.clearCountPanel();
    if (BusyCount == 0) {
        HaltRequested = false;
        m_host.leaveBusy(DirectoryExists(m_project.HomeDir()));
    }
}

} // namespace orvane
