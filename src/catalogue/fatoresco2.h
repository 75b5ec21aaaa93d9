#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace platform {
class Database;
}

namespace catalogue {

// A product of the suite with its CO2 factor, as the settings form lists it.
struct FatorDoProduto
{
    qint64 codigo = 0;
    QString nome;
    QString unidade;
    std::optional<double> fator; // kg CO2e per unit of the product; nothing when the company has given none
};

// The company's CO2 factors: kg CO2e emitted making one unit of each product (a bag of cement, a m³ of sand, a
// litre of admixture), kept in FatoresEmissao by the product's code. A product without a row has no factor, which
// is not the same as a factor of 0.
class FatoresCO2
{
public:
    // Every product in the order it was stored, with its unit and factor.
    static QList<FatorDoProduto> produtos(platform::Database& db);

    // A factor as typed: an empty box is no factor; otherwise a number of 0 or more, decimal comma accepted.
    // Gives the Portuguese message of a text that is no factor in `mensagem`.
    static std::optional<double> leFator(const QString& texto, bool& valido, QString* mensagem = nullptr);

    // Writes, in one transaction, the factors the user changed: `editados` against `lidos`, the list as the form
    // read it (same products, same order). A changed product with a factor gets its row, one without loses it; a
    // factor left as it was read is not written, so that what another workstation saved meanwhile stays. The rows
    // of products no longer in the table go too. The database's failures (DbError) reach the caller with nothing
    // written.
    static void grava(platform::Database& db, const QList<FatorDoProduto>& lidos,
                      const QList<FatorDoProduto>& editados);
};

} // namespace catalogue
