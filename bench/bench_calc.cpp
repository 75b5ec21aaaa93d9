// Time of the calculations the program runs on every keystroke and on every mix it loads: recalculating a mix
// with its costs, loading a stored row, and the dosage wizard's design.
//
//   build/bin/bench_calc --benchmark_repetitions=10 --benchmark_report_aggregates_only=true

#include "calc/calcstate.h"
#include "calc/consistencylimits.h"
#include "calc/dosage.h"
#include "calc/carregatraco.h"
#include "calc/producttable.h"
#include "calc/recalculo.h"
#include "calc/wizardanswers.h"
#include "calctestsupport.h"

#include <QList>
#include <QLocale>
#include <QVariantMap>

#include <benchmark/benchmark.h>

namespace {

// A price table in memory, searched in order as the products table is; the database's own cost is left out so
// that the calculation alone is timed.
calctest::MemoryProductTable produtos()
{
    calctest::MemoryProductTable tabela;
    for (const calc::ProductInfo& p : {
             calc::ProductInfo{1, QStringLiteral("Cimento 25"), 34.90, QStringLiteral("saco"), 50.0},
             calc::ProductInfo{2, QStringLiteral("Cimento 32"), 37.50, QStringLiteral("saco"), 50.0},
             calc::ProductInfo{5, QStringLiteral("Areia Fina"), 110.00, QStringLiteral("m3"), 1200.0},
             calc::ProductInfo{6, QStringLiteral("Areia Grossa"), 95.00, QStringLiteral("m3"), 1200.0},
             calc::ProductInfo{7, QStringLiteral("Pedrisco"), 105.00, QStringLiteral("m3"), 1380.0},
             calc::ProductInfo{9, QStringLiteral("Pedra 1"), 78.00, QStringLiteral("ton"), 1000.0},
             calc::ProductInfo{11, QStringLiteral("Aditivo Plastificante"), 9.80, QStringLiteral("litro"), 1.2},
             calc::ProductInfo{13, QStringLiteral("Mão-de-Obra"), 14.50, QStringLiteral("hora"), 0.0},
         })
        tabela.add(p);
    return tabela;
}

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

QVariantMap linha()
{
    return {
        {QStringLiteral("NomeTraco"), QStringLiteral("Concreto fck 20")},
        {QStringLiteral("TracoVariante"), 1},
        {QStringLiteral("Volumetrico"), 0},
        {QStringLiteral("Dosagem"), 0},
        {QStringLiteral("Classe"), QStringLiteral("32")},
        {QStringLiteral("Textura"), 1},
        {QStringLiteral("Destino"), 0},
        {QStringLiteral("Fator"), QStringLiteral("100")},
        {QStringLiteral("ReducaoAgua"), QStringLiteral("0")},
        {QStringLiteral("EspeCim"), 3.10},
        {QStringLiteral("AparCim"), 1.43},
        {QStringLiteral("EspeMiu"), 2.61},
        {QStringLiteral("AparMiu"), 1.20},
        {QStringLiteral("EspeGra"), 2.72},
        {QStringLiteral("AparGra"), 1.38},
        {QStringLiteral("Umidade"), 5.0},
        {QStringLiteral("TracoCimento"), 50.0},
        {QStringLiteral("TracoAreiaFina"), 30.0},
        {QStringLiteral("TracoAreiaGrossa"), 70.0},
        {QStringLiteral("TracoGraudoQde1"), 45.0},
        {QStringLiteral("TracoGraudoQde2"), 105.0},
        {QStringLiteral("TracoAditivoQde1"), 0.25},
        {QStringLiteral("TracoAditivoQde2"), 0.0},
        {QStringLiteral("Agua"), 203.36717013162067},
        {QStringLiteral("MaodeObra"), 20.0},
        {QStringLiteral("Perda"), 5.0},
        {QStringLiteral("PesoTraco"), QStringLiteral("322,737531820516")},
        {QStringLiteral("Peso"), QStringLiteral("2387,78144833708")},
        {QStringLiteral("Resistencia"), 23},
        {QStringLiteral("NomeCimento"), QStringLiteral("Cimento 32")},
        {QStringLiteral("NomeGraudo1"), QStringLiteral("Pedrisco")},
        {QStringLiteral("NomeGraudo2"), QStringLiteral("Pedra 1")},
        {QStringLiteral("NomeAditivo1"), QStringLiteral("Aditivo Plastificante")},
        {QStringLiteral("NomeAditivo2"), QString()},
    };
}

calc::WizardAnswers respostas()
{
    calc::WizardAnswers a;
    a.NomeTraco = QStringLiteral("Estrutural 25");
    a.Resistencia = QStringLiteral("25");
    a.ClasseCimento = QStringLiteral("32");
    a.OpcaoForma = 1;
    a.Abatimento = QStringLiteral("100");
    a.AgregadoGraudo = QStringLiteral("Pedra 1");
    a.OpcaoTextura = 1;
    a.TipoConcreto = 0;
    a.Texto = {QStringLiteral("3,10"), QStringLiteral("1,43"), QStringLiteral("2,61"),
               QStringLiteral("1,20"), QStringLiteral("2,72"), QStringLiteral("1,38")};
    a.UmidadeAreia = QStringLiteral("5");
    return a;
}

void BM_ReCalculoComCusto(benchmark::State& state)
{
    const calctest::MemoryProductTable tabela = produtos();
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
    const calctest::MemoryProductTable tabela = produtos();
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
    const calc::WizardAnswers a = respostas();
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
