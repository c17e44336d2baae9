#pragma once

#include <string>

namespace orvane {

/// The languages the program's texts are shown in. Japanese is the program's
/// own; English comes from the translation file.
enum class InterfaceLanguage { Japanese, English };

/// The values of the Language setting (key "Language" in section "Option").
enum LanguageSetting : int { LanguageAuto = 0, LanguageJapanese = 1, LanguageEnglish = 2 };

/// The locale variables that name the language of messages, as the process
/// got them; an unset variable is empty.
struct LocaleVariables
{
    std::string all;      // LC_ALL
    std::string messages; // LC_MESSAGES
    std::string lang;     // LANG

    /// The variables of this process.
    static LocaleVariables FromEnvironment();
};

/// The language the locale asks for. The first non-empty of LC_ALL,
/// LC_MESSAGES and LANG decides, as it does for the C library: Japanese when
/// it names Japanese ("ja", "ja_JP.UTF-8", "japanese"), is the C or POSIX
/// locale ("C", "C.UTF-8", "POSIX"), or when none is set; English for any
/// other language ("en_US.UTF-8", "de_DE", "fr").
InterfaceLanguage LocaleLanguage(const LocaleVariables &locale);

/// The language of the interface: the Language setting when it names one
/// (1 Japanese, 2 English), otherwise (0, or a value out of range) the
/// locale's.
InterfaceLanguage ChooseLanguage(int setting, const LocaleVariables &locale);

/// The language a "--lang" value names: "ja" or "en" (in any letter case);
/// returns false for anything else.
bool LanguageNamed(const std::string &name, InterfaceLanguage &language);

} // namespace orvane
