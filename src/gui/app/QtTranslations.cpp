#include "gui/app/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace pw {

QTranslator* InstallQtTranslations(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    const QString name = QStringLiteral("qtbase_ru");
    for (const QString& folder : {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                  QCoreApplication::applicationDirPath() + QStringLiteral("/translations")})
        if (translator->load(name, folder) && QCoreApplication::installTranslator(translator))
            return translator;
    delete translator;
    return nullptr;
}

} // namespace pw
