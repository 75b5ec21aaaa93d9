#include "visualiza.h"

#include "impressora.h"
#include "modelodoindice.h"
#include "visualizador.h"

#include "printing/saida.h"

#include "desktop/dialogs.h"
#include "desktop/som.h"
#include "platform/database.h"
#include "platform/dberror.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QImage>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSplitter>
#include <QStandardPaths>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace preview {

namespace {

using desktop::Dialogs;

// The zoom steps of the zoom tools, per cent.
constexpr double kPassosDeZoom[] = {10, 25, 50, 75, 100, 125, 150, 200, 300, 400, 600, 800, 1000};
constexpr double kZoomInicial = 100.0;
// The pages side by side in the multi-page view.
constexpr int kPaginasLadoALado = 2;
// The pages are inset from the form's inner edges by 60 twips, about four pixels.
constexpr int kBorda = 4;
// Resolution of the page picture copied to the clipboard.
constexpr double kPontosPorPolegadaDaCopia = 96.0;
// Boxes whose tops are this close (twips) are on the same line of the copied text.
constexpr double kMesmaLinha = 60.0;

Visualiza::EscolheArquivo& escolhaDeArquivo()
{
    static Visualiza::EscolheArquivo escolha;
    return escolha;
}

AmbienteDoRelatorio& ambiente()
{
    static AmbienteDoRelatorio atual;
    return atual;
}

QString nomeDeArquivo(const QString& legenda)
{
    static const QRegularExpression proibidos(QStringLiteral("[\\\\/:*?\"<>|]"));
    QString nome = legenda.trimmed();
    nome.replace(proibidos, QStringLiteral("-"));
    return (nome.isEmpty() ? QStringLiteral("Relatório") : nome) + QStringLiteral(".pdf");
}

// The override cursor for as long as a report is composed, whatever way the composing ends.
struct CursorDeEspera
{
    CursorDeEspera() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CursorDeEspera() { QApplication::restoreOverrideCursor(); }
    CursorDeEspera(const CursorDeEspera&) = delete;
    CursorDeEspera& operator=(const CursorDeEspera&) = delete;
};

// The progress of a long report in a window with a "Cancelar" button, shown only when the work takes a while.
printing::ProgressoDoRelatorio progressoNaTela(QWidget* pai, int total, const QString& legenda, const QString& acao)
{
    auto dialogo = std::make_shared<QProgressDialog>(acao, QStringLiteral("Cancelar"), 0, total, pai);
    dialogo->setWindowTitle(legenda);
    dialogo->setWindowModality(Qt::WindowModal);
    dialogo->setMinimumDuration(500);
    dialogo->setAutoClose(true);
    return [dialogo](int feitos, int) {
        dialogo->setValue(feitos);
        return !dialogo->wasCanceled();
    };
}

} // namespace

printing::ProgressoDoRelatorio progressoNaJanela(QWidget* pai, int total, const QString& legenda, const QString& acao)
{
    const AmbienteDoRelatorio& seams = ambiente();
    return seams.progresso ? seams.progresso(pai, total) : progressoNaTela(pai, total, legenda, acao);
}

