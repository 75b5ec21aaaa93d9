#pragma once

#include <QString>

class QTabWidget;
class QWidget;

namespace widgets {

// Refuses what a box holds: tells the user why (an exclamation message), turns the tab control to the page that
// holds the box and puts the focus there with its text selected, ready to be typed over. Always false, so that a
// check can end with `return recusa(…)`.
bool recusa(QTabWidget* pasta, QWidget* caixa, const QString& texto, const QString& titulo);

} // namespace widgets
