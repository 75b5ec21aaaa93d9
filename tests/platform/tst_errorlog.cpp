#include "paginas.h"
#include "testregistry.h"

#include "platform/errorlog.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
using platform::ErrorLog;

class TestErrorLog : public QObject
{
    Q_OBJECT

private:
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
        QCOMPARE(teste::conteudoDe(arquivo),
                 "***** NAO APAGUE AS LINHAS ABAIXO *****\r\n\r\n" + bloco("Inserindo", "3021", "Sem registro") +
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
        const QByteArray texto = teste::conteudoDe(arquivo);
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
