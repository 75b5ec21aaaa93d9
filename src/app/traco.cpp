#include "traco.h"

#include "ferramentas.h"
#include "sobre.h"

#include "calc/numericentry.h"
#include "catalogue/consultas.h"
#include "catalogue/tabelaprodutos.h"
#include "platform/ajuda.h"
#include "platform/aplicacao.h"
#include "platform/database.h"
#include "platform/dialogs.h"
#include "platform/errorlog.h"
#include "platform/paths.h"
#include "platform/posicao.h"
#include "platform/shell.h"
#include "platform/som.h"
#include "printing/ficha.h"
#include "printing/imptraco.h"
#include "printing/previatraco.h"
#include "printing/visualiza.h"
#include "printing/visualizador.h"
#include "settings/formcons.h"
#include "settings/formmass.h"
#include "widgets/caixatexto.h"
#include "wizard/mago.h"
#include "wizard/referencias.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QWhatsThis>

namespace app {

namespace {

using platform::DbError;
using platform::Dialogs;

const QString kStatusPadrao = QStringLiteral("Barra de Informações - Pressione <F1> para ajuda");
const QString kSufixoMorto = QStringLiteral("   [Arq. Mortos Carregados]");
const QString kSufixoSomenteLeitura = QStringLiteral("   [Somente Leitura]");
// The tools that write the catalogue, never run while it is open for browsing only.
const QStringList kEscrevem{QStringLiteral("ID_AssistentedeTraços"), QStringLiteral("ID_Incluir"),
                            QStringLiteral("ID_Alterar"), QStringLiteral("ID_Excluir"), QStringLiteral("ID_Gravar")};

// The commands this version of the program carries out; the others stay disabled whatever the mode asks.
const QStringList kConstruidas{
    QStringLiteral("ID_Sair"),
    QStringLiteral("ID_Tracos"),
    QStringLiteral("ID_MassasEspecíficas"),
    QStringLiteral("ID_AbatimentodoConcreto"),
    QStringLiteral("ID_AjudadoPrograma"),
    QStringLiteral("ID_ConteúdoeÍndice"),
    QStringLiteral("ID_Oqueéisto?"),
    QStringLiteral("ID_Oqueé"),
    QStringLiteral("ID_Novaversão"),
    QStringLiteral("ID_Incluir"),
    QStringLiteral("ID_Alterar"),
    QStringLiteral("ID_Excluir"),
    QStringLiteral("ID_Gravar"),
    QStringLiteral("ID_Cancelar"),
    QStringLiteral("ID_Mail"),
    QStringLiteral("ID_SobreoPrograma"),
    QStringLiteral("ID_AssistentedeTraços"),
    QStringLiteral("ID_SomenteEste"),
    QStringLiteral("ID_TodosTracos"),
    QStringLiteral("ID_TracosUso"),
};

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

Traco::Traco(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Traco"));
    setWindowTitle(platform::Aplicacao::titulo());
    m_construidas = QSet<QString>(kConstruidas.begin(), kConstruidas.end());
    for (int i = 1; i <= 10; ++i)
        m_construidas.insert(QStringLiteral("ID_Modulo%1").arg(i));
    m_form = new catalogue::FormTraco(platform::Database::shared(), estado, this);
    setCentralWidget(m_form);
    m_form->defineJanela(this);
    m_form->defineMenuBotao([this](QWidget* w) { MenuBotao(w); });
    m_form->defineEnter([this] { Enter(); });
    connect(m_form, &catalogue::FormTraco::registro, this,
            [this](const QString& texto) { m_paineis[2]->setText(texto); });
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
            platform::TocaSom(platform::Som::MouseMove);
            if (!dica.isEmpty())
                MostraStatus(dica);
        });
        m_acoes.insert(f.id, acao);
    }
    m_acoes.value(QStringLiteral("ID_Tracos"))->setCheckable(true);
    m_acoes.value(QStringLiteral("ID_Tracos"))->setChecked(true);

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
        acao->setEnabled(habilitado && m_construidas.contains(id));
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
                platform::TocaSom(platform::Som::Erro);
                Dialogs::aviso(QStringLiteral("Existe erro no banco de dados.\rSolicite ajuda do Adm.Sistema."),
                               QStringLiteral("Erro no Arquivo de Dados"), Dialogs::Icone::Nenhum);
            } else {
                platform::MostraErro(QStringLiteral("Erro ao Abrir Programa"), erro.numero(), erro.descricao());
            }
            return Resultado::Para;
        }
    };

    // Window placement: as the user left it, or the whole screen, centred.
    if (!platform::Posicao::LePosicao(this, nomeDoExecutavel())) {
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
            QSqlQuery q =
                platform::Database::shared().exec(catalogue::Consultas::arquivoMorto(platform::Database::shared()).sql);
            if (!q.next())
                throw DbError(platform::SemRegistroCorrente);
            arquivoMorto = q.value(0).toBool();
        }) == Resultado::Para)
        return;
    somenteLeitura = platform::Database::shared().somenteLeitura();
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
    m_form->posicao = m_form->totalRegistros > 0 ? 1 : 0;

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
            auto* previa = new printing::PreviaTraco(pai);
            previa->mostraFicha(mistura, printing::OrigemDaFicha::experimental(logotipo));
            // The wizard's page is narrow: the sheet starts at the page's width.
            previa->Folha->setZoomMode(printing::Visualizador::ModoZoom::LarguraDaPagina);
            previa->Lente->setCurrentText(QStringLiteral("Pág.Larg."));
            return previa;
        });
        mago->defineImpressao([](QWidget* folha, const calc::CalcState&) {
            if (auto* previa = qobject_cast<printing::PreviaTraco*>(folha))
                previa->imprimir();
        });
        mago->defineLimites([this] { return m_form->limites(); });
        mago->defineReferencias([this] {
            const catalogue::Padroes p = padroes();
            wizard::Referencias r;
            for (int i = 0; i < 6; ++i)
                r.massas[i] = p.textos[i];
            r.umidade = p.textos[6];
            r.maoDeObra = calc::readNumber(p.textos[7]);
            r.classe = p.classe.trimmed();
            r.tipoDosagem = p.opcaoForma;
            r.formaDaBrita = p.opcaoTextura;
            r.usoConcreto = p.tipoConcreto;
            return r;
        });
    }
}

