#include "cli/settingoverride.h"

#include "base/profilefile.h"
#include "base/strutil.h"
#include "settings/settings.h"

#include <algorithm>
#include <climits>

namespace orvane::cli {

namespace {

enum class ValueType { Text, Flag, Choice };

struct OptionKey
{
    const char *name;
    ValueType type;
    std::string Settings::*text = nullptr;
    bool Settings::*flag = nullptr;
    int Settings::*choice = nullptr;
};

const OptionKey Keys[] = {
    {"ExternalEditor", ValueType::Text, &Settings::ExternalEditor},
    {"ExternalViewer", ValueType::Text, &Settings::ExternalViewer},
    {"IgnoreCase", ValueType::Flag, nullptr, &Settings::IgnoreCase},
    {"DefaultFileName", ValueType::Text, &Settings::DefaultFileName},
    {"isSpaceValid", ValueType::Flag, nullptr, &Settings::isSpaceValid},
    {"CommandLineOption", ValueType::Text, &Settings::CommandLineOption},
    {"TagJumpCommandLineOption", ValueType::Text, &Settings::TagJumpCommandLineOption},
    {"AnchorMakesFileBlue", ValueType::Flag, nullptr, &Settings::AnchorMakesFileBlue},
    {"CheckLocalFile", ValueType::Choice, nullptr, nullptr, &Settings::CheckLocalFile},
    {"IgnoreHTMLInfo", ValueType::Flag, nullptr, &Settings::IgnoreHTMLInfo},
    {"IgnoreJavaScript", ValueType::Flag, nullptr, &Settings::IgnoreJavaScript},
    {"HideInfoBoxAfterCheck", ValueType::Flag, nullptr, &Settings::HideInfoBoxAfterCheck},
    {"ExtListHTML", ValueType::Text, &Settings::ExtListHTML},
    {"ExtListImg", ValueType::Text, &Settings::ExtListImg},
    {"ModernLinks", ValueType::Flag, nullptr, &Settings::ModernLinks},
    {"Language", ValueType::Choice, nullptr, nullptr, &Settings::Language},
};

const OptionKey *findKey(const std::string &key)
{
    for (const OptionKey &k : Keys) {
        if (SameText(k.name, key))
            return &k;
    }
    return nullptr;
}

} // namespace

std::string ApplySettingOverride(Settings &settings, const std::string &key,
                                 const std::string &value)
{
    const OptionKey *option = findKey(key);
    if (!option)
        return "unknown option key \"" + key + "\"";
    if (value.find_first_of("\r\n") != std::string::npos)
        return "the value of " + std::string(option->name) + " holds a line break";
    // An in-memory profile gives the value exactly the reading a line of the
    // settings file would get.
    ProfileFile profile({});
    profile.WriteString("Option", option->name, value);
    if (option->type == ValueType::Text) {
        settings.*(option->text) = profile.ReadString("Option", option->name, {});
        return {};
    }
    const long low = profile.ReadInteger("Option", option->name, LONG_MIN);
    const long high = profile.ReadInteger("Option", option->name, LONG_MAX);
    if (low != high)
        return std::string(option->name) + " needs a number, not \"" + value + "\"";
    if (option->type == ValueType::Flag)
        settings.*(option->flag) = low != 0;
    else if (option->choice == &Settings::Language)
        settings.Language = low >= 0 && low <= 2 ? static_cast<int>(low) : 0; // as when read
    else
        settings.*(option->choice) = static_cast<int>(std::clamp(low, -1L, 1L));
    return {};
}

} // namespace orvane::cli
