#include "clitestsupport.h"
#include "fixtures.h"
#include "testregistry.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using clitest::executa;
using clitest::paginasDoPdf;

class TestFichaCli : public QObject
{
    Q_OBJECT

private:
    PastaDeTeste m_pasta{true};

private slots:
    void storedMix_data();
    void storedMix();
    void refused_data();
    void refused();
    void experimentalMix();
    void experimentalMixRefused();
};

void TestFichaCli::storedMix_data()
{
    QTest::addColumn<QStringList>("opcoes");
    QTest::addColumn<QString>("titulo");

    QTest::newRow("variant asked for") << QStringList{"--nome", "Concreto fck 25", "--variante", "2"}
                                       << "Concreto fck 25 - 02";
    QTest::newRow("no variant: the one in use") << QStringList{"--nome", "Concreto fck 15"} << "Concreto fck 15 - 01";
    QTest::newRow("name with an apostrophe, options with =")
        << QStringList{"--nome=Traço d'Obra", "--variante=0"} << "Traço d'Obra - 00";
    QTest::newRow("blanks around the name") << QStringList{"--nome", " Contrapiso "} << "Contrapiso - 00";
}

void TestFichaCli::storedMix()
{
    QFETCH(QStringList, opcoes);
    QFETCH(QString, titulo);

    QVERIFY(m_pasta.valida());
    QTemporaryDir saida;
    const QString pdf = saida.filePath(QStringLiteral("ficha.pdf"));
    const clitest::Execucao run =
        executa(QStringList{QStringLiteral("ficha"), m_pasta.dados()} + opcoes + QStringList{"--pdf", pdf});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.mensagens(), QString());
    QCOMPARE(QString::fromUtf8(run.saida).trimmed(),
             QStringLiteral("Ficha do traço %1 gravada em %2").arg(titulo, pdf));
    QCOMPARE(paginasDoPdf(pdf), 1);
}

void TestFichaCli::refused_data()
{
    QTest::addColumn<QStringList>("argumentos");
    QTest::addColumn<QString>("mensagem");

    QTest::newRow("unknown mix") << QStringList{"--nome", "Concreto fck 90"}
                                 << "O traço \"Concreto fck 90\" não existe";
    QTest::newRow("unknown variant") << QStringList{"--nome", "Concreto fck 25", "--variante", "7"}
                                     << "O traço \"Concreto fck 25\" não tem a variante 07";
    QTest::newRow("variant not a number")
        << QStringList{"--nome", "Contrapiso", "--variante", "um"} << "A variante deve ser um número inteiro de 0 a 99";
    QTest::newRow("no name") << QStringList{} << "Informe o nome do traço com --nome.";
    QTest::newRow("unknown option") << QStringList{"--nome", "Contrapiso", "--png"} << "Opção desconhecida: --png";
    QTest::newRow("name given twice") << QStringList{"--nome", "a", "--nome", "b"} << "Informe --nome uma só vez.";
}

void TestFichaCli::refused()
{
    QFETCH(QStringList, argumentos);
    QFETCH(QString, mensagem);

    QTemporaryDir saida;
    const QString pdf = saida.filePath(QStringLiteral("ficha.pdf"));
    const clitest::Execucao run =
        executa(QStringList{QStringLiteral("ficha"), m_pasta.dados()} + argumentos + QStringList{"--pdf", pdf});
    QVERIFY2(run.recusada(mensagem), qPrintable(run.mensagens()));
    QVERIFY(QDir(saida.path()).isEmpty());
}

void TestFichaCli::experimentalMix()
{
    QTemporaryDir saida;
    const QString pdf = saida.filePath(QStringLiteral("experimental.pdf"));
    const clitest::Execucao run =
        executa({QStringLiteral("dosar"), QStringLiteral("--pdf"), pdf}, clitest::json(clitest::respostas()));
    QCOMPARE(run.status, 0);
    QCOMPARE(run.mensagens(), QString());
    // The design still goes to stdout.
    QCOMPARE(run.objeto().value(QStringLiteral("PropMassa")).toString(), QStringLiteral("1:1,56:2,80:0,49"));
    QCOMPARE(paginasDoPdf(pdf), 1);

    // With a data folder too.
    const QString outro = saida.filePath(QStringLiteral("com dados.pdf"));
    const clitest::Execucao comDados =
        executa({QStringLiteral("dosar"), QStringLiteral("--dados"), m_pasta.dados(), QStringLiteral("--pdf=") + outro},
                clitest::json(clitest::respostas()));
    QCOMPARE(comDados.status, 0);
    QCOMPARE(paginasDoPdf(outro), 1);
}

void TestFichaCli::experimentalMixRefused()
{
    QTemporaryDir saida;
    const QString pdf = saida.filePath(QStringLiteral("experimental.pdf"));

    // Without the bag's mass the sheet would show no quantities: neither it nor the design is written.
    QJsonObject semSaco = clitest::respostas();
    semSaco.remove(QStringLiteral("PesoSaco"));
    clitest::Execucao run = executa({QStringLiteral("dosar"), QStringLiteral("--pdf"), pdf}, clitest::json(semSaco));
    QVERIFY2(run.recusada(QStringLiteral("a ficha não foi gravada")), qPrintable(run.mensagens()));
    QVERIFY(!QFile::exists(pdf));

    // A folder that does not exist for the file.
    const QString semPasta = saida.filePath(QStringLiteral("nao/existe.pdf"));
    run = executa({QStringLiteral("dosar"), QStringLiteral("--pdf"), semPasta}, clitest::json(clitest::respostas()));
    QCOMPARE(run.status, 2);
    QVERIFY2(run.mensagens().contains(semPasta), qPrintable(run.mensagens()));
    QVERIFY(run.saida.isEmpty());

    // --pdf without its file.
    run = executa({QStringLiteral("dosar"), QStringLiteral("--pdf")}, clitest::json(clitest::respostas()));
    QCOMPARE(run.status, 2);
    QVERIFY2(run.mensagens().contains(QStringLiteral("A opção --pdf pede um valor.")), qPrintable(run.mensagens()));
}

QUENVAR_TEST(TestFichaCli)
#include "tst_ficha.moc"
