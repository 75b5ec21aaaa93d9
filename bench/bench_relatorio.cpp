// The catalogue report of every mix, from the database to the PDF file, for catalogues of 1 000, 10 000 and
// 100 000 mixes made by GeradorCatalogo (names with 1 to 8 variants, each row the figures of a demo mix), with
//   - piso_s: the floor, the same texts at the same places drawn into a QPdfWriter with nothing else: the rows read
//     with a plain QSqlQuery, each text in a font made once, no measuring, wrapping or page model;
//   - vezes_o_piso: the report's time over the floor's; piso_cpu_s and vezes_o_piso_cpu the same in processor time,
//     which other work on a busy machine does not inflate;
//   - pico_MB: the peak memory of the report's run alone (the high-water mark is reset before it).
// And the report's viewer on the same catalogues: the report laid out, the viewer opened on it with its contents,
// and a page from its middle and its last page drawn, with the peak memory of that alone.
//
//   build/bin/bench_relatorio --benchmark_repetitions=1

#include "geradorcatalogo.h"

#include "catalogue/consultas.h"
#include "catalogue/pastadados.h"
#include "platform/database.h"
#include "preview/visualiza.h"
#include "preview/visualizador.h"
#include "printing/ficha.h"
#include "printing/relatorio.h"
#include "printing/saida.h"

#include <QApplication>
#include <QFile>
#include <QFontMetricsF>
#include <QHash>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <fstream>
#include <map>
#include <memory>
#include <string>

namespace {

using printing::Relatorio;

// A data folder with a catalogue of `linhas` mixes, made once per size for the whole run.
struct Catalogo
{
    QTemporaryDir pasta;
    std::unique_ptr<platform::Database> banco;

    QString dados() const { return pasta.filePath(QStringLiteral("dados/")); }
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
    const GeradorCatalogo::Resultado r = GeradorCatalogo::cria(c->dados(), linhas);
    if (!r.ok)
        qFatal("the catalogue could not be made: %s", qPrintable(r.mensagem));
    c->banco = std::make_unique<platform::Database>(QStringLiteral("bench-%1").arg(linhas));
    c->banco->open(c->dados() + QStringLiteral("Dados/empresa.mdb"));
    return *c;
}

// The process's peak resident memory since the last reset, MB.
double picoMB()
{
    std::ifstream status("/proc/self/status");
    for (std::string linha; std::getline(status, linha);) {
        if (linha.rfind("VmHWM:", 0) == 0)
            return std::stod(linha.substr(6)) / 1024.0;
    }
    return 0.0;
}

void zeraPico()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

double segundosDesde(std::chrono::steady_clock::time_point inicio)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
}

double processadorDesde(std::clock_t inicio)
{
    return double(std::clock() - inicio) / CLOCKS_PER_SEC;
}

// What the floor draws: each text of the demo report with its font, colour and baseline, from the top of the
// block, group header or page it belongs to.
struct TextoDoPiso
{
    QString texto;
    QPointF base;
    int fonte = 0;
    QColor cor;
};

struct ModeloDoPiso
{
    QList<QFont> fontes;
    QList<TextoDoPiso> pagina; // page header and footer, from the page's top
    QList<TextoDoPiso> grupo;  // the group header, its text without the name
    // Each demo mix's block, with its title, by the mix's cost per m³: every row of the catalogue takes a demo mix's
    // figures, and no two demo mixes cost the same.
    struct Bloco
    {
        QString titulo;
        QList<TextoDoPiso> textos;
    };
    std::map<double, Bloco> blocos;
};

