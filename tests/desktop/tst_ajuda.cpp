#include "testregistry.h"

#include "desktop/ajuda.h"
#include "desktop/janelaajuda.h"
#include "desktop/scripteddialogs.h"
#include "platform/paths.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>

#include <algorithm>

using desktop::Ajuda;
using desktop::Dialogs;
using desktop::JanelaAjuda;
using desktop::ScriptedDialogs;
using platform::Paths;

namespace {

// The folder that holds Ajuda/ in the source tree: the tests read the pages as they are kept, not a copy.
QString pastaRecursos()
{
    return QStringLiteral(QUENVAR_RECURSOS);
}

QString pastaAjuda()
{
    return pastaRecursos() + QStringLiteral("Ajuda/");
}

QString limpo(const QString& caminho)
{
    return QDir::cleanPath(QFileInfo(caminho).absoluteFilePath());
}

QString nomeDe(const QString& caminho)
{
    const QFileInfo f(caminho);
    return f.dir().dirName() + QLatin1Char('/') + f.fileName();
}

QStringList nomesDe(const QStringList& caminhos)
{
    QStringList nomes;
    for (const QString& c : caminhos)
        nomes << nomeDe(c);
    return nomes;
}

QTreeWidgetItem* itemComCaminho(QTreeWidget* arvore, const QString& caminho)
{
    QTreeWidgetItemIterator it(arvore);
    while (*it) {
        if ((*it)->data(0, Qt::UserRole).toString() == limpo(caminho))
            return *it;
        ++it;
    }
    return nullptr;
}

// Clicks the first link whose text is `texto` on the page shown, as the user does.
bool clicaNoLink(QTextBrowser* navegador, const QString& texto)
{
    QTextCursor c = navegador->document()->find(texto);
    if (c.isNull() || !c.charFormat().isAnchor())
        return false;
    navegador->setTextCursor(c);
    navegador->ensureCursorVisible();
    QTextCursor meio(navegador->document());
    meio.setPosition((c.selectionStart() + c.selectionEnd()) / 2);
    const QPoint ponto = navegador->cursorRect(meio).center();
    QTest::mousePress(navegador->viewport(), Qt::LeftButton, {}, ponto);
    QTest::mouseRelease(navegador->viewport(), Qt::LeftButton, {}, ponto);
    return true;
}

// The keywords of the index that the filter leaves shown.
QStringList visiveis(QTreeWidget* lista)
{
    QStringList textos;
    for (int i = 0; i < lista->topLevelItemCount(); ++i)
        if (!lista->topLevelItem(i)->isHidden())
            textos << lista->topLevelItem(i)->text(0);
    return textos;
}

} // namespace

class TestAjuda : public QObject
{
    Q_OBJECT

private:
    ScriptedDialogs* m_dialogs = nullptr;
    QString m_pastaOriginal;

    void fechaJanela() { delete JanelaAjuda::existente(); }

private slots:
    void initTestCase() { m_pastaOriginal = Paths::pastaPrograma(); }

    void init()
    {
        m_dialogs = new ScriptedDialogs;
        Dialogs::instala(std::unique_ptr<Dialogs>(m_dialogs));
        Ajuda::defineVisualizador(nullptr);
        fechaJanela();
        // The help as it is shipped, unless a test puts the program elsewhere.
        Paths::definePastaPrograma(pastaRecursos());
    }

    void cleanup()
    {
        fechaJanela();
        Ajuda::defineVisualizador(nullptr);
        Paths::definePastaPrograma(m_pastaOriginal);
    }

