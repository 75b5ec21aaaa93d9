#include "relatorio.h"

#include "ficha.h"
#include "textodocampo.h"

#include "calc/calcstate.h"
#include "calc/carregatraco.h"
#include "calc/formats.h"
#include "catalogue/consultas.h"
#include "catalogue/tabelaprodutos.h"
#include "platform/clock.h"
#include "platform/database.h"
#include "platform/recordset.h"

#include <QHash>
#include <QLocale>
#include <QPainter>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <optional>

namespace printing {

namespace {

// Rows read in one statement while a report is made: a writer at another workstation waits at most this long.
constexpr int LinhasPorLeitura = 200;

const QColor kPreto(0, 0, 0);
const QColor kAzul(0, 0, 255);
const QColor kCianoClaro(192, 255, 255);
const QColor kRosaClaro(255, 192, 255);

// The report's fonts: the caption, the headings of the detail block, its rows, and the small print of the
// characteristic lines (their controls are 168 twips high).
const Fonte kFonteDaLegenda{QStringLiteral("Arial"), 20.0, true, false};
const Fonte kFonteDaData{QStringLiteral("Arial"), 10.0, false, true};
const Fonte kFonteDoGrupo{QStringLiteral("Arial"), 12.0, true, false};
const Fonte kFonteDoTitulo{QStringLiteral("Arial"), 10.0, true, false};
const Fonte kFonteDoCabecalho{QStringLiteral("Arial"), 9.0, true, false};
const Fonte kFonteDasLinhas{QStringLiteral("Arial"), 9.0, false, false};
const Fonte kFonteMiuda{QStringLiteral("Arial"), 7.0, false, false};
const Fonte kFonteDoDono{QStringLiteral("Times"), 8.0, false, false};
const Fonte kFonteDaPagina{QStringLiteral("Arial"), 9.0, false, false};

// Tops of the quantity rows of the detail block, from cement to total water, and the two columns of each table.
constexpr double kTopos[] = {1260, 1512, 1764, 2016, 2268, 2520, 2772, 3024, 3276, 3540};
constexpr double kNomePorTraco = 0.0;
constexpr double kQuantidadePorTraco = 1848.0;
constexpr double kNomePorMetro = 5064.0;
constexpr double kQuantidadePorMetro = 6912.0;
constexpr double kLarguraDoNome = 1848.0;
constexpr double kLarguraDaQuantidade = 1512.0;
constexpr double kAlturaDaLinha = 252.0;
// Tops of the characteristic lines (Forca … PesoMetro), 168 twips high.
constexpr double kToposDasCaracteristicas[] = {3960, 4128, 4296, 4464, 4632, 4800, 4968, 5136};

QString casas(double valor, int n)
{
    return semGrupos().toString(valor, 'f', n);
}

// A quantity in "0.0" followed by its unit; an empty cell when it is not greater than 0.
QString quantidade(double valor, const QString& unidade)
{
    return valor > 0.0 ? casas(valor, 1) + unidade : QString();
}

catalogue::Consulta fonteDosRegistros(const platform::Database& banco, TipoRelatorio tipo)
{
    return tipo == TipoRelatorio::Todos ? catalogue::Consultas::catalogo(banco) : catalogue::Consultas::emUso(banco);
}

// Lays the sections of the report out on the pages: the page header at the top of each page, the footer at its
// foot, and the group headers and detail blocks between them, a block always whole on one page.
// What a composition does with the page: lay it out and draw it, lay out only the places of its sections (their
// heights are fixed, so that is enough to know where the pages begin), or compose one page and stop where it ends.
enum class Modo { Paginas, Posicoes, UmaPagina };

class Composicao
{
public:
    // The document has begun its first page.
    Composicao(Documento& doc, TipoRelatorio tipo, const QString& logotipo, Modo modo)
        : m_doc(doc), m_tipo(tipo), m_logotipo(logotipo), m_modo(modo)
    {
        cabecalhoDaPagina();
    }

    void termina()
    {
        rodapeDaPagina();
        m_doc.endDoc();
    }

