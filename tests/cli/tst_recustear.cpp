#include "clitestsupport.h"
#include "fixtures.h"
#include "testregistry.h"

#include "platform/database.h"
#include "printing/relatoriocustos.h"

#include <QTemporaryDir>
#include <QTest>

class TestRecustearCli : public QObject
{
    Q_OBJECT

private slots:
    // The dearer stone re-costs its one mix, whose line the report prints with both costs and the change.
    void recusteiaEGravaORelatorio()
    {
        PastaDeTeste pasta;
        platform::Database db(QStringLiteral("teste-recustear"));
        db.open(pasta.local());
        const QString custo = QStringLiteral(
            "SELECT PrecoCustoComPerda FROM Tracos WHERE NomeTraco = 'Concreto fck 25' AND TracoVariante = 1");
        db.exec(QStringLiteral("UPDATE Produtos SET PrecoCustoComPerda = 120 WHERE NomeProduto = 'Pedra 2'"));
        const double antes = db.scalar(custo).toDouble();

        QTemporaryDir destino;
        const QString pdf = destino.filePath(QStringLiteral("custos.pdf"));
        const clitest::Execucao run =
            clitest::executa({QStringLiteral("recustear"), pasta.dados(), QStringLiteral("--pdf"), pdf});
        QCOMPARE(run.status, 0);
        QCOMPARE(QString::fromUtf8(run.saida).section(QLatin1Char('\n'), 0, 0),
                 QStringLiteral("1 traços com custo novo, 0 deixados de fora por falta de preço (12 examinados)."));
        const double depois = db.scalar(custo).toDouble();
        QVERIFY(depois > antes);

        // Brazilian figures: R$ with two decimals after a comma, the change signed.
        QCOMPARE(printing::textoEmReais(1234.5), QStringLiteral("R$ 1.234,50"));
        const QString linha =
            QStringLiteral("Concreto fck 25\\s+01\\s+%1\\s+%2\\s+%3")
                .arg(QRegularExpression::escape(printing::textoEmReais(antes)),
                     QRegularExpression::escape(printing::textoEmReais(depois)),
                     QRegularExpression::escape(printing::textoDaVariacao((depois - antes) / antes * 100.0)));
        const QString texto = QString::fromUtf8(clitest::textoDoPdf(pdf, true));
        QVERIFY2(texto.contains(QRegularExpression(linha)), qPrintable(texto));
        db.close();
    }
};

QUENVAR_TEST(TestRecustearCli)
#include "tst_recustear.moc"