Visualiza::Visualiza(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Visualiza"));
    setWindowTitle(QStringLiteral("Quenvar"));
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kBorda, 0, kBorda, kBorda);
    layout->setSpacing(kBorda);

    Barra = new QToolBar(this);
    Barra->setObjectName(QStringLiteral("Barra"));
    Barra->setToolButtonStyle(Qt::ToolButtonTextOnly);
    layout->addWidget(Barra);
    m_barra = Barra;

    Divisor = new QSplitter(Qt::Horizontal, this);
    Indice = new QTreeView(Divisor);
    Indice->setObjectName(QStringLiteral("Indice"));
    Indice->setAccessibleName(QStringLiteral("Índice do relatório"));
    Indice->setHeaderHidden(true);
    // Every entry is one line of text: the tree need not measure each of a long report's entries.
    Indice->setUniformRowHeights(true);
    m_modeloDoIndice = new ModeloDoIndice(Indice);
    Indice->setModel(m_modeloDoIndice);
    Visual = new Visualizador(Divisor);
    Visual->setObjectName(QStringLiteral("Visual"));
    Visual->setAccessibleName(QStringLiteral("Páginas do relatório"));
    Divisor->addWidget(Indice);
    Divisor->addWidget(Visual);
    Divisor->setStretchFactor(0, 0);
    Divisor->setStretchFactor(1, 1);
    Divisor->setSizes({220, 800});
    layout->addWidget(Divisor, 1);

    // The tools, by their English names, with the Portuguese captions and tips.
    QAction* indice =
        acao(QStringLiteral("Table Of Contents"), QStringLiteral("Índice"), QStringLiteral("Mostrar índice"));
    indice->setCheckable(true);
    connect(indice, &QAction::toggled, Indice, &QWidget::setVisible);
    Barra->addSeparator();
    connect(acao(QStringLiteral("&Print..."), QStringLiteral("Imprimir..."), QStringLiteral("Imprimir relatório")),
            &QAction::triggered, this, &Visualiza::imprimir);
    connect(acao(QStringLiteral("Save PDF"), QStringLiteral("Salvar PDF"), QStringLiteral("Gravar o relatório em PDF")),
            &QAction::triggered, this, &Visualiza::salvarPdf);
    connect(acao(QStringLiteral("Copy"), QStringLiteral("Copiar"), QStringLiteral("Copiar relatório")),
            &QAction::triggered, this, &Visualiza::copiar);
    QAction* localiza =
        acao(QStringLiteral("Find"), QStringLiteral("Localizar"), QStringLiteral("Localizar palavras no relatório"));
    Procura = new QLineEdit(Barra);
    Procura->setObjectName(QStringLiteral("Procura"));
    Procura->setPlaceholderText(QStringLiteral("Palavra a localizar"));
    Procura->setAccessibleName(QStringLiteral("Palavra a localizar"));
    Procura->setToolTip(QStringLiteral("Localizar palavras no relatório"));
    Procura->setMaximumWidth(160);
    Barra->addWidget(Procura);
    connect(localiza, &QAction::triggered, this, [this] {
        if (Procura->text().trimmed().isEmpty()) {
            Procura->setFocus();
            return;
        }
        localizar(Procura->text());
    });
    connect(Procura, &QLineEdit::returnPressed, this, [this] { localizar(Procura->text()); });
    Barra->addSeparator();

    auto* vistas = new QActionGroup(this);
    QAction* unica =
        acao(QStringLiteral("Single View"), QStringLiteral("Vista Única"), QStringLiteral("Visualizar uma página"));
    QAction* varias = acao(QStringLiteral("Multi Page View"), QStringLiteral("Várias Páginas"),
                           QStringLiteral("Visualizar várias páginas"));
    for (QAction* vista : {unica, varias}) {
        vista->setCheckable(true);
        vistas->addAction(vista);
    }
    unica->setChecked(true);
    connect(unica, &QAction::triggered, this, &Visualiza::vistaUnica);
    connect(varias, &QAction::triggered, this, &Visualiza::variasPaginas);
    Barra->addSeparator();

    connect(acao(QStringLiteral("Zoom out"), QStringLiteral("Diminuir"), QStringLiteral("Reduzindo a visão")),
            &QAction::triggered, this, &Visualiza::diminuir);
    Zoom = new QLabel(Barra);
    Zoom->setObjectName(QStringLiteral("Zoom"));
    Zoom->setToolTip(QStringLiteral("Zoom"));
    Zoom->setMinimumWidth(Zoom->fontMetrics().horizontalAdvance(QStringLiteral(" 1000% ")));
    Zoom->setAlignment(Qt::AlignCenter);
    Barra->addWidget(Zoom);
    connect(acao(QStringLiteral("Zoom in"), QStringLiteral("Aumentar"), QStringLiteral("Aumentando a visão")),
            &QAction::triggered, this, &Visualiza::aumentar);
    connect(acao(QStringLiteral("Page Width"), QStringLiteral("Larg.Pág."),
                 QStringLiteral("Mostrar a página na largura da janela")),
            &QAction::triggered, this, &Visualiza::larguraDaPagina);
    connect(acao(QStringLiteral("Whole Page"), QStringLiteral("Pág.Toda"), QStringLiteral("Mostrar a página inteira")),
            &QAction::triggered, this, &Visualiza::paginaToda);

    // Paging goes in a bar of its own under the pages, so that every tool stays in sight on a narrow window.
    Navegacao = new QToolBar(this);
    Navegacao->setObjectName(QStringLiteral("Navegacao"));
    Navegacao->setToolButtonStyle(Qt::ToolButtonTextOnly);
    layout->addWidget(Navegacao);
    m_barra = Navegacao;
    connect(
        acao(QStringLiteral("PrevPage"), QStringLiteral("Página Anterior"), QStringLiteral("Mostra página anterior")),
        &QAction::triggered, this, [this] { irParaPagina(paginaAtual() - 1); });
    NumeroDaPagina = new QLineEdit(Navegacao);
    NumeroDaPagina->setObjectName(QStringLiteral("NumeroDaPagina"));
    NumeroDaPagina->setAccessibleName(QStringLiteral("Digite o número da página"));
    NumeroDaPagina->setToolTip(QStringLiteral("Número da página mostrada"));
    NumeroDaPagina->setValidator(new QIntValidator(0, 999999, NumeroDaPagina));
    NumeroDaPagina->setAlignment(Qt::AlignRight);
    NumeroDaPagina->setMaximumWidth(NumeroDaPagina->fontMetrics().horizontalAdvance(QStringLiteral("0000000")));
    QAction* numero = Navegacao->addWidget(NumeroDaPagina);
    numero->setObjectName(QStringLiteral("Page Number Edit"));
    numero->setText(QStringLiteral("Digite o número da página"));
    numero->setToolTip(QStringLiteral("Número da página mostrada"));
    TotalDePaginas = new QLabel(Navegacao);
    TotalDePaginas->setObjectName(QStringLiteral("TotalDePaginas"));
    Navegacao->addWidget(TotalDePaginas);
    connect(NumeroDaPagina, &QLineEdit::returnPressed, this, [this] {
        // A page outside the report is refused: the box shows the page shown again.
        if (!irParaPagina(NumeroDaPagina->text().toInt()))
            NumeroDaPagina->setText(QString::number(paginaAtual()));
    });
    connect(acao(QStringLiteral("NextPage"), QStringLiteral("Próxima página"), QStringLiteral("Mostra próxima página")),
            &QAction::triggered, this, [this] { irParaPagina(paginaAtual() + 1); });
    Navegacao->addSeparator();
    connect(acao(QStringLiteral("&Back"), QStringLiteral("&Voltar"), QStringLiteral("Voltar página já mostrada")),
            &QAction::triggered, this, &Visualiza::voltar);
    connect(acao(QStringLiteral("F&orward"), QStringLiteral("&Avançar"), QStringLiteral("Avançar página já mostrada")),
            &QAction::triggered, this, &Visualiza::avancar);

    connect(Indice, &QTreeView::clicked, this, &Visualiza::indiceClicado);
    connect(Indice, &QTreeView::activated, this, &Visualiza::indiceClicado);
    connect(Visual->verticalScrollBar(), &QScrollBar::valueChanged, this, &Visualiza::atualizaEstado);
    connect(Visual, &Visualizador::zoomMudou, this, &Visualiza::mostraZoom);

    // The form takes the main window's place and size.
    if (parent) {
        const QWidget* principal = parent->window();
        setGeometry(principal->geometry());
        setWindowState(principal->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen));
        setWindowIcon(principal->windowIcon());
    } else {
        resize(1000, 720);
    }
    defineZoom(kZoomInicial);
    Indice->hide();
    atualizaEstado();
}

