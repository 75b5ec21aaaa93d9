#include "clitestsupport.h"
#include "fixtures.h"
#include "testregistry.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using clitest::executa;

class TestCompararCli : public QObject
{
    Q_OBJECT

private:
    PastaDeTeste m_pasta{true};

private slots:
    void comparar_data()
    {
        QTest::addColumn<QStringList>("argumentos");
        QTest::addColumn<bool>("pdf");
        QTest::addColumn<QStringList>("titulos");
        QTest::addColumn<QString>("mensagem");

        const QString f25 = QStringLiteral("Concreto fck 25");
        const QStringList cinco{"--traco", f25, "--traco", f25, "--traco", f25, "--traco", f25, "--traco", f25};
        QTest::newRow("json: the one in use and a variant asked for")
            << QStringList{"--traco", f25, "--traco", f25, "--variante", "2"} << false
            << QStringList{"Concreto fck 25 - 00", "Concreto fck 25 - 02"} << "";
        QTest::newRow("json: three names, an apostrophe and blanks")
            << QStringList{"--traco", "Concreto fck 15", "--traco=Traço d'Obra", "--traco", " Contrapiso "} << false
            << QStringList{"Concreto fck 15 - 01", "Traço d'Obra - 00", "Contrapiso - 00"} << "";
        QTest::newRow("pdf") << QStringList{"--traco", "Concreto fck 20", "--traco", "Concreto fck 20", "--variante=1"}
                             << true << QStringList{"Concreto fck 20 - 00", "Concreto fck 20 - 01"} << "";
        QTest::newRow("unknown name") << QStringList{"--traco", f25, "--traco", "Concreto fck 90"} << false
                                      << QStringList{} << "O traço \"Concreto fck 90\" não existe";
        QTest::newRow("unknown variant") << QStringList{"--traco", f25, "--traco", f25, "--variante", "7"} << true
                                         << QStringList{} << "O traço \"Concreto fck 25\" não tem a variante 07";
        QTest::newRow("one mix") << QStringList{"--traco", f25} << true << QStringList{}
                                 << "Escolha pelo menos 2 traços para comparar.";
        QTest::newRow("five mixes") << cinco << false << QStringList{}
                                    << "Escolha no máximo 4 traços para comparar; foram escolhidos 5.";
        QTest::newRow("variant before its mix") << QStringList{"--variante", "1", "--traco", f25, "--traco", f25}
                                                << false << QStringList{} << "Cada --variante vem logo depois";
    }

    void comparar()
    {
        QFETCH(QStringList, argumentos);
        QFETCH(bool, pdf);
        QFETCH(QStringList, titulos);
        QFETCH(QString, mensagem);

        QVERIFY(m_pasta.valida());
        QTemporaryDir saida;
        const QString arquivo = saida.filePath(QStringLiteral("comparacao.pdf"));
        QStringList opcoes = QStringList{QStringLiteral("comparar"), m_pasta.dados()} + argumentos;
        if (pdf)
            opcoes << QStringLiteral("--pdf") << arquivo;
        const clitest::Execucao run = executa(opcoes);

        if (!mensagem.isEmpty()) {
            QCOMPARE(run.status, 2);
            QVERIFY2(run.mensagens().contains(mensagem), qPrintable(run.mensagens()));
            QVERIFY(run.saida.isEmpty());
            QVERIFY(QDir(saida.path()).isEmpty());
            return;
        }
        QCOMPARE(run.status, 0);
        QCOMPARE(run.mensagens(), QString());
        if (pdf) {
            const QString texto = QString::fromUtf8(clitest::textoDoPdf(arquivo));
            QVERIFY2(texto.contains(QStringLiteral("Comparação de Traços")), qPrintable(texto));
            for (const QString& titulo : titulos)
                QVERIFY2(texto.contains(titulo), qPrintable(titulo));
            return;
        }

        // Each difference is the mix's figure less the first's, and its per cent is taken of the first's.
        const QJsonArray tracos = run.objeto().value(QStringLiteral("tracos")).toArray();
        QCOMPARE(tracos.size(), titulos.size());
        const QJsonObject base = tracos.first().toObject().value(QStringLiteral("valores")).toObject();
        int conferidas = 0;
        for (qsizetype i = 0; i < tracos.size(); ++i) {
            const QJsonObject traco = tracos[i].toObject();
            QCOMPARE(traco.value(QStringLiteral("titulo")).toString(), titulos[i]);
            const QJsonObject valores = traco.value(QStringLiteral("valores")).toObject();
            const QJsonObject diferencas = traco.value(QStringLiteral("diferencas")).toObject();
            QCOMPARE(diferencas.isEmpty(), i == 0);
            for (auto it = diferencas.begin(); it != diferencas.end(); ++it) {
                const QJsonObject d = it.value().toObject();
                const QJsonValue a = base.value(it.key());
                const QJsonValue b = valores.value(it.key());
                if (!a.isDouble() || !b.isDouble())
                    continue;
                const double esperada = b.toDouble() - a.toDouble();
                QVERIFY2(std::abs(d.value(QStringLiteral("absoluta")).toDouble() - esperada) < 1e-9,
                         qPrintable(it.key()));
                if (a.toDouble() != 0.0)
                    QVERIFY2(std::abs(d.value(QStringLiteral("percentual")).toDouble() -
                                      esperada / a.toDouble() * 100.0) < 1e-9,
                             qPrintable(it.key()));
                ++conferidas;
            }
        }
        QVERIFY(conferidas >= 10 * (tracos.size() - 1));
    }
};

QUENVAR_TEST(TestCompararCli)
#include "tst_comparar.moc"
