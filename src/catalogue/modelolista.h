#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QSqlRecord>
#include <QString>
#include <QVector>

#include <memory>

namespace platform {
class Database;
}

namespace catalogue {

class ProdutosLembrados;
class TabelaProdutos;

// The whole catalogue as a table of mixes, one line per mix, for a list beside the mix form. Only what the list
// needs to keep its order is read for every mix (the key), and what its filter needs (the name and the in-use mark)
// once a filter is set; the columns
// of the lines on screen are read a block at a time and kept in a small cache, so that a catalogue of a hundred
// thousand mixes opens at once and scrolling reads only what comes into view.
//
// The order is the database's: names as a Brazilian reader sorts them, the variants of a name by number; sorted by
// another column, mixes with the same value keep that order and mixes without a value go last either way; the CO2
// column, computed for the lines read, does not sort (the catalogue's order stays). The
// filter keeps the mixes whose name holds the text typed, without regard to accents or case ("acai" finds "Açaí").
class ModeloLista : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Coluna { Traco, Variante, EmUso, Fck, Abatimento, Cimento, Custo, Cadastro, Cotacao, CO2, NumeroDeColunas };
    // Lines read in one statement.
    static constexpr int LinhasPorBloco = 64;
    // Blocks kept at once; scrolling past them forgets the oldest.
    static constexpr int BlocosGuardados = 16;

    explicit ModeloLista(platform::Database& db, QObject* parent = nullptr);
    ~ModeloLista() override;

    // Reads the catalogue's keys in the current order. Throws DbError.
    void abre();
    // Reads them again after a write (this workstation's or another's), keeping order and filter. Throws DbError.
    void recarrega();

    // The filter and the switch read the names of the catalogue the first time they are used. Throw DbError.
    void defineFiltro(const QString& texto);
    QString filtro() const { return m_filtro; }
    void defineSoEmUso(bool soEmUso);
    bool soEmUso() const { return m_soEmUso; }
    int colunaDeOrdem() const { return m_coluna; }
    Qt::SortOrder sentido() const { return m_sentido; }

    // The key (Tracos.Codigo) of a line, and the line of a key (-1 when the filter hides it or it is gone).
    qint64 codigoEm(int linha) const;
    int linhaDoCodigo(qint64 codigo) const;
    // Every mix the catalogue holds, before the filter.
    int totalDoCatalogo() const { return int(m_ordem.size()); }

    // Blocks read from the database since the list was made: what scrolling costs.
    int blocosLidos() const { return m_blocosLidos; }

    // A name as the filter compares it: without accents, cedillas and case.
    static QString semAcentos(const QString& texto);

    int rowCount(const QModelIndex& pai = {}) const override;
    int columnCount(const QModelIndex& pai = {}) const override;
    QVariant data(const QModelIndex& indice, int papel = Qt::DisplayRole) const override;
    QVariant headerData(int secao, Qt::Orientation orientacao, int papel = Qt::DisplayRole) const override;
    // Reads the keys again in the order of `coluna`. A failure of the database leaves the order as it was.
    void sort(int coluna, Qt::SortOrder sentido = Qt::AscendingOrder) override;

private:
    class Reinicio;
    // What the filter needs of a mix, read only once a filter is set.
    struct Entrada
    {
        int nome = 0; // in m_nomesSemAcento
        bool emUso = false;
    };

    void leChaves(int coluna, Qt::SortOrder sentido);
    void aplicaFiltro();
    void leNomes();
    QString ordemDaColuna(int coluna, Qt::SortOrder sentido) const;
    const QSqlRecord* linha(int linha) const;
    QString texto(const QSqlRecord& registro, int coluna) const;
    void acrescentaCO2(QSqlRecord& registro) const;

    platform::Database& m_db;
    // The products the CO2 of a line is computed with, read again with the catalogue.
    std::unique_ptr<TabelaProdutos> m_tabelaProdutos;
    std::unique_ptr<ProdutosLembrados> m_produtos;
    int m_coluna = Traco;
    Qt::SortOrder m_sentido = Qt::AscendingOrder;
    QString m_filtro;
    QString m_filtroSemAcento;
    bool m_soEmUso = false;

    QVector<qint64> m_ordem; // every mix, in the order
    // The name and mark of every mix, read apart from the order (an unordered read of the table is a fraction of an
    // ordered one carrying the names), and again after the catalogue was read again.
    QHash<qint64, Entrada> m_entradas;
    QVector<QString> m_nomesSemAcento; // each distinct name once
    bool m_nomesLidos = false;
    QVector<qint64> m_visiveis;                       // the keys the filter keeps, in the order
    mutable QHash<int, QVector<QSqlRecord>> m_blocos; // block number -> its lines
    mutable QList<int> m_idadeDosBlocos;              // oldest first
    mutable int m_blocosLidos = 0;
};

} // namespace catalogue
