#pragma once

#include "base/errors.h"

#include <functional>
#include <string>

namespace orvane {

class Host;

/// The file could not be opened (the user has seen "ファイルをオープンできません",
/// or "シンボリックリンクのリンク先がありません" as a warning for a symbolic link
/// that leads nowhere).
class EOpenFailure : public OrvaneError
{
public:
    using OrvaneError::OrvaneError;
};
/// No memory for the file's contents (the user has seen "メモリーを確保できません").
class EOutOfMemory : public OrvaneError
{
public:
    using OrvaneError::OrvaneError;
};
/// Reading failed after the file was opened.
class EReadFailure : public OrvaneError
{
public:
    using OrvaneError::OrvaneError;
};
/// The file looks binary; what() is "it is binary file".
class ENotTextFileError : public OrvaneError
{
public:
    ENotTextFileError()
        : OrvaneError("it is binary file")
    {
    }
};

/// The reading was declined before any byte was read (see ReadFileAllInto).
class EReadDeclined : public OrvaneError
{
public:
    using OrvaneError::OrvaneError;
};

/// The whole file as one byte string, every NUL byte turned into a blank, so the
/// length equals the file size. Refuses a file whose first min(size, 200) bytes
/// hold more than n/10 bytes in 0x01-0x08 or 0x10-0x1F (ENotTextFileError).
/// An open failure and an allocation failure are shown through host first.
/// Only a regular file is read: anything else (a folder, a FIFO, a device) is
/// an open failure and is never opened. Paths of any length are read.
std::string ReadFileAll(const std::string &path, Host &host);

/// As ReadFileAll, reading into buffer (reused between calls to avoid
/// allocating per file). Returns the number of bytes; buffer holds them.
/// admit, when given, is asked with the file's size before anything is
/// allocated, and again with the larger size of a file that grew while it was
/// read; false ends the reading with EReadDeclined.
size_t ReadFileAllInto(const std::string &path, Host &host, std::string &buffer,
                       const std::function<bool(unsigned long long)> &admit = {});

/// As ReadFileAllInto for the entry name of the folder open as folderFd
/// (path names the same file, for messages): no path is walked down again
/// for each file of a folder.
size_t ReadFileAllAt(int folderFd, const std::string &name, const std::string &path, Host &host,
                     std::string &buffer,
                     const std::function<bool(unsigned long long)> &admit = {});

/// As ReadFileAllInto for a file already open as fd (named path in messages).
size_t ReadOpenFileAll(int fd, const std::string &path, Host &host, std::string &buffer,
                       const std::function<bool(unsigned long long)> &admit = {});

/// The binary test on already-read text.
bool LooksBinary(const std::string &text);

} // namespace orvane
