#include "formtraco.h"

#include "calc/opcoes.h"
#include "catalogue/consultas.h"
#include "catalogue/schema.h"

#include "calc/calcstate.h"
#include "calc/carregatraco.h"
#include "calc/consistency.h"
#include "calc/formats.h"
#include "calc/numericentry.h"
#include "catalogue/tabelaprodutos.h"
#include "desktop/mostraerro.h"
#include "desktop/som.h"
#include "platform/clock.h"
#include "platform/database.h"
#include "platform/errorlog.h"
#include "widgets/caixatexto.h"
#include "widgets/criaopcoes.h"
#include "widgets/desenhos.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlRecord>
#include <QStackedLayout>
#include <QTabWidget>
#include <QVBoxLayout>

namespace mixform {

namespace Opcoes = calc::Opcoes;
using catalogue::Schema;

namespace {

using platform::DbError;
using widgets::CaixaTexto;

const QString kNenhum = QStringLiteral("* Nenhum *");

// Default captions of the component rows; the product rows show the product's name instead.
const std::array<const char*, 10> kComponentes{"Cimento",    "Areia Fina", "Areia Grossa", "Pedrisco",
                                               "Pedra 1",    "Aditivo 1",  "Aditivo 2",    "Água Adicional",
                                               "Água Total", "Mão-de-Obra"};
// The product list that stands over each row's caption, or -1.
const std::array<int, 10> kListaDaLinha{2, -1, -1, 3, 4, 5, 6, -1, -1, -1};

// Runs one step of showing a row; a step that fails leaves what it would have written and the next step runs.
template <typename Passo> void tenta(Passo passo)
{
    try {
        passo();
    } catch (const DbError&) {
    } catch (const std::exception&) {
    }
}

// A field that must hold a value: a Null is the engine's "invalid use of Null".
QVariant exige(const platform::RecordSet& rs, const QString& campo)
{
    const QVariant valor = rs.field(campo);
    if (valor.isNull())
        throw DbError(platform::UsoInvalidoDeNulo);
    return valor;
}

QString textoDe(const platform::RecordSet& rs, const QString& campo)
{
    return exige(rs, campo).toString();
}

double numeroDe(const platform::RecordSet& rs, const QString& campo)
{
    bool ok = false;
    const double valor = exige(rs, campo).toDouble(&ok);
    if (!ok)
        throw DbError(platform::ArgumentoInvalido);
    return valor;
}

QLabel* rotulo(const QString& texto, QWidget* pai = nullptr)
{
    auto* r = new QLabel(texto, pai);
    return r;
}

QGroupBox* quadro(const QString& titulo, const QString& nome = {})
{
    auto* q = new QGroupBox(titulo);
    if (!nome.isEmpty())
        q->setObjectName(nome);
    return q;
}

} // namespace

FormTraco::FormTraco(platform::Database& db, calc::CalcState& estado, QWidget* parent)
    : QWidget(parent), m_db(db), m_estado(estado), m_catalogo(db)
{
    setObjectName(QStringLiteral("FormTraco"));
    Pasta = new QTabWidget(this);
    Pasta->setObjectName(QStringLiteral("Pasta"));
    Pasta->setDocumentMode(false);
    m_paginas = {montaPaginaTraco(), montaPaginaComponentes(), montaPaginaResultados()};
    Pasta->addTab(m_paginas[0], QStringLiteral("&Traço"));
    Pasta->addTab(m_paginas[1], QStringLiteral("C&omponentes e Massas"));
    Pasta->addTab(m_paginas[2], QStringLiteral("Re&sultados e Custos"));
    Pasta->tabBar()->installEventFilter(this);

    const std::array<const char*, 6> dicas{"Primeiro traço",       "Traço anterior", "Traço em uso anterior",
                                           "Próximo traço em uso", "Próximo traço",  "Último traço"};
    const std::array<const char*, 6> setas{"|◀", "◀", "◀◀ Em uso", "Em uso ▶▶", "▶", "▶|"};
    for (int i = 0; i < 6; ++i) {
        Movimento[i] = new QPushButton(QString::fromUtf8(setas[i]), this);
        Movimento[i]->setObjectName(QStringLiteral("Movimento%1").arg(i));
        Movimento[i]->setToolTip(QString::fromUtf8(dicas[i]));
        Movimento[i]->setWhatsThis(QString::fromUtf8(dicas[i]));
        Movimento[i]->installEventFilter(this);
        connect(Movimento[i], &QPushButton::clicked, this, [this, i] { Movimenta(i); });
    }
    // The tab control with the six buttons in one row right under it, in the middle of the window. It grows with a
    // bigger window up to a third past its natural size, so the boxes stay near their captions; on a small screen
    // it shrinks to what its pages need at least.
    auto* corpo = new QWidget(this);
    corpo->setObjectName(QStringLiteral("Corpo"));
    auto* coluna = new QVBoxLayout(corpo);
    coluna->setContentsMargins(0, 0, 0, 0);
    coluna->setSpacing(0);
    coluna->addWidget(Pasta, 1);
    auto* linhaBotoes = new QHBoxLayout;
    linhaBotoes->setSpacing(0);
    for (QPushButton* b : Movimento)
        linhaBotoes->addWidget(b, 1);
    coluna->addLayout(linhaBotoes);
    corpo->setMaximumSize(Pasta->sizeHint().width() * 4 / 3, (Pasta->sizeHint().height() + 40) * 4 / 3);
    auto* centro = new QGridLayout(this);
    centro->setContentsMargins(8, 8, 8, 8);
    centro->addWidget(corpo, 0, 0, Qt::AlignCenter);
    corpo->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    // Right clicks on the listed kinds of control open the window's pop-up menu.
    // Over the window itself, the menu is the focused control's.
    QList<QWidget*> comMenu{this, Pasta, RotuloPlantao, RotVar, TracoCorrente, Faixa, Redutor, Reducao};
    for (QWidget* w : Betoneira)
        comMenu.append(w);
    for (QWidget* w : Combo)
        comMenu.append(w);
    for (QWidget* w : Massa)
        comMenu.append(w);
    for (QWidget* w : Movimento)
        comMenu.append(w);
    for (int i = 0; i < 10; ++i)
        comMenu << CompT[i] << CompM[i] << UnidT[i] << UnidM[i];
    for (QWidget* w : comMenu) {
        w->setContextMenuPolicy(Qt::PreventContextMenu);
        w->installEventFilter(this);
    }
    for (QComboBox* c : Combo)
        c->installEventFilter(this);
    ligaEventos();
    explicaControles();
    nomeiaControles();
    // The name list takes its keys in its own entry box.
    Combo[ListaNome]->lineEdit()->installEventFilter(this);
    TracoCorrente->installEventFilter(this);
    Faixa->hide();
}

FormTraco::~FormTraco() = default;

CaixaTexto* FormTraco::caixa(const QString& nome, bool quantidade)
{
    auto* c = new CaixaTexto(quantidade ? calc::KeyFilter::DigitsAndCommaRules : calc::KeyFilter::CommaRules);
    c->setObjectName(nome);
    connect(c, &CaixaTexto::enterPressionado, this, [this] {
        if (m_enter)
            m_enter();
    });
    return c;
}

QWidget* FormTraco::sobreposto(QWidget* baixo, QComboBox* cima)
{
    // The list stands over its box: while editing the list is shown and covers it, while viewing it is hidden.
    auto* celula = new QWidget;
    auto* pilha = new QStackedLayout(celula);
    pilha->setStackingMode(QStackedLayout::StackAll);
    pilha->setContentsMargins(0, 0, 0, 0);
    pilha->addWidget(baixo);
    pilha->addWidget(cima);
    pilha->setCurrentWidget(cima);
    celula->setMinimumHeight(std::max(baixo->sizeHint().height(), cima->sizeHint().height()));
    return celula;
}

QWidget* FormTraco::montaPaginaTraco()
{
    auto* pagina = new QWidget;
    for (int i = 0; i < 6; ++i)
        TextoC[i] = caixa(QStringLiteral("TextoC%1").arg(i), false);
    for (int i = 0; i < 9; ++i) {
        Combo[i] = new QComboBox;
        Combo[i]->setObjectName(QStringLiteral("Combo%1").arg(i));
    }
    Combo[ListaNome]->setEditable(true);
    Combo[ListaNome]->setInsertPolicy(QComboBox::NoInsert);

    // Identification: name, variant and the in-use state at a glance.
    auto* identificacao = quadro(QStringLiteral(" Traço "), QStringLiteral("Frame"));
    auto* gi = new QGridLayout(identificacao);
    gi->addWidget(rotulo(QStringLiteral("Nome do traço")), 0, 0);
    gi->addWidget(sobreposto(TextoC[CaixaNome], Combo[ListaNome]), 0, 1, 1, 3);
    RotVar = new QLabel(QStringLiteral("00"));
    RotVar->setObjectName(QStringLiteral("RotVar"));
    RotVar->setFrameShape(QFrame::StyledPanel);
    RotVar->setAlignment(Qt::AlignCenter);
    RotVar->setMinimumWidth(48);
    QFont negrito = RotVar->font();
    negrito.setBold(true);
    negrito.setPointSizeF(negrito.pointSizeF() * 1.3);
    RotVar->setFont(negrito);
    gi->addWidget(rotulo(QStringLiteral("Traço variante número")), 1, 0);
    gi->addWidget(RotVar, 1, 1, Qt::AlignLeft);

    for (int i = 0; i < 2; ++i) {
        Betoneira[i] = new QLabel;
        Betoneira[i]->setObjectName(QStringLiteral("Betoneira%1").arg(i));
        Betoneira[i]->setPixmap(widgets::Desenhos::betoneira(i == 0, 56));
        Betoneira[i]->setCursor(Qt::PointingHandCursor);
    }
    Betoneira[BetoneiraParada]->hide();
    RotuloPlantao = new QLabel(QStringLiteral("Traço Inativo"));
    RotuloPlantao->setObjectName(QStringLiteral("RotuloPlantao"));
    RotuloPlantao->setFont(negrito);
    TracoCorrente = new QCheckBox(QStringLiteral(" Este traço está em uso"));
    TracoCorrente->setObjectName(QStringLiteral("TracoCorrente"));
    TracoCorrente->hide();
    Faixa = new QLabel(QStringLiteral("Primeiro traço sempre está em uso!"));
    Faixa->setObjectName(QStringLiteral("Faixa"));
    Faixa->setStyleSheet(QStringLiteral("QLabel { background: #fff3c4; color: #6b4e00; padding: 2px 6px; "
                                        "border: 1px solid #e0c060; border-radius: 3px; }"));
    auto* uso = new QHBoxLayout;
    uso->addWidget(Betoneira[BetoneiraEmUso]);
    uso->addWidget(Betoneira[BetoneiraParada]);
    auto* usoTextos = new QVBoxLayout;
    usoTextos->addWidget(RotuloPlantao);
    usoTextos->addWidget(TracoCorrente);
    usoTextos->addWidget(Faixa);
    uso->addLayout(usoTextos);
    uso->addStretch();
    gi->addLayout(uso, 1, 2, 2, 2);
    gi->setColumnStretch(3, 1);

    auto* datas = quadro(QStringLiteral(" Datas "));
    auto* gd = new QGridLayout(datas);
    gd->addWidget(rotulo(QStringLiteral("Cadastro")), 0, 0);
    gd->addWidget(TextoC[CaixaCadastro], 0, 1);
    gd->addWidget(rotulo(QStringLiteral("Cotação")), 1, 0);
    gd->addWidget(TextoC[CaixaCotacao], 1, 1);
    TextoC[CaixaCadastro]->setPlaceholderText(QStringLiteral("dd-mm-aaaa"));
    TextoC[CaixaCotacao]->setPlaceholderText(QStringLiteral("dd-mm-aaaa"));

    // Consistency, slump and the superplasticiser's water reduction.
    auto* consistencia = quadro(QStringLiteral(" Consistência e Abatimento "));
    auto* gc = new QGridLayout(consistencia);
    gc->addWidget(rotulo(QStringLiteral("Consistência")), 0, 0);
    gc->addWidget(sobreposto(TextoC[CaixaConsistencia], Combo[ListaConsistencia]), 0, 1, 1, 2);
    gc->addWidget(rotulo(QStringLiteral("Abatimento em mm.")), 1, 0);
    gc->addWidget(sobreposto(TextoC[CaixaAbatimento], Combo[ListaAbatimento]), 1, 1, 1, 2);
    Redutor = new QLabel(QStringLiteral("Com aditivo superplastificante"));
    Redutor->setObjectName(QStringLiteral("Redutor"));
    Reducao = new QLabel(QStringLiteral("Redução de água"));
    Reducao->setObjectName(QStringLiteral("Reducao"));
    perc1 = new QLabel(QStringLiteral("%"));
    perc1->setObjectName(QStringLiteral("perc1"));
    perc2 = new QLabel(QStringLiteral("%"));
    perc2->setObjectName(QStringLiteral("perc2"));
    gc->addWidget(Redutor, 2, 0, 1, 3);
    gc->addWidget(Reducao, 3, 0);
    auto* reducao = new QHBoxLayout;
    reducao->addWidget(TextoC[CaixaReducao]);
    reducao->addWidget(perc2);
    reducao->addWidget(Combo[ListaReducao]);
    reducao->addWidget(perc1);
    gc->addLayout(reducao, 3, 1, 1, 2);
    gc->setColumnStretch(1, 1);

    // The options of the mix, each in a frame that viewing disables.
    Massa[2] = quadro(QStringLiteral(" Dosagem do Concreto"), QStringLiteral("Massa2"));
    auto* vf = new QVBoxLayout(Massa[2]);
    auto* grupoForma = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        OpcaoForma[i] = new QRadioButton(Opcoes::medicao()[i].legenda);
        OpcaoForma[i]->setObjectName(QStringLiteral("OpcaoForma%1").arg(i));
        grupoForma->addButton(OpcaoForma[i], i);
        vf->addWidget(OpcaoForma[i]);
    }
    Massa[3] = quadro(QStringLiteral(" Forma e Textura do Agregado Graúdo "), QStringLiteral("Massa3"));
    auto* vt = new QVBoxLayout(Massa[3]);
    auto* grupoTextura = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        OpcaoTextura[i] = new QRadioButton(Opcoes::textura()[i].legenda);
        OpcaoTextura[i]->setObjectName(QStringLiteral("OpcaoTextura%1").arg(i));
        grupoTextura->addButton(OpcaoTextura[i], i);
        vt->addWidget(OpcaoTextura[i]);
    }
    Massa[4] = quadro(QStringLiteral(" Concreto - Uso ou Utilização "), QStringLiteral("Massa4"));
    auto* vu = new QGridLayout(Massa[4]);
    auto* grupoUso = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        TipoConcreto[i] = new QRadioButton(Opcoes::destino()[i].legenda);
        TipoConcreto[i]->setObjectName(QStringLiteral("TipoConcreto%1").arg(i));
        grupoUso->addButton(TipoConcreto[i], i);
        vu->addWidget(TipoConcreto[i], i / 2, i % 2);
    }
    Massa[5] = quadro(QStringLiteral(" Classe Cimento "), QStringLiteral("Massa5"));
    auto* vc = new QVBoxLayout(Massa[5]);
    ClasseCimento = new QComboBox;
    ClasseCimento->setObjectName(QStringLiteral("ClasseCimento"));
    ClasseCimento->setEditable(true);
    ClasseCimento->addItems(Opcoes::classes());
    vc->addWidget(ClasseCimento);
    vc->addStretch();

    auto* grade = new QGridLayout(pagina);
    grade->addWidget(identificacao, 0, 0, 1, 2);
    grade->addWidget(datas, 0, 2);
    grade->addWidget(consistencia, 1, 0);
    grade->addWidget(Massa[5], 1, 1);
    grade->addWidget(Massa[2], 1, 2);
    grade->addWidget(Massa[3], 2, 0);
    grade->addWidget(Massa[4], 2, 1, 1, 2);
    grade->setColumnStretch(0, 3);
    grade->setColumnStretch(1, 2);
    grade->setColumnStretch(2, 3);
    grade->setRowStretch(3, 1);
    return pagina;
}

