#include "consultas.h"

namespace catalogue::Consultas {

namespace {
const QString kPorNomeEVariante = QStringLiteral("ORDER BY NomeTraco, TracoVariante;");
}

Consulta catalogo()
{
    return {QStringLiteral("SELECT * FROM Tracos ") + kPorNomeEVariante, {}};
}

Consulta emUso()
{
    return {QStringLiteral("SELECT * FROM Tracos WHERE Plantao = TRUE ") + kPorNomeEVariante, {}};
}

Consulta contaEmUso()
{
    return {QStringLiteral("SELECT COUNT(*) AS Itens FROM Tracos WHERE Plantao = TRUE;"), {}};
}

Consulta variantesDoNome(const QString& nome)
{
    return {QStringLiteral("SELECT Tracos.TracoVariante, Tracos.NomeTraco "
                           "FROM Tracos WHERE NomeTraco = ? ORDER BY Tracos.TracoVariante;"),
            {nome}};
}

Consulta linhasDoNome(const QString& nome)
{
    return {QStringLiteral("SELECT * FROM Tracos WHERE NomeTraco = ? ORDER BY TracoVariante;"), {nome}};
}

Consulta nomesDistintos()
{
    return {QStringLiteral("SELECT DISTINCT Tracos.NomeTraco FROM Tracos ORDER BY NomeTraco"), {}};
}

Consulta renomeia(const QString& novoNome, const QString& nomeAntigo)
{
    return {QStringLiteral("UPDATE Tracos SET NomeTraco = ? WHERE NomeTraco = ?"), {novoNome, nomeAntigo}};
}

Consulta limpaPlantoes(const QString& nome)
{
    return {QStringLiteral("UPDATE Tracos SET Plantao = FALSE WHERE Plantao = TRUE AND NomeTraco = ?"), {nome}};
}

Consulta produtosQueUsam(qint64 codigoTraco)
{
    return {QStringLiteral("SELECT COUNT(*) AS Prod FROM Produtos WHERE CodigoTraco = ?"), {codigoTraco}};
}

Consulta linhasComCodigo(qint64 codigoTraco)
{
    return {QStringLiteral("SELECT COUNT(*) AS Prod FROM Tracos WHERE CodigoTraco = ?"), {codigoTraco}};
}

Consulta listaCimentos()
{
    return {QStringLiteral("SELECT Produtos.NomeProduto FROM Produtos WHERE CodigoLinha = 2 AND "
                           "NomeProduto LIKE '%Cimento%'"),
            {}};
}

Consulta listaGraudos()
{
    return {QStringLiteral("SELECT Produtos.NomeProduto FROM Produtos WHERE CodigoLinha = 1 AND "
                           "NomeProduto LIKE '%Pedr%'"),
            {}};
}

Consulta listaAditivos()
{
    return {QStringLiteral("SELECT Produtos.NomeProduto FROM Produtos WHERE CodigoLinha = 5"), {}};
}

} // namespace catalogue::Consultas
