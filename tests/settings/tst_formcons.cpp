#include "testregistry.h"

#include "ambiente.h"
#include "settings/formcons.h"
#include "widgets/caixatexto.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>

using settings::FormCons;

namespace {

widgets::CaixaTexto* caixa(const FormCons& form, int i)
{
    return form.findChild<widgets::CaixaTexto*>(QStringLiteral("ValorFator%1").arg(i));
}

QPushButton* botao(const FormCons& form, int i)
{
    return form.findChild<QPushButton*>(QStringLiteral("BotaoFator%1").arg(i));
}

QString fator4(const FormCons& form)
{
    return form.findChild<QLabel*>(QStringLiteral("Fator4"))->text();
}

void preenche(const FormCons& form, const QStringList& valores)
{
    for (int i = 0; i < valores.size(); ++i)
        caixa(form, i)->setText(valores.at(i));
}

QStringList guardados()
{
    QStringList resultado;
    for (const QVariantMap& linha : Ambiente::linhas(QStringLiteral("Consistencias")))
        for (const char* campo : {"Abate1", "Abate2", "Abate3", "Abate4"})
            resultado.append(linha.value(QLatin1String(campo)).toString());
    return resultado;
}

void guarda(const QStringList& valores)
{
    Ambiente::executa(QStringLiteral("UPDATE Consistencias SET Abate1 = ?, Abate2 = ?, Abate3 = ?, Abate4 = ?"),
                      {valores.at(0), valores.at(1), valores.at(2), valores.at(3)});
}

const QStringList kProprios{"180", "100", "60", "25"};

} // namespace

class TestFormCons : public QObject
{
    Q_OBJECT

private:
    Ambiente m_ambiente;

private slots:
    void init() { QVERIFY(m_ambiente.prepara()); }
    void cleanup() { m_ambiente.encerra(); }

    void limitesVemDaLinhaGuardada()
    {
        guarda(kProprios);
        auto form = m_ambiente.abre<FormCons>();
        QVERIFY(form);
        QCOMPARE(fator4(*form), QStringLiteral("25"));
        QCOMPARE(form->focusWidget(), caixa(*form, 0));
        // What the boxes hold counts only once it is saved.
        preenche(*form, {"200", "120", "70", "30"});
        const calc::ConsistencyLimits limites = form->limites();
        QCOMPARE(limites.Abate1, 180.0);
        QCOMPARE(limites.Abate2, 100.0);
        QCOMPARE(limites.Abate3, 60.0);
        QCOMPARE(limites.Abate4, 25.0);
        botao(*form, 0)->click();
        QCOMPARE(form->limites().Abate3, 70.0);
    }

    void limitesForaDeOrdemSaoRecusados_data()
    {
        QTest::addColumn<QStringList>("valores");
        QTest::addColumn<int>("foco");
        QTest::newRow("150 90 90 20") << QStringList{"150", "90", "90", "20"} << 1;
        QTest::newRow("150 160 50 20") << QStringList{"150", "160", "50", "20"} << 0;
        QTest::newRow("150 90 50 50") << QStringList{"150", "90", "50", "50"} << 2;
        QTest::newRow("dois pares fora, vale o primeiro") << QStringList{"150", "90", "95", "120"} << 1;
        QTest::newRow("vazia vale zero") << QStringList{"150", "90", "", "20"} << 2;
        QTest::newRow("só o número inicial conta") << QStringList{"150", "90mm", "90 mm", "20"} << 1;
    }
    void limitesForaDeOrdemSaoRecusados()
    {
        QFETCH(QStringList, valores);
        QFETCH(int, foco);
        auto form = m_ambiente.abre<FormCons>();
        QVERIFY(form);
        QSignalSpy vista(form.get(), &FormCons::atualizaVista);
        preenche(*form, valores);
        caixa(*form, 3)->setFocus();
        botao(*form, 0)->click();
        QCOMPARE(form->focusWidget(), caixa(*form, foco));
        QVERIFY(form->isVisible());
        QVERIFY(m_ambiente.dialogs->mensagens().isEmpty());
        QCOMPARE(vista.count(), 0);
        QCOMPARE(guardados(), (QStringList{"150", "90", "50", "20"}));
        QCOMPARE(caixa(*form, 1)->text(), valores.at(1));
    }

