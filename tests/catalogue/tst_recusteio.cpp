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

namespace {

const QDate kHoje(2026, 3, 16);

// The demonstration catalogue, made a month ago (its quotations a week older) and opened today.
struct Demo
{
    Demo()
    {
        platform::Clock::fixa(QDateTime(kHoje.addDays(-30), QTime(9, 0)));
        pasta = std::make_unique<PastaDeTeste>();
        platform::Clock::fixa(QDateTime(kHoje, QTime(10, 0)));
        db.open(pasta->local());
    }
    ~Demo()
    {
        db.close();
        platform::Clock::fixa({});
    }
    // Every mix as "name/variant" with what a write changes (version, costs, quotation), and on SQLite the file's
    // hash: equal pictures, nothing written.
    QMap<QString, QStringList> retrato()
    {
        QMap<QString, QStringList> linhas;
        QSqlQuery q = db.exec(QStringLiteral("SELECT NomeTraco, TracoVariante, Versao, PrecoCustoSemPerda, "
                                             "PrecoCustoComPerda, DataCotacao FROM Tracos"));
        while (q.next())
            linhas.insert(QStringLiteral("%1/%2").arg(q.value(0).toString()).arg(q.value(1).toInt()),
                          {q.value(2).toString(), q.value(3).toString(), q.value(4).toString(), q.value(5).toString()});
        QFile arquivo(pasta->banco());
        if (!teste::noServidor() && arquivo.open(QIODevice::ReadOnly))
            linhas.insert(QStringLiteral("arquivo"),
                          {QCryptographicHash::hash(arquivo.readAll(), QCryptographicHash::Sha256).toHex()});
        return linhas;
    }
    std::unique_ptr<PastaDeTeste> pasta;
    platform::Database db{QStringLiteral("teste-recusteio")};
};

template <typename Traco> QStringList nomes(const QList<Traco>& tracos)
{
    QStringList lista;
    for (const Traco& t : tracos)
        lista << QStringLiteral("%1/%2").arg(t.nome).arg(t.variante);
    lista.sort();
    return lista;
}

} // namespace

class TestRecusteio : public QObject
{
    Q_OBJECT

private slots:
    // A price moves exactly the mixes that use the product: each is written recomputing to its stored costs, dated
    // today, its version counted, largest change first; the others keep their rows; a second run writes nothing.
    void precoMoveQuemUsaOProduto_data()
    {
        QTest::addColumn<QString>("produto");
        QTest::addColumn<double>("fator");
        QTest::addColumn<bool>("soEmUso");
        QTest::addColumn<QStringList>("esperados");

        QTest::newRow("pedra de um só traço") << "Pedra 2" << 1.2 << false << QStringList{"Concreto fck 25/1"};
        QTest::newRow("cimento mais barato")
            << "Cimento 25" << 0.9 << false << QStringList{"Concreto Magro/0", "Contrapiso/0"};
        QTest::newRow("segundo aditivo") << "Aditivo Superplastificante" << 1.5 << false
                                         << QStringList{"Concreto Bombeado fck 30/0"};
        QTest::newRow("só os em uso") << "Pedrisco" << 1.1 << true
                                      << QStringList{"Concreto Aparente fck 30/0", "Concreto Bombeado fck 30/0",
                                                     "Concreto fck 15/1",          "Concreto fck 20/0",
                                                     "Concreto fck 25/0",          "Contrapiso/0"};
        QTest::newRow("preço igual") << "Pedra 2" << 1.0 << false << QStringList{};
    }
    void precoMoveQuemUsaOProduto()
    {
        QFETCH(QString, produto);
        QFETCH(double, fator);
        QFETCH(bool, soEmUso);
        QFETCH(QStringList, esperados);

        Demo c;
        c.db.exec(QStringLiteral("UPDATE Produtos SET PrecoCustoComPerda = PrecoCustoComPerda * ? "
                                 "WHERE NomeProduto = ?"),
                  {fator, produto});
        const QMap<QString, QStringList> antes = c.retrato();
        const ResultadoDoRecusteio r = Recusteio(c.db).executa(soEmUso);
        QCOMPARE(nomes(r.mudados), esperados);
        for (qsizetype i = 0; i < r.mudados.size(); ++i) {
            QCOMPARE(*r.mudados[i].variacao() > 0.0, fator > 1.0);
            // Largest change first.
            if (i > 0)
                QCOMPARE_GE(qAbs(*r.mudados[i - 1].variacao()), qAbs(*r.mudados[i].variacao()));
        }

        const QMap<QString, QStringList> depois = c.retrato();
        const catalogue::TabelaProdutos produtos(c.db);
        for (auto it = depois.cbegin(); it != depois.cend(); ++it) {
            if (!esperados.contains(it.key())) {
                if (it.key().contains(QLatin1Char('/')) || esperados.isEmpty())
                    QCOMPARE(it.value(), antes.value(it.key()));
                continue;
            }
            QCOMPARE(it.value().at(0).toLongLong(), antes.value(it.key()).at(0).toLongLong() + 1);
            QCOMPARE(it.value().at(3), kHoje.toString(QStringLiteral("dd-MM-yyyy")));
            QSqlQuery q = c.db.exec(QStringLiteral("SELECT * FROM Tracos WHERE NomeTraco = ? AND TracoVariante = ?"),
                                    {it.key().section(QLatin1Char('/'), 0, 0), it.key().section(QLatin1Char('/'), 1)});
            QVERIFY(q.next());
            const QSqlRecord linha = q.record();
            calc::CalcState estado;
            calc::CarregaTraco(
                estado, [&linha](const QString& campo) { return linha.value(campo); }, &produtos);
            calc::ReCalculo(estado, &produtos);
            QCOMPARE(linha.value(QStringLiteral("PrecoCustoSemPerda")).toDouble(), estado.custoSemPerda);
            QCOMPARE(linha.value(QStringLiteral("PrecoCustoComPerda")).toDouble(), estado.custoComPerda);
        }

        QCOMPARE(Recusteio(c.db).executa(soEmUso).mudados.size(), 0);
        QCOMPARE(c.retrato(), depois);
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
        Demo c;
        c.db.exec(QStringLiteral("UPDATE Produtos SET PrecoCustoComPerda = PrecoCustoComPerda * 1.25"));
        const QMap<QString, QStringList> antes = c.retrato();
        int chamadas = 0;
        const ResultadoDoRecusteio r = Recusteio(c.db).executa(false, [&](int feitos, int) {
            ++chamadas;
            return feitos < passo;
        });
        QVERIFY(r.cancelado);
        QCOMPARE(chamadas, passo + 1);
        QCOMPARE(c.retrato(), antes);
    }

