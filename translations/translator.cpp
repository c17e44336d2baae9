#include "translations/translator.h"

#include "base/usertext.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QString>
#include <QTranslator>

#include <filesystem>
#include <memory>

#ifndef ORVANE_TRANSLATIONS_RELATIVE
#define ORVANE_TRANSLATIONS_RELATIVE "../share/orvane/translations"
#endif

namespace orvane {

namespace {

struct Loaded
{
    InterfaceLanguage language = InterfaceLanguage::Japanese;
    // The program's texts; read by Tr() from any thread, so it is only
    // replaced while no check runs (at start-up, or between tests).
    std::unique_ptr<QTranslator> program;
    // Qt's own dialogs and buttons.
    std::unique_ptr<QTranslator> qt;
};

Loaded &loaded()
{
    static Loaded state;
    return state;
}

std::string translate(const char *context, const char *source)
{
    const QTranslator *program = loaded().program.get();
    if (!program)
        return source;
    const QString text = program->translate(context, source);
    return text.isEmpty() ? std::string(source) : text.toStdString();
}

void remove(std::unique_ptr<QTranslator> &translator)
{
    if (translator && QCoreApplication::instance())
        QCoreApplication::removeTranslator(translator.get());
    translator.reset();
}

/// Installs translator into the application when there is one: tr() in the
/// window's code asks the application.
void install(const QTranslator &translator)
{
    if (QCoreApplication::instance())
        QCoreApplication::installTranslator(const_cast<QTranslator *>(&translator));
}

} // namespace

std::string TranslationsFolder(const std::string &programPath)
{
    std::error_code ec;
    const std::filesystem::path program = programPath.empty()
                                              ? std::filesystem::read_symlink("/proc/self/exe", ec)
                                              : std::filesystem::path(programPath);
    return (program.parent_path() / ORVANE_TRANSLATIONS_RELATIVE).lexically_normal().string();
}

bool UseLanguage(InterfaceLanguage language, const std::string &folder)
{
    Loaded &state = loaded();
    SetTextTranslator(nullptr);
    remove(state.program);
    remove(state.qt);
    state.language = language;
    if (language == InterfaceLanguage::Japanese) {
        // Qt's texts are English as written; a Japanese window wants its
        // dialogs and standard buttons in Japanese too.
        if (!QCoreApplication::instance())
            return true;
        auto qt = std::make_unique<QTranslator>();
        if (!qt->load(QStringLiteral("qtbase_ja"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            return false;
        install(*qt);
        state.qt = std::move(qt);
        return true;
    }
    auto program = std::make_unique<QTranslator>();
    const std::string from = folder.empty() ? TranslationsFolder() : folder;
    if (!program->load(QStringLiteral("orvane_en"), QString::fromStdString(from)))
        return false;
    install(*program);
    state.program = std::move(program);
    SetTextTranslator(&translate);
    return true;
}

InterfaceLanguage CurrentLanguage()
{
    return loaded().language;
}

} // namespace orvane
