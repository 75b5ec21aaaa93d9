#include "leopcoes.h"
#include "subcomandos.h"
#include "tracodapasta.h"

#include "catalogue/consultas.h"
#include "platform/database.h"
#include "printing/comparacao.h"
#include "printing/documento.h"
#include "printing/ficha.h"
#include "printing/folhadacomparacao.h"
#include "printing/saida.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QSqlQuery>
#include <QTextStream>

#include <optional>

namespace cli {

namespace {

const QString kUso = QStringLiteral(
    "Uso: quenvar-cli comparar PASTA --traco NOME [--variante N] --traco NOME [--variante N] ... [--pdf ARQUIVO]");

struct Pedido
{
    QString pasta;
    QList<TracoPedido> tracos;
    QString pdf;
};

// The value of an option given as "--nome VALOR" or "--nome=VALOR" at argumentos[i]; `i` moves past it. Nothing when
// the argument is another one; an empty text when the value is missing.
std::optional<QString> valorDaOpcao(const QStringList& argumentos, qsizetype& i, const QString& nome)
{
    const QString& argumento = argumentos[i];
    if (argumento == nome)
        return ++i < argumentos.size() ? argumentos[i] : QString();
    if (argumento.startsWith(nome + QLatin1Char('=')))
        return argumento.mid(nome.size() + 1);
    return std::nullopt;
}

std::optional<Pedido> lePedido(const QStringList& argumentos)
{
    QStringList resto = argumentos;
    Pedido pedido;
    if (!tiraOpcao(resto, QStringLiteral("--pdf"), pedido.pdf, kUso))
        return std::nullopt;
    // Each --variante belongs to the --traco before it.
    QStringList outros;
    for (qsizetype i = 0; i < resto.size(); ++i) {
        if (const std::optional<QString> nome = valorDaOpcao(resto, i, QStringLiteral("--traco"))) {
            if (nome->trimmed().isEmpty()) {
                erro(QStringLiteral("A opção --traco pede o nome do traço.\n") + kUso);
                return std::nullopt;
            }
            pedido.tracos.append(TracoPedido{*nome, std::nullopt});
        } else if (const std::optional<QString> variante = valorDaOpcao(resto, i, QStringLiteral("--variante"))) {
            if (pedido.tracos.isEmpty() || pedido.tracos.last().variante) {
                erro(QStringLiteral("Cada --variante vem logo depois do --traco a que se refere.\n") + kUso);
                return std::nullopt;
            }
            if (!leVariante(*variante, pedido.tracos.last().variante))
                return std::nullopt;
        } else {
            outros.append(resto[i]);
        }
    }
    if (!lePasta(outros, pedido.pasta, kUso))
        return std::nullopt;
    const QString aviso = printing::Comparacao::avisoDeQuantidade(int(pedido.tracos.size()));
    if (!aviso.isEmpty()) {
        erro(aviso +
             QStringLiteral(" Informe de %1 a %2 vezes --traco.\n")
                 .arg(printing::Comparacao::kMinimo)
                 .arg(printing::Comparacao::kMaximo) +
             kUso);
        return std::nullopt;
    }
    return pedido;
}

// The key of the mix asked for: its variant, or else the name's variant in use, or else its first. A name is matched
// as typed, then without blanks around it. Nothing, with the message, when there is no such mix.
std::optional<qint64> codigoDoTraco(platform::Database& banco, const TracoPedido& traco, const QString& pasta)
{
    for (const QString& nome : {traco.nome, traco.nome.trimmed()}) {
        const catalogue::Consulta consulta = catalogue::Consultas::variantesParaComparar(nome);
        QSqlQuery q = banco.exec(consulta.sql, consulta.valores);
        bool temNome = false;
        while (q.next()) {
            temNome = true;
            if (!traco.variante || q.value(1).toInt() == *traco.variante)
                return q.value(0).toLongLong();
        }
        if (temNome) {
            erro(QStringLiteral("O traço \"%1\" não tem a variante %2 em %3.")
                     .arg(traco.nome)
                     .arg(*traco.variante, 2, 10, QLatin1Char('0'))
                     .arg(pasta));
            return std::nullopt;
        }
    }
    erro(QStringLiteral("O traço \"%1\" não existe em %2.").arg(traco.nome, pasta));
    return std::nullopt;
}

QJsonValue numero(const std::optional<double>& valor)
{
    return valor ? QJsonValue(*valor) : QJsonValue(QJsonValue::Null);
}

// Each mix with its figures and texts by key, and from the second on its differences to the first.
QJsonObject comoJson(const printing::Comparacao& c)
{
    using Tipo = printing::LinhaDaComparacao::Tipo;
    QJsonArray tracos;
    for (qsizetype i = 0; i < c.tracos().size(); ++i) {
        const printing::TracoComparado& t = c.tracos()[i];
        QJsonObject valores;
        QJsonObject textos;
        QJsonObject diferencas;
        for (const printing::LinhaDaComparacao& linha : c.linhas()) {
            if (linha.tipo == Tipo::Secao)
                continue;
            textos.insert(linha.chave, linha.textos[i]);
            if (linha.tipo == Tipo::Texto) {
                valores.insert(linha.chave, linha.textos[i]);
                continue;
            }
            valores.insert(linha.chave, numero(linha.valores[i]));
            if (i > 0)
                diferencas.insert(linha.chave, QJsonObject{{"absoluta", numero(linha.diferencas[i])},
                                                           {"percentual", numero(linha.percentuais[i])},
                                                           {"texto", linha.textosDasDiferencas[i]},
                                                           {"textoPercentual", linha.textosDosPercentuais[i]}});
        }
        QJsonObject traco{{"Codigo", t.codigo}, {"NomeTraco", t.nome},  {"TracoVariante", t.variante},
                          {"Plantao", t.emUso}, {"titulo", t.titulo()}, {"valores", valores},
                          {"textos", textos}};
        if (i > 0)
            traco.insert(QStringLiteral("diferencas"), diferencas);
        tracos.append(traco);
    }
    return QJsonObject{{"empresa", c.empresa()}, {"tracos", tracos}};
}

} // namespace

int comparar(const QStringList& argumentos)
{
    const std::optional<Pedido> pedido = lePedido(argumentos);
    if (!pedido)
        return kEntradaInvalida;

    std::optional<printing::Comparacao> comparacao;
    const int lidos = comBanco(pedido->pasta, QStringLiteral("os traços"), [&](platform::Database& banco) {
        QList<qint64> codigos;
        for (const TracoPedido& traco : pedido->tracos) {
            const std::optional<qint64> codigo = codigoDoTraco(banco, traco, pedido->pasta);
            if (!codigo)
                return kEntradaInvalida;
            codigos.append(*codigo);
        }
        comparacao = printing::Comparacao::le(banco, codigos);
        return kSucesso;
    });
    if (lidos != kSucesso)
        return lidos;

    if (pedido->pdf.isEmpty()) {
        escreveObjeto(comoJson(*comparacao));
        return kSucesso;
    }
    printing::Documento folha;
    printing::ImprimeComparacao(folha, *comparacao, printing::logotipoDaPasta(pedido->pasta));
    QString falha;
    if (!printing::gravaPdf(folha, pedido->pdf, printing::Comparacao::legenda(), &falha)) {
        erro(falha);
        return kEntradaInvalida;
    }
    QTextStream(stdout)
        << QStringLiteral("Comparação de %1 traços gravada em %2").arg(comparacao->tracos().size()).arg(pedido->pdf)
        << Qt::endl;
    return kSucesso;
}

} // namespace cli
