#pragma once

#include <QDialog>

namespace settings {

// "Dados dos Componentes e Tipos de Dosagem": the company's reference values for a new mix. Loaded hidden at
// start-up and kept for the whole run; its boxes and options are where inserting and the wizard read the defaults.
class FormMass : public QDialog
{
    Q_OBJECT
public:
    explicit FormMass(QWidget* parent = nullptr);
};

} // namespace settings
