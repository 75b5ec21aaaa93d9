#include "driversqlite.h"

#include "clock.h"
#include "colacao.h"
#include "copiatabelasqlite.h"
#include "database.h"
#include "errorlog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QStringList>
#include <QUrl>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace platform {

namespace {

const QString NomeDoDriver = QStringLiteral("QSQLITE");
// The first sixteen bytes of every database file the engine writes.
const QByteArray CabecalhoDoBanco("SQLite format 3\0", 16);

using Abertura = Driver::Abertura;
using ObjetoDoEsquema = Driver::ObjetoDoEsquema;

QSqlQuery executa(const QSqlDatabase& db, const QString& sql, const QVariantList& valores = {})
{
    return Driver::executa(db, sql, valores);
}

QVariant primeiroValor(const QSqlDatabase& db, const QString& sql, const QVariantList& valores = {})
{
    return Driver::primeiroValor(db, sql, valores);
}

// The file is named as an SQLite URI so that opening an existing database can never create an empty one in its
// place (mode=rw fails on a missing file instead).
QString nomeDoArquivo(const QString& caminho, Abertura abertura)
{
    const QUrl url = QUrl::fromLocalFile(QFileInfo(caminho).absoluteFilePath());
    const char* modo = abertura == Abertura::Nova             ? "?mode=rwc"
                       : abertura == Abertura::SomenteLeitura ? "?mode=ro"
                                                              : "?mode=rw";
    return url.toString(QUrl::FullyEncoded) + QLatin1String(modo);
}

QByteArray identidadeDe(const QString& caminho)
{
#ifdef Q_OS_UNIX
    struct stat dados;
    if (::stat(QFile::encodeName(caminho).constData(), &dados) != 0)
        return {};
    return QByteArray::number(quint64(dados.st_dev)) + ':' + QByteArray::number(quint64(dados.st_ino));
#else
    const QFileInfo info(caminho);
    if (!info.exists())
        return {};
    return QByteArray::number(info.birthTime().toMSecsSinceEpoch());
#endif
}

// Opens the connection on the file. SQLite opens lazily, so a file that is not a database is only found out by
// reading its schema.
void abreConexao(QSqlDatabase& db, const QString& caminho, Abertura abertura)
{
    if (!db.isValid())
        throw DbError(ErroDoMecanismo, descricaoErro(ErroDoMecanismo), QStringLiteral("driver QSQLITE indisponível"));
    db.setDatabaseName(nomeDoArquivo(caminho, abertura));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(DriverSqlite::TempoDeEsperaMs));
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

// A connection of its own on a file, for checking or mending it.
class ConexaoNoArquivo : public Driver::ConexaoAvulsa
{
public:
    ConexaoNoArquivo() : Driver::ConexaoAvulsa(NomeDoDriver) {}

