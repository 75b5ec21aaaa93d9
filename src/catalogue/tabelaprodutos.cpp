#include "tabelaprodutos.h"

#include "platform/database.h"

namespace catalogue {

std::optional<calc::ProductInfo> TabelaProdutos::findByName(const QString& name) const
{
    return primeiro(QStringLiteral("p.NomeProduto = ?"), name);
}

std::optional<calc::ProductInfo> TabelaProdutos::findByCode(qint64 code) const
{
    return primeiro(QStringLiteral("p.CodigoProduto = ?"), code);
}

std::optional<calc::ProductInfo> TabelaProdutos::primeiro(const QString& condicao, const QVariant& valor) const
{
    QSqlQuery q = m_db.exec(QStringLiteral("SELECT p.CodigoProduto, p.NomeProduto, p.PrecoCustoComPerda, p.Peso, "
                                           "u.NomeUnidade FROM Produtos p "
                                           "LEFT JOIN Unidades u ON u.CodigoUnidade = p.Unidade WHERE ") +
                                condicao + QStringLiteral(" ORDER BY p.rowid LIMIT 1"),
                            {valor});
    if (!q.next())
        return std::nullopt;
    calc::ProductInfo produto;
    produto.code = q.value(0).toLongLong();
    produto.name = q.value(1).toString();
    if (!q.value(2).isNull())
        produto.price = q.value(2).toDouble();
    produto.weight = q.value(3).toDouble();
    produto.unit = q.value(4).toString();
    return produto;
}

} // namespace catalogue
