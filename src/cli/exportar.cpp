#include "leopcoes.h"
#include "subcomandos.h"
#include "tracojson.h"

#include "catalogue/consultas.h"
#include "catalogue/schema.h"
#include "catalogue/tabelaprodutos.h"
#include "platform/database.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QSqlQuery>
#include <QSqlRecord>

#include <memory>

namespace cli {

namespace {

const QString kUso = QStringLiteral("Uso: quenvar-cli exportar PASTA --json ARQUIVO [--em-uso]");

// A column of the file: a field of the mix, with the kind of value it holds.
struct Coluna
{
    enum class Tipo { Logico, Inteiro, Real, Texto };
    QString nome;
    Tipo tipo;
};

// A file format the catalogue is written in. The exporter hands it the columns, then each mix's values in the
// columns' order (a bool, a qint64, a double, a QString, or a null value for a field the row leaves empty), then
// the end of the file.
class Formato
{
public:
    virtual ~Formato() = default;
    virtual void comeca(QIODevice& arquivo, const QList<Coluna>& colunas) = 0;
    virtual void linha(QIODevice& arquivo, const QVariantList& valores) = 0;
    virtual void termina(QIODevice& arquivo) = 0;
};

// A JSON array with one object per mix, written a mix at a time.
class FormatoJson : public Formato
{
public:
    void comeca(QIODevice& arquivo, const QList<Coluna>& colunas) override
    {
        m_colunas = colunas;
        m_primeira = true;
        arquivo.write("[");
    }

    void linha(QIODevice& arquivo, const QVariantList& valores) override
    {
        QJsonObject objeto;
        for (qsizetype i = 0; i < m_colunas.size(); ++i)
            objeto.insert(m_colunas[i].nome, valorJson(m_colunas[i].tipo, valores.value(i)));
        arquivo.write(m_primeira ? "\n" : ",\n");
        arquivo.write(QJsonDocument(objeto).toJson(QJsonDocument::Indented).trimmed());
        m_primeira = false;
    }

    void termina(QIODevice& arquivo) override { arquivo.write("\n]\n"); }

private:
    static QJsonValue valorJson(Coluna::Tipo tipo, const QVariant& valor)
    {
        if (valor.isNull())
            return QJsonValue::Null;
        switch (tipo) {
        case Coluna::Tipo::Logico:
            return valor.toBool();
        case Coluna::Tipo::Inteiro:
            return valor.toLongLong();
        case Coluna::Tipo::Real:
            return valor.toDouble();
        case Coluna::Tipo::Texto:
            break;
        }
        return valor.toString();
    }

