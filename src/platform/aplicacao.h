#pragma once

#include <QString>

namespace platform {

// The program's identity as the suite knows it.
struct Aplicacao
{
    static QString titulo() { return QStringLiteral("Quenvar"); }
    // Major, minor and revision joined by ".", as the error log and the about box print them.
    static QString versao()
    {
        return QStringLiteral("%1.%2.%3")
            .arg(QUENVAR_VERSAO_MAIOR)
            .arg(QUENVAR_VERSAO_MENOR)
            .arg(QUENVAR_VERSAO_REVISAO);
    }
    // Qt's own texts (the print and file dialogs, the standard buttons, the text boxes' menus) in Brazilian
    // Portuguese, as every other word of the program; false when the translation is not installed.
    static bool traduzOQt();
};

} // namespace platform
