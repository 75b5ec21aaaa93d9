#include "mago.h"

#include "calc/opcoes.h"
#include "charts/graficoabrams.h"
#include "desktop/som.h"
#include "widgets/caixatexto.h"
#include "widgets/criaopcoes.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace wizard {

namespace {

using widgets::CaixaTexto;

// An entry box with a drop-down list of the usual values; what is typed goes through the key rules.
QComboBox* caixaComLista(const QString& nome, const QStringList& valores)
{
    auto* combo = new QComboBox;
    combo->setObjectName(nome);
    combo->setEditable(true);
    combo->setLineEdit(new CaixaTexto(calc::KeyFilter::CommaRules));
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(valores);
    return combo;
}

// The label beside a control: its accelerator reaches the control, and a screen reader names the control by it.
QLabel* rotulo(const QString& texto, QWidget* companheiro = nullptr)
{
    auto* r = new QLabel(texto);
    if (companheiro)
        r->setBuddy(companheiro);
    return r;
}

} // namespace

QString Mago::legenda()
{
    return QStringLiteral("Assistente para Determinação de um Traço de Concreto");
}

Mago::Mago(platform::Database& db, QWidget* parent) : QDialog(parent), m_db(db)
{
    setObjectName(QStringLiteral("Mago"));
    setWindowTitle(legenda());

    m_painel = new QStackedWidget;
    m_painel->setObjectName(QStringLiteral("Painel"));
    // The pages are built in their order, so that moving to the next control follows them.
    m_painel->addWidget(criaPasso(0, criaPagina0()));
    m_painel->addWidget(criaPasso(1, criaPagina1()));
    m_painel->addWidget(criaPasso(2, criaPagina2()));
    m_painel->addWidget(criaPasso(3, criaPagina3()));
    m_painel->addWidget(criaPasso(4, criaPagina4()));
    m_painel->addWidget(criaPagina5());
    for (int i = 0; i < NumeroDePaginas; ++i)
        m_painel->widget(i)->setObjectName(QStringLiteral("Painel%1").arg(i));
    criaBotoes();

    auto* conteudo = new QHBoxLayout;
    conteudo->addWidget(criaGuia());
    conteudo->addWidget(m_painel, 1);

    auto* linhaDeBotoes = new QHBoxLayout;
    linhaDeBotoes->addWidget(m_botao[Fechar]);
    linhaDeBotoes->addStretch();
    linhaDeBotoes->addWidget(m_botao[Voltar]);
    linhaDeBotoes->addWidget(m_botao[Avancar]);
    linhaDeBotoes->addSpacing(12);
    linhaDeBotoes->addWidget(m_botao[Concluir]);

    auto* separador = new QFrame;
    separador->setFrameShape(QFrame::HLine);
    separador->setFrameShadow(QFrame::Sunken);

    auto* principal = new QVBoxLayout(this);
    principal->addLayout(conteudo, 1);
    principal->addWidget(separador);
    principal->addLayout(linhaDeBotoes);

    // Enter in an entry box moves on to the next control.
    for (CaixaTexto* caixa : findChildren<CaixaTexto*>())
        connect(caixa, &CaixaTexto::enterPressionado, this, [this] { focusNextChild(); });

    // Tall enough for the ratio page's chart, within the screen (less room for the window's frame).
    QSize tamanho = sizeHint().expandedTo(QSize(800, 700));
    if (const QScreen* tela = screen())
        tamanho = tamanho.boundedTo(tela->availableGeometry().size() - QSize(0, 40));
    resize(tamanho);
    mostraPagina(0);
}

QWidget* Mago::criaPasso(int pagina, QWidget* controles)
{
    auto* passo = new QWidget;
    m_titulo[pagina] = new QLabel;
    m_titulo[pagina]->setObjectName(QStringLiteral("Titulo%1").arg(pagina));
    QFont fonte = m_titulo[pagina]->font();
    fonte.setBold(true);
    fonte.setPointSizeF(fonte.pointSizeF() * 1.3);
    m_titulo[pagina]->setFont(fonte);
    m_conteudo[pagina] = new QLabel;
    m_conteudo[pagina]->setObjectName(QStringLiteral("Conteudo%1").arg(pagina));
    m_conteudo[pagina]->setWordWrap(true);
    m_conteudo[pagina]->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* coluna = new QVBoxLayout(passo);
    coluna->addWidget(m_titulo[pagina]);
    coluna->addWidget(m_conteudo[pagina]);
    coluna->addSpacing(8);
    // A page whose controls can grow (the ratio page with its chart) takes the height; the others keep to the top.
    const int estica = controles->sizePolicy().verticalStretch();
    coluna->addWidget(controles, estica);
    if (estica == 0)
        coluna->addStretch();
    return passo;
}

