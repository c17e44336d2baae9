#include "support/fuzzinput.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <unistd.h>

namespace orvane::fuzz {

namespace {

std::string makeScratchFolder()
{
    const char *base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string folder = std::string(base) + "/orvane-fuzz-XXXXXX";
    if (!::mkdtemp(folder.data()))
        PropertyFailed("cannot make a scratch folder");
    static std::string made;
    made = folder;
    // A run that ends by its time limit exits normally; a crash keeps the
    // folder, which holds the input that caused it.
    std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(made, ec);
    });
    return folder + "/";
}

} // namespace

std::string ScratchPath(std::string_view name)
{
    // One folder per process; a parallel run (-jobs) gets its own.
    static const std::string folder = makeScratchFolder();
    return folder + std::string(name);
}

void WriteScratch(const std::string &path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        PropertyFailed("cannot write a scratch file");
}

void PropertyFailed(const char *what)
{
    std::fprintf(stderr, "property failed: %s\n", what);
    std::abort();
}

} // namespace orvane::fuzz
