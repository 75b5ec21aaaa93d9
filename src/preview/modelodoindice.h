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
    Qt::ItemFlags flags(const QModelIndex& entrada) const override;

private:
    // An entry's internal id: a name's is its own row, a variant's the row of its name with the top bit set. The tree
    // records each open name in a hash of its row plus its id: with its row as its id, the names spread over the
    // hash, where one id for them all would crowd them into a sixteenth of it.
    static constexpr quintptr kVariante = quintptr(1) << (sizeof(quintptr) * 8 - 1);
    static bool ehVariante(const QModelIndex& entrada) { return (entrada.internalId() & kVariante) != 0; }
    static int nomeDe(const QModelIndex& variante) { return int(variante.internalId() & ~kVariante); }

    const printing::IndiceDoRelatorio* m_indice = nullptr;
};

} // namespace preview
