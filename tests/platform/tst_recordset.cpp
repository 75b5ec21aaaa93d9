#include "testregistry.h"

#include "dbtestutil.h"
#include "platform/database.h"
#include "platform/recordset.h"

#include <QHash>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using platform::Database;
using platform::RecordSet;
using teste::erroDe;

namespace {

const QString Catalogo = QStringLiteral("SELECT * FROM Tracos ORDER BY NomeTraco, TracoVariante;");

// "Nome/variante" of the current row, or an empty text when there is none.
QString atual(const RecordSet& rs)
{
    try {
        return rs.field(QStringLiteral("NomeTraco")).toString() + QLatin1Char('/') +
               rs.field(QStringLiteral("TracoVariante")).toString();
    } catch (const platform::DbError& erro) {
        if (erro.numero() != platform::SemRegistroCorrente)
            throw;
        return {};
    }
}

// Runs the moves written one letter each: First, Last, Next, Previous, Delete, Update, and X to close.
void anda(RecordSet& rs, const QString& movimentos)
{
    static const QHash<QString, void (RecordSet::*)()> acoes{
        {QStringLiteral("F"), &RecordSet::moveFirst},     {QStringLiteral("L"), &RecordSet::moveLast},
        {QStringLiteral("N"), &RecordSet::moveNext},      {QStringLiteral("P"), &RecordSet::movePrevious},
        {QStringLiteral("D"), &RecordSet::deleteCurrent}, {QStringLiteral("U"), &RecordSet::update},
        {QStringLiteral("X"), &RecordSet::close},
    };
    for (const QString& m : movimentos.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        QVERIFY2(acoes.contains(m), qPrintable(m));
        (rs.*acoes.value(m))();
    }
}

RecordSet::Predicado nomeIgual(const QString& nome)
{
    return [nome](const QSqlRecord& linha) { return linha.value(QStringLiteral("NomeTraco")).toString() == nome; };
}

} // namespace

class TestRecordSet : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_pasta;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<RecordSet> m_rs;

    // The catalogue in order: A/0, B/0, B/1, C/0 (written in the opposite order, so only the query sorts them).
    void criaTabelas(int mixes)
    {
        m_db->exec(QStringLiteral("CREATE TABLE Tracos(Codigo INTEGER PRIMARY KEY AUTOINCREMENT, NomeTraco TEXT NOT "
                                  "NULL, TracoVariante INTEGER NOT NULL DEFAULT 0, Plantao INTEGER NOT NULL DEFAULT 0, "
                                  "Peso REAL, UNIQUE(NomeTraco, TracoVariante))"));
        m_db->exec(QStringLiteral("CREATE TABLE Unidades(CodigoUnidade INTEGER, NomeUnidade TEXT)"));
        const QList<QVariantList> linhas{{QStringLiteral("C"), 0, 1, 2350.0},
                                         {QStringLiteral("B"), 1, 1, QVariant()},
                                         {QStringLiteral("B"), 0, 0, 2400.5},
                                         {QStringLiteral("A"), 0, 0, 2380.0}};
        for (int i = 0; i < mixes; ++i)
            m_db->exec(QStringLiteral("INSERT INTO Tracos(NomeTraco, TracoVariante, Plantao, Peso) VALUES(?,?,?,?)"),
                       linhas.at(linhas.size() - mixes + i));
        m_db->exec(QStringLiteral("INSERT INTO Unidades VALUES(1, 'kg'), (2, 'litro')"));
    }

    // A record set over the whole catalogue, kept until the end of the test.
    RecordSet& catalogo()
    {
        m_rs = std::make_unique<RecordSet>(*m_db);
        m_rs->setQuery(Catalogo);
        return *m_rs;
    }

    int linhasNaTabela() { return m_db->scalar(QStringLiteral("SELECT count(*) FROM Tracos")).toInt(); }

