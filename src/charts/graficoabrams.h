#pragma once

#include "calc/abrams.h"

#include <QChartView>
#include <QImage>

#include <functional>

class QLineSeries;
class QScatterSeries;

namespace printing {
class Documento;
}

namespace charts {

// The Abrams chart: the strength law of the mix's cement class over the usual water/cement ratios, the mix's point
// on it, the target mean strength as a horizontal line and the durability class's largest ratio as a vertical one,
// with the axes titled and numbered with the decimal comma. Its context menu saves it as a PNG picture.
class GraficoAbrams : public QChartView
{
    Q_OBJECT
public:
    // Asks where to write the picture: the parent and the suggested file; an empty answer gives up.
    using EscolheArquivo = std::function<QString(QWidget* pai, const QString& sugestao)>;

    explicit GraficoAbrams(QWidget* parent = nullptr);

    // Draws the chart of `abrams` in place of the one shown.
    void mostra(const calc::Abrams& abrams);
    const calc::Abrams& abrams() const { return m_abrams; }
    // Among other controls (the wizard's page) the chart goes without its title and with narrow margins, so that
    // the curve keeps its height; from the next mostra on.
    void defineCompacto(bool compacto) { m_compacto = compacto; }

    // The picture of the chart as the window shows it, at the widget's size.
    QImage imagem();
    // Writes imagem() to a PNG file; false, with the message, when it cannot be written.
    bool salvaImagem(const QString& arquivo);
    // Asks for the file ("Salvar imagem…") and writes it. True when written.
    bool salvarImagem();

    // Replaces the save dialog (tests answer it); an empty function puts the dialog back.
    static void defineEscolhaDeArquivo(EscolheArquivo escolha);

    // A chart placed among other controls starts small and takes the room its layout gives it.
    QSize sizeHint() const override { return QSize(560, 240); }

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    calc::Abrams m_abrams;
    bool m_compacto = false;
};

// A new chart of `abrams`, as the widget shows it; the caller owns it.
QChart* criaGraficoAbrams(const calc::Abrams& abrams);

// The chart drawn at `tamanho` (device-independent pixels) into a picture `escala` times as fine, on white.
QImage desenhaGraficoAbrams(const calc::Abrams& abrams, const QSize& tamanho, double escala = 1.0);

// The printed page of the chart, composed into `folha`.
void compoePaginaAbrams(printing::Documento& folha, const calc::Abrams& abrams);

} // namespace charts