Visualiza::~Visualiza() = default;

QAction* Visualiza::acao(const QString& nome, const QString& legenda, const QString& dica)
{
    QAction* a = m_barra->addAction(legenda);
    // The tool shows its caption as it is: the ellipsis of "Imprimir..." stays and the '&' of "&Voltar" gives the
    // button its accelerator (the text alone would lose both).
    a->setIconText(legenda);
    a->setObjectName(nome);
    a->setToolTip(dica);
    a->setStatusTip(dica);
    a->setWhatsThis(dica);
    return a;
}

QAction* Visualiza::ferramenta(const QString& nome) const
{
    for (const QToolBar* barra : {Barra, Navegacao}) {
        for (QAction* a : barra->actions()) {
            if (a->objectName() == nome)
                return a;
        }
    }
    return nullptr;
}

void Visualiza::RunReport(std::unique_ptr<printing::Relatorio> relatorio)
{
    m_documento.reset();
    m_relatorio = std::move(relatorio);
    comeca();
}

void Visualiza::mostraDocumento(std::unique_ptr<printing::Documento> documento, const QString& legenda)
{
    m_relatorio.reset();
    m_documento = std::move(documento);
    m_legenda = legenda;
    comeca();
}

void Visualiza::comeca()
{
    m_voltar.clear();
    m_avancar.clear();
    m_achado = -1;
    m_procurado.clear();
    Visual->setDestaque(-1, QRectF());
    Visual->setDocumento(paginas());
    setWindowTitle(paginas() ? legenda() : QStringLiteral("Quenvar"));
    montaIndice();
    defineZoom(kZoomInicial);
    Visual->vaiParaOInicio();
    atualizaEstado();
}

