#include "fixtures.h"
#include "testregistry.h"

#include "desktop/scripteddialogs.h"
#include "platform/database.h"
#include "preview/impressora.h"
#include "preview/visualiza.h"
#include "preview/visualizador.h"
#include "printing/relatorio.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

#include <memory>
#include <optional>

using desktop::Dialogs;
using preview::Visualiza;
using printing::Relatorio;
using printing::TipoRelatorio;

class TestVisualiza : public QObject
{
    Q_OBJECT

private:
    PastaDeTeste m_pasta{true};
    std::unique_ptr<platform::Database> m_banco;
    desktop::ScriptedDialogs* m_dialogs = nullptr;
    std::unique_ptr<Visualiza> m_v;

    // The page (from 1) of a name's group or of a block of the report shown ("Contrapiso - 00"), by the report's
    // contents.
    int paginaDe(const QString& entrada) const
    {
        const printing::IndiceDoRelatorio& indice = m_v->relatorio()->indice();
        const QStringList partes = entrada.split(QStringLiteral(" - "));
        for (int n = 0; n < indice.nomes(); ++n) {
            if (indice.nome(n) != partes.first())
                continue;
            if (partes.size() == 1)
                return indice.lugar(n).pagina + 1;
            for (int v = 0; v < indice.variantes(n); ++v) {
                if (indice.variante(n, v) == partes.last())
                    return indice.lugar(n, v).pagina + 1;
            }
        }
        return -1;
    }

