#include "cli/subcomandos.h"

#include <QGuiApplication>
#include <QLocale>
#include <QTextStream>

#include <cstdio>
#include <functional>
#include <map>

namespace cli {

void erro(const QString& mensagem)
{
    const QByteArray texto = mensagem.toUtf8() + '\n';
    std::fwrite(texto.constData(), 1, static_cast<size_t>(texto.size()), stderr);
}

} // namespace cli

namespace {

const char kUso[] =
    "Uso: quenvar-cli <subcomando> [argumentos]\n"
    "Subcomandos:\n"
    "  criar-dados PASTA [--servidor CONEXAO] [--demo]\n"
    "                               cria uma pasta de dados nova (com --demo, dados de exemplo); com\n"
    "                               --servidor, o banco de dados fica no servidor PostgreSQL da CONEXAO\n"
    "                               (\"postgresql://usuario@servidor:5432/empresa\" ou \"host=… dbname=…\"; a senha\n"
    "                               vem de ~/.pgpass ou PGPASSWORD) e a pasta recebe Dados/servidor.ini\n"
    "  migrar PASTA --servidor CONEXAO\n"
    "                               copia o banco de dados empresa.mdb de PASTA para o servidor, numa só\n"
    "                               transação, confere as linhas e só então grava Dados/servidor.ini; o\n"
    "                               arquivo .mdb fica intacto (para voltar, apague servidor.ini)\n"
    "  recalcular [--dados PASTA]   recalcula um traço: lê na entrada padrão um objeto JSON com os campos de\n"
    "                               Tracos (e NomeCimento, NomeGraudo1, NomeGraudo2, NomeAditivo1, NomeAditivo2)\n"
    "                               e escreve o mesmo objeto com os campos calculados e f, wc, fcj, Sd, W, Dmax;\n"
    "                               com --dados, os preços dos produtos de PASTA dão os custos e os fatores\n"
    "                               de emissão dão CO2 (kg CO2e/m³; null sem fator algum) e SemFatorCO2\n"
    "  dosar [--dados PASTA]        dosa um traço com as respostas do assistente (JSON na entrada padrão) e\n"
    "                               escreve W, fcj, wc, C, RelacaoProposta, Relacoes, alfa, n, f e o traço;\n"
    "                               com --dados, os limites de consistência vêm de PASTA (senão 150/90/50/20);\n"
    "                               a massa do saco é o peso do produto \"Cimento <classe>\" de PASTA ou, sem\n"
    "                               ele, PesoSaco; com --pdf ARQUIVO (dosar [--dados PASTA] --pdf ARQUIVO),\n"
    "                               grava também a ficha do traço experimental em PDF\n"
    "                               com \"ClasseAgressividade\" (1 a 4) e \"Estrutura\" (\"armado\" ou "
    "\"protendido\"),\n"
    "                               respeita a água/cimento máxima e o consumo mínimo de cimento da classe e\n"
    "                               escreve também Limites (wcMax, fckMin, consumoMin) e Atende (o mesmo, true\n"
    "                               ou false)\n"
    "  ficha PASTA --nome NOME [--variante N] --pdf ARQUIVO\n"
    "                               grava em PDF a ficha de um traço do catálogo de PASTA (sem --variante, a\n"
    "                               variante em uso do nome, ou a primeira)\n"
    "  relatorio PASTA --todos|--em-uso --pdf ARQUIVO\n"
    "                               grava em PDF o relatório de todos os traços de PASTA (--todos) ou dos\n"
    "                               traços em uso (--em-uso)\n"
    "  exportar PASTA --csv|--xlsx|--json ARQUIVO [--em-uso]\n"
    "                               grava em ARQUIVO, na ordem do catálogo, todos os traços de PASTA (ou só os\n"
    "                               em uso, com --em-uso). --csv: planilha em texto (UTF-8, \";\", vírgula\n"
    "                               decimal) com nome, datas, resistência, abatimento, produtos e quantidades por\n"
    "                               m³, proporções, a/c e custos; --xlsx: as mesmas colunas numa planilha Excel,\n"
    "                               com a lista de preços numa segunda folha; --json: uma lista com os campos de\n"
    "                               Tracos, os produtos pelo nome (NomeCimento, NomeGraudo1, …), como importar lê\n"
    "  importar PASTA ARQUIVO       grava em PASTA os traços de uma lista como a que exportar grava, recalculados\n"
    "                               com os produtos e preços de PASTA: um nome novo entra como variante 00 em uso,\n"
    "                               um nome que já existe ganha a próxima variante (em uso se \"Plantao\": true);\n"
    "                               ou todos os traços são gravados ou nenhum\n"
    "  recustear PASTA [--em-uso] [--pdf RELATORIO]\n"
    "                               recalcula os custos de todos os traços de PASTA (ou só dos em uso) com os\n"
    "                               preços atuais dos produtos, numa só transação, e data a cotação de hoje;\n"
    "                               um traço cujo produto está sem preço fica como estava e é listado; com\n"
    "                               --pdf, grava o relatório \"Atualização de Custos\" em RELATORIO\n"
    "  comparar PASTA --traco NOME [--variante N] --traco NOME [--variante N] ... [--pdf ARQUIVO]\n"
    "                               compara lado a lado de 2 a 4 traços de PASTA (sem --variante, a variante\n"
    "                               em uso do nome, ou a primeira), com as diferenças de cada um para o\n"
    "                               primeiro, na unidade e em porcentagem; escreve um objeto JSON (\"tracos\":\n"
    "                               valores, textos e diferencas de cada traço) ou, com --pdf, grava a página\n"
    "                               da comparação em PDF\n"
    "  betonada PASTA --traco NOME [--variante N] --litros L [--volume M3] [--meio-saco] [--pdf ARQUIVO]\n"
    "                               a betonada de um traço de PASTA numa betoneira de L litros de concreto, em\n"
    "                               sacos inteiros de cimento (com --meio-saco, de meio em meio saco; o saco\n"
    "                               pesa o Peso do cimento em Produtos): escreve um objeto JSON com Sacos,\n"
    "                               LitrosPorBetonada, Betonadas (para os M3 de --volume) e Materiais (Nome,\n"
    "                               Quantidade, Unidade; Litros dos materiais soltos e da água); com --pdf,\n"
    "                               grava também a folha da betonada para o operador da betoneira\n"
    "Números: um número JSON ou um texto como nas caixas do programa, com vírgula ou ponto decimal (\"2,61\"\n"
    "ou \"2.61\"); um texto em branco vale 0 num campo opcional. Códigos, abatimento e resistência são inteiros.\n"
    "Saída 0: feito. Saída 2: entrada ou opção inválida; a mensagem vai para a saída de erro e nada é escrito\n"
    "na saída padrão nem arquivo algum. Se dosar não conhece a massa do saco, avisa na saída de erro, sai com\n"
    "0 e deixa as quantidades por saco em zero; com --pdf, recusa-se (saída 2), pois a ficha não teria sentido.\n";

// Qt's own notices (a missing runtime folder, a font substituted) are not for the user of the command line, whose
// stderr carries only the program's messages; failures still get through.
void mensagemDoQt(QtMsgType tipo, const QMessageLogContext&, const QString& mensagem)
{
    if (tipo == QtCriticalMsg || tipo == QtFatalMsg)
        cli::erro(mensagem);
}

} // namespace

