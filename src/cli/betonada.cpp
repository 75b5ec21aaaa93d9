#include "leopcoes.h"
#include "subcomandos.h"
#include "tracodapasta.h"

#include "calc/betonada.h"
#include "calc/numericentry.h"
#include "printing/documento.h"
#include "printing/ficha.h"
#include "printing/folhadabetonada.h"
#include "printing/saida.h"

#include <QJsonArray>
#include <QJsonObject>

#include <optional>

namespace cli {

namespace {

const QString kUso = QStringLiteral("Uso: quenvar-cli betonada PASTA --traco NOME [--variante N] --litros L "
                                    "[--volume M3] [--meio-saco] [--pdf ARQUIVO]");

struct Pedido
{
    QString pasta;
    TracoPedido traco;
    double litros = 0.0;
    std::optional<double> volume;
    bool meioSaco = false;
    QString pdf;
};

// A number as typed in the program's boxes (decimal comma or point); nothing, with the message, when it is not one.
std::optional<double> leNumero(const QString& texto, const QString& opcao)
{
    const std::optional<double> numero = calc::strictNumber(texto);
    if (!numero)
        erro(QStringLiteral("A opção %1 pede um número; veio \"%2\".\n").arg(opcao, texto) + kUso);
    return numero;
}

std::optional<Pedido> lePedido(const QStringList& argumentos)
{
    QStringList resto = argumentos;
    Pedido pedido;
    QString litros;
    QString volume;
    if (!tiraTraco(resto, QStringLiteral("--traco"), pedido.traco, kUso) ||
        !tiraOpcao(resto, QStringLiteral("--litros"), litros, kUso) ||
        !tiraOpcao(resto, QStringLiteral("--volume"), volume, kUso) ||
        !tiraOpcao(resto, QStringLiteral("--pdf"), pedido.pdf, kUso))
        return std::nullopt;
    pedido.meioSaco = resto.removeAll(QStringLiteral("--meio-saco")) > 0;
    if (!lePasta(resto, pedido.pasta, kUso))
        return std::nullopt;
    if (litros.isEmpty()) {
        erro(QStringLiteral("Informe a capacidade da betoneira, em litros de concreto, com --litros.\n") + kUso);
        return std::nullopt;
    }
    const std::optional<double> capacidade = leNumero(litros, QStringLiteral("--litros"));
    if (!capacidade)
        return std::nullopt;
    pedido.litros = *capacidade;
    if (!volume.isEmpty()) {
        pedido.volume = leNumero(volume, QStringLiteral("--volume"));
        if (!pedido.volume)
            return std::nullopt;
    }
    return pedido;
}

QJsonObject comoJson(const calc::CalcState& traco, const calc::Betonada& b)
{
    QJsonArray materiais;
    for (const calc::MaterialDaBetonada& m : b.materiais) {
        QJsonObject material{{"Nome", m.nome}, {"Quantidade", m.quantidade}, {"Unidade", m.unidade}};
        if (m.litros)
            material.insert(QStringLiteral("Litros"), *m.litros);
        if (m.tipo == calc::MaterialDaBetonada::Tipo::Cimento)
            material.insert(QStringLiteral("Sacos"), b.sacos);
        materiais.append(material);
    }
    QJsonObject objeto{{"Traco", traco.titulo},
                       {"Capacidade", b.capacidade},
                       {"PesoSaco", b.pesoSaco},
                       {"Sacos", b.sacos},
                       {"SacosPorExtenso", printing::textoDosSacos(b.sacos)},
                       {"LitrosPorBetonada", b.litrosPorBetonada},
                       {"Materiais", materiais}};
    if (b.volume && b.betonadas) {
        objeto.insert(QStringLiteral("Volume"), *b.volume);
        objeto.insert(QStringLiteral("Betonadas"), *b.betonadas);
    }
    return objeto;
}

} // namespace

int betonada(const QStringList& argumentos)
{
    const std::optional<Pedido> pedido = lePedido(argumentos);
    if (!pedido)
        return kEntradaInvalida;

    const std::optional<TracoDaPasta> traco = carregaTracoDaPasta(pedido->pasta, pedido->traco);
    if (!traco)
        return kEntradaInvalida;

    const double pesoSaco = traco->cimento ? traco->cimento->weight : 0.0;
    const calc::Betonada b =
        calc::CalculaBetonada(traco->estado, pesoSaco, pedido->litros, pedido->meioSaco, pedido->volume);
    if (b.falha != calc::FalhaDaBetonada::Nenhuma) {
        erro(printing::mensagemDaBetonada(b, traco->estado.nomes[0]));
        return kEntradaInvalida;
    }

    if (!pedido->pdf.isEmpty()) {
        printing::Documento folha;
        printing::ImprimeBetonada(folha, traco->estado, b, printing::logotipoDaPasta(pedido->pasta));
        QString falha;
        if (!printing::gravaPdf(folha, pedido->pdf, QStringLiteral("Betonada ") + traco->estado.titulo, &falha)) {
            erro(falha);
            return kEntradaInvalida;
        }
    }
    escreveObjeto(comoJson(traco->estado, b));
    return kSucesso;
}

} // namespace cli