const printing::Paginas* Visualiza::paginas() const
{
    if (m_relatorio)
        return &m_relatorio->paginas();
    return m_documento.get();
}

QList<printing::ItemTexto> Visualiza::textosDe(int indice) const
{
    if (m_relatorio)
        return m_relatorio->textosDaPagina(indice);
    QList<printing::ItemTexto> textos;
    if (m_documento) {
        for (const printing::ItemTexto& t : m_documento->textos()) {
            if (t.pagina == indice)
                textos.append(t);
        }
    }
    return textos;
}

QString Visualiza::legenda() const
{
    return m_relatorio ? m_relatorio->legenda() : m_legenda;
}

void Visualiza::montaIndice()
{
    m_modeloDoIndice->defineIndice(m_relatorio ? &m_relatorio->indice() : nullptr);
    if (!paginas())
        return;
    Indice->expandAll();
    const bool temIndice = m_modeloDoIndice->rowCount() > 0;
    QAction* ferramentaDoIndice = ferramenta(QStringLiteral("Table Of Contents"));
    ferramentaDoIndice->setEnabled(temIndice);
    ferramentaDoIndice->setChecked(temIndice);
    Indice->setVisible(temIndice);
}

void Visualiza::indiceClicado(const QModelIndex& entrada)
{
    if (!entrada.isValid() || !m_relatorio)
        return;
    const printing::LugarNoRelatorio lugar = m_modeloDoIndice->lugar(entrada);
    if (paginaAtual() != lugar.pagina + 1)
        irParaPagina(lugar.pagina + 1);
    Visual->mostraCaixa(lugar.pagina, QRectF(0.0, lugar.y, 1.0, printing::Relatorio::kAlturaDoGrupo));
    atualizaEstado();
}

int Visualiza::paginaAtual() const
{
    return Visual->previewPage();
}

void Visualiza::vaiPara(int pagina)
{
    Visual->setPreviewPage(pagina);
    atualizaEstado();
}

bool Visualiza::irParaPagina(int pagina)
{
    const int total = paginas() ? paginas()->pageCount() : 0;
    if (pagina < 1 || pagina > total)
        return false;
    const int atual = paginaAtual();
    if (pagina != atual) {
        m_voltar.append(atual);
        m_avancar.clear();
    }
    vaiPara(pagina);
    return true;
}

void Visualiza::voltar()
{
    if (m_voltar.isEmpty())
        return;
    m_avancar.append(paginaAtual());
    vaiPara(m_voltar.takeLast());
}

void Visualiza::avancar()
{
    if (m_avancar.isEmpty())
        return;
    m_voltar.append(paginaAtual());
    vaiPara(m_avancar.takeLast());
}

void Visualiza::defineZoom(double zoom)
{
    Visual->setZoom(zoom);
    mostraZoom(Visual->zoom());
}

void Visualiza::mostraZoom(double zoom)
{
    Zoom->setText(QStringLiteral("%1%").arg(std::lround(zoom)));
}

void Visualiza::aumentar()
{
    const double atual = Visual->zoom();
    for (const double passo : kPassosDeZoom) {
        if (passo > atual + 0.5) {
            defineZoom(passo);
            return;
        }
    }
}

void Visualiza::diminuir()
{
    const double atual = Visual->zoom();
    for (auto it = std::rbegin(kPassosDeZoom); it != std::rend(kPassosDeZoom); ++it) {
        if (*it < atual - 0.5) {
            defineZoom(*it);
            return;
        }
    }
}