QWidget* FormTraco::montaPaginaComponentes()
{
    auto* pagina = new QWidget;
    auto* componentes = quadro(QString());
    auto* g = new QGridLayout(componentes);
    g->setHorizontalSpacing(6);
    QFont negrito = font();
    negrito.setBold(true);
    auto* tituloT = rotulo(QStringLiteral("Dosagem por Traço"));
    auto* tituloM = rotulo(QStringLiteral("Dosagem por metro cúbico"));
    tituloT->setFont(negrito);
    tituloM->setFont(negrito);
    tituloT->setAlignment(Qt::AlignCenter);
    tituloM->setAlignment(Qt::AlignCenter);
    g->addWidget(tituloT, 0, 0, 1, 3);
    g->addWidget(tituloM, 0, 4, 1, 3);
    auto* separador = new QFrame;
    separador->setFrameShape(QFrame::VLine);
    separador->setFrameShadow(QFrame::Sunken);
    g->addWidget(separador, 0, 3, 11, 1);

    // The lists of materials stand over the captions of their rows.
    for (int i = 0; i < 10; ++i) {
        CompT[i] = rotulo(QString::fromUtf8(kComponentes[i]));
        CompM[i] = rotulo(QString::fromUtf8(kComponentes[i]));
        UnidT[i] = rotulo(QString());
        UnidM[i] = rotulo(QString());
        CompT[i]->setObjectName(QStringLiteral("CompT%1").arg(i));
        CompM[i]->setObjectName(QStringLiteral("CompM%1").arg(i));
        UnidT[i]->setObjectName(QStringLiteral("UnidT%1").arg(i));
        UnidM[i]->setObjectName(QStringLiteral("UnidM%1").arg(i));
        UnidT[i]->setMinimumWidth(40);
        UnidM[i]->setMinimumWidth(40);
        TextoT[i] = caixa(QStringLiteral("TextoT%1").arg(i), true);
        TextoM[i] = caixa(QStringLiteral("TextoM%1").arg(i), true);
        for (CaixaTexto* c : {TextoT[i], TextoM[i]}) {
            c->setAlignment(Qt::AlignRight);
            c->setMaximumWidth(110);
        }
        const int lista = kListaDaLinha[std::size_t(i)];
        g->addWidget(lista >= 0 ? sobreposto(CompT[i], Combo[lista]) : CompT[i], i + 1, 0);
        g->addWidget(TextoT[i], i + 1, 1);
        g->addWidget(UnidT[i], i + 1, 2);
        g->addWidget(CompM[i], i + 1, 4);
        g->addWidget(TextoM[i], i + 1, 5);
        g->addWidget(UnidM[i], i + 1, 6);
    }
    for (int i : {7, 8}) {
        UnidT[i]->setText(QStringLiteral("Litros"));
        UnidM[i]->setText(QStringLiteral("Litros"));
    }
    UnidT[9]->setText(QStringLiteral("hh"));
    UnidM[9]->setText(QStringLiteral("hh"));
    for (int i = 1; i <= 10; ++i)
        g->setRowMinimumHeight(i, Combo[ListaCimento]->sizeHint().height() + 2);
    g->setColumnMinimumWidth(0, 200);
    g->setColumnMinimumWidth(4, 170);
    g->setColumnStretch(0, 1);
    g->setColumnStretch(4, 1);

    // Physical data of the materials and the sand's moisture.
    for (int i = 0; i < 7; ++i) {
        Texto[i] = caixa(QStringLiteral("Texto%1").arg(i), false);
        Texto[i]->setAlignment(Qt::AlignRight);
        Texto[i]->setMaximumWidth(80);
    }
    Massa[0] = quadro(QStringLiteral(" Massas Específicas e Aparentes "), QStringLiteral("Massa0"));
    auto* gm = new QGridLayout(Massa[0]);
    gm->addWidget(rotulo(QStringLiteral("Específica")), 0, 1, Qt::AlignCenter);
    gm->addWidget(rotulo(QStringLiteral("Aparente")), 0, 2, Qt::AlignCenter);
    const std::array<const char*, 3> materiais{"Cimento", "Agregado Miúdo", "Agregado Graúdo"};
    for (int i = 0; i < 3; ++i) {
        gm->addWidget(rotulo(QString::fromUtf8(materiais[i])), i + 1, 0);
        gm->addWidget(Texto[2 * i], i + 1, 1);
        gm->addWidget(Texto[2 * i + 1], i + 1, 2);
        gm->addWidget(rotulo(QStringLiteral("Kg/Litro")), i + 1, 3);
    }
    Massa[1] = quadro(QStringLiteral(" Umidade "), QStringLiteral("Massa1"));
    auto* gu = new QGridLayout(Massa[1]);
    gu->addWidget(rotulo(QStringLiteral("Umidade contida no agregado miúdo")), 0, 0);
    gu->addWidget(Texto[6], 0, 1);
    gu->addWidget(rotulo(QStringLiteral("%")), 0, 2);

    auto* lado = new QVBoxLayout;
    lado->addWidget(Massa[0]);
    lado->addWidget(Massa[1]);
    lado->addStretch();
    auto* h = new QHBoxLayout(pagina);
    h->addWidget(componentes, 3);
    h->addLayout(lado, 1);
    return pagina;
}