private slots:
    void init()
    {
        m_pasta = std::make_unique<QTemporaryDir>();
        m_db = std::make_unique<Database>(QStringLiteral("recordset"));
        m_db->create(m_pasta->filePath(QStringLiteral("empresa.mdb")));
        criaTabelas(4);
    }
    void cleanup()
    {
        m_rs.reset();
        m_db.reset();
        m_pasta.reset();
    }

    void navegacao_data()
    {
        QTest::addColumn<int>("mixes");
        QTest::addColumn<QString>("movimentos");
        QTest::addColumn<bool>("bof");
        QTest::addColumn<bool>("eof");
        QTest::addColumn<QString>("corrente");
        QTest::addColumn<int>("posicao");
        QTest::newRow("vazio ao abrir") << 0 << "" << true << true << "" << -1;
        QTest::newRow("vazio, todos os movimentos") << 0 << "F L N P" << true << true << "" << -1;
        QTest::newRow("abre no primeiro") << 4 << "" << false << false << "A/0" << 0;
        QTest::newRow("próximo") << 4 << "N" << false << false << "B/0" << 1;
        QTest::newRow("último") << 4 << "L" << false << false << "C/0" << 3;
        QTest::newRow("próximo passa do último") << 4 << "L N" << false << true << "" << -1;
        QTest::newRow("próximo no fim fica no fim") << 4 << "L N N N" << false << true << "" << -1;
        QTest::newRow("do fim volta ao último") << 4 << "L N P" << false << false << "C/0" << 3;
        QTest::newRow("anterior passa do primeiro") << 4 << "P" << true << false << "" << -1;
        QTest::newRow("do começo vai ao primeiro") << 4 << "P P N" << false << false << "A/0" << 0;
        QTest::newRow("primeiro depois do fim") << 4 << "L N F" << false << false << "A/0" << 0;
        QTest::newRow("um só: último e anterior") << 1 << "L P" << true << false << "" << -1;
    }
    void navegacao()
    {
        QFETCH(int, mixes);
        QFETCH(QString, movimentos);
        QFETCH(bool, bof);
        QFETCH(bool, eof);
        QFETCH(QString, corrente);
        QFETCH(int, posicao);
        m_db->exec(QStringLiteral("DROP TABLE Tracos"));
        m_db->exec(QStringLiteral("DROP TABLE Unidades"));
        criaTabelas(mixes);
        RecordSet& rs = catalogo();
        anda(rs, movimentos);
        QCOMPARE(rs.bof(), bof);
        QCOMPARE(rs.eof(), eof);
        QCOMPARE(atual(rs), corrente);
        QCOMPARE(rs.absolutePosition(), posicao);
        QCOMPARE(rs.recordCount(), mixes);
        if (corrente.isEmpty()) {
            QCOMPARE(erroDe([&] { rs.field(QStringLiteral("Codigo")); }), 3021);
            QCOMPARE(erroDe([&] { rs.bookmark(); }), 3021);
        }
    }

    void posicaoAbsoluta()
    {
        RecordSet& rs = catalogo();
        rs.setAbsolutePosition(2);
        QCOMPARE(atual(rs), QStringLiteral("B/1"));
        rs.moveNext();
        QCOMPARE(rs.absolutePosition(), 3);
        QCOMPARE(erroDe([&] { rs.setAbsolutePosition(4); }), 3001);
        QCOMPARE(erroDe([&] { rs.setAbsolutePosition(-1); }), 3001);
        QCOMPARE(atual(rs), QStringLiteral("C/0"));
    }

    void marcadores()
    {
        RecordSet& rs = catalogo();
        rs.setAbsolutePosition(2);
        const QVariant marcador = rs.bookmark();
        rs.setQuery(QStringLiteral("SELECT * FROM Tracos ORDER BY Peso DESC"));
        QVERIFY(atual(rs) != QStringLiteral("B/1"));
        rs.setBookmark(marcador);
        QCOMPARE(atual(rs), QStringLiteral("B/1"));
        QCOMPARE(rs.absolutePosition(), 3); // NULL sorts last in descending order
        rs.refresh();
        QCOMPARE(rs.absolutePosition(), 0);
        rs.setBookmark(marcador);
        QCOMPARE(atual(rs), QStringLiteral("B/1"));

        // The bookmark of a row that left the set is refused, and the set stays where it was.
        rs.findFirst(nomeIgual(QStringLiteral("A")));
        const QVariant deA = rs.bookmark();
        m_db->exec(QStringLiteral("DELETE FROM Tracos WHERE NomeTraco = 'A'"));
        rs.refresh();
        QCOMPARE(erroDe([&] { rs.setBookmark(deA); }), 3159);
        QCOMPARE(erroDe([&] { rs.setBookmark(QVariant()); }), 3159);
        QCOMPARE(atual(rs), QStringLiteral("B/0"));
    }

    void localizar_data()
    {
        QTest::addColumn<int>("inicio"); // -1: before the first row
        QTest::addColumn<QString>("busca");
        QTest::addColumn<bool>("achou");
        QTest::addColumn<int>("posicao");
        QTest::addColumn<QString>("nome");
        QTest::newRow("primeiro") << 3 << "first" << true << 1 << "B";
        QTest::newRow("último") << 0 << "last" << true << 2 << "B";
        QTest::newRow("próximo") << 1 << "next" << true << 2 << "B";
        QTest::newRow("próximo não passa do fim") << 2 << "next" << false << 2 << "B";
        QTest::newRow("próximo antes do começo") << -1 << "next" << true << 0 << "A";
        QTest::newRow("anterior") << 3 << "previous" << true << 2 << "B";
        QTest::newRow("anterior não volta além do começo") << 1 << "previous" << false << 1 << "B";
        QTest::newRow("primeiro sem achar fica onde estava") << 3 << "first" << false << 3 << "Z";
        QTest::newRow("último sem achar fica onde estava") << 1 << "last" << false << 1 << "Z";
    }
    void localizar()
    {
        QFETCH(int, inicio);
        QFETCH(QString, busca);
        QFETCH(QString, nome);
        QFETCH(bool, achou);
        QFETCH(int, posicao);
        RecordSet& rs = catalogo();
        if (inicio < 0)
            rs.movePrevious();
        else
            rs.setAbsolutePosition(inicio);
        const auto predicado = nomeIgual(nome);
        if (busca == QLatin1String("first"))
            rs.findFirst(predicado);
        else if (busca == QLatin1String("last"))
            rs.findLast(predicado);
        else if (busca == QLatin1String("next"))
            rs.findNext(predicado);
        else
            rs.findPrevious(predicado);
        QCOMPARE(rs.noMatch(), !achou);
        QCOMPARE(rs.absolutePosition(), posicao);
    }

    void incluirAlterarExcluir()
    {
        RecordSet& rs = catalogo();
        rs.moveLast();

        rs.addNew();
        QCOMPARE(rs.editMode(), RecordSet::EditMode::Adicionando);
        QVERIFY(rs.field(QStringLiteral("Codigo")).isNull());
        rs.setField(QStringLiteral("NomeTraco"), QStringLiteral("AA"));
        rs.update();
        QCOMPARE(rs.editMode(), RecordSet::EditMode::Nenhum);
        QCOMPARE(rs.recordCount(), 5);
        QCOMPARE(linhasNaTabela(), 5);
        QCOMPARE(atual(rs), QStringLiteral("C/0")); // adding does not move

        // The new row is counted at the end until the next refresh, and the table's defaults filled it.
        rs.setBookmark(rs.lastModified());
        QCOMPARE(rs.absolutePosition(), 4);
        QCOMPARE(rs.field(QStringLiteral("Codigo")), rs.lastModified());
        QCOMPARE(atual(rs), QStringLiteral("AA/0"));
        QCOMPARE(rs.field(QStringLiteral("Plantao")).toInt(), 0);
        QVERIFY(rs.field(QStringLiteral("Peso")).isNull());

        rs.edit();
        rs.setField(QStringLiteral("Peso"), 2410.25);
        QCOMPARE(rs.field(QStringLiteral("Peso")).toDouble(), 2410.25);
        rs.update();
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT Peso FROM Tracos WHERE NomeTraco = 'AA'")).toDouble(), 2410.25);
        QCOMPARE(rs.lastModified(), rs.bookmark());

        rs.refresh();
        QCOMPARE(atual(rs), QStringLiteral("A/0"));
        rs.moveNext();
        QCOMPARE(atual(rs), QStringLiteral("AA/0"));

        rs.deleteCurrent();
        QCOMPARE(rs.recordCount(), 4);
        QCOMPARE(linhasNaTabela(), 4);
        QCOMPARE(rs.absolutePosition(), -1);
        QCOMPARE(erroDe([&] { rs.field(QStringLiteral("NomeTraco")); }), 3021);
        QCOMPARE(erroDe([&] { rs.deleteCurrent(); }), 3021);
        QCOMPARE(erroDe([&] { rs.edit(); }), 3021);
    }

    // A row deleted through the set, or deleted elsewhere and taken out of it (retirada: its position), then a move.
    void excluirEMover_data()
    {
        QTest::addColumn<int>("posicao");
        QTest::addColumn<int>("retirada"); // -1: the current row, through the set
        QTest::addColumn<QString>("movimento");
        QTest::addColumn<bool>("eof");
        QTest::addColumn<bool>("bof");
        QTest::addColumn<QString>("corrente");
        QTest::newRow("do meio, próximo") << 1 << -1 << "N" << false << false << "B/1";
        QTest::newRow("do meio, anterior") << 1 << -1 << "P" << false << false << "A/0";
        QTest::newRow("o último, próximo") << 3 << -1 << "N" << true << false << "";
        QTest::newRow("o último, último") << 3 << -1 << "L" << false << false << "B/1";
        QTest::newRow("o primeiro, anterior") << 0 << -1 << "P" << false << true << "";
        QTest::newRow("o primeiro, próximo") << 0 << -1 << "N" << false << false << "B/0";
        QTest::newRow("de fora, o corrente") << 1 << 1 << "N" << false << false << "B/1";
        QTest::newRow("de fora, um antes do corrente") << 2 << 0 << "N" << false << false << "C/0";
    }
    void excluirEMover()
    {
        QFETCH(int, posicao);
        QFETCH(int, retirada);
        QFETCH(QString, movimento);
        QFETCH(QString, corrente);
        QFETCH(bool, eof);
        QFETCH(bool, bof);
        RecordSet& rs = catalogo();
        rs.setAbsolutePosition(posicao);
        if (retirada < 0) {
            anda(rs, QStringLiteral("D ") + movimento);
        } else {
            const qint64 chave = rs.chaveEm(retirada);
            m_db->exec(QStringLiteral("DELETE FROM Tracos WHERE Codigo = ?"), {chave});
            QVERIFY(rs.retiraChave(chave));
            QVERIFY(!rs.retiraChave(chave));
            anda(rs, movimento);
        }
        QCOMPARE(atual(rs), corrente);
        QCOMPARE(rs.eof(), eof);
        QCOMPARE(rs.bof(), bof);
        QCOMPARE(rs.recordCount(), 3);
    }

    void incluirNoFimContinuaNoFim()
    {
        RecordSet& rs = catalogo();
        rs.moveLast();
        rs.moveNext();
        rs.addNew();
        rs.setField(QStringLiteral("NomeTraco"), QStringLiteral("D"));
        rs.update();
        QVERIFY(rs.eof());
        rs.movePrevious();
        QCOMPARE(atual(rs), QStringLiteral("D/0"));
    }

    void gravacaoRecusadaContinuaEmEdicao_data()
    {
        QTest::addColumn<bool>("incluindo");
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QVariant>("valor");
        QTest::addColumn<int>("erro");
        QTest::newRow("inclusão repetindo nome e variante")
            << true << "NomeTraco" << QVariant(QStringLiteral("B")) << 3022;
        QTest::newRow("inclusão sem nome") << true << "Peso" << QVariant(2300.0) << 3314;
        QTest::newRow("alteração para nome nulo") << false << "NomeTraco" << QVariant() << 3314;
        QTest::newRow("alteração repetindo outra linha") << false << "TracoVariante" << QVariant(1) << 3022;
    }
    void gravacaoRecusadaContinuaEmEdicao()
    {
        QFETCH(bool, incluindo);
        QFETCH(QString, campo);
        QFETCH(QVariant, valor);
        QFETCH(int, erro);
        RecordSet& rs = catalogo();
        rs.setAbsolutePosition(1); // B/0
        if (incluindo)
            rs.addNew();
        else
            rs.edit();
        rs.setField(campo, valor);
        const RecordSet::EditMode modo = rs.editMode();
        QCOMPARE(erroDe([&] { rs.update(); }), erro);
        QCOMPARE(rs.editMode(), modo);
        QCOMPARE(rs.recordCount(), 4);
        QCOMPARE(linhasNaTabela(), 4);
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT count(*) FROM Tracos WHERE NomeTraco = 'B' AND "
                                             "TracoVariante = 0 AND Peso = 2400.5"))
                     .toInt(),
                 1);
        rs.cancelUpdate();
        QCOMPARE(atual(rs), QStringLiteral("B/0"));
        QCOMPARE(erroDe([&] { rs.cancelUpdate(); }), 3020);
        QCOMPARE(erroDe([&] { rs.setField(campo, valor); }), 3020);
    }

    void camposDesconhecidos()
    {
        RecordSet& rs = catalogo();
        QCOMPARE(erroDe([&] { rs.field(QStringLiteral("Resistencia")); }), 3265);
        rs.edit();
        QCOMPARE(erroDe([&] { rs.setField(QStringLiteral("Resistencia"), 30); }), 3265);
        // Field names are matched without regard to case, as the forms write them.
        QCOMPARE(rs.field(QStringLiteral("nometraco")).toString(), QStringLiteral("A"));
    }

    void tabelaSemChaveUsaONumeroDaLinha()
    {
        RecordSet rs(*m_db);
        rs.setTable(QStringLiteral("Unidades"));
        QVERIFY(rs.isUpdatable());
        rs.addNew();
        rs.setField(QStringLiteral("CodigoUnidade"), 3);
        rs.setField(QStringLiteral("NomeUnidade"), QStringLiteral("m3"));
        rs.update();
        rs.setBookmark(rs.lastModified());
        QCOMPARE(rs.field(QStringLiteral("NomeUnidade")).toString(), QStringLiteral("m3"));
        rs.moveFirst();
        rs.edit();
        rs.setField(QStringLiteral("NomeUnidade"), QStringLiteral("Kg"));
        rs.update();
        rs.moveNext();
        rs.deleteCurrent();
        QCOMPARE(rs.recordCount(), 2);
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT group_concat(NomeUnidade, ',') FROM Unidades ORDER BY rowid"))
                     .toString(),
                 QStringLiteral("Kg,m3"));
    }

    void quaisConsultasSaoAtualizaveis_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QVariantList>("valores");
        QTest::addColumn<bool>("atualizavel");
        QTest::addColumn<int>("linhas");
        QTest::newRow("catálogo") << Catalogo << QVariantList{} << true << 4;
        QTest::newRow("variantes de um nome") << "SELECT Tracos.TracoVariante, Tracos.NomeTraco FROM Tracos "
                                                 "WHERE NomeTraco = ? ORDER BY Tracos.TracoVariante; "
                                              << QVariantList{QStringLiteral("B")} << true << 2;
        QTest::newRow("com apelido") << "select t.* from Tracos as t where t.Plantao = 1" << QVariantList{} << true
                                     << 2;
        QTest::newRow("com limite") << "SELECT * FROM Tracos ORDER BY Codigo LIMIT 3" << QVariantList{} << true << 3;
        QTest::newRow("contagem") << "SELECT COUNT(*) AS Itens FROM Tracos WHERE Plantao = 1;" << QVariantList{}
                                  << false << 1;
        QTest::newRow("nomes distintos") << "SELECT DISTINCT Tracos.NomeTraco FROM Tracos ORDER BY  NomeTraco"
                                         << QVariantList{} << false << 3;
        QTest::newRow("junção") << "SELECT Tracos.NomeTraco, Unidades.NomeUnidade FROM Tracos, Unidades"
                                << QVariantList{} << false << 8;
        QTest::newRow("agrupada") << "SELECT NomeTraco, count(*) FROM Tracos GROUP BY NomeTraco" << QVariantList{}
                                  << false << 3;
        QTest::newRow("visão") << "SELECT * FROM EmUso" << QVariantList{} << false << 2;
    }
    void quaisConsultasSaoAtualizaveis()
    {
        QFETCH(QString, sql);
        QFETCH(QVariantList, valores);
        QFETCH(bool, atualizavel);
        QFETCH(int, linhas);
        m_db->exec(QStringLiteral("CREATE VIEW EmUso AS SELECT * FROM Tracos WHERE Plantao = 1"));
        RecordSet rs(*m_db);
        rs.setQuery(sql, valores);
        QCOMPARE(rs.isUpdatable(), atualizavel);
        QCOMPARE(rs.recordCount(), linhas);
        rs.moveLast();
        QVERIFY(!rs.record().isEmpty());
        if (!atualizavel) {
            QCOMPARE(erroDe([&] { rs.edit(); }), 3027);
            QCOMPARE(erroDe([&] { rs.addNew(); }), 3027);
            QCOMPARE(erroDe([&] { rs.deleteCurrent(); }), 3027);
        }
    }

    void consultaDeUmaTabelaGravaPelosSeusCampos()
    {
        RecordSet rs(*m_db);
        rs.setQuery(QStringLiteral("SELECT Tracos.TracoVariante, Tracos.NomeTraco FROM Tracos WHERE NomeTraco = ? "
                                   "ORDER BY Tracos.TracoVariante;"),
                    {QStringLiteral("B")});
        QCOMPARE(rs.record().count(), 2);
        rs.moveLast();
        rs.edit();
        rs.setField(QStringLiteral("NomeTraco"), QStringLiteral("E"));
        rs.update();
        // The row stays in the set until the next refresh, with what was written.
        QCOMPARE(atual(rs), QStringLiteral("E/1"));
        rs.refresh();
        QCOMPARE(rs.recordCount(), 1);
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT Plantao FROM Tracos WHERE NomeTraco = 'E'")).toInt(), 1);
    }

    void copiaTemCursorProprio()
    {
        RecordSet& rs = catalogo();
        const std::unique_ptr<RecordSet> copia = rs.clone();
        QCOMPARE(copia->recordCount(), 4);
        QCOMPARE(erroDe([&] { copia->field(QStringLiteral("NomeTraco")); }), 3021);
        copia->moveLast();
        QCOMPARE(atual(*copia), QStringLiteral("C/0"));
        QCOMPARE(atual(rs), QStringLiteral("A/0"));
        copia->findFirst(nomeIgual(QStringLiteral("B")));
        QCOMPARE(copia->absolutePosition(), 1);
        QCOMPARE(rs.absolutePosition(), 0);
        // A row deleted through one cursor is gone for the other as well.
        rs.moveLast();
        rs.deleteCurrent();
        QCOMPARE(copia->recordCount(), 4);
        copia->moveLast();
        QCOMPARE(erroDe([&] { copia->field(QStringLiteral("NomeTraco")); }), 3167);
    }

    void nomeComApostrofo()
    {
        const QString nome = QStringLiteral("Traço D'Ávila \"especial\"");
        RecordSet& rs = catalogo();
        rs.addNew();
        rs.setField(QStringLiteral("NomeTraco"), nome);
        rs.update();
        rs.refresh();
        rs.findFirst(nomeIgual(nome));
        QVERIFY(!rs.noMatch());
        QCOMPARE(rs.field(QStringLiteral("NomeTraco")).toString(), nome);

        RecordSet variantes(*m_db);
        variantes.setQuery(QStringLiteral("SELECT * FROM Tracos WHERE NomeTraco = ? ORDER BY TracoVariante; "), {nome});
        QCOMPARE(variantes.recordCount(), 1);
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT count(*) FROM Tracos WHERE NomeTraco = ?"), {nome}).toInt(), 1);
    }

    void validacaoRecebeOCodigoDaAcao_data()
    {
        QTest::addColumn<QString>("operacao");
        QTest::addColumn<QList<int>>("codigos");
        QTest::newRow("primeiro") << "F" << QList<int>{1};
        QTest::newRow("anterior") << "P" << QList<int>{2};
        QTest::newRow("próximo") << "N" << QList<int>{3};
        QTest::newRow("último") << "L" << QList<int>{4};
        QTest::newRow("incluir e gravar") << "addNew" << QList<int>{5, 6};
        QTest::newRow("alterar e gravar") << "edit" << QList<int>{6};
        QTest::newRow("excluir") << "D" << QList<int>{7};
        QTest::newRow("localizar") << "find" << QList<int>{8};
        QTest::newRow("marcador") << "bookmark" << QList<int>{9};
        QTest::newRow("fechar") << "X" << QList<int>{10};
    }
    void validacaoRecebeOCodigoDaAcao()
    {
        QFETCH(QString, operacao);
        QFETCH(QList<int>, codigos);
        RecordSet& rs = catalogo();
        rs.moveNext();
        const QVariant marcador = rs.bookmark();
        QList<int> recebidos;
        QList<bool> salvar;
        rs.setValidacao([&](int acao, bool& gravar) {
            recebidos << acao;
            salvar << gravar;
        });
        if (operacao == QLatin1String("find")) {
            rs.findFirst(nomeIgual(QStringLiteral("C")));
        } else if (operacao == QLatin1String("bookmark")) {
            rs.setBookmark(marcador);
        } else if (operacao == QLatin1String("addNew") || operacao == QLatin1String("edit")) {
            if (operacao == QLatin1String("addNew"))
                rs.addNew();
            else
                rs.edit();
            rs.setField(QStringLiteral("NomeTraco"), QStringLiteral("Z"));
            rs.update();
        } else {
            anda(rs, operacao);
        }
        QCOMPARE(recebidos, codigos);
        // The save flag is raised only for the writing of a row being added or edited.
        for (int i = 0; i < recebidos.size(); ++i)
            QCOMPARE(salvar.at(i), recebidos.at(i) == RecordSet::Atualizar);
    }

    void validacaoDecideSobreAlteracaoPendente_data()
    {
        QTest::addColumn<QString>("acao");
        QTest::addColumn<bool>("descarta");
        QTest::addColumn<QString>("nomeGravado");
        QTest::newRow("mover grava") << "N" << false << "Novo";
        QTest::newRow("mover descartando") << "N" << true << "A";
        QTest::newRow("gravar descartando") << "U" << true << "A";
        QTest::newRow("fechar grava") << "X" << false << "Novo";
        QTest::newRow("fechar descartando") << "X" << true << "A";
    }
    void validacaoDecideSobreAlteracaoPendente()
    {
        QFETCH(bool, descarta);
        QFETCH(QString, acao);
        QFETCH(QString, nomeGravado);
        RecordSet& rs = catalogo();
        const QVariant codigo = rs.field(QStringLiteral("Codigo"));
        bool recebeuSalvar = false;
        rs.setValidacao([&](int, bool& salvar) {
            recebeuSalvar = salvar;
            if (descarta)
                salvar = false;
        });
        rs.edit();
        rs.setField(QStringLiteral("NomeTraco"), QStringLiteral("Novo"));
        anda(rs, acao);
        QVERIFY(recebeuSalvar);
        QCOMPARE(rs.editMode(), RecordSet::EditMode::Nenhum);
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT NomeTraco FROM Tracos WHERE Codigo = ?"), {codigo}).toString(),
                 nomeGravado);
    }

    void catalogoGrande()
    {
        m_db->exec(QStringLiteral("DELETE FROM Tracos"));
        m_db->exec(QStringLiteral("WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 100000) "
                                  "INSERT INTO Tracos(NomeTraco, TracoVariante, Peso) "
                                  "SELECT printf('Traço %06d', 100001 - x), 0, x FROM n"));
        RecordSet& rs = catalogo();
        QCOMPARE(rs.recordCount(), 100000);
        QCOMPARE(atual(rs), QStringLiteral("Traço 000001/0"));
        rs.moveLast();
        QCOMPARE(atual(rs), QStringLiteral("Traço 100000/0"));
        QCOMPARE(rs.field(QStringLiteral("Peso")).toDouble(), 1.0);
        rs.findPrevious(nomeIgual(QStringLiteral("Traço 000002")));
        QCOMPARE(rs.absolutePosition(), 1);
    }
};

QUENVAR_TEST(TestRecordSet)
#include "tst_recordset.moc"
