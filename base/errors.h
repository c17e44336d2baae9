#pragma once

#include <stdexcept>
#include <string>

namespace orvane {

/// Base of every failure the program raises. A command that does not catch one
/// ends, and the one error handler of the program shows what() to the user.
class OrvaneError : public std::runtime_error
{
public:
    explicit OrvaneError(const std::string &message)
        : std::runtime_error(message)
    {}
};

/// An internal consistency check failed. what() reads
/// "Assertion failure (<unit>, <line> 行)".
class EAssertionFailed : public OrvaneError
{
public:
    EAssertionFailed(const char *unit, int line);
};

/// A file could not be written (the old file, if any, is left as it was).
class EWriteError : public OrvaneError
{
public:
    using OrvaneError::OrvaneError;
};

[[noreturn]] void assertionFailed(const char *unit, int line);

} // namespace orvane

/// Checks an internal invariant; on failure the current command ends with an
/// assertion message naming the unit and the source line.
#define ORVANE_ASSERT(cond, unit)                                                                  \
    do {                                                                                           \
        if (!(cond))                                                                               \
            ::orvane::assertionFailed(unit, __LINE__);                                             \
    } while (0)
