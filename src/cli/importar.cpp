#include "json.h"
#include "leopcoes.h"
#include "subcomandos.h"
#include "tracojson.h"

#include "calc/calcstate.h"
#include "calc/carregatraco.h"
#include "calc/recalculo.h"
#include "catalogue/camposdotraco.h"
#include "catalogue/catalogo.h"
#include "catalogue/schema.h"
#include "catalogue/tabelaprodutos.h"
#include "platform/database.h"
#include "platform/transaction.h"

#include <QDate>
#include <QFile>
#include <QTextStream>

namespace cli {

namespace {

using Presenca = LeitorCampos::Presenca;

const QString kUso = QStringLiteral("Uso: quenvar-cli importar PASTA ARQUIVO");

// A mix of the file, read and recalculated, ready to be written.
struct TracoLido
{
    QString rotulo; // how the messages name it: its place in the file and its name
    catalogue::TracoAGravar traco;
};

QString rotuloDo(qsizetype posicao, const QJsonValue& valor)
{
    const QString nome = valor.toObject().value(QStringLiteral("NomeTraco")).toString().trimmed();
    return nome.isEmpty() ? QStringLiteral("Traço %1").arg(posicao + 1)
                          : QStringLiteral("Traço %1 (%2)").arg(QString::number(posicao + 1), nome);
}

// A date as the program stores it, dd-mm-yyyy; a blank or missing date is empty, as a blank box is.
std::optional<QString> data(LeitorCampos& leitor, const QString& campo)
{
    const QString texto = leitor.texto(campo, Presenca::Opcional).value_or(QString()).trimmed();
    if (texto.isEmpty() || QDate::fromString(texto, QStringLiteral("dd-MM-yyyy")).isValid())
        return texto;
    leitor.erro(QStringLiteral("O campo %1 deve ser uma data dd-mm-aaaa; veio \"%2\".").arg(campo, texto));
    return std::nullopt;
}

// One mix of the file as the program would write it: its inputs read as recalcular reads them, its products found
// in the destination, every result recomputed with the destination's prices. Nothing, with every mistake in the
// reader, when the mix cannot be taken.
std::optional<catalogue::TracoAGravar> leTraco(LeitorCampos& leitor, const calc::ProductTable& produtos)
{
    catalogue::TracoAGravar traco;
    const std::optional<QString> nome = leitor.texto(QStringLiteral("NomeTraco"), Presenca::Obrigatorio);
    traco.nome = nome.value_or(QString()).trimmed();
    const int tamanho = catalogue::Schema::tracos().campo(QStringLiteral("NomeTraco"))->tamanho;
    if (nome && traco.nome.isEmpty())
        leitor.erro(QStringLiteral("O campo obrigatório NomeTraco está em branco."));
    else if (traco.nome.size() > tamanho)
        leitor.erro(
            QStringLiteral("O nome do traço tem %1 caracteres; use no máximo %2.").arg(traco.nome.size()).arg(tamanho));
    traco.emUso = leitor.marca(QStringLiteral("Plantao"), Presenca::Opcional).value_or(false);
    const std::optional<QString> cadastro = data(leitor, QStringLiteral("DataCadastro"));
    const std::optional<QString> cotacao = data(leitor, QStringLiteral("DataCotacao"));

    std::optional<QVariantMap> linha = linhaDoTraco(leitor);
    if (!linha)
        return std::nullopt;
    // The codes in the file are another company's: the products are found by name.
    for (const CampoDeProduto& campo : kCamposDeProduto) {
        linha->remove(QLatin1String(campo.codigo));
        const QString produto = linha->value(QLatin1String(campo.nome)).toString();
        if (!produto.trimmed().isEmpty() && !produtos.findByName(produto))
            leitor.erro(QStringLiteral("O produto \"%1\" (%2) não está cadastrado nos dados de destino.")
                            .arg(produto, QLatin1String(campo.nome)));
    }
    if (!leitor.ok())
        return std::nullopt;

    calc::CalcState estado;
    calc::CarregaTraco(estado, *linha, &produtos);
    calc::ReCalculo(estado, &produtos);
    // The program does not store a mix without cement.
    if (!(estado.porTraco()[0] > 0.0)) {
        leitor.erro(QStringLiteral("O traço não tem cimento (TracoCimento)."));
        return std::nullopt;
    }
    traco.campos = catalogue::CamposDoTraco(estado, produtos);
    traco.campos.insert(QStringLiteral("DataCadastro"), *cadastro);
    traco.campos.insert(QStringLiteral("DataCotacao"), *cotacao);
    // A mix saved by the program is not marked as brought up to date by the price list.
    traco.campos.insert(QStringLiteral("Atualizado"), false);
    return traco;
}

// Every mix of the list, or nothing with every mistake of every mix in `problemas`.
std::optional<QList<TracoLido>> leTracos(const QJsonArray& lista, const calc::ProductTable& produtos,
                                         QStringList& problemas)
{
    QList<TracoLido> tracos;
    for (qsizetype i = 0; i < lista.size(); ++i) {
        const QString rotulo = rotuloDo(i, lista[i]);
        if (!lista[i].isObject()) {
            problemas.append(QStringLiteral("%1: deve ser um objeto JSON; veio %2.").arg(rotulo, descreve(lista[i])));
            continue;
        }
        LeitorCampos leitor(lista[i].toObject());
        const std::optional<catalogue::TracoAGravar> traco = leTraco(leitor, produtos);
        // The name is read both as the catalogue's key and as a field of the mix: a mistake in it is told once.
        QStringList erros = leitor.erros();
        erros.removeDuplicates();
        for (const QString& mensagem : std::as_const(erros))
            problemas.append(rotulo + QStringLiteral(": ") + mensagem);
        if (traco)
            tracos.append({rotulo, *traco});
    }
    if (!problemas.isEmpty())
        return std::nullopt;
    return tracos;
}

// Writes the mixes by the catalogue's rules, all or none. A new name is the name's variant 00 and its mix in use;
// a name the catalogue has takes its next variant, in use when the file says so, the name's mix in use then losing
// the mark. False, with every refused write in `problemas`, when nothing was written.
bool grava(platform::Database& banco, const QList<TracoLido>& tracos, QStringList& problemas)
{
    catalogue::Catalogo catalogo(banco);
    platform::Transaction transacao(banco);
    catalogo.leNomes();
    for (const TracoLido& lido : tracos) {
        // Each write is a part of the whole that is undone alone, so that every refusal is found and told.
        try {
            catalogue::TracoAGravar traco = lido.traco;
            traco.emUso = traco.emUso || !catalogo.nomeGravado(traco.nome);
            catalogo.insere(traco);
        } catch (const platform::DbError& falha) {
            // The label goes in with the other values at once: a "%" in a mix's name is not taken for a marker.
            problemas.append(QStringLiteral("%1: a gravação foi recusada (erro %2: %3).")
                                 .arg(lido.rotulo, QString::number(falha.numero()), falha.descricao()));
        }
    }
    if (!problemas.isEmpty())
        return false;
    transacao.commit();
    return true;
}

} // namespace

int importar(const QStringList& argumentos)
{
    QStringList posicionais;
    for (const QString& argumento : argumentos) {
        if (argumento.startsWith(QLatin1String("--"))) {
            erro(QStringLiteral("Opção desconhecida: %1\n").arg(argumento) + kUso);
            return kEntradaInvalida;
        }
        posicionais.append(argumento);
    }
    if (posicionais.size() != 2 || posicionais[0].trimmed().isEmpty() || posicionais[1].trimmed().isEmpty()) {
        erro(QStringLiteral("Informe a pasta de dados e o arquivo dos traços.\n") + kUso);
        return kEntradaInvalida;
    }
    const QString& pasta = posicionais[0];
    const QString& nomeArquivo = posicionais[1];

    QFile arquivo(nomeArquivo);
    if (!arquivo.open(QIODevice::ReadOnly)) {
        erro(QStringLiteral("Não foi possível ler o arquivo %1 (%2).").arg(nomeArquivo, arquivo.errorString()));
        return kEntradaInvalida;
    }
    QString mensagem;
    const std::optional<QJsonArray> lista = listaJson(arquivo.readAll(), nomeArquivo, mensagem);
    if (!lista) {
        erro(mensagem);
        return kEntradaInvalida;
    }

    platform::Database banco(QStringLiteral("quenvar-cli"));
    if (!abreBanco(banco, pasta))
        return kEntradaInvalida;
    QStringList problemas;
    try {
        const catalogue::TabelaProdutos tabela(banco);
        const catalogue::ProdutosLembrados produtos(tabela);
        const std::optional<QList<TracoLido>> tracos = leTracos(*lista, produtos, problemas);
        if (tracos && grava(banco, *tracos, problemas)) {
            QTextStream(stdout) << (tracos->size() == 1 ? QStringLiteral("1 traço importado")
                                                        : QStringLiteral("%1 traços importados").arg(tracos->size()))
                                << Qt::endl;
            return kSucesso;
        }
    } catch (const platform::DbError& falha) {
        problemas.append(QStringLiteral("Não foi possível importar os traços em %1 (erro %2: %3).")
                             .arg(banco.caminho())
                             .arg(falha.numero())
                             .arg(falha.descricao()));
    }
    for (const QString& problema : std::as_const(problemas))
        erro(problema);
    return kEntradaInvalida;
}

} // namespace cli
