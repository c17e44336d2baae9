#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// The texts the program shows are written in its own language, Japanese, and
// marked where they stand so that lupdate collects them into the translation
// file; without Qt the mark is no more than the literal. Every text of the
// plain libraries is marked in the one context "Orvane":
//     Tr(QT_TRANSLATE_NOOP("Orvane", "処理中"))
//     Tr(QT_TRANSLATE_NOOP("Orvane", "%1\r\nが見つかりません"), {path})
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif

namespace orvane {

/// The context of the plain libraries' texts in the translation file.
inline constexpr const char *TextContext = "Orvane";

/// Looks a marked text up in the interface language; returns the text itself
/// when it has no translation.
using TextTranslator = std::string (*)(const char *context, const char *source);

/// Makes Tr() use translator; null returns every text as written (the
/// program's own language), which is also the state before any call.
void SetTextTranslator(TextTranslator translator);

/// A marked text in the interface language.
std::string Tr(const char *source);

/// A marked format in the interface language with "%1" to "%9" replaced by
/// the arguments in order. Arguments (paths, names, numbers) go in as they
/// are and are never searched for placeholders themselves; any other "%"
/// stays as it is.
std::string Tr(const char *format, std::initializer_list<std::string_view> arguments);

/// The replacement of Tr() without the look-up.
std::string FillPlaceholders(std::string_view format,
                             std::initializer_list<std::string_view> arguments);

} // namespace orvane
