#include "acessibilidade.h"
#include "fixtures.h"
#include "testregistry.h"

#include "calc/abrams.h"
#include "calc/calcstate.h"
#include "calc/carregatraco.h"
#include "calc/recalculo.h"
#include "catalogue/tabelaprodutos.h"
#include "charts/graficoabrams.h"
#include "charts/janelaabrams.h"
#include "desktop/scripteddialogs.h"
#include "platform/database.h"
#include "preview/previatraco.h"
#include "printing/documento.h"

#include <QChart>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>
#include <QXYSeries>

#include <algorithm>

namespace {

QXYSeries* serie(charts::GraficoAbrams& grafico, const QString& nome)
{
    const QList<QAbstractSeries*> series = grafico.chart()->series();
    const auto achada =
        std::find_if(series.cbegin(), series.cend(), [&](QAbstractSeries* s) { return s->objectName() == nome; });
    return achada == series.cend() ? nullptr : qobject_cast<QXYSeries*>(*achada);
}

} // namespace

class TestGraficoAbrams : public QObject
{
    Q_OBJECT

private:
    PastaDeTeste m_pasta{true};
    platform::Database m_banco{QStringLiteral("teste-grafico-abrams")};

private slots:
    void initTestCase()
    {
        QVERIFY(m_pasta.valida());
        m_banco.open(m_pasta.local());
    }

    void cleanupTestCase() { m_banco.close(); }

    // A stored mix is drawn where its calculation puts it, on its class's curve; the durability line only with a
    // class.
    void tracoGravado_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<int>("classe");

        QTest::newRow("fck 25, no class") << "Concreto fck 25" << 0;
        QTest::newRow("lean concrete, class I") << "Concreto Magro" << 1;
        QTest::newRow("pumped fck 30, class III") << "Concreto Bombeado fck 30" << 3;
    }
    void tracoGravado()
    {
        QFETCH(QString, nome);
        QFETCH(int, classe);
        QSqlQuery q = m_banco.exec(QStringLiteral("SELECT * FROM Tracos WHERE NomeTraco = ?"), {nome});
        QVERIFY(q.next());
        const catalogue::TabelaProdutos produtos(m_banco);
        calc::CalcState s;
        calc::CarregaTraco(
            s, [&q](const QString& campo) { return q.record().value(campo); }, &produtos);
        s.classeAgressividade = qint16(classe);
        calc::CalcState calculado = s;
        calc::ReCalculo(calculado, &produtos);

        const calc::Abrams a = calc::abramsDoTraco(s);
        charts::GraficoAbrams grafico;
        grafico.mostra(a);
        QXYSeries* ponto = serie(grafico, QStringLiteral("Traco"));
        QVERIFY(ponto);
        QCOMPARE(ponto->points(), QList<QPointF>{QPointF(calculado.wc, calculado.fcj)});
        QXYSeries* curva = serie(grafico, QStringLiteral("Curva"));
        QVERIFY(curva && !a.curva.isEmpty());
        QCOMPARE(curva->points(), a.curva);
        QCOMPARE(serie(grafico, QStringLiteral("Limite")) != nullptr, classe > 0);
    }

    // The chart's window: its controls say what they are; "Salvar imagem…" writes the chart as the window shows it,
    // "Imprimir…" shows its page, with the chart and the durability limit, in the print preview.
    void janela()
    {
        calc::CalcState s;
        s.classe = QStringLiteral("32");
        s.wc = 0.5;
        s.fck = 25;
        s.classeAgressividade = 2;
        auto* dialogs = new desktop::ScriptedDialogs;
        desktop::Dialogs::instala(std::unique_ptr<desktop::Dialogs>(dialogs));
        charts::JanelaAbrams janela(calc::abramsDoTraco(s));
        janela.show();
        QVERIFY(QTest::qWaitForWindowExposed(&janela));
        QCOMPARE(teste::semExplicacao(janela), QStringList());
        QCOMPARE(teste::nomesEmFalta({janela.Grafico, janela.SalvarImagem, janela.Imprimir, janela.Fechar}),
                 QStringList());

        QTemporaryDir pasta;
        const QString arquivo = pasta.filePath(QStringLiteral("abrams"));
        charts::GraficoAbrams::defineEscolhaDeArquivo([&](QWidget*, const QString&) { return arquivo; });
        janela.SalvarImagem->click();
        charts::GraficoAbrams::defineEscolhaDeArquivo({});
        const QImage imagem(arquivo + QStringLiteral(".png"));
        QCOMPARE(imagem.size(), janela.Grafico->size() * janela.Grafico->devicePixelRatio());
        // The curve's blue is in the picture: the chart was drawn, not only its frame.
        int azuis = 0;
        for (int y = 0; y < imagem.height(); ++y)
            for (int x = 0; x < imagem.width(); ++x)
                azuis += imagem.pixelColor(x, y) == QColor(0, 70, 160);
        QVERIFY2(azuis > 100, qPrintable(QString::number(azuis)));

        QStringList textos;
        int paginas = 0;
        int figuras = 0;
        dialogs->proximoModal([&](QDialog* d) {
            const printing::Documento& folha = d->findChild<preview::PreviaTraco*>()->documento();
            for (const printing::ItemTexto& t : folha.textos())
                textos.append(t.texto);
            figuras = int(std::count_if(folha.figuras().cbegin(), folha.figuras().cend(),
                                        [](const printing::ItemFigura& f) { return f.desenhada; }));
            paginas = folha.pageCount();
            return int(QDialog::Accepted);
        });
        janela.Imprimir->click();
        QCOMPARE(paginas, 1);
        QCOMPARE(figuras, 1);
        QVERIFY2(textos.contains(QStringLiteral("Agressividade II – moderada, concreto armado: a/c máxima 0,60")),
                 qPrintable(textos.join(QLatin1Char('|'))));
    }
};

QUENVAR_TEST(TestGraficoAbrams)
#include "tst_graficoabrams.moc"
