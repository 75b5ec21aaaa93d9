#include "formcons.h"

#include "explicacoes.h"

#include "referencias.h"
#include "somdosbotoes.h"

#include "calc/numericentry.h"
#include "platform/ajuda.h"
#include "platform/database.h"
#include "platform/errorlog.h"
#include "platform/som.h"
#include "widgets/caixatexto.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace settings {

namespace {

// Abate1 to Abate4 and the limits "&Padrão" puts back.
constexpr std::array<const char*, 4> kCampos{"Abate1", "Abate2", "Abate3", "Abate4"};

constexpr int kTopicoDeAjuda = 2000;

} // namespace

FormCons::FormCons(platform::Database& db, QWidget* parent)
    : QDialog(parent), m_db(db), m_dadoFator(db, QStringLiteral("Consistencias"))
{
    setObjectName(QStringLiteral("FormCons"));
    setWindowTitle(QStringLiteral("Consistências e Abatimentos"));

    auto* grade = new QGridLayout;
    grade->setHorizontalSpacing(16);
    auto* titulo = [](const QString& texto) {
        auto* rotulo = new QLabel(texto);
        QFont fonte = rotulo->font();
        fonte.setBold(true);
        rotulo->setFont(fonte);
        return rotulo;
    }(QStringLiteral("Consistência"));
    grade->addWidget(titulo, 0, 0);
    auto* abatimento = new QLabel(QStringLiteral("Abatimento"));
    abatimento->setFont(titulo->font());
    grade->addWidget(abatimento, 0, 1, 1, 2, Qt::AlignCenter);

    const QStringList classes{QStringLiteral("Líquida"), QStringLiteral("Fluida"), QStringLiteral("Plástica"),
                              QStringLiteral("Plástica Seca"), QStringLiteral("Seca")};
    for (int i = 0; i < NumeroDeLimites; ++i) {
        m_valorFator[i] = new widgets::CaixaTexto(calc::KeyFilter::CommaRules, this);
        m_valorFator[i]->setObjectName(QStringLiteral("ValorFator%1").arg(i));
        m_valorFator[i]->setAlignment(Qt::AlignRight);
        m_valorFator[i]->setFixedWidth(80);
        connect(m_valorFator[i], &widgets::CaixaTexto::enterPressionado, this, [this, i] { enterNaCaixa(i); });
        m_dadoFator.vincula(m_valorFator[i], QLatin1String(kCampos[i]));
        grade->addWidget(new QLabel(classes.at(i)), i + 1, 0);
        grade->addWidget(m_valorFator[i], i + 1, 1);
        grade->addWidget(new QLabel(QStringLiteral("mm.")), i + 1, 2);
    }
    // The driest class has no box of its own: at or below the last limit the concrete is "Seca".
    m_fator4 = new QLabel(this);
    m_fator4->setObjectName(QStringLiteral("Fator4"));
    m_fator4->setFixedWidth(80);
    m_fator4->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_fator4->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_fator4->setContentsMargins(0, 0, 4, 0);
    connect(m_valorFator[3], &QLineEdit::textChanged, m_fator4, &QLabel::setText);
    grade->addWidget(new QLabel(classes.at(4)), NumeroDeLimites + 1, 0);
    grade->addWidget(m_fator4, NumeroDeLimites + 1, 1);
    grade->addWidget(new QLabel(QStringLiteral("mm.")), NumeroDeLimites + 1, 2);

    const QStringList legendas{QStringLiteral("&OK"), QStringLiteral("&Cancelar"), QStringLiteral("&Padrão"),
                               QStringLiteral("Aj&uda")};
    auto* som = new SomDosBotoes(this);
    auto* botoes = new QGridLayout;
    for (int i = 0; i < int(m_botaoFator.size()); ++i) {
        m_botaoFator[i] = new QPushButton(legendas.at(i), this);
        m_botaoFator[i]->setObjectName(QStringLiteral("BotaoFator%1").arg(i));
        m_botaoFator[i]->setAutoDefault(true);
        som->acompanha(m_botaoFator[i]);
        connect(m_botaoFator[i], &QPushButton::clicked, this, [this, i] { BotaoFator_Click(i); });
        botoes->addWidget(m_botaoFator[i], i / 2, i % 2);
    }
    connect(this, &QDialog::finished, som, &SomDosBotoes::reinicia);

    auto* principal = new QVBoxLayout(this);
    principal->addLayout(grade);
    principal->addSpacing(12);
    principal->addLayout(botoes);
    setFixedSize(sizeHint().expandedTo(QSize(300, 0)));

    // With no row in Consistencias the form offers the usual limits; "&OK" then creates the row.
    m_dadoFator.refresh();
    if (m_dadoFator.temLinha()) {
        m_dadoFator.mostraLinha();
    } else {
        for (int i = 0; i < NumeroDeLimites; ++i)
            m_valorFator[i]->setText(calc::ConsistencyLimits{}.texts()[i]);
    }
    if (somenteConsulta(m_db)) {
        m_botaoFator[Ok]->setEnabled(false);
        m_botaoFator[Padrao]->setEnabled(false);
    }
    explicaFormCons(this);
}

