#include "recordset.h"

#include "database.h"

#include <QHash>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <algorithm>
#include <optional>

namespace platform {

namespace {

// Rows read per statement while a find runs through the set.
constexpr int LinhasPorLeitura = 256;

// The parts of a query over one table that the set needs to reach its rows by key.
struct ConsultaSimples
{
    QString campos; // the select list as written
    QString tabela; // the table as written (possibly quoted)
    QString origem; // the table and its alias, as written
    QString resto;  // WHERE, ORDER BY and LIMIT, as written
};

std::optional<ConsultaSimples> analisa(const QString& sql)
{
    static const QString identificador =
        QStringLiteral(R"((?:"(?:[^"]|"")+"|\[[^\]]+\]|`[^`]+`|[A-Za-z_\x{80}-\x{ffff}][\w$\x{80}-\x{ffff}]*))");
    static const QRegularExpression forma(
        QStringLiteral(R"(^\s*SELECT\s+(?!DISTINCT\b)(?:ALL\s+)?(.+?)\s+FROM\s+(%1))"
                       R"(((?:\s+(?:AS\s+)?(?!(?:WHERE|ORDER|GROUP|LIMIT|JOIN|INNER|LEFT|RIGHT|FULL|CROSS|NATURAL|)"
                       R"(UNION|EXCEPT|INTERSECT|WINDOW|HAVING|NOT|INDEXED)\b)%1)?)(.*?)[\s;]*$)")
            .arg(identificador),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption |
            QRegularExpression::UseUnicodePropertiesOption);
    static const QRegularExpression restoSimples(QStringLiteral(R"(^(?:$|WHERE\b|ORDER\s+BY\b|LIMIT\b))"),
                                                 QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression restoComposto(
        QStringLiteral(R"(\b(?:UNION|INTERSECT|EXCEPT|GROUP\s+BY|HAVING|JOIN)\b)"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression agregado(
        QStringLiteral(R"(\b(?:COUNT|SUM|AVG|MIN|MAX|TOTAL|GROUP_CONCAT)\s*\(|\bOVER\b|\?)"),
        QRegularExpression::CaseInsensitiveOption);

    const QRegularExpressionMatch partes = forma.match(sql);
    if (!partes.hasMatch())
        return std::nullopt;
    const ConsultaSimples consulta{partes.captured(1).trimmed(), partes.captured(2),
                                   partes.captured(2) + partes.captured(3), partes.captured(4).trimmed()};
    if (!restoSimples.match(consulta.resto).hasMatch() || restoComposto.match(consulta.resto).hasMatch() ||
        agregado.match(consulta.campos).hasMatch())
        return std::nullopt;
    return consulta;
}

// The table's name without the quotes it may be written in.
QString semAspas(const QString& identificador)
{
    if (identificador.size() < 2)
        return identificador;
    const QChar primeiro = identificador.front();
    if (primeiro == QLatin1Char('"'))
        return identificador.mid(1, identificador.size() - 2).replace(QStringLiteral("\"\""), QStringLiteral("\""));
    if (primeiro == QLatin1Char('[') || primeiro == QLatin1Char('`'))
        return identificador.mid(1, identificador.size() - 2);
    return identificador;
}

bool todosOsCampos(const ConsultaSimples& consulta)
{
    static const QRegularExpression estrela(QStringLiteral(R"(^(?:.+\.)?\*$)"));
    return estrela.match(consulta.campos).hasMatch();
}

QSqlQuery prepara(const QSqlDatabase& db, const QString& sql)
{
    QSqlQuery query = Driver::consulta(db);
    if (!query.prepare(sql))
        throw DbError::doMecanismo(query.lastError());
    return query;
}

void executa(QSqlQuery& query)
{
    if (!query.exec())
        throw DbError::doMecanismo(query.lastError());
}

void confereFim(const QSqlQuery& query)
{
    if (query.lastError().isValid())
        throw DbError::doMecanismo(query.lastError());
}

} // namespace

RecordSet::RecordSet(Database& db) : m_db(&db) {}

RecordSet::~RecordSet() = default;

void RecordSet::setTable(const QString& tabela)
{
    abre(QStringLiteral("SELECT * FROM ") + Database::citado(tabela), {});
}

void RecordSet::setQuery(const QString& sql, const QVariantList& valores)
{
    abre(sql, valores);
}

void RecordSet::abre(const QString& sqlDoPrograma, const QVariantList& valores)
{
    m_aberto = false;
    const QString sql = m_db->traduz(sqlDoPrograma);
    m_sql = sql;
    m_valores = valores;
    m_atualizavel = false;
    m_tabela.clear();
    m_chave.clear();
    m_origem.clear();
    m_campos.clear();
    m_consultaChaves.clear();
    m_modelo.clear();
    m_chaves.clear();
    m_linhas.clear();

    const QSqlDatabase db = m_db->handle();
    if (!db.isOpen())
        throw DbError(ObjetoInvalido);
    if (const std::optional<ConsultaSimples> consulta = analisa(sql)) {
        // The rows are reached in the base table by the key it declares; a view, or a table without a numeric key,
        // is read whole like any other query.
        const QString tabela = semAspas(consulta->tabela);
        const QString chave = m_db->ehTabela(tabela) ? m_db->chave(tabela) : QString();
        const QString chaves =
            todosOsCampos(*consulta)
                ? QStringLiteral("SELECT %1 FROM %2 %3").arg(chave, consulta->origem, consulta->resto)
                : QStringLiteral("SELECT %1 AS quenvar_chave, %2 FROM %3 %4")
                      .arg(chave, consulta->campos, consulta->origem, consulta->resto);
        QSqlQuery teste(db);
        if (!chave.isEmpty() && teste.prepare(chaves)) {
            QSqlQuery modelo =
                prepara(db, QStringLiteral("SELECT %1 FROM %2 LIMIT 0").arg(consulta->campos, consulta->origem));
            executa(modelo);
            m_modelo = modelo.record();
            m_atualizavel = true;
            m_tabela = consulta->tabela;
            m_chave = chave;
            m_origem = consulta->origem;
            m_campos = consulta->campos;
            m_consultaChaves = chaves;
        }
    }
    m_aberto = true;
    try {
        refresh();
    } catch (const DbError&) {
        m_aberto = false;
        throw;
    }
}

void RecordSet::refresh()
{
    exigeAberto();
    descartaPendentes();
    const QSqlDatabase db = m_db->handle();
    QVector<qint64> chaves;
    QVector<QSqlRecord> linhas;
    QSqlQuery query = prepara(db, m_atualizavel ? m_consultaChaves : m_sql);
    for (const QVariant& valor : std::as_const(m_valores))
        query.addBindValue(valor);
    executa(query);
    if (m_atualizavel) {
        while (query.next())
            chaves.append(query.value(0).toLongLong());
    } else {
        m_modelo = query.record();
        while (query.next()) {
            chaves.append(linhas.size());
            linhas.append(query.record());
        }
    }
    confereFim(query);
    m_chaves = std::move(chaves);
    m_linhas = std::move(linhas);
    m_semCorrespondencia = false;
    vaiPara(m_chaves.isEmpty() ? -1 : 0);
}

void RecordSet::close()
{
    if (!m_aberto)
        return;
    antesDe(Fechar);
    m_aberto = false;
    m_chaves.clear();
    m_linhas.clear();
    m_corrente = QSqlRecord();
    m_correnteLida = false;
    m_posicao = -1;
    m_excluido = false;
}

void RecordSet::exigeAberto() const
{
    if (!m_aberto)
        throw DbError(ObjetoInvalido);
}

void RecordSet::exigeAtualizavel() const
{
    exigeAberto();
    if (!m_atualizavel)
        throw DbError(SomenteLeitura);
}

bool RecordSet::bof() const
{
    return m_chaves.isEmpty() || m_posicao < 0;
}

bool RecordSet::eof() const
{
    return m_chaves.isEmpty() || m_posicao >= m_chaves.size();
}

bool RecordSet::temCorrente() const
{
    return m_aberto && !m_excluido && m_posicao >= 0 && m_posicao < m_chaves.size();
}

void RecordSet::vaiPara(int posicao)
{
    m_posicao = std::clamp(posicao, -1, static_cast<int>(m_chaves.size()));
    m_excluido = false;
    m_correnteLida = false;
    m_corrente = QSqlRecord();
}

void RecordSet::moveFirst()
{
    exigeAberto();
    antesDe(MoverPrimeiro);
    vaiPara(m_chaves.isEmpty() ? -1 : 0);
}

void RecordSet::moveLast()
{
    exigeAberto();
    antesDe(MoverUltimo);
    vaiPara(m_chaves.size() - 1);
}

void RecordSet::moveNext()
{
    exigeAberto();
    antesDe(MoverProximo);
    // After a delete the next row has already taken the deleted row's place.
    vaiPara(m_excluido ? m_posicao : m_posicao + 1);
}

void RecordSet::movePrevious()
{
    exigeAberto();
    antesDe(MoverAnterior);
    vaiPara(m_posicao >= m_chaves.size() ? static_cast<int>(m_chaves.size()) - 1 : m_posicao - 1);
}

int RecordSet::recordCount() const
{
    exigeAberto();
    return m_chaves.size();
}

int RecordSet::absolutePosition() const
{
    return temCorrente() ? m_posicao : -1;
}

void RecordSet::setAbsolutePosition(int posicao)
{
    exigeAberto();
    if (posicao < 0 || posicao >= m_chaves.size())
        throw DbError(ArgumentoInvalido);
    antesDe(Marcador);
    vaiPara(std::min(posicao, static_cast<int>(m_chaves.size()) - 1));
}

QVariant RecordSet::bookmark() const
{
    if (!temCorrente())
        throw DbError(SemRegistroCorrente);
    return m_chaves.at(m_posicao);
}

void RecordSet::setBookmark(const QVariant& marcador)
{
    exigeAberto();
    bool ok = false;
    const qint64 chave = marcador.toLongLong(&ok);
    if (!ok || marcador.isNull())
        throw DbError(MarcadorInvalido);
    antesDe(Marcador);
    const auto posicao = m_chaves.indexOf(chave);
    if (posicao < 0)
        throw DbError(MarcadorInvalido);
    vaiPara(posicao);
}

void RecordSet::incluiChave(int posicao, qint64 chave)
{
    exigeAtualizavel();
    if (posicao < 0 || posicao > m_chaves.size() || m_chaves.contains(chave))
        throw DbError(ArgumentoInvalido);
    antesDe(Marcador);
    m_chaves.insert(posicao, chave);
    vaiPara(posicao);
}

bool RecordSet::retiraChave(qint64 chave)
{
    exigeAberto();
    const int posicao = int(m_chaves.indexOf(chave));
    if (posicao < 0)
        return false;
    m_chaves.removeAt(posicao);
    if (posicao == m_posicao) {
        vaiPara(posicao);
        m_excluido = true;
    } else if (posicao < m_posicao) {
        --m_posicao; // the same current row, one place up
    }
    return true;
}

qint64 RecordSet::chaveEm(int posicao) const
{
    exigeAberto();
    if (posicao < 0 || posicao >= m_chaves.size())
        throw DbError(ArgumentoInvalido);
    return m_chaves.at(posicao);
}

void RecordSet::findFirst(const Predicado& predicado)
{
    exigeAberto();
    antesDe(Localizar);
    procura(predicado, 0, Sentido::Adiante);
}

void RecordSet::findLast(const Predicado& predicado)
{
    exigeAberto();
    antesDe(Localizar);
    procura(predicado, m_chaves.size() - 1, Sentido::Atras);
}

void RecordSet::findNext(const Predicado& predicado)
{
    exigeAberto();
    antesDe(Localizar);
    procura(predicado, m_excluido ? m_posicao : std::max(m_posicao + 1, 0), Sentido::Adiante);
}

void RecordSet::findPrevious(const Predicado& predicado)
{
    exigeAberto();
    antesDe(Localizar);
    procura(predicado, std::min(m_posicao, static_cast<int>(m_chaves.size())) - 1, Sentido::Atras);
}

void RecordSet::procura(const Predicado& predicado, int inicio, Sentido sentido)
{
    const int total = m_chaves.size();
    const int passo = sentido == Sentido::Adiante ? 1 : -1;
    m_semCorrespondencia = true;
    for (int posicao = inicio; posicao >= 0 && posicao < total;) {
        const int fim = sentido == Sentido::Adiante ? std::min(total, posicao + LinhasPorLeitura)
                                                    : std::max(-1, posicao - LinhasPorLeitura);
        const int primeira = std::min(posicao, fim - passo);
        const QVector<QSqlRecord> linhas = leLinhas(primeira, std::max(posicao, fim - passo) + 1);
        for (int p = posicao; p != fim; p += passo) {
            const QSqlRecord& linha = linhas.at(p - primeira);
            if (!linha.isEmpty() && predicado(linha)) {
                vaiPara(p);
                m_corrente = linha;
                m_correnteLida = true;
                m_semCorrespondencia = false;
                return;
            }
        }
        posicao = fim;
    }
}

QSqlRecord RecordSet::leLinha(qint64 chave) const
{
    if (!m_atualizavel)
        return m_linhas.at(chave);
    QSqlQuery query =
        prepara(m_db->handle(), QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?").arg(m_campos, m_origem, m_chave));
    query.addBindValue(chave);
    executa(query);
    if (!query.next()) {
        confereFim(query);
        // Someone else deleted the row since the keys were read.
        throw DbError(RegistroExcluido);
    }
    return query.record();
}

QVector<QSqlRecord> RecordSet::linhas(int inicio, int fim) const
{
    exigeAberto();
    inicio = std::clamp(inicio, 0, int(m_chaves.size()));
    fim = std::clamp(fim, inicio, int(m_chaves.size()));
    return leLinhas(inicio, fim);
}

// The rows at positions [inicio, fim), in order; a row deleted by someone else comes back empty.
QVector<QSqlRecord> RecordSet::leLinhas(int inicio, int fim) const
{
    QVector<QSqlRecord> linhas;
    linhas.reserve(fim - inicio);
    if (!m_atualizavel) {
        for (int p = inicio; p < fim; ++p)
            linhas.append(m_linhas.at(m_chaves.at(p)));
        return linhas;
    }
    QStringList marcas;
    for (int p = inicio; p < fim; ++p)
        marcas << QStringLiteral("?");
    QSqlQuery query = prepara(m_db->handle(), QStringLiteral("SELECT %1 AS quenvar_chave, %2 FROM %3 WHERE %1 IN (%4)")
                                                  .arg(m_chave, m_campos, m_origem, marcas.join(QLatin1Char(','))));
    for (int p = inicio; p < fim; ++p)
        query.addBindValue(m_chaves.at(p));
    executa(query);
    QHash<qint64, QSqlRecord> porChave;
    while (query.next()) {
        QSqlRecord linha = query.record();
        const qint64 chave = linha.value(0).toLongLong();
        linha.remove(0);
        porChave.insert(chave, linha);
    }
    confereFim(query);
    for (int p = inicio; p < fim; ++p)
        linhas.append(porChave.value(m_chaves.at(p)));
    return linhas;
}

const QSqlRecord& RecordSet::linhaCorrente() const
{
    if (!temCorrente())
        throw DbError(SemRegistroCorrente);
    if (!m_correnteLida) {
        m_corrente = leLinha(m_chaves.at(m_posicao));
        m_correnteLida = true;
    }
    return m_corrente;
}

QSqlRecord RecordSet::record() const
{
    exigeAberto();
    return m_modo == EditMode::Nenhum ? linhaCorrente() : m_buffer;
}

QVariant RecordSet::field(const QString& nome) const
{
    exigeAberto();
    const QSqlRecord& linha = m_modo == EditMode::Nenhum ? linhaCorrente() : m_buffer;
    const int indice = linha.indexOf(nome);
    if (indice < 0)
        throw DbError(ItemNaoEncontrado, descricaoErro(ItemNaoEncontrado), nome);
    const QVariant valor = linha.value(indice);
    return valor.isNull() ? QVariant() : valor;
}

void RecordSet::setField(const QString& nome, const QVariant& valor)
{
    exigeAberto();
    if (m_modo == EditMode::Nenhum)
        throw DbError(AtualizarSemEditar);
    const int indice = m_buffer.indexOf(nome);
    if (indice < 0)
        throw DbError(ItemNaoEncontrado, descricaoErro(ItemNaoEncontrado), nome);
    m_buffer.setValue(indice, valor);
    m_alterados.insert(indice);
}

void RecordSet::addNew()
{
    exigeAtualizavel();
    antesDe(AdicionarNovo);
    m_buffer = m_modelo;
    m_buffer.clearValues();
    m_alterados.clear();
    m_modo = EditMode::Adicionando;
}

void RecordSet::edit()
{
    exigeAtualizavel();
    if (m_modo == EditMode::Editando)
        return;
    descartaPendentes();
    // The row is read again, so that the edit starts from what is stored now.
    m_correnteLida = false;
    m_buffer = linhaCorrente();
    m_alterados.clear();
    m_modo = EditMode::Editando;
}

void RecordSet::update()
{
    exigeAberto();
    if (m_modo == EditMode::Nenhum)
        throw DbError(AtualizarSemEditar);
    bool salvar = true;
    chamaValidacao(Atualizar, salvar);
    if (salvar)
        gravaPendentes();
    else
        descartaPendentes();
}

void RecordSet::cancelUpdate()
{
    exigeAberto();
    if (m_modo == EditMode::Nenhum)
        throw DbError(AtualizarSemEditar);
    descartaPendentes();
}

void RecordSet::deleteCurrent()
{
    exigeAtualizavel();
    if (!temCorrente())
        throw DbError(SemRegistroCorrente);
    antesDe(Excluir);
    if (!temCorrente())
        throw DbError(SemRegistroCorrente);
    const qint64 chave = m_chaves.at(m_posicao);
    m_db->exec(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(m_tabela, m_chave), {chave});
    const int posicao = m_posicao;
    m_chaves.removeAt(posicao);
    vaiPara(posicao);
    m_excluido = true;
}

void RecordSet::chamaValidacao(Acao acao, bool& salvar)
{
    if (!m_validacao || m_validando)
        return;
    // The callback may read the set (or even move it); it is not called again for what it does itself.
    m_validando = true;
    try {
        m_validacao(acao, salvar);
    } catch (...) {
        m_validando = false;
        throw;
    }
    m_validando = false;
}

// Settles the changes pending before the set leaves the row: written or discarded, as the validation decides.
void RecordSet::antesDe(Acao acao)
{
    bool salvar = m_modo != EditMode::Nenhum;
    chamaValidacao(acao, salvar);
    if (m_modo == EditMode::Nenhum)
        return;
    if (salvar)
        gravaPendentes();
    else
        descartaPendentes();
}

void RecordSet::gravaPendentes()
{
    QStringList colunas;
    QVariantList valores;
    QList<int> alterados = m_alterados.values();
    std::sort(alterados.begin(), alterados.end());
    for (const int indice : std::as_const(alterados)) {
        colunas << Database::citado(m_buffer.fieldName(indice));
        valores << m_buffer.value(indice);
    }

    if (m_modo == EditMode::Adicionando) {
        QString sql;
        if (colunas.isEmpty()) {
            sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(m_tabela);
        } else {
            QStringList marcas;
            for (int i = 0; i < colunas.size(); ++i)
                marcas << QStringLiteral("?");
            sql = QStringLiteral("INSERT INTO %1(%2) VALUES(%3)")
                      .arg(m_tabela, colunas.join(QLatin1Char(',')), marcas.join(QLatin1Char(',')));
        }
        // The new row's key comes back from the insert itself, whether the database numbered it or it was given.
        QSqlQuery query = m_db->exec(sql + QStringLiteral(" RETURNING ") + m_chave, valores);
        if (!query.next()) {
            confereFim(query);
            throw DbError(ErroDoMecanismo);
        }
        const qint64 chave = query.value(0).toLongLong();
        query.finish();
        // A set at its end stays at its end: the new row is appended behind the current one, never onto it.
        const bool noFim = m_posicao >= m_chaves.size();
        m_chaves.append(chave);
        if (noFim && !m_excluido)
            m_posicao = m_chaves.size();
        m_ultimoModificado = chave;
    } else if (!colunas.isEmpty()) {
        const qint64 chave = m_chaves.at(m_posicao);
        QStringList atribuicoes;
        for (const QString& coluna : std::as_const(colunas))
            atribuicoes << coluna + QStringLiteral(" = ?");
        valores << chave;
        const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                                .arg(m_tabela, atribuicoes.join(QStringLiteral(", ")), m_chave);
        if (m_db->execCount(sql, valores) == 0)
            throw DbError(RegistroExcluido);
        m_ultimoModificado = chave;
        m_correnteLida = false;
    } else {
        m_ultimoModificado = m_chaves.at(m_posicao);
    }
    m_modo = EditMode::Nenhum;
    m_buffer = QSqlRecord();
    m_alterados.clear();
}

void RecordSet::descartaPendentes()
{
    m_modo = EditMode::Nenhum;
    m_buffer = QSqlRecord();
    m_alterados.clear();
}

std::unique_ptr<RecordSet> RecordSet::clone() const
{
    exigeAberto();
    auto copia = std::make_unique<RecordSet>(*m_db);
    copia->m_aberto = true;
    copia->m_sql = m_sql;
    copia->m_valores = m_valores;
    copia->m_atualizavel = m_atualizavel;
    copia->m_tabela = m_tabela;
    copia->m_chave = m_chave;
    copia->m_origem = m_origem;
    copia->m_campos = m_campos;
    copia->m_consultaChaves = m_consultaChaves;
    copia->m_modelo = m_modelo;
    copia->m_chaves = m_chaves;
    copia->m_linhas = m_linhas;
    copia->vaiPara(-1);
    return copia;
}

} // namespace platform
