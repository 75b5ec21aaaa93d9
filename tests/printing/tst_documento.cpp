#include "testregistry.h"

#include "printing/documento.h"
#include "printing/saida.h"

#include <QFile>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using printing::Alinhamento;
using printing::Documento;
using printing::ItemTabela;
using printing::ItemTexto;

namespace {

const QColor kAmarelo(255, 255, 192);
const QColor kBranco(255, 255, 255);
const QColor kVerde(192, 255, 192);

// A document with the sheet's margins, begun.
struct Folha : Documento
{
    Folha()
    {
        setMargins(500);
        startDoc();
    }
};

QList<ItemTexto> textosDaPagina(const Documento& doc, int pagina, ItemTexto::Origem origem)
{
    QList<ItemTexto> textos;
    for (const ItemTexto& t : doc.textos()) {
        if (t.pagina == pagina && t.origem == origem)
            textos.append(t);
    }
    return textos;
}

int paginasDoPdf(const QString& arquivo)
{
    QFile f(arquivo);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression pagina(QStringLiteral("/Type\\s*/Page(?!s)"));
    return int(QString::fromLatin1(f.readAll()).count(pagina));
}

} // namespace

class TestDocumento : public QObject
{
    Q_OBJECT

private slots:
    void paragraphPlacement_data()
    {
        QTest::addColumn<int>("alinhamento");
        QTest::addColumn<double>("x");
        QTest::addColumn<QString>("lado"); // which edge of the line's box is fixed, and where
        QTest::addColumn<double>("onde");

        QTest::newRow("left block starts at CurrentX") << int(Alinhamento::Esquerda) << 4500.0 << "left" << 4500.0;
        QTest::newRow("right block ignores a CurrentX left of the text")
            << int(Alinhamento::Direita) << 3000.0 << "right" << 11406.0;
        QTest::newRow("centre between CurrentX and the margin")
            << int(Alinhamento::Centro) << 2000.0 << "centre" << (2000.0 + 11406.0) / 2.0;
    }

    void paragraphPlacement()
    {
        QFETCH(int, alinhamento);
        QFETCH(double, x);
        QFETCH(QString, lado);
        QFETCH(double, onde);

        Folha doc;
        doc.setFontSize(12);
        doc.setCurrentX(x);
        doc.setCurrentY(1950);
        doc.setTextAlign(Alinhamento(alinhamento));
        doc.paragraph(QStringLiteral("Por Metro Cúbico de Concreto"));

        QCOMPARE(doc.paragrafos().size(), 1);
        const printing::ItemParagrafo p = doc.paragrafos().first();
        QCOMPARE(p.x, x);
        QCOMPARE(p.y, 1950.0);
        const QRectF caixa = p.caixa;
        QCOMPARE(caixa.top(), 1950.0);
        QCOMPARE(caixa.width(), doc.textWidth(QStringLiteral("Por Metro Cúbico de Concreto")));
        if (lado == QLatin1String("left"))
            QCOMPARE(caixa.left(), onde);
        else if (lado == QLatin1String("right"))
            QCOMPARE(caixa.right(), onde);
        else
            QCOMPARE(caixa.center().x(), onde);
        // The print position goes under the line, back at the left margin.
        QCOMPARE(doc.currentX(), 500.0);
        QCOMPARE(doc.currentY(), 1950.0 + doc.lineHeight());
        QCOMPARE(doc.lineHeight(), std::round(12 * 20 * 1.12));
    }

