#pragma once

#include <QPixmap>

namespace widgets {

// The pictures the program draws for itself.
namespace Desenhos {

// A concrete mixer: turning, in colour, for a mix in use; standing still, in greys, for an inactive one.
QPixmap betoneira(bool emUso, int altura = 64);

} // namespace Desenhos

} // namespace widgets
