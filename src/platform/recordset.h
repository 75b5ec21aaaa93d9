#pragma once

#include "dberror.h"

#include <QSet>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVector>

#include <functional>
#include <memory>

namespace platform {

class Database;

// A record set as the forms use it: an ordered set of rows over a table or a query, one current row, and the
// operations to move, find, read, add, edit and delete rows.
//
// Only the keys of the rows (the integer key their table declares, in the query's order) are read when the set is
// opened or refreshed; each row is read when it is needed, so a catalogue of a hundred thousand mixes opens at once. A
// table, or a query over a single table ("SELECT … FROM Tracos [WHERE …] [ORDER BY …]"), can be changed through the
// set. Any other query (aggregates, joins, DISTINCT, views) is read whole, once, and is read-only.
//
// As with classic data-bound record sets: a row added stays where it was appended (at the end) until the next
// refresh, and the current row does not change on adding; after a delete there is no current row until the next
// move, and moveNext goes to the row that took the deleted one's place; moving past the last row leaves the set at
// its end (eof()), before the first at its beginning (bof()); an empty set is at both.
class RecordSet
{
public:
    // The action codes handed to the validation callback.
    enum Acao {
        MoverPrimeiro = 1,
        MoverAnterior = 2,
        MoverProximo = 3,
        MoverUltimo = 4,
        AdicionarNovo = 5,
        Atualizar = 6,
        Excluir = 7,
        Localizar = 8,
        Marcador = 9,
        Fechar = 10,
    };
    enum class EditMode { Nenhum, Editando, Adicionando };

    // Called before every move, add, update, delete, find, bookmark jump and close, with `salvar` set when a row is
    // being added or edited. Leaving it set writes the pending changes before the action; clearing it discards them.
    using Validacao = std::function<void(int acao, bool& salvar)>;
    using Predicado = std::function<bool(const QSqlRecord&)>;

    explicit RecordSet(Database& db);
    ~RecordSet();
    RecordSet(const RecordSet&) = delete;
    RecordSet& operator=(const RecordSet&) = delete;

    // Opens the set on every row of a table, in the table's own order.
    void setTable(const QString& tabela);
    // Opens the set on a query; its '?' placeholders take `valores` in order.
    void setQuery(const QString& sql, const QVariantList& valores = {});
    // Reads the query's keys again (new order, rows added or removed by others) and goes to the first row.
    // Pending changes are discarded.
    void refresh();
    void close();
    bool isOpen() const { return m_aberto; }
    bool isUpdatable() const { return m_atualizavel; }
    QString sql() const { return m_sql; }

    bool bof() const;
    bool eof() const;
    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();

    int recordCount() const;
    // Position of the current row counted from 0, or -1 when there is none.
    int absolutePosition() const;
    void setAbsolutePosition(int posicao);

    // The current row's key; going back to it works after a refresh or a new order, as long as the row is still
    // in the set (DbError 3159 otherwise).
    QVariant bookmark() const;
    void setBookmark(const QVariant& marcador);

    // Puts the row of key `chave`, written elsewhere than through this set, at position `posicao` of the set's
    // order and goes to it: for a caller that knows where the order has the row, so that the keys need not be read
    // again. A row already in the set, or a position outside it, is DbError 3001 (invalid argument).
    void incluiChave(int posicao, qint64 chave);
    // Takes the row of key `chave`, deleted elsewhere than through this set, out of it, as deleteCurrent() does for
    // the current row; false when the set does not hold it.
    bool retiraChave(qint64 chave);
    // The key at position `posicao` of the set's order (DbError 3001 outside it).
    qint64 chaveEm(int posicao) const;

    // findFirst and findLast search the whole set; findNext and findPrevious go on from the current row. When no
    // row matches, noMatch() is true and the current row stays where it was.
    void findFirst(const Predicado& predicado);
    void findLast(const Predicado& predicado);
    void findNext(const Predicado& predicado);
    void findPrevious(const Predicado& predicado);
    bool noMatch() const { return m_semCorrespondencia; }

    // The current row, or the row being added or edited. DbError 3021 when there is no current row; 3265 for a
    // field the set does not have. A NULL field reads as a null QVariant.
    QVariant field(const QString& nome) const;
    QSqlRecord record() const;
    // Only while adding or editing (DbError 3020 otherwise).
    void setField(const QString& nome, const QVariant& valor);

    void addNew();
    void edit();
    // Writes the row being added or edited. A write the database refuses throws DbError and leaves the set in its
    // editing state, with nothing written.
    void update();
    void cancelUpdate();
    void deleteCurrent();
    EditMode editMode() const { return m_modo; }
    // Key of the row last added or updated through this set (to read the number the database gave a new row).
    QVariant lastModified() const { return m_ultimoModificado; }

    // The rows at positions [inicio, fim) in the set's order, read in one short statement, without moving the
    // current row: a long reader (a report) goes through the set a batch at a time and never keeps other
    // workstations' writes waiting for more than a batch. A row deleted by someone else since the keys were read
    // comes back empty.
    QVector<QSqlRecord> linhas(int inicio, int fim) const;

    // An independent cursor over the same rows, with no current row until it is moved.
    std::unique_ptr<RecordSet> clone() const;

    void setValidacao(Validacao validacao) { m_validacao = std::move(validacao); }

private:
    enum class Sentido { Adiante, Atras };

    void abre(const QString& sql, const QVariantList& valores);
    void exigeAberto() const;
    void exigeAtualizavel() const;
    bool temCorrente() const;
    const QSqlRecord& linhaCorrente() const;
    QSqlRecord leLinha(qint64 chave) const;
    QVector<QSqlRecord> leLinhas(int inicio, int fim) const;
    void vaiPara(int posicao);
    void antesDe(Acao acao);
    void chamaValidacao(Acao acao, bool& salvar);
    void gravaPendentes();
    void descartaPendentes();
    void procura(const Predicado& predicado, int inicio, Sentido sentido);

    Database* m_db;
    bool m_aberto = false;
    QString m_sql;
    QVariantList m_valores;

    // How the rows are reached: by key from the base table, or kept whole for a read-only query.
    bool m_atualizavel = false;
    QString m_tabela;
    QString m_chave; // the key column, as written in a statement
    QString m_origem;
    QString m_campos;
    QString m_consultaChaves;
    QSqlRecord m_modelo;
    QVector<qint64> m_chaves;
    QVector<QSqlRecord> m_linhas;

    int m_posicao = -1;
    bool m_excluido = false;
    mutable QSqlRecord m_corrente;
    mutable bool m_correnteLida = false;

    EditMode m_modo = EditMode::Nenhum;
    QSqlRecord m_buffer;
    QSet<int> m_alterados;
    QVariant m_ultimoModificado;
    bool m_semCorrespondencia = false;

    Validacao m_validacao;
    bool m_validando = false;
};

} // namespace platform