QWidget* FormTraco::montaPaginaResultados()
{
    auto* pagina = new QWidget;
    for (int i = 0; i < 6; ++i) {
        TextoI[i] = caixa(QStringLiteral("TextoI%1").arg(i), true);
        TextoI[i]->setAlignment(Qt::AlignRight);
        TextoI[i]->setMaximumWidth(i == 3 || i == 4 ? 320 : 200);
    }
    auto* resultados = quadro(QStringLiteral(" Características do Traço "));
    auto* g = new QGridLayout(resultados);
    const auto linha = [g](int l, const QString& texto, QWidget* caixa, const QString& unidade) {
        g->addWidget(rotulo(texto), l, 0);
        g->addWidget(caixa, l, 1);
        g->addWidget(rotulo(unidade), l, 2);
    };
    linha(0, QStringLiteral("Traço em Proporções em Massa"), TextoI[3],
          QStringLiteral("cimento : areia : brita : água"));
    linha(1, QStringLiteral("Traço em Proporções em Volume"), TextoI[4],
          QStringLiteral("cimento : areia : brita : água adicional"));
    linha(2, QStringLiteral("Relação agregado/cimento"), TextoI[1], QString());
    linha(3, QStringLiteral("Peso por m3"), TextoI[0], QStringLiteral("Kg"));
    linha(4, QStringLiteral("Peso por traço"), TextoI[2], QStringLiteral("Kg"));
    linha(5, QStringLiteral("Resistência característica (fck)"), TextoI[5], QStringLiteral("MPa"));
    // The strength law the fck comes from, with the mix on it, beside the fck.
    GraficoAbrams = new QPushButton(QStringLiteral("Gráfico de A&brams…"));
    GraficoAbrams->setObjectName(QStringLiteral("GraficoAbrams"));
    connect(GraficoAbrams, &QPushButton::clicked, this, [this] {
        if (m_graficoAbrams)
            m_graficoAbrams();
    });
    g->addWidget(GraficoAbrams, 5, 3, Qt::AlignLeft);
    g->setColumnStretch(3, 1);

    auto* custos = quadro(QStringLiteral(" Custo do Metro Cúbico "));
    auto* gc = new QGridLayout(custos);
    const std::array<const char*, 3> rotulos{"Custo sem perdas", "Perdas, sobras", "Custo com perdas"};
    const std::array<const char*, 3> unidades{"R$ por m3", "%", "R$ por m3"};
    for (int i = 0; i < 3; ++i) {
        Custo[i] = caixa(QStringLiteral("Custo%1").arg(i), true);
        Custo[i]->setAlignment(Qt::AlignRight);
        Custo[i]->setMaximumWidth(140);
        Custo[i]->setReadOnly(true);
        gc->addWidget(rotulo(QString::fromUtf8(rotulos[i])), i, 0);
        gc->addWidget(Custo[i], i, 1);
        gc->addWidget(rotulo(QString::fromUtf8(unidades[i])), i, 2);
    }
    gc->setColumnStretch(3, 1);
    TextoCO2 = new QLabel;
    TextoCO2->setObjectName(QStringLiteral("TextoCO2"));
    TextoCO2->setTextInteractionFlags(Qt::TextSelectableByMouse);
    gc->addWidget(TextoCO2, 3, 0, 1, 4);

    Durabilidade = quadro(QStringLiteral(" Durabilidade - Agressividade do Ambiente "));
    Durabilidade->setObjectName(QStringLiteral("Durabilidade"));
    ClasseAgressividade =
        widgets::criaLista(QStringLiteral("ClasseAgressividade"), Opcoes::escolhas(Opcoes::agressividade()));
    Estrutura = widgets::criaLista(QStringLiteral("Estrutura"), Opcoes::escolhas(Opcoes::estrutura()));
    TextoDurabilidade = new QLabel;
    TextoDurabilidade->setObjectName(QStringLiteral("TextoDurabilidade"));
    TextoDurabilidade->setWordWrap(true);
    auto* gd = new QGridLayout(Durabilidade);
    gd->addWidget(rotulo(QStringLiteral("Classe de agressividade")), 0, 0);
    gd->addWidget(ClasseAgressividade, 0, 1);
    gd->addWidget(rotulo(QStringLiteral("Estrutura")), 1, 0);
    gd->addWidget(Estrutura, 1, 1);
    gd->addWidget(TextoDurabilidade, 2, 0, 1, 3);
    gd->setColumnStretch(2, 1);
    // Another class is checked at once, as any other change of the mix.
    for (QComboBox* escolha : {ClasseAgressividade, Estrutura})
        connect(escolha, &QComboBox::currentIndexChanged, this, [this] { ReCalculo(); });

    auto* v = new QVBoxLayout(pagina);
    v->addWidget(resultados);
    // Costs and durability side by side, so the page is no taller than the others.
    auto* baixo = new QHBoxLayout;
    baixo->addWidget(custos);
    baixo->addWidget(Durabilidade, 1);
    v->addLayout(baixo);
    v->addStretch();
    return pagina;
}

