#include "janeladabetonada.h"

#include "previatraco.h"
#include "visualizador.h"

#include "calc/betonada.h"
#include "calc/carregatraco.h"
#include "calc/numericentry.h"
#include "catalogue/tabelaprodutos.h"
#include "desktop/ajuda.h"
#include "desktop/dialogs.h"
#include "desktop/mostraerro.h"
#include "desktop/som.h"
#include "platform/database.h"
#include "platform/dberror.h"
#include "printing/ficha.h"
#include "printing/folhadabetonada.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace preview {

namespace {

using desktop::Dialogs;

const QString kTitulo = QStringLiteral("Betonada");

// A mixer of 400 litres is the common size on a building site.
const QString kCapacidadeComum = QStringLiteral("400");

} // namespace

JanelaDaBetonada::JanelaDaBetonada(const calc::CalcState& traco, double pesoSaco, const QString& logotipo,
                                   QWidget* parent)
    : QDialog(parent), m_traco(traco), m_pesoSaco(pesoSaco), m_logotipo(logotipo)
{
    setObjectName(QStringLiteral("JanelaDaBetonada"));
    setWindowTitle(kTitulo + QStringLiteral(" [") + traco.titulo + QLatin1Char(']'));
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* barra = new QHBoxLayout;
    barra->setContentsMargins(8, 6, 8, 0);
    const auto caixa = [&](const QString& rotulo, const QString& nome, const QString& texto) {
        auto* edicao = new QLineEdit(texto, this);
        edicao->setObjectName(nome);
        edicao->setMaximumWidth(90);
        auto* legenda = new QLabel(rotulo, this);
        legenda->setBuddy(edicao);
        barra->addWidget(legenda);
        barra->addWidget(edicao);
        return edicao;
    };
    Litros = caixa(QStringLiteral("&Betoneira (litros):"), QStringLiteral("Litros"), kCapacidadeComum);
    Litros->setWhatsThis(QStringLiteral("Litros de concreto que a betoneira produz por vez."));
    Volume = caixa(QStringLiteral("&Volume (m³):"), QStringLiteral("Volume"), QString());
    Volume->setWhatsThis(QStringLiteral("Volume a concretar; em branco, a folha não conta as betonadas."));
    MeioSaco = new QCheckBox(QStringLiteral("&Meio saco"), this);
    MeioSaco->setObjectName(QStringLiteral("MeioSaco"));
    MeioSaco->setWhatsThis(QStringLiteral("Permite betonadas com meio saco de cimento a mais."));
    barra->addWidget(MeioSaco);
    auto* calcular = new QPushButton(QStringLiteral("&Calcular"), this);
    calcular->setObjectName(QStringLiteral("Calcular"));
    calcular->setDefault(true);
    barra->addWidget(calcular);
    barra->addStretch();
    layout->addLayout(barra);
    m_previa = new PreviaTraco(this);
    m_previa->Folha->setAccessibleName(kTitulo);
    m_previa->Botao[PreviaTraco::BotaoImprimir]->setAccessibleName(QStringLiteral("Imprimir a betonada"));
    layout->addWidget(m_previa);
    if (parent)
        setGeometry(parent->window()->geometry());
    else
        resize(900, 680);
    connect(calcular, &QPushButton::clicked, this, [this] { calcula(); });
    calcula();
}

const printing::Documento& JanelaDaBetonada::documento() const
{
    return m_previa->documento();
}

bool JanelaDaBetonada::calcula()
{
    const auto numero = [](QLineEdit* caixa, const QString& nome) -> std::optional<double> {
        const std::optional<double> valor = calc::strictNumber(caixa->text());
        if (!valor) {
            Dialogs::aviso(QStringLiteral("%1 deve ser um número; veio \"%2\".").arg(nome, caixa->text()), kTitulo,
                           Dialogs::Icone::Exclamacao);
            caixa->setFocus();
        }
        return valor;
    };
    const std::optional<double> litros = numero(Litros, QStringLiteral("A capacidade da betoneira"));
    if (!litros)
        return false;
    std::optional<double> volume;
    if (!Volume->text().trimmed().isEmpty()) {
        volume = numero(Volume, QStringLiteral("O volume a concretar"));
        if (!volume)
            return false;
    }
    const calc::Betonada b = calc::CalculaBetonada(m_traco, m_pesoSaco, *litros, MeioSaco->isChecked(), volume);
    if (b.falha != calc::FalhaDaBetonada::Nenhuma) {
        desktop::TocaSom(desktop::Som::Erro);
        Dialogs::aviso(printing::mensagemDaBetonada(b, m_traco.nomes[0]), kTitulo, Dialogs::Icone::Exclamacao);
        return false;
    }
    printing::ImprimeBetonada(m_previa->documento(), m_traco, b,
                              m_logotipo.isEmpty() ? printing::logotipoPadrao() : m_logotipo);
    m_previa->mostraDocumento(kTitulo + QLatin1Char(' ') + m_traco.titulo);
    return true;
}

void JanelaDaBetonada::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        desktop::Ajuda::MostraAjuda(this, kTopicoDaAjuda);
        return;
    }
    QDialog::keyPressEvent(event);
}

bool mostraBetonada(QWidget* pai, platform::Database& banco, const QVariantMap& campos, const QString& logotipo)
{
    calc::CalcState traco;
    double pesoSaco = 0.0;
    try {
        const catalogue::TabelaProdutos produtos(banco);
        calc::CarregaTraco(traco, campos, &produtos);
        if (!traco.nomes[0].isEmpty())
            pesoSaco = produtos.findByName(traco.nomes[0]).value_or(calc::ProductInfo{}).weight;
    } catch (const platform::DbError& erro) {
        desktop::MostraErro(kTitulo, erro.numero(), erro.descricao());
        return false;
    }
    // A mix without cement, or a cement without bag mass, has no batch whatever the mixer.
    const calc::Betonada prova = calc::CalculaBetonada(traco, pesoSaco, 1.0, false);
    if (prova.falha == calc::FalhaDaBetonada::SemCimento || prova.falha == calc::FalhaDaBetonada::SemPesoDoSaco) {
        Dialogs::aviso(printing::mensagemDaBetonada(prova, traco.nomes[0]), kTitulo, Dialogs::Icone::Informacao);
        return false;
    }
    JanelaDaBetonada janela(traco, pesoSaco, logotipo, pai);
    Dialogs::atual().mostraModal(&janela);
    return true;
}

} // namespace preview
