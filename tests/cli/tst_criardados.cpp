#include "clitestsupport.h"
#include "testregistry.h"

#include "platform/database.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using clitest::executa;

namespace {

QByteArray resumo(const QString& arquivo)
{
    QFile f(arquivo);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

} // namespace

class TestCriarDados : public QObject
{
    Q_OBJECT

private slots:
    void newFolder_data();
    void newFolder();
    void existingDatabaseIsKept();
    void failedWriteLeavesNothing();
    void badArguments_data();
    void badArguments();
};

void TestCriarDados::newFolder_data()
{
    QTest::addColumn<bool>("demo");
    QTest::addColumn<int>("products");

    QTest::newRow("reference rows only") << false << 0;
    QTest::newRow("demo company") << true << 15;
}

void TestCriarDados::newFolder()
{
    QFETCH(bool, demo);
    QFETCH(int, products);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString pasta = dir.filePath(QStringLiteral("nova pasta"));
    QStringList argumentos{QStringLiteral("criar-dados"), pasta};
    if (demo)
        argumentos.append(QStringLiteral("--demo"));
    const clitest::Execucao run = executa(argumentos);
    QCOMPARE(run.status, 0);
    QCOMPARE(run.mensagens(), QString());

    const QString banco = pasta + QStringLiteral("/Dados/empresa.mdb");
    QVERIFY(QFileInfo(banco).isFile());
    platform::Database db(QStringLiteral("tst_criardados"));
    db.open(banco);
    QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Consistencias")).toInt(), 1);
    QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Produtos")).toInt(), products);
}

void TestCriarDados::existingDatabaseIsKept()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString pasta = dir.path() + QLatin1Char('/');
    QCOMPARE(executa({QStringLiteral("criar-dados"), pasta}).status, 0);
    const QString banco = pasta + QStringLiteral("Dados/empresa.mdb");
    const QByteArray antes = resumo(banco);
    const QDateTime modificado = QFileInfo(banco).lastModified();
    QVERIFY(!antes.isEmpty());

    const clitest::Execucao run = executa({QStringLiteral("criar-dados"), pasta, QStringLiteral("--demo")});
    QCOMPARE(run.status, 2);
    QCOMPARE(run.saida, QByteArray());
    QVERIFY2(run.mensagens().contains(QStringLiteral("Já existe")), run.erros.constData());
    QCOMPARE(resumo(banco), antes);
    QCOMPARE(QFileInfo(banco).lastModified(), modificado);
}

// A write that fails (here the logo, whose place is taken by a folder; a full disk does the same) is told, and
// nothing this run made stays: no database, no data folder.
void TestCriarDados::failedWriteLeavesNothing()
{
    QTemporaryDir dir;
    const QString pasta = dir.filePath(QStringLiteral("pasta"));
    QVERIFY(QDir().mkpath(pasta + QStringLiteral("/Imagens/logo.bmp")));
    const clitest::Execucao run = executa({QStringLiteral("criar-dados"), pasta, QStringLiteral("--demo")});
    QCOMPARE(run.status, 2);
    QVERIFY2(QString::fromUtf8(run.erros).contains(QStringLiteral("logotipo")), run.erros.constData());
    QVERIFY(!QFileInfo::exists(pasta + QStringLiteral("/Dados")));
    QVERIFY(QFileInfo(pasta + QStringLiteral("/Imagens/logo.bmp")).isDir());
}

void TestCriarDados::badArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("mention");

    QTest::newRow("no folder") << QStringList{} << "Uso";
    QTest::newRow("only --demo") << QStringList{"--demo"} << "Uso";
    QTest::newRow("unknown option") << QStringList{"pasta", "--exemplo"} << "--exemplo";
    QTest::newRow("two folders") << QStringList{"pasta1", "pasta2"} << "uma só pasta";
}

void TestCriarDados::badArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, mention);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // Relative folders land in the temporary folder, should the tool wrongly create them.
    QProcess processo;
    processo.setWorkingDirectory(dir.path());
    processo.start(QStringLiteral(QUENVAR_CLI), QStringList{QStringLiteral("criar-dados")} + arguments);
    QVERIFY(processo.waitForFinished(60000));
    QCOMPARE(processo.exitCode(), 2);
    QCOMPARE(processo.readAllStandardOutput(), QByteArray());
    const QByteArray erros = processo.readAllStandardError();
    QVERIFY2(QString::fromUtf8(erros).contains(mention), erros.constData());
    QVERIFY(QDir(dir.path()).isEmpty());
}

QUENVAR_TEST(TestCriarDados)
#include "tst_criardados.moc"
