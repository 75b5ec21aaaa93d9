#include "consultas.h"

#include "platform/database.h"

const std::array<const char*, calc::Padroes::NumeroDeTextos>& catalogue::CamposDasMassas::textos()
{
    static constexpr std::array<const char*, calc::Padroes::NumeroDeTextos> campos{
        "MassaCimentoEsp", "MassaCimentoApa", "MassaMiudoEsp", "MassaMiudoApa", "MassaGraudoEsp",
        "MassaGraudoApa",  "UmidadeMiudo",    "MaodeObra",     "Perda"};
    return campos;
}

namespace catalogue::Consultas {

namespace {

// Catalogue order: names as a Brazilian reader sorts them, the variants of a name by number.
QString porNomeEVariante(const platform::Database& db)
{
    return QStringLiteral("ORDER BY %1, TracoVariante;").arg(db.ordemDeTexto(QStringLiteral("NomeTraco")));
}

// A product joined to its unit and its CO2 factor, with the fields the calculation needs, the first stored of those
// meeting `condicao`. A database not yet upgraded has no factors: the column is Null.
QString produtoParaCalculo(const platform::Database& db, const QString& condicao, bool comFatores)
{
    return QStringLiteral("SELECT p.CodigoProduto, p.NomeProduto, p.PrecoCustoComPerda, p.Peso, u.NomeUnidade, %3 "
                          "FROM Produtos p LEFT JOIN Unidades u ON u.CodigoUnidade = p.Unidade %4 WHERE %1 "
                          "ORDER BY p.%2 LIMIT 1")
        .arg(condicao, db.chave(QStringLiteral("Produtos")),
             comFatores ? QStringLiteral("f.FatorCO2") : QStringLiteral("NULL"),
             comFatores ? QStringLiteral("LEFT JOIN FatoresEmissao f ON f.CodigoProduto = p.CodigoProduto")
                        : QString());
}

} // namespace

Consulta catalogo(const platform::Database& db)
{
    return {QStringLiteral("SELECT * FROM Tracos ") + porNomeEVariante(db), {}};
}

Consulta emUso(const platform::Database& db)
{
    return {QStringLiteral("SELECT * FROM Tracos WHERE Plantao = TRUE ") + porNomeEVariante(db), {}};
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

Consulta nomesDistintos(const platform::Database& db)
{
    // Grouped rather than DISTINCT: a server sorts distinct rows only by what they hold, not by an ordering of them.
    return {QStringLiteral("SELECT Tracos.NomeTraco FROM Tracos GROUP BY Tracos.NomeTraco ORDER BY ") +
                db.ordemDeTexto(QStringLiteral("NomeTraco")),
            {}};
}

Consulta nomeExato(const QString& nome)
{
    return {QStringLiteral("SELECT NomeTraco FROM Tracos WHERE NomeTraco = ? LIMIT 1"), {nome}};
}

Consulta nomeDobrado(const platform::Database& db, const QString& dobrado)
{
    return {QStringLiteral("SELECT NomeTraco FROM Tracos WHERE %1 = ? ORDER BY Codigo LIMIT 1")
                .arg(db.dobraDeNome(QStringLiteral("NomeTraco"))),
            {dobrado}};
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

Consulta codigoDoNome(const QString& nome)
{
    return {
        QStringLiteral("SELECT CodigoTraco FROM Tracos WHERE NomeTraco = ? ORDER BY NomeTraco, TracoVariante LIMIT 1"),
        {nome}};
}

Consulta nomeEUso(const QList<qint64>& codigos)
{
    QStringList marcas;
    QVariantList valores;
    for (const qint64 codigo : codigos) {
        marcas << QStringLiteral("?");
        valores << codigo;
    }
    return {QStringLiteral("SELECT Codigo, NomeTraco, Plantao FROM Tracos WHERE Codigo IN (%1)")
                .arg(marcas.join(QLatin1Char(','))),
            valores};
}

Consulta linhaDoTraco(qint64 codigo)
{
    return {QStringLiteral("SELECT * FROM Tracos WHERE Codigo = ?"), {codigo}};
}

Consulta variantesParaComparar(const QString& nome)
{
    return {QStringLiteral("SELECT Codigo, TracoVariante FROM Tracos WHERE NomeTraco = ? "
                           "ORDER BY Plantao DESC, TracoVariante"),
            {nome}};
}

Consulta nomeEVariante(qint64 codigo)
{
    return {QStringLiteral("SELECT NomeTraco, TracoVariante FROM Tracos WHERE Codigo = ?"), {codigo}};
}

Consulta estadoDaLinha(qint64 codigo, bool comVersao)
{
    return {QStringLiteral("SELECT NomeTraco, TracoVariante, Plantao, CodigoTraco%1 FROM Tracos WHERE Codigo = ?")
                .arg(comVersao ? QStringLiteral(", Versao") : QString()),
            {codigo}};
}

Consulta atualizaLinha(qint64 codigo, const QVariantMap& campos)
{
    QStringList atribuicoes;
    QVariantList valores;
    for (auto it = campos.cbegin(); it != campos.cend(); ++it) {
        atribuicoes << platform::Database::citado(it.key()) + QStringLiteral(" = ?");
        valores << it.value();
    }
    valores << codigo;
    return {QStringLiteral("UPDATE Tracos SET %1 WHERE Codigo = ?").arg(atribuicoes.join(QStringLiteral(", "))),
            valores};
}

Consulta marcaEmUso(qint64 codigo)
{
    return {QStringLiteral("UPDATE Tracos SET Plantao = TRUE WHERE Codigo = ?"), {codigo}};
}

Consulta chavesDosTracos(bool soEmUso)
{
    return {QStringLiteral("SELECT Codigo FROM Tracos%1 ORDER BY Codigo")
                .arg(soEmUso ? QStringLiteral(" WHERE Plantao = TRUE") : QString()),
            {}};
}

Consulta gravaCustos(qint64 codigo, std::optional<qint64> versao, double semPerda, double comPerda,
                     const QString& cotacao)
{
    Consulta c{QStringLiteral("UPDATE Tracos SET PrecoCustoSemPerda = ?, PrecoCustoComPerda = ?, DataCotacao = ? "
                              "WHERE Codigo = ?"),
               {semPerda, comPerda, cotacao, codigo}};
    if (versao) {
        c.sql += QStringLiteral(" AND Versao = ?");
        c.valores << *versao;
    }
    return c;
}

Consulta codigoProprio(qint64 codigo)
{
    return {QStringLiteral("UPDATE Tracos SET CodigoTraco = Codigo WHERE Codigo = ?"), {codigo}};
}

Consulta excluiLinha(qint64 codigo)
{
    return {QStringLiteral("DELETE FROM Tracos WHERE Codigo = ?"), {codigo}};
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

Consulta nomeDaEmpresa(const platform::Database& db)
{
    return {db.primeiraLinha(QStringLiteral("DadosEmpresa"), QStringLiteral("Nome")), {}};
}

Consulta arquivoMorto(const platform::Database& db)
{
    return {db.primeiraLinha(QStringLiteral("DadosEmpresa"), QStringLiteral("Morto")), {}};
}

Consulta massas(const platform::Database& db)
{
    return {db.primeiraLinha(QStringLiteral("Massas"), QStringLiteral("*")), {}};
}

Consulta consistencias(const platform::Database& db)
{
    return {db.primeiraLinha(QStringLiteral("Consistencias"), QStringLiteral("Abate1, Abate2, Abate3, Abate4")), {}};
}

Consulta dataDosPrecos(const platform::Database& db)
{
    return {db.primeiraLinha(QStringLiteral("Produtos"), QStringLiteral("DataPrecoCusto")), {}};
}

Consulta codigoDoProduto(const platform::Database& db, const QString& nome)
{
    return {db.primeiraLinha(QStringLiteral("Produtos"), QStringLiteral("CodigoProduto"),
                             QStringLiteral("NomeProduto = ?")),
            {nome}};
}

Consulta produtosComTrecho(const platform::Database& db, const QString& trecho)
{
    return {QStringLiteral("SELECT NomeProduto, Peso FROM Produtos WHERE NomeProduto LIKE ? ORDER BY ") +
                db.chave(QStringLiteral("Produtos")),
            {QLatin1Char('%') + trecho + QLatin1Char('%')}};
}

Consulta produtoParaCalculoPeloNome(const platform::Database& db, const QString& nome, bool comFatores)
{
    return {produtoParaCalculo(db, QStringLiteral("p.NomeProduto = ?"), comFatores), {nome}};
}

Consulta produtoParaCalculoPeloCodigo(const platform::Database& db, qint64 codigo, bool comFatores)
{
    return {produtoParaCalculo(db, QStringLiteral("p.CodigoProduto = ?"), comFatores), {codigo}};
}

Consulta fatoresDosProdutos(const platform::Database& db)
{
    return {QStringLiteral("SELECT p.CodigoProduto, p.NomeProduto, u.NomeUnidade, f.FatorCO2 FROM Produtos p "
                           "LEFT JOIN Unidades u ON u.CodigoUnidade = p.Unidade "
                           "LEFT JOIN FatoresEmissao f ON f.CodigoProduto = p.CodigoProduto ORDER BY p.") +
                db.chave(QStringLiteral("Produtos")),
            {}};
}

Consulta listaDePrecos(const platform::Database& db)
{
    return {QStringLiteral("SELECT p.NomeProduto, u.NomeUnidade, p.PrecoCustoComPerda, p.DataPrecoCusto "
                           "FROM Produtos p LEFT JOIN Unidades u ON u.CodigoUnidade = p.Unidade ORDER BY p.") +
                db.chave(QStringLiteral("Produtos")),
            {}};
}

Consulta precoDoProduto(const platform::Database& db, const QString& nome)
{
    return {db.primeiraLinha(QStringLiteral("Produtos"), QStringLiteral("PrecoCustoComPerda, DataPrecoCusto"),
                             QStringLiteral("NomeProduto = ?")),
            {nome}};
}

} // namespace catalogue::Consultas
