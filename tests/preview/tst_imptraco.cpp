#include "fichatestsupport.h"
#include "testregistry.h"

#include "desktop/scripteddialogs.h"
#include "desktop/som.h"
#include "platform/clock.h"
#include "preview/impressora.h"
#include "preview/imptraco.h"
#include "preview/previatraco.h"
#include "preview/visualizador.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using fichatest::estadoDe;
using fichatest::linhaGravada;
using preview::ImpTraco;
using preview::PreviaTraco;
using preview::Visualizador;

namespace {

bool ehPdf(const QString& arquivo)
{
    QFile f(arquivo);
    return f.open(QIODevice::ReadOnly) && f.read(5) == "%PDF-";
}

} // namespace

class TestImpTraco : public QObject
{
    Q_OBJECT

private:
    desktop::ScriptedDialogs* m_dialogs = nullptr;
    QList<int> m_sons;
    std::unique_ptr<ImpTraco> m_form;

    // The sheet of the stored mix, shown as the catalogue shows it; its preview.
    PreviaTraco* mostra()
    {
        m_form = std::make_unique<ImpTraco>(linhaGravada(), nullptr);
        m_form->resize(900, 700);
        m_form->show();
        return m_form->previa();
    }

private slots:
    void init()
    {
        auto dialogs = std::make_unique<desktop::ScriptedDialogs>();
        m_dialogs = dialogs.get();
        desktop::Dialogs::instala(std::move(dialogs));
        m_sons.clear();
        desktop::observaSons([this](int som) { m_sons.append(som); });
        preview::defineProcuraDeImpressora([] { return true; });
    }

    void cleanup()
    {
        m_form.reset();
        desktop::observaSons({});
        PreviaTraco::defineEscolhaDeArquivo({});
        preview::defineProcuraDeImpressora({});
    }

    void activationComposesTheStoredMix()
    {
        ImpTraco form(linhaGravada(), nullptr);
        QCOMPARE(form.windowTitle(), QStringLiteral("Quenvar "));
        QCOMPARE(form.previa()->documento().pageCount(), 0);
        form.resize(900, 700);
        form.show();

        PreviaTraco* previa = form.previa();
        QCOMPARE(form.windowTitle(), QStringLiteral("Quenvar  [Concreto 20 - 03]"));
        QCOMPARE(form.estado().titulo, QStringLiteral("Concreto 20 - 03"));
        QCOMPARE(previa->documento().pageCount(), 1);
        QVERIFY(previa->documento().header().endsWith(QStringLiteral("Cotação de 10-03-2024")));
        QCOMPARE(previa->zoom(), qint16(100));
        QCOMPARE(previa->Folha->zoom(), 100.0);
        QCOMPARE(previa->Lente->currentText(), QStringLiteral("100%"));
        // The page's top shows first.
        QCOMPARE(previa->Folha->verticalScrollBar()->value(), 0);
        QCOMPARE(previa->Folha->retanguloDaPagina(0).top(), 12.0);
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(m_dialogs->mensagens().isEmpty());

        // Shown again over another row of the catalogue: composed anew from it, the caption grows.
        form.hide();
        QVariantMap outra = linhaGravada();
        outra.insert(QStringLiteral("TracoVariante"), 4);
        form.defineLinha(outra);
        form.show();
        QCOMPARE(form.windowTitle(), QStringLiteral("Quenvar  [Concreto 20 - 03] [Concreto 20 - 04]"));
        QCOMPARE(previa->titulo(), QStringLiteral("Concreto 20 - 04"));
        QCOMPARE(previa->documento().pageCount(), 1);

        // Closing unloads the form: the sheet and the grown caption go; loaded again, it composes from scratch.
        QVERIFY(form.close());
        QCOMPARE(form.windowTitle(), QStringLiteral("Quenvar "));
        QCOMPARE(previa->documento().pageCount(), 0);
        form.show();
        QCOMPARE(form.windowTitle(), QStringLiteral("Quenvar  [Concreto 20 - 04]"));
    }

