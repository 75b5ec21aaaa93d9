#include "driverpostgres.h"

#include "database.h"
#include "dberror.h"

#include <QSqlError>
#include <QUrl>
#include <QUrlQuery>

namespace platform {

namespace {

const QString NomeDoDriver = QStringLiteral("QPSQL");
// The program's own row: the schema's version and the count of writes.
const QString TabelaDeControle = QStringLiteral("quenvar_controle");
// The writers' turn, one for every workstation of the company on this database.
constexpr qint64 VezDeGravar = 0x5175656e766172; // "Quenvar"

using Abertura = Driver::Abertura;

QVariant primeiroValor(const QSqlDatabase& db, const QString& sql, const QVariantList& valores = {})
{
    return Driver::primeiroValor(db, sql, valores);
}

// A value of a libpq connection string, quoted when it must be.
QString valorDeConexao(const QString& valor)
{
    if (!valor.isEmpty() && !valor.contains(QLatin1Char(' ')) && !valor.contains(QLatin1Char('\'')) &&
        !valor.contains(QLatin1Char('\\')))
        return valor;
    QString texto = valor;
    texto.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('\''), QStringLiteral("\\'"));
    return QLatin1Char('\'') + texto + QLatin1Char('\'');
}

bool ehUri(const QString& conexao)
{
    return conexao.startsWith(QLatin1String("postgresql://")) || conexao.startsWith(QLatin1String("postgres://"));
}

} // namespace

// A new database gets the program's row of control, the Portuguese ordering and the trigger function that counts the
// writes.
QStringList DriverPostgres::preparacao() const
{
    return {
        QStringLiteral("CREATE TABLE %1 (versao INTEGER NOT NULL, escritas BIGINT NOT NULL)").arg(TabelaDeControle),
        QStringLiteral("INSERT INTO %1 VALUES (0, 0)").arg(TabelaDeControle),
        QStringLiteral("CREATE COLLATION IF NOT EXISTS %1 (provider = icu, locale = 'pt-BR-u-ks-level2')")
            .arg(QLatin1String(DriverPostgres::NomeDaColacao)),
        QStringLiteral("CREATE OR REPLACE FUNCTION quenvar_conta_escrita() RETURNS trigger LANGUAGE plpgsql AS $$ "
                       "BEGIN UPDATE %1 SET escritas = escritas + 1; RETURN NULL; END $$")
            .arg(TabelaDeControle),
    };
}

namespace {

bool temControle(const QSqlDatabase& db)
{
    return !primeiroValor(db, QStringLiteral("SELECT to_regclass(?)::text"), {TabelaDeControle}).isNull();
}

// Whether the current schema holds any table: a database that does is not new.
bool temTabelas(const QSqlDatabase& db)
{
    return primeiroValor(db, QStringLiteral("SELECT count(*) FROM information_schema.tables "
                                            "WHERE table_schema = current_schema()"))
               .toLongLong() > 0;
}

// Bare names of the schema quoted as they are kept; LIKE compares without regard to case, as on the SQLite file.
// Texts, quoted names and function bodies pass untouched.
QString traduzComNomes(const QString& sql, const QHash<QString, QString>& nomes)
{
    QString saida;
    saida.reserve(sql.size() + 32);
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql.at(i);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            qsizetype j = i + 1;
            while (j < n && !(sql.at(j) == c && (j + 1 >= n || sql.at(j + 1) != c)))
                j += sql.at(j) == c ? 2 : 1;
            saida += QStringView(sql).mid(i, std::min(j + 1, n) - i);
            i = j + 1;
        } else if (c == QLatin1Char('$') && i + 1 < n && sql.at(i + 1) == QLatin1Char('$')) {
            const qsizetype fim = sql.indexOf(QLatin1String("$$"), i + 2);
            const qsizetype j = fim < 0 ? n : fim + 2;
            saida += QStringView(sql).mid(i, j - i);
            i = j;
        } else if (c.isLetter() || c == QLatin1Char('_') || c.isDigit()) {
            qsizetype j = i + 1;
            while (j < n &&
                   (sql.at(j).isLetterOrNumber() || sql.at(j) == QLatin1Char('_') || sql.at(j) == QLatin1Char('$')))
                ++j;
            const QStringView palavra = QStringView(sql).mid(i, j - i);
            if (c.isDigit()) {
                saida += palavra;
            } else if (palavra.compare(QLatin1String("LIKE"), Qt::CaseInsensitive) == 0) {
                saida += QLatin1String("ILIKE");
            } else if (const auto it = nomes.constFind(palavra.toString().toLower()); it != nomes.cend()) {
                saida += Database::citado(*it);
            } else {
                saida += palavra;
            }
            i = j;
        } else {
            saida += c;
            ++i;
        }
    }
    return saida;
}

} // namespace

