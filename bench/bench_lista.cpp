// The list of the whole catalogue (catalogue::ModeloLista) on a catalogue of 100 000 mixes made by GeradorCatalogo,
// on the data folder's SQLite file. Each step is timed by hand and ends with the first screen of lines (40 lines,
// every column) read, as the list shows them:
//   abre     on a fresh connection, the keys read in the catalogue's order;
//            floor: the catalogue's keys alone read in its order with a plain QSqlQuery, on a fresh connection;
//   filtra   one keystroke in the search box: the filter text grows by a letter ("c", "co", … "concreto b") and
//            is emptied again; floor: one pass of QString::contains, without regard to case, over the 100 000
//            names held in memory;
//   ordena   a column's title clicked: the keys read again in the order of the cost, then of the name;
//            floor: the keys read in the order of the cost column alone.
// Counters: those of tempos.h.
//
//   build/bin/bench_lista

#include "catalogue/modelolista.h"
#include "geradorcatalogo.h"
#include "platform/database.h"
#include "tempos.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

using catalogue::ModeloLista;
using platform::Database;

namespace {

constexpr int Tracos = 100000;

struct Catalogo
{
    QTemporaryDir pasta;
    QString banco;
};

std::unique_ptr<Catalogo>& feito()
{
    static std::unique_ptr<Catalogo> c;
    return c;
}

const Catalogo& catalogo()
{
    std::unique_ptr<Catalogo>& c = feito();
    if (c)
        return *c;
    c = std::make_unique<Catalogo>();
    const QString dados = c->pasta.filePath(QStringLiteral("dados/"));
    QElapsedTimer relogio;
    relogio.start();
    const GeradorCatalogo::Resultado r = GeradorCatalogo::cria(dados, Tracos);
    if (!r.ok)
        qFatal("the catalogue could not be made: %s", qPrintable(r.mensagem));
    std::fprintf(stderr, "catálogo de %d traços feito em %.1f s\n", Tracos, double(relogio.elapsed()) / 1000.0);
    c->banco = dados + QStringLiteral("Dados/empresa.mdb");
    return *c;
}

// The first screen of lines, every column, as the view asks for them.
void primeiraTela(const ModeloLista& modelo)
{
    for (int linha = 0; linha < std::min(40, modelo.rowCount()); ++linha) {
        for (int c = 0; c < ModeloLista::NumeroDeColunas; ++c)
            benchmark::DoNotOptimize(modelo.data(modelo.index(linha, c)));
    }
}

// The floor's time, in milliseconds.
template <typename Passo> double cronometra(Passo passo)
{
    QElapsedTimer relogio;
    relogio.start();
    passo();
    return Tempos::ms(relogio.nsecsElapsed());
}

int conta(Database& db, const QString& sql)
{
    QSqlQuery q = db.exec(sql);
    int n = 0;
    while (q.next())
        ++n;
    return n;
}

void abre(benchmark::State& state)
{
    const Catalogo& c = catalogo();
    Tempos t;
    for (auto _ : state) {
        {
            Database db(QStringLiteral("bench-lista-piso"));
            db.open(c.banco);
            t.piso.push_back(cronometra([&] {
                conta(db, QStringLiteral("SELECT Codigo FROM Tracos ORDER BY %1, TracoVariante")
                              .arg(db.ordemDeTexto(QStringLiteral("NomeTraco"))));
            }));
        }
        Database db(QStringLiteral("bench-lista"));
        db.open(c.banco);
        ModeloLista modelo(db);
        const double ms = cronometra([&] {
            modelo.abre();
            primeiraTela(modelo);
        });
        if (modelo.rowCount() != Tracos)
            state.SkipWithError("not every mix was listed");
        t.passo(state, qint64(ms * 1e6));
    }
    t.publica(state);
}

void filtra(benchmark::State& state)
{
    const Catalogo& c = catalogo();
    Database db(QStringLiteral("bench-lista"));
    db.open(c.banco);
    ModeloLista modelo(db);
    modelo.abre();
    QStringList nomes;
    QSqlQuery q = db.exec(QStringLiteral("SELECT NomeTraco FROM Tracos"));
    while (q.next())
        nomes.append(q.value(0).toString());
    const QString digitado = QStringLiteral("concreto b");
    Tempos t;
    int tecla = 0;
    for (auto _ : state) {
        const QString texto = digitado.left(tecla % (digitado.size() + 1));
        ++tecla;
        const double ms = cronometra([&] {
            modelo.defineFiltro(texto);
            primeiraTela(modelo);
        });
        t.passo(state, qint64(ms * 1e6));
        int achados = 0;
        t.piso.push_back(cronometra([&] {
            for (const QString& nome : std::as_const(nomes))
                achados += nome.contains(texto, Qt::CaseInsensitive) ? 1 : 0;
        }));
        benchmark::DoNotOptimize(achados);
    }
    t.publica(state);
}

void ordena(benchmark::State& state)
{
    const Catalogo& c = catalogo();
    Database db(QStringLiteral("bench-lista"));
    db.open(c.banco);
    ModeloLista modelo(db);
    modelo.abre();
    Tempos t;
    bool porCusto = true;
    for (auto _ : state) {
        const double ms = cronometra([&] {
            modelo.sort(porCusto ? ModeloLista::Custo : ModeloLista::Traco, Qt::AscendingOrder);
            primeiraTela(modelo);
        });
        porCusto = !porCusto;
        t.passo(state, qint64(ms * 1e6));
        t.piso.push_back(
            cronometra([&] { conta(db, QStringLiteral("SELECT Codigo FROM Tracos ORDER BY PrecoCustoComPerda")); }));
    }
    t.publica(state);
}

BENCHMARK(abre)->Iterations(5)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(filtra)->Iterations(110)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(ordena)->Iterations(10)->Unit(benchmark::kMillisecond)->UseManualTime();

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication aplicacao(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    feito().reset();
    return 0;
}