void Visualiza::larguraDaPagina()
{
    Visual->setZoomMode(Visualizador::ModoZoom::LarguraDaPagina);
    mostraZoom(Visual->zoom());
}

void Visualiza::paginaToda()
{
    Visual->setZoomMode(Visualizador::ModoZoom::PaginaInteira);
    mostraZoom(Visual->zoom());
}

void Visualiza::vistaUnica()
{
    const int pagina = paginaAtual();
    Visual->setPagesPerRow(1);
    Visual->setPreviewPage(pagina);
    ferramenta(QStringLiteral("Single View"))->setChecked(true);
    mostraZoom(Visual->zoom());
    atualizaEstado();
}

void Visualiza::variasPaginas()
{
    // Pages side by side, each whole, as many rows as the report needs.
    const int pagina = paginaAtual();
    Visual->setPagesPerRow(kPaginasLadoALado);
    Visual->setZoomMode(Visualizador::ModoZoom::PaginaInteira);
    Visual->setPreviewPage(pagina);
    ferramenta(QStringLiteral("Multi Page View"))->setChecked(true);
    mostraZoom(Visual->zoom());
    atualizaEstado();
}

int Visualiza::paginasPorLinha() const
{
    return Visual->pagesPerRow();
}

bool Visualiza::localizar(const QString& texto)
{
    const QString procurado = texto.trimmed();
    if (!paginas() || procurado.isEmpty())
        return false;
    if (procurado.compare(m_procurado, Qt::CaseInsensitive) != 0) {
        m_procurado = procurado;
        m_achado = -1;
    }
    // Page by page from the line found last, round to the first page after the last and back to that line: a long
    // report's pages are laid out again one at a time, never all at once, with the progress shown, which the user
    // may cancel.
    const int total = paginas()->pageCount();
    {
        const CursorDeEspera espera;
        const printing::ProgressoDoRelatorio progresso =
            progressoNaJanela(this, total, legenda(), QStringLiteral("Localizando…"));
        int pagina = m_achado >= 0 ? m_paginaDoAchado : 0;
        int depoisDe = m_achado;
        for (int passo = 0; passo <= total; ++passo) {
            // Cancelled: what was found last stays marked.
            if (progresso && !progresso(std::min(passo, total), total))
                return false;
            const QList<printing::ItemTexto> textos = textosDe(pagina);
            for (qsizetype i = depoisDe + 1; i < textos.size(); ++i) {
                if (!textos[i].texto.contains(procurado, Qt::CaseInsensitive))
                    continue;
                m_paginaDoAchado = pagina;
                m_achado = int(i);
                const QRectF caixa = textos[i].caixa;
                if (paginaAtual() != pagina + 1)
                    irParaPagina(pagina + 1);
                Visual->setDestaque(pagina, caixa);
                Visual->mostraCaixa(pagina, caixa);
                atualizaEstado();
                return true;
            }
            pagina = (pagina + 1) % std::max(1, total);
            depoisDe = -1;
        }
    }
    m_achado = -1;
    Visual->setDestaque(-1, QRectF());
    desktop::TocaSom(desktop::Som::Erro);
    Dialogs::aviso(QStringLiteral("O texto \"%1\" não foi encontrado no relatório.").arg(procurado),
                   QStringLiteral("Localizar"), Dialogs::Icone::Informacao);
    return false;
}

QString Visualiza::textoDaPagina(int indice) const
{
    QList<printing::ItemTexto> itens = textosDe(indice);
    std::stable_sort(itens.begin(), itens.end(), [](const printing::ItemTexto& a, const printing::ItemTexto& b) {
        return a.caixa.top() < b.caixa.top() - kMesmaLinha / 2.0 ||
               (std::abs(a.caixa.top() - b.caixa.top()) <= kMesmaLinha / 2.0 && a.caixa.left() < b.caixa.left());
    });
    QStringList linhas;
    QStringList linha;
    double topo = -1.0;
    for (const printing::ItemTexto& t : std::as_const(itens)) {
        if (!linha.isEmpty() && std::abs(t.caixa.top() - topo) > kMesmaLinha) {
            linhas.append(linha.join(QLatin1Char('\t')));
            linha.clear();
        }
        if (linha.isEmpty())
            topo = t.caixa.top();
        linha.append(t.texto);
    }
    if (!linha.isEmpty())
        linhas.append(linha.join(QLatin1Char('\t')));
    return linhas.join(QLatin1Char('\n'));
}

