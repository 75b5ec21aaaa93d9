#include "copiatabelasqlite.h"

#include "database.h"
#include "faixasdatabela.h"

#include <QFile>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

#include <algorithm>
#include <deque>
#include <limits>
#include <set>

namespace platform {

namespace {

constexpr qint64 Menor = std::numeric_limits<qint64>::min();
constexpr qint64 Maior = std::numeric_limits<qint64>::max();
// Without an index to say where rows are, a damaged stretch is searched by halving it, this many times at most.
constexpr int SondagensSemIndice = 2048;

// What one read of a range of keys gave: the rows read, the key of the last one (the highest when reading up, the
// lowest when reading down) and whether a damaged page stopped it before the end of the range.
struct Leitura
{
    qint64 linhas = 0;
    qint64 ultima = 0;
    bool erro = false;
};

qint64 meio(qint64 de, qint64 ate)
{
    return de + static_cast<qint64>((static_cast<quint64>(ate) - static_cast<quint64>(de)) / 2);
}

class Salvamento
{
public:
    Salvamento(const QSqlDatabase& origem, const QSqlDatabase& destino, const QString& tabela)
        : m_origem(origem), m_destino(destino), m_tabela(tabela), m_nome(Database::citado(tabela))
    {
    }

    RelatorioDeReparo::Tabela copia(QFile& arquivo)
    {
        if (!QSqlQuery(m_origem).prepare(QStringLiteral("SELECT _rowid_ FROM %1").arg(m_nome))) {
            copiaSemChave();
        } else {
            preparaLeituras();
            leIndices();
            copiaPorFaixas(faixas(arquivo));
        }
        return relatorio();
    }

private:
    // The keys of the rows, as a rowid table's own tree orders them, and a statement that reads a range of them.
    void preparaLeituras()
    {
        const QString sql =
            QStringLiteral("SELECT _rowid_, * FROM %1 NOT INDEXED WHERE _rowid_ BETWEEN ? AND ? ORDER BY _rowid_")
                .arg(m_nome);
        const auto prepara = [&](QSqlQuery& query, const QString& ordem) {
            query = QSqlQuery(m_origem);
            query.setForwardOnly(true);
            if (!query.prepare(sql + ordem))
                throw DbError::doMecanismo(query.lastError());
        };
        prepara(m_subindo, QString());
        prepara(m_descendo, QStringLiteral(" DESC"));
        QSqlQuery colunas(m_origem);
        if (!colunas.exec(QStringLiteral("SELECT _rowid_, * FROM %1 LIMIT 0").arg(m_nome)))
            throw DbError::doMecanismo(colunas.lastError());
        preparaEscrita(colunas.record(), true);
    }

    void preparaEscrita(const QSqlRecord& registro, bool comChave)
    {
        QStringList colunas;
        QStringList marcas;
        for (int i = 0; i < registro.count(); ++i) {
            colunas << (comChave && i == 0 ? QStringLiteral("_rowid_") : Database::citado(registro.fieldName(i)));
            marcas << QStringLiteral("?");
        }
        m_escrita = QSqlQuery(m_destino);
        if (!m_escrita.prepare(QStringLiteral("INSERT OR IGNORE INTO %1(%2) VALUES(%3)")
                                   .arg(m_nome, colunas.join(QLatin1Char(',')), marcas.join(QLatin1Char(',')))))
            throw DbError::doMecanismo(m_escrita.lastError());
    }

    // Writes one row read; false when the table's rules refused it.
    bool escreve(const QSqlRecord& registro)
    {
        for (int i = 0; i < registro.count(); ++i)
            m_escrita.bindValue(i, registro.value(i));
        if (!m_escrita.exec())
            throw DbError::doMecanismo(m_escrita.lastError());
        return m_escrita.numRowsAffected() == 1;
    }

    // Reads the rows with keys from `de` to `ate`, up or down, copying each, until the range ends or a damaged page
    // stops the read.
    Leitura le(qint64 de, qint64 ate, bool descendo)
    {
        QSqlQuery& query = descendo ? m_descendo : m_subindo;
        query.bindValue(0, de);
        query.bindValue(1, ate);
        Leitura leitura;
        if (query.exec()) {
            while (query.next()) {
                const QSqlRecord registro = query.record();
                const qint64 chave = registro.value(0).toLongLong();
                if (escreve(registro))
                    m_copiadas.insert(chave);
                else if (!m_copiadas.contains(chave))
                    m_recusadas.insert(chave);
                ++leitura.linhas;
                leitura.ultima = chave;
            }
        }
        leitura.erro = query.lastError().isValid();
        query.finish();
        return leitura;
    }

