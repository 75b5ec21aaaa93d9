// The catalogue as the user meets it, on catalogues of 1 000, 10 000 and 100 000 mixes made by GeradorCatalogo
// (names with 1 to 8 variants, written in a shuffled order), each made once per run. Every figure is timed through
// the program's own code, the main window's where the user sees it, and comes with a floor timed in the same run:
// the same rows read (or written) with a plain QSqlQuery, or for a keystroke the recalculation alone. The counters:
//   p50_ms, p99_ms   the median and the 99th percentile of the steps (an open, a move, a save, a keystroke);
//   piso_ms          the median of the floor;
//   vezes_o_piso     p50_ms / piso_ms;
//   pinturas         widgets painted per step (a step that paints nothing did not reach the screen).
// The open and the new mix's save run also on a copy of the same catalogue on a PostgreSQL server (motor:1, motor:0
// being the data folder's SQLite file), each with its floor read on the same server. They run when a server is
// named: QUENVAR_BENCH_SERVIDOR (a libpq connection string without dbname, may be empty) or PGHOST; a database
// quenvar_bench_<mixes>_<pid> is made for each catalogue there and dropped at the end.
// A move, a save or a keystroke ends when the window has painted what it changed (the events it queued processed).
//
//   build/bin/bench_catalogo                                  every figure (a few minutes)
//   build/bin/bench_catalogo --benchmark_filter='navega/.*/tracos:100000'
//   PGHOST=/var/run/postgresql build/bin/bench_catalogo --benchmark_filter='(abreCatalogo|novoTraco)/.*'

#include "geradorcatalogo.h"
#include "tempos.h"

#include "app/traco.h"
#include "calc/recalculo.h"
#include "catalogue/catalogo.h"
#include "catalogue/consultas.h"
#include "catalogue/migracao.h"
#include "catalogue/tabelaprodutos.h"
#include "desktop/scripteddialogs.h"
#include "platform/database.h"
#include "platform/paths.h"
#include "widgets/caixatexto.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {

using Form = mixform::FormTraco;
using platform::Database;

// Where a catalogue is kept: the data folder's SQLite file, or a copy of it on a PostgreSQL server.
enum Motor { Arquivo = 0, Servidor = 1 };

// The server the catalogues are copied to (a libpq connection string without dbname, empty for the PG* variables'
// server), none when no server is named.
std::optional<QString> servidor()
{
    if (qEnvironmentVariableIsSet("QUENVAR_BENCH_SERVIDOR"))
        return qEnvironmentVariable("QUENVAR_BENCH_SERVIDOR");
    if (qEnvironmentVariableIsSet("PGHOST"))
        return QString();
    return std::nullopt;
}

// One statement on the server's maintenance database, outside any transaction, as databases are made and dropped.
void administra(const QString& sql)
{
    const QString nome = QStringLiteral("bench-administra");
    QString falha;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), nome);
        db.setConnectOptions(servidor().value_or(QString()) + QStringLiteral(" dbname=postgres"));
        if (!db.open())
            falha = db.lastError().text();
        else if (QSqlQuery q(db); !q.exec(sql))
            falha = q.lastError().text();
        db.close();
    }
    QSqlDatabase::removeDatabase(nome);
    if (!falha.isEmpty())
        throw std::runtime_error(qPrintable(sql + QStringLiteral(": ") + falha));
}

// A catalogue of `tracos` mixes, made the first time it is asked for.
struct Catalogo
{
    QTemporaryDir pasta;
    QString dados;
    platform::LocalDoBanco banco;
    QString baseNoServidor; // the server's database made for it, dropped with it

    ~Catalogo()
    {
        try {
            if (!baseNoServidor.isEmpty())
                administra(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(baseNoServidor));
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s\n", e.what());
        }
    }
};

std::map<std::pair<int, int>, std::unique_ptr<Catalogo>>& feitos()
{
    static std::map<std::pair<int, int>, std::unique_ptr<Catalogo>> c;
    return c;
}

Catalogo& catalogo(int tracos, int motor = Arquivo);

