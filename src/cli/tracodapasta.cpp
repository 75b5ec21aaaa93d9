#include "tracodapasta.h"

#include "leopcoes.h"
#include "subcomandos.h"

#include "calc/carregatraco.h"
#include "catalogue/tabelaprodutos.h"
#include "platform/database.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace cli {

namespace {

std::optional<QVariantMap> linhaDoTraco(platform::Database& banco, const QString& nome, std::optional<int> variante)
{
    const QString filtro = variante ? QStringLiteral(" AND TracoVariante = ?") : QString();
    const QString ordem = QStringLiteral(" ORDER BY Plantao DESC, TracoVariante LIMIT 1");
    for (const QString& condicao : {QStringLiteral("NomeTraco = ?"), QStringLiteral("TRIM(NomeTraco) = ?")}) {
        QVariantList valores{condicao.startsWith(QLatin1String("TRIM")) ? nome.trimmed() : nome};
        if (variante)
            valores.append(*variante);
        QSqlQuery q = banco.exec(QStringLiteral("SELECT * FROM Tracos WHERE ") + condicao + filtro + ordem, valores);
        if (q.next()) {
            QVariantMap linha;
            const QSqlRecord registro = q.record();
            for (int i = 0; i < registro.count(); ++i)
                linha.insert(registro.fieldName(i), registro.value(i));
            return linha;
        }
    }
    return std::nullopt;
}

} // namespace

bool leVariante(const QString& texto, std::optional<int>& variante)
{
    bool ok = false;
    const int numero = texto.trimmed().toInt(&ok);
    if (!ok || numero < 0 || numero > kMaiorVariante) {
        erro(QStringLiteral("A variante deve ser um número inteiro de 0 a %1; veio \"%2\".")
                 .arg(kMaiorVariante)
                 .arg(texto));
        return false;
    }
    variante = numero;
    return true;
}

bool tiraTraco(QStringList& argumentos, const QString& opcao, TracoPedido& traco, const QString& uso)
{
    QString variante;
    if (!tiraOpcao(argumentos, opcao, traco.nome, uso) ||
        !tiraOpcao(argumentos, QStringLiteral("--variante"), variante, uso))
        return false;
    if (traco.nome.trimmed().isEmpty()) {
        erro(QStringLiteral("Informe o nome do traço com %1.\n").arg(opcao) + uso);
        return false;
    }
    return variante.isEmpty() || leVariante(variante, traco.variante);
}

std::optional<TracoDaPasta> carregaTracoDaPasta(const QString& pasta, const TracoPedido& pedido)
{
    const QString& nome = pedido.nome;
    const std::optional<int> variante = pedido.variante;
    platform::Database banco(QStringLiteral("quenvar-cli"));
    if (!abreBanco(banco, pasta))
        return std::nullopt;
    TracoDaPasta traco;
    try {
        std::optional<QVariantMap> linha = linhaDoTraco(banco, nome, variante);
        if (!linha) {
            if (variante)
                erro(QStringLiteral("O traço \"%1\" não tem a variante %2 em %3.")
                         .arg(nome)
                         .arg(*variante, 2, 10, QLatin1Char('0'))
                         .arg(pasta));
            else
                erro(QStringLiteral("O traço \"%1\" não existe em %2.").arg(nome, pasta));
            return std::nullopt;
        }
        traco.linha = std::move(*linha);
        const catalogue::TabelaProdutos produtos(banco);
        calc::CarregaTraco(traco.estado, traco.linha, &produtos);
        if (!traco.estado.nomes[0].isEmpty())
            traco.cimento = produtos.findByName(traco.estado.nomes[0]);
    } catch (const platform::DbError& falha) {
        erro(QStringLiteral("Não foi possível ler o traço em %1 (erro %2: %3).")
                 .arg(banco.caminho())
                 .arg(falha.numero())
                 .arg(falha.descricao()));
        return std::nullopt;
    }
    return traco;
}

} // namespace cli
