#include "clitestsupport.h"
#include "fixtures.h"
#include "testregistry.h"

#include "platform/database.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using clitest::executa;
using clitest::paginasDoPdf;

class TestRelatorioCli : public QObject
{
    Q_OBJECT

private:
    PastaDeTeste m_pasta{true};

private slots:
    void writesTheReport_data()
    {
        QTest::addColumn<QStringList>("opcoes");
        QTest::addColumn<QString>("saida");
        QTest::addColumn<int>("paginas");

        QTest::newRow("every mix") << QStringList{"--todos"} << "Relatório Quenvar - Todos (12 traços, 6 páginas)" << 6;
        QTest::newRow("mixes in use") << QStringList{"--em-uso"} << "Relatório Quenvar - Em Uso (7 traços, 4 páginas)"
                                      << 4;
    }

    void writesTheReport()
    {
        QFETCH(QStringList, opcoes);
        QFETCH(QString, saida);
        QFETCH(int, paginas);

        QVERIFY(m_pasta.valida());
        QTemporaryDir pasta;
        const QString pdf = pasta.filePath(QStringLiteral("relatório.pdf"));
        const clitest::Execucao run =
            executa(QStringList{QStringLiteral("relatorio"), m_pasta.dados(), QStringLiteral("--pdf=") + pdf} + opcoes);
        QCOMPARE(run.status, 0);
        QCOMPARE(run.mensagens(), QString());
        QCOMPARE(QString::fromUtf8(run.saida).trimmed(), saida + QStringLiteral(" gravado em ") + pdf);
        QCOMPARE(paginasDoPdf(pdf), paginas);
    }

    void refused_data()
    {
        QTest::addColumn<QStringList>("argumentos");
        QTest::addColumn<QString>("mensagem");

        QTest::newRow("no report chosen")
            << QStringList{"DADOS", "--pdf", "PDF"} << "Escolha um relatório: --todos ou --em-uso.";
        QTest::newRow("both reports") << QStringList{"DADOS", "--todos", "--em-uso", "--pdf", "PDF"}
                                      << "Escolha um relatório: --todos ou --em-uso.";
        QTest::newRow("no file") << QStringList{"DADOS", "--todos"} << "Informe o arquivo PDF com --pdf.";
        QTest::newRow("--pdf without its file")
            << QStringList{"DADOS", "--todos", "--pdf"} << "A opção --pdf pede um valor.";
        QTest::newRow("no folder") << QStringList{"--todos", "--pdf", "PDF"} << "Informe a pasta de dados.";
        QTest::newRow("two folders") << QStringList{"DADOS", "outra", "--todos", "--pdf", "PDF"}
                                     << "Informe uma só pasta de dados.";
        QTest::newRow("unknown option") << QStringList{"DADOS", "--todos", "--png", "--pdf", "PDF"}
                                        << "Opção desconhecida: --png";
        QTest::newRow("folder that does not exist")
            << QStringList{"/nao/existe/", "--todos", "--pdf", "PDF"} << "A pasta de dados /nao/existe/ não existe.";
        QTest::newRow("file in a folder that does not exist")
            << QStringList{"DADOS", "--todos", "--pdf", "SEM_PASTA"} << "SEM_PASTA";
    }

    void refused()
    {
        QFETCH(QStringList, argumentos);
        QFETCH(QString, mensagem);

        QTemporaryDir pasta;
        const QString pdf = pasta.filePath(QStringLiteral("r.pdf"));
        argumentos.replaceInStrings(QRegularExpression(QStringLiteral("^DADOS$")), m_pasta.dados());
        argumentos.replaceInStrings(QRegularExpression(QStringLiteral("^PDF$")), pdf);
        const QString semPasta = pasta.filePath(QStringLiteral("nao/existe.pdf"));
        argumentos.replaceInStrings(QRegularExpression(QStringLiteral("^SEM_PASTA$")), semPasta);
        mensagem.replace(QStringLiteral("SEM_PASTA"), semPasta);
        const clitest::Execucao run = executa(QStringList{QStringLiteral("relatorio")} + argumentos);
        QCOMPARE(run.status, 2);
        QVERIFY2(run.mensagens().contains(mensagem), qPrintable(run.mensagens()));
        QVERIFY(run.saida.isEmpty());
        QVERIFY(QDir(pasta.path()).isEmpty());
    }

    void nothingToReport_data()
    {
        QTest::addColumn<bool>("comTracos");
        QTest::addColumn<QString>("opcao");
        QTest::addColumn<QString>("mensagem");

        QTest::newRow("empty catalogue, every mix") << false << "--todos"
                                                    << "Não existe nenhum traço cadastrado.";
        QTest::newRow("empty catalogue, in use") << false << "--em-uso"
                                                 << "Não existe nenhum traço de plantão.";
        QTest::newRow("no mix in use") << true << "--em-uso"
                                       << "Não existe nenhum traço de plantão.";
    }

    void nothingToReport()
    {
        QFETCH(bool, comTracos);
        QFETCH(QString, opcao);
        QFETCH(QString, mensagem);

        PastaDeTeste dados(comTracos);
        QVERIFY(dados.valida());
        if (comTracos) {
            platform::Database banco(QStringLiteral("teste-relatorio-cli"));
            banco.open(dados.local());
            banco.exec(QStringLiteral("UPDATE Tracos SET Plantao = FALSE"));
            banco.close();
        }
        QTemporaryDir pasta;
        const QString pdf = pasta.filePath(QStringLiteral("r.pdf"));
        const clitest::Execucao run =
            executa({QStringLiteral("relatorio"), dados.dados(), opcao, QStringLiteral("--pdf"), pdf});
        QCOMPARE(run.status, 2);
        QCOMPARE(run.mensagens().trimmed(), mensagem);
        QVERIFY(run.saida.isEmpty());
        QVERIFY(!QFile::exists(pdf));
    }
};

QUENVAR_TEST(TestRelatorioCli)
#include "tst_relatorio.moc"
