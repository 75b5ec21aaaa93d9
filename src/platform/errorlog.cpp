#include "errorlog.h"

#include "aplicacao.h"
#include "clock.h"
#include "paths.h"

#include <QFile>
#include <QLocale>
#include <QLockFile>

namespace platform {

namespace {

constexpr char kFimDeLinha[] = "\r\n";
constexpr int kEsperaTrava = 5000;      // ms a writer waits for another workstation's block
constexpr int kTravaAbandonada = 30000; // ms after which a lock left by a crashed writer is taken over

QByteArray linha(const QString& texto)
{
    // The log is plain ANSI text, as the suite's other modules write it, and every block has its eight lines: a
    // line break inside a routine name or a description becomes a blank.
    QString umaLinha = texto;
    umaLinha.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    umaLinha.replace(QLatin1Char('\r'), QLatin1Char(' '));
    umaLinha.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return umaLinha.toLatin1() + kFimDeLinha;
}

} // namespace

QString ErrorLog::mensagem(const Erro& erro)
{
    const QChar cr = QLatin1Char('\r');
    return QStringLiteral("Erro no Programa ") + Aplicacao::titulo() + QStringLiteral(". Informe as seguintes") + cr +
           QStringLiteral("informações do erro ao desenvolvedor :") + cr + cr +
           QStringLiteral("Rotina em que houve o erro: ") + erro.rotina + cr + QStringLiteral("Versão ") +
           Aplicacao::versao() + cr + QStringLiteral("Erro número: ") + QString::number(erro.numero) + cr +
           QStringLiteral("Descrição: ") + erro.descricao;
}

QByteArray ErrorLog::cabecalho()
{
    return linha(QStringLiteral("***** NAO APAGUE AS LINHAS ABAIXO *****")) + kFimDeLinha;
}

QByteArray ErrorLog::bloco(const Erro& erro, const QDateTime& momento)
{
    // The month is written in full in Portuguese whatever the system's language: 04/dezembro/2026  14:05.
    const QLocale ptBR(QLocale::Portuguese, QLocale::Brazil);
    QByteArray texto;
    texto += linha(ptBR.toString(momento.date(), QStringLiteral("dd/MMMM/yyyy")) + QStringLiteral("  ") +
                   momento.time().toString(QStringLiteral("hh:mm")));
    texto += linha(QStringLiteral("Usuário: "));
    texto += linha(QStringLiteral("Programa: ") + Aplicacao::titulo());
    texto += linha(QStringLiteral("Rotina: ") + erro.rotina);
    texto += linha(QStringLiteral("Versão ") + Aplicacao::versao());
    texto += linha(QStringLiteral("Erro número: ") + QString::number(erro.numero));
    texto += linha(QStringLiteral("Descrição: ") + erro.descricao);
    texto += kFimDeLinha;
    return texto;
}

bool ErrorLog::acrescenta(const QString& arquivo, const Erro& erro, const QDateTime& momento)
{
    const QByteArray texto = bloco(erro, momento);
    QLockFile trava(arquivo + QStringLiteral(".trava"));
    trava.setStaleLockTime(kTravaAbandonada);
    // Without the lock (a folder where no lock file can be made) the single append below is still the best try.
    const bool travado = trava.tryLock(kEsperaTrava);
    QFile file(arquivo);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    bool ok = true;
    if (file.size() == 0)
        ok = file.write(cabecalho() + texto) >= 0;
    else
        ok = file.write(texto) >= 0;
    file.close();
    if (travado)
        trava.unlock();
    return ok && file.error() == QFileDevice::NoError;
}

void RegistraErro(const QString& rotina, int numero, const QString& descricao)
{
    ErrorLog::acrescenta(Paths::logDeErros(), {rotina, numero, descricao}, Clock::agora());
}

} // namespace platform
