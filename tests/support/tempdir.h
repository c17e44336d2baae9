#pragma once

#include <string>
#include <string_view>

namespace orvane::test {

/// A temporary folder removed with everything in it when the object goes.
/// path() ends in "/".
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const std::string &path() const { return m_path; }
    /// Writes a file (folders made as needed) below the temporary folder;
    /// returns its full path.
    std::string write(std::string_view relative, std::string_view contents) const;
    /// Makes a folder (and its parents); returns its full path with "/".
    std::string mkdir(std::string_view relative) const;

private:
    std::string m_path;
};

/// Reads a whole file; empty when it cannot be read.
std::string readFile(const std::string &path);

} // namespace orvane::test
