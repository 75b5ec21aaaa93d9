#pragma once

#include <QStringList>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QWidget;

namespace widgets {

// A group of option buttons, one per caption, stacked in `moldura`; button i has id i and the object name `nome`
// followed by i, so that a stored code selects its button.
QButtonGroup* criaOpcoes(QWidget* dono, QGroupBox* moldura, const QString& nome, const QStringList& legendas);

// A drop-down list of fixed choices named `nome`, whose entry i is the code i.
QComboBox* criaLista(const QString& nome, const QStringList& escolhas);

} // namespace widgets
