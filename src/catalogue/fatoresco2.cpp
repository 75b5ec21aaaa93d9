#include "fatoresco2.h"

#include "consultas.h"

#include "calc/numericentry.h"
#include "platform/database.h"
#include "platform/transaction.h"

#include <QSqlQuery>

#include <cmath>

namespace catalogue {

QList<FatorDoProduto> FatoresCO2::produtos(platform::Database& db)
{
    const Consulta consulta = Consultas::fatoresDosProdutos(db);
    QSqlQuery q = db.exec(consulta.sql, consulta.valores);
    QList<FatorDoProduto> lista;
    while (q.next()) {
        FatorDoProduto produto{q.value(0).toLongLong(), q.value(1).toString().trimmed(),
                               q.value(2).toString().trimmed(), std::nullopt};
        if (!q.value(3).isNull())
            produto.fator = q.value(3).toDouble();
        lista.append(produto);
    }
    return lista;
}

std::optional<double> FatoresCO2::leFator(const QString& texto, bool& valido, QString* mensagem)
{
    valido = true;
    if (texto.trimmed().isEmpty())
        return std::nullopt;
    const std::optional<double> numero = calc::strictNumber(texto);
    if (numero && std::isfinite(*numero) && *numero >= 0.0)
        return numero;
    valido = false;
    if (mensagem)
        *mensagem = QStringLiteral("O fator de emissão deve ser um número de zero para cima, com vírgula decimal "
                                   "(por exemplo 0,82), ou ficar em branco; veio \"%1\".")
                        .arg(texto.trimmed());
    return std::nullopt;
}

void FatoresCO2::grava(platform::Database& db, const QList<FatorDoProduto>& lidos,
                       const QList<FatorDoProduto>& editados)
{
    platform::Transaction transacao(db);
    for (qsizetype i = 0; i < editados.size(); ++i) {
        const FatorDoProduto& produto = editados[i];
        if (i < lidos.size() && lidos[i].codigo == produto.codigo && lidos[i].fator == produto.fator)
            continue;
        db.exec(QStringLiteral("DELETE FROM FatoresEmissao WHERE CodigoProduto = ?"), {produto.codigo});
        if (produto.fator)
            db.exec(QStringLiteral("INSERT INTO FatoresEmissao (CodigoProduto, FatorCO2) VALUES (?, ?)"),
                    {produto.codigo, *produto.fator});
    }
    db.exec(QStringLiteral("DELETE FROM FatoresEmissao WHERE CodigoProduto NOT IN "
                           "(SELECT CodigoProduto FROM Produtos)"));
    transacao.commit();
}

} // namespace catalogue