    // Makes room for a section of this height, on a new page when the current one has not enough. False when it
    // does not fit on the one page being composed.
    bool reserva(double altura)
    {
        const double limite = m_doc.pageHeight() - Relatorio::kMargemInferior - Relatorio::kAlturaDoRodape;
        if (m_y + altura > limite && m_y > m_topoDoCorpo) {
            if (m_modo == Modo::UmaPagina)
                return false;
            rodapeDaPagina();
            m_doc.newPage();
            cabecalhoDaPagina();
        }
        return true;
    }

    bool desenha() const { return m_modo != Modo::Posicoes; }

    double y() const { return m_y; }
    int pagina() const { return m_doc.pageCount(); }
    void avanca(double altura) { m_y += altura; }

    // A control of a section: its box from the section's top and the layout's left edge.
    void controle(double x, double y, double largura, double altura, const QString& texto, const Fonte& fonte,
                  Qt::Alignment alinhamento = Qt::AlignLeft, const QColor& cor = kPreto)
    {
        if (texto.isEmpty() || !desenha())
            return;
        m_doc.setFonte(fonte);
        m_doc.setTextColor(cor);
        // A one-line control keeps its text on its line with a smaller font rather than spill over its
        // neighbours; a taller one wraps.
        const bool umaLinha = altura < 2.0 * Documento::lineHeight(fonte);
        m_doc.textBox(caixa(x, y, largura, altura), texto, alinhamento, umaLinha);
    }

    void fundo(double x, double y, double largura, double altura, const QColor& cor)
    {
        if (desenha())
            m_doc.fillBox(caixa(x, y, largura, altura), cor);
    }

    void regua(double x1, double y, double x2)
    {
        if (!desenha())
            return;
        m_doc.setPenColor(kPreto);
        m_doc.drawLine(Relatorio::kMargemEsquerda + x1, m_y + y, Relatorio::kMargemEsquerda + x2, m_y + y);
    }

    QRectF caixa(double x, double y, double largura, double altura) const
    {
        return QRectF(Relatorio::kMargemEsquerda + x, m_y + y, largura, altura);
    }

private:
    void cabecalhoDaPagina()
    {
        m_y = Relatorio::kMargemSuperior;
        const QSizeF logo = m_tipo == TipoRelatorio::Todos ? QSizeF(2895, 930) : QSizeF(3864, 924);
        if (!m_logotipo.isEmpty() && desenha())
            m_doc.drawPicture(m_logotipo, caixa(0, 0, logo.width(), logo.height()));
        controle(4368, 0, 5376, 588, Relatorio::legenda(m_tipo), kFonteDaLegenda, Qt::AlignHCenter, kAzul);
        controle(4368, 588, 5376, 252,
                 QStringLiteral("Impresso: ") + QLocale().toString(platform::Clock::hoje(), QLocale::LongFormat),
                 kFonteDaData, Qt::AlignHCenter);
        m_y += Relatorio::kAlturaDoCabecalho;
        m_topoDoCorpo = m_y;
    }

    void rodapeDaPagina()
    {
        const double topo = m_doc.pageHeight() - Relatorio::kMargemInferior - Relatorio::kAlturaDoRodape;
        const double guardado = m_y;
        m_y = topo;
        controle(0, 0, 7644, 252, avisoDoRodape(), kFonteDoDono);
        controle(8484, 0, 1260, 252, QStringLiteral("Página %1").arg(m_doc.pageCount() + 1), kFonteDaPagina,
                 Qt::AlignRight);
        m_y = guardado;
    }

