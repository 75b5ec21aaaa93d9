#include "leopcoes.h"
#include "subcomandos.h"

#include "catalogue/recusteio.h"
#include "platform/database.h"
#include "printing/documento.h"
#include "printing/ficha.h"
#include "printing/relatoriocustos.h"
#include "printing/saida.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace cli {

namespace {

const QString kUso = QStringLiteral("Uso: quenvar-cli recustear PASTA [--em-uso] [--pdf RELATORIO]");

} // namespace

int recustear(const QStringList& argumentos)
{
    QStringList resto = argumentos;
    QString pdf;
    if (!tiraOpcao(resto, QStringLiteral("--pdf"), pdf, kUso))
        return kEntradaInvalida;
    const bool soEmUso = resto.removeAll(QStringLiteral("--em-uso")) > 0;
    QString pasta;
    if (!lePasta(resto, pasta, kUso))
        return kEntradaInvalida;
    // The report's folder is checked before any cost is written: a report that cannot be written refuses the run.
    if (!pdf.isEmpty()) {
        const QFileInfo destino(QFileInfo(pdf).absolutePath());
        if (!destino.isDir() || !destino.isWritable()) {
            erro(QStringLiteral("Não é possível gravar o relatório em %1: a pasta não existe ou não aceita "
                                "gravação.")
                     .arg(QDir::toNativeSeparators(pdf)));
            return kEntradaInvalida;
        }
    }

    platform::Database banco(QStringLiteral("quenvar-cli"));
    if (!abreBanco(banco, pasta))
        return kEntradaInvalida;
    catalogue::ResultadoDoRecusteio resultado;
    try {
        resultado = catalogue::Recusteio(banco).executa(soEmUso);
    } catch (const platform::DbError& falha) {
        erro(QStringLiteral("Os custos não foram atualizados (erro %1: %2).")
                 .arg(falha.numero())
                 .arg(falha.descricao()));
        return kEntradaInvalida;
    }

    QTextStream saida(stdout);
    saida << QStringLiteral("%1 traços com custo novo, %2 deixados de fora por falta de preço (%3 examinados).")
                 .arg(resultado.mudados.size())
                 .arg(resultado.semPreco.size())
                 .arg(resultado.examinados)
          << Qt::endl;
    for (const catalogue::TracoSemPreco& s : std::as_const(resultado.semPreco))
        saida << QStringLiteral("Sem preço: %1 %2 (%3)")
                     .arg(s.nome.trimmed())
                     .arg(s.variante, 2, 10, QLatin1Char('0'))
                     .arg(s.produtos.join(QStringLiteral(", ")))
              << Qt::endl;
    if (!pdf.isEmpty()) {
        printing::Documento documento;
        printing::compoeRelatorioDeCustos(documento, resultado, printing::logotipoDaPasta(pasta));
        QString problema;
        if (!printing::gravaPdf(documento, pdf, printing::legendaDosCustos(), &problema)) {
            erro(QStringLiteral("Os custos foram atualizados, mas o relatório não foi gravado: ") + problema);
            return kEntradaInvalida;
        }
        saida << QStringLiteral("Relatório gravado em %1").arg(pdf) << Qt::endl;
    }
    return kSucesso;
}

} // namespace cli
