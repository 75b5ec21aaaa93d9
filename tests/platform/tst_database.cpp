#include "testregistry.h"

#include "dbtestutil.h"
#include "paginas.h"
#include "platform/clock.h"
#include "platform/database.h"
#include "platform/transaction.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

#include <unistd.h>

using platform::Database;
using platform::RelatorioDeReparo;
using platform::Transaction;
using teste::conteudoDe;
using teste::erroDe;
using teste::Linhas;
using teste::linhasLegiveis;
using teste::paginasDe;
using teste::ruido;
using teste::sobrescrevePagina;
using Resultado = platform::RelatorioDeReparo::Resultado;

namespace {

void grava(const QString& caminho, const QByteArray& conteudo)
{
    QFile arquivo(caminho);
    QVERIFY(arquivo.open(QIODevice::WriteOnly));
    arquivo.write(conteudo);
}

// A catalogue of `linhas` mixes written as the program writes it; their keys are `chave`, SQL of the row number x,
// and an index on the name is built first when asked for.
void criaCatalogo(const QString& caminho, int linhas, const QString& chave = QStringLiteral("x"), bool indice = false)
{
    Database db(QStringLiteral("fixture"));
    db.create(caminho);
    db.exec(QStringLiteral("CREATE TABLE Tracos(Codigo INTEGER PRIMARY KEY AUTOINCREMENT, NomeTraco TEXT NOT NULL, "
                           "TracoVariante INTEGER NOT NULL)"));
    if (indice)
        db.exec(QStringLiteral("CREATE INDEX PorNome ON Tracos(NomeTraco)"));
    db.exec(QStringLiteral("WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < ?) "
                           "INSERT INTO Tracos SELECT %1, printf('Traço %05d', x), x % 3 FROM n")
                .arg(chave),
            {linhas});
    db.exec(QStringLiteral("PRAGMA user_version = 7"));
}

QVariant valorEm(const QString& caminho, const QString& sql)
{
    Database db(QStringLiteral("leitura"));
    db.open(caminho);
    return db.scalar(sql);
}

// Overwrites the pages from `primeira` to `ultima` (only `primeira` when no last is given) with noise.
void estragaPaginas(const QString& caminho, qint64 primeira, qint64 ultima = 0)
{
    const qint64 tamanhoDaPagina = valorEm(caminho, QStringLiteral("PRAGMA page_size")).toLongLong();
    QVERIFY(sobrescrevePagina(caminho, primeira, ruido((std::max(ultima, primeira) - primeira + 1) * tamanhoDaPagina)));
}

// Builds an index on the name of the catalogue's mixes, after running `antes`, and overwrites it with noise: built
// last, it lies on the last pages of the file, so the rows stay whole.
void estragaIndicePorNome(const QString& caminho, const QString& antes = {})
{
    qint64 raiz = 0;
    qint64 paginas = 0;
    {
        Database db(QStringLiteral("fixture"));
        db.open(caminho);
        if (!antes.isEmpty())
            db.exec(antes);
        db.exec(QStringLiteral("CREATE INDEX PorNome ON Tracos(NomeTraco)"));
        raiz = db.scalar(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = 'PorNome'")).toLongLong();
        paginas = db.scalar(QStringLiteral("PRAGMA page_count")).toLongLong();
    }
    estragaPaginas(caminho, raiz, paginas);
}

Linhas linhasDe(const QString& caminho)
{
    Database db(QStringLiteral("linhas"));
    db.open(caminho);
    Linhas linhas;
    QSqlQuery q = db.exec(QStringLiteral("SELECT Codigo, NomeTraco FROM Tracos ORDER BY Codigo"));
    while (q.next())
        linhas.append({q.value(0).toLongLong(), q.value(1).toString()});
    return linhas;
}

QStringList arquivosDe(const QString& pasta)
{
    return QDir(pasta).entryList(QDir::Files, QDir::Name);
}

} // namespace

class TestDatabase : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_pasta;
    QString m_caminho;

private slots:
    void init()
    {
        m_pasta = std::make_unique<QTemporaryDir>();
        m_caminho = m_pasta->filePath(QStringLiteral("empresa.mdb"));
    }
    void cleanup() { m_pasta.reset(); }

