#include "janelaajuda.h"

#include "platform/paths.h"

#include <QAction>
#include <QApplication>
#include <QCollator>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace desktop {

namespace {

constexpr int kCaminho = Qt::UserRole;

QPointer<JanelaAjuda>& unica()
{
    static QPointer<JanelaAjuda> janela;
    return janela;
}

QString leUtf8(const QString& arquivo)
{
    QFile f(arquivo);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

QString textoSimples(const QString& html)
{
    return QTextDocumentFragment::fromHtml(html).toPlainText().simplified();
}

QString caminhoLimpo(const QString& caminho)
{
    return QDir::cleanPath(QFileInfo(caminho).absoluteFilePath());
}

// The words of a query, compared without case and accents.
QStringList palavrasDa(const QString& consulta)
{
    // A comma or a point inside a word stays in it: "114,3" and "Caminho.dad" are searched as written.
    static const QRegularExpression separadores(QStringLiteral("[\\s;:!?()\"'/\\\\]+|[,.](?=\\s|$)"));
    return JanelaAjuda::semAcentos(consulta).split(separadores, Qt::SkipEmptyParts);
}

// A pattern that finds a word typed without accents in a text written with them.
QRegularExpression padraoComAcentos(const QString& palavra)
{
    static const QHash<QChar, QString> variantes{
        {QLatin1Char('a'), QStringLiteral("[aáàâãä]")}, {QLatin1Char('e'), QStringLiteral("[eéèêë]")},
        {QLatin1Char('i'), QStringLiteral("[iíìîï]")},  {QLatin1Char('o'), QStringLiteral("[oóòôõö]")},
        {QLatin1Char('u'), QStringLiteral("[uúùûü]")},  {QLatin1Char('c'), QStringLiteral("[cç]")},
        {QLatin1Char('n'), QStringLiteral("[nñ]")},
    };
    QString padrao;
    for (const QChar c : palavra)
        padrao += variantes.value(c, QRegularExpression::escape(QString(c)));
    return QRegularExpression(padrao, QRegularExpression::CaseInsensitiveOption);
}

} // namespace

JanelaAjuda::JanelaAjuda(const QString& pastaAjuda, QWidget* parent)
    : QWidget(parent, Qt::Window), m_pasta(platform::Paths::comSeparador(pastaAjuda))
{
    setObjectName(QStringLiteral("JanelaAjuda"));
    setWindowTitle(QStringLiteral("Ajuda do Quenvar"));
    // The help stays open beside the program, but never keeps the program running after its main window closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    // Esc and Ctrl+W close it, as they close a reader's window, wherever the focus is inside it.
    for (const QKeySequence& tecla : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        auto* atalho = new QShortcut(tecla, this);
        atalho->setContext(Qt::WindowShortcut);
        connect(atalho, &QShortcut::activated, this, &QWidget::close);
    }

    auto* barra = new QToolBar(this);
    barra->setObjectName(QStringLiteral("BarraAjuda"));
    barra->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_voltar = barra->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("&Voltar"));
    m_voltar->setObjectName(QStringLiteral("Voltar"));
    m_voltar->setToolTip(QStringLiteral("Voltar ao tópico anterior"));
    m_voltar->setShortcut(QKeySequence::Back);
    m_avancar = barra->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("&Avançar"));
    m_avancar->setObjectName(QStringLiteral("Avancar"));
    m_avancar->setToolTip(QStringLiteral("Avançar ao tópico seguinte já mostrado"));
    m_avancar->setShortcut(QKeySequence::Forward);
    m_inicio = barra->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("&Início"));
    m_inicio->setObjectName(QStringLiteral("Inicio"));
    m_inicio->setToolTip(QStringLiteral("Conteúdo da Ajuda do Quenvar"));

    m_navegador = new QTextBrowser;
    m_navegador->setObjectName(QStringLiteral("Pagina"));
    m_navegador->setOpenExternalLinks(true);
    m_navegador->setOpenLinks(true);
    m_navegador->setSearchPaths({m_pasta + QStringLiteral("Quenvar")});

    m_conteudo = new QTreeWidget;
    m_conteudo->setObjectName(QStringLiteral("Conteudo"));
    m_conteudo->setHeaderHidden(true);

    auto* paginaIndice = new QWidget;
    auto* vi = new QVBoxLayout(paginaIndice);
    vi->addWidget(new QLabel(QStringLiteral("Digite a palavra-chave:")));
    m_filtroIndice = new QLineEdit;
    m_filtroIndice->setObjectName(QStringLiteral("FiltroIndice"));
    m_filtroIndice->setClearButtonEnabled(true);
    vi->addWidget(m_filtroIndice);
    m_listaIndice = new QTreeWidget;
    m_listaIndice->setObjectName(QStringLiteral("Indice"));
    m_listaIndice->setHeaderHidden(true);
    vi->addWidget(m_listaIndice);

    auto* paginaPesquisa = new QWidget;
    auto* vp = new QVBoxLayout(paginaPesquisa);
    vp->addWidget(new QLabel(QStringLiteral("Palavras a localizar:")));
    auto* linhaPesquisa = new QHBoxLayout;
    m_textoPesquisa = new QLineEdit;
    m_textoPesquisa->setObjectName(QStringLiteral("TextoPesquisa"));
    m_textoPesquisa->setClearButtonEnabled(true);
    auto* localizar = new QPushButton(QStringLiteral("&Localizar"));
    localizar->setObjectName(QStringLiteral("Localizar"));
    linhaPesquisa->addWidget(m_textoPesquisa);
    linhaPesquisa->addWidget(localizar);
    vp->addLayout(linhaPesquisa);
    m_resultados = new QListWidget;
    m_resultados->setObjectName(QStringLiteral("Resultados"));
    vp->addWidget(m_resultados);

    m_abas = new QTabWidget;
    m_abas->setObjectName(QStringLiteral("Abas"));
    m_abas->addTab(m_conteudo, QStringLiteral("&Conteúdo"));
    m_abas->addTab(paginaIndice, QStringLiteral("Í&ndice"));
    m_abas->addTab(paginaPesquisa, QStringLiteral("&Pesquisar"));

    auto* divisor = new QSplitter(Qt::Horizontal);
    divisor->addWidget(m_abas);
    divisor->addWidget(m_navegador);
    divisor->setStretchFactor(0, 0);
    divisor->setStretchFactor(1, 1);
    divisor->setSizes({290, 650});

    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    v->addWidget(barra);
    v->addWidget(divisor);

    carregaPaginas();
    montaConteudo();
    montaIndice();

    m_voltar->setEnabled(false);
    m_avancar->setEnabled(false);
    connect(m_navegador, &QTextBrowser::backwardAvailable, m_voltar, &QAction::setEnabled);
    connect(m_navegador, &QTextBrowser::forwardAvailable, m_avancar, &QAction::setEnabled);
    connect(m_voltar, &QAction::triggered, m_navegador, &QTextBrowser::backward);
    connect(m_avancar, &QAction::triggered, m_navegador, &QTextBrowser::forward);
    connect(m_inicio, &QAction::triggered, this, [this] { mostra(m_pasta + QStringLiteral("Quenvar/index.html")); });
    connect(m_navegador, &QTextBrowser::sourceChanged, this, &JanelaAjuda::paginaMudou);
    connect(m_conteudo, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { abreItem(item); });
    connect(m_conteudo, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { abreItem(item); });
    connect(m_listaIndice, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { abreItem(item); });
    connect(m_listaIndice, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { abreItem(item); });
    connect(m_filtroIndice, &QLineEdit::textChanged, this, &JanelaAjuda::filtraIndice);
    connect(m_filtroIndice, &QLineEdit::returnPressed, this, [this] {
        for (int i = 0; i < m_listaIndice->topLevelItemCount(); ++i) {
            QTreeWidgetItem* item = m_listaIndice->topLevelItem(i);
            if (!item->isHidden()) {
                m_listaIndice->setCurrentItem(item);
                abreItem(item);
                return;
            }
        }
    });
    connect(m_textoPesquisa, &QLineEdit::returnPressed, this, &JanelaAjuda::pesquisaNaJanela);
    connect(localizar, &QPushButton::clicked, this, &JanelaAjuda::pesquisaNaJanela);
    connect(m_resultados, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        const QString caminho = item->data(kCaminho).toString();
        if (caminho.isEmpty())
            return;
        mostra(caminho);
        marcaPalavras(palavrasDa(m_textoPesquisa->text()));
    });
    connect(m_resultados, &QListWidget::itemClicked, m_resultados, &QListWidget::itemActivated);

    // A sensible size: most of a laptop's screen, never more than the screen holds.
    QSize tamanho(960, 680);
    if (const QScreen* tela = screen())
        tamanho = tamanho.boundedTo(tela->availableGeometry().size() * 0.9);
    resize(tamanho);
}

