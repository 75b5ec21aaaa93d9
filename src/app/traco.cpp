#include "traco.h"

#include "exportacatalogo.h"
#include "ferramentas.h"
#include "pastadedados.h"
#include "sobre.h"

#include "calc/abrams.h"
#include "calc/carregatraco.h"
#include "calc/numericentry.h"
#include "catalogue/consultas.h"
#include "catalogue/tabelaprodutos.h"
#include "catalogview/listatracos.h"
#include "charts/janelaabrams.h"
#include "desktop/ajuda.h"
#include "desktop/dialogs.h"
#include "desktop/mostraerro.h"
#include "desktop/posicao.h"
#include "desktop/shell.h"
#include "desktop/som.h"
#include "platform/aplicacao.h"
#include "platform/database.h"
#include "platform/errorlog.h"
#include "platform/paths.h"
#include "preview/imptraco.h"
#include "preview/janeladabetonada.h"
#include "preview/janeladacomparacao.h"
#include "preview/previatraco.h"
#include "preview/visualiza.h"
#include "preview/visualizador.h"
#include "printing/ficha.h"
#include "settings/formco2.h"
#include "settings/formcons.h"
#include "settings/formmass.h"
#include "widgets/caixatexto.h"
#include "wizard/mago.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QWhatsThis>

#include <memory>

