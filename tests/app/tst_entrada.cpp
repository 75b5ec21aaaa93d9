#include "testregistry.h"

#include "app/entrada.h"
#include "app/sobre.h"
#include "app/traco.h"
#include "desktop/scripteddialogs.h"
#include "fixtures.h"
#include "paginas.h"
#include "platform/database.h"
#include "platform/paths.h"
#include "platform/relatoriodereparo.h"
#include "settings/formcons.h"
#include "settings/formmass.h"
#include "wizard/mago.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

#include <functional>
#include <memory>

#include <unistd.h>

using desktop::Dialogs;
using desktop::ScriptedDialogs;
using teste::comConexao;
using teste::conteudoDe;
using teste::paginasDe;
using teste::ruido;
using teste::sobrescrevePagina;

namespace {

const QString kNaoEncontrado = QStringLiteral("Solicite ajuda do Adm. de Sistema\rBanco de dados não encontrado\r"
                                              "ou com formato .mdb impróprio!");
const QString kCorrompido = QStringLiteral("Arquivo de banco de dados empresa.mdb corrompido\r"
                                           "ou não é .mdb. Solicite ajuda do Adm. de Sistema");

void executaSql(const platform::LocalDoBanco& banco, const QString& sql)
{
    platform::Database db(QStringLiteral("tst_entrada_sql"));
    db.open(banco);
    db.exec(sql);
}

// The catalogue grown by copies of one demo mix under new names, so that it spans many pages; its keys.
QList<qint64> multiplicaTracos(const QString& banco, int copias)
{
    QList<qint64> chaves;
    comConexao(banco, [&](QSqlDatabase& db) {
        QSqlQuery q(db);
        q.exec(QStringLiteral("CREATE TEMP TABLE modelo AS SELECT * FROM Tracos WHERE NomeTraco = 'Contrapiso'"));
        q.exec(QStringLiteral("UPDATE temp.modelo SET Codigo = NULL"));
        db.transaction();
        for (int i = 1; i <= copias; ++i) {
            q.prepare(QStringLiteral("UPDATE temp.modelo SET NomeTraco = ?"));
            q.addBindValue(QStringLiteral("Traço %1").arg(i, 3, 10, QLatin1Char('0')));
            q.exec();
            q.exec(QStringLiteral("INSERT INTO Tracos SELECT * FROM temp.modelo"));
        }
        db.commit();
        q.exec(QStringLiteral("SELECT Codigo FROM Tracos"));
        while (q.next())
            chaves.append(q.value(0).toLongLong());
    });
    return chaves;
}

QStringList copiasDanificadas(const PastaDeTeste& pasta)
{
    return QDir(pasta.dados() + QStringLiteral("Dados")).entryList({QStringLiteral("empresa.mdb.danificado-*")});
}

} // namespace

class TestEntrada : public QObject
{
    Q_OBJECT

private:
    ScriptedDialogs* m_dialogs = nullptr;
    // Each test's program and data folders, Caminho.dad pointing at the data, and the forms the start-up loads.
    std::unique_ptr<PastaDeTeste> m_pasta;
    std::unique_ptr<app::Formularios> m_forms;

    // Runs the start-up sequence for the test's program folder; the result and the forms stay for inspection.
    bool inicia()
    {
        platform::Paths::definePastaPrograma(m_pasta->programa());
        app::Entrada entrada(*m_forms);
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
        m_pasta = std::make_unique<PastaDeTeste>();
        QVERIFY(m_pasta->valida());
        m_pasta->apontaParaDados();
        m_forms = std::make_unique<app::Formularios>();
    }

    void cleanup()
    {
        m_forms.reset();
        platform::Database::shared().close();
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
        m_pasta.reset();
    }

