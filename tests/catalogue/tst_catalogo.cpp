#include "testregistry.h"

#include "calc/recalculo.h"
#include "calctestsupport.h"
#include "catalogue/camposdotraco.h"
#include "catalogue/catalogo.h"
#include "catalogue/consultas.h"
#include "fixtures.h"
#include "geradorcatalogo.h"
#include "platform/colacao.h"
#include "platform/database.h"

#include <QCoreApplication>
#include <QHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <array>

using catalogue::Catalogo;
using catalogue::TracoLido;
using platform::Database;

namespace {

// A mix as a window read it, from the given connection.
TracoLido lido(Database& db, const QString& nome, int variante)
{
    QSqlQuery q = db.exec(QStringLiteral("SELECT Codigo, Versao, NomeTraco FROM Tracos "
                                         "WHERE NomeTraco = ? AND TracoVariante = ?"),
                          {nome, variante});
    if (!q.next())
        return {};
    return {q.value(0).toLongLong(), q.value(1).toLongLong(), q.value(2).toString()};
}

QString fator(Database& db, qint64 codigo)
{
    return db.scalar(QStringLiteral("SELECT Fator FROM Tracos WHERE Codigo = ?"), {codigo}).toString();
}

// The variant of `nome` that carries the in-use mark; -1 when none does.
int marcada(Database& db, const QString& nome)
{
    const QVariant v =
        db.scalar(QStringLiteral("SELECT TracoVariante FROM Tracos WHERE NomeTraco = ? AND Plantao"), {nome});
    return v.isNull() ? -1 : v.toInt();
}

int linhasDoNome(Database& db, const QString& nome)
{
    return db.scalar(QStringLiteral("SELECT COUNT(*) FROM Tracos WHERE NomeTraco = ?"), {nome}).toInt();
}

// The demonstration catalogue where products are also made of "Contrapiso", a name of a single mix.
void vendeContrapiso(Database& db)
{
    db.exec(QStringLiteral("UPDATE Produtos SET CodigoTraco = (SELECT CodigoTraco FROM Tracos WHERE NomeTraco = "
                           "'Contrapiso') WHERE NomeProduto = 'Concreto Usinado fck 20'"));
}

// The record's keys in its order.
QList<qint64> chaves(const Catalogo& catalogo)
{
    QList<qint64> lista;
    for (int i = 0; i < catalogo.total(); ++i)
        lista.append(catalogo.tracos().chaveEm(i));
    return lista;
}

// The demonstration data folder as two workstations see it: two connections on one file.
struct DuasEstacoes
{
    DuasEstacoes()
    {
        a.open(pasta.local());
        b.open(pasta.local());
    }
    PastaDeTeste pasta;
    Database a{QStringLiteral("estacao-a")};
    Database b{QStringLiteral("estacao-b")};
};

} // namespace

// The catalogue's rules applied to what the database holds at the moment of each write: two connections on one
// file stand for two workstations.
class TestCatalogo : public QObject
{
    Q_OBJECT

private slots:
    void novoTracoTomaONomeGravado_data()
    {
        QTest::addColumn<QString>("antes");
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("gravado");
        QTest::addColumn<int>("variante");
        QTest::addColumn<int>("posicao"); // in the catalogue's order, read again after the write
        QTest::newRow("nome novo") << ""
                                   << "Traço Novo"
                                   << "Traço Novo" << 0 << 13;
        QTest::newRow("outra caixa e brancos") << ""
                                               << "  concreto FCK 20 "
                                               << "Concreto fck 20" << 2 << 7;
        QTest::newRow("acentos em outra caixa") << "Água Fria"
                                                << "ÁGUA FRIA"
                                                << "Água Fria" << 1 << 2;
        QTest::newRow("nome criado em outra estação") << "Piso"
                                                      << "Piso"
                                                      << "Piso" << 1 << 13;
        QTest::newRow("o número livre entre as variantes") << "variante 2 vira 3"
                                                           << "Concreto fck 25"
                                                           << "Concreto fck 25" << 2 << 9;
        QTest::newRow("nome novo acentuado na ordem") << ""
                                                      << "Água Fria"
                                                      << "Água Fria" << 0 << 1;
    }
    void novoTracoTomaONomeGravado()
    {
        QFETCH(QString, antes);
        QFETCH(QString, nome);
        QFETCH(QString, gravado);
        QFETCH(int, variante);
        QFETCH(int, posicao);
        DuasEstacoes estacoes;
        Database& a = estacoes.a;
        Database& b = estacoes.b;
        if (antes == QLatin1String("variante 2 vira 3"))
            b.exec(QStringLiteral("UPDATE Tracos SET TracoVariante = 3 WHERE NomeTraco = ? AND TracoVariante = 2"),
                   {nome});
        else if (!antes.isEmpty())
            Catalogo(b).insere({antes, true, {}});
        Catalogo catalogo(a);
        catalogo.abre();
        const catalogue::Gravacao g = catalogo.insere({nome, true, {}});
        QCOMPARE(g.nome, gravado);
        QCOMPARE(g.variante, variante);
        QCOMPARE(g.nomeNovo, antes.isEmpty() && variante == 0);
        // One spelling per name, one code per name, one mix in use.
        QCOMPARE(a.scalar(QStringLiteral("SELECT COUNT(DISTINCT %1) || '/' || COUNT(DISTINCT CodigoTraco) || '/' || "
                                         "%2 FROM Tracos WHERE %3 = ?")
                              .arg(teste::exata(QStringLiteral("NomeTraco")),
                                   teste::quantasVerdadeiras(QStringLiteral("Plantao")),
                                   a.dobraDeNome(QStringLiteral("NomeTraco"))),
                          {platform::nomeDobrado(gravado)})
                     .toString(),
                 QStringLiteral("1/1/1"));
        QCOMPARE(a.scalar(QStringLiteral("SELECT Plantao FROM Tracos WHERE Codigo = ?"), {g.codigo}).toBool(), true);
        // The first mix of a name gives the name its code: its own key.
        if (g.nomeNovo)
            QCOMPARE(
                a.scalar(QStringLiteral("SELECT CodigoTraco FROM Tracos WHERE Codigo = ?"), {g.codigo}).toLongLong(),
                g.codigo);
        catalogo.ordena(g.codigo);
        QCOMPARE(catalogo.posicao(), posicao);
        QCOMPARE(catalogo.tracos().field(QStringLiteral("Codigo")).toLongLong(), g.codigo);
    }

