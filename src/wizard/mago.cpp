#include "mago.h"

namespace wizard {

Mago::Mago(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Mago"));
    setWindowTitle(QStringLiteral("Assistente de Traços"));
}

} // namespace wizard
