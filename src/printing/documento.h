#pragma once

#include "paginas.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QLineF>
#include <QList>
#include <QPicture>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

class QPainter;

// The page model of the mix sheet and the catalogue reports: a document of pages laid out in twips (1/1440 inch)
// with a print position, paragraphs, tables, rules, pictures and a running header and footer, much as a print
// preview control lays out a report. Each page is drawn once through QPainter into a QPicture; the preview, the
// printer and the PDF writer all play those pictures back. What was drawn is also kept as plain items (texts with
// their boxes, tables with their cells, rules, pictures), so that the layout can be checked without rendering.
// A long report keeps no page: begun with a destination, each page is drawn straight onto the painter of the PDF
// writer or the printer while it is composed, and only that page's items are kept.
// A line of text never leaves the box it is laid out in (a paragraph's line, a cell, a header part, a text box):
// when the font the machine has is wider than the one the page was laid out for, the line is drawn smaller, down to
// menorTamanho, and what still does not fit is cut with an ellipsis.
namespace printing {

constexpr double kTwipsPorPolegada = 1440.0;
// A4, portrait, in twips.
constexpr double kLarguraA4 = 11906.0;
constexpr double kAlturaA4 = 16838.0;

inline constexpr double twipsDeMm(double mm)
{
    return mm * kTwipsPorPolegada / 25.4;
}

inline constexpr double twipsDePontos(double pontos)
{
    return pontos * 20.0;
}

// Where a paragraph or a table stands across the page. The sheet uses the codes 6 (the left-hand block: the text
// begins at CurrentX) and 8 (the right-hand block: the text ends at the right margin); both blocks share the
// same heights, so two texts or two tables printed at the same CurrentY stand side by side.
enum class Alinhamento : int {
    Esquerda = 6,
    Centro = 7,
    Direita = 8,
};

enum class Orientacao { Retrato, Paisagem };

// How a picture fills its box: stretched to it, or as large as it fits with its proportions kept, centred.
enum class AjusteFigura { Esticar, Proporcional };

struct Fonte
{
    QString nome = QStringLiteral("Arial");
    double tamanho = 10.0; // points
    bool negrito = false;
    bool italico = false;

    bool operator==(const Fonte&) const = default;
};

struct HashDaFonte
{
    std::size_t operator()(const Fonte& fonte) const;
};

// One line of text as drawn: a line of a paragraph, a table cell's line, a header or footer part.
struct ItemTexto
{
    enum class Origem { Paragrafo, Celula, Cabecalho, Rodape, Caixa };

    int pagina = 0;
    QString texto;
    QRectF caixa; // twips: the line's box, as wide as its ink advances
    Fonte fonte;  // as drawn: smaller than the one asked for when the line had to shrink to fit
    QColor cor;
    Origem origem = Origem::Paragrafo;
};

// One printed paragraph: its text, the print position it was printed at and how.
struct ItemParagrafo
{
    int pagina = 0;
    QString texto;
    double x = 0.0; // CurrentX and CurrentY when it was printed (the next page's top margin when it did not fit)
    double y = 0.0;
    Alinhamento alinhamento = Alinhamento::Esquerda;
    Fonte fonte;
    QColor cor;
    QRectF caixa; // twips: the lines it took
};

// One table, with every row added to it (the rows appended later included).
struct ItemTabela
{
    struct Linha
    {
        QStringList celulas;
        std::optional<QColor> sombra;
        bool cabecalho = false;
        QRectF caixa;
        int pagina = 0;
    };

    int pagina = 0; // where it begins
    QString formato;
    Alinhamento alinhamento = Alinhamento::Esquerda;
    QList<Linha> linhas; // header rows first

    QList<Linha> corpo() const;
};

struct ItemRegua
{
    int pagina = 0;
    QLineF linha;
    QColor cor;
};

// A box filled with a colour (a report control's background).
struct ItemFundo
{
    int pagina = 0;
    QRectF caixa;
    QColor cor;
};

struct ItemFigura
{
    int pagina = 0;
    QString arquivo;
    QRectF caixa; // the box asked for, twips
    bool desenhada = false;
};

class Documento : public Paginas
{
public:
    // Where the pages of a document that keeps none go: the painter a page (counted from 0) is drawn with, drawing
    // in twips from the page's top left corner, or none to lay the page out without drawing it.
    using DestinoDasPaginas = std::function<QPainter*(int pagina)>;