int main(int argc, char** argv)
{
    // The sheets are laid out with fonts, which need a graphical application; quenvar-cli never opens a window, so it
    // runs on the offscreen platform unless told otherwise, with or without a display.
    qInstallMessageHandler(mensagemDoQt);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication aplicacao(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    QStringList argumentos = QGuiApplication::arguments().mid(1);
    const std::map<QString, std::function<int(const QStringList&)>> subcomandos{
        {QStringLiteral("criar-dados"), cli::criarDados},
        {QStringLiteral("migrar"), cli::migrar},
        {QStringLiteral("recalcular"), cli::recalcular},
        {QStringLiteral("dosar"), cli::dosar},
        {QStringLiteral("ficha"), cli::ficha},
        {QStringLiteral("relatorio"), cli::relatorio},
        {QStringLiteral("exportar"), cli::exportar},
        {QStringLiteral("importar"), cli::importar},
        {QStringLiteral("recustear"), cli::recustear},
        {QStringLiteral("comparar"), cli::comparar},
        {QStringLiteral("betonada"), cli::betonada},
    };
    if (argumentos.isEmpty() || argumentos.first() == QLatin1String("--help") ||
        argumentos.first() == QLatin1String("-h")) {
        std::fputs(kUso, argumentos.isEmpty() ? stderr : stdout);
        return argumentos.isEmpty() ? cli::kEntradaInvalida : cli::kSucesso;
    }
    const auto it = subcomandos.find(argumentos.takeFirst());
    if (it == subcomandos.end()) {
        cli::erro(QStringLiteral("Subcomando desconhecido. ") + QString::fromUtf8(kUso));
        return cli::kEntradaInvalida;
    }
    return it->second(argumentos);
}
