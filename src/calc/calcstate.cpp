#include "calcstate.h"

namespace calc {

void CalcState::limpa()
{
    for (double* quantity :
         {&Mc,   &Mfs, &Mcs, &Ms, &Mg1, &Mg2, &Mg, &Lc,  &Lfs, &Lcs, &Ls,  &Lg1,  &Lg2,  &Lg,  &A1,    &A2,
          &Wa_b, &W_b, &H_b, &Cm, &Sfm, &Scm, &Sm, &G1m, &G2m, &Gm,  &Lcm, &Lfsm, &Lcsm, &Lsm, &Lg1m,  &Lg2m,
          &Lgm,  &A1m, &A2m, &Wa, &W,   &Hm,  &Vc, &Vs,  &Vg,  &V,   &f,   &C,    &n,    &A,   &areia, &graudo}) {
        *quantity = 0.0;
    }
    propMassa.clear();
    propVolume.clear();
    relAgregCimento.clear();
    pesoTraco.clear();
    peso.clear();
}

std::array<double, 10> CalcState::porTraco() const
{
    const bool v = emVolume();
    return {v ? Lc : Mc, v ? Lfs : Mfs, v ? Lcs : Mcs, v ? Lg1 : Mg1, v ? Lg2 : Mg2, A1, A2, Wa_b, W_b, H_b};
}

std::array<double, 10> CalcState::porMetro() const
{
    const bool v = emVolume();
    return {v ? Lcm : Cm, v ? Lfsm : Sfm, v ? Lcsm : Scm, v ? Lg1m : G1m, v ? Lg2m : G2m, A1m, A2m, Wa, W, Hm};
}

} // namespace calc