    QList<Coluna> m_colunas;
    bool m_primeira = true;
};

// The options that choose the format, each with its format.
struct OpcaoDeFormato
{
    const char* opcao;
    std::unique_ptr<Formato> (*cria)();
};

const OpcaoDeFormato kFormatos[] = {
    {"--json", [] { return std::unique_ptr<Formato>(std::make_unique<FormatoJson>()); }},
};

// The field that names the product whose code the Tracos field holds; nothing for a field that is no product code.
const CampoDeProduto* produtoDaColuna(const QString& coluna)
{
    for (const CampoDeProduto& produto : kCamposDeProduto) {
        if (coluna == QLatin1String(produto.codigo))
            return &produto;
    }
    return nullptr;
}

struct Pedido
{
    QString pasta;
    QString arquivo;
    const OpcaoDeFormato* formato = nullptr;
    bool soEmUso = false;
};

std::optional<Pedido> lePedido(const QStringList& argumentos)
{
    QStringList resto = argumentos;
    Pedido pedido;
    for (const OpcaoDeFormato& formato : kFormatos) {
        QString arquivo;
        if (!tiraOpcao(resto, QLatin1String(formato.opcao), arquivo, kUso))
            return std::nullopt;
        if (arquivo.isEmpty())
            continue;
        if (pedido.formato) {
            erro(QStringLiteral("Escolha um só formato.\n") + kUso);
            return std::nullopt;
        }
        pedido.formato = &formato;
        pedido.arquivo = arquivo;
    }
    pedido.soEmUso = resto.removeAll(QStringLiteral("--em-uso")) > 0;
    if (!lePasta(resto, pedido.pasta, kUso))
        return std::nullopt;
    if (!pedido.formato) {
        erro(QStringLiteral("Informe o arquivo a gravar com --json.\n") + kUso);
        return std::nullopt;
    }
    return pedido;
}

// A field of the Tracos row and the column of the file it goes to.
struct CampoExportado
{
    QString campo;
    bool produto; // a product's code, written as the product's name
    Coluna coluna;
};

// Every field of a mix but the catalogue's own keys and the count of its writes, which mean nothing elsewhere.
QList<CampoExportado> camposExportados()
{
    using Tipo = catalogue::Campo::Tipo;
    QList<CampoExportado> exportados;
    for (const catalogue::Campo& campo : catalogue::Schema::tracos().campos) {
        if (campo.tipo == Tipo::Chave || campo.tipo == Tipo::Versao || campo.nome == QLatin1String("CodigoTraco"))
            continue;
        if (const CampoDeProduto* produto = produtoDaColuna(campo.nome)) {
            exportados.append({campo.nome, true, {QLatin1String(produto->nome), Coluna::Tipo::Texto}});
            continue;
        }
        const Coluna::Tipo tipo = campo.tipo == Tipo::Logico    ? Coluna::Tipo::Logico
                                  : campo.tipo == Tipo::Inteiro ? Coluna::Tipo::Inteiro
                                  : campo.tipo == Tipo::Real    ? Coluna::Tipo::Real
                                                                : Coluna::Tipo::Texto;
        exportados.append({campo.nome, false, {campo.nome, tipo}});
    }
    return exportados;
}

// Writes the mixes of the catalogue, in its order, to the file; the file is replaced only once it is whole.
// False, with the message on stderr, when the file cannot be written.
bool exporta(platform::Database& banco, const Pedido& pedido)
{
    const catalogue::TabelaProdutos tabela(banco);
    const catalogue::ProdutosLembrados produtos(tabela);
    const QList<CampoExportado> exportados = camposExportados();
    QList<Coluna> colunas;
    for (const CampoExportado& exportado : exportados)
        colunas.append(exportado.coluna);

    QSaveFile arquivo(pedido.arquivo);
    if (!arquivo.open(QIODevice::WriteOnly)) {
        erro(QStringLiteral("Não foi possível gravar o arquivo %1 (%2).").arg(pedido.arquivo, arquivo.errorString()));
        return false;
    }
    const std::unique_ptr<Formato> formato = pedido.formato->cria();
    formato->comeca(arquivo, colunas);

    const catalogue::Consulta consulta =
        pedido.soEmUso ? catalogue::Consultas::emUso(banco) : catalogue::Consultas::catalogo(banco);
    QSqlQuery q = banco.exec(consulta.sql, consulta.valores);
    const QSqlRecord registro = q.record();
    QList<int> indices;
    for (const CampoExportado& exportado : exportados)
        indices.append(registro.indexOf(exportado.campo));
    while (q.next()) {
        QVariantList valores;
        for (qsizetype i = 0; i < exportados.size(); ++i) {
            const QVariant valor = indices[i] < 0 ? QVariant() : q.value(indices[i]);
            if (!exportados[i].produto) {
                valores.append(valor);
                continue;
            }
            // No product (code 0), or one no longer in the table: the mix names none.
            const std::optional<calc::ProductInfo> produto =
                valor.isNull() ? std::nullopt : produtos.findByCode(valor.toLongLong());
            valores.append(produto ? produto->name : QString());
        }
        formato->linha(arquivo, valores);
    }
    formato->termina(arquivo);
    if (!arquivo.commit()) {
        erro(QStringLiteral("Não foi possível gravar o arquivo %1 (%2).").arg(pedido.arquivo, arquivo.errorString()));
        return false;
    }
    return true;
}

} // namespace

int exportar(const QStringList& argumentos)
{
    const std::optional<Pedido> pedido = lePedido(argumentos);
    if (!pedido)
        return kEntradaInvalida;
    platform::Database banco(QStringLiteral("quenvar-cli"));
    if (!abreBanco(banco, pedido->pasta))
        return kEntradaInvalida;
    try {
        if (!exporta(banco, *pedido))
            return kEntradaInvalida;
    } catch (const platform::DbError& falha) {
        erro(QStringLiteral("Não foi possível ler os traços em %1 (erro %2: %3).")
                 .arg(banco.caminho())
                 .arg(falha.numero())
                 .arg(falha.descricao()));
        return kEntradaInvalida;
    }
    return kSucesso;
}

} // namespace cli
