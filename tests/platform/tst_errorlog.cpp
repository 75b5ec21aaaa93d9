#include "testregistry.h"

#include "platform/database.h"
#include "platform/errorlog.h"
#include "platform/paths.h"
#include "platform/scripteddialogs.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
using platform::ErrorLog;

Q_DECLARE_METATYPE(platform::Dialogs::Icone)

class TestErrorLog : public QObject
{
    Q_OBJECT

private:
    static QByteArray le(const QString& arquivo)
    {
        QFile f(arquivo);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    const QDateTime m_momento{QDate(2026, 12, 4), QTime(14, 5, 33)};

private slots:
    // The header once, then one eight-line block per error. The record-move check passes its routine with CR LF
    // and the description: the block keeps its eight lines, the routine on one.
    void blocosDoArquivo()
    {
        QTemporaryDir dir;
        const QString arquivo = dir.filePath(QStringLiteral("Erros.txt"));
        QVERIFY(ErrorLog::acrescenta(arquivo, {QStringLiteral("Inserindo"), 3021, QStringLiteral("Sem registro")},
                                     m_momento));
        QVERIFY(ErrorLog::acrescenta(
            arquivo,
            {QStringLiteral("Erro de Validade\r\nCampo obrigatório"), 3022, QStringLiteral("Campo obrigatório")},
            m_momento));
        const auto bloco = [](const QByteArray& rotina, const QByteArray& numero, const QByteArray& descricao) {
            return "04/dezembro/2026  14:05\r\nUsu\xe1rio: \r\nPrograma: Quenvar\r\nRotina: " + rotina +
                   "\r\nVers\xe3o " QUENVAR_VERSAO "\r\nErro n\xfamero: " + numero +
                   "\r\nDescri\xe7\xe3o: " + descricao + "\r\n\r\n";
        };
        QCOMPARE(le(arquivo), "***** NAO APAGUE AS LINHAS ABAIXO *****\r\n\r\n" +
                                  bloco("Inserindo", "3021", "Sem registro") +
                                  bloco("Erro de Validade Campo obrigat\xf3rio", "3022", "Campo obrigat\xf3rio"));
    }

    void mensagemDoUsuario()
    {
        const QString m = ErrorLog::mensagem({QStringLiteral("Ordenar Traços"), 3043, QStringLiteral("Erro de disco")});
        QCOMPARE(m, QStringLiteral("Erro no Programa Quenvar. Informe as seguintes\r"
                                   "informações do erro ao desenvolvedor :\r\r"
                                   "Rotina em que houve o erro: Ordenar Traços\r"
                                   "Versão " QUENVAR_VERSAO "\r"
                                   "Erro número: 3043\r"
                                   "Descrição: Erro de disco"));
    }

    void arquivoSubstituidoOuProtegidoNaoEhErroDoPrograma_data()
    {
        QTest::addColumn<int>("numero");
        QTest::addColumn<bool>("trocado");
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<platform::Dialogs::Icone>("icone");
        const auto exclamacao = platform::Dialogs::Icone::Exclamacao;
        // A fault of the program tells which routine failed.
        QTest::newRow("erro do programa")
            << 3021 << false << "Tratamento de Erros"
            << ErrorLog::mensagem({QStringLiteral("Gravando"), 3021, QStringLiteral("descrição do mecanismo")})
            << platform::Dialogs::Icone::Critico;
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
        QFETCH(platform::Dialogs::Icone, icone);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("Dados")));
        const QString pasta = dir.path() + QLatin1Char('/');
        platform::Paths::definePastaDados(pasta);
        auto* dialogs = new platform::ScriptedDialogs;
        platform::Dialogs::instala(std::unique_ptr<platform::Dialogs>(dialogs));
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
        dialogs->aoMostrar([&](const platform::ScriptedDialogs::Mensagem&) {
            gravadoAntes = le(dir.filePath(QStringLiteral("Dados/Erros.txt")))
                               .contains("Erro n\xfamero: " + QByteArray::number(numero));
        });

        platform::MostraErro(QStringLiteral("Gravando"), numero, QStringLiteral("descrição do mecanismo"));
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
        auto* dialogs = new platform::ScriptedDialogs;
        platform::Dialogs::instala(std::unique_ptr<platform::Dialogs>(dialogs));
        for (const QString& pasta : {dir.filePath(QStringLiteral("inexistente/")), bloqueada + QLatin1Char('/')}) {
            platform::Paths::definePastaDados(pasta);
            platform::MostraErro(QStringLiteral("Excluindo Registro"), 3043, QStringLiteral("Erro de disco"));
            QVERIFY(!QFile::exists(pasta + QStringLiteral("Dados/Erros.txt")));
        }
        QCOMPARE(dialogs->mensagens().size(), 2);
        QVERIFY(dialogs->mensagens().last().texto.contains(QStringLiteral("Excluindo Registro")));
    }

    void doisProcessosNaoIntercalam()
    {
        QTemporaryDir dir;
        const QString arquivo = dir.filePath(QStringLiteral("Erros.txt"));
        const QString escritor = QCoreApplication::applicationDirPath() + QStringLiteral("/escritor_log");
        QProcess a, b;
        a.start(escritor, {arquivo, QStringLiteral("200"), QStringLiteral("A")});
        b.start(escritor, {arquivo, QStringLiteral("200"), QStringLiteral("B")});
        QVERIFY(a.waitForFinished(60000));
        QVERIFY(b.waitForFinished(60000));
        QCOMPARE(a.exitCode(), 0);
        QCOMPARE(b.exitCode(), 0);
        const QByteArray texto = le(arquivo);
        QVERIFY(texto.startsWith("***** NAO APAGUE AS LINHAS ABAIXO *****\r\n\r\n"));
        QCOMPARE(texto.count("NAO APAGUE"), 1);
        // Every block is whole: eight lines in order, and each writer's blocks in its own order.
        const QList<QByteArray> linhas = texto.mid(texto.indexOf("\r\n\r\n") + 4).split('\n');
        QCOMPARE(linhas.size(), 400 * 8 + 1);
        int proximo[2] = {0, 0};
        for (int i = 0; i < 400; ++i) {
            const QList<QByteArray> bloco = linhas.mid(i * 8, 8);
            QVERIFY(bloco.at(1).startsWith("Usu"));
            QVERIFY(bloco.at(2) == "Programa: Quenvar\r");
            QVERIFY(bloco.at(3).startsWith("Rotina: "));
            const char quem = bloco.at(3).at(8);
            QVERIFY(quem == 'A' || quem == 'B');
            const int n = bloco.at(3).mid(9).trimmed().toInt();
            QCOMPARE(n, proximo[quem - 'A']++);
            QCOMPARE(bloco.at(5), QByteArray("Erro n\xfamero: ") + QByteArray::number(3043 + n) + '\r');
            QVERIFY(bloco.at(7) == "\r");
        }
        QCOMPARE(proximo[0], 200);
        QCOMPARE(proximo[1], 200);
    }
};

QUENVAR_TEST(TestErrorLog)
#include "tst_errorlog.moc"
