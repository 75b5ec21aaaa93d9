#include "testregistry.h"

#include "app/exportacatalogo.h"
#include "catalogue/modelolista.h"
#include "catalogview/listatracos.h"
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
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using catalogue::ModeloLista;
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

// The key of the mix the form shows.
qint64 mostrado(teste::Janela& j)
{
    return j.form()->tracos().field(QStringLiteral("Codigo")).toLongLong();
}

catalogview::ListaTracos* abreLista(teste::Janela& j)
{
    j.traco->executa(QStringLiteral("ID_ListaTracos"));
    return j.traco->lista();
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
        app::ExportaCatalogo::defineEscolhaDeArquivo({});
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

    void exportFromTheMenu_data()
    {
        QTest::addColumn<int>("resposta"); // to "every mix?"
        QTest::addColumn<QString>("arquivo");
        QTest::addColumn<QString>("aviso"); // the last message; empty when the file is not asked for
        QTest::addColumn<QByteArray>("inicio");

        QTest::newRow("every mix to CSV") << int(Dialogs::Resposta::Sim) << "catálogo.csv"
                                          << "12 traços gravados em" << QByteArray("\xEF\xBB\xBFTraço;");
        QTest::newRow("mixes in use to XLSX") << int(Dialogs::Resposta::Nao) << "em uso.XLSX"
                                              << "7 traços gravados em" << QByteArray("PK");
        QTest::newRow("a type the program does not write") << int(Dialogs::Resposta::Sim) << "catálogo.txt"
                                                           << "não é de um tipo que o Quenvar grava" << QByteArray();
        QTest::newRow("cancelled at the question")
            << int(Dialogs::Resposta::Cancelar) << "nada.csv" << QString() << QByteArray();
    }

    // The tool asks which mixes, then the file, writes it and says where it went; nothing is written otherwise.
    void exportFromTheMenu()
    {
        QFETCH(int, resposta);
        QFETCH(QString, arquivo);
        QFETCH(QString, aviso);
        QFETCH(QByteArray, inicio);

        Janela j;
        QTemporaryDir dir;
        const QString caminho = dir.filePath(arquivo);
        int perguntas = 0;
        app::ExportaCatalogo::defineEscolhaDeArquivo([&](QWidget*, const QString&) {
            ++perguntas;
            return caminho;
        });
        m_dialogs->proximaResposta(Dialogs::Resposta(resposta));
        j.traco->ferramenta(QStringLiteral("ID_ExportarCatalogo"))->trigger();

        QCOMPARE(perguntas, aviso.isEmpty() ? 0 : 1);
        QCOMPARE(m_dialogs->mensagens().size(), aviso.isEmpty() ? 1 : 2);
        QVERIFY(m_dialogs->mensagens().last().texto.contains(aviso));
        QFile gravado(caminho);
        QCOMPARE(gravado.open(QIODevice::ReadOnly) ? gravado.read(inicio.size()) : QByteArray(), inicio);
    }

    // The list beside the form: it takes the form to the mix chosen, respects an edit in progress, follows the form's
    // writes and hands the mixes to compare.
    // Enter in the list, in the search box or a double click shows the mix; the form's buttons go on from it in the
    // catalogue's order whatever the list's.
    void escolheLinha_data()
    {
        QTest::addColumn<int>("coluna");
        QTest::addColumn<QString>("procura");
        QTest::addColumn<int>("linha");
        QTest::addColumn<QString>("como");
        QTest::newRow("enter, por nome") << int(ModeloLista::Traco) << "" << 5 << "enter";
        QTest::newRow("duplo clique, por fck") << int(ModeloLista::Fck) << "" << 2 << "clique";
        QTest::newRow("enter na procura") << int(ModeloLista::Custo) << "BOMBEADO" << 0 << "procura";
    }
    void escolheLinha()
    {
        QFETCH(int, coluna);
        QFETCH(QString, procura);
        QFETCH(int, linha);
        QFETCH(QString, como);
        Janela j;
        catalogview::ListaTracos* l = abreLista(j);
        QVERIFY(l->isVisible() && j.traco->ferramenta(QStringLiteral("ID_ListaTracos"))->isChecked());
        l->Tabela->sortByColumn(coluna, Qt::DescendingOrder);
        j.traco->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(j.traco.get()));
        QTest::keySequence(j.traco.get(), QKeySequence::Find);
        QVERIFY(l->Procura->hasFocus());
        QTest::keyClicks(l->Procura, procura);
        const qint64 codigo = l->modelo()->codigoEm(linha);
        QVERIFY(codigo != 0);
        const QPoint ponto = l->Tabela->visualRect(l->modelo()->index(linha, 0)).center();
        if (como == QLatin1String("procura")) {
            QTest::keyClick(l->Procura, Qt::Key_Return);
        } else if (como == QLatin1String("enter")) {
            l->Tabela->setCurrentIndex(l->modelo()->index(linha, 0));
            QTest::keyClick(l->Tabela, Qt::Key_Return);
        } else {
            // A double click is the second press of a click.
            QTest::mouseClick(l->Tabela->viewport(), Qt::LeftButton, {}, ponto);
            QTest::mouseDClick(l->Tabela->viewport(), Qt::LeftButton, {}, ponto);
        }
        QCOMPARE(mostrado(j), codigo);
        const int posicao = j.form()->posicao();
        QCOMPARE(j.form()->tracos().chaveEm(posicao - 1), codigo);
        j.form()->Movimento[Form::Proximo]->click();
        QCOMPARE(mostrado(j), j.form()->tracos().chaveEm(std::min(posicao, j.form()->totalRegistros() - 1)));
        j.form()->Movimento[Form::Anterior]->click();
        j.form()->Movimento[Form::Anterior]->click();
        QCOMPARE(mostrado(j), j.form()->tracos().chaveEm(std::max(posicao - 2, 0)));
        // Esc empties the search.
        QTest::keyClick(l->Procura, Qt::Key_Escape);
        QCOMPARE(l->modelo()->rowCount(), j.form()->totalRegistros());
    }

    // The CO2 column, worked out only for the lines read, leaves the order and its arrow as they were.
    void co2NaoOrdena()
    {
        Janela j;
        catalogview::ListaTracos* l = abreLista(j);
        l->Tabela->sortByColumn(ModeloLista::Fck, Qt::DescendingOrder);
        const qint64 primeiro = l->modelo()->codigoEm(0);
        l->Tabela->sortByColumn(ModeloLista::CO2, Qt::AscendingOrder);
        QCOMPARE(l->Tabela->horizontalHeader()->sortIndicatorSection(), int(ModeloLista::Fck));
        QCOMPARE(l->Tabela->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
        QCOMPARE(l->modelo()->codigoEm(0), primeiro);
    }

    // The list comes back where, as large as and whether the user left it.
    void listaVoltaComoFicou()
    {
        Janela j;
        catalogview::ListaTracos* l = abreLista(j);
        l->setFloating(true);
        const QSize tamanho(420, 333);
        l->resize(tamanho);
        QVERIFY(j.traco->close());
        platform::Database::shared().open(j.pasta.local());
        j.traco = std::make_unique<app::Traco>(platform::Database::shared());
        j.traco->show();
        l = j.traco->findChild<catalogview::ListaTracos*>();
        QVERIFY(l->isVisible());
        QVERIFY(l->isFloating());
        QCOMPARE(l->size(), tamanho);
    }

    // While a mix is edited the list asks first, as closing does: Cancelar keeps the edit, Não leaves it.
    void respeitaEdicao_data()
    {
        QTest::addColumn<int>("resposta");
        QTest::addColumn<bool>("move");
        QTest::newRow("cancelar") << int(Dialogs::Resposta::Cancelar) << false;
        QTest::newRow("não gravar") << int(Dialogs::Resposta::Nao) << true;
    }
    void respeitaEdicao()
    {
        QFETCH(int, resposta);
        QFETCH(bool, move);
        Janela j;
        catalogview::ListaTracos* l = abreLista(j);
        const qint64 antes = mostrado(j);
        j.traco->executa(QStringLiteral("ID_Alterar"));
        QVERIFY(j.form()->alterando);
        const int ultima = l->modelo()->rowCount() - 1;
        const qint64 outro = l->modelo()->codigoEm(ultima);
        m_dialogs->proximaResposta(Dialogs::Resposta(resposta));
        l->Tabela->setCurrentIndex(l->modelo()->index(ultima, 0));
        QTest::keyClick(l->Tabela, Qt::Key_Return);
        QCOMPARE(m_dialogs->mensagens().size(), 1);
        QCOMPARE(j.form()->alterando, !move);
        QCOMPARE(mostrado(j), move ? outro : antes);
    }

    // A delete in the form reaches the list, which stays on the mix it stood on.
    void acompanhaExclusao()
    {
        Janela j;
        catalogview::ListaTracos* l = abreLista(j);
        const int total = l->modelo()->rowCount();
        const qint64 marcado = l->modelo()->codigoEm(total - 1);
        l->Tabela->setCurrentIndex(l->modelo()->index(total - 1, 0));
        // The form's first mix is deleted ("Sim" to the question).
        j.form()->Movimento[Form::Primeiro]->click();
        m_dialogs->proximaResposta(Dialogs::Resposta::Sim);
        j.traco->executa(QStringLiteral("ID_Excluir"));
        QCOMPARE(l->modelo()->rowCount(), total - 1);
        QCOMPARE(l->modelo()->codigoEm(l->Tabela->currentIndex().row()), marcado);
    }

    // The mixes to compare go in the list's order, two to four of them.
    void comparacao_data()
    {
        QTest::addColumn<QList<int>>("linhas");
        QTest::addColumn<bool>("habilitado");
        QTest::newRow("um") << QList<int>{3} << false;
        QTest::newRow("dois fora de ordem") << QList<int>{6, 1} << true;
        QTest::newRow("quatro") << QList<int>{9, 2, 7, 0} << true;
        QTest::newRow("cinco") << QList<int>{0, 1, 2, 3, 4} << false;
    }
    void comparacao()
    {
        QFETCH(QList<int>, linhas);
        QFETCH(bool, habilitado);
        Janela j;
        catalogview::ListaTracos* l = abreLista(j);
        QList<qint64> recebidos;
        l->defineComparacao([&](QList<qint64> codigos) { recebidos = codigos; });
        l->Tabela->sortByColumn(ModeloLista::Fck, Qt::AscendingOrder);
        for (const int linha : linhas)
            l->Tabela->selectionModel()->select(l->modelo()->index(linha, 0),
                                                QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QCOMPARE(l->Comparar->isEnabled(), habilitado);
        l->compara();
        QList<int> ordenadas = linhas;
        std::sort(ordenadas.begin(), ordenadas.end());
        QList<qint64> esperados;
        for (const int linha : ordenadas)
            esperados.append(l->modelo()->codigoEm(linha));
        QCOMPARE(recebidos, habilitado ? esperados : QList<qint64>{});
    }
};

QUENVAR_TEST(TestComandos)
#include "tst_comandos.moc"
