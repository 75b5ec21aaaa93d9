#pragma once

#include <QString>

class QWidget;

namespace desktop {

// The placement of a window kept per user between runs, under the executable's name and the section "Posicao":
// the show state, flags, the minimised position and the restored rectangle, each as the text of a whole number.
class Posicao
{
public:
    // Saves the placement of a visible window.
    static void GravaPosicao(QWidget* janela, const QString& aplicacao);
    // Applies the saved placement (or the defaults) to the window; false when nothing had been saved, that is when
    // the right edge reads exactly 100, its default.
    static bool LePosicao(QWidget* janela, const QString& aplicacao);
};

} // namespace desktop
