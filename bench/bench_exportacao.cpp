// The catalogue exported to a file, for a catalogue of 10 000 mixes made by GeradorCatalogo (names with 1 to 8
// variants, each row the figures of a demo mix), in each format, with
//   - piso_s: the floor, the same rows read with one plain ordered SELECT * and every field written as text, ';'
//     between them, to a file, with nothing else (no products looked up, no mix loaded, no formatting);
//   - vezes_o_piso: the export's time over the floor's; piso_cpu_s and vezes_o_piso_cpu the same in processor time,
//     which other work on a busy machine does not inflate;
//   - arquivo_MB: the size of the file written.
//
//   build/bin/bench_exportacao --benchmark_repetitions=3

#include "geradorcatalogo.h"

#include "catalogue/consultas.h"
#include "catalogue/exportacao.h"
#include "platform/database.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <memory>

namespace {

using catalogue::Exportacao;

constexpr int kTracos = 10000;

struct Catalogo
{
    QTemporaryDir pasta;
    std::unique_ptr<platform::Database> banco;
};

Catalogo& catalogo()
{
    static std::unique_ptr<Catalogo> c;
    if (c)
        return *c;
    c = std::make_unique<Catalogo>();
    const QString dados = c->pasta.filePath(QStringLiteral("dados/"));
    const GeradorCatalogo::Resultado r = GeradorCatalogo::cria(dados, kTracos);
    if (!r.ok)
        qFatal("the catalogue could not be made: %s", qPrintable(r.mensagem));
    c->banco = std::make_unique<platform::Database>(QStringLiteral("bench-exportacao"));
    c->banco->open(dados + QStringLiteral("Dados/empresa.mdb"));
    return *c;
}

double segundosDesde(std::chrono::steady_clock::time_point inicio)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
}

double processadorDesde(std::clock_t inicio)
{
    return double(std::clock() - inicio) / CLOCKS_PER_SEC;
}

// The floor: the catalogue's rows in its order, every field as text, one line each.
void piso(platform::Database& banco, const QString& arquivo)
{
    QFile saida(arquivo);
    if (!saida.open(QIODevice::WriteOnly))
        qFatal("the floor's file could not be written");
    const catalogue::Consulta consulta = catalogue::Consultas::catalogo(banco);
    QSqlQuery q = banco.exec(consulta.sql, consulta.valores);
    const int campos = q.record().count();
    while (q.next()) {
        QString linha;
        for (int i = 0; i < campos; ++i)
            linha += q.value(i).toString() + QLatin1Char(';');
        linha += QStringLiteral("\r\n");
        saida.write(linha.toUtf8());
    }
}

void exporta(benchmark::State& state)
{
    const auto formato = Exportacao::Formato(state.range(0));
    Catalogo& c = catalogo();
    const QString arquivo = c.pasta.filePath(QStringLiteral("catalogo.") + Exportacao::extensao(formato));
    const QString arquivoDoPiso = c.pasta.filePath(QStringLiteral("piso.txt"));
    double segundos = 0.0;
    double segundosDoPiso = 0.0;
    double processador = 0.0;
    double processadorDoPiso = 0.0;
    for (auto _ : state) {
        auto inicio = std::chrono::steady_clock::now();
        std::clock_t inicioNoProcessador = std::clock();
        Exportacao exportacao(*c.banco, formato, false);
        if (exportacao.grava(arquivo) != Exportacao::Resultado::Gravado || exportacao.gravados() != kTracos)
            state.SkipWithError("the export failed");
        segundos = segundosDesde(inicio);
        processador = processadorDesde(inicioNoProcessador);
        state.SetIterationTime(segundos);
        inicio = std::chrono::steady_clock::now();
        inicioNoProcessador = std::clock();
        piso(*c.banco, arquivoDoPiso);
        segundosDoPiso = segundosDesde(inicio);
        processadorDoPiso = processadorDesde(inicioNoProcessador);
    }
    state.counters["piso_s"] = segundosDoPiso;
    state.counters["vezes_o_piso"] = segundos / segundosDoPiso;
    state.counters["piso_cpu_s"] = processadorDoPiso;
    state.counters["vezes_o_piso_cpu"] = processador / processadorDoPiso;
    state.counters["arquivo_MB"] = double(QFileInfo(arquivo).size()) / (1024.0 * 1024.0);
}

BENCHMARK(exporta)
    ->ArgName("formato")
    ->Arg(int(Exportacao::Formato::Csv))
    ->Arg(int(Exportacao::Formato::Xlsx))
    ->Arg(int(Exportacao::Formato::Json))
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication aplicacao(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    catalogo().banco.reset();
    return 0;
}
