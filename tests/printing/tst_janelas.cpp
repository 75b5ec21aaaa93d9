#include "fichatestsupport.h"
#include "testregistry.h"

#include "aceleradores.h"

#include "platform/scripteddialogs.h"
#include "printing/imptraco.h"
#include "printing/saida.h"
#include "printing/visualiza.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <memory>

namespace {

// The preview of the mix sheet and the report viewer, as the program shows them.
std::unique_ptr<QWidget> janela(const QString& nome)
{
    std::unique_ptr<QWidget> w;
    if (nome == QLatin1String("ImpTraco"))
        w = std::make_unique<printing::ImpTraco>(fichatest::linhaGravada(), nullptr);
    else
        w = std::make_unique<printing::Visualiza>();
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

// The texts that can carry an accelerator: buttons, labels with a buddy, group titles and menu entries.
QStringList textosComAtalho(QWidget* raiz)
{
    QStringList textos;
    for (const QAbstractButton* b : raiz->findChildren<QAbstractButton*>())
        textos.append(b->text());
    for (const QLabel* l : raiz->findChildren<QLabel*>()) {
        if (l->buddy())
            textos.append(l->text());
    }
    for (const QGroupBox* g : raiz->findChildren<QGroupBox*>())
        textos.append(g->title());
    for (const QMenuBar* barra : raiz->findChildren<QMenuBar*>()) {
        for (const QAction* a : barra->actions())
            textos.append(a->text());
    }
    for (const QMenu* menu : raiz->findChildren<QMenu*>()) {
        for (const QAction* a : menu->actions())
            textos.append(a->text());
    }
    return textos;
}

} // namespace

class TestJanelas : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        platform::Dialogs::instala(std::make_unique<platform::ScriptedDialogs>());
        printing::defineProcuraDeImpressora([] { return true; });
    }

    void cleanup() { printing::defineProcuraDeImpressora({}); }

    void accessibleNames_data()
    {
        QTest::addColumn<QString>("nome");

        QTest::newRow("sheet preview") << "ImpTraco";
        QTest::newRow("report viewer") << "Visualiza";
    }

    // Every control the keyboard reaches says what it is, and no two say the same.
    void accessibleNames()
    {
        QFETCH(QString, nome);
        const auto w = janela(nome);
        QSet<QString> vistos;
        const QList<QWidget*> lista = controles(w.get());
        QVERIFY(lista.size() > 3);
        for (QWidget* controle : lista) {
            QAccessibleInterface* acessivel = QAccessible::queryAccessibleInterface(controle);
            QVERIFY2(acessivel, qPrintable(controle->objectName()));
            const QString texto = acessivel->text(QAccessible::Name);
            const QString quem = QStringLiteral("%1 \"%2\"").arg(controle->metaObject()->className(), texto);
            QVERIFY2(!texto.trimmed().isEmpty(), qPrintable(quem));
            QVERIFY2(!vistos.contains(texto), qPrintable(quem));
            vistos.insert(texto);
        }
    }

    void accelerators_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("letras");

        // The sheet's preview swallows every key but Esc: no accelerator there.
        QTest::newRow("sheet preview") << "ImpTraco"
                                       << "";
        QTest::newRow("report viewer") << "Visualiza"
                                       << "av";
    }

    // The accelerators each window shows, none twice.
    void accelerators()
    {
        QFETCH(QString, nome);
        QFETCH(QString, letras);
        const auto w = janela(nome);
        QString achadas;
        for (const QString& texto : textosComAtalho(w.get())) {
            const QChar letra = teste::letraAceleradora(texto);
            if (letra.isNull())
                continue;
            QVERIFY2(!achadas.contains(letra), qPrintable(texto));
            achadas.append(letra);
        }
        std::sort(achadas.begin(), achadas.end());
        QCOMPARE(achadas, letras);
    }
};

QUENVAR_TEST(TestJanelas)
#include "tst_janelas.moc"
