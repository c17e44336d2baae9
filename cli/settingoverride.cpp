#include "cli/settingoverride.h"

#include "base/profilefile.h"
#include "base/strutil.h"
#include "settings/formoption.h"

#include <algorithm>
#include <climits>

namespace orvane::cli {

namespace {

enum class ValueType { Text, Flag, Choice };

struct OptionKey
{
    const char *name;
    ValueType type;
    std::string TSettings::*text = nullptr;
    bool TSettings::*flag = nullptr;
    int TSettings::*choice = nullptr;
};

const OptionKey Keys[] = {
    {"ExternalEditor", ValueType::Text, &TSettings::ExternalEditor},
    {"ExternalViewer", ValueType::Text, &TSettings::ExternalViewer},
    {"IgnoreCase", ValueType::Flag, nullptr, &TSettings::IgnoreCase},
    {"DefaultFileName", ValueType::Text, &TSettings::DefaultFileName},
    {"isSpaceValid", ValueType::Flag, nullptr, &TSettings::isSpaceValid},
    {"CommandLineOption", ValueType::Text, &TSettings::CommandLineOption},
    {"TagJumpCommandLineOption", ValueType::Text, &TSettings::TagJumpCommandLineOption},
    {"AnchorMakesFileBlue", ValueType::Flag, nullptr, &TSettings::AnchorMakesFileBlue},
    {"CheckLocalFile", ValueType::Choice, nullptr, nullptr, &TSettings::CheckLocalFile},
    {"IgnoreHTMLInfo", ValueType::Flag, nullptr, &TSettings::IgnoreHTMLInfo},
    {"IgnoreJavaScript", ValueType::Flag, nullptr, &TSettings::IgnoreJavaScript},
    {"HideInfoBoxAfterCheck", ValueType::Flag, nullptr, &TSettings::HideInfoBoxAfterCheck},
    {"ExtListHTML", ValueType::Text, &TSettings::ExtListHTML},
    {"ExtListImg", ValueType::Text, &TSettings::ExtListImg},
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

std::string ApplySettingOverride(TSettings &settings, const std::string &key,
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
    else
        settings.*(option->choice) = static_cast<int>(std::clamp(low, -1L, 1L));
    return {};
}

} // namespace orvane::cli
