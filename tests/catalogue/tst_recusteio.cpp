#include "testregistry.h"

#include "calc/calcstate.h"
#include "calc/carregatraco.h"
#include "calc/recalculo.h"
#include "catalogue/recusteio.h"
#include "catalogue/tabelaprodutos.h"
#include "fixtures.h"
#include "platform/clock.h"
#include "platform/database.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

using catalogue::Recusteio;
using catalogue::ResultadoDoRecusteio;
using platform::Database;

namespace {

const QDate kHoje(2026, 3, 16);

// The demonstration data folder, opened, with the clock pinned: the demo's quotations are a week old.
struct Catalogo
{
    Catalogo()
    {
        platform::Clock::fixa(QDateTime(kHoje.addDays(-30), QTime(9, 0)));
        pasta = std::make_unique<PastaDeTeste>();
        platform::Clock::fixa(QDateTime(kHoje, QTime(10, 0)));
        db.open(pasta->local());
    }
    ~Catalogo()
    {
        db.close();
        platform::Clock::fixa({});
    }
    std::unique_ptr<PastaDeTeste> pasta;
    Database db{QStringLiteral("teste-recusteio")};
};

// Every mix as "name/variant" with what a write changes: its version, costs and quotation date.
QMap<QString, QStringList> retrato(Database& db)
{
    QMap<QString, QStringList> linhas;
    QSqlQuery q = db.exec(QStringLiteral(
        "SELECT NomeTraco, TracoVariante, Versao, PrecoCustoSemPerda, PrecoCustoComPerda, DataCotacao FROM Tracos"));
    while (q.next()) {
        QStringList valores;
        for (int i = 2; i < 6; ++i)
            valores << q.value(i).toString();
        linhas.insert(QStringLiteral("%1/%2").arg(q.value(0).toString()).arg(q.value(1).toInt()), valores);
    }
    return linhas;
}

QByteArray hashDoArquivo(const Catalogo& c)
{
    if (teste::noServidor())
        return {};
    QFile arquivo(c.pasta->banco());
    if (!arquivo.open(QIODevice::ReadOnly))
        return "ilegível";
    return QCryptographicHash::hash(arquivo.readAll(), QCryptographicHash::Sha256);
}

QStringList mudados(const ResultadoDoRecusteio& r)
{
    QStringList nomes;
    for (const catalogue::CustoMudado& m : r.mudados)
        nomes << QStringLiteral("%1/%2").arg(m.nome).arg(m.variante);
    nomes.sort();
    return nomes;
}

} // namespace