    void semCaminhoDad()
    {
        QVERIFY(QFile::remove(m_pasta->programa() + QStringLiteral("Caminho.dad")));
        QVERIFY(!inicia());
        esperaUmaMensagem(QStringLiteral("Sumiu o arquivo path da rede"), QStringLiteral("Arquivo não encontrado"),
                          Dialogs::Icone::Exclamacao);
        QVERIFY(!m_forms->traco);
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
        QByteArray semBarra = m_pasta->dados().toUtf8();
        semBarra.chop(1); // the folder and "Dados" run together
        m_pasta->escreveCaminho(conteudo.replace("@DADOS@", m_pasta->dados().toUtf8()).replace("@SEMBARRA@", semBarra));
        QVERIFY(!inicia());
        esperaUmaMensagem(kNaoEncontrado, QStringLiteral("Arquivo não existe ou impróprio"), Dialogs::Icone::Critico);
        QVERIFY(!m_forms->traco);
        QVERIFY(!platform::Database::shared().isOpen());
        // Nothing is created where the path leads.
        QVERIFY(!QFile::exists(m_pasta->dados() + QStringLiteral("Imagens/Dados/empresa.mdb")));
    }

    void soAPrimeiraLinhaConta()
    {
        m_pasta->escreveCaminho(m_pasta->dados().toUtf8() + "\r\n/outra/pasta/\r\n");
        QVERIFY(inicia());
        QVERIFY(m_dialogs->mensagens().isEmpty());
        QCOMPARE(platform::Paths::pastaDados(), m_pasta->dados());
    }

    void inicioNormalCarregaAsJanelasEscondidas()
    {
        executaSql(m_pasta->local(), QStringLiteral("UPDATE DadosEmpresa SET Nome = '  Concreto Forte Ltda.  '"));
        platform::Paths::definePastaPrograma(m_pasta->programa());
        app::Entrada entrada(*m_forms);
        QSignalSpy entregue(&entrada, &app::Entrada::entregue);
        QVERIFY(entrada.inicia());
        QVERIFY(m_dialogs->mensagens().isEmpty());
        QCOMPARE(entrada.nomeEmpresa(), QStringLiteral("Concreto Forte Ltda."));
        QCOMPARE(entrada.findChild<QLabel*>(QStringLiteral("NomeProg"))->text(), QStringLiteral("Quenvar"));
        QVERIFY(m_forms->traco && m_forms->sobre && m_forms->formMass && m_forms->formCons && m_forms->mago);
        QVERIFY(!m_forms->sobre->isVisible() && !m_forms->formMass->isVisible() && !m_forms->mago->isVisible());
        QVERIFY(platform::Database::shared().isOpen());
        // The timer hands over to the main window once it is ready.
        QVERIFY(entregue.wait(5000));
        QVERIFY(m_forms->traco->isVisible());
        QCOMPARE(m_forms->traco->windowTitle(), QStringLiteral("Quenvar"));
        QVERIFY(!entrada.isVisible());
        QVERIFY(!QApplication::overrideCursor());
        // Closing the main window closes the shared database.
        m_forms->traco->close();
        QVERIFY(!platform::Database::shared().isOpen());
    }

    void bancoDanificadoReparadoSemMensagem()
    {
        if (teste::noServidor())
            QSKIP("o arquivo SQLite e o seu reparo não são usados com servidor");
        QVERIFY(PastaDeTeste::danificaIndice(m_pasta->banco(), QStringLiteral("TracosNomeVariante")));
        QVERIFY(inicia());
        QVERIFY(m_dialogs->mensagens().isEmpty());
        QCOMPARE(copiasDanificadas(*m_pasta).size(), 1);
        const int mixes = platform::Database::shared().scalar(QStringLiteral("SELECT COUNT(*) FROM Tracos")).toInt();
        QVERIFY(mixes >= 10);
    }

