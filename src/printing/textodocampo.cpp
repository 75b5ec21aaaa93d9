#include "textodocampo.h"

#include "calc/formats.h"

namespace printing {

QLocale semGrupos()
{
    QLocale local;
    local.setNumberOptions(local.numberOptions() | QLocale::OmitGroupSeparator);
    return local;
}

QString textoDoCampo(const QVariant& valor)
{
    if (!valor.isValid() || valor.isNull())
        return QString();
    if (valor.typeId() == QMetaType::QString)
        return valor.toString();
    return calc::formatFull(valor.toDouble());
}

QString duasCasas(const QVariant& valor)
{
    if (!valor.isValid() || valor.isNull())
        return QString();
    return semGrupos().toString(valor.toDouble(), 'f', 2);
}

} // namespace printing
