#include "database.h"

#include "colacao.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlRecord>
#include <QStringList>
#include <QUrl>

#include <algorithm>
#include <atomic>
#include <limits>
#include <optional>

namespace platform {

namespace {

const QString Driver = QStringLiteral("QSQLITE");

enum class Abertura { Existente, Nova };

// The file is named as an SQLite URI so that opening an existing database can never create an empty one in its
// place (mode=rw fails on a missing file instead).
QString nomeDoArquivo(const QString& caminho, Abertura abertura)
{
    const QUrl url = QUrl::fromLocalFile(QFileInfo(caminho).absoluteFilePath());
    return url.toString(QUrl::FullyEncoded) +
           (abertura == Abertura::Nova ? QStringLiteral("?mode=rwc") : QStringLiteral("?mode=rw"));
}

QSqlQuery executa(const QSqlDatabase& db, const QString& sql, const QVariantList& valores = {})
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throw DbError::doMecanismo(query.lastError());
    for (const QVariant& valor : valores)
        query.addBindValue(valor);
    if (!query.exec())
        throw DbError::doMecanismo(query.lastError());
    return query;
}

QVariant primeiroValor(const QSqlDatabase& db, const QString& sql)
{
    QSqlQuery query = executa(db, sql);
    if (query.next())
        return query.value(0);
    if (query.lastError().isValid())
        throw DbError::doMecanismo(query.lastError());
    return {};
}

// Opens the connection on the file. SQLite opens lazily, so a file that is not a database is only found out by
// reading its schema.
void abreConexao(QSqlDatabase& db, const QString& caminho, Abertura abertura)
{
    if (!db.isValid())
        throw DbError(ErroDoMecanismo, descricaoErro(ErroDoMecanismo), QStringLiteral("driver QSQLITE indisponível"));
    db.setDatabaseName(nomeDoArquivo(caminho, abertura));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(Database::TempoDeEsperaMs));
    if (!db.open()) {
        const DbError erro = DbError::doMecanismo(db.lastError());
        db.close();
        throw erro;
    }
    try {
        primeiroValor(db, QStringLiteral("SELECT count(*) FROM sqlite_master"));
        // Every connection sorts names the same way, whichever part of the program opened it.
        registraColacao(db);
    } catch (const DbError&) {
        db.close();
        throw;
    }
}

// A connection of its own for checking or mending a file, released when it goes out of scope.
class ConexaoAvulsa
{
public:
    ConexaoAvulsa() : m_nome(QStringLiteral("quenvar_avulsa_%1").arg(++s_contador))
    {
        QSqlDatabase::addDatabase(Driver, m_nome);
    }
    ~ConexaoAvulsa()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(m_nome, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_nome);
    }
    ConexaoAvulsa(const ConexaoAvulsa&) = delete;
    ConexaoAvulsa& operator=(const ConexaoAvulsa&) = delete;

    void abre(const QString& caminho, Abertura abertura)
    {
        QSqlDatabase db = QSqlDatabase::database(m_nome, false);
        abreConexao(db, caminho, abertura);
    }
    QSqlDatabase db() const { return QSqlDatabase::database(m_nome, false); }

private:
    static inline std::atomic<int> s_contador{0};
    QString m_nome;
};

// The quick check reads every page and catches damaged pages; the full check also compares each index with its
// table, which mending needs to know.
bool integro(const QSqlDatabase& db, bool completo)
{
    const QString sql =
        completo ? QStringLiteral("PRAGMA integrity_check(1)") : QStringLiteral("PRAGMA quick_check(1)");
    return primeiroValor(db, sql).toString() == QLatin1String("ok");
}

bool arquivoIntegro(const QString& caminho)
{
    try {
        ConexaoAvulsa conexao;
        conexao.abre(caminho, Abertura::Existente);
        return integro(conexao.db(), true);
    } catch (const DbError&) {
        return false;
    }
}

int verificaBanco(const QString& caminho)
{
    const QFileInfo info(caminho);
    if (!info.exists() || info.isDir())
        return ArquivoNaoEncontrado;
    if (info.size() == 0)
        return BancoDanificado;
    try {
        ConexaoAvulsa conexao;
        conexao.abre(caminho, Abertura::Existente);
        return integro(conexao.db(), false) ? 0 : BancoDanificado;
    } catch (const DbError& erro) {
        return erro.numero();
    }
}

struct ObjetoDoEsquema
{
    QString tipo;
    QString nome;
    QString sql;
};