QString DriverPostgres::opcoesDeConexao(const QString& conexao)
{
    const QString texto = conexao.trimmed();
    QStringList opcoes;
    if (ehUri(texto)) {
        const QUrl url(texto);
        if (!url.isValid())
            return {};
        if (!url.host().isEmpty())
            opcoes.append(QStringLiteral("host=") + valorDeConexao(url.host()));
        if (url.port() > 0)
            opcoes.append(QStringLiteral("port=%1").arg(url.port()));
        if (!url.userName().isEmpty())
            opcoes.append(QStringLiteral("user=") + valorDeConexao(url.userName()));
        if (!url.password().isEmpty())
            opcoes.append(QStringLiteral("password=") + valorDeConexao(url.password()));
        const QString banco = url.path().mid(1);
        if (!banco.isEmpty())
            opcoes.append(QStringLiteral("dbname=") + valorDeConexao(banco));
        const QList<std::pair<QString, QString>> itens = QUrlQuery(url).queryItems(QUrl::FullyDecoded);
        for (const auto& [chave, valor] : itens)
            opcoes.append(chave + QLatin1Char('=') + valorDeConexao(valor));
    } else if (!texto.isEmpty()) {
        opcoes.append(texto);
    }
    // A server that does not answer is given up after a while, not waited for as long as the network would.
    if (!texto.contains(QLatin1String("connect_timeout")))
        opcoes.append(QStringLiteral("connect_timeout=10"));
    if (!texto.contains(QLatin1String("application_name")))
        opcoes.append(QStringLiteral("application_name=Quenvar"));
    return opcoes.join(QLatin1Char(' '));
}

QString DriverPostgres::semSenha(const QString& conexao)
{
    const QString texto = conexao.trimmed();
    if (ehUri(texto)) {
        QUrl url(texto);
        url.setPassword({});
        QUrlQuery consulta(url);
        consulta.removeAllQueryItems(QStringLiteral("password"));
        url.setQuery(consulta);
        return url.toString();
    }
    QString resultado = texto;
    static const QRegularExpression senha(QStringLiteral(R"(password\s*=\s*(?:'(?:[^'\\]|\\.)*'|\S+))"));
    resultado.replace(senha, QStringLiteral("password=***"));
    return resultado;
}

QString DriverPostgres::nomeNoQt() const
{
    return NomeDoDriver;
}

void DriverPostgres::abre(QSqlDatabase& db, const QString& local, Abertura abertura) const
{
    m_nomes.clear();
    m_nomesEmDia = false;
    m_traducoes.clear();
    if (!db.isValid())
        throw DbError(ErroDoMecanismo, descricaoErro(ErroDoMecanismo), QStringLiteral("driver QPSQL indisponível"));
    const QString opcoes = opcoesDeConexao(local);
    if (opcoes.isEmpty())
        throw DbError(CaminhoInvalido, descricaoErro(CaminhoInvalido), semSenha(local));
    db.setConnectOptions(opcoes);
    if (!db.open()) {
        // The server's own words (host not found, connection refused, password refused) go with the error.
        const QString detalhe = db.lastError().text().trimmed();
        db.close();
        throw DbError(ErroDiscoOuRede, descricaoErro(ErroDiscoOuRede), detalhe);
    }
    try {
        executa(db, QStringLiteral("SET lock_timeout = %1").arg(TempoDeEsperaMs));
        if (abertura == Abertura::SomenteLeitura)
            executa(db, QStringLiteral("SET default_transaction_read_only = on"));
        if (abertura == Abertura::Nova) {
            if (temTabelas(db))
                throw DbError(BancoJaExiste);
        }
    } catch (const DbError&) {
        db.close();
        throw;
    }
}

QByteArray DriverPostgres::identidade(const QString&) const
{
    // The server's database is never swapped under the workstations' feet.
    return {};
}

const QHash<QString, QString>& DriverPostgres::nomes(const QSqlDatabase& db) const
{
    if (m_nomesEmDia)
        return m_nomes;
    m_nomes.clear();
    m_traducoes.clear();
    QSqlQuery q = executa(db, QStringLiteral("SELECT table_name FROM information_schema.tables "
                                             "WHERE table_schema = current_schema() "
                                             "UNION SELECT column_name FROM information_schema.columns "
                                             "WHERE table_schema = current_schema()"));
    while (q.next()) {
        const QString nome = q.value(0).toString();
        m_nomes.insert(nome.toLower(), nome);
    }
    m_nomesEmDia = true;
    return m_nomes;
}

