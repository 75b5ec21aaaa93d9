#include "aplicacao.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace platform {

bool Aplicacao::traduzOQt()
{
    // Kept for the whole run: the application only refers to an installed translator.
    static QTranslator traducao;
    if (!traducao.isEmpty())
        return true;
    if (!traducao.load(QLocale(QLocale::Portuguese, QLocale::Brazil), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return QCoreApplication::installTranslator(&traducao);
}

} // namespace platform
