#include "leopcoes.h"
#include "subcomandos.h"
#include "tracodapasta.h"

#include "calc/calcstate.h"
#include "printing/documento.h"
#include "printing/ficha.h"
#include "printing/saida.h"

#include <QTextStream>

#include <optional>

namespace cli {

namespace {

const QString kUso = QStringLiteral("Uso: quenvar-cli ficha PASTA --nome NOME [--variante N] --pdf ARQUIVO");

struct Pedido
{
    QString pasta;
    TracoPedido traco;
    QString pdf;
};

std::optional<Pedido> lePedido(const QStringList& argumentos)
{
    QStringList resto = argumentos;
    Pedido pedido;
    if (!tiraTraco(resto, QStringLiteral("--nome"), pedido.traco, kUso) ||
        !tiraOpcao(resto, QStringLiteral("--pdf"), pedido.pdf, kUso))
        return std::nullopt;
    if (!lePasta(resto, pedido.pasta, kUso))
        return std::nullopt;
    if (pedido.pdf.trimmed().isEmpty()) {
        erro(QStringLiteral("Informe o arquivo PDF com --pdf.\n") + kUso);
        return std::nullopt;
    }
    return pedido;
}

} // namespace

int ficha(const QStringList& argumentos)
{
    const std::optional<Pedido> pedido = lePedido(argumentos);
    if (!pedido)
        return kEntradaInvalida;

    const std::optional<TracoDaPasta> traco = carregaTracoDaPasta(pedido->pasta, pedido->traco);
    if (!traco)
        return kEntradaInvalida;
    const calc::CalcState& estado = traco->estado;

    printing::Documento folha;
    const printing::EstadoImpressora impressora = printing::PreparaFolha(folha);
    const printing::OrigemDaFicha origem =
        printing::OrigemDaFicha::gravado(traco->linha, printing::logotipoDaPasta(pedido->pasta));
    printing::ImprimeTraco(folha, impressora, estado, origem);
    const QString titulo = printing::tituloDaFicha(estado, origem);
    QString falha;
    if (!printing::gravaPdf(folha, pedido->pdf, titulo, &falha)) {
        erro(falha);
        return kEntradaInvalida;
    }
    QTextStream(stdout) << QStringLiteral("Ficha do traço %1 gravada em %2").arg(titulo, pedido->pdf) << Qt::endl;
    return kSucesso;
}

} // namespace cli
