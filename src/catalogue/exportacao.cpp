#include "exportacao.h"

#include "camposdotraco.h"
#include "consultas.h"
#include "formatodeexportacao.h"
#include "schema.h"
#include "tabelaprodutos.h"

#include "calc/calcstate.h"
#include "calc/carregatraco.h"
#include "calc/emissaoco2.h"
#include "platform/database.h"
#include "platform/recordset.h"

#include <QDate>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QSqlQuery>

#include <algorithm>

namespace catalogue {

namespace {

// Rows read in one statement: a writer at another workstation waits at most this long.
constexpr int kLinhasPorLeitura = 200;

using Tipo = ColunaExportada::Tipo;

// A row of the catalogue as the columns read it: its fields by name and, for the spreadsheet, the mix loaded as the
// sheet and the report load it (per cubic metre masses whichever way the batch is measured, the proportions).
struct LinhaLida
{
    const QSqlRecord* registro = nullptr;
    const QHash<QString, int>* indices = nullptr;
    calc::CalcState estado;
    calc::EmissaoCO2 emissao;

    QVariant campo(const QString& nome) const
    {
        const auto it = indices->constFind(nome);
        return it == indices->cend() ? QVariant() : registro->value(*it);
    }
};

// A date kept as text ("dd-mm-aaaa") as a date; a text that is no date stays as it is, an empty one is Null.
QVariant data(const QVariant& guardada)
{
    const QString texto = guardada.toString().trimmed();
    if (guardada.isNull() || texto.isEmpty())
        return QVariant();
    for (const char* formato : {"dd-MM-yyyy", "d-M-yyyy", "dd/MM/yyyy", "d/M/yyyy", "yyyy-MM-dd"}) {
        const QDate dia = QDate::fromString(texto, QLatin1String(formato));
        if (dia.isValid())
            return dia;
    }
    return texto;
}

QVariant inteiroDoTexto(const QVariant& guardado)
{
    bool ok = false;
    const int valor = guardado.toString().trimmed().toInt(&ok);
    return ok ? QVariant(valor) : QVariant();
}

// The kg CO2e per m³ of the materials, empty when no product of the mix has a factor; and the products used
// without one (a list in JSON), while any is named the figure is partial.
const std::array<ColunaExportada, 2>& colunasDeCO2()
{
    static const std::array<ColunaExportada, 2> colunas{
        ColunaExportada{QStringLiteral("CO2"), Tipo::Real, "#,##0.0", 10},
        ColunaExportada{QStringLiteral("SemFatorCO2"), Tipo::Texto, nullptr, 24}};
    return colunas;
}

QVariant co2(const LinhaLida& l)
{
    return l.emissao.calculavel ? QVariant(l.emissao.kgCO2PorM3) : QVariant();
}

struct ColunaDaPlanilha
{
    ColunaExportada coluna;
    QVariant (*valor)(const LinhaLida&);
};

QVariant nome(const QString& texto)
{
    return texto.trimmed();
}

// The spreadsheet's columns: what a reader compares mixes by, in readable Portuguese with the units in the names.
const QList<ColunaDaPlanilha>& colunasDaPlanilha()
{
    using L = const LinhaLida&;
    static const QList<ColunaDaPlanilha> colunas{
        {{QStringLiteral("Traço"), Tipo::Texto, nullptr, 30}, [](L l) { return l.campo(QStringLiteral("NomeTraco")); }},
        {{QStringLiteral("Variante"), Tipo::Inteiro, "0", 9},
         [](L l) { return l.campo(QStringLiteral("TracoVariante")); }},
        {{QStringLiteral("Em uso"), Tipo::SimNao, nullptr, 8}, [](L l) { return l.campo(QStringLiteral("Plantao")); }},
        {{QStringLiteral("Cadastro"), Tipo::Data, nullptr, 11},
         [](L l) { return data(l.campo(QStringLiteral("DataCadastro"))); }},
        {{QStringLiteral("Cotação"), Tipo::Data, nullptr, 11},
         [](L l) { return data(l.campo(QStringLiteral("DataCotacao"))); }},
        {{QStringLiteral("Resistência (MPa)"), Tipo::Inteiro, "0", 11},
         [](L l) { return l.campo(QStringLiteral("Resistencia")); }},
        {{QStringLiteral("Abatimento (mm)"), Tipo::Inteiro, "0", 11},
         [](L l) { return inteiroDoTexto(l.campo(QStringLiteral("Fator"))); }},
        {{QStringLiteral("Classe do cimento"), Tipo::Texto, nullptr, 9}, [](L l) { return nome(l.estado.classe); }},
        {{QStringLiteral("Cimento"), Tipo::Texto, nullptr, 20}, [](L l) { return nome(l.estado.nomes[0]); }},
        {{QStringLiteral("Cimento (kg/m³)"), Tipo::Real, "#,##0.0", 11}, [](L l) { return QVariant(l.estado.Cm); }},
        {{QStringLiteral("Areia fina (kg/m³)"), Tipo::Real, "#,##0.0", 11}, [](L l) { return QVariant(l.estado.Sfm); }},
        {{QStringLiteral("Areia grossa (kg/m³)"), Tipo::Real, "#,##0.0", 11},
         [](L l) { return QVariant(l.estado.Scm); }},
        {{QStringLiteral("Graúdo 1"), Tipo::Texto, nullptr, 16}, [](L l) { return nome(l.estado.nomes[3]); }},
        {{QStringLiteral("Graúdo 1 (kg/m³)"), Tipo::Real, "#,##0.0", 11}, [](L l) { return QVariant(l.estado.G1m); }},
        {{QStringLiteral("Graúdo 2"), Tipo::Texto, nullptr, 16}, [](L l) { return nome(l.estado.nomes[4]); }},
        {{QStringLiteral("Graúdo 2 (kg/m³)"), Tipo::Real, "#,##0.0", 11}, [](L l) { return QVariant(l.estado.G2m); }},
        {{QStringLiteral("Aditivo 1"), Tipo::Texto, nullptr, 20}, [](L l) { return nome(l.estado.nomes[5]); }},
        {{QStringLiteral("Aditivo 1 (unidade)"), Tipo::Texto, nullptr, 9},
         [](L l) { return nome(l.estado.unidades[0]); }},
        {{QStringLiteral("Aditivo 1 (por m³)"), Tipo::Real, "#,##0.00", 11},
         [](L l) { return QVariant(l.estado.A1m); }},
        {{QStringLiteral("Aditivo 2"), Tipo::Texto, nullptr, 20}, [](L l) { return nome(l.estado.nomes[6]); }},
        {{QStringLiteral("Aditivo 2 (unidade)"), Tipo::Texto, nullptr, 9},
         [](L l) { return nome(l.estado.unidades[1]); }},
        {{QStringLiteral("Aditivo 2 (por m³)"), Tipo::Real, "#,##0.00", 11},
         [](L l) { return QVariant(l.estado.A2m); }},
        {{QStringLiteral("Água (l/m³)"), Tipo::Real, "#,##0.0", 11}, [](L l) { return QVariant(l.estado.W); }},
        {{QStringLiteral("Água adicional (l/m³)"), Tipo::Real, "#,##0.0", 11},
         [](L l) { return QVariant(l.estado.Wa); }},
        {{QStringLiteral("Mão de obra (hh/m³)"), Tipo::Real, "#,##0.00", 11},
         [](L l) { return QVariant(l.estado.Hm); }},
        {{QStringLiteral("Proporção em massa"), Tipo::Texto, nullptr, 20},
         [](L l) { return QVariant(l.estado.propMassa); }},
        {{QStringLiteral("Proporção em volume"), Tipo::Texto, nullptr, 20},
         [](L l) { return QVariant(l.estado.propVolume); }},
        // Water over cement by mass; nothing for a mix without cement.
        {{QStringLiteral("a/c"), Tipo::Real, "0.00", 7},
         [](L l) { return l.estado.Cm > 0.0 ? QVariant(l.estado.W / l.estado.Cm) : QVariant(); }},
        {{QStringLiteral("Perdas (%)"), Tipo::Real, "0.0", 9}, [](L l) { return l.campo(QStringLiteral("Perda")); }},
        {{QStringLiteral("Custo sem perdas (R$/m³)"), Tipo::Real, "#,##0.00", 13},
         [](L l) { return l.campo(QStringLiteral("PrecoCustoSemPerda")); }},
        {{QStringLiteral("Custo com perdas (R$/m³)"), Tipo::Real, "#,##0.00", 13},
         [](L l) { return l.campo(QStringLiteral("PrecoCustoComPerda")); }},
        {colunasDeCO2()[0], [](L l) { return co2(l); }},
        {colunasDeCO2()[1], [](L l) { return QVariant(l.emissao.semFator.join(QStringLiteral(", "))); }},
    };
    return colunas;
}

// A field of the Tracos row and the column of the file it goes to.
struct CampoGuardado
{
    QString campo;
    bool produto; // a product's code, written as the product's name
    ColunaExportada coluna;
};

// Every field of a mix but the catalogue's own keys and the count of its writes, which mean nothing elsewhere; the
// products by name, since codes are each company's own.
QList<CampoGuardado> camposGuardados()
{
    using TipoDoCampo = Campo::Tipo;
    QList<CampoGuardado> guardados;
    for (const Campo& campo : Schema::tracos().campos) {
        if (campo.tipo == TipoDoCampo::Chave || campo.tipo == TipoDoCampo::Versao ||
            campo.nome == QLatin1String("CodigoTraco"))
            continue;
        const auto produto = std::find_if(std::begin(kCamposDeProduto), std::end(kCamposDeProduto),
                                          [&campo](const CampoDeProduto& p) { return campo.nome == p.codigo; });
        if (produto != std::end(kCamposDeProduto)) {
            guardados.append({campo.nome, true, {QLatin1String(produto->nome), Tipo::Texto}});
            continue;
        }
        const Tipo tipo = campo.tipo == TipoDoCampo::Logico    ? Tipo::Logico
                          : campo.tipo == TipoDoCampo::Inteiro ? Tipo::Inteiro
                          : campo.tipo == TipoDoCampo::Real    ? Tipo::Real
                                                               : Tipo::Texto;
        guardados.append({campo.nome, false, {campo.nome, tipo}});
    }
    return guardados;
}

QList<PrecoExportado> listaDePrecos(platform::Database& banco)
{
    const Consulta consulta = Consultas::listaDePrecos(banco);
    QSqlQuery q = banco.exec(consulta.sql, consulta.valores);
    QList<PrecoExportado> precos;
    while (q.next())
        precos.append({q.value(0).toString().trimmed(), q.value(1).toString().trimmed(),
                       q.isNull(2) ? QVariant() : QVariant(q.value(2).toDouble()), data(q.value(3))});
    return precos;
}

std::unique_ptr<FormatoDeExportacao> criaFormato(Exportacao::Formato formato)
{
    switch (formato) {
    case Exportacao::Formato::Csv:
        return FormatoDeExportacao::csv();
    case Exportacao::Formato::Xlsx:
        return FormatoDeExportacao::xlsx();
    case Exportacao::Formato::Json:
        break;
    }
    return FormatoDeExportacao::json();
}

} // namespace

Exportacao::Exportacao(platform::Database& banco, Formato formato, bool soEmUso)
    : m_banco(banco), m_formato(formato), m_soEmUso(soEmUso)
{
}

std::optional<Exportacao::Formato> Exportacao::formatoDoArquivo(const QString& arquivo)
{
    const QString sufixo = QFileInfo(arquivo).suffix().toLower();
    for (const Formato formato : {Formato::Csv, Formato::Xlsx, Formato::Json}) {
        if (sufixo == extensao(formato))
            return formato;
    }
    return std::nullopt;
}

QString Exportacao::extensao(Formato formato)
{
    switch (formato) {
    case Formato::Csv:
        return QStringLiteral("csv");
    case Formato::Xlsx:
        return QStringLiteral("xlsx");
    case Formato::Json:
        break;
    }
    return QStringLiteral("json");
}

Exportacao::Resultado Exportacao::grava(const QString& arquivo, const Progresso& progresso)
{
    m_erro.clear();
    m_gravados = 0;
    const auto falhou = [this, &arquivo](const QString& motivo) {
        m_erro = QStringLiteral("Não foi possível gravar o arquivo %1 (%2).").arg(arquivo, motivo);
        return Resultado::Falhou;
    };

    const TabelaProdutos tabela(m_banco);
    const ProdutosLembrados produtos(tabela);
    const std::unique_ptr<FormatoDeExportacao> formato = criaFormato(m_formato);
    const bool planilha = formato->planilha();
    const QList<CampoGuardado> guardados = planilha ? QList<CampoGuardado>() : camposGuardados();
    QList<ColunaExportada> colunas;
    if (planilha) {
        for (const ColunaDaPlanilha& coluna : colunasDaPlanilha())
            colunas.append(coluna.coluna);
    } else {
        for (const CampoGuardado& guardado : guardados)
            colunas.append(guardado.coluna);
        colunas.append(colunasDeCO2()[0]);
        colunas.append(colunasDeCO2()[1]);
    }

    platform::RecordSet registros(m_banco);
    const Consulta consulta = m_soEmUso ? Consultas::emUso(m_banco) : Consultas::catalogo(m_banco);
    registros.setQuery(consulta.sql, consulta.valores);
    const int total = registros.recordCount();
    if (progresso && !progresso(0, total))
        return Resultado::Cancelado;

    QSaveFile saida(arquivo);
    if (!saida.open(QIODevice::WriteOnly))
        return falhou(saida.errorString());
    if (!formato->comeca(saida, colunas, planilha ? listaDePrecos(m_banco) : QList<PrecoExportado>()))
        return falhou(formato->erro());

    QHash<QString, int> indices;
    LinhaLida lida;
    lida.indices = &indices;
    for (int lote = 0; lote < total; lote += kLinhasPorLeitura) {
        const QVector<QSqlRecord> linhas = registros.linhas(lote, std::min(total, lote + kLinhasPorLeitura));
        for (const QSqlRecord& registro : linhas) {
            // A row deleted at another workstation since the keys were read is passed over.
            if (registro.isEmpty())
                continue;
            if (indices.isEmpty()) {
                for (int c = 0; c < registro.count(); ++c)
                    indices.insert(registro.fieldName(c), c);
            }
            lida.registro = &registro;
            QVariantList valores;
            // Each row in a state of its own: a field that cannot be read leaves nothing of the previous mix.
            lida.estado = calc::CalcState();
            calc::CarregaTraco(
                lida.estado, [&lida](const QString& nome) { return lida.campo(nome); }, &produtos);
            lida.emissao = calc::emissaoCO2(lida.estado, produtos);
            if (planilha) {
                for (const ColunaDaPlanilha& coluna : colunasDaPlanilha())
                    valores.append(coluna.valor(lida));
            } else {
                for (const CampoGuardado& guardado : guardados) {
                    const QVariant valor = lida.campo(guardado.campo);
                    if (!guardado.produto) {
                        valores.append(valor);
                        continue;
                    }
                    // No product (code 0), or one no longer in the table: the mix names none.
                    const std::optional<calc::ProductInfo> produto =
                        valor.isNull() ? std::nullopt : produtos.findByCode(valor.toLongLong());
                    valores.append(produto ? produto->name : QString());
                }
                valores.append(co2(lida));
                valores.append(lida.emissao.semFator);
            }
            if (!formato->linha(saida, valores))
                return falhou(formato->erro());
            ++m_gravados;
        }
        if (progresso && !progresso(std::min(total, lote + kLinhasPorLeitura), total)) {
            m_gravados = 0;
            return Resultado::Cancelado;
        }
    }
    if (!formato->termina(saida))
        return falhou(formato->erro());
    if (!saida.commit())
        return falhou(saida.errorString());
    return Resultado::Gravado;
}

} // namespace catalogue
