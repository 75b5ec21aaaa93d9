#pragma once

#include <QStringList>

class QButtonGroup;
class QGroupBox;
class QWidget;

namespace widgets {

// A group of option buttons, one per caption, stacked in `moldura`; button i has id i and the object name `nome`
// followed by i, so that a stored code selects its button.
QButtonGroup* criaOpcoes(QWidget* dono, QGroupBox* moldura, const QString& nome, const QStringList& legendas);

} // namespace widgets
