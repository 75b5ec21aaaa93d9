#include "modelolista.h"

#include "tabelaprodutos.h"

#include "calc/calcstate.h"
#include "calc/carregatraco.h"
#include "calc/emissaoco2.h"
#include "calc/formats.h"
#include "platform/database.h"

#include <QLocale>
#include <QSqlField>
#include <QSqlQuery>
#include <QStringList>

namespace catalogue {

namespace {

// The fields of a line, in the order of the columns (the key first), the cement by the name of its product; then the
// whole row, from which the CO2 is computed.
const QString kCamposDaLinha = QStringLiteral(
    "SELECT Tracos.Codigo, Tracos.NomeTraco, Tracos.TracoVariante, Tracos.Plantao, Tracos.Resistencia, Tracos.Fator, "
    "Produtos.NomeProduto, Tracos.PrecoCustoComPerda, Tracos.DataCadastro, Tracos.DataCotacao, Tracos.* "
    "FROM Tracos LEFT JOIN Produtos ON Produtos.CodigoProduto = Tracos.TracoCimentoCod ");

// The fields the CO2 of a line adds to its record.
const QString kCampoCO2 = QStringLiteral("_CO2");
const QString kCampoSemFator = QStringLiteral("_SemFatorCO2");

// A date as the catalogue writes it, "dd-mm-aaaa", turned so that its text sorts by day.
QString diaEmOrdem(const QString& campo)
{
    return QStringLiteral("substr(%1, 7, 4) || substr(%1, 4, 2) || substr(%1, 1, 2)").arg(campo);
}

} // namespace

ModeloLista::ModeloLista(platform::Database& db, QObject* parent)
    : QAbstractTableModel(parent), m_db(db), m_tabelaProdutos(std::make_unique<TabelaProdutos>(db)),
      m_produtos(std::make_unique<ProdutosLembrados>(*m_tabelaProdutos))
{
}

ModeloLista::~ModeloLista() = default;

QString ModeloLista::semAcentos(const QString& texto)
{
    const QString decomposto = texto.normalized(QString::NormalizationForm_KD);
    QString resultado;
    resultado.reserve(decomposto.size());
    for (const QChar c : decomposto) {
        if (c.category() != QChar::Mark_NonSpacing)
            resultado.append(c);
    }
    return resultado.toCaseFolded();
}

// The views are told of the new lines however the change ends: a read the database refuses leaves the lines as
// they were.
class ModeloLista::Reinicio
{
public:
    explicit Reinicio(ModeloLista& modelo) : m_modelo(modelo) { m_modelo.beginResetModel(); }
    ~Reinicio() { m_modelo.endResetModel(); }
    Reinicio(const Reinicio&) = delete;
    Reinicio& operator=(const Reinicio&) = delete;

private:
    ModeloLista& m_modelo;
};

void ModeloLista::abre()
{
    const Reinicio reinicio(*this);
    m_produtos->esquece();
    m_nomesLidos = false;
    leChaves(m_coluna, m_sentido);
    aplicaFiltro();
}

void ModeloLista::recarrega()
{
    abre();
}

QString ModeloLista::ordemDaColuna(int coluna, Qt::SortOrder sentido) const
{
    const QString nome = m_db.ordemDeTexto(QStringLiteral("Tracos.NomeTraco"));
    const QString lado = sentido == Qt::AscendingOrder ? QStringLiteral(" ASC") : QStringLiteral(" DESC");
    // The catalogue's own order: the tie-break of every other column.
    const QString catalogo = nome + QStringLiteral(", Tracos.TracoVariante, Tracos.Codigo");
    if (coluna == Traco || coluna == Variante) {
        const QStringList termos =
            coluna == Traco ? QStringList{nome, QStringLiteral("Tracos.TracoVariante"), QStringLiteral("Tracos.Codigo")}
                            : QStringList{QStringLiteral("Tracos.TracoVariante")};
        QStringList ordem;
        for (const QString& termo : termos)
            ordem << termo + lado;
        return ordem.join(QStringLiteral(", ")) + (coluna == Variante ? QStringLiteral(", ") + catalogo : QString());
    }
    QString termo;
    switch (coluna) {
    case EmUso:
        termo = QStringLiteral("Tracos.Plantao");
        break;
    case Fck:
        termo = QStringLiteral("Tracos.Resistencia");
        break;
    case Abatimento:
        // Slumps are written as whole millimetres, with leading zeros or without: past the zeros, the shorter
        // text is the smaller number.
        return QStringLiteral("Tracos.Fator IS NULL, length(ltrim(Tracos.Fator, '0'))%1, %2%1, %3")
            .arg(lado, m_db.ordemDeTexto(QStringLiteral("ltrim(Tracos.Fator, '0')")), catalogo);
    case Cimento:
        termo = m_db.ordemDeTexto(QStringLiteral("Produtos.NomeProduto"));
        return QStringLiteral("Produtos.NomeProduto IS NULL, %1%2, %3").arg(termo, lado, catalogo);
    case Custo:
        termo = QStringLiteral("Tracos.PrecoCustoComPerda");
        break;
    case Cadastro:
    case Cotacao: {
        const QString campo =
            coluna == Cadastro ? QStringLiteral("Tracos.DataCadastro") : QStringLiteral("Tracos.DataCotacao");
        return QStringLiteral("%1 IS NULL, %2%3, %4").arg(campo, diaEmOrdem(campo), lado, catalogo);
    }
    default:
        return catalogo;
    }
    return QStringLiteral("%1 IS NULL, %1%2, %3").arg(termo, lado, catalogo);
}

void ModeloLista::leChaves(int coluna, Qt::SortOrder sentido)
{
    const QString juncao =
        coluna == Cimento ? QStringLiteral("LEFT JOIN Produtos ON Produtos.CodigoProduto = Tracos.TracoCimentoCod ")
                          : QString();
    QSqlQuery q = m_db.exec(
        QStringLiteral("SELECT Tracos.Codigo FROM Tracos %1ORDER BY %2").arg(juncao, ordemDaColuna(coluna, sentido)));
    QVector<qint64> ordem;
    while (q.next())
        ordem.append(q.value(0).toLongLong());
    m_ordem = std::move(ordem);
    m_coluna = coluna;
    m_sentido = sentido;
}

void ModeloLista::leNomes()
{
    QSqlQuery q = m_db.exec(QStringLiteral("SELECT Codigo, NomeTraco, Plantao FROM Tracos"));
    QHash<qint64, Entrada> entradas;
    QVector<QString> nomes;
    // Each name is folded once: a name has about two variants.
    QHash<QString, int> porNome;
    while (q.next()) {
        const QString nome = q.value(1).toString();
        auto it = porNome.constFind(nome);
        if (it == porNome.cend()) {
            it = porNome.insert(nome, int(nomes.size()));
            nomes.append(semAcentos(nome));
        }
        entradas.insert(q.value(0).toLongLong(), {*it, q.value(2).toBool()});
    }
    m_entradas = std::move(entradas);
    m_nomesSemAcento = std::move(nomes);
    m_nomesLidos = true;
}

void ModeloLista::aplicaFiltro()
{
    m_blocos.clear();
    m_idadeDosBlocos.clear();
    if (m_filtroSemAcento.isEmpty() && !m_soEmUso) {
        m_visiveis = m_ordem;
        return;
    }
    if (!m_nomesLidos)
        leNomes();
    QVector<char> nomeServe(m_nomesSemAcento.size(), 1);
    if (!m_filtroSemAcento.isEmpty()) {
        for (qsizetype i = 0; i < m_nomesSemAcento.size(); ++i)
            nomeServe[i] = m_nomesSemAcento.at(i).contains(m_filtroSemAcento) ? 1 : 0;
    }
    m_visiveis.clear();
    for (const qint64 codigo : std::as_const(m_ordem)) {
        // A mix written since the names were read shows until they are read again.
        const auto e = m_entradas.constFind(codigo);
        if (e == m_entradas.cend() || (nomeServe.at(e->nome) && (!m_soEmUso || e->emUso)))
            m_visiveis.append(codigo);
    }
}

void ModeloLista::defineFiltro(const QString& texto)
{
    const QString semAcento = semAcentos(texto.trimmed());
    if (semAcento == m_filtroSemAcento) {
        m_filtro = texto;
        return;
    }
    const Reinicio reinicio(*this);
    m_filtro = texto;
    m_filtroSemAcento = semAcento;
    aplicaFiltro();
}

void ModeloLista::defineSoEmUso(bool soEmUso)
{
    if (soEmUso == m_soEmUso)
        return;
    const Reinicio reinicio(*this);
    m_soEmUso = soEmUso;
    aplicaFiltro();
}

void ModeloLista::sort(int coluna, Qt::SortOrder sentido)
{
    // The CO2 is worked out only for the lines read: it cannot order the catalogue.
    if (coluna < 0 || coluna >= NumeroDeColunas || coluna == CO2)
        return;
    emit layoutAboutToBeChanged();
    try {
        leChaves(coluna, sentido);
    } catch (...) {
        emit layoutChanged();
        throw;
    }
    aplicaFiltro();
    emit layoutChanged();
}

qint64 ModeloLista::codigoEm(int linha) const
{
    return linha >= 0 && linha < m_visiveis.size() ? m_visiveis.at(linha) : 0;
}

int ModeloLista::linhaDoCodigo(qint64 codigo) const
{
    return int(m_visiveis.indexOf(codigo));
}

int ModeloLista::rowCount(const QModelIndex& pai) const
{
    return pai.isValid() ? 0 : int(m_visiveis.size());
}

int ModeloLista::columnCount(const QModelIndex& pai) const
{
    return pai.isValid() ? 0 : NumeroDeColunas;
}

const QSqlRecord* ModeloLista::linha(int linha) const
{
    const int bloco = linha / LinhasPorBloco;
    if (const auto it = m_blocos.constFind(bloco); it != m_blocos.cend()) {
        const int dentro = linha - bloco * LinhasPorBloco;
        return dentro < it->size() && !it->at(dentro).isEmpty() ? &it->at(dentro) : nullptr;
    }
    const int inicio = bloco * LinhasPorBloco;
    const int fim = std::min<int>(inicio + LinhasPorBloco, int(m_visiveis.size()));
    QStringList marcas;
    QVariantList valores;
    QHash<qint64, int> lugar;
    for (int i = inicio; i < fim; ++i) {
        marcas << QStringLiteral("?");
        valores << m_visiveis.at(i);
        lugar.insert(m_visiveis.at(i), i - inicio);
    }
    QVector<QSqlRecord> linhas(fim - inicio);
    try {
        QSqlQuery q = m_db.exec(
            kCamposDaLinha + QStringLiteral("WHERE Tracos.Codigo IN (%1)").arg(marcas.join(QLatin1Char(','))), valores);
        while (q.next()) {
            QSqlRecord& registro = linhas[lugar.value(q.value(0).toLongLong())];
            registro = q.record();
            acrescentaCO2(registro);
        }
    } catch (const platform::DbError&) {
        // The line shows empty; the next look reads its block again.
        return nullptr;
    }
    ++m_blocosLidos;
    if (m_idadeDosBlocos.size() >= BlocosGuardados)
        m_blocos.remove(m_idadeDosBlocos.takeFirst());
    m_idadeDosBlocos.append(bloco);
    const auto it = m_blocos.insert(bloco, linhas);
    // A mix deleted by another workstation since the keys were read comes back empty.
    const QSqlRecord& registro = it->at(linha - inicio);
    return registro.isEmpty() ? nullptr : &registro;
}

void ModeloLista::acrescentaCO2(QSqlRecord& registro) const
{
    calc::CalcState estado;
    calc::CarregaTraco(
        estado,
        [&registro](const QString& nome) {
            const int i = registro.indexOf(nome);
            return i < 0 ? QVariant() : registro.value(i);
        },
        m_produtos.get());
    const calc::EmissaoCO2 emissao = calc::emissaoCO2(estado, *m_produtos);
    QString texto = calc::textoCO2(emissao, QLocale(QLocale::Portuguese, QLocale::Brazil));
    if (emissao.calculavel && !emissao.semFator.isEmpty())
        texto += QStringLiteral(" (parcial)");
    registro.append(QSqlField(kCampoCO2, QMetaType(QMetaType::QString)));
    registro.setValue(kCampoCO2, texto);
    registro.append(QSqlField(kCampoSemFator, QMetaType(QMetaType::QString)));
    registro.setValue(kCampoSemFator, emissao.semFator.isEmpty() ? texto
                                                                 : QStringLiteral("Sem fator: ") +
                                                                       emissao.semFator.join(QStringLiteral(", ")));
}

QString ModeloLista::texto(const QSqlRecord& registro, int coluna) const
{
    if (coluna == CO2)
        return registro.value(kCampoCO2).toString();
    const QVariant valor = registro.value(coluna + 1);
    switch (coluna) {
    case Variante:
        return valor.isNull() ? QString() : calc::padded(valor.toLongLong(), 2);
    case EmUso:
        return valor.toBool() ? QStringLiteral("Sim") : QStringLiteral("Não");
    case Fck:
        return valor.isNull() ? QString() : QLocale(QLocale::Portuguese, QLocale::Brazil).toString(valor.toLongLong());
    case Custo:
        return valor.isNull() ? QString()
                              : QLocale(QLocale::Portuguese, QLocale::Brazil).toString(valor.toDouble(), 'f', 2);
    default:
        return valor.toString();
    }
}

QVariant ModeloLista::data(const QModelIndex& indice, int papel) const
{
    if (!indice.isValid() || indice.row() >= m_visiveis.size())
        return {};
    if (papel == Qt::TextAlignmentRole) {
        const bool numero = indice.column() == Fck || indice.column() == Custo || indice.column() == Abatimento ||
                            indice.column() == CO2;
        return int((numero ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    if (papel != Qt::DisplayRole && papel != Qt::ToolTipRole)
        return {};
    const QSqlRecord* registro = linha(indice.row());
    if (registro && papel == Qt::ToolTipRole && indice.column() == CO2)
        return registro->value(kCampoSemFator).toString();
    return registro ? texto(*registro, indice.column()) : QString();
}

QVariant ModeloLista::headerData(int secao, Qt::Orientation orientacao, int papel) const
{
    static const QStringList titulos{QStringLiteral("Traço"),       QStringLiteral("Variante"),
                                     QStringLiteral("Em uso"),      QStringLiteral("fck (MPa)"),
                                     QStringLiteral("Abatimento"),  QStringLiteral("Cimento"),
                                     QStringLiteral("Custo R$/m³"), QStringLiteral("Cadastro"),
                                     QStringLiteral("Cotação"),     QStringLiteral("kg CO₂e/m³")};
    if (orientacao != Qt::Horizontal || papel != Qt::DisplayRole || secao < 0 || secao >= titulos.size())
        return QAbstractTableModel::headerData(secao, orientacao, papel);
    return titulos.at(secao);
}

} // namespace catalogue
