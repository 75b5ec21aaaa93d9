#pragma once

#include "platform/dberror.h"
#include "platform/driver.h"
#include "platform/icone.h"
#include "platform/recordset.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <optional>

namespace platform {
class Database;
}

namespace catalogue {

// A message of the catalogue's rules for the user, shown once the write is over: the other workstations are not
// kept waiting on the database while the user reads it.
struct Aviso
{
    QString texto;
    QString titulo;
    platform::Icone icone;
};

// A mix to write: its name, whether it is to be the mix in use of its name, and its own fields (quantities,
// results, options, dates, product codes).
struct TracoAGravar
{
    QString nome;
    bool emUso = false;
    QVariantMap campos;
};

// The mix as it was read when the user began to edit or chose to delete it.
struct TracoLido
{
    qint64 codigo = 0;            // the row's key
    std::optional<qint64> versao; // none on a file that does not count its writes
    QString nome;
};

// A rename to a name another mix already has.
class NomeJaExiste : public platform::DbError
{
public:
    explicit NomeJaExiste(const QString& nome)
        : DbError(platform::ValorDuplicado, QStringLiteral("Já existe um traço com o nome %1").arg(nome))
    {
    }
};

// What a write did.
struct Gravacao
{
    qint64 codigo = 0;
    QString nome; // as the catalogue writes it
    int variante = 0;
    bool nomeNovo = false; // the first mix of its name
    QList<Aviso> avisos;
};

// The catalogue's rules of names, variants and the mix in use, applied to the database itself: every decision is
// taken from what is stored at the moment of the write, inside its transaction, so that workstations sharing the
// catalogue never overwrite each other. Each write either is done whole or throws DbError with nothing written:
//   3197 the mix was changed by another workstation since it was read;
//   3167 the mix was deleted by another workstation;
//   3022 a rename to a name another mix already has (NomeJaExiste), or a row the table's rules refuse;
//   3218 the database stayed locked by another workstation.
//
// It also holds the record of mixes a window walks through: the catalogue read in its order, the row shown and the
// position the status bar counts ("Registro 3/12").
class Catalogo
{
public:
    // Moves through the record: first, previous, previous name in use, next name in use, next, last.
    enum class Movimento { Primeiro, Anterior, AnteriorEmUso, ProximoEmUso, Proximo, Ultimo };

    explicit Catalogo(platform::Database& db);

    // Brings a file of an earlier version up to date when it can, then reads the catalogue's keys in its order and
    // counts them.
    void abre();
    void fecha();
    // Reads the catalogue again in its order (rows of other workstations included) and goes to the mix of key
    // `codigo`; without it (deleted here or elsewhere) to the same place in the catalogue. A mix this workstation
    // has just added, when no other has written since the catalogue was read, takes its place in the order without
    // the catalogue being read again.
    void ordena(std::optional<qint64> codigo);
    void move(Movimento movimento);
    // Follows the record set's moves, inserts and deletes in the count and the position (its record-move check).
    void acompanha(int acao, bool& salvar);

    platform::RecordSet& tracos() { return m_tracos; }
    const platform::RecordSet& tracos() const { return m_tracos; }
    int total() const { return m_total; }
    // The position counted from 1 (0 on an empty catalogue). A window that leaves the catalogue and comes back
    // puts back the position it left.
    int posicao() const { return m_posicao; }
    void definePosicao(int posicao) { m_posicao = posicao; }
    // Where the record stands, to come back to after another window or a cancelled edit; nothing for an empty
    // catalogue.
    QVariant marcador() const;
    // Back to `marcador`. When that mix was deleted at another workstation meanwhile, the record stays where it stands.
    void voltaAoMarcador(const QVariant& marcador);

    // The names of the catalogue, each once, in its order: read on opening and kept as this workstation's writes
    // change them. Another workstation's names come in when the catalogue is read again (leNomes).
    const QStringList& nomes() const { return m_nomes; }
    void leNomes();
    // The position in nomes() of the name written as `nome` is (compared without the blanks around it and without
    // regard to case); -1 when no name of the list is it.
    int posicaoDoNome(const QString& nome) const;
    // The position in nomes() of the name written exactly as `nome`; -1 when the list does not have it.
    int posicaoExata(const QString& nome) const;