QList<ObjetoDoEsquema> leEsquema(const QSqlDatabase& db)
{
    QList<ObjetoDoEsquema> objetos;
    QSqlQuery query =
        executa(db, QStringLiteral("SELECT type, name, sql FROM sqlite_master WHERE sql IS NOT NULL ORDER BY rowid"));
    while (query.next()) {
        const QString nome = query.value(1).toString();
        if (!nome.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive))
            objetos.append({query.value(0).toString(), nome, query.value(2).toString()});
    }
    if (query.lastError().isValid())
        throw DbError::doMecanismo(query.lastError());
    return objetos;
}

// Copies the rows of one table in key order. A damaged page stops the scan; the copy then resumes at the first
// key past the damage (found by seeking ever further ahead, then back by halves), so that every row still
// readable is saved. Rows that the table's own rules refuse (a key repeated by the damage) are left out.
void copiaTabela(const QSqlDatabase& origem, const QSqlDatabase& destino, const QString& tabela)
{
    constexpr qint64 Maior = std::numeric_limits<qint64>::max();
    const QString nome = Database::citado(tabela);
    const bool temRowid = QSqlQuery(origem).prepare(QStringLiteral("SELECT _rowid_ FROM %1").arg(nome));
    const QString leitura = temRowid ? QStringLiteral("SELECT _rowid_, * FROM %1 NOT INDEXED").arg(nome)
                                     : QStringLiteral("SELECT * FROM %1").arg(nome);
    const auto abreLeitura = [&](std::optional<qint64> desde) {
        QSqlQuery query(origem);
        query.setForwardOnly(true);
        const QString sql = !desde ? leitura + (temRowid ? QStringLiteral(" ORDER BY _rowid_") : QString())
                                   : leitura + QStringLiteral(" WHERE _rowid_ >= ? ORDER BY _rowid_");
        if (query.prepare(sql)) {
            if (desde)
                query.addBindValue(*desde);
            query.exec();
        }
        return query;
    };
    const auto legivelDesde = [&](qint64 desde) {
        QSqlQuery query = abreLeitura(desde);
        return !query.lastError().isValid() && (query.next() || !query.lastError().isValid());
    };

    QSqlQuery escrita(destino);
    bool escritaPronta = false;
    std::optional<qint64> desde;
    for (;;) {
        QSqlQuery query = abreLeitura(desde);
        qint64 ultimo = 0;
        bool leuAlgum = false;
        while (!query.lastError().isValid() && query.next()) {
            const QSqlRecord registro = query.record();
            if (!escritaPronta) {
                QStringList colunas;
                QStringList marcas;
                for (int i = 0; i < registro.count(); ++i) {
                    colunas << (temRowid && i == 0 ? QStringLiteral("_rowid_")
                                                   : Database::citado(registro.fieldName(i)));
                    marcas << QStringLiteral("?");
                }
                const QString sql = QStringLiteral("INSERT OR IGNORE INTO %1(%2) VALUES(%3)")
                                        .arg(nome, colunas.join(QLatin1Char(',')), marcas.join(QLatin1Char(',')));
                if (!escrita.prepare(sql))
                    throw DbError::doMecanismo(escrita.lastError());
                escritaPronta = true;
            }
            for (int i = 0; i < registro.count(); ++i)
                escrita.bindValue(i, registro.value(i));
            if (!escrita.exec())
                throw DbError::doMecanismo(escrita.lastError());
            if (temRowid) {
                ultimo = registro.value(0).toLongLong();
                leuAlgum = true;
            }
        }
        const QSqlError erro = query.lastError();
        if (!erro.isValid() || !temRowid || numeroDoErro(erro) != BancoDanificado)
            return;

        // The first key not yet copied lies on the damaged page; find the first one that can be read again.
        const qint64 base = leuAlgum ? ultimo + 1 : desde.value_or(std::numeric_limits<qint64>::min());
        if (base >= Maior - 1)
            return;
        qint64 falha = 0;
        qint64 salto = 1;
        while (!legivelDesde(base + salto)) {
            falha = salto;
            if (salto >= (qint64(1) << 61) || base > Maior - 2 * salto)
                return; // nothing readable past the damage
            salto *= 2;
        }
        while (salto - falha > 1) {
            const qint64 meio = falha + (salto - falha) / 2;
            if (legivelDesde(base + meio))
                salto = meio;
            else
                falha = meio;
        }
        desde = base + salto;
    }
}

