#include "ficha.h"

#include "documento.h"
#include "textodocampo.h"

#include "calc/calcstate.h"
#include "calc/durability.h"
#include "calc/formats.h"
#include "calc/opcoes.h"
#include "calc/strength.h"
#include "platform/aplicacao.h"
#include "platform/clock.h"
#include "platform/paths.h"

#include <QDate>
#include <QDateTime>
#include <QFileInfo>
#include <QLocale>

#include <array>
#include <cmath>
#include <optional>

namespace printing {

namespace {

// Layout of the sheet, twips. Each section has a base line (its rule); its heading, column headings, tables and
// calculation text stand at fixed distances below it.
constexpr double kMargem = 500.0;
constexpr double kSecaoMassa = 1500.0;
constexpr double kSecaoVolume = 6500.0;
constexpr double kSecaoCaracteristicas = 12000.0;
constexpr double kTitulo = 150.0;
constexpr double kColunas = 450.0;
constexpr double kTabelas = 750.0;
constexpr double kCalculo = 3500.0;
constexpr double kNota = 2100.0;
constexpr double kTituloX = 4500.0;
constexpr double kTituloY = 500.0;

const QColor kPreto(0, 0, 0);
const QColor kAzul(0, 0, 255);
const QColor kAmareloClaro(255, 255, 192);
const QColor kBranco(255, 255, 255);
const QColor kVerdeClaro(192, 255, 192);

const QString kFormatoComponentes = QStringLiteral("^2500|^2000;");
const QString kCabecalhoComponentes = QStringLiteral("Componente|Quantidade;");

// One row of a component table: the component and its quantity.
struct Linha
{
    QString nome;
    QString quantidade;
};

// A quantity with its unit; a quantity printed only "if not 0" leaves the cell empty when it is exactly 0.
QString quantidade(double valor, const QString& unidade, bool seNaoZero, int casas = 1)
{
    if (seNaoZero && valor == 0.0)
        return QString();
    return semZeroAEsquerda(valor, casas) + unidade;
}

QString comEspaco(const QString& unidade)
{
    return QLatin1Char(' ') + unidade;
}

// The four component tables. The mass tables end with labour and the two waters, the volume tables with the
// two waters.
std::array<QList<Linha>, 4> tabelasDeComponentes(const calc::CalcState& s)
{
    const QString kg = QStringLiteral(" kg");
    const QString litros = QStringLiteral(" litros");
    const QString hh = QStringLiteral(" hh");
    const QString fina = QStringLiteral("Areia Fina");
    const QString grossa = QStringLiteral("Areia Grossa");
    const QString maoDeObra = QStringLiteral("Mão-de-Obra");
    const QString adicional = QStringLiteral("Água Adicional");
    const QString total = QStringLiteral("Água Total");
    const QString unidade1 = comEspaco(s.unidades[0]);
    const QString unidade2 = comEspaco(s.unidades[1]);

    const QList<Linha> massaPorTraco{
        {s.nomes[0], quantidade(s.Mc, kg, false)},      {fina, quantidade(s.Mfs, kg, true)},
        {grossa, quantidade(s.Mcs, kg, true)},          {s.nomes[3], quantidade(s.Mg1, kg, true)},
        {s.nomes[4], quantidade(s.Mg2, kg, true)},      {s.nomes[5], quantidade(s.A1, unidade1, true)},
        {s.nomes[6], quantidade(s.A2, unidade2, true)}, {maoDeObra, quantidade(s.H_b, hh, false, 2)},
        {adicional, quantidade(s.Wa_b, litros, false)}, {total, quantidade(s.W_b, litros, false)},
    };
    const QList<Linha> massaPorMetro{
        {s.nomes[0], quantidade(s.Cm, kg, false)},       {fina, quantidade(s.Sfm, kg, true)},
        {grossa, quantidade(s.Scm, kg, true)},           {s.nomes[3], quantidade(s.G1m, kg, true)},
        {s.nomes[4], quantidade(s.G2m, kg, true)},       {s.nomes[5], quantidade(s.A1m, unidade1, true)},
        {s.nomes[6], quantidade(s.A2m, unidade2, true)}, {maoDeObra, quantidade(s.Hm, hh, false, 2)},
        {adicional, quantidade(s.Wa, litros, false)},    {total, quantidade(s.W, litros, false)},
    };
    const QList<Linha> volumePorTraco{
        {s.nomes[0], quantidade(s.Lc, litros, false)},  {fina, quantidade(s.Lfs, litros, true)},
        {grossa, quantidade(s.Lcs, litros, true)},      {s.nomes[3], quantidade(s.Lg1, litros, true)},
        {s.nomes[4], quantidade(s.Lg2, litros, true)},  {s.nomes[5], quantidade(s.A1, unidade1, true)},
        {s.nomes[6], quantidade(s.A2, unidade2, true)}, {adicional, quantidade(s.Wa_b, litros, false)},
        {total, quantidade(s.W_b, litros, false)},
    };
    const QList<Linha> volumePorMetro{
        {s.nomes[0], quantidade(s.Lcm, litros, false)},  {fina, quantidade(s.Lfsm, litros, true)},
        {grossa, quantidade(s.Lcsm, litros, true)},      {s.nomes[3], quantidade(s.Lg1m, litros, true)},
        {s.nomes[4], quantidade(s.Lg2m, litros, true)},  {s.nomes[5], quantidade(s.A1m, unidade1, true)},
        {s.nomes[6], quantidade(s.A2m, unidade2, true)}, {adicional, quantidade(s.Wa, litros, false)},
        {total, quantidade(s.W, litros, false)},
    };
    return {massaPorTraco, massaPorMetro, volumePorTraco, volumePorMetro};
}

// A table built row by row: the header with the first row on white, then the rows alternately light green and
// unshaded, so the body reads in stripes.
void tabelaListrada(Documento& folha, const QString& formato, const QString& cabecalho, const QStringList& linhas)
{
    for (qsizetype i = 0; i < linhas.size(); ++i) {
        const QString corpo = linhas[i] + QLatin1Char(';');
        if (i == 0)
            folha.addTable(formato, cabecalho, corpo, kAmareloClaro, kBranco, false);
        else
            folha.addTable(formato, cabecalho, corpo, kAmareloClaro,
                           i % 2 == 1 ? std::optional<QColor>(kVerdeClaro) : std::nullopt, true);
    }
}

void tabelaDeComponentes(Documento& folha, const QList<Linha>& linhas)
{
    QStringList corpo;
    for (const Linha& linha : linhas)
        corpo.append(linha.nome + QLatin1Char('|') + linha.quantidade);
    tabelaListrada(folha, kFormatoComponentes, kCabecalhoComponentes, corpo);
}

void paragrafo(Documento& folha, double y, Alinhamento alinhamento, const QString& texto)
{
    folha.setCurrentY(y);
    folha.setTextAlign(alinhamento);
    folha.paragraph(texto);
}

// The heading of a section, its two column headings and its two tables side by side.
void secaoDeQuantidades(Documento& folha, double base, const QString& titulo, bool superplastificante,
                        const QList<Linha>& porTraco, const QList<Linha>& porMetro)
{
    folha.drawRule(base);
    folha.setCurrentY(base + kTitulo);
    folha.setTextAlign(Alinhamento::Esquerda);
    folha.setFontSize(13);
    folha.setFontBold(false);
    folha.setTextColor(kAzul);
    folha.paragraph(superplastificante ? titulo + QStringLiteral(" - Utilizando SuperPlastificante") : titulo);
    folha.setTextColor(kPreto);
    folha.setFontSize(12);
    paragrafo(folha, base + kColunas, Alinhamento::Esquerda, QStringLiteral("Por Traço"));
    paragrafo(folha, base + kColunas, Alinhamento::Direita, QStringLiteral("Por Metro Cúbico de Concreto"));
    folha.setFontSize(10);
    folha.setCurrentY(base + kTabelas);
    folha.setTextAlign(Alinhamento::Esquerda);
    tabelaDeComponentes(folha, porTraco);
    folha.setCurrentY(base + kTabelas);
    folha.setTextAlign(Alinhamento::Direita);
    tabelaDeComponentes(folha, porMetro);
}

// The calculation text of a section begins at the left margin under its tables.
void inicioDoCalculo(Documento& folha, double base, const QString& titulo)
{
    folha.setCurrentY(base + kCalculo);
    folha.setCurrentX(folha.marginLeft());
    folha.setTextAlign(Alinhamento::Esquerda);
    folha.setFontBold(true);
    folha.paragraph(titulo);
    folha.setFontBold(false);
}

bool temPagina(const Documento& folha)
{
    return folha.pageWidth() > 0.0 && folha.pageHeight() > 0.0;
}

QString parteDaProporcao(const QStringList& partes, int indice)
{
    return indice < partes.size() ? partes[indice].trimmed() : QString();
}

// The characteristic lines of a code that has a text on the sheet; the code of the line when it has none.
template <std::size_t N>
QString textoDaOpcao(const std::array<calc::Opcao, N>& opcoes, int codigo, const QString& semCodigo)
{
    if (codigo < 0 || std::size_t(codigo) >= N)
        return semCodigo;
    return opcoes[std::size_t(codigo)].texto;
}

int codigoProximo(double valor, std::initializer_list<double> valores)
{
    int codigo = 0;
    for (const double candidato : valores) {
        if (std::abs(valor - candidato) < 1e-9)
            return codigo;
        ++codigo;
    }
    return -1;
}

// The class text of a stored mix comes from its cement product ("Cimento 32" gives " 32"): a mix whose cement is
// not found prints none, whatever its Classe field holds. The wizard's mix carries the class it was designed for.
QString classeDaFicha(const calc::CalcState& s, const OrigemDaFicha& origem)
{
    return origem.ocupado ? calc::textoDaClasse(s.nomes[0]) : s.classe;
}

QStringList linhasDeCaracteristicas(const calc::CalcState& s, const OrigemDaFicha& origem)
{
    QStringList linhas;
    if (s.fck < 11)
        linhas.append(QStringLiteral("Resistência Característica de Cálculo xx MPa."));
    else
        linhas.append(QStringLiteral("Resistência Característica de Cálculo %1 MPa.").arg(s.fck));
    linhas.append(QStringLiteral("Diâmetro Máximo do Agregado Graúdo ") + calc::formatFull(s.Dmax) +
                  QStringLiteral(" mm."));
    linhas.append(QStringLiteral("Umidade do agregado miúdo ") + calc::formatFull(s.h * 100.0) + QStringLiteral("%"));
    linhas.append(QStringLiteral("Abatimento do Concreto (Slump) %1 mm.").arg(s.abatimento));
    linhas.append(QStringLiteral("Classe do Cimento a ser usado ") + classeDaFicha(s, origem));
    linhas.append(textoDaForma(s));
    linhas.append(textoDaMedicao(s));
    linhas.append(textoDoUso(s));
    linhas.append(calc::linhasDaDurabilidade(s));
    if (origem.ocupado) {
        const QVariantMap& r = origem.linha;
        linhas.append(QStringLiteral("Peso do metro cúbico   = ") + textoDoCampo(r.value(QStringLiteral("Peso"))) +
                      QStringLiteral(" kg/m3"));
        linhas.append(QStringLiteral("Preço do m3 Sem Perdas = ") +
                      duasCasas(r.value(QStringLiteral("PrecoCustoSemPerda"))));
        linhas.append(QStringLiteral("Porcentagem de Perdas  = ") + textoDoCampo(r.value(QStringLiteral("Perda"))) +
                      QStringLiteral("%"));
        linhas.append(QStringLiteral("Preço do m3 Com Perdas = ") +
                      duasCasas(r.value(QStringLiteral("PrecoCustoComPerda"))));
    }
    return linhas;
}

QString cabecalhoDaFicha(const OrigemDaFicha& origem)
{
    if (!origem.ocupado)
        return QStringLiteral("Traço Experimental Gerado em ") +
               platform::Clock::hoje().toString(QStringLiteral("dd-MM-yyyy"));
    const QVariantMap& r = origem.linha;
    const bool emUso = r.value(QStringLiteral("Plantao")).toBool();
    return (emUso ? QStringLiteral("Traço em Uso - ") : QStringLiteral("Traço Inativo - ")) +
           QStringLiteral("Criado em ") + dataDoCampo(r.value(QStringLiteral("DataCadastro"))) +
           QStringLiteral(" - Preços de Cotação de ") + dataDoCampo(r.value(QStringLiteral("DataCotacao")));
}

} // namespace

QString textoDaForma(const calc::CalcState& s)
{
    return textoDaOpcao(calc::Opcoes::textura(), codigoProximo(s.fatorForma, {0.9, 1.0, 1.05}),
                        QStringLiteral("Forma do Agregado Graúdo não informada"));
}

QString textoDaMedicao(const calc::CalcState& s)
{
    return textoDaOpcao(calc::Opcoes::medicao(), codigoProximo(s.Sd, {4.0, 5.5, 7.0}),
                        QStringLiteral("Condição de medição não informada"));
}

QString textoDoUso(const calc::CalcState& s)
{
    return textoDaOpcao(calc::Opcoes::destino(), s.destino, QStringLiteral("Uso do concreto não informado"));
}

QString dataDoCampo(const QVariant& valor)
{
    if (!valor.isValid() || valor.isNull())
        return QString();
    if (valor.typeId() == QMetaType::QDate || valor.typeId() == QMetaType::QDateTime)
        return valor.toDate().toString(QStringLiteral("dd-MM-yyyy"));
    const QString texto = valor.toString().trimmed();
    for (const char* formato : {"dd-MM-yyyy", "d-M-yyyy", "dd/MM/yyyy", "d/M/yyyy", "yyyy-MM-dd"}) {
        const QDate data = QDate::fromString(texto, QLatin1String(formato));
        if (data.isValid())
            return data.toString(QStringLiteral("dd-MM-yyyy"));
    }
    return texto;
}

OrigemDaFicha OrigemDaFicha::gravado(const QVariantMap& linha, const QString& logotipo)
{
    return OrigemDaFicha{true, linha, logotipo};
}

OrigemDaFicha OrigemDaFicha::experimental(const QString& logotipo)
{
    return OrigemDaFicha{false, {}, logotipo};
}

QString logotipoDaPasta(const QString& pastaDados)
{
    if (pastaDados.isEmpty())
        return QString();
    const QString imagens = platform::Paths::comSeparador(pastaDados) + QStringLiteral("Imagens/");
    for (const char* arquivo : {"logo.bmp", "modelo.bmp"}) {
        if (QFileInfo::exists(imagens + QLatin1String(arquivo)))
            return imagens + QLatin1String(arquivo);
    }
    return QString();
}

QString logotipoPadrao()
{
    return logotipoDaPasta(platform::Paths::pastaDados());
}

QString tituloDaFicha(const calc::CalcState& estado, const OrigemDaFicha& origem)
{
    if (origem.ocupado && !estado.titulo.trimmed().isEmpty())
        return estado.titulo.trimmed();
    return estado.nomeTraco.trimmed();
}

QString avisoDoRodape()
{
    return platform::Aplicacao::titulo() + QStringLiteral(" ") + platform::Aplicacao::versao() +
           QStringLiteral(" - Dosagem e Catálogo de Traços de Concreto - Programa licenciado ao usuário; "
                          "suporte com o revendedor autorizado");
}

QString semZeroAEsquerda(double valor, int casas)
{
    QString texto = semGrupos().toString(valor, 'f', casas);
    const QString zero = QStringLiteral("0") + semGrupos().decimalPoint();
    if (texto.startsWith(zero))
        texto.remove(0, 1);
    else if (texto.startsWith(QLatin1Char('-') + zero))
        texto.remove(1, 1);
    return texto;
}

EstadoImpressora PreparaFolha(Documento& folha, bool impressoraInstalada)
{
    EstadoImpressora estado = EstadoImpressora::Pronta;
    folha.setOrientation(Orientacao::Retrato);
    if (folha.orientation() != Orientacao::Retrato) {
        estado = EstadoImpressora::SemRetrato;
        folha.setOrientation(Orientacao::Retrato);
    }
    folha.setMargins(kMargem);
    folha.setTextAlign(Alinhamento::Esquerda);
    if (!impressoraInstalada || !temPagina(folha))
        estado = EstadoImpressora::SemImpressora;
    return estado;
}

bool ImprimeTraco(Documento& folha, EstadoImpressora impressora, const calc::CalcState& s, const OrigemDaFicha& origem)
{
    // Without a printer the sheet can still go to a PDF; without a page it can go nowhere.
    if (impressora == EstadoImpressora::SemImpressora && !temPagina(folha))
        return false;

    folha.startDoc();
    if (!origem.logotipo.isEmpty())
        folha.drawPicture(origem.logotipo, QRectF(twipsDeMm(10), twipsDeMm(8), twipsDeMm(34), twipsDeMm(18)));
    folha.setPenColor(kPreto);
    folha.setHdrFont(Fonte{QStringLiteral("Times"), 10.0, false, true});
    folha.setHeader(QStringLiteral("||") + cabecalhoDaFicha(origem));
    folha.setFooter(QStringLiteral("||") + avisoDoRodape());

    // Title.
    const QString titulo = tituloDaFicha(s, origem);
    folha.setFonte(Fonte{QStringLiteral("Times"), 16.0, true, true});
    folha.setTextColor(kPreto);
    folha.setCurrentX(kTituloX);
    folha.setCurrentY(kTituloY);
    folha.setTextAlign(Alinhamento::Esquerda);
    folha.paragraph(QStringLiteral("Traço de Concreto"));
    folha.setCurrentX(kTituloX);
    folha.paragraph(titulo);
    folha.setFontName(QStringLiteral("Arial"));
    folha.setFontItalic(false);

    const std::array<QList<Linha>, 4> tabelas = tabelasDeComponentes(s);

    // Section 1: by mass.
    secaoDeQuantidades(folha, kSecaoMassa, QStringLiteral("Dosagem em Proporções em Massa"), s.superplastificante,
                       tabelas[0], tabelas[1]);
    inicioDoCalculo(folha, kSecaoMassa, QStringLiteral("Cálculo das Proporções em Massa"));
    folha.paragraph(QStringLiteral("São as quantidades por metro cúbico sem correção de umidade e calculam-se as "
                                   "proporções relacionando-as com a massa do cimento:"));
    folha.paragraph(QString());
    folha.setFontBold(true);
    const double linhaDoTraco = folha.currentY();
    folha.paragraph(QStringLiteral("Traço em proporções em massa ") + s.propMassa);
    folha.setFontBold(false);
    paragrafo(folha, linhaDoTraco, Alinhamento::Direita,
              QStringLiteral("Relação agregado/cimento  ") + s.relAgregCimento);

    // Section 2: by loose volume.
    secaoDeQuantidades(folha, kSecaoVolume, QStringLiteral("Dosagem em Proporções em Volume"), s.superplastificante,
                       tabelas[2], tabelas[3]);
    inicioDoCalculo(folha, kSecaoVolume, QStringLiteral("Cálculo das Proporções em Volume de Material Solto"));
    folha.paragraph(QStringLiteral("Como este traço se destina para execução, o cálculo é feito a partir das "
                                   "quantidades depois de corrigidas pela umidade dos agregados."));
    folha.paragraph(QString());
    folha.setFontBold(true);
    folha.paragraph(QStringLiteral("Traço em proporções em volume  ") + s.propVolume);
    folha.setFontBold(false);
    folha.paragraph(QString());
    // The proportion by volume reads 1:sand:coarse aggregate:water.
    const QStringList partes = s.propVolume.split(QLatin1Char(':'));
    const QString a = parteDaProporcao(partes, 1);
    const QString b = parteDaProporcao(partes, 2);
    const QString c = parteDaProporcao(partes, 3);
    folha.paragraph(QStringLiteral("Que pode ser lido: 1 volume (1 litro) de cimento, ") + a +
                    QStringLiteral(" volumes (") + a + QStringLiteral(" litros) de areia, ") + b +
                    QStringLiteral(" volumes (") + b + QStringLiteral(" litros) de pedra e ") + c +
                    QStringLiteral(" volumes (") + c + QStringLiteral(" litros) de água."));

    // Section 3: the characteristics the mix was designed for, with the masses of the materials beside them.
    folha.drawRule(kSecaoCaracteristicas);
    folha.setFontSize(13);
    folha.setTextColor(kAzul);
    paragrafo(folha, kSecaoCaracteristicas + kTitulo, Alinhamento::Esquerda, QStringLiteral("Características Dadas"));
    folha.setTextColor(kPreto);
    folha.setCurrentY(kSecaoCaracteristicas + kColunas);
    folha.setTextAlign(Alinhamento::Direita);
    folha.setFontSize(10);
    const QLocale local = semGrupos();
    const auto massas = [&local](double especifica, double aparente) {
        return local.toString(especifica, 'f', 2) + QLatin1Char('|') + local.toString(aparente, 'f', 2);
    };
    tabelaListrada(folha, QStringLiteral("^1500|^1500|^1500;"),
                   QStringLiteral("Componente em kg/l|Massa\rEspecifíca|Massa Aparente;"),
                   {QStringLiteral("Cimento|") + massas(s.gammaC, s.rhoC),
                    QStringLiteral("Agr. Miúdo|") + massas(s.gammaS, s.rhoS),
                    QStringLiteral("Agr. Graúdo|") + massas(s.gammaG, s.rhoG)});

    folha.setCurrentY(kSecaoCaracteristicas + kColunas);
    folha.setTextAlign(Alinhamento::Esquerda);
    folha.setCurrentX(folha.marginLeft());
    for (const QString& linha : linhasDeCaracteristicas(s, origem))
        folha.paragraph(linha);

    folha.setCurrentY(kSecaoCaracteristicas + kNota);
    folha.setTextAlign(Alinhamento::Direita);
    folha.setFontBold(true);
    folha.paragraph(QStringLiteral("Nota:   As massas aparentes e a umidade dos a-"));
    folha.paragraph(QStringLiteral("gregados são muitos variáveis. Recomenda-se "));
    folha.paragraph(QStringLiteral("verificação frequente destas grandezas."));
    folha.setFontBold(false);

    folha.endDoc();
    return true;
}

} // namespace printing
