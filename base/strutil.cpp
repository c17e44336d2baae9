#include "base/strutil.h"

namespace orvane {

std::string AsciiUpper(std::string_view text)
{
    std::string out(text);
    AsciiUpperInPlace(out);
    return out;
}

void AsciiUpperInPlace(std::string &text)
{
    for (char &c : text)
        c = asciiUpper(c);
}

std::string_view ExtractFileName(std::string_view path)
{
    const size_t slash = path.rfind(PathDelim);
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view ExtractFilePath(std::string_view path)
{
    const size_t slash = path.rfind(PathDelim);
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1);
}

std::string_view ExtractFileExt(std::string_view path)
{
    const std::string_view name = ExtractFileName(path);
    const size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

bool HasTrailingDelimiter(std::string_view path)
{
    return !path.empty() && path.back() == PathDelim;
}

std::string IncludeTrailingDelimiter(std::string path)
{
    if (!path.empty() && path.back() != PathDelim)
        path += PathDelim;
    return path;
}

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

bool StartsWithText(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

std::string TrimControl(std::string_view text)
{
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 32)
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32)
        --end;
    return std::string(text.substr(begin, end - begin));
}

} // namespace orvane
