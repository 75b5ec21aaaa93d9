#include "json.h"
#include "leopcoes.h"
#include "subcomandos.h"

#include "calc/calcstate.h"
#include "calc/consistencylimits.h"
#include "calc/dosage.h"
#include "calc/durability.h"
#include "calc/mixfields.h"
#include "calc/opcoes.h"
#include "calc/recalculo.h"
#include "calc/wizardanswers.h"
#include "catalogue/consultas.h"
#include "catalogue/tabelaprodutos.h"
#include "platform/database.h"
#include "printing/documento.h"
#include "printing/ficha.h"
#include "printing/saida.h"

#include <QJsonValue>
#include <QLocale>

namespace cli {

namespace {

using Presenca = LeitorCampos::Presenca;
using Faixa = LeitorCampos::Faixa;

const QString kUso = QStringLiteral("Uso: quenvar-cli dosar [--dados PASTA] [--pdf ARQUIVO] < respostas.json");

// The largest characteristic strength and slump the wizard's boxes take (three digits).
constexpr int kMaiorResistencia = 999;
constexpr int kMaiorAbatimento = 999;
// The middle entry of the ratio list, where opening the wizard puts it.
constexpr int kPosicaoDoMeio = 1;

// Fields the wizard does not work out; they are filled once the mix is priced and recalculated on the main window.
const QStringList kForaDoAssistente{QStringLiteral("PrecoCustoSemPerda"), QStringLiteral("PrecoCustoComPerda"),
                                    QStringLiteral("Perda"), QStringLiteral("Peso"), QStringLiteral("PesoTraco")};

// A number as the wizard's boxes hand it to the calculation, with a decimal point and every digit it needs.
QString caixa(double numero)
{
    return QString::number(numero, 'g', QLocale::FloatingPointShortest);
}

struct Pedido
{
    calc::WizardAnswers respostas;
    int posicaoRelacao = kPosicaoDoMeio;
    std::optional<double> pesoSaco;
    double maoDeObra = 0.0;
};

std::optional<Pedido> lePedido(LeitorCampos& leitor)
{
    Pedido pedido;
    calc::WizardAnswers& a = pedido.respostas;
    a.NomeTraco = leitor.texto(QStringLiteral("NomeTraco"), Presenca::Opcional).value_or(QString());
    if (const auto fck = leitor.inteiro(QStringLiteral("Resistencia"), Presenca::Obrigatorio, 1, kMaiorResistencia))
        a.Resistencia = QString::number(*fck);
    a.ClasseCimento = leitor.opcao(QStringLiteral("ClasseCimento"), Presenca::Obrigatorio, calc::Opcoes::classes())
                          .value_or(QString());
    a.PlastificanteOpcao = leitor.marca(QStringLiteral("PlastificanteOpcao"), Presenca::Opcional).value_or(false);
    // The reduction matters only with the superplasticiser ticked.
    if (const auto reducao =
            leitor.numero(QStringLiteral("PlastificanteCombo"),
                          a.PlastificanteOpcao ? Presenca::Obrigatorio : Presenca::Opcional, Faixa::Percentual))
        a.PlastificanteCombo = caixa(*reducao);
    a.OpcaoForma = leitor.inteiro(QStringLiteral("OpcaoForma"), Presenca::Obrigatorio, 0, 2).value_or(-1);
    if (const auto abatimento =
            leitor.inteiro(QStringLiteral("Abatimento"), Presenca::Obrigatorio, 0, kMaiorAbatimento))
        a.Abatimento = QString::number(*abatimento);
    const QStringList graudos{QStringLiteral("Pedrisco"), QStringLiteral("Pedra 0"), QStringLiteral("Pedra 1"),
                              QStringLiteral("Pedra 2")};
    a.AgregadoGraudo =
        leitor.opcao(QStringLiteral("AgregadoGraudo"), Presenca::Obrigatorio, graudos).value_or(QString());
    a.OpcaoTextura = leitor.inteiro(QStringLiteral("OpcaoTextura"), Presenca::Obrigatorio, 0, 2).value_or(-1);
    a.TipoConcreto = leitor.inteiro(QStringLiteral("TipoConcreto"), Presenca::Obrigatorio, 0, 3).value_or(-1);
    a.ClasseAgressividade = leitor
                                .inteiro(QStringLiteral("ClasseAgressividade"), Presenca::Opcional,
                                         calc::menorClasseAgressividade, calc::maiorClasseAgressividade)
                                .value_or(0);
    const QStringList estruturas{QStringLiteral("armado"), QStringLiteral("protendido")};
    a.Estrutura = int(estruturas.indexOf(
        leitor.opcao(QStringLiteral("Estrutura"), Presenca::Opcional, estruturas).value_or(estruturas.first())));
    pedido.posicaoRelacao =
        leitor.inteiro(QStringLiteral("RelacaoPosicao"), Presenca::Opcional, 0, 2).value_or(kPosicaoDoMeio);
    if (const auto massas = leitor.numeros(QStringLiteral("Texto"), Presenca::Obrigatorio, 6, Faixa::Positivo)) {
        for (std::size_t i = 0; i < a.Texto.size(); ++i)
            a.Texto[i] = caixa((*massas)[qsizetype(i)]);
    }
    if (const auto umidade = leitor.numero(QStringLiteral("UmidadeAreia"), Presenca::Opcional, Faixa::Percentual))
        a.UmidadeAreia = caixa(*umidade);
    pedido.pesoSaco = leitor.numero(QStringLiteral("PesoSaco"), Presenca::Opcional, Faixa::NaoNegativo);
    pedido.maoDeObra = leitor.numero(QStringLiteral("MaodeObra"), Presenca::Opcional, Faixa::NaoNegativo).value_or(0.0);
    if (!leitor.ok())
        return std::nullopt;
    return pedido;
}

// The company's consistency limits: the first row of Consistencias, or the usual limits when it has none.
calc::ConsistencyLimits limitesDoBanco(platform::Database& banco)
{
    QSqlQuery q = banco.exec(catalogue::Consultas::consistencias(banco).sql);
    if (!q.next())
        return {};
    return calc::ConsistencyLimits::fromTexts(q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                                              q.value(3).toString());
}

} // namespace

int dosar(const QStringList& argumentos)
{
    QStringList resto = argumentos;
    QString pdf;
    if (!tiraOpcao(resto, QStringLiteral("--pdf"), pdf, kUso))
        return kEntradaInvalida;
    const std::optional<Opcoes> opcoes = leOpcoes(resto, kUso);
    if (!opcoes)
        return kEntradaInvalida;
    const std::optional<QJsonObject> entrada = leObjetoDaEntrada();
    if (!entrada)
        return kEntradaInvalida;
    LeitorCampos leitor(*entrada);
    const std::optional<Pedido> pedido = lePedido(leitor);
    if (!pedido) {
        relataErros(leitor);
        return kEntradaInvalida;
    }

    platform::Database banco(QStringLiteral("quenvar-cli"));
    const bool comBanco = !opcoes->pastaDados.isEmpty();
    if (comBanco && !abreBanco(banco, opcoes->pastaDados))
        return kEntradaInvalida;

    const calc::WizardAnswers& respostas = pedido->respostas;
    calc::CalcState estado;
    calc::openWizard(estado, pedido->maoDeObra);
    std::optional<double> pesoSaco;
    try {
        calc::CalculaDosagem(estado, respostas, comBanco ? limitesDoBanco(banco) : calc::ConsistencyLimits{});
        // The bag is the one of the company's cement of the class; without one, the mass given in PesoSaco.
        if (comBanco) {
            const auto cimento = catalogue::TabelaProdutos(banco).findByName(estado.nomes[0]);
            if (cimento && cimento->weight > 0.0)
                pesoSaco = cimento->weight;
        }
    } catch (const platform::DbError& falha) {
        erro(QStringLiteral("Não foi possível ler %1 (erro %2: %3).")
                 .arg(banco.caminho())
                 .arg(falha.numero())
                 .arg(falha.descricao()));
        return kEntradaInvalida;
    }
    if (!pesoSaco && pedido->pesoSaco && *pedido->pesoSaco > 0.0)
        pesoSaco = pedido->pesoSaco;

    estado.posicaoRelacao[std::size_t(respostas.TipoConcreto)] = qint16(pedido->posicaoRelacao);
    if (!calc::CalculaQuantidades(estado, respostas, pesoSaco)) {
        if (!pdf.isEmpty()) {
            erro(
                QStringLiteral("A massa do saco de \"%1\" não é conhecida (nenhum produto com esse nome e peso, nenhum "
                               "PesoSaco): sem as quantidades por saco a ficha não foi gravada.")
                    .arg(estado.nomes[0]));
            return kEntradaInvalida;
        }
        erro(QStringLiteral("Aviso: a massa do saco de \"%1\" não é conhecida (nenhum produto com esse nome e peso, "
                            "nenhum PesoSaco); as quantidades por saco não foram calculadas.")
                 .arg(estado.nomes[0]));
    }
    calc::CalculaProporcoes(estado);

    // The sheet of the experimental mix, written before anything goes to stdout so that a failure writes nothing.
    if (!pdf.isEmpty()) {
        printing::Documento folha;
        const printing::EstadoImpressora impressora = printing::PreparaFolha(folha);
        const printing::OrigemDaFicha origem =
            printing::OrigemDaFicha::experimental(comBanco ? printing::logotipoDaPasta(opcoes->pastaDados) : QString());
        printing::ImprimeTraco(folha, impressora, estado, origem);
        QString falha;
        if (!printing::gravaPdf(folha, pdf, printing::tituloDaFicha(estado, origem), &falha)) {
            erro(falha);
            return kEntradaInvalida;
        }
    }

    QJsonObject saida;
    const QVariantMap campos = calc::toFields(estado);
    for (auto it = campos.cbegin(); it != campos.cend(); ++it) {
        if (!kForaDoAssistente.contains(it.key()))
            saida.insert(it.key(), QJsonValue::fromVariant(it.value()));
    }
    // With an aggressiveness class, its limits and whether the mix keeps each of them (the cement as per cubic
    // metre of the mix made).
    if (const auto limites = calc::limitesDurabilidade(estado.classeAgressividade, calc::Estrutura(estado.estrutura))) {
        const calc::AtendeDurabilidade atende = calc::atende(*limites, estado.wc, estado.fck, estado.Cm);
        saida.insert(QStringLiteral("Limites"), QJsonObject{{QStringLiteral("wcMax"), limites->wcMax},
                                                            {QStringLiteral("fckMin"), limites->fckMin},
                                                            {QStringLiteral("consumoMin"), limites->consumoMin}});
        saida.insert(QStringLiteral("Atende"), QJsonObject{{QStringLiteral("wcMax"), atende.wc},
                                                           {QStringLiteral("fckMin"), atende.fck},
                                                           {QStringLiteral("consumoMin"), atende.consumo}});
    }
    escreveObjeto(saida);
    return kSucesso;
}

} // namespace cli
