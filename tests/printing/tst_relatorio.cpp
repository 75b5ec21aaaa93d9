#include "fixtures.h"
#include "relatoriotestsupport.h"
#include "testregistry.h"

#include "platform/clock.h"
#include "platform/database.h"
#include "printing/ficha.h"
#include "printing/relatorio.h"
#include "printing/saida.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

using printing::Orientacao;
using printing::Relatorio;
using printing::TipoRelatorio;
using relatoriotest::bloco;
using relatoriotest::controle;
using relatoriotest::linhas;

namespace {

// Left edges of the per-batch and per-m³ quantity columns, their width, and the name columns.
constexpr double kQ = 1848.0;
constexpr double kQu = 6912.0;
constexpr double kLarguraQ = 1512.0;
constexpr double kRot = 0.0;
constexpr double kRotu = 5064.0;
constexpr double kLarguraRot = 1848.0;

// The contents, an entry a line: a name, or a variant after its name ("Concreto fck 25\\02"); with their places,
// the page and the top each entry points at.
QStringList entradasDoIndice(const Relatorio& r, bool comLugares = false)
{
    const printing::IndiceDoRelatorio& indice = r.indice();
    QStringList entradas;
    const auto entrada = [&](const QString& texto, printing::LugarNoRelatorio lugar) {
        entradas.append(comLugares ? QStringLiteral("%1 %2 %3").arg(texto).arg(lugar.pagina).arg(lugar.y) : texto);
    };
    for (int n = 0; n < indice.nomes(); ++n) {
        entrada(indice.nome(n), indice.lugar(n));
        for (int v = 0; v < indice.variantes(n); ++v)
            entrada(indice.nome(n) + QLatin1Char('\\') + indice.variante(n, v), indice.lugar(n, v));
    }
    return entradas;
}

// Each line of a page as text, box and font, to compare two compositions of the page.
QStringList linhasDaPagina(const Relatorio& r, int pagina)
{
    QStringList linhas;
    for (const printing::ItemTexto& t : r.textosDaPagina(pagina))
        linhas.append(QStringLiteral("%1 @%2,%3 %4x%5 %6 %7")
                          .arg(t.texto)
                          .arg(t.caixa.left())
                          .arg(t.caixa.top())
                          .arg(t.caixa.width())
                          .arg(t.caixa.height())
                          .arg(t.fonte.nome)
                          .arg(t.fonte.tamanho));
    return linhas;
}

QStringList titulos(const Relatorio& r)
{
    QStringList lista;
    for (const printing::BlocoDoRelatorio& b : r.blocos())
        lista.append(b.titulo);
    return lista;
}

} // namespace

class TestRelatorio : public QObject
{
    Q_OBJECT

private:
    PastaDeTeste m_pasta{true};
    std::unique_ptr<platform::Database> m_banco;
    // The report of the whole demo catalogue, composed once: the tests only read it.
    std::unique_ptr<Relatorio> m_todos;

