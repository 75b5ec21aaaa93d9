// Time of reading the keys of a catalogue of 100 000 mixes (5 000 names of 20 variants each) in catalogue order:
// names in the Portuguese order the program registers on its connections, against the column's own order, which
// the name index gives without sorting. "nova" opens the connection before each run, so every name's sort key is
// made again, as when the program opens a catalogue.
//
// The save of a new mix near the end of a catalogue is timed by bench_catalogo, on catalogues of several sizes.
//
//   build/bin/bench_ordem --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include "catalogue/pastadados.h"
#include "platform/database.h"
#include "platform/transaction.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int Nomes = 5000;
constexpr int Variantes = 20;

// Names as a company writes them: accents, capitals and small letters mixed.
QString nome(int n)
{
    static const QStringList tipos{QStringLiteral("Concreto"),  QStringLiteral("concreto"), QStringLiteral("Água"),
                                   QStringLiteral("Argamassa"), QStringLiteral("Estaca"),   QStringLiteral("Éter"),
                                   QStringLiteral("Viga"),      QStringLiteral("Ônibus"),   QStringLiteral("laje"),
                                   QStringLiteral("Çapata")};
    static const QStringList usos{QStringLiteral("Bombeado"), QStringLiteral("aparente"), QStringLiteral("Magro"),
                                  QStringLiteral("estrutural"), QStringLiteral("Fundação")};
    return QStringLiteral("%1 %2 fck %3")
        .arg(tipos.at(n % tipos.size()), usos.at(n / tipos.size() % usos.size()))
        .arg(n);
}

struct Catalogo
{
    QTemporaryDir pasta;
    QString banco;
    std::unique_ptr<platform::Database> db;
};

// Made once for the whole run; let go of before the application ends, as its database connection must be.
std::unique_ptr<Catalogo>& feito()
{
    static std::unique_ptr<Catalogo> c;
    return c;
}

Catalogo& catalogo()
{
    std::unique_ptr<Catalogo>& c = feito();
    if (c)
        return *c;
    c = std::make_unique<Catalogo>();
    const QString dados = c->pasta.filePath(QStringLiteral("dados/"));
    if (!catalogue::PastaDados::cria(dados, false).ok)
        qFatal("the data folder could not be made");
    c->banco = dados + QStringLiteral("Dados/empresa.mdb");
    c->db = std::make_unique<platform::Database>(QStringLiteral("bench-ordem"));
    c->db->open(c->banco);
    platform::Transaction transacao(*c->db);
    // Written in a scrambled order, so that neither the rowids nor the pages follow the names.
    const int linhas = Nomes * Variantes;
    for (int i = 0, k = 0; i < linhas; ++i, k = (k + 7919) % linhas)
        c->db->exec(QStringLiteral("INSERT INTO Tracos(NomeTraco, TracoVariante) VALUES(?, ?)"),
                    {nome(k % Nomes), k / Nomes});
    transacao.commit();
    return *c;
}

void le(benchmark::State& state, platform::Database& db, const QString& sql)
{
    QSqlQuery q = db.exec(sql);
    int lidas = 0;
    while (q.next())
        ++lidas;
    if (lidas != Nomes * Variantes)
        state.SkipWithError("not every mix was read");
}

void ordemPortuguesa(benchmark::State& state)
{
    Catalogo& c = catalogo();
    const bool nova = state.range(0) != 0;
    const QString sql = QStringLiteral("SELECT Codigo FROM Tracos ORDER BY %1, TracoVariante")
                            .arg(c.db->ordemDeTexto(QStringLiteral("NomeTraco")));
    for (auto _ : state) {
        if (nova) {
            state.PauseTiming();
            c.db->open(c.banco);
            state.ResumeTiming();
        }
        le(state, *c.db, sql);
    }
}

void ordemDaColuna(benchmark::State& state)
{
    Catalogo& c = catalogo();
    const QString sql = QStringLiteral("SELECT rowid FROM Tracos ORDER BY NomeTraco, TracoVariante");
    for (auto _ : state)
        le(state, *c.db, sql);
}

BENCHMARK(ordemPortuguesa)->ArgName("nova")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ordemDaColuna)->Unit(benchmark::kMillisecond)->UseRealTime();

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
