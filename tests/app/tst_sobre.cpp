#include "testregistry.h"

#include "app/sobre.h"
#include "desktop/ajuda.h"
#include "desktop/scripteddialogs.h"
#include "desktop/som.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <QToolButton>

using app::Sobre;
using desktop::Dialogs;
using desktop::ScriptedDialogs;

namespace {

const QString kEmpresa = QStringLiteral("Concreteira Boa Vista Ltda.");

// One mouse event as the window system delivers it: local and global positions of the pointer.
void mouse(QWidget* alvo, QEvent::Type tipo, const QPoint& local, const QPoint& global, Qt::MouseButton botao,
           Qt::MouseButtons botoes)
{
    QMouseEvent e(tipo, QPointF(local), QPointF(global), botao, botoes, Qt::NoModifier);
    QApplication::sendEvent(alvo, &e);
}

} // namespace

class TestSobre : public QObject
{
    Q_OBJECT

private:
    QList<int> m_sons;
    ScriptedDialogs* m_dialogs = nullptr;

private slots:
    void init()
    {
        m_dialogs = new ScriptedDialogs;
        Dialogs::instala(std::unique_ptr<Dialogs>(m_dialogs));
        m_sons.clear();
        desktop::observaSons([this](int som) { m_sons.append(som); });
    }

    void cleanup()
    {
        desktop::observaSons({});
        desktop::Ajuda::defineVisualizador(nullptr);
    }

    // The revision is "00" followed by the number, cut to its last four characters; the minor number takes two.
    void textoVersao_data()
    {
        QTest::addColumn<int>("maior");
        QTest::addColumn<int>("menor");
        QTest::addColumn<int>("revisao");
        QTest::addColumn<QString>("texto");
        QTest::newRow("revisão de um dígito") << 1 << 2 << 5 << "1.02.005";
        QTest::newRow("revisão de dois dígitos") << 1 << 2 << 12 << "1.02.0012";
        QTest::newRow("revisão de cinco dígitos") << 3 << 10 << 12345 << "3.10.2345";
        QTest::newRow("menor de três dígitos") << 2 << 123 << 7 << "2.23.007";
    }
    void textoVersao()
    {
        QFETCH(int, maior);
        QFETCH(int, menor);
        QFETCH(int, revisao);
        QFETCH(QString, texto);
        QCOMPARE(Sobre::textoVersao(maior, menor, revisao), texto);
    }

    // The captions; the picture is the face of the window, which takes its size, and every text stands whole on it.
    void textosCabemNaFigura()
    {
        Sobre sobre(kEmpresa);
        auto* imagem = sobre.findChild<QLabel*>(QStringLiteral("Imagem"));
        QVERIFY(imagem);
        QCOMPARE(imagem->pos(), QPoint(0, 0));
        QCOMPARE(imagem->pixmap().size(), sobre.size());
        QCOMPARE(imagem->size(), sobre.size());
        for (const char* nome : {"VerNomeProduto", "VerVersao", "VerDescricao", "NomeEmpresa", "Botao0", "Botao1"}) {
            QWidget* w = sobre.findChild<QWidget*>(QLatin1String(nome));
            QVERIFY2(w, nome);
            QVERIFY2(sobre.rect().contains(w->geometry()), nome);
            QVERIFY2(!w->isHidden(), nome);
        }
        QCOMPARE(sobre.windowTitle(), QStringLiteral("Sobre o Módulo de Quenvar"));
        QVERIFY(sobre.windowFlags().testFlag(Qt::FramelessWindowHint));
        const auto texto = [&sobre](const char* nome) { return sobre.findChild<QLabel*>(QLatin1String(nome))->text(); };
        QCOMPARE(texto("VerNomeProduto"), QStringLiteral("Quenvar"));
        QCOMPARE(texto("VerVersao"),
                 Sobre::textoVersao(QUENVAR_VERSAO_MAIOR, QUENVAR_VERSAO_MENOR, QUENVAR_VERSAO_REVISAO));
        QCOMPARE(texto("VerDescricao"), Sobre::descricao());
        QVERIFY(!Sobre::descricao().isEmpty());
        QCOMPARE(texto("NomeEmpresa"), kEmpresa);
        for (const char* nome : {"VerNomeProduto", "VerVersao", "NomeEmpresa"}) {
            auto* r = sobre.findChild<QLabel*>(QLatin1String(nome));
            QVERIFY2(r->sizeHint().width() <= r->width(), nome);
            QVERIFY2(r->sizeHint().height() <= r->height(), nome);
        }
        auto* descricao = sobre.findChild<QLabel*>(QStringLiteral("VerDescricao"));
        QVERIFY(descricao->heightForWidth(descricao->width()) <= descricao->height());
        // The texts do not cover the buttons.
        for (const char* nome : {"VerNomeProduto", "VerVersao", "VerDescricao", "NomeEmpresa"}) {
            const QRect r = sobre.findChild<QWidget*>(QLatin1String(nome))->geometry();
            for (const char* botao : {"Botao0", "Botao1"})
                QVERIFY2(!r.intersects(sobre.findChild<QWidget*>(QLatin1String(botao))->geometry()), nome);
        }
    }