// The catalogue of the file copied to a database of its own on the server, as `migrar` moves a data folder there.
// Throws std::runtime_error when the server refuses.
void copiaParaOServidor(Catalogo& c, int tracos)
{
    const Catalogo& arquivo = catalogo(tracos);
    std::filesystem::copy(arquivo.dados.toStdString(), c.dados.toStdString(), std::filesystem::copy_options::recursive);
    const QString nome = QStringLiteral("quenvar_bench_%1_%2").arg(tracos).arg(QCoreApplication::applicationPid());
    administra(QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8'").arg(nome));
    c.baseNoServidor = nome;
    QElapsedTimer relogio;
    relogio.start();
    const auto r = catalogue::Migracao::migra(
        c.dados, (servidor().value_or(QString()) + QStringLiteral(" dbname=") + nome).trimmed());
    if (!r.ok)
        throw std::runtime_error(qPrintable(r.mensagem));
    c.banco = platform::LocalDoBanco::daPasta(c.dados);
    std::fprintf(stderr, "catálogo de %d traços copiado para o servidor em %.1f s\n", tracos,
                 double(relogio.elapsed()) / 1000.0);
}

Catalogo& catalogo(int tracos, int motor)
{
    std::unique_ptr<Catalogo>& c = feitos()[{tracos, motor}];
    if (c)
        return *c;
    c = std::make_unique<Catalogo>();
    c->dados = c->pasta.filePath(QStringLiteral("dados/"));
    if (motor == Servidor) {
        try {
            copiaParaOServidor(*c, tracos);
        } catch (...) {
            c.reset(); // its database, if made, dropped
            throw;
        }
        return *c;
    }
    c->banco = platform::LocalDoBanco::arquivo(c->dados + QStringLiteral("Dados/empresa.mdb"));
    QElapsedTimer relogio;
    relogio.start();
    const GeradorCatalogo::Resultado r = GeradorCatalogo::cria(c->dados, tracos);
    if (!r.ok)
        qFatal("the catalogue could not be made: %s", qPrintable(r.mensagem));
    std::fprintf(stderr, "catálogo de %d traços (%d nomes) feito em %.1f s\n", tracos, r.nomes,
                 double(relogio.elapsed()) / 1000.0);
    return *c;
}

// The catalogue of the benchmark's arguments (tracos, motor), or null with the step skipped when the server refused.
const Catalogo* catalogoDe(benchmark::State& state)
{
    try {
        return &catalogo(int(state.range(0)), int(state.range(1)));
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return nullptr;
    }
}

desktop::ScriptedDialogs& dialogos()
{
    static auto* d = [] {
        auto* scripted = new desktop::ScriptedDialogs;
        desktop::Dialogs::instala(std::unique_ptr<desktop::Dialogs>(scripted));
        return scripted;
    }();
    return *d;
}

// Counts the widgets painted, to tell a step that reached the screen from one that did not.
class ContaPinturas : public QObject
{
public:
    ContaPinturas() { qApp->installEventFilter(this); }
    ~ContaPinturas() override { qApp->removeEventFilter(this); }
    int total = 0;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override
    {
        if (evento->type() == QEvent::Paint)
            ++total;
        return QObject::eventFilter(objeto, evento);
    }
};

// What the window queued (its repaints above all) done, as the event loop does before the user sees the result.
void poeNaTela()
{
    QCoreApplication::processEvents();
}

// The floor of a new mix's save: the catalogue's keys read in its order; of an open, those and the catalogue's
// names, each once, in its order (`comNomes`).
void leChaves(Database& db, int tracos, Tempos& t, bool comNomes = false)
{
    QElapsedTimer relogio;
    relogio.start();
    // Read as the engine reads fastest, as the program reads it: a server's rows whole, a file's forward only.
    QSqlQuery q = platform::Driver::consulta(db.handle());
    q.exec(db.traduz(QStringLiteral("SELECT Codigo FROM Tracos ORDER BY %1, TracoVariante")
                         .arg(db.ordemDeTexto(QStringLiteral("NomeTraco")))));
    int lidas = 0;
    while (q.next())
        ++lidas;
    if (comNomes) {
        q.exec(db.traduz(catalogue::Consultas::nomesDistintos(db).sql));
        while (q.next())
            q.value(0).toString();
    }
    t.piso.push_back(Tempos::ms(relogio.nsecsElapsed()));
    if (lidas != tracos)
        qFatal("the floor read %d keys of %d", lidas, tracos);
}

// The floor of a move: the row the move arrived at, read by its key.
class LeLinha
{
public:
    explicit LeLinha(Database& db) : m_q(db.handle())
    {
        m_q.setForwardOnly(true);
        m_q.prepare(QStringLiteral("SELECT * FROM Tracos WHERE Codigo = ?"));
    }
    void operator()(const QVariant& codigo)
    {
        m_q.addBindValue(codigo);
        m_q.exec();
        if (m_q.next()) {
            const QSqlRecord r = m_q.record();
            for (int i = 0; i < r.count(); ++i)
                benchmark::DoNotOptimize(r.value(i));
        }
        m_q.finish();
    }

private:
    QSqlQuery m_q;
};

// The main window open on a catalogue, as the program opens it at start-up.
struct Janela
{
    explicit Janela(const Catalogo& c)
    {
        Database::shared().open(c.banco);
        platform::Paths::definePastaDados(c.dados);
        traco = std::make_unique<app::Traco>(Database::shared());
        traco->show();
        poeNaTela();
    }
    ~Janela()
    {
        traco.reset();
        Database::shared().close();
    }
    Form* form() const { return traco->form(); }
    // The record on the mix in the middle of the catalogue, shown.
    void vaiAoMeio()
    {
        const int meio = form()->totalRegistros() / 2;
        form()->tracos().setAbsolutePosition(meio - 1);
        form()->catalogo().definePosicao(meio);
        form()->MostraNumero();
        poeNaTela();
    }
    std::unique_ptr<app::Traco> traco;
};

bool houveMensagem(benchmark::State& state, qsizetype antes)
{
    if (dialogos().mensagens().size() == antes)
        return false;
    state.SkipWithError(qPrintable(QStringLiteral("the window asked: ") + dialogos().mensagens().last().texto));
    return true;
}

// The catalogue read and the list of its names filled, as the mix form does on opening, without a window.
void abreCatalogo(benchmark::State& state)
{
    const int tracos = int(state.range(0));
    const Catalogo* c = catalogoDe(state);
    if (!c)
        return;
    Database db(QStringLiteral("bench-catalogo"));
    Tempos t;
    QElapsedTimer relogio;
    for (auto _ : state) {
        // A fresh connection, as at start-up: nothing the engine kept from an earlier read.
        db.open(c->banco);
        relogio.start();
        catalogue::Catalogo registro(db);
        registro.abre(); // the keys in the catalogue's order and its names
        t.passo(state, relogio.nsecsElapsed());
        if (registro.total() != tracos || registro.nomes().isEmpty())
            state.SkipWithError("the catalogue did not open whole");
        db.open(c->banco);
        leChaves(db, tracos, t, true);
    }
    t.publica(state);
}

// The main window made, opened on the catalogue and painted, as at start-up.
void abreJanela(benchmark::State& state)
{
    const int tracos = int(state.range(0));
    const Catalogo& c = catalogo(tracos);
    const qsizetype mensagens = dialogos().mensagens().size();
    Tempos t;
    QElapsedTimer relogio;
    for (auto _ : state) {
        relogio.start();
        auto janela = std::make_unique<Janela>(c);
        t.passo(state, relogio.nsecsElapsed());
        if (houveMensagem(state, mensagens) || !janela->traco->pronto() || janela->form()->totalRegistros() != tracos) {
            state.SkipWithError("the window did not open on the catalogue");
            break;
        }
        janela.reset();
        Database db(QStringLiteral("bench-catalogo"));
        db.open(c.banco);
        leChaves(db, tracos, t, true);
    }
    t.publica(state);
}

// One move of the navigation buttons from the middle of the catalogue, painted.
void navega(benchmark::State& state)
{
    const int tracos = int(state.range(0));
    const int botao = int(state.range(1));
    Janela janela(catalogo(tracos));
    janela.vaiAoMeio();
    LeLinha leLinha(Database::shared());
    ContaPinturas pinturas;
    const qsizetype mensagens = dialogos().mensagens().size();
    Tempos t;
    QElapsedTimer relogio;
    for (auto _ : state) {
        relogio.start();
        janela.form()->Movimenta(botao);
        poeNaTela();
        t.passo(state, relogio.nsecsElapsed());
        const QVariant codigo = janela.form()->tracos().field(QStringLiteral("Codigo"));
        relogio.start();
        leLinha(codigo);
        t.piso.push_back(Tempos::ms(relogio.nsecsElapsed()));
    }
    if (houveMensagem(state, mensagens))
        return;
    t.publica(state);
    state.counters["pinturas"] = double(pinturas.total) / double(state.iterations());
}

// A mix of the middle of the catalogue edited (its cement per batch) and saved through the window. The counter
// alterar_ms is the median of entering the edit (not part of the save's time).
void alteraTraco(benchmark::State& state)
{
    const int tracos = int(state.range(0));
    Janela janela(catalogo(tracos));
    janela.vaiAoMeio();
    Form* f = janela.form();
    ContaPinturas pinturas;
    // The floor writes another mix than the one edited: a write of the edited one would be, for the window, another
    // workstation's change.
    const QVariant outro = Database::shared().scalar(QStringLiteral("SELECT MIN(Codigo) FROM Tracos"));
    QSqlQuery grava(Database::shared().handle());
    grava.prepare(QStringLiteral("UPDATE Tracos SET TracoCimento = ? WHERE Codigo = ?"));
    LeLinha leLinha(Database::shared());
    const qsizetype mensagens = dialogos().mensagens().size();
    Tempos t;
    std::vector<double> alterar;
    QElapsedTimer relogio;
    int vez = 0;
    for (auto _ : state) {
        relogio.start();
        janela.traco->executa(QStringLiteral("ID_Alterar"));
        poeNaTela();
        alterar.push_back(Tempos::ms(relogio.nsecsElapsed()));
        f->TextoT[0]->selectAll();
        QTest::keyClicks(f->TextoT[0], ++vez % 2 ? QStringLiteral("51") : QStringLiteral("50"));
        const int antes = pinturas.total;
        relogio.start();
        janela.traco->executa(QStringLiteral("ID_Gravar"));
        poeNaTela();
        t.passo(state, relogio.nsecsElapsed());
        if (houveMensagem(state, mensagens) || f->alterando || pinturas.total == antes) {
            state.SkipWithError("the edit was not saved and shown");
            break;
        }
        // The floor: a row written by its key in a transaction and read again.
        relogio.start();
        Database::shared().handle().transaction();
        grava.addBindValue(vez % 2 ? 51.0 : 50.0);
        grava.addBindValue(outro);
        grava.exec();
        Database::shared().handle().commit();
        leLinha(outro);
        t.piso.push_back(Tempos::ms(relogio.nsecsElapsed()));
    }
    t.publica(state);
    state.counters["alterar_ms"] = Tempos::percentil(alterar, 0.5);
}

// A new mix whose name sorts near the end of the catalogue, saved through the catalogue's rules, and the catalogue
// read again in its order with the record on the new mix, as the main window does after a save. The row is deleted
// again outside the timing.
void novoTraco(benchmark::State& state)
{
    const int tracos = int(state.range(0));
    const Catalogo* c = catalogoDe(state);
    if (!c)
        return;
    Database db(QStringLiteral("bench-catalogo"));
    db.open(c->banco);
    catalogue::Catalogo registro(db);
    registro.abre();
    Tempos t;
    std::vector<double> exclusoes; // the delete that follows each save, as the window does it
    QElapsedTimer relogio;
    for (auto _ : state) {
        relogio.start();
        const catalogue::Gravacao g = registro.insere({QStringLiteral("Viga fck 99 – Obra nova"), true, {}});
        registro.ordena(g.codigo);
        t.passo(state, relogio.nsecsElapsed());
        if (registro.tracos().field(QStringLiteral("Codigo")).toLongLong() != g.codigo ||
            registro.posicao() < tracos * 9 / 10) {
            state.SkipWithError("the record is not on the new mix near the end");
            break;
        }
        // Taken away again through the catalogue, as the window deletes a mix, outside the save's timing.
        QList<catalogue::Aviso> avisos;
        relogio.start();
        if (!registro.exclui({g.codigo, registro.versao(g.codigo), g.nome}, avisos))
            state.SkipWithError("the new mix could not be deleted again");
        registro.ordena(std::nullopt);
        exclusoes.push_back(Tempos::ms(relogio.nsecsElapsed()));
        leChaves(db, tracos, t);
    }
    t.publica(state);
    state.counters["exclui_ms"] = Tempos::percentil(exclusoes, 0.5);
}

// Keystrokes in the cement box of the batch, while a mix is edited: a digit typed and taken back in turn, each
// recalculating the mix and its costs and painted. The floor is the recalculation of the same mix alone and the
// repaint of the box typed into.
void teclaNoLote(benchmark::State& state)
{
    const int tracos = int(state.range(0));
    Janela janela(catalogo(tracos));
    janela.vaiAoMeio();
    Form* f = janela.form();
    janela.traco->executa(QStringLiteral("ID_Alterar"));
    poeNaTela();
    widgets::CaixaTexto* caixa = f->TextoT[0];
    // The page of the batch on top, as when the user types there.
    for (int i = 0; i < f->Pasta->count(); ++i) {
        if (f->Pasta->widget(i)->isAncestorOf(caixa))
            f->Pasta->setCurrentIndex(i);
    }
    poeNaTela();
    caixa->setFocus();
    caixa->end(false);
    const catalogue::TabelaProdutos produtos(Database::shared());
    ContaPinturas pinturas;
    const qsizetype mensagens = dialogos().mensagens().size();
    const QString inicial = caixa->text();
    Tempos t;
    QElapsedTimer relogio;
    int vez = 0;
    for (auto _ : state) {
        const int antes = pinturas.total;
        relogio.start();
        QTest::keyClick(caixa, ++vez % 2 ? Qt::Key_5 : Qt::Key_Backspace);
        poeNaTela();
        t.passo(state, relogio.nsecsElapsed());
        if (pinturas.total == antes) {
            state.SkipWithError("the keystroke painted nothing");
            break;
        }
        calc::CalcState estado = janela.traco->estado;
        relogio.start();
        calc::ReCalculo(estado, &produtos);
        caixa->repaint();
        t.piso.push_back(Tempos::ms(relogio.nsecsElapsed()));
    }
    if (caixa->text() != inicial && caixa->text() != inicial + QLatin1Char('5'))
        state.SkipWithError("the box did not take the keystrokes");
    if (houveMensagem(state, mensagens))
        return;
    janela.traco->executa(QStringLiteral("ID_Cancelar"));
    t.publica(state);
    state.counters["pinturas"] = double(pinturas.total) / double(state.iterations());
}

void tamanhos(benchmark::internal::Benchmark* b)
{
    b->ArgName("tracos")->Arg(1000)->Arg(10000)->Arg(100000);
}

// The sizes on the file and, when a server is named, on the server.
void tamanhosEMotores(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"tracos", "motor"});
    for (const int motor : {Arquivo, Servidor}) {
        if (motor == Servidor && !servidor())
            break;
        for (const int tracos : {1000, 10000, 100000})
            b->Args({tracos, motor});
    }
}