    void aciona(const char* ferramenta)
    {
        QAction* a = m_v->ferramenta(QString::fromUtf8(ferramenta));
        QVERIFY2(a, ferramenta);
        QVERIFY2(a->isEnabled(), ferramenta);
        a->trigger();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_pasta.valida());
        m_banco = std::make_unique<platform::Database>(QStringLiteral("teste-visualiza"));
        m_banco->open(m_pasta.local());
    }

    void cleanupTestCase() { m_banco->close(); }

    void init()
    {
        auto dialogs = std::make_unique<desktop::ScriptedDialogs>();
        m_dialogs = dialogs.get();
        Dialogs::instala(std::move(dialogs));
        auto relatorio = std::make_unique<Relatorio>(TipoRelatorio::Todos, *m_banco, QString());
        QVERIFY(relatorio->preparaPaginas());
        m_v = std::make_unique<Visualiza>();
        m_v->resize(1100, 800);
        m_v->RunReport(std::move(relatorio));
        m_v->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_v.get()));
    }

    void cleanup()
    {
        m_v.reset();
        Visualiza::defineEscolhaDeArquivo({});
        preview::defineAmbienteDoRelatorio({});
        preview::defineProcuraDeImpressora({});
    }

    void boundReport()
    {
        QCOMPARE(m_v->windowTitle(), QStringLiteral("Quenvar - Todos"));
        QCOMPARE(m_v->Visual->zoom(), 100.0);
        QCOMPARE(m_v->Zoom->text(), QStringLiteral("100%"));
        QCOMPARE(m_v->paginaAtual(), 1);
        QCOMPARE(m_v->NumeroDaPagina->text(), QStringLiteral("1"));
        QCOMPARE(m_v->TotalDePaginas->text().trimmed(),
                 QStringLiteral("de %1").arg(m_v->relatorio()->documento().pageCount()));
        QVERIFY(!m_v->ferramenta(QStringLiteral("PrevPage"))->isEnabled());
        QVERIFY(!m_v->podeVoltar());
        // The print tool shows its caption whole, ellipsis and all.
        QAction* imprimir = m_v->ferramenta(QStringLiteral("&Print..."));
        QCOMPARE(qobject_cast<QToolButton*>(m_v->Barra->widgetForAction(imprimir))->text(),
                 QStringLiteral("Imprimir..."));
    }

    // The contents list the names with their variants under them, every name open.
    void contentsTree()
    {
        QTreeView* arvore = m_v->Indice;
        QVERIFY(arvore->isVisible());
        QAbstractItemModel* modelo = arvore->model();
        QAbstractItemModelTester verificador(modelo, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(modelo->rowCount(), 8);
        const QModelIndexList nomes = modelo->match(modelo->index(0, 0), Qt::DisplayRole,
                                                    QStringLiteral("Concreto fck 25"), -1, Qt::MatchExactly);
        QCOMPARE(nomes.size(), 1);
        QVERIFY(arvore->isExpanded(nomes.first()));
        QStringList variantes;
        for (int i = 0; i < modelo->rowCount(nomes.first()); ++i)
            variantes.append(modelo->index(i, 0, nomes.first()).data().toString());
        QCOMPARE(variantes, (QStringList{"00", "01", "02"}));

        // Hiding the contents.
        aciona("Table Of Contents");
        QVERIFY(!arvore->isVisible());
    }

    // An entry clicked, or chosen with the keys, shows its page.
    void contentsGoToThePage_data()
    {
        QTest::addColumn<QString>("entrada");
        QTest::addColumn<bool>("teclado");

        QTest::newRow("a variant clicked") << "Concreto fck 25 - 02" << false;
        QTest::newRow("a name chosen with Enter") << "Traço d'Obra" << true;
    }

    void contentsGoToThePage()
    {
        QFETCH(QString, entrada);
        QFETCH(bool, teclado);

        QTreeView* arvore = m_v->Indice;
        const QAbstractItemModel* modelo = arvore->model();
        const QStringList partes = entrada.split(QStringLiteral(" - "));
        QModelIndex alvo =
            modelo->match(modelo->index(0, 0), Qt::DisplayRole, partes.first(), 1, Qt::MatchExactly).value(0);
        if (partes.size() > 1)
            alvo =
                modelo->match(modelo->index(0, 0, alvo), Qt::DisplayRole, partes.last(), 1, Qt::MatchExactly).value(0);
        QVERIFY(alvo.isValid());
        const int pagina = paginaDe(entrada);
        QVERIFY(pagina > 1);
        if (teclado) {
            arvore->setFocus();
            arvore->setCurrentIndex(alvo);
            QTest::keyClick(arvore, Qt::Key_Return);
        } else {
            arvore->scrollTo(alvo);
            QTest::mouseClick(arvore->viewport(), Qt::LeftButton, {}, arvore->visualRect(alvo).center());
        }
        QCOMPARE(m_v->paginaAtual(), pagina);
        QVERIFY(m_v->podeVoltar());
    }

    void pageNumberEntry_data()
    {
        QTest::addColumn<QString>("digitado");
        QTest::addColumn<int>("pagina");

        QTest::newRow("a page of the report") << "3" << 3;
        QTest::newRow("the last page") << "6" << 6;
        QTest::newRow("past the last page") << "7" << 1;
        QTest::newRow("zero") << "0" << 1;
    }

    void pageNumberEntry()
    {
        QFETCH(QString, digitado);
        QFETCH(int, pagina);

        QCOMPARE(m_v->relatorio()->documento().pageCount(), 6);
        m_v->NumeroDaPagina->setFocus();
        m_v->NumeroDaPagina->selectAll();
        QTest::keyClicks(m_v->NumeroDaPagina, digitado);
        QTest::keyClick(m_v->NumeroDaPagina, Qt::Key_Return);
        QCOMPARE(m_v->paginaAtual(), pagina);
        // A refused number gives way to the page shown.
        QCOMPARE(m_v->NumeroDaPagina->text(), QString::number(pagina));
        if (pagina == 1)
            QVERIFY(!m_v->podeVoltar());
    }

    void previousAndNext()
    {
        aciona("NextPage");
        aciona("NextPage");
        QCOMPARE(m_v->paginaAtual(), 3);
        QCOMPARE(m_v->NumeroDaPagina->text(), QStringLiteral("3"));
        aciona("PrevPage");
        QCOMPARE(m_v->paginaAtual(), 2);
        m_v->irParaPagina(6);
        QVERIFY(!m_v->ferramenta(QStringLiteral("NextPage"))->isEnabled());
    }

    void backAndForward()
    {
        QVERIFY(!m_v->ferramenta(QStringLiteral("&Back"))->isEnabled());
        QVERIFY(m_v->irParaPagina(3));
        QVERIFY(m_v->irParaPagina(5));
        aciona("&Back");
        QCOMPARE(m_v->paginaAtual(), 3);
        aciona("&Back");
        QCOMPARE(m_v->paginaAtual(), 1);
        QVERIFY(!m_v->ferramenta(QStringLiteral("&Back"))->isEnabled());
        aciona("F&orward");
        QCOMPARE(m_v->paginaAtual(), 3);
        QVERIFY(m_v->podeAvancar());
        // A new page leaves the pages ahead behind.
        QVERIFY(m_v->irParaPagina(2));
        QVERIFY(!m_v->ferramenta(QStringLiteral("F&orward"))->isEnabled());
        aciona("&Back");
        QCOMPARE(m_v->paginaAtual(), 3);
    }

    void zoomTools()
    {
        aciona("Zoom in");
        QCOMPARE(m_v->Visual->zoom(), 125.0);
        QCOMPARE(m_v->Zoom->text(), QStringLiteral("125%"));
        aciona("Zoom out");
        aciona("Zoom out");
        QCOMPARE(m_v->Visual->zoom(), 75.0);
        for (int i = 0; i < 20; ++i)
            m_v->diminuir();
        QCOMPARE(m_v->Visual->zoom(), 10.0);

        const double larguraDaJanela = m_v->Visual->viewport()->width();
        aciona("Page Width");
        const QRectF pagina = m_v->Visual->retanguloDaPagina(0);
        QVERIFY(pagina.width() <= larguraDaJanela);
        QVERIFY(pagina.width() > larguraDaJanela - 40);
        QCOMPARE(m_v->Zoom->text(), QStringLiteral("%1%").arg(std::lround(m_v->Visual->zoom())));

        aciona("Whole Page");
        QVERIFY(m_v->Visual->retanguloDaPagina(0).height() <= m_v->Visual->viewport()->height());
    }

    void singleAndMultiPageViews()
    {
        m_v->irParaPagina(3);
        aciona("Multi Page View");
        QCOMPARE(m_v->paginasPorLinha(), 2);
        const QRectF terceira = m_v->Visual->retanguloDaPagina(2);
        const QRectF quarta = m_v->Visual->retanguloDaPagina(3);
        QCOMPARE(terceira.top(), quarta.top());
        QVERIFY(quarta.left() > terceira.right());
        QVERIFY(QRectF(m_v->Visual->viewport()->rect()).contains(quarta));
        QCOMPARE(m_v->paginaAtual(), 3);

        aciona("Single View");
        QCOMPARE(m_v->paginasPorLinha(), 1);
        QVERIFY(m_v->Visual->retanguloDaPagina(3).top() > m_v->Visual->retanguloDaPagina(2).bottom());
        QCOMPARE(m_v->paginaAtual(), 3);
    }

    void find()
    {
        const int pagina = paginaDe(QStringLiteral("Contrapiso - 00"));
        QVERIFY(m_v->localizar(QStringLiteral("contrapiso")));
        QCOMPARE(m_v->paginaAtual(), pagina);
        QCOMPARE(m_v->Visual->paginaDoDestaque(), pagina - 1);
        const QRectF primeiro = m_v->Visual->destaque();

        // Next: the group header, then the block's title, then round to the first again.
        QVERIFY(m_v->localizar(QStringLiteral("Contrapiso")));
        QVERIFY(m_v->Visual->destaque() != primeiro);
        QVERIFY(m_v->localizar(QStringLiteral("Contrapiso")));
        QVERIFY(m_v->Visual->destaque() == primeiro);
        QVERIFY(m_dialogs->mensagens().isEmpty());

        // Typed in the find box.
        m_v->irParaPagina(1);
        m_v->Procura->setText(QStringLiteral("Traço d'Obra - 00"));
        aciona("Find");
        QCOMPARE(m_v->paginaAtual(), paginaDe(QStringLiteral("Traço d'Obra - 00")));

        QVERIFY(!m_v->localizar(QStringLiteral("granito")));
        QCOMPARE(m_dialogs->mensagens().size(), 1);
        QCOMPARE(m_dialogs->mensagens().first().texto,
                 QStringLiteral("O texto \"granito\" não foi encontrado no relatório."));
        QCOMPARE(m_v->Visual->paginaDoDestaque(), -1);
    }

    // A long report is searched page by page with a progress the user may cancel.
    void findCancelled()
    {
        int total = -1;
        preview::defineAmbienteDoRelatorio({{}, [&total](QWidget*, int paginas) -> printing::ProgressoDoRelatorio {
                                                total = paginas;
                                                return [](int feitas, int) { return feitas < 2; };
                                            }});
        QVERIFY(!m_v->localizar(QStringLiteral("granito")));
        QCOMPARE(total, 6);
        QVERIFY(m_dialogs->mensagens().isEmpty());
        QCOMPARE(m_v->paginaAtual(), 1);
    }

    void copyThePageShown()
    {
        const int pagina = paginaDe(QStringLiteral("Contrapiso - 00"));
        m_v->irParaPagina(pagina);
        aciona("Copy");
        const QMimeData* dados = QApplication::clipboard()->mimeData();
        QVERIFY(dados);
        const QString texto = dados->text();
        QVERIFY(texto.contains(QStringLiteral("Contrapiso - 00")));
        QVERIFY(texto.contains(QStringLiteral("Página %1").arg(pagina)));
        QVERIFY(!texto.contains(QStringLiteral("Concreto fck 25 - 00")));
        // Boxes on one line come out on one line, left to right.
        QVERIFY(texto.contains(QStringLiteral("Cimento 25\t35,0 litros\tCimento 25\t")));
        const QImage imagem = qvariant_cast<QImage>(dados->imageData());
        QVERIFY(!imagem.isNull());
        QVERIFY(std::abs(double(imagem.height()) / imagem.width() - printing::kAlturaA4 / printing::kLarguraA4) < 0.01);
    }

    // A PDF needs no printer.
    void savePdf()
    {
        preview::defineProcuraDeImpressora([] { return false; });
        QTemporaryDir pasta;
        QString sugerido;
        const QString arquivo = pasta.filePath(QStringLiteral("catalogo"));
        Visualiza::defineEscolhaDeArquivo([&](QWidget*, const QString& sugestao) {
            sugerido = sugestao;
            return arquivo;
        });
        aciona("Save PDF");
        // In the user's documents, named after the report.
        QCOMPARE(sugerido, QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                               .filePath(QStringLiteral("Quenvar - Todos.pdf")));
        QFile pdf(arquivo + QStringLiteral(".pdf"));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QCOMPARE(pdf.read(5), QByteArray("%PDF-"));
        QVERIFY(m_dialogs->mensagens().isEmpty());
    }

    void printNeedsAPrinter_data()
    {
        QTest::addColumn<bool>("instalada");

        QTest::newRow("printer installed") << true;
        QTest::newRow("no printer") << false;
    }

    void printNeedsAPrinter()
    {
        QFETCH(bool, instalada);
        preview::defineProcuraDeImpressora([instalada] { return instalada; });
        m_dialogs->proximoModal([](QDialog*) { return int(QDialog::Rejected); });
        aciona("&Print...");
        QCOMPARE(m_dialogs->modaisMostrados().size(), instalada ? 1 : 0);
        QCOMPARE(m_dialogs->mensagens().size(), instalada ? 0 : 1);
        if (!instalada)
            QCOMPARE(m_dialogs->mensagens().first().titulo, QStringLiteral("Instalar Impressora"));
    }

    void cancelledShowsNoReport()
    {
        preview::defineAmbienteDoRelatorio({[] { return printing::Orientacao::Retrato; },
                                            [](QWidget*, int) -> printing::ProgressoDoRelatorio {
                                                return [](int feitos, int) { return feitos < 3; };
                                            }});
        QVERIFY(!preview::MostraRelatorio(printing::TipoRelatorio::Todos, *m_banco, QString(), nullptr));
        QVERIFY(m_dialogs->modaisMostrados().isEmpty());
        QVERIFY(m_dialogs->mensagens().isEmpty());
    }

    // The report shown in its viewer, its progress counted by mix. The layout is for portrait paper: a printer in
    // landscape is offered the switch before the report is composed, and the answer decides the pages' orientation.
    void landscapeQuestion_data()
    {
        QTest::addColumn<printing::Orientacao>("impressora");
        QTest::addColumn<Dialogs::Resposta>("resposta");
        QTest::addColumn<int>("perguntas");
        QTest::addColumn<printing::Orientacao>("paginas");

        const auto retrato = printing::Orientacao::Retrato;
        const auto paisagem = printing::Orientacao::Paisagem;
        QTest::newRow("landscape, yes") << paisagem << Dialogs::Resposta::Sim << 1 << retrato;
        QTest::newRow("landscape, no") << paisagem << Dialogs::Resposta::Nao << 1 << paisagem;
        QTest::newRow("portrait: no question") << retrato << Dialogs::Resposta::Nao << 0 << retrato;
    }

    void landscapeQuestion()
    {
        QFETCH(printing::Orientacao, impressora);
        QFETCH(Dialogs::Resposta, resposta);
        QFETCH(int, perguntas);
        QFETCH(printing::Orientacao, paginas);

        m_dialogs->proximaResposta(resposta);
        std::optional<printing::Orientacao> composta;
        QString legenda;
        bool indice = false;
        m_dialogs->proximoModal([&](QDialog* form) {
            auto* v = qobject_cast<Visualiza*>(form);
            composta = v->relatorio()->documento().orientation();
            legenda = form->windowTitle();
            // The mixes in use are listed by name alone.
            indice = v->relatorio()->documento().pageCount() > 0 && v->Indice->model()->rowCount() == 7 &&
                     !v->Indice->model()->hasChildren(v->Indice->model()->index(0, 0));
            return int(QDialog::Accepted);
        });
        int total = -1;
        preview::defineAmbienteDoRelatorio({[impressora] { return impressora; },
                                            [&](QWidget*, int linhas) -> printing::ProgressoDoRelatorio {
                                                total = linhas;
                                                return {};
                                            }});
        QVERIFY(preview::MostraRelatorio(printing::TipoRelatorio::EmUso, *m_banco, QString(), nullptr));
        QCOMPARE(legenda, QStringLiteral("Quenvar - Em Uso"));
        QCOMPARE(total, 7);
        QVERIFY(indice);
        QCOMPARE(m_dialogs->modaisMostrados().size(), 1);
        QCOMPARE(m_dialogs->mensagens().size(), perguntas);
        if (perguntas) {
            const auto& m = m_dialogs->mensagens().first();
            QCOMPARE(m.titulo, QStringLiteral("Orientação do Papel"));
            QCOMPARE(m.texto, QStringLiteral("A orientação do papel está na horizontal.\rO correto é a orientação na "
                                             "vertical.\r\rQuer imprimir com orientação vertical?"));
            QCOMPARE(m.icone, Dialogs::Icone::Pergunta);
            QCOMPARE(m.botoes, Dialogs::Botoes::SimNao);
        }
        QCOMPARE(composta, std::optional(paginas));
    }

    void emptyCatalogue_data()
    {
        QTest::addColumn<int>("relatorio");
        QTest::addColumn<QString>("mensagem");

        QTest::newRow("every mix") << 1 << "Não existe nenhum traço cadastrado.";
        QTest::newRow("mixes in use") << 2 << "Não existe nenhum traço de plantão.";
    }

    void emptyCatalogue()
    {
        QFETCH(int, relatorio);
        QFETCH(QString, mensagem);

        PastaDeTeste vazia(false);
        QVERIFY(vazia.valida());
        platform::Database banco(QStringLiteral("teste-visualiza-vazio"));
        banco.open(vazia.local());
        QVERIFY(!preview::MostraRelatorio(printing::TipoRelatorio(relatorio), banco, QString(), nullptr));
        QCOMPARE(m_dialogs->mensagens().size(), 1);
        QCOMPARE(m_dialogs->mensagens().first().texto, mensagem);
        QVERIFY(m_dialogs->modaisMostrados().isEmpty());
        banco.close();
    }
};

QUENVAR_TEST(TestVisualiza)
#include "tst_visualiza.moc"