class TestRecusteio : public QObject
{
    Q_OBJECT

private slots:
    // A price moves exactly the mixes that use the product; each is written recomputing to its stored costs, dated
    // today, its version counted; the others keep their rows; a second run writes nothing.
    void precoMoveQuemUsaOProduto_data()
    {
        QTest::addColumn<QString>("produto");
        QTest::addColumn<double>("fator");
        QTest::addColumn<bool>("soEmUso");
        QTest::addColumn<QStringList>("esperados");

        QTest::newRow("pedra de um só traço") << "Pedra 2" << 1.2 << false << QStringList{"Concreto fck 25/1"};
        QTest::newRow("cimento de dois traços")
            << "Cimento 25" << 0.9 << false << QStringList{"Concreto Magro/0", "Contrapiso/0"};
        QTest::newRow("segundo aditivo") << "Aditivo Superplastificante" << 1.5 << false
                                         << QStringList{"Concreto Bombeado fck 30/0"};
        QTest::newRow("só os em uso") << "Pedrisco" << 1.1 << true << QStringList{"Contrapiso/0",
                                                                                  "Concreto Aparente fck 30/0",
                                                                                  "Concreto Bombeado fck 30/0",
                                                                                  "Concreto fck 15/1",
                                                                                  "Concreto fck 20/0",
                                                                                  "Concreto fck 25/0"};
        QTest::newRow("sem mudança de preço") << "Pedra 2" << 1.0 << false << QStringList{};
    }
    void precoMoveQuemUsaOProduto()
    {
        QFETCH(QString, produto);
        QFETCH(double, fator);
        QFETCH(bool, soEmUso);
        QFETCH(QStringList, esperados);
        esperados.sort();

        Catalogo c;
        QVERIFY(c.pasta->valida());
        c.db.exec(
            QStringLiteral("UPDATE Produtos SET PrecoCustoComPerda = PrecoCustoComPerda * ? WHERE NomeProduto = ?"),
            {fator, produto});
        const QMap<QString, QStringList> antes = retrato(c.db);

        const ResultadoDoRecusteio r = Recusteio(c.db).executa(soEmUso);
        QVERIFY(!r.cancelado);
        QCOMPARE(mudados(r), esperados);
        QVERIFY(r.semPreco.isEmpty());
        for (const catalogue::CustoMudado& m : r.mudados) {
            QVERIFY(m.anterior);
            QCOMPARE(m.novo > *m.anterior, fator > 1.0);
            QCOMPARE(*m.variacao() > 0.0, fator > 1.0);
        }
        // Largest change first.
        for (qsizetype i = 1; i < r.mudados.size(); ++i)
            QVERIFY(qAbs(*r.mudados[i - 1].variacao()) >= qAbs(*r.mudados[i].variacao()));
        // The product priced anew is listed with its price, dated after the week-old quotations.
        if (!esperados.isEmpty()) {
            const auto achado = std::find_if(r.produtos.cbegin(), r.produtos.cend(),
                                             [&](const catalogue::PrecoAtual& p) { return p.nome == produto; });
            QVERIFY(achado != r.produtos.cend());
            QVERIFY(achado->preco && achado->data.isValid());
        }

        const QMap<QString, QStringList> depois = retrato(c.db);
        const catalogue::TabelaProdutos produtos(c.db);
        for (auto it = depois.cbegin(); it != depois.cend(); ++it) {
            if (!esperados.contains(it.key())) {
                QCOMPARE(it.value(), antes.value(it.key()));
                continue;
            }
            QCOMPARE(it.value().at(0).toLongLong(), antes.value(it.key()).at(0).toLongLong() + 1);
            QCOMPARE(it.value().at(3), kHoje.toString(QStringLiteral("dd-MM-yyyy")));
            // The row recomputes, from its own inputs, to exactly the costs it stores.
            QSqlQuery q =
                c.db.exec(QStringLiteral("SELECT * FROM Tracos WHERE NomeTraco = ? AND TracoVariante = ?"),
                          {it.key().section(QLatin1Char('/'), 0, 0), it.key().section(QLatin1Char('/'), 1).toInt()});
            QVERIFY(q.next());
            QVariantMap linha;
            for (int i = 0; i < q.record().count(); ++i)
                linha.insert(q.record().fieldName(i), q.value(i));
            calc::CalcState estado;
            calc::CarregaTraco(estado, linha, &produtos);
            calc::ReCalculo(estado, &produtos);
            QCOMPARE(linha.value(QStringLiteral("PrecoCustoSemPerda")).toDouble(), estado.custoSemPerda);
            QCOMPARE(linha.value(QStringLiteral("PrecoCustoComPerda")).toDouble(), estado.custoComPerda);
        }

        // Run again: nothing left to change, and nothing is written.
        const QByteArray hash = hashDoArquivo(c);
        const ResultadoDoRecusteio deNovo = Recusteio(c.db).executa(soEmUso);
        QCOMPARE(deNovo.mudados.size(), 0);
        QCOMPARE(retrato(c.db), depois);
        QCOMPARE(hashDoArquivo(c), hash);
    }