    // The keys every index of the table holds, read through the index alone (up, and down from the other end when
    // damage stops the first read). An index read to the end names every row of the table.
    void leIndices()
    {
        QSqlQuery indices(m_origem);
        indices.setForwardOnly(true);
        if (!indices.prepare(QStringLiteral("SELECT name, partial FROM pragma_index_list(?)")))
            return;
        indices.addBindValue(m_tabela);
        if (!indices.exec())
            return;
        QList<std::pair<QString, bool>> lista;
        while (indices.next())
            lista.append({indices.value(0).toString(), indices.value(1).toBool()});
        for (const auto& [indice, parcial] : lista) {
            const QString origem =
                QStringLiteral("SELECT _rowid_ FROM %1 INDEXED BY %2").arg(m_nome, Database::citado(indice));
            if (leChaves(origem) && !parcial) {
                m_contagemExata = true;
            } else if (const QString ordem = ordemInversa(indice); !ordem.isEmpty()) {
                leChaves(origem + QStringLiteral(" ORDER BY ") + ordem);
            }
        }
    }

    // The index's own order reversed, so that a read down the index starts at its far end; empty for an index on
    // expressions.
    QString ordemInversa(const QString& indice) const
    {
        QSqlQuery colunas(m_origem);
        colunas.setForwardOnly(true);
        if (!colunas.prepare(QStringLiteral("SELECT cid, name, desc, coll FROM pragma_index_xinfo(?) WHERE key")))
            return {};
        colunas.addBindValue(indice);
        if (!colunas.exec())
            return {};
        QStringList termos;
        while (colunas.next()) {
            if (colunas.value(0).toInt() < 0)
                return {};
            termos << Database::citado(colunas.value(1).toString()) + QStringLiteral(" COLLATE ") +
                          Database::citado(colunas.value(3).toString()) +
                          (colunas.value(2).toBool() ? QStringLiteral(" ASC") : QStringLiteral(" DESC"));
        }
        return termos.join(QLatin1Char(','));
    }

    bool leChaves(const QString& sql)
    {
        QSqlQuery query(m_origem);
        query.setForwardOnly(true);
        if (!query.exec(sql))
            return false;
        while (query.next())
            m_conhecidas.insert(query.value(0).toLongLong());
        return !query.lastError().isValid();
    }

