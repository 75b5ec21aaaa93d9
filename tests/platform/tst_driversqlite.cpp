#include "testregistry.h"

#include "dbtestutil.h"
#include "paginas.h"
#include "platform/database.h"
#include "platform/driversqlite.h"
#include "platform/recordset.h"
#include "platform/transaction.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using platform::Database;
using platform::Driver;
using platform::DriverSqlite;
using platform::RecordSet;
using teste::erroDe;

namespace {

// The SQLite file reached by a key the driver names, as another engine's driver would name its tables' keys: the
// record set must go through it, not through SQLite's own row numbers.
class DriverComChave : public DriverSqlite
{
public:
    explicit DriverComChave(QString chave) : m_chave(std::move(chave)) {}
    QString chave(const QSqlDatabase&, const QString&) const override { return m_chave; }

private:
    QString m_chave;
};

// "Numero:Nome" of every row of Tracos, by row number.
QString conteudo(Database& db)
{
    QSqlQuery q = db.exec(QStringLiteral("SELECT Numero, NomeTraco FROM Tracos ORDER BY Numero"));
    QStringList linhas;
    while (q.next())
        linhas.append(q.value(0).toString() + QLatin1Char(':') + q.value(1).toString());
    return linhas.join(QLatin1Char(' '));
}

} // namespace

class TestDriverSqlite : public QObject
{
    Q_OBJECT

    QTemporaryDir m_pasta;

    QString novoBanco()
    {
        return m_pasta.filePath(QString::fromUtf8(QTest::currentTestFunction()) + QLatin1Char('-') +
                                QString::fromUtf8(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('_')) +
                                QStringLiteral(".mdb"));
    }

private slots:

    // The key is the integer column the table declares; the row number stands in for it only when none is declared,
    // and a table without row numbers can be read but not changed row by row.
    void chaveDeclaradaPelaTabela_data()
    {
        QTest::addColumn<QString>("ddl");
        QTest::addColumn<QString>("tabela");
        QTest::addColumn<bool>("atualizavel");
        QTest::addColumn<QString>("chave");
        QTest::newRow("chave numerada pelo banco")
            << "CREATE TABLE Tracos(Codigo INTEGER PRIMARY KEY AUTOINCREMENT, NomeTraco TEXT)"
            << "Tracos" << true << "\"Codigo\"";
        QTest::newRow("nomes com acento, espaço e outra caixa")
            << "CREATE TABLE \"Dados Empresa\"(\"Código\" integer primary key, Nome TEXT)"
            << "dados empresa" << true << "\"Código\"";
        QTest::newRow("sem chave declarada") << "CREATE TABLE Unidades(CodigoUnidade INTEGER, NomeUnidade TEXT)"
                                             << "Unidades" << true << "_rowid_";
        QTest::newRow("chave de texto") << "CREATE TABLE Classes(Nome TEXT PRIMARY KEY, Abate INTEGER)"
                                        << "Classes" << true << "_rowid_";
        QTest::newRow("chave composta") << "CREATE TABLE Pares(A INTEGER, B INTEGER, PRIMARY KEY(A, B))"
                                        << "Pares" << true << "_rowid_";
        QTest::newRow("sem números de linha")
            << "CREATE TABLE Faixas(Nome TEXT PRIMARY KEY, Abate INTEGER) WITHOUT ROWID"
            << "Faixas" << false << "_rowid_";
    }
    void chaveDeclaradaPelaTabela()
    {
        QFETCH(QString, ddl);
        QFETCH(QString, tabela);
        QFETCH(QString, chave);
        QFETCH(bool, atualizavel);
        Database db(QStringLiteral("driver-chave"));
        db.create(novoBanco());
        db.exec(ddl);
        db.exec(QStringLiteral("CREATE VIEW Vista AS SELECT * FROM %1").arg(Database::citado(tabela)));

        QCOMPARE(db.chave(tabela), chave);
        QVERIFY(db.ehTabela(tabela));
        QVERIFY(!db.ehTabela(QStringLiteral("Vista")));
        RecordSet rs(db);
        rs.setTable(tabela);
        QCOMPARE(rs.isUpdatable(), atualizavel);
        rs.setTable(QStringLiteral("Vista"));
        QVERIFY(!rs.isUpdatable());
    }

