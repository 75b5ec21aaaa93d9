#include "formmass.h"

#include "explicacoes.h"
#include "referencias.h"
#include "somdosbotoes.h"

#include "calc/opcoes.h"
#include "calc/padroes.h"
#include "calc/physicaldata.h"
#include "catalogue/consultas.h"
#include "desktop/ajuda.h"
#include "desktop/dialogs.h"
#include "desktop/mostraerro.h"
#include "desktop/som.h"
#include "platform/database.h"
#include "widgets/caixatexto.h"
#include "widgets/criaopcoes.h"
#include "widgets/recusa.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace settings {

namespace {

using desktop::Dialogs;

// The values a new company starts with, which "&Padrão" puts back.
const calc::Padroes& inicial()
{
    return calc::Padroes::inicial();
}

// The moisture box closes the first page and the losses box the third.
constexpr int kUmidade = 6;
constexpr int kPerdas = 8;

int selecionado(const QButtonGroup* grupo)
{
    const QList<QAbstractButton*> opcoes = grupo->buttons();
    for (int i = 0; i < opcoes.size(); ++i)
        if (grupo->button(i) && grupo->button(i)->isChecked())
            return i;
    return -1;
}

// A stored index outside the group (or no value) selects the element a new company starts with, so that a reader
// always finds one selected.
void seleciona(QButtonGroup* grupo, const QVariant& valor, int padrao)
{
    bool ok = false;
    const int indice = valor.toInt(&ok);
    QAbstractButton* opcao = ok ? grupo->button(indice) : nullptr;
    (opcao ? opcao : grupo->button(padrao))->setChecked(true);
}

} // namespace

FormMass::FormMass(platform::Database& db, QWidget* parent)
    : QDialog(parent), m_db(db), m_dadoMassa(db, QStringLiteral("Massas"))
{
    setObjectName(QStringLiteral("FormMass"));
    setWindowTitle(QStringLiteral("Dados dos Componentes e Tipos de Dosagem"));

    m_pastinha = new QTabWidget(this);
    m_pastinha->setObjectName(QStringLiteral("Pastinha"));
    // The boxes are made first, in the order of their fields, so that moving to the next control follows them.
    for (int i = 0; i < NumeroDeTextos; ++i) {
        m_texto[i] = new widgets::CaixaTexto(calc::KeyFilter::CommaRules, this);
        m_texto[i]->setObjectName(QStringLiteral("Texto%1").arg(i));
        m_texto[i]->setAlignment(Qt::AlignRight);
        m_texto[i]->setFixedWidth(90);
        connect(m_texto[i], &widgets::CaixaTexto::enterPressionado, this, [this, i] { enterNaCaixa(i); });
        m_dadoMassa.vincula(m_texto[i], QLatin1String(catalogue::CamposDasMassas::textos()[i]));
    }
    m_pastinha->addTab(criaPaginaMassas(), QStringLiteral("&Massas e Umidade"));
    m_pastinha->addTab(criaPaginaDosagens(), QStringLiteral("&Dosagens e Agregados"));
    m_pastinha->addTab(criaPaginaUtilizacao(), QStringLiteral("Utili&zação e Mão-de-Obra"));
    connect(m_pastinha, &QTabWidget::currentChanged, this, [] { desktop::TocaSom(desktop::Som::MouseClica); });
    m_dadoMassa.vincula(m_classeCimento, QLatin1String(catalogue::CamposDasMassas::classe));

    auto* principal = new QVBoxLayout(this);
    principal->addWidget(m_pastinha);
    criaBotoes();
    auto* linhaDeBotoes = new QHBoxLayout;
    linhaDeBotoes->addStretch();
    for (QPushButton* botao : m_botaoDados)
        linhaDeBotoes->addWidget(botao);
    principal->addLayout(linhaDeBotoes);
    setFixedSize(sizeHint().expandedTo(QSize(520, 0)));

    // With no row in Massas the form offers the values a new company starts with; "&OK" then creates the row.
    m_dadoMassa.refresh();
    if (m_dadoMassa.temLinha()) {
        m_dadoMassa.mostraLinha();
    } else {
        for (int i = 0; i < NumeroDeTextos; ++i)
            m_texto[i]->setText(inicial().textos[i]);
        m_classeCimento->setCurrentText(inicial().classe);
    }
    selecionaOpcoes();
    if (somenteConsulta(m_db)) {
        m_botaoDados[Ok]->setEnabled(false);
        m_botaoDados[Padrao]->setEnabled(false);
    }
    m_pastinha->setCurrentIndex(0);
    explicaFormMass(this);
}