JanelaAjuda::~JanelaAjuda() = default;

JanelaAjuda* JanelaAjuda::existente()
{
    return unica();
}

bool JanelaAjuda::abre(QWidget* janela, const QString& pagina)
{
    if (!QFileInfo::exists(pagina))
        return false;
    const QString pasta = platform::Paths::pastaRecursos() + QStringLiteral("Ajuda/");
    QPointer<JanelaAjuda>& atual = unica();
    if (atual && atual->pastaAjuda() != platform::Paths::comSeparador(pasta))
        delete atual.data();
    if (!atual) {
        atual = new JanelaAjuda(pasta);
        atual->setAttribute(Qt::WA_DeleteOnClose, false);
        // The first time, the help opens over the screen of the window that asked for it.
        if (janela && janela->screen()) {
            const QRect area = janela->screen()->availableGeometry();
            atual->move(area.center() - atual->rect().center());
        }
    }
    return atual->mostra(pagina);
}

bool JanelaAjuda::mostra(const QString& pagina)
{
    if (!QFileInfo::exists(pagina))
        return false;
    acompanhaModal();
    const QUrl endereco = QUrl::fromLocalFile(caminhoLimpo(pagina));
    if (m_navegador->source() == endereco)
        paginaMudou(endereco);
    else
        m_navegador->setSource(endereco);
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    return true;
}

