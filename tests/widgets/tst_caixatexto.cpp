#include "testregistry.h"

#include "widgets/caixatexto.h"

#include <QSignalSpy>
#include <QTest>

using calc::KeyFilter;
using widgets::CaixaTexto;

class TestCaixaTexto : public QObject
{
    Q_OBJECT

private slots:
    void digitacao_data()
    {
        QTest::addColumn<int>("filtro");
        QTest::addColumn<QString>("teclas");
        QTest::addColumn<QString>("esperado");
        const int virgula = int(KeyFilter::CommaRules);
        const int digitos = int(KeyFilter::DigitsAndCommaRules);
        // The rules themselves are the entry rules of the calculation; here, each kind of answer reaches the box.
        QTest::newRow("ponto vira vírgula") << digitos << "2.5"
                                            << "2,5";
        QTest::newRow("letra recusada na quantidade") << digitos << "1a2"
                                                      << "12";
        QTest::newRow("letra aceita na massa") << virgula << "3,1x"
                                               << "3,1x";
    }
    void digitacao()
    {
        QFETCH(int, filtro);
        QFETCH(QString, teclas);
        QFETCH(QString, esperado);
        CaixaTexto caixa(static_cast<KeyFilter>(filtro));
        QSignalSpy editado(&caixa, &QLineEdit::textEdited);
        QTest::keyClicks(&caixa, teclas);
        QCOMPARE(caixa.text(), esperado);
        QVERIFY(!editado.isEmpty());
        QCOMPARE(editado.last().first().toString(), esperado);
    }

    void textoSelecionadoESubstituido()
    {
        CaixaTexto caixa(KeyFilter::DigitsAndCommaRules);
        caixa.setText(QStringLiteral("12,5"));
        caixa.setSelection(0, 4);
        QTest::keyClicks(&caixa, QStringLiteral("7.1"));
        QCOMPARE(caixa.text(), QStringLiteral("7,1"));
        // The comma rule looks at the box's whole text: a comma typed over a selection that holds the comma is
        // still refused, and the selection stays.
        caixa.setSelection(1, 2);
        QTest::keyClick(&caixa, ',');
        QCOMPARE(caixa.text(), QStringLiteral("7,1"));
    }

    void retrocessoEMovimento()
    {
        CaixaTexto caixa(KeyFilter::DigitsAndCommaRules);
        caixa.setText(QStringLiteral("123"));
        caixa.setCursorPosition(3);
        QTest::keyClick(&caixa, Qt::Key_Backspace);
        QCOMPARE(caixa.text(), QStringLiteral("12"));
        QTest::keyClick(&caixa, Qt::Key_Home);
        QCOMPARE(caixa.cursorPosition(), 0);
        QTest::keyClick(&caixa, Qt::Key_Delete);
        QCOMPARE(caixa.text(), QStringLiteral("2"));
    }

    void enterVaiParaAJanela()
    {
        CaixaTexto caixa;
        caixa.setText(QStringLiteral("150"));
        QSignalSpy enter(&caixa, &CaixaTexto::enterPressionado);
        QSignalSpy retorno(&caixa, &QLineEdit::returnPressed);
        QTest::keyClick(&caixa, Qt::Key_Return);
        QTest::keyClick(&caixa, Qt::Key_Enter);
        QCOMPARE(enter.size(), 2);
        QCOMPARE(retorno.size(), 0);
        QCOMPARE(caixa.text(), QStringLiteral("150"));
    }

    void somenteLeituraNaoMuda()
    {
        CaixaTexto caixa(KeyFilter::DigitsAndCommaRules);
        caixa.setText(QStringLiteral("5"));
        caixa.setReadOnly(true);
        QTest::keyClicks(&caixa, QStringLiteral("9"));
        QCOMPARE(caixa.text(), QStringLiteral("5"));
    }

    void focoSelecionaTudo()
    {
        QWidget janela;
        auto* primeira = new CaixaTexto(KeyFilter::CommaRules, &janela);
        auto* segunda = new CaixaTexto(KeyFilter::CommaRules, &janela);
        segunda->setText(QStringLiteral("2,61"));
        janela.show();
        QVERIFY(QTest::qWaitForWindowExposed(&janela));
        primeira->setFocus();
        QTest::keyClick(primeira, Qt::Key_Tab);
        QVERIFY(segunda->hasFocus());
        QCOMPARE(segunda->selectedText(), QStringLiteral("2,61"));
        QTest::keyClicks(segunda, QStringLiteral("3"));
        QCOMPARE(segunda->text(), QStringLiteral("3"));
    }

    void numeroLidoComoODigitado()
    {
        CaixaTexto caixa;
        caixa.setText(QStringLiteral("12,5 kg"));
        QCOMPARE(caixa.numero(), 12.5);
    }
};

QUENVAR_TEST(TestCaixaTexto)
#include "tst_caixatexto.moc"
