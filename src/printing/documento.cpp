#include "documento.h"

#include <QFontMetricsF>
#include <QHash>
#include <QMutex>
#include <QPaintDevice>
#include <QPainter>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <utility>

namespace printing {

namespace {

// A line is 1.12 times the font's size, as the usual screen and printer fonts space them, whatever font the
// system finds for the name: the sheet's sections are laid out for that spacing.
constexpr double kEntrelinha = 1.12;
// Space between a table cell's border and its text, twips.
constexpr double kMargemCelulaH = 60.0;
constexpr double kMargemCelulaV = 8.0;
// The grid of the tables, twips.
constexpr double kEspessuraGrade = 8.0;

QString semEspacosNoFim(const QString& texto)
{
    qsizetype fim = texto.size();
    while (fim > 0 && texto.at(fim - 1).isSpace())
        --fim;
    return texto.left(fim);
}

QString semEspacosNoInicio(const QString& texto)
{
    qsizetype inicio = 0;
    while (inicio < texto.size() && texto.at(inicio).isSpace())
        ++inicio;
    return texto.mid(inicio);
}

// The rows of a header or body text: ";" ends a row and "|" separates its cells. A text that does not end with
// ";" still closes its last row.
QList<QStringList> linhasDe(const QString& texto)
{
    QList<QStringList> linhas;
    if (texto.isEmpty())
        return linhas;
    QStringList partes = texto.split(QLatin1Char(';'));
    if (texto.endsWith(QLatin1Char(';')))
        partes.removeLast();
    for (const QString& parte : partes)
        linhas.append(parte.split(QLatin1Char('|')));
    return linhas;
}

// A column width with an optional unit; twips when the unit is missing or unknown.
double larguraDe(QString texto)
{
    texto = texto.trimmed().toLower();
    static const QList<std::pair<QString, double>> unidades{{QStringLiteral("mm"), twipsDeMm(1.0)},
                                                            {QStringLiteral("cm"), twipsDeMm(10.0)},
                                                            {QStringLiteral("in"), kTwipsPorPolegada},
                                                            {QStringLiteral("pt"), 20.0},
                                                            {QStringLiteral("tw"), 1.0}};
    double fator = 1.0;
    for (const auto& [sufixo, twips] : unidades) {
        if (texto.endsWith(sufixo)) {
            texto.chop(sufixo.size());
            fator = twips;
            break;
        }
    }
    bool ok = false;
    const double numero = texto.trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    return ok && numero > 0.0 ? numero * fator : 0.0;
}

// The smallest size a line of text is shrunk to so that it fits its box: seven tenths of the size asked for, and
// never below 5 points unless a smaller size was asked. What still does not fit is cut.
constexpr double kMenorFonte = 5.0;
constexpr double kMenorEscala = 0.7;

// Lines measured in one font are remembered up to this many; then the memory starts over, so that the widths a
// long report keeps stay within a few hundred kilobytes.
constexpr qsizetype kLargurasLembradas = 2048;

const QRegularExpression& fimDeLinha()
{
    static const QRegularExpression fim(QStringLiteral("\r\n|\r|\n"));
    return fim;
}

// The lines of a text broken at its carriage returns and line feeds; most texts have none.
QStringList partesDe(const QString& texto)
{
    if (!texto.contains(QLatin1Char('\n')) && !texto.contains(QLatin1Char('\r')))
        return QStringList{texto};
    return texto.split(fimDeLinha());
}

} // namespace

std::size_t HashDaFonte::operator()(const Fonte& fonte) const
{
    return qHashMulti(0, fonte.nome, fonte.tamanho, fonte.negrito, fonte.italico);
}

Documento::Estilo::Estilo(const Fonte& fonte)
    : qfont(Documento::qfont(fonte)), medidas(qfont), ascendente(medidas.ascent()), descendente(medidas.descent())
{
}

double Documento::Estilo::largura(const QString& texto)
{
    const auto it = larguras.constFind(texto);
    if (it != larguras.cend())
        return *it;
    if (larguras.size() >= kLargurasLembradas)
        larguras.clear();
    return *larguras.insert(texto, medidas.horizontalAdvance(texto));
}

Documento::Estilo& Documento::estilo(const Fonte& fonte) const
{
    auto it = m_estilos.find(fonte);
    if (it == m_estilos.end())
        it = m_estilos.try_emplace(fonte, fonte).first;
    return it->second;
}

Documento::LinhaAjustada Documento::ajustada(const QString& texto, double largura, const Fonte& pedida) const
{
    const QString visivel = semEspacosNoFim(texto);
    LinhaAjustada linha{texto, pedida, &estilo(pedida), 0.0};
    linha.largura = linha.estilo->largura(visivel);
    if (largura <= 0.0 || linha.largura <= largura)
        return linha;
    // Advances grow with the size: begin at the size that should just fit and step down a twip at a time, as the
    // glyphs' advances are rounded.
    const double pedido = twipsDePontos(pedida.tamanho);
    const double piso = std::ceil(twipsDePontos(menorTamanho(pedida.tamanho)) - 1e-9);
    double tamanho = std::max(piso, std::floor(pedido * largura / linha.largura));
    for (;;) {
        linha.fonte.tamanho = tamanho / twipsDePontos(1.0);
        linha.estilo = &estilo(linha.fonte);
        linha.largura = linha.estilo->largura(visivel);
        if (linha.largura <= largura || tamanho <= piso)
            break;
        tamanho = std::max(piso, tamanho - 1.0);
    }
    if (linha.largura > largura) {
        linha.texto = linha.estilo->medidas.elidedText(visivel, Qt::ElideRight, largura);
        linha.largura = linha.estilo->largura(linha.texto);
    }
    return linha;
}

double Documento::menorTamanho(double pontos)
{
    return std::max(kMenorEscala * pontos, std::min(pontos, kMenorFonte));
}

QList<ItemTabela::Linha> ItemTabela::corpo() const
{
    QList<Linha> resultado;
    for (const Linha& linha : linhas) {
        if (!linha.cabecalho)
            resultado.append(linha);
    }
    return resultado;
}

Documento::Documento()
{
    m_fonteCabecalho.nome = QStringLiteral("Times");
    m_x = m_margemEsquerda;
    m_y = m_margemSuperior;
}

Documento::~Documento()
{
    if (m_gravador)
        m_gravador->end();
}

QSizeF Documento::pageSize() const
{
    return m_orientacao == Orientacao::Retrato ? m_papel : m_papel.transposed();
}

void Documento::setPaperSize(const QSizeF& retrato)
{
    m_papel = retrato;
}

void Documento::setMargins(double twips)
{
    m_margemEsquerda = m_margemDireita = m_margemSuperior = m_margemInferior = twips;
}

QStringList Documento::familias(const QString& nome)
{
    // The sheet and the reports are laid out for Arial and Times New Roman. Liberation (Debian's
    // fonts-liberation2) and Google's Arimo and Tinos have the same widths; DejaVu, present on every Linux desktop,
    // is wider, and is drawn smaller to make up for it.
    static const QStringList sem{QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                 QStringLiteral("Helvetica"), QStringLiteral("DejaVu Sans")};
    static const QStringList com{QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                                 QStringLiteral("Tinos"), QStringLiteral("Times"), QStringLiteral("DejaVu Serif")};
    const QString pedido = nome.trimmed();
    if (pedido.compare(QStringLiteral("Times"), Qt::CaseInsensitive) == 0 ||
        pedido.compare(QStringLiteral("Times New Roman"), Qt::CaseInsensitive) == 0)
        return com;
    if (pedido.isEmpty() || sem.contains(pedido, Qt::CaseInsensitive))
        return sem;
    // Any other font first, then the sans the page is laid out for.
    return QStringList{pedido} + sem;
}

namespace {

// How wide a sample line of the sheet is in the fonts the page is laid out for, in ems: Arial and Times New Roman,
// regular, italic, bold and bold italic (Liberation Sans and Serif have the same widths).
const QString kAmostra =
    QStringLiteral("Dosagem em Proporções em Massa: Cimento 50,0 kg, Areia Fina 84,3 kg, Água Total 24,8 litros.");
constexpr double kAmostraSem[2][2] = {{42.836, 42.891}, {45.292, 45.329}}; // [negrito][italico]
constexpr double kAmostraCom[2][2] = {{38.934, 38.969}, {40.748, 39.844}};

QFont fonteDaPagina(const Fonte& fonte, const QStringList& lista, int tamanho)
{
    QFont f;
    f.setFamilies(lista);
    f.setStyleHint(lista.contains(QStringLiteral("Times")) ? QFont::Serif : QFont::SansSerif);
    f.setPixelSize(tamanho);
    f.setBold(fonte.negrito);
    f.setItalic(fonte.italico);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

// What a font the machine has in place of Arial or Times New Roman is scaled by so that a line takes the width it
// would take in them: 1 for the fonts of the same widths, less for a wider font such as DejaVu. A narrower font is
// left as it is. Measured once for each font.
double escalaDeLargura(const Fonte& fonte, const QStringList& lista)
{
    const bool sem = lista.contains(QStringLiteral("Arial"));
    if (!sem && !lista.contains(QStringLiteral("Times")))
        return 1.0;
    static QMutex guarda;
    static QHash<std::pair<QString, int>, double> escalas;
    // The first family names the list (familias puts the name asked for first, or Arial or Times New Roman), so
    // that it and the style find a measurement without joining the list for every line drawn.
    const std::pair<QString, int> chave{lista.first(), int(fonte.negrito) * 2 + int(fonte.italico)};
    const QMutexLocker trava(&guarda);
    auto it = escalas.constFind(chave);
    if (it == escalas.cend()) {
        constexpr int kEm = 1000;
        const double largura = QFontMetricsF(fonteDaPagina(fonte, lista, kEm)).horizontalAdvance(kAmostra) / kEm;
        const double referencia = (sem ? kAmostraSem : kAmostraCom)[fonte.negrito][fonte.italico];
        it = escalas.insert(chave, largura > referencia ? referencia / largura : 1.0);
    }
    return *it;
}

} // namespace

QFont Documento::qfont(const Fonte& fonte)
{
    const QStringList lista = familias(fonte.nome);
    const double tamanho = twipsDePontos(fonte.tamanho) * escalaDeLargura(fonte, lista);
    return fonteDaPagina(fonte, lista, std::max(1, int(std::lround(tamanho))));
}

double Documento::lineHeight(const Fonte& fonte)
{
    return std::round(twipsDePontos(fonte.tamanho) * kEntrelinha);
}

double Documento::lineHeight() const
{
    return lineHeight(m_fonte);
}

double Documento::textWidth(const QString& texto) const
{
    return estilo(m_fonte).largura(texto);
}

void Documento::limpa()
{
    if (m_gravador) {
        m_gravador->end();
        m_gravador.reset();
    }
    m_pintor = nullptr;
    m_aberta = false;
    m_destino = nullptr;
    m_paginasFeitas = 0;
    m_paginas.clear();
    m_figurasDasPaginas.clear();
    m_paginasInteiras.clear();
    m_figurasAtuais.clear();
    m_imagensLidas.clear();
    m_atual = QPicture();
    m_tabela.reset();
    m_textos.clear();
    m_paragrafos.clear();
    m_tabelas.clear();
    m_reguas.clear();
    m_figuras.clear();
    m_fundos.clear();
}

void Documento::startDoc()
{
    limpa();
    abrePagina();
}

void Documento::startDoc(DestinoDasPaginas destino, int primeiraPagina)
{
    limpa();
    m_destino = std::move(destino);
    m_paginasFeitas = primeiraPagina;
    abrePagina();
}

void Documento::endDoc()
{
    if (m_aberta)
        fechaPagina();
}

void Documento::newPage()
{
    exigeDocumento();
    fechaPagina();
    abrePagina();
}

void Documento::exigeDocumento()
{
    if (!m_aberta)
        abrePagina();
}

void Documento::abrePagina()
{
    m_aberta = true;
    if (m_destino) {
        // Only the page being composed is kept track of.
        m_textos.clear();
        m_paragrafos.clear();
        m_reguas.clear();
        m_figuras.clear();
        m_fundos.clear();
        m_pintor = m_destino(m_paginasFeitas);
    } else {
        m_atual = QPicture();
        m_gravador = std::make_unique<QPainter>(&m_atual);
        m_pintor = m_gravador.get();
    }
    m_estiloNoPintor = nullptr;
    if (m_pintor)
        m_pintor->setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    m_x = m_margemEsquerda;
    m_y = m_margemSuperior;
}

void Documento::fechaPagina()
{
    desenhaCabecalhoERodape();
    m_aberta = false;
    m_pintor = nullptr;
    ++m_paginasFeitas;
    if (!m_gravador)
        return;
    m_gravador->end();
    m_gravador.reset();
    m_paginas.push_back(m_atual);
    m_figurasDasPaginas.push_back(m_figurasAtuais);
    m_paginasInteiras.emplace_back();
    m_figurasAtuais.clear();
    m_atual = QPicture();
}

void Documento::desenhaCabecalhoERodape()
{
    const double altura = lineHeight(m_fonteCabecalho);
    if (!m_cabecalho.isEmpty())
        desenhaPartes(m_cabecalho, std::max(0.0, (m_margemSuperior - altura) / 2.0), altura,
                      ItemTexto::Origem::Cabecalho);
    if (!m_rodape.isEmpty())
        desenhaPartes(m_rodape, base() + std::max(0.0, (m_margemInferior - altura) / 2.0), altura,
                      ItemTexto::Origem::Rodape);
}

void Documento::desenhaPartes(const QString& texto, double topo, double altura, ItemTexto::Origem origem)
{
    const QString pagina = QString::number(pageCount() + 1);
    const QStringList partes = texto.split(QLatin1Char('|'));
    const Qt::Alignment alinhamentos[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    const QRectF faixa(m_margemEsquerda, topo, larguraUtil(), altura);
    for (qsizetype i = 0; i < std::min<qsizetype>(partes.size(), 3); ++i) {
        QString parte = partes[i];
        parte.replace(QStringLiteral("%d"), pagina);
        if (!parte.isEmpty())
            desenhaLinhaDeTexto(parte, faixa, alinhamentos[i], origem, m_fonteCabecalho, m_corTexto);
    }
}

void Documento::desenhaLinhaDeTexto(const QString& texto, const QRectF& caixa, Qt::Alignment alinhamento,
                                    ItemTexto::Origem origem, const Fonte& fonte, const QColor& cor)
{
    // A line never leaves its box: with a font wider than the one the page was laid out for it is drawn smaller
    // or cut.
    const LinhaAjustada linha = ajustada(texto, caixa.width(), fonte);
    double x = caixa.left();
    if (alinhamento & Qt::AlignRight)
        x = caixa.right() - linha.largura;
    else if (alinhamento & Qt::AlignHCenter)
        x = caixa.left() + (caixa.width() - linha.largura) / 2.0;
    // The line keeps the height of the size asked for; the baseline splits it as the font splits its height between
    // ascent and descent, so that a smaller line stands on the same baseline as its neighbours.
    const double altura = caixa.height();
    const double linhaDeBase =
        caixa.top() + altura * linha.estilo->ascendente / (linha.estilo->ascendente + linha.estilo->descendente);
    if (m_pintor) {
        // A painter resolves every font it is given: a run of lines in one style gives it once.
        if (m_estiloNoPintor != linha.estilo) {
            m_pintor->setFont(linha.estilo->qfont);
            m_estiloNoPintor = linha.estilo;
        }
        m_pintor->setPen(cor);
        m_pintor->drawText(QPointF(x, linhaDeBase), linha.texto);
    }
    m_textos.append(
        ItemTexto{pageCount(), linha.texto, QRectF(x, caixa.top(), linha.largura, altura), linha.fonte, cor, origem});
}

QStringList Documento::quebra(const QString& texto, double largura, const Fonte& fonte) const
{
    Estilo& medidas = estilo(fonte);
    static const QRegularExpression palavra(QStringLiteral("\\s*\\S+\\s*"));
    QStringList linhas;
    for (const QString& parte : partesDe(texto)) {
        if (largura <= 0.0 || medidas.largura(semEspacosNoFim(parte)) <= largura) {
            linhas.append(parte);
            continue;
        }
        // Fill each line with as many words as fit; the blanks where a line breaks are not printed.
        QString linha;
        auto it = palavra.globalMatch(parte);
        while (it.hasNext()) {
            const QString trecho = it.next().captured();
            const QString candidata = linha + trecho;
            if (!linha.isEmpty() && medidas.largura(semEspacosNoFim(candidata)) > largura) {
                linhas.append(semEspacosNoFim(linha));
                linha = semEspacosNoInicio(trecho);
            } else {
                linha = candidata;
            }
        }
        linhas.append(linha);
    }
    return linhas;
}

void Documento::paragraph(const QString& texto)
{
    exigeDocumento();
    const Fonte fonte = m_fonte;
    const double altura = lineHeight(fonte);
    const double esquerda = m_x;
    const double direita = std::max(esquerda, pageWidth() - m_margemDireita);
    const Qt::Alignment alinhamento = m_alinhamento == Alinhamento::Direita  ? Qt::AlignRight
                                      : m_alinhamento == Alinhamento::Centro ? Qt::AlignHCenter
                                                                             : Qt::AlignLeft;
    ItemParagrafo item{pageCount(), texto, m_x, m_y, m_alinhamento, fonte, m_corTexto, {}};
    bool primeira = true;
    for (const QString& linha : quebra(texto, direita - esquerda, fonte)) {
        if (m_y + altura > base() && m_y > m_margemSuperior)
            newPage();
        if (primeira) {
            // Where the paragraph actually begins, on the next page when it did not fit.
            item.pagina = pageCount();
            item.y = m_y;
            primeira = false;
        }
        const qsizetype antes = m_textos.size();
        if (!linha.isEmpty())
            desenhaLinhaDeTexto(linha, QRectF(esquerda, m_y, direita - esquerda, altura), alinhamento,
                                ItemTexto::Origem::Paragrafo, fonte, m_corTexto);
        const QRectF caixa = m_textos.size() > antes ? m_textos.last().caixa : QRectF(esquerda, m_y, 0.0, altura);
        item.caixa = item.caixa.isNull() ? caixa : item.caixa.united(caixa);
        m_y += altura;
    }
    m_paragrafos.append(item);
    m_x = m_margemEsquerda;
}

double Documento::alturaDaLinhaDaTabela(const TabelaAberta& tabela, const QStringList& celulas) const
{
    int linhas = 1;
    for (qsizetype i = 0; i < tabela.colunas.size(); ++i) {
        const QString celula = i < celulas.size() ? celulas[i] : QString();
        const double largura = tabela.colunas[i].largura - 2.0 * kMargemCelulaH;
        linhas = std::max(linhas, int(quebra(celula, largura, m_fonte).size()));
    }
    return linhas * lineHeight(m_fonte) + 2.0 * kMargemCelulaV;
}

void Documento::desenhaLinhaDaTabela(TabelaAberta& tabela, const QStringList& celulas,
                                     const std::optional<QColor>& sombra, bool cabecalho)
{
    const double altura = alturaDaLinhaDaTabela(tabela, celulas);
    double largura = 0.0;
    for (const Coluna& coluna : tabela.colunas)
        largura += coluna.largura;

    // A row that does not fit goes to the next page, under the header again.
    if (tabela.fundo + altura > base() && tabela.fundo > m_margemSuperior) {
        newPage();
        tabela.fundo = m_margemSuperior;
        tabela.pagina = pageCount();
        if (!cabecalho) {
            for (const QStringList& linha : std::as_const(tabela.cabecalho)) {
                const qsizetype antes = m_tabelas[tabela.indice].linhas.size();
                desenhaLinhaDaTabela(tabela, linha, tabela.sombraCabecalho, true);
                m_tabelas[tabela.indice].linhas.resize(antes); // the repeated header is not a new row
            }
        }
    }

    const QRectF caixa(tabela.x, tabela.fundo, largura, altura);
    if (sombra && m_pintor) {
        m_pintor->setPen(Qt::NoPen);
        m_pintor->setBrush(*sombra);
        m_pintor->drawRect(caixa);
        m_pintor->setBrush(Qt::NoBrush);
    }

    const double alturaDaLinha = lineHeight(m_fonte);
    double x = tabela.x;
    QStringList escritas;
    for (qsizetype i = 0; i < tabela.colunas.size(); ++i) {
        const Coluna& coluna = tabela.colunas[i];
        const QString celula = i < celulas.size() ? celulas[i] : QString();
        escritas.append(celula);
        const QRectF interior(x + kMargemCelulaH, tabela.fundo + kMargemCelulaV, coluna.largura - 2.0 * kMargemCelulaH,
                              alturaDaLinha);
        double topo = interior.top();
        for (const QString& linha : quebra(celula, interior.width(), m_fonte)) {
            if (!linha.isEmpty())
                desenhaLinhaDeTexto(linha, QRectF(interior.left(), topo, interior.width(), alturaDaLinha),
                                    coluna.alinhamento, ItemTexto::Origem::Celula, m_fonte, m_corTexto);
            topo += alturaDaLinha;
        }
        x += coluna.largura;
    }

    if (m_pintor) {
        QPen grade(m_corTraco);
        grade.setWidthF(kEspessuraGrade);
        m_pintor->setPen(grade);
        m_pintor->setBrush(Qt::NoBrush);
        m_pintor->drawRect(caixa);
        x = tabela.x;
        for (qsizetype i = 0; i + 1 < tabela.colunas.size(); ++i) {
            x += tabela.colunas[i].largura;
            m_pintor->drawLine(QPointF(x, caixa.top()), QPointF(x, caixa.bottom()));
        }
    }

    m_tabelas[tabela.indice].linhas.append(ItemTabela::Linha{escritas, sombra, cabecalho, caixa, pageCount()});
    tabela.fundo += altura;
}

void Documento::addTable(const QString& formato, const QString& cabecalho, const QString& corpo,
                         const std::optional<QColor>& sombraCabecalho, const std::optional<QColor>& sombraCorpo,
                         bool anexar)
{
    exigeDocumento();
    if (!anexar || !m_tabela) {
        TabelaAberta tabela;
        QString colunas = formato.trimmed();
        if (colunas.endsWith(QLatin1Char(';')))
            colunas.chop(1);
        double largura = 0.0;
        for (QString coluna : colunas.split(QLatin1Char('|'))) {
            Coluna c;
            coluna = coluna.trimmed();
            while (!coluna.isEmpty() && QStringLiteral("<^>=").contains(coluna.at(0))) {
                const QChar marca = coluna.at(0);
                c.alinhamento = marca == QLatin1Char('^')   ? Qt::AlignHCenter
                                : marca == QLatin1Char('>') ? Qt::AlignRight
                                                            : Qt::AlignLeft;
                coluna.remove(0, 1);
            }
            c.largura = larguraDe(coluna);
            largura += c.largura;
            tabela.colunas.append(c);
        }
        tabela.cabecalho = linhasDe(cabecalho);
        tabela.sombraCabecalho = sombraCabecalho;
        tabela.x = m_alinhamento == Alinhamento::Direita  ? pageWidth() - m_margemDireita - largura
                   : m_alinhamento == Alinhamento::Centro ? m_margemEsquerda + (larguraUtil() - largura) / 2.0
                                                          : m_x;
        tabela.fundo = m_y;
        tabela.pagina = pageCount();
        tabela.indice = int(m_tabelas.size());
        m_tabelas.append(ItemTabela{pageCount(), formato, m_alinhamento, {}});
        m_tabela = tabela;
        for (const QStringList& linha : std::as_const(m_tabela->cabecalho))
            desenhaLinhaDaTabela(*m_tabela, linha, sombraCabecalho, true);
    }
    for (const QStringList& linha : linhasDe(corpo))
        desenhaLinhaDaTabela(*m_tabela, linha, sombraCorpo, false);
    m_y = m_tabela->fundo;
    m_x = m_margemEsquerda;
}

void Documento::textBox(const QRectF& caixa, const QString& texto, Qt::Alignment alinhamento, bool encolhe)
{
    exigeDocumento();
    double topo = caixa.top();
    for (const QString& parte : partesDe(texto)) {
        Fonte fonte = m_fonte;
        if (encolhe) {
            while (fonte.tamanho > kMenorFonte && estilo(fonte).largura(semEspacosNoFim(parte)) > caixa.width())
                fonte.tamanho = std::max(kMenorFonte, fonte.tamanho - 0.5);
        }
        const double altura = lineHeight(fonte);
        for (const QString& linha : quebra(parte, caixa.width(), fonte)) {
            if (!linha.isEmpty())
                desenhaLinhaDeTexto(linha, QRectF(caixa.left(), topo, caixa.width(), altura), alinhamento,
                                    ItemTexto::Origem::Caixa, fonte, m_corTexto);
            topo += altura;
        }
    }
}

void Documento::fillBox(const QRectF& caixa, const QColor& cor)
{
    exigeDocumento();
    if (m_pintor)
        m_pintor->fillRect(caixa, cor);
    m_fundos.append(ItemFundo{pageCount(), caixa, cor});
}

void Documento::drawLine(double x1, double y1, double x2, double y2)
{
    exigeDocumento();
    const QLineF linha(x1, y1, x2, y2);
    if (m_pintor) {
        QPen caneta(m_corTraco);
        caneta.setWidthF(kEspessuraGrade * 2.0);
        m_pintor->setPen(caneta);
        m_pintor->drawLine(linha);
    }
    m_reguas.append(ItemRegua{pageCount(), linha, m_corTraco});
}

void Documento::drawRule(double y)
{
    drawLine(m_margemEsquerda, y, pageWidth() - m_margemDireita, y);
}

bool Documento::drawPicture(const QString& arquivo, const QRectF& caixa, AjusteFigura ajuste)
{
    exigeDocumento();
    // Each file is read once, so that every page draws the same image.
    auto lida = m_imagensLidas.constFind(arquivo);
    if (lida == m_imagensLidas.cend())
        lida = m_imagensLidas.insert(arquivo, QImage(arquivo));
    const QImage imagem = *lida;
    if (imagem.isNull()) {
        m_figuras.append(ItemFigura{pageCount(), arquivo, caixa, false});
        return false;
    }
    drawPicture(imagem, caixa, ajuste);
    m_figuras.last().arquivo = arquivo;
    return true;
}

void Documento::drawPicture(const QImage& imagem, const QRectF& caixa, AjusteFigura ajuste)
{
    exigeDocumento();
    QRectF alvo = caixa;
    if (ajuste == AjusteFigura::Proporcional && !imagem.isNull()) {
        const QSizeF tamanho = QSizeF(imagem.size()).scaled(caixa.size(), Qt::KeepAspectRatio);
        alvo = QRectF(QPointF(0.0, 0.0), tamanho);
        alvo.moveCenter(caixa.center());
    }
    // A kept page draws its pictures under everything else when it is played; a page drawn as it is composed
    // draws them now.
    if (!imagem.isNull() && m_gravador)
        m_figurasAtuais.append(Figura{alvo, imagem});
    else if (!imagem.isNull() && m_pintor)
        m_pintor->drawImage(alvo, imagem);
    m_figuras.append(ItemFigura{pageCount(), QString(), caixa, !imagem.isNull()});
}

const QPicture& Documento::page(int indice) const
{
    const std::size_t i = std::size_t(indice);
    const QList<Figura>& figuras = m_figurasDasPaginas.at(i);
    if (figuras.isEmpty())
        return m_paginas.at(i);
    std::optional<QPicture>& inteira = m_paginasInteiras.at(i);
    if (!inteira) {
        inteira.emplace();
        QPainter pintor(&*inteira);
        pintor.setRenderHint(QPainter::SmoothPixmapTransform);
        for (const Figura& figura : figuras)
            pintor.drawImage(figura.alvo, figura.imagem);
        pintor.drawPicture(0, 0, m_paginas.at(i));
    }
    return *inteira;
}

void Documento::drawPage(QPainter& pintor, int indice, const QPointF& origem, double escala) const
{
    const std::size_t i = std::size_t(indice);
    // The pictures first, as the texts and rules drawn over them on the page.
    const QList<Figura>& figuras = m_figurasDasPaginas.at(i);
    if (!figuras.isEmpty()) {
        pintor.save();
        pintor.setRenderHint(QPainter::SmoothPixmapTransform);
        pintor.translate(origem);
        pintor.scale(escala, escala);
        for (const Figura& figura : figuras)
            pintor.drawImage(figura.alvo, figura.imagem);
        pintor.restore();
    }
    desenhaPagina(pintor, m_paginas.at(i), origem, escala);
}

void desenhaPagina(QPainter& pintor, const QPicture& pagina, const QPointF& origem, double escala)
{
    // A picture played back is scaled by the device's resolution over the one it was recorded at; the page's
    // own scale takes that out again.
    const QPaintDevice* dispositivo = pintor.device();
    const double dpiX = dispositivo ? dispositivo->logicalDpiX() : pagina.logicalDpiX();
    const double dpiY = dispositivo ? dispositivo->logicalDpiY() : pagina.logicalDpiY();
    pintor.save();
    pintor.translate(origem);
    pintor.scale(escala * pagina.logicalDpiX() / dpiX, escala * pagina.logicalDpiY() / dpiY);
    pintor.drawPicture(0, 0, pagina);
    pintor.restore();
}

} // namespace printing
