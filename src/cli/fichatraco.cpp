#include "leopcoes.h"
#include "subcomandos.h"

#include "calc/calcstate.h"
#include "calc/carregatraco.h"
#include "catalogue/tabelaprodutos.h"
#include "platform/database.h"
#include "printing/documento.h"
#include "printing/ficha.h"
#include "printing/saida.h"

#include <QSqlRecord>
#include <QTextStream>

#include <optional>

namespace cli {

namespace {

const QString kUso = QStringLiteral("Uso: quenvar-cli ficha PASTA --nome NOME [--variante N] --pdf ARQUIVO");

// Variants are numbered with two digits.
constexpr int kMaiorVariante = 99;

struct Pedido
{
    QString pasta;
    QString nome;
    std::optional<int> variante;
    QString pdf;
};

std::optional<Pedido> lePedido(const QStringList& argumentos)
{
    QStringList resto = argumentos;
    Pedido pedido;
    QString variante;
    if (!tiraOpcao(resto, QStringLiteral("--nome"), pedido.nome, kUso) ||
        !tiraOpcao(resto, QStringLiteral("--variante"), variante, kUso) ||
        !tiraOpcao(resto, QStringLiteral("--pdf"), pedido.pdf, kUso))
        return std::nullopt;
    if (!lePasta(resto, pedido.pasta, kUso))
        return std::nullopt;
    if (pedido.nome.trimmed().isEmpty()) {
        erro(QStringLiteral("Informe o nome do traço com --nome.\n") + kUso);
        return std::nullopt;
    }
    if (pedido.pdf.trimmed().isEmpty()) {
        erro(QStringLiteral("Informe o arquivo PDF com --pdf.\n") + kUso);
        return std::nullopt;
    }
    if (!variante.isEmpty()) {
        bool ok = false;
        const int numero = variante.trimmed().toInt(&ok);
        if (!ok || numero < 0 || numero > kMaiorVariante) {
            erro(QStringLiteral("A variante deve ser um número inteiro de 0 a %1; veio \"%2\".")
                     .arg(kMaiorVariante)
                     .arg(variante));
            return std::nullopt;
        }
        pedido.variante = numero;
    }
    return pedido;
}

// The row of the mix: the variant asked for, or else the name's variant in use, or else its first variant. A name
// is matched as typed, then without blanks around it.
std::optional<QVariantMap> linhaDoTraco(platform::Database& banco, const Pedido& pedido)
{
    const QString filtro = pedido.variante ? QStringLiteral(" AND TracoVariante = ?") : QString();
    const QString ordem = QStringLiteral(" ORDER BY Plantao DESC, TracoVariante LIMIT 1");
    for (const QString& condicao : {QStringLiteral("NomeTraco = ?"), QStringLiteral("TRIM(NomeTraco) = ?")}) {
        QVariantList valores{condicao.startsWith(QLatin1String("TRIM")) ? pedido.nome.trimmed() : pedido.nome};
        if (pedido.variante)
            valores.append(*pedido.variante);
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

int ficha(const QStringList& argumentos)
{
    const std::optional<Pedido> pedido = lePedido(argumentos);
    if (!pedido)
        return kEntradaInvalida;

    platform::Database banco(QStringLiteral("quenvar-cli"));
    if (!abreBanco(banco, pedido->pasta))
        return kEntradaInvalida;

    calc::CalcState estado;
    std::optional<QVariantMap> linha;
    try {
        linha = linhaDoTraco(banco, *pedido);
        if (linha) {
            const catalogue::TabelaProdutos produtos(banco);
            calc::CarregaTraco(estado, *linha, &produtos);
        }
    } catch (const platform::DbError& falha) {
        erro(QStringLiteral("Não foi possível ler o traço em %1 (erro %2: %3).")
                 .arg(banco.caminho())
                 .arg(falha.numero())
                 .arg(falha.descricao()));
        return kEntradaInvalida;
    }
    if (!linha) {
        if (pedido->variante)
            erro(QStringLiteral("O traço \"%1\" não tem a variante %2 em %3.")
                     .arg(pedido->nome)
                     .arg(*pedido->variante, 2, 10, QLatin1Char('0'))
                     .arg(pedido->pasta));
        else
            erro(QStringLiteral("O traço \"%1\" não existe em %2.").arg(pedido->nome, pedido->pasta));
        return kEntradaInvalida;
    }

    printing::Documento folha;
    const printing::EstadoImpressora impressora = printing::PreparaFolha(folha);
    const printing::OrigemDaFicha origem =
        printing::OrigemDaFicha::gravado(*linha, printing::logotipoDaPasta(pedido->pasta));
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