calc::ConsistencyLimits FormTraco::limites() const
{
    if (m_limites)
        return m_limites();
    // Before the consistency form is loaded the limits are read from its table.
    calc::ConsistencyLimits limites;
    try {
        QSqlQuery q = m_db.exec(Consultas::consistencias(m_db).sql);
        if (q.next())
            limites = calc::ConsistencyLimits::fromTexts(q.value(0).toString(), q.value(1).toString(),
                                                         q.value(2).toString(), q.value(3).toString());
    } catch (const DbError& erro) {
        // The usual limits then name the consistency; the log tells why the company's were not read.
        platform::RegistraErro(QStringLiteral("Limites de Consistência"), erro.numero(), erro.descricao());
    }
    return limites;
}

QStringList FormTraco::consulta(const QString& sql)
{
    QStringList nomes;
    QSqlQuery q = m_db.exec(sql);
    while (q.next()) {
        const QVariant nome = q.value(0);
        if (!nome.isNull())
            nomes.append(nome.toString());
    }
    return nomes;
}

void FormTraco::preencheLista(QComboBox* lista, const QStringList& itens)
{
    lista->clear();
    lista->addItems(itens);
}

void FormTraco::preencheListas()
{
    preencheLista(Combo[ListaCimento], consulta(Consultas::listaCimentos().sql));
    preencheLista(Combo[ListaConsistencia], calc::consistencyClasses());
    QStringList graudos = consulta(Consultas::listaGraudos().sql);
    graudos.append(kNenhum);
    preencheLista(Combo[ListaGraudo1], graudos);
    preencheLista(Combo[ListaGraudo2], graudos);
    QStringList aditivos = consulta(Consultas::listaAditivos().sql);
    aditivos.append(kNenhum);
    preencheLista(Combo[ListaAditivo1], aditivos);
    preencheLista(Combo[ListaAditivo2], aditivos);
    mostraNomes();
    // Percentages of water a superplasticiser saves.
    preencheLista(Combo[ListaReducao],
                  {QStringLiteral("0"), QStringLiteral("5"), QStringLiteral("8"), QStringLiteral("10"),
                   QStringLiteral("12"), QStringLiteral("15"), QStringLiteral("18"), QStringLiteral("20"),
                   QStringLiteral("25"), QStringLiteral("30")});
}