    void abre(const QString& caminho, Abertura abertura)
    {
        QSqlDatabase banco = db();
        abreConexao(banco, caminho, abertura);
    }
};

// The quick check reads every page and catches damaged pages; the full check also compares each index with its
// table, which mending needs to know.
bool integro(const QSqlDatabase& db, bool completo)
{
    const QString sql =
        completo ? QStringLiteral("PRAGMA integrity_check(1)") : QStringLiteral("PRAGMA quick_check(1)");
    return primeiroValor(db, sql).toString() == QLatin1String("ok");
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

QList<RelatorioDeReparo::Tabela> copiaBanco(const QSqlDatabase& origem, const QSqlDatabase& destino,
                                            const QList<ObjetoDoEsquema>& esquema, QFile& arquivo)
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
    QList<RelatorioDeReparo::Tabela> tabelas;
    for (const ObjetoDoEsquema& objeto : esquema)
        if (objeto.tipo == QLatin1String("table"))
            tabelas.append(copiaTabelaSqlite(origem, destino, objeto.nome, arquivo));
    copiaSequencias(origem, destino);
    // Indexes, views and triggers come after the rows, so that no trigger fires during the copy. An index that the
    // salvaged rows no longer satisfy is left out rather than losing the rows.
    for (const char* tipo : {"index", "view", "trigger"})
        for (const ObjetoDoEsquema& objeto : esquema)
            if (objeto.tipo == QLatin1String(tipo))
                QSqlQuery(destino).exec(objeto.sql);
    executa(destino, QStringLiteral("COMMIT"));
    return tabelas;
}

// A name for the damaged copy that no file beside it has yet, nor the journal that may go with it: the moment of
// the repair, and a number after it when another copy was kept in the same minute.
QString nomeDaCopia(const QString& caminho)
{
    const QString base =
        caminho + QStringLiteral(".danificado-") + Clock::agora().toString(QStringLiteral("yyyy-MM-dd-HHmm"));
    const auto livre = [](const QString& nome) {
        for (const char* sufixo : {"", "-journal", "-wal", "-shm"})
            if (QFileInfo::exists(nome + QLatin1String(sufixo)))
                return false;
        return true;
    };
    QString nome = base;
    for (int n = 2; !livre(nome); ++n)
        nome = base + QStringLiteral("-%1").arg(n);
    return nome;
}

// Puts the mended file in place and keeps the damaged one, with any journal it left, under the name `copia`.
bool trocaArquivos(const QString& caminho, const QString& novo, const QString& copia)
{
    if (!QFile::rename(caminho, copia))
        return false;
    if (!QFile::rename(novo, caminho)) {
        QFile::rename(copia, caminho);
        return false;
    }
    for (const char* sufixo : {"-journal", "-wal", "-shm"}) {
        const QString resto = caminho + QLatin1String(sufixo);
        if (QFile::exists(resto))
            QFile::rename(resto, copia + QLatin1String(sufixo));
    }
    return true;
}

// The administrator's record of the repair, in the error log beside the database.
void registraReparo(const QString& caminho, const RelatorioDeReparo& relatorio)
{
    QString descricao = QFileInfo(caminho).fileName() + QStringLiteral(" reparado; ");
    const QStringList perdas = relatorio.perdas();
    descricao += perdas.isEmpty() ? QStringLiteral("nenhum registro perdido")
                                  : QStringLiteral("registros perdidos: ") + perdas.join(QStringLiteral("; "));
    descricao += QStringLiteral("; cópia danificada: ") + relatorio.copiaDanificada;
    const QString log = QFileInfo(caminho).absolutePath() + QStringLiteral("/Erros.txt");
    ErrorLog::acrescenta(log, {QStringLiteral("Reparo do banco de dados"), BancoDanificado, descricao}, Clock::agora());
}

} // namespace

QString DriverSqlite::nomeNoQt() const
{
    return NomeDoDriver;
}

void DriverSqlite::abre(QSqlDatabase& db, const QString& local, Abertura abertura) const
{
    const QFileInfo info(local);
    if (abertura == Abertura::Nova) {
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
    abreConexao(db, local, abertura);
    try {
        if (abertura != Abertura::SomenteLeitura)
            executa(db, QStringLiteral("PRAGMA journal_mode = DELETE"));
        // A new file gets its header written at once, so that it is a database even before the first table.
        if (abertura == Abertura::Nova)
            gravaVersaoDoEsquema(db, 0);
    } catch (const DbError&) {
        db.close();
        throw;
    }
}

QByteArray DriverSqlite::identidade(const QString& local) const
{
    // A file put in another's place by a rename has another identity even with the same name, size and times.
    return identidadeDe(local);
}

QString DriverSqlite::chave(const QSqlDatabase& db, const QString& tabela) const
{
    // A column declared INTEGER PRIMARY KEY is the row's own number under its own name; a table that declares none
    // is still reached by that number, unless it was made WITHOUT ROWID (found when a statement uses it).
    QSqlQuery colunas =
        executa(db, QStringLiteral("SELECT name, type FROM pragma_table_info(?) WHERE pk > 0"), {tabela});
    QStringList chaves;
    bool inteira = false;
    while (colunas.next()) {
        chaves.append(colunas.value(0).toString());
        inteira = colunas.value(1).toString().compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0;
    }
    if (chaves.size() == 1 && inteira)
        return Database::citado(chaves.front());
    return QStringLiteral("_rowid_");
}

bool DriverSqlite::ehTabela(const QSqlDatabase& db, const QString& tabela) const
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE "
                                      "UNION ALL SELECT 1 FROM sqlite_temp_master WHERE type = 'table' AND "
                                      "name = ? COLLATE NOCASE")))
        return false;
    query.addBindValue(tabela);
    query.addBindValue(tabela);
    return query.exec() && query.next();
}

