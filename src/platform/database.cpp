#include "database.h"

#include "driversqlite.h"

#include <QSqlError>
#include <QStringList>

namespace platform {

namespace {

// The checks and repairs made before a connection is opened go to the SQLite file's driver.
const Driver& driverDoArquivo()
{
    static const DriverSqlite driver;
    return driver;
}

} // namespace

int Database::AbrindoBanco(const QString& caminho, RelatorioDeReparo& relatorio)
{
    relatorio = {};
    const int numero = driverDoArquivo().verifica(caminho);
    if (numero != BancoDanificado)
        return numero;
    relatorio = repara(caminho);
    return driverDoArquivo().verifica(caminho);
}

int Database::AbrindoBanco(const QString& caminho)
{
    RelatorioDeReparo relatorio;
    return AbrindoBanco(caminho, relatorio);
}

int Database::AbrindoBanco(const LocalDoBanco& local, RelatorioDeReparo& relatorio)
{
    if (!local.ehServidor())
        return AbrindoBanco(local.local, relatorio);
    relatorio = {};
    return local.driver()->verifica(local.local);
}

bool Database::permiteGravar(const LocalDoBanco& local)
{
    return local.ehServidor() ? local.driver()->permiteGravar(local.local) : permiteGravar(local.local);
}

RelatorioDeReparo Database::repara(const QString& caminho)
{
    return driverDoArquivo().repara(caminho);
}

bool Database::permiteGravar(const QString& caminho)
{
    return driverDoArquivo().permiteGravar(caminho);
}

QString Database::citado(const QString& nome)
{
    QString texto = nome;
    texto.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + texto + QLatin1Char('"');
}

QString Database::ordemDeTexto(const QString& coluna) const
{
    return m_driver->ordemDeTexto(coluna);
}

QString Database::dobraDeNome(const QString& coluna) const
{
    return m_driver->dobraDeNome(coluna);
}

QString Database::chave(const QString& tabela) const
{
    // Asked before every statement that reads a first row: kept once found. A table's key changes only with the
    // schema's upgrade, which ends by writing the schema's version.
    if (const auto it = m_chaves.constFind(tabela); it != m_chaves.cend())
        return *it;
    const QString chave = m_driver->chave(conexao(), tabela);
    if (!chave.isEmpty())
        m_chaves.insert(tabela, chave);
    return chave;
}

bool Database::ehTabela(const QString& tabela) const
{
    return m_driver->ehTabela(conexao(), tabela);
}

QList<Driver::ObjetoDoEsquema> Database::esquema() const
{
    return m_driver->esquema(conexao());
}

QString Database::primeiraLinha(const QString& tabela, const QString& campos, const QString& condicao) const
{
    const QString chaveDaTabela = chave(tabela);
    return QStringLiteral("SELECT %1 FROM %2").arg(campos, citado(tabela)) +
           (condicao.isEmpty() ? QString() : QStringLiteral(" WHERE ") + condicao) +
           (chaveDaTabela.isEmpty() ? QString() : QStringLiteral(" ORDER BY ") + chaveDaTabela) +
           QStringLiteral(" LIMIT 1");
}

int Database::versaoDoEsquema()
{
    try {
        return m_driver->versaoDoEsquema(conexao());
    } catch (const DbError& erro) {
        throw erroDoArquivo(erro);
    }
}

std::optional<MarcaDeEscritas> Database::marcaDeEscritas()
{
    try {
        return m_driver->marcaDeEscritas(conexao());
    } catch (const DbError& erro) {
        throw erroDoArquivo(erro);
    }
}

void Database::gravaVersaoDoEsquema(int versao)
{
    m_chaves.clear();
    try {
        m_driver->gravaVersaoDoEsquema(conexao(), versao);
    } catch (const DbError& erro) {
        throw erroDoArquivo(erro);
    }
}

Database& Database::shared()
{
    // Never destroyed: the main window closes it, and the connection must not outlive Qt's own registry of
    // connections at exit.
    static Database* const compartilhado = new Database();
    return *compartilhado;
}

Database::Database(QString nomeConexao, std::unique_ptr<Driver> driver)
    : m_nomeConexao(std::move(nomeConexao)), m_driver(driver ? std::move(driver) : std::make_unique<DriverSqlite>())
{
}

Database::~Database()
{
    close();
    if (QSqlDatabase::contains(m_nomeConexao))
        QSqlDatabase::removeDatabase(m_nomeConexao);
}

void Database::open(const QString& caminho, Acesso acesso)
{
    abre(caminho, acesso == Acesso::SomenteLeitura ? Driver::Abertura::SomenteLeitura : Driver::Abertura::Existente);
}

void Database::create(const QString& caminho)
{
    abre(caminho, Driver::Abertura::Nova);
}

void Database::open(const LocalDoBanco& local, Acesso acesso)
{
    usaMotor(local);
    open(local.local, acesso);
}

void Database::create(const LocalDoBanco& local)
{
    usaMotor(local);
    create(local.local);
}

void Database::usaMotor(const LocalDoBanco& local)
{
    std::unique_ptr<Driver> driver = local.driver();
    if (driver->nomeNoQt() == m_driver->nomeNoQt())
        return;
    close();
    if (QSqlDatabase::contains(m_nomeConexao))
        QSqlDatabase::removeDatabase(m_nomeConexao);
    m_driver = std::move(driver);
}

void Database::abre(const QString& caminho, Driver::Abertura abertura)
{
    close();
    QSqlDatabase db = QSqlDatabase::contains(m_nomeConexao)
                          ? QSqlDatabase::database(m_nomeConexao, false)
                          : QSqlDatabase::addDatabase(m_driver->nomeNoQt(), m_nomeConexao);
    m_chaves.clear();
    m_driver->abre(db, caminho, abertura);
    m_caminho = caminho;
    m_identidade = m_driver->identidade(caminho);
    m_somenteLeitura = abertura == Driver::Abertura::SomenteLeitura;
}

void Database::close()
{
    m_conexaoPerdida = false;
    m_chaves.clear();
    m_profundidade = 0;
    m_caminho.clear();
    m_identidade.clear();
    m_somenteLeitura = false;
    if (QSqlDatabase::contains(m_nomeConexao)) {
        QSqlDatabase db = QSqlDatabase::database(m_nomeConexao, false);
        db.close();
    }
}

bool Database::isOpen() const
{
    return QSqlDatabase::contains(m_nomeConexao) && QSqlDatabase::database(m_nomeConexao, false).isOpen();
}

bool Database::arquivoSubstituido() const
{
    return isOpen() && !m_identidade.isEmpty() && m_driver->identidade(m_caminho) != m_identidade;
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

DbError Database::erroDoArquivo(const DbError& erro) const
{
    if (erro.numero() == ErroDiscoOuRede && m_driver->conexaoDeRede())
        m_conexaoPerdida = true;
    // Whatever the engine made of the old file (a damaged page, a write refused), the user's remedy is the same:
    // open the program again on the file now in its place.
    if (erro.numero() != BancoSubstituido && arquivoSubstituido())
        return DbError(BancoSubstituido, descricaoErro(BancoSubstituido), erro.detalhe());
    return erro;
}

QString Database::traduz(const QString& sql) const
{
    return m_driver->traduz(conexao(), sql);
}

QSqlQuery Database::executaNaConexao(const QString& sql, const QVariantList& valores)
{
    const bool fechadaPeloServidor = m_driver->conexaoDeRede() && !m_caminho.isEmpty() && !handle().isOpen();
    if ((m_conexaoPerdida || fechadaPeloServidor) && m_profundidade == 0) {
        // The server is tried again: once it answers, work goes on without the program being opened again.
        QSqlDatabase db = handle();
        db.close();
        m_driver->abre(db, m_caminho,
                       m_somenteLeitura ? Driver::Abertura::SomenteLeitura : Driver::Abertura::Existente);
        m_conexaoPerdida = false;
    }
    const QSqlDatabase db = conexao();
    try {
        return Driver::executa(db, m_driver->traduz(db, sql), valores);
    } catch (const DbError& erro) {
        throw erroDoArquivo(erro);
    }
}

QSqlQuery Database::exec(const QString& sql, const QVariantList& valores)
{
    return executaNaConexao(sql, valores);
}

QVariant Database::scalar(const QString& sql, const QVariantList& valores)
{
    QSqlQuery query = executaNaConexao(sql, valores);
    if (query.next())
        return query.value(0);
    if (query.lastError().isValid())
        throw erroDoArquivo(DbError::doMecanismo(query.lastError()));
    return {};
}

int Database::execCount(const QString& sql, const QVariantList& valores)
{
    return executaNaConexao(sql, valores).numRowsAffected();
}

qint64 Database::insere(const QString& tabela, const QVariantMap& valores)
{
    QStringList campos;
    QStringList marcas;
    QVariantList lista;
    for (auto it = valores.cbegin(); it != valores.cend(); ++it) {
        campos.append(citado(it.key()));
        marcas.append(QStringLiteral("?"));
        lista.append(it.value());
    }
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(citado(tabela), campos.join(QStringLiteral(", ")), marcas.join(QStringLiteral(", ")));
    const QString chaveDaTabela = chave(tabela);
    if (chaveDaTabela.isEmpty())
        return exec(sql, lista).lastInsertId().toLongLong();
    // The key comes back from the insert itself, the same on every engine.
    QSqlQuery q = exec(sql + QStringLiteral(" RETURNING ") + chaveDaTabela, lista);
    const qint64 numero = q.next() ? q.value(0).toLongLong() : q.lastInsertId().toLongLong();
    q.finish();
    return numero;
}

void Database::beginTransaction()
{
    if (m_profundidade > 0) {
        executaNaConexao(QStringLiteral("SAVEPOINT quenvar_%1").arg(m_profundidade));
    } else {
        const QStringList inicio = m_driver->inicioDeTransacao();
        for (qsizetype i = 0; i < inicio.size(); ++i) {
            try {
                executaNaConexao(inicio.at(i));
            } catch (const DbError&) {
                // Waiting for the writers' turn failed after the transaction began: it ends here, unused.
                if (i > 0)
                    QSqlQuery(handle()).exec(QStringLiteral("ROLLBACK"));
                throw;
            }
        }
    }
    ++m_profundidade;
}

void Database::commitTransaction()
{
    if (m_profundidade == 0)
        throw DbError(ArgumentoInvalido, QStringLiteral("Nenhuma transação aberta"));
    executaNaConexao(m_profundidade == 1 ? QStringLiteral("COMMIT")
                                         : QStringLiteral("RELEASE quenvar_%1").arg(m_profundidade - 1));
    --m_profundidade;
}

void Database::rollbackTransaction()
{
    if (m_profundidade == 0)
        throw DbError(ArgumentoInvalido, QStringLiteral("Nenhuma transação aberta"));
    --m_profundidade;
    if (m_profundidade == 0) {
        executaNaConexao(QStringLiteral("ROLLBACK"));
    } else {
        const QString ponto = QStringLiteral("quenvar_%1").arg(m_profundidade);
        executaNaConexao(QStringLiteral("ROLLBACK TO ") + ponto);
        executaNaConexao(QStringLiteral("RELEASE ") + ponto);
    }
}

} // namespace platform
