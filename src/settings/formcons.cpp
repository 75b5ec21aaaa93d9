#include "formcons.h"

namespace settings {

FormCons::FormCons(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormCons"));
    setWindowTitle(QStringLiteral("Consistências e Abatimentos"));
}

} // namespace settings