QList<ObjetoDoEsquema> DriverSqlite::esquema(const QSqlDatabase& db) const
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

QString DriverSqlite::ordemDeTexto(const QString& coluna) const
{
    return coluna + QStringLiteral(" COLLATE ") + QLatin1String(NomeDaColacao);
}

QString DriverSqlite::dobraDeNome(const QString& coluna) const
{
    return QLatin1String(NomeDaDobra) + QLatin1Char('(') + coluna + QLatin1Char(')');
}

int DriverSqlite::versaoDoEsquema(const QSqlDatabase& db) const
{
    return primeiroValor(db, QStringLiteral("PRAGMA user_version")).toInt();
}

void DriverSqlite::gravaVersaoDoEsquema(const QSqlDatabase& db, int versao) const
{
    executa(db, QStringLiteral("PRAGMA user_version = %1").arg(versao));
}

std::optional<MarcaDeEscritas> DriverSqlite::marcaDeEscritas(const QSqlDatabase& db) const
{
    // data_version moves with every commit of another connection; total_changes counts the rows this connection
    // has written, in a transaction or not.
    QSqlQuery q = executa(db, QStringLiteral("SELECT data_version, total_changes() FROM pragma_data_version"));
    if (!q.next())
        return std::nullopt;
    return MarcaDeEscritas{q.value(0).toLongLong(), q.value(1).toLongLong()};
}

QStringList DriverSqlite::inicioDeTransacao() const
{
    return {QStringLiteral("BEGIN IMMEDIATE")};
}

QString DriverSqlite::tipoDaColuna(TipoDeColuna tipo, int tamanho) const
{
    switch (tipo) {
    case TipoDeColuna::Chave:
        return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    case TipoDeColuna::Inteiro:
        return QStringLiteral("INTEGER");
    case TipoDeColuna::Logico:
        return QStringLiteral("BOOLEAN NOT NULL DEFAULT FALSE");
    case TipoDeColuna::Real:
        return QStringLiteral("DOUBLE");
    case TipoDeColuna::Texto:
        return tamanho > 0 ? QStringLiteral("VARCHAR(%1)").arg(tamanho) : QStringLiteral("TEXT");
    case TipoDeColuna::TextoSemCaixa:
        return QStringLiteral("VARCHAR(%1) COLLATE NOCASE").arg(tamanho);
    case TipoDeColuna::Contador:
        return QStringLiteral("INTEGER NOT NULL DEFAULT 0");
    }
    return {};
}

