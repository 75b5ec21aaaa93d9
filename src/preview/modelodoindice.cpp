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
    return ehVariante(entrada) ? m_indice->lugar(nomeDe(entrada), entrada.row()) : m_indice->lugar(entrada.row());
}

QModelIndex ModeloDoIndice::index(int linha, int coluna, const QModelIndex& pai) const
{
    if (coluna != 0 || linha < 0 || linha >= rowCount(pai))
        return {};
    return createIndex(linha, 0, pai.isValid() ? kVariante | quintptr(pai.row()) : quintptr(linha));
}

QModelIndex ModeloDoIndice::parent(const QModelIndex& entrada) const
{
    if (!entrada.isValid() || !ehVariante(entrada))
        return {};
    return createIndex(nomeDe(entrada), 0, quintptr(nomeDe(entrada)));
}

int ModeloDoIndice::rowCount(const QModelIndex& pai) const
{
    if (!m_indice)
        return 0;
    if (!pai.isValid())
        return m_indice->nomes();
    // Only names have entries under them.
    return !ehVariante(pai) && pai.column() == 0 ? m_indice->variantes(pai.row()) : 0;
}

int ModeloDoIndice::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant ModeloDoIndice::data(const QModelIndex& entrada, int papel) const
{
    if (!m_indice || !entrada.isValid() || papel != Qt::DisplayRole)
        return {};
    return ehVariante(entrada) ? m_indice->variante(nomeDe(entrada), entrada.row()) : m_indice->nome(entrada.row());
}

Qt::ItemFlags ModeloDoIndice::flags(const QModelIndex& entrada) const
{
    // An entry with nothing under it says so, so that the tree, opening every name, keeps no open state for it.
    Qt::ItemFlags f = QAbstractItemModel::flags(entrada);
    if (entrada.isValid() && rowCount(entrada) == 0)
        f |= Qt::ItemNeverHasChildren;
    return f;
}

} // namespace preview
