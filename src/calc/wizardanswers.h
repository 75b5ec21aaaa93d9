#pragma once

#include <QString>

#include <array>

namespace calc {

// What the dosage wizard's pages hold, under the names of their controls: texts as typed, option groups as
// the index of the selected element (-1 when none is selected).
struct WizardAnswers
{
    QString NomeTraco;
    QString Resistencia;   // fck, MPa
    QString ClasseCimento; // "25", "32", "40", "ARI"
    bool PlastificanteOpcao = false;
    QString PlastificanteCombo;  // water reduction, %
    int OpcaoForma = -1;         // measuring condition 0..2
    QString Abatimento;          // slump, mm
    QString AgregadoGraudo;      // "Pedrisco", "Pedra 0", "Pedra 1", "Pedra 2"
    int OpcaoTextura = -1;       // aggregate shape 0..2
    int TipoConcreto = -1;       // use of the concrete 0..3
    int ClasseAgressividade = 0; // environmental aggressiveness class 1..4; 0, none: no durability limits
    int Estrutura = 0;           // 0 reinforced, 1 prestressed
    // Specific and bulk masses of cement, sand and coarse aggregate, kg per litre.
    std::array<QString, 6> Texto;
    QString UmidadeAreia; // sand moisture, %
};

} // namespace calc
