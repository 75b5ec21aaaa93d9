#include "sobre.h"

#include "platform/aplicacao.h"

namespace app {

Sobre::Sobre(const QString& empresa, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Sobre"));
    setWindowTitle(QStringLiteral("Sobre o ") + platform::Aplicacao::titulo());
    setProperty("empresa", empresa);
}

} // namespace app