    void paragraphWrapsAtTheRightMargin()
    {
        Folha doc;
        doc.setCurrentX(2000);
        doc.setCurrentY(5000);
        const QString texto =
            QStringLiteral("São as quantidades por metro cúbico sem correção de umidade e calculam-se as "
                           "proporções relacionando-as com a massa do cimento, de novo e de novo.");
        doc.paragraph(texto);

        const QList<ItemTexto> linhas = textosDaPagina(doc, 0, ItemTexto::Origem::Paragrafo);
        QVERIFY(linhas.size() >= 2);
        QStringList partes;
        for (qsizetype i = 0; i < linhas.size(); ++i) {
            QCOMPARE(linhas[i].caixa.left(), 2000.0);
            QVERIFY(linhas[i].caixa.right() <= 11406.0);
            QCOMPARE(linhas[i].caixa.top(), 5000.0 + i * doc.lineHeight());
            partes.append(linhas[i].texto);
        }
        // Every word is printed once, in order; the blank where a line breaks is not.
        QCOMPARE(partes.join(QLatin1Char(' ')), texto);
        QCOMPARE(doc.currentY(), 5000.0 + linhas.size() * doc.lineHeight());
    }

    void lineBreaksAndEmptyParagraphs()
    {
        Folha doc;
        doc.setCurrentY(1000);
        doc.paragraph(QStringLiteral("Massa\rEspecífica"));
        doc.paragraph(QString());
        doc.paragraph(QStringLiteral("depois"));

        const QList<ItemTexto> linhas = textosDaPagina(doc, 0, ItemTexto::Origem::Paragrafo);
        QCOMPARE(linhas.size(), 3);
        QCOMPARE(linhas[0].texto, QStringLiteral("Massa"));
        QCOMPARE(linhas[1].texto, QStringLiteral("Específica"));
        QCOMPARE(linhas[1].caixa.top(), 1000.0 + doc.lineHeight());
        // The empty paragraph draws nothing but takes a line of its own.
        QCOMPARE(linhas[2].texto, QStringLiteral("depois"));
        QCOMPARE(linhas[2].caixa.top(), 1000.0 + 3 * doc.lineHeight());
        QCOMPARE(doc.paragrafos()[1].caixa.height(), doc.lineHeight());
    }

