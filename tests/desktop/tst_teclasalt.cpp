#include "testregistry.h"

#include "desktop/teclasalt.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

// A letter pressed with Alt reaches a text box only as a shortcut: never as the letter itself.
class TestTeclasAlt : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { desktop::instalaFiltroDeAlt(); }

    void teclaNaCaixa_data()
    {
        QTest::addColumn<Qt::KeyboardModifiers>("modificadores");
        QTest::addColumn<bool>("botaoHabilitado");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<int>("cliques");
        // The box holds "3,1", all of it selected, as a page shows it when the box takes the focus.
        QTest::newRow("Alt, botão desabilitado: nada muda")
            << Qt::KeyboardModifiers(Qt::AltModifier) << false << QStringLiteral("3,1") << 0;
        QTest::newRow("Alt+Shift, botão desabilitado")
            << (Qt::AltModifier | Qt::ShiftModifier) << false << QStringLiteral("3,1") << 0;
        QTest::newRow("Alt, botão habilitado: o botão é pressionado")
            << Qt::KeyboardModifiers(Qt::AltModifier) << true << QStringLiteral("3,1") << 1;
        QTest::newRow("sem Alt: a letra é digitada") << Qt::KeyboardModifiers() << false << QStringLiteral("a") << 0;
    }

    void teclaNaCaixa()
    {
        QFETCH(Qt::KeyboardModifiers, modificadores);
        QFETCH(bool, botaoHabilitado);
        QFETCH(QString, texto);
        QFETCH(int, cliques);
        QWidget janela;
        auto* caixa = new QLineEdit(QStringLiteral("3,1"));
        auto* botao = new QPushButton(QStringLiteral("&Avançar"));
        botao->setEnabled(botaoHabilitado);
        auto* linha = new QHBoxLayout(&janela);
        linha->addWidget(caixa);
        linha->addWidget(botao);
        janela.show();
        janela.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&janela));
        caixa->setFocus();
        caixa->selectAll();
        QSignalSpy clicado(botao, &QPushButton::clicked);
        QTest::keyClick(caixa, Qt::Key_A, modificadores);
        QCOMPARE(caixa->text(), texto);
        QTRY_COMPARE(clicado.count(), cliques); // a mnemonic clicks a moment later, as a mouse would
    }
};

QUENVAR_TEST(TestTeclasAlt)
#include "tst_teclasalt.moc"
