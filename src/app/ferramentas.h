#pragma once

#include <QList>
#include <QString>

namespace app {

// One tool of the menus and tool bars: its identifier, caption, status-bar tip and tool tip.
struct Ferramenta
{
    QString id;
    QString legenda;
    QString dica;
    QString dicaFlutuante;
};

// A menu of the menu bar or a pop-up menu, or a tool bar: identifiers in order, an empty one being a separator.
struct Grupo
{
    QString id;
    QString legenda;
    QStringList itens;
};

namespace Ferramentas {

const QList<Ferramenta>& todas();
const Ferramenta* procura(const QString& id);

const QList<Grupo>& menus();
const Grupo& menuEditarE();
const Grupo& menuArquivoE();
const Grupo& barra1();
const Grupo& barra2();

// The suite's modules, in the order of the module menu; this program is the seventh.
QStringList modulos();
// The executable of each module, in the program's own folder; the seventh is this program.
QStringList executaveis();
constexpr int EsteModulo = 7;

} // namespace Ferramentas

} // namespace app
