#include "listatracos.h"

#include "catalogue/modelolista.h"
#include "desktop/mostraerro.h"
#include "platform/dberror.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace catalogview {

ListaTracos::ListaTracos(platform::Database& db, QWidget* parent)
    : QDockWidget(QStringLiteral("Lista de Traços"), parent), m_modelo(new catalogue::ModeloLista(db, this))
{
    setObjectName(QStringLiteral("ListaTracos"));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    auto* corpo = new QWidget(this);
    Procura = new QLineEdit(corpo);
    Procura->setObjectName(QStringLiteral("Procura"));
    Procura->setPlaceholderText(QStringLiteral("Procurar traço (Ctrl+F)"));
    Procura->setClearButtonEnabled(true);
    Procura->setAccessibleName(QStringLiteral("Procurar traço pelo nome"));
    SoEmUso = new QCheckBox(QStringLiteral("Só em &uso"), corpo);
    SoEmUso->setObjectName(QStringLiteral("SoEmUso"));
    Tabela = new QTableView(corpo);
    Tabela->setObjectName(QStringLiteral("Tabela"));
    Tabela->setModel(m_modelo);
    Tabela->setSelectionBehavior(QAbstractItemView::SelectRows);
    Tabela->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Tabela->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Tabela->setAlternatingRowColors(true);
    Tabela->setWordWrap(false);
    Tabela->setContextMenuPolicy(Qt::CustomContextMenu);
    Tabela->verticalHeader()->hide();
    // Every line has the same height: the view never measures the lines it does not show.
    Tabela->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Tabela->verticalHeader()->setDefaultSectionSize(Tabela->fontMetrics().height() + 6);
    Tabela->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    Tabela->horizontalHeader()->setSortIndicator(catalogue::ModeloLista::Traco, Qt::AscendingOrder);
    Tabela->horizontalHeader()->setSortIndicatorShown(true);
    Tabela->horizontalHeader()->setSectionsClickable(true);
    Tabela->setColumnWidth(catalogue::ModeloLista::Traco, 220);
    Tabela->setAccessibleName(QStringLiteral("Traços do catálogo"));
    Comparar = new QPushButton(QStringLiteral("&Comparar"), corpo);
    Comparar->setObjectName(QStringLiteral("Comparar"));
    Comparar->setEnabled(false);
    Situacao = new QLabel(corpo);
    Situacao->setObjectName(QStringLiteral("Situacao"));

    auto* topo = new QHBoxLayout;
    topo->addWidget(Procura, 1);
    topo->addWidget(SoEmUso);
    auto* base = new QHBoxLayout;
    base->addWidget(Situacao, 1);
    base->addWidget(Comparar);
    auto* layout = new QVBoxLayout(corpo);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(topo);
    layout->addWidget(Tabela, 1);
    layout->addLayout(base);
    setWidget(corpo);
    explicaControles();

    connect(Procura, &QLineEdit::textChanged, this, [this](const QString& texto) {
        le(QStringLiteral("Procurar Traço"), [&] { m_modelo->defineFiltro(texto); });
    });
    connect(SoEmUso, &QCheckBox::toggled, this,
            [this](bool so) { le(QStringLiteral("Procurar Traço"), [&] { m_modelo->defineSoEmUso(so); }); });
    connect(Tabela->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this, [this](int coluna, Qt::SortOrder s) {
        // The CO2 is worked out only for the lines read: it cannot order the catalogue, and the arrow stays where
        // the order is.
        if (coluna == catalogue::ModeloLista::CO2) {
            const QSignalBlocker bloqueio(Tabela->horizontalHeader());
            Tabela->horizontalHeader()->setSortIndicator(m_ordenadaPor, m_sentido);
            return;
        }
        m_ordenadaPor = coluna;
        m_sentido = s;
        const qint64 atual = m_modelo->codigoEm(Tabela->currentIndex().row());
        le(QStringLiteral("Ordenar Lista"), [&] { m_modelo->sort(coluna, s); });
        if (const int linha = m_modelo->linhaDoCodigo(atual); atual != 0 && linha >= 0) {
            Tabela->setCurrentIndex(m_modelo->index(linha, 0));
            Tabela->scrollTo(Tabela->currentIndex());
        }
    });
    connect(Tabela, &QTableView::doubleClicked, this, [this] { escolheAtual(); });
    connect(Tabela, &QWidget::customContextMenuRequested, this, &ListaTracos::mostraMenu);
    connect(Tabela->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { mostraSituacao(); });
    connect(m_modelo, &QAbstractItemModel::modelReset, this, [this] { mostraSituacao(); });
    connect(Comparar, &QPushButton::clicked, this, &ListaTracos::compara);
    connect(this, &QDockWidget::visibilityChanged, this, [this](bool visivel) {
        if (visivel && !m_aberta)
            abre();
        else if (visivel && m_desatualizada)
            recarrega();
    });
    Procura->installEventFilter(this);
    Tabela->installEventFilter(this);

    // Ctrl+F anywhere in the window brings the search box, even with the list put away.
    auto* atalho = new QShortcut(QKeySequence::Find, parent ? parent : this);
    atalho->setContext(Qt::WindowShortcut);
    connect(atalho, &QShortcut::activated, this, &ListaTracos::procura);
    mostraSituacao();
}

ListaTracos::~ListaTracos() = default;

template <typename Leitura> void ListaTracos::le(const QString& rotina, Leitura leitura)
{
    try {
        leitura();
    } catch (const platform::DbError& erro) {
        desktop::MostraErro(rotina, erro.numero(), erro.descricao());
    }
    mostraSituacao();
}

