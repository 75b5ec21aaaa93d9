#pragma once

#include <QPointF>
#include <QSizeF>

class QPainter;

namespace printing {

// Pages a preview shows, a page at a time: how many there are, their size (twips) and each drawn onto a painter,
// `origem` being where the page's top left corner goes and `escala` how many of the painter's units one twip takes.
// A document keeps its pages; a long report composes the one asked for.
class Paginas
{
public:
    virtual ~Paginas() = default;
    virtual int pageCount() const = 0;
    virtual QSizeF pageSize() const = 0;
    virtual void drawPage(QPainter& pintor, int indice, const QPointF& origem, double escala) const = 0;
};

} // namespace printing
