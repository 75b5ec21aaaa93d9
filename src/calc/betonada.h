#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace calc {

struct CalcState;

// Why a batch for the mixer cannot be worked out; the callers say it in Portuguese.
enum class FalhaDaBetonada {
    Nenhuma,
    // The mix has no cement per batch or per cubic metre to scale from.
    SemCimento,
    // The cement product has no bag mass (Peso).
    SemPesoDoSaco,
    // The capacity is not a positive number of litres.
    CapacidadeInvalida,
    // Not even one bag (or half a bag) of cement fits the mixer.
    CapacidadePequena,
    // The volume to pour is not a positive number of cubic metres.
    VolumeInvalido,
};

// One line of the batching sheet: the quantity in its unit and, for a material measured in a box or a bucket (the
// mix is measured by loose volume), the loose volume in litres as well.
struct MaterialDaBetonada
{
    enum class Tipo { Cimento, Areia, Graudo, Aditivo, Agua };
    Tipo tipo = Tipo::Cimento;
    QString nome;
    double quantidade = 0.0;
    QString unidade;
    std::optional<double> litros;
};

// One batch of the mixer in whole (or half) bags of cement: every material of the mix's batch times the same factor,
// the water to add already discounting what the wet sand brings.
struct Betonada
{
    FalhaDaBetonada falha = FalhaDaBetonada::Nenhuma;
    double capacidade = 0.0;
    double pesoSaco = 0.0;
    bool meioSaco = false;
    // Litres of concrete one bag of cement yields.
    double litrosPorSaco = 0.0;
    // Bags of cement per batch, in steps of one or of a half.
    double sacos = 0.0;
    // What the mix's batch is multiplied by.
    double fator = 0.0;
    // Litres of concrete one batch yields.
    double litrosPorBetonada = 0.0;
    // The volume to pour (m³) and the batches it takes, when a volume was given.
    std::optional<double> volume;
    std::optional<int> betonadas;
    // In the order of the sheet: cement, sands, coarse aggregates, admixtures, water to add.
    QList<MaterialDaBetonada> materiais;
};

// The largest number of bags (of `pesoSaco` kg; steps of half a bag with `meioSaco`) whose concrete fits in
// `capacidadeLitros`, for a mix loaded from its row (CarregaTraco), and the batches that pour `volumeM3`.
Betonada CalculaBetonada(const CalcState& traco, double pesoSaco, double capacidadeLitros, bool meioSaco,
                         std::optional<double> volumeM3 = std::nullopt);

} // namespace calc
