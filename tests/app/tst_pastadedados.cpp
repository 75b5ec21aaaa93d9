#include "testregistry.h"

#include "acessibilidade.h"
#include "bancodeteste.h"
#include "janelateste.h"

#include "app/entrada.h"
#include "app/pastadedados.h"
#include "desktop/scripteddialogs.h"
#include "platform/caminhodad.h"
#include "platform/localdobanco.h"

#include <QCheckBox>
#include <QDialog>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>

using desktop::Dialogs;
using desktop::ScriptedDialogs;
using platform::CaminhoDad;

namespace {

// Fills the data-folder window as the user does: one option, its boxes, then "Continuar" (or "Cancelar").
struct Preenchimento
{
    QString opcao; // OpcaoNova, OpcaoExistente, OpcaoServidor; empty: Cancelar
    QString pasta;
    QString conexao;
    bool demo = true;

    int operator()(QDialog* janela) const
    {
        if (opcao.isEmpty()) {
            janela->findChild<QPushButton*>(QStringLiteral("Cancelar"))->click();
            return janela->result();
        }
        janela->findChild<QRadioButton*>(opcao)->click();
        const QString caixa = opcao == QLatin1String("OpcaoNova")        ? QStringLiteral("PastaNova")
                              : opcao == QLatin1String("OpcaoExistente") ? QStringLiteral("PastaExistente")
                                                                         : QStringLiteral("PastaServidor");
        janela->findChild<QLineEdit*>(caixa)->setText(pasta);
        janela->findChild<QLineEdit*>(QStringLiteral("Conexao"))->setText(conexao);
        janela->findChild<QCheckBox*>(QStringLiteral("ComDemonstracao"))->setChecked(demo);
        janela->findChild<QPushButton*>(QStringLiteral("Continuar"))->click();
        return janela->result();
    }
};

} // namespace

// A workstation without a Caminho.dad is led to a data folder, and the menu moves it to another.
class TestPastaDeDados : public QObject
{
    Q_OBJECT

private:
    ScriptedDialogs* m_dialogs = nullptr;

private slots:
    // The user's Caminho.dad of these tests lives in the test configuration, never in the real one.
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
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
        app::pedeReinicio(false);
    }

    void primeiroInicio_data()
    {
        QTest::addColumn<QString>("opcao");
        QTest::addColumn<QString>("pasta"); // @ the test's data folder; relative to a temporary folder otherwise
        QTest::addColumn<bool>("inicia");
        QTest::newRow("criar, com demonstração") << QStringLiteral("OpcaoNova") << QStringLiteral("nova") << true;
        QTest::newRow("escolher uma existente") << QStringLiteral("OpcaoExistente") << QStringLiteral("@") << true;
        QTest::newRow("conectar ao servidor") << QStringLiteral("OpcaoServidor") << QStringLiteral("srv") << true;
        QTest::newRow("cancelar") << QString() << QString() << false;
    }

    void primeiroInicio()
    {
        QFETCH(QString, opcao);
        QFETCH(QString, pasta);
        QFETCH(bool, inicia);
        PastaDeTeste dados;
        QVERIFY(dados.valida());
        const platform::LocalDoBanco local = dados.local();
        if (opcao == QLatin1String("OpcaoServidor") && !local.ehServidor())
            QSKIP("Só com o servidor de teste (QUENVAR_TESTE_MOTOR=postgres).");
        platform::Paths::definePastaPrograma(dados.programa()); // no Caminho.dad there
        QTemporaryDir dir;
        const QString alvo = pasta == QLatin1String("@") ? dados.dados()
                             : pasta.isEmpty()           ? QString()
                                                         : dir.path() + QLatin1Char('/') + pasta + QLatin1Char('/');
        m_dialogs->proximoModal(Preenchimento{opcao, alvo, local.ehServidor() ? local.local : QString()});

        app::Formularios forms;
        app::Entrada entrada(forms);
        QCOMPARE(entrada.inicia(), inicia);
        QCOMPARE(m_dialogs->modaisMostrados().size(), 1);
        if (!inicia) {
            QCOMPARE(m_dialogs->mensagens().size(), 1);
            QCOMPARE(m_dialogs->mensagens().first().titulo, QStringLiteral("Arquivo não encontrado"));
            QVERIFY(!QFileInfo::exists(CaminhoDad::doUsuario()));
            return;
        }
        QVERIFY(m_dialogs->mensagens().isEmpty());
        QCOMPARE(platform::Paths::primeiraLinha(CaminhoDad::doUsuario()), alvo);
        QCOMPARE(platform::Paths::pastaDados(), alvo);
        QVERIFY(forms.traco);
        QVERIFY(forms.traco->form()->totalRegistros() > 0);
        entrada.close();
    }

    // A refused folder is explained and the window stays with what was typed; the user then mends it.
    void pastaRecusadaFicaNaJanela()
    {
        QTemporaryDir dir;
        CaminhoDad::definePastaDaEmpresa(dir.path() + QStringLiteral("/etc"));
        QFile::remove(CaminhoDad::doUsuario());
        PastaDeTeste dados;
        QVERIFY(dados.valida());
        m_dialogs->proximoModal([&](QDialog* janela) {
            Preenchimento{QStringLiteral("OpcaoExistente"), dir.path(), {}}(janela);
            if (janela->result() == QDialog::Accepted || m_dialogs->mensagens().size() != 1 ||
                janela->findChild<QLineEdit*>(QStringLiteral("PastaExistente"))->text() != dir.path())
                return int(QDialog::Accepted); // fails below
            return Preenchimento{QStringLiteral("OpcaoExistente"), dados.dados(), {}}(janela);
        });
        const std::optional<CaminhoDad::Achado> achado = app::escolhePrimeiraPasta();
        QVERIFY(achado);
        QCOMPARE(achado->pastaDados, dados.dados());
        QCOMPARE(m_dialogs->mensagens().size(), 1);
        QVERIFY(m_dialogs->mensagens().first().texto.contains(QStringLiteral("não tem um catálogo")));
    }

    // Arquivo › Pasta de dados… writes the other folder where the one in use was read and closes for the restart.
    void menuTrocaEReinicia()
    {
        teste::Janela j;
        platform::Paths::definePastaPrograma(j.pasta.programa());
        j.pasta.apontaParaDados();
        PastaDeTeste outra;
        QVERIFY(outra.valida());
        QStringList repetidos{QStringLiteral("janela não mostrada")};
        QStringList semExplicacao;
        m_dialogs->proximoModal([&](QDialog* janela) {
            repetidos = teste::aceleradoresRepetidos(janela);
            semExplicacao = teste::semExplicacao(*janela);
            return Preenchimento{QStringLiteral("OpcaoExistente"), outra.dados(), {}}(janela);
        });
        j.traco->executa(QStringLiteral("ID_PastaDados"));
        QCOMPARE(repetidos, QStringList());
        QCOMPARE(semExplicacao, QStringList());
        QCOMPARE(platform::Paths::primeiraLinha(j.pasta.programa() + QStringLiteral("Caminho.dad")), outra.dados());
        QVERIFY(app::reinicioPedido());
        QVERIFY(!j.traco->isVisible());
    }
};

QUENVAR_TEST(TestPastaDeDados)
#include "tst_pastadedados.moc"
