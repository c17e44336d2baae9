#pragma once

#include <functional>

namespace orvane {

class QtHost;

/// Runs one command of a window. A failure the command does not catch ends
/// it and is shown in a box captioned "Orvane"; the program goes on. Every
/// handler that starts engine work runs through here, so no exception ever
/// reaches Qt's event loop.
void runCommand(QtHost &host, const std::function<void()> &command);

} // namespace orvane
