#pragma once

#include "printing/indicedorelatorio.h"

#include <QAbstractItemModel>

namespace preview {

// The report's table of contents as the viewer's tree shows it: the names at the top, the variants of each under
// it. It reads the report's index as the tree asks, so a catalogue of any size makes no item of its own per entry.
class ModeloDoIndice : public QAbstractItemModel
{
    Q_OBJECT
public:
    using QAbstractItemModel::QAbstractItemModel;

    // The contents shown; not owned, and nothing once the report is let go of.
    void defineIndice(const printing::IndiceDoRelatorio* indice);

    // Where the entry points.
    printing::LugarNoRelatorio lugar(const QModelIndex& entrada) const;

    QModelIndex index(int linha, int coluna, const QModelIndex& pai = {}) const override;
    QModelIndex parent(const QModelIndex& entrada) const override;
    int rowCount(const QModelIndex& pai = {}) const override;
    int columnCount(const QModelIndex& pai = {}) const override;
    QVariant data(const QModelIndex& entrada, int papel = Qt::DisplayRole) const override;

private:
    // An entry's internal id: 0 for a name, the name's row plus one for a variant under it.
    static int nomeDe(const QModelIndex& variante) { return int(variante.internalId()) - 1; }

    const printing::IndiceDoRelatorio* m_indice = nullptr;
};

} // namespace preview