QWidget* Mago::criaPagina0()
{
    auto* pagina = new QWidget;
    m_nomeTraco = new QComboBox;
    m_nomeTraco->setObjectName(QStringLiteral("NomeTraco"));
    m_nomeTraco->setEditable(true);
    m_nomeTraco->setInsertPolicy(QComboBox::NoInsert);
    m_nomeTraco->setMinimumWidth(280);
    m_resistencia = new CaixaTexto(calc::KeyFilter::CommaRules);
    m_resistencia->setObjectName(QStringLiteral("Resistencia"));
    m_resistencia->setAlignment(Qt::AlignRight);
    m_resistencia->setFixedWidth(90);

    auto* grade = new QGridLayout(pagina);
    grade->setContentsMargins(0, 0, 0, 0);
    grade->addWidget(rotulo(QStringLiteral("Nome do &Traço"), m_nomeTraco), 0, 0);
    grade->addWidget(m_nomeTraco, 0, 1, 1, 2);
    grade->addWidget(rotulo(QStringLiteral("&Resistência desejada (fck)"), m_resistencia), 1, 0);
    grade->addWidget(m_resistencia, 1, 1);
    grade->addWidget(new QLabel(QStringLiteral("MPa")), 1, 2);
    grade->setColumnStretch(2, 1);
    return pagina;
}

QWidget* Mago::criaPagina1()
{
    auto* pagina = new QWidget;
    m_classeCimento = new QComboBox;
    m_classeCimento->setObjectName(QStringLiteral("ClasseCimento"));
    m_classeCimento->addItems(calc::Opcoes::classes());

    m_plastificanteOpcao = new QCheckBox(QStringLiteral("Utiliza aditivo &superplastificante?"));
    m_plastificanteOpcao->setObjectName(QStringLiteral("PlastificanteOpcao"));
    // Percentages of water a superplasticiser saves.
    m_plastificanteCombo = caixaComLista(QStringLiteral("PlastificanteCombo"),
                                         {QStringLiteral("5"), QStringLiteral("8"), QStringLiteral("10"),
                                          QStringLiteral("12"), QStringLiteral("15"), QStringLiteral("18"),
                                          QStringLiteral("20"), QStringLiteral("25"), QStringLiteral("30")});
    m_plastificanteCombo->setCurrentIndex(2);
    m_plastificanteCombo->setFixedWidth(90);
    m_plastificanteLabel = rotulo(QStringLiteral("Qual a re&dução de água (%)"), m_plastificanteCombo);
    m_plastificanteLabel->setObjectName(QStringLiteral("PlastificanteLabel"));
    // Ticking shows the reduction box; until then it has no meaning.
    m_plastificanteLabel->setEnabled(false);
    m_plastificanteCombo->hide();
    connect(m_plastificanteOpcao, &QCheckBox::toggled, this, [this](bool marcado) {
        m_plastificanteLabel->setEnabled(marcado);
        m_plastificanteCombo->setVisible(marcado);
    });

    auto* producao = new QGroupBox(QStringLiteral(" Cimento e Aditivo "));
    auto* grade = new QGridLayout(producao);
    grade->addWidget(rotulo(QStringLiteral("C&lasse de Cimento"), m_classeCimento), 0, 0);
    grade->addWidget(m_classeCimento, 0, 1);
    grade->addWidget(m_plastificanteOpcao, 1, 0, 1, 2);
    grade->addWidget(m_plastificanteLabel, 2, 0);
    grade->addWidget(m_plastificanteCombo, 2, 1);
    grade->setColumnStretch(2, 1);
    // The row of the reduction keeps its height while the box is hidden.
    grade->setRowMinimumHeight(2, m_plastificanteCombo->sizeHint().height());

    auto* dosagem = new QGroupBox(QStringLiteral(" Dosagem do Concreto "));
    m_opcaoForma = widgets::criaOpcoes(this, dosagem, QStringLiteral("OpcaoForma"),
                                       calc::Opcoes::escolhas(calc::Opcoes::medicao()));

    auto* coluna = new QVBoxLayout(pagina);
    coluna->setContentsMargins(0, 0, 0, 0);
    coluna->addWidget(producao);
    coluna->addWidget(dosagem);
    return pagina;
}

