#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace desktop {

// Help by topic number: below 30001 the program's own pages, from 30001 the pages shared by the suite.
class Ajuda
{
public:
    // First topic of the suite's help.
    static constexpr int PrimeiroTopicoDaSuite = 30001;

    // The page of a topic (topic 0: the contents), under Ajuda/ in the resources folder (Paths::pastaRecursos).
    static QString pagina(int topico);

    // Shows a topic for the window; when no help window opens, says "A Ajuda não abre ou tópico não existe".
    static void MostraAjuda(QWidget* janela, int topico);

    // What opens a page; true when a help window opened. By default a page that exists is shown in the program's
    // help window (JanelaAjuda), one for the whole run; tests put their own here. An empty function brings the
    // default back.
    using Visualizador = std::function<bool(QWidget* janela, const QString& pagina, int topico)>;
    static void defineVisualizador(Visualizador visualizador);
};

} // namespace desktop
