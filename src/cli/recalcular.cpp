#include "json.h"
#include "leopcoes.h"
#include "subcomandos.h"
#include "tracojson.h"

#include "calc/calcstate.h"
#include "calc/carregatraco.h"
#include "calc/emissaoco2.h"
#include "calc/mixfields.h"
#include "calc/recalculo.h"
#include "catalogue/tabelaprodutos.h"
#include "platform/database.h"

#include <QJsonArray>
#include <QJsonValue>

#include <memory>

namespace cli {

namespace {

const QString kUso = QStringLiteral("Uso: quenvar-cli recalcular [--dados PASTA] < traco.json");

// The wizard's own results mean nothing for a recalculated mix and are left out.
const QStringList kSoDoAssistente{QStringLiteral("C"),        QStringLiteral("n"),
                                  QStringLiteral("alfa"),     QStringLiteral("RelacaoProposta"),
                                  QStringLiteral("Relacoes"), QStringLiteral("Consistencia")};

} // namespace

int recalcular(const QStringList& argumentos)
{
    const std::optional<Opcoes> opcoes = leOpcoes(argumentos, kUso);
    if (!opcoes)
        return kEntradaInvalida;
    const std::optional<QJsonObject> entrada = leObjetoDaEntrada();
    if (!entrada)
        return kEntradaInvalida;
    LeitorCampos leitor(*entrada);
    const std::optional<QVariantMap> linha = linhaDoTraco(leitor);
    if (!linha) {
        relataErros(leitor);
        return kEntradaInvalida;
    }

    const bool comPrecos = !opcoes->pastaDados.isEmpty();
    platform::Database banco(QStringLiteral("quenvar-cli"));
    std::unique_ptr<catalogue::TabelaProdutos> produtos;
    if (comPrecos) {
        if (!abreBanco(banco, opcoes->pastaDados))
            return kEntradaInvalida;
        produtos = std::make_unique<catalogue::TabelaProdutos>(banco);
    }

    calc::CalcState estado;
    calc::EmissaoCO2 emissao;
    try {
        calc::CarregaTraco(estado, *linha, produtos.get());
        calc::ReCalculo(estado, produtos.get());
        if (produtos)
            emissao = calc::emissaoCO2(estado, *produtos);
    } catch (const platform::DbError& falha) {
        erro(QStringLiteral("Não foi possível ler os produtos de %1 (erro %2: %3).")
                 .arg(banco.caminho())
                 .arg(falha.numero())
                 .arg(falha.descricao()));
        return kEntradaInvalida;
    }

    // The input with every computed field filled in; its other keys pass through unchanged. Costs are written
    // only when there were prices to compute them from.
    QJsonObject saida = *entrada;
    const QVariantMap campos = calc::toFields(estado);
    for (auto it = campos.cbegin(); it != campos.cend(); ++it) {
        const QString& nome = it.key();
        if (kSoDoAssistente.contains(nome))
            continue;
        if (!comPrecos && nome.startsWith(QLatin1String("PrecoCusto")))
            continue;
        if (nome == QLatin1String("NomeTraco") && !linha->contains(nome))
            continue;
        saida.insert(nome, QJsonValue::fromVariant(it.value()));
    }
    // The CO2 of the materials, like the costs, only from a data folder's factors.
    if (comPrecos) {
        saida.insert(QStringLiteral("CO2"), emissao.calculavel ? QJsonValue(emissao.kgCO2PorM3) : QJsonValue());
        saida.insert(QStringLiteral("SemFatorCO2"), QJsonArray::fromStringList(emissao.semFator));
    }
    escreveObjeto(saida);
    return kSucesso;
}

} // namespace cli