    Documento();
    ~Documento() override;
    Documento(const Documento&) = delete;
    Documento& operator=(const Documento&) = delete;

    // Page geometry, twips. The paper is A4 unless told otherwise; the orientation swaps its sides.
    QSizeF pageSize() const override;
    QSizeF paperSize() const { return m_papel; }
    void setPaperSize(const QSizeF& retrato);
    double pageWidth() const { return pageSize().width(); }
    double pageHeight() const { return pageSize().height(); }
    Orientacao orientation() const { return m_orientacao; }
    void setOrientation(Orientacao orientacao) { m_orientacao = orientacao; }
    double marginLeft() const { return m_margemEsquerda; }
    double marginRight() const { return m_margemDireita; }
    double marginTop() const { return m_margemSuperior; }
    double marginBottom() const { return m_margemInferior; }
    void setMarginLeft(double twips) { m_margemEsquerda = twips; }
    void setMarginRight(double twips) { m_margemDireita = twips; }
    void setMarginTop(double twips) { m_margemSuperior = twips; }
    void setMarginBottom(double twips) { m_margemInferior = twips; }
    void setMargins(double twips);
    // The printable width, from margin to margin.
    double larguraUtil() const { return pageWidth() - m_margemEsquerda - m_margemDireita; }

    // Begins a new document on its first page (any previous one is discarded); endDoc closes the last page.
    void startDoc();
    // Begins a new document whose pages are not kept: each page is drawn, while it is composed, with the painter
    // `destino` gives for it, and the lists of what was drawn hold only the page being composed (the last one once
    // the document is ended). Pages are counted from `primeiraPagina`, so that one page of a long document can be
    // composed again on its own.
    void startDoc(DestinoDasPaginas destino, int primeiraPagina = 0);
    void endDoc();
    // Whether the finished pages are kept (startDoc without a destination).
    bool guardaPaginas() const { return !m_destino; }
    // Closes the page (its header and footer are drawn then) and begins the next, with the print position at the
    // top margin.
    void newPage();
    bool compondo() const { return m_aberta; }
    // Discards every page.
    void limpa();

    // The print position, twips from the page's top left corner. After a paragraph or a table CurrentX returns
    // to the left margin and CurrentY stands under what was printed.
    double currentX() const { return m_x; }
    double currentY() const { return m_y; }
    void setCurrentX(double twips) { m_x = twips; }
    void setCurrentY(double twips) { m_y = twips; }
    Alinhamento textAlign() const { return m_alinhamento; }
    void setTextAlign(Alinhamento alinhamento) { m_alinhamento = alinhamento; }

    const Fonte& fonte() const { return m_fonte; }
    void setFonte(const Fonte& fonte) { m_fonte = fonte; }
    void setFontName(const QString& nome) { m_fonte.nome = nome; }
    void setFontSize(double pontos) { m_fonte.tamanho = pontos; }
    void setFontBold(bool negrito) { m_fonte.negrito = negrito; }
    void setFontItalic(bool italico) { m_fonte.italico = italico; }
    QColor textColor() const { return m_corTexto; }
    void setTextColor(const QColor& cor) { m_corTexto = cor; }
    QColor penColor() const { return m_corTraco; }
    void setPenColor(const QColor& cor) { m_corTraco = cor; }

    // Header and footer of every page, in three parts separated by "|": left, centre and right ("||texto" puts
    // the text on the right). "%d" stands for the page number. They are drawn in their own font, centred in the
    // top and bottom margins, when each page is closed.
    void setHeader(const QString& texto) { m_cabecalho = texto; }
    void setFooter(const QString& texto) { m_rodape = texto; }
    QString header() const { return m_cabecalho; }
    QString footer() const { return m_rodape; }
    void setHdrFont(const Fonte& fonte) { m_fonteCabecalho = fonte; }
    const Fonte& hdrFont() const { return m_fonteCabecalho; }

    // Prints a paragraph at the print position: from CurrentX to the right margin, word-wrapped, aligned as
    // textAlign says; a carriage return or line feed breaks the line. An empty text prints an empty line. Lines
    // that would pass the bottom margin go to a new page.
    void paragraph(const QString& texto);