namespace app {

namespace {

using desktop::Dialogs;
using platform::DbError;

const QString kStatusPadrao = QStringLiteral("Barra de Informações - Pressione <F1> para ajuda");
// The help page of the list of mixes.
constexpr int kTopicoLista = 4003;
// The narrowest the list beside the form shows its columns usefully.
constexpr int kLarguraDaLista = 420;
const QString kSufixoMorto = QStringLiteral("   [Arq. Mortos Carregados]");
const QString kSufixoSomenteLeitura = QStringLiteral("   [Somente Leitura]");
// The tools that write the catalogue, never run while it is open for browsing only.
const QStringList kEscrevem{QStringLiteral("ID_AssistentedeTraços"),
                            QStringLiteral("ID_Incluir"),
                            QStringLiteral("ID_Alterar"),
                            QStringLiteral("ID_Excluir"),
                            QStringLiteral("ID_Gravar"),
                            QStringLiteral("ID_AtualizarCustos")};

QIcon iconeDe(const QString& id, QStyle* estilo)
{
    static const QHash<QString, QStyle::StandardPixmap> icones{
        {QStringLiteral("ID_Gravar"), QStyle::SP_DialogSaveButton},
        {QStringLiteral("ID_Cancelar"), QStyle::SP_DialogCancelButton},
        {QStringLiteral("ID_Sair"), QStyle::SP_DialogCloseButton},
        {QStringLiteral("ID_Incluir"), QStyle::SP_FileIcon},
        {QStringLiteral("ID_Alterar"), QStyle::SP_FileDialogDetailedView},
        {QStringLiteral("ID_Excluir"), QStyle::SP_TrashIcon},
        {QStringLiteral("ID_Tracos"), QStyle::SP_DirHomeIcon},
        {QStringLiteral("ID_MassasEspecíficas"), QStyle::SP_FileDialogContentsView},
        {QStringLiteral("ID_AbatimentodoConcreto"), QStyle::SP_FileDialogListView},
        {QStringLiteral("ID_AssistentedeTraços"), QStyle::SP_CommandLink},
        {QStringLiteral("ID_Oqueéisto?"), QStyle::SP_TitleBarContextHelpButton},
        {QStringLiteral("ID_AjudadoPrograma"), QStyle::SP_DialogHelpButton},
        {QStringLiteral("ID_SomenteEste"), QStyle::SP_FileDialogInfoView},
    };
    const auto it = icones.constFind(id);
    return it == icones.cend() ? QIcon() : estilo->standardIcon(it.value());
}

// The executable's name, under which the window placement is kept.
QString nomeDoExecutavel()
{
    const QString nome = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    return nome.isEmpty() ? platform::Aplicacao::titulo() : nome;
}

} // namespace

Traco::Traco(platform::Database& db, QWidget* parent) : QMainWindow(parent), m_db(db)
{
    setObjectName(QStringLiteral("Traco"));
    setWindowTitle(platform::Aplicacao::titulo());
    montaComandos();
    m_form = new mixform::FormTraco(m_db, estado, this);
    setCentralWidget(m_form);
    m_form->defineJanela(this);
    m_form->defineMenuBotao([this](QWidget* w) { MenuBotao(w); });
    m_form->defineEnter([this] { Enter(); });
    m_form->defineGraficoAbrams([this] { MostrandoAbrams(); });
    connect(m_form, &mixform::FormTraco::registro, this,
            [this](const QString& texto) { m_paineis[2]->setText(texto); });
    m_lista = new catalogview::ListaTracos(m_db, this);
    addDockWidget(Qt::RightDockWidgetArea, m_lista);
    m_lista->hide();
    connect(m_lista, &catalogview::ListaTracos::escolhido, this, &Traco::mostraDaLista);
    connect(m_form, &mixform::FormTraco::catalogoAlterado, m_lista, &catalogview::ListaTracos::recarrega);
    // The comparison reads the mixes by their keys: the form stays on its mix, editing or not.
    m_lista->defineComparacao([this](const QList<qint64>& codigos) {
        ocupado = true;
        preview::mostraComparacao(this, m_db, codigos, logotipo);
        ocupado = false;
    });
    montaFerramentas();
    montaBarraDeStatus();
    qApp->installEventFilter(this);
    configura();
}

Traco::~Traco()
{
    qApp->removeEventFilter(this);
}

void Traco::montaFerramentas()
{
    for (const Ferramenta& f : Ferramentas::todas()) {
        auto* acao = new QAction(iconeDe(f.id, style()), f.legenda, this);
        acao->setObjectName(f.id);
        acao->setToolTip(f.dicaFlutuante.isEmpty() ? QString(f.legenda).remove(QLatin1Char('&')) : f.dicaFlutuante);
        acao->setWhatsThis(f.dica);
        connect(acao, &QAction::triggered, this, [this, id = f.id] { executa(id); });
        connect(acao, &QAction::hovered, this, [this, dica = f.dica] {
            desktop::TocaSom(desktop::Som::MouseMove);
            if (!dica.isEmpty())
                MostraStatus(dica);
        });
        m_acoes.insert(f.id, acao);
    }
    m_acoes.value(QStringLiteral("ID_Tracos"))->setCheckable(true);
    m_acoes.value(QStringLiteral("ID_Tracos"))->setChecked(true);
    // The tool's mark follows the list. The window's own members are not used: closing the window while it is
    // destroyed hides the list after they are gone.
    QAction* ferramentaDaLista = m_acoes.value(QStringLiteral("ID_ListaTracos"));
    ferramentaDaLista->setCheckable(true);
    connect(m_lista, &QDockWidget::visibilityChanged, ferramentaDaLista,
            [ferramentaDaLista, lista = m_lista] { ferramentaDaLista->setChecked(lista->isVisible()); });

    const auto preenche = [this](QWidget* destino, const QStringList& itens) {
        for (const QString& id : itens) {
            if (id.isEmpty()) {
                auto* separador = new QAction(destino);
                separador->setSeparator(true);
                destino->addAction(separador);
            } else {
                destino->addAction(m_acoes.value(id));
            }
        }
    };
    for (const Grupo& g : Ferramentas::menus()) {
        QMenu* menu = menuBar()->addMenu(g.legenda);
        menu->setObjectName(g.id);
        menu->menuAction()->setObjectName(g.id);
        preenche(menu, g.itens);
        connect(menu, &QMenu::aboutToHide, this, [this] { MostraStatus(QString()); });
        m_menus.insert(g.id, menu);
    }
    for (int i = 0; i < 2; ++i) {
        const Grupo& g = i == 0 ? Ferramentas::barra1() : Ferramentas::barra2();
        m_barras[i] = addToolBar(g.legenda);
        m_barras[i]->setObjectName(g.id);
        m_barras[i]->setMovable(false);
        m_barras[i]->setFloatable(false);
        m_barras[i]->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        m_barras[i]->setIconSize(QSize(24, 24));
        preenche(m_barras[i], g.itens);
        m_barras[i]->installEventFilter(this);
    }
    m_editarE = new QMenu(Ferramentas::menuEditarE().legenda, this);
    m_editarE->setObjectName(Ferramentas::menuEditarE().id);
    preenche(m_editarE, Ferramentas::menuEditarE().itens);
    m_arquivoE = new QMenu(Ferramentas::menuArquivoE().legenda, this);
    m_arquivoE->setObjectName(Ferramentas::menuArquivoE().id);
    preenche(m_arquivoE, Ferramentas::menuArquivoE().itens);
    for (QMenu* m : {m_editarE, m_arquivoE})
        connect(m, &QMenu::aboutToHide, this, [this] { MostraStatus(QString()); });

    for (auto it = m_acoes.cbegin(); it != m_acoes.cend(); ++it)
        habilita(it.key(), true);
}

void Traco::montaBarraDeStatus()
{
    for (int i = 0; i < 4; ++i) {
        m_paineis[i] = new QLabel(this);
        m_paineis[i]->setObjectName(QStringLiteral("Status%1").arg(i + 1));
        m_paineis[i]->setFrameShape(QFrame::StyledPanel);
        m_paineis[i]->setFrameShadow(QFrame::Sunken);
    }
    m_paineis[1]->setMinimumWidth(1);
    m_paineis[2]->setMinimumWidth(133);
    m_paineis[2]->setAlignment(Qt::AlignCenter);
    m_paineis[3]->setMinimumWidth(167);
    m_paineis[3]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    statusBar()->addWidget(m_paineis[0], 3);
    statusBar()->addWidget(m_paineis[1], 1);
    statusBar()->addPermanentWidget(m_paineis[2]);
    statusBar()->addPermanentWidget(m_paineis[3]);
}

QString Traco::textoPainel(int painel) const
{
    return painel >= 1 && painel <= 4 ? m_paineis[painel - 1]->text() : QString();
}

void Traco::MostraStatus(const QString& texto)
{
    // With nothing to say, the panel goes back to what lasts: the mode while a mix is inserted or edited, else the
    // help hint. So a tip shown while hovering a tool or a menu never wipes out the mode.
    if (!texto.isEmpty())
        m_paineis[0]->setText(texto);
    else if (m_form && m_form->inserindo)
        m_paineis[0]->setText(QStringLiteral("Inserindo novo registro"));
    else if (m_form && m_form->alterando)
        m_paineis[0]->setText(QStringLiteral("Alterando Registro"));
    else
        m_paineis[0]->setText(kStatusPadrao);
}

void Traco::habilita(const QString& id, bool habilitado)
{
    m_desejado.insert(id, habilitado);
    if (QAction* acao = m_acoes.value(id))
        acao->setEnabled(habilitado && m_comandos.contains(id));
    else if (QMenu* menu = m_menus.value(id))
        menu->menuAction()->setEnabled(habilitado);
}

void Traco::configura()
{
    // Each step of the set-up: a record that is not there is passed over, a damaged record ends the window, any
    // other error is logged and ends the set-up.
    enum class Resultado { Segue, Para };
    const auto passo = [this](const auto& acao) {
        try {
            acao();
            return Resultado::Segue;
        } catch (const DbError& erro) {
            if (erro.numero() == platform::SemRegistroCorrente)
                return Resultado::Segue;
            m_falhou = true;
            if (erro.numero() == platform::UsoInvalidoDeNulo) {
                desktop::TocaSom(desktop::Som::Erro);
                Dialogs::aviso(QStringLiteral("Existe erro no banco de dados.\rSolicite ajuda do Adm.Sistema."),
                               QStringLiteral("Erro no Arquivo de Dados"), Dialogs::Icone::Nenhum);
            } else {
                desktop::MostraErro(QStringLiteral("Erro ao Abrir Programa"), erro.numero(), erro.descricao());
            }
            return Resultado::Para;
        }
    };

    // Window placement: as the user left it, or the whole screen, centred.
    if (!desktop::Posicao::LePosicao(this, nomeDoExecutavel())) {
        if (const QScreen* tela = QGuiApplication::primaryScreen()) {
            setWindowState(Qt::WindowNoState);
            setGeometry(tela->availableGeometry());
            m_ocupaATela = true;
        }
    }

    logotipo.clear();
    const QString pastaImagens = platform::Paths::pastaDados() + QStringLiteral("Imagens/");
    if (QFileInfo::exists(pastaImagens + QStringLiteral("logo.bmp")))
        logotipo = pastaImagens + QStringLiteral("logo.bmp");
    else if (QFileInfo::exists(pastaImagens + QStringLiteral("modelo.bmp")))
        logotipo = pastaImagens + QStringLiteral("modelo.bmp");

    moduloAIniciar = 0;
    habilita(QStringLiteral("ID_Modulo%1").arg(Ferramentas::EsteModulo), false);

    if (passo([this] {
            QSqlQuery q = m_db.exec(catalogue::Consultas::arquivoMorto(m_db).sql);
            if (!q.next())
                throw DbError(platform::SemRegistroCorrente);
            arquivoMorto = q.value(0).toBool();
        }) == Resultado::Para)
        return;
    somenteLeitura = m_db.somenteLeitura();
    if (arquivoMorto)
        setWindowTitle(windowTitle() + kSufixoMorto);
    else if (somenteLeitura)
        setWindowTitle(windowTitle() + kSufixoSomenteLeitura);
    if (somenteConsulta()) {
        for (const QString& id : kEscrevem)
            habilita(id, false);
    }

    m_form->inserindo = false;
    m_form->alterando = false;
    ocupado = false;
    estado.recalculando = false;
    m_form->magoPendente = false;
    m_form->Faixa->hide();
    usuario.clear();

    m_barras[0]->show();
    m_barras[1]->hide();
    m_paineis[3]->setText(QStringLiteral("Usuário: ") + usuario);
    MostraStatus(QString());

    if (passo([this] { m_form->abre(); }) == Resultado::Para)
        return;
    m_form->catalogo().definePosicao(m_form->totalRegistros() > 0 ? 1 : 0);
    // The list goes beside the form when the window has room for both, under it otherwise; it comes back where, as
    // large as and whether the user left it.
    addDockWidget(width() >= m_form->minimumSizeHint().width() + kLarguraDaLista ? Qt::RightDockWidgetArea
                                                                                 : Qt::BottomDockWidgetArea,
                  m_lista);
    const QSettings preferencias(QStringLiteral("Quenvar"), nomeDoExecutavel());
    restoreState(preferencias.value(QStringLiteral("Lista/Estado")).toByteArray());
    m_lista->setVisible(preferencias.value(QStringLiteral("Lista/Visivel")).toBool());

    Modo(Operacao::Visualizar);
    m_form->Pasta->setCurrentIndex(0);
    m_form->MostraNumero();
    m_pronto = true;
}

void Traco::defineFormularios(settings::FormMass* formMass, settings::FormCons* formCons, wizard::Mago* mago,
                              Sobre* sobre)
{
    m_formMass = formMass;
    m_formCons = formCons;
    m_mago = mago;
    m_sobre = sobre;
    // The consistency routines read the limits from the consistency form once it is loaded.
    if (formCons)
        m_form->defineLimites([formCons] { return formCons->limites(); });
    if (mago) {
        // The wizard designs into the program's calculation state, from the company's reference values, and shows
        // the experimental sheet of its mix on its last page.
        mago->defineEstado(&estado);
        mago->defineFolha([this](const calc::CalcState& mistura, QWidget* pai) -> QWidget* {
            auto* previa = new preview::PreviaTraco(pai);
            previa->mostraFicha(mistura, printing::OrigemDaFicha::experimental(logotipo));
            // The wizard's page is narrow: the sheet starts at the page's width.
            previa->Folha->setZoomMode(preview::Visualizador::ModoZoom::LarguraDaPagina);
            previa->Lente->setCurrentText(QStringLiteral("Pág.Larg."));
            return previa;
        });
        mago->defineImpressao([](QWidget* folha, const calc::CalcState&) {
            if (auto* previa = qobject_cast<preview::PreviaTraco*>(folha))
                previa->imprimir();
        });
        mago->defineLimites([this] { return m_form->limites(); });
        mago->defineReferencias([this] { return padroes(); });
    }
}

void Traco::barraDeEdicao(bool editando)
{
    m_barras[0]->setVisible(!editando);
    m_barras[1]->setVisible(editando);
}

calc::Padroes Traco::padroes() const
{
    calc::Padroes p;
    if (m_formMass) {
        for (int i = 0; i < calc::Padroes::NumeroDeTextos; ++i) {
            if (const widgets::CaixaTexto* caixa = m_formMass->texto(i))
                p.textos[i] = caixa->text();
        }
        p.classe = m_formMass->classeCimento()->currentText();
        p.opcaoForma = m_formMass->opcaoForma();
        p.opcaoTextura = m_formMass->opcaoTextura();
        p.tipoConcreto = m_formMass->tipoConcreto();
        p.classeAgressividade = m_formMass->classeAgressividade();
        p.estrutura = m_formMass->estrutura();
        return p;
    }
    // Before the settings form is loaded (tests of the window alone) the table holds the same values.
    try {
        QSqlQuery q = m_db.exec(catalogue::Consultas::massas(m_db).sql);
        if (q.next()) {
            for (int i = 0; i < calc::Padroes::NumeroDeTextos; ++i)
                p.textos[i] = q.value(QLatin1String(catalogue::CamposDasMassas::textos()[i])).toString();
            p.classe = q.value(QLatin1String(catalogue::CamposDasMassas::classe)).toString();
            p.opcaoForma = q.value(QLatin1String(catalogue::CamposDasMassas::forma)).toInt();
            p.opcaoTextura = q.value(QLatin1String(catalogue::CamposDasMassas::textura)).toInt();
            p.tipoConcreto = q.value(QLatin1String(catalogue::CamposDasMassas::tipo)).toInt();
            p.classeAgressividade = q.value(QLatin1String(catalogue::CamposDasMassas::agressividade)).toInt();
            p.estrutura = q.value(QLatin1String(catalogue::CamposDasMassas::estrutura)).toInt();
        }
    } catch (const DbError& erro) {
        // A new mix then starts from blank boxes, which the user fills; the log tells why.
        platform::RegistraErro(QStringLiteral("Padrões do Traço"), erro.numero(), erro.descricao());
    }
    return p;
}

void Traco::trazParaFrente()
{
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void Traco::Modo(Operacao operacao)
{
    const bool editando = operacao != Operacao::Visualizar;
    for (const char* id : {"ID_Editar", "ID_Relatórios", "ID_Visualizar"})
        habilita(QString::fromUtf8(id), !editando);
    habilita(QStringLiteral("ID_Gravar"), editando);
    habilita(QStringLiteral("ID_Cancelar"), editando);
    modoTexto = editando ? QStringLiteral("Edicao") : QStringLiteral("Normal");
    m_form->Modo(operacao);
}

void Traco::montaComandos()
{
    using Fim = mixform::FormTraco::Fim;
    m_comandos = {
        {QStringLiteral("ID_Sair"), [this] { close(); }},
        {QStringLiteral("ID_Tracos"), [this] { alternaTracos(); }},
        {QStringLiteral("ID_ListaTracos"), [this] { m_lista->setVisible(!m_lista->isVisible()); }},
        {QStringLiteral("ID_Incluir"), [this] { m_form->Inserindo(); }},
        {QStringLiteral("ID_Alterar"), [this] { m_form->Alterando(); }},
        {QStringLiteral("ID_Excluir"), [this] { m_form->Excluindo(); }},
        {QStringLiteral("ID_Gravar"), [this] { m_form->Gravando(Fim::Gravar); }},
        {QStringLiteral("ID_Cancelar"), [this] { m_form->Gravando(Fim::Cancelar); }},
        {QStringLiteral("ID_MassasEspecíficas"), [this] { RotinaMassa(); }},
        {QStringLiteral("ID_AbatimentodoConcreto"), [this] { RotinaAbatimento(); }},
        {QStringLiteral("ID_FatoresCO2"), [this] { RotinaFatoresCO2(); }},
        {QStringLiteral("ID_AssistentedeTraços"), [this] { RotinaAssistente(); }},
        {QStringLiteral("ID_AjudadoPrograma"),
         [this] {
             if (m_form->Pasta->isVisible())
                 desktop::Ajuda::MostraAjuda(m_form->Pasta->window(), 3001 + m_form->Pasta->currentIndex());
             else
                 desktop::Ajuda::MostraAjuda(this, 0);
         }},
        {QStringLiteral("ID_ConteúdoeÍndice"), [this] { desktop::Ajuda::MostraAjuda(this, 0); }},
        {QStringLiteral("ID_Novaversão"), [this] { desktop::Ajuda::MostraAjuda(this, 31020); }},
        {QStringLiteral("ID_Oqueéisto?"), [] { QWhatsThis::enterWhatsThisMode(); }},
        {QStringLiteral("ID_Oqueé"), [this] { mostraOQueE(m_controleDoMenu); }},
        {QStringLiteral("ID_Mail"),
         [] {
             desktop::Shell::abreEndereco(
                 QUrl(QStringLiteral("mailto:suporte@quenvar.com.br?Subject=Módulo Quenvar"), QUrl::TolerantMode));
         }},
        {QStringLiteral("ID_SobreoPrograma"), [this] { RotinaSobre(); }},
        {QStringLiteral("ID_ExportarCatalogo"), [this] { ExportaCatalogo::executa(this, m_db); }},
        {QStringLiteral("ID_PastaDados"), [this] { TrocandoPastaDeDados(); }},
        {QStringLiteral("ID_TodosTracos"), [this] { RotinaTodosTracos(); }},
        {QStringLiteral("ID_TracosUso"), [this] { RotinaTracosEmUso(); }},
        {QStringLiteral("ID_SomenteEste"), [this] { ImprimindoEste(); }},
        {QStringLiteral("ID_AtualizarCustos"), [this] { RotinaAtualizarCustos(); }},
        {QStringLiteral("ID_CompararVariantes"), [this] { ComparandoVariantes(); }},
        {QStringLiteral("ID_Betonada"), [this] { CalculandoBetonada(); }},
        {QStringLiteral("ID_Abrams"), [this] { MostrandoAbrams(); }},
    };
    // The module menu: the chosen module starts once this program has closed.
    for (int i = 1; i <= 10; ++i) {
        m_comandos.insert(QStringLiteral("ID_Modulo%1").arg(i), [this, i] {
            moduloAIniciar = i;
            close();
        });
    }
    // Every command is a tool of the menus and tool bars: one spelled otherwise here would never run.
    for (auto it = m_comandos.cbegin(); it != m_comandos.cend(); ++it) {
        if (!Ferramentas::procura(it.key()))
            qFatal("Comando sem ferramenta: %s", qUtf8Printable(it.key()));
    }
}

void Traco::executa(const QString& id)
{
    if (somenteConsulta() && kEscrevem.contains(id))
        return;
    desktop::TocaSom(desktop::Som::MouseClica);
    if (const auto comando = m_comandos.constFind(id); comando != m_comandos.cend())
        comando.value()();
}

void Traco::alternaTracos()
{
    if (!m_acoes.value(QStringLiteral("ID_Tracos"))->isChecked()) {
        if (m_form->Pasta->isVisible())
            m_form->Pasta->hide();
        for (const char* f : {"ID_AssistentedeTraços", "ID_Incluir", "ID_Alterar", "ID_Excluir"})
            habilita(QString::fromUtf8(f), false);
        m_form->MostraMovimento(false);
    } else {
        habilita(QStringLiteral("ID_Editar"), true);
        for (const char* f : {"ID_Incluir", "ID_Alterar", "ID_Excluir"})
            habilita(QString::fromUtf8(f), !somenteConsulta());
        RotinaTraco();
    }
}

void Traco::RotinaSobre()
{
    MostraStatus(QStringLiteral("Dados sobre o programa"));
    // The about box is loaded afresh each time it is shown.
    Sobre sobre(m_empresa, this);
    Dialogs::atual().mostraModal(&sobre);
    QCoreApplication::processEvents();
    voltaDeOutraJanela();
}

void Traco::RotinaTodosTracos()
{
    if (m_form->totalRegistros() < 1)
        Dialogs::aviso(QStringLiteral("Não existe nenhum traço cadastrado."), QStringLiteral("Nenhum traço cadastrado"),
                       Dialogs::Icone::Informacao);
    else
        MostraRelatorio(printing::TipoRelatorio::Todos);
}

void Traco::RotinaTracosEmUso()
{
    int itens = 0;
    try {
        itens = m_db.scalar(catalogue::Consultas::contaEmUso().sql).toInt();
    } catch (const DbError& erro) {
        desktop::MostraErro(QStringLiteral("Traços em Uso"), erro.numero(), erro.descricao());
        return;
    }
    if (itens > 0)
        MostraRelatorio(printing::TipoRelatorio::EmUso);
    else
        Dialogs::aviso(QStringLiteral("Não existe nenhum traço de plantão."), QStringLiteral("Nenhum traço de plantão"),
                       Dialogs::Icone::Informacao);
}

void Traco::mostraOQueE(QWidget* controle)
{
    if (!controle)
        return;
    QString texto = controle->whatsThis();
    if (texto.isEmpty())
        texto = controle->toolTip();
    if (texto.isEmpty())
        texto = QStringLiteral("Sem ajuda para este item.");
    QWhatsThis::showText(controle->mapToGlobal(controle->rect().center()), texto, controle);
}

void Traco::MostraRelatorio(printing::TipoRelatorio relatorio)
{
    if (m_mostraRelatorio)
        m_mostraRelatorio(relatorio);
    else
        preview::MostraRelatorio(relatorio, m_db, logotipo, this);
    voltaDeOutraJanela();
}

void Traco::voltaDeOutraJanela()
{
    // Another window of the program closed over the catalogue: it becomes active again, as when first shown. A mix
    // being inserted or edited is kept where it is: moving would throw the typing away.
    if (!m_form->inserindo && !m_form->alterando)
        ativacao();
}

void Traco::sobreEsteTraco(const std::function<void()>& acao)
{
    if (m_form->totalRegistros() < 1) {
        Dialogs::aviso(QStringLiteral("Não existe nenhum traço cadastrado."), QStringLiteral("Nenhum traço cadastrado"),
                       Dialogs::Icone::Informacao);
        return;
    }
    const QVariant marcador = m_form->catalogo().marcador();
    ocupado = true;
    acao();
    m_form->catalogo().voltaAoMarcador(marcador);
    m_form->MostraNumero();
    ocupado = false;
}

void Traco::ImprimindoEste()
{
    sobreEsteTraco([this] {
        if (m_imprimeEste) {
            m_imprimeEste();
            return;
        }
        // The sheet of the current mix in the preview form.
        try {
            const catalogue::TabelaProdutos produtos(m_db);
            preview::ImpTraco ficha(preview::ImpTraco::camposDe(m_form->tracos().record()), &produtos, this);
            if (!logotipo.isEmpty())
                ficha.defineLogotipo(logotipo);
            Dialogs::atual().mostraModal(&ficha);
        } catch (const DbError& erro) {
            desktop::MostraErro(QStringLiteral("Imprimindo Este"), erro.numero(), erro.descricao());
        }
    });
}

void Traco::ComparandoVariantes()
{
    sobreEsteTraco([this] {
        preview::comparaVariantes(this, m_db, m_form->tracos().record().value(QStringLiteral("NomeTraco")).toString(),
                                  logotipo);
    });
}

void Traco::CalculandoBetonada()
{
    sobreEsteTraco([this] {
        preview::mostraBetonada(this, m_db, preview::ImpTraco::camposDe(m_form->tracos().record()), logotipo);
    });
}

void Traco::TrocandoPastaDeDados()
{
    // The mix being edited is settled first: the program closes once another folder is chosen.
    if (!terminaEdicao() || !trocaPastaDeDados(this))
        return;
    pedeReinicio(true);
    if (!close())
        pedeReinicio(false);
}

void Traco::MostrandoAbrams()
{
    if (modoTexto == QLatin1String("Edicao")) {
        charts::mostraAbrams(this, calc::abramsDoTraco(estado));
        return;
    }
    sobreEsteTraco([this] {
        try {
            const catalogue::TabelaProdutos produtos(m_db);
            calc::CalcState traco;
            calc::CarregaTraco(traco, preview::ImpTraco::camposDe(m_form->tracos().record()), &produtos);
            charts::mostraAbrams(this, calc::abramsDoTraco(traco));
        } catch (const DbError& erro) {
            desktop::MostraErro(QStringLiteral("Gráfico de Abrams"), erro.numero(), erro.descricao());
        }
    });
}

void Traco::RodandoModulo(int modulo)
{
    const QStringList arquivos = Ferramentas::executaveis();
    const QString pasta = platform::Paths::comSeparador(platform::Paths::pastaPrograma());
    const QString arquivo = modulo >= 1 && modulo <= arquivos.size() ? arquivos[modulo - 1] : QString();
    moduloAIniciar = 0;
    if (!arquivo.isEmpty())
        desktop::Shell::iniciaPrograma(pasta + arquivo);
}

void Traco::RotinaTraco()
{
    if (m_form->Pasta->isHidden())
        m_form->Pasta->show();
    if (!somenteConsulta())
        habilita(QStringLiteral("ID_AssistentedeTraços"), true);
    m_form->MostraMovimento(true);
    if (m_form->totalRegistros() > 0) {
        try {
            m_form->tracos().moveFirst();
            m_form->catalogo().definePosicao(1);
        } catch (const DbError& erro) {
            platform::RegistraErro(QStringLiteral("Rotina Traço"), erro.numero(), erro.descricao());
        }
        m_form->MostraNumero();
    }
}

void Traco::MostraPasta()
{
    const bool ligada = m_acoes.value(QStringLiteral("ID_Tracos"))->isChecked();
    m_form->Pasta->setVisible(ligada);
    m_form->MostraMovimento(ligada);
}

void Traco::abreFormulario(QDialog* formulario)
{
    // The form opens over a stored mix: remember where the catalogue stood and come back to it afterwards.
    const int posicao = m_form->posicao();
    if (m_form->Pasta->isVisible())
        m_form->Pasta->hide();
    const QVariant marcador = m_form->catalogo().marcador();
    ocupado = true;
    if (formulario)
        Dialogs::atual().mostraModal(formulario);
    MostraPasta();
    ativacao();
    ocupado = false;
    QCoreApplication::processEvents();
    m_form->catalogo().definePosicao(posicao);
    m_form->catalogo().voltaAoMarcador(marcador);
    m_form->MostraNumero();
}

void Traco::RotinaAssistente()
{
    if (!m_mago)
        return;
    const int posicao = m_form->posicao();
    if (m_form->Pasta->isVisible())
        m_form->Pasta->hide();
    const QVariant marcador = m_form->catalogo().marcador();
    Dialogs::atual().mostraModal(m_mago);
    // While the wizard's mix waits to be copied the window shows nothing else.
    m_form->magoPendente = m_mago->magoPendente();
    MostraPasta();
    ativacao();
    QCoreApplication::processEvents();
    m_form->catalogo().definePosicao(posicao);
    m_form->catalogo().voltaAoMarcador(marcador);
    if (m_form->magoPendente) {
        // "Copiar Traço": the designed mix becomes a new record being inserted.
        m_form->CopiandoTraco(m_mago->respostas());
        return;
    }
    m_form->MostraNumero();
}

void Traco::RotinaMassa()
{
    abreFormulario(m_formMass);
}

void Traco::RotinaAbatimento()
{
    abreFormulario(m_formCons);
}

void Traco::RotinaFatoresCO2()
{
    std::unique_ptr<settings::FormCO2> form;
    try {
        form = std::make_unique<settings::FormCO2>(m_db, this);
    } catch (const platform::DbError& erro) {
        desktop::MostraErro(QStringLiteral("Fatores de Emissão"), erro.numero(), erro.descricao());
        return;
    }
    // New factors change the CO2 of the mix shown and of every line of the list.
    connect(form.get(), &settings::FormCO2::atualizaVista, this, [this] {
        m_form->esqueceProdutos();
        m_lista->recarrega();
    });
    abreFormulario(form.get());
}

void Traco::ativacao()
{
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    if (ocupado)
        return;
    if (m_form->totalRegistros() != 0) {
        m_form->catalogo().definePosicao(1);
        m_form->Movimenta(mixform::FormTraco::Ultimo);
        m_form->Movimenta(mixform::FormTraco::Primeiro);
    }
    modoTexto = QStringLiteral("Normal");
}

void Traco::Enter()
{
    if (m_form->inserindo || m_form->alterando)
        focusNextChild();
}

void Traco::MenuBotao(QWidget* controle)
{
    m_controleDoMenu = controle;
    QMenu* menu = m_form->Movimento[0]->isVisible() ? m_editarE : m_arquivoE;
    m_ultimoMenuBotao = menu->objectName();
    menu->exec(QCursor::pos());
    m_controleDoMenu = nullptr;
}

void Traco::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_ocupaATela) {
        // The whole screen includes the title bar and borders: once they are known, the window's frame fills it.
        m_ocupaATela = false;
        const QMargins moldura(geometry().left() - frameGeometry().left(), geometry().top() - frameGeometry().top(),
                               frameGeometry().right() - geometry().right(),
                               frameGeometry().bottom() - geometry().bottom());
        if (const QScreen* tela = screen(); tela && !moldura.isNull())
            setGeometry(tela->availableGeometry().marginsRemoved(moldura));
    }
    if (!m_ativadaUmaVez) {
        m_ativadaUmaVez = true;
        ativacao();
    }
}

