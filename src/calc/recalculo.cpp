#include "recalculo.h"

#include "calcstate.h"
#include "consistency.h"
#include "costing.h"
#include "formats.h"
#include "guards.h"
#include "strength.h"

#include <cmath>
#include <initializer_list>

namespace calc {

namespace {

// Batches per cubic metre: the room left by the water, over the solid volume of one batch.
void scaleFactor(CalcState& s)
{
    if (s.V > 0.0) {
        store(s.f, quot(1000.0 - s.W, s.V));
    } else {
        s.f = 1.0;
    }
}

// Wet sand carries water: (1 − h) of its mass is solid, and the water it brings, (1 − h) × Sm × h, is
// not added at the mixer.
void waters(CalcState& s)
{
    store(s.W_b, quot(s.W, s.f));
    store(s.Wa, s.W - (1.0 - s.h) * s.Sm * s.h);
    store(s.Wa_b, quot(s.Wa, s.f));
}

void scaleMasses(CalcState& s)
{
    store(s.Ms, s.Mfs + s.Mcs);
    store(s.Mg, s.Mg1 + s.Mg2);
    store(s.Vc, quot(s.Mc, s.gammaC));
    store(s.Vs, quot(s.Ms * (1.0 - s.h), s.gammaS));
    store(s.Vg, quot(s.Mg, s.gammaG));
    store(s.V, s.Vc + s.Vs + s.Vg);
    scaleFactor(s);

    store(s.Cm, s.f * s.Mc);
    store(s.Sfm, s.f * s.Mfs);
    store(s.Scm, s.f * s.Mcs);
    store(s.G1m, s.f * s.Mg1);
    store(s.G2m, s.f * s.Mg2);
    store(s.Sm, s.Sfm + s.Scm);
    store(s.Gm, s.G1m + s.G2m);
    waters(s);

    store(s.Lc, quot(s.Mc, s.rhoC));
    store(s.Lfs, quot(s.Mfs, s.rhoS));
    store(s.Lcs, quot(s.Mcs, s.rhoS));
    store(s.Lg1, quot(s.Mg1, s.rhoG));
    store(s.Lg2, quot(s.Mg2, s.rhoG));
    store(s.Lcm, quot(s.Cm, s.rhoC));
    store(s.Lfsm, quot(s.Sfm, s.rhoS));
    store(s.Lcsm, quot(s.Scm, s.rhoS));
    store(s.Lg1m, quot(s.G1m, s.rhoG));
    store(s.Lg2m, quot(s.G2m, s.rhoG));
}

void scaleVolumes(CalcState& s)
{
    store(s.Ls, s.Lfs + s.Lcs);
    store(s.Lg, s.Lg1 + s.Lg2);
    // A loose volume times its bulk mass is a mass; over the specific mass, a solid volume.
    store(s.Vc, quot(s.Lc * s.rhoC, s.gammaC));
    store(s.Vs, quot(s.Ls * s.rhoS, s.gammaS) * (1.0 - s.h));
    store(s.Vg, quot(s.Lg * s.rhoG, s.gammaG));
    store(s.V, s.Vc + s.Vs + s.Vg);
    scaleFactor(s);

    store(s.Lcm, s.f * s.Lc);
    store(s.Lfsm, s.f * s.Lfs);
    store(s.Lcsm, s.f * s.Lcs);
    store(s.Lg1m, s.f * s.Lg1);
    store(s.Lg2m, s.f * s.Lg2);

    store(s.Mc, s.Lc * s.rhoC);
    store(s.Mfs, s.Lfs * s.rhoS);
    store(s.Mcs, s.Lcs * s.rhoS);
    store(s.Mg1, s.Lg1 * s.rhoG);
    store(s.Mg2, s.Lg2 * s.rhoG);
    store(s.Cm, s.Lcm * s.rhoC);
    store(s.Sfm, s.Lfsm * s.rhoS);
    store(s.Scm, s.Lcsm * s.rhoS);
    store(s.G1m, s.Lg1m * s.rhoG);
    store(s.G2m, s.Lg2m * s.rhoG);
    store(s.Sm, s.Sfm + s.Scm);
    store(s.Ms, s.Mfs + s.Mcs);
    store(s.Gm, s.G1m + s.G2m);
    store(s.Mg, s.Mg1 + s.Mg2);
    waters(s);
}

void cubicMetreTotals(CalcState& s)
{
    store(s.Lsm, s.Lfsm + s.Lcsm);
    store(s.Lgm, s.Lg1m + s.Lg2m);
    store(s.A1m, s.f * s.A1);
    store(s.A2m, s.f * s.A2);
}

// "1:" followed by the terms, each with two decimals; nothing when a term is not a finite number.
void proportionText(QString& target, std::initializer_list<double> terms)
{
    QString text = QStringLiteral("1");
    for (const double term : terms) {
        if (!std::isfinite(term)) {
            return;
        }
        text += QLatin1Char(':') + formatProportion(term);
    }
    target = text;
}

} // namespace

void scaleToCubicMetre(CalcState& s)
{
    if (s.emVolume()) {
        scaleVolumes(s);
    } else {
        scaleMasses(s);
    }
    cubicMetreTotals(s);
}

void scaleMassBatch(CalcState& s)
{
    scaleMasses(s);
    cubicMetreTotals(s);
}

void CalculaProporcoes(CalcState& s)
{
    if (s.Cm > 0.0) {
        proportionText(s.propMassa, {s.Sm / s.Cm, s.Gm / s.Cm, s.W / s.Cm});
    }
    if (s.Lcm > 0.0) {
        proportionText(s.propVolume, {s.Lsm / s.Lcm, s.Lgm / s.Lcm, s.Wa / s.Lcm});
    }
    if (s.Cm > 0.0) {
        proportionText(s.relAgregCimento, {(s.Sm + s.Gm) / s.Cm});
    }
}

void ReCalculo(CalcState& s, const ProductTable* products)
{
    const bool volume = s.emVolume();
    s.Dmax = dmaxOfRows(s.nomes[3], volume ? s.Lg1 : s.Mg1, s.nomes[4], volume ? s.Lg2 : s.Mg2);
    if (const std::optional<double> shape = shapeFactor(s.textura)) {
        s.fatorForma = *shape;
    }

    store(s.W, CalculaAgua(s.abatimento, s.Dmax, s.fatorForma));
    if (s.superplastificante) {
        store(s.W, reducedWater(s.W, s.r));
    } else {
        s.r = 0.0;
    }

    scaleToCubicMetre(s);
    CalculaProporcoes(s);
    store(s.wc, quot(s.W, s.Cm));

    const double batchMass = s.Mc + s.Ms + s.Mg + s.Wa_b;
    if (std::isfinite(batchMass)) {
        s.pesoTraco = formatFull(batchMass);
    }
    const double cubicMetreMass = s.Cm + s.Sm + s.Gm + s.Wa;
    if (std::isfinite(cubicMetreMass)) {
        s.peso = formatFull(cubicMetreMass);
    }

    // Labour follows the box the user typed in: the batch's hours scale up, otherwise the cubic metre's
    // hours are shared among its batches.
    if (s.indiceEdicao == CalcState::caixaMaoDeObraTraco) {
        store(s.Hm, s.H_b * s.f);
    } else {
        store(s.H_b, quot(s.Hm, s.f));
    }

    if (products) {
        CalculaCusto(s, *products);
    }

    if (s.Cm > 0.0) {
        store(s.fck, CalculaResistencia(s));
    } else {
        s.fck = 0;
    }
}

} // namespace calc
