#include "shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>

namespace desktop {

namespace {

Shell::Abridor& abridor()
{
    static Shell::Abridor a;
    return a;
}

Shell::Iniciador& iniciador()
{
    static Shell::Iniciador i;
    return i;
}

} // namespace

void Shell::abreEndereco(const QUrl& endereco)
{
    if (abridor())
        abridor()(endereco);
    else
        QDesktopServices::openUrl(endereco);
}

bool Shell::iniciaPrograma(const QString& arquivo)
{
    if (iniciador())
        return iniciador()(arquivo);
    return QProcess::startDetached(arquivo, {}, QFileInfo(arquivo).absolutePath());
}

void Shell::defineAbridor(Abridor a)
{
    abridor() = std::move(a);
}

void Shell::defineIniciador(Iniciador i)
{
    iniciador() = std::move(i);
}

} // namespace desktop