void Traco::barraDeEdicao(bool editando)
{
    m_barras[0]->setVisible(!editando);
    m_barras[1]->setVisible(editando);
}

catalogue::Padroes Traco::padroes() const
{
    catalogue::Padroes p;
    if (m_formMass) {
        for (int i = 0; i < 9; ++i) {
            if (const widgets::CaixaTexto* caixa = m_formMass->texto(i))
                p.textos[i] = caixa->text();
        }
        p.classe = m_formMass->classeCimento()->currentText();
        p.opcaoForma = m_formMass->opcaoForma();
        p.opcaoTextura = m_formMass->opcaoTextura();
        p.tipoConcreto = m_formMass->tipoConcreto();
        return p;
    }
    // Before the settings form is loaded (tests of the window alone) the table holds the same values.
    try {
        QSqlQuery q = platform::Database::shared().exec(catalogue::Consultas::massas(platform::Database::shared()).sql);
        if (q.next()) {
            const std::array<const char*, 9> campos{"MassaCimentoEsp", "MassaCimentoApa", "MassaMiudoEsp",
                                                    "MassaMiudoApa",   "MassaGraudoEsp",  "MassaGraudoApa",
                                                    "UmidadeMiudo",    "MaodeObra",       "Perda"};
            for (int i = 0; i < 9; ++i)
                p.textos[i] = q.value(QLatin1String(campos[i])).toString();
            p.classe = q.value(QStringLiteral("Classe")).toString();
            p.opcaoForma = q.value(QStringLiteral("TipoDosagem")).toInt();
            p.opcaoTextura = q.value(QStringLiteral("FormaDaBrita")).toInt();
            p.tipoConcreto = q.value(QStringLiteral("UsoConcreto")).toInt();
        }
    } catch (const DbError&) {
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

void Traco::executa(const QString& id)
{
    if (somenteConsulta() && kEscrevem.contains(id))
        return;
    platform::TocaSom(platform::Som::MouseClica);
    if (id == QStringLiteral("ID_Sair")) {
        close();
    } else if (id == QStringLiteral("ID_Tracos")) {
        if (!m_acoes.value(id)->isChecked()) {
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
    } else if (id == QStringLiteral("ID_Incluir")) {
        m_form->Inserindo();
    } else if (id == QStringLiteral("ID_Alterar")) {
        m_form->Alterando();
    } else if (id == QStringLiteral("ID_Excluir")) {
        m_form->Excluindo();
    } else if (id == QStringLiteral("ID_Gravar")) {
        m_form->Gravando(0);
    } else if (id == QStringLiteral("ID_Cancelar")) {
        m_form->Gravando(1);
    } else if (id == QStringLiteral("ID_MassasEspecíficas")) {
        RotinaMassa();
    } else if (id == QStringLiteral("ID_AbatimentodoConcreto")) {
        RotinaAbatimento();
    } else if (id == QStringLiteral("ID_AssistentedeTraços")) {
        RotinaAssistente();
    } else if (id == QStringLiteral("ID_AjudadoPrograma")) {
        if (m_form->Pasta->isVisible())
            platform::Ajuda::MostraAjuda(m_form->Pasta->window(), 3001 + m_form->Pasta->currentIndex());
        else
            platform::Ajuda::MostraAjuda(this, 0);
    } else if (id == QStringLiteral("ID_ConteúdoeÍndice")) {
        platform::Ajuda::MostraAjuda(this, 0);
    } else if (id == QStringLiteral("ID_Novaversão")) {
        platform::Ajuda::MostraAjuda(this, 31020);
    } else if (id == QStringLiteral("ID_Oqueéisto?")) {
        QWhatsThis::enterWhatsThisMode();
    } else if (id == QStringLiteral("ID_Oqueé")) {
        mostraOQueE(m_controleDoMenu);
    } else if (id == QStringLiteral("ID_Mail")) {
        platform::Shell::abreEndereco(
            QUrl(QStringLiteral("mailto:suporte@quenvar.com.br?Subject=Módulo Quenvar"), QUrl::TolerantMode));
    } else if (id == QStringLiteral("ID_SobreoPrograma")) {
        MostraStatus(QStringLiteral("Dados sobre o programa"));
        // The about box is loaded afresh each time it is shown.
        Sobre sobre(m_empresa, this);
        Dialogs::atual().mostraModal(&sobre);
        QCoreApplication::processEvents();
        voltaDeOutraJanela();
    } else if (id == QStringLiteral("ID_TodosTracos")) {
        if (m_form->totalRegistros < 1)
            Dialogs::aviso(QStringLiteral("Não existe nenhum traço cadastrado."),
                           QStringLiteral("Nenhum traço cadastrado"), Dialogs::Icone::Informacao);
        else
            MostraRelatorio(1);
    } else if (id == QStringLiteral("ID_TracosUso")) {
        int itens = 0;
        try {
            itens = platform::Database::shared().scalar(catalogue::Consultas::contaEmUso().sql).toInt();
        } catch (const DbError&) {
        }
        if (itens > 0)
            MostraRelatorio(2);
        else
            Dialogs::aviso(QStringLiteral("Não existe nenhum traço de plantão."),
                           QStringLiteral("Nenhum traço de plantão"), Dialogs::Icone::Informacao);
    } else if (id == QStringLiteral("ID_SomenteEste")) {
        ImprimindoEste();
    } else if (id.startsWith(QStringLiteral("ID_Modulo"))) {
        moduloAIniciar = id.mid(9).toInt();
        close();
    }
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

QVariant Traco::marcadorAtual() const
{
    if (m_form->totalRegistros < 1)
        return {};
    try {
        return m_form->DadoTraco.bookmark();
    } catch (const DbError&) {
        return {};
    }
}

void Traco::voltaAoMarcador(const QVariant& marcador)
{
    if (m_form->totalRegistros < 1 || !marcador.isValid())
        return;
    try {
        m_form->DadoTraco.setBookmark(marcador);
    } catch (const DbError&) {
    }
}

void Traco::MostraRelatorio(int relatorio)
{
    if (m_mostraRelatorio)
        m_mostraRelatorio(relatorio);
    else
        printing::MostraRelatorio(relatorio, platform::Database::shared(), logotipo, this);
    voltaDeOutraJanela();
}

void Traco::voltaDeOutraJanela()
{
    // Another window of the program closed over the catalogue: it becomes active again, as when first shown. A mix
    // being inserted or edited is kept where it is: moving would throw the typing away.
    if (!m_form->inserindo && !m_form->alterando)
        ativacao();
}

void Traco::ImprimindoEste()
{
    if (m_form->totalRegistros < 1) {
        Dialogs::aviso(QStringLiteral("Não existe nenhum traço cadastrado."), QStringLiteral("Nenhum traço cadastrado"),
                       Dialogs::Icone::Informacao);
        return;
    }
    const QVariant marcador = marcadorAtual();
    ocupado = true;
    if (m_imprimeEste) {
        m_imprimeEste();
    } else {
        // The sheet of the current mix in the preview form.
        try {
            const catalogue::TabelaProdutos produtos(platform::Database::shared());
            printing::ImpTraco ficha(printing::ImpTraco::camposDe(m_form->DadoTraco.record()), &produtos, this);
            if (!logotipo.isEmpty())
                ficha.defineLogotipo(logotipo);
            Dialogs::atual().mostraModal(&ficha);
        } catch (const DbError& erro) {
            platform::MostraErro(QStringLiteral("Imprimindo Este"), erro.numero(), erro.descricao());
        }
    }
    voltaAoMarcador(marcador);
    m_form->MostraNumero();
    ocupado = false;
}

void Traco::RodandoModulo(int modulo)
{
    const QStringList arquivos = Ferramentas::executaveis();
    const QString pasta = platform::Paths::comSeparador(platform::Paths::pastaPrograma());
    const QString arquivo = modulo >= 1 && modulo <= arquivos.size() ? arquivos[modulo - 1] : QString();
    moduloAIniciar = 0;
    if (!arquivo.isEmpty())
        platform::Shell::iniciaPrograma(pasta + arquivo);
}

void Traco::RotinaTraco()
{
    if (m_form->Pasta->isHidden())
        m_form->Pasta->show();
    if (!somenteConsulta())
        habilita(QStringLiteral("ID_AssistentedeTraços"), true);
    m_form->MostraMovimento(true);
    if (m_form->totalRegistros > 0) {
        try {
            m_form->DadoTraco.moveFirst();
            m_form->posicao = 1;
        } catch (const DbError&) {
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
    const int posicao = m_form->posicao;
    if (m_form->Pasta->isVisible())
        m_form->Pasta->hide();
    const QVariant marcador = marcadorAtual();
    ocupado = true;
    if (formulario)
        Dialogs::atual().mostraModal(formulario);
    MostraPasta();
    ativacao();
    ocupado = false;
    QCoreApplication::processEvents();
    m_form->posicao = posicao;
    voltaAoMarcador(marcador);
    m_form->MostraNumero();
}

void Traco::RotinaAssistente()
{
    if (!m_mago)
        return;
    const int posicao = m_form->posicao;
    if (m_form->Pasta->isVisible())
        m_form->Pasta->hide();
    const QVariant marcador = marcadorAtual();
    Dialogs::atual().mostraModal(m_mago);
    // While the wizard's mix waits to be copied the window shows nothing else.
    m_form->magoPendente = m_mago->magoPendente();
    MostraPasta();
    ativacao();
    QCoreApplication::processEvents();
    m_form->posicao = posicao;
    voltaAoMarcador(marcador);
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

void Traco::ativacao()
{
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    if (ocupado)
        return;
    if (m_form->totalRegistros != 0) {
        m_form->posicao = 1;
        m_form->Movimenta(catalogue::FormTraco::Ultimo);
        m_form->Movimenta(catalogue::FormTraco::Primeiro);
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
        platform::Ajuda::MostraAjuda(foco ? foco->window() : this, m_form->topicoAjuda(foco));
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

void Traco::closeEvent(QCloseEvent* event)
{
    // A mix being inserted or edited is not lost by closing the program: it is saved, left, or the program stays.
    if (m_form->inserindo || m_form->alterando) {
        const Dialogs::Resposta resposta = Dialogs::atual().mensagem(
            QStringLiteral("Deseja gravar as alterações do traço?"), QStringLiteral("Gravar Registro"),
            Dialogs::Icone::Pergunta, Dialogs::Botoes::SimNaoCancelar, Dialogs::Resposta::Sim);
        if (resposta == Dialogs::Resposta::Cancelar) {
            event->ignore();
            return;
        }
        m_form->Gravando(resposta == Dialogs::Resposta::Sim ? 0 : 1);
        // A save refused (a box to correct, another workstation's change) keeps the program open on the mix.
        if (m_form->inserindo || m_form->alterando) {
            event->ignore();
            return;
        }
    }
    platform::Posicao::GravaPosicao(this, nomeDoExecutavel());
    m_fechando = true;
    m_form->fecha();
    for (QWidget* w : std::initializer_list<QWidget*>{m_sobre, m_formMass, m_formCons, m_mago}) {
        if (w)
            w->hide();
    }
    // The shared database handle lives until the main window closes.
    platform::Database::shared().close();
    event->accept();
    // The other module starts once this one has put its windows away and let go of the database.
    if (moduloAIniciar > 0) {
        hide();
        RodandoModulo(moduloAIniciar);
    }
}

} // namespace app
