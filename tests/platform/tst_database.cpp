#include "testregistry.h"

#include "dbtestutil.h"
#include "platform/database.h"
#include "platform/transaction.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <tuple>

using platform::Database;
using platform::Transaction;
using teste::erroDe;

namespace {

QByteArray conteudoDe(const QString& caminho)
{
    QFile arquivo(caminho);
    return arquivo.open(QIODevice::ReadOnly) ? arquivo.readAll() : QByteArray();
}

void grava(const QString& caminho, const QByteArray& conteudo)
{
    QFile arquivo(caminho);
    QVERIFY(arquivo.open(QIODevice::WriteOnly));
    arquivo.write(conteudo);
}

QByteArray bytesAleatorios(qsizetype tamanho)
{
    QRandomGenerator gerador(1234);
    QByteArray bytes(tamanho, Qt::Uninitialized);
    for (char& byte : bytes)
        byte = static_cast<char>(gerador.bounded(256));
    return bytes;
}

// A catalogue of `linhas` mixes with an index on the name, written as the program writes it.
void criaCatalogo(const QString& caminho, int linhas)
{
    Database db(QStringLiteral("fixture"));
    db.create(caminho);
    db.exec(QStringLiteral("CREATE TABLE Tracos(Codigo INTEGER PRIMARY KEY AUTOINCREMENT, NomeTraco TEXT NOT NULL, "
                           "TracoVariante INTEGER NOT NULL)"));
    db.exec(QStringLiteral("WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < ?) "
                           "INSERT INTO Tracos(NomeTraco, TracoVariante) SELECT printf('Traço %05d', x), x % 3 FROM n"),
            {linhas});
    db.exec(QStringLiteral("PRAGMA user_version = 7"));
}

// Overwrites the given pages of the file with noise.
void estragaPaginas(const QString& caminho, qint64 primeira, qint64 ultima, qint64 tamanhoDaPagina)
{
    QFile arquivo(caminho);
    QVERIFY(arquivo.open(QIODevice::ReadWrite));
    QVERIFY(arquivo.seek((primeira - 1) * tamanhoDaPagina));
    QVERIFY(arquivo.write(bytesAleatorios((ultima - primeira + 1) * tamanhoDaPagina)) > 0);
}

QVariant valorEm(const QString& caminho, const QString& sql)
{
    Database db(QStringLiteral("leitura"));
    db.open(caminho);
    return db.scalar(sql);
}

} // namespace

