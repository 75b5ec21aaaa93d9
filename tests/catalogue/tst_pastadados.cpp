#include "testregistry.h"

#include "dbtestutil.h"

#include "calc/calcstate.h"
#include "calc/carregatraco.h"
#include "calc/recalculo.h"
#include "catalogue/consultas.h"
#include "catalogue/pastadados.h"
#include "catalogue/schema.h"
#include "catalogue/tabelaprodutos.h"
#include "fixtures.h"
#include "platform/database.h"

#include <QFile>
#include <QSqlError>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

using catalogue::Schema;
using platform::Database;

namespace {

QByteArray conteudo(const QString& arquivo)
{
    QFile f(arquivo);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QVariantMap linha(const QSqlQuery& q)
{
    QVariantMap mapa;
    const QSqlRecord r = q.record();
    for (int i = 0; i < r.count(); ++i)
        mapa.insert(r.fieldName(i), r.value(i));
    return mapa;
}

// The database of a data folder made for one test, open.
class BancoDeTeste : public Database
{
public:
    explicit BancoDeTeste(bool demo = true) : Database(QStringLiteral("teste-pastadados")), m_pasta(demo)
    {
        open(m_pasta.local());
    }
    ~BancoDeTeste() { close(); }

private:
    PastaDeTeste m_pasta;
};

} // namespace

class TestPastaDados : public QObject
{
    Q_OBJECT

private slots:
    void pastaNovaTemOEsquemaEAsReferencias()
    {
        BancoDeTeste db(false);
        QCOMPARE(Schema::versao(db), Schema::versaoAtual());
        for (const catalogue::Tabela* tabela : Schema::tabelas()) {
            QStringList colunas;
            const QSqlRecord campos = db.handle().record(Database::citado(tabela->nome));
            for (int i = 0; i < campos.count(); ++i)
                colunas.append(campos.fieldName(i));
            QCOMPARE(colunas, tabela->nomes());
        }
        QSqlQuery massas = db.exec(QStringLiteral("SELECT * FROM Massas"));
        QVERIFY(massas.next());
        const QVariantMap m = linha(massas);
        QCOMPARE(m.value("MassaCimentoEsp").toString(), QStringLiteral("3.10"));
        QCOMPARE(m.value("MassaGraudoApa").toString(), QStringLiteral("1.38"));
        QCOMPARE(m.value("UmidadeMiudo").toString(), QStringLiteral("6"));
        QCOMPARE(m.value("Classe").toString(), QStringLiteral("32"));
        QCOMPARE(m.value("TipoDosagem").toInt(), 2);
        QCOMPARE(m.value("FormaDaBrita").toInt(), 1);
        QCOMPARE(m.value("UsoConcreto").toInt(), 0);
        QVERIFY(!massas.next());
        QCOMPARE(db.scalar(QStringLiteral("SELECT Abate1 || '/' || Abate2 || '/' || Abate3 || '/' || Abate4 "
                                          "FROM Consistencias"))
                     .toString(),
                 QStringLiteral("150/90/50/20"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT Morto FROM DadosEmpresa")).toInt(), 0);
        QVERIFY(!db.scalar(QStringLiteral("SELECT Nome FROM DadosEmpresa")).toString().isEmpty());
        // Without the demo option the catalogue and the price table are empty.
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Tracos")).toInt(), 0);
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Produtos")).toInt(), 0);
    }

    void pastaExistenteNaoEAlterada()
    {
        PastaDeTeste pasta;
        QVERIFY(pasta.valida());
        const QByteArray antes = conteudo(pasta.banco());
        const catalogue::PastaDados::Resultado resultado = catalogue::PastaDados::cria(pasta.dados(), true);
        QVERIFY(!resultado.ok);
        QVERIFY(resultado.mensagem.contains(teste::noServidor() ? QStringLiteral("já usa um servidor")
                                                                : QStringLiteral("Já existe")));
        QCOMPARE(conteudo(pasta.banco()), antes);
    }

    void pastaImpossivelNaoDeixaRestos_data()
    {
        QTest::addColumn<QString>("relativo");
        QTest::newRow("abaixo de um arquivo") << "arquivo/dados/";
        QTest::newRow("vazia") << "";
    }
    void pastaImpossivelNaoDeixaRestos()
    {
        QFETCH(QString, relativo);
        QTemporaryDir dir;
        QFile arquivo(dir.filePath(QStringLiteral("arquivo")));
        QVERIFY(arquivo.open(QIODevice::WriteOnly));
        arquivo.close();
        const QString pasta = relativo.isEmpty() ? QString() : dir.filePath(relativo);
        const catalogue::PastaDados::Resultado resultado = catalogue::PastaDados::cria(pasta, false);
        QVERIFY(!resultado.ok);
        QVERIFY(!resultado.mensagem.isEmpty());
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"arquivo"});
    }