    void tableColumns_data()
    {
        QTest::addColumn<QString>("formato");
        QTest::addColumn<QList<double>>("larguras");
        QTest::addColumn<QList<int>>("alinhamentos");

        QTest::newRow("two centred columns in twips")
            << "^2500|^2000;" << QList<double>{2500, 2000} << QList<int>{Qt::AlignHCenter, Qt::AlignHCenter};
        QTest::newRow("left and right, with units")
            << "<1in|>2,5cm;" << QList<double>{1440, 2.5 * 1440 / 2.54} << QList<int>{Qt::AlignLeft, Qt::AlignRight};
        QTest::newRow("no marker is left, no closing semicolon")
            << "1500|^1500|>30mm" << QList<double>{1500, 1500, 30 * 1440 / 25.4}
            << QList<int>{Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    }

    void tableColumns()
    {
        QFETCH(QString, formato);
        QFETCH(QList<double>, larguras);
        QFETCH(QList<int>, alinhamentos);

        Folha doc;
        doc.setCurrentY(2250);
        QStringList celulas;
        for (qsizetype i = 0; i < larguras.size(); ++i)
            celulas.append(QStringLiteral("c%1").arg(i));
        doc.addTable(formato, QString(), celulas.join(QLatin1Char('|')) + QLatin1Char(';'));

        QCOMPARE(doc.tabelas().size(), 1);
        const ItemTabela tabela = doc.tabelas().first();
        QCOMPARE(tabela.linhas.size(), 1);
        QCOMPARE(tabela.linhas.first().celulas, celulas);
        double esquerda = 500.0;
        double total = 0.0;
        const QList<ItemTexto> textos = textosDaPagina(doc, 0, ItemTexto::Origem::Celula);
        QCOMPARE(textos.size(), larguras.size());
        for (qsizetype i = 0; i < larguras.size(); ++i) {
            const QRectF caixa = textos[i].caixa;
            const double direita = esquerda + larguras[i];
            switch (alinhamentos[i]) {
            case Qt::AlignHCenter:
                QVERIFY(std::abs(caixa.center().x() - (esquerda + direita) / 2.0) < 0.01);
                break;
            case Qt::AlignRight:
                QVERIFY(caixa.right() < direita && caixa.right() > direita - 100.0);
                break;
            default:
                QVERIFY(caixa.left() > esquerda && caixa.left() < esquerda + 100.0);
            }
            esquerda = direita;
            total += larguras[i];
        }
        QVERIFY(std::abs(tabela.linhas.first().caixa.width() - total) < 0.01);
    }

    void tableBuiltRowByRow()
    {
        // Two tables side by side, each built as the sheet builds it: header and first row, then rows appended.
        Folha doc;
        const QStringList corpo{QStringLiteral("Cimento 32|50,0 kg"), QStringLiteral("Areia Fina|"),
                                QStringLiteral("|"), QStringLiteral("Água Total|24,8 litros")};
        for (const Alinhamento lado : {Alinhamento::Esquerda, Alinhamento::Direita}) {
            doc.setCurrentY(2250);
            doc.setTextAlign(lado);
            for (qsizetype i = 0; i < corpo.size(); ++i) {
                if (i == 0)
                    doc.addTable(QStringLiteral("^2500|^2000;"), QStringLiteral("Componente|Quantidade;"),
                                 corpo[i] + QLatin1Char(';'), kAmarelo, kBranco, false);
                else
                    doc.addTable(QStringLiteral("^2500|^2000;"), QStringLiteral("Componente|Quantidade;"),
                                 corpo[i] + QLatin1Char(';'), kAmarelo,
                                 i % 2 ? std::optional<QColor>(kVerde) : std::nullopt, true);
            }
        }

        QCOMPARE(doc.tabelas().size(), 2);
        for (const ItemTabela& tabela : doc.tabelas()) {
            QCOMPARE(tabela.linhas.size(), 5);
            QVERIFY(tabela.linhas[0].cabecalho);
            QCOMPARE(tabela.linhas[0].celulas,
                     (QStringList{QStringLiteral("Componente"), QStringLiteral("Quantidade")}));
            QCOMPARE(tabela.linhas[0].sombra, std::optional<QColor>(kAmarelo));
            QCOMPARE(tabela.linhas[0].caixa.top(), 2250.0);
            const QList<ItemTabela::Linha> linhas = tabela.corpo();
            QCOMPARE(linhas.size(), 4);
            QCOMPARE(linhas[0].sombra, std::optional<QColor>(kBranco));
            QCOMPARE(linhas[1].sombra, std::optional<QColor>(kVerde));
            QCOMPARE(linhas[2].sombra, std::nullopt);
            QCOMPARE(linhas[3].sombra, std::optional<QColor>(kVerde));
            QCOMPARE(linhas[1].celulas, (QStringList{QStringLiteral("Areia Fina"), QString()}));
            QCOMPARE(linhas[2].celulas, (QStringList{QString(), QString()}));
            // Rows follow one another without gaps.
            for (qsizetype i = 1; i < tabela.linhas.size(); ++i)
                QCOMPARE(tabela.linhas[i].caixa.top(), tabela.linhas[i - 1].caixa.bottom());
        }
        QCOMPARE(doc.tabelas()[0].linhas[0].caixa.left(), 500.0);
        QCOMPARE(doc.tabelas()[1].linhas[0].caixa.right(), 11406.0);
        QCOMPARE(doc.tabelas()[1].alinhamento, Alinhamento::Direita);
        QCOMPARE(doc.currentY(), doc.tabelas()[1].linhas.last().caixa.bottom());
    }

    void tableRowsAndHeaderLines()
    {
        Folha doc;
        doc.setCurrentY(12450);
        doc.addTable(QStringLiteral("^1500|^1500|^1500;"),
                     QStringLiteral("Componente|Massa\rEspecifíca|Massa Aparente;"),
                     QStringLiteral("Cimento|3,10|1,43;Agr. Miúdo|2,61|1,20;"), kAmarelo, kBranco);

        const ItemTabela tabela = doc.tabelas().first();
        QCOMPARE(tabela.linhas.size(), 3);
        // A carriage return breaks the header cell into two lines; the whole row takes their height.
        const double umaLinha = tabela.linhas[1].caixa.height();
        QCOMPARE(tabela.linhas[0].caixa.height(), umaLinha + doc.lineHeight());
        QCOMPARE(tabela.linhas[2].celulas,
                 (QStringList{QStringLiteral("Agr. Miúdo"), QStringLiteral("2,61"), QStringLiteral("1,20")}));
        // The second column's header: one line above the other, centred in the column.
        QList<ItemTexto> segundaColuna;
        for (const ItemTexto& t : textosDaPagina(doc, 0, ItemTexto::Origem::Celula)) {
            if (t.caixa.top() < tabela.linhas[1].caixa.top() && t.caixa.left() > 2000.0 && t.caixa.right() < 3500.0)
                segundaColuna.append(t);
        }
        QCOMPARE(segundaColuna.size(), 2);
        QCOMPARE(segundaColuna[0].texto, QStringLiteral("Massa"));
        QCOMPARE(segundaColuna[1].texto, QStringLiteral("Especifíca"));
        QCOMPARE(segundaColuna[1].caixa.top(), segundaColuna[0].caixa.bottom());
        QVERIFY(std::abs(segundaColuna[1].caixa.center().x() - 2750.0) < 0.01);
    }

    void pageBreaks()
    {
        Folha doc;
        doc.setCurrentY(16338 - doc.lineHeight() / 2);
        doc.paragraph(QStringLiteral("na página seguinte"));
        QCOMPARE(doc.paragrafos().last().pagina, 1);
        QCOMPARE(doc.paragrafos().last().y, 500.0);
        const QList<ItemTexto> segunda = textosDaPagina(doc, 1, ItemTexto::Origem::Paragrafo);
        QCOMPARE(segunda.size(), 1);
        QCOMPARE(segunda.first().caixa.top(), 500.0);

        // A table that reaches the bottom margin goes on under its header repeated.
        doc.setCurrentY(15800);
        doc.addTable(QStringLiteral("^2500|^2000;"), QStringLiteral("Componente|Quantidade;"),
                     QStringLiteral("a|1;b|2;c|3;d|4;"), kAmarelo, kBranco);
        doc.endDoc();
        QCOMPARE(doc.pageCount(), 3);
        const ItemTabela tabela = doc.tabelas().first();
        QCOMPARE(tabela.linhas.size(), 5); // the repeated header is not a row of its own
        QCOMPARE(tabela.linhas.first().pagina, 1);
        QCOMPARE(tabela.linhas.last().pagina, 2);
        for (const ItemTabela::Linha& linha : tabela.linhas)
            QVERIFY(linha.caixa.bottom() <= 16338.0);
        QStringList terceira;
        for (const ItemTexto& t : textosDaPagina(doc, 2, ItemTexto::Origem::Celula))
            terceira.append(t.texto);
        QCOMPARE(terceira.mid(0, 2), (QStringList{QStringLiteral("Componente"), QStringLiteral("Quantidade")}));
        QVERIFY(terceira.contains(QStringLiteral("d")));
    }

    void headerAndFooter()
    {
        Folha doc;
        doc.setHdrFont(printing::Fonte{QStringLiteral("Times"), 10, false, true});
        doc.setHeader(QStringLiteral("Quenvar|Catálogo|Página %d"));
        doc.setFooter(QStringLiteral("||aviso"));
        doc.newPage();
        doc.endDoc();

        QCOMPARE(doc.pageCount(), 2);
        for (int pagina = 0; pagina < 2; ++pagina) {
            const QList<ItemTexto> partes = textosDaPagina(doc, pagina, ItemTexto::Origem::Cabecalho);
            QCOMPARE(partes.size(), 3);
            QCOMPARE(partes[0].caixa.left(), 500.0);
            QVERIFY(std::abs(partes[1].caixa.center().x() - 11906.0 / 2.0) < 0.01);
            QCOMPARE(partes[2].texto, QStringLiteral("Página %1").arg(pagina + 1));
            QCOMPARE(partes[2].caixa.right(), 11406.0);
            QVERIFY(partes[2].fonte.italico);
            // Inside the top margin.
            QVERIFY(partes[0].caixa.top() >= 0.0 && partes[0].caixa.bottom() <= 500.0);

            const QList<ItemTexto> rodape = textosDaPagina(doc, pagina, ItemTexto::Origem::Rodape);
            QCOMPARE(rodape.size(), 1);
            QCOMPARE(rodape.first().texto, QStringLiteral("aviso"));
            QCOMPARE(rodape.first().caixa.right(), 11406.0);
            QVERIFY(rodape.first().caixa.top() >= 16338.0 && rodape.first().caixa.bottom() <= 16838.0);
        }
    }

    void aLineNeverLeavesItsBox_data()
    {
        QTest::addColumn<double>("tamanho"); // points asked for
        QTest::addColumn<double>("fracao");  // the box's width over the word's width at the size asked for
        QTest::addColumn<double>("piso");    // the smallest size it may be drawn in
        QTest::addColumn<bool>("cortada");

        QTest::newRow("fits: drawn as asked") << 10.0 << 1.2 << 10.0 << false;
        QTest::newRow("a little too wide: smaller, whole") << 10.0 << 0.85 << 7.0 << false;
        QTest::newRow("far too wide: at seven tenths, cut") << 10.0 << 0.3 << 7.0 << true;
        QTest::newRow("small font: not below 5 points") << 6.0 << 0.5 << 5.0 << true;
    }

    void aLineNeverLeavesItsBox()
    {
        QFETCH(double, tamanho);
        QFETCH(double, fracao);
        QFETCH(double, piso);
        QFETCH(bool, cortada);

        // One word, so that the box cannot wrap it.
        const QString palavra = QStringLiteral("Superplastificante");
        Folha doc;
        doc.setFontSize(tamanho);
        const QRectF caixa(2000, 3000, fracao * doc.textWidth(palavra), 2 * doc.lineHeight());
        doc.textBox(caixa, palavra, Qt::AlignRight);

        const QList<ItemTexto> linhas = textosDaPagina(doc, 0, ItemTexto::Origem::Caixa);
        QCOMPARE(linhas.size(), 1);
        const ItemTexto& linha = linhas.first();
        QVERIFY2(linha.fonte.tamanho >= piso, qPrintable(QString::number(linha.fonte.tamanho)));
        if (fracao < 1.0)
            QVERIFY2(linha.fonte.tamanho < tamanho, qPrintable(QString::number(linha.fonte.tamanho)));
        // Measured in the font it is drawn in, the line is inside the box.
        const double largura = QFontMetricsF(Documento::qfont(linha.fonte)).horizontalAdvance(linha.texto);
        QVERIFY2(largura <= caixa.width(), qPrintable(QStringLiteral("%1 > %2").arg(largura).arg(caixa.width())));
        QVERIFY(caixa.contains(linha.caixa));
        if (cortada) {
            QCOMPARE(linha.fonte.tamanho, piso);
            QVERIFY2(linha.texto.endsWith(QChar(0x2026)), qPrintable(linha.texto));
            QVERIFY(palavra.startsWith(linha.texto.chopped(1)));
        } else {
            QCOMPARE(linha.texto, palavra);
        }
    }

    void pagesPlayBackAtAnyResolution_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::newRow("screen") << 96;
        QTest::newRow("printer") << 300;
    }