    void zoomListAndButtons_data()
    {
        QTest::addColumn<QString>("inicio");
        QTest::addColumn<QList<int>>("botoes");
        QTest::addColumn<int>("zoom");

        const int menos = PreviaTraco::BotaoDiminuir;
        const int mais = PreviaTraco::BotaoAumentar;
        QTest::newRow("100 out to 90") << "100%" << QList<int>{menos} << 90;
        QTest::newRow("100 in to 150") << "100%" << QList<int>{mais} << 150;
        QTest::newRow("150 out to 100") << "100%" << QList<int>{mais, menos} << 100;
        QTest::newRow("90 in to 100") << "100%" << QList<int>{menos, mais} << 100;
        QTest::newRow("no lower than the preview allows") << "25%" << QList<int>{menos, menos, menos} << 10;
        QTest::newRow("800 in to 850") << "800%" << QList<int>{mais} << 850;
        // A choice of the list alone: only its zoom texts count.
        QTest::newRow("25% chosen") << "25%" << QList<int>{} << 25;
        QTest::newRow("80%, the list's first text") << "80%" << QList<int>{} << 80;
        QTest::newRow("any other text does nothing") << "130%" << QList<int>{} << 100;
        QTest::newRow("not a zoom") << "Zoom" << QList<int>{} << 100;
    }

    void zoomListAndButtons()
    {
        QFETCH(QString, inicio);
        QFETCH(QList<int>, botoes);
        QFETCH(int, zoom);

        PreviaTraco* previa = mostra();
        // As the list delivers a choice.
        emit previa->Lente->textActivated(inicio);
        for (const int botao : botoes)
            QTest::mouseClick(previa->Botao[std::size_t(botao)], Qt::LeftButton);

        QCOMPARE(previa->zoom(), qint16(zoom));
        QCOMPARE(previa->Folha->zoom(), double(zoom));
        // The buttons write their zoom in the list's box.
        if (!botoes.isEmpty())
            QCOMPARE(previa->Lente->currentText(), QStringLiteral("%1%").arg(zoom));
        QCOMPARE(previa->Folha->zoomMode(), Visualizador::ModoZoom::Livre);
        // Zooming never composes the sheet again.
        QCOMPARE(m_form->windowTitle().count(QLatin1Char('[')), 1);
    }

    void pageFits()
    {
        PreviaTraco* previa = mostra();
        Visualizador* folha = previa->Folha;
        const QSize janela = folha->viewport()->size();

        previa->LenteClick(QStringLiteral("Pág.Larg."));
        QCOMPARE(folha->zoomMode(), Visualizador::ModoZoom::LarguraDaPagina);
        QCOMPARE(previa->zoom(), qint16(70));
        QRectF pagina = folha->retanguloDaPagina(0);
        QVERIFY2(std::abs(pagina.width() - (janela.width() - 28)) < 1.0, qPrintable(QString::number(pagina.width())));
        QVERIFY(pagina.height() > janela.height());
        QCOMPARE(folha->horizontalScrollBar()->maximum(), 0);

        previa->LenteClick(QStringLiteral("Pág.Toda"));
        QCOMPARE(folha->zoomMode(), Visualizador::ModoZoom::PaginaInteira);
        QCOMPARE(previa->zoom(), qint16(30));
        pagina = folha->retanguloDaPagina(0);
        QVERIFY(pagina.height() <= janela.height() - 24 && pagina.width() <= janela.width() - 24);
        QVERIFY(std::abs(pagina.height() - (janela.height() - 28)) < 1.0);
        QVERIFY(pagina.left() >= 0 && pagina.top() >= 0);

        // Back to a zoom of its own: real size at 100 %.
        previa->LenteClick(QStringLiteral("100%"));
        QCOMPARE(folha->zoomMode(), Visualizador::ModoZoom::Livre);
        QVERIFY(std::abs(folha->retanguloDaPagina(0).width() - 11906.0 / 1440.0 * folha->logicalDpiX()) < 0.01);
    }

