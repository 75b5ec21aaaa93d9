#include "visualizador.h"

#include "printing/documento.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace preview {

namespace {

// The desk around the pages and between them, pixels.
constexpr int kMargem = 12;
constexpr int kSombra = 4;
// Ctrl and one notch of the wheel.
constexpr double kPassoDaRoda = 10.0;

} // namespace

Visualizador::Visualizador(QWidget* parent) : QAbstractScrollArea(parent)
{
    setObjectName(QStringLiteral("Folha"));
    // The vertical bar always stands, so fitting the page's width does not make it come and go.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setAutoFillBackground(true);
    QPalette paleta = viewport()->palette();
    paleta.setColor(QPalette::Window, QColor(128, 128, 128));
    paleta.setColor(QPalette::Base, QColor(128, 128, 128));
    viewport()->setPalette(paleta);
    setFocusPolicy(Qt::StrongFocus);
}

void Visualizador::setDocumento(const printing::Paginas* documento)
{
    m_documento = documento;
    atualiza();
}

void Visualizador::atualiza()
{
    aplicaAjuste(false);
    ajustaBarras();
    viewport()->update();
}

void Visualizador::setZoom(double porCento)
{
    m_modo = ModoZoom::Livre;
    const double anterior = m_zoom;
    m_zoom = std::clamp(porCento, kZoomMinimo, kZoomMaximo);
    // Keep the same part of the page in the middle of the window.
    const double proporcao = anterior > 0.0 ? m_zoom / anterior : 1.0;
    const double centroY = (verticalScrollBar()->value() + viewport()->height() / 2.0) * proporcao;
    const double centroX = (horizontalScrollBar()->value() + viewport()->width() / 2.0) * proporcao;
    ajustaBarras();
    verticalScrollBar()->setValue(int(std::lround(centroY - viewport()->height() / 2.0)));
    horizontalScrollBar()->setValue(int(std::lround(centroX - viewport()->width() / 2.0)));
    viewport()->update();
}

void Visualizador::setZoomMode(ModoZoom modo)
{
    m_modo = modo;
    aplicaAjuste(false);
    ajustaBarras();
    viewport()->update();
}

QSizeF Visualizador::tamanhoDaPaginaEmPixels() const
{
    const QSizeF twips = m_documento ? m_documento->pageSize() : QSizeF(printing::kLarguraA4, printing::kAlturaA4);
    const double fator = m_zoom / 100.0 / printing::kTwipsPorPolegada;
    return QSizeF(twips.width() * logicalDpiX() * fator, twips.height() * logicalDpiY() * fator);
}

double Visualizador::zoomDoAjuste() const
{
    const QSizeF twips = m_documento ? m_documento->pageSize() : QSizeF(printing::kLarguraA4, printing::kAlturaA4);
    const double larguraReal = twips.width() * logicalDpiX() / printing::kTwipsPorPolegada;
    const double alturaReal = twips.height() * logicalDpiY() / printing::kTwipsPorPolegada;
    const double larguraLivre = viewport()->width() - (m_colunas + 1.0) * kMargem - kSombra;
    const double alturaLivre = viewport()->height() - 2.0 * kMargem - kSombra;
    const double porLargura = 100.0 * larguraLivre / (m_colunas * larguraReal);
    if (m_modo == ModoZoom::LarguraDaPagina)
        return porLargura;
    return std::min(porLargura, 100.0 * alturaLivre / alturaReal);
}

void Visualizador::aplicaAjuste(bool avisa)
{
    if (m_modo == ModoZoom::Livre)
        return;
    const double novo = std::clamp(zoomDoAjuste(), kZoomMinimo, kZoomMaximo);
    if (std::abs(novo - m_zoom) < 1e-9)
        return;
    m_zoom = novo;
    if (avisa)
        emit zoomMudou(m_zoom);
}

