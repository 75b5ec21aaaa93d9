// Time of the calculations the program runs on every keystroke and on every mix it loads: recalculating a mix
// with its costs, loading a stored row, and the dosage wizard's design.
//
//   build/bin/bench_calc --benchmark_repetitions=10 --benchmark_report_aggregates_only=true

#include "calc/calcstate.h"
#include "calc/carregatraco.h"
#include "calc/consistencylimits.h"
#include "calc/dosage.h"
#include "calc/producttable.h"
#include "calc/recalculo.h"
#include "calc/wizardanswers.h"
#include "calctestsupport.h"
#include "exemplos.h"

#include <QList>
#include <QLocale>
#include <QVariantMap>

#include <benchmark/benchmark.h>

namespace {

// The worked mass example with a second coarse aggregate and an admixture, so that every cost line is priced.
calc::CalcState lote()
{
    calc::CalcState s = calctest::exampleBatch();
    s.nomes[3] = QStringLiteral("Pedrisco");
    s.nomes[4] = QStringLiteral("Pedra 1");
    s.nomes[5] = QStringLiteral("Aditivo Plastificante");
    s.unidades[0] = QStringLiteral("litro");
    s.Mfs = 30.0;
    s.Mcs = 70.0;
    s.Mg1 = 45.0;
    s.Mg2 = 105.0;
    s.A1 = 0.25;
    s.perda = 5.0;
    return s;
}

// The same batch as a stored row.
QVariantMap linha()
{
    return exemplos::com(exemplos::linhaPorMassa(), {
                                                        {"NomeTraco", "Concreto fck 20"},
                                                        {"TracoVariante", 1},
                                                        {"Destino", 0},
                                                        {"TracoAreiaFina", 30.0},
                                                        {"TracoAreiaGrossa", 70.0},
                                                        {"TracoGraudoQde1", 45.0},
                                                        {"TracoGraudoQde2", 105.0},
                                                        {"TracoAditivoQde1", 0.25},
                                                        {"Agua", 203.36717013162067},
                                                        {"PesoTraco", "322,737531820516"},
                                                        {"Peso", "2387,78144833708"},
                                                        {"Resistencia", 23},
                                                        {"NomeGraudo1", "Pedrisco"},
                                                        {"NomeGraudo2", "Pedra 1"},
                                                        {"NomeAditivo1", "Aditivo Plastificante"},
                                                    });
}

void BM_ReCalculoComCusto(benchmark::State& state)
{
    const calctest::MemoryProductTable tabela = calctest::exampleProducts();
    const calc::CalcState base = lote();
    for (auto _ : state) {
        calc::CalcState s = base;
        calc::ReCalculo(s, &tabela);
        benchmark::DoNotOptimize(s.custoComPerda);
    }
}
BENCHMARK(BM_ReCalculoComCusto);

void BM_CarregaTraco(benchmark::State& state)
{
    const calctest::MemoryProductTable tabela = calctest::exampleProducts();
    const QVariantMap row = linha();
    for (auto _ : state) {
        calc::CalcState s;
        calc::CarregaTraco(s, row, &tabela);
        benchmark::DoNotOptimize(s.f);
    }
}
BENCHMARK(BM_CarregaTraco);

void BM_Assistente(benchmark::State& state)
{
    const calc::WizardAnswers a = exemplos::respostasDoAssistente();
    const calc::ConsistencyLimits limites;
    for (auto _ : state) {
        calc::CalcState s;
        calc::openWizard(s, 20.0);
        calc::CalculaDosagem(s, a, limites);
        calc::CalculaQuantidades(s, a, 50.0);
        benchmark::DoNotOptimize(s.f);
    }
}
BENCHMARK(BM_Assistente);

} // namespace

int main(int argc, char** argv)
{
    // The proportion and mass texts are written as the program writes them, with the Brazilian decimal comma.
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
