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
            QVERIFY2(run.recusada(mensagem), qPrintable(run.mensagens()));
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

        // The mixes in the order asked, and the second's cement as the first's plus its difference.
        const QJsonArray tracos = run.objeto().value(QStringLiteral("tracos")).toArray();
        QCOMPARE(tracos.size(), titulos.size());
        for (qsizetype i = 0; i < tracos.size(); ++i)
            QCOMPARE(tracos[i].toObject().value(QStringLiteral("titulo")).toString(), titulos[i]);
        const auto cimento = [&](int i, const char* parte) {
            return tracos[i].toObject().value(QLatin1String(parte)).toObject().value(QStringLiteral("Cimento"));
        };
        const double diferenca = cimento(1, "diferencas").toObject().value(QStringLiteral("absoluta")).toDouble();
        QVERIFY(std::abs(cimento(0, "valores").toDouble() + diferenca - cimento(1, "valores").toDouble()) < 1e-9);
        QVERIFY(cimento(0, "diferencas").isUndefined());
    }
};

QUENVAR_TEST(TestCompararCli)
#include "tst_comparar.moc"
