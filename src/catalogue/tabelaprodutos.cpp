#include "tabelaprodutos.h"

#include "consultas.h"
#include "platform/database.h"

namespace catalogue {

std::optional<calc::ProductInfo> TabelaProdutos::findByName(const QString& name) const
{
    return primeiro(Consultas::produtoParaCalculoPeloNome(m_db, name));
}

std::optional<calc::ProductInfo> TabelaProdutos::findByCode(qint64 code) const
{
    return primeiro(Consultas::produtoParaCalculoPeloCodigo(m_db, code));
}

std::optional<calc::ProductInfo> TabelaProdutos::primeiro(const Consulta& consulta) const
{
    QSqlQuery q = m_db.exec(consulta.sql, consulta.valores);
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

std::optional<calc::ProductInfo> ProdutosLembrados::findByName(const QString& name) const
{
    const auto it = m_porNome.constFind(name);
    if (it != m_porNome.cend())
        return *it;
    return *m_porNome.insert(name, m_origem.findByName(name));
}

std::optional<calc::ProductInfo> ProdutosLembrados::findByCode(qint64 code) const
{
    const auto it = m_porCodigo.constFind(code);
    if (it != m_porCodigo.cend())
        return *it;
    return *m_porCodigo.insert(code, m_origem.findByCode(code));
}

void ProdutosLembrados::esquece()
{
    m_porNome.clear();
    m_porCodigo.clear();
}

} // namespace catalogue
