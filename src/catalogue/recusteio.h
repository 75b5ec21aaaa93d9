#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace platform {
class Database;
}

namespace catalogue {

// A mix whose cost per cubic metre moved with today's prices.
struct CustoMudado
{
    qint64 codigo = 0;
    QString nome;
    int variante = 0;
    // The cost with losses per m³, as stored before and as written now; the one before is none when the row held
    // no cost.
    std::optional<double> anterior;
    double novo = 0.0;
    QString cotacaoAnterior; // DataCotacao before, as stored
    // The change in per cent of the cost before; none when there was no cost to compare with.
    std::optional<double> variacao() const;
};

// A product the mixes re-costed are priced by, as the products table holds it now.
struct PrecoAtual
{
    QString nome;
    std::optional<double> preco;
    QDate data; // DataPrecoCusto; invalid when the product has none
    // The price is dated after the old DataCotacao of some mix re-costed with it: a price that moved since.
    bool posteriorACotacao = false;
};

// A mix left as it was: a product it uses with a quantity has no price (or is not in the products table).
struct TracoSemPreco
{
    qint64 codigo = 0;
    QString nome;
    int variante = 0;
    QStringList produtos; // the products lacking, each once
};

struct ResultadoDoRecusteio
{
    QDate data; // the date the costs were quoted on: today
    bool soEmUso = false;
    int examinados = 0; // mixes gone through
    bool cancelado = false;
    // Sorted by the size of the change, largest first (a mix with no cost before leads).
    QList<CustoMudado> mudados;
    // By name.
    QList<PrecoAtual> produtos;
    QList<TracoSemPreco> semPreco;
};

// Told how many mixes of how many have been gone through; answering false cancels the run.
using ProgressoDoRecusteio = std::function<bool(int feitos, int total)>;

// Re-costs the catalogue from today's prices: every mix (or those in use) is loaded from its row and recalculated as
// the mix form does before it saves, and the cost without and with losses it gives is written with today as the date
// of quotation. The whole run is one transaction: cancelled or failed (DbError), nothing is written. A mix whose
// costs come out as stored is not written; a run that changes nothing writes nothing at all. A mix that a product it
// uses lacks a price for is left untouched and listed apart: its cost would leave that product out. A row changed
// by another workstation while the run reads it is read again and costed from what it holds then.
class Recusteio
{
public:
    explicit Recusteio(platform::Database& db) : m_db(db) {}

    ResultadoDoRecusteio executa(bool soEmUso, const ProgressoDoRecusteio& progresso = {});

private:
    platform::Database& m_db;
};

} // namespace catalogue
