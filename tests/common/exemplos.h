#pragma once

#include "calc/wizardanswers.h"

#include <QVariantMap>

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

// The worked mass example as the fields of a Tracos row: one 50 kg bag of cement, 100 kg of coarse sand and 150 kg
// of "Pedra 1", measured by mass, slump 100 mm, crushed cubic aggregate, sand at 5 % moisture, 20 h of labour a m3
// and 5 % of loss, with the products named.
inline QVariantMap linhaPorMassa()
{
    return QVariantMap{
        {"NomeTraco", "Concreto 20 "},
        {"Volumetrico", 0},
        {"Dosagem", 0},
        {"Classe", "32"},
        {"Textura", 1},
        {"Destino", 2},
        {"Fator", "100"},
        {"ReducaoAgua", "0"},
        {"EspeCim", 3.10},
        {"AparCim", 1.43},
        {"EspeMiu", 2.61},
        {"AparMiu", 1.20},
        {"EspeGra", 2.72},
        {"AparGra", 1.38},
        {"Umidade", 5.0},
        {"TracoCimento", 50.0},
        {"TracoAreiaFina", 0.0},
        {"TracoAreiaGrossa", 100.0},
        {"TracoGraudoQde1", 150.0},
        {"TracoGraudoQde2", 0.0},
        {"TracoAditivoQde1", 0.0},
        {"TracoAditivoQde2", 0.0},
        {"MaodeObra", 20.0},
        {"Perda", 5.0},
        {"NomeCimento", "Cimento 32"},
        {"NomeGraudo1", "Pedra 1"},
        {"NomeGraudo2", ""},
        {"NomeAditivo1", ""},
        {"NomeAditivo2", ""},
    };
}

// The row `linha` with the fields of `outros` put over it; a field given as an invalid QVariant is taken out.
inline QVariantMap com(QVariantMap linha, const QVariantMap& outros)
{
    for (auto i = outros.cbegin(); i != outros.cend(); ++i) {
        if (i.value().isValid())
            linha.insert(i.key(), i.value());
        else
            linha.remove(i.key());
    }
    return linha;
}

} // namespace exemplos