QString DriverPostgres::traduz(const QSqlDatabase& db, const QString& sql) const
{
    static const QRegularExpression mudaEsquema(QStringLiteral(R"(^\s*(?:CREATE|ALTER|DROP)\b)"),
                                                QRegularExpression::CaseInsensitiveOption);
    const QHash<QString, QString>& conhecidos = nomes(db);
    if (mudaEsquema.match(sql).hasMatch()) {
        // The statement changes the names: the next one reads them again.
        m_nomesEmDia = false;
        return traduzComNomes(sql, conhecidos);
    }
    if (const auto it = m_traducoes.constFind(sql); it != m_traducoes.cend())
        return *it;
    const QString traduzido = traduzComNomes(sql, conhecidos);
    if (m_traducoes.size() > 4096)
        m_traducoes.clear();
    m_traducoes.insert(sql, traduzido);
    return traduzido;
}

QString DriverPostgres::chave(const QSqlDatabase& db, const QString& tabela) const
{
    const QString nome = nomes(db).value(tabela.toLower(), tabela);
    QSqlQuery q = executa(db,
                          QStringLiteral("SELECT a.attname, format_type(a.atttypid, a.atttypmod) FROM pg_index i "
                                         "JOIN pg_attribute a ON a.attrelid = i.indrelid AND a.attnum = ANY(i.indkey) "
                                         "WHERE i.indrelid = to_regclass(?) AND i.indisprimary"),
                          {Database::citado(nome)});
    QStringList chaves;
    bool inteira = false;
    while (q.next()) {
        chaves.append(q.value(0).toString());
        inteira = q.value(1).toString().contains(QLatin1String("int"));
    }
    // The server keeps no row number of its own: a table without an integer key is read, never changed row by row.
    if (chaves.size() == 1 && inteira)
        return Database::citado(chaves.front());
    return {};
}

bool DriverPostgres::ehTabela(const QSqlDatabase& db, const QString& tabela) const
{
    return !primeiroValor(
                db,
                QStringLiteral("SELECT 1 FROM information_schema.tables WHERE table_schema = current_schema() "
                               "AND table_type = 'BASE TABLE' AND lower(table_name) = lower(?)"),
                {tabela})
                .isNull();
}

QList<Driver::ObjetoDoEsquema> DriverPostgres::esquema(const QSqlDatabase& db) const
{
    QList<ObjetoDoEsquema> objetos;
    QSqlQuery q = executa(db,
                          QStringLiteral("SELECT CASE c.relkind WHEN 'r' THEN 'table' WHEN 'v' THEN 'view' "
                                         "ELSE 'index' END, c.relname, "
                                         "CASE c.relkind WHEN 'i' THEN pg_get_indexdef(c.oid) ELSE '' END "
                                         "FROM pg_class c WHERE c.relnamespace = current_schema()::regnamespace "
                                         "AND c.relkind IN ('r', 'v', 'i') AND c.relname <> ? ORDER BY c.oid"),
                          {TabelaDeControle});
    while (q.next())
        objetos.append({q.value(0).toString(), q.value(1).toString(), q.value(2).toString()});
    return objetos;
}

QString DriverPostgres::ordemDeTexto(const QString& coluna) const
{
    return coluna + QStringLiteral(" COLLATE ") + QLatin1String(NomeDaColacao);
}

QString DriverPostgres::dobraDeNome(const QString& coluna) const
{
    return QStringLiteral("lower(btrim(%1, E' \\t\\n\\r\\f\\v') COLLATE %2)").arg(coluna, QLatin1String(NomeDaColacao));
}

int DriverPostgres::versaoDoEsquema(const QSqlDatabase& db) const
{
    if (!temControle(db))
        return 0;
    return primeiroValor(db, QStringLiteral("SELECT versao FROM %1").arg(TabelaDeControle)).toInt();
}

void DriverPostgres::gravaVersaoDoEsquema(const QSqlDatabase& db, int versao) const
{
    executa(db, QStringLiteral("UPDATE %1 SET versao = ?").arg(TabelaDeControle), {versao});
}

std::optional<MarcaDeEscritas> DriverPostgres::marcaDeEscritas(const QSqlDatabase& db) const
{
    // The count is raised by every statement that writes to a table of the program, in the writer's transaction:
    // a count read is always the count of what the reader can see.
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT escritas FROM %1").arg(TabelaDeControle)) || !q.next())
        return std::nullopt;
    return MarcaDeEscritas{q.value(0).toLongLong(), 0};
}

QStringList DriverPostgres::inicioDeTransacao() const
{
    return {QStringLiteral("BEGIN"), QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(VezDeGravar)};
}