// Takes the texts of the demo catalogue's report, laid out once by the report itself.
ModeloDoPiso modeloDoPiso()
{
    QTemporaryDir pasta;
    const QString dados = pasta.filePath(QStringLiteral("dados/"));
    if (!catalogue::PastaDados::cria(dados, true).ok)
        qFatal("the demo data folder could not be made");
    ModeloDoPiso modelo;
    {
        platform::Database banco(QStringLiteral("bench-modelo"));
        banco.open(dados + QStringLiteral("Dados/empresa.mdb"));
        Relatorio relatorio(printing::TipoRelatorio::Todos, banco, QString());
        relatorio.compoe();
        QHash<QString, double> custoDoTitulo;
        for (QSqlQuery q =
                 banco.exec(QStringLiteral("SELECT NomeTraco, TracoVariante, PrecoCustoComPerda FROM Tracos"));
             q.next();)
            custoDoTitulo.insert(q.value(0).toString() +
                                     QStringLiteral(" - %1").arg(q.value(1).toInt(), 2, 10, QLatin1Char('0')),
                                 q.value(2).toDouble());
        QHash<QFont, int> fontes;
        const auto texto = [&](const printing::ItemTexto& t, double topo) {
            const QFont fonte = printing::Documento::qfont(t.fonte);
            if (!fontes.contains(fonte)) {
                fontes.insert(fonte, int(modelo.fontes.size()));
                modelo.fontes.append(fonte);
            }
            const QFontMetricsF medidas(fonte);
            const double base = t.caixa.height() * medidas.ascent() / (medidas.ascent() + medidas.descent());
            return TextoDoPiso{t.texto, QPointF(t.caixa.left(), t.caixa.top() - topo + base), fontes.value(fonte),
                               t.cor};
        };
        const printing::Documento& doc = relatorio.documento();
        const double corpo = Relatorio::kMargemSuperior + Relatorio::kAlturaDoCabecalho;
        const double rodape = doc.pageHeight() - Relatorio::kMargemInferior - Relatorio::kAlturaDoRodape;
        for (const printing::ItemTexto& t : doc.textos()) {
            if (t.pagina == 0 && (t.caixa.top() < corpo || t.caixa.top() >= rodape))
                modelo.pagina.append(texto(t, 0.0));
            for (const printing::BlocoDoRelatorio& b : relatorio.blocos()) {
                if (t.pagina != b.pagina)
                    continue;
                if (t.caixa.top() >= b.topo && t.caixa.top() < b.topo + Relatorio::kAlturaDoDetalhe) {
                    ModeloDoPiso::Bloco& bloco = modelo.blocos[custoDoTitulo.value(b.titulo)];
                    bloco.titulo = b.titulo;
                    bloco.textos.append(texto(t, b.topo));
                }
                if (modelo.grupo.isEmpty() && t.texto.endsWith(QStringLiteral(" - Variante")) &&
                    t.caixa.top() < b.topo && t.caixa.top() >= b.topo - Relatorio::kAlturaDoGrupo) {
                    modelo.grupo.append(texto(t, b.topo - Relatorio::kAlturaDoGrupo));
                    modelo.grupo.last().texto = QStringLiteral(" - Variante");
                }
            }
        }
    }
    return modelo;
}

// The floor: the rows read with a plain query, in the report's order, and each row's texts drawn where the report
// draws them (a block per row, a group header per name, two blocks to a page as the report places them); a row's
// block is its demo mix's under the row's title. The page count, to check that the floor drew the report's pages;
// 0 for a row of no demo mix.
int piso(const ModeloDoPiso& modelo, platform::Database& banco, const QString& arquivo)
{
    QPdfWriter pdf(arquivo);
    pdf.setResolution(1440);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    QPainter pintor(&pdf);
    pintor.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    const auto desenha = [&](const QList<TextoDoPiso>& textos, double topo, const QString& de = {},
                             const QString& para = {}) {
        for (const TextoDoPiso& t : textos) {
            pintor.setFont(modelo.fontes[t.fonte]);
            pintor.setPen(t.cor);
            pintor.drawText(t.base + QPointF(0.0, topo), de.isEmpty() ? t.texto : QString(t.texto).replace(de, para));
        }
    };
    const double corpo = Relatorio::kMargemSuperior + Relatorio::kAlturaDoCabecalho;
    const double limite = printing::kAlturaA4 - Relatorio::kMargemInferior - Relatorio::kAlturaDoRodape;
    int paginas = 1;
    desenha(modelo.pagina, 0.0);
    double y = corpo;
    QString anterior;
    QSqlQuery consulta(banco.handle());
    consulta.setForwardOnly(true);
    consulta.exec(catalogue::Consultas::catalogo(banco).sql);
    const int nome = consulta.record().indexOf(QStringLiteral("NomeTraco"));
    const int variante = consulta.record().indexOf(QStringLiteral("TracoVariante"));
    const int custo = consulta.record().indexOf(QStringLiteral("PrecoCustoComPerda"));
    while (consulta.next()) {
        const QString esteNome = consulta.value(nome).toString();
        const QString titulo = esteNome + QStringLiteral(" - ") +
                               QStringLiteral("%1").arg(consulta.value(variante).toInt(), 2, 10, QLatin1Char('0'));
        const bool grupo = esteNome != anterior;
        const double altura = Relatorio::kAlturaDoDetalhe + (grupo ? Relatorio::kAlturaDoGrupo : 0.0);
        if (y + altura > limite && y > corpo) {
            pdf.newPage();
            ++paginas;
            desenha(modelo.pagina, 0.0, QStringLiteral("Página 1"), QStringLiteral("Página %1").arg(paginas));
            y = corpo;
        }
        if (grupo) {
            desenha(modelo.grupo, y, QStringLiteral(" - Variante"), esteNome + QStringLiteral(" - Variante"));
            y += Relatorio::kAlturaDoGrupo;
            anterior = esteNome;
        }
        const auto bloco = modelo.blocos.find(consulta.value(custo).toDouble());
        if (bloco == modelo.blocos.end())
            return 0;
        desenha(bloco->second.textos, y, bloco->second.titulo, titulo);
        y += Relatorio::kAlturaDoDetalhe;
    }
    return paginas;
}

