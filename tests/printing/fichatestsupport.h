#pragma once

#include "calctestsupport.h"

#include "calc/calcstate.h"
#include "calc/carregatraco.h"
#include "printing/documento.h"

#include <QVariantMap>

#include <optional>

namespace fichatest {

// The suite's products in memory, for the admixtures' units.
using Produtos = calctest::MemoryProductTable;

// A stored mix measured by mass: one 50 kg bag of cement, 100 kg of coarse sand, 40 kg of fine sand and 150 kg of
// "Pedra 1", crushed cubic aggregate, by mass, sand at 5 % moisture, in use, with its dates and costs.
inline QVariantMap linhaGravada()
{
    return QVariantMap{
        {"NomeTraco", "Concreto 20 "},
        {"TracoVariante", 3},
        {"Plantao", true},
        {"DataCadastro", "05-03-2024"},
        {"DataCotacao", "10-03-2024"},
        {"Volumetrico", 0},
        {"Dosagem", 0},
        {"Classe", "32"},
        {"Textura", 1},
        {"Destino", 0},
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
        {"TracoAreiaFina", 40.0},
        {"TracoAreiaGrossa", 100.0},
        {"TracoGraudoQde1", 150.0},
        {"TracoGraudoQde2", 0.0},
        {"TracoAditivoQde1", 0.0},
        {"TracoAditivoQde2", 0.0},
        {"MaodeObra", 20.0},
        {"Perda", 5.0},
        {"Resistencia", 25},
        {"Peso", "2380,5"},
        {"PesoTraco", "365,2"},
        {"PrecoCustoSemPerda", 312.456},
        {"PrecoCustoComPerda", 328.0788},
        {"NomeCimento", "Cimento 32"},
        {"NomeGraudo1", "Pedra 1"},
        {"NomeGraudo2", ""},
        {"NomeAditivo1", ""},
        {"NomeAditivo2", ""},
    };
}

inline calc::CalcState estadoDe(const QVariantMap& linha, const calc::ProductTable* produtos = nullptr)
{
    calc::CalcState estado;
    calc::CarregaTraco(estado, linha, produtos);
    return estado;
}

// The printed paragraph with exactly this text, or nothing.
inline std::optional<printing::ItemParagrafo> paragrafo(const printing::Documento& folha, const QString& texto)
{
    for (const printing::ItemParagrafo& p : folha.paragrafos()) {
        if (p.texto == texto)
            return p;
    }
    return std::nullopt;
}

// The printed paragraphs that begin with this text.
inline QStringList paragrafosQueComecamPor(const printing::Documento& folha, const QString& inicio)
{
    QStringList textos;
    for (const printing::ItemParagrafo& p : folha.paragrafos()) {
        if (p.texto.startsWith(inicio))
            textos.append(p.texto);
    }
    return textos;
}

// The drawn line of a header or footer part.
inline std::optional<printing::ItemTexto> texto(const printing::Documento& folha, printing::ItemTexto::Origem origem)
{
    for (const printing::ItemTexto& t : folha.textos()) {
        if (t.origem == origem)
            return t;
    }
    return std::nullopt;
}

} // namespace fichatest