    Documento& m_doc;
    TipoRelatorio m_tipo;
    QString m_logotipo;
    Modo m_modo;
    double m_y = 0.0;
    double m_topoDoCorpo = 0.0;
};

// The detail block of one mix, at the composition's current place.
void bloco(Composicao& c, TipoRelatorio tipo, const calc::CalcState& s, const calc::FieldSource& linha)
{
    const auto campo = [&linha](const char* nome) { return linha(QLatin1String(nome)); };

    c.controle(0, 0, 4368, 252, s.titulo, kFonteDoTitulo);
    c.controle(5292, 0, 840, 252, QStringLiteral("Cadastro:"), kFonteDoCabecalho);
    c.controle(6132, 0, 1344, 252, dataDoCampo(campo("DataCadastro")), kFonteDasLinhas);
    const double cotacao = tipo == TipoRelatorio::Todos ? 7644.0 : 7812.0;
    c.controle(cotacao, 0, 1008, 252, QStringLiteral("Cotação:"), kFonteDoCabecalho);
    c.controle(8652, 0, 1344, 252, dataDoCampo(campo("DataCotacao")), kFonteDasLinhas);

    // The in-use state on its coloured ground.
    const bool emUso = campo("Plantao").toBool();
    c.fundo(4704, 252, 1428, 252, emUso ? kCianoClaro : kRosaClaro);
    c.controle(4704, 252, 1428, 252, emUso ? QStringLiteral("Traço em Uso") : QStringLiteral("Traço Inativo"),
               kFonteDasLinhas, Qt::AlignHCenter);

    const int medicao = campo("Volumetrico").toInt();
    const bool volume = medicao == 1 || medicao == 2;
    c.controle(0, 420, tipo == TipoRelatorio::Todos ? 4980 : 4830, 255,
               volume ? QStringLiteral("Dosagem em Proporções em Volume")
                      : QStringLiteral("Dosagem em Proporções em Massa"),
               kFonteDoTitulo, Qt::AlignLeft, kAzul);
    c.controle(0, 756, 1428, 252, QStringLiteral("Por Traço"), kFonteDoTitulo);
    c.controle(5064, 756, 4032, 252, QStringLiteral("Por Metro Cúbico de Concreto"), kFonteDoTitulo);
    for (const double x : {kNomePorTraco, kNomePorMetro}) {
        c.controle(x, 1008, kLarguraDoNome, 252, QStringLiteral("Componente"), kFonteDoCabecalho);
        c.controle(x + kLarguraDoNome, 1008, kLarguraDaQuantidade, 252, QStringLiteral("Quantidade"), kFonteDoCabecalho,
                   Qt::AlignRight);
    }

    const QString unidade = volume ? QStringLiteral(" litros") : QStringLiteral(" kg");
    const std::array<double, 5> porTraco = volume ? std::array<double, 5>{s.Lc, s.Lfs, s.Lcs, s.Lg1, s.Lg2}
                                                  : std::array<double, 5>{s.Mc, s.Mfs, s.Mcs, s.Mg1, s.Mg2};
    const std::array<double, 5> porMetro = volume ? std::array<double, 5>{s.Lcm, s.Lfsm, s.Lcsm, s.Lg1m, s.Lg2m}
                                                  : std::array<double, 5>{s.Cm, s.Sfm, s.Scm, s.G1m, s.G2m};
    const auto aditivo = [](double valor, const QString& nomeDaUnidade) {
        return (valor > 0.0 ? casas(valor, 1) + QLatin1Char(' ') : QString()) + nomeDaUnidade;
    };
    const QString litros = QStringLiteral(" litros");
    const QString hh = QStringLiteral(" hh");
    struct Linha
    {
        QString nome;
        QString porTraco;
        QString porMetro;
    };
    const Linha linhas[] = {
        {s.nomes[0], quantidade(porTraco[0], unidade), quantidade(porMetro[0], unidade)},
        {QStringLiteral("Areia Fina"), quantidade(porTraco[1], unidade), quantidade(porMetro[1], unidade)},
        {QStringLiteral("Areia Grossa"), quantidade(porTraco[2], unidade), quantidade(porMetro[2], unidade)},
        {s.nomes[3], quantidade(porTraco[3], unidade), quantidade(porMetro[3], unidade)},
        {s.nomes[4], quantidade(porTraco[4], unidade), quantidade(porMetro[4], unidade)},
        {s.nomes[5], aditivo(s.A1, s.unidades[0]), aditivo(s.A1m, s.unidades[0])},
        {s.nomes[6], aditivo(s.A2, s.unidades[1]), aditivo(s.A2m, s.unidades[1])},
        {QStringLiteral("Mão-de-Obra"), casas(s.H_b, 2) + hh, casas(s.Hm, 2) + hh},
        {QStringLiteral("Água Adicional"), casas(s.Wa_b, 1) + litros, casas(s.Wa, 1) + litros},
        {QStringLiteral("Água Total"), casas(s.W_b, 1) + litros, casas(s.W, 1) + litros},
    };
    for (std::size_t i = 0; i < std::size(linhas); ++i) {
        const double topo = kTopos[i];
        c.controle(kNomePorTraco, topo, kLarguraDoNome, kAlturaDaLinha, linhas[i].nome, kFonteDasLinhas);
        c.controle(kQuantidadePorTraco, topo, kLarguraDaQuantidade, kAlturaDaLinha, linhas[i].porTraco, kFonteDasLinhas,
                   Qt::AlignRight);
        c.controle(kNomePorMetro, topo, kLarguraDoNome, kAlturaDaLinha, linhas[i].nome, kFonteDasLinhas);
        c.controle(kQuantidadePorMetro, topo, kLarguraDaQuantidade, kAlturaDaLinha, linhas[i].porMetro, kFonteDasLinhas,
                   Qt::AlignRight);
    }

    // The specific and bulk masses of the materials.
    c.controle(5064, 3960, 1344, 420, QStringLiteral("Componente\rkg/l"), kFonteDoCabecalho);
    c.controle(6408, 3960, 1008, 420, QStringLiteral("Massa Específica"), kFonteDoCabecalho, Qt::AlignHCenter);
    c.controle(7416, 3960, 1008, 420, QStringLiteral("Massa Aparente"), kFonteDoCabecalho, Qt::AlignHCenter);
    const struct
    {
        const char* nome;
        const char* especifica;
        const char* aparente;
        double topo;
    } massas[] = {{"Cimento", "EspeCim", "AparCim", 4380},
                  {"Agreg. Miúdo", "EspeMiu", "AparMiu", 4632},
                  {"Agreg. Graúdo", "EspeGra", "AparGra", 4884}};
    for (const auto& m : massas) {
        c.controle(5064, m.topo, 1344, 252, QString::fromUtf8(m.nome), kFonteDasLinhas);
        c.controle(6408, m.topo, 1008, 252, duasCasas(campo(m.especifica)), kFonteDasLinhas, Qt::AlignHCenter);
        c.controle(7416, m.topo, 1008, 252, duasCasas(campo(m.aparente)), kFonteDasLinhas, Qt::AlignHCenter);
    }

    // The characteristics the mix was designed for.
    const QStringList caracteristicas{
        s.fck < 11 ? QStringLiteral("Resistência Característica de Cálculo xx MPa.")
                   : QStringLiteral("Resistência Característica de Cálculo %1 MPa.").arg(s.fck),
        QStringLiteral("Diâmetro Máximo do Agregado Graúdo ") + calc::formatFull(s.Dmax) + QStringLiteral(" mm."),
        QStringLiteral("Umidade do Agregado Miúdo ") + calc::formatFull(s.h * 100.0) + QStringLiteral("%"),
        QStringLiteral("Abatimento do Concreto (Slump) %1 mm.").arg(s.abatimento),
        textoDaForma(s),
        textoDaMedicao(s),
        textoDoUso(s),
        QStringLiteral("Peso do metro cúbico = ") + s.peso + QStringLiteral(" kg/m3"),
    };
    for (qsizetype i = 0; i < caracteristicas.size(); ++i)
        c.controle(0, kToposDasCaracteristicas[i], 4368, 168, caracteristicas[i], kFonteMiuda);
    c.controle(0, 5310, 4365, 165,
               QStringLiteral("Porcentagem de perdas e sobras = ") + textoDoCampo(campo("Perda")) +
                   QStringLiteral(" %"),
               kFonteMiuda);
    c.controle(0, 5460, 4365, 165, QStringLiteral("Preço do m3 sem perdas = ") + duasCasas(campo("PrecoCustoSemPerda")),
               kFonteMiuda);
    c.controle(5070, 5685, 4365, 225,
               QStringLiteral("Preço do m3 com perdas = ") + duasCasas(campo("PrecoCustoComPerda")), kFonteDasLinhas);

    c.controle(5064, 5220, 4200, 252, QStringLiteral("Relação agregado/cimento ") + s.relAgregCimento, kFonteDasLinhas);
    c.controle(15, 5670, 5130, 255, QStringLiteral("Traço em proporções em massa  ") + s.propMassa, kFonteDoCabecalho);
    c.controle(15, 5928, 5124, 252, QStringLiteral("Traço em proporções em volume ") + s.propVolume, kFonteDoCabecalho);
    c.regua(0, 6234, Relatorio::kLarguraDoLayout);
}

// Where a row went: its group's header when it opened one, and its block.
struct Colocacao
{
    bool abriuGrupo = false;
    int paginaDoGrupo = 0;
    double topoDoGrupo = 0.0;
    int pagina = 0;
    double topo = 0.0;
    QString titulo; // only when the block was drawn
};

// Lays a row out at the composition's place: the header of its group when it opens a new name (the header stays on
// the page of its first block), then its block. False, with the row left out, when it does not fit on the one page
// being composed.
bool poeLinha(Composicao& c, TipoRelatorio tipo, const calc::FieldSource& campo, const calc::ProductTable& produtos,
              std::optional<QString>& grupo, Colocacao& onde)
{
    const QString nome = campo(QStringLiteral("NomeTraco")).toString();
    onde.abriuGrupo = !grupo || *grupo != nome;
    if (onde.abriuGrupo) {
        grupo = nome;
        if (!c.reserva(Relatorio::kAlturaDoGrupo + Relatorio::kAlturaDoDetalhe))
            return false;
        c.controle(0, 0, 4368, 336, nome + QStringLiteral(" - Variante"), kFonteDoGrupo);
        onde.paginaDoGrupo = c.pagina();
        onde.topoDoGrupo = c.y();
        c.avanca(Relatorio::kAlturaDoGrupo);
    }
    if (!c.reserva(Relatorio::kAlturaDoDetalhe))
        return false;
    onde.pagina = c.pagina();
    onde.topo = c.y();
    if (c.desenha()) {
        // Each row is loaded into a state of its own: a field that cannot be read (a Null Volumetrico leaves every
        // quantity unread) shows nothing rather than the previous mix's value.
        calc::CalcState estado;
        calc::CarregaTraco(estado, campo, &produtos);
        onde.titulo = estado.titulo;
        bloco(c, tipo, estado, campo);
    }
    c.avanca(Relatorio::kAlturaDoDetalhe);
    return true;
}

} // namespace

// The report's rows: only the keys are read at once; the rows follow a batch at a time, each batch in a statement of
// its own, so that the workstations saving meanwhile never wait for the whole report.
struct Relatorio::Leitura
{
    Leitura(platform::Database& banco, TipoRelatorio tipo) : registros(banco), tabela(banco), produtos(tabela)
    {
        const catalogue::Consulta consulta = fonteDosRegistros(banco, tipo);
        registros.setQuery(consulta.sql, consulta.valores);
    }

