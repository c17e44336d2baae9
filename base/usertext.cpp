#include "base/usertext.h"

#include <atomic>

namespace orvane {

namespace {

// Set once at start-up, before any worker thread exists, and read by all.
std::atomic<TextTranslator> currentTranslator{nullptr};

std::string lookUp(const char *source)
{
    const TextTranslator translator = currentTranslator.load(std::memory_order_acquire);
    return translator ? translator(TextContext, source) : std::string(source);
}

} // namespace

void SetTextTranslator(TextTranslator translator)
{
    currentTranslator.store(translator, std::memory_order_release);
}

std::string Tr(const char *source)
{
    return lookUp(source);
}

std::string Tr(const char *format, std::initializer_list<std::string_view> arguments)
{
    return FillPlaceholders(lookUp(format), arguments);
}

std::string FillPlaceholders(std::string_view format,
                             std::initializer_list<std::string_view> arguments)
{
    std::string out;
    out.reserve(format.size() + 64);
    for (size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c != '%' || i + 1 == format.size()) {
            out += c;
            continue;
        }
        const char next = format[i + 1];
        if (next >= '1' && next <= '9' && static_cast<size_t>(next - '1') < arguments.size()) {
            out += *(arguments.begin() + (next - '1'));
            ++i;
        } else {
            out += c; // a "%" of the text itself, such as the "%F" of a template
        }
    }
    return out;
}

} // namespace orvane
