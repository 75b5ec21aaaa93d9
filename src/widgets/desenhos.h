#pragma once

#include <QPainterPath>
#include <QPixmap>

namespace widgets {

// The pictures the program draws for itself.
namespace Desenhos {

// A concrete mixer: turning, in colour, for a mix in use; standing still, in greys, for an inactive one.
QPixmap betoneira(bool emUso, int altura = 64);

// The drum of a concrete mixer, lying along x with its mouth to the right and its centre at the origin; at scale 1
// it is 56 units long and 32 high. Every picture of a mixer draws this one drum.
QPainterPath tambor(qreal escala);

} // namespace Desenhos

} // namespace widgets
