#pragma once

#include <QString>

#include <array>

namespace calc {

// The company's reference values a new mix and the wizard start from, as the specific-masses settings form holds
// them.
struct Padroes
{
    // Boxes of the settings: the specific and bulk masses (kg per litre) of cement, sand and coarse aggregate, the
    // sand's moisture (per cent of the wet sand), the man-hours to produce one cubic metre and the losses (per cent).
    enum Texto { Umidade = 6, MaoDeObra = 7, Perda = 8, NumeroDeTextos = 9 };
    std::array<QString, NumeroDeTextos> textos;
    // Cement class: "25", "32", "40" or "ARI".
    QString classe;
    // Measuring condition (0 by mass, 1 and 2 by loose volume), shape of the coarse aggregate (0..2) and use of the
    // concrete (0..3): the element selected in each option group, -1 for none.
    int opcaoForma = -1;
    int opcaoTextura = -1;
    int tipoConcreto = -1;
    // The environmental aggressiveness class a new design is checked against (1..4, 0 none) and the kind of
    // element (0 reinforced, 1 prestressed).
    int classeAgressividade = 0;
    int estrutura = 0;

    // The values a new company starts with, texts as the database keeps them ("3.10").
    static const Padroes& inicial();
};

} // namespace calc
