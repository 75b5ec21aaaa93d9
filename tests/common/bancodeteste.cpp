#include "bancodeteste.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <atomic>
#include <stdexcept>

namespace teste {

namespace {

// Runs one statement on the server's maintenance database, outside any transaction (databases are made and dropped
// that way).
void administra(const QString& sql)
{
    static std::atomic<int> contador{0};
    const QString nome = QStringLiteral("teste_admin_%1").arg(++contador);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), nome);
        db.setConnectOptions(QStringLiteral("dbname=postgres"));
        if (!db.open())
            throw std::runtime_error("servidor de teste inacessível: " + db.lastError().text().toStdString());
        QSqlQuery q(db);
        const bool ok = q.exec(sql);
        const QString falha = q.lastError().text();
        q.finish();
        db.close();
        if (!ok)
            throw std::runtime_error((sql + QStringLiteral(": ") + falha).toStdString());
    }
    QSqlDatabase::removeDatabase(nome);
}

} // namespace

bool noServidor()
{
    return qEnvironmentVariable("QUENVAR_TESTE_MOTOR") == QLatin1String("postgres");
}

BancoNovo::BancoNovo(const QString& arquivo)
{
    if (!noServidor()) {
        m_local = platform::LocalDoBanco::arquivo(arquivo);
        return;
    }
    static std::atomic<int> contador{0};
    m_nome = QStringLiteral("quenvar_teste_%1_%2").arg(QCoreApplication::applicationPid()).arg(++contador);
    administra(QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8'").arg(m_nome));
    m_local = platform::LocalDoBanco::servidor(QStringLiteral("dbname=") + m_nome);
}

BancoNovo::~BancoNovo()
{
    if (m_nome.isEmpty())
        return;
    try {
        // Connections a test left open go with the database.
        administra(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_nome));
    } catch (const std::exception&) {
        // A database left behind goes with the throwaway server at the end of the run.
    }
}

} // namespace teste
