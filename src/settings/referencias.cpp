#include "referencias.h"

#include "catalogue/consultas.h"
#include "platform/database.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace settings {

bool bancoArquivado(platform::Database& db)
{
    return db.scalar(catalogue::Consultas::arquivoMorto(db).sql).toBool();
}

bool somenteConsulta(platform::Database& db)
{
    return db.somenteLeitura() || bancoArquivado(db);
}

void centraNaTela(QWidget* form)
{
    const QScreen* tela = form->screen() ? form->screen() : QGuiApplication::primaryScreen();
    if (!tela)
        return;
    const QRect area = tela->geometry();
    form->move(area.left() + (area.width() - form->width()) / 2, area.top() + (area.height() - form->height()) / 2);
}

} // namespace settings
