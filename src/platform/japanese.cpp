#include "platform/japanese.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <clocale>
#include <cstdlib>

namespace platform {

bool UseJapanese() {
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    QLocale::setDefault(japanese);
    // Owned by the application, so it lives as long as the texts it translates.
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(japanese, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

LocaleEnvironment PresentJapaneseLocaleToToolkit() {
    // LC_ALL would win over the others, and LANGUAGE over the messages' locale.
    static const char* const kNames[] = {"LC_ALL",      "LC_TIME",     "LC_NUMERIC",
                                         "LC_MONETARY", "LC_MESSAGES", "LANGUAGE"};
    LocaleEnvironment saved;
    for (const char* name : kNames) {
        const char* value = std::getenv(name);
        saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }
    ::unsetenv("LC_ALL");
    for (const char* name : {"LC_TIME", "LC_NUMERIC", "LC_MONETARY", "LC_MESSAGES"})
        ::setenv(name, "ja_JP.UTF-8", 1);
    ::setenv("LANGUAGE", "ja", 1);
    return saved;
}

void RestoreLocaleEnvironment(const LocaleEnvironment& saved) {
    // The toolkit reads the variables on the first question about the system's locale: it
    // is asked now, while they say Japanese.
    (void)QLocale::system().name();
    for (const auto& [name, value] : saved) {
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }
    // The application object set the C library's locale from the Japanese variables, which
    // need not be installed: the user's own is taken again.
    std::setlocale(LC_ALL, "");
}

}  // namespace platform
