#include "engine/site.h"

#include "base/errors.h"
#include "base/host.h"
#include "engine/checkrun.h"
#include "engine/linkhints.h"
#include "engine/pageprefetch.h"
#include "engine/referrers.h"
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
    m_referrers.reset();
    m_hints.reset();
    FileObjects.DestroyAll();
}

const ReferrerTable &Site::Referrers()
{
    if (!m_referrers || !(m_referrersKey == tableKey())) {
        m_referrers.reset();
        m_referrers = std::make_unique<ReferrerTable>(*this);
        m_referrersKey = tableKey();
    }
    return *m_referrers;
}

const LinkHints &Site::Hints()
{
    if (!m_hints || !(m_hintsKey == tableKey())) {
        m_hints.reset();
        m_hints = std::make_unique<LinkHints>(*this);
        m_hintsKey = tableKey();
    }
    return *m_hints;
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
