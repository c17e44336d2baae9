#pragma once

#include <string>

namespace orvane::test {

/// The wildcard matcher written the slow and obvious way: eat literals,
/// collapse a run of "*" and "?", and at a star try every place where the next
/// literal byte occurs. The fast matcher must agree with it.
bool LiteralWildCardMatch(std::string pattern, std::string text);

} // namespace orvane::test
