#pragma once

#include <QAbstractScrollArea>
#include <QRectF>

namespace printing {
class Paginas;
}

namespace preview {

// The print preview: the finished pages of a document, one under the other on a grey desk, at any zoom. At 100 %
// a page shows at its real size on the screen. Besides a zoom of its own the preview can fit the page's width or
// the whole page in its window, and then follows every resize.
class Visualizador : public QAbstractScrollArea
{
    Q_OBJECT
public:
    // The free zoom, and the two fits (their numbers are those of the sheet's zoom list).
    enum class ModoZoom : int { Livre = 0, PaginaInteira = 3, LarguraDaPagina = 4 };

    static constexpr double kZoomMinimo = 10.0;
    static constexpr double kZoomMaximo = 1000.0;

    explicit Visualizador(QWidget* parent = nullptr);

    // The pages shown (a document's, or a long report's composed as they come into view); not owned. Call
    // atualiza() once they have changed.
    void setDocumento(const printing::Paginas* documento);
    const printing::Paginas* documento() const { return m_documento; }
    void atualiza();

    // Zoom in per cent. Setting it returns to the free zoom; it is kept within kZoomMinimo and kZoomMaximo.
    double zoom() const { return m_zoom; }
    void setZoom(double porCento);
    ModoZoom zoomMode() const { return m_modo; }
    void setZoomMode(ModoZoom modo);

    // The page at the top of the window, counted from 1; setting it scrolls to that page.
    int previewPage() const;
    void setPreviewPage(int pagina);

    // How many pages stand side by side in a row: 1 shows one page under the other, more show several at once.
    int pagesPerRow() const { return m_colunas; }
    void setPagesPerRow(int colunas);

    // Marks a box of a page (twips), as a found word is marked; an empty box removes the mark.
    void setDestaque(int indice, const QRectF& caixa);
    int paginaDoDestaque() const { return m_paginaDestaque; }
    QRectF destaque() const { return m_destaque; }
    // Scrolls so that a box of a page (twips) is in view.
    void mostraCaixa(int indice, const QRectF& caixa);

    // Scrolls to the top left corner of the first page.
    void vaiParaOInicio();

    // Where a page stands in the viewport, in pixels (scrolling included).
    QRectF retanguloDaPagina(int indice) const;

signals:
    // The preview changed its zoom by itself: a fit followed a resize, or Ctrl and the wheel zoomed.
    void zoomMudou(double zoom);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    QSizeF tamanhoDaPaginaEmPixels() const;
    double zoomDoAjuste() const;
    void aplicaAjuste(bool avisa);
    void ajustaBarras();

    const printing::Paginas* m_documento = nullptr;
    double m_zoom = 100.0;
    ModoZoom m_modo = ModoZoom::Livre;
    int m_colunas = 1;
    int m_paginaPedida = 0;
    int m_posicaoPedida = -1;
    int m_paginaDestaque = -1;
    QRectF m_destaque;
};

} // namespace preview
