#pragma once

// The counters every benchmark of the catalogue prints: the steps timed by hand and a floor timed in the same run.
//   p50_ms, p99_ms   the median and the 99th percentile of the steps;
//   piso_ms          the median of the floor;
//   vezes_o_piso     p50_ms / piso_ms.

#include <QtGlobal>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <vector>

// Times of the steps of one run, for the counters.
struct Tempos
{
    std::vector<double> passos;
    std::vector<double> piso;

    static double ms(qint64 ns) { return double(ns) / 1e6; }
    static double percentil(std::vector<double> v, double p)
    {
        if (v.empty())
            return 0;
        std::sort(v.begin(), v.end());
        const auto posicao = std::size_t(std::ceil(p * double(v.size())));
        return v[std::min(v.size(), std::max<std::size_t>(posicao, 1)) - 1];
    }
    void passo(benchmark::State& state, qint64 ns)
    {
        passos.push_back(ms(ns));
        state.SetIterationTime(double(ns) / 1e9);
    }
    void publica(benchmark::State& state) const
    {
        const double p50 = percentil(passos, 0.5);
        const double piso50 = percentil(piso, 0.5);
        state.counters["p50_ms"] = p50;
        state.counters["p99_ms"] = percentil(passos, 0.99);
        state.counters["piso_ms"] = piso50;
        if (piso50 > 0)
            state.counters["vezes_o_piso"] = p50 / piso50;
    }
};
