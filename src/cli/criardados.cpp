#include "subcomandos.h"

#include "catalogue/pastadados.h"

#include <QTextStream>

namespace cli {

// criar-dados PASTA [--servidor CONEXAO] [--demo]: a new data folder with the schema and the reference rows; with
// --demo, a company with units, products and a catalogue of mixes; with --servidor, the database is made on that
// PostgreSQL server.
int criarDados(const QStringList& argumentos)
{
    QString pasta;
    QString servidor;
    bool demo = false;
    for (qsizetype i = 0; i < argumentos.size(); ++i) {
        const QString& argumento = argumentos.at(i);
        if (argumento == QLatin1String("--demo")) {
            demo = true;
        } else if (argumento == QLatin1String("--servidor")) {
            if (i + 1 >= argumentos.size() || argumentos.at(i + 1).trimmed().isEmpty()) {
                erro(QStringLiteral("Informe a conexão com o servidor depois de --servidor."));
                return kEntradaInvalida;
            }
            servidor = argumentos.at(++i);
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
        erro(QStringLiteral("Uso: quenvar-cli criar-dados PASTA [--servidor CONEXAO] [--demo]"));
        return kEntradaInvalida;
    }
    const catalogue::PastaDados::Resultado resultado = catalogue::PastaDados::cria(pasta, demo, servidor);
    if (!resultado.ok) {
        erro(resultado.mensagem);
        return kEntradaInvalida;
    }
    QTextStream(stdout) << QStringLiteral("Pasta de dados criada em %1").arg(pasta) << Qt::endl;
    return kSucesso;
}

} // namespace cli