QWidget* FormMass::criaPaginaMassas()
{
    auto* pagina = new QWidget;
    auto* massas = new QGroupBox(QStringLiteral(" Massas Específicas e Aparentes "), pagina);
    auto* grade = new QGridLayout(massas);
    grade->addWidget(new QLabel(QStringLiteral("Específica")), 0, 1, Qt::AlignCenter);
    grade->addWidget(new QLabel(QStringLiteral("Aparente")), 0, 2, Qt::AlignCenter);
    const QStringList materiais{QStringLiteral("Cimento"), QStringLiteral("Agregado Miúdo"),
                                QStringLiteral("Agregado Graúdo")};
    for (int linha = 0; linha < materiais.size(); ++linha) {
        grade->addWidget(new QLabel(materiais.at(linha)), linha + 1, 0);
        grade->addWidget(m_texto[2 * linha], linha + 1, 1);
        grade->addWidget(m_texto[2 * linha + 1], linha + 1, 2);
        grade->addWidget(new QLabel(QStringLiteral("Kg/Litro")), linha + 1, 3);
    }
    grade->setColumnStretch(0, 1);

    auto* umidade = new QGroupBox(QStringLiteral(" Umidade "), pagina);
    auto* linhaUmidade = new QHBoxLayout(umidade);
    linhaUmidade->addWidget(new QLabel(QStringLiteral("Umidade contida no agregado miúdo")), 1);
    linhaUmidade->addWidget(m_texto[kUmidade]);
    linhaUmidade->addWidget(new QLabel(QStringLiteral("%")));

    auto* coluna = new QVBoxLayout(pagina);
    coluna->addWidget(massas);
    coluna->addWidget(umidade);
    coluna->addStretch();
    return pagina;
}

QWidget* FormMass::criaPaginaDosagens()
{
    auto* pagina = new QWidget;
    auto* dosagem = new QGroupBox(QStringLiteral(" Dosagem do Concreto"), pagina);
    m_opcaoForma = widgets::criaOpcoes(this, dosagem, QStringLiteral("OpcaoForma"),
                                       calc::Opcoes::escolhas(calc::Opcoes::medicao()));
    auto* textura = new QGroupBox(QStringLiteral(" Forma e Textura do Agregado Graúdo "), pagina);
    m_opcaoTextura = widgets::criaOpcoes(this, textura, QStringLiteral("OpcaoTextura"),
                                         calc::Opcoes::escolhas(calc::Opcoes::textura()));
    auto* classe = new QGroupBox(QStringLiteral(" Classe Cimento "), pagina);
    m_classeCimento = new QComboBox(classe);
    m_classeCimento->setObjectName(QStringLiteral("ClasseCimento"));
    m_classeCimento->addItems(calc::Opcoes::classes());
    m_classeCimento->installEventFilter(this);
    auto* linhaClasse = new QHBoxLayout(classe);
    linhaClasse->addWidget(m_classeCimento, 0, Qt::AlignTop);
    linhaClasse->addStretch();

    for (QButtonGroup* grupo : {m_opcaoForma, m_opcaoTextura})
        for (QAbstractButton* opcao : grupo->buttons())
            opcao->installEventFilter(this);

    auto* grade = new QGridLayout(pagina);
    grade->addWidget(dosagem, 0, 0, 1, 2);
    grade->addWidget(textura, 1, 0);
    grade->addWidget(classe, 1, 1);
    grade->setRowStretch(2, 1);
    return pagina;
}

