#include "graficoabrams.h"

#include "desktop/dialogs.h"
#include "desktop/som.h"
#include "printing/documento.h"
#include "printing/folhaabrams.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QRegularExpression>
#include <QScatterSeries>
#include <QStandardPaths>
#include <QValueAxis>

#include <cmath>

namespace charts {

namespace {

using desktop::Dialogs;

const QString kSalvarImagem = QStringLiteral("Salvar imagem");

GraficoAbrams::EscolheArquivo& escolhaDeArquivo()
{
    static GraficoAbrams::EscolheArquivo escolha;
    return escolha;
}

QString dialogoSalvar(QWidget* pai, const QString& sugestao)
{
    return QFileDialog::getSaveFileName(pai, kSalvarImagem, sugestao, QStringLiteral("Imagens PNG (*.png)"));
}

// The mix's name as a file name: characters a file name cannot hold become hyphens.
QString nomeDeArquivo(const QString& titulo)
{
    static const QRegularExpression proibidos(QStringLiteral("[\\\\/:*?\"<>|]"));
    QString nome = titulo.trimmed();
    nome.replace(proibidos, QStringLiteral("-"));
    return QStringLiteral("Abrams") + (nome.isEmpty() ? QString() : QStringLiteral(" - ") + nome) +
           QStringLiteral(".png");
}

QString numero(double valor, int casas)
{
    return QLocale().toString(valor, 'f', casas);
}

QLineSeries* reta(const QString& nome, const QString& legenda, const QPointF& de, const QPointF& ate, const QColor& cor)
{
    auto* serie = new QLineSeries;
    serie->setObjectName(nome);
    serie->setName(legenda);
    serie->append(de);
    serie->append(ate);
    QPen caneta(cor, 2.0, Qt::DashLine);
    serie->setPen(caneta);
    return serie;
}

QValueAxis* eixo(const QString& titulo, double de, double ate, double passo, const QString& formato)
{
    auto* e = new QValueAxis;
    e->setTitleText(titulo);
    e->setRange(de, ate);
    e->setTickCount(int(std::lround((ate - de) / passo)) + 1);
    e->setLabelFormat(formato);
    return e;
}

} // namespace

QChart* criaGraficoAbrams(const calc::Abrams& a)
{
    auto* grafico = new QChart;
    // Axis labels in the program's language: 0,45 and not 0.45.
    grafico->setLocale(QLocale(QLocale::Portuguese, QLocale::Brazil));
    grafico->setLocalizeNumbers(true);
    grafico->setTitle(a.titulo.isEmpty() ? QStringLiteral("Lei de Abrams")
                                         : QStringLiteral("Lei de Abrams - ") + a.titulo);
    grafico->legend()->setAlignment(Qt::AlignBottom);

    const double x0 = a.relacaoInicial();
    const double x1 = a.relacaoFinal();
    const double topo = a.fcjTopo();
    QList<QAbstractSeries*> series;

    auto* curva = new QLineSeries;
    curva->setObjectName(QStringLiteral("Curva"));
    curva->setName(a.k > 0.0 ? QStringLiteral("Cimento %1 (k = %2)").arg(a.classe, numero(a.k, 2))
                             : QStringLiteral("Classe de cimento \"%1\" desconhecida").arg(a.classe));
    curva->append(a.curva);
    curva->setPen(QPen(QColor(0, 70, 160), 2.5));
    series.append(curva);
    if (a.fcjAlvo)
        series.append(reta(QStringLiteral("Alvo"), QStringLiteral("fcj alvo %1 MPa").arg(numero(*a.fcjAlvo, 1)),
                           QPointF(x0, *a.fcjAlvo), QPointF(x1, *a.fcjAlvo), QColor(0, 140, 60)));
    if (a.wcMax)
        series.append(reta(QStringLiteral("Limite"), QStringLiteral("a/c máx. %1").arg(numero(*a.wcMax, 2)),
                           QPointF(*a.wcMax, 0.0), QPointF(*a.wcMax, topo), QColor(200, 0, 0)));
    if (a.traco) {
        auto* ponto = new QScatterSeries;
        ponto->setObjectName(QStringLiteral("Traco"));
        ponto->setName(QStringLiteral("Traço (%1; %2 MPa)").arg(numero(a.traco->x(), 2), numero(a.traco->y(), 1)));
        ponto->setMarkerShape(QScatterSeries::MarkerShapeCircle);
        ponto->setMarkerSize(13.0);
        ponto->setColor(QColor(230, 120, 0));
        ponto->setBorderColor(Qt::black);
        ponto->append(*a.traco);
        series.append(ponto);
    }

    QValueAxis* eixoX = eixo(QStringLiteral("Relação água/cimento (a/c)"), x0, x1, 0.05, QStringLiteral("%.2f"));
    QValueAxis* eixoY = eixo(QStringLiteral("fcj (MPa)"), 0.0, topo, 10.0, QStringLiteral("%.0f"));
    grafico->addAxis(eixoX, Qt::AlignBottom);
    grafico->addAxis(eixoY, Qt::AlignLeft);
    for (QAbstractSeries* serie : series) {
        grafico->addSeries(serie);
        serie->attachAxis(eixoX);
        serie->attachAxis(eixoY);
    }
    return grafico;
}

QImage desenhaGraficoAbrams(const calc::Abrams& abrams, const QSize& tamanho, double escala)
{
    QGraphicsScene cena;
    QChart* grafico = criaGraficoAbrams(abrams);
    cena.addItem(grafico);
    grafico->resize(tamanho);
    // The chart lays itself out when its layout runs; a chart never shown must be told to.
    grafico->layout()->activate();
    QImage imagem(QSize(int(std::lround(tamanho.width() * escala)), int(std::lround(tamanho.height() * escala))),
                  QImage::Format_ARGB32_Premultiplied);
    imagem.fill(Qt::white);
    QPainter pintor(&imagem);
    pintor.setRenderHint(QPainter::Antialiasing);
    pintor.setRenderHint(QPainter::TextAntialiasing);
    cena.render(&pintor, QRectF(QPointF(0, 0), imagem.size()), QRectF(QPointF(0, 0), tamanho));
    return imagem;
}

void compoePaginaAbrams(printing::Documento& folha, const calc::Abrams& abrams)
{
    // Drawn at about the size the window shows it, so that its letters keep their size against the page's width,
    // and three times finer than the screen: the lines and letters stay sharp on paper and in the PDF.
    const QSize tamanho(720, int(std::lround(720 / printing::kProporcaoDoGraficoDeAbrams)));
    printing::ImprimeAbrams(folha, abrams, desenhaGraficoAbrams(abrams, tamanho, 3.0));
}

GraficoAbrams::GraficoAbrams(QWidget* parent) : QChartView(parent)
{
    setObjectName(QStringLiteral("GraficoAbrams"));
    setAccessibleName(QStringLiteral("Gráfico de Abrams"));
    setRenderHint(QPainter::Antialiasing);
    // Nothing to type into: Tab and Enter pass it by, to the answers and buttons around it.
    setFocusPolicy(Qt::NoFocus);
    setMinimumSize(360, 240);
    mostra(calc::Abrams{});
}

void GraficoAbrams::mostra(const calc::Abrams& abrams)
{
    m_abrams = abrams;
    QChart* antigo = chart();
    QChart* novo = criaGraficoAbrams(abrams);
    if (m_compacto) {
        novo->setTitle(QString());
        novo->setMargins(QMargins(4, 2, 4, 2));
        novo->layout()->setContentsMargins(0, 0, 0, 0);
        QFont letra = novo->legend()->font();
        letra.setPointSizeF(letra.pointSizeF() * 0.9);
        novo->legend()->setFont(letra);
    }
    setChart(novo);
    // The view owned the chart it showed.
    delete antigo;
}

QImage GraficoAbrams::imagem()
{
    return grab().toImage();
}

bool GraficoAbrams::salvaImagem(const QString& arquivo)
{
    if (!imagem().save(arquivo, "PNG")) {
        desktop::TocaSom(desktop::Som::Erro);
        Dialogs::aviso(
            QStringLiteral("Não foi possível gravar a imagem em \"%1\".").arg(QDir::toNativeSeparators(arquivo)),
            kSalvarImagem, Dialogs::Icone::Critico);
        return false;
    }
    return true;
}

bool GraficoAbrams::salvarImagem()
{
    const QString pasta = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const QString sugestao = QDir(pasta.isEmpty() ? QDir::homePath() : pasta).filePath(nomeDeArquivo(m_abrams.titulo));
    const EscolheArquivo& escolha = escolhaDeArquivo();
    QString arquivo = escolha ? escolha(window(), sugestao) : dialogoSalvar(window(), sugestao);
    if (arquivo.isEmpty())
        return false;
    if (!arquivo.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        arquivo += QStringLiteral(".png");
    return salvaImagem(arquivo);
}

void GraficoAbrams::defineEscolhaDeArquivo(EscolheArquivo escolha)
{
    escolhaDeArquivo() = std::move(escolha);
}

void GraficoAbrams::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    menu.addAction(QStringLiteral("Salvar &imagem…"), this, [this] { salvarImagem(); });
    menu.exec(event->globalPos());
}

} // namespace charts
