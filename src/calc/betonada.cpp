#include "betonada.h"

#include "calcstate.h"

#include <cmath>

namespace calc {

namespace {

bool positivo(double valor)
{
    return std::isfinite(valor) && valor > 0.0;
}

// A bag count a rounding error short of a whole step still counts as that step.
constexpr double kFolga = 1e-9;

} // namespace

Betonada CalculaBetonada(const CalcState& s, double pesoSaco, double capacidadeLitros, bool meioSaco,
                         std::optional<double> volumeM3)
{
    Betonada b;
    b.capacidade = capacidadeLitros;
    b.pesoSaco = pesoSaco;
    b.meioSaco = meioSaco;
    b.volume = volumeM3;
    if (!positivo(s.Mc) || !positivo(s.Cm)) {
        b.falha = FalhaDaBetonada::SemCimento;
        return b;
    }
    if (!positivo(pesoSaco)) {
        b.falha = FalhaDaBetonada::SemPesoDoSaco;
        return b;
    }
    if (!positivo(capacidadeLitros)) {
        b.falha = FalhaDaBetonada::CapacidadeInvalida;
        return b;
    }
    if (volumeM3 && !positivo(*volumeM3)) {
        b.falha = FalhaDaBetonada::VolumeInvalido;
        return b;
    }

    // A cubic metre holds Cm kg of cement, so a bag yields 1000 × P / Cm litres of concrete.
    const double passo = meioSaco ? 0.5 : 1.0;
    b.litrosPorSaco = pesoSaco / s.Cm * 1000.0;
    const double sacosQueCabem = capacidadeLitros * s.Cm / 1000.0 / pesoSaco;
    b.sacos = std::floor(sacosQueCabem / passo + kFolga) * passo;
    if (b.sacos < passo) {
        b.sacos = 0.0;
        b.falha = FalhaDaBetonada::CapacidadePequena;
        return b;
    }
    const double cimento = b.sacos * pesoSaco;
    b.fator = cimento / s.Mc;
    b.litrosPorBetonada = cimento / s.Cm * 1000.0;
    if (volumeM3)
        b.betonadas = int(std::ceil(*volumeM3 * 1000.0 / b.litrosPorBetonada - kFolga));

    // Masses are what the scale reads; by loose volume the box or bucket holds the litres.
    const bool volume = s.emVolume();
    const auto junta = [&](MaterialDaBetonada::Tipo tipo, const QString& nome, double massa, double solto) {
        if (!positivo(massa))
            return;
        MaterialDaBetonada m{tipo, nome, massa * b.fator, QStringLiteral("kg"), std::nullopt};
        if (volume && positivo(solto))
            m.litros = solto * b.fator;
        b.materiais.append(m);
    };
    using Tipo = MaterialDaBetonada::Tipo;
    junta(Tipo::Cimento, s.nomes[0].isEmpty() ? QStringLiteral("Cimento") : s.nomes[0], s.Mc, s.Lc);
    junta(Tipo::Areia, QStringLiteral("Areia Fina"), s.Mfs, s.Lfs);
    junta(Tipo::Areia, QStringLiteral("Areia Grossa"), s.Mcs, s.Lcs);
    junta(Tipo::Graudo, s.nomes[3].isEmpty() ? QStringLiteral("Agregado Graúdo 1") : s.nomes[3], s.Mg1, s.Lg1);
    junta(Tipo::Graudo, s.nomes[4].isEmpty() ? QStringLiteral("Agregado Graúdo 2") : s.nomes[4], s.Mg2, s.Lg2);
    const std::array<double, 2> aditivos{s.A1, s.A2};
    for (std::size_t i = 0; i < aditivos.size(); ++i) {
        if (positivo(aditivos[i]) && !s.nomes[5 + i].isEmpty())
            b.materiais.append(
                MaterialDaBetonada{Tipo::Aditivo, s.nomes[5 + i], aditivos[i] * b.fator, s.unidades[i], std::nullopt});
    }
    if (positivo(s.Wa_b)) {
        const double agua = s.Wa_b * b.fator;
        b.materiais.append(
            MaterialDaBetonada{Tipo::Agua, QStringLiteral("Água Adicional"), agua, QStringLiteral("L"), agua});
    }
    return b;
}

} // namespace calc
