#include "leopcoes.h"
#include "subcomandos.h"

#include "platform/database.h"
#include "printing/ficha.h"
#include "printing/relatorio.h"
#include "printing/saida.h"

#include <QLocale>
#include <QTextStream>

#include <optional>

#include <unistd.h>

namespace cli {

namespace {

const QString kUso = QStringLiteral("Uso: quenvar-cli relatorio PASTA --todos|--em-uso --pdf ARQUIVO");

struct Pedido
{
    QString pasta;
    printing::TipoRelatorio tipo = printing::TipoRelatorio::Todos;
    QString pdf;
};

std::optional<Pedido> lePedido(const QStringList& argumentos)
{
    QStringList resto = argumentos;
    Pedido pedido;
    if (!tiraOpcao(resto, QStringLiteral("--pdf"), pedido.pdf, kUso))
        return std::nullopt;
    int tipos = 0;
    QStringList semTipo;
    for (const QString& argumento : std::as_const(resto)) {
        if (argumento == QLatin1String("--todos") || argumento == QLatin1String("--em-uso")) {
            pedido.tipo =
                argumento == QLatin1String("--todos") ? printing::TipoRelatorio::Todos : printing::TipoRelatorio::EmUso;
            ++tipos;
        } else {
            semTipo.append(argumento);
        }
    }
    if (!lePasta(semTipo, pedido.pasta, kUso))
        return std::nullopt;
    if (tipos != 1) {
        erro(QStringLiteral("Escolha um relatório: --todos ou --em-uso.\n") + kUso);
        return std::nullopt;
    }
    if (pedido.pdf.trimmed().isEmpty()) {
        erro(QStringLiteral("Informe o arquivo PDF com --pdf.\n") + kUso);
        return std::nullopt;
    }
    return pedido;
}

// The report's progress on one line of the terminal, rewritten as the rows go by; nothing when stderr is a file or a
// pipe, where a script reads the messages.
printing::ProgressoDoRelatorio progressoNoTerminal()
{
    if (!isatty(STDERR_FILENO))
        return {};
    return [ultimo = -1](int feitos, int total) mutable {
        // A hundred steps at most: the terminal is not written for every row.
        const int passo = total > 0 ? int(qint64(feitos) * 100 / total) : 100;
        if (passo == ultimo && feitos != total)
            return true;
        ultimo = passo;
        const QLocale local;
        QTextStream(stderr)
            << QStringLiteral("\rRelatório: %1 de %2 traços").arg(local.toString(feitos), local.toString(total))
            << (feitos == total ? "\n" : "") << Qt::flush;
        return true;
    };
}

} // namespace

int relatorio(const QStringList& argumentos)
{
    const std::optional<Pedido> pedido = lePedido(argumentos);
    if (!pedido)
        return kEntradaInvalida;

    return comBanco(pedido->pasta, QStringLiteral("os traços"), [&](platform::Database& banco) {
        // A PDF is always written on portrait A4, as the report is laid out: there is no printer to ask about. The
        // pages go to the file as they are composed.
        printing::Relatorio relatorio(pedido->tipo, banco, printing::logotipoDaPasta(pedido->pasta));
        if (relatorio.contaLinhas() < 1) {
            // The same messages the main window gives for an empty catalogue or no mix in use.
            erro(pedido->tipo == printing::TipoRelatorio::Todos
                     ? QStringLiteral("Não existe nenhum traço cadastrado.")
                     : QStringLiteral("Não existe nenhum traço de plantão."));
            return kEntradaInvalida;
        }
        QString problema;
        if (!printing::gravaPdf(relatorio, pedido->pdf, progressoNoTerminal(), &problema)) {
            erro(problema);
            return kEntradaInvalida;
        }
        QTextStream(stdout) << QStringLiteral("Relatório %1 (%2 traços, %3 páginas) gravado em %4")
                                   .arg(relatorio.legenda())
                                   .arg(relatorio.linhas())
                                   .arg(relatorio.documento().pageCount())
                                   .arg(pedido->pdf)
                            << Qt::endl;
        return kSucesso;
    });
}

} // namespace cli