    void atualizacaoDeVersaoAntiga()
    {
        QTemporaryDir dir;
        const QString banco = dir.filePath(QStringLiteral("empresa.mdb"));
        Database db(QStringLiteral("teste-versao"));
        db.create(banco);
        QCOMPARE(Schema::versao(db), 0);
        Schema::atualiza(db);
        QCOMPARE(Schema::versao(db), Schema::versaoAtual());
        // A second pass finds nothing to do and loses nothing.
        db.exec(QStringLiteral("INSERT INTO Tracos (NomeTraco, TracoVariante) VALUES ('A', 0)"));
        Schema::atualiza(db);
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Tracos")).toInt(), 1);
    }

    // A catalogue written before the mixes counted their writes keeps every row, and each write counts from then on.
    void catalogoAntigoPassaAContarAsGravacoes()
    {
        BancoDeTeste db;
        if (teste::noServidor()) {
            db.exec(QStringLiteral("DROP TRIGGER \"TracosVersao\" ON Tracos"));
            db.exec(QStringLiteral("DROP FUNCTION \"TracosVersao\""));
        } else {
            db.exec(QStringLiteral("DROP TRIGGER \"TracosVersao\""));
        }
        for (const catalogue::Tabela* tabela : Schema::tabelas()) {
            if (tabela->desde > 1) {
                db.exec(QStringLiteral("DROP TABLE ") + tabela->nome);
                continue;
            }
            for (const catalogue::Campo& campo : tabela->campos) {
                if (campo.desde > 1)
                    db.exec(QStringLiteral("ALTER TABLE %1 DROP COLUMN %2").arg(tabela->nome, campo.nome));
            }
        }
        db.gravaVersaoDoEsquema(1);
        QCOMPARE(Schema::versao(db), 1);
        const auto linhas = [&db] {
            QStringList lista;
            QSqlQuery q = db.exec(QStringLiteral("SELECT Codigo, Fator FROM Tracos ORDER BY Codigo"));
            while (q.next())
                lista.append(q.value(0).toString() + q.value(1).toString());
            return lista;
        };
        const QStringList antes = linhas();
        Schema::atualiza(db);
        QCOMPARE(Schema::versao(db), Schema::versaoAtual());
        QCOMPARE(linhas(), antes);
        QCOMPARE(db.scalar(QStringLiteral("SELECT SUM(Versao) FROM Tracos")).toInt(), 0);
        db.exec(QStringLiteral("UPDATE Tracos SET Plantao = NOT Plantao WHERE Codigo = 1"));
        db.exec(QStringLiteral("UPDATE Tracos SET Fator = Fator WHERE Codigo = 1"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT Versao FROM Tracos WHERE Codigo = 1")).toInt(), 2);
        // The CO2 factors start empty, and a mix is priced with them at once.
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM FatoresEmissao")).toInt(), 0);
        db.exec(QStringLiteral("INSERT INTO FatoresEmissao (CodigoProduto, FatorCO2) VALUES (?, ?)"), {2, 0.5});
        QCOMPARE(catalogue::TabelaProdutos(db).findByCode(2)->co2Factor, std::optional<double>(0.5));
    }

    // A server that drops the connection fails the statement it was running; the next one connects again.
    void servidorQueCaiVoltaNaProximaLeitura()
    {
        if (!teste::noServidor())
            QSKIP("a conexão que cai é a de um servidor");
        BancoDeTeste db;
        const qint64 processo = db.scalar(QStringLiteral("SELECT pg_backend_pid()")).toLongLong();
        Database outra(QStringLiteral("teste-queda"));
        outra.open(db.caminho().isEmpty() ? platform::LocalDoBanco() : platform::LocalDoBanco::servidor(db.caminho()));
        outra.exec(QStringLiteral("SELECT pg_terminate_backend(?)"), {processo});
        for (int i = 0;
             i < 100 &&
             outra.scalar(QStringLiteral("SELECT 1 FROM pg_stat_activity WHERE pid = ?"), {processo}).isValid();
             ++i)
            QTest::qWait(20);
        QCOMPARE(teste::erroDe([&] { db.scalar(QStringLiteral("SELECT COUNT(*) FROM Tracos")); }),
                 int(platform::ErroDiscoOuRede));
        QVERIFY(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Tracos")).toInt() > 0);
    }

    void nomeEVarianteSaoUnicosSemDistinguirCaixa()
    {
        BancoDeTeste db(false);
        db.exec(QStringLiteral("INSERT INTO Tracos (NomeTraco, TracoVariante) VALUES ('Laje', 0)"));
        QCOMPARE(teste::erroDe([&] {
                     db.exec(QStringLiteral("INSERT INTO Tracos (NomeTraco, TracoVariante) VALUES ('LAJE', 0)"));
                 }),
                 int(platform::ValorDuplicado));
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Tracos")).toInt(), 1);
    }

    void demonstracaoCoerente()
    {
        BancoDeTeste db;
        QVERIFY(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Tracos")).toInt() >= 10);
        QVERIFY(db.scalar(QStringLiteral("SELECT COUNT(DISTINCT NomeTraco) FROM Tracos")).toInt() >= 5);
        // Several names with variants; never two in use under one name; every name shares one code, its first
        // row's own number; variants numbered from 0 without gaps.
        QSqlQuery nomes =
            db.exec(QStringLiteral("SELECT NomeTraco, COUNT(*), %1, MIN(CodigoTraco), MAX(CodigoTraco), MIN(Codigo), "
                                   "MAX(TracoVariante) FROM Tracos GROUP BY NomeTraco")
                        .arg(teste::quantasVerdadeiras(QStringLiteral("Plantao"))));
        int comVariantes = 0;
        while (nomes.next()) {
            const QString nome = nomes.value(0).toString();
            comVariantes += nomes.value(1).toInt() > 1;
            QVERIFY2(nomes.value(2).toInt() <= 1, qPrintable(nome));
            QCOMPARE(nomes.value(3), nomes.value(4));
            QCOMPARE(nomes.value(3).toLongLong(), nomes.value(5).toLongLong());
            QCOMPARE(nomes.value(6).toInt(), nomes.value(1).toInt() - 1);
        }
        QVERIFY(comVariantes >= 3);
        // Products made from a mix point at a name that keeps a variant in use.
        QSqlQuery usados = db.exec(
            QStringLiteral("SELECT p.NomeProduto, (SELECT %1 FROM Tracos t WHERE t.CodigoTraco = p.CodigoTraco) "
                           "FROM Produtos p WHERE p.CodigoTraco <> 0")
                .arg(teste::quantasVerdadeiras(QStringLiteral("t.Plantao"))));
        int produtosDeTraco = 0;
        while (usados.next()) {
            ++produtosDeTraco;
            QCOMPARE(usados.value(1).toInt(), 1);
        }
        QVERIFY(produtosDeTraco >= 1);
        QVERIFY(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Tracos WHERE Volumetrico = 0")).toInt() > 0);
        QVERIFY(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Tracos WHERE Volumetrico IN (1, 2)")).toInt() > 0);
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Tracos WHERE Volumetrico <> Dosagem")).toInt(), 0);
        // The company gives its own CO2 factors: the demo invents none.
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM FatoresEmissao")).toInt(), 0);
    }

    // Every stored mix of the demo reads back, through the sheet loader and a recalculation, as it was stored.
    void demonstracaoBateComOCalculo()
    {
        BancoDeTeste db;
        const catalogue::TabelaProdutos produtos(db);
        QSqlQuery q = db.exec(QStringLiteral("SELECT * FROM Tracos ORDER BY NomeTraco, TracoVariante"));
        int lidos = 0;
        while (q.next()) {
            const QVariantMap guardado = linha(q);
            const QByteArray nome = guardado.value("NomeTraco").toString().toUtf8();
            calc::CalcState estado;
            calc::CarregaTraco(estado, guardado, &produtos);
            calc::ReCalculo(estado, &produtos);
            const double cimento = estado.emVolume() ? estado.Lcm : estado.Cm;
            QVERIFY2(qAbs(cimento - guardado.value("Cimento").toDouble()) < 1e-6, nome);
            QVERIFY2(qAbs(estado.W - guardado.value("Agua").toDouble()) < 1e-6, nome);
            QVERIFY2(qAbs(estado.Wa - guardado.value("AguaAdic").toDouble()) < 1e-6, nome);
            QCOMPARE(estado.propMassa, guardado.value("PropMassa").toString());
            QCOMPARE(estado.propVolume, guardado.value("PropVolume").toString());
            QCOMPARE(int(estado.fck), guardado.value("Resistencia").toInt());
            QVERIFY2(qAbs(estado.custoComPerda - guardado.value("PrecoCustoComPerda").toDouble()) < 1e-6, nome);
            // A 1 m³ of concrete weighs between 2.2 and 2.5 t, and its cement comes to 200–550 kg.
            QVERIFY2(estado.Cm > 200 && estado.Cm < 550, nome);
            QVERIFY2(estado.fck > 0, nome);
            QVERIFY2(estado.custoComPerda > estado.custoSemPerda, nome);
            ++lidos;
        }
        QVERIFY(lidos >= 10);
    }

    void produtosPorNomeECodigo()
    {
        BancoDeTeste db;
        const catalogue::TabelaProdutos produtos(db);
        const auto cimento = produtos.findByName(QStringLiteral("Cimento 32"));
        QVERIFY(cimento);
        QCOMPARE(cimento->unit, QStringLiteral("saco"));
        QCOMPARE(cimento->weight, 50.0);
        QVERIFY(cimento->price && *cimento->price > 0);
        const auto deNovo = produtos.findByCode(cimento->code);
        QVERIFY(deNovo);
        QCOMPARE(deNovo->name, QStringLiteral("Cimento 32"));
        QVERIFY(!produtos.findByName(QStringLiteral("Cimento 99")));
        QVERIFY(!produtos.findByCode(999999));
        // A product without a price and one whose unit is gone.
        db.exec(QStringLiteral("UPDATE Produtos SET PrecoCustoComPerda = NULL WHERE NomeProduto = 'Pedrisco'"));
        db.exec(QStringLiteral("UPDATE Produtos SET Unidade = 999 WHERE NomeProduto = 'Pedra 1'"));
        QVERIFY(!produtos.findByName(QStringLiteral("Pedrisco"))->price);
        QCOMPARE(produtos.findByName(QStringLiteral("Pedra 1"))->unit, QString());
    }

    void nomesComApostrofo()
    {
        BancoDeTeste db;
        const QString nome = QStringLiteral("Traço d'Obra");
        const auto conta = [&db](const catalogue::Consulta& c) {
            QSqlQuery q = db.exec(c.sql, c.valores);
            int n = 0;
            while (q.next())
                ++n;
            return n;
        };
        QCOMPARE(conta(catalogue::Consultas::linhasDoNome(nome)), 1);
        QCOMPARE(conta(catalogue::Consultas::variantesDoNome(nome)), 1);
        const catalogue::Consulta renomeia =
            catalogue::Consultas::renomeia(QStringLiteral("Traço d'Obra 'Nova'"), nome);
        QCOMPARE(db.execCount(renomeia.sql, renomeia.valores), 1);
        QCOMPARE(conta(catalogue::Consultas::linhasDoNome(nome)), 0);
        QCOMPARE(conta(catalogue::Consultas::linhasDoNome(QStringLiteral("Traço d'Obra 'Nova'"))), 1);
        const catalogue::Consulta limpa = catalogue::Consultas::limpaPlantoes(QStringLiteral("Concreto fck 25"));
        QCOMPARE(db.execCount(limpa.sql, limpa.valores), 1);
        const catalogue::Consulta emUso = catalogue::Consultas::contaEmUso();
        const int restantes = db.scalar(emUso.sql).toInt();
        QCOMPARE(restantes, conta(catalogue::Consultas::emUso(db)));
    }

    void listasDeProdutos()
    {
        BancoDeTeste db;
        const auto nomes = [&db](const catalogue::Consulta& c) {
            QStringList lista;
            QSqlQuery q = db.exec(c.sql, c.valores);
            while (q.next())
                lista.append(q.value(0).toString());
            return lista;
        };
        QCOMPARE(nomes(catalogue::Consultas::listaCimentos()),
                 (QStringList{"Cimento 25", "Cimento 32", "Cimento 40", "Cimento ARI"}));
        QCOMPARE(nomes(catalogue::Consultas::listaGraudos()),
                 (QStringList{"Pedrisco", "Pedra 0", "Pedra 1", "Pedra 2"}));
        QCOMPARE(nomes(catalogue::Consultas::listaAditivos()).size(), 2);
        const QStringList distintos = nomes(catalogue::Consultas::nomesDistintos(db));
        QStringList ordenados = distintos;
        std::sort(ordenados.begin(), ordenados.end(),
                  [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
        QCOMPARE(distintos, ordenados);
        QCOMPARE(distintos.size(), QSet<QString>(distintos.begin(), distintos.end()).size());
    }

    // The catalogue's order lives on the program's connections only: another program of the suite, or the plain
    // sqlite3 shell, reads, checks and writes the file as before.
    void ordemNaoFicaNoArquivo()
    {
        if (teste::noServidor())
            QSKIP("o arquivo SQLite não é usado com servidor");
        PastaDeTeste pasta(false);
        QVERIFY(pasta.valida());
        {
            Database db(QStringLiteral("teste-ordem"));
            db.open(pasta.local());
            db.exec(QStringLiteral("INSERT INTO Tracos(NomeTraco, TracoVariante) VALUES('Água Fria', 0)"));
            const catalogue::Consulta catalogo = catalogue::Consultas::catalogo(db);
            QSqlQuery q = db.exec(catalogo.sql, catalogo.valores);
            QVERIFY(q.next());
        }
        const QString conexao = QStringLiteral("teste-ordem-sem-programa");
        {
            QSqlDatabase simples = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), conexao);
            simples.setDatabaseName(pasta.banco());
            QVERIFY(simples.open());
            QSqlQuery q(simples);
            QVERIFY2(q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next(), qPrintable(q.lastError().text()));
            QCOMPARE(q.value(0).toString(), QStringLiteral("ok"));
            QVERIFY2(
                q.exec(QStringLiteral("UPDATE Tracos SET NomeTraco = 'Água Quente' WHERE NomeTraco = 'Água Fria'")),
                qPrintable(q.lastError().text()));
            QCOMPARE(q.numRowsAffected(), 1);
            simples.close();
        }
        QSqlDatabase::removeDatabase(conexao);
    }
};

QUENVAR_TEST(TestPastaDados)
#include "tst_pastadados.moc"