QString JanelaAjuda::paginaAtual() const
{
    return m_navegador->source().toLocalFile();
}

QString JanelaAjuda::tituloAtual() const
{
    return tituloDe(paginaAtual());
}

QString JanelaAjuda::semAcentos(const QString& texto)
{
    const QString decomposto = texto.normalized(QString::NormalizationForm_D);
    QString resultado;
    resultado.reserve(decomposto.size());
    for (const QChar c : decomposto) {
        if (c.category() != QChar::Mark_NonSpacing)
            resultado += c;
    }
    return resultado.toLower();
}

QStringList JanelaAjuda::palavrasChave() const
{
    QStringList lista;
    for (const Entrada& e : m_indice)
        lista << e.palavra;
    return lista;
}

QStringList JanelaAjuda::paginasDaPalavra(const QString& palavra) const
{
    const QString chave = semAcentos(palavra.trimmed());
    for (const Entrada& e : m_indice) {
        if (semAcentos(e.palavra) == chave)
            return e.paginas;
    }
    return {};
}

QStringList JanelaAjuda::pesquisa(const QString& consulta) const
{
    const QStringList palavras = palavrasDa(consulta);
    if (palavras.isEmpty())
        return {};
    struct Achado
    {
        qsizetype pontos;
        const Pagina* pagina;
    };
    QList<Achado> achados;
    for (const Pagina& p : m_paginas) {
        const QString titulo = semAcentos(p.titulo);
        const QString texto = semAcentos(p.texto);
        qsizetype pontos = 0;
        bool todas = true;
        for (const QString& palavra : palavras) {
            const qsizetype noTexto = texto.count(palavra);
            if (noTexto == 0) {
                todas = false;
                break;
            }
            // A word of the title counts as much as ten in the text: the page is about it.
            pontos += noTexto + 10 * titulo.count(palavra);
        }
        if (todas)
            achados.append({pontos, &p});
    }
    std::stable_sort(achados.begin(), achados.end(),
                     [](const Achado& a, const Achado& b) { return a.pontos > b.pontos; });
    QStringList resultado;
    for (const Achado& a : achados)
        resultado << a.pagina->arquivo;
    return resultado;
}

bool JanelaAjuda::eventFilter(QObject* objeto, QEvent* evento)
{
    // The modal form that the help window stood over has closed: the window becomes free again.
    if (objeto == m_modal && evento->type() == QEvent::Hide && !evento->spontaneous()) {
        const bool visivel = isVisible();
        const QRect area = geometry();
        m_modal->removeEventFilter(this);
        m_modal = nullptr;
        setParent(nullptr, Qt::Window);
        setGeometry(area);
        if (visivel)
            show();
    }
    return QWidget::eventFilter(objeto, evento);
}

