#include "paginas.h"
#include "testregistry.h"

#include "desktop/mostraerro.h"
#include "desktop/scripteddialogs.h"
#include "platform/database.h"
#include "platform/errorlog.h"
#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using platform::ErrorLog;

Q_DECLARE_METATYPE(desktop::Dialogs::Icone)

// An error is written to the data folder's log before the user is told of it, in the program's words or in words
// saying what to do.
class TestMostraErro : public QObject
{
    Q_OBJECT

private slots:
    void arquivoSubstituidoOuProtegidoNaoEhErroDoPrograma_data()
    {
        QTest::addColumn<int>("numero");
        QTest::addColumn<bool>("trocado");
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<desktop::Dialogs::Icone>("icone");
        const auto exclamacao = desktop::Dialogs::Icone::Exclamacao;
        // A fault of the program tells which routine failed.
        QTest::newRow("erro do programa")
            << 3021 << false << "Tratamento de Erros"
            << ErrorLog::mensagem({QStringLiteral("Gravando"), 3021, QStringLiteral("descrição do mecanismo")})
            << desktop::Dialogs::Icone::Critico;
        const QString reparado = QStringLiteral("O banco de dados foi reparado em outra estação.\r"
                                                "Feche o Quenvar e abra-o de novo.");
        QTest::newRow("reparado em outra estação")
            << 3734 << false << "Banco de dados substituído" << reparado << exclamacao;
        QTest::newRow("página danificada do arquivo trocado")
            << 3049 << true << "Banco de dados substituído" << reparado << exclamacao;
        QTest::newRow("pasta protegida contra gravação")
            << 3027 << false << "Somente leitura"
            << "Não foi possível gravar: a pasta de dados @PASTA@ está protegida contra gravação." << exclamacao;
        QTest::newRow("banco preso por outra estação")
            << 3218 << false << "Banco de dados ocupado"
            << "O banco de dados está sendo usado por outra estação e não pôde ser gravado agora.\r"
               "Tente de novo em alguns instantes."
            << exclamacao;
        QTest::newRow("disco cheio")
            << 3026 << false << "Disco cheio"
            << "Não há espaço livre no disco da pasta de dados.\rLibere espaço e tente de novo." << exclamacao;
    }
    void arquivoSubstituidoOuProtegidoNaoEhErroDoPrograma()
    {
        QFETCH(int, numero);
        QFETCH(bool, trocado);
        QFETCH(QString, titulo);
        QFETCH(QString, texto);
        QFETCH(desktop::Dialogs::Icone, icone);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("Dados")));
        const QString pasta = dir.path() + QLatin1Char('/');
        platform::Paths::definePastaDados(pasta);
        auto* dialogs = new desktop::ScriptedDialogs;
        desktop::Dialogs::instala(std::unique_ptr<desktop::Dialogs>(dialogs));
        // The program's database, whose file another workstation puts aside for a new one.
        const QString banco = dir.filePath(QStringLiteral("Dados/empresa.mdb"));
        platform::Database& db = platform::Database::shared();
        db.create(banco);
        if (trocado) {
            QVERIFY(QFile::rename(banco, banco + QStringLiteral(".danificado")));
            QVERIFY(QFile::copy(banco + QStringLiteral(".danificado"), banco));
        }

        // The scripted answer runs while the message is up: the administrator's block must already be in the log.
        bool gravadoAntes = false;
        dialogs->aoMostrar([&](const desktop::ScriptedDialogs::Mensagem&) {
            gravadoAntes = teste::conteudoDe(dir.filePath(QStringLiteral("Dados/Erros.txt")))
                               .contains("Erro n\xfamero: " + QByteArray::number(numero));
        });

        desktop::MostraErro(QStringLiteral("Gravando"), numero, QStringLiteral("descrição do mecanismo"));
        db.close();

        QCOMPARE(dialogs->mensagens().size(), 1);
        QCOMPARE(dialogs->mensagens().first().titulo, titulo);
        QCOMPARE(dialogs->mensagens().first().texto, texto.replace(QStringLiteral("@PASTA@"), pasta + "Dados"));
        QCOMPARE(dialogs->mensagens().first().icone, icone);
        QVERIFY(gravadoAntes);
    }

    void logInacessivelAindaMostraMensagem()
    {
        QTemporaryDir dir;
        // The data folder has no Dados folder at all, and one where Dados is a file: no one can write the log
        // there, not even the administrator.
        const QString bloqueada = dir.filePath(QStringLiteral("bloqueada"));
        QVERIFY(QDir().mkpath(bloqueada));
        QFile dados(bloqueada + QStringLiteral("/Dados"));
        QVERIFY(dados.open(QIODevice::WriteOnly));
        dados.close();
        auto* dialogs = new desktop::ScriptedDialogs;
        desktop::Dialogs::instala(std::unique_ptr<desktop::Dialogs>(dialogs));
        for (const QString& pasta : {dir.filePath(QStringLiteral("inexistente/")), bloqueada + QLatin1Char('/')}) {
            platform::Paths::definePastaDados(pasta);
            desktop::MostraErro(QStringLiteral("Excluindo Registro"), 3043, QStringLiteral("Erro de disco"));
            QVERIFY(!QFile::exists(pasta + QStringLiteral("Dados/Erros.txt")));
        }
        QCOMPARE(dialogs->mensagens().size(), 2);
        QVERIFY(dialogs->mensagens().last().texto.contains(QStringLiteral("Excluindo Registro")));
    }
};

QUENVAR_TEST(TestMostraErro)
#include "tst_mostraerro.moc"