    void abrindoBancoSemDanoAReparar_data()
    {
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<QByteArray>("conteudo");
        QTest::addColumn<int>("esperado");
        QTest::newRow("arquivo inexistente") << "nada" << QByteArray() << 3024;
        QTest::newRow("pasta inexistente") << "pasta inexistente" << QByteArray() << 3024;
        QTest::newRow("pasta no lugar do arquivo") << "pasta" << QByteArray() << 3024;
        QTest::newRow("arquivo de texto") << "arquivo" << QByteArray("Traço 1: cimento, areia, brita\r\n") << 3343;
        QTest::newRow("bytes aleatórios") << "arquivo" << ruido(16384) << 3343;
        QTest::newRow("arquivo vazio") << "arquivo" << QByteArray() << 3049;
        QTest::newRow("cabeçalho de banco e resto perdido")
            << "arquivo" << QByteArray("SQLite format 3\0", 16) + ruido(8192) << 3049;
        QTest::newRow("banco íntegro") << "banco" << QByteArray() << 0;
    }
    void abrindoBancoSemDanoAReparar()
    {
        QFETCH(QString, tipo);
        QFETCH(QByteArray, conteudo);
        QFETCH(int, esperado);
        QString caminho = m_caminho;
        if (tipo == QLatin1String("pasta inexistente"))
            caminho = m_pasta->filePath(QStringLiteral("Dados/empresa.mdb"));
        else if (tipo == QLatin1String("pasta"))
            QVERIFY(QDir(m_pasta->path()).mkdir(QStringLiteral("empresa.mdb")));
        else if (tipo == QLatin1String("arquivo"))
            grava(caminho, conteudo);
        else if (tipo == QLatin1String("banco"))
            criaCatalogo(caminho, 10);
        const QByteArray antes = conteudoDe(caminho);
        const QStringList conexoes = QSqlDatabase::connectionNames();

        RelatorioDeReparo relatorio;
        QCOMPARE(Database::AbrindoBanco(caminho, relatorio), esperado);
        if (esperado == 0)
            QCOMPARE(relatorio.resultado, Resultado::NaoPrecisou);
        QCOMPARE(Database::repara(caminho).resultado, esperado == 0 ? Resultado::NaoPrecisou : Resultado::NaoReparado);

        // Nothing is created, replaced or set aside, neither by the check nor by a repair asked for directly, and
        // the connections of the check are released.
        QCOMPARE(conteudoDe(caminho), antes);
        if (tipo == QLatin1String("nada") || tipo == QLatin1String("pasta inexistente"))
            QVERIFY(!QFileInfo::exists(caminho));
        const bool haviaAlgo = tipo != QLatin1String("nada") && tipo != QLatin1String("pasta inexistente");
        QCOMPARE(QDir(m_pasta->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(), haviaAlgo ? 1 : 0);
        QCOMPARE(QSqlDatabase::connectionNames(), conexoes);
    }

    void arquivoIlegivelEhErroDeDisco()
    {
        criaCatalogo(m_caminho, 10);
        QFile::setPermissions(m_caminho, QFileDevice::Permissions());
        QFile tentativa(m_caminho);
        if (tentativa.open(QIODevice::ReadOnly))
            QSKIP("quem roda os testes lê qualquer arquivo (superusuário)");
        QCOMPARE(Database::AbrindoBanco(m_caminho), 3043);
    }

    void indiceDanificadoEhReparado()
    {
        criaCatalogo(m_caminho, 3000);
        // The highest number is gone, but the counter still remembers it.
        estragaIndicePorNome(m_caminho, QStringLiteral("DELETE FROM Tracos WHERE Codigo = 3000"));
        QVERIFY(valorEm(m_caminho, QStringLiteral("PRAGMA quick_check(1)")).toString() != QLatin1String("ok"));
        const QByteArray danificado = conteudoDe(m_caminho);

        RelatorioDeReparo relatorio;
        QCOMPARE(Database::AbrindoBanco(m_caminho, relatorio), 0);

        // Only an index was damaged: every row came across and nothing is reported lost.
        QCOMPARE(relatorio.resultado, Resultado::Reparado);
        QVERIFY(!relatorio.houvePerda());
        const RelatorioDeReparo::Tabela* tracos = relatorio.tabela(QStringLiteral("Tracos"));
        QVERIFY(tracos);
        QCOMPARE(tracos->mantidas, 2999);
        QCOMPARE(conteudoDe(relatorio.copiaDanificada), danificado);
        Database db(QStringLiteral("reparado"));
        db.open(m_caminho);
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

    void reparoGuardaTodaLinhaLegivel_data()
    {
        QTest::addColumn<QString>("chaves");
        QTest::addColumn<QString>("dano");
        QTest::addColumn<bool>("indiceInteiro");
        // Keys as SQL of the row number x, from 1 to 3000.
        const QList<std::pair<const char*, const char*>> chaves{
            {"densas", "x"},
            {"negativas", "x - 2000"},
            {"esparsas", "x * 1000003"},
            {"enormes", "4611686018427387904 + x * 1099511627776"},
            {"nos extremos", "CASE WHEN x % 2 = 0 THEN -9223372036854775807 + x ELSE 9223372036854775807 - x END"},
        };
        const QList<std::pair<const char*, bool>> danos{
            {"primeira folha", true},    {"folha do meio", true},   {"última folha", true},
            {"página do índice", false}, {"várias páginas", false}, {"raiz da tabela", true},
        };
        for (const auto& [nomeChaves, sql] : chaves)
            for (const auto& [dano, indiceInteiro] : danos)
                QTest::addRow("%s, %s", nomeChaves, dano)
                    << QString::fromUtf8(sql) << QString::fromUtf8(dano) << indiceInteiro;
    }
    void reparoGuardaTodaLinhaLegivel()
    {
        QFETCH(QString, chaves);
        QFETCH(QString, dano);
        QFETCH(bool, indiceInteiro);
        constexpr int Total = 3000;
        criaCatalogo(m_caminho, Total, chaves, true);
        QList<qint64> todas;
        for (const auto& [chave, nome] : linhasDe(m_caminho))
            todas.append(chave);
        QCOMPARE(todas.size(), Total);
        const QList<qint64> folhas = paginasDe(m_caminho, QStringLiteral("Tracos"));
        const QList<qint64> indice = paginasDe(m_caminho, QStringLiteral("PorNome"));
        if (folhas.isEmpty())
            QSKIP("o SQLite desta máquina não tem a tabela dbstat");
        QVERIFY(folhas.size() > 8 && indice.size() > 4);
        QList<qint64> estragar;
        if (dano == QStringLiteral("primeira folha"))
            estragar = {folhas.first()};
        else if (dano == QStringLiteral("folha do meio"))
            estragar = {folhas.at(folhas.size() / 2)};
        else if (dano == QStringLiteral("última folha"))
            estragar = {folhas.last()};
        else if (dano == QStringLiteral("página do índice"))
            estragar = {indice.at(indice.size() / 2)};
        else if (dano == QStringLiteral("várias páginas"))
            estragar = {folhas.at(1), folhas.at(2), folhas.at(folhas.size() - 3), indice.at(1)};
        else
            estragar = paginasDe(m_caminho, QStringLiteral("Tracos"), QStringLiteral("raiz"));
        QVERIFY(!estragar.isEmpty());
        for (const qint64 pagina : estragar)
            estragaPaginas(m_caminho, pagina);
        const Linhas legiveis = linhasLegiveis(m_caminho, todas);
        // The damage took rows with it unless it fell on the index alone.
        QCOMPARE(legiveis.size() < Total, dano != QStringLiteral("página do índice"));

        const RelatorioDeReparo relatorio = Database::repara(m_caminho);

        QCOMPARE(relatorio.resultado, Resultado::Reparado);
        const Linhas reparadas = linhasDe(m_caminho);
        QCOMPARE(reparadas, legiveis);
        const RelatorioDeReparo::Tabela* tracos = relatorio.tabela(QStringLiteral("Tracos"));
        QVERIFY(tracos);
        const qint64 perdidas = Total - legiveis.size();
        QCOMPARE(tracos->mantidas, legiveis.size());
        QCOMPARE(tracos->houvePerda(), perdidas > 0);
        QCOMPARE(tracos->contagemExata, indiceInteiro);
        // With its index whole, the table's lost rows are all counted; with the index damaged too, not all are.
        if (indiceInteiro)
            QCOMPARE(tracos->perdidas, perdidas);
        else
            QVERIFY(tracos->perdidas <= perdidas);
    }

    void reparosSeguidosGuardamCadaCopia()
    {
        criaCatalogo(m_caminho, 3000);
        // Both repairs in the same minute.
        platform::Clock::fixa(QDateTime(QDate(2026, 12, 6), QTime(8, 30, 15)));
        QList<QByteArray> danificados;
        QStringList copias;
        for (int i = 0; i < 2; ++i) {
            const QList<qint64> folhas = paginasDe(m_caminho, QStringLiteral("Tracos"));
            if (folhas.isEmpty())
                QSKIP("o SQLite desta máquina não tem a tabela dbstat");
            estragaPaginas(m_caminho, folhas.at(folhas.size() / 2));
            // A journal left beside the damaged file goes with it.
            grava(m_caminho + QStringLiteral("-journal"), QByteArray());
            danificados << conteudoDe(m_caminho);
            const RelatorioDeReparo relatorio = Database::repara(m_caminho);
            QCOMPARE(relatorio.resultado, Resultado::Reparado);
            copias << relatorio.copiaDanificada;
        }
        platform::Clock::fixa({});

        QCOMPARE(copias, (QStringList{m_caminho + QStringLiteral(".danificado-2026-12-06-0830"),
                                      m_caminho + QStringLiteral(".danificado-2026-12-06-0830-2")}));
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(conteudoDe(copias.at(i)), danificados.at(i));
            QVERIFY(QFileInfo::exists(copias.at(i) + QStringLiteral("-journal")));
        }
        QVERIFY(!QFileInfo::exists(m_caminho + QStringLiteral("-journal")));
        // Each repair is on record for the administrator, with the rows it lost and where its copy is.
        const QByteArray log = conteudoDe(m_pasta->filePath(QStringLiteral("Erros.txt")));
        QCOMPARE(log.count("Rotina: Reparo do banco de dados"), 2);
        QCOMPARE(log.count("registros perdidos: Tracos: "), 2);
        for (const QString& copia : copias)
            QVERIFY(log.contains("c\xf3pia danificada: " + copia.toLatin1() + "\r\n"));
    }

    void reparoEsperaAsOutrasEstacoes_data()
    {
        QTest::addColumn<QString>("inicio");
        QTest::newRow("outra estação lendo") << "BEGIN";
        QTest::newRow("outra estação gravando") << "BEGIN IMMEDIATE";
    }
    void reparoEsperaAsOutrasEstacoes()
    {
        QFETCH(QString, inicio);
        criaCatalogo(m_caminho, 3000);
        const QList<qint64> folhas = paginasDe(m_caminho, QStringLiteral("Tracos"));
        if (folhas.isEmpty())
            QSKIP("o SQLite desta máquina não tem a tabela dbstat");
        estragaPaginas(m_caminho, folhas.at(1));
        const QByteArray danificado = conteudoDe(m_caminho);
        {
            Database estacao(QStringLiteral("outra estacao"));
            estacao.open(m_caminho);
            estacao.exec(inicio);
            estacao.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master"));

            RelatorioDeReparo relatorio;
            QCOMPARE(Database::AbrindoBanco(m_caminho, relatorio), 3049);
            QCOMPARE(relatorio.resultado, Resultado::EmUso);
            QCOMPARE(conteudoDe(m_caminho), danificado);
            QCOMPARE(arquivosDe(m_pasta->path()), QStringList{QStringLiteral("empresa.mdb")});
            estacao.exec(QStringLiteral("ROLLBACK"));
        }
        // Once the other workstation has let go, the file is mended.
        RelatorioDeReparo relatorio;
        QCOMPARE(Database::AbrindoBanco(m_caminho, relatorio), 0);
        QCOMPARE(relatorio.resultado, Resultado::Reparado);
    }

    void estacaoComArquivoSubstituido_data()
    {
        QTest::addColumn<bool>("reparado");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<int>("esperado");
        const QString leitura = QStringLiteral("SELECT count(*) FROM Tracos INDEXED BY PorNome WHERE NomeTraco >= ''");
        QTest::newRow("gravação depois do reparo")
            << true << "INSERT INTO Tracos(NomeTraco, TracoVariante) VALUES('Novo', 0)" << 3734;
        QTest::newRow("página danificada lida depois do reparo") << true << leitura << 3734;
        QTest::newRow("página danificada lida sem reparo") << false << leitura << 3049;
    }
    void estacaoComArquivoSubstituido()
    {
        QFETCH(bool, reparado);
        QFETCH(QString, sql);
        QFETCH(int, esperado);
        criaCatalogo(m_caminho, 3000);
        Database estacao(QStringLiteral("estacao"));
        estacao.open(m_caminho);
        // The index is built and damaged while this workstation has the file open.
        estragaIndicePorNome(m_caminho);

        // Another workstation mends the file while this one has it open.
        if (reparado)
            QCOMPARE(Database::repara(m_caminho).resultado, Resultado::Reparado);

        QCOMPARE(estacao.arquivoSubstituido(), reparado);
        QCOMPARE(erroDe([&] { estacao.scalar(sql); }), esperado);
    }

    void permiteGravar_data()
    {
        QTest::addColumn<QString>("protegido");
        QTest::addColumn<bool>("esperado");
        QTest::newRow("pasta e arquivo livres") << "" << true;
        QTest::newRow("pasta protegida") << "pasta" << false;
        QTest::newRow("arquivo protegido") << "arquivo" << false;
    }
    void permiteGravar()
    {
        QFETCH(QString, protegido);
        QFETCH(bool, esperado);
        if (!protegido.isEmpty() && geteuid() == 0)
            QSKIP("o superusuário grava mesmo em pasta ou arquivo protegido contra gravação");
        const QString dados = m_pasta->filePath(QStringLiteral("Dados"));
        QVERIFY(QDir().mkpath(dados));
        const QString caminho = dados + QStringLiteral("/empresa.mdb");
        criaCatalogo(caminho, 10);
        const QString alvo = protegido == QLatin1String("pasta") ? dados : caminho;
        const QFileDevice::Permissions permissoes = QFile::permissions(alvo);
        const QFileDevice::Permissions escrita =
            QFileDevice::WriteOwner | QFileDevice::WriteUser | QFileDevice::WriteGroup | QFileDevice::WriteOther;
        if (!protegido.isEmpty())
            QVERIFY(QFile::setPermissions(alvo, permissoes & ~escrita));
        const QByteArray antes = conteudoDe(caminho);

        const bool permite = Database::permiteGravar(caminho);

        QFile::setPermissions(alvo, permissoes);
        QCOMPARE(permite, esperado);
        // The probe leaves the file and its folder as they were.
        QCOMPARE(conteudoDe(caminho), antes);
        QCOMPARE(arquivosDe(dados), QStringList{QStringLiteral("empresa.mdb")});
    }

    void openECreateRespeitamOArquivo()
    {
        Database db(QStringLiteral("teste"));
        QCOMPARE(erroDe([&] { db.open(m_caminho); }), 3024);
        QVERIFY(!QFileInfo::exists(m_caminho));
        QCOMPARE(erroDe([&] { db.create(m_pasta->filePath(QStringLiteral("Dados/empresa.mdb"))); }), 3044);

        db.create(m_caminho);
        QVERIFY(db.isOpen());
        QCOMPARE(db.caminho(), m_caminho);
        db.close();
        QVERIFY(!db.isOpen());
        QCOMPARE(Database::AbrindoBanco(m_caminho), 0);
        db.open(m_caminho, Database::Acesso::SomenteLeitura);
        QVERIFY(db.somenteLeitura());
        QCOMPARE(erroDe([&] { db.exec(QStringLiteral("CREATE TABLE Tracos(NomeTraco TEXT)")); }), 3027);
        db.close();
        QCOMPARE(erroDe([&] { db.create(m_caminho); }), 3204);
        QCOMPARE(erroDe([&] { db.exec(QStringLiteral("SELECT 1")); }), 3420);
    }

    void diarioDeReversaoMesmoEmBancoWal()
    {
        {
            Database db(QStringLiteral("teste"));
            db.create(m_caminho);
            db.exec(QStringLiteral("CREATE TABLE t(x)"));
            QCOMPARE(db.scalar(QStringLiteral("PRAGMA journal_mode = WAL")).toString(), QStringLiteral("wal"));
        }
        Database db(QStringLiteral("teste"));
        db.open(m_caminho);
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
        criaCatalogo(m_caminho, 3);
        Database db(QStringLiteral("teste"));
        db.open(m_caminho);
        db.exec(QStringLiteral("CREATE UNIQUE INDEX NomeEVariante ON Tracos(NomeTraco, TracoVariante)"));
        QCOMPARE(erroDe([&] { db.exec(sql, valores); }), esperado);
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Tracos")).toInt(), 3);
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
        Database db(QStringLiteral("teste"));
        db.create(m_caminho);
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
