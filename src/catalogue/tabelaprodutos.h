#pragma once

#include "calc/producttable.h"

#include <QHash>

namespace platform {
class Database;
}

namespace catalogue {

struct Consulta;

// The suite's products and units as the calculation prices them: a product by its name or code, with the name of
// its unit. Reads the tables at every look-up, so prices changed by the suite's other modules count at once.
class TabelaProdutos : public calc::ProductTable
{
public:
    explicit TabelaProdutos(platform::Database& db) : m_db(db) {}

    std::optional<calc::ProductInfo> findByName(const QString& name) const override;
    std::optional<calc::ProductInfo> findByCode(qint64 code) const override;

private:
    std::optional<calc::ProductInfo> primeiro(const Consulta& consulta) const;
    bool comFatores() const;

    platform::Database& m_db;
    mutable std::optional<bool> m_comFatores;
};

// A product table that asks `origem` for each product once and remembers the answer (a missing product too) until
// esquece(): a report asks for the same handful of products on every row, a window on every keystroke.
class ProdutosLembrados : public calc::ProductTable
{
public:
    explicit ProdutosLembrados(const calc::ProductTable& origem) : m_origem(origem) {}

    std::optional<calc::ProductInfo> findByName(const QString& name) const override;
    std::optional<calc::ProductInfo> findByCode(qint64 code) const override;
    void esquece();

private:
    const calc::ProductTable& m_origem;
    mutable QHash<QString, std::optional<calc::ProductInfo>> m_porNome;
    mutable QHash<qint64, std::optional<calc::ProductInfo>> m_porCodigo;
};

} // namespace catalogue