void Traco::teclaDaJanela(QKeyEvent* evento, QWidget* alvo, bool& consumida)
{
    // Esc in the list's search box empties it.
    if (evento->key() == Qt::Key_Escape && alvo == m_lista->Procura && !m_lista->Procura->text().isEmpty())
        return;
    if (evento->key() == Qt::Key_Escape) {
        consumida = true;
        if (modoTexto == QLatin1String("Normal")) {
            if (Dialogs::atual().mensagem(QStringLiteral("Quer sair do programa?"), QStringLiteral("Finalizando"),
                                          Dialogs::Icone::Pergunta, Dialogs::Botoes::SimNao,
                                          Dialogs::Resposta::Nao) == Dialogs::Resposta::Sim)
                close();
        } else if (modoTexto == QLatin1String("Edicao")) {
            // Escape while editing is the cancel command.
            if (QAction* cancelar = m_acoes.value(QStringLiteral("ID_Cancelar")); cancelar && cancelar->isEnabled())
                cancelar->trigger();
        }
    } else if (evento->key() == Qt::Key_F1) {
        consumida = true;
        QWidget* foco = QApplication::focusWidget() ? QApplication::focusWidget() : alvo;
        desktop::Ajuda::MostraAjuda(foco ? foco->window() : this,
                                    m_lista->isAncestorOf(foco) ? kTopicoLista : m_form->topicoAjuda(foco));
    }
}