    std::unique_ptr<Relatorio> compoe(TipoRelatorio tipo)
    {
        auto r = std::make_unique<Relatorio>(tipo, *m_banco, printing::logotipoDaPasta(m_pasta.dados()));
        r->compoe();
        return r;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_pasta.valida());
        m_banco = std::make_unique<platform::Database>(QStringLiteral("teste-relatorio"));
        m_banco->open(m_pasta.local());
        platform::Clock::fixa(QDateTime(QDate(2024, 4, 5), QTime(9, 30)));
        m_todos = compoe(TipoRelatorio::Todos);
    }

    void cleanupTestCase()
    {
        platform::Clock::fixa({});
        m_todos.reset();
        m_banco->close();
    }

    void variantsOfANameShareOneGroup()
    {
        const auto& r = m_todos;
        QCOMPARE(r->linhas(), 12);
        QCOMPARE(linhas(*r, QStringLiteral("Concreto fck 25 - Variante")).size(), 1);
        for (const char* titulo : {"Concreto fck 25 - 00", "Concreto fck 25 - 01", "Concreto fck 25 - 02"})
            QCOMPARE(linhas(*r, QString::fromUtf8(titulo)).size(), 1);
        // One group header per name: eight names in the demo catalogue.
        int grupos = 0;
        for (const printing::ItemTexto& t : r->documento().textos())
            grupos += t.texto.endsWith(QStringLiteral(" - Variante")) ? 1 : 0;
        QCOMPARE(grupos, 8);

        // The contents: the name, then its variants in two digits under it.
        const QStringList indice = entradasDoIndice(*r, true);
        const qsizetype nome = indice.indexOf(QRegularExpression(QStringLiteral("Concreto fck 25 [0-9].*")));
        QVERIFY(nome >= 0);
        // The name's entry points at its group header, above its first block; each variant's at its block.
        const auto lugar = [&r](const char* titulo, double acima = 0.0) {
            const auto b = bloco(*r, QString::fromUtf8(titulo));
            return b ? QStringLiteral(" %1 %2").arg(b->pagina).arg(b->topo - acima) : QString();
        };
        QCOMPARE(indice.mid(nome, 4),
                 (QStringList{"Concreto fck 25" + lugar("Concreto fck 25 - 00", Relatorio::kAlturaDoGrupo),
                              "Concreto fck 25\\00" + lugar("Concreto fck 25 - 00"),
                              "Concreto fck 25\\01" + lugar("Concreto fck 25 - 01"),
                              "Concreto fck 25\\02" + lugar("Concreto fck 25 - 02")}));
        QCOMPARE(indice.size(), 8 + 12);
    }

    void cells_data()
    {
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("topo");
        QTest::addColumn<double>("largura");
        QTest::addColumn<QString>("esperado");

        QTest::newRow("mass mix: cement per batch") << "Concreto fck 25 - 00" << kQ << 1260.0 << kLarguraQ << "50,0 kg";
        QTest::newRow("volume mix: cement per batch")
            << "Contrapiso - 00" << kQ << 1260.0 << kLarguraQ << "35,0 litros";
        QTest::newRow("volume mix: coarse sand per m3")
            << "Contrapiso - 00" << kQu << 1764.0 << kLarguraQ << "558,9 litros";
        QTest::newRow("no fine sand: per batch empty") << "Traço d'Obra - 00" << kQ << 1512.0 << kLarguraQ << "";
        QTest::newRow("no second coarse aggregate: empty") << "Contrapiso - 00" << kQu << 2268.0 << kLarguraQ << "";
        QTest::newRow("labour per m3") << "Concreto fck 25 - 00" << kQu << 3024.0 << kLarguraQ << "20,00 hh";
        QTest::newRow("admixture with its unit") << "Concreto fck 25 - 02" << kQ << 2520.0 << kLarguraQ << "0,3 litro";
        QTest::newRow("no second admixture") << "Concreto fck 25 - 02" << kQ << 2772.0 << kLarguraQ << "";
        QTest::newRow("cement row named by the product")
            << "Contrapiso - 00" << kRotu << 1260.0 << kLarguraRot << "Cimento 25";
        QTest::newRow("second coarse aggregate named")
            << "Concreto fck 25 - 01" << kRot << 2268.0 << kLarguraRot << "Pedra 2";
        QTest::newRow("heading by mass") << "Concreto fck 25 - 00" << 0.0 << 420.0 << 4980.0
                                         << "Dosagem em Proporções em Massa";
        QTest::newRow("heading by volume")
            << "Contrapiso - 00" << 0.0 << 420.0 << 4980.0 << "Dosagem em Proporções em Volume";
        QTest::newRow("specific mass of cement") << "Contrapiso - 00" << 6408.0 << 4380.0 << 1008.0 << "3,10";
        QTest::newRow("bulk mass of coarse aggregate") << "Contrapiso - 00" << 7416.0 << 4884.0 << 1008.0 << "1,38";
        QTest::newRow("moisture line") << "Concreto fck 25 - 00" << 0.0 << 4296.0 << 4368.0
                                       << "Umidade do Agregado Miúdo 6%";
        QTest::newRow("shape line as on the sheet")
            << "Contrapiso - 00" << 0.0 << 4632.0 << 4368.0 << "Agregado Graúdo bem arredondado";
        QTest::newRow("use line as on the sheet")
            << "Concreto Bombeado fck 30 - 00" << 0.0 << 4968.0 << 4368.0 << "Para uso de concreto bombeado";
        QTest::newRow("losses line") << "Contrapiso - 00" << 0.0 << 5310.0 << 4365.0
                                     << "Porcentagem de perdas e sobras = 5 %";
    }

    void cells()
    {
        QFETCH(QString, titulo);
        QFETCH(double, x);
        QFETCH(double, topo);
        QFETCH(double, largura);
        QFETCH(QString, esperado);

        const auto& r = m_todos;
        const auto b = bloco(*r, titulo);
        QVERIFY2(b, qPrintable(titulo));
        QCOMPARE(controle(*r, *b, x, topo, largura), esperado);
    }

    void massesHeading()
    {
        // "Componente" over "kg/l", in the control's two lines.
        const auto& r = m_todos;
        const auto b = bloco(*r, QStringLiteral("Contrapiso - 00"));
        QVERIFY(b);
        QCOMPARE(controle(*r, *b, 5064.0, 3960.0, 1344.0, 420.0), QStringLiteral("Componente kg/l"));
    }

    void unknownMeasuringReadsNoQuantity()
    {
        // A mix whose measuring field is empty, listed right after a mix by mass: none of its quantities is read,
        // and none is taken over from the mix before it.
        PastaDeTeste pasta(true);
        QVERIFY(pasta.valida());
        platform::Database banco(QStringLiteral("teste-relatorio-medicao"));
        banco.open(pasta.local());
        QCOMPARE(banco.execCount(QStringLiteral("UPDATE Tracos SET Volumetrico = NULL WHERE NomeTraco = ? AND "
                                                "TracoVariante = 1"),
                                 {QStringLiteral("Concreto fck 25")}),
                 1);
        Relatorio r(TipoRelatorio::Todos, banco, QString());
        QVERIFY(r.compoe());
        const auto anterior = bloco(r, QStringLiteral("Concreto fck 25 - 00"));
        const auto b = bloco(r, QStringLiteral("Concreto fck 25 - 01"));
        QVERIFY(anterior && b);
        QCOMPARE(controle(r, *anterior, kQ, 1260.0, kLarguraQ), QStringLiteral("50,0 kg"));
        for (const double x : {kQ, kQu}) {
            for (const double topo : {1260.0, 1512.0, 1764.0, 2016.0, 2268.0})
                QCOMPARE(controle(r, *b, x, topo, kLarguraQ), QString());
        }
        banco.close();
    }

    void inUseReportHasOneBlockPerName()
    {
        const auto r = compoe(TipoRelatorio::EmUso);
        QCOMPARE(titulos(*r), (QStringList{"Concreto Aparente fck 30 - 00", "Concreto Bombeado fck 30 - 00",
                                           "Concreto fck 15 - 01", "Concreto fck 20 - 00", "Concreto fck 25 - 00",
                                           "Concreto Magro - 00", "Contrapiso - 00"}));
        // The contents list the names alone.
        QCOMPARE(entradasDoIndice(*r),
                 (QStringList{"Concreto Aparente fck 30", "Concreto Bombeado fck 30", "Concreto fck 15",
                              "Concreto fck 20", "Concreto fck 25", "Concreto Magro", "Contrapiso"}));
        QVERIFY(linhas(*r, QStringLiteral("Traço Inativo")).isEmpty());
        QCOMPARE(linhas(*r, QStringLiteral("Traço em Uso")).size(), 7);
        QCOMPARE(linhas(*r, QStringLiteral("Quenvar - Em Uso")).size(), r->documento().pageCount());
    }

    void inUseBox_data()
    {
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<QColor>("cor");
        QTest::addColumn<QString>("texto");

        QTest::newRow("in use") << "Concreto fck 15 - 01" << QColor(192, 255, 255) << "Traço em Uso";
        QTest::newRow("inactive") << "Concreto fck 15 - 00" << QColor(255, 192, 255) << "Traço Inativo";
    }

    void inUseBox()
    {
        QFETCH(QString, titulo);
        QFETCH(QString, texto);
        QFETCH(QColor, cor);

        const auto& r = m_todos;
        const auto b = bloco(*r, titulo);
        QVERIFY(b);
        QCOMPARE(controle(*r, *b, 4704.0, 252.0, 1428.0), texto);
        const QRectF caixa(Relatorio::kMargemEsquerda + 4704.0, b->topo + 252.0, 1428.0, 252.0);
        bool achou = false;
        for (const printing::ItemFundo& f : r->documento().fundos())
            achou = achou || (f.pagina == b->pagina && f.caixa == caixa && f.cor == cor);
        QVERIFY(achou);
    }

    void pageHeaderAndFooter()
    {
        const auto& r = m_todos;
        const int paginas = r->documento().pageCount();
        QVERIFY(paginas > 1);
        const QList<printing::ItemTexto> datas =
            linhas(*r, QStringLiteral("Impresso: sexta-feira, 5 de abril de 2024"));
        QCOMPARE(datas.size(), paginas);
        for (int i = 0; i < paginas; ++i) {
            QCOMPARE(datas[i].pagina, i);
            const QList<printing::ItemTexto> numero = linhas(*r, QStringLiteral("Página %1").arg(i + 1));
            QCOMPARE(numero.size(), 1);
            QCOMPARE(numero.first().pagina, i);
            // At the foot of the page, under every block.
            QVERIFY(numero.first().caixa.top() >=
                    r->documento().pageHeight() - Relatorio::kMargemInferior - Relatorio::kAlturaDoRodape - 0.5);
        }
        // The maker's notice, as on the sheet, in Times.
        const QList<printing::ItemTexto> aviso = linhas(*r, printing::avisoDoRodape());
        QCOMPARE(aviso.size(), paginas);
        QCOMPARE(aviso.first().fonte.nome, QStringLiteral("Times"));
    }

    void blocksAreNeverSplit()
    {
        const auto& r = m_todos;
        const double rodape = r->documento().pageHeight() - Relatorio::kMargemInferior - Relatorio::kAlturaDoRodape;
        QCOMPARE(r->documento().reguas().size(), r->blocos().size());
        for (qsizetype i = 0; i < r->blocos().size(); ++i) {
            const printing::BlocoDoRelatorio& b = r->blocos()[i];
            QVERIFY2(b.topo >= Relatorio::kMargemSuperior + Relatorio::kAlturaDoCabecalho, qPrintable(b.titulo));
            QVERIFY2(b.topo + Relatorio::kAlturaDoDetalhe <= rodape, qPrintable(b.titulo));
            // The closing rule is on the block's page, at its place.
            const printing::ItemRegua& regua = r->documento().reguas()[i];
            QCOMPARE(regua.pagina, b.pagina);
            QCOMPARE(regua.linha.y1(), b.topo + 6234.0);
        }
    }

    // The report's pages take the orientation chosen for them; the printer's is kept as it was found.
    void pageOrientation_data()
    {
        QTest::addColumn<Orientacao>("impressora");
        QTest::addColumn<std::optional<Orientacao>>("escolhida");
        QTest::addColumn<Orientacao>("paginas");

        QTest::newRow("landscape printer, portrait taken")
            << Orientacao::Paisagem << std::optional(Orientacao::Retrato) << Orientacao::Retrato;
        QTest::newRow("landscape printer kept")
            << Orientacao::Paisagem << std::optional<Orientacao>() << Orientacao::Paisagem;
        QTest::newRow("portrait printer") << Orientacao::Retrato << std::optional<Orientacao>() << Orientacao::Retrato;
    }

    void pageOrientation()
    {
        QFETCH(Orientacao, impressora);
        QFETCH(std::optional<Orientacao>, escolhida);
        QFETCH(Orientacao, paginas);

        Relatorio r(TipoRelatorio::EmUso, *m_banco, QString(), impressora);
        QCOMPARE(r.impressoraDeitada(), impressora == Orientacao::Paisagem);
        if (escolhida)
            r.defineOrientacaoDasPaginas(*escolhida);
        QVERIFY(r.compoe());
        QCOMPARE(r.documento().orientation(), paginas);
        QCOMPARE(r.orientacaoDaImpressora(), impressora);
        // The layout keeps its width whichever way the paper stands.
        QCOMPARE(r.documento().larguraUtil(), Relatorio::kLarguraDoLayout);
        for (const printing::BlocoDoRelatorio& b : r.blocos())
            QVERIFY(b.topo + Relatorio::kAlturaDoDetalhe <=
                    r.documento().pageHeight() - Relatorio::kMargemInferior - Relatorio::kAlturaDoRodape);
    }

    void progressAndCancelling()
    {
        Relatorio r(TipoRelatorio::Todos, *m_banco, QString());
        QList<int> vistos;
        QVERIFY(r.compoe([&](int feitos, int total) {
            vistos.append(feitos);
            return total == 12;
        }));
        QCOMPARE(vistos.size(), 13);
        QCOMPARE(vistos.first(), 0);
        QCOMPARE(vistos.last(), 12);

        // Cancelled half-way: no page, no contents, no block is kept.
        QVERIFY(!r.compoe([](int feitos, int) { return feitos < 5; }));
        QCOMPARE(r.documento().pageCount(), 0);
        QVERIFY(r.indice().isEmpty());
        QVERIFY(r.blocos().isEmpty());
    }

    // The viewer lays a report out once and composes each page when it is shown: every page must come out as it
    // does in the report composed whole, group headers carried over a page break included.
    void pagesComposedOnDemand_data()
    {
        QTest::addColumn<TipoRelatorio>("tipo");

        QTest::newRow("every mix") << TipoRelatorio::Todos;
        QTest::newRow("mixes in use") << TipoRelatorio::EmUso;
    }

    void pagesComposedOnDemand()
    {
        QFETCH(TipoRelatorio, tipo);

        const auto inteiro = compoe(tipo);
        Relatorio aPedido(tipo, *m_banco, printing::logotipoDaPasta(m_pasta.dados()));
        QVERIFY(aPedido.preparaPaginas());
        QCOMPARE(aPedido.paginas().pageCount(), inteiro->documento().pageCount());
        QCOMPARE(aPedido.linhas(), inteiro->linhas());
        QCOMPARE(entradasDoIndice(aPedido, true), entradasDoIndice(*inteiro, true));
        // Backwards, as a user may page, so that no page leans on the one composed before it.
        for (int pagina = inteiro->documento().pageCount() - 1; pagina >= 0; --pagina)
            QCOMPARE(linhasDaPagina(aPedido, pagina), linhasDaPagina(*inteiro, pagina));
    }

    // A report goes to a PDF file a page at a time; the file is replaced only by a complete report.
    void pdfWrittenAsComposed_data()
    {
        QTest::addColumn<int>("cancelaEm");
        QTest::addColumn<int>("paginas");

        QTest::newRow("complete") << -1 << 6;
        QTest::newRow("cancelled: the old file stays") << 5 << 0;
    }

    void pdfWrittenAsComposed()
    {
        QFETCH(int, cancelaEm);
        QFETCH(int, paginas);

        QTemporaryDir pasta;
        const QString arquivo = pasta.filePath(QStringLiteral("todos.pdf"));
        {
            QFile antigo(arquivo);
            QVERIFY(antigo.open(QIODevice::WriteOnly));
            antigo.write("antigo");
        }
        Relatorio r(TipoRelatorio::Todos, *m_banco, printing::logotipoDaPasta(m_pasta.dados()));
        QString erro = QStringLiteral("não mudou");
        const bool gravado = printing::gravaPdf(
            r, arquivo, [cancelaEm](int feitos, int) { return feitos != cancelaEm; }, &erro);
        QCOMPARE(gravado, cancelaEm < 0);
        QCOMPARE(erro, QString());
        QFile pdf(arquivo);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray conteudo = pdf.readAll();
        if (paginas == 0) {
            QCOMPARE(conteudo, QByteArray("antigo"));
            return;
        }
        QVERIFY(conteudo.startsWith("%PDF-"));
        static const QRegularExpression pagina(QStringLiteral("/Type\\s*/Page(?!s)"));
        QCOMPARE(QString::fromLatin1(conteudo).count(pagina), paginas);
        QCOMPARE(r.linhas(), 12);
    }

    // A workstation saving while another makes a long report neither waits for the whole report nor fails.
    void escritaDuranteORelatorio()
    {
        PastaDeTeste pasta(true);
        platform::Database banco(QStringLiteral("teste-relatorio-leitor"));
        platform::Database outra(QStringLiteral("teste-relatorio-escritor"));
        banco.open(pasta.local());
        outra.open(pasta.local());
        teste::esperaCurta(outra, 100);
        Relatorio r(TipoRelatorio::Todos, banco, QString());
        int gravadas = -1;
        QVERIFY(r.compoe([&](int feitos, int) {
            if (feitos == 6)
                gravadas = outra.execCount(QStringLiteral("DELETE FROM Tracos WHERE NomeTraco = ?"),
                                           {QStringLiteral("Traço d'Obra")});
            return true;
        }));
        QCOMPARE(gravadas, 1);
    }
};

QUENVAR_TEST(TestRelatorio)
#include "tst_relatorio.moc"