    // Below 30001 the program's pages, from 30001 the suite's; topic 0 is the contents.
    void paginaDoTopico_data()
    {
        QTest::addColumn<int>("topico");
        QTest::addColumn<QString>("pagina");
        QTest::newRow("conteúdo") << 0 << "/opt/quenvar/Ajuda/Quenvar/index.html";
        QTest::newRow("terceira página do cadastro") << 3003 << "/opt/quenvar/Ajuda/Quenvar/3003.html";
        QTest::newRow("último tópico do programa") << 30000 << "/opt/quenvar/Ajuda/Quenvar/30000.html";
        QTest::newRow("primeiro tópico do Sistema") << 30001 << "/opt/quenvar/Ajuda/Sistema/30001.html";
    }
    void paginaDoTopico()
    {
        QFETCH(int, topico);
        QFETCH(QString, pagina);
        Paths::definePastaPrograma(QStringLiteral("/opt/quenvar/"));
        QCOMPARE(Ajuda::pagina(topico), pagina);
    }

    // Every topic the program's windows ask for has a page in the help that is shipped (its title is checked with
    // every other page's below).
    void todoTopicoPedidoTemPagina()
    {
        for (const int topico : {0, 1001, 1002, 1003, 2000, 3001, 3002, 3003, 4003, 30020, 31020})
            QVERIFY2(QFileInfo::exists(Ajuda::pagina(topico)), qPrintable(Ajuda::pagina(topico)));
    }

    // The pages are linked to each other: every link inside the help reaches a page that is there, every page has a
    // title and keywords for the index, and every page is in the contents.
    void paginasLigadasEIndexadas()
    {
        const JanelaAjuda janela(pastaAjuda());
        QVERIFY(janela.paginas().size() >= 20);
        static const QRegularExpression link(QStringLiteral("href=\"([^\"#]*)(#[^\"]*)?\""));
        auto* conteudo = janela.findChild<QTreeWidget*>(QStringLiteral("Conteudo"));
        QVERIFY(conteudo);
        for (const JanelaAjuda::Pagina& p : janela.paginas()) {
            QVERIFY2(p.titulo != QFileInfo(p.arquivo).completeBaseName(), qPrintable(p.arquivo + " sem título"));
            QVERIFY2(!p.palavrasChave.isEmpty(), qPrintable(p.arquivo + " sem palavras-chave"));
            QVERIFY2(itemComCaminho(conteudo, p.arquivo), qPrintable(p.arquivo + " fora do conteúdo"));
            QFile f(p.arquivo);
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QString html = QString::fromUtf8(f.readAll());
            QVERIFY2(html.contains(QStringLiteral("<meta charset=\"utf-8\">")), qPrintable(p.arquivo));
            QVERIFY2(html.contains(QStringLiteral("href=\"../estilo.css\"")), qPrintable(p.arquivo));
            auto ligacoes = link.globalMatch(html);
            while (ligacoes.hasNext()) {
                const QString alvo = ligacoes.next().captured(1);
                if (alvo.isEmpty() || alvo.contains(QLatin1Char(':')))
                    continue;
                const QString caminho = QFileInfo(p.arquivo).absoluteDir().absoluteFilePath(alvo);
                QVERIFY2(QFileInfo::exists(caminho), qPrintable(p.arquivo + " -> " + alvo));
            }
        }
        // And the contents lead only to pages that exist.
        QTreeWidgetItemIterator it(conteudo);
        while (*it) {
            const QString caminho = (*it)->data(0, Qt::UserRole).toString();
            QVERIFY2(caminho.isEmpty() || QFileInfo::exists(caminho), qPrintable((*it)->text(0)));
            ++it;
        }
    }

