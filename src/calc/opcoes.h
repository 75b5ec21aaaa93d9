#pragma once

#include <QString>
#include <QStringList>

#include <array>

namespace calc {

// The coded option fields of a mix: what each code is called on the main window, where the company's settings and
// the wizard offer it, and how the sheet and the reports describe it. The arithmetic each code brings (standard
// deviation, shape factor) is the calculation's own.
struct Opcao
{
    QString legenda; // caption on the main window
    QString escolha; // caption in the reference settings and the wizard
    QString texto;   // text on the sheet and the reports
};

namespace Opcoes {

// Measuring condition (Volumetrico / Dosagem): 0 by mass, 1 by volume with moisture control, 2 without.
const std::array<Opcao, 3>& medicao();
// Shape and texture of the coarse aggregate (Textura).
const std::array<Opcao, 3>& textura();
// Use of the concrete (Destino).
const std::array<Opcao, 4>& destino();
// Environmental aggressiveness class (ClasseAgressividade): 0 none chosen (no durability limits), 1 to 4 the
// classes I to IV.
const std::array<Opcao, 5>& agressividade();
// Kind of element (Estrutura): 0 reinforced, 1 prestressed.
const std::array<Opcao, 2>& estrutura();
// Cement classes (Classe).
const QStringList& classes();

// The captions under which the reference settings and the wizard offer a group's options, in code order.
template <std::size_t N> QStringList escolhas(const std::array<Opcao, N>& opcoes)
{
    QStringList lista;
    for (const Opcao& opcao : opcoes)
        lista << opcao.escolha;
    return lista;
}

// Unit of the solid components for a measuring condition: "Kg" by mass, "Litros" by volume.
QString unidadeSolidos(int medicao);

} // namespace Opcoes

} // namespace calc