calc::ConsistencyLimits FormCons::limites() const
{
    if (!m_dadoFator.temLinha())
        return {};
    const platform::RecordSet& rs = m_dadoFator.recordset();
    return calc::ConsistencyLimits::fromTexts(
        rs.field(QStringLiteral("Abate1")).toString(), rs.field(QStringLiteral("Abate2")).toString(),
        rs.field(QStringLiteral("Abate3")).toString(), rs.field(QStringLiteral("Abate4")).toString());
}

widgets::CaixaTexto* FormCons::valorFator(int i) const
{
    return i >= 0 && i < NumeroDeLimites ? m_valorFator[i] : nullptr;
}

void FormCons::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    centraNaTela(this);
    m_valorFator[0]->setFocus();
}

void FormCons::BotaoFator_Click(int indice)
{
    platform::TocaSom(platform::Som::MouseClica);
    switch (indice) {
    case Ok:
        gravaLimites();
        break;
    case Cancelar:
        reject();
        break;
    case Padrao:
        for (int i = 0; i < NumeroDeLimites; ++i)
            m_valorFator[i]->setText(calc::ConsistencyLimits{}.texts()[i]);
        break;
    case Ajuda:
        platform::Ajuda::MostraAjuda(this, kTopicoDeAjuda);
        break;
    }
}

void FormCons::gravaLimites()
{
    // Each class lies strictly between its neighbours: a limit not below the one before it is refused, without a
    // message, with the focus on the box of the higher limit of the pair.
    for (int i = 0; i + 1 < NumeroDeLimites; ++i) {
        if (calc::leadingNumber(m_valorFator[i + 1]->text()) >= calc::leadingNumber(m_valorFator[i]->text())) {
            m_valorFator[i]->setFocus();
            return;
        }
    }
    try {
        m_dadoFator.gravaLinha();
        m_dadoFator.refresh();
        m_dadoFator.mostraLinha();
    } catch (const platform::DbError& erro) {
        platform::MostraErro(QStringLiteral("FormCons - BotaoFator"), erro.numero(), erro.descricao());
        return;
    }
    emit atualizaVista();
    QDialog::accept();
}

void FormCons::reject()
{
    try {
        m_dadoFator.refresh();
        m_dadoFator.mostraLinha();
    } catch (const platform::DbError& erro) {
        platform::MostraErro(QStringLiteral("FormCons - BotaoFator"), erro.numero(), erro.descricao());
    }
    emit atualizaVista();
    QDialog::reject();
}

void FormCons::enterNaCaixa(int indice)
{
    if (indice == NumeroDeLimites - 1)
        m_botaoFator[Ok]->setFocus();
    else
        focusNextChild();
}

void FormCons::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        m_botaoFator[Cancelar]->click();
        return;
    }
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        platform::Ajuda::MostraAjuda(this, kTopicoDeAjuda);
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace settings
