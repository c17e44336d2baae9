#include "base/errors.h"

namespace orvane {

static std::string assertionText(const char *unit, int line)
{
    return std::string("Assertion failure (") + unit + ", " + std::to_string(line) + " 行)";
}

EAssertionFailed::EAssertionFailed(const char *unit, int line)
    : OrvaneError(assertionText(unit, line))
{}

void assertionFailed(const char *unit, int line)
{
    throw EAssertionFailed(unit, line);
}

} // namespace orvane