qint64 DriverSqlite::ultimaChave(const QSqlDatabase& db, const QString& tabela) const
{
    // A table numbered with AUTOINCREMENT remembers its last number in sqlite_sequence, deleted rows included.
    const qint64 maior = Driver::ultimaChave(db, tabela);
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (q.prepare(QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = ? COLLATE NOCASE")) &&
        (q.addBindValue(tabela), q.exec()) && q.next())
        return std::max(maior, q.value(0).toLongLong());
    return maior;
}

QStringList DriverSqlite::contaAlteracoes(const QString& tabela, const QString& contador, const QString& chave) const
{
    return {QStringLiteral("CREATE TRIGGER %1Versao AFTER UPDATE ON %1 WHEN NEW.%2 = OLD.%2 BEGIN "
                           "UPDATE %1 SET %2 = OLD.%2 + 1 WHERE %3 = NEW.%3; END")
                .arg(tabela, contador, chave)};
}

int DriverSqlite::verifica(const QString& local) const
{
    const QFileInfo info(local);
    if (!info.exists() || info.isDir())
        return ArquivoNaoEncontrado;
    if (info.size() == 0)
        return BancoDanificado;
    // A file that does not begin as a database does is some other kind of file, not a damaged database: there is
    // nothing in it to repair.
    if (QFile arquivo(local); arquivo.open(QIODevice::ReadOnly) && !arquivo.read(16).startsWith(CabecalhoDoBanco))
        return FormatoNaoReconhecido;
    try {
        ConexaoNoArquivo conexao;
        conexao.abre(local, Abertura::Existente);
        return integro(conexao.db(), false) ? 0 : BancoDanificado;
    } catch (const DbError& erro) {
        return erro.numero();
    }
}

RelatorioDeReparo DriverSqlite::repara(const QString& local) const
{
    RelatorioDeReparo relatorio;
    relatorio.resultado = RelatorioDeReparo::Resultado::NaoReparado;
    const QFileInfo info(local);
    if (!info.isFile() || info.size() == 0)
        return relatorio;
    const QByteArray identidadeAntes = identidadeDe(local);
    const QString novo = local + QStringLiteral(".reparando");
    // The copy also reads the tree's pages straight from the file. This handle outlives the connection: closing a
    // handle on the file drops every lock the process holds on it, the repair's exclusive lock included.
    QFile paginas(local);
    paginas.open(QIODevice::ReadOnly);
    try {
        ConexaoNoArquivo origem;
        origem.abre(local, Abertura::Existente);
        // Other workstations keep their handle on the file they opened: the damaged file is swapped only while
        // none of them is reading or writing it, and none can start until the mended file is in its place.
        executa(origem.db(), QStringLiteral("PRAGMA busy_timeout = %1").arg(TempoDeEsperaDoReparoMs));
        try {
            executa(origem.db(), QStringLiteral("BEGIN EXCLUSIVE"));
        } catch (const DbError& erro) {
            if (erro.numero() == RegistroBloqueado)
                relatorio.resultado = RelatorioDeReparo::Resultado::EmUso;
            return relatorio;
        }
        // Another workstation may have mended it while this one waited: the file at the path is then a new one.
        if (identidadeDe(local) != identidadeAntes)
            return relatorio;
        bool jaIntegro = false;
        try {
            jaIntegro = integro(origem.db(), true);
        } catch (const DbError& erro) {
            // A damaged page read by the check itself is what mending is for; anything else is not ours to mend.
            if (erro.numero() != BancoDanificado)
                throw;
        }
        if (jaIntegro) {
            relatorio.resultado = RelatorioDeReparo::Resultado::NaoPrecisou;
            return relatorio;
        }
        const QList<ObjetoDoEsquema> objetos = esquema(origem.db());
        const bool temTabela = std::any_of(objetos.cbegin(), objetos.cend(),
                                           [](const ObjetoDoEsquema& o) { return o.tipo == QLatin1String("table"); });
        if (!temTabela)
            return relatorio;
        QFile::remove(novo);
        {
            ConexaoNoArquivo destino;
            destino.abre(novo, Abertura::Nova);
            relatorio.tabelas = copiaBanco(origem.db(), destino.db(), objetos, paginas);
            if (!integro(destino.db(), true))
                throw DbError(BancoDanificado);
        }
        const QString copia = nomeDaCopia(local);
        if (!trocaArquivos(local, novo, copia)) {
            QFile::remove(novo);
            return relatorio;
        }
        relatorio.resultado = RelatorioDeReparo::Resultado::Reparado;
        relatorio.copiaDanificada = copia;
    } catch (const DbError&) {
        QFile::remove(novo);
        return relatorio;
    }
    registraReparo(local, relatorio);
    return relatorio;
}

bool DriverSqlite::permiteGravar(const QString& local) const
{
    try {
        ConexaoNoArquivo conexao;
        conexao.abre(local, Abertura::Existente);
        const QSqlDatabase db = conexao.db();
        // Writing the header page back as it is needs the journal beside the file: the folder must take a new file
        // and the file a write. The transaction is then taken back, so nothing changes.
        const int versao = versaoDoEsquema(db);
        executa(db, QStringLiteral("BEGIN IMMEDIATE"));
        try {
            gravaVersaoDoEsquema(db, versao);
        } catch (const DbError&) {
            executa(db, QStringLiteral("ROLLBACK"));
            throw;
        }
        executa(db, QStringLiteral("ROLLBACK"));
        return true;
    } catch (const DbError& erro) {
        return erro.numero() != SomenteLeitura;
    }
}

} // namespace platform
