#pragma once

#include <string>

namespace orvane {
struct Settings;
}

namespace orvane::cli {

/// Sets one of the sixteen options by its INI key (found without regard to
/// case), reading value as the settings file would hold it: blanks around it
/// and one pair of enclosing quotes dropped, a flag or a choice as a number
/// (decimal, or hexadecimal behind "$" or "0x"), CheckLocalFile kept within
/// -1..1, Language 0 unless 0..2. Returns an empty text on success, otherwise why the value was
/// refused; settings are then unchanged.
std::string ApplySettingOverride(Settings &settings, const std::string &key,
                                 const std::string &value);

} // namespace orvane::cli
