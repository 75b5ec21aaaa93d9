#include "formmass.h"

namespace settings {

FormMass::FormMass(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormMass"));
    setWindowTitle(QStringLiteral("Dados dos Componentes e Tipos de Dosagem"));
}

} // namespace settings
