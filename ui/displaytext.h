#pragma once

#include <QFont>
#include <QString>

#include <string>
#include <string_view>

namespace orvane {

/// Text from disk or from the engine as the user sees it: bytes that are not
/// UTF-8 are read as Shift-JIS, and CR LF pairs become plain line breaks.
QString displayText(std::string_view bytes);

/// Text the user typed or chose, as the engine's bytes (UTF-8).
std::string textBytes(const QString &text);

/// A path from a Qt dialog or a drop as the file system's bytes.
std::string pathBytes(const QString &path);

/// The font of the windows: a Japanese-capable sans serif at the given pixel
/// size, so that every Japanese caption renders.
QFont japaneseFont(int pixelSize);

/// The small Latin font of the tool button captions.
QFont captionFont(int pixelSize);

} // namespace orvane
