#include "somdosbotoes.h"

#include "desktop/som.h"

#include <QAbstractButton>
#include <QEvent>

namespace settings {

void SomDosBotoes::acompanha(QAbstractButton* botao)
{
    botao->installEventFilter(this);
}

bool SomDosBotoes::eventFilter(QObject* objeto, QEvent* evento)
{
    if (evento->type() == QEvent::Enter && objeto != m_ultimo) {
        m_ultimo = objeto;
        desktop::TocaSom(desktop::Som::MouseMove);
    }
    return QObject::eventFilter(objeto, evento);
}

} // namespace settings
