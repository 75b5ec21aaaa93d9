#pragma once

class QWidget;

namespace settings {

// The "O que é isto?" texts of the settings forms' controls, found by their names.
void explicaFormMass(QWidget* form);
void explicaFormCons(QWidget* form);
void explicaFormCO2(QWidget* form);

} // namespace settings