    void pagesPlayBackAtAnyResolution()
    {
        QFETCH(int, dpi);

        // A green row and a rule recorded in twips land where the twips say on any device.
        Folha doc;
        doc.setCurrentY(1440);
        doc.addTable(QStringLiteral("<2880;"), QString(), QStringLiteral(" ;"), std::nullopt, kVerde);
        doc.drawRule(2880);
        doc.endDoc();

        const double pixelsPorTwip = dpi / 1440.0;
        QImage imagem(QSize(int(11906 * pixelsPorTwip), int(16838 * pixelsPorTwip)), QImage::Format_RGB32);
        imagem.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
        imagem.setDotsPerMeterY(int(std::lround(dpi / 0.0254)));
        imagem.fill(Qt::white);
        {
            QPainter pintor(&imagem);
            printing::desenhaPagina(pintor, doc.page(0), QPointF(0, 0), pixelsPorTwip);
        }
        const QRectF linha = doc.tabelas().first().linhas.first().caixa;
        const QPoint dentro((linha.center() * pixelsPorTwip).toPoint());
        QCOMPARE(imagem.pixelColor(dentro), kVerde);
        const QPoint fora(((linha.bottomRight() + QPointF(400, 400)) * pixelsPorTwip).toPoint());
        QCOMPARE(imagem.pixelColor(fora), QColor(Qt::white));
        const QPoint regua(QPointF(6000 * pixelsPorTwip, 2880 * pixelsPorTwip).toPoint());
        QVERIFY(imagem.pixelColor(regua).lightness() < 200);
    }

