#include "comparacao.h"

#include "ficha.h"
#include "textodocampo.h"

#include "calc/calcstate.h"
#include "calc/carregatraco.h"
#include "calc/emissaoco2.h"
#include "calc/formats.h"
#include "catalogue/consultas.h"
#include "catalogue/tabelaprodutos.h"
#include "platform/database.h"
#include "platform/dberror.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <cmath>
#include <functional>

namespace printing {

namespace {

// A mix as its sheet shows it: the row as stored and the state CarregaTraco loads from it, and the CO2 of its
// materials by the products' factors.
struct Mistura
{
    QVariantMap linha;
    calc::CalcState estado;
    calc::EmissaoCO2 emissao;
};

// A figure of one mix: nothing when the mix has none, with the unit it is written in.
struct Figura
{
    std::optional<double> valor;
    QString unidade;
};

// How a row of figures is read and written.
struct Regra
{
    const char* chave;
    const char* rotulo;
    int casas;
    // A material: a quantity of 0 is not used (a blank), and against a mix that does not use it the difference is
    // taken against 0.
    bool material;
    std::function<Figura(const Mistura&)> figura;
    // The figure as the sheet writes it.
    std::function<QString(double valor, int casas)> escreve;
};

QString quantidadeDaFicha(double valor, int casas)
{
    return semZeroAEsquerda(valor, casas);
}

QString comCasas(double valor, int casas)
{
    return semGrupos().toString(valor, 'f', casas);
}

// A difference with its sign; one that rounds to nothing has none.
QString comSinal(double valor, int casas)
{
    const double escala = std::pow(10.0, casas);
    double arredondado = std::round(valor * escala) / escala;
    if (arredondado == 0.0)
        arredondado = 0.0; // no "-0,0"
    const QString texto = comCasas(arredondado, casas);
    return arredondado > 0.0 ? QLatin1Char('+') + texto : texto;
}

QString comUnidade(const QString& texto, const QString& unidade)
{
    return unidade.isEmpty() ? texto : texto + QLatin1Char(' ') + unidade;
}

std::optional<double> numeroDoCampo(const QVariant& valor)
{
    if (!valor.isValid() || valor.isNull())
        return std::nullopt;
    bool ok = false;
    const double numero = valor.toDouble(&ok);
    return ok && std::isfinite(numero) ? std::optional<double>(numero) : std::nullopt;
}

Figura quilos(double valor)
{
    return {valor, QStringLiteral("kg")};
}

Figura litros(double valor)
{
    return {valor, QStringLiteral("litros")};
}

const QList<Regra>& quantidades()
{
    static const QList<Regra> regras{
        {"Cimento", "Cimento", 1, false, [](const Mistura& m) { return quilos(m.estado.Cm); }, quantidadeDaFicha},
        {"AreiaFina", "Areia Fina", 1, true, [](const Mistura& m) { return quilos(m.estado.Sfm); }, quantidadeDaFicha},
        {"AreiaGrossa", "Areia Grossa", 1, true, [](const Mistura& m) { return quilos(m.estado.Scm); },
         quantidadeDaFicha},
        {"Graudo1", "Agregado Graúdo 1", 1, true, [](const Mistura& m) { return quilos(m.estado.G1m); },
         quantidadeDaFicha},
        {"Graudo2", "Agregado Graúdo 2", 1, true, [](const Mistura& m) { return quilos(m.estado.G2m); },
         quantidadeDaFicha},
        {"AditivoQde1", "Aditivo 1", 1, true,
         [](const Mistura& m) {
             return Figura{m.estado.A1m, m.estado.unidades[0]};
         },
         quantidadeDaFicha},
        {"AditivoQde2", "Aditivo 2", 1, true,
         [](const Mistura& m) {
             return Figura{m.estado.A2m, m.estado.unidades[1]};
         },
         quantidadeDaFicha},
        {"Agua", "Água Total", 1, false, [](const Mistura& m) { return litros(m.estado.W); }, quantidadeDaFicha},
        {"AguaAdic", "Água Adicional", 1, false, [](const Mistura& m) { return litros(m.estado.Wa); },
         quantidadeDaFicha},
    };
    return regras;
}

const QList<Regra>& caracteristicas()
{
    static const QList<Regra> regras{
        {"wc", "Relação água/cimento (a/c)", 2, false,
         [](const Mistura& m) {
             const calc::CalcState& s = m.estado;
             return Figura{s.Cm > 0.0 ? std::optional<double>(s.W / s.Cm) : std::nullopt, QString()};
         },
         [](double valor, int) { return calc::formatProportion(valor); }},
        // The sheet gives no strength below 11 MPa ("xx MPa").
        {"Resistencia", "Resistência característica (fck)", 0, false,
         [](const Mistura& m) {
             const qint16 fck = m.estado.fck;
             return Figura{fck >= 11 ? std::optional<double>(fck) : std::nullopt, QStringLiteral("MPa")};
         },
         comCasas},
        {"Abatimento", "Abatimento (slump)", 0, false,
         [](const Mistura& m) {
             return Figura{double(m.estado.abatimento), QStringLiteral("mm")};
         },
         comCasas},
    };
    return regras;
}

const QList<Regra>& custos()
{
    const auto campo = [](const char* nome) {
        return [nome](const Mistura& m) { return Figura{numeroDoCampo(m.linha.value(QLatin1String(nome))), {}}; };
    };
    static const QList<Regra> regras{
        {"PrecoCustoSemPerda", "Sem perdas", 2, false, campo("PrecoCustoSemPerda"), comCasas},
        {"PrecoCustoComPerda", "Com perdas", 2, false, campo("PrecoCustoComPerda"), comCasas},
    };
    return regras;
}

const Regra& emissao()
{
    static const Regra regra{
        "CO2",
        "CO₂ (kg CO₂e/m³)",
        1,
        false,
        [](const Mistura& m) {
            return Figura{m.emissao.calculavel ? std::optional<double>(m.emissao.kgCO2PorM3) : std::nullopt, QString()};
        },
        comCasas};
    return regra;
}

LinhaDaComparacao secao(const QString& titulo, int colunas)
{
    LinhaDaComparacao linha;
    linha.tipo = LinhaDaComparacao::Tipo::Secao;
    linha.rotulo = titulo;
    for (int i = 0; i < colunas; ++i)
        linha.textos.append(QString());
    return linha;
}

LinhaDaComparacao textos(const char* chave, const QString& rotulo, const QList<Mistura>& misturas,
                         const std::function<QString(const calc::CalcState&)>& texto)
{
    LinhaDaComparacao linha;
    linha.chave = QLatin1String(chave);
    linha.rotulo = rotulo;
    for (const Mistura& m : misturas)
        linha.textos.append(texto(m.estado).trimmed());
    return linha;
}

LinhaDaComparacao figuras(const Regra& regra, const QList<Mistura>& misturas)
{
    LinhaDaComparacao linha;
    linha.tipo = LinhaDaComparacao::Tipo::Numero;
    linha.chave = QLatin1String(regra.chave);
    linha.rotulo = QString::fromUtf8(regra.rotulo);
    QList<Figura> lidas;
    for (const Mistura& m : misturas) {
        Figura f = regra.figura(m);
        if (f.valor && (!std::isfinite(*f.valor) || (regra.material && *f.valor == 0.0)))
            f.valor.reset();
        lidas.append(f);
        linha.valores.append(f.valor);
        linha.textos.append(f.valor ? comUnidade(regra.escreve(*f.valor, regra.casas), f.unidade) : QString());
    }

    const Figura& base = lidas.first();
    for (qsizetype i = 0; i < lidas.size(); ++i) {
        const Figura& outra = lidas[i];
        std::optional<double> diferenca;
        std::optional<double> percentual;
        // Figures in different units (two admixtures measured otherwise) are not set against each other.
        const bool comparaveis = i > 0 && (base.unidade == outra.unidade || !base.valor || !outra.valor);
        if (comparaveis && (base.valor || outra.valor) && (regra.material || (base.valor && outra.valor))) {
            diferenca = outra.valor.value_or(0.0) - base.valor.value_or(0.0);
            if (base.valor && *base.valor != 0.0)
                percentual = *diferenca / std::abs(*base.valor) * 100.0;
        }
        linha.diferencas.append(diferenca);
        linha.percentuais.append(percentual);
        const QString unidade = base.valor ? base.unidade : outra.unidade;
        linha.textosDasDiferencas.append(diferenca ? comUnidade(comSinal(*diferenca, regra.casas), unidade)
                                                   : QString());
        linha.textosDosPercentuais.append(!diferenca   ? QString()
                                          : percentual ? comSinal(*percentual, 1) + QLatin1Char('%')
                                                       : QStringLiteral("—"));
    }
    return linha;
}

} // namespace

QString TracoComparado::titulo() const
{
    return nome.trimmed() + QStringLiteral(" - ") + calc::padded(variante, 2);
}

QString Comparacao::legenda()
{
    return QStringLiteral("Comparação de Traços");
}

QString Comparacao::avisoDeQuantidade(int quantidade)
{
    if (quantidade < kMinimo)
        return QStringLiteral("Escolha pelo menos %1 traços para comparar.").arg(kMinimo);
    if (quantidade > kMaximo)
        return QStringLiteral("Escolha no máximo %1 traços para comparar; foram escolhidos %2.")
            .arg(kMaximo)
            .arg(quantidade);
    return QString();
}

Comparacao Comparacao::le(platform::Database& banco, const QList<qint64>& codigos)
{
    QList<QVariantMap> linhas;
    for (const qint64 codigo : codigos) {
        const catalogue::Consulta consulta = catalogue::Consultas::linhaDoTraco(codigo);
        QSqlQuery q = banco.exec(consulta.sql, consulta.valores);
        if (!q.next())
            throw platform::DbError(platform::RegistroExcluido,
                                    QStringLiteral("Um dos traços escolhidos foi excluído em outra estação."));
        const QSqlRecord registro = q.record();
        QVariantMap linha;
        for (int i = 0; i < registro.count(); ++i)
            linha.insert(registro.fieldName(i), registro.value(i));
        linhas.append(linha);
    }
    const catalogue::TabelaProdutos produtos(banco);
    Comparacao comparacao = deLinhas(linhas, &produtos);
    comparacao.m_empresa = banco.scalar(catalogue::Consultas::nomeDaEmpresa(banco).sql).toString().trimmed();
    return comparacao;
}

Comparacao Comparacao::deLinhas(const QList<QVariantMap>& linhas, const calc::ProductTable* produtos)
{
    Comparacao c;
    QList<Mistura> misturas;
    for (const QVariantMap& linha : linhas) {
        Mistura m{linha, {}, {}};
        calc::CarregaTraco(m.estado, linha, produtos);
        if (produtos)
            m.emissao = calc::emissaoCO2(m.estado, *produtos);
        misturas.append(m);
        c.m_tracos.append(TracoComparado{
            linha.value(QStringLiteral("Codigo")).toLongLong(), linha.value(QStringLiteral("NomeTraco")).toString(),
            linha.value(QStringLiteral("TracoVariante")).toInt(), linha.value(QStringLiteral("Plantao")).toBool()});
    }
    if (misturas.isEmpty())
        return c;
    const int colunas = int(misturas.size());

    c.m_linhas.append(secao(QStringLiteral("Produtos"), colunas));
    const struct
    {
        const char* chave;
        const char* rotulo;
        std::size_t indice;
    } produtosDoTraco[] = {{"NomeCimento", "Cimento", 0},
                           {"NomeGraudo1", "Agregado Graúdo 1", 3},
                           {"NomeGraudo2", "Agregado Graúdo 2", 4},
                           {"NomeAditivo1", "Aditivo 1", 5},
                           {"NomeAditivo2", "Aditivo 2", 6}};
    for (const auto& p : produtosDoTraco) {
        const std::size_t indice = p.indice;
        c.m_linhas.append(textos(p.chave, QString::fromUtf8(p.rotulo), misturas,
                                 [indice](const calc::CalcState& s) { return s.nomes[indice]; }));
    }

    const auto grupo = [&](const QString& titulo, const QList<Regra>& regras) {
        c.m_linhas.append(secao(titulo, colunas));
        for (const Regra& regra : regras)
            c.m_linhas.append(figuras(regra, misturas));
    };
    grupo(QStringLiteral("Quantidades por metro cúbico"), quantidades());
    grupo(QStringLiteral("Características"), caracteristicas());

    c.m_linhas.append(secao(QStringLiteral("Proporções"), colunas));
    c.m_linhas.append(textos("PropMassa", QStringLiteral("Em massa"), misturas,
                             [](const calc::CalcState& s) { return s.propMassa; }));
    c.m_linhas.append(textos("PropVolume", QStringLiteral("Em volume"), misturas,
                             [](const calc::CalcState& s) { return s.propVolume; }));

    grupo(QStringLiteral("Custo do metro cúbico"), custos());
    // A total that leaves out the products without a factor says so beside its figure.
    c.m_linhas.append(secao(QStringLiteral("Emissão de CO₂ dos materiais"), colunas));
    LinhaDaComparacao co2 = figuras(emissao(), misturas);
    for (int i = 0; i < colunas; ++i) {
        if (misturas[i].emissao.calculavel && !misturas[i].emissao.semFator.isEmpty())
            co2.textos[i] += QStringLiteral(" (parcial)");
    }
    c.m_linhas.append(co2);
    return c;
}

const LinhaDaComparacao* Comparacao::linha(const QString& chave) const
{
    for (const LinhaDaComparacao& l : m_linhas) {
        if (l.chave == chave && l.tipo != LinhaDaComparacao::Tipo::Secao)
            return &l;
    }
    return nullptr;
}

} // namespace printing