// The report as the program writes it to a PDF file; the number of pages written.
int relatorioEmPdf(platform::Database& banco, const QString& logotipo, const QString& arquivo, int linhas)
{
    Relatorio relatorio(printing::TipoRelatorio::Todos, banco, logotipo);
    if (!printing::gravaPdf(relatorio, arquivo) || relatorio.linhas() != linhas)
        return 0;
    return relatorio.documento().pageCount();
}

void relatorioEmPdf(benchmark::State& state)
{
    const int linhas = int(state.range(0));
    Catalogo& c = catalogo(linhas);
    static const ModeloDoPiso modelo = modeloDoPiso();
    const QString logotipo = printing::logotipoDaPasta(c.dados());
    const QString pdf = c.pasta.filePath(QStringLiteral("todos.pdf"));
    const QString pdfDoPiso = c.pasta.filePath(QStringLiteral("piso.pdf"));

    auto inicio = std::chrono::steady_clock::now();
    std::clock_t processador = std::clock();
    const int paginasDoPiso = piso(modelo, *c.banco, pdfDoPiso);
    const double segundosDoPiso = segundosDesde(inicio);
    const double processadorDoPiso = processadorDesde(processador);
    QFile::remove(pdfDoPiso);

    int paginas = 0;
    double segundos = 0.0;
    double processadorDoRelatorio = 0.0;
    zeraPico();
    for (auto _ : state) {
        inicio = std::chrono::steady_clock::now();
        processador = std::clock();
        paginas = relatorioEmPdf(*c.banco, logotipo, pdf, linhas);
        segundos = segundosDesde(inicio);
        processadorDoRelatorio = processadorDesde(processador);
        state.SetIterationTime(segundos);
        if (paginas == 0)
            state.SkipWithError("the report did not print every mix");
    }
    state.counters["pico_MB"] = picoMB();
    state.counters["piso_s"] = segundosDoPiso;
    state.counters["vezes_o_piso"] = segundos / segundosDoPiso;
    state.counters["piso_cpu_s"] = processadorDoPiso;
    state.counters["vezes_o_piso_cpu"] = processadorDoRelatorio / processadorDoPiso;
    state.counters["paginas"] = paginas;
    if (paginas != paginasDoPiso)
        state.SkipWithError("the floor did not draw the report's pages");
    QFile::remove(pdf);
}

BENCHMARK(relatorioEmPdf)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kSecond)->Iterations(1)->UseManualTime();

void visualizador(benchmark::State& state)
{
    const int linhas = int(state.range(0));
    Catalogo& c = catalogo(linhas);
    const QString logotipo = printing::logotipoDaPasta(c.dados());
    int paginas = 0;
    zeraPico();
    for (auto _ : state) {
        auto relatorio = std::make_unique<Relatorio>(printing::TipoRelatorio::Todos, *c.banco, logotipo);
        if (!relatorio->preparaPaginas())
            state.SkipWithError("the report was not laid out");
        preview::Visualiza visualiza;
        visualiza.resize(1000, 720);
        visualiza.RunReport(std::move(relatorio));
        paginas = visualiza.relatorio()->paginas().pageCount();
        for (const int pagina : {paginas / 2, paginas}) {
            visualiza.irParaPagina(pagina);
            benchmark::DoNotOptimize(visualiza.grab());
        }
    }
    state.counters["pico_MB"] = picoMB();
    state.counters["paginas"] = paginas;
}

BENCHMARK(visualizador)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    // Pages are laid out with fonts, and the viewer is a window, which need a graphical application; nothing is
    // shown on the screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplicacao(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    catalogos().clear();
    return 0;
}