void FormTraco::abre()
{
    m_catalogo.abre();

    // The date of the price list: that of the first product, today when there is none.
    const Consulta cotacao = Consultas::dataDosPrecos(m_db);
    const QDate data = m_db.scalar(cotacao.sql, cotacao.valores).toDate();
    dataPrecoCusto = data.isValid() ? data : platform::Clock::hoje();
    preencheListas();
}

void FormTraco::fecha()
{
    m_catalogo.fecha();
}

int FormTraco::ProcuraNaLista(const QComboBox* lista, const QString& texto)
{
    if (!lista || lista->count() == 0)
        return 0;
    // Compared as the catalogue compares names: without the blanks around them and without regard to case.
    const QString procurado = texto.trimmed();
    for (int i = 0; i < lista->count(); ++i) {
        if (lista->itemText(i).trimmed().compare(procurado, Qt::CaseInsensitive) == 0)
            return i + 1;
    }
    return 0;
}

int FormTraco::topicoAjuda(const QWidget* controle) const
{
    for (int i = 0; i < m_paginas.size(); ++i) {
        if (controle == m_paginas[i] || m_paginas[i]->isAncestorOf(controle))
            return 3001 + i;
    }
    return controle == Pasta ? 3001 + Pasta->currentIndex() : 0;
}

