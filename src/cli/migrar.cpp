#include "subcomandos.h"

#include "catalogue/migracao.h"

#include <QTextStream>

#include <cstdio>
#include <unistd.h>

namespace cli {

// migrar PASTA --servidor CONEXAO: the data folder's database copied to a PostgreSQL server, which the folder then
// uses. On a terminal, a line tells how far the copy has gone.
int migrar(const QStringList& argumentos)
{
    const QString uso = QStringLiteral("Uso: quenvar-cli migrar PASTA --servidor CONEXAO");
    QString pasta;
    QString servidor;
    for (qsizetype i = 0; i < argumentos.size(); ++i) {
        const QString& argumento = argumentos.at(i);
        if (argumento == QLatin1String("--servidor") && i + 1 < argumentos.size()) {
            servidor = argumentos.at(++i);
        } else if (argumento.startsWith(QLatin1String("--"))) {
            erro(QStringLiteral("Opção desconhecida ou incompleta: %1\n").arg(argumento) + uso);
            return kEntradaInvalida;
        } else if (pasta.isEmpty()) {
            pasta = argumento;
        } else {
            erro(QStringLiteral("Informe uma só pasta de dados.\n") + uso);
            return kEntradaInvalida;
        }
    }
    if (pasta.trimmed().isEmpty() || servidor.trimmed().isEmpty()) {
        erro(uso);
        return kEntradaInvalida;
    }
    const bool terminal = ::isatty(STDERR_FILENO) != 0;
    const auto progresso = [terminal](const QString& tabela, qint64 copiadas, qint64 total) {
        if (!terminal)
            return;
        const QByteArray linha =
            QStringLiteral("\r%1: %2 de %3 linhas copiadas").arg(tabela).arg(copiadas).arg(total).toUtf8();
        std::fwrite(linha.constData(), 1, size_t(linha.size()), stderr);
        if (copiadas == total)
            std::fputc('\n', stderr);
        std::fflush(stderr);
    };
    const catalogue::Migracao::Resultado resultado = catalogue::Migracao::migra(pasta, servidor, progresso);
    if (!resultado.ok) {
        if (terminal)
            std::fputc('\n', stderr);
        erro(resultado.mensagem);
        return kEntradaInvalida;
    }
    QTextStream saida(stdout);
    for (const catalogue::Migracao::Tabela& tabela : resultado.tabelas)
        saida << QStringLiteral("%1: %2 linhas").arg(tabela.nome).arg(tabela.linhas) << Qt::endl;
    saida << QStringLiteral("Pasta de dados %1 agora usa o servidor.").arg(pasta) << Qt::endl;
    return kSucesso;
}

} // namespace cli
