#include "bancodeteste.h"

#include "platform/database.h"

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

QString exata(const QString& coluna)
{
    return coluna + (noServidor() ? QStringLiteral(" COLLATE \"C\"") : QStringLiteral(" COLLATE BINARY"));
}

QString quantasVerdadeiras(const QString& coluna)
{
    return QStringLiteral("SUM(CASE WHEN %1 THEN 1 ELSE 0 END)").arg(coluna);
}

void esperaCurta(platform::Database& db, int ms)
{
    db.exec(noServidor() ? QStringLiteral("SET lock_timeout = %1").arg(ms)
                         : QStringLiteral("PRAGMA busy_timeout = %1").arg(ms));
}

void recusaInsercoes(platform::Database& db, const QString& condicao, const QString& mensagem)
{
    if (!noServidor()) {
        db.exec(
            QStringLiteral("CREATE TRIGGER recusa BEFORE INSERT ON Tracos WHEN %1 BEGIN SELECT RAISE(ABORT, '%2'); END")
                .arg(condicao, mensagem));
        return;
    }
    // A check the row fails is refused as the file's trigger is: a constraint of the table.
    QString condicaoCitada = db.traduz(QStringLiteral("SELECT ") + condicao).mid(7);
    db.exec(QStringLiteral("CREATE FUNCTION recusa() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN IF %1 THEN "
                           "RAISE EXCEPTION '%2' USING ERRCODE = '23000'; END IF; RETURN NEW; END $$")
                .arg(condicaoCitada, mensagem));
    db.exec(QStringLiteral("CREATE TRIGGER recusa BEFORE INSERT ON \"Tracos\" FOR EACH ROW EXECUTE FUNCTION recusa()"));
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