    // The record set reaches every row by the key the driver names: its bookmarks are the key's values, and an
    // edit or a delete touches the row with that key. Without a key the rows are still read, never changed.
    void recordSetPelaChaveDoDriver_data()
    {
        QTest::addColumn<QString>("acao");
        QTest::addColumn<bool>("comChave");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("marcador") << "marcador" << true << "10:Viga 20:Laje 30:Pilar";
        QTest::newRow("edição") << "edita" << true << "10:Viga 20:Laje armada 30:Pilar";
        QTest::newRow("exclusão") << "exclui" << true << "10:Viga 30:Pilar";
        QTest::newRow("inclusão") << "inclui" << true << "10:Viga 20:Laje 30:Pilar 40:Sapata";
        QTest::newRow("sem chave") << "marcador" << false << "10:Viga 20:Laje 30:Pilar";
    }
    void recordSetPelaChaveDoDriver()
    {
        QFETCH(QString, acao);
        QFETCH(bool, comChave);
        QFETCH(QString, esperado);
        Database db(QStringLiteral("driver-recordset"),
                    std::make_unique<DriverComChave>(comChave ? QStringLiteral("\"Numero\"") : QString()));
        db.create(novoBanco());
        // Row numbers 1, 2, 3 against keys 30, 20, 10: a set that used the row numbers would land on another row.
        db.exec(QStringLiteral("CREATE TABLE Tracos(Numero INTEGER NOT NULL UNIQUE, NomeTraco TEXT)"));
        db.exec(QStringLiteral("INSERT INTO Tracos VALUES(30, 'Pilar'), (20, 'Laje'), (10, 'Viga')"));

        RecordSet rs(db);
        rs.setQuery(QStringLiteral("SELECT * FROM Tracos ORDER BY NomeTraco"));
        QCOMPARE(rs.isUpdatable(), comChave);
        QCOMPARE(rs.recordCount(), 3);
        if (!comChave) {
            QCOMPARE(erroDe([&] { rs.addNew(); }), int(platform::SomenteLeitura));
        } else {
            rs.moveLast();
            QCOMPARE(rs.bookmark().toLongLong(), 10);
            rs.setBookmark(20);
            QCOMPARE(rs.field(QStringLiteral("NomeTraco")).toString(), QStringLiteral("Laje"));
            QList<int> numeros;
            for (const QSqlRecord& linha : rs.linhas(0, 3))
                numeros.append(linha.value(QStringLiteral("Numero")).toInt());
            QCOMPARE(numeros, (QList<int>{20, 30, 10}));
            if (acao == QLatin1String("edita")) {
                rs.edit();
                rs.setField(QStringLiteral("NomeTraco"), QStringLiteral("Laje armada"));
                rs.update();
            } else if (acao == QLatin1String("exclui")) {
                rs.deleteCurrent();
            } else if (acao == QLatin1String("inclui")) {
                rs.addNew();
                rs.setField(QStringLiteral("Numero"), 40);
                rs.setField(QStringLiteral("NomeTraco"), QStringLiteral("Sapata"));
                rs.update();
                QCOMPARE(rs.lastModified().toLongLong(), 40);
                rs.setBookmark(40);
                QCOMPARE(rs.field(QStringLiteral("NomeTraco")).toString(), QStringLiteral("Sapata"));
            }
        }
        QCOMPARE(conteudo(db), esperado);
    }

    // The version survives closing and opening again, belongs to the transaction that writes it, and is refused
    // on a file opened for reading only.
    void versaoDoEsquema_data()
    {
        QTest::addColumn<int>("gravada");
        QTest::addColumn<bool>("confirma");
        QTest::addColumn<bool>("somenteLeitura");
        QTest::addColumn<int>("erro");
        QTest::addColumn<int>("lida");
        QTest::newRow("arquivo novo") << -1 << true << false << 0 << 0;
        QTest::newRow("primeira versão") << 1 << true << false << 0 << 1;
        QTest::newRow("versão alta") << 2147483647 << true << false << 0 << 2147483647;
        QTest::newRow("transação desfeita") << 5 << false << false << 0 << 0;
        QTest::newRow("somente leitura") << 5 << true << true << int(platform::SomenteLeitura) << 0;
    }
    void versaoDoEsquema()
    {
        QFETCH(int, gravada);
        QFETCH(bool, confirma);
        QFETCH(bool, somenteLeitura);
        QFETCH(int, erro);
        QFETCH(int, lida);
        const QString caminho = novoBanco();
        {
            Database db(QStringLiteral("driver-versao"));
            db.create(caminho);
            QCOMPARE(db.versaoDoEsquema(), 0);
        }
        if (gravada >= 0) {
            Database db(QStringLiteral("driver-versao"));
            db.open(caminho, somenteLeitura ? Database::Acesso::SomenteLeitura : Database::Acesso::LeituraEGravacao);
            QCOMPARE(erroDe([&] {
                         platform::Transaction transacao(db);
                         db.gravaVersaoDoEsquema(gravada);
                         QCOMPARE(db.versaoDoEsquema(), gravada);
                         if (confirma)
                             transacao.commit();
                     }),
                     erro);
        }
        Database db(QStringLiteral("driver-versao"));
        db.open(caminho);
        QCOMPARE(db.versaoDoEsquema(), lida);
    }