    void pdf()
    {
        QTemporaryDir pasta;
        QVERIFY(pasta.isValid());
        QString erro;
        QVERIFY(!printing::gravaPdf(Documento(), pasta.filePath(QStringLiteral("vazio.pdf")), QString(), &erro));
        QVERIFY(!erro.isEmpty());
        QVERIFY(!QFile::exists(pasta.filePath(QStringLiteral("vazio.pdf"))));

        Folha doc;
        doc.paragraph(QStringLiteral("primeira"));
        doc.newPage();
        doc.paragraph(QStringLiteral("segunda"));
        doc.endDoc();
        const QString arquivo = pasta.filePath(QStringLiteral("duas.pdf"));
        QVERIFY(printing::gravaPdf(doc, arquivo, QStringLiteral("Teste"), &erro));
        QCOMPARE(paginasDoPdf(arquivo), 2);

        const QString semPasta = pasta.filePath(QStringLiteral("nao/existe.pdf"));
        QVERIFY(!printing::gravaPdf(doc, semPasta, QString(), &erro));
        QVERIFY2(erro.contains(semPasta), qPrintable(erro));
    }

    void pictures()
    {
        QTemporaryDir pasta;
        const QString logo = pasta.filePath(QStringLiteral("logo.bmp"));
        QImage imagem(200, 100, QImage::Format_RGB32);
        imagem.fill(Qt::red);
        QVERIFY(imagem.save(logo));

        Folha doc;
        const QRectF caixa(567, 454, 2000, 2000);
        QVERIFY(doc.drawPicture(logo, caixa));
        QVERIFY(!doc.drawPicture(pasta.filePath(QStringLiteral("falta.bmp")), caixa));
        doc.endDoc();
        QCOMPARE(doc.figuras().size(), 2);
        QVERIFY(doc.figuras()[0].desenhada);
        QCOMPARE(doc.figuras()[0].caixa, caixa);
        QVERIFY(!doc.figuras()[1].desenhada);

        // Kept in proportion and centred: the picture, twice as wide as tall, fills the box's width and half its
        // height.
        QImage pagina(QSize(1191, 1684), QImage::Format_RGB32);
        pagina.fill(Qt::white);
        {
            QPainter pintor(&pagina);
            printing::desenhaPagina(pintor, doc.page(0), QPointF(0, 0), 0.1);
        }
        const QPointF centro = caixa.center() * 0.1;
        QCOMPARE(pagina.pixelColor(centro.toPoint()), QColor(Qt::red));
        QCOMPARE(pagina.pixelColor(QPointF(centro.x(), caixa.top() * 0.1 + 20).toPoint()), QColor(Qt::white));
        QCOMPARE(pagina.pixelColor(QPointF(centro.x(), caixa.bottom() * 0.1 - 20).toPoint()), QColor(Qt::white));
        QCOMPARE(pagina.pixelColor(QPointF(caixa.left() * 0.1 + 5, centro.y()).toPoint()), QColor(Qt::red));
    }
};

QUENVAR_TEST(TestDocumento)
#include "tst_documento.moc"