// The autoincrement counters, so that a mended table never hands out a number it gave before.
void copiaSequencias(const QSqlDatabase& origem, const QSqlDatabase& destino)
{
    QSqlQuery query(origem);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT name, seq FROM sqlite_sequence")))
        return;
    while (query.next()) {
        const QVariantList valores{query.value(1), query.value(0)};
        if (executa(destino, QStringLiteral("UPDATE sqlite_sequence SET seq = max(seq, ?) WHERE name = ?"), valores)
                .numRowsAffected() == 0)
            executa(destino, QStringLiteral("INSERT INTO sqlite_sequence(seq, name) VALUES(?, ?)"), valores);
    }
}

void copiaBanco(const QSqlDatabase& origem, const QSqlDatabase& destino, const QList<ObjetoDoEsquema>& esquema)
{
    for (const char* pragma : {"page_size", "user_version", "application_id"}) {
        const QString nome = QString::fromLatin1(pragma);
        const QVariant valor = primeiroValor(origem, QStringLiteral("PRAGMA ") + nome);
        executa(destino, QStringLiteral("PRAGMA %1 = %2").arg(nome).arg(valor.toLongLong()));
    }
    executa(destino, QStringLiteral("PRAGMA journal_mode = DELETE"));
    executa(destino, QStringLiteral("BEGIN"));
    for (const ObjetoDoEsquema& objeto : esquema)
        if (objeto.tipo == QLatin1String("table"))
            executa(destino, objeto.sql);
    for (const ObjetoDoEsquema& objeto : esquema)
        if (objeto.tipo == QLatin1String("table"))
            copiaTabela(origem, destino, objeto.nome);
    copiaSequencias(origem, destino);
    // Indexes, views and triggers come after the rows, so that no trigger fires during the copy. An index that the
    // salvaged rows no longer satisfy is left out rather than losing the rows.
    for (const char* tipo : {"index", "view", "trigger"})
        for (const ObjetoDoEsquema& objeto : esquema)
            if (objeto.tipo == QLatin1String(tipo))
                QSqlQuery(destino).exec(objeto.sql);
    executa(destino, QStringLiteral("COMMIT"));
}

// Puts the mended file in place and keeps the damaged one, with any journal it left, beside it.
bool trocaArquivos(const QString& caminho, const QString& novo)
{
    const QString danificado = caminho + QStringLiteral(".danificado");
    for (const char* sufixo : {"-journal", "-wal", "-shm"}) {
        const QString resto = caminho + QLatin1String(sufixo);
        if (QFile::exists(resto)) {
            QFile::remove(danificado + QLatin1String(sufixo));
            QFile::rename(resto, danificado + QLatin1String(sufixo));
        }
    }
    QFile::remove(danificado);
    if (!QFile::rename(caminho, danificado))
        return false;
    if (!QFile::rename(novo, caminho)) {
        QFile::rename(danificado, caminho);
        return false;
    }
    return true;
}

} // namespace

int Database::AbrindoBanco(const QString& caminho)
{
    bool reparoTentado = false;
    for (;;) {
        const int numero = verificaBanco(caminho);
        if (numero != BancoDanificado || reparoTentado)
            return numero;
        reparoTentado = true;
        repara(caminho);
    }
}

bool Database::repara(const QString& caminho)
{
    const QFileInfo info(caminho);
    if (!info.isFile() || info.size() == 0)
        return false;
    const QString novo = caminho + QStringLiteral(".reparando");
    QFile::remove(novo);
    bool copiado = false;
    try {
        ConexaoAvulsa origem;
        origem.abre(caminho, Abertura::Existente);
        bool jaIntegro = false;
        try {
            jaIntegro = integro(origem.db(), true);
        } catch (const DbError& erro) {
            // A damaged page read by the check itself is what mending is for; anything else is not ours to mend.
            if (erro.numero() != BancoDanificado)
                throw;
        }
        if (jaIntegro)
            return true;
        const QList<ObjetoDoEsquema> esquema = leEsquema(origem.db());
        const bool temTabela = std::any_of(esquema.cbegin(), esquema.cend(),
                                           [](const ObjetoDoEsquema& o) { return o.tipo == QLatin1String("table"); });
        if (!temTabela)
            return false;
        ConexaoAvulsa destino;
        destino.abre(novo, Abertura::Nova);
        copiaBanco(origem.db(), destino.db(), esquema);
        copiado = integro(destino.db(), true);
    } catch (const DbError&) {
        copiado = false;
    }
    if (!copiado || !trocaArquivos(caminho, novo)) {
        QFile::remove(novo);
        return false;
    }
    return arquivoIntegro(caminho);
}

QString Database::citado(const QString& nome)
{
    QString texto = nome;
    texto.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + texto + QLatin1Char('"');
}