    // Adds a table at CurrentY. `formato` gives the columns separated by "|" and ended by ";": "<" left, "^"
    // centred, ">" right, then the width in twips (or with a unit: "2.5cm", "30mm", "1in", "72pt"). `cabecalho`
    // and `corpo` hold the rows, cells separated by "|" and rows ended by ";"; a carriage return inside a cell
    // breaks it into lines. The header rows take `sombraCabecalho`, the body rows `sombraCorpo` (no colour: no
    // shade). With `anexar` the body rows go under the table added last, in its columns, and `formato` and
    // `cabecalho` are not used. The table stands at CurrentX for Esquerda, against the right margin for Direita.
    // A row that would pass the bottom margin goes to a new page, under the header repeated.
    void addTable(const QString& formato, const QString& cabecalho, const QString& corpo,
                  const std::optional<QColor>& sombraCabecalho = std::nullopt,
                  const std::optional<QColor>& sombraCorpo = std::nullopt, bool anexar = false);

    // Prints a text inside a box, as a report places a control: from the box's top, in the current font and text
    // colour, aligned across the box as told; a carriage return or line feed breaks the line and a line too wide
    // for the box is word-wrapped. With `encolhe` a line that still does not fit takes a smaller font (down to
    // 5 points) instead. The print position does not move and no new page is begun: the caller lays the page out.
    void textBox(const QRectF& caixa, const QString& texto, Qt::Alignment alinhamento = Qt::AlignLeft,
                 bool encolhe = false);
    // Fills a box with a colour, with no border.
    void fillBox(const QRectF& caixa, const QColor& cor);

    // A line between two points, in the pen colour.
    void drawLine(double x1, double y1, double x2, double y2);
    // A horizontal rule across the printable width.
    void drawRule(double y);

    // Draws a picture in a box (twips). False, with nothing drawn, when the file cannot be read as a picture.
    bool drawPicture(const QString& arquivo, const QRectF& caixa, AjusteFigura ajuste = AjusteFigura::Proporcional);
    void drawPicture(const QImage& imagem, const QRectF& caixa, AjusteFigura ajuste = AjusteFigura::Proporcional);

    // The width and line height of a text in the current font, twips.
    double textWidth(const QString& texto) const;
    double lineHeight() const;
    static double lineHeight(const Fonte& fonte);

    // The finished pages (those not kept included); page and drawPage need them kept.
    int pageCount() const override { return m_paginasFeitas; }
    const QPicture& page(int indice) const;
    // Plays a finished page onto a painter, as desenhaPagina does with page(indice), but with each picture of the
    // page drawn from the one image the document keeps of it: a logo on every page of a long report is read, kept
    // and written to a PDF file once.
    void drawPage(QPainter& pintor, int indice, const QPointF& origem, double escala) const override;

    // What was drawn, page by page, in the order it was drawn.
    const QList<ItemTexto>& textos() const { return m_textos; }
    const QList<ItemParagrafo>& paragrafos() const { return m_paragrafos; }
    const QList<ItemTabela>& tabelas() const { return m_tabelas; }
    const QList<ItemRegua>& reguas() const { return m_reguas; }
    const QList<ItemFigura>& figuras() const { return m_figuras; }
    const QList<ItemFundo>& fundos() const { return m_fundos; }

    // The QFont a Fonte is drawn with: its size is set in twips, the unit of the page. It asks for the families
    // familias gives, so that the first of them the machine has is used; when that one is wider than Arial or
    // Times New Roman (DejaVu), it is drawn a little smaller, so that its lines take the widths the page was laid
    // out for and break where they would.
    static QFont qfont(const Fonte& fonte);
    // The families a font name is looked for in, best first: Arial and Times (New Roman) followed by the fonts of
    // the same widths and the DejaVu font of their kind; any other name followed by Arial's list.
    static QStringList familias(const QString& nome);
    // The smallest size, in points, a line asked for in `pontos` is drawn in when it is too wide for its box: a
    // line drawn at that size that is still too wide is cut, with an ellipsis at its end.
    static double menorTamanho(double pontos);

private:
    // A font as the page draws it, made and measured once: the QFont, its metrics, and the widths of the lines
    // measured in it, as a report prints the same captions and figures over and over.
    struct Estilo
    {
        explicit Estilo(const Fonte& fonte);
        double largura(const QString& texto);