double FormTraco::custo(int i) const
{
    return Custo[i]->property("valor").toDouble();
}

void FormTraco::defineCusto(int i, double valor)
{
    Custo[i]->setProperty("valor", valor);
    const QLocale local;
    Custo[i]->mostra(i == 1 ? calc::formatFull(valor) : local.toString(valor, 'f', 2));
}

void FormTraco::limpaTela()
{
    for (CaixaTexto* c : findChildren<CaixaTexto*>())
        c->clear();
    for (int i = 0; i < 3; ++i)
        Custo[i]->setProperty("valor", 0.0);
    RotVar->setText(QStringLiteral("00"));
    RotuloPlantao->setText(QStringLiteral("Traço Inativo"));
}

void FormTraco::Modo(Operacao operacao)
{
    const bool editando = operacao != Operacao::Visualizar;
    for (QGroupBox* m : Massa)
        m->setEnabled(editando);
    ClasseAgressividade->setEnabled(editando);
    Estrutura->setEnabled(editando);
    if (!editando) {
        for (int i = 0; i < 10; ++i) {
            TextoT[i]->setReadOnly(true);
            TextoM[i]->setReadOnly(true);
        }
        for (CaixaTexto* c : TextoC) {
            c->setReadOnly(true);
            c->show();
            c->setFocusPolicy(Qt::StrongFocus);
        }
        for (QComboBox* c : Combo)
            c->hide();
        for (CaixaTexto* c : Custo)
            c->setReadOnly(true);
        Redutor->hide();
        perc1->hide();
        perc2->show();
        // The registration date is a plain text while viewing, an entry with its pattern while editing.
        TextoC[CaixaCadastro]->setFrame(false);
        TracoCorrente->hide();
        RotuloPlantao->show();
        return;
    }
    for (int i = 0; i < 10; ++i) {
        TextoT[i]->setReadOnly(false);
        TextoM[i]->setReadOnly(true);
        TextoT[i]->show();
        TextoM[i]->show();
        CompM[i]->show();
        UnidM[i]->show();
        CompT[i]->show();
        UnidT[i]->show();
        if (operacao == Operacao::Inserir) {
            TextoT[i]->clear();
            TextoM[i]->clear();
        }
    }
    for (QComboBox* c : Combo)
        c->show();
    for (CaixaTexto* c : TextoC)
        c->setReadOnly(false);
    // The boxes under the name, consistency and slump lists are covered by them: Tab passes them by.
    for (CaixaTexto* c : {TextoC[CaixaNome], TextoC[CaixaConsistencia], TextoC[CaixaAbatimento]})
        c->setFocusPolicy(Qt::NoFocus);
    TextoT[7]->setReadOnly(true);
    TextoT[8]->setReadOnly(true);
    Custo[CustoPerda]->setReadOnly(false);
    Redutor->show();
    perc1->show();
    perc2->hide();
    TextoC[CaixaReducao]->hide();
    TextoC[CaixaCadastro]->setFrame(true);
    TracoCorrente->show();
    RotuloPlantao->hide();
}

void FormTraco::mostraQuantidades(int linha, const QString& campoTraco, const QString& campoMetro)
{
    tenta([&] { TextoT[linha]->mostra(calc::formatQuantity(numeroDe(tracos(), campoTraco))); });
    tenta([&] { TextoM[linha]->mostra(calc::formatQuantity(numeroDe(tracos(), campoMetro))); });
}

