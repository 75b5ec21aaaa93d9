#include "tabelaprodutos.h"

#include "consultas.h"
#include "platform/database.h"
#include "schema.h"

namespace catalogue {

std::optional<calc::ProductInfo> TabelaProdutos::findByName(const QString& name) const
{
    return primeiro(Consultas::produtoParaCalculoPeloNome(m_db, name, comFatores()));
}

std::optional<calc::ProductInfo> TabelaProdutos::findByCode(qint64 code) const
{
    return primeiro(Consultas::produtoParaCalculoPeloCodigo(m_db, code, comFatores()));
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
    if (!q.value(5).isNull())
        produto.co2Factor = q.value(5).toDouble();
    return produto;
}

bool TabelaProdutos::comFatores() const
{
    // A database that could not be upgraded (read-only, held by another workstation) is priced without factors.
    if (!m_comFatores)
        m_comFatores = m_db.ehTabela(Schema::fatoresEmissao().nome);
    return *m_comFatores;
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
