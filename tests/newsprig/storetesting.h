#pragma once

#include "support/scopedenv.h"

#include <map>
#include <optional>
#include <string>
#include <sys/resource.h>

namespace orvane::test {

/// Every folder and file below root, by relative path: folders as "<dir>",
/// files as their contents. Two equal snapshots mean nothing was written.
std::map<std::string, std::string> snapshot(const std::string &root);

/// Lowers the file-size limit of the process (with SIGXFSZ ignored, so that a
/// write past it fails with EFBIG) until the object goes.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_old{};
};

} // namespace orvane::test
