#include "posicao.h"

#include <QSettings>
#include <QWidget>

namespace desktop {

namespace {

// Show states as the suite stores them.
constexpr int MostrarNormal = 1;
constexpr int MostrarMinimizada = 2;
constexpr int MostrarMaximizada = 3;
constexpr int Restaurar = 9;

int inteiro(QSettings& preferencias, const char* chave, int padrao)
{
    bool ok = false;
    const int valor = preferencias.value(QLatin1String(chave), QString::number(padrao)).toString().toInt(&ok);
    // A value that is not a whole number counts as absent.
    return ok ? valor : padrao;
}

} // namespace

void Posicao::GravaPosicao(QWidget* janela, const QString& aplicacao)
{
    if (!janela || !janela->isVisible())
        return;
    QSettings preferencias(QStringLiteral("Quenvar"), aplicacao);
    preferencias.beginGroup(QStringLiteral("Posicao"));
    const int estado = janela->isMinimized()   ? MostrarMinimizada
                       : janela->isMaximized() ? MostrarMaximizada
                                               : MostrarNormal;
    const QRect normal = janela->normalGeometry().isValid() ? janela->normalGeometry() : janela->geometry();
    preferencias.setValue(QStringLiteral("showCmd"), QString::number(estado));
    preferencias.setValue(QStringLiteral("flags"), QStringLiteral("0"));
    preferencias.setValue(QStringLiteral("MinX"), QStringLiteral("-1"));
    preferencias.setValue(QStringLiteral("MinY"), QStringLiteral("-1"));
    preferencias.setValue(QStringLiteral("Left"), QString::number(normal.left()));
    preferencias.setValue(QStringLiteral("Top"), QString::number(normal.top()));
    preferencias.setValue(QStringLiteral("Right"), QString::number(normal.left() + normal.width()));
    preferencias.setValue(QStringLiteral("Bottom"), QString::number(normal.top() + normal.height()));
    preferencias.endGroup();
    preferencias.sync();
}

bool Posicao::LePosicao(QWidget* janela, const QString& aplicacao)
{
    QSettings preferencias(QStringLiteral("Quenvar"), aplicacao);
    preferencias.beginGroup(QStringLiteral("Posicao"));
    const int estado = inteiro(preferencias, "showCmd", Restaurar);
    const int esquerda = inteiro(preferencias, "Left", 0);
    const int topo = inteiro(preferencias, "Top", 0);
    const int direita = inteiro(preferencias, "Right", 100);
    const int base = inteiro(preferencias, "Bottom", 100);
    preferencias.endGroup();

    // The saved placement is applied in every case, the defaults included.
    janela->setGeometry(esquerda, topo, std::max(1, direita - esquerda), std::max(1, base - topo));
    if (estado == MostrarMaximizada)
        janela->setWindowState(janela->windowState() | Qt::WindowMaximized);
    else if (estado == MostrarMinimizada)
        janela->setWindowState(janela->windowState() | Qt::WindowMinimized);
    else
        janela->setWindowState(janela->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    return direita != 100;
}

} // namespace desktop
