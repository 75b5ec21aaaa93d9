// Prints the contents page of the help as the program finds it from the folder this executable runs in, and fails
// when that page is not there: copied beside an installed quenvar, it shows where the installed program reads its help.
#include "desktop/ajuda.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication aplicacao(argc, argv);
    const QString pagina = desktop::Ajuda::pagina(0);
    std::puts(qPrintable(pagina));
    return QFileInfo::exists(pagina) ? 0 : 1;
}
