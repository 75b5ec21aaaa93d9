#pragma once

#include <QSqlError>
#include <QString>

#include <stdexcept>

namespace platform {

// The error numbers the program branches on, and the others the database layer reports.
enum ErroBanco : int {
    UsoInvalidoDeNulo = 94,
    ErroDoMecanismo = 3000,
    ArgumentoInvalido = 3001,
    AtualizarSemEditar = 3020,
    SemRegistroCorrente = 3021,
    ValorDuplicado = 3022,
    ArquivoNaoEncontrado = 3024,
    DiscoCheio = 3026,
    SomenteLeitura = 3027,
    ErroDiscoOuRede = 3043,
    CaminhoInvalido = 3044,
    BancoDanificado = 3049,
    ErroNaInstrucao = 3075,
    TabelaNaoEncontrada = 3078,
    MarcadorInvalido = 3159,
    RegistroExcluido = 3167,
    RegistroAlteradoPorOutro = 3197,
    BancoJaExiste = 3204,
    RegistroBloqueado = 3218,
    ItemNaoEncontrado = 3265,
    CampoNaoPodeSerNulo = 3314,
    FormatoNaoReconhecido = 3343,
    ObjetoInvalido = 3420,
    // The file at the database's path is no longer the one this workstation opened: a repair on another workstation
    // (or a restored copy) took its place.
    BancoSubstituido = 3734,
};

// Portuguese description of an error number; numbers without one of their own get a generic text.
QString descricaoErro(int numero);

// The error number of a failure reported by the SQLite engine (its result code travels in nativeErrorCode()).
int numeroDoErro(const QSqlError& erro);

// A database failure: the error number, its Portuguese description and, for failures reported by the engine,
// the engine's own text (for the error log).
class DbError : public std::runtime_error
{
public:
    DbError(int numero, QString descricao, QString detalhe = {});
    explicit DbError(int numero);

    // The error of a failed engine call.
    static DbError doMecanismo(const QSqlError& erro);

    int numero() const { return m_numero; }
    QString descricao() const { return m_descricao; }
    QString detalhe() const { return m_detalhe; }

private:
    int m_numero;
    QString m_descricao;
    QString m_detalhe;
};

} // namespace platform
