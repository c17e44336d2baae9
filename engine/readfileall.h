#pragma once

#include "base/errors.h"

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

/// The whole file as one byte string, every NUL byte turned into a blank, so the
/// length equals the file size. Refuses a file whose first min(size, 200) bytes
/// hold more than n/10 bytes in 0x01-0x08 or 0x10-0x1F (ENotTextFileError).
/// An open failure and an allocation failure are shown through host first.
std::string ReadFileAll(const std::string &path, Host &host);

/// As ReadFileAll, reading into buffer (reused between calls to avoid
/// allocating per file). Returns the number of bytes; buffer holds them.
size_t ReadFileAllInto(const std::string &path, Host &host, std::string &buffer);

/// The binary test on already-read text.
bool LooksBinary(const std::string &text);

} // namespace orvane
