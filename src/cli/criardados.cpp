#include "subcomandos.h"

#include "catalogue/pastadados.h"

#include <QTextStream>

namespace cli {

// criar-dados PASTA [--demo]: a new data folder with the schema and the reference rows; with --demo, a company with
// units, products and a catalogue of mixes.
int criarDados(const QStringList& argumentos)
{
    QString pasta;
    bool demo = false;
    for (const QString& argumento : argumentos) {
        if (argumento == QLatin1String("--demo")) {
            demo = true;
        } else if (argumento.startsWith(QLatin1String("--"))) {
            erro(QStringLiteral("Opção desconhecida: %1").arg(argumento));
            return kEntradaInvalida;
        } else if (pasta.isEmpty()) {
            pasta = argumento;
        } else {
            erro(QStringLiteral("Informe uma só pasta de dados."));
            return kEntradaInvalida;
        }
    }
    if (pasta.isEmpty()) {
        erro(QStringLiteral("Uso: quenvar-cli criar-dados PASTA [--demo]"));
        return kEntradaInvalida;
    }
    const catalogue::PastaDados::Resultado resultado = catalogue::PastaDados::cria(pasta, demo);
    if (!resultado.ok) {
        erro(resultado.mensagem);
        return kEntradaInvalida;
    }
    QTextStream(stdout) << QStringLiteral("Pasta de dados criada em %1").arg(pasta) << Qt::endl;
    return kSucesso;
}

} // namespace cli
