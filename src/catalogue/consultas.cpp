#include "consultas.h"

#include "platform/database.h"

namespace catalogue::Consultas {

namespace {

// Catalogue order: names as a Brazilian reader sorts them, the variants of a name by number.
QString porNomeEVariante()
{
    return QStringLiteral("ORDER BY %1, TracoVariante;")
        .arg(platform::Database::ordemDeTexto(QStringLiteral("NomeTraco")));
}

} // namespace

Consulta catalogo()
{
    return {QStringLiteral("SELECT * FROM Tracos ") + porNomeEVariante(), {}};
}

Consulta emUso()
{
    return {QStringLiteral("SELECT * FROM Tracos WHERE Plantao = TRUE ") + porNomeEVariante(), {}};
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
    return {QStringLiteral("SELECT DISTINCT Tracos.NomeTraco FROM Tracos ORDER BY ") +
                platform::Database::ordemDeTexto(QStringLiteral("NomeTraco")),
            {}};
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
