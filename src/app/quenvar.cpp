#include "app/entrada.h"
#include "app/pastadedados.h"
#include "app/traco.h"
#include "desktop/teclasalt.h"
#include "platform/aplicacao.h"
#include "platform/singleinstance.h"

#include <QApplication>
#include <QLocale>
#include <QProcess>

int main(int argc, char** argv)
{
    QApplication aplicacao(argc, argv);
    QApplication::setApplicationName(platform::Aplicacao::titulo());
    QApplication::setApplicationVersion(platform::Aplicacao::versao());
    // Every number is shown with the decimal comma, whatever the system's language.
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    platform::Aplicacao::traduzOQt();
    desktop::instalaFiltroDeAlt();

    platform::SingleInstance instancia(platform::Aplicacao::titulo());
    if (instancia.ativandoAnterior())
        return 0;
    instancia.escuta();

    app::Formularios formularios;
    auto* entrada = new app::Entrada(formularios);
    entrada->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(&instancia, &platform::SingleInstance::ativacaoPedida, [&formularios] {
        if (formularios.traco)
            formularios.traco->trazParaFrente();
    });
    QObject::connect(entrada, &app::Entrada::entregue, entrada, &QWidget::close);
    if (!entrada->inicia()) {
        delete entrada;
        return 1;
    }
    const int resultado = QApplication::exec();
    formularios.descarrega();
    // After a change of data folder the program starts again in the new one, as a copy of its own.
    if (app::reinicioPedido()) {
        instancia.paraDeEscutar();
        QProcess::startDetached(QApplication::applicationFilePath(), QApplication::arguments().mid(1));
    }
    return resultado;
}