    // A single-row table is read by its first row in key order, whatever order the rows were written in.
    void primeiraLinha_data()
    {
        QTest::addColumn<QString>("ddl");
        QTest::addColumn<QString>("condicao");
        QTest::addColumn<QVariant>("esperado");
        const QString comChave = QStringLiteral("CREATE TABLE Massas(Codigo INTEGER PRIMARY KEY, Nome TEXT)");
        const QString semChave = QStringLiteral("CREATE TABLE Massas(Codigo INTEGER, Nome TEXT)");
        QTest::newRow("menor chave") << comChave << QString() << QVariant(QStringLiteral("b"));
        QTest::newRow("menor chave entre as escolhidas") << comChave << "Nome <> 'b'" << QVariant(QStringLiteral("c"));
        QTest::newRow("nenhuma escolhida") << comChave << "Nome = 'x'" << QVariant();
        QTest::newRow("sem chave: primeira gravada") << semChave << QString() << QVariant(QStringLiteral("a"));
    }
    void primeiraLinha()
    {
        QFETCH(QString, ddl);
        QFETCH(QString, condicao);
        QFETCH(QVariant, esperado);
        Database db(QStringLiteral("driver-primeira"));
        db.create(novoBanco());
        db.exec(ddl);
        db.exec(QStringLiteral("INSERT INTO Massas VALUES(9, 'a'), (2, 'b'), (5, 'c')"));
        QCOMPARE(db.scalar(db.primeiraLinha(QStringLiteral("Massas"), QStringLiteral("Nome"), condicao)), esperado);
    }

    // The schema is listed as it was created, without the engine's own tables and indexes, and a mended file
    // keeps every object of it and its version.
    void esquemaListadoEGuardadoNoReparo()
    {
        const QString caminho = novoBanco();
        const QStringList criados{
            QStringLiteral("table:Tracos"),
            QStringLiteral("index:TracosNome"),
            QStringLiteral("view:EmUso"),
            QStringLiteral("trigger:TracosVersao"),
        };
        const auto lista = [](const QList<Driver::ObjetoDoEsquema>& objetos) {
            QStringList nomes;
            for (const Driver::ObjetoDoEsquema& objeto : objetos)
                nomes.append(objeto.tipo + QLatin1Char(':') + objeto.nome);
            return nomes;
        };
        QList<Driver::ObjetoDoEsquema> antes;
        qint64 raiz = 0;
        {
            Database db(QStringLiteral("driver-esquema"));
            db.create(caminho);
            db.exec(QStringLiteral("CREATE TABLE Tracos(Codigo INTEGER PRIMARY KEY AUTOINCREMENT, "
                                   "NomeTraco TEXT UNIQUE, Plantao BOOLEAN, Versao INTEGER NOT NULL DEFAULT 0)"));
            db.exec(QStringLiteral("CREATE INDEX TracosNome ON Tracos(NomeTraco, Plantao)"));
            db.exec(QStringLiteral("CREATE VIEW EmUso AS SELECT * FROM Tracos WHERE Plantao"));
            db.exec(QStringLiteral("CREATE TRIGGER TracosVersao AFTER UPDATE ON Tracos WHEN NEW.Versao = OLD.Versao "
                                   "BEGIN UPDATE Tracos SET Versao = OLD.Versao + 1 WHERE Codigo = NEW.Codigo; END"));
            db.exec(QStringLiteral("INSERT INTO Tracos(NomeTraco, Plantao) VALUES('Viga', TRUE)"));
            db.gravaVersaoDoEsquema(3);
            antes = db.esquema();
            raiz = db.scalar(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = 'Tracos'")).toLongLong();
        }
        QCOMPARE(lista(antes), criados);

        // A table whose page cannot be read (its type byte overwritten) makes the file damaged.
        const DriverSqlite driver;
        QCOMPARE(driver.verifica(caminho), 0);
        QCOMPARE(driver.repara(caminho).resultado, platform::RelatorioDeReparo::Resultado::NaoPrecisou);
        // The table's root is a leaf holding its one mix.
        QVERIFY(teste::sobrescrevePagina(caminho, raiz, QByteArray(1, '\x01')));
        QCOMPARE(driver.verifica(caminho), int(platform::BancoDanificado));
        QCOMPARE(driver.repara(caminho).resultado, platform::RelatorioDeReparo::Resultado::Reparado);
        QCOMPARE(driver.verifica(caminho), 0);

        Database db(QStringLiteral("driver-esquema"));
        db.open(caminho);
        QCOMPARE(db.esquema(), antes);
        QCOMPARE(db.versaoDoEsquema(), 3);
    }
};

QUENVAR_TEST(TestDriverSqlite)
#include "tst_driversqlite.moc"
