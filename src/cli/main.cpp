#include "cli/subcomandos.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTextStream>

#include <cstdio>
#include <functional>
#include <map>

namespace cli {

void erro(const QString& mensagem)
{
    const QByteArray texto = mensagem.toUtf8() + '\n';
    std::fwrite(texto.constData(), 1, static_cast<size_t>(texto.size()), stderr);
}

} // namespace cli

namespace {

const char kUso[] = "Uso: quenvar-cli <subcomando> [argumentos]\n"
                    "Subcomandos:\n"
                    "  criar-dados PASTA [--demo]   cria uma pasta de dados nova (com --demo, dados de exemplo)\n";

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication aplicacao(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    QStringList argumentos = QCoreApplication::arguments().mid(1);
    const std::map<QString, std::function<int(const QStringList&)>> subcomandos{
        {QStringLiteral("criar-dados"), cli::criarDados},
    };
    if (argumentos.isEmpty() || argumentos.first() == QLatin1String("--help") ||
        argumentos.first() == QLatin1String("-h")) {
        std::fputs(kUso, argumentos.isEmpty() ? stderr : stdout);
        return argumentos.isEmpty() ? cli::kEntradaInvalida : cli::kSucesso;
    }
    const auto it = subcomandos.find(argumentos.takeFirst());
    if (it == subcomandos.end()) {
        cli::erro(QStringLiteral("Subcomando desconhecido. ") + QString::fromUtf8(kUso));
        return cli::kEntradaInvalida;
    }
    return it->second(argumentos);
}