QString DriverPostgres::tipoDaColuna(TipoDeColuna tipo, int tamanho) const
{
    switch (tipo) {
    case TipoDeColuna::Chave:
        return QStringLiteral("INTEGER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY");
    case TipoDeColuna::Inteiro:
        return QStringLiteral("INTEGER");
    case TipoDeColuna::Logico:
        return QStringLiteral("BOOLEAN NOT NULL DEFAULT FALSE");
    case TipoDeColuna::Real:
        return QStringLiteral("DOUBLE PRECISION");
    case TipoDeColuna::Texto:
        return tamanho > 0 ? QStringLiteral("VARCHAR(%1)").arg(tamanho) : QStringLiteral("TEXT");
    case TipoDeColuna::TextoSemCaixa:
        return QStringLiteral("VARCHAR(%1) COLLATE %2").arg(tamanho).arg(QLatin1String(NomeDaColacao));
    case TipoDeColuna::Contador:
        return QStringLiteral("INTEGER NOT NULL DEFAULT 0");
    }
    return {};
}

QString DriverPostgres::indiceSemCaixa(const QString& coluna) const
{
    // The server's collations compare every letter; the index folds the case itself, so "LAJE" and "Laje" are one
    // name to it, as they are to the catalogue.
    return QStringLiteral("lower(%1)").arg(coluna);
}

QStringList DriverPostgres::depoisDeCriarTabela(const QString& tabela) const
{
    return {QStringLiteral("CREATE TRIGGER %1 AFTER INSERT OR UPDATE OR DELETE OR TRUNCATE ON %2 "
                           "FOR EACH STATEMENT EXECUTE FUNCTION quenvar_conta_escrita()")
                .arg(Database::citado(tabela + QStringLiteral("Escritas")), Database::citado(tabela))};
}

QStringList DriverPostgres::contaAlteracoes(const QString& tabela, const QString& contador, const QString& chave) const
{
    Q_UNUSED(chave) // the row being written is the one counted
    const QString funcao = Database::citado(tabela + QStringLiteral("Versao"));
    const QString campo = Database::citado(contador);
    return {
        QStringLiteral("CREATE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                       "IF NEW.%2 = OLD.%2 THEN NEW.%2 := OLD.%2 + 1; END IF; RETURN NEW; END $$")
            .arg(funcao, campo),
        QStringLiteral("CREATE TRIGGER %1 BEFORE UPDATE ON %2 FOR EACH ROW EXECUTE FUNCTION %1()")
            .arg(funcao, Database::citado(tabela)),
    };
}

void DriverPostgres::acertaNumeracao(const QSqlDatabase& db, const QString& tabela, qint64 ultima) const
{
    const QString coluna = chave(db, tabela);
    if (coluna.isEmpty())
        return;
    executa(db,
            QStringLiteral("SELECT setval(pg_get_serial_sequence(?, ?), "
                           "GREATEST(COALESCE((SELECT max(%1) FROM %2), 0), ?) + 1, false)")
                .arg(coluna, Database::citado(tabela)),
            {Database::citado(tabela), coluna.mid(1, coluna.size() - 2), ultima});
}

int DriverPostgres::verifica(const QString& local) const
{
    try {
        ConexaoAvulsa conexao(NomeDoDriver);
        QSqlDatabase db = conexao.db();
        DriverPostgres().abre(db, local, Abertura::Existente);
        return 0;
    } catch (const DbError& erro) {
        return erro.numero();
    }
}

RelatorioDeReparo DriverPostgres::repara(const QString&) const
{
    // The server mends its own files; there is nothing for a workstation to copy.
    RelatorioDeReparo relatorio;
    relatorio.resultado = RelatorioDeReparo::Resultado::NaoReparado;
    return relatorio;
}

bool DriverPostgres::permiteGravar(const QString& local) const
{
    try {
        ConexaoAvulsa conexao(NomeDoDriver);
        QSqlDatabase db = conexao.db();
        DriverPostgres().abre(db, local, Abertura::Existente);
        // A standby server, a read-only session or a user without the right to change every table only reads.
        return primeiroValor(db, QStringLiteral("SELECT NOT pg_is_in_recovery() "
                                                "AND current_setting('transaction_read_only') = 'off' "
                                                "AND COALESCE(bool_and(has_table_privilege(c.oid, "
                                                "'INSERT, UPDATE, DELETE')), true) FROM pg_class c "
                                                "WHERE c.relnamespace = current_schema()::regnamespace "
                                                "AND c.relkind = 'r'"))
            .toBool();
    } catch (const DbError& erro) {
        return erro.numero() != SomenteLeitura;
    }
}

} // namespace platform