QWidget* FormMass::criaPaginaUtilizacao()
{
    auto* pagina = new QWidget;
    auto* uso = new QGroupBox(QStringLiteral(" Concreto - Uso ou Utilização "), pagina);
    m_tipoConcreto =
        widgets::criaOpcoes(this, uso, QStringLiteral("TipoConcreto"), calc::Opcoes::escolhas(calc::Opcoes::destino()));
    for (QAbstractButton* opcao : m_tipoConcreto->buttons())
        opcao->installEventFilter(this);

    auto* custo = new QGroupBox(QStringLiteral(" Mão-de-Obra (hh por m3)  e Perda do Concreto (%) "), pagina);
    auto* grade = new QGridLayout(custo);
    grade->addWidget(new QLabel(QStringLiteral("Qde. de horas homem para produzir 1 m3.")), 0, 0);
    grade->addWidget(m_texto[7], 0, 1);
    grade->addWidget(new QLabel(QStringLiteral("Perdas   (1 - consumido/produzido) x 100")), 1, 0);
    grade->addWidget(m_texto[kPerdas], 1, 1);
    grade->setColumnStretch(0, 1);

    // The class of the environment the company's concrete usually meets, which the wizard starts from.
    auto* durabilidade = new QGroupBox(QStringLiteral(" Durabilidade - Agressividade do Ambiente "), pagina);
    m_classeAgressividade = widgets::criaLista(QStringLiteral("ClasseAgressividade"),
                                               calc::Opcoes::escolhas(calc::Opcoes::agressividade()));
    m_estrutura = widgets::criaLista(QStringLiteral("Estrutura"), calc::Opcoes::escolhas(calc::Opcoes::estrutura()));
    auto* linhas = new QFormLayout(durabilidade);
    linhas->addRow(QStringLiteral("Classe de a&gressividade"), m_classeAgressividade);
    linhas->addRow(QStringLiteral("E&strutura"), m_estrutura);

    auto* coluna = new QVBoxLayout(pagina);
    coluna->addWidget(uso);
    coluna->addWidget(durabilidade);
    coluna->addWidget(custo);
    coluna->addStretch();
    return pagina;
}

void FormMass::criaBotoes()
{
    const QStringList legendas{QStringLiteral("&OK"), QStringLiteral("&Cancelar"), QStringLiteral("&Padrão"),
                               QStringLiteral("Aj&uda")};
    auto* som = new SomDosBotoes(this);
    for (int i = 0; i < int(m_botaoDados.size()); ++i) {
        m_botaoDados[i] = new QPushButton(legendas.at(i), this);
        m_botaoDados[i]->setObjectName(QStringLiteral("BotaoDados%1").arg(i));
        m_botaoDados[i]->setAutoDefault(true);
        som->acompanha(m_botaoDados[i]);
        connect(m_botaoDados[i], &QPushButton::clicked, this, [this, i] { BotaoDados_Click(i); });
    }
    connect(this, &QDialog::finished, som, &SomDosBotoes::reinicia);
}

widgets::CaixaTexto* FormMass::texto(int i) const
{
    return i >= 0 && i < NumeroDeTextos ? m_texto[i] : nullptr;
}

int FormMass::opcaoForma() const
{
    return selecionado(m_opcaoForma);
}

int FormMass::opcaoTextura() const
{
    return selecionado(m_opcaoTextura);
}

int FormMass::tipoConcreto() const
{
    return selecionado(m_tipoConcreto);
}

int FormMass::classeAgressividade() const
{
    return m_classeAgressividade->currentIndex();
}

int FormMass::estrutura() const
{
    return m_estrutura->currentIndex();
}

void FormMass::selecionaOpcoes()
{
    const bool temLinha = m_dadoMassa.temLinha();
    platform::RecordSet& rs = m_dadoMassa.recordset();
    seleciona(m_opcaoForma, temLinha ? rs.field(QLatin1String(catalogue::CamposDasMassas::forma)) : QVariant(),
              inicial().opcaoForma);
    seleciona(m_opcaoTextura, temLinha ? rs.field(QLatin1String(catalogue::CamposDasMassas::textura)) : QVariant(),
              inicial().opcaoTextura);
    seleciona(m_tipoConcreto, temLinha ? rs.field(QLatin1String(catalogue::CamposDasMassas::tipo)) : QVariant(),
              inicial().tipoConcreto);
    // A row written before the durability choice holds nothing there: no class, reinforced concrete.
    const auto indice = [&](const char* campo, int maior) {
        const int valor = temLinha ? rs.field(QLatin1String(campo)).toInt() : 0;
        return valor >= 0 && valor <= maior ? valor : 0;
    };
    m_classeAgressividade->setCurrentIndex(
        indice(catalogue::CamposDasMassas::agressividade, m_classeAgressividade->count() - 1));
    m_estrutura->setCurrentIndex(indice(catalogue::CamposDasMassas::estrutura, m_estrutura->count() - 1));
}

