#include "leopcoes.h"
#include "subcomandos.h"

#include "catalogue/exportacao.h"
#include "platform/database.h"

namespace cli {

namespace {

const QString kUso = QStringLiteral("Uso: quenvar-cli exportar PASTA --csv|--xlsx|--json ARQUIVO [--em-uso]");

// The options that choose the format, each with its format.
struct OpcaoDeFormato
{
    const char* opcao;
    catalogue::Exportacao::Formato formato;
};

constexpr OpcaoDeFormato kFormatos[] = {
    {"--csv", catalogue::Exportacao::Formato::Csv},
    {"--xlsx", catalogue::Exportacao::Formato::Xlsx},
    {"--json", catalogue::Exportacao::Formato::Json},
};

struct Pedido
{
    QString pasta;
    QString arquivo;
    const OpcaoDeFormato* formato = nullptr;
    bool soEmUso = false;
};

std::optional<Pedido> lePedido(const QStringList& argumentos)
{
    QStringList resto = argumentos;
    Pedido pedido;
    for (const OpcaoDeFormato& formato : kFormatos) {
        QString arquivo;
        if (!tiraOpcao(resto, QLatin1String(formato.opcao), arquivo, kUso))
            return std::nullopt;
        if (arquivo.isEmpty())
            continue;
        if (pedido.formato) {
            erro(QStringLiteral("Escolha um só formato.\n") + kUso);
            return std::nullopt;
        }
        pedido.formato = &formato;
        pedido.arquivo = arquivo;
    }
    pedido.soEmUso = resto.removeAll(QStringLiteral("--em-uso")) > 0;
    if (!lePasta(resto, pedido.pasta, kUso))
        return std::nullopt;
    if (!pedido.formato) {
        erro(QStringLiteral("Informe o arquivo a gravar com --csv, --xlsx ou --json.\n") + kUso);
        return std::nullopt;
    }
    return pedido;
}

} // namespace

int exportar(const QStringList& argumentos)
{
    const std::optional<Pedido> pedido = lePedido(argumentos);
    if (!pedido)
        return kEntradaInvalida;
    return comBanco(pedido->pasta, QStringLiteral("os traços"), [&](platform::Database& banco) {
        catalogue::Exportacao exportacao(banco, pedido->formato->formato, pedido->soEmUso);
        if (exportacao.grava(pedido->arquivo) != catalogue::Exportacao::Resultado::Gravado) {
            erro(exportacao.erro());
            return kEntradaInvalida;
        }
        return kSucesso;
    });
}

} // namespace cli