void FormTraco::mostraLinhaDeProduto(int linha, const QString& campoCodigo, const QString& campoTraco,
                                     const QString& campoMetro)
{
    tenta([&] {
        const QVariant codigo = tracos().field(campoCodigo);
        if (codigo.isNull())
            return; // the row stays as it was shown
        bool numero = false;
        const qint64 codigoProduto = codigo.toLongLong(&numero);
        const std::optional<calc::ProductInfo> produto = numero ? m_produtos->findByCode(codigoProduto) : std::nullopt;
        if (!produto) {
            CompT[linha]->clear();
            CompM[linha]->clear();
            UnidT[linha]->clear();
            UnidM[linha]->clear();
            nomeiaLinha(linha);
            TextoT[linha]->hide();
            TextoM[linha]->hide();
            TextoT[linha]->clear();
            TextoM[linha]->clear();
            return;
        }
        const QString& nome = produto->name;
        CompT[linha]->setText(nome);
        CompM[linha]->setText(nome);
        nomeiaLinha(linha);
        TextoT[linha]->show();
        TextoM[linha]->show();
        mostraQuantidades(linha, campoTraco, campoMetro);
        if (linha == 0) {
            UnidT[0]->setText(QStringLiteral("Kg"));
            UnidM[0]->setText(QStringLiteral("Kg"));
        } else if (linha >= 5) {
            UnidT[linha]->setText(produto->unit);
            UnidM[linha]->setText(produto->unit);
        }
    });
}

void FormTraco::MostraNumero()
{
    if (magoPendente)
        return;

    tenta([&] {
        QString contador;
        if (tracos().editMode() != platform::RecordSet::EditMode::Adicionando) {
            if (!tracos().bof()) {
                contador = tracos().eof() ? QStringLiteral("%1/%1").arg(totalRegistros())
                                          : QStringLiteral("%1/%2").arg(posicao()).arg(totalRegistros());
            } else {
                contador = totalRegistros() >= 1 ? QStringLiteral("1/%1").arg(totalRegistros()) : QStringLiteral("0/0");
            }
        }
        if (!contador.isEmpty())
            emit registro(QStringLiteral("Registro ") + contador);
    });

    const bool temLinhas = totalRegistros() > 0;
    if (temLinhas) {
        tenta([&] {
            const bool emUso = tracos().field(QStringLiteral("Plantao")).toBool();
            RotuloPlantao->setText(emUso ? QStringLiteral("Traço em Uso") : QStringLiteral("Traço Inativo"));
            Betoneira[BetoneiraEmUso]->setVisible(emUso);
            Betoneira[BetoneiraParada]->setVisible(!emUso);
            TracoCorrente->setChecked(emUso);
        });
        tenta([&] { TextoC[CaixaNome]->mostra(textoDe(tracos(), QStringLiteral("NomeTraco"))); });
        tenta([&] {
            const QString fator = textoDe(tracos(), QStringLiteral("Fator"));
            TextoC[CaixaConsistencia]->mostra(calc::ClasseConsistencia(fator, limites()));
            TextoC[CaixaAbatimento]->mostra(fator);
        });
        // Each field in its own step: one that cannot be shown leaves only its own box as it was.
        const std::array<const char*, 3> textos{"DataCadastro", "DataCotacao", "ReducaoAgua"};
        for (int i = 0; i < 3; ++i)
            tenta([&] { TextoC[CaixaCadastro + i]->mostra(textoDe(tracos(), QLatin1String(textos[std::size_t(i)]))); });
        const std::array<const char*, 6> resultados{"Peso",      "RelAgregCimento", "PesoTraco",
                                                    "PropMassa", "PropVolume",      "Resistencia"};
        for (int i = 0; i < 6; ++i)
            tenta([&] { TextoI[i]->mostra(textoDe(tracos(), QLatin1String(resultados[std::size_t(i)]))); });
        const std::array<const char*, 3> custos{"PrecoCustoSemPerda", "Perda", "PrecoCustoComPerda"};
        for (int i = 0; i < 3; ++i)
            tenta([&] { defineCusto(i, numeroDe(tracos(), QLatin1String(custos[std::size_t(i)]))); });
        tenta([&] { OpcaoForma.at(numeroDe(tracos(), QStringLiteral("Volumetrico")))->setChecked(true); });
        tenta([&] {
            // The mix as stored, for its durability: a field the row lacks (a product name) reads as empty.
            calc::CalcState lido;
            const auto campo = [this](const QString& nome) {
                try {
                    return tracos().field(nome);
                } catch (const DbError&) {
                    return QVariant();
                }
            };
            calc::CarregaTraco(lido, campo, m_produtos.get());
            mostraDurabilidade(lido);
            mostraCO2(lido);
        });
        tenta([&] { RotVar->setText(calc::padded(qint64(numeroDe(tracos(), QStringLiteral("TracoVariante"))), 2)); });
        tenta([&] {
            const QVariant reducao = tracos().field(QStringLiteral("ReducaoAgua"));
            const double numero = calc::readNumber(reducao.toString());
            m_estado.superplastificante = numero > 0;
            m_estado.r = numero > 0 ? numero / 100.0 : 0.0;
        });
        tenta([&] { ClasseCimento->setCurrentText(textoDe(tracos(), QStringLiteral("Classe"))); });
        mostraLinhaDeProduto(0, QStringLiteral("TracoCimentoCod"), QStringLiteral("TracoCimento"),
                             QStringLiteral("Cimento"));
        mostraQuantidades(1, QStringLiteral("TracoAreiaFina"), QStringLiteral("AreiaFina"));
        mostraQuantidades(2, QStringLiteral("TracoAreiaGrossa"), QStringLiteral("AreiaGrossa"));
        mostraLinhaDeProduto(3, QStringLiteral("TracoGraudoCod1"), QStringLiteral("TracoGraudoQde1"),
                             QStringLiteral("Graudo1"));
        mostraLinhaDeProduto(4, QStringLiteral("TracoGraudoCod2"), QStringLiteral("TracoGraudoQde2"),
                             QStringLiteral("Graudo2"));
        mostraLinhaDeProduto(5, QStringLiteral("TracoAditivoCod1"), QStringLiteral("TracoAditivoQde1"),
                             QStringLiteral("AditivoQde1"));
        mostraLinhaDeProduto(6, QStringLiteral("TracoAditivoCod2"), QStringLiteral("TracoAditivoQde2"),
                             QStringLiteral("AditivoQde2"));
    }

    mostraQuantidades(7, QStringLiteral("TracoAguaAdic"), QStringLiteral("AguaAdic"));
    mostraQuantidades(8, QStringLiteral("TracoAgua"), QStringLiteral("Agua"));
    mostraQuantidades(9, QStringLiteral("TracoMaoDeObra"), QStringLiteral("MaodeObra"));
    const std::array<const char*, 7> fisicos{"EspeCim", "AparCim", "EspeMiu", "AparMiu",
                                             "EspeGra", "AparGra", "Umidade"};
    for (int i = 0; i < 7; ++i)
        tenta([&] { Texto[i]->mostra(calc::formatFull(numeroDe(tracos(), QLatin1String(fisicos[i])))); });
    tenta([&] { OpcaoTextura.at(numeroDe(tracos(), QStringLiteral("Textura")))->setChecked(true); });
    tenta([&] { OpcaoForma.at(numeroDe(tracos(), QStringLiteral("Dosagem")))->setChecked(true); });
    tenta([&] { TipoConcreto.at(numeroDe(tracos(), QStringLiteral("Destino")))->setChecked(true); });

    if (temLinhas) {
        tenta([&] {
            const QString unidade = Opcoes::unidadeSolidos(int(numeroDe(tracos(), QStringLiteral("Volumetrico"))));
            for (int i = 0; i < 5; ++i) {
                if (!TextoT[i]->isHidden()) {
                    UnidT[i]->setText(unidade);
                    UnidM[i]->setText(unidade);
                }
            }
        });
    }

    tenta([&] {
        const bool varios = totalRegistros() >= 2;
        for (QPushButton* b : Movimento)
            b->setEnabled(varios);
        if (!varios || Movimento[0]->isHidden())
            return;
        if (posicao() == 1) {
            for (int i : {0, 1, 2})
                Movimento[i]->setEnabled(false);
            Movimento[Proximo]->setFocus();
        } else if (posicao() == totalRegistros()) {
            for (int i : {3, 4, 5})
                Movimento[i]->setEnabled(false);
            Movimento[Anterior]->setFocus();
        }
    });
}

