#include "fichatestsupport.h"
#include "testregistry.h"

#include "acessibilidade.h"

#include "desktop/scripteddialogs.h"
#include "preview/impressora.h"
#include "preview/imptraco.h"
#include "preview/visualiza.h"

#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <memory>

namespace {

// The preview of the mix sheet and the report viewer, as the program shows them.
std::unique_ptr<QWidget> janela(bool previa)
{
    std::unique_ptr<QWidget> w;
    if (previa)
        w = std::make_unique<preview::ImpTraco>(fichatest::linhaGravada(), nullptr);
    else
        w = std::make_unique<preview::Visualiza>();
    w->resize(1100, 800);
    w->show();
    return w;
}

// The controls the keyboard reaches: every widget that takes the focus (not one that hands it on, as the line of
// an editable list does) and every tool of a tool bar.
QList<QWidget*> controles(QWidget* raiz)
{
    QList<QWidget*> lista;
    for (QWidget* w : raiz->findChildren<QWidget*>()) {
        if (w->window() == raiz && w->focusPolicy() != Qt::NoFocus && !w->focusProxy())
            lista.append(w);
    }
    for (const QToolBar* barra : raiz->findChildren<QToolBar*>()) {
        for (QAction* a : barra->actions()) {
            if (auto* botao = qobject_cast<QToolButton*>(barra->widgetForAction(a)); botao && !lista.contains(botao))
                lista.append(botao);
        }
    }
    return lista;
}

} // namespace

class TestJanelas : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        desktop::Dialogs::instala(std::make_unique<desktop::ScriptedDialogs>());
        preview::defineProcuraDeImpressora([] { return true; });
    }

    void cleanup() { preview::defineProcuraDeImpressora({}); }

    // Each window: every control the keyboard reaches says what it is, no two say the same, and the accelerators
    // it shows are the ones expected, none twice.
    void namesAndAccelerators_data()
    {
        QTest::addColumn<bool>("previa");
        QTest::addColumn<QString>("letras");
        // The sheet's preview swallows every key but Esc: no accelerator there.
        QTest::newRow("sheet preview") << true << "";
        QTest::newRow("report viewer") << false << "av";
    }

    void namesAndAccelerators()
    {
        QFETCH(bool, previa);
        QFETCH(QString, letras);
        const auto w = janela(previa);
        const QList<QWidget*> lista = controles(w.get());
        QVERIFY(lista.size() > 3);
        const QStringList problemas = teste::nomesEmFalta(lista);
        QVERIFY2(problemas.isEmpty(), qPrintable(problemas.join(QStringLiteral("; "))));

        const QStringList repetidos = teste::aceleradoresRepetidos(w.get());
        QVERIFY2(repetidos.isEmpty(), qPrintable(repetidos.join(QStringLiteral("; "))));
        QString achadas;
        for (const QString& texto : teste::textosComAcelerador(w.get())) {
            if (const QChar letra = teste::letraAceleradora(texto); !letra.isNull())
                achadas.append(letra);
        }
        std::sort(achadas.begin(), achadas.end());
        QCOMPARE(achadas, letras);
    }
};

QUENVAR_TEST(TestJanelas)
#include "tst_janelas.moc"