    // A missing page, or a viewer that opens nothing, gives the program's message; nothing is opened then.
    void semPaginaMostraAMensagem_data()
    {
        QTest::addColumn<QString>("pasta");
        QTest::addColumn<int>("topico");
        QTest::newRow("pasta do programa sem ajuda") << QString() << 3001;
        QTest::newRow("tópico que não existe") << pastaRecursos() << 3004;
        QTest::newRow("tópico do Sistema que não existe") << pastaRecursos() << 30001;
    }
    void semPaginaMostraAMensagem()
    {
        QFETCH(QString, pasta);
        QFETCH(int, topico);
        QTemporaryDir vazia;
        Paths::definePastaPrograma(pasta.isEmpty() ? vazia.path() : pasta);
        Ajuda::MostraAjuda(nullptr, topico);
        QCOMPARE(m_dialogs->mensagens().size(), 1);
        const ScriptedDialogs::Mensagem& m = m_dialogs->mensagens().first();
        QCOMPARE(m.texto, QStringLiteral("A Ajuda não abre ou tópico não existe"));
        QCOMPARE(m.titulo, QStringLiteral("Ajuda do Programa"));
        QCOMPARE(m.icone, Dialogs::Icone::Exclamacao);
        QCOMPARE(m.botoes, Dialogs::Botoes::Ok);
        QVERIFY(!JanelaAjuda::existente());
    }

    void visualizadorDefinidoDecide()
    {
        Paths::definePastaPrograma(QStringLiteral("/opt/quenvar/"));
        QWidget dono;
        QStringList pedidos; // "page topic", asked for the owner window
        bool abre = true;
        Ajuda::defineVisualizador([&](QWidget* janela, const QString& pagina, int topico) {
            pedidos.append(janela == &dono ? QStringLiteral("%1 %2").arg(pagina).arg(topico) : QString());
            return abre;
        });
        Ajuda::MostraAjuda(&dono, 30020);
        QCOMPARE(pedidos, QStringList{QStringLiteral("/opt/quenvar/Ajuda/Sistema/30020.html 30020")});
        QVERIFY(m_dialogs->mensagens().isEmpty());
        abre = false;
        Ajuda::MostraAjuda(&dono, 3002);
        QCOMPARE(m_dialogs->mensagens().size(), 1);
        QCOMPARE(m_dialogs->mensagens().first().texto, QStringLiteral("A Ajuda não abre ou tópico não existe"));
    }

    // The program's help opens one window, reused from topic to topic, that follows the page in its contents.
    void umaJanelaQueMostraOTopico()
    {
        QWidget dono;
        Ajuda::MostraAjuda(&dono, 3002);
        QVERIFY(m_dialogs->mensagens().isEmpty());
        JanelaAjuda* janela = JanelaAjuda::existente();
        QVERIFY(janela);
        QVERIFY(janela->isVisible());
        QVERIFY(!janela->isModal());
        QCOMPARE(limpo(janela->paginaAtual()), limpo(Ajuda::pagina(3002)));
        QCOMPARE(janela->windowTitle(), QStringLiteral("Ajuda do Quenvar - Página Componentes e Massas"));
        auto* conteudo = janela->findChild<QTreeWidget*>(QStringLiteral("Conteudo"));
        QVERIFY(conteudo->currentItem());
        QCOMPARE(conteudo->currentItem()->text(0), QStringLiteral("Página Componentes e Massas"));
        auto* navegador = janela->findChild<QTextBrowser*>(QStringLiteral("Pagina"));
        QVERIFY(navegador->toPlainText().contains(QStringLiteral("Dosagem por metro cúbico")));

        Ajuda::MostraAjuda(&dono, 30020);
        QCOMPARE(JanelaAjuda::existente(), janela);
        QCOMPARE(limpo(janela->paginaAtual()), limpo(Ajuda::pagina(30020)));
        QCOMPARE(conteudo->currentItem()->text(0), QStringLiteral("Sobre o Sistema"));
        int janelas = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            janelas += qobject_cast<JanelaAjuda*>(w) ? 1 : 0;
        QCOMPARE(janelas, 1);
        // A sensible size: neither a postage stamp nor larger than the screen.
        QVERIFY(janela->width() >= 600 && janela->height() >= 400);
        QVERIFY(janela->screen()->availableGeometry().size().expandedTo(janela->size()) ==
                janela->screen()->availableGeometry().size());
        // A topic without a page leaves the window where it was.
        Ajuda::MostraAjuda(&dono, 3999);
        QCOMPARE(m_dialogs->mensagens().size(), 1);
        QCOMPARE(limpo(janela->paginaAtual()), limpo(Ajuda::pagina(30020)));
    }