    void fitFollowsAResize()
    {
        PreviaTraco* previa = mostra();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        previa->LenteClick(QStringLiteral("Pág.Larg."));
        const double antes = previa->Folha->zoom();

        // The preview changes its zoom by itself; the panel follows it.
        m_form->resize(1200, 700);
        QTRY_VERIFY(previa->Folha->zoom() > antes);
        QCOMPARE(previa->zoom(), qint16(std::lround(previa->Folha->zoom())));
        QCOMPARE(previa->Lente->currentText(), QStringLiteral("%1%").arg(std::lround(previa->Folha->zoom())));
    }

    void layout()
    {
        PreviaTraco* previa = mostra();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        const int painel = previa->Painel->height();
        QVERIFY(painel > 0);
        QCOMPARE(previa->Painel->geometry(), QRect(0, 0, previa->width(), painel));
        QCOMPARE(previa->Folha->geometry(), QRect(4, painel + 4, previa->width() - 8, previa->height() - 8 - painel));
        QCOMPARE(previa->size(), m_form->size());
    }

    void escapeHidesAndKeysAreSwallowed()
    {
        PreviaTraco* previa = mostra();

        QTest::keyClicks(previa->Lente, QStringLiteral("25"));
        QCOMPARE(previa->Lente->currentText(), QStringLiteral("100%"));
        QTest::keyClick(previa->Botao[PreviaTraco::BotaoAumentar], Qt::Key_Space);
        QCOMPARE(previa->zoom(), qint16(100));
        QVERIFY(m_form->isVisible());

        QTest::keyClick(previa->Folha, Qt::Key_Escape);
        QVERIFY(!m_form->isVisible());
        // Hidden, not unloaded: the sheet stays.
        QCOMPARE(previa->documento().pageCount(), 1);
    }

    void buttonSounds()
    {
        PreviaTraco* previa = mostra();
        m_sons.clear();

        const auto entra = [](QWidget* botao) {
            QEvent entrada(QEvent::Enter);
            QApplication::sendEvent(botao, &entrada);
        };
        entra(previa->Botao[1]);
        entra(previa->Botao[1]);
        entra(previa->Botao[2]);
        entra(previa->Botao[1]);
        // Clicking sounds otherwise: see the PDF button.
        QCOMPARE(m_sons, (QList<int>{6, 6, 6}));
    }

    // Saving needs no printer: the missing printer is told once, at opening, and the sheet goes to the PDF.
    void savePdf()
    {
        preview::defineProcuraDeImpressora([] { return false; });
        QTemporaryDir pasta;
        PreviaTraco* previa = mostra();
        QCOMPARE(m_dialogs->mensagens().size(), 1);

        QString sugestao;
        QString resposta = pasta.filePath(QStringLiteral("ficha"));
        PreviaTraco::defineEscolhaDeArquivo([&](QWidget*, const QString& sugerido) {
            sugestao = sugerido;
            return resposta;
        });
        m_sons.clear();
        QTest::mouseClick(previa->Botao[PreviaTraco::BotaoSalvarPdf], Qt::LeftButton);
        QCOMPARE(m_sons.first(), 7);
        // In the user's documents, named after the mix.
        QCOMPARE(sugestao, QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                               .filePath(QStringLiteral("Concreto 20 - 03.pdf")));
        QVERIFY(ehPdf(pasta.filePath(QStringLiteral("ficha.pdf"))));
        QCOMPARE(m_dialogs->mensagens().size(), 1);

        // Given up in the dialog: nothing is written.
        resposta.clear();
        QVERIFY(!previa->salvarPdf());
        QCOMPARE(QDir(pasta.path()).entryList(QDir::Files), QStringList{QStringLiteral("ficha.pdf")});

        // A folder that does not exist: the user is told.
        resposta = pasta.filePath(QStringLiteral("falta/ficha.pdf"));
        QVERIFY(!previa->salvarPdf());
        QCOMPARE(m_dialogs->mensagens().size(), 2);
        QCOMPARE(m_dialogs->mensagens().last().titulo, QStringLiteral("Salvar PDF"));
        QVERIFY(m_dialogs->mensagens().last().texto.contains(resposta));
        QCOMPARE(m_sons.last(), 1);
    }

