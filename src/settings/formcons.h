#pragma once

#include <QDialog>

namespace settings {

// "Consistências e Abatimentos": the four slump limits between the consistency classes. Loaded hidden at start-up.
class FormCons : public QDialog
{
    Q_OBJECT
public:
    explicit FormCons(QWidget* parent = nullptr);
};

} // namespace settings
