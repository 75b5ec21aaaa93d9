#pragma once

#include "calc/wizardanswers.h"

namespace exemplos {

// The wizard's worked example: fck 25, class 32, measuring code 1, no superplasticiser, slump 100, "Pedra 1",
// crushed cubic aggregate, structures, sand at 5 %.
inline calc::WizardAnswers respostasDoAssistente()
{
    calc::WizardAnswers a;
    a.NomeTraco = QStringLiteral("Estrutural 25");
    a.Resistencia = QStringLiteral("25");
    a.ClasseCimento = QStringLiteral("32");
    a.OpcaoForma = 1;
    a.Abatimento = QStringLiteral("100");
    a.AgregadoGraudo = QStringLiteral("Pedra 1");
    a.OpcaoTextura = 1;
    a.TipoConcreto = 0;
    a.Texto = {QStringLiteral("3,10"), QStringLiteral("1,43"), QStringLiteral("2,61"),
               QStringLiteral("1,20"), QStringLiteral("2,72"), QStringLiteral("1,38")};
    a.UmidadeAreia = QStringLiteral("5");
    return a;
}

} // namespace exemplos