void ListaTracos::abre()
{
    m_aberta = true;
    m_desatualizada = false;
    le(QStringLiteral("Abrir Lista"), [this] { m_modelo->abre(); });
}

void ListaTracos::recarrega()
{
    if (!m_aberta)
        return;
    if (!isVisible()) {
        m_desatualizada = true;
        return;
    }
    m_desatualizada = false;
    const qint64 atual = m_modelo->codigoEm(Tabela->currentIndex().row());
    const int linhaAntes = Tabela->currentIndex().row();
    le(QStringLiteral("Abrir Lista"), [this] { m_modelo->recarrega(); });
    // The same mix, or, when it is gone, the line that took its place.
    int linha = atual != 0 ? m_modelo->linhaDoCodigo(atual) : -1;
    if (linha < 0 && linhaAntes >= 0)
        linha = std::min(linhaAntes, m_modelo->rowCount() - 1);
    if (linha >= 0) {
        Tabela->setCurrentIndex(m_modelo->index(linha, 0));
        Tabela->scrollTo(Tabela->currentIndex());
    }
}

void ListaTracos::procura()
{
    if (!isVisible())
        show();
    raise();
    Procura->setFocus(Qt::ShortcutFocusReason);
    Procura->selectAll();
}

QList<qint64> ListaTracos::escolhidos() const
{
    QList<int> linhas;
    for (const QModelIndex& i : Tabela->selectionModel()->selectedRows())
        linhas.append(i.row());
    std::sort(linhas.begin(), linhas.end());
    QList<qint64> codigos;
    for (const int linha : linhas)
        codigos.append(m_modelo->codigoEm(linha));
    return codigos;
}

void ListaTracos::compara()
{
    const QList<qint64> codigos = escolhidos();
    if (codigos.size() < MenosComparados || codigos.size() > MaisComparados || !m_comparacao)
        return;
    m_comparacao(codigos);
}

void ListaTracos::escolheAtual()
{
    const qint64 codigo = m_modelo->codigoEm(Tabela->currentIndex().row());
    if (codigo != 0)
        emit escolhido(codigo);
}

void ListaTracos::mostraMenu(const QPoint& onde)
{
    QMenu menu(this);
    QAction* mostrar = menu.addAction(QStringLiteral("&Mostrar no formulário"), this, &ListaTracos::escolheAtual);
    mostrar->setEnabled(Tabela->currentIndex().isValid());
    QAction* comparar = menu.addAction(QStringLiteral("&Comparar"), this, &ListaTracos::compara);
    comparar->setEnabled(Comparar->isEnabled());
    menu.exec(Tabela->viewport()->mapToGlobal(onde));
}

void ListaTracos::mostraSituacao()
{
    const int total = m_modelo->rowCount();
    QString texto = total == 1 ? QStringLiteral("1 traço") : QStringLiteral("%L1 traços").arg(total);
    const int escolhidas = int(Tabela->selectionModel()->selectedRows().size());
    if (escolhidas > 1)
        texto += QStringLiteral(", %1 escolhidos").arg(escolhidas);
    Situacao->setText(texto);
    Comparar->setEnabled(m_comparacao && escolhidas >= MenosComparados && escolhidas <= MaisComparados);
}

bool ListaTracos::eventFilter(QObject* objeto, QEvent* evento)
{
    if (evento->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent*>(evento)->key();
        if (objeto == Procura && tecla == Qt::Key_Escape && !Procura->text().isEmpty()) {
            Procura->clear();
            return true;
        }
        // From the search box the arrows go down into the list, and Enter takes its first line.
        if (objeto == Procura && (tecla == Qt::Key_Down || tecla == Qt::Key_Return || tecla == Qt::Key_Enter) &&
            m_modelo->rowCount() > 0) {
            if (!Tabela->currentIndex().isValid())
                Tabela->setCurrentIndex(m_modelo->index(0, 0));
            Tabela->setFocus(Qt::OtherFocusReason);
            if (tecla != Qt::Key_Down)
                escolheAtual();
            return true;
        }
        if (objeto == Tabela && (tecla == Qt::Key_Return || tecla == Qt::Key_Enter)) {
            escolheAtual();
            return true;
        }
    }
    return QDockWidget::eventFilter(objeto, evento);
}

void ListaTracos::explicaControles()
{
    Procura->setWhatsThis(QStringLiteral(
        "Procura traços pelo nome: a lista mostra só os traços cujo nome contém o texto digitado, em qualquer parte, "
        "sem diferença entre maiúsculas e minúsculas nem entre letras com e sem acento (\"acai\" encontra "
        "\"Açaí\"). <b>Ctrl+F</b> vem para esta caixa; <b>Esc</b> apaga o texto; <b>Enter</b> mostra o primeiro "
        "traço no formulário."));
    SoEmUso->setWhatsThis(
        QStringLiteral("Marcado, a lista mostra só os traços em uso: a variante de cada nome que a produção usa."));
    Tabela->setWhatsThis(QStringLiteral(
        "Todos os traços do catálogo, um por linha. Clique no título de uma coluna para ordenar por ela; outro "
        "clique inverte a ordem. <b>Enter</b> ou um duplo clique mostra o traço no formulário. Escolha de 2 a 4 "
        "linhas (Ctrl ou Shift com o clique) e use <b>Comparar</b> para vê-los lado a lado."));
    Comparar->setWhatsThis(QStringLiteral("Compara lado a lado os 2 a 4 traços escolhidos na lista."));
}

} // namespace catalogview