void tamanhosEMovimentos(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"tracos", "botao"});
    for (const int tracos : {1000, 10000, 100000}) {
        for (const int botao : {Form::Proximo, Form::Anterior, Form::ProximoEmUso, Form::AnteriorEmUso})
            b->Args({tracos, botao});
    }
}

BENCHMARK(abreCatalogo)->Apply(tamanhosEMotores)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(abreJanela)->Apply(tamanhos)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(navega)->Apply(tamanhosEMovimentos)->Iterations(200)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(alteraTraco)->Apply(tamanhos)->Iterations(30)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(novoTraco)->Apply(tamanhosEMotores)->Iterations(30)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(teclaNoLote)->Apply(tamanhos)->Iterations(200)->UseManualTime()->Unit(benchmark::kMillisecond);

// The offscreen screen says at every window shown that it has no window manager to pass size hints to.
QtMessageHandler mensagensDoQt = nullptr;
void semAvisoDeTela(QtMsgType tipo, const QMessageLogContext& contexto, const QString& texto)
{
    if (!texto.contains(QLatin1String("propagateSizeHints")) && mensagensDoQt)
        mensagensDoQt(tipo, contexto, texto);
}

} // namespace

int main(int argc, char** argv)
{
    mensagensDoQt = qInstallMessageHandler(semAvisoDeTela);
    // Windows need a screen: without one given, an offscreen screen of 1366×768, as on a common notebook.
    QTemporaryDir tela;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        QFile json(tela.filePath(QStringLiteral("tela.json")));
        if (json.open(QIODevice::WriteOnly))
            json.write(R"({ "screens": [ { "name": "Tela", "width": 1366, "height": 768, "logicalDpi": 96 } ] })");
        json.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + json.fileName().toLocal8Bit());
    }
    QApplication aplicacao(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    // The window keeps its place among the user's settings: those of a test area, not the user's own.
    QStandardPaths::setTestModeEnabled(true);
    dialogos();
    if (!servidor())
        std::fprintf(stderr, "abreCatalogo e novoTraco no servidor (motor:1) pulados: nem QUENVAR_BENCH_SERVIDOR nem "
                             "PGHOST dados\n");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    feitos().clear();
    return 0;
}
