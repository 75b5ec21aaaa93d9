#include "traco.h"

#include "platform/aplicacao.h"
#include "platform/database.h"

#include <QApplication>
#include <QCloseEvent>

namespace app {

Traco::Traco(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Traco"));
    setWindowTitle(platform::Aplicacao::titulo());
    resize(1024, 720);
    m_pronto = true;
}

void Traco::trazParaFrente()
{
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void Traco::showEvent(QShowEvent* event)
{
    // The start-up form set the hourglass; the main window on screen ends the wait.
    if (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    QMainWindow::showEvent(event);
}

void Traco::closeEvent(QCloseEvent* event)
{
    // The shared database handle lives until the main window closes.
    platform::Database::shared().close();
    event->accept();
}

} // namespace app