    // "Padrão" fills in the usual limits; only OK saves them, while Cancel or Esc put back the saved ones.
    void padraoDepoisOkOuCancelar_data()
    {
        QTest::addColumn<QString>("saida");
        QTest::addColumn<QStringList>("gravados");
        QTest::addColumn<int>("resultado");
        QTest::newRow("OK grava") << "ok" << QStringList{"150", "90", "50", "20"} << int(QDialog::Accepted);
        QTest::newRow("botão Cancelar") << "cancelar" << kProprios << int(QDialog::Rejected);
        QTest::newRow("Esc") << "esc" << kProprios << int(QDialog::Rejected);
    }
    void padraoDepoisOkOuCancelar()
    {
        QFETCH(QString, saida);
        QFETCH(QStringList, gravados);
        QFETCH(int, resultado);
        guarda(kProprios);
        auto form = m_ambiente.abre<FormCons>();
        QVERIFY(form);
        QSignalSpy vista(form.get(), &FormCons::atualizaVista);
        botao(*form, 2)->click();
        QVERIFY(m_ambiente.dialogs->mensagens().isEmpty());
        QCOMPARE(fator4(*form), QStringLiteral("20"));
        QCOMPARE(guardados(), kProprios);
        if (saida == QLatin1String("esc"))
            QTest::keyClick(caixa(*form, 1), Qt::Key_Escape);
        else
            botao(*form, saida == QLatin1String("ok") ? 0 : 1)->click();
        QVERIFY(!form->isVisible());
        QCOMPARE(form->result(), resultado);
        QCOMPARE(vista.count(), 1);
        QCOMPARE(m_ambiente.sons, (QList<int>{7, 7}));
        QCOMPARE(guardados(), gravados);
        QCOMPARE(caixa(*form, 0)->text(), gravados.at(0));
        QCOMPARE(fator4(*form), gravados.at(3));
    }

    void fator4AcompanhaOUltimoLimite()
    {
        auto form = m_ambiente.abre<FormCons>();
        QVERIFY(form);
        caixa(*form, 3)->setFocus();
        QTest::keyClicks(caixa(*form, 3), QStringLiteral("35.5"));
        QCOMPARE(fator4(*form), QStringLiteral("35,5"));
    }

    void enterAvancaAteOOk()
    {
        auto form = m_ambiente.abre<FormCons>();
        QVERIFY(form);
        caixa(*form, 0)->setText(QStringLiteral("170"));
        for (const char* esperado : {"ValorFator1", "ValorFator2", "ValorFator3", "BotaoFator0"}) {
            QTest::keyClick(form->focusWidget(), Qt::Key_Return);
            QCOMPARE(form->focusWidget()->objectName(), QLatin1String(esperado));
        }
        QVERIFY(form->isVisible());
        QTest::keyClick(form->focusWidget(), Qt::Key_Return);
        QVERIFY(!form->isVisible());
        QCOMPARE(guardados().first(), QStringLiteral("170"));
    }

    void ajudaNoTopicoDasConsistencias()
    {
        auto form = m_ambiente.abre<FormCons>();
        QVERIFY(form);
        botao(*form, 3)->click();
        QTest::keyClick(caixa(*form, 2), Qt::Key_F1);
        QCOMPARE(m_ambiente.topicos, (QList<int>{2000, 2000}));
        QVERIFY(form->isVisible());
    }

    void semLinhaOkCriaALinha()
    {
        Ambiente::executa(QStringLiteral("DELETE FROM Consistencias"));
        auto form = m_ambiente.abre<FormCons>();
        QVERIFY(form);
        QCOMPARE(form->limites().Abate2, 90.0);
        caixa(*form, 0)->setText(QStringLiteral("160"));
        botao(*form, 0)->click();
        QCOMPARE(guardados(), (QStringList{"160", "90", "50", "20"}));
        QCOMPARE(form->limites().Abate1, 160.0);
    }
};

QUENVAR_TEST(TestFormCons)
#include "tst_formcons.moc"
