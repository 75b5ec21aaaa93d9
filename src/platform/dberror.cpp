#include "dberror.h"

namespace platform {

namespace {

// SQLite primary result codes (the low byte of an extended code).
enum CodigoSqlite : int {
    SqliteError = 1,
    SqlitePerm = 3,
    SqliteBusy = 5,
    SqliteLocked = 6,
    SqliteReadOnly = 8,
    SqliteIoErr = 10,
    SqliteCorrupt = 11,
    SqliteFull = 13,
    SqliteCantOpen = 14,
    SqliteProtocol = 15,
    SqliteConstraint = 19,
    SqliteAuth = 23,
    SqliteNotADb = 26,
};

constexpr int SqliteConstraintNotNull = 1299;
// A write refused because the file was renamed or replaced since it was opened.
constexpr int SqliteReadOnlyDbMoved = 1032;

std::string textoDoErro(int numero, const QString& descricao, const QString& detalhe)
{
    QString texto = QString::number(numero) + QStringLiteral(": ") + descricao;
    if (!detalhe.isEmpty())
        texto += QStringLiteral(" (") + detalhe + QLatin1Char(')');
    return texto.toStdString();
}

// A PostgreSQL server's error, by its SQLSTATE (always five characters, unlike SQLite's result codes).
int numeroDoServidor(const QString& estado, const QString& texto)
{
    if (estado == QLatin1String("23502"))
        return CampoNaoPodeSerNulo;
    if (estado.startsWith(QLatin1String("23")))
        return ValorDuplicado;
    if (estado == QLatin1String("25006") || estado == QLatin1String("42501"))
        return SomenteLeitura;
    if (estado == QLatin1String("40001") || estado == QLatin1String("40P01") || estado == QLatin1String("55P03"))
        return RegistroBloqueado;
    if (estado == QLatin1String("42P01"))
        return TabelaNaoEncontrada;
    if (estado == QLatin1String("42703"))
        return ItemNaoEncontrado;
    if (estado.startsWith(QLatin1String("42")) || estado.startsWith(QLatin1String("22")))
        return ErroNaInstrucao;
    if (estado.startsWith(QLatin1String("08")) || estado.startsWith(QLatin1String("57P")) ||
        estado.startsWith(QLatin1String("53300")))
        return ErroDiscoOuRede;
    if (estado == QLatin1String("53100"))
        return DiscoCheio;
    if (estado.startsWith(QLatin1String("XX")))
        return texto.contains(QLatin1String("corrupt")) ? BancoDanificado : ErroDoMecanismo;
    return ErroDoMecanismo;
}

// libpq's words for a connection that was lost, which come without an SQLSTATE.
bool conexaoPerdida(const QString& texto)
{
    for (const char* sinal : {"server closed the connection", "no connection to the server", "connection to server",
                              "terminating connection", "could not send data", "could not receive data"})
        if (texto.contains(QLatin1String(sinal)))
            return true;
    return false;
}

} // namespace

QString descricaoErro(int numero)
{
    switch (numero) {
    case UsoInvalidoDeNulo:
        return QStringLiteral("Uso inválido de Nulo");
    case ErroDoMecanismo:
        return QStringLiteral("Erro no mecanismo de banco de dados");
    case ArgumentoInvalido:
        return QStringLiteral("Argumento inválido");
    case AtualizarSemEditar:
        return QStringLiteral("Atualizar ou CancelarAtualização sem AdicionarNovo ou Editar");
    case SemRegistroCorrente:
        return QStringLiteral("Nenhum registro corrente");
    case ValorDuplicado:
        return QStringLiteral("As alterações não foram feitas porque criariam valores duplicados no índice ou na "
                              "chave primária");
    case ArquivoNaoEncontrado:
        return QStringLiteral("Arquivo não encontrado");
    case DiscoCheio:
        return QStringLiteral("Espaço em disco insuficiente");
    case SomenteLeitura:
        return QStringLiteral("Não é possível atualizar: o banco de dados ou o objeto é somente leitura");
    case ErroDiscoOuRede:
        return QStringLiteral("Erro de disco ou de rede");
    case CaminhoInvalido:
        return QStringLiteral("Caminho inválido");
    case BancoDanificado:
        return QStringLiteral("O banco de dados está danificado ou não é um banco de dados reconhecido");
    case ErroNaInstrucao:
        return QStringLiteral("Erro na instrução SQL");
    case TabelaNaoEncontrada:
        return QStringLiteral("Tabela ou consulta não encontrada");
    case MarcadorInvalido:
        return QStringLiteral("Indicador inválido");
    case RegistroExcluido:
        return QStringLiteral("Registro excluído");
    case RegistroAlteradoPorOutro:
        return QStringLiteral("O registro foi alterado por outro usuário depois de lido");
    case BancoJaExiste:
        return QStringLiteral("O banco de dados já existe");
    case RegistroBloqueado:
        return QStringLiteral("Não foi possível atualizar: o banco de dados está bloqueado por outro usuário");
    case ItemNaoEncontrado:
        return QStringLiteral("Item não encontrado nesta coleção");
    case CampoNaoPodeSerNulo:
        return QStringLiteral("O campo não pode conter um valor Nulo");
    case FormatoNaoReconhecido:
        return QStringLiteral("Formato de banco de dados não reconhecido");
    case ObjetoInvalido:
        return QStringLiteral("Objeto inválido ou não mais definido");
    case BancoSubstituido:
        return QStringLiteral("O banco de dados foi reparado ou substituído em outra estação");
    default:
        return QStringLiteral("Erro de banco de dados número %1").arg(numero);
    }
}

int numeroDoErro(const QSqlError& erro)
{
    const QString nativo = erro.nativeErrorCode();
    if (nativo.size() == 5)
        return numeroDoServidor(nativo, erro.databaseText());
    bool ok = false;
    const int codigo = nativo.toInt(&ok);
    if (!ok)
        return erro.type() == QSqlError::ConnectionError || conexaoPerdida(erro.text()) ? ErroDiscoOuRede
                                                                                        : ErroDoMecanismo;
    if (codigo == SqliteReadOnlyDbMoved)
        return BancoSubstituido;

    switch (codigo & 0xff) {
    case SqliteNotADb:
    case SqliteCorrupt:
        return BancoDanificado;
    case SqliteIoErr:
    case SqliteCantOpen:
    case SqliteProtocol:
        return ErroDiscoOuRede;
    case SqliteFull:
        return DiscoCheio;
    case SqliteBusy:
    case SqliteLocked:
        return RegistroBloqueado;
    case SqliteReadOnly:
    case SqlitePerm:
    case SqliteAuth:
        return SomenteLeitura;
    case SqliteConstraint:
        return codigo == SqliteConstraintNotNull ? CampoNaoPodeSerNulo : ValorDuplicado;
    case SqliteError: {
        const QString texto = erro.databaseText();
        if (texto.startsWith(QLatin1String("no such table")))
            return TabelaNaoEncontrada;
        if (texto.startsWith(QLatin1String("no such column")))
            return ItemNaoEncontrado;
        return ErroNaInstrucao;
    }
    default:
        return ErroDoMecanismo;
    }
}

DbError::DbError(int numero, QString descricao, QString detalhe)
    : std::runtime_error(textoDoErro(numero, descricao, detalhe)), m_numero(numero), m_descricao(std::move(descricao)),
      m_detalhe(std::move(detalhe))
{
}

DbError::DbError(int numero) : DbError(numero, descricaoErro(numero)) {}

DbError DbError::doMecanismo(const QSqlError& erro)
{
    const int numero = numeroDoErro(erro);
    QString detalhe = erro.databaseText();
    if (detalhe.isEmpty())
        detalhe = erro.driverText();
    return DbError(numero, descricaoErro(numero), detalhe);
}

} // namespace platform
