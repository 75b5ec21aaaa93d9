#include "leopcoes.h"

#include "json.h"
#include "subcomandos.h"

#include "platform/database.h"
#include "platform/paths.h"

#include <QFileInfo>

#include <cstdio>

namespace cli {

std::optional<Opcoes> leOpcoes(const QStringList& argumentos, const QString& uso)
{
    const QString dados = QStringLiteral("--dados");
    Opcoes opcoes;
    bool temDados = false;
    for (qsizetype i = 0; i < argumentos.size(); ++i) {
        const QString& argumento = argumentos[i];
        QString pasta;
        if (argumento == dados) {
            if (i + 1 >= argumentos.size()) {
                erro(QStringLiteral("A opção --dados pede a pasta de dados.\n") + uso);
                return std::nullopt;
            }
            pasta = argumentos[++i];
        } else if (argumento.startsWith(dados + QLatin1Char('='))) {
            pasta = argumento.mid(dados.size() + 1);
        } else if (argumento.startsWith(QLatin1Char('-'))) {
            erro(QStringLiteral("Opção desconhecida: %1\n").arg(argumento) + uso);
            return std::nullopt;
        } else {
            erro(QStringLiteral("Argumento inesperado: %1 (o traço vem pela entrada padrão).\n").arg(argumento) + uso);
            return std::nullopt;
        }
        if (temDados) {
            erro(QStringLiteral("Informe --dados uma só vez.\n") + uso);
            return std::nullopt;
        }
        if (pasta.trimmed().isEmpty()) {
            erro(QStringLiteral("A opção --dados pede a pasta de dados.\n") + uso);
            return std::nullopt;
        }
        opcoes.pastaDados = pasta;
        temDados = true;
    }
    return opcoes;
}

bool tiraOpcao(QStringList& argumentos, const QString& nome, QString& valor, const QString& uso)
{
    bool achou = false;
    for (qsizetype i = 0; i < argumentos.size();) {
        const QString argumento = argumentos[i];
        QString lido;
        if (argumento == nome) {
            if (i + 1 >= argumentos.size() || argumentos[i + 1].trimmed().isEmpty()) {
                erro(QStringLiteral("A opção %1 pede um valor.\n").arg(nome) + uso);
                return false;
            }
            lido = argumentos[i + 1];
            argumentos.remove(i, 2);
        } else if (argumento.startsWith(nome + QLatin1Char('='))) {
            lido = argumento.mid(nome.size() + 1);
            argumentos.remove(i);
            if (lido.trimmed().isEmpty()) {
                erro(QStringLiteral("A opção %1 pede um valor.\n").arg(nome) + uso);
                return false;
            }
        } else {
            ++i;
            continue;
        }
        if (achou) {
            erro(QStringLiteral("Informe %1 uma só vez.\n").arg(nome) + uso);
            return false;
        }
        achou = true;
        valor = lido;
    }
    return true;
}

bool abreBanco(platform::Database& db, const QString& pasta)
{
    if (!QFileInfo(pasta).isDir()) {
        erro(QStringLiteral("A pasta de dados %1 não existe.").arg(pasta));
        return false;
    }
    const platform::LocalDoBanco local = platform::LocalDoBanco::daPasta(platform::Paths::comSeparador(pasta));
    try {
        db.open(local);
    } catch (const platform::DbError& falha) {
        QString mensagem = QStringLiteral("Não foi possível abrir o banco de dados %1 (erro %2: %3).")
                               .arg(local.descricao())
                               .arg(falha.numero())
                               .arg(falha.descricao());
        // The server's own words tell the administrator what is wrong (host, port, user, password).
        if (local.ehServidor() && !falha.detalhe().isEmpty())
            mensagem += QLatin1Char('\n') + falha.detalhe();
        erro(mensagem);
        return false;
    }
    return true;
}

int comBanco(const QString& pasta, const QString& oQue, const std::function<int(platform::Database&)>& trabalho)
{
    platform::Database banco(QStringLiteral("quenvar-cli"));
    if (!abreBanco(banco, pasta))
        return kEntradaInvalida;
    try {
        return trabalho(banco);
    } catch (const platform::DbError& falha) {
        erro(QStringLiteral("Não foi possível ler %1 em %2 (erro %3: %4).")
                 .arg(oQue, banco.caminho(), QString::number(falha.numero()), falha.descricao()));
        return kEntradaInvalida;
    }
}

std::optional<QJsonObject> leObjetoDaEntrada()
{
    QString mensagem;
    std::optional<QJsonObject> objeto = objetoJson(leEntradaPadrao(), mensagem);
    if (!objeto)
        erro(mensagem);
    return objeto;
}

void relataErros(const LeitorCampos& leitor)
{
    for (const QString& mensagem : leitor.erros())
        erro(mensagem);
}

void escreveObjeto(const QJsonObject& objeto)
{
    const QByteArray texto = textoJson(objeto);
    std::fwrite(texto.constData(), 1, static_cast<size_t>(texto.size()), stdout);
    std::fflush(stdout);
}

bool lePasta(const QStringList& resto, QString& pasta, const QString& uso)
{
    for (const QString& argumento : resto) {
        if (argumento.startsWith(QLatin1String("--"))) {
            erro(QStringLiteral("Opção desconhecida: %1\n").arg(argumento) + uso);
            return false;
        }
        if (!pasta.isEmpty()) {
            erro(QStringLiteral("Informe uma só pasta de dados.\n") + uso);
            return false;
        }
        pasta = argumento;
    }
    if (pasta.trimmed().isEmpty()) {
        erro(QStringLiteral("Informe a pasta de dados.\n") + uso);
        return false;
    }
    return true;
}

} // namespace cli
