#include "testregistry.h"

#include "platform/caminhodad.h"
#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using platform::CaminhoDad;

// The data folder is written down beside the executable, in the user's configuration or for the whole company, and
// the first of these that exists is the one read.
class TestCaminhoDad : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;

    static QString arquivoDe(const QString& lugar)
    {
        if (lugar == QLatin1String("programa"))
            return CaminhoDad::doPrograma();
        return lugar == QLatin1String("usuario") ? CaminhoDad::doUsuario() : CaminhoDad::daEmpresa();
    }

private slots:
    // The user's Caminho.dad of these tests lives in the test configuration, never in the real one.
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        platform::Paths::definePastaPrograma(m_dir->path() + QStringLiteral("/programa"));
        CaminhoDad::definePastaDaEmpresa(m_dir->path() + QStringLiteral("/etc"));
        QFile::remove(CaminhoDad::doUsuario());
    }

    void cleanup()
    {
        QFile::remove(CaminhoDad::doUsuario());
        CaminhoDad::definePastaDaEmpresa(QString());
        m_dir.reset();
    }

    void procuraNaOrdem_data()
    {
        QTest::addColumn<QStringList>("escritos");
        QTest::addColumn<QString>("vence");
        QTest::newRow("nenhum") << QStringList() << QString();
        QTest::newRow("só o da empresa") << QStringList{QStringLiteral("empresa")} << QStringLiteral("empresa");
        QTest::newRow("o do usuário antes do da empresa")
            << QStringList{QStringLiteral("empresa"), QStringLiteral("usuario")} << QStringLiteral("usuario");
        QTest::newRow("o do programa antes de todos")
            << QStringList{QStringLiteral("empresa"), QStringLiteral("usuario"), QStringLiteral("programa")}
            << QStringLiteral("programa");
    }

    void procuraNaOrdem()
    {
        QFETCH(QStringList, escritos);
        QFETCH(QString, vence);
        for (const QString& lugar : escritos)
            QVERIFY(CaminhoDad::grava(arquivoDe(lugar), QStringLiteral("/dados/") + lugar));
        const std::optional<CaminhoDad::Achado> achado = CaminhoDad::procura();
        QCOMPARE(achado.has_value(), !vence.isEmpty());
        if (achado) {
            QCOMPARE(achado->arquivo, arquivoDe(vence));
            QCOMPARE(achado->pastaDados, QStringLiteral("/dados/%1/").arg(vence));
        }
    }

    void mudancaVaiParaOArquivoEmUso_data()
    {
        QTest::addColumn<QString>("emUso");
        QTest::addColumn<QString>("gravado");
        QTest::newRow("primeiro início") << QString() << QStringLiteral("usuario");
        QTest::newRow("o do programa") << QStringLiteral("programa") << QStringLiteral("programa");
        QTest::newRow("o do usuário") << QStringLiteral("usuario") << QStringLiteral("usuario");
        QTest::newRow("o da empresa fica; o do usuário passa à frente")
            << QStringLiteral("empresa") << QStringLiteral("usuario");
    }

    void mudancaVaiParaOArquivoEmUso()
    {
        QFETCH(QString, emUso);
        QFETCH(QString, gravado);
        std::optional<CaminhoDad::Achado> achado;
        if (!emUso.isEmpty()) {
            QVERIFY(CaminhoDad::grava(arquivoDe(emUso), QStringLiteral("/dados/")));
            achado = CaminhoDad::procura();
        }
        QCOMPARE(CaminhoDad::paraGravar(achado), arquivoDe(gravado));
    }

    void gravaUmaLinhaLegivel()
    {
        QVERIFY(CaminhoDad::grava(CaminhoDad::doUsuario(), QStringLiteral("/dados/Concreção")));
        QCOMPARE(platform::Paths::primeiraLinha(CaminhoDad::doUsuario()), QStringLiteral("/dados/Concreção/"));

        // A file where the folder should be: nothing written, and the message names the file.
        QFile obstaculo(m_dir->path() + QStringLiteral("/arquivo"));
        QVERIFY(obstaculo.open(QIODevice::WriteOnly));
        obstaculo.close();
        const QString impossivel = m_dir->path() + QStringLiteral("/arquivo/Caminho.dad");
        QString erro;
        QVERIFY(!CaminhoDad::grava(impossivel, QStringLiteral("/dados/"), &erro));
        QVERIFY2(erro.contains(QDir::toNativeSeparators(impossivel)), qPrintable(erro));
    }
};

QUENVAR_TEST(TestCaminhoDad)
#include "tst_caminhodad.moc"