void FormTraco::Movimenta(int botao)
{
    desktop::TocaSom(desktop::Som::MouseClica);
    if (botao >= Primeiro && botao <= Ultimo)
        tenta([&] { m_catalogo.move(catalogue::Catalogo::Movimento(botao)); });
    MostraNumero();
}

void FormTraco::MostraMovimento(bool visivel)
{
    for (QPushButton* b : Movimento)
        b->setVisible(visivel);
}

bool FormTraco::eventFilter(QObject* objeto, QEvent* evento)
{
    if (evento->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(evento)->button() == Qt::RightButton) {
        if (auto* w = qobject_cast<QWidget*>(objeto); w && m_menuBotao && w != Pasta->tabBar()) {
            m_menuBotao(w == this && focusWidget() ? focusWidget() : w);
            return true;
        }
    }
    if ((objeto == Betoneira[BetoneiraEmUso] || objeto == Betoneira[BetoneiraParada]) &&
        evento->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(evento)->button() == Qt::LeftButton) {
        clicaBetoneira();
        return true;
    }
    if (objeto == Pasta->tabBar() && evento->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(evento)->button() == Qt::LeftButton)
        desktop::TocaSom(desktop::Som::MouseClica);

    if (auto* botao = qobject_cast<QPushButton*>(objeto)) {
        if (evento->type() == QEvent::Enter && botao != m_ultimoBotao) {
            desktop::TocaSom(desktop::Som::MouseMove);
            m_ultimoBotao = botao;
        }
        if (evento->type() == QEvent::KeyPress) {
            const int tecla = static_cast<QKeyEvent*>(evento)->key();
            if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter) {
                botao->click();
                return true;
            }
        }
    }
    // Enter on the in-use box moves on to the next field, as in a text box.
    if (objeto == TracoCorrente && evento->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent*>(evento)->key();
        if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter) {
            if (m_enter)
                m_enter();
            return true;
        }
    }
    QComboBox* lista = qobject_cast<QComboBox*>(objeto);
    if (objeto == Combo[ListaNome]->lineEdit())
        lista = Combo[ListaNome];
    if (lista && evento->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent*>(evento)->key();
        if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter) {
            if (lista == Combo[ListaReducao]) {
                Pasta->setCurrentIndex(1);
                Texto[0]->setFocus();
            } else if (m_enter) {
                m_enter();
            }
            return true;
        }
    }
    return QWidget::eventFilter(objeto, evento);
}

void FormTraco::nomeiaLinha(int linha)
{
    // A row of materials is named by the product it shows, or by its kind while it shows none.
    QString material = CompT[linha]->text();
    if (material.isEmpty())
        material = QString::fromUtf8(kComponentes[std::size_t(linha)]);
    TextoT[linha]->setAccessibleName(material + QStringLiteral(" por traço"));
    TextoM[linha]->setAccessibleName(material + QStringLiteral(" por metro cúbico"));
    if (const int lista = kListaDaLinha[std::size_t(linha)]; lista >= 0)
        Combo[lista]->setAccessibleName(QStringLiteral("Produto da linha ") +
                                        QString::fromUtf8(kComponentes[std::size_t(linha)]));
}

} // namespace mixform
