#include "base/errors.h"

#include "base/usertext.h"

namespace orvane {

static std::string assertionText(const char *unit, int line)
{
    return Tr(QT_TRANSLATE_NOOP("Orvane", "%1 (%2, %3 行)"),
              {"Assertion failure", unit, std::to_string(line)});
}

EAssertionFailed::EAssertionFailed(const char *unit, int line)
    : OrvaneError(assertionText(unit, line))
{
}

void assertionFailed(const char *unit, int line)
{
    throw EAssertionFailed(unit, line);
}

} // namespace orvane
