#include "settings/language.h"

#include "base/strutil.h"

#include <cstdlib>

namespace orvane {

namespace {

std::string variable(const char *name)
{
    const char *value = std::getenv(name);
    return value ? value : "";
}

} // namespace

LocaleVariables LocaleVariables::FromEnvironment()
{
    return {variable("LC_ALL"), variable("LC_MESSAGES"), variable("LANG")};
}

InterfaceLanguage LocaleLanguage(const LocaleVariables &locale)
{
    const std::string &name = !locale.all.empty()        ? locale.all
                              : !locale.messages.empty() ? locale.messages
                                                         : locale.lang;
    // language[_territory][.codeset][@modifier]
    const std::string language = name.substr(0, name.find_first_of("_.@"));
    if (language.empty() || language == "C" || language == "POSIX" || SameText(language, "ja") ||
        SameText(language, "japanese"))
        return InterfaceLanguage::Japanese;
    return InterfaceLanguage::English;
}

InterfaceLanguage ChooseLanguage(int setting, const LocaleVariables &locale)
{
    switch (setting) {
    case LanguageJapanese:
        return InterfaceLanguage::Japanese;
    case LanguageEnglish:
        return InterfaceLanguage::English;
    default:
        return LocaleLanguage(locale);
    }
}

bool LanguageNamed(const std::string &name, InterfaceLanguage &language)
{
    if (SameText(name, "ja"))
        language = InterfaceLanguage::Japanese;
    else if (SameText(name, "en"))
        language = InterfaceLanguage::English;
    else
        return false;
    return true;
}

} // namespace orvane
