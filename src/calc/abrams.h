#pragma once

#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <optional>

// The strength law drawn as a chart: the mean strength at 28 days a cement class reaches against the water/cement
// ratio, with where a mix stands on it, the strength it must reach and, for a durability class, the largest ratio the
// environment allows.
namespace calc {

struct CalcState;

// The span of ratios the curve is drawn over and the step between its points.
constexpr double abramsRelacaoMinima = 0.35;
constexpr double abramsRelacaoMaxima = 0.80;
constexpr double abramsPasso = 0.01;

// What a chart of the law shows. Points are (w/c, fcj in MPa).
struct Abrams
{
    QString titulo; // the mix's name, or its title with the variant
    QString classe; // cement class as chosen ("32", "ARI")
    double k = 0.0; // class factor; 0 for a class the law does not know, and then no curve
    QList<QPointF> curva;
    std::optional<QPointF> traco;  // the mix's ratio and the strength it reaches
    std::optional<double> fcjAlvo; // the mean strength the characteristic strength calls for
    std::optional<double> wcMax;   // the durability class's largest ratio
    QString classeAgressividade;   // "Agressividade II, concreto armado"; empty without a class

    // The ratios the horizontal axis spans: the curve's, widened to take the mix's point and the durability limit.
    double relacaoInicial() const;
    double relacaoFinal() const;
    // The top of the strength axis: above everything drawn, rounded up to a multiple of 10 MPa.
    double fcjTopo() const;
};

// The curve of class factor k: one point every abramsPasso from abramsRelacaoMinima to abramsRelacaoMaxima, fcj from
// strengthFromRatio. Empty when k is not positive.
QList<QPointF> curvaDeAbrams(double k);

// The chart of a mix as the mix form holds it or as a stored row loads: its w/c with the strength that ratio reaches,
// and as target the mean strength of its stored fck with the deviation of its measuring condition.
Abrams abramsDoTraco(const CalcState& s);

// The chart of the wizard's design (after CalculaDosagem): its w/c, which the durability class may have lowered, and
// as target the mean strength of the fck asked for.
Abrams abramsDoAssistente(const CalcState& s);

// What the chart shows, in words, one line each, as the printed page writes it under the chart: the law of the
// class, the mix's point, the target strength and the durability limit (the lines of what the chart lacks are left
// out).
QStringList linhasDeAbrams(const Abrams& a);

} // namespace calc
