#pragma once

#include <string>
#include <vector>

namespace orvane {

class Host;

/// Every place where text occurs in the file, as pairs in file order: element
/// 2k is the line number (from 1, decimal) of the k-th occurrence, element 2k+1
/// a snippet of up to `before` bytes before it, the text and `after` bytes after
/// it, never starting on the second or ending on the first byte of a
/// double-byte character. Occurrences do not overlap. Read failures of
/// ReadFileAll reach the caller.
std::vector<std::string> FindStringInFile(const std::string &path, const std::string &text,
                                          int before, int after, bool ignoreCase, Host &host);

} // namespace orvane