    // A repair that could not keep every row says so once, with the rows lost and where the damaged copy is; a
    // company row lost with its page comes back, so that the program still starts.
    void bancoReparadoAvisaOQueSePerdeu_data()
    {
        QTest::addColumn<QString>("tabela");
        QTest::newRow("folha de traços com ruído") << "Tracos";
        QTest::newRow("página da empresa zerada") << "DadosEmpresa";
    }
    void bancoReparadoAvisaOQueSePerdeu()
    {
        if (teste::noServidor())
            QSKIP("o arquivo SQLite e o seu reparo não são usados com servidor");
        QFETCH(QString, tabela);
        const QList<qint64> chaves = multiplicaTracos(m_pasta->banco(), 300);
        const QList<qint64> folhas = paginasDe(m_pasta->banco(), tabela);
        if (folhas.isEmpty())
            QSKIP("o SQLite desta máquina não tem a tabela dbstat");
        const bool tracos = tabela == QLatin1String("Tracos");
        QVERIFY(sobrescrevePagina(m_pasta->banco(), folhas.at(folhas.size() / 2),
                                  tracos ? ruido(4096) : QByteArray(4096, '\0')));
        const int legiveis = int(teste::linhasLegiveis(m_pasta->banco(), chaves).size());
        // Noise over a mix page leaves some mixes unreadable; a zeroed company page leaves every mix readable.
        QCOMPARE(legiveis < chaves.size(), tracos);

        QVERIFY(inicia());

        const QStringList copias = copiasDanificadas(*m_pasta);
        QCOMPARE(copias.size(), 1);
        const QString perdas =
            tracos ? QStringLiteral("Tracos: %1 mantidos, %2 perdidos").arg(legiveis).arg(chaves.size() - legiveis)
                   : QStringLiteral("DadosEmpresa: 0 mantidos; não foi possível contar os perdidos\r\r"
                                    "Os dados da empresa foram recriados sem o nome da empresa.");
        esperaUmaMensagem(QStringLiteral("O arquivo empresa.mdb estava danificado e foi reparado.\r"
                                         "Alguns registros não puderam ser recuperados:\r\r") +
                              perdas + QStringLiteral("\r\rA cópia danificada foi guardada em:\r") + m_pasta->dados() +
                              QStringLiteral("Dados/") + copias.first(),
                          QStringLiteral("Banco de dados reparado"), Dialogs::Icone::Exclamacao);
        // The program goes on with what was kept, and the repair is on record for the administrator.
        QVERIFY(m_forms->traco);
        platform::Database& db = platform::Database::shared();
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Tracos")).toInt(), tracos ? legiveis : chaves.size());
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM DadosEmpresa")).toInt(), 1);
        QVERIFY(conteudoDe(m_pasta->dados() + QStringLiteral("Dados/Erros.txt"))
                    .contains("Rotina: Reparo do banco de dados"));
    }

