#include "recusa.h"

#include "desktop/dialogs.h"

#include <QLineEdit>
#include <QTabWidget>

namespace widgets {

bool recusa(QTabWidget* pasta, QWidget* caixa, const QString& texto, const QString& titulo)
{
    desktop::Dialogs::aviso(texto, titulo, desktop::Dialogs::Icone::Exclamacao);
    for (int i = 0; i < pasta->count(); ++i) {
        if (pasta->widget(i)->isAncestorOf(caixa))
            pasta->setCurrentIndex(i);
    }
    caixa->setFocus();
    if (auto* linha = qobject_cast<QLineEdit*>(caixa))
        linha->selectAll();
    return false;
}

} // namespace widgets
