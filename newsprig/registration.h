#pragma once

#include <cstdint>
#include <string_view>

namespace orvane {

/// The author's key name under the update checker's key, shared by every
/// program of the same author so that the checker finds them all in one place.
inline constexpr std::string_view NewsprigAuthorId = "orvane-dev@users.example.org";
inline constexpr std::string_view NewsprigAuthor = "The Orvane developers";
/// Host of the site the updates are downloaded from.
inline constexpr std::string_view NewsprigDisplayHost = "orvane.example.org";
/// The update-information file on that site.
inline constexpr std::string_view NewsprigInfoURL = "https://orvane.example.org/orvane.inf";

/// The update checker's key below HKEY_CURRENT_USER; this program never
/// creates it, since its presence is what says the user has the checker.
inline constexpr std::string_view NewsprigKey = "Software/Newsprig";

/// Records the program keyName with the update checker in the current user's
/// store (CurrentUserRegistryRoot). Without the checker's key (missing or not
/// open to full access) nothing is written. The author key gets "Author",
/// "DisplayHost" and "InfoURL" only when it is missing, so values changed by
/// hand stay; the key author/keyName gets "DistinctName" = distinctName and
/// "Build" = build on every call.
/// Returns false when a write failed: the writes after it are not made, those
/// before it stay. Returns true otherwise, also when nothing was written.
bool RegisterWithNewsprig(std::string_view keyName, std::uint32_t build,
                          std::string_view distinctName);

} // namespace orvane
