// Time of the catalogue report of every mix, from the database to the PDF file, for a catalogue of 1 000 and of
// 10 000 mixes: the demo catalogue's rows copied under new names until the catalogue holds that many.
//
//   build/bin/bench_relatorio --benchmark_repetitions=3 --benchmark_report_aggregates_only=true

#include "catalogue/pastadados.h"
#include "catalogue/schema.h"
#include "platform/database.h"
#include "platform/transaction.h"
#include "printing/ficha.h"
#include "printing/relatorio.h"
#include "printing/saida.h"

#include <QGuiApplication>
#include <QLocale>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

// A data folder with a catalogue of `linhas` mixes, made once per size for the whole run.
struct Catalogo
{
    QTemporaryDir pasta;
    std::unique_ptr<platform::Database> banco;
};

// The catalogues made so far; let go of before the application ends, as their database connections must be.
std::map<int, std::unique_ptr<Catalogo>>& catalogos()
{
    static std::map<int, std::unique_ptr<Catalogo>> feitos;
    return feitos;
}

Catalogo& catalogo(int linhas)
{
    std::unique_ptr<Catalogo>& c = catalogos()[linhas];
    if (c)
        return *c;
    c = std::make_unique<Catalogo>();
    const QString dados = c->pasta.filePath(QStringLiteral("dados/"));
    if (!catalogue::PastaDados::cria(dados, true).ok)
        qFatal("the demo data folder could not be made");
    c->banco = std::make_unique<platform::Database>(QStringLiteral("bench-%1").arg(linhas));
    c->banco->open(dados + QStringLiteral("Dados/empresa.mdb"));

    QStringList colunas = catalogue::Schema::tracos().nomes();
    colunas.removeAll(QStringLiteral("Codigo"));
    QStringList destino;
    QStringList origem;
    for (const QString& coluna : std::as_const(colunas)) {
        destino.append(platform::Database::citado(coluna));
        origem.append(coluna == QLatin1String("NomeTraco") ? QStringLiteral("NomeTraco || ?")
                                                           : platform::Database::citado(coluna));
    }
    const qint64 demo = c->banco->scalar(QStringLiteral("SELECT MAX(Codigo) FROM Tracos")).toLongLong();
    const QString copia = QStringLiteral("INSERT INTO Tracos (%1) SELECT %2 FROM Tracos WHERE Codigo <= ? "
                                         "ORDER BY Codigo LIMIT ?")
                              .arg(destino.join(QStringLiteral(", ")), origem.join(QStringLiteral(", ")));
    platform::Transaction transacao(*c->banco);
    int total = c->banco->scalar(QStringLiteral("SELECT COUNT(*) FROM Tracos")).toInt();
    for (int copiaN = 1; total < linhas; ++copiaN) {
        total += c->banco->execCount(
            copia, {QStringLiteral(" %1").arg(copiaN, 5, 10, QLatin1Char('0')), demo, linhas - total});
    }
    transacao.commit();
    return *c;
}

void relatorioEmPdf(benchmark::State& state)
{
    const int linhas = int(state.range(0));
    Catalogo& c = catalogo(linhas);
    const QString logotipo = printing::logotipoDaPasta(c.pasta.filePath(QStringLiteral("dados/")));
    const QString pdf = c.pasta.filePath(QStringLiteral("todos.pdf"));
    int paginas = 0;
    for (auto _ : state) {
        printing::Relatorio relatorio(printing::TipoRelatorio::Todos, *c.banco, logotipo);
        if (!relatorio.compoe() || relatorio.linhas() != linhas)
            state.SkipWithError("the report did not print every mix");
        QString erro;
        if (!printing::gravaPdf(relatorio.documento(), pdf, relatorio.legenda(), &erro))
            state.SkipWithError(qPrintable(erro));
        paginas = relatorio.documento().pageCount();
    }
    state.counters["paginas"] = paginas;
}

BENCHMARK(relatorioEmPdf)->Arg(1000)->Arg(10000)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    // Pages are laid out with fonts, which need a graphical application; no window is opened.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication aplicacao(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    catalogos().clear();
    return 0;
}
