#include "durability.h"

#include <array>
#include <cmath>

namespace calc {

namespace {

// One class's limits: for reinforced, then prestressed elements.
struct Linha
{
    LimitesDurabilidade armado;
    LimitesDurabilidade protendido;
    const char* nome;
};

constexpr std::array<Linha, 4> kTabela{{
    {{0.65, 20, 260.0}, {0.60, 25, 260.0}, "I – fraca"},
    {{0.60, 25, 280.0}, {0.55, 30, 280.0}, "II – moderada"},
    {{0.55, 30, 320.0}, {0.50, 35, 320.0}, "III – forte"},
    {{0.45, 40, 360.0}, {0.45, 40, 360.0}, "IV – muito forte"},
}};

bool naTabela(int classe)
{
    return classe >= menorClasseAgressividade && classe <= maiorClasseAgressividade;
}

} // namespace

std::optional<LimitesDurabilidade> limitesDurabilidade(int classeAgressividade, Estrutura estrutura)
{
    if (!naTabela(classeAgressividade))
        return std::nullopt;
    const Linha& linha = kTabela[std::size_t(classeAgressividade - 1)];
    return estrutura == Estrutura::Protendido ? linha.protendido : linha.armado;
}

const char* nomeClasseAgressividade(int classeAgressividade)
{
    return naTabela(classeAgressividade) ? kTabela[std::size_t(classeAgressividade - 1)].nome : "";
}

AtendeDurabilidade atende(const LimitesDurabilidade& limites, double wc, int fck, double cimentoPorM3)
{
    AtendeDurabilidade a;
    a.wc = std::isfinite(wc) && std::round(wc * 100.0) <= std::round(limites.wcMax * 100.0);
    a.fck = fck >= limites.fckMin;
    a.consumo = std::isfinite(cimentoPorM3) && cimentoPorM3 >= limites.consumoMin;
    return a;
}

} // namespace calc
