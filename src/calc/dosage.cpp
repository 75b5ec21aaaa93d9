#include "dosage.h"

#include "calcstate.h"
#include "consistency.h"
#include "durability.h"
#include "formats.h"
#include "guards.h"
#include "numericentry.h"
#include "recalculo.h"
#include "strength.h"
#include "wizardanswers.h"

#include <array>
#include <cmath>

namespace calc {

void openWizard(CalcState& state, double labourPerCubicMetre)
{
    state.limpa();
    state.posicaoRelacao = {1, 1, 1, 1};
    state.Hm = labourPerCubicMetre;
}

double RelacaoMiudoTotal(double C, int useCode)
{
    constexpr std::array<double, 6> cement{250.0, 300.0, 350.0, 400.0, 450.0, 500.0};
    std::array<double, 6> ratio{39.0, 38.0, 37.0, 36.0, 35.0, 34.0};
    if (useCode >= 0 && useCode <= 3) {
        for (double& y : ratio) {
            y += useCode;
        }
    }
    // Lagrange's polynomial through the six points of the table.
    double result = 0.0;
    for (std::size_t i = 0; i < cement.size(); ++i) {
        double term = ratio[i];
        for (std::size_t j = 0; j < cement.size(); ++j) {
            if (j != i) {
                term *= (C - cement[j]) / (cement[i] - cement[j]);
            }
        }
        result += term;
    }
    return result;
}

void CalculaDosagem(CalcState& s, const WizardAnswers& a, const ConsistencyLimits& limits)
{
    s.nomeTraco = a.NomeTraco;
    if (store(s.fck, leadingNumber(a.Resistencia))) {
        s.fckMago = s.fck;
    }
    s.classe = a.ClasseCimento.trimmed();
    s.superplastificante = a.PlastificanteOpcao;
    store(s.abatimento, leadingNumber(a.Abatimento));
    store(s.h, readNumber(a.UmidadeAreia) / 100.0);

    const int rank = aggregateRank(a.AgregadoGraudo);
    if (rank >= 0) {
        s.Dmax = dmaxOfRank(rank);
    }
    s.nomes[3] = a.AgregadoGraudo.trimmed();

    if (const std::optional<double> sd = DesvioPadrao(a.OpcaoForma)) {
        s.dosagem = qint16(a.OpcaoForma);
        s.Sd = *sd;
    }
    store(s.fcj, targetStrength(s.fckMago, s.Sd));

    if (const std::optional<double> shape = shapeFactor(a.OpcaoTextura)) {
        s.textura = qint16(a.OpcaoTextura);
        s.fatorForma = *shape;
    }

    store(s.W, CalculaAgua(s.abatimento, s.Dmax, s.fatorForma));
    if (s.superplastificante) {
        store(s.r, readNumber(a.PlastificanteCombo) / 100.0);
        store(s.W, reducedWater(s.W, s.r));
    } else {
        s.r = 0.0;
    }

    const double k = FatorClasse(s.classe);
    s.nomes[0] = QStringLiteral("Cimento ") + s.classe;
    store(s.wc, ratioFromStrength(s.fcj, k));
    // The environment may ask for less water per cement than the strength does, and for more cement: the
    // stricter ratio holds, and a cement content below the class's least is raised to it (the water stays, so the
    // ratio falls with it).
    s.classeAgressividade = qint16(a.ClasseAgressividade);
    s.estrutura = qint16(a.Estrutura == int(Estrutura::Protendido) ? Estrutura::Protendido : Estrutura::Armado);
    const std::optional<LimitesDurabilidade> limites =
        limitesDurabilidade(a.ClasseAgressividade, Estrutura(s.estrutura));
    if (limites && s.wc > limites->wcMax)
        s.wc = limites->wcMax;
    store(s.C, quot(s.W, s.wc));
    if (limites && s.C < limites->consumoMin && store(s.wc, quot(s.W, limites->consumoMin)))
        s.C = limites->consumoMin;

    const bool useChosen = a.TipoConcreto >= 0 && a.TipoConcreto <= 3;
    if (useChosen) {
        s.destino = qint16(a.TipoConcreto);
    }
    store(s.relacaoProposta, roundRatio(RelacaoMiudoTotal(s.C, useChosen ? a.TipoConcreto : -1)));
    s.relacoes = {s.relacaoProposta - 1.0, s.relacaoProposta, s.relacaoProposta + 1.0};

    s.consistencia = ClasseConsistencia(a.Abatimento, limits);
}

bool CalculaQuantidades(CalcState& s, const WizardAnswers& a, std::optional<double> bagMass)
{
    s.P = bagMass.value_or(0.0);
    const bool bags = s.P > 0.0 && store(s.n, quot(s.C, s.P));

    std::array<double*, 6> density{&s.gammaC, &s.rhoC, &s.gammaS, &s.rhoS, &s.gammaG, &s.rhoG};
    for (std::size_t i = 0; i < density.size(); ++i) {
        store(*density[i], readNumber(a.Texto[i]));
    }
    store(s.h, readNumber(a.UmidadeAreia) / 100.0);

    // The aggregate fills what cement and water leave of the cubic metre, first as if it all had the
    // reference specific mass.
    store(s.A, (1000.0 - quot(s.C, s.gammaC) - s.W) * referenceAggregateDensity);

    if (a.TipoConcreto < 0 || a.TipoConcreto > 3) {
        s.alfa = 0.0;
    } else if (const int position = s.posicaoRelacao[a.TipoConcreto]; position >= 0 && position <= 2) {
        s.alfa = s.relacoes[position];
    }

    store(s.areia, s.A * s.alfa / 100.0);
    store(s.graudo, s.A - s.areia);
    store(s.areia, quot(s.areia * s.gammaS, referenceAggregateDensity));
    store(s.graudo, quot(s.graudo * s.gammaG, referenceAggregateDensity));
    // The sand is delivered wet.
    store(s.areia, (1.0 + s.h) * s.areia);

    // One batch is one bag of cement; all sand goes to the coarse-sand row and all coarse aggregate to
    // the first coarse aggregate.
    if (bags) {
        store(s.Mc, quot(s.C, s.n));
        store(s.Ms, quot(s.areia, s.n));
        store(s.Mg, quot(s.graudo, s.n));
        s.Mcs = s.Ms;
        s.Mg1 = s.Mg;
        store(s.H_b, quot(s.Hm, s.n));
    }

    scaleMassBatch(s);
    return bags;
}

} // namespace calc
