#include "engine/site.h"

#include "base/errors.h"
#include "base/host.h"
#include "engine/checkrun.h"
#include "engine/pageprefetch.h"
#include "project/project.h"
#include "settings/settings.h"

namespace orvane {

Site::Site(Host &host, Settings &settings, Project &project)
    : ReadAheadWorkers(PagePrefetcher::DefaultWorkers())
    , m_host(host)
    , m_settings(settings)
    , m_project(project)
{
}

Site::~Site()
{
    // Nodes refer to the objects; the objects go first, as at program end.
    FileObjects.DestroyAll();
}

uint64_t Site::ResolutionStamp()
{
    ResolutionState now{FileObjects.Generation(), m_settings.IgnoreCase, m_settings.ModernLinks,
                        m_project.ServerRoot(), m_settings.DefaultFileName};
    if (!(now == m_resolution)) {
        m_resolution = std::move(now);
        ++m_resolutionStamp;
    }
    return m_resolutionStamp;
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
