#include "calc/abrams.h"
#include "calc/calcstate.h"
#include "calc/strength.h"

#include "testregistry.h"

#include <QTest>

class TestAbrams : public QObject
{
    Q_OBJECT

private slots:
    // Every point of the curve lies on the law of its class, from the first ratio of the span to the last.
    void curva_data()
    {
        QTest::addColumn<QString>("classe");
        QTest::addColumn<int>("pontos");

        QTest::newRow("25") << "25" << 46;
        QTest::newRow("32") << "32" << 46;
        QTest::newRow("40") << "40" << 46;
        QTest::newRow("ARI") << "CP V ARI" << 46;
        QTest::newRow("unknown class: no curve") << "50" << 0;
    }
    void curva()
    {
        QFETCH(QString, classe);
        QFETCH(int, pontos);
        const double k = calc::FatorClasse(classe);
        const QList<QPointF> curva = calc::curvaDeAbrams(k);
        QCOMPARE(curva.size(), pontos);
        for (const QPointF& p : curva)
            QCOMPARE(p.y(), calc::strengthFromRatio(p.x(), k));
        if (pontos > 0) {
            QCOMPARE(curva.first().x(), calc::abramsRelacaoMinima);
            QCOMPARE(curva.last().x(), calc::abramsRelacaoMaxima);
        }
    }

    // The mix's point, the target and the durability limit of the mix form's chart and of the wizard's; the axis
    // reaches a ratio outside the curve's span.
    void grafico_data()
    {
        QTest::addColumn<bool>("assistente");
        QTest::addColumn<double>("wc");
        QTest::addColumn<int>("classe");
        QTest::addColumn<int>("estrutura");
        QTest::addColumn<double>("alvo");
        QTest::addColumn<double>("wcMax"); // 0: none
        QTest::addColumn<double>("inicio");
        QTest::addColumn<double>("fim");

        // fck 25 measured by mass (Sd 4,0); the wizard asked for 30.
        QTest::newRow("stored mix, no class") << false << 0.55 << 0 << 0 << 31.6 << 0.0 << 0.35 << 0.80;
        QTest::newRow("stored mix, class II reinforced") << false << 0.55 << 2 << 0 << 31.6 << 0.60 << 0.35 << 0.80;
        QTest::newRow("wizard, class II prestressed") << true << 0.45 << 2 << 1 << 36.6 << 0.55 << 0.35 << 0.80;
        QTest::newRow("ratio past the span") << false << 0.90 << 0 << 0 << 31.6 << 0.0 << 0.35 << 0.95;
        QTest::newRow("ratio below the span") << true << 0.28 << 0 << 0 << 36.6 << 0.0 << 0.20 << 0.80;
    }
    void grafico()
    {
        QFETCH(bool, assistente);
        QFETCH(double, wc);
        QFETCH(int, classe);
        QFETCH(int, estrutura);
        QFETCH(double, alvo);
        QFETCH(double, wcMax);
        QFETCH(double, inicio);
        QFETCH(double, fim);
        calc::CalcState s;
        s.classe = QStringLiteral("32");
        s.wc = wc;
        s.dosagem = 0;
        s.fck = 25;
        s.fckMago = 30.0;
        s.classeAgressividade = qint16(classe);
        s.estrutura = qint16(estrutura);
        const calc::Abrams a = assistente ? calc::abramsDoAssistente(s) : calc::abramsDoTraco(s);
        QCOMPARE(a.traco.value_or(QPointF()), QPointF(wc, calc::strengthFromRatio(wc, 1.0)));
        QCOMPARE(qRound(a.fcjAlvo.value_or(0.0) * 10.0), qRound(alvo * 10.0));
        QCOMPARE(a.wcMax.value_or(0.0), wcMax);
        QCOMPARE(a.relacaoInicial(), inicio);
        QCOMPARE(a.relacaoFinal(), fim);
    }
};

QUENVAR_TEST(TestAbrams)
#include "tst_abrams.moc"
