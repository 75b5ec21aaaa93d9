#include "modelodoindice.h"

namespace preview {

void ModeloDoIndice::defineIndice(const printing::IndiceDoRelatorio* indice)
{
    beginResetModel();
    m_indice = indice;
    endResetModel();
}

printing::LugarNoRelatorio ModeloDoIndice::lugar(const QModelIndex& entrada) const
{
    if (!m_indice || !entrada.isValid())
        return {};
    return entrada.internalId() == 0 ? m_indice->lugar(entrada.row()) : m_indice->lugar(nomeDe(entrada), entrada.row());
}

QModelIndex ModeloDoIndice::index(int linha, int coluna, const QModelIndex& pai) const
{
    if (coluna != 0 || linha < 0 || linha >= rowCount(pai))
        return {};
    return createIndex(linha, 0, pai.isValid() ? quintptr(pai.row()) + 1 : quintptr(0));
}

QModelIndex ModeloDoIndice::parent(const QModelIndex& entrada) const
{
    if (!entrada.isValid() || entrada.internalId() == 0)
        return {};
    return createIndex(nomeDe(entrada), 0, quintptr(0));
}

int ModeloDoIndice::rowCount(const QModelIndex& pai) const
{
    if (!m_indice)
        return 0;
    if (!pai.isValid())
        return m_indice->nomes();
    // Only names have entries under them.
    return pai.internalId() == 0 && pai.column() == 0 ? m_indice->variantes(pai.row()) : 0;
}

int ModeloDoIndice::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant ModeloDoIndice::data(const QModelIndex& entrada, int papel) const
{
    if (!m_indice || !entrada.isValid() || papel != Qt::DisplayRole)
        return {};
    return entrada.internalId() == 0 ? m_indice->nome(entrada.row())
                                     : m_indice->variante(nomeDe(entrada), entrada.row());
}

} // namespace preview