class TestDatabase : public QObject
{
    Q_OBJECT

private slots:
    void abrindoBancoRecusaOQueNaoEhBanco_data()
    {
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<QByteArray>("conteudo");
        QTest::addColumn<int>("esperado");
        QTest::newRow("arquivo inexistente") << "nada" << QByteArray() << 3024;
        QTest::newRow("pasta inexistente") << "pasta inexistente" << QByteArray() << 3024;
        QTest::newRow("pasta no lugar do arquivo") << "pasta" << QByteArray() << 3024;
        QTest::newRow("arquivo de texto") << "arquivo" << QByteArray("Traço 1: cimento, areia, brita\r\n") << 3049;
        QTest::newRow("bytes aleatórios") << "arquivo" << bytesAleatorios(16384) << 3049;
        QTest::newRow("arquivo vazio") << "arquivo" << QByteArray() << 3049;
        QTest::newRow("cabeçalho de banco e resto perdido")
            << "arquivo" << QByteArray("SQLite format 3\0", 16) + bytesAleatorios(8192) << 3049;
    }
    void abrindoBancoRecusaOQueNaoEhBanco()
    {
        QFETCH(QString, tipo);
        QFETCH(QByteArray, conteudo);
        QFETCH(int, esperado);
        QTemporaryDir pasta;
        QString caminho = pasta.filePath(QStringLiteral("empresa.mdb"));
        if (tipo == QLatin1String("pasta inexistente"))
            caminho = pasta.filePath(QStringLiteral("Dados/empresa.mdb"));
        else if (tipo == QLatin1String("pasta"))
            QVERIFY(QDir(pasta.path()).mkdir(QStringLiteral("empresa.mdb")));
        else if (tipo == QLatin1String("arquivo"))
            grava(caminho, conteudo);

        QCOMPARE(Database::AbrindoBanco(caminho), esperado);

        // Nothing is created, replaced or set aside.
        if (tipo == QLatin1String("arquivo"))
            QCOMPARE(conteudoDe(caminho), conteudo);
        else if (tipo != QLatin1String("pasta"))
            QVERIFY(!QFileInfo::exists(caminho));
        const bool haviaAlgo = tipo == QLatin1String("arquivo") || tipo == QLatin1String("pasta");
        QCOMPARE(QDir(pasta.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(), haviaAlgo ? 1 : 0);
    }

    void abrindoBancoAceitaBancoIntegroESolta()
    {
        QTemporaryDir pasta;
        const QString caminho = pasta.filePath(QStringLiteral("empresa.mdb"));
        criaCatalogo(caminho, 10);
        const QStringList conexoes = QSqlDatabase::connectionNames();
        QCOMPARE(Database::AbrindoBanco(caminho), 0);
        QVERIFY(!QFileInfo::exists(caminho + QStringLiteral(".danificado")));
        QCOMPARE(QSqlDatabase::connectionNames(), conexoes);
    }

    void arquivoIlegivelEhErroDeDisco()
    {
        QTemporaryDir pasta;
        const QString caminho = pasta.filePath(QStringLiteral("empresa.mdb"));
        criaCatalogo(caminho, 10);
        QFile::setPermissions(caminho, QFileDevice::Permissions());
        QFile tentativa(caminho);
        if (tentativa.open(QIODevice::ReadOnly))
            QSKIP("quem roda os testes lê qualquer arquivo (superusuário)");
        QCOMPARE(Database::AbrindoBanco(caminho), 3043);
    }

    void indiceDanificadoEhReparado()
    {
        QTemporaryDir pasta;
        const QString caminho = pasta.filePath(QStringLiteral("empresa.mdb"));
        criaCatalogo(caminho, 3000);
        qint64 raiz = 0;
        qint64 paginas = 0;
        qint64 tamanho = 0;
        {
            Database db(QStringLiteral("fixture"));
            db.open(caminho);
            // The highest number is gone, but the counter still remembers it.
            db.exec(QStringLiteral("DELETE FROM Tracos WHERE Codigo = 3000"));
            db.exec(QStringLiteral("CREATE INDEX PorNome ON Tracos(NomeTraco)"));
            raiz = db.scalar(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = 'PorNome'")).toLongLong();
            paginas = db.scalar(QStringLiteral("PRAGMA page_count")).toLongLong();
            tamanho = db.scalar(QStringLiteral("PRAGMA page_size")).toLongLong();
        }
        // The index was built last, so its pages are the last ones of the file.
        estragaPaginas(caminho, raiz, paginas, tamanho);
        QVERIFY(valorEm(caminho, QStringLiteral("PRAGMA quick_check(1)")).toString() != QLatin1String("ok"));
        const QByteArray danificado = conteudoDe(caminho);

        QCOMPARE(Database::AbrindoBanco(caminho), 0);

        QCOMPARE(conteudoDe(caminho + QStringLiteral(".danificado")), danificado);
        Database db(QStringLiteral("reparado"));
        db.open(caminho);
        QCOMPARE(db.scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Tracos")).toInt(), 2999);
        QCOMPARE(db.scalar(QStringLiteral("SELECT NomeTraco FROM Tracos WHERE Codigo = 2999")).toString(),
                 QStringLiteral("Traço 02999"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'PorNome'")).toInt(), 1);
        QCOMPARE(db.scalar(QStringLiteral("PRAGMA user_version")).toInt(), 7);
        // The autoincrement counter came along: a new mix never reuses a number.
        db.exec(QStringLiteral("INSERT INTO Tracos(NomeTraco, TracoVariante) VALUES('Novo', 0)"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT max(Codigo) FROM Tracos")).toInt(), 3001);
    }

    void reparoSalvaAsLinhasAlemDaPaginaPerdida()
    {
        QTemporaryDir pasta;
        const QString caminho = pasta.filePath(QStringLiteral("empresa.mdb"));
        criaCatalogo(caminho, 3000);
        qint64 pagina = 0;
        int perdidas = 0;
        qint64 tamanho = 0;
        {
            Database db(QStringLiteral("fixture"));
            db.open(caminho);
            tamanho = db.scalar(QStringLiteral("PRAGMA page_size")).toLongLong();
            QSqlQuery folhas(db.handle());
            if (!folhas.exec(QStringLiteral("SELECT pageno, ncell FROM dbstat WHERE name = 'Tracos' AND "
                                            "pagetype = 'leaf' ORDER BY pageno")))
                QSKIP("o SQLite desta máquina não tem a tabela dbstat");
            QList<QPair<qint64, int>> lista;
            while (folhas.next())
                lista.append({folhas.value(0).toLongLong(), folhas.value(1).toInt()});
            QVERIFY(lista.size() > 4);
            std::tie(pagina, perdidas) = lista.at(lista.size() / 2);
        }
        estragaPaginas(caminho, pagina, pagina, tamanho);

        QVERIFY(Database::repara(caminho));

        Database db(QStringLiteral("reparado"));
        db.open(caminho);
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Tracos")).toInt(), 3000 - perdidas);
        QCOMPARE(db.scalar(QStringLiteral("SELECT max(Codigo) FROM Tracos")).toInt(), 3000);
        QCOMPARE(db.scalar(QStringLiteral("SELECT min(Codigo) FROM Tracos")).toInt(), 1);
    }

    void reparoDeixaIntactoOQueNaoEhBanco_data()
    {
        QTest::addColumn<QByteArray>("conteudo");
        QTest::newRow("texto") << QByteArray("não sou um banco de dados\n");
        QTest::newRow("cabeçalho e ruído") << QByteArray("SQLite format 3\0", 16) + bytesAleatorios(4096);
    }
    void reparoDeixaIntactoOQueNaoEhBanco()
    {
        QFETCH(QByteArray, conteudo);
        QTemporaryDir pasta;
        const QString caminho = pasta.filePath(QStringLiteral("empresa.mdb"));
        grava(caminho, conteudo);
        QVERIFY(!Database::repara(caminho));
        QCOMPARE(conteudoDe(caminho), conteudo);
        QCOMPARE(QDir(pasta.path()).entryList(QDir::Files).size(), 1);
    }

    void openECreateRespeitamOArquivo()
    {
        QTemporaryDir pasta;
        const QString caminho = pasta.filePath(QStringLiteral("empresa.mdb"));
        Database db(QStringLiteral("teste"));
        QCOMPARE(erroDe([&] { db.open(caminho); }), 3024);
        QVERIFY(!QFileInfo::exists(caminho));
        QCOMPARE(erroDe([&] { db.create(pasta.filePath(QStringLiteral("Dados/empresa.mdb"))); }), 3044);

        db.create(caminho);
        QVERIFY(db.isOpen());
        QCOMPARE(db.caminho(), caminho);
        db.close();
        QVERIFY(!db.isOpen());
        QCOMPARE(Database::AbrindoBanco(caminho), 0);
        QCOMPARE(erroDe([&] { db.create(caminho); }), 3204);
        QCOMPARE(erroDe([&] { db.exec(QStringLiteral("SELECT 1")); }), 3420);
    }

    void diarioDeReversaoMesmoEmBancoWal()
    {
        QTemporaryDir pasta;
        const QString caminho = pasta.filePath(QStringLiteral("empresa.mdb"));
        {
            Database db(QStringLiteral("teste"));
            db.create(caminho);
            db.exec(QStringLiteral("CREATE TABLE t(x)"));
            QCOMPARE(db.scalar(QStringLiteral("PRAGMA journal_mode = WAL")).toString(), QStringLiteral("wal"));
        }
        Database db(QStringLiteral("teste"));
        db.open(caminho);
        QCOMPARE(db.scalar(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("delete"));
    }

    void errosDoMecanismoViramNumeros_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QVariantList>("valores");
        QTest::addColumn<int>("esperado");
        QTest::newRow("nome repetido") << "INSERT INTO Tracos(NomeTraco, TracoVariante) VALUES(?, ?)"
                                       << QVariantList{QStringLiteral("Traço 00001"), 1} << 3022;
        QTest::newRow("campo obrigatório nulo")
            << "INSERT INTO Tracos(NomeTraco, TracoVariante) VALUES(?, ?)" << QVariantList{QVariant(), 0} << 3314;
        QTest::newRow("tabela inexistente") << "SELECT * FROM Produtos" << QVariantList{} << 3078;
        QTest::newRow("campo inexistente") << "SELECT Resistencia FROM Tracos" << QVariantList{} << 3265;
        QTest::newRow("erro de sintaxe") << "SELEC * FROM Tracos" << QVariantList{} << 3075;
    }
    void errosDoMecanismoViramNumeros()
    {
        QFETCH(QString, sql);
        QFETCH(QVariantList, valores);
        QFETCH(int, esperado);
        QTemporaryDir pasta;
        const QString caminho = pasta.filePath(QStringLiteral("empresa.mdb"));
        criaCatalogo(caminho, 3);
        Database db(QStringLiteral("teste"));
        db.open(caminho);
        db.exec(QStringLiteral("CREATE UNIQUE INDEX NomeEVariante ON Tracos(NomeTraco, TracoVariante)"));
        QCOMPARE(erroDe([&] { db.exec(sql, valores); }), esperado);
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Tracos")).toInt(), 3);
    }

    void valoresLigadosGuardamApostrofo()
    {
        QTemporaryDir pasta;
        Database db(QStringLiteral("teste"));
        db.create(pasta.filePath(QStringLiteral("empresa.mdb")));
        db.exec(QStringLiteral("CREATE TABLE Tracos(NomeTraco TEXT)"));
        const QString nome = QStringLiteral("Traço D'Ávila; DROP TABLE Tracos --");
        db.exec(QStringLiteral("INSERT INTO Tracos VALUES(?)"), {nome});
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Tracos WHERE NomeTraco = ?"), {nome}).toInt(), 1);
        QCOMPARE(db.execCount(QStringLiteral("UPDATE Tracos SET NomeTraco = ? WHERE NomeTraco = ?"),
                              {QStringLiteral("Outro 'x'"), nome}),
                 1);
        QCOMPARE(db.scalar(QStringLiteral("SELECT NomeTraco FROM Tracos")).toString(), QStringLiteral("Outro 'x'"));
        QVERIFY(db.scalar(QStringLiteral("SELECT NomeTraco FROM Tracos WHERE NomeTraco = ?"), {nome}).isNull());
    }

    void transacoes_data()
    {
        QTest::addColumn<bool>("confirmaExterna");
        QTest::addColumn<bool>("confirmaInterna");
        QTest::addColumn<int>("esperado");
        QTest::newRow("desfeita não deixa linha") << false << true << 0;
        QTest::newRow("confirmada guarda tudo") << true << true << 2;
        QTest::newRow("interna desfeita só desfaz a sua parte") << true << false << 1;
    }
    void transacoes()
    {
        QFETCH(bool, confirmaExterna);
        QFETCH(bool, confirmaInterna);
        QFETCH(int, esperado);
        QTemporaryDir pasta;
        Database db(QStringLiteral("teste"));
        db.create(pasta.filePath(QStringLiteral("empresa.mdb")));
        db.exec(QStringLiteral("CREATE TABLE Tracos(NomeTraco TEXT)"));
        {
            Transaction externa(db);
            db.exec(QStringLiteral("INSERT INTO Tracos VALUES('externa')"));
            {
                Transaction interna(db);
                db.exec(QStringLiteral("INSERT INTO Tracos VALUES('interna')"));
                if (confirmaInterna)
                    interna.commit();
            }
            if (confirmaExterna)
                externa.commit();
        }
        QCOMPARE(db.transactionDepth(), 0);
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Tracos")).toInt(), esperado);
    }
};

QUENVAR_TEST(TestDatabase)
#include "tst_database.moc"