void Visualiza::copiar()
{
    if (!paginas() || paginas()->pageCount() == 0)
        return;
    const printing::Paginas& documento = *paginas();
    const int indice = paginaAtual() - 1;
    const double escala = kPontosPorPolegadaDaCopia / printing::kTwipsPorPolegada;
    const QSizeF tamanho = documento.pageSize() * escala;
    QImage imagem(QSize(int(std::lround(tamanho.width())), int(std::lround(tamanho.height()))), QImage::Format_RGB32);
    imagem.setDotsPerMeterX(int(std::lround(kPontosPorPolegadaDaCopia / 0.0254)));
    imagem.setDotsPerMeterY(int(std::lround(kPontosPorPolegadaDaCopia / 0.0254)));
    imagem.fill(Qt::white);
    {
        QPainter pintor(&imagem);
        pintor.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
        documento.drawPage(pintor, indice, QPointF(0.0, 0.0), escala);
    }
    auto* dados = new QMimeData;
    dados->setText(textoDaPagina(indice));
    dados->setImageData(imagem);
    QApplication::clipboard()->setMimeData(dados);
}

bool Visualiza::imprimir()
{
    if (m_documento)
        return imprimeComDialogo(*m_documento, this, m_legenda);
    if (!m_relatorio)
        return false;
    return imprimeComDialogo(*m_relatorio, this, [this] {
        return progressoNaJanela(this, m_relatorio->total(), legenda(), QStringLiteral("Imprimindo o relatório…"));
    });
}