QWidget* Mago::criaPagina2()
{
    auto* pagina = new QWidget;
    m_abatimento =
        caixaComLista(QStringLiteral("Abatimento"),
                      {QStringLiteral("040"), QStringLiteral("060"), QStringLiteral("080"), QStringLiteral("100"),
                       QStringLiteral("120"), QStringLiteral("150"), QStringLiteral("180"), QStringLiteral("200")});
    m_abatimento->setCurrentIndex(3);
    m_abatimento->setFixedWidth(90);
    m_consistencia = new QLabel;
    m_consistencia->setObjectName(QStringLiteral("Consistencia"));
    connect(m_abatimento, &QComboBox::editTextChanged, this, &Mago::mostraConsistencia);

    m_agregadoGraudo = new QComboBox;
    m_agregadoGraudo->setObjectName(QStringLiteral("AgregadoGraudo"));
    m_agregadoGraudo->addItems(
        {QStringLiteral("Pedrisco"), QStringLiteral("Pedra 0"), QStringLiteral("Pedra 1"), QStringLiteral("Pedra 2")});
    m_agregadoGraudo->setCurrentIndex(2);

    auto* consistencia = new QGroupBox(QStringLiteral(" Consistência e Agregado "));
    auto* grade = new QGridLayout(consistencia);
    grade->addWidget(rotulo(QStringLiteral("A&batimento em mm."), m_abatimento), 0, 0);
    grade->addWidget(m_abatimento, 0, 1);
    grade->addWidget(m_consistencia, 0, 2);
    grade->addWidget(rotulo(QStringLiteral("Tamanho máximo do Agregado &Graúdo"), m_agregadoGraudo), 1, 0);
    grade->addWidget(m_agregadoGraudo, 1, 1);
    grade->setColumnStretch(2, 1);

    auto* textura = new QGroupBox(QStringLiteral(" Forma e Textura do Agregado Graúdo "));
    m_opcaoTextura = widgets::criaOpcoes(this, textura, QStringLiteral("OpcaoTextura"),
                                         calc::Opcoes::escolhas(calc::Opcoes::textura()));

    auto* coluna = new QVBoxLayout(pagina);
    coluna->setContentsMargins(0, 0, 0, 0);
    coluna->addWidget(consistencia);
    coluna->addWidget(textura);
    mostraConsistencia();
    return pagina;
}