    // An edit as the user made it: a rename takes every variant along, and the in-use mark of a name products are
    // made of never leaves the name without a mix in use.
    void altera_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<int>("variante");
        QTest::addColumn<QString>("novo");
        QTest::addColumn<bool>("emUso");
        QTest::addColumn<int>("varianteEmUso"); // of the name after the write; -1 none
        QTest::addColumn<QString>("aviso");
        const QString passa =
            QStringLiteral("O novo traço Concreto fck 25 de plantao\ré o traço variante de número 01");
        QTest::newRow("renomeia todas as variantes")
            << "Concreto fck 25" << 1 << "Concreto Estrutural 25" << false << 0 << "";
        QTest::newRow("nome com apóstrofo") << "Concreto fck 25" << 1 << "Concreto d'Água" << false << 0 << "";
        QTest::newRow("marcar tira a marca das outras") << "Concreto fck 25" << 2 << "" << true << 2 << "";
        QTest::newRow("variante inativa continua inativa") << "Concreto fck 25" << 2 << "" << false << 0 << "";
        QTest::newRow("desmarcar a 00 passa à 01") << "Concreto fck 25" << 0 << "" << false << 1 << passa;
        QTest::newRow("desmarcar a única fica em uso")
            << "Contrapiso" << 0 << "" << false << 0
            << "Este traço está sendo utilizado,\re o mesmo não tem traço variante.\r\rPortanto, deve continuar em "
               "plantão.";
        QTest::newRow("desmarcar nome sem produtos") << "Concreto Magro" << 0 << "" << false << -1 << "";
    }
    void altera()
    {
        QFETCH(QString, nome);
        QFETCH(int, variante);
        QFETCH(QString, novo);
        QFETCH(bool, emUso);
        QFETCH(int, varianteEmUso);
        QFETCH(QString, aviso);
        PastaDeTeste pasta;
        Database db(QStringLiteral("altera"));
        db.open(pasta.local());
        vendeContrapiso(db);
        const int linhas = linhasDoNome(db, nome);
        const catalogue::Gravacao g =
            Catalogo(db).altera(lido(db, nome, variante), {novo.isEmpty() ? nome : novo, emUso, {}});
        const QString gravado = novo.isEmpty() ? nome : novo;
        QCOMPARE(g.nome, gravado);
        QCOMPARE(linhasDoNome(db, gravado), linhas);
        if (!novo.isEmpty())
            QCOMPARE(linhasDoNome(db, nome), 0);
        QCOMPARE(marcada(db, gravado), varianteEmUso);
        QCOMPARE(g.avisos.size(), aviso.isEmpty() ? 0 : 1);
        if (!aviso.isEmpty())
            QCOMPARE(g.avisos.first().texto, aviso);
    }

    // A delete keeps a mix in use for every name products are made of.
    void exclui_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<int>("variante");
        QTest::addColumn<bool>("apagado");
        QTest::addColumn<int>("varianteEmUso"); // of the name after the delete; -1 none
        QTest::addColumn<QString>("aviso");     // how it ends
        QTest::newRow("variante em uso de nome usado passa o uso")
            << "Concreto fck 25" << 0 << true << 1 << "variante de número 01";
        QTest::newRow("variante inativa") << "Concreto fck 25" << 2 << true << 0 << "";
        QTest::newRow("única linha de nome livre") << "Concreto Magro" << 0 << true << -1 << "";
        QTest::newRow("única linha de nome usado é recusada")
            << "Contrapiso" << 0 << false << 0 << "Portanto, não pode ser excluído.";
    }
    void exclui()
    {
        QFETCH(QString, nome);
        QFETCH(int, variante);
        QFETCH(bool, apagado);
        QFETCH(int, varianteEmUso);
        QFETCH(QString, aviso);
        PastaDeTeste pasta;
        Database db(QStringLiteral("exclui"));
        db.open(pasta.local());
        vendeContrapiso(db);
        const int linhas = linhasDoNome(db, nome);
        QList<catalogue::Aviso> avisos;
        QCOMPARE(Catalogo(db).exclui(lido(db, nome, variante), avisos), apagado);
        QCOMPARE(linhasDoNome(db, nome), apagado ? linhas - 1 : linhas);
        QCOMPARE(marcada(db, nome), varianteEmUso);
        QCOMPARE(avisos.size(), aviso.isEmpty() ? 0 : 1);
        if (!aviso.isEmpty())
            QVERIFY2(avisos.first().texto.endsWith(aviso), qPrintable(avisos.first().texto));
    }

    // A write the database refuses is refused whole: no row added, the name keeps its mix in use.
    void insercaoRecusada_data()
    {
        QTest::addColumn<QString>("motivo");
        QTest::addColumn<int>("erro");
        QTest::newRow("linha que a tabela recusa") << "gatilho" << int(platform::ValorDuplicado);
        QTest::newRow("banco preso por outra estação") << "trava" << int(platform::RegistroBloqueado);
    }
    void insercaoRecusada()
    {
        QFETCH(QString, motivo);
        QFETCH(int, erro);
        DuasEstacoes estacoes;
        Database& a = estacoes.a;
        Database& b = estacoes.b;
        teste::esperaCurta(a, 50);
        if (motivo == QLatin1String("gatilho"))
            teste::recusaInsercoes(b, QStringLiteral("NEW.Plantao"), QStringLiteral("disco cheio"));
        else
            b.beginTransaction();
        const QString nome = QStringLiteral("Concreto fck 20");
        int numero = 0;
        try {
            Catalogo(a).insere({nome, true, {}});
        } catch (const platform::DbError& e) {
            numero = e.numero();
        }
        QCOMPARE(numero, erro);
        QCOMPARE(a.transactionDepth(), 0);
        if (b.transactionDepth() > 0)
            b.rollbackTransaction();
        QCOMPARE(linhasDoNome(a, nome), 2);
        QCOMPARE(marcada(a, nome), 0);
    }

    // The Tracos row of a computed mix: what the calculation gives, and the code of each product it names with a
    // quantity.
    void camposDoTraco_data()
    {
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QVariant>("valor"); // invalid: the field is left to the write
        QTest::newRow("quantidade do lote") << "TracoCimento" << QVariant(50.0);
        QTest::newRow("cimento da lista") << "TracoCimentoCod" << QVariant(qint64(1));
        QTest::newRow("graúdo da lista") << "TracoGraudoCod1" << QVariant(qint64(3));
        QTest::newRow("produto que a tabela não tem") << "TracoGraudoCod2" << QVariant(qint64(0));
        QTest::newRow("aditivo com quantidade") << "TracoAditivoCod1" << QVariant(qint64(7));
        QTest::newRow("aditivo sem quantidade") << "TracoAditivoCod2" << QVariant(qint64(0));
        for (const char* daGravacao : {"Codigo", "CodigoTraco", "NomeTraco", "TracoVariante", "Plantao"})
            QTest::newRow(daGravacao) << daGravacao << QVariant();
    }
    void camposDoTraco()
    {
        QFETCH(QString, campo);
        QFETCH(QVariant, valor);
        calc::CalcState estado = calctest::exampleBatch();
        estado.nomes[4] = QStringLiteral("Pedra 9");
        estado.Mg2 = 30.0;
        estado.nomes[5] = QStringLiteral("Aditivo SP");
        estado.A1 = 0.5;
        estado.nomes[6] = QStringLiteral("Aditivo SP");
        const calctest::MemoryProductTable produtos = calctest::exampleProducts();
        calc::ReCalculo(estado, &produtos);
        const QVariantMap campos = catalogue::CamposDoTraco(estado, produtos);
        QCOMPARE(campos.contains(campo), valor.isValid());
        if (valor.isValid())
            QCOMPARE(campos.value(campo).toString(), valor.toString());
    }

    // The record of mixes a window walks through, on the demonstration catalogue (12 mixes, 7 names).
    void navegacao_data()
    {
        using M = Catalogo::Movimento;
        QTest::addColumn<QList<M>>("movimentos");
        QTest::addColumn<int>("posicao");
        QTest::addColumn<QString>("nome");
        QTest::newRow("primeiro") << QList<M>{M::Proximo, M::Primeiro} << 1 << "Concreto Aparente fck 30";
        QTest::newRow("meio") << QList<M>{M::Proximo, M::Proximo} << 3 << "Concreto fck 15";
        QTest::newRow("último") << QList<M>{M::Ultimo} << 12 << "Traço d'Obra";
        QTest::newRow("anterior no início fica") << QList<M>{M::Anterior} << 1 << "Concreto Aparente fck 30";
        QTest::newRow("próximo no fim fica") << QList<M>{M::Ultimo, M::Proximo} << 12 << "Traço d'Obra";
        QTest::newRow("em uso seguinte salta variantes")
            << QList<M>{M::ProximoEmUso, M::ProximoEmUso} << 4 << "Concreto fck 15";
        QTest::newRow("em uso seguinte até o fim")
            << (QList<M>(9, M::Proximo) << M::ProximoEmUso) << 11 << "Contrapiso";
        QTest::newRow("em uso seguinte no último nome vai ao fim")
            << QList<M>{M::Ultimo, M::Anterior, M::ProximoEmUso} << 12 << "Traço d'Obra";
        QTest::newRow("em uso anterior") << QList<M>{M::Ultimo, M::AnteriorEmUso} << 11 << "Contrapiso";
        QTest::newRow("em uso anterior salta variantes")
            << QList<M>{M::Ultimo, M::AnteriorEmUso, M::AnteriorEmUso, M::AnteriorEmUso} << 7 << "Concreto fck 25";
        QTest::newRow("em uso anterior no primeiro nome vai ao início")
            << QList<M>{M::Proximo, M::AnteriorEmUso, M::AnteriorEmUso} << 1 << "Concreto Aparente fck 30";
    }
    void navegacao()
    {
        QFETCH(QList<Catalogo::Movimento>, movimentos);
        QFETCH(int, posicao);
        QFETCH(QString, nome);
        PastaDeTeste pasta;
        Database db(QStringLiteral("navegacao"));
        db.open(pasta.local());
        Catalogo catalogo(db);
        catalogo.abre();
        QCOMPARE(catalogo.total(), 12);
        catalogo.definePosicao(1);
        for (const Catalogo::Movimento m : movimentos)
            catalogo.move(m);
        QCOMPARE(catalogo.posicao(), posicao);
        QCOMPARE(catalogo.tracos().absolutePosition() + 1, posicao);
        QCOMPARE(catalogo.tracos().field(QStringLiteral("NomeTraco")).toString(), nome);
    }

    // The large catalogues of the benchmarks hold what the catalogue's rules would have written.
    void catalogoGerado_data()
    {
        QTest::addColumn<int>("tracos");
        QTest::addColumn<quint32>("semente");
        QTest::newRow("300 traços") << 300 << 1u;
        QTest::newRow("outra semente") << 1000 << 7u;
        QTest::newRow("um só traço") << 1 << 3u;
    }
    void catalogoGerado()
    {
        QFETCH(int, tracos);
        QFETCH(quint32, semente);
        QTemporaryDir pasta;
        const GeradorCatalogo::Resultado gerado =
            GeradorCatalogo::cria(pasta.filePath(QStringLiteral("a/")), tracos, semente);
        QVERIFY2(gerado.ok, qPrintable(gerado.mensagem));
        Database db(QStringLiteral("gerado"));
        db.open(pasta.filePath(QStringLiteral("a/Dados/empresa.mdb")));
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Tracos")).toInt(), tracos);
        // Per name: variants numbered from 00 without a gap, one in use, one code, that of its first row written.
        QSqlQuery q = db.exec(QStringLiteral("SELECT COUNT(*), COUNT(DISTINCT TracoVariante), MAX(TracoVariante), "
                                             "%1, COUNT(DISTINCT CodigoTraco), MIN(CodigoTraco) = MIN(Codigo) "
                                             "FROM Tracos GROUP BY NomeTraco")
                                  .arg(teste::quantasVerdadeiras(QStringLiteral("Plantao"))));
        int nomes = 0;
        while (q.next()) {
            ++nomes;
            QCOMPARE(q.value(1).toInt(), q.value(0).toInt());
            QCOMPARE(q.value(2).toInt(), q.value(0).toInt() - 1);
            QCOMPARE(q.value(3).toInt(), 1);
            QCOMPARE(q.value(4).toInt(), 1);
            QVERIFY(q.value(5).toBool());
        }
        QCOMPARE(nomes, gerado.nomes);
        if (tracos >= 300)
            QVERIFY2(tracos >= 1.8 * nomes && tracos <= 2.6 * nomes, qPrintable(QString::number(nomes)));
        // The products sold are still made of stored mixes.
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Produtos WHERE CodigoTraco IS NOT NULL AND "
                                          "CodigoTraco NOT IN (SELECT CodigoTraco FROM Tracos)"))
                     .toInt(),
                 0);
        Catalogo catalogo(db);
        catalogo.abre();
        QCOMPARE(catalogo.total(), tracos);
        // The moves between mixes in use pass each name's mix in use once, in the catalogue's order, both ways.
        QSqlQuery emUso = db.exec(QStringLiteral("SELECT Codigo FROM Tracos WHERE Plantao ORDER BY %1, TracoVariante")
                                      .arg(db.ordemDeTexto(QStringLiteral("NomeTraco"))));
        QList<qint64> esperado;
        while (emUso.next())
            esperado.append(emUso.value(0).toLongLong());
        for (const auto sentido : {Catalogo::Movimento::ProximoEmUso, Catalogo::Movimento::AnteriorEmUso}) {
            const bool adiante = sentido == Catalogo::Movimento::ProximoEmUso;
            catalogo.move(adiante ? Catalogo::Movimento::Primeiro : Catalogo::Movimento::Ultimo);
            QList<qint64> visitados;
            for (qint64 antes = -1; catalogo.tracos().bookmark().toLongLong() != antes; catalogo.move(sentido)) {
                antes = catalogo.tracos().bookmark().toLongLong();
                if (catalogo.tracos().field(QStringLiteral("Plantao")).toBool())
                    visitados.append(antes);
                QCOMPARE(catalogo.posicao(), catalogo.tracos().absolutePosition() + 1);
            }
            if (!adiante)
                std::reverse(visitados.begin(), visitados.end());
            QCOMPARE(visitados, esperado);
        }
        // Written out of the catalogue's order, and the same again from the same seed.
        const QString linhas = QStringLiteral("SELECT group_concat(Codigo || NomeTraco || TracoVariante || Plantao, "
                                              "'|') FROM (SELECT * FROM Tracos ORDER BY %1)");
        if (tracos >= 300)
            QVERIFY(db.scalar(linhas.arg(QStringLiteral("Codigo"))) !=
                    db.scalar(
                        linhas.arg(db.ordemDeTexto(QStringLiteral("NomeTraco")) + QStringLiteral(", TracoVariante"))));
        QVERIFY(GeradorCatalogo::cria(pasta.filePath(QStringLiteral("b/")), tracos, semente).ok);
        Database outra(QStringLiteral("gerado-de-novo"));
        outra.open(pasta.filePath(QStringLiteral("b/Dados/empresa.mdb")));
        QCOMPARE(outra.scalar(linhas.arg(QStringLiteral("Codigo"))), db.scalar(linhas.arg(QStringLiteral("Codigo"))));
    }

    // Reading the catalogue again goes back to the mix asked for, or, when it is gone, to the same place.
    void ordena_data()
    {
        QTest::addColumn<int>("onde");
        QTest::addColumn<bool>("apagaOutro");
        QTest::addColumn<bool>("apagaOMostrado");
        QTest::addColumn<int>("posicao");
        QTest::addColumn<QString>("nome");
        QTest::newRow("o mesmo traço") << 5 << false << false << 5 << "Concreto fck 20";
        QTest::newRow("outro apagado antes dele") << 5 << true << false << 4 << "Concreto fck 20";
        QTest::newRow("apagado: o mesmo lugar") << 5 << false << true << 5 << "Concreto fck 20";
        QTest::newRow("o último apagado") << 12 << false << true << 11 << "Contrapiso";
    }
    void ordena()
    {
        QFETCH(int, onde);
        QFETCH(bool, apagaOutro);
        QFETCH(bool, apagaOMostrado);
        QFETCH(int, posicao);
        QFETCH(QString, nome);
        DuasEstacoes estacoes;
        Database& a = estacoes.a;
        Database& b = estacoes.b;
        Catalogo catalogo(a);
        catalogo.abre();
        catalogo.tracos().setAbsolutePosition(onde - 1);
        catalogo.definePosicao(onde);
        const qint64 codigo = catalogo.tracos().field(QStringLiteral("Codigo")).toLongLong();
        if (apagaOutro)
            b.exec(QStringLiteral("DELETE FROM Tracos WHERE Codigo = (SELECT Codigo FROM Tracos WHERE NomeTraco < ? "
                                  "ORDER BY Codigo LIMIT 1)"),
                   {QStringLiteral("Concreto fck 20")});
        if (apagaOMostrado)
            b.exec(QStringLiteral("DELETE FROM Tracos WHERE Codigo = ?"), {codigo});
        catalogo.ordena(codigo);
        QCOMPARE(catalogo.total(), apagaOutro || apagaOMostrado ? 11 : 12);
        QCOMPARE(catalogo.posicao(), posicao);
        QCOMPARE(catalogo.tracos().field(QStringLiteral("NomeTraco")).toString(), nome);
    }

    // The catalogue lists names in the order a Brazilian reader sorts them, the same on either engine: the order of
    // comparaTextos, then the variant.
    void ordemPortuguesa_data()
    {
        QTest::addColumn<QStringList>("nomes");
        QTest::newRow("acentos e caixa") << QStringList{"agua", "AGUA", "Água", "Aguas", "água", "Agua"};
        QTest::newRow("cedilha e til") << QStringList{"Tração", "traco", "Traço", "Tracos", "TRAÇO", "Traçado"};
        QTest::newRow("números") << QStringList{"Concreto 9", "Concreto 10", "Concreto 1", "Concreto 10",
                                                "Concreto 09"};
        QTest::newRow("apóstrofos e brancos")
            << QStringList{"Traço d'água", "Traço dágua", "  Traço", "Traço", " traço", "Traço d'Água", "Traço-d"};
        QTest::newRow("tudo junto") << QStringList{"Ébano", "ebano", "Zinco", "zinco", "Ácido", "acido", "Ação", "Acao",
                                                   "açaí",  "ACAI",  "Ônix",  "onix",  "Ü",     "u",     "ß",    "ss"};
    }
    void ordemPortuguesa()
    {
        QFETCH(QStringList, nomes);
        PastaDeTeste pasta(false);
        QVERIFY(pasta.valida());
        Database db(QStringLiteral("ordem-portuguesa"));
        db.open(pasta.local());
        // Names folding to the same one (case, blanks around) share the unique index unless their variants differ;
        // the variants run backwards so that a repeated name is ordered by them, not by the insertion.
        QList<std::pair<QString, int>> linhas;
        for (qsizetype i = 0; i < nomes.size(); ++i) {
            const int variante = int(nomes.size() - i);
            db.exec(QStringLiteral("INSERT INTO Tracos (CodigoTraco, NomeTraco, TracoVariante, Plantao) "
                                   "VALUES (?, ?, ?, ?)"),
                    {0, nomes.at(i), variante, false});
            linhas.append({nomes.at(i), variante});
        }
        std::sort(linhas.begin(), linhas.end(), [](const auto& a, const auto& b) {
            const int ordem = platform::comparaTextos(a.first, b.first);
            return ordem != 0 ? ordem < 0 : a.second < b.second;
        });
        QStringList esperado;
        for (const auto& [nome, variante] : std::as_const(linhas))
            esperado.append(QStringLiteral("%1 (%2)").arg(nome).arg(variante));
        const catalogue::Consulta c = catalogue::Consultas::catalogo(db);
        QSqlQuery q = db.exec(c.sql, c.valores);
        QStringList lidos;
        while (q.next())
            lidos.append(QStringLiteral("%1 (%2)")
                             .arg(q.value(QStringLiteral("NomeTraco")).toString())
                             .arg(q.value(QStringLiteral("TracoVariante")).toInt()));
        QCOMPARE(lidos, esperado);
    }

    // This workstation's writes keep the record and the names it holds in step with what is stored, without reading
    // the catalogue again; another workstation's writes make them be read again. After every write and its reading,
    // the record and the names are those a fresh opening gives, and each name still has one spelling.
    void emPassoComOGravado_data()
    {
        QTest::addColumn<int>("semente");
        for (const int semente : {1, 2, 3, 4})
            QTest::addRow("semente %d", semente) << semente;
    }
    void emPassoComOGravado()
    {
        QFETCH(int, semente);
        const QStringList nomes{QStringLiteral("Água Fria"),
                                QStringLiteral("ÁGUA FRIA"),
                                QStringLiteral("agua fria"),
                                QStringLiteral("Ônix"),
                                QStringLiteral("Zeta"),
                                QStringLiteral("zeta 2"),
                                QStringLiteral("concreto FCK 20"),
                                QStringLiteral("Concreto fck 25 "),
                                QStringLiteral("Êxito"),
                                QStringLiteral("Laje")};
        DuasEstacoes estacoes;
        Database& a = estacoes.a;
        Catalogo aqui(a);
        aqui.abre();
        Catalogo outra(estacoes.b);
        QRandomGenerator sorte{quint32(semente)};
        bool outraEscreveu = false;
        for (int passo = 0; passo < 40; ++passo) {
            const QString nome = nomes.at(int(sorte.bounded(nomes.size())));
            aqui.tracos().setAbsolutePosition(int(sorte.bounded(aqui.total())));
            const qint64 codigo = aqui.tracos().field(QStringLiteral("Codigo")).toLongLong();
            const TracoLido lido{
                codigo, a.scalar(QStringLiteral("SELECT Versao FROM Tracos WHERE Codigo = ?"), {codigo}).toLongLong(),
                aqui.tracos().field(QStringLiteral("NomeTraco")).toString()};
            QList<catalogue::Aviso> avisos;
            switch (sorte.bounded(5)) {
            case 0:
                outra.insere({nome, sorte.bounded(2) == 0, {}});
                outraEscreveu = true;
                continue;
            case 1:
                aqui.leNomes();
                outraEscreveu = false;
                continue;
            case 2:
                try {
                    aqui.altera(lido, {nome, false, {}});
                } catch (const catalogue::NomeJaExiste&) {
                    // A rename to another mix's name is refused; nothing was written.
                }
                aqui.ordena(codigo);
                break;
            case 3:
                aqui.exclui(lido, avisos);
                aqui.ordena(std::nullopt);
                break;
            default:
                aqui.ordena(aqui.insere({nome, sorte.bounded(2) == 0, {}}).codigo);
                break;
            }
            Catalogo novo(a);
            novo.abre();
            QCOMPARE(chaves(aqui), chaves(novo));
            QCOMPARE(aqui.tracos().absolutePosition() + 1, aqui.posicao());
            if (!outraEscreveu)
                QCOMPARE(aqui.nomes(), novo.nomes());
            QCOMPARE(a.scalar(QStringLiteral("SELECT COUNT(*) FROM (SELECT %1 FROM Tracos GROUP BY 1 "
                                             "HAVING COUNT(DISTINCT %2) > 1) AS dobras")
                                  .arg(a.dobraDeNome(QStringLiteral("NomeTraco")),
                                       teste::exata(QStringLiteral("NomeTraco"))))
                         .toInt(),
                     0);
        }
    }

    // What another workstation did between the moment the mix was read and the save or delete.
    void escritaDeOutraEstacao_data()
    {
        QTest::addColumn<QString>("outra");
        QTest::addColumn<QString>("operacao");
        QTest::addColumn<QString>("novoNome");
        QTest::addColumn<int>("erro");
        QTest::newRow("nada; altera") << "nada"
                                      << "altera"
                                      << "" << 0;
        QTest::newRow("nada; renomeia em outra caixa") << "nada"
                                                       << "altera"
                                                       << "CONCRETO FCK 20" << 0;
        QTest::newRow("alterou; altera") << "altera"
                                         << "altera"
                                         << "" << 3197;
        QTest::newRow("alterou; exclui") << "altera"
                                         << "exclui"
                                         << "" << 3197;
        QTest::newRow("excluiu; altera") << "exclui"
                                         << "altera"
                                         << "" << 3167;
        QTest::newRow("excluiu; exclui") << "exclui"
                                         << "exclui"
                                         << "" << 3167;
        QTest::newRow("passou o plantão; altera") << "plantao"
                                                  << "altera"
                                                  << "" << 3197;
        QTest::newRow("renomeou; altera") << "renomeia"
                                          << "altera"
                                          << "" << 3197;
        QTest::newRow("nada; renomeia para nome existente") << "nada"
                                                            << "altera"
                                                            << "Contrapiso" << 3022;
    }
    void escritaDeOutraEstacao()
    {
        QFETCH(QString, outra);
        QFETCH(QString, operacao);
        QFETCH(QString, novoNome);
        QFETCH(int, erro);
        DuasEstacoes estacoes;
        Database& a = estacoes.a;
        Database& b = estacoes.b;
        const QString nome = QStringLiteral("Concreto fck 20");
        const TracoLido daA = lido(a, nome, 1);
        const TracoLido daB = lido(b, nome, 1);
        QVERIFY(daA.codigo > 0);
        Catalogo outraEstacao(b);
        QList<catalogue::Aviso> avisos;
        if (outra == QLatin1String("altera"))
            outraEstacao.altera(daB, {nome, false, {{QStringLiteral("Fator"), QStringLiteral("de B")}}});
        else if (outra == QLatin1String("exclui"))
            QVERIFY(outraEstacao.exclui(daB, avisos));
        else if (outra == QLatin1String("plantao"))
            outraEstacao.altera(lido(b, nome, 0), {nome, false, {}}); // the mark passes to variant 01
        else if (outra == QLatin1String("renomeia"))
            outraEstacao.altera(lido(b, nome, 0), {QStringLiteral("Concreto Vinte"), true, {}});
        const QString antes = fator(a, daA.codigo);
        const qint64 linhasAntes = a.scalar(QStringLiteral("SELECT COUNT(*) FROM Tracos")).toLongLong();

        int numero = 0;
        try {
            if (operacao == QLatin1String("altera"))
                Catalogo(a).altera(
                    daA,
                    {novoNome.isEmpty() ? nome : novoNome, false, {{QStringLiteral("Fator"), QStringLiteral("de A")}}});
            else
                QVERIFY(Catalogo(a).exclui(daA, avisos));
        } catch (const platform::DbError& e) {
            numero = e.numero();
        }
        QCOMPARE(numero, erro);
        QCOMPARE(a.transactionDepth(), 0);
        if (erro != 0) {
            // Refused whole: the other workstation's write stands, nothing of this one is there.
            QCOMPARE(fator(a, daA.codigo), antes);
            QCOMPARE(a.scalar(QStringLiteral("SELECT COUNT(*) FROM Tracos")).toLongLong(), linhasAntes);
        } else if (operacao == QLatin1String("altera")) {
            QCOMPARE(fator(a, daA.codigo), QStringLiteral("de A"));
            QVERIFY(a.scalar(QStringLiteral("SELECT Versao FROM Tracos WHERE Codigo = ?"), {daA.codigo}).toLongLong() >
                    *daA.versao);
            const QString esperado = novoNome.isEmpty() ? nome : novoNome;
            QCOMPARE(a.scalar(QStringLiteral("SELECT COUNT(*) FROM Tracos WHERE %1 = ?")
                                  .arg(teste::exata(QStringLiteral("NomeTraco"))),
                              {esperado})
                         .toInt(),
                     2);
        }
    }

    // Several workstations save overlapping names and variants at once, each through the catalogue's own rules.
    void estacoesSimultaneas()
    {
        constexpr int Estacoes = 4;
        constexpr int Gravacoes = 200;
        PastaDeTeste pasta;
        QVERIFY(pasta.valida());
        Database db(QStringLiteral("conferencia"));
        db.open(pasta.local());
        const qint64 inicio = db.scalar(QStringLiteral("SELECT COUNT(*) FROM Tracos")).toLongLong();
        db.close();

        const QString programa = QCoreApplication::applicationDirPath() + QStringLiteral("/estacao_catalogo");
        std::array<QProcess, Estacoes> estacoes;
        for (int i = 0; i < Estacoes; ++i)
            estacoes[std::size_t(i)].start(programa, {pasta.dados(), QString::number(Gravacoes),
                                                      QString::number(1000 + i), QStringLiteral("E%1-").arg(i)});
        QStringList linhas;
        for (QProcess& p : estacoes) {
            QVERIFY(p.waitForFinished(60000));
            QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
            linhas += QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        }
        QCOMPARE(linhas.size(), Estacoes * Gravacoes);

        // No lost update: no two edits were accepted from the same reading of a mix.
        QSet<QString> leituras;
        QHash<QString, int> contagem;
        qint64 inseridos = 0;
        qint64 excluidos = 0;
        for (const QString& linha : std::as_const(linhas)) {
            const QStringList partes = linha.split(QLatin1Char(' '));
            contagem[partes.at(0) + QLatin1Char(' ') + partes.at(1)]++;
            if (partes.at(0) == QLatin1String("feito") && partes.at(1) != QLatin1String("insere")) {
                const QString leitura = partes.at(2) + QLatin1Char('@') + partes.at(3);
                QVERIFY2(!leituras.contains(leitura), qPrintable(linha));
                leituras.insert(leitura);
            }
            inseridos += linha.startsWith(QLatin1String("feito insere"));
            excluidos += linha.startsWith(QLatin1String("feito exclui"));
        }
        qInfo() << "gravações por resultado:" << contagem;

        db.open(pasta.local());
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Tracos")).toLongLong(), inicio + inseridos - excluidos);
        // One spelling and unique variants per name, at most one mix in use per name.
        QHash<QString, QSet<QString>> grafias;
        QHash<QString, QSet<int>> variantes;
        QHash<QString, int> emUso;
        QSqlQuery q = db.exec(QStringLiteral("SELECT NomeTraco, TracoVariante, Plantao FROM Tracos"));
        while (q.next()) {
            const QString nome = q.value(0).toString();
            const QString dobra = platform::nomeDobrado(nome);
            grafias[dobra].insert(nome);
            QVERIFY2(!variantes[dobra].contains(q.value(1).toInt()), qPrintable(nome));
            variantes[dobra].insert(q.value(1).toInt());
            emUso[dobra] += q.value(2).toBool();
        }
        for (auto it = grafias.cbegin(); it != grafias.cend(); ++it) {
            QCOMPARE(it->size(), 1);
            QVERIFY2(emUso.value(it.key()) <= 1, qPrintable(it.key()));
        }
    }
};

QUENVAR_TEST(TestCatalogo)
#include "tst_catalogo.moc"
