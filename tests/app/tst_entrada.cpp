#include "testregistry.h"

#include "app/entrada.h"
#include "app/sobre.h"
#include "app/traco.h"
#include "fixtures.h"
#include "platform/database.h"
#include "platform/paths.h"
#include "platform/scripteddialogs.h"
#include "settings/formcons.h"
#include "settings/formmass.h"
#include "wizard/mago.h"

#include <QApplication>
#include <QFile>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QUuid>

using platform::Dialogs;
using platform::ScriptedDialogs;

namespace {

const QString kNaoEncontrado = QStringLiteral("Solicite ajuda do Adm. de Sistema\rBanco de dados não encontrado\r"
                                              "ou com formato .mdb impróprio!");
const QString kCorrompido = QStringLiteral("Arquivo de banco de dados empresa.mdb corrompido\r"
                                           "ou não é .mdb. Solicite ajuda do Adm. de Sistema");

void executaSql(const QString& banco, const QString& sql)
{
    const QString conexao = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), conexao);
        db.setDatabaseName(banco);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY2(q.exec(sql), qPrintable(sql));
    }
    QSqlDatabase::removeDatabase(conexao);
}

QByteArray le(const QString& arquivo)
{
    QFile f(arquivo);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestEntrada : public QObject
{
    Q_OBJECT

private:
    ScriptedDialogs* m_dialogs = nullptr;

    // Runs the start-up sequence for the program folder of `pasta`; the result and the forms stay for inspection.
    bool inicia(const PastaDeTeste& pasta, app::Formularios& forms)
    {
        platform::Paths::definePastaPrograma(pasta.programa());
        app::Entrada entrada(forms);
        return entrada.inicia();
    }

    void esperaUmaMensagem(const QString& texto, const QString& titulo, Dialogs::Icone icone)
    {
        QCOMPARE(m_dialogs->mensagens().size(), 1);
        QCOMPARE(m_dialogs->mensagens().first().texto, texto);
        QCOMPARE(m_dialogs->mensagens().first().titulo, titulo);
        QCOMPARE(m_dialogs->mensagens().first().icone, icone);
        QCOMPARE(m_dialogs->mensagens().first().botoes, Dialogs::Botoes::Ok);
    }

private slots:
    void init()
    {
        m_dialogs = new ScriptedDialogs;
        Dialogs::instala(std::unique_ptr<Dialogs>(m_dialogs));
    }

    void cleanup()
    {
        platform::Database::shared().close();
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
    }

    void semCaminhoDad()
    {
        PastaDeTeste pasta;
        QVERIFY(pasta.valida());
        app::Formularios forms;
        QVERIFY(!inicia(pasta, forms));
        esperaUmaMensagem(QStringLiteral("Sumiu o arquivo path da rede"), QStringLiteral("Arquivo não encontrado"),
                          Dialogs::Icone::Exclamacao);
        QVERIFY(!forms.traco);
    }

    void caminhoRuim_data()
    {
        QTest::addColumn<QByteArray>("conteudo");
        QTest::newRow("sem separador final") << QByteArray("@SEMBARRA@\r\n");
        QTest::newRow("vazio") << QByteArray();
        QTest::newRow("binário") << QByteArray("\x00\x01\xfe\xff\x80\r\n", 6);
        QTest::newRow("enorme") << QByteArray(4 * 1024 * 1024, 'a');
        QTest::newRow("nomeia um arquivo") << QByteArray("@DADOS@Dados/empresa.mdb/");
        QTest::newRow("pasta sem banco") << QByteArray("@DADOS@Imagens/");
    }
    void caminhoRuim()
    {
        QFETCH(QByteArray, conteudo);
        PastaDeTeste pasta;
        QVERIFY(pasta.valida());
        QByteArray semBarra = pasta.dados().toUtf8();
        semBarra.chop(1); // the folder and "Dados" run together
        pasta.escreveCaminho(conteudo.replace("@DADOS@", pasta.dados().toUtf8()).replace("@SEMBARRA@", semBarra));
        app::Formularios forms;
        QVERIFY(!inicia(pasta, forms));
        esperaUmaMensagem(kNaoEncontrado, QStringLiteral("Arquivo não existe ou impróprio"), Dialogs::Icone::Critico);
        QVERIFY(!forms.traco);
        QVERIFY(!platform::Database::shared().isOpen());
    }

    void soAPrimeiraLinhaConta()
    {
        PastaDeTeste pasta;
        QVERIFY(pasta.valida());
        pasta.escreveCaminho(pasta.dados().toUtf8() + "\r\n/outra/pasta/\r\n");
        app::Formularios forms;
        QVERIFY(inicia(pasta, forms));
        QVERIFY(m_dialogs->mensagens().isEmpty());
        QCOMPARE(platform::Paths::pastaDados(), pasta.dados());
    }

    void inicioNormalCarregaAsJanelasEscondidas()
    {
        PastaDeTeste pasta;
        QVERIFY(pasta.valida());
        pasta.apontaParaDados();
        executaSql(pasta.banco(), QStringLiteral("UPDATE DadosEmpresa SET Nome = '  Concreto Forte Ltda.  '"));
        app::Formularios forms;
        platform::Paths::definePastaPrograma(pasta.programa());
        app::Entrada entrada(forms);
        QSignalSpy entregue(&entrada, &app::Entrada::entregue);
        QVERIFY(entrada.inicia());
        QVERIFY(m_dialogs->mensagens().isEmpty());
        QCOMPARE(entrada.nomeEmpresa(), QStringLiteral("Concreto Forte Ltda."));
        QCOMPARE(entrada.findChild<QLabel*>(QStringLiteral("NomeProg"))->text(), QStringLiteral("Quenvar"));
        QVERIFY(forms.traco && forms.sobre && forms.formMass && forms.formCons && forms.mago);
        QVERIFY(!forms.sobre->isVisible() && !forms.formMass->isVisible() && !forms.mago->isVisible());
        QVERIFY(platform::Database::shared().isOpen());
        // The timer hands over to the main window once it is ready.
        QVERIFY(entregue.wait(5000));
        QVERIFY(forms.traco->isVisible());
        QCOMPARE(forms.traco->windowTitle(), QStringLiteral("Quenvar"));
        QVERIFY(!entrada.isVisible());
        QVERIFY(!QApplication::overrideCursor());
        // Closing the main window closes the shared database.
        forms.traco->close();
        QVERIFY(!platform::Database::shared().isOpen());
    }

    void bancoInexistente()
    {
        PastaDeTeste pasta;
        QVERIFY(pasta.valida());
        pasta.apontaParaDados();
        QVERIFY(QFile::remove(pasta.banco()));
        app::Formularios forms;
        QVERIFY(!inicia(pasta, forms));
        esperaUmaMensagem(kNaoEncontrado, QStringLiteral("Arquivo não existe ou impróprio"), Dialogs::Icone::Critico);
        QVERIFY(!QFile::exists(pasta.banco()));
    }

    void bancoDanificadoReparadoSemMensagem()
    {
        PastaDeTeste pasta;
        QVERIFY(pasta.valida());
        pasta.apontaParaDados();
        QVERIFY(PastaDeTeste::danificaIndice(pasta.banco(), QStringLiteral("TracosNomeVariante")));
        app::Formularios forms;
        QVERIFY(inicia(pasta, forms));
        QVERIFY(m_dialogs->mensagens().isEmpty());
        QVERIFY(QFile::exists(pasta.banco() + QStringLiteral(".danificado")));
        const int mixes = platform::Database::shared().scalar(QStringLiteral("SELECT COUNT(*) FROM Tracos")).toInt();
        QVERIFY(mixes >= 10);
    }

    void bancoIrrecuperavel()
    {
        PastaDeTeste pasta;
        QVERIFY(pasta.valida());
        pasta.apontaParaDados();
        QByteArray lixo(64 * 1024, '\0');
        for (int i = 0; i < lixo.size(); ++i)
            lixo[i] = char((i * 131 + 7) & 0xff);
        {
            QFile f(pasta.banco());
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(lixo);
        }
        app::Formularios forms;
        QVERIFY(!inicia(pasta, forms));
        esperaUmaMensagem(kCorrompido, QStringLiteral("Arquivo corrompido ou com defeitos"), Dialogs::Icone::Critico);
        // The damaged file is kept as it was, never replaced by an empty database.
        QCOMPARE(le(pasta.banco()), lixo);
    }

    void dadosEmpresaIlegivel_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::newRow("sem tabela") << "DROP TABLE DadosEmpresa";
        QTest::newRow("sem registro") << "DELETE FROM DadosEmpresa";
    }
    void dadosEmpresaIlegivel()
    {
        QFETCH(QString, sql);
        PastaDeTeste pasta;
        QVERIFY(pasta.valida());
        pasta.apontaParaDados();
        executaSql(pasta.banco(), sql);
        app::Formularios forms;
        QVERIFY(!inicia(pasta, forms));
        esperaUmaMensagem(QStringLiteral("Servidor não encontrado ou desligado."),
                          QStringLiteral("Erro ao ler arquivo Ini"), Dialogs::Icone::Critico);
        QVERIFY(!forms.traco);
        QVERIFY(!platform::Database::shared().isOpen());
    }

    void trazParaFrenteRestaura()
    {
        app::Traco traco;
        traco.showMinimized();
        QVERIFY(traco.isMinimized());
        traco.trazParaFrente();
        QVERIFY(!traco.isMinimized());
        QVERIFY(traco.isVisible());
    }
};

QUENVAR_TEST(TestEntrada)
#include "tst_entrada.moc"
