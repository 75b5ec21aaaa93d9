#include "abrams.h"

#include "calcstate.h"
#include "durability.h"
#include "opcoes.h"
#include "strength.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace calc {

namespace {

// The axis ends on a multiple of 0,05; a ratio a rounding error away from one (0,95 held as 0,9500000001) ends there.
constexpr double kFolga = 1e-9;

// What both charts share: the class's curve, the mix's point on it and the durability limit of its class.
Abrams abramsDoEstado(const CalcState& s, double fck)
{
    Abrams a;
    a.titulo = s.titulo.trimmed().isEmpty() ? s.nomeTraco.trimmed() : s.titulo.trimmed();
    a.classe = s.classe.trimmed();
    a.k = FatorClasse(a.classe);
    a.curva = curvaDeAbrams(a.k);
    if (a.k > 0.0 && std::isfinite(s.wc) && s.wc > 0.0)
        a.traco = QPointF(s.wc, strengthFromRatio(s.wc, a.k));
    // A mix without a measuring condition keeps the deviation it was given, as its strength does.
    const double sd = DesvioPadrao(s.dosagem).value_or(s.Sd);
    if (fck > 0.0)
        a.fcjAlvo = targetStrength(fck, sd);
    if (const auto limites = limitesDurabilidade(s.classeAgressividade, Estrutura(s.estrutura))) {
        a.wcMax = limites->wcMax;
        a.classeAgressividade =
            QStringLiteral("Agressividade %1, %2")
                .arg(Opcoes::agressividade().at(std::size_t(s.classeAgressividade)).texto,
                     Opcoes::estrutura().at(s.estrutura == int(Estrutura::Protendido) ? 1 : 0).texto);
    }
    return a;
}

} // namespace

QList<QPointF> curvaDeAbrams(double k)
{
    QList<QPointF> pontos;
    if (!(k > 0.0))
        return pontos;
    // Counted by index, so that the last point is the span's end and not a sum of rounded steps.
    const int passos = int(std::lround((abramsRelacaoMaxima - abramsRelacaoMinima) / abramsPasso));
    for (int i = 0; i <= passos; ++i) {
        const double wc = abramsRelacaoMinima + i * abramsPasso;
        pontos.append(QPointF(wc, strengthFromRatio(wc, k)));
    }
    return pontos;
}

double Abrams::relacaoInicial() const
{
    double menor = abramsRelacaoMinima;
    if (traco)
        menor = std::min(menor, traco->x() - 0.05);
    if (wcMax)
        menor = std::min(menor, *wcMax - 0.05);
    return std::max(0.0, std::floor(menor * 20.0 + kFolga) / 20.0);
}

double Abrams::relacaoFinal() const
{
    double maior = abramsRelacaoMaxima;
    if (traco)
        maior = std::max(maior, traco->x() + 0.05);
    if (wcMax)
        maior = std::max(maior, *wcMax + 0.05);
    return std::ceil(maior * 20.0 - kFolga) / 20.0;
}

double Abrams::fcjTopo() const
{
    double maior = 0.0;
    for (const QPointF& p : curva)
        maior = std::max(maior, p.y());
    if (traco)
        maior = std::max(maior, traco->y());
    if (fcjAlvo)
        maior = std::max(maior, *fcjAlvo);
    // A little room above the highest thing drawn, so that the mark is not cut by the frame.
    return std::max(10.0, std::ceil((maior + 2.0) / 10.0) * 10.0);
}

QStringList linhasDeAbrams(const Abrams& a)
{
    const QLocale local;
    const auto numero = [&local](double valor, int casas) { return local.toString(valor, 'f', casas); };
    QStringList linhas;
    if (a.k > 0.0)
        linhas.append(QStringLiteral("Cimento classe %1 (fator k = %2): fcj = %3 × k / %4^(a/c)")
                          .arg(a.classe, numero(a.k, 2), numero(lawCoefficient, 1), numero(lawBase, 1)));
    else
        linhas.append(QStringLiteral("Classe de cimento \"%1\" desconhecida: sem curva.").arg(a.classe));
    if (a.traco)
        linhas.append(
            QStringLiteral("Traço: a/c %1, fcj %2 MPa").arg(numero(a.traco->x(), 2), numero(a.traco->y(), 1)));
    if (a.fcjAlvo)
        linhas.append(QStringLiteral("fcj alvo: %1 MPa").arg(numero(*a.fcjAlvo, 1)));
    if (a.wcMax)
        linhas.append(QStringLiteral("%1: a/c máxima %2").arg(a.classeAgressividade, numero(*a.wcMax, 2)));
    return linhas;
}

Abrams abramsDoTraco(const CalcState& s)
{
    return abramsDoEstado(s, s.fck);
}

Abrams abramsDoAssistente(const CalcState& s)
{
    return abramsDoEstado(s, s.fckMago);
}

} // namespace calc
