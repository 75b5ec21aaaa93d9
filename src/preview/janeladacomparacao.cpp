#include "janeladacomparacao.h"

#include "previatraco.h"
#include "visualizador.h"

#include "catalogue/consultas.h"
#include "desktop/ajuda.h"
#include "desktop/dialogs.h"
#include "desktop/mostraerro.h"
#include "desktop/som.h"
#include "platform/database.h"
#include "platform/dberror.h"
#include "printing/comparacao.h"
#include "printing/ficha.h"
#include "printing/folhadacomparacao.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QSqlQuery>
#include <QVBoxLayout>

#include <optional>

namespace preview {

namespace {

using desktop::Dialogs;

const QString kTitulo = printing::Comparacao::legenda();

} // namespace

JanelaDaComparacao::JanelaDaComparacao(const printing::Comparacao& comparacao, const QString& logotipo, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("JanelaDaComparacao"));
    QStringList titulos;
    for (const printing::TracoComparado& t : comparacao.tracos())
        titulos.append(t.titulo());
    setWindowTitle(kTitulo + QStringLiteral(" [") + titulos.join(QStringLiteral("; ")) + QLatin1Char(']'));
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_previa = new PreviaTraco(this);
    m_previa->Folha->setAccessibleName(kTitulo);
    m_previa->Botao[PreviaTraco::BotaoImprimir]->setAccessibleName(QStringLiteral("Imprimir a comparação"));
    layout->addWidget(m_previa);
    // Over the window it was asked from, at its size; a page's width fits a screen of 1024x768.
    if (parent)
        setGeometry(parent->window()->geometry());
    else
        resize(900, 680);
    printing::ImprimeComparacao(m_previa->documento(), comparacao,
                                logotipo.isEmpty() ? printing::logotipoPadrao() : logotipo);
    m_previa->mostraDocumento(kTitulo);
}

const printing::Documento& JanelaDaComparacao::documento() const
{
    return m_previa->documento();
}

void JanelaDaComparacao::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        desktop::Ajuda::MostraAjuda(this, kTopicoDaAjuda);
        return;
    }
    QDialog::keyPressEvent(event);
}

bool mostraComparacao(QWidget* pai, platform::Database& banco, const QList<qint64>& codigos, const QString& logotipo)
{
    const QString aviso = printing::Comparacao::avisoDeQuantidade(int(codigos.size()));
    if (!aviso.isEmpty()) {
        desktop::TocaSom(desktop::Som::Erro);
        Dialogs::aviso(aviso, kTitulo, Dialogs::Icone::Informacao);
        return false;
    }
    std::optional<printing::Comparacao> comparacao;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        comparacao = printing::Comparacao::le(banco, codigos);
    } catch (const platform::DbError& erro) {
        QApplication::restoreOverrideCursor();
        desktop::MostraErro(kTitulo, erro.numero(), erro.descricao());
        return false;
    }
    JanelaDaComparacao janela(*comparacao, logotipo, pai);
    QApplication::restoreOverrideCursor();
    Dialogs::atual().mostraModal(&janela);
    return true;
}

bool comparaVariantes(QWidget* pai, platform::Database& banco, const QString& nome, const QString& logotipo)
{
    QList<qint64> codigos;
    try {
        const catalogue::Consulta consulta = catalogue::Consultas::variantesParaComparar(nome);
        QSqlQuery q = banco.exec(consulta.sql, consulta.valores);
        while (q.next() && codigos.size() < printing::Comparacao::kMaximo)
            codigos.append(q.value(0).toLongLong());
    } catch (const platform::DbError& erro) {
        desktop::MostraErro(kTitulo, erro.numero(), erro.descricao());
        return false;
    }
    if (codigos.size() < printing::Comparacao::kMinimo) {
        Dialogs::aviso(QStringLiteral("Este traço tem uma só variante: não há com o que compará-lo."), kTitulo,
                       Dialogs::Icone::Informacao);
        return false;
    }
    return mostraComparacao(pai, banco, codigos, logotipo);
}

} // namespace preview
