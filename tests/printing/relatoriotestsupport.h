#pragma once

#include "printing/relatorio.h"

#include <QStringList>

#include <optional>

namespace relatoriotest {

// The detail block of a mix title, or nothing.
inline std::optional<printing::BlocoDoRelatorio> bloco(const printing::Relatorio& relatorio, const QString& titulo)
{
    for (const printing::BlocoDoRelatorio& b : relatorio.blocos()) {
        if (b.titulo == titulo)
            return b;
    }
    return std::nullopt;
}

// What a control of a block shows: the lines drawn in its box (left, top and width in twips from the block's top
// and the layout's left edge; with a height, every line that begins inside it, else the line at its top), joined
// by blanks; empty when nothing was drawn there.
inline QString controle(const printing::Relatorio& relatorio, const printing::BlocoDoRelatorio& b, double x,
                        double topo, double largura, double altura = 0.0)
{
    const double esquerda = printing::Relatorio::kMargemEsquerda + x;
    QStringList textos;
    for (const printing::ItemTexto& t : relatorio.documento().textos()) {
        if (t.pagina != b.pagina || t.origem != printing::ItemTexto::Origem::Caixa)
            continue;
        const double abaixo = t.caixa.top() - (b.topo + topo);
        if (altura > 0.0 ? abaixo < -0.5 || abaixo >= altura : std::abs(abaixo) > 0.5)
            continue;
        if (t.caixa.left() < esquerda - 0.5 || t.caixa.right() > esquerda + largura + 0.5)
            continue;
        textos.append(t.texto);
    }
    return textos.join(QLatin1Char(' '));
}

// Every line drawn with exactly this text.
inline QList<printing::ItemTexto> linhas(const printing::Relatorio& relatorio, const QString& texto)
{
    QList<printing::ItemTexto> achadas;
    for (const printing::ItemTexto& t : relatorio.documento().textos()) {
        if (t.texto == texto)
            achadas.append(t);
    }
    return achadas;
}

} // namespace relatoriotest
