#include "janelaabrams.h"

#include "graficoabrams.h"

#include "desktop/ajuda.h"
#include "desktop/dialogs.h"
#include "preview/previatraco.h"
#include "preview/visualizador.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace charts {

namespace {

const QString kTitulo = QStringLiteral("Gráfico de Abrams");

QString comTitulo(const QString& titulo)
{
    return titulo.isEmpty() ? kTitulo : kTitulo + QStringLiteral(" [") + titulo + QLatin1Char(']');
}

} // namespace

JanelaAbrams::JanelaAbrams(const calc::Abrams& abrams, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("JanelaAbrams"));
    setWindowTitle(comTitulo(abrams.titulo));
    setSizeGripEnabled(true);
    Grafico = new GraficoAbrams(this);
    Grafico->mostra(abrams);
    Grafico->setWhatsThis(QStringLiteral(
        "A curva dá a resistência média (fcj) que o cimento da classe do traço alcança com cada relação "
        "água/cimento. O ponto é o traço; a linha horizontal, o fcj que o fck pede; a vertical, a a/c máxima da "
        "classe de agressividade. O botão direito salva a imagem."));
    const auto botao = [this](const QString& texto, const QString& nome, const QString& explicacao) {
        auto* b = new QPushButton(texto, this);
        b->setObjectName(nome);
        b->setWhatsThis(explicacao);
        b->setAutoDefault(false);
        return b;
    };
    SalvarImagem = botao(QStringLiteral("Salvar &imagem…"), QStringLiteral("SalvarImagem"),
                         QStringLiteral("Grava o gráfico, do tamanho em que está na janela, num arquivo de imagem "
                                        "PNG."));
    Imprimir = botao(QStringLiteral("Im&primir…"), QStringLiteral("Imprimir"),
                     QStringLiteral("Mostra a página do gráfico na visualização de impressão, de onde se imprime ou "
                                    "se salva em PDF."));
    Fechar = botao(QStringLiteral("&Fechar"), QStringLiteral("Fechar"), QStringLiteral("Fecha o gráfico."));
    connect(SalvarImagem, &QPushButton::clicked, Grafico, &GraficoAbrams::salvarImagem);
    connect(Imprimir, &QPushButton::clicked, this, &JanelaAbrams::visualizaImpressao);
    connect(Fechar, &QPushButton::clicked, this, &QDialog::accept);

    auto* botoes = new QHBoxLayout;
    botoes->addWidget(SalvarImagem);
    botoes->addWidget(Imprimir);
    botoes->addStretch();
    botoes->addWidget(Fechar);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Grafico, 1);
    layout->addLayout(botoes);
    resize(860, 600);
}

void JanelaAbrams::visualizaImpressao()
{
    QDialog janela(this);
    janela.setObjectName(QStringLiteral("ImpressaoAbrams"));
    janela.setWindowTitle(comTitulo(Grafico->abrams().titulo));
    janela.setSizeGripEnabled(true);
    auto* previa = new preview::PreviaTraco(&janela);
    previa->Folha->setAccessibleName(kTitulo);
    auto* layout = new QVBoxLayout(&janela);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(previa);
    compoePaginaAbrams(previa->documento(), Grafico->abrams());
    previa->mostraDocumento(kTitulo + QLatin1Char(' ') + Grafico->abrams().titulo);
    if (QWidget* principal = parentWidget())
        janela.setGeometry(principal->window()->geometry());
    else
        janela.resize(900, 680);
    desktop::Dialogs::atual().mostraModal(&janela);
}

void JanelaAbrams::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        desktop::Ajuda::MostraAjuda(this, kTopicoDaAjuda);
        return;
    }
    QDialog::keyPressEvent(event);
}

void mostraAbrams(QWidget* pai, const calc::Abrams& abrams)
{
    JanelaAbrams janela(abrams, pai);
    desktop::Dialogs::atual().mostraModal(&janela);
}

} // namespace charts