    // A mix a product lacks a price for is listed apart with the product and left as it was, while the dearer cement
    // re-costs the other mixes that use it.
    void semPrecoFicaDeFora_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QStringList>("deFora"); // empty: every mix
        QTest::addColumn<QString>("falta");
        QTest::addColumn<int>("mudam");

        QTest::newRow("preço nulo") << "UPDATE Produtos SET PrecoCustoComPerda = NULL WHERE NomeProduto = 'Pedra 2'"
                                    << QStringList{"Concreto fck 25/1"} << "Pedra 2" << 8;
        QTest::newRow("aditivo apagado") << "DELETE FROM Produtos WHERE NomeProduto = 'Aditivo Superplastificante'"
                                         << QStringList{"Concreto Bombeado fck 30/0"} << "(não cadastrado)" << 9;
        QTest::newRow("mão-de-obra sem preço")
            << QString::fromUtf8("UPDATE Produtos SET PrecoCustoComPerda = NULL WHERE NomeProduto = 'Mão-de-Obra'")
            << QStringList{} << "Mão-de-Obra" << 0;
    }
    void semPrecoFicaDeFora()
    {
        QFETCH(QString, sql);
        QFETCH(QStringList, deFora);
        QFETCH(QString, falta);
        QFETCH(int, mudam);

        Demo c;
        c.db.exec(sql);
        c.db.exec(QStringLiteral("UPDATE Produtos SET PrecoCustoComPerda = 40 WHERE NomeProduto = 'Cimento 32'"));
        const QMap<QString, QStringList> antes = c.retrato();
        const ResultadoDoRecusteio r = Recusteio(c.db).executa(false);
        QCOMPARE(nomes(r.semPreco), deFora.isEmpty() ? QStringList(antes.keys()).filter(QStringLiteral("/")) : deFora);
        for (const catalogue::TracoSemPreco& s : r.semPreco) {
            QVERIFY2(s.produtos.join(QLatin1Char(',')).contains(falta), qPrintable(s.produtos.join(QLatin1Char(','))));
            QCOMPARE(c.retrato().value(QStringLiteral("%1/%2").arg(s.nome).arg(s.variante)),
                     antes.value(QStringLiteral("%1/%2").arg(s.nome).arg(s.variante)));
        }
        QCOMPARE(r.mudados.size(), mudam);
    }
};

QUENVAR_TEST(TestRecusteio)
#include "tst_recusteio.moc"