    void bancoDanificadoAbertoEmOutraEstacao()
    {
        if (teste::noServidor())
            QSKIP("o arquivo SQLite e o seu reparo não são usados com servidor");
        multiplicaTracos(m_pasta->banco(), 300);
        const QList<qint64> folhas = paginasDe(m_pasta->banco(), QStringLiteral("Tracos"));
        if (folhas.isEmpty())
            QSKIP("o SQLite desta máquina não tem a tabela dbstat");
        QVERIFY(sobrescrevePagina(m_pasta->banco(), folhas.at(folhas.size() / 2), ruido(4096)));
        const QByteArray danificado = conteudoDe(m_pasta->banco());
        // The other workstation is reading the database when this one starts.
        comConexao(m_pasta->banco(), [&](QSqlDatabase& outra) {
            QSqlQuery q(outra);
            QVERIFY(q.exec(QStringLiteral("BEGIN")));
            QVERIFY(q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) && q.next());
            QVERIFY(!inicia());
            QVERIFY(q.exec(QStringLiteral("ROLLBACK")));
            QVERIFY(!m_forms->traco);
        });
        esperaUmaMensagem(QStringLiteral("O banco de dados está danificado, mas está aberto em outra estação.\r"
                                         "Feche o Quenvar nas outras estações e abra-o de novo para repará-lo."),
                          QStringLiteral("Banco de dados em uso"), Dialogs::Icone::Critico);
        QCOMPARE(conteudoDe(m_pasta->banco()), danificado);
        QVERIFY(copiasDanificadas(*m_pasta).isEmpty());
    }

    void pastaProtegidaAbreSoParaConsulta()
    {
        if (teste::noServidor())
            QSKIP("o arquivo SQLite e o seu reparo não são usados com servidor");
        if (geteuid() == 0)
            QSKIP("o superusuário grava mesmo numa pasta protegida contra gravação");
        const QString dados = m_pasta->dados() + QStringLiteral("Dados");
        const QFileDevice::Permissions permissoes = QFile::permissions(dados);
        QVERIFY(QFile::setPermissions(dados, permissoes & ~(QFileDevice::WriteOwner | QFileDevice::WriteUser |
                                                            QFileDevice::WriteGroup | QFileDevice::WriteOther)));
        const bool iniciou = inicia();
        QFile::setPermissions(dados, permissoes);
        QVERIFY(iniciou);
        esperaUmaMensagem(QStringLiteral("A pasta de dados ") + dados +
                              QStringLiteral(" está protegida contra gravação.\rO Quenvar será aberto somente para "
                                             "consulta: não será possível incluir, alterar ou excluir traços."),
                          QStringLiteral("Somente leitura"), Dialogs::Icone::Exclamacao);
        QVERIFY(platform::Database::shared().somenteLeitura());
        QVERIFY(m_forms->traco->somenteLeitura);
        QVERIFY(!m_forms->traco->ferramenta(QStringLiteral("ID_Incluir"))->isEnabled());
    }

    void bancoIrrecuperavel_data()
    {
        QTest::addColumn<bool>("cabecalho");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("titulo");
        // A file that is no database at all is of the wrong format; one that is a database but unreadable past its
        // header is damaged.
        QTest::newRow("não é banco") << false << kNaoEncontrado << "Arquivo não existe ou impróprio";
        QTest::newRow("danificado") << true << kCorrompido << "Arquivo corrompido ou com defeitos";
    }
    void bancoIrrecuperavel()
    {
        if (teste::noServidor())
            QSKIP("o arquivo SQLite e o seu reparo não são usados com servidor");
        QFETCH(bool, cabecalho);
        QFETCH(QString, texto);
        QFETCH(QString, titulo);
        QByteArray lixo = ruido(64 * 1024);
        if (cabecalho)
            lixo.replace(0, 100, conteudoDe(m_pasta->banco()).left(100));
        {
            QFile f(m_pasta->banco());
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(lixo);
        }
        QVERIFY(!inicia());
        esperaUmaMensagem(texto, titulo, Dialogs::Icone::Critico);
        // The file is kept as it was, never replaced by an empty database.
        QCOMPARE(conteudoDe(m_pasta->banco()), lixo);
    }

    // A company row that cannot be read, or a server that does not answer, ends the start with the user's message;
    // the server's own words go to the error log.
    void dadosEmpresaIlegivel_data()
    {
        QTest::addColumn<QString>("sql"); // empty: the data folder names a server no one answers at
        QTest::newRow("sem tabela") << "DROP TABLE DadosEmpresa";
        QTest::newRow("sem registro") << "DELETE FROM DadosEmpresa";
        QTest::newRow("servidor inacessível") << "";
    }
    void dadosEmpresaIlegivel()
    {
        QFETCH(QString, sql);
        if (sql.isEmpty())
            QVERIFY(platform::LocalDoBanco::gravaServidor(m_pasta->dados(),
                                                          QStringLiteral("host=127.0.0.1 port=1 dbname=empresa")));
        else
            executaSql(m_pasta->local(), sql);
        QVERIFY(!inicia());
        esperaUmaMensagem(QStringLiteral("Servidor não encontrado ou desligado."),
                          QStringLiteral("Erro ao ler arquivo Ini"), Dialogs::Icone::Critico);
        QVERIFY(!m_forms->traco);
        QVERIFY(!platform::Database::shared().isOpen());
        if (sql.isEmpty())
            QVERIFY(QString::fromUtf8(conteudoDe(m_pasta->dados() + QStringLiteral("Dados/Erros.txt")))
                        .contains(QStringLiteral("Connection refused")));
    }

    void trazParaFrenteRestaura()
    {
        app::Traco traco(platform::Database::shared());
        traco.showMinimized();
        QVERIFY(traco.isMinimized());
        traco.trazParaFrente();
        QVERIFY(!traco.isMinimized());
        QVERIFY(traco.isVisible());
    }
};

QUENVAR_TEST(TestEntrada)
#include "tst_entrada.moc"
