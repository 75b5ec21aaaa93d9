#pragma once

#include <QString>

#include <array>

namespace wizard {

// The company's reference values the wizard starts from, as the specific-masses settings form holds them. The
// application fills them from that form; without it the wizard starts from the values a new company starts with.
struct Referencias
{
    // Specific and bulk masses (kg per litre) of cement, sand and coarse aggregate, as the boxes hold them.
    std::array<QString, 6> massas{QStringLiteral("3,10"), QStringLiteral("1,43"), QStringLiteral("2,61"),
                                  QStringLiteral("1,20"), QStringLiteral("2,72"), QStringLiteral("1,38")};
    // Moisture of the sand, per cent of the wet sand.
    QString umidade = QStringLiteral("6");
    // Man-hours to produce one cubic metre.
    double maoDeObra = 20.0;
    // Cement class: "25", "32", "40" or "ARI".
    QString classe = QStringLiteral("32");
    // Measuring condition (0 by mass, 1 and 2 by loose volume), shape of the coarse aggregate (0..2) and use of the
    // concrete (0..3): the element selected in each option group.
    int tipoDosagem = 2;
    int formaDaBrita = 1;
    int usoConcreto = 0;
};

} // namespace wizard