    // A company name too long for the face is cut with an ellipsis and shown whole on the tool tip.
    void empresaDeNomeLongo()
    {
        const QString longo = QStringLiteral("Companhia Brasileira de Concreto Usinado e Pré-Moldados do Vale do Rio "
                                             "São Francisco Sociedade Anônima");
        Sobre sobre(longo);
        auto* empresa = sobre.findChild<QLabel*>(QStringLiteral("NomeEmpresa"));
        QVERIFY(empresa->text().endsWith(QChar(0x2026)));
        QVERIFY(longo.startsWith(empresa->text().chopped(1)));
        QVERIFY(empresa->sizeHint().width() <= empresa->width());
        QCOMPARE(empresa->toolTip(), longo);
    }

    // Each button sounds as it is pressed: "Fechar" closes the window when released; the help button asks for the
    // suite's topic 30020 for the about window, which stays open.
    void botoes_data()
    {
        QTest::addColumn<QString>("botao");
        QTest::addColumn<QString>("dica");
        QTest::addColumn<QList<int>>("topicos");
        QTest::newRow("fechar") << "Botao1"
                                << "Fechar" << QList<int>{};
        QTest::newRow("ajuda") << "Botao0" << QString() << QList<int>{30020};
    }
    void botoes()
    {
        QFETCH(QString, botao);
        QFETCH(QString, dica);
        QFETCH(QList<int>, topicos);
        Sobre sobre(kEmpresa);
        sobre.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sobre));
        QList<int> pedidos;
        desktop::Ajuda::defineVisualizador([&](QWidget* janela, const QString&, int topico) {
            pedidos.append(janela == &sobre ? topico : -1);
            return true;
        });
        auto* b = sobre.findChild<QToolButton*>(botao);
        QVERIFY(b);
        if (!dica.isEmpty())
            QCOMPARE(b->toolTip(), dica);
        QTest::mousePress(b, Qt::LeftButton);
        QCOMPARE(m_sons, QList<int>{7});
        QVERIFY(sobre.isVisible());
        QTest::mouseRelease(b, Qt::LeftButton);
        QCOMPARE(pedidos, topicos);
        QCOMPARE(sobre.isVisible(), !topicos.isEmpty());
        if (topicos.isEmpty())
            QCOMPARE(sobre.result(), int(QDialog::Rejected));
        QVERIFY(m_dialogs->mensagens().isEmpty());
    }

    // The window has no caption bar: the left button on its picture or on any of its texts drags it. Only the left
    // button drags, and the buttons are buttons, not handles.
    void arrastaPelaFace_data()
    {
        QTest::addColumn<QString>("controle");
        QTest::addColumn<int>("botao");
        QTest::addColumn<bool>("arrasta");
        QTest::newRow("figura") << "Imagem" << int(Qt::LeftButton) << true;
        QTest::newRow("nome do produto") << "VerNomeProduto" << int(Qt::LeftButton) << true;
        QTest::newRow("versão") << "VerVersao" << int(Qt::LeftButton) << true;
        QTest::newRow("descrição") << "VerDescricao" << int(Qt::LeftButton) << true;
        QTest::newRow("empresa") << "NomeEmpresa" << int(Qt::LeftButton) << true;
        QTest::newRow("botão direito na figura") << "Imagem" << int(Qt::RightButton) << false;
        QTest::newRow("botão de ajuda") << "Botao0" << int(Qt::LeftButton) << false;
    }
    void arrastaPelaFace()
    {
        QFETCH(QString, controle);
        QFETCH(int, botao);
        QFETCH(bool, arrasta);
        Sobre sobre(kEmpresa);
        sobre.move(120, 80);
        sobre.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sobre));
        desktop::Ajuda::defineVisualizador([](QWidget*, const QString&, int) { return true; });
        QWidget* alvo = sobre.findChild<QWidget*>(controle);
        QVERIFY(alvo);
        const QPoint inicio = sobre.pos();
        const QPoint local = alvo->rect().center();
        const QPoint global = alvo->mapToGlobal(local);
        const QPoint passo(45, -30);
        const auto b = Qt::MouseButton(botao);
        const QPoint movido = arrasta ? passo : QPoint();
        mouse(alvo, QEvent::MouseButtonPress, local, global, b, b);
        mouse(alvo, QEvent::MouseMove, local + passo, global + passo, Qt::NoButton, b);
        QCOMPARE(sobre.pos(), inicio + movido);
        mouse(alvo, QEvent::MouseMove, local + 2 * passo, global + 2 * passo, Qt::NoButton, b);
        QCOMPARE(sobre.pos(), inicio + 2 * movido);
        mouse(alvo, QEvent::MouseButtonRelease, local + 2 * passo, global + 2 * passo, b, Qt::NoButton);
        // Released, the pointer moves alone.
        mouse(alvo, QEvent::MouseMove, local, global + 3 * passo, Qt::NoButton, Qt::NoButton);
        QCOMPARE(sobre.pos(), inicio + 2 * movido);
        QVERIFY(sobre.isVisible());
    }
};

QUENVAR_TEST(TestSobre)
#include "tst_sobre.moc"
