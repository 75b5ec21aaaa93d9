#include "localdobanco.h"

#include "driverpostgres.h"
#include "driversqlite.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>

namespace platform {

QString LocalDoBanco::arquivoDoServidor(const QString& pasta)
{
    return pasta + QStringLiteral("Dados/servidor.ini");
}

LocalDoBanco LocalDoBanco::daPasta(const QString& pasta)
{
    const QString ini = arquivoDoServidor(pasta);
    if (!QFileInfo::exists(ini))
        return arquivo(pasta + QStringLiteral("Dados/empresa.mdb"));
    QSettings config(ini, QSettings::IniFormat);
    return servidor(config.value(QStringLiteral("Servidor/Conexao")).toString().trimmed());
}

bool LocalDoBanco::gravaServidor(const QString& pasta, const QString& conexao)
{
    // Written by hand rather than through QSettings, so that it appears whole or not at all.
    QString valor = conexao.trimmed();
    valor.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('"'), QStringLiteral("\\\""));
    QSaveFile arquivo(arquivoDoServidor(pasta));
    if (!arquivo.open(QIODevice::WriteOnly))
        return false;
    arquivo.write("[Servidor]\nConexao=\"" + valor.toUtf8() + "\"\n");
    return arquivo.commit();
}

std::unique_ptr<Driver> LocalDoBanco::driver() const
{
    if (ehServidor())
        return std::make_unique<DriverPostgres>();
    return std::make_unique<DriverSqlite>();
}

QString LocalDoBanco::descricao() const
{
    return ehServidor() ? DriverPostgres::semSenha(local) : local;
}

} // namespace platform
