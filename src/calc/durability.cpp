#include "durability.h"

#include "calcstate.h"
#include "opcoes.h"

#include <QLocale>

#include <array>
#include <cmath>

namespace calc {

namespace {

// One class's limits: for reinforced, then prestressed elements.
struct Linha
{
    LimitesDurabilidade armado;
    LimitesDurabilidade protendido;
};

constexpr std::array<Linha, 4> kTabela{{
    {{0.65, 20, 260.0}, {0.60, 25, 260.0}},
    {{0.60, 25, 280.0}, {0.55, 30, 280.0}},
    {{0.55, 30, 320.0}, {0.50, 35, 320.0}},
    {{0.45, 40, 360.0}, {0.45, 40, 360.0}},
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

AtendeDurabilidade atende(const LimitesDurabilidade& limites, double wc, int fck, double cimentoPorM3)
{
    AtendeDurabilidade a;
    a.wc = std::isfinite(wc) && std::round(wc * 100.0) <= std::round(limites.wcMax * 100.0);
    a.fck = fck >= limites.fckMin;
    a.consumo = std::isfinite(cimentoPorM3) && cimentoPorM3 >= limites.consumoMin;
    return a;
}

QStringList linhasDaDurabilidade(const CalcState& s)
{
    const auto limites = limitesDurabilidade(s.classeAgressividade, Estrutura(s.estrutura));
    if (!limites)
        return {};
    const AtendeDurabilidade a = atende(*limites, s.wc, s.fck, s.Cm);
    const QLocale local;
    const auto veredito = [](bool ok) { return ok ? QStringLiteral("atende") : QStringLiteral("NÃO ATENDE"); };
    return {
        QStringLiteral("Agressividade %1, %2:")
            .arg(Opcoes::agressividade().at(std::size_t(s.classeAgressividade)).texto,
                 Opcoes::estrutura().at(std::size_t(s.estrutura)).texto),
        QStringLiteral("a/c %1 (máx. %2): %3")
            .arg(local.toString(s.wc, 'f', 2), local.toString(limites->wcMax, 'f', 2), veredito(a.wc)),
        QStringLiteral("fck %1 MPa (mín. C%2): %3").arg(s.fck).arg(limites->fckMin).arg(veredito(a.fck)),
        QStringLiteral("cimento %1 kg/m³ (mín. %2): %3")
            .arg(local.toString(s.Cm, 'f', 0), local.toString(limites->consumoMin, 'f', 0), veredito(a.consumo)),
    };
}

} // namespace calc
