#pragma once

#include <QString>

#include <array>

namespace calc {

// The working copy of one mix that every calculation reads and writes: the physical data of the
// materials, one batch (traço: what is mixed at one time, typically one bag of cement with its sand and
// coarse aggregate) and one cubic metre, the water, the strength values, the codes and texts of the mix
// and its costs. The main window, the wizard and the sheet loader each fill it and read it back.
//
// Members carry the symbols of the dosage method. Masses in kg, loose volumes (L…) and waters in litres,
// labour in man-hours; the suffix m marks a quantity per cubic metre.
struct CalcState
{
    // The edit index between edits.
    static constexpr qint16 semEdicao = 100;
    // The edit index of the per-batch labour box.
    static constexpr qint16 caixaMaoDeObraTraco = 9;

    // Physical data, kg per litre: specific (absolute) masses γ and bulk (loose) masses ρ of cement (c),
    // sand (s) and coarse aggregate (g). h is the sand moisture as a fraction of the wet sand.
    double gammaC = 0.0;
    double rhoC = 0.0;
    double gammaS = 0.0;
    double rhoS = 0.0;
    double gammaG = 0.0;
    double rhoG = 0.0;
    double h = 0.0;

    // One batch: masses and loose volumes of cement, fine sand, coarse sand, sand total, coarse
    // aggregates 1 and 2 and their total; admixtures in their product's unit; additional and total water;
    // labour.
    double Mc = 0.0;
    double Mfs = 0.0;
    double Mcs = 0.0;
    double Ms = 0.0;
    double Mg1 = 0.0;
    double Mg2 = 0.0;
    double Mg = 0.0;
    double Lc = 0.0;
    double Lfs = 0.0;
    double Lcs = 0.0;
    double Ls = 0.0;
    double Lg1 = 0.0;
    double Lg2 = 0.0;
    double Lg = 0.0;
    double A1 = 0.0;
    double A2 = 0.0;
    double Wa_b = 0.0;
    double W_b = 0.0;
    double H_b = 0.0;

    // One cubic metre: the same quantities. W is the total water the concrete needs.
    double Cm = 0.0;
    double Sfm = 0.0;
    double Scm = 0.0;
    double Sm = 0.0;
    double G1m = 0.0;
    double G2m = 0.0;
    double Gm = 0.0;
    double Lcm = 0.0;
    double Lfsm = 0.0;
    double Lcsm = 0.0;
    double Lsm = 0.0;
    double Lg1m = 0.0;
    double Lg2m = 0.0;
    double Lgm = 0.0;
    double A1m = 0.0;
    double A2m = 0.0;
    double Wa = 0.0;
    double W = 0.0;
    double Hm = 0.0;

    // Solid volumes of one batch (litres) and f, the number of batches in one cubic metre.
    double Vc = 0.0;
    double Vs = 0.0;
    double Vg = 0.0;
    double V = 0.0;
    double f = 0.0;

    // Strength: water/cement ratio, mean strength at 28 days and standard deviation (MPa); fck is the
    // characteristic strength stored with the mix, fckMago the strength asked of the wizard.
    double wc = 0.0;
    double fcj = 0.0;
    double Sd = 0.0;
    qint16 fck = 0;
    double fckMago = 0.0;

    // Water demand: maximum aggregate size (mm, 0 when no coarse aggregate counts), shape factor of the
    // coarse aggregate, slump (mm), the superplasticiser flag and its water reduction r as a fraction.
    double Dmax = 0.0;
    double fatorForma = 0.0;
    qint16 abatimento = 0;
    bool superplastificante = false;
    double r = 0.0;

    // Codes of the mix: measuring condition (0 by mass, 1 and 2 by loose volume; -1 none chosen), aggregate
    // shape (0..2) and use of the concrete (0..3).
    qint16 dosagem = -1;
    qint16 textura = -1;
    qint16 destino = 0;
    // Durability: the environmental aggressiveness class (1..4, 0 when none was chosen) and the kind of element
    // (Estrutura: 0 reinforced, 1 prestressed).
    qint16 classeAgressividade = 0;
    qint16 estrutura = 0;

    // Texts: mix name, the sheet's title (name and variant), cement class, consistency class name.
    QString nomeTraco;
    QString titulo;
    QString classe;
    QString consistencia;
    // Product names of the component rows: 0 cement, 3 and 4 coarse aggregates, 5 and 6 admixtures
    // (1 and 2, the sands, are not chosen per mix). Unit names of admixtures 1 and 2.
    std::array<QString, 7> nomes;
    std::array<QString, 2> unidades;

    // Results: proportions by mass, by loose volume and aggregate/cement ("1:…"), and the masses of one
    // batch and of one cubic metre as full-precision texts.
    QString propMassa;
    QString propVolume;
    QString relAgregCimento;
    QString pesoTraco;
    QString peso;

    // Costs of one cubic metre, and the losses in per cent.
    double custoSemPerda = 0.0;
    double custoComPerda = 0.0;
    double perda = 0.0;

    // The wizard's design: cement content C = W / (w/c) (kg/m³), bag mass P and bags per cubic metre n,
    // aggregate mass A at the reference specific mass, the sand and coarse aggregate it splits into (kg per
    // cubic metre), the proposed fine/total ratio, the three ratios offered, the one chosen (alfa, %) and
    // the position chosen in each use's list.
    double C = 0.0;
    double P = 0.0;
    double n = 0.0;
    double A = 0.0;
    double areia = 0.0;
    double graudo = 0.0;
    double relacaoProposta = 0.0;
    std::array<double, 3> relacoes{};
    double alfa = 0.0;
    std::array<qint16, 4> posicaoRelacao{1, 1, 1, 1};

    // Which box is being edited: 0..9 a per-batch box, 11..20 a per-cubic-metre box (its index + 11),
    // semEdicao for none. While recalculando is set, the window's own writes start no recalculation.
    qint16 indiceEdicao = semEdicao;
    bool recalculando = false;

    // Loose volumes instead of masses are entered and stored (measuring codes 1 and 2).
    bool emVolume() const { return dosagem == 1 || dosagem == 2; }

    // The ten component rows of one batch and of one cubic metre as the mix is measured: cement, fine sand, coarse
    // sand and the two coarse aggregates (masses, or loose volumes by volume), the two admixtures, additional and
    // total water, labour.
    std::array<double, 10> porTraco() const;
    std::array<double, 10> porMetro() const;

    // Clears the mix: every quantity 0 and every proportion and mass text empty. Physical data, options,
    // strength values and names are kept.
    void limpa();
};

} // namespace calc
