#pragma once

#include <QStringList>

#include <optional>

// The limits a concrete must keep to last in its environment: the environmental aggressiveness classes of the
// Brazilian concrete standard (I weak, II moderate, III strong, IV very strong), for reinforced and prestressed
// elements.
namespace calc {

// The kind of element the concrete is cast into; the codes are the ones stored and asked for.
enum class Estrutura { Armado = 0, Protendido = 1 };

struct LimitesDurabilidade
{
    double wcMax = 0.0;      // largest water/cement ratio
    int fckMin = 0;          // smallest characteristic strength, MPa
    double consumoMin = 0.0; // smallest cement content, kg/m³
};

// Whether a mix keeps each limit.
struct AtendeDurabilidade
{
    bool wc = false;
    bool fck = false;
    bool consumo = false;
    bool tudo() const { return wc && fck && consumo; }
};

constexpr int menorClasseAgressividade = 1;
constexpr int maiorClasseAgressividade = 4;

// The limits of aggressiveness class 1..4; nothing for any other class (0 is "no class chosen").
std::optional<LimitesDurabilidade> limitesDurabilidade(int classeAgressividade, Estrutura estrutura);

// A mix's water/cement ratio, characteristic strength (MPa) and cement per cubic metre against the limits. The
// ratio is compared after rounding to the two decimals the limits are written with, as a mix sheet shows it.
AtendeDurabilidade atende(const LimitesDurabilidade& limites, double wc, int fck, double cimentoPorM3);

struct CalcState;

// The mix's class and how it stands against each limit, as the sheet and the results page write it, in short lines
// that fit beside the sheet's note: the class and the kind of element, then the ratio, the strength and the cement,
// each with its limit and "atende" or "NÃO ATENDE". Empty for a mix without a class.
QStringList linhasDaDurabilidade(const CalcState& s);

} // namespace calc
