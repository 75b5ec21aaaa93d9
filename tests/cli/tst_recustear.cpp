#include "clitestsupport.h"
#include "fixtures.h"
#include "testregistry.h"

#include "platform/database.h"
#include "printing/relatoriocustos.h"

#include <QTemporaryDir>
#include <QTest>

using clitest::executa;

namespace {

double custoDe(platform::Database& db, const QString& nome, int variante)
{
    return db
        .scalar(QStringLiteral("SELECT PrecoCustoComPerda FROM Tracos WHERE NomeTraco = ? AND TracoVariante = ?"),
                {nome, variante})
        .toDouble();
}

} // namespace

class TestRecustearCli : public QObject
{
    Q_OBJECT

private slots:
    // The dearer stone re-costs its one mix, whose line the report prints with both costs; a report that cannot be
    // written refuses the run before any cost is.
    void recusteiaEGravaORelatorio_data()
    {
        QTest::addColumn<QString>("pdf"); // under the temporary folder
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("saida");

        QTest::newRow("com relatório") << "custos.pdf" << 0
                                       << "1 traços com custo novo, 0 deixados de fora por falta de preço "
                                          "(12 examinados).";
        QTest::newRow("pasta do relatório não existe") << "nao/existe/custos.pdf" << 2 << "";
    }
    void recusteiaEGravaORelatorio()
    {
        QFETCH(QString, pdf);
        QFETCH(int, status);
        QFETCH(QString, saida);

        PastaDeTeste pasta;
        QVERIFY(pasta.valida());
        double antes = 0.0;
        {
            platform::Database db(QStringLiteral("teste-recustear"));
            db.open(pasta.local());
            db.exec(QStringLiteral("UPDATE Produtos SET PrecoCustoComPerda = 120 WHERE NomeProduto = 'Pedra 2'"));
            antes = custoDe(db, QStringLiteral("Concreto fck 25"), 1);
            db.close();
        }
        QTemporaryDir destino;
        const QString arquivo = destino.filePath(pdf);
        const clitest::Execucao run =
            executa({QStringLiteral("recustear"), pasta.dados(), QStringLiteral("--pdf"), arquivo});
        QCOMPARE(run.status, status);
        QCOMPARE(QString::fromUtf8(run.saida).section(QLatin1Char('\n'), 0, 0), saida);

        platform::Database db(QStringLiteral("teste-recustear"));
        db.open(pasta.local());
        const double depois = custoDe(db, QStringLiteral("Concreto fck 25"), 1);
        if (status != 0) {
            QVERIFY(!run.mensagens().isEmpty());
            QCOMPARE(depois, antes);
            return;
        }
        QVERIFY(depois > antes);
        QCOMPARE(printing::textoEmReais(1234.5), QStringLiteral("R$ 1.234,50"));
        const QString texto = QString::fromUtf8(clitest::textoDoPdf(arquivo, true));
        QVERIFY(texto.contains(printing::legendaDosCustos()));
        const QString linha =
            QStringLiteral("Concreto fck 25\\s+01\\s+%1\\s+%2\\s+%3")
                .arg(QRegularExpression::escape(printing::textoEmReais(antes)),
                     QRegularExpression::escape(printing::textoEmReais(depois)),
                     QRegularExpression::escape(printing::textoDaVariacao((depois - antes) / antes * 100.0)));
        QVERIFY2(texto.contains(QRegularExpression(linha)), qPrintable(texto));
    }
};

QUENVAR_TEST(TestRecustearCli)
#include "tst_recustear.moc"