QWidget* Mago::criaPagina3()
{
    auto* pagina = new QWidget;
    auto* tipos = new QGroupBox(QStringLiteral(" Tipos de Concreto (relação em %) "));
    auto* grade = new QGridLayout(tipos);
    m_tipoConcreto = new QButtonGroup(this);
    const QStringList usos{QStringLiteral("Concreto para estruturas correntes"),
                           QStringLiteral("Concreto para peças delgadas"), QStringLiteral("Concreto aparente"),
                           QStringLiteral("Para uso de concreto bombeado")};
    for (int i = 0; i < int(m_concretoTipo.size()); ++i) {
        auto* opcao = new QRadioButton(usos.at(i));
        opcao->setObjectName(QStringLiteral("TipoConcreto%1").arg(i));
        m_tipoConcreto->addButton(opcao, i);
        m_concretoTipo[i] = new QComboBox;
        m_concretoTipo[i]->setObjectName(QStringLiteral("ConcretoTipo%1").arg(i));
        m_concretoTipo[i]->setFixedWidth(90);
        // The list has no label of its own: it is named by the use beside it.
        m_concretoTipo[i]->setAccessibleName(QStringLiteral("Relação (%) - ") + usos.at(i));
        m_concretoTipo[i]->hide();
        connect(m_concretoTipo[i], &QComboBox::currentIndexChanged, this,
                [this, i](int posicao) { relacaoEscolhida(i, posicao); });
        grade->addWidget(opcao, i, 0);
        grade->addWidget(m_concretoTipo[i], i, 1);
    }
    grade->setColumnStretch(2, 1);
    // Another use has its own ratios: the list beside it is filled at once.
    connect(m_tipoConcreto, &QButtonGroup::idToggled, this, [this](int, bool marcado) {
        if (marcado && m_pagina == 3)
            CalculaDosagem();
    });

    // The environment caps the water/cement ratio and sets a least cement content: the ratios are proposed again.
    auto* durabilidade = new QGroupBox(QStringLiteral(" Durabilidade - Agressividade do Ambiente "));
    m_classeAgressividade = widgets::criaLista(QStringLiteral("ClasseAgressividade"),
                                               calc::Opcoes::escolhas(calc::Opcoes::agressividade()));
    m_estrutura = widgets::criaLista(QStringLiteral("Estrutura"), calc::Opcoes::escolhas(calc::Opcoes::estrutura()));
    m_limitesDaClasse = new QLabel;
    m_limitesDaClasse->setObjectName(QStringLiteral("LimitesDurabilidade"));
    m_limitesDaClasse->setWordWrap(true);
    auto* linhas = new QGridLayout(durabilidade);
    auto* rotuloClasse = new QLabel(QStringLiteral("Classe de a&gressividade"));
    rotuloClasse->setBuddy(m_classeAgressividade);
    auto* rotuloEstrutura = new QLabel(QStringLiteral("E&strutura"));
    rotuloEstrutura->setBuddy(m_estrutura);
    linhas->addWidget(rotuloClasse, 0, 0);
    linhas->addWidget(m_classeAgressividade, 0, 1);
    linhas->addWidget(rotuloEstrutura, 1, 0);
    linhas->addWidget(m_estrutura, 1, 1);
    linhas->addWidget(m_limitesDaClasse, 2, 0, 1, 2);
    linhas->setColumnStretch(1, 1);
    for (QComboBox* escolha : {m_classeAgressividade, m_estrutura}) {
        connect(escolha, &QComboBox::currentIndexChanged, this, [this] {
            mostraLimites();
            if (m_pagina == 3)
                CalculaDosagem();
        });
    }

    m_grafico = new charts::GraficoAbrams;
    m_grafico->defineCompacto(true);
    m_grafico->setMinimumHeight(220);
    m_grafico->setWhatsThis(QStringLiteral(
        "Gráfico de Abrams: a resistência média (fcj) que o cimento da classe escolhida alcança com cada relação "
        "água/cimento. O ponto é a relação deste traço; a linha horizontal, o fcj que a resistência pedida exige; a "
        "vertical, a a/c máxima da classe de agressividade. O botão direito salva a imagem."));

    auto* coluna = new QVBoxLayout(pagina);
    coluna->setContentsMargins(0, 0, 0, 0);
    coluna->addWidget(tipos);
    coluna->addWidget(durabilidade);
    coluna->addWidget(m_grafico, 1);
    QSizePolicy politica = pagina->sizePolicy();
    politica.setVerticalStretch(1);
    pagina->setSizePolicy(politica);
    return pagina;
}