QString Database::ordemDeTexto(const QString& coluna)
{
    return coluna + QStringLiteral(" COLLATE ") + QLatin1String(NomeDaColacao);
}

Database& Database::shared()
{
    // Never destroyed: the main window closes it, and the connection must not outlive Qt's own registry of
    // connections at exit.
    static Database* const compartilhado = new Database();
    return *compartilhado;
}

Database::Database(QString nomeConexao) : m_nomeConexao(std::move(nomeConexao)) {}

Database::~Database()
{
    close();
    if (QSqlDatabase::contains(m_nomeConexao))
        QSqlDatabase::removeDatabase(m_nomeConexao);
}

void Database::open(const QString& caminho)
{
    abre(caminho, false);
}

void Database::create(const QString& caminho)
{
    abre(caminho, true);
}

void Database::abre(const QString& caminho, bool criar)
{
    close();
    const QFileInfo info(caminho);
    if (criar) {
        if (info.exists())
            throw DbError(BancoJaExiste);
        if (!info.absoluteDir().exists())
            throw DbError(CaminhoInvalido);
    } else if (!info.exists() || info.isDir()) {
        throw DbError(ArquivoNaoEncontrado);
    } else if (info.size() == 0) {
        // SQLite would take an empty file for an empty database; for the suite it is a file that lost its contents.
        throw DbError(BancoDanificado);
    }

    QSqlDatabase db = QSqlDatabase::contains(m_nomeConexao) ? QSqlDatabase::database(m_nomeConexao, false)
                                                            : QSqlDatabase::addDatabase(Driver, m_nomeConexao);
    abreConexao(db, caminho, criar ? Abertura::Nova : Abertura::Existente);
    try {
        executa(db, QStringLiteral("PRAGMA journal_mode = DELETE"));
        // A new file gets its header written at once, so that it is a database even before the first table.
        if (criar)
            executa(db, QStringLiteral("PRAGMA user_version = 0"));
    } catch (const DbError&) {
        db.close();
        throw;
    }
    m_caminho = caminho;
}

void Database::close()
{
    m_profundidade = 0;
    m_caminho.clear();
    if (QSqlDatabase::contains(m_nomeConexao)) {
        QSqlDatabase db = QSqlDatabase::database(m_nomeConexao, false);
        db.close();
    }
}

bool Database::isOpen() const
{
    return QSqlDatabase::contains(m_nomeConexao) && QSqlDatabase::database(m_nomeConexao, false).isOpen();
}

QSqlDatabase Database::handle() const
{
    return QSqlDatabase::database(m_nomeConexao, false);
}

QSqlDatabase Database::conexao() const
{
    QSqlDatabase db = handle();
    if (!db.isOpen())
        throw DbError(ObjetoInvalido);
    return db;
}

QSqlQuery Database::exec(const QString& sql, const QVariantList& valores)
{
    return executa(conexao(), sql, valores);
}

QVariant Database::scalar(const QString& sql, const QVariantList& valores)
{
    QSqlQuery query = executa(conexao(), sql, valores);
    if (query.next())
        return query.value(0);
    if (query.lastError().isValid())
        throw DbError::doMecanismo(query.lastError());
    return {};
}

int Database::execCount(const QString& sql, const QVariantList& valores)
{
    return executa(conexao(), sql, valores).numRowsAffected();
}

void Database::beginTransaction()
{
    executa(conexao(), m_profundidade == 0 ? QStringLiteral("BEGIN IMMEDIATE")
                                           : QStringLiteral("SAVEPOINT quenvar_%1").arg(m_profundidade));
    ++m_profundidade;
}

void Database::commitTransaction()
{
    if (m_profundidade == 0)
        throw DbError(ArgumentoInvalido, QStringLiteral("Nenhuma transação aberta"));
    executa(conexao(), m_profundidade == 1 ? QStringLiteral("COMMIT")
                                           : QStringLiteral("RELEASE quenvar_%1").arg(m_profundidade - 1));
    --m_profundidade;
}

void Database::rollbackTransaction()
{
    if (m_profundidade == 0)
        throw DbError(ArgumentoInvalido, QStringLiteral("Nenhuma transação aberta"));
    --m_profundidade;
    const QSqlDatabase db = conexao();
    if (m_profundidade == 0) {
        executa(db, QStringLiteral("ROLLBACK"));
    } else {
        const QString ponto = QStringLiteral("quenvar_%1").arg(m_profundidade);
        executa(db, QStringLiteral("ROLLBACK TO ") + ponto);
        executa(db, QStringLiteral("RELEASE ") + ponto);
    }
}

} // namespace platform
