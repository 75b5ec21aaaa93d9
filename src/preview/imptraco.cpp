#include "imptraco.h"

#include "previatraco.h"
#include "visualizador.h"

#include "calc/carregatraco.h"
#include "printing/ficha.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QSqlField>
#include <QSqlRecord>
#include <QVBoxLayout>

namespace preview {

namespace {

const QString kLegenda = QStringLiteral("Quenvar ");

} // namespace

ImpTraco::ImpTraco(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ImpTraco"));
    setWindowTitle(kLegenda);
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_previa = new PreviaTraco(this);
    layout->addWidget(m_previa);
    m_logotipo = printing::logotipoPadrao();
    engoleTeclas(this);
    if (parent)
        copiaMedidas(parent->window());
}

ImpTraco::ImpTraco(const QVariantMap& linha, const calc::ProductTable* produtos, QWidget* parent) : ImpTraco(parent)
{
    m_linha = linha;
    m_produtos = produtos;
}

ImpTraco::ImpTraco(const calc::CalcState& estado, QWidget* parent) : ImpTraco(parent)
{
    m_estado = estado;
}

ImpTraco::~ImpTraco() = default;

void ImpTraco::defineLinha(const QVariantMap& linha)
{
    m_linha = linha;
}

void ImpTraco::defineLinha(const QSqlRecord& registro)
{
    m_linha = camposDe(registro);
}

void ImpTraco::defineEstado(const calc::CalcState& estado)
{
    m_linha.reset();
    m_estado = estado;
}

QVariantMap ImpTraco::camposDe(const QSqlRecord& registro)
{
    QVariantMap campos;
    for (int i = 0; i < registro.count(); ++i)
        campos.insert(registro.fieldName(i), registro.value(i));
    return campos;
}

void ImpTraco::copiaMedidas(const QWidget* principal)
{
    // Where the main window stands and how it looks: the preview opens over it at the same place and size.
    setGeometry(principal->geometry());
    setWindowState(principal->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen));
    setWindowIcon(principal->windowIcon());
    setFont(principal->font());
}

void ImpTraco::engoleTeclas(QWidget* raiz)
{
    for (QWidget* filho : raiz->findChildren<QWidget*>())
        filho->installEventFilter(this);
}

void ImpTraco::ativa()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_previa->PreparaFolha();
    if (m_linha) {
        calc::CarregaTraco(m_estado, *m_linha, m_produtos);
        m_previa->ImprimeTraco(m_estado, printing::OrigemDaFicha::gravado(*m_linha, m_logotipo), this);
    } else {
        m_previa->ImprimeTraco(m_estado, printing::OrigemDaFicha::experimental(m_logotipo), this);
    }
    m_previa->defineZoom(100);
    m_previa->Folha->vaiParaOInicio();
    QApplication::restoreOverrideCursor();
}

void ImpTraco::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        ativa();
}

void ImpTraco::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        hide();
    event->accept();
}

bool ImpTraco::eventFilter(QObject* objeto, QEvent* evento)
{
    // The form sees every key first and keeps it: Esc hides it, no other key reaches its controls.
    if (evento->type() == QEvent::KeyPress) {
        keyPressEvent(static_cast<QKeyEvent*>(evento));
        return true;
    }
    return QDialog::eventFilter(objeto, evento);
}

void ImpTraco::closeEvent(QCloseEvent* event)
{
    // Closing unloads the form: the sheet and the grown caption go with it.
    m_previa->limpa();
    setWindowTitle(kLegenda);
    event->accept();
}

} // namespace preview
