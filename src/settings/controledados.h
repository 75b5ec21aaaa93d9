#pragma once

#include "platform/recordset.h"

#include <QList>
#include <QString>

#include <functional>

class QComboBox;
class QLineEdit;

namespace platform {
class Database;
}

namespace settings {

// The data control of a settings form: a record set over one table of reference values, and the controls bound to
// the fields of its current row. The settings live in the first row of their table; the controls show it, and
// writing the record takes the controls' texts back into it.
class ControleDados
{
public:
    ControleDados(platform::Database& db, const QString& tabela);

    void vincula(QLineEdit* caixa, const QString& campo);
    // A list bound to a text field shows the stored text even when it is not one of the list's entries.
    void vincula(QComboBox* lista, const QString& campo);

    platform::RecordSet& recordset() { return m_recordset; }
    const platform::RecordSet& recordset() const { return m_recordset; }
    bool temLinha() const;

    // Reads the table again and stands on its first row, without touching the controls.
    void refresh();
    // Puts the current row's stored values back into the bound controls; with no row the controls keep their text.
    void mostraLinha();
    // Writes the bound controls, and the extra fields handed in, into the current row. A table with no row gets one:
    // the settings must be somewhere for the next start. A write the database refuses throws DbError and leaves
    // the table as it was.
    void gravaLinha(const QList<std::pair<QString, QVariant>>& extras = {});

private:
    struct Vinculo
    {
        QString campo;
        std::function<QString()> texto;
        std::function<void(const QString&)> mostra;
    };

    platform::RecordSet m_recordset;
    QList<Vinculo> m_vinculos;
};

} // namespace settings
