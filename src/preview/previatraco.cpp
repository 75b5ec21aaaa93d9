#include "previatraco.h"

#include "impressora.h"
#include "visualizador.h"

#include "printing/saida.h"

#include "desktop/dialogs.h"
#include "desktop/som.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>

#include <cmath>

namespace preview {

namespace {

using desktop::Dialogs;

// Distance between the preview and the window's edges, pixels.
constexpr int kBorda = 4;
// The zoom the sheet is prepared at, and those the two fits leave in the panel.
constexpr qint16 kZoomPreparado = 70;
constexpr qint16 kZoomLarguraDaPagina = 70;
constexpr qint16 kZoomPaginaInteira = 30;
constexpr qint16 kZoomInicial = 100;

PreviaTraco::EscolheArquivo& escolhaDeArquivo()
{
    static PreviaTraco::EscolheArquivo escolha;
    return escolha;
}

QString dialogoSalvar(QWidget* pai, const QString& sugestao)
{
    return QFileDialog::getSaveFileName(pai, QStringLiteral("Salvar PDF"), sugestao,
                                        QStringLiteral("Documentos PDF (*.pdf)"));
}

// The mix title as a file name: characters a file name cannot hold become hyphens.
QString nomeDeArquivo(const QString& titulo)
{
    static const QRegularExpression proibidos(QStringLiteral("[\\\\/:*?\"<>|]"));
    QString nome = titulo.trimmed();
    nome.replace(proibidos, QStringLiteral("-"));
    if (nome.isEmpty())
        nome = QStringLiteral("Traço");
    return nome + QStringLiteral(".pdf");
}

} // namespace

PreviaTraco::PreviaTraco(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PreviaTraco"));

    Painel = new QFrame(this);
    Painel->setObjectName(QStringLiteral("Painel"));
    Painel->setFrameShape(QFrame::StyledPanel);
    auto* linha = new QHBoxLayout(Painel);
    linha->setContentsMargins(6, 4, 6, 4);

    auto* rotulo = new QLabel(QStringLiteral("Zoom"), Painel);
    Lente = new QComboBox(Painel);
    Lente->setObjectName(QStringLiteral("Lente"));
    Lente->setEditable(true);
    Lente->setInsertPolicy(QComboBox::NoInsert);
    Lente->addItems({QStringLiteral("25%"), QStringLiteral("50%"), QStringLiteral("75%"), QStringLiteral("100%"),
                     QStringLiteral("200%"), QStringLiteral("400%"), QStringLiteral("800%"),
                     QStringLiteral("Pág.Larg."), QStringLiteral("Pág.Toda")});
    Lente->setEditText(QStringLiteral("80%"));
    Lente->setToolTip(QStringLiteral("Zoom"));
    Lente->setAccessibleName(QStringLiteral("Zoom"));
    Lente->setMinimumContentsLength(9);
    rotulo->setBuddy(Lente);
    linha->addWidget(rotulo);
    linha->addWidget(Lente);
    connect(Lente, &QComboBox::textActivated, this, &PreviaTraco::LenteClick);

    const char* const textos[] = {"Imprimir", "Diminuir", "Aumentar", "Salvar PDF"};
    for (int i = 0; i < int(Botao.size()); ++i) {
        QPushButton* botao = new QPushButton(QString::fromUtf8(textos[i]), Painel);
        botao->setObjectName(QStringLiteral("Botao%1").arg(i));
        botao->setAutoDefault(false);
        botao->installEventFilter(this);
        connect(botao, &QPushButton::clicked, this, [this, i] { BotaoClick(i); });
        linha->addWidget(botao);
        Botao[std::size_t(i)] = botao;
    }
    // Set in a window with its own "Imprimir" (the wizard's), the sheet's button says what it prints.
    Botao[0]->setAccessibleName(QStringLiteral("Imprimir a ficha"));
    linha->addStretch();

    Folha = new Visualizador(this);
    Folha->setAccessibleName(QStringLiteral("Ficha do traço"));
    Folha->setDocumento(&m_documento);
    connect(Folha, &Visualizador::zoomMudou, this, &PreviaTraco::zoomDaFolha);
}

PreviaTraco::~PreviaTraco() = default;

printing::EstadoImpressora PreviaTraco::PreparaFolha()
{
    m_estado = printing::PreparaFolha(m_documento, haImpressora());
    avisaEstadoDaImpressora(m_estado);
    Folha->setZoom(kZoomPreparado);
    return m_estado;
}

void PreviaTraco::ImprimeTraco(const calc::CalcState& estado, const printing::OrigemDaFicha& origem,
                               QWidget* formulario)
{
    // Composed even without a printer, so that the sheet can be saved as a PDF.
    m_titulo = printing::tituloDaFicha(estado, origem);
    if (printing::ImprimeTraco(m_documento, m_estado, estado, origem) && formulario)
        formulario->setWindowTitle(formulario->windowTitle() + QStringLiteral(" [") + m_titulo + QStringLiteral("]"));
    Folha->atualiza();
    Folha->setFocus();
}

void PreviaTraco::mostraFicha(const calc::CalcState& estado, const printing::OrigemDaFicha& origem, QWidget* formulario)
{
    PreparaFolha();
    ImprimeTraco(estado, origem, formulario);
    defineZoom(kZoomInicial);
    Folha->vaiParaOInicio();
}

void PreviaTraco::mostraDocumento(const QString& titulo)
{
    m_titulo = titulo;
    Folha->atualiza();
    defineZoom(kZoomInicial);
    Folha->vaiParaOInicio();
    Folha->setFocus();
}

void PreviaTraco::limpa()
{
    m_documento.limpa();
    m_titulo.clear();
    Folha->atualiza();
}

void PreviaTraco::defineZoom(qint16 zoom)
{
    Folha->setZoom(zoom);
    m_zoom = qint16(std::lround(Folha->zoom()));
    mostraZoomNaLente(Folha->zoom());
}

void PreviaTraco::mostraZoomNaLente(double zoom)
{
    Lente->setEditText(QStringLiteral("%1%").arg(std::lround(zoom)));
}

void PreviaTraco::LenteClick(const QString& texto)
{
    static const QStringList porCento{QStringLiteral("25%"),  QStringLiteral("50%"),  QStringLiteral("75%"),
                                      QStringLiteral("80%"),  QStringLiteral("100%"), QStringLiteral("200%"),
                                      QStringLiteral("400%"), QStringLiteral("800%")};
    if (porCento.contains(texto)) {
        const qint16 zoom = qint16(texto.chopped(1).toInt());
        Folha->setZoom(zoom);
        m_zoom = zoom;
    } else if (texto == QStringLiteral("Pág.Larg.")) {
        Folha->setZoomMode(Visualizador::ModoZoom::LarguraDaPagina);
        m_zoom = kZoomLarguraDaPagina;
    } else if (texto == QStringLiteral("Pág.Toda")) {
        Folha->setZoomMode(Visualizador::ModoZoom::PaginaInteira);
        m_zoom = kZoomPaginaInteira;
    }
}

void PreviaTraco::BotaoClick(int indice)
{
    desktop::TocaSom(desktop::Som::MouseClica);
    switch (indice) {
    case BotaoImprimir:
        imprimir();
        break;
    case BotaoDiminuir:
    case BotaoAumentar: {
        int novo = m_zoom;
        if (indice == BotaoDiminuir)
            novo = m_zoom < 101 ? m_zoom - 10 : m_zoom - 50;
        else
            novo = m_zoom < 100 ? m_zoom + 10 : m_zoom + 50;
        Folha->setZoom(novo);
        m_zoom = qint16(std::lround(Folha->zoom()));
        mostraZoomNaLente(Folha->zoom());
        break;
    }
    case BotaoSalvarPdf:
        salvarPdf();
        break;
    default:
        break;
    }
}

void PreviaTraco::zoomDaFolha(double zoom)
{
    m_zoom = qint16(std::lround(zoom));
    mostraZoomNaLente(zoom);
}

bool PreviaTraco::imprimir()
{
    return imprimeComDialogo(m_documento, window(), m_titulo);
}

bool PreviaTraco::salvarPdf()
{
    if (m_documento.pageCount() == 0)
        return false;
    const QString pasta = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString sugestao = QDir(pasta.isEmpty() ? QDir::homePath() : pasta).filePath(nomeDeArquivo(m_titulo));
    const EscolheArquivo& escolha = escolhaDeArquivo();
    QString arquivo = escolha ? escolha(window(), sugestao) : dialogoSalvar(window(), sugestao);
    if (arquivo.isEmpty())
        return false;
    if (!arquivo.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        arquivo += QStringLiteral(".pdf");
    QString erro;
    if (!printing::gravaPdf(m_documento, arquivo, m_titulo, &erro)) {
        desktop::TocaSom(desktop::Som::Erro);
        Dialogs::aviso(erro, QStringLiteral("Salvar PDF"), Dialogs::Icone::Critico);
        return false;
    }
    return true;
}

void PreviaTraco::defineEscolhaDeArquivo(EscolheArquivo escolha)
{
    escolhaDeArquivo() = std::move(escolha);
}

QSize PreviaTraco::sizeHint() const
{
    return QSize(800, 600);
}

QSize PreviaTraco::minimumSizeHint() const
{
    const QSize painel = Painel->sizeHint();
    return QSize(painel.width(), painel.height() + 120);
}

void PreviaTraco::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int altura = Painel->isVisibleTo(this) ? Painel->sizeHint().height() : 0;
    Painel->setGeometry(0, 0, width(), altura);
    Folha->setGeometry(kBorda, altura + kBorda, std::max(0, width() - 2 * kBorda),
                       std::max(0, height() - 2 * kBorda - altura));
}

bool PreviaTraco::eventFilter(QObject* objeto, QEvent* evento)
{
    // Entering a button other than the last one entered plays the pointer's sound once.
    if (evento->type() == QEvent::Enter) {
        for (int i = 0; i < int(Botao.size()); ++i) {
            if (objeto == Botao[std::size_t(i)] && i != m_ultimoBotao) {
                desktop::TocaSom(desktop::Som::MouseMove);
                m_ultimoBotao = i;
            }
        }
    }
    return QWidget::eventFilter(objeto, evento);
}

} // namespace preview
