#include "base/textcodec.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iconv.h>

namespace orvane {

namespace {

inline unsigned char byteAt(std::string_view text, size_t i)
{
    return static_cast<unsigned char>(text[i]);
}

inline bool isContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

/// Shift-JIS (code page 932) lead bytes.
inline bool isSjisLeadRange(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

/// Length of the well-formed UTF-8 sequence starting at i, 0 when there is none.
/// The second-byte limits exclude overlong forms, surrogates and code points
/// above U+10FFFF.
size_t utf8SequenceLength(std::string_view text, size_t i)
{
    const unsigned char c = byteAt(text, i);
    size_t len = 0;
    unsigned char lo = 0x80, hi = 0xBF;
    if (c < 0x80)
        return 1;
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        if (c == 0xE0)
            lo = 0xA0;
        else if (c == 0xED)
            hi = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        if (c == 0xF0)
            lo = 0x90;
        else if (c == 0xF4)
            hi = 0x8F;
    } else {
        return 0;
    }
    if (text.size() - i < len)
        return 0;
    const unsigned char second = byteAt(text, i + 1);
    if (second < lo || second > hi)
        return 0;
    for (size_t k = 2; k < len; ++k) {
        if (!isContinuation(byteAt(text, i + k)))
            return 0;
    }
    return len;
}

/// Whether the eight bytes at p are all ASCII; lets long runs of markup pass
/// the UTF-8 check quickly.
inline bool eightAscii(const char *p)
{
    uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return (word & 0x8080808080808080ull) == 0;
}

/// One conversion descriptor per thread, opened on first use; display decoding
/// runs for every tree label and link text, so opening it each time would cost.
class Cp932Decoder
{
public:
    Cp932Decoder()
        : m_cd(iconv_open("UTF-8", "CP932"))
    {
    }
    ~Cp932Decoder()
    {
        if (valid())
            iconv_close(m_cd);
    }
    Cp932Decoder(const Cp932Decoder &) = delete;
    Cp932Decoder &operator=(const Cp932Decoder &) = delete;

    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    std::string decode(std::string_view bytes);

private:
    iconv_t m_cd;
};

constexpr char ReplacementCharacter[] = "\xEF\xBF\xBD";

std::string Cp932Decoder::decode(std::string_view bytes)
{
    iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
    std::string out(bytes.size() * 3 + 16, '\0');
    char *in = const_cast<char *>(bytes.data());
    size_t inLeft = bytes.size();
    size_t used = 0;
    while (inLeft > 0) {
        char *dst = out.data() + used;
        size_t dstLeft = out.size() - used;
        const size_t rc = iconv(m_cd, &in, &inLeft, &dst, &dstLeft);
        used = out.size() - dstLeft;
        if (rc != static_cast<size_t>(-1))
            break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        // EILSEQ or an incomplete character at the end: show one replacement
        // character for the offending byte and go on with the next, so that
        // ASCII after a broken lead byte survives.
        if (out.size() - used < sizeof ReplacementCharacter)
            out.resize(out.size() * 2);
        std::memcpy(out.data() + used, ReplacementCharacter, sizeof ReplacementCharacter - 1);
        used += sizeof ReplacementCharacter - 1;
        ++in;
        --inLeft;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(used);
    return out;
}

/// Without a CP932 converter, ASCII still shows and everything else becomes
/// the replacement character.
std::string asciiOnly(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) < 0x80)
            out += c;
        else
            out += ReplacementCharacter;
    }
    return out;
}

} // namespace

bool IsValidUtf8(std::string_view text)
{
    size_t i = 0;
    const size_t n = text.size();
    while (i < n) {
        if (n - i >= 8 && eightAscii(text.data() + i)) {
            i += 8;
            continue;
        }
        const size_t len = utf8SequenceLength(text, i);
        if (len == 0)
            return false;
        i += len;
    }
    return true;
}

std::string DecodeForDisplay(std::string_view bytes)
{
    if (IsValidUtf8(bytes))
        return std::string(bytes);
    thread_local Cp932Decoder decoder;
    if (!decoder.valid())
        return asciiOnly(bytes);
    return decoder.decode(bytes);
}

bool IsTrailByte(std::string_view text, size_t i, bool utf8)
{
    if (i >= text.size())
        return false;
    if (utf8)
        return isContinuation(byteAt(text, i));
    // Read from the start, the text pairs every lead byte with the byte after
    // it. The byte just before a run of lead-range bytes always ends a
    // character, so only the length of the run before i decides: an odd run
    // leaves i as the second byte of a pair. This gives the same answer as a
    // scan from the start while looking back no further than the run.
    size_t run = 0;
    while (run < i && isSjisLeadRange(byteAt(text, i - run - 1)))
        ++run;
    return run % 2 == 1;
}

bool IsLeadByte(std::string_view text, size_t i, bool utf8)
{
    if (i >= text.size())
        return false;
    if (utf8)
        return byteAt(text, i) >= 0xC0;
    return isSjisLeadRange(byteAt(text, i)) && !IsTrailByte(text, i, false);
}

} // namespace orvane