        QFont qfont;
        QFontMetricsF medidas;
        double ascendente = 0.0;
        double descendente = 0.0;
        QHash<QString, double> larguras;
    };
    // A line as it fits its box: the text (cut with an ellipsis when even the smallest size is too wide), the font
    // it is drawn in and its width.
    struct LinhaAjustada
    {
        QString texto;
        Fonte fonte;
        Estilo* estilo = nullptr;
        double largura = 0.0;
    };

    struct Coluna
    {
        double largura = 0.0;
        Qt::Alignment alinhamento = Qt::AlignLeft;
    };
    struct TabelaAberta
    {
        QList<Coluna> colunas;
        QList<QStringList> cabecalho;
        std::optional<QColor> sombraCabecalho;
        double x = 0.0;
        double fundo = 0.0; // bottom of its last row
        int pagina = 0;
        int indice = -1; // in m_tabelas
    };

    void abrePagina();
    void fechaPagina();
    void exigeDocumento();
    double base() const { return pageHeight() - m_margemInferior; }
    void desenhaCabecalhoERodape();
    void desenhaPartes(const QString& texto, double topo, double altura, ItemTexto::Origem origem);
    void desenhaLinhaDeTexto(const QString& texto, const QRectF& caixa, Qt::Alignment alinhamento,
                             ItemTexto::Origem origem, const Fonte& fonte, const QColor& cor);
    void desenhaLinhaDaTabela(TabelaAberta& tabela, const QStringList& celulas, const std::optional<QColor>& sombra,
                              bool cabecalho);
    double alturaDaLinhaDaTabela(const TabelaAberta& tabela, const QStringList& celulas) const;
    QStringList quebra(const QString& texto, double largura, const Fonte& fonte) const;
    Estilo& estilo(const Fonte& fonte) const;
    LinhaAjustada ajustada(const QString& texto, double largura, const Fonte& pedida) const;

    QSizeF m_papel{kLarguraA4, kAlturaA4};
    Orientacao m_orientacao = Orientacao::Retrato;
    double m_margemEsquerda = 1440.0;
    double m_margemDireita = 1440.0;
    double m_margemSuperior = 1440.0;
    double m_margemInferior = 1440.0;

    double m_x = 0.0;
    double m_y = 0.0;
    Alinhamento m_alinhamento = Alinhamento::Esquerda;
    Fonte m_fonte;
    QColor m_corTexto = Qt::black;
    QColor m_corTraco = Qt::black;
    QString m_cabecalho;
    QString m_rodape;
    Fonte m_fonteCabecalho;

    // A picture of a page: the image, shared by every page it is drawn on, and where it goes (twips).
    struct Figura
    {
        QRectF alvo;
        QImage imagem;
    };

    // The pages as recorded, without their pictures, which are kept beside them; page() puts them together when
    // asked for a whole page.
    std::vector<QPicture> m_paginas;
    std::vector<QList<Figura>> m_figurasDasPaginas;
    mutable std::vector<std::optional<QPicture>> m_paginasInteiras;
    QList<Figura> m_figurasAtuais;
    QHash<QString, QImage> m_imagensLidas;
    QPicture m_atual;
    std::unique_ptr<QPainter> m_gravador;     // on m_atual, while a kept page is composed
    QPainter* m_pintor = nullptr;             // what the page is drawn with; none when it is only laid out
    const Estilo* m_estiloNoPintor = nullptr; // the font m_pintor was given last
    DestinoDasPaginas m_destino;
    bool m_aberta = false;
    int m_paginasFeitas = 0;
    mutable std::unordered_map<Fonte, Estilo, HashDaFonte> m_estilos;
    std::optional<TabelaAberta> m_tabela;

    QList<ItemTexto> m_textos;
    QList<ItemParagrafo> m_paragrafos;
    QList<ItemTabela> m_tabelas;
    QList<ItemRegua> m_reguas;
    QList<ItemFigura> m_figuras;
    QList<ItemFundo> m_fundos;
};

// Plays a recorded page onto a painter: `origem` is where the page's top left corner goes and `escala` how many
// of the painter's units one twip takes.
void desenhaPagina(QPainter& pintor, const QPicture& pagina, const QPointF& origem, double escala);

} // namespace printing
