#include "engine/targetlookahead.h"

#include "engine/fileobject.h"

namespace orvane {

void TargetLookAhead::fetchTarget(const ParsedLink &link, int step) const
{
    if (link.full.empty())
        return;
    if (const FileObject *target = m_index.Peek(link.fullHash))
        target->Prefetch(step, !link.anchor.empty());
}

} // namespace orvane
