#include "engine/filenames.h"

#include "base/strutil.h"

namespace orvane {

int32_t NameKey(std::string_view path)
{
    const std::string_view name = ExtractFileName(path);
    int32_t key = 0;
    for (size_t i = 0; i < name.size() && i < 6; ++i)
        key += static_cast<unsigned char>(asciiUpper(name[i]));
    return key;
}

int CompareFileNames(std::string_view a, std::string_view b, bool ignoreCase)
{
    if (ignoreCase)
        return CompareText(a, b);
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

} // namespace orvane
