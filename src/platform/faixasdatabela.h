#pragma once

#include <QList>

class QFile;

namespace platform {

// A range of row keys of a table, from `de` to `ate` inclusive. A leaf range holds the rows of one page of the
// table; a range that is not a leaf lies under a page that could not be followed (a damaged page of the tree), so
// nothing is known of how its rows are laid out.
struct FaixaDeChaves
{
    qint64 de = 0;
    qint64 ate = 0;
    bool folha = false;

    bool operator==(const FaixaDeChaves&) const = default;
};

// The key ranges of the table whose tree starts at page `raiz`, read from the database file's own interior pages:
// one range per leaf page, in key order, together covering every possible key. A page of the tree that does not
// read as one (overwritten, out of the file, met twice) gives a single range that is not a leaf for all the keys
// beneath it; a file that cannot be read gives one such range for all keys. The mending of a damaged file reads
// the rows range by range, so that damage in one range costs only the rows of that range.
// `arquivo` is the database file, open for reading; it is left open. Closing a handle on a database file drops every
// lock the process holds on that file, the engine's own included, so the caller closes it only once its
// connections have let go of the file.
QList<FaixaDeChaves> faixasDaTabela(QFile& arquivo, qint64 raiz, int tamanhoDaPagina);

} // namespace platform