void Visualizador::ajustaBarras()
{
    const QSizeF pagina = tamanhoDaPaginaEmPixels();
    const int paginas = m_documento ? std::max(1, m_documento->pageCount()) : 1;
    const int linhas = (paginas + m_colunas - 1) / m_colunas;
    // A page that fits the window's width to the pixel must not bring the horizontal bar up.
    const int largura = int(m_colunas * pagina.width()) + (m_colunas + 1) * kMargem + kSombra;
    const int altura = int(std::ceil(linhas * pagina.height())) + (linhas + 1) * kMargem + kSombra;
    horizontalScrollBar()->setRange(0, std::max(0, largura - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    verticalScrollBar()->setRange(0, std::max(0, altura - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setSingleStep(std::max(1, int(pagina.height() / 20.0)));
    horizontalScrollBar()->setSingleStep(std::max(1, int(pagina.width() / 20.0)));
}

QRectF Visualizador::retanguloDaPagina(int indice) const
{
    const QSizeF pagina = tamanhoDaPaginaEmPixels();
    const int linha = indice / m_colunas;
    const int coluna = indice % m_colunas;
    // The row of pages is centred across the window while it fits, from the desk's edge once it does not.
    const double larguraDaLinha = m_colunas * pagina.width() + (m_colunas - 1) * kMargem;
    const double livre = viewport()->width() - larguraDaLinha - kSombra;
    const double x0 = livre > 2.0 * kMargem ? livre / 2.0 : kMargem - horizontalScrollBar()->value();
    const double x = x0 + coluna * (pagina.width() + kMargem);
    const double y = kMargem + linha * (pagina.height() + kMargem) - verticalScrollBar()->value();
    return QRectF(QPointF(x, y), pagina);
}

int Visualizador::previewPage() const
{
    const double altura = tamanhoDaPaginaEmPixels().height() + kMargem;
    if (altura <= 0.0)
        return 1;
    const int total = m_documento ? std::max(1, m_documento->pageCount()) : 1;
    // A page asked for is the page shown for as long as the window stays where it was put, even when the last
    // pages cannot come up to the window's top.
    if (m_paginaPedida > 0 && verticalScrollBar()->value() == m_posicaoPedida)
        return std::clamp(m_paginaPedida, 1, total);
    // A pixel of rounding must not give the page above.
    return std::clamp(int((verticalScrollBar()->value() + 1.0) / altura) * m_colunas + 1, 1, total);
}

void Visualizador::setPreviewPage(int pagina)
{
    const double altura = tamanhoDaPaginaEmPixels().height() + kMargem;
    verticalScrollBar()->setValue(int(std::ceil(((std::max(1, pagina) - 1) / m_colunas) * altura)));
    m_paginaPedida = std::max(1, pagina);
    m_posicaoPedida = verticalScrollBar()->value();
}

void Visualizador::setPagesPerRow(int colunas)
{
    const int pagina = previewPage();
    m_colunas = std::max(1, colunas);
    aplicaAjuste(true);
    ajustaBarras();
    setPreviewPage(pagina);
    viewport()->update();
}

void Visualizador::setDestaque(int indice, const QRectF& caixa)
{
    m_paginaDestaque = caixa.isEmpty() ? -1 : indice;
    m_destaque = caixa.isEmpty() ? QRectF() : caixa;
    viewport()->update();
}

void Visualizador::mostraCaixa(int indice, const QRectF& caixa)
{
    if (!m_documento || m_documento->pageSize().width() <= 0.0)
        return;
    const double escala = tamanhoDaPaginaEmPixels().width() / m_documento->pageSize().width();
    const QRectF pagina = retanguloDaPagina(indice);
    const QRectF alvo(pagina.left() + caixa.left() * escala, pagina.top() + caixa.top() * escala,
                      caixa.width() * escala, caixa.height() * escala);
    const QRectF janela(QPointF(0.0, 0.0), QSizeF(viewport()->size()));
    if (janela.contains(alvo))
        return;
    // The box goes to a third of the window's height, and into view across it.
    verticalScrollBar()->setValue(
        int(std::lround(verticalScrollBar()->value() + alvo.top() - viewport()->height() / 3.0)));
    if (alvo.left() < 0.0 || alvo.right() > janela.right())
        horizontalScrollBar()->setValue(
            int(std::lround(horizontalScrollBar()->value() + alvo.left() - viewport()->width() / 4.0)));
    viewport()->update();
}

void Visualizador::vaiParaOInicio()
{
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
}

void Visualizador::paintEvent(QPaintEvent* event)
{
    QPainter pintor(viewport());
    if (!m_documento)
        return;
    pintor.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    const QRectF visivel = event->rect();
    const double escala = tamanhoDaPaginaEmPixels().width() / m_documento->pageSize().width();
    // Only the rows of pages in view are drawn: a long report's pages are composed as they come into view.
    const double altura = tamanhoDaPaginaEmPixels().height() + kMargem;
    const int primeiraLinha = std::max(0, int((verticalScrollBar()->value() + visivel.top()) / altura) - 1);
    for (int i = primeiraLinha * m_colunas; i < m_documento->pageCount(); ++i) {
        const QRectF pagina = retanguloDaPagina(i);
        if (pagina.top() > visivel.bottom())
            break;
        if (!pagina.adjusted(0, 0, kSombra, kSombra).intersects(visivel))
            continue;
        pintor.fillRect(pagina.translated(kSombra, kSombra), QColor(64, 64, 64));
        pintor.fillRect(pagina, Qt::white);
        pintor.save();
        pintor.setClipRect(pagina.intersected(visivel));
        m_documento->drawPage(pintor, i, pagina.topLeft(), escala);
        if (i == m_paginaDestaque) {
            const QRectF marca(pagina.left() + m_destaque.left() * escala, pagina.top() + m_destaque.top() * escala,
                               m_destaque.width() * escala, m_destaque.height() * escala);
            pintor.fillRect(marca.adjusted(-2, -1, 2, 1), QColor(255, 200, 0, 110));
        }
        pintor.restore();
        pintor.setPen(Qt::black);
        pintor.drawRect(pagina);
    }
}

void Visualizador::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    aplicaAjuste(true);
    ajustaBarras();
}

void Visualizador::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    const int passos = event->angleDelta().y() / 120;
    if (passos == 0)
        return;
    setZoom(m_zoom + passos * kPassoDaRoda);
    emit zoomMudou(m_zoom);
    event->accept();
}

void Visualizador::scrollContentsBy(int, int)
{
    viewport()->update();
}

} // namespace preview