    void printerStates_data()
    {
        QTest::addColumn<bool>("instalada");

        QTest::newRow("printer installed") << true;
        QTest::newRow("no printer") << false;
    }

    // Printing opens the print dialog, here accepted with a PDF file for printer, or says again that a printer is
    // wanted.
    void printerStates()
    {
        QFETCH(bool, instalada);
        preview::defineProcuraDeImpressora([instalada] { return instalada; });
        const auto titulos = [this] {
            QStringList lista;
            for (const auto& m : m_dialogs->mensagens())
                lista.append(m.titulo);
            return lista;
        };
        const QString semImpressora = QStringLiteral("Instalar Impressora");

        PreviaTraco* previa = mostra();
        QCOMPARE(previa->estadoImpressora(),
                 instalada ? printing::EstadoImpressora::Pronta : printing::EstadoImpressora::SemImpressora);
        QCOMPARE(titulos(), instalada ? QStringList{} : QStringList{semImpressora});
        // The sheet is there to be saved either way.
        QCOMPARE(previa->documento().pageCount(), 1);

        QTemporaryDir pasta;
        const QString arquivo = pasta.filePath(QStringLiteral("impressa.pdf"));
        m_dialogs->proximoModal([&arquivo](QDialog* dialogo) {
            auto* impressao = qobject_cast<QPrintDialog*>(dialogo);
            if (!impressao)
                return int(QDialog::Rejected);
            impressao->printer()->setOutputFormat(QPrinter::PdfFormat);
            impressao->printer()->setOutputFileName(arquivo);
            return int(QDialog::Accepted);
        });
        QTest::mouseClick(previa->Botao[PreviaTraco::BotaoImprimir], Qt::LeftButton);
        QCOMPARE(m_dialogs->modaisMostrados().size(), instalada ? 1 : 0);
        QCOMPARE(ehPdf(arquivo), instalada);
        QCOMPARE(titulos(), instalada ? QStringList{} : (QStringList{semImpressora, semImpressora}));
    }

    // As the wizard shows its experimental mix: the preview alone, without its panel.
    void experimentalSheet()
    {
        QWidget pagina;
        PreviaTraco previa(&pagina);
        previa.Painel->hide();
        previa.setGeometry(0, 0, 600, 500);
        pagina.show();
        QCOMPARE(previa.Folha->geometry(), QRect(4, 4, 592, 492));

        platform::Clock::fixa(QDateTime(QDate(2025, 4, 7), QTime(9, 30)));
        const auto solta = qScopeGuard([] { platform::Clock::fixa(QDateTime()); });
        previa.mostraFicha(estadoDe(linhaGravada()), printing::OrigemDaFicha::experimental(QString()));
        QCOMPARE(previa.documento().pageCount(), 1);
        QCOMPARE(previa.zoom(), qint16(100));
        QCOMPARE(previa.titulo(), QStringLiteral("Concreto 20"));
        // The header's three fields split at '|': the left and centre ones empty, the date of the mix on the right.
        QCOMPARE(previa.documento().header().split(QLatin1Char('|')),
                 (QStringList{QString(), QString(), QStringLiteral("Traço Experimental Gerado em 07-04-2025")}));
        // The preview form over an experimental mix is captioned with its name.
        ImpTraco form(estadoDe(linhaGravada()), nullptr);
        form.show();
        QCOMPARE(form.windowTitle(), QStringLiteral("Quenvar  [Concreto 20]"));
    }
};

QUENVAR_TEST(TestImpTraco)
#include "tst_imptraco.moc"
