#include "testregistry.h"

#include "bancodeteste.h"

#include "catalogue/pastadados.h"
#include "platform/localdobanco.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using catalogue::PastaDados;
using Tipo = PastaDados::Escolha::Tipo;

Q_DECLARE_METATYPE(Tipo)

// What a workstation's first start does with the user's choice of data folder.
class TestEscolhaDaPasta : public QObject
{
    Q_OBJECT

private slots:
    void prepara_data()
    {
        QTest::addColumn<Tipo>("tipo");
        QTest::addColumn<QString>("pasta"); // @ is a folder with a catalogue, + one without
        QTest::addColumn<QString>("conexao");
        QTest::addColumn<QString>("mensagem"); // how the refusal begins; empty when it is made ready
        QTest::newRow("nova") << Tipo::Nova << QStringLiteral("nova") << QString() << QString();
        QTest::newRow("nova onde já há catálogo")
            << Tipo::Nova << QStringLiteral("@") << QString() << QStringLiteral("Já existe um banco de dados");
        QTest::newRow("existente") << Tipo::Existente << QStringLiteral("@") << QString() << QString();
        QTest::newRow("existente sem catálogo")
            << Tipo::Existente << QStringLiteral("+") << QString() << QStringLiteral("A pasta");
        QTest::newRow("sem pasta") << Tipo::Existente << QString() << QString()
                                   << QStringLiteral("Informe a pasta de dados.");
        QTest::newRow("servidor sem conexão")
            << Tipo::Servidor << QStringLiteral("srv") << QString() << QStringLiteral("Informe a conexão");
        QTest::newRow("servidor que não responde")
            << Tipo::Servidor << QStringLiteral("srv")
            << QStringLiteral("host=/nao/existe port=1 dbname=quenvar connect_timeout=2")
            << QStringLiteral("Não foi possível conectar ao servidor");
    }

    void prepara()
    {
        QFETCH(Tipo, tipo);
        QFETCH(QString, pasta);
        QFETCH(QString, conexao);
        QFETCH(QString, mensagem);
        QTemporaryDir dir;
        const QString comCatalogo = dir.path() + QStringLiteral("/com/");
        QVERIFY(PastaDados::cria(comCatalogo, false).ok);
        QVERIFY(QDir().mkpath(dir.path() + QStringLiteral("/sem")));
        const QString alvo = pasta == QLatin1String("@")   ? comCatalogo
                             : pasta == QLatin1String("+") ? dir.path() + QStringLiteral("/sem/")
                             : pasta.isEmpty()             ? QString()
                                                           : dir.path() + QLatin1Char('/') + pasta + QLatin1Char('/');
        const bool existia = QFileInfo::exists(alvo);

        const PastaDados::Resultado r = PastaDados::prepara({tipo, alvo, true, conexao});
        QVERIFY2(r.mensagem.startsWith(mensagem), qPrintable(r.mensagem));
        QCOMPARE(r.ok, mensagem.isEmpty());
        // A refused folder is left as it was found; a new one holds its catalogue.
        if (!r.ok && !alvo.isEmpty())
            QCOMPARE(QFileInfo::exists(alvo), existia);
        if (r.ok)
            QVERIFY(QFileInfo::exists(alvo + QStringLiteral("Dados/empresa.mdb")));
    }

    // On the server: the first workstation makes the catalogue there, the next one connects to it.
    void conectaAoServidor()
    {
        if (!teste::noServidor())
            QSKIP("Só com o servidor de teste (QUENVAR_TESTE_MOTOR=postgres).");
        QTemporaryDir dir;
        const teste::BancoNovo banco(dir.path() + QStringLiteral("/nao-usado.mdb"));
        for (const QString& estacao : {QStringLiteral("/primeira/"), QStringLiteral("/segunda/")}) {
            const QString pasta = dir.path() + estacao;
            const PastaDados::Resultado r = PastaDados::prepara({Tipo::Servidor, pasta, false, banco.conexao()});
            QVERIFY2(r.ok, qPrintable(r.mensagem));
            const platform::LocalDoBanco local = platform::LocalDoBanco::daPasta(pasta);
            QVERIFY(local.ehServidor());
            QCOMPARE(local.local, banco.conexao());
        }
    }
};

QUENVAR_TEST(TestEscolhaDaPasta)
#include "tst_escolhadapasta.moc"
