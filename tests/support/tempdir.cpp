#include "support/tempdir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace fs = std::filesystem;

namespace orvane::test {

TempDir::TempDir()
{
    std::string templ = (fs::temp_directory_path() / "orvane-test-XXXXXX").string();
    if (!mkdtemp(templ.data()))
        throw std::runtime_error("cannot make a temporary folder");
    m_path = templ + "/";
}

TempDir::~TempDir()
{
    std::error_code ec;
    // Folders a test made read-only must become writable to be removed.
    for (auto it = fs::recursive_directory_iterator(m_path, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(m_path, ec);
    // Paths longer than the system allows stop remove_all; rm goes down by
    // descriptor. The folder's name holds only what mkdtemp puts there.
    if (ec && fs::exists(m_path))
        (void)!std::system(("rm -rf -- '" + m_path + "'").c_str());
}

std::string TempDir::write(std::string_view relative, std::string_view contents) const
{
    const fs::path full = fs::path(m_path) / fs::path(std::string(relative));
    fs::create_directories(full.parent_path());
    std::ofstream out(full, std::ios::binary);
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    if (!out)
        throw std::runtime_error("cannot write " + full.string());
    return full.string();
}

std::string TempDir::mkdir(std::string_view relative) const
{
    const fs::path full = fs::path(m_path) / fs::path(std::string(relative));
    fs::create_directories(full);
    std::string s = full.string();
    if (s.back() != '/')
        s += '/';
    return s;
}

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

} // namespace orvane::test