void FormMass::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    centraNaTela(this);
    selecionaOpcoes();
    m_pastinha->setCurrentIndex(0);
    m_texto[0]->setFocus();
}

void FormMass::BotaoDados_Click(int indice)
{
    desktop::TocaSom(desktop::Som::MouseClica);
    switch (indice) {
    case Ok:
        gravaDados();
        break;
    case Cancelar:
        reject();
        break;
    case Padrao:
        voltaAoPadrao();
        break;
    case Ajuda:
        mostraAjuda();
        break;
    }
}

bool FormMass::valoresAceitos()
{
    // Every new mix starts from these values: nothing is written until each box holds a plausible number.
    for (int i = 0; i < NumeroDeTextos; ++i) {
        if (!calc::physicalValue(i, m_texto[i]->text()))
            return widgets::recusa(m_pastinha, m_texto[i], calc::physicalDataMessage(i, m_texto[i]->text()),
                                   QStringLiteral("Valor inválido"));
    }
    return true;
}

void FormMass::gravaDados()
{
    if (!valoresAceitos())
        return;
    try {
        m_dadoMassa.gravaLinha({{QLatin1String(catalogue::CamposDasMassas::forma), opcaoForma()},
                                {QLatin1String(catalogue::CamposDasMassas::textura), opcaoTextura()},
                                {QLatin1String(catalogue::CamposDasMassas::tipo), tipoConcreto()},
                                {QLatin1String(catalogue::CamposDasMassas::agressividade), classeAgressividade()},
                                {QLatin1String(catalogue::CamposDasMassas::estrutura), estrutura()}});
        m_dadoMassa.refresh();
        m_dadoMassa.mostraLinha();
    } catch (const platform::DbError& erro) {
        // The form stays open with what the user typed, to try again or cancel.
        desktop::MostraErro(QStringLiteral("FormMass - BotaoDados"), erro.numero(), erro.descricao());
        return;
    }
    emit atualizaVista();
    QDialog::accept();
}

void FormMass::reject()
{
    // The options go back too: readers take them from the hidden form.
    try {
        m_dadoMassa.refresh();
        m_dadoMassa.mostraLinha();
        selecionaOpcoes();
    } catch (const platform::DbError& erro) {
        desktop::MostraErro(QStringLiteral("FormMass - BotaoDados"), erro.numero(), erro.descricao());
    }
    emit atualizaVista();
    QDialog::reject();
}

void FormMass::voltaAoPadrao()
{
    const Dialogs::Resposta resposta =
        Dialogs::atual().mensagem(QStringLiteral("Deseja que todos os dados\rretornem valores iniciais?"),
                                  QStringLiteral("Voltar aos valores padrões"), Dialogs::Icone::Pergunta,
                                  Dialogs::Botoes::SimNao, Dialogs::Resposta::Sim);
    if (resposta != Dialogs::Resposta::Sim)
        return;
    // The cement class and the use of the concrete are the company's own choice and have no default.
    for (int i = 0; i < NumeroDeTextos; ++i)
        m_texto[i]->setText(inicial().textos[i]);
    m_opcaoForma->button(inicial().opcaoForma)->setChecked(true);
    m_opcaoTextura->button(inicial().opcaoTextura)->setChecked(true);
}

void FormMass::mostraAjuda()
{
    desktop::Ajuda::MostraAjuda(this, 1001 + m_pastinha->currentIndex());
}

void FormMass::enterNaCaixa(int indice)
{
    if (indice == kUmidade) {
        m_pastinha->setCurrentIndex(1);
        m_opcaoForma->button(0)->setFocus();
    } else if (indice == kPerdas) {
        m_botaoDados[Ok]->setFocus();
    } else {
        focusNextChild();
    }
}

void FormMass::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        m_botaoDados[Cancelar]->click();
        return;
    }
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        mostraAjuda();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool FormMass::eventFilter(QObject* objeto, QEvent* evento)
{
    // Enter on the options and the class list moves on instead of pressing the form's default button.
    if (evento->type() == QEvent::KeyPress) {
        const auto* tecla = static_cast<QKeyEvent*>(evento);
        if (tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter) {
            if (objeto == m_classeCimento) {
                m_pastinha->setCurrentIndex(2);
                m_tipoConcreto->button(0)->setFocus();
            } else {
                focusNextChild();
            }
            return true;
        }
    }
    return QDialog::eventFilter(objeto, evento);
}

} // namespace settings
