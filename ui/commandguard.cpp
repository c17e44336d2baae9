#include "ui/commandguard.h"

#include "ui/qthost.h"

#include <exception>

namespace orvane {

void runCommand(QtHost &host, const std::function<void()> &command)
{
    try {
        command();
    } catch (const std::exception &e) {
        host.showFailure(e.what());
    }
}

} // namespace orvane