bool Traco::eventFilter(QObject* objeto, QEvent* evento)
{
    // The window sees its keys before its controls do.
    if (evento->type() == QEvent::KeyPress && !QApplication::activeModalWidget() &&
        !QApplication::activePopupWidget()) {
        if (auto* alvo = qobject_cast<QWidget*>(objeto); alvo && alvo->window() == this) {
            bool consumida = false;
            teclaDaJanela(static_cast<QKeyEvent*>(evento), alvo, consumida);
            if (consumida)
                return true;
        }
    }
    if (evento->type() == QEvent::Leave && (objeto == m_barras[0] || objeto == m_barras[1]))
        MostraStatus(QString());
    return QMainWindow::eventFilter(objeto, evento);
}

bool Traco::terminaEdicao()
{
    if (!m_form->inserindo && !m_form->alterando)
        return true;
    const Dialogs::Resposta resposta = Dialogs::atual().mensagem(
        QStringLiteral("Deseja gravar as alterações do traço?"), QStringLiteral("Gravar Registro"),
        Dialogs::Icone::Pergunta, Dialogs::Botoes::SimNaoCancelar, Dialogs::Resposta::Sim);
    if (resposta == Dialogs::Resposta::Cancelar)
        return false;
    m_form->Gravando(resposta == Dialogs::Resposta::Sim ? mixform::FormTraco::Fim::Gravar
                                                        : mixform::FormTraco::Fim::Cancelar);
    // A save refused (a box to correct, another workstation's change) keeps the mix on screen.
    return !m_form->inserindo && !m_form->alterando;
}