    // The name as the catalogue writes it, when some mix has it (compared without the blanks around it and without
    // regard to case).
    std::optional<QString> nomeGravado(const QString& nome);
    // The lowest variant number the name does not use yet.
    int NumeroVariante(const QString& nome);
    void LimpandoPlantoes(const QString& nome);
    // Hands the in-use mark of `nome` from `variante` to its lowest other variant; when there is none the mark
    // stays and the answer is false. The user is told either way.
    bool TrocandoPlantao(const QString& nome, int variante, const QString& operacao, QList<Aviso>& avisos);
    void RenomeandoNomes(const QString& novo, const QString& antigo);
    // Products (ready-mixed concretes sold) made from the mix of code `codigo`.
    int TracoUsando(qint64 codigo);
    std::optional<qint64> CodigoDoNome(const QString& nome);

    // A new mix: a new name, or a new variant of a name the catalogue has.
    Gravacao insere(const TracoAGravar& traco);
    // The mix `lido`, as the user edited it.
    Gravacao altera(const TracoLido& lido, const TracoAGravar& traco);
    // The count of writes of the mix with the key as stored now; none when the row is gone or the file does not count
    // them. A user who chose to write over another workstation's change takes it as the version read.
    std::optional<qint64> versao(qint64 codigo);
    // Deletes the mix `lido`; false when the rules keep it (the only mix in use of a name that products are made
    // of), with the reason in `avisos`.
    bool exclui(const TracoLido& lido, QList<Aviso>& avisos);

private:
    // The checks and rules of a delete, inside the caller's transaction; the caller deletes the row when true.
    bool preparaExclusao(const TracoLido& lido, QList<Aviso>& avisos);

    struct Estado
    {
        QString nome;
        int variante = 0;
        bool emUso = false;
        qint64 codigoTraco = 0;
    };
    // The row of `lido` as stored now; throws 3167 when it is gone and 3197 when it changed since it was read.
    Estado confere(const TracoLido& lido);
    void atualizaLinha(qint64 codigo, const QVariantMap& campos);
    // Reads the catalogue's keys in its order, noting which writes of other workstations it has seen.
    void leOrdem();
    // The position of the first mix in use of a name other than `nome`, from `inicio` on in steps of `passo` (1
    // or -1); -1 when there is none.
    int procuraEmUso(int inicio, int passo, const QString& nome);
    // Where `nome` is, or would go, in nomes().
    int lugarDoNome(const QString& nome) const;
    // Whether the list of names is what is stored: read since the last write of another workstation.
    bool nomesEmDia();
    // The list of names after this workstation wrote `novo` where `antigo` was (either may be empty).
    void trocaNome(const QString& antigo, const QString& novo);
    void anotaDobra(const QString& nome);
    // What a write of this workstation did to the record read.
    enum class Efeito {
        OrdemMantida, // rows changed in place (an edit without a rename, the in-use mark moved)
        Incluido,     // the new mix `codigo`, not in the record yet
        Retirado,     // the mix `codigo` deleted
        OrdemMudada,  // a rename: every variant of the name may have moved
    };
    // After a write of this workstation that began with the database's writes at `antes`: keeps what was read in
    // step when nothing else had been written, or marks it to be read again.
    // `agora` is read inside the write's transaction, before its commit: once the writers' turn is given up, another
    // workstation may write first, and its write must not pass for this one's.
    void acompanhaGravacao(const std::optional<platform::MarcaDeEscritas>& antes,
                           const std::optional<platform::MarcaDeEscritas>& agora, Efeito efeito, qint64 codigo);
    // Whether the record read is what is stored: nothing written since but what it followed.
    bool emPasso();
    // Puts the new mix `codigo` in its place in the record read, when nothing else changed since; false otherwise.
    bool incluiEmOrdem(qint64 codigo);

    platform::Database& m_db;
    platform::RecordSet m_tracos;
    int m_total = 0;
    int m_posicao = 0;
    // Where the database's writes stood when the record was read, moved on by this workstation's writes the record
    // follows (an edit that leaves the order as it was, a delete, one new mix not yet in the record); none when
    // the record must be read again.
    std::optional<platform::MarcaDeEscritas> m_escritasVistas;
    std::optional<qint64> m_incluido; // the new mix not yet in the record

    QStringList m_nomes;
    // Each name folded (nomeDobrado) to the one name of the list that has it; a fold two names of the list share
    // holds an empty text, and those names are looked up in the database itself.
    QHash<QString, QString> m_porDobra;
    std::optional<platform::MarcaDeEscritas> m_escritasDosNomes;
};

} // namespace catalogue
