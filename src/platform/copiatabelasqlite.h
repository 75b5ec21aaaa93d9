#pragma once

#include "relatoriodereparo.h"

#include <QSqlDatabase>
#include <QString>

class QFile;

namespace platform {

// The SQLite driver's salvage of one table when it mends a damaged file.
// Copies into the same table of `destino` every row of `tabela` that can still be read from `origem`, a damaged
// database file also open for reading as `arquivo` (see faixasDaTabela), and tells how many rows came across and how
// many were left on damaged pages. The table is read range by range along its own tree (see faixasDaTabela), so that a
// damaged page costs only its own rows wherever it lies and whatever the keys; the keys the table's indexes still hold
// point to rows behind damage the tree does not show, and count the rows that could not be read. Rows the table's own
// rules refuse are left out and counted as lost. Throws DbError when `destino` refuses a write.
RelatorioDeReparo::Tabela copiaTabelaSqlite(const QSqlDatabase& origem, const QSqlDatabase& destino,
                                            const QString& tabela, QFile& arquivo);

} // namespace platform
