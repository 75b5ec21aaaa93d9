#include "ajuda.h"

#include "dialogs.h"
#include "paths.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>

namespace platform {

namespace {

bool visualizadorSimples(QWidget* janela, const QString& pagina, int)
{
    if (!QFileInfo::exists(pagina))
        return false;
    auto* navegador = new QTextBrowser(janela);
    navegador->setWindowFlag(Qt::Window);
    navegador->setAttribute(Qt::WA_DeleteOnClose);
    navegador->setWindowTitle(QStringLiteral("Ajuda do Programa"));
    navegador->setSource(QUrl::fromLocalFile(pagina));
    navegador->resize(720, 560);
    navegador->show();
    return true;
}

Ajuda::Visualizador& visualizador()
{
    static Ajuda::Visualizador v = visualizadorSimples;
    return v;
}

} // namespace

QString Ajuda::pagina(int topico)
{
    const QString pasta = Paths::pastaPrograma() + QStringLiteral("Ajuda/") +
                          (topico < PrimeiroTopicoDaSuite ? QStringLiteral("Quenvar/") : QStringLiteral("Sistema/"));
    return pasta + (topico == 0 ? QStringLiteral("index.html") : QStringLiteral("%1.html").arg(topico));
}

void Ajuda::MostraAjuda(QWidget* janela, int topico)
{
    if (!visualizador()(janela, pagina(topico), topico))
        Dialogs::aviso(QStringLiteral("A Ajuda não abre ou tópico não existe"), QStringLiteral("Ajuda do Programa"),
                       Dialogs::Icone::Exclamacao);
}

void Ajuda::defineVisualizador(Visualizador v)
{
    visualizador() = v ? std::move(v) : Visualizador(visualizadorSimples);
}

} // namespace platform
