#include "testregistry.h"

#include "desktop/posicao.h"
#include "desktop/scripteddialogs.h"
#include "desktop/shell.h"
#include "janelateste.h"
#include "preview/imptraco.h"
#include "widgets/caixatexto.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using desktop::Dialogs;
using desktop::ScriptedDialogs;
using teste::Janela;
using Form = mixform::FormTraco;

namespace {

QString aplicacao()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

void apagaPosicao()
{
    QSettings preferencias(QStringLiteral("Quenvar"), aplicacao());
    preferencias.remove(QStringLiteral("Posicao"));
    preferencias.sync();
}

} // namespace

class TestComandos : public QObject
{
    Q_OBJECT

private:
    ScriptedDialogs* m_dialogs = nullptr;

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        m_dialogs = new ScriptedDialogs;
        Dialogs::instala(std::unique_ptr<Dialogs>(m_dialogs));
        apagaPosicao();
    }
    void cleanup()
    {
        desktop::Shell::defineIniciador(nullptr);
        desktop::Shell::defineAbridor(nullptr);
        apagaPosicao();
    }

    void cabeEmTelaPequena_data()
    {
        QTest::addColumn<int>("pagina");
        QTest::addColumn<int>("modo");
        for (int pagina = 0; pagina < 3; ++pagina)
            for (const auto& [nome, modo] : {std::pair{"vendo", Form::Operacao::Visualizar},
                                             {"incluindo", Form::Operacao::Inserir},
                                             {"alterando", Form::Operacao::Alterar}})
                QTest::addRow("pagina %d %s", pagina, nome) << pagina << int(modo);
    }
    void cabeEmTelaPequena()
    {
        QFETCH(int, pagina);
        QFETCH(int, modo);
        Janela j;
        j.traco->Modo(Form::Operacao(modo));
        j.form()->Pasta->setCurrentIndex(pagina);
        // A 1024x768 screen less a title bar, window borders and a desktop panel.
        const QSize minimo = j.traco->minimumSizeHint().expandedTo(j.traco->minimumSize());
        QVERIFY2(minimo.width() <= 1024 - 16 && minimo.height() <= 768 - 30 - 40,
                 qPrintable(QStringLiteral("%1x%2").arg(minimo.width()).arg(minimo.height())));
        // Every navigation button stays inside the window at that size.
        j.traco->resize(minimo);
        for (QPushButton* b : j.form()->Movimento)
            QVERIFY(j.form()->rect().contains(QRect(b->mapTo(j.form(), QPoint()), b->size())));
    }

    void posicaoGuardadaVolta()
    {
        // Narrower than the window would like: it comes back as it was left.
        const QRect retangulo(10, 20, 1000, 700);
        {
            Janela j;
            j.traco->setWindowState(Qt::WindowNoState);
            j.traco->setGeometry(retangulo);
            j.traco->close();
        }
        QSettings preferencias(QStringLiteral("Quenvar"), aplicacao());
        QCOMPARE(preferencias.value(QStringLiteral("Posicao/Left")).toString(), QStringLiteral("10"));
        QCOMPARE(preferencias.value(QStringLiteral("Posicao/Right")).toString(), QStringLiteral("1010"));
        QCOMPARE(preferencias.value(QStringLiteral("Posicao/Bottom")).toString(), QStringLiteral("720"));
        QCOMPARE(preferencias.value(QStringLiteral("Posicao/showCmd")).toString(), QStringLiteral("1"));
        Janela j;
        QCOMPARE(j.traco->geometry(), retangulo);
    }

    void bordaDireitaEm100ContaComoNadaGuardado()
    {
        {
            QSettings preferencias(QStringLiteral("Quenvar"), aplicacao());
            for (const auto& [chave, valor] :
                 {std::pair{"showCmd", "1"}, {"Left", "0"}, {"Top", "0"}, {"Right", "100"}, {"Bottom", "700"}})
                preferencias.setValue(QStringLiteral("Posicao/") + QLatin1String(chave), QLatin1String(valor));
        }
        QWidget janela;
        QVERIFY(!desktop::Posicao::LePosicao(&janela, aplicacao()));
        // The record is applied all the same, and the main window takes the screen as on a first start.
        QCOMPARE(janela.geometry().height(), 700);
        Janela j;
        QCOMPARE(j.traco->frameGeometry(), QGuiApplication::primaryScreen()->availableGeometry());
    }

    void moduloIniciaDepoisDeFechar()
    {
        QStringList iniciados;
        bool bancoAbertoAoIniciar = true;
        bool janelaVisivelAoIniciar = true;
        Janela j;
        desktop::Shell::defineIniciador([&](const QString& arquivo) {
            iniciados.append(arquivo);
            bancoAbertoAoIniciar = platform::Database::shared().isOpen();
            janelaVisivelAoIniciar = j.traco->isVisible();
            return true;
        });
        QVERIFY(!j.traco->ferramenta(QStringLiteral("ID_Modulo7"))->isEnabled());
        QVERIFY(j.traco->ferramenta(QStringLiteral("ID_Modulo2"))->isEnabled());
        j.traco->ferramenta(QStringLiteral("ID_Modulo2"))->trigger();
        QCOMPARE(iniciados.size(), 1);
        QVERIFY(iniciados.first().endsWith(QStringLiteral("/estoque")));
        QVERIFY(!bancoAbertoAoIniciar);
        QVERIFY(!janelaVisivelAoIniciar);
        QCOMPARE(j.traco->moduloAIniciar, 0);
    }

    void moduloDeVerdadeRoda()
    {
        // A stand-in for another module of the suite: a script in the program folder that leaves a file.
        QTemporaryDir programa;
        const QString marca = programa.filePath(QStringLiteral("rodou.txt"));
        QFile script(programa.filePath(QStringLiteral("compras")));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho ok > \"" + marca.toUtf8() + "\"\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString antes = platform::Paths::pastaPrograma();
        platform::Paths::definePastaPrograma(programa.path());
        {
            Janela j;
            j.traco->executa(QStringLiteral("ID_Modulo3"));
        }
        platform::Paths::definePastaPrograma(antes);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marca), 5000);
    }

    void comentarioAbreOCorreio()
    {
        QList<QUrl> abertos;
        desktop::Shell::defineAbridor([&](const QUrl& url) { abertos.append(url); });
        Janela j;
        j.traco->ferramenta(QStringLiteral("ID_Mail"))->trigger();
        QCOMPARE(abertos.size(), 1);
        QCOMPARE(abertos.first().scheme(), QStringLiteral("mailto"));
        QVERIFY(abertos.first().toString(QUrl::FullyDecoded).endsWith(QStringLiteral("?Subject=Módulo Quenvar")));
    }

    void sobreEModal()
    {
        Janela j;
        j.traco->defineEmpresa(QStringLiteral("Concreteira Modelo Ltda."));
        QString titulo;
        m_dialogs->proximoModal([&](QDialog* d) {
            titulo = d->windowTitle();
            return int(QDialog::Accepted);
        });
        j.traco->ferramenta(QStringLiteral("ID_SobreoPrograma"))->trigger();
        QCOMPARE(m_dialogs->modaisMostrados().size(), 1);
        QVERIFY(titulo.contains(QStringLiteral("Quenvar")));
        QCOMPARE(j.traco->textoPainel(1), QStringLiteral("Dados sobre o programa"));
    }

    void relatoriosComCatalogoVazio_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<bool>("emUso"); // the report of the mixes in use says so
        for (const char* id : {"ID_TodosTracos", "ID_SomenteEste", "ID_CompararVariantes", "ID_Betonada"})
            QTest::newRow(id) << QString::fromUtf8(id) << false;
        QTest::newRow("ID_TracosUso") << "ID_TracosUso" << true;
    }
    void relatoriosComCatalogoVazio()
    {
        QFETCH(QString, id);
        QFETCH(bool, emUso);
        Janela j(false);
        QList<int> pedidos;
        j.traco->defineRelatorios([&](printing::TipoRelatorio n) { pedidos.append(int(n)); });
        j.traco->executa(id);
        QCOMPARE(m_dialogs->mensagens().size(), 1);
        QCOMPARE(m_dialogs->mensagens().first().texto, emUso ? QStringLiteral("Não existe nenhum traço de plantão.")
                                                             : QStringLiteral("Não existe nenhum traço cadastrado."));
        QCOMPARE(m_dialogs->mensagens().first().titulo,
                 emUso ? QStringLiteral("Nenhum traço de plantão") : QStringLiteral("Nenhum traço cadastrado"));
        QCOMPARE(m_dialogs->mensagens().first().icone, Dialogs::Icone::Informacao);
        QVERIFY(pedidos.isEmpty());
    }

    void relatoriosPedemOVisualizador()
    {
        // Only mixes not in use: the report of all mixes opens, the one of the mixes in use says there is none.
        Janela j(true, {QStringLiteral("UPDATE Tracos SET Plantao = FALSE")});
        QList<int> pedidos;
        j.traco->defineRelatorios([&](printing::TipoRelatorio n) { pedidos.append(int(n)); });
        j.traco->executa(QStringLiteral("ID_TodosTracos"));
        j.traco->executa(QStringLiteral("ID_TracosUso"));
        QCOMPARE(pedidos, QList<int>{1});
        QCOMPARE(m_dialogs->mensagens().size(), 1);
        platform::Database::shared().exec(QStringLiteral("UPDATE Tracos SET Plantao = TRUE WHERE Codigo = 1"));
        j.traco->executa(QStringLiteral("ID_TracosUso"));
        QCOMPARE(pedidos, (QList<int>{1, 2}));
    }

    void voltaAoPrimeiroDepoisDeOutraJanela_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<bool>("editando");
        QTest::addColumn<int>("posicao");
        QTest::newRow("sobre") << "ID_SobreoPrograma" << false << 1;
        QTest::newRow("relatório") << "ID_TodosTracos" << false << 1;
        // A mix being edited stays where it is.
        QTest::newRow("sobre enquanto altera") << "ID_SobreoPrograma" << true << 5;
    }
    void voltaAoPrimeiroDepoisDeOutraJanela()
    {
        QFETCH(QString, id);
        QFETCH(bool, editando);
        QFETCH(int, posicao);
        Janela j;
        j.traco->defineRelatorios([](printing::TipoRelatorio) {});
        for (int i = 1; i < 5; ++i)
            j.form()->Movimenta(mixform::FormTraco::Proximo);
        QCOMPARE(j.form()->posicao(), 5);
        if (editando)
            j.form()->Alterando();
        j.traco->executa(id);
        QCOMPARE(j.form()->posicao(), posicao);
        QCOMPARE(j.form()->alterando, editando);
    }

    // The tool opens the real viewer; which report each tool asks for is checked above, the report's caption by the
    // viewer's tests.
    void relatorioNoVisualizador()
    {
        Janela j;
        QString mostrado;
        m_dialogs->proximoModal([&](QDialog* d) {
            mostrado = d->windowTitle();
            return int(QDialog::Accepted);
        });
        j.traco->ferramenta(QStringLiteral("ID_TodosTracos"))->trigger();
        QCOMPARE(m_dialogs->modaisMostrados().size(), 1);
        QCOMPARE(mostrado, QStringLiteral("Quenvar - Todos"));
    }

    // The sheet of the mix shown; moving the catalogue meanwhile does not lose the user's place.
    void somenteEsteMostraAFicha()
    {
        Janela j;
        j.form()->Movimenta(mixform::FormTraco::Ultimo);
        QString titulo;
        bool ocupado = false;
        m_dialogs->proximoModal([&](QDialog* d) {
            ocupado = j.traco->ocupado;
            auto* ficha = qobject_cast<preview::ImpTraco*>(d);
            if (ficha) {
                ficha->ativa();
                titulo = ficha->windowTitle();
            }
            j.form()->tracos().moveFirst();
            return int(QDialog::Accepted);
        });
        QVERIFY(j.traco->ferramenta(QStringLiteral("ID_SomenteEste"))->isEnabled());
        j.traco->ferramenta(QStringLiteral("ID_SomenteEste"))->trigger();
        QVERIFY(ocupado);
        QVERIFY2(titulo.contains(QStringLiteral("Traço d'Obra - 00")), qPrintable(titulo));
        QVERIFY(!j.traco->ocupado);
        QCOMPARE(j.form()->TextoC[0]->text(), QStringLiteral("Traço d'Obra"));
    }
};

QUENVAR_TEST(TestComandos)
#include "tst_comandos.moc"
