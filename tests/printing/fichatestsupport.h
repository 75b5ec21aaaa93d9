#pragma once

#include "calctestsupport.h"
#include "exemplos.h"

#include "calc/calcstate.h"
#include "calc/carregatraco.h"
#include "printing/documento.h"

#include <QVariantMap>

#include <optional>

namespace fichatest {

// The suite's products in memory, for the admixtures' units.
using Produtos = calctest::MemoryProductTable;

// The worked mass example as a stored mix, with 40 kg of fine sand, for structures, in use, with its dates and
// costs.
inline QVariantMap linhaGravada()
{
    return exemplos::com(exemplos::linhaPorMassa(), {
                                                        {"TracoVariante", 3},
                                                        {"Plantao", true},
                                                        {"DataCadastro", "05-03-2024"},
                                                        {"DataCotacao", "10-03-2024"},
                                                        {"Destino", 0},
                                                        {"TracoAreiaFina", 40.0},
                                                        {"Resistencia", 25},
                                                        {"Peso", "2380,5"},
                                                        {"PesoTraco", "365,2"},
                                                        {"PrecoCustoSemPerda", 312.456},
                                                        {"PrecoCustoComPerda", 328.0788},
                                                    });
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
