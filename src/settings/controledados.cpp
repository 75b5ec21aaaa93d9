#include "controledados.h"

#include "platform/database.h"
#include "platform/dberror.h"

#include <QComboBox>
#include <QLineEdit>

namespace settings {

ControleDados::ControleDados(platform::Database& db, const QString& tabela) : m_recordset(db)
{
    m_recordset.setTable(tabela);
}

void ControleDados::vincula(QLineEdit* caixa, const QString& campo)
{
    m_vinculos.append({campo, [caixa] { return caixa->text(); }, [caixa](const QString& t) { caixa->setText(t); }});
}

void ControleDados::vincula(QComboBox* lista, const QString& campo)
{
    m_vinculos.append({campo, [lista] { return lista->currentText(); },
                       [lista](const QString& t) {
                           int indice = lista->findText(t);
                           if (indice < 0) {
                               lista->addItem(t);
                               indice = lista->count() - 1;
                           }
                           lista->setCurrentIndex(indice);
                       }});
}

bool ControleDados::temLinha() const
{
    return m_recordset.isOpen() && !m_recordset.bof() && !m_recordset.eof();
}

void ControleDados::refresh()
{
    m_recordset.refresh();
    m_recordset.moveFirst();
}

void ControleDados::mostraLinha()
{
    if (!temLinha())
        return;
    for (const Vinculo& vinculo : std::as_const(m_vinculos))
        vinculo.mostra(m_recordset.field(vinculo.campo).toString());
}

void ControleDados::gravaLinha(const QList<std::pair<QString, QVariant>>& extras)
{
    if (temLinha())
        m_recordset.edit();
    else
        m_recordset.addNew();
    try {
        for (const auto& [campo, valor] : extras)
            m_recordset.setField(campo, valor);
        for (const Vinculo& vinculo : std::as_const(m_vinculos))
            m_recordset.setField(vinculo.campo, vinculo.texto());
        m_recordset.update();
    } catch (const platform::DbError&) {
        m_recordset.cancelUpdate();
        throw;
    }
}

} // namespace settings
