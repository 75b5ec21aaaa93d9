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

} // namespace calc