bool Visualiza::salvarPdf()
{
    if (!paginas() || paginas()->pageCount() == 0)
        return false;
    const QString pasta = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString sugestao = QDir(pasta.isEmpty() ? QDir::homePath() : pasta).filePath(nomeDeArquivo(legenda()));
    const EscolheArquivo& escolha = escolhaDeArquivo();
    QString arquivo = escolha ? escolha(this, sugestao)
                              : QFileDialog::getSaveFileName(this, QStringLiteral("Salvar PDF"), sugestao,
                                                             QStringLiteral("Documentos PDF (*.pdf)"));
    if (arquivo.isEmpty())
        return false;
    if (!arquivo.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        arquivo += QStringLiteral(".pdf");
    QString erro;
    if (m_documento) {
        const bool gravado = printing::gravaPdf(*m_documento, arquivo, m_legenda, &erro);
        if (!gravado) {
            desktop::TocaSom(desktop::Som::Erro);
            Dialogs::aviso(erro, QStringLiteral("Salvar PDF"), Dialogs::Icone::Critico);
        }
        return gravado;
    }
    // The file is written as the report is composed again, a page at a time; the pages shown stay as they are.
    printing::Relatorio copia(m_relatorio->tipo(), m_relatorio->banco(), m_relatorio->logotipo(),
                              m_relatorio->orientacaoDaImpressora());
    copia.defineOrientacaoDasPaginas(m_relatorio->orientacaoDasPaginas());
    bool gravado = false;
    try {
        const CursorDeEspera espera;
        gravado = printing::gravaPdf(
            copia, arquivo, progressoNaJanela(this, m_relatorio->total(), legenda(), QStringLiteral("Gravando o PDF…")),
            &erro);
    } catch (const platform::DbError& falha) {
        erro = QStringLiteral("Não foi possível ler os traços do relatório (erro %1: %2).")
                   .arg(falha.numero())
                   .arg(falha.descricao());
    }
    // A cancelled file is no error: nothing was written.
    if (!gravado && !erro.isEmpty()) {
        desktop::TocaSom(desktop::Som::Erro);
        Dialogs::aviso(erro, QStringLiteral("Salvar PDF"), Dialogs::Icone::Critico);
    }
    return gravado;
}

void Visualiza::defineEscolhaDeArquivo(EscolheArquivo escolha)
{
    escolhaDeArquivo() = std::move(escolha);
}

void Visualiza::atualizaEstado()
{
    const int total = paginas() ? paginas()->pageCount() : 0;
    const int atual = total > 0 ? paginaAtual() : 0;
    if (!NumeroDaPagina->hasFocus() || NumeroDaPagina->text().isEmpty())
        NumeroDaPagina->setText(total > 0 ? QString::number(atual) : QString());
    TotalDePaginas->setText(QStringLiteral(" de %1 ").arg(total));
    ferramenta(QStringLiteral("PrevPage"))->setEnabled(atual > 1);
    ferramenta(QStringLiteral("NextPage"))->setEnabled(atual < total);
    ferramenta(QStringLiteral("&Back"))->setEnabled(podeVoltar());
    ferramenta(QStringLiteral("F&orward"))->setEnabled(podeAvancar());
    for (const char* nome : {"&Print...", "Save PDF", "Copy", "Find"})
        ferramenta(QLatin1String(nome))->setEnabled(total > 0);
}

void Visualiza::done(int resultado)
{
    // Unloading the form lets go of the report.
    Visual->setDocumento(nullptr);
    m_modeloDoIndice->defineIndice(nullptr);
    QDialog::done(resultado);
    m_relatorio.reset();
    m_documento.reset();
}

void defineAmbienteDoRelatorio(AmbienteDoRelatorio novo)
{
    ambiente() = std::move(novo);
}

printing::Orientacao orientacaoDaImpressora()
{
    const QPrinterInfo padrao = QPrinterInfo::defaultPrinter();
    if (padrao.isNull())
        return printing::Orientacao::Retrato;
    const QPrinter impressora(padrao);
    return impressora.pageLayout().orientation() == QPageLayout::Landscape ? printing::Orientacao::Paisagem
                                                                           : printing::Orientacao::Retrato;
}

bool MostraRelatorio(printing::TipoRelatorio tipo, platform::Database& banco, const QString& logotipo, QWidget* pai)
{
    const AmbienteDoRelatorio& seams = ambiente();
    auto relatorio = std::make_unique<printing::Relatorio>(
        tipo, banco, logotipo, seams.orientacao ? seams.orientacao() : orientacaoDaImpressora());
    try {
        const int total = relatorio->contaLinhas();
        if (total < 1) {
            if (tipo == printing::TipoRelatorio::Todos)
                Dialogs::aviso(QStringLiteral("Não existe nenhum traço cadastrado."),
                               QStringLiteral("Nenhum traço cadastrado"), Dialogs::Icone::Informacao);
            else
                Dialogs::aviso(QStringLiteral("Não existe nenhum traço de plantão."),
                               QStringLiteral("Nenhum traço de plantão"), Dialogs::Icone::Informacao);
            return false;
        }
        // The layout is for portrait paper: a printer in landscape is offered the switch.
        if (relatorio->impressoraDeitada() &&
            Dialogs::atual().mensagem(
                QStringLiteral("A orientação do papel está na horizontal.\rO correto é a orientação na vertical.\r\r"
                               "Quer imprimir com orientação vertical?"),
                QStringLiteral("Orientação do Papel"), Dialogs::Icone::Pergunta, Dialogs::Botoes::SimNao,
                Dialogs::Resposta::Sim) == Dialogs::Resposta::Sim)
            relatorio->defineOrientacaoDasPaginas(printing::Orientacao::Retrato);
        const printing::ProgressoDoRelatorio progresso =
            progressoNaJanela(pai, total, relatorio->legenda(), QStringLiteral("Preparando o relatório…"));
        const CursorDeEspera espera;
        // Only where each page begins is kept: the viewer composes the pages it shows.
        if (!relatorio->preparaPaginas(progresso))
            return false;
    } catch (const platform::DbError& falha) {
        desktop::TocaSom(desktop::Som::Erro);
        Dialogs::aviso(QStringLiteral("Não foi possível ler os traços do relatório (erro %1: %2).")
                           .arg(falha.numero())
                           .arg(falha.descricao()),
                       relatorio->legenda(), Dialogs::Icone::Critico);
        return false;
    }
    Visualiza visualiza(pai);
    visualiza.RunReport(std::move(relatorio));
    Dialogs::atual().mostraModal(&visualiza);
    return true;
}

void MostraDocumento(std::unique_ptr<printing::Documento> documento, const QString& legenda, QWidget* pai)
{
    Visualiza visualiza(pai);
    visualiza.mostraDocumento(std::move(documento), legenda);
    Dialogs::atual().mostraModal(&visualiza);
}

} // namespace preview
