#pragma once

#include <string>
#include <string_view>

namespace orvane {

/// Turns every "\" of a link text into "/": browsers take both as separators.
void BackslashToSlash(std::string &text);

/// Lexical full-path expansion: a relative path is taken from the current
/// folder; repeated "/" collapse; "." and ".." segments resolve (".." above
/// "/" stays at "/"). A trailing "/" stays, unless the last segment was "." or
/// "..". Symbolic links are not resolved and the disk is not consulted.
std::string ExpandFileName(std::string_view path);

/// The absolute local path of link (a relative or "/"-rooted path text) taken
/// from the folder of base (base up to its last "/"). Backslashes in the link
/// count as "/". The link is the path part of a link text (SplitLink), so a
/// "#" in it is part of a name and stays. A link that is base's own file name
/// names base itself (SplitLink puts the page's name for a "#name" link), even
/// when that name holds a "\".
std::string URLToPath(const std::string &base, const std::string &link);
/// The same into out (neither base nor link), whose room is used again for
/// the usual relative link.
void URLToPathInto(const std::string &base, const std::string &link, std::string &out);

/// A link's path or fragment as a browser reads it: first every "&amp;" (in
/// any letter case) becomes "&", then every "%" followed by two hex digits
/// becomes the byte they name, except "%2F", "%5C" and "%00", which stay as
/// written: they would make a separator or end the name. Other bytes stay.
std::string DecodeLinkEscapes(std::string_view text);

} // namespace orvane