void JanelaAjuda::carregaPaginas()
{
    static const QRegularExpression titulo(QStringLiteral("<title>(.*?)</title>"),
                                           QRegularExpression::CaseInsensitiveOption |
                                               QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression meta(QStringLiteral("<meta\\s[^>]*name\\s*=\\s*\"keywords\"[^>]*>"),
                                         QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression conteudo(QStringLiteral("content\\s*=\\s*\"([^\"]*)\""),
                                             QRegularExpression::CaseInsensitiveOption);
    for (const QString& sub : {QStringLiteral("Quenvar"), QStringLiteral("Sistema")}) {
        const QDir pasta(m_pasta + sub);
        const QStringList arquivos = pasta.entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
        for (const QString& nome : arquivos) {
            const QString caminho = caminhoLimpo(pasta.filePath(nome));
            const QString html = leUtf8(caminho);
            Pagina p;
            p.arquivo = caminho;
            const QRegularExpressionMatch t = titulo.match(html);
            p.titulo = t.hasMatch() ? textoSimples(t.captured(1)) : QString();
            if (p.titulo.isEmpty())
                p.titulo = QFileInfo(nome).completeBaseName();
            const QRegularExpressionMatch m = meta.match(html);
            if (m.hasMatch()) {
                const QRegularExpressionMatch c = conteudo.match(m.captured(0));
                for (const QString& palavra : textoSimples(c.captured(1)).split(QLatin1Char(';'), Qt::SkipEmptyParts))
                    if (!palavra.trimmed().isEmpty())
                        p.palavrasChave << palavra.trimmed();
            }
            QTextDocument documento;
            documento.setHtml(html);
            p.texto = documento.toPlainText();
            m_paginas.append(p);
        }
    }
}

void JanelaAjuda::montaConteudo()
{
    m_conteudo->clear();
    const QString base = m_pasta + QStringLiteral("Quenvar/");
    const QString lista = leUtf8(base + QStringLiteral("conteudo.txt"));
    QList<QTreeWidgetItem*> niveis;
    for (const QString& linha : lista.split(QLatin1Char('\n'))) {
        const QString limpa = linha.trimmed();
        if (limpa.isEmpty() || limpa.startsWith(QLatin1Char('#')))
            continue;
        qsizetype recuo = 0;
        while (recuo < linha.size() && linha.at(recuo) == QLatin1Char(' '))
            ++recuo;
        const int nivel = int(std::min<qsizetype>(recuo / 2, niveis.size()));
        const qsizetype barra = limpa.indexOf(QLatin1Char('|'));
        QString titulo = (barra < 0 ? limpa : limpa.left(barra)).trimmed();
        const QString arquivo = barra < 0 ? QString() : limpa.mid(barra + 1).trimmed();
        const QString caminho = arquivo.isEmpty() ? QString() : caminhoLimpo(base + arquivo);
        if (titulo.isEmpty())
            titulo = tituloDe(caminho);
        auto* item = nivel == 0 ? new QTreeWidgetItem(m_conteudo) : new QTreeWidgetItem(niveis.at(nivel - 1));
        item->setText(0, titulo);
        item->setData(0, kCaminho, caminho);
        item->setToolTip(0, titulo);
        niveis.resize(nivel);
        niveis.append(item);
    }
    // Without a list of contents, every page by its title.
    if (m_conteudo->topLevelItemCount() == 0) {
        QList<const Pagina*> ordem;
        for (const Pagina& p : m_paginas)
            ordem.append(&p);
        QCollator collator{QLocale(QLocale::Portuguese, QLocale::Brazil)};
        std::sort(ordem.begin(), ordem.end(),
                  [&collator](const Pagina* a, const Pagina* b) { return collator.compare(a->titulo, b->titulo) < 0; });
        for (const Pagina* p : ordem) {
            auto* item = new QTreeWidgetItem(m_conteudo);
            item->setText(0, p->titulo);
            item->setData(0, kCaminho, p->arquivo);
        }
    }
    m_conteudo->expandAll();
}

void JanelaAjuda::montaIndice()
{
    QHash<QString, int> posicao;
    for (const Pagina& p : m_paginas) {
        for (const QString& palavra : p.palavrasChave) {
            const QString chave = semAcentos(palavra);
            auto it = posicao.find(chave);
            if (it == posicao.end()) {
                it = posicao.insert(chave, int(m_indice.size()));
                m_indice.append({palavra, {}});
            }
            if (!m_indice[*it].paginas.contains(p.arquivo))
                m_indice[*it].paginas.append(p.arquivo);
        }
    }
    QCollator collator{QLocale(QLocale::Portuguese, QLocale::Brazil)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(m_indice.begin(), m_indice.end(),
              [&collator](const Entrada& a, const Entrada& b) { return collator.compare(a.palavra, b.palavra) < 0; });
    for (Entrada& e : m_indice) {
        std::sort(e.paginas.begin(), e.paginas.end(), [this, &collator](const QString& a, const QString& b) {
            return collator.compare(tituloDe(a), tituloDe(b)) < 0;
        });
        auto* item = new QTreeWidgetItem(m_listaIndice);
        item->setText(0, e.palavra);
        if (e.paginas.size() == 1) {
            item->setData(0, kCaminho, e.paginas.first());
            item->setToolTip(0, tituloDe(e.paginas.first()));
        } else {
            // A keyword of several pages opens into their titles.
            for (const QString& pagina : e.paginas) {
                auto* filho = new QTreeWidgetItem(item);
                filho->setText(0, tituloDe(pagina));
                filho->setData(0, kCaminho, pagina);
            }
        }
    }
}

void JanelaAjuda::filtraIndice(const QString& texto)
{
    const QString procura = semAcentos(texto.trimmed());
    QTreeWidgetItem* primeiro = nullptr;
    for (int i = 0; i < m_listaIndice->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_listaIndice->topLevelItem(i);
        const bool mostra = procura.isEmpty() || semAcentos(item->text(0)).contains(procura);
        item->setHidden(!mostra);
        if (mostra && !primeiro)
            primeiro = item;
    }
    if (primeiro)
        m_listaIndice->setCurrentItem(primeiro);
}

void JanelaAjuda::pesquisaNaJanela()
{
    m_resultados->clear();
    const QStringList achadas = pesquisa(m_textoPesquisa->text());
    for (const QString& caminho : achadas) {
        auto* item = new QListWidgetItem(tituloDe(caminho), m_resultados);
        item->setData(kCaminho, caminho);
        item->setToolTip(tituloDe(caminho));
    }
    if (achadas.isEmpty() && !m_textoPesquisa->text().trimmed().isEmpty()) {
        auto* item = new QListWidgetItem(QStringLiteral("Nenhum tópico encontrado."), m_resultados);
        item->setFlags(Qt::NoItemFlags);
    }
}

void JanelaAjuda::paginaMudou(const QUrl& endereco)
{
    // The browser tells the new page before it is its source: the address comes from the signal.
    m_navegador->setExtraSelections({});
    const QString caminho = caminhoLimpo(endereco.toLocalFile());
    const QString titulo = tituloDe(caminho);
    setWindowTitle(titulo.isEmpty() ? QStringLiteral("Ajuda do Quenvar")
                                    : QStringLiteral("Ajuda do Quenvar - ") + titulo);
    // The contents follow the page shown.
    QTreeWidgetItemIterator it(m_conteudo);
    while (*it) {
        if ((*it)->data(0, kCaminho).toString() == caminho) {
            const QSignalBlocker bloqueio(m_conteudo);
            m_conteudo->setCurrentItem(*it);
            m_conteudo->scrollToItem(*it);
            break;
        }
        ++it;
    }
}

void JanelaAjuda::marcaPalavras(const QStringList& palavras)
{
    QList<QTextEdit::ExtraSelection> marcas;
    QTextDocument* documento = m_navegador->document();
    QTextCursor primeiro;
    for (const QString& palavra : palavras) {
        const QRegularExpression padrao = padraoComAcentos(palavra);
        QTextCursor c = documento->find(padrao);
        while (!c.isNull()) {
            QTextEdit::ExtraSelection marca;
            marca.cursor = c;
            marca.format.setBackground(QColor(0xff, 0xe0, 0x82));
            marcas.append(marca);
            if (primeiro.isNull() || c.position() < primeiro.position())
                primeiro = c;
            c = documento->find(padrao, c);
        }
    }
    m_navegador->setExtraSelections(marcas);
    if (!primeiro.isNull()) {
        QTextCursor inicio(primeiro);
        inicio.clearSelection();
        m_navegador->setTextCursor(inicio);
        m_navegador->ensureCursorVisible();
    }
}

void JanelaAjuda::abreItem(QTreeWidgetItem* item)
{
    if (!item)
        return;
    const QString caminho = item->data(0, kCaminho).toString();
    if (!caminho.isEmpty())
        mostra(caminho);
    else if (item->childCount() > 0)
        item->setExpanded(true);
}

QString JanelaAjuda::tituloDe(const QString& arquivo) const
{
    if (arquivo.isEmpty())
        return {};
    const QString caminho = caminhoLimpo(arquivo);
    for (const Pagina& p : m_paginas) {
        if (p.arquivo == caminho)
            return p.titulo;
    }
    return QFileInfo(arquivo).completeBaseName();
}

void JanelaAjuda::acompanhaModal()
{
    // A modal form blocks every window that is not its own: over one, the help window becomes the form's window
    // until the form closes, so that the user can read and move through it.
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == this || (modal && modal->isAncestorOf(this)))
        return;
    if (parentWidget() == modal)
        return;
    const QRect area = geometry();
    if (m_modal)
        m_modal->removeEventFilter(this);
    m_modal = modal;
    setParent(modal, Qt::Window);
    setGeometry(area);
    if (modal)
        modal->installEventFilter(this);
}

} // namespace desktop
