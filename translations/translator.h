#pragma once

#include "settings/language.h"

#include <string>

namespace orvane {

/// The folder the program's translation files are read from: the one beside
/// the programs' folder that an install gives, "../share/orvane/translations"
/// from the program (the build tree has the same layout). programPath is the
/// program's own path (empty: this program).
std::string TranslationsFolder(const std::string &programPath = {});

/// Shows every text from now on in language: the program's own texts marked
/// with tr() and Tr() and, when a Qt application exists, the texts of Qt's own
/// dialogs and buttons from Qt's translations. Japanese, the program's own
/// language, needs no file of the program; English reads orvane_en.qm from
/// folder (empty: TranslationsFolder()). Returns false when a file the
/// language needs could not be read; the texts are then shown as written.
/// Replaces what an earlier call loaded.
bool UseLanguage(InterfaceLanguage language, const std::string &folder = {});

/// The language of the last UseLanguage() call (Japanese before any).
InterfaceLanguage CurrentLanguage();

} // namespace orvane