    // Cancelled at any step, even after rows were written inside the run, the database is as it was.
    void cancelarNaoMudaNada_data()
    {
        QTest::addColumn<int>("passo");
        QTest::newRow("no início") << 0;
        QTest::newRow("no meio, com traços já regravados") << 8;
        QTest::newRow("no fim") << 12;
    }
    void cancelarNaoMudaNada()
    {
        QFETCH(int, passo);
        Catalogo c;
        c.db.exec(QStringLiteral("UPDATE Produtos SET PrecoCustoComPerda = PrecoCustoComPerda * 1.25"));
        const QMap<QString, QStringList> antes = retrato(c.db);
        const QByteArray hash = hashDoArquivo(c);

        int chamadas = 0;
        const ResultadoDoRecusteio r = Recusteio(c.db).executa(false, [&](int feitos, int total) {
            ++chamadas;
            return feitos < passo || total == 0;
        });
        QVERIFY(r.cancelado);
        QCOMPARE(chamadas, passo + 1);
        QCOMPARE(retrato(c.db), antes);
        QCOMPARE(hashDoArquivo(c), hash);
    }

    // A mix a product lacks a price for is listed apart with the product, and left as it was, while the price that
    // moved re-costs the others.
    void semPrecoFicaDeFora_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QStringList>("deFora");
        QTest::addColumn<QString>("falta");
        QTest::addColumn<int>("mudam");

        QTest::newRow("preço nulo") << "UPDATE Produtos SET PrecoCustoComPerda = NULL WHERE NomeProduto = 'Pedra 2'"
                                    << QStringList{"Concreto fck 25/1"} << "Pedra 2" << 8;
        QTest::newRow("aditivo apagado") << "DELETE FROM Produtos WHERE NomeProduto = 'Aditivo Superplastificante'"
                                         << QStringList{"Concreto Bombeado fck 30/0"} << "(não cadastrado)" << 9;
        QTest::newRow("mão-de-obra sem preço")
            << QString::fromUtf8("UPDATE Produtos SET PrecoCustoComPerda = NULL WHERE NomeProduto = 'Mão-de-Obra'")
            << QStringList{"Concreto Magro/0",           "Concreto fck 15/0", "Concreto fck 15/1",
                           "Concreto fck 20/0",          "Concreto fck 20/1", "Concreto fck 25/0",
                           "Concreto fck 25/1",          "Concreto fck 25/2", "Concreto Bombeado fck 30/0",
                           "Concreto Aparente fck 30/0", "Contrapiso/0",      "Traço d'Obra/0"}
            << "Mão-de-Obra" << 0;
    }
    void semPrecoFicaDeFora()
    {
        QFETCH(QString, sql);
        QFETCH(QStringList, deFora);
        QFETCH(QString, falta);
        QFETCH(int, mudam);
        deFora.sort();

        Catalogo c;
        c.db.exec(sql);
        // Cement 32 dearer: every mix but the two of cement 25 would move.
        c.db.exec(QStringLiteral("UPDATE Produtos SET PrecoCustoComPerda = 40 WHERE NomeProduto = 'Cimento 32'"));
        const QMap<QString, QStringList> antes = retrato(c.db);

        const ResultadoDoRecusteio r = Recusteio(c.db).executa(false);
        QStringList listados;
        for (const catalogue::TracoSemPreco& s : r.semPreco) {
            listados << QStringLiteral("%1/%2").arg(s.nome).arg(s.variante);
            QVERIFY2(s.produtos.join(QLatin1Char(',')).contains(falta), qPrintable(s.produtos.join(QLatin1Char(','))));
        }
        listados.sort();
        QCOMPARE(listados, deFora);
        QCOMPARE(r.mudados.size(), mudam);
        const QMap<QString, QStringList> depois = retrato(c.db);
        for (const QString& traco : std::as_const(deFora))
            QCOMPARE(depois.value(traco), antes.value(traco));
    }
};

QUENVAR_TEST(TestRecusteio)
#include "tst_recusteio.moc"