    void teclaFechaAJanela_data()
    {
        QTest::addColumn<QKeySequence>("tecla");
        QTest::newRow("Esc") << QKeySequence(Qt::Key_Escape);
        QTest::newRow("Ctrl+W") << QKeySequence(Qt::CTRL | Qt::Key_W);
    }
    void teclaFechaAJanela()
    {
        QFETCH(QKeySequence, tecla);
        QWidget dono;
        Ajuda::MostraAjuda(&dono, 3002);
        JanelaAjuda* janela = JanelaAjuda::existente();
        QVERIFY(janela && janela->isVisible());
        janela->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(janela));
        // From the page itself, where the reader's focus usually is.
        auto* navegador = janela->findChild<QTextBrowser*>(QStringLiteral("Pagina"));
        navegador->setFocus();
        QTest::keySequence(navegador, tecla);
        QTRY_VERIFY(!janela->isVisible());
    }

    void navegacao()
    {
        JanelaAjuda janela(pastaAjuda());
        auto* voltar = janela.findChild<QAction*>(QStringLiteral("Voltar"));
        auto* avancar = janela.findChild<QAction*>(QStringLiteral("Avancar"));
        auto* inicio = janela.findChild<QAction*>(QStringLiteral("Inicio"));
        QVERIFY(voltar && avancar && inicio);
        const QString a = pastaAjuda() + QStringLiteral("Quenvar/3001.html");
        const QString b = pastaAjuda() + QStringLiteral("Quenvar/exemplo.html");
        QVERIFY(janela.mostra(a));
        QVERIFY(!voltar->isEnabled());
        QVERIFY(janela.mostra(b));
        QVERIFY(voltar->isEnabled());
        QVERIFY(!avancar->isEnabled());
        voltar->trigger();
        QCOMPARE(limpo(janela.paginaAtual()), limpo(a));
        QVERIFY(avancar->isEnabled());
        avancar->trigger();
        QCOMPARE(limpo(janela.paginaAtual()), limpo(b));
        inicio->trigger();
        QCOMPARE(limpo(janela.paginaAtual()), limpo(pastaAjuda() + QStringLiteral("Quenvar/index.html")));
        QCOMPARE(janela.windowTitle(), QStringLiteral("Ajuda do Quenvar - Ajuda do Quenvar"));
        QVERIFY(!janela.mostra(pastaAjuda() + QStringLiteral("Quenvar/naoexiste.html")));
        QCOMPARE(limpo(janela.paginaAtual()), limpo(pastaAjuda() + QStringLiteral("Quenvar/index.html")));

        // Following a link of a page and clicking a topic of the contents both open the page.
        janela.show();
        QVERIFY(QTest::qWaitForWindowExposed(&janela));
        QVERIFY(janela.mostra(pastaAjuda() + QStringLiteral("Quenvar/3003.html")));
        auto* navegador = janela.findChild<QTextBrowser*>(QStringLiteral("Pagina"));
        QVERIFY(clicaNoLink(navegador, QStringLiteral("exemplo completo de cálculo")));
        QCOMPARE(nomeDe(janela.paginaAtual()), QStringLiteral("Quenvar/exemplo.html"));
        QCOMPARE(janela.windowTitle(), QStringLiteral("Ajuda do Quenvar - Exemplo completo de cálculo"));
        // Across the two books.
        QVERIFY(janela.mostra(pastaAjuda() + QStringLiteral("Quenvar/index.html")));
        QVERIFY(clicaNoLink(navegador, QStringLiteral("Sobre o Sistema")));
        QCOMPARE(nomeDe(janela.paginaAtual()), QStringLiteral("Sistema/30020.html"));

        auto* conteudo = janela.findChild<QTreeWidget*>(QStringLiteral("Conteudo"));
        QTreeWidgetItem* item = itemComCaminho(conteudo, pastaAjuda() + QStringLiteral("Quenvar/2000.html"));
        QVERIFY(item);
        conteudo->scrollToItem(item);
        QTest::mouseClick(conteudo->viewport(), Qt::LeftButton, {}, conteudo->visualItemRect(item).center());
        QCOMPARE(nomeDe(janela.paginaAtual()), QStringLiteral("Quenvar/2000.html"));
        QCOMPARE(janela.windowTitle(), QStringLiteral("Ajuda do Quenvar - Consistências e Abatimentos"));
    }

    // The index: keywords compared without case and accents, each leading to the pages that declare it.
    void indice_data()
    {
        QTest::addColumn<QString>("palavra");
        QTest::addColumn<QStringList>("paginas");
        QTest::newRow("sem acento") << "agua adicional"
                                    << QStringList{"Quenvar/3002.html", "Quenvar/exemplo.html", "Quenvar/umidade.html"};
        QTest::newRow("maiúsculas") << "VARIANTES" << QStringList{"Quenvar/variantes.html"};
        QTest::newRow("tópico do Sistema")
            << "Caminho.dad" << QStringList{"Quenvar/5001.html", "Quenvar/mensagens.html", "Sistema/30020.html"};
        QTest::newRow("não existe") << "betoneira elétrica" << QStringList{};
    }
    void indice()
    {
        QFETCH(QString, palavra);
        QFETCH(QStringList, paginas);
        const JanelaAjuda janela(pastaAjuda());
        QStringList achadas = nomesDe(janela.paginasDaPalavra(palavra));
        achadas.sort();
        QCOMPARE(achadas, paginas);
    }

    // Typing in the index keeps the keywords that hold the text; Enter opens the first one.
    void filtroDoIndice()
    {
        JanelaAjuda janela(pastaAjuda());
        auto* filtro = janela.findChild<QLineEdit*>(QStringLiteral("FiltroIndice"));
        auto* lista = janela.findChild<QTreeWidget*>(QStringLiteral("Indice"));
        QVERIFY(filtro && lista);
        const int todas = lista->topLevelItemCount();
        QCOMPARE(todas, janela.palavrasChave().size());
        filtro->setText(QStringLiteral("plantao"));
        const QStringList filtradas = visiveis(lista);
        QVERIFY(!filtradas.isEmpty());
        QVERIFY(filtradas.size() < todas);
        for (const QString& v : filtradas)
            QVERIFY2(JanelaAjuda::semAcentos(v).contains(QStringLiteral("plantao")), qPrintable(v));
        // The keywords in alphabetical order: "Novo traço de Plantão" comes first and has one page.
        QCOMPARE(filtradas.first(), QStringLiteral("Novo traço de Plantão"));
        QTest::keyClick(filtro, Qt::Key_Return);
        QCOMPARE(nomeDe(janela.paginaAtual()), QStringLiteral("Quenvar/variantes.html"));
        filtro->clear();
        QCOMPARE(visiveis(lista).size(), todas);
    }

    // The search: pages holding every word, case and accents aside, the page about it first.
    void pesquisa_data()
    {
        QTest::addColumn<QString>("consulta");
        QTest::addColumn<QStringList>("contidas");
        QTest::addColumn<QString>("primeira");
        QTest::newRow("título da página primeiro, com acentos e maiúsculas")
            << "ÁGUA Adicional" << QStringList{"Quenvar/exemplo.html", "Quenvar/3002.html"} << "Quenvar/umidade.html";
        QTest::newRow("lei de resistência")
            << "fcj 114,3" << QStringList{"Quenvar/assistente.html"} << "Quenvar/resistencia.html";
        QTest::newRow("página do Sistema") << "Caminho.dad" << QStringList{"Sistema/31020.html"} << QString();
        QTest::newRow("nada") << "xyzzy" << QStringList{} << QString();
        QTest::newRow("vazia") << "   " << QStringList{} << QString();
    }
    void pesquisa()
    {
        QFETCH(QString, consulta);
        QFETCH(QString, primeira);
        QFETCH(QStringList, contidas);
        const JanelaAjuda janela(pastaAjuda());
        const QStringList achadas = nomesDe(janela.pesquisa(consulta));
        if (!primeira.isEmpty())
            QCOMPARE(achadas.value(0), primeira);
        for (const QString& c : contidas)
            QVERIFY2(achadas.contains(c), qPrintable(c));
        if (contidas.isEmpty() && primeira.isEmpty())
            QVERIFY(achadas.isEmpty());
        // Every page found holds every word; no page holding them all is left out.
        const QStringList palavras = JanelaAjuda::semAcentos(consulta).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const JanelaAjuda::Pagina& p : janela.paginas()) {
            const QString texto = JanelaAjuda::semAcentos(p.texto);
            const bool todas = !palavras.isEmpty() && std::all_of(palavras.begin(), palavras.end(),
                                                                  [&](const QString& w) { return texto.contains(w); });
            QCOMPARE(achadas.contains(nomeDe(p.arquivo)), todas);
        }
    }

    // Searching from the window lists the pages; opening one marks the words found on it.
    void pesquisaNaJanela()
    {
        JanelaAjuda janela(pastaAjuda());
        auto* texto = janela.findChild<QLineEdit*>(QStringLiteral("TextoPesquisa"));
        auto* localizar = janela.findChild<QPushButton*>(QStringLiteral("Localizar"));
        auto* resultados = janela.findChild<QListWidget*>(QStringLiteral("Resultados"));
        auto* navegador = janela.findChild<QTextBrowser*>(QStringLiteral("Pagina"));
        QVERIFY(texto && localizar && resultados && navegador);
        texto->setText(QStringLiteral("umidade"));
        QTest::mouseClick(localizar, Qt::LeftButton);
        QCOMPARE(resultados->count(), janela.pesquisa(QStringLiteral("umidade")).size());
        QVERIFY(resultados->count() > 3);
        emit resultados->itemActivated(resultados->item(0));
        QCOMPARE(limpo(janela.paginaAtual()), janela.pesquisa(QStringLiteral("umidade")).first());
        QVERIFY(!navegador->extraSelections().isEmpty());
        for (const auto& marca : navegador->extraSelections())
            QCOMPARE(JanelaAjuda::semAcentos(marca.cursor.selectedText()), QStringLiteral("umidade"));

        texto->setText(QStringLiteral("xyzzy"));
        QTest::keyClick(texto, Qt::Key_Return);
        QCOMPARE(resultados->count(), 1);
        QCOMPARE(resultados->item(0)->text(), QStringLiteral("Nenhum tópico encontrado."));
        QCOMPARE(resultados->item(0)->flags(), Qt::NoItemFlags);
    }

    // Over a modal form the help window becomes the form's own window, so that it is not blocked; when the form
    // closes the window stays open on its own and outlives the form.
    void sobreUmFormularioModal()
    {
        auto* form = new QDialog;
        form->setWindowModality(Qt::ApplicationModal);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        QCOMPARE(QApplication::activeModalWidget(), form);
        Ajuda::MostraAjuda(form, 1002);
        QPointer<JanelaAjuda> janela = JanelaAjuda::existente();
        QVERIFY(janela);
        QCOMPARE(janela->parentWidget(), form);
        QVERIFY(janela->isWindow());
        form->hide();
        QVERIFY(janela);
        QCOMPARE(janela->parentWidget(), nullptr);
        QVERIFY(janela->isVisible());
        delete form;
        QVERIFY(janela);
        QCOMPARE(limpo(janela->paginaAtual()), limpo(Ajuda::pagina(1002)));
    }
};

QUENVAR_TEST(TestAjuda)
#include "tst_ajuda.moc"
