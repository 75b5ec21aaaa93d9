#pragma once

#include "calc/padroes.h"

#include <QString>
#include <QVariantList>
#include <QVariantMap>

#include <array>
#include <optional>

namespace platform {
class Database;
}

namespace catalogue {

// A statement and the values bound to its '?' marks.
struct Consulta
{
    QString sql;
    QVariantList valores;
};

// The fixed queries of the catalogue. Every name and code travels as a bound value, so a mix called
// "Traço d'água" works like any other. A query whose wording depends on the engine (an ordering of names, the
// first row of a table) is given the database it will run on.
// The columns of the settings table Massas that keep the company's reference values: each text of calc::Padroes in
// its order, the cement class and the three options.
namespace CamposDasMassas {
const std::array<const char*, calc::Padroes::NumeroDeTextos>& textos();
constexpr const char* classe = "Classe";
constexpr const char* forma = "TipoDosagem";
constexpr const char* textura = "FormaDaBrita";
constexpr const char* tipo = "UsoConcreto";
constexpr const char* agressividade = "ClasseAgressividade";
constexpr const char* estrutura = "Estrutura";
} // namespace CamposDasMassas

namespace Consultas {

// Whole catalogue, in catalogue order (the main record set and the report of all mixes).
Consulta catalogo(const platform::Database& db);
// Mixes in use (report).
Consulta emUso(const platform::Database& db);
Consulta contaEmUso();
Consulta variantesDoNome(const QString& nome);
Consulta linhasDoNome(const QString& nome);
// Every mix name once, in the order a Brazilian reader sorts them.
Consulta nomesDistintos(const platform::Database& db);
// The stored name of a mix as typed (`nome` without blanks around it), and failing that the first mix whose name
// folds to `dobrado` (nomeDobrado of the name typed).
Consulta nomeExato(const QString& nome);
Consulta nomeDobrado(const platform::Database& db, const QString& dobrado);
Consulta renomeia(const QString& novoNome, const QString& nomeAntigo);
Consulta limpaPlantoes(const QString& nome);
Consulta produtosQueUsam(qint64 codigoTraco);
// CodigoTraco of the name's first variant.
Consulta codigoDoNome(const QString& nome);
// Codigo, NomeTraco, Plantao of the mixes with the keys.
Consulta nomeEUso(const QList<qint64>& codigos);
// Every field of the mix with the key.
Consulta linhaDoTraco(qint64 codigo);
// Codigo, TracoVariante of the variants of a name, the one in use first and then in variant order: the mixes a
// comparison of the name's variants takes.
Consulta variantesParaComparar(const QString& nome);
// NomeTraco, TracoVariante of the mix with the key: its place in the catalogue's order.
Consulta nomeEVariante(qint64 codigo);
// NomeTraco, TracoVariante, Plantao, CodigoTraco (and Versao when asked) of the mix with the key.
Consulta estadoDaLinha(qint64 codigo, bool comVersao);
// Writes the named fields of the mix with the key.
Consulta atualizaLinha(qint64 codigo, const QVariantMap& campos);
Consulta marcaEmUso(qint64 codigo);
// The keys of every mix, or of the mixes in use only.
Consulta chavesDosTracos(bool soEmUso);
// Writes the costs of the mix with the key and the date of the prices they came from; with a version, only while
// the row still has it.
Consulta gravaCustos(qint64 codigo, std::optional<qint64> versao, double semPerda, double comPerda,
                     const QString& cotacao);
// The first row of a name gives the name its code: its own number.
Consulta codigoProprio(qint64 codigo);
Consulta excluiLinha(qint64 codigo);
Consulta listaCimentos();
Consulta listaGraudos();
Consulta listaAditivos();

// The single-row tables of the company: the first row as stored.
// Nome of DadosEmpresa.
Consulta nomeDaEmpresa(const platform::Database& db);
// Morto of DadosEmpresa: the data folder is an archive, kept for looking up only.
Consulta arquivoMorto(const platform::Database& db);
// Every field of Massas (the reference masses and the defaults of a new mix).
Consulta massas(const platform::Database& db);
// Abate1 to Abate4 of Consistencias (the consistency limits).
Consulta consistencias(const platform::Database& db);

// DataPrecoCusto of the first product: the date of the price list.
Consulta dataDosPrecos(const platform::Database& db);
// Products. With two rows of the same name or code, the first stored is the one used.
// CodigoProduto of the product with the name.
Consulta codigoDoProduto(const platform::Database& db, const QString& nome);
// NomeProduto and Peso of every product whose name holds `trecho`, in the order they were stored.
Consulta produtosComTrecho(const platform::Database& db, const QString& trecho);
// CodigoProduto, NomeProduto, PrecoCustoComPerda, Peso, the unit's NomeUnidade and the product's FatorCO2 of the
// product with the name, or with the code; FatorCO2 is Null without `comFatores` (a database without the table).
Consulta produtoParaCalculoPeloNome(const platform::Database& db, const QString& nome, bool comFatores);
Consulta produtoParaCalculoPeloCodigo(const platform::Database& db, qint64 codigo, bool comFatores);
// CodigoProduto, NomeProduto, the unit's NomeUnidade and FatorCO2 (Null when none) of every product, in the order
// they were stored.
Consulta fatoresDosProdutos(const platform::Database& db);
// NomeProduto, the unit's NomeUnidade, PrecoCustoComPerda and DataPrecoCusto of every product, in the order they
// were stored: the price list.
Consulta listaDePrecos(const platform::Database& db);
// PrecoCustoComPerda and DataPrecoCusto of the product with the name.
Consulta precoDoProduto(const platform::Database& db, const QString& nome);

} // namespace Consultas

} // namespace catalogue
