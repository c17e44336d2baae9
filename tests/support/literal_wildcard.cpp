#include "support/literal_wildcard.h"

namespace orvane::test {

bool LiteralWildCardMatch(std::string pattern, std::string text)
{
    for (;;) {
        if (pattern.empty())
            return text.empty();
        if (pattern[0] != '*' && pattern[0] != '?') {
            if (text.empty() || text[0] != pattern[0])
                return false;
            pattern.erase(0, 1);
            text.erase(0, 1);
            continue;
        }
        bool star = false;
        size_t questions = 0;
        size_t run = 0;
        for (; run < pattern.size() && (pattern[run] == '*' || pattern[run] == '?'); ++run) {
            if (pattern[run] == '*')
                star = true;
            else
                ++questions;
        }
        pattern.erase(0, run);
        if (text.size() < questions)
            return false;
        text.erase(0, questions);
        if (!star)
            continue;
        if (pattern.empty())
            return true;
        for (size_t at = text.find(pattern[0]); at != std::string::npos;
             at = text.find(pattern[0])) {
            text.erase(0, at);
            if (LiteralWildCardMatch(pattern, text))
                return true;
            text.erase(0, 1);
        }
        return false;
    }
}

} // namespace orvane::test
