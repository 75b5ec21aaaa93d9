#include "visualizador.h"

#include "documento.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace printing {

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

void Visualizador::setDocumento(const Documento* documento)
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
    const QSizeF twips = m_documento ? m_documento->pageSize() : QSizeF(kLarguraA4, kAlturaA4);
    const double fator = m_zoom / 100.0 / kTwipsPorPolegada;
    return QSizeF(twips.width() * logicalDpiX() * fator, twips.height() * logicalDpiY() * fator);
}

double Visualizador::zoomDoAjuste() const
{
    const QSizeF twips = m_documento ? m_documento->pageSize() : QSizeF(kLarguraA4, kAlturaA4);
    const double larguraReal = twips.width() * logicalDpiX() / kTwipsPorPolegada;
    const double alturaReal = twips.height() * logicalDpiY() / kTwipsPorPolegada;
    const double larguraLivre = viewport()->width() - 2.0 * kMargem - kSombra;
    const double alturaLivre = viewport()->height() - 2.0 * kMargem - kSombra;
    const double porLargura = 100.0 * larguraLivre / larguraReal;
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
    // A page that fits the window's width to the pixel must not bring the horizontal bar up.
    const int largura = int(pagina.width()) + 2 * kMargem + kSombra;
    const int altura = int(std::ceil(paginas * pagina.height())) + (paginas + 1) * kMargem + kSombra;
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
    // Centred across the window while it fits, from the desk's edge once it does not.
    const double livre = viewport()->width() - pagina.width() - kSombra;
    const double x = livre > 2.0 * kMargem ? livre / 2.0 : kMargem - horizontalScrollBar()->value();
    const double y = kMargem + indice * (pagina.height() + kMargem) - verticalScrollBar()->value();
    return QRectF(QPointF(x, y), pagina);
}

int Visualizador::previewPage() const
{
    const double altura = tamanhoDaPaginaEmPixels().height() + kMargem;
    if (altura <= 0.0)
        return 1;
    const int total = m_documento ? std::max(1, m_documento->pageCount()) : 1;
    return std::clamp(int(verticalScrollBar()->value() / altura) + 1, 1, total);
}

void Visualizador::setPreviewPage(int pagina)
{
    const double altura = tamanhoDaPaginaEmPixels().height() + kMargem;
    verticalScrollBar()->setValue(int(std::lround((std::max(1, pagina) - 1) * altura)));
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
    const double escala = tamanhoDaPaginaEmPixels().width() / m_documento->pageWidth();
    for (int i = 0; i < m_documento->pageCount(); ++i) {
        const QRectF pagina = retanguloDaPagina(i);
        if (!pagina.adjusted(0, 0, kSombra, kSombra).intersects(visivel))
            continue;
        pintor.fillRect(pagina.translated(kSombra, kSombra), QColor(64, 64, 64));
        pintor.fillRect(pagina, Qt::white);
        pintor.save();
        pintor.setClipRect(pagina.intersected(visivel));
        desenhaPagina(pintor, m_documento->page(i), pagina.topLeft(), escala);
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

} // namespace printing