void Traco::mostraDaLista(qint64 codigo)
{
    if (terminaEdicao())
        m_form->mostraTraco(codigo);
}

void Traco::closeEvent(QCloseEvent* event)
{
    // A mix being inserted or edited is not lost by closing the program: it is saved, left, or the program stays.
    if (!terminaEdicao()) {
        event->ignore();
        return;
    }
    desktop::Posicao::GravaPosicao(this, nomeDoExecutavel());
    if (isVisible()) {
        // The list's side, size and whether it floats come back with it.
        QSettings preferencias(QStringLiteral("Quenvar"), nomeDoExecutavel());
        preferencias.setValue(QStringLiteral("Lista/Visivel"), m_lista->isVisible());
        preferencias.setValue(QStringLiteral("Lista/Estado"), saveState());
    }
    m_fechando = true;
    m_form->fecha();
    for (QWidget* w : std::initializer_list<QWidget*>{m_sobre, m_formMass, m_formCons, m_mago}) {
        if (w)
            w->hide();
    }
    // The shared database handle lives until the main window closes.
    m_db.close();
    event->accept();
    // The other module starts once this one has put its windows away and let go of the database.
    if (moduloAIniciar > 0) {
        hide();
        RodandoModulo(moduloAIniciar);
    }
}

} // namespace app
