#include "ajuda.h"

#include "dialogs.h"
#include "janelaajuda.h"
#include "platform/paths.h"

namespace desktop {

namespace {

// The program's help window, one for the whole run; a page that does not exist opens nothing.
bool visualizadorPadrao(QWidget* janela, const QString& pagina, int)
{
    return JanelaAjuda::abre(janela, pagina);
}

Ajuda::Visualizador& visualizador()
{
    static Ajuda::Visualizador v = visualizadorPadrao;
    return v;
}

} // namespace

QString Ajuda::pagina(int topico)
{
    const QString pasta = platform::Paths::pastaRecursos() + QStringLiteral("Ajuda/") +
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
    visualizador() = v ? std::move(v) : Visualizador(visualizadorPadrao);
}

} // namespace desktop
