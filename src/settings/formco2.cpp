#include "formco2.h"

#include "explicacoes.h"
#include "referencias.h"
#include "somdosbotoes.h"

#include "desktop/ajuda.h"
#include "desktop/dialogs.h"
#include "desktop/mostraerro.h"
#include "desktop/som.h"
#include "platform/dberror.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace settings {

namespace {

constexpr int kTopicoDeAjuda = 2100;

QString textoDoFator(const std::optional<double>& fator)
{
    if (!fator)
        return {};
    QLocale local;
    local.setNumberOptions(QLocale::OmitGroupSeparator);
    return local.toString(*fator, 'g', 15);
}

QTableWidgetItem* celulaFixa(const QString& texto)
{
    auto* celula = new QTableWidgetItem(texto);
    celula->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return celula;
}

} // namespace

FormCO2::FormCO2(platform::Database& db, QWidget* parent)
    : QDialog(parent), m_db(db), m_produtos(catalogue::FatoresCO2::produtos(db))
{
    setObjectName(QStringLiteral("FormCO2"));
    setWindowTitle(QStringLiteral("Fatores de Emissão (CO₂)"));

    auto* explicacao = new QLabel(QStringLiteral("kg de CO₂ equivalente emitidos por unidade de cada produto "
                                                 "(declaração do fornecedor). Em branco: produto sem fator."));
    explicacao->setWordWrap(true);

    m_tabela = new QTableWidget(int(m_produtos.size()), 3, this);
    m_tabela->setObjectName(QStringLiteral("TabelaCO2"));
    m_tabela->setHorizontalHeaderLabels(
        {QStringLiteral("Produto"), QStringLiteral("Unidade"), QStringLiteral("kg CO₂e por unidade")});
    m_tabela->verticalHeader()->hide();
    m_tabela->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_tabela->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tabela->setEditTriggers(QAbstractItemView::AllEditTriggers);
    for (int linha = 0; linha < m_produtos.size(); ++linha) {
        const catalogue::FatorDoProduto& produto = m_produtos.at(linha);
        m_tabela->setItem(linha, 0, celulaFixa(produto.nome));
        m_tabela->setItem(linha, 1, celulaFixa(produto.unidade));
        auto* fator = new QTableWidgetItem(textoDoFator(produto.fator));
        fator->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_tabela->setItem(linha, ColunaFator, fator);
    }
    m_tabela->resizeColumnToContents(1);
    m_tabela->setColumnWidth(ColunaFator, 150);
    m_tabela->setAccessibleName(QStringLiteral("Fatores de emissão dos produtos"));
    // The factor is the only thing typed here: the form opens on the first one.
    if (!m_produtos.isEmpty())
        m_tabela->setCurrentCell(0, ColunaFator);

    const QStringList legendas{QStringLiteral("&Gravar"), QStringLiteral("&Cancelar"), QStringLiteral("Aj&uda")};
    auto* som = new SomDosBotoes(this);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    for (int i = 0; i < int(m_botaoCO2.size()); ++i) {
        m_botaoCO2[i] = new QPushButton(legendas.at(i), this);
        m_botaoCO2[i]->setObjectName(QStringLiteral("BotaoCO2%1").arg(i));
        m_botaoCO2[i]->setAutoDefault(false);
        som->acompanha(m_botaoCO2[i]);
        botoes->addWidget(m_botaoCO2[i]);
    }
    connect(m_botaoCO2[Gravar], &QPushButton::clicked, this, [this] {
        desktop::TocaSom(desktop::Som::MouseClica);
        grava();
    });
    connect(m_botaoCO2[Cancelar], &QPushButton::clicked, this, &QDialog::reject);
    connect(m_botaoCO2[Ajuda], &QPushButton::clicked, this,
            [this] { desktop::Ajuda::MostraAjuda(this, kTopicoDeAjuda); });
    connect(this, &QDialog::finished, som, &SomDosBotoes::reinicia);

    auto* principal = new QVBoxLayout(this);
    principal->addWidget(explicacao);
    principal->addWidget(m_tabela, 1);
    principal->addLayout(botoes);
    resize(560, 480);

    if (somenteConsulta(m_db)) {
        m_botaoCO2[Gravar]->setEnabled(false);
        m_tabela->setEditTriggers(QAbstractItemView::NoEditTriggers);
    }
    explicaFormCO2(this);
}

void FormCO2::grava()
{
    // Leaving the current cell commits what is being typed in it (Alt+G does not move the focus).
    m_tabela->setCurrentIndex(QModelIndex());
    QList<catalogue::FatorDoProduto> fatores = m_produtos;
    for (int linha = 0; linha < fatores.size(); ++linha) {
        bool valido = true;
        QString mensagem;
        fatores[linha].fator =
            catalogue::FatoresCO2::leFator(m_tabela->item(linha, ColunaFator)->text(), valido, &mensagem);
        if (!valido) {
            desktop::Dialogs::aviso(QStringLiteral("%1: %2").arg(fatores[linha].nome, mensagem),
                                    QStringLiteral("Fatores de Emissão"), desktop::Dialogs::Icone::Exclamacao);
            m_tabela->setCurrentCell(linha, ColunaFator);
            m_tabela->setFocus();
            return;
        }
    }
    try {
        catalogue::FatoresCO2::grava(m_db, m_produtos, fatores);
    } catch (const platform::DbError& erro) {
        desktop::MostraErro(QStringLiteral("FormCO2 - Gravar"), erro.numero(), erro.descricao());
        return;
    }
    m_produtos = fatores;
    emit atualizaVista();
    accept();
}

void FormCO2::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        desktop::Ajuda::MostraAjuda(this, kTopicoDeAjuda);
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace settings