QWidget* Mago::criaPagina4()
{
    auto* pagina = new QWidget;
    for (int i = 0; i < int(m_texto.size()); ++i) {
        m_texto[i] = new CaixaTexto(calc::KeyFilter::CommaRules);
        m_texto[i]->setObjectName(QStringLiteral("Texto%1").arg(i));
        m_texto[i]->setAlignment(Qt::AlignRight);
        m_texto[i]->setFixedWidth(90);
    }
    m_umidadeAreia = new CaixaTexto(calc::KeyFilter::CommaRules);
    m_umidadeAreia->setObjectName(QStringLiteral("UmidadeAreia"));
    m_umidadeAreia->setAlignment(Qt::AlignRight);
    m_umidadeAreia->setFixedWidth(90);

    auto* massas = new QGroupBox(QStringLiteral(" Massas Específicas e Aparentes (kg/l) "));
    auto* grade = new QGridLayout(massas);
    grade->addWidget(new QLabel(QStringLiteral("Específica")), 0, 1, Qt::AlignCenter);
    grade->addWidget(new QLabel(QStringLiteral("Aparente")), 0, 2, Qt::AlignCenter);
    const QStringList materiais{QStringLiteral("Ci&mento"), QStringLiteral("Agreg. M&iúdo"),
                                QStringLiteral("Agreg. &Graúdo")};
    for (int linha = 0; linha < materiais.size(); ++linha) {
        // Two boxes to a row and one label: a screen reader names each box by its row and its column.
        const QString material = QString(materiais.at(linha)).remove(QLatin1Char('&'));
        m_texto[2 * linha]->setAccessibleName(material + QStringLiteral(" - massa específica"));
        m_texto[2 * linha + 1]->setAccessibleName(material + QStringLiteral(" - massa aparente"));
        grade->addWidget(rotulo(materiais.at(linha), m_texto[2 * linha]), linha + 1, 0);
        grade->addWidget(m_texto[2 * linha], linha + 1, 1);
        grade->addWidget(m_texto[2 * linha + 1], linha + 1, 2);
    }
    grade->setColumnStretch(3, 1);

    auto* umidade = new QGroupBox(QStringLiteral(" Umidade do Agregado Miúdo "));
    auto* linhaUmidade = new QHBoxLayout(umidade);
    linhaUmidade->addWidget(rotulo(QStringLiteral("&Umidade da areia"), m_umidadeAreia));
    linhaUmidade->addWidget(m_umidadeAreia);
    linhaUmidade->addWidget(new QLabel(QStringLiteral("%")));
    linhaUmidade->addStretch();

    auto* coluna = new QVBoxLayout(pagina);
    coluna->setContentsMargins(0, 0, 0, 0);
    coluna->addWidget(massas);
    coluna->addWidget(umidade);
    return pagina;
}

QWidget* Mago::criaPagina5()
{
    auto* pagina = new QWidget;
    m_areaDaFolha = new QVBoxLayout(pagina);
    m_areaDaFolha->setContentsMargins(0, 0, 0, 0);
    return pagina;
}

QWidget* Mago::criaGuia()
{
    auto* guia = new QFrame;
    guia->setObjectName(QStringLiteral("Guia"));
    guia->setFrameShape(QFrame::StyledPanel);
    guia->setFixedWidth(190);
    guia->setBackgroundRole(QPalette::Base);
    guia->setAutoFillBackground(true);
    const QStringList passos{QStringLiteral("Dosagem do Concreto"),      QStringLiteral("Produção do Concreto"),
                             QStringLiteral("Consistência e Agregados"), QStringLiteral("Relação Miúdo/Total"),
                             QStringLiteral("Massas dos Componentes"),   QStringLiteral("Traço Experimental")};
    auto* coluna = new QVBoxLayout(guia);
    coluna->setSpacing(10);
    for (int i = 0; i < NumeroDePaginas; ++i) {
        m_guia[i] = new QLabel(QStringLiteral("%1. %2").arg(i + 1).arg(passos.at(i)));
        m_guia[i]->setWordWrap(true);
        coluna->addWidget(m_guia[i]);
    }
    coluna->addStretch();
    return guia;
}

void Mago::criaBotoes()
{
    // Button 3's caption is the only one the wizard never changes.
    const QStringList legendas{QStringLiteral("< &Voltar"), QStringLiteral("&Avançar >"), QStringLiteral("&Concluir"),
                               QStringLiteral("&Fechar")};
    for (int i = 0; i < int(m_botao.size()); ++i) {
        m_botao[i] = new QPushButton(legendas.at(i));
        m_botao[i]->setObjectName(QStringLiteral("BotaoAssiste%1").arg(i));
        m_botao[i]->setAutoDefault(true);
        m_botao[i]->setMinimumWidth(100);
        m_botao[i]->installEventFilter(this);
        connect(m_botao[i], &QPushButton::clicked, this, [this, i] { BotaoAssiste_Click(i); });
    }
}

} // namespace wizard
