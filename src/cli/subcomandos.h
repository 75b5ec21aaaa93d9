#pragma once

#include <QStringList>

// Each subcommand of quenvar-cli takes its own arguments and returns the exit status: 0 done, 2 bad input (a
// Portuguese message has gone to stderr and nothing was written).
namespace cli {

constexpr int kSucesso = 0;
constexpr int kEntradaInvalida = 2;

int criarDados(const QStringList& argumentos);
// migrar PASTA --servidor CONEXAO: the data folder's SQLite database copied to a PostgreSQL server.
int migrar(const QStringList& argumentos);
// recalcular [--dados PASTA]: a mix (the fields of a Tracos row, JSON on stdin) recalculated from its batch.
int recalcular(const QStringList& argumentos);
// dosar [--dados PASTA] [--pdf ARQUIVO]: the dosage wizard's design from its answers (JSON on stdin); with --pdf,
// also the sheet of the experimental mix.
int dosar(const QStringList& argumentos);
// ficha PASTA --nome NOME [--variante N] --pdf ARQUIVO: the sheet of a stored mix, as a PDF file.
int ficha(const QStringList& argumentos);
// relatorio PASTA --todos|--em-uso --pdf ARQUIVO: the catalogue report of every mix or of the mixes in use, as a
// PDF file.
int relatorio(const QStringList& argumentos);
// exportar PASTA --csv|--xlsx|--json ARQUIVO [--em-uso]: every mix of the catalogue, or those in use, as a file: a
// spreadsheet (CSV or XLSX) of readable columns, or the Tracos fields in JSON for importar; the products are named,
// not given by their codes.
int exportar(const QStringList& argumentos);
// importar PASTA ARQUIVO: the mixes of a file such as exportar writes, saved by the catalogue's rules with the
// products and prices of PASTA; all of them or none.
int importar(const QStringList& argumentos);
// recustear PASTA [--em-uso] [--pdf RELATORIO]: every mix (or those in use) costed again from today's prices; with
// --pdf, the report of what changed.
int recustear(const QStringList& argumentos);
// comparar PASTA --traco NOME [--variante N] ... [--pdf ARQUIVO]: two to four stored mixes side by side with their
// differences to the first, as JSON on stdout or, with --pdf, as a PDF file.
int comparar(const QStringList& argumentos);
// betonada PASTA --traco NOME [--variante N] --litros L [--volume M3] [--meio-saco] [--pdf ARQUIVO]: one batch of a
// stored mix for a mixer of L litres in whole (or half) bags of cement, as JSON on stdout; with --pdf, also the
// batching sheet as a PDF file.
int betonada(const QStringList& argumentos);

// Writes a message to stderr, in UTF-8, with a line end.
void erro(const QString& mensagem);

} // namespace cli
