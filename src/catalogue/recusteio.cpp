#include "recusteio.h"

#include "camposdotraco.h"
#include "consultas.h"
#include "tabelaprodutos.h"

#include "calc/calcstate.h"
#include "calc/carregatraco.h"
#include "calc/costing.h"
#include "calc/recalculo.h"
#include "platform/clock.h"
#include "platform/database.h"
#include "platform/dberror.h"
#include "platform/transaction.h"

#include <QHash>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <array>
#include <cmath>

namespace catalogue {

namespace {

// How often a row another workstation keeps changing is read again before the run gives up.
constexpr int kReleituras = 3;

// What a cost line is called when the mix names no product for it.
const std::array<const char*, calc::costLines> kLinhasDeCusto{"Cimento",           "Areia Fina",        "Areia Grossa",
                                                              "Agregado graúdo 1", "Agregado graúdo 2", "Aditivo 1",
                                                              "Aditivo 2",         "Mão-de-Obra"};

QVariantMap linhaDe(const QSqlQuery& q)
{
    const QSqlRecord r = q.record();
    QVariantMap linha;
    for (int i = 0; i < r.count(); ++i)
        linha.insert(r.fieldName(i), r.value(i));
    return linha;
}

// A date as the catalogue stores it: dd-mm-yyyy as the mix form writes it, or yyyy-mm-dd as the products table
// usually holds it.
QDate dataDe(const QVariant& valor)
{
    if (valor.typeId() == QMetaType::QDate || valor.typeId() == QMetaType::QDateTime)
        return valor.toDate();
    const QString texto = valor.toString().trimmed();
    for (const char* formato : {"dd-MM-yyyy", "d-M-yyyy", "dd/MM/yyyy", "d/M/yyyy", "yyyy-MM-dd"}) {
        const QDate data = QDate::fromString(texto, QLatin1String(formato));
        if (data.isValid())
            return data;
    }
    return {};
}

// The products of the cost lines a cubic metre of the mix takes some of, by line.
QList<std::pair<int, QString>> produtosUsados(const calc::CalcState& estado)
{
    const std::array<QString, calc::costLines> nomes = calc::costLineProducts(estado);
    const std::array<double, calc::costLines> quantidades = calc::costLineQuantities(estado);
    QList<std::pair<int, QString>> usados;
    for (int linha = 0; linha < calc::costLines; ++linha) {
        if (quantidades[std::size_t(linha)] != 0.0)
            usados.append({linha, nomes[std::size_t(linha)]});
    }
    return usados;
}

// The products the mix uses that would be priced at nothing: gone from the table since the mix was saved (a loaded
// mix drops them and would be costed without them), not named, or without a price.
QStringList semPreco(const calc::CalcState& estado, const QVariantMap& linha, const calc::ProductTable& produtos)
{
    QStringList faltam;
    QList<int> apagados;
    for (const calc::ProductSlot& p : calc::productSlots()) {
        const qint64 codigo = linha.value(QLatin1String(p.codeField)).toLongLong();
        if (codigo != 0 && linha.value(QLatin1String(p.batchField)).toDouble() != 0.0 && !produtos.findByCode(codigo)) {
            faltam.append(QStringLiteral("Produto de código %1 (não cadastrado)").arg(codigo));
            apagados.append(p.index);
        }
    }
    for (const auto& [linhaDeCusto, nome] : produtosUsados(estado)) {
        if (nome.trimmed().isEmpty()) {
            if (!apagados.contains(linhaDeCusto))
                faltam.append(QString::fromUtf8(kLinhasDeCusto[std::size_t(linhaDeCusto)]) +
                              QStringLiteral(" (nenhum produto escolhido)"));
            continue;
        }
        const std::optional<calc::ProductInfo> produto = produtos.findByName(nome);
        if (!produto)
            faltam.append(nome.trimmed() + QStringLiteral(" (não cadastrado)"));
        else if (!produto->price)
            faltam.append(nome.trimmed());
    }
    faltam.removeDuplicates();
    return faltam;
}

bool mesmoCusto(const QVariant& gravado, double calculado)
{
    return !gravado.isNull() && gravado.toDouble() == calculado;
}

} // namespace

std::optional<double> CustoMudado::variacao() const
{
    if (!anterior || *anterior == 0.0)
        return std::nullopt;
    return (novo - *anterior) / *anterior * 100.0;
}

ResultadoDoRecusteio Recusteio::executa(bool soEmUso, const ProgressoDoRecusteio& progresso)
{
    ResultadoDoRecusteio resultado;
    resultado.data = platform::Clock::hoje();
    resultado.soEmUso = soEmUso;
    const QString cotacao = resultado.data.toString(QStringLiteral("dd-MM-yyyy"));

    // Left without commit (cancelled, failed, or nothing to write) the transaction is rolled back.
    platform::Transaction transacao(m_db);
    const TabelaProdutos tabela(m_db);
    // The prices are read once: every mix of the run is costed from the same price list.
    const ProdutosLembrados produtos(tabela);

    QList<qint64> chaves;
    {
        const Consulta c = Consultas::chavesDosTracos(soEmUso);
        QSqlQuery q = m_db.exec(c.sql, c.valores);
        while (q.next())
            chaves.append(q.value(0).toLongLong());
    }
    const int total = int(chaves.size());
    // For each product of the mixes re-costed: the oldest quotation among them (invalid when one had none).
    QHash<QString, QDate> cotacaoMaisAntiga;

    for (int i = 0; i <= total; ++i) {
        if (progresso && !progresso(i, total)) {
            resultado.cancelado = true;
            resultado.mudados.clear();
            resultado.semPreco.clear();
            return resultado;
        }
        if (i == total)
            break;
        const qint64 codigo = chaves.at(i);
        for (int leitura = 1;; ++leitura) {
            // Read inside the transaction: what the row holds now, another workstation's save included.
            const Consulta c = Consultas::linhaDoTraco(codigo);
            QSqlQuery q = m_db.exec(c.sql, c.valores);
            if (!q.next())
                break; // deleted meanwhile
            const QVariantMap linha = linhaDe(q);
            const QString nome = linha.value(QStringLiteral("NomeTraco")).toString();
            const int variante = linha.value(QStringLiteral("TracoVariante")).toInt();
            const QVariant versaoLida = linha.value(QStringLiteral("Versao"));
            const std::optional<qint64> versao =
                versaoLida.isValid() && !versaoLida.isNull() ? std::optional(versaoLida.toLongLong()) : std::nullopt;

            // The mix as the form loads it, recalculated as the form does before it saves.
            calc::CalcState estado;
            calc::CarregaTraco(estado, linha, &produtos);
            calc::ReCalculo(estado, &produtos);

            if (const QStringList faltam = semPreco(estado, linha, produtos); !faltam.isEmpty()) {
                resultado.semPreco.append({codigo, nome, variante, faltam});
                break;
            }
            const QVariantMap campos = CamposDoTraco(estado, produtos);
            const double semPerda = campos.value(QStringLiteral("PrecoCustoSemPerda")).toDouble();
            const double comPerda = campos.value(QStringLiteral("PrecoCustoComPerda")).toDouble();
            const QVariant antes = linha.value(QStringLiteral("PrecoCustoComPerda"));
            if (mesmoCusto(linha.value(QStringLiteral("PrecoCustoSemPerda")), semPerda) && mesmoCusto(antes, comPerda))
                break;

            const Consulta grava = Consultas::gravaCustos(codigo, versao, semPerda, comPerda, cotacao);
            if (m_db.execCount(grava.sql, grava.valores) == 0) {
                // Saved at another workstation between the read and the write: costed again from its save.
                if (leitura < kReleituras)
                    continue;
                throw platform::DbError(platform::RegistroAlteradoPorOutro);
            }
            CustoMudado mudado;
            mudado.codigo = codigo;
            mudado.nome = nome;
            mudado.variante = variante;
            if (!antes.isNull())
                mudado.anterior = antes.toDouble();
            mudado.novo = comPerda;
            mudado.cotacaoAnterior = linha.value(QStringLiteral("DataCotacao")).toString();
            resultado.mudados.append(mudado);

            const QDate dataAnterior = dataDe(mudado.cotacaoAnterior);
            for (const auto& [linhaDeCusto, produto] : produtosUsados(estado)) {
                Q_UNUSED(linhaDeCusto);
                const auto it = cotacaoMaisAntiga.find(produto);
                if (it == cotacaoMaisAntiga.end())
                    cotacaoMaisAntiga.insert(produto, dataAnterior);
                else if (it->isValid() && (!dataAnterior.isValid() || dataAnterior < *it))
                    *it = dataAnterior;
            }
            break;
        }
    }
    resultado.examinados = total;

    for (auto it = cotacaoMaisAntiga.cbegin(); it != cotacaoMaisAntiga.cend(); ++it) {
        const Consulta c = Consultas::precoDoProduto(m_db, it.key());
        QSqlQuery q = m_db.exec(c.sql, c.valores);
        PrecoAtual preco;
        preco.nome = it.key().trimmed();
        if (q.next()) {
            if (!q.value(0).isNull())
                preco.preco = q.value(0).toDouble();
            preco.data = dataDe(q.value(1));
        }
        preco.posteriorACotacao = preco.data.isValid() && (!it->isValid() || preco.data > *it);
        resultado.produtos.append(preco);
    }
    std::sort(resultado.produtos.begin(), resultado.produtos.end(),
              [](const PrecoAtual& a, const PrecoAtual& b) { return a.nome.localeAwareCompare(b.nome) < 0; });
    std::stable_sort(resultado.mudados.begin(), resultado.mudados.end(),
                     [](const CustoMudado& a, const CustoMudado& b) {
                         const std::optional<double> va = a.variacao();
                         const std::optional<double> vb = b.variacao();
                         if (!va || !vb)
                             return !va && vb;
                         return std::abs(*va) > std::abs(*vb);
                     });

    // Nothing changed: the transaction ends without a write, so no row, version or file is touched.
    if (!resultado.mudados.isEmpty())
        transacao.commit();
    return resultado;
}

} // namespace catalogue