    // The rows [inicio, fim) one by one, in batches; a row deleted at another workstation meanwhile is passed over.
    // `cadaLinha` is given the row's position and answers whether to go on.
    template <typename CadaLinha> bool percorre(int inicio, int fim, CadaLinha cadaLinha)
    {
        for (int lote = inicio; lote < fim; lote += LinhasPorLeitura) {
            const QVector<QSqlRecord> linhas = registros.linhas(lote, std::min(fim, lote + LinhasPorLeitura));
            for (int i = 0; i < linhas.size(); ++i) {
                registro = linhas[i];
                if (registro.isEmpty())
                    continue;
                if (colunas.isEmpty()) {
                    for (int c = 0; c < registro.count(); ++c)
                        colunas.insert(registro.fieldName(c), c);
                }
                if (!cadaLinha(lote + i))
                    return false;
            }
        }
        return true;
    }

    // The fields by name; those a Tracos row does not have (the product names the loader would also take) are
    // missing, not an error.
    QVariant campo(const QString& nome) const
    {
        const auto it = colunas.constFind(nome);
        return it == colunas.cend() ? QVariant() : registro.value(*it);
    }

    platform::RecordSet registros;
    const catalogue::TabelaProdutos tabela;
    // A catalogue uses a handful of products over and over: each is asked of the database once per run.
    const catalogue::ProdutosLembrados produtos;
    QHash<QString, int> colunas;
    QSqlRecord registro;
};

Relatorio::Relatorio(TipoRelatorio tipo, platform::Database& banco, const QString& logotipo,
                     Orientacao orientacaoDaImpressora)
    : m_tipo(tipo), m_banco(banco), m_logotipo(logotipo), m_orientacaoInicial(orientacaoDaImpressora),
      m_orientacaoDasPaginas(orientacaoDaImpressora)
{
}

Relatorio::~Relatorio() = default;

QString Relatorio::legenda(TipoRelatorio tipo)
{
    return tipo == TipoRelatorio::Todos ? QStringLiteral("Quenvar - Todos") : QStringLiteral("Quenvar - Em Uso");
}

QString Relatorio::legenda() const
{
    return legenda(m_tipo);
}

int Relatorio::contaLinhas() const
{
    const catalogue::Consulta consulta = fonteDosRegistros(m_banco, m_tipo);
    QString sql = consulta.sql.trimmed();
    if (sql.endsWith(QLatin1Char(';')))
        sql.chop(1);
    return m_banco
        .scalar(QStringLiteral("SELECT COUNT(*) FROM (") + sql + QStringLiteral(") AS linhas"), consulta.valores)
        .toInt();
}

void Relatorio::preparaDocumento(Documento& documento) const
{
    documento.setOrientation(m_orientacaoDasPaginas);
    documento.setPaperSize(QSizeF(kLarguraA4, kAlturaA4));
    documento.setMarginLeft(kMargemEsquerda);
    documento.setMarginRight(documento.pageWidth() - kMargemEsquerda - kLarguraDoLayout);
    documento.setMarginTop(kMargemSuperior);
    documento.setMarginBottom(kMargemInferior);
    documento.setHeader(QString());
    documento.setFooter(QString());
}

void Relatorio::limpa()
{
    m_indice.limpa();
    m_blocos.clear();
    m_inicios.clear();
    m_prontas.clear();
    m_leitura.reset();
    m_documento.limpa();
    m_linhas = 0;
    m_total = 0;
}

bool Relatorio::compoe(const ProgressoDoRelatorio& progresso)
{
    return executa(Guarda::Tudo, progresso);
}

bool Relatorio::desenha(const Documento::DestinoDasPaginas& destino, const ProgressoDoRelatorio& progresso)
{
    limpa();
    preparaDocumento(m_documento);
    m_documento.startDoc(destino);
    return executa(Guarda::Nada, progresso);
}

bool Relatorio::preparaPaginas(const ProgressoDoRelatorio& progresso)
{
    limpa();
    preparaDocumento(m_documento);
    m_documento.startDoc([](int) { return nullptr; });
    return executa(Guarda::Paginas, progresso);
}

bool Relatorio::executa(Guarda guarda, const ProgressoDoRelatorio& progresso)
{
    if (guarda == Guarda::Tudo) {
        limpa();
        preparaDocumento(m_documento);
        m_documento.startDoc();
    }
    m_guarda = guarda;
    m_leitura = std::make_unique<Leitura>(m_banco, m_tipo);
    Leitura& leitura = *m_leitura;
    m_total = leitura.registros.recordCount();
    const auto cancela = [this] {
        limpa();
        m_guarda = Guarda::Nada;
        return false;
    };
    if (progresso && !progresso(0, m_total))
        return cancela();

    Composicao composicao(m_documento, m_tipo, m_logotipo, guarda == Guarda::Paginas ? Modo::Posicoes : Modo::Paginas);
    std::optional<QString> grupo;
    const calc::FieldSource campo = [&leitura](const QString& n) { return leitura.campo(n); };
    Colocacao onde;
    const bool completo = leitura.percorre(0, m_total, [&](int linha) {
        poeLinha(composicao, m_tipo, campo, leitura.produtos, grupo, onde);
        if (guarda == Guarda::Paginas && std::size_t(onde.pagina) == m_inicios.size())
            m_inicios.push_back(InicioDaPagina{linha, !onde.abriuGrupo});
        if (guarda != Guarda::Nada) {
            // The report of all mixes lists each name once with its variants under it; that of the mixes in use
            // lists each block by its name.
            if (m_tipo == TipoRelatorio::Todos) {
                if (onde.abriuGrupo)
                    m_indice.acrescentaNome(*grupo, LugarNoRelatorio{onde.paginaDoGrupo, onde.topoDoGrupo});
                const QString variante = leitura.campo(QStringLiteral("TracoVariante")).toString().trimmed();
                m_indice.acrescentaVariante((QStringLiteral("00") + variante).right(2),
                                            LugarNoRelatorio{onde.pagina, onde.topo});
            } else {
                m_indice.acrescentaNome(*grupo, LugarNoRelatorio{onde.pagina, onde.topo});
            }
        }
        if (guarda == Guarda::Tudo)
            m_blocos.append(BlocoDoRelatorio{onde.titulo, onde.pagina, onde.topo});
        ++m_linhas;
        return !progresso || progresso(linha + 1, m_total);
    });
    if (!completo)
        return cancela();
    composicao.termina();
    // Only the pages composed on demand read the rows again.
    if (guarda != Guarda::Paginas)
        m_leitura.reset();
    return true;
}

void Relatorio::compoePagina(int indice, Documento& documento, QPainter* pintor) const
{
    preparaDocumento(documento);
    documento.startDoc([pintor](int) { return pintor; }, indice);
    const InicioDaPagina& inicio = m_inicios.at(std::size_t(indice));
    const int fim = std::size_t(indice) + 1 < m_inicios.size() ? m_inicios[std::size_t(indice) + 1].linha : m_total;
    Leitura& leitura = *m_leitura;
    Composicao composicao(documento, m_tipo, m_logotipo, Modo::UmaPagina);
    std::optional<QString> grupo;
    if (inicio.continuaGrupo)
        grupo = QString(); // named by the first row
    const calc::FieldSource campo = [&leitura](const QString& n) { return leitura.campo(n); };
    Colocacao onde;
    // The rows were laid out on this page; one renamed meanwhile may no longer fit and is left out.
    leitura.percorre(inicio.linha, fim, [&](int linha) {
        if (linha == inicio.linha && grupo)
            grupo = leitura.campo(QStringLiteral("NomeTraco")).toString();
        return poeLinha(composicao, m_tipo, campo, leitura.produtos, grupo, onde);
    });
    composicao.termina();
}

const Paginas& Relatorio::paginas() const
{
    if (m_guarda == Guarda::Paginas)
        return *this;
    return m_documento;
}

int Relatorio::pageCount() const
{
    return int(m_inicios.size());
}

QSizeF Relatorio::pageSize() const
{
    return m_documento.pageSize();
}

void Relatorio::drawPage(QPainter& pintor, int indice, const QPointF& origem, double escala) const
{
    // A few pages shown are kept as drawn, so that scrolling back and forth composes none of them again.
    constexpr qsizetype kPaginasProntas = 6;
    qsizetype i = 0;
    while (i < m_prontas.size() && m_prontas[i].indice != indice)
        ++i;
    if (i == m_prontas.size()) {
        PaginaPronta pronta{indice, QPicture()};
        {
            QPainter gravador(&pronta.figura);
            Documento pagina;
            compoePagina(indice, pagina, &gravador);
        }
        m_prontas.prepend(pronta);
        if (m_prontas.size() > kPaginasProntas)
            m_prontas.removeLast();
    } else if (i > 0) {
        m_prontas.move(i, 0);
    }
    desenhaPagina(pintor, m_prontas.first().figura, origem, escala);
}

QList<ItemTexto> Relatorio::textosDaPagina(int indice) const
{
    if (m_guarda == Guarda::Paginas) {
        Documento pagina;
        compoePagina(indice, pagina, nullptr);
        return pagina.textos();
    }
    QList<ItemTexto> textos;
    for (const ItemTexto& t : m_documento.textos()) {
        if (t.pagina == indice)
            textos.append(t);
    }
    return textos;
}

} // namespace printing