    QList<FaixaDeChaves> faixas(QFile& arquivo) const
    {
        const QList<FaixaDeChaves> todas{{Menor, Maior, false}};
        // In WAL mode the newest pages are not in the file itself: its tree cannot be trusted.
        QSqlQuery modo(m_origem);
        if (!modo.exec(QStringLiteral("PRAGMA journal_mode")) || !modo.next() ||
            modo.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0)
            return todas;
        QSqlQuery raiz(m_origem);
        raiz.prepare(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE type = 'table' AND name = ?"));
        raiz.addBindValue(m_tabela);
        QSqlQuery pagina(m_origem);
        if (!raiz.exec() || !raiz.next() || !pagina.exec(QStringLiteral("PRAGMA page_size")) || !pagina.next())
            return todas;
        const QList<FaixaDeChaves> lidas = faixasDaTabela(arquivo, raiz.value(0).toLongLong(), pagina.value(0).toInt());
        return lidas.isEmpty() ? todas : lidas;
    }

    // Reads the table up from its smallest key. Each time a damaged page stops the read, the rest of the range
    // where it stopped is read down from the range's other end, and the read goes on at the next range.
    void copiaPorFaixas(const QList<FaixaDeChaves>& faixas)
    {
        qsizetype i = 0;
        while (i < faixas.size()) {
            const Leitura adiante = le(faixas.at(i).de, Maior, false);
            if (!adiante.erro)
                return;
            qsizetype j = i;
            if (adiante.linhas > 0) {
                const auto fim = std::lower_bound(faixas.cbegin() + i, faixas.cend(), adiante.ultima,
                                                  [](const FaixaDeChaves& f, qint64 chave) { return f.ate < chave; });
                j = std::min<qsizetype>(fim - faixas.cbegin(), faixas.size() - 1);
            }
            const FaixaDeChaves& faixa = faixas.at(j);
            if (adiante.linhas == 0)
                salvaResto(faixa, faixa.de);
            else if (adiante.ultima < faixa.ate)
                salvaResto(faixa, adiante.ultima + 1);
            i = j + 1;
        }
    }

    void salvaResto(const FaixaDeChaves& faixa, qint64 de)
    {
        const Leitura atras = le(de, faixa.ate, true);
        if (!atras.erro)
            return;
        const qint64 ate = atras.linhas > 0 ? atras.ultima - 1 : faixa.ate;
        if (de > ate)
            return;
        // A damaged leaf loses the rows between; where the tree itself is damaged, rows may still be reachable.
        if (faixa.folha)
            m_lacunas.append({de, ate});
        else
            sonda(de, ate);
    }

    // Searches a stretch of keys that reads as damaged at both ends for rows that can still be read: from each key
    // an index holds, and, when no index names every row, from the middle of what is left, halving it.
    void sonda(qint64 de, qint64 ate)
    {
        std::deque<std::pair<qint64, qint64>> fila{{de, ate}};
        while (!fila.empty()) {
            const auto [a, b] = fila.front();
            fila.pop_front();
            std::optional<qint64> inicio;
            for (auto it = m_conhecidas.lower_bound(a); it != m_conhecidas.end() && *it <= b; ++it) {
                if (!m_copiadas.contains(*it) && !m_tentadas.contains(*it)) {
                    inicio = *it;
                    break;
                }
            }
            if (!inicio && (m_contagemExata || m_sondagens >= SondagensSemIndice)) {
                m_lacunas.append({a, b});
                continue;
            }
            const qint64 m = inicio ? *inicio : meio(a, b);
            if (inicio)
                m_tentadas.insert(m);
            else
                ++m_sondagens;

            const Leitura adiante = le(m, b, false);
            if (adiante.erro) {
                if (adiante.linhas == 0)
                    m_lacunas.append({m, m});
                const qint64 depois = adiante.linhas > 0 ? adiante.ultima : m;
                if (depois < b)
                    fila.push_back({depois + 1, b});
            }
            if (m > a) {
                const Leitura atras = le(a, m - 1, true);
                if (atras.erro) {
                    const qint64 antes = atras.linhas > 0 ? atras.ultima - 1 : m - 1;
                    if (antes >= a)
                        fila.push_back({a, antes});
                }
            }
        }
    }

    // A table without row keys is read in its own order, as far as it can be.
    void copiaSemChave()
    {
        QSqlQuery query(m_origem);
        query.setForwardOnly(true);
        if (!query.exec(QStringLiteral("SELECT * FROM %1").arg(m_nome))) {
            m_semChaveDanificada = true;
            return;
        }
        bool preparada = false;
        while (query.next()) {
            const QSqlRecord registro = query.record();
            if (!preparada) {
                preparaEscrita(registro, false);
                preparada = true;
            }
            if (escreve(registro))
                ++m_semChaveCopiadas;
            else
                ++m_semChaveRecusadas;
        }
        m_semChaveDanificada = query.lastError().isValid();
    }

    RelatorioDeReparo::Tabela relatorio() const
    {
        RelatorioDeReparo::Tabela tabela;
        tabela.nome = m_tabela;
        tabela.mantidas = m_copiadas.size() + m_semChaveCopiadas;
        tabela.perdidas = m_recusadas.size() + m_semChaveRecusadas;
        // A key an index holds counts as lost when it lies where the table could not be read.
        QList<std::pair<qint64, qint64>> ordenadas = m_lacunas;
        std::sort(ordenadas.begin(), ordenadas.end());
        QList<std::pair<qint64, qint64>> lacunas;
        for (const auto& lacuna : ordenadas) {
            if (!lacunas.isEmpty() && lacuna.first <= lacunas.last().second)
                lacunas.last().second = std::max(lacunas.last().second, lacuna.second);
            else
                lacunas.append(lacuna);
        }
        for (const qint64 chave : m_conhecidas) {
            if (m_copiadas.contains(chave) || m_recusadas.contains(chave))
                continue;
            const auto depois = std::upper_bound(lacunas.cbegin(), lacunas.cend(), std::pair{chave, Maior});
            if (depois != lacunas.cbegin() && chave <= std::prev(depois)->second)
                ++tabela.perdidas;
        }
        tabela.danificada =
            !m_lacunas.isEmpty() || !m_recusadas.isEmpty() || m_semChaveDanificada || m_semChaveRecusadas > 0;
        tabela.contagemExata = m_contagemExata;
        return tabela;
    }

    QSqlDatabase m_origem;
    QSqlDatabase m_destino;
    QString m_tabela;
    QString m_nome;
    QSqlQuery m_subindo;
    QSqlQuery m_descendo;
    QSqlQuery m_escrita;
    QSet<qint64> m_copiadas;
    QSet<qint64> m_recusadas;
    QSet<qint64> m_tentadas;
    std::set<qint64> m_conhecidas;
    bool m_contagemExata = false;
    QList<std::pair<qint64, qint64>> m_lacunas;
    int m_sondagens = 0;
    qint64 m_semChaveCopiadas = 0;
    qint64 m_semChaveRecusadas = 0;
    bool m_semChaveDanificada = false;
};

} // namespace

RelatorioDeReparo::Tabela copiaTabelaSqlite(const QSqlDatabase& origem, const QSqlDatabase& destino,
                                            const QString& tabela, QFile& arquivo)
{
    return Salvamento(origem, destino, tabela).copia(arquivo);
}

} // namespace platform
