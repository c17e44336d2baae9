#pragma once

#include "commands/browser.h"

#include <string>

namespace orvane {

/// The MIME type a file name's extension gives for the kinds of files a site
/// holds (pages and pictures), compared without case; empty for any other.
std::string MimeTypeByExtension(const std::string &path);

/// The MIME type of a file for the desktop's look-up: by its extension when
/// that is one of a site's, else what "xdg-mime query filetype PATH" answers
/// (its first line, without parameters). Empty when neither knows.
std::string FileMimeType(const BrowserLookup &lookup, const std::string &path);

/// The desktop's default application for a file: the one for its MIME type,
/// else the one for fallbackType (none when that is empty). Empty when there
/// is neither.
BrowserCommand DefaultApplicationFor(const BrowserLookup &lookup, const std::string &path,
                                     const std::string &fallbackType);

} // namespace orvane
