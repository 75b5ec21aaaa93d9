#include "folhadabetonada.h"

#include "documento.h"
#include "ficha.h"
#include "folhaavulsa.h"

#include "calc/betonada.h"
#include "calc/calcstate.h"

#include <QLocale>

#include <array>
#include <cmath>

namespace printing {

namespace {

using namespace CorDaFolha;

const Fonte kFonteDoTitulo{QStringLiteral("Arial"), 32.0, true, false};
const Fonte kFonteDoTraco{QStringLiteral("Arial"), 20.0, true, false};
const Fonte kFonteDaData{QStringLiteral("Arial"), 9.0, false, true};
const Fonte kFonteDoTexto{QStringLiteral("Arial"), 14.0, false, false};
const Fonte kFonteDosSacos{QStringLiteral("Arial"), 24.0, true, false};
const Fonte kFonteDaColuna{QStringLiteral("Arial"), 12.0, true, false};
const Fonte kFonteDaLinha{QStringLiteral("Arial"), 18.0, false, false};
const Fonte kFonteDaNota{QStringLiteral("Arial"), 10.0, false, true};
const Fonte kFonteDoRodape{QStringLiteral("Times"), 8.0, false, true};

constexpr double kMargemLateral = 900.0;
constexpr double kMargemSuperior = 700.0;
constexpr double kMargemInferior = 700.0;
constexpr double kAlturaDaLinha = 620.0;
constexpr double kLarguraDasQuantidades = 2300.0;

// Whole numbers in words, as a bag is counted (saco is masculine: "um", "dois").
QString porExtenso(int n)
{
    static const std::array<const char*, 20> unidades{
        "zero", "um",   "dois", "três",  "quatro",   "cinco",  "seis",      "sete",      "oito",    "nove",
        "dez",  "onze", "doze", "treze", "quatorze", "quinze", "dezesseis", "dezessete", "dezoito", "dezenove"};
    static const std::array<const char*, 10> dezenas{"",          "",         "vinte",   "trinta",  "quarenta",
                                                     "cinquenta", "sessenta", "setenta", "oitenta", "noventa"};
    static const std::array<const char*, 10> centenas{
        "",           "cento",      "duzentos",   "trezentos",  "quatrocentos",
        "quinhentos", "seiscentos", "setecentos", "oitocentos", "novecentos"};
    if (n < 0 || n > 999)
        return QString::number(n);
    if (n < 20)
        return QString::fromUtf8(unidades[std::size_t(n)]);
    if (n == 100)
        return QStringLiteral("cem");
    QStringList partes;
    if (n >= 100)
        partes.append(QString::fromUtf8(centenas[std::size_t(n / 100)]));
    const int resto = n % 100;
    if (resto >= 20) {
        partes.append(QString::fromUtf8(dezenas[std::size_t(resto / 10)]));
        if (resto % 10)
            partes.append(QString::fromUtf8(unidades[std::size_t(resto % 10)]));
    } else if (resto > 0) {
        partes.append(QString::fromUtf8(unidades[std::size_t(resto)]));
    }
    return partes.join(QStringLiteral(" e "));
}

QString numero(double valor, int casas)
{
    return QLocale().toString(valor, 'f', casas);
}

class Composicao
{
public:
    Composicao(Documento& folha, const calc::CalcState& traco, const calc::Betonada& b, const QString& logotipo)
        : m_folha(folha), m_traco(traco), m_b(b), m_logotipo(logotipo)
    {
    }

    void compoe()
    {
        const double largura = m_folha.larguraUtil();
        m_y = kMargemSuperior;
        if (!m_logotipo.isEmpty())
            m_folha.drawPicture(m_logotipo, QRectF(kMargemLateral, m_y, 2000, 700));
        texto(QRectF(kMargemLateral + largura - 2600, m_y, 2600, 260), textoDaImpressao(), kFonteDaData, kPreto,
              Qt::AlignRight);
        texto(QRectF(kMargemLateral, m_y, largura, 800), QStringLiteral("Betonada"), kFonteDoTitulo, kAzul,
              Qt::AlignHCenter);
        m_y += 900;
        const QString titulo = m_traco.titulo.isEmpty() ? m_traco.nomeTraco.trimmed() : m_traco.titulo;
        texto(QRectF(kMargemLateral, m_y, largura, 520), titulo, kFonteDoTraco, kPreto, Qt::AlignHCenter);
        m_y += 700;
        texto(QRectF(kMargemLateral, m_y, largura, 380),
              QStringLiteral("Betoneira de %1 L: cada betonada rende %2 L de concreto")
                  .arg(numero(m_b.capacidade, 0), numero(m_b.litrosPorBetonada, 1)),
              kFonteDoTexto, kPreto, Qt::AlignHCenter);
        m_y += 600;

        m_folha.fillBox(QRectF(kMargemLateral, m_y, largura, 800), kDestaque);
        texto(QRectF(kMargemLateral + 100, m_y + 120, largura - 200, 600),
              QStringLiteral("Cimento: ") + textoDosSacos(m_b.sacos), kFonteDosSacos, kPreto, Qt::AlignHCenter);
        m_y += 1000;

        materiais();

        if (m_b.betonadas && m_b.volume) {
            m_y += 300;
            m_folha.fillBox(QRectF(kMargemLateral, m_y, largura, 700), kDestaque);
            texto(QRectF(kMargemLateral + 100, m_y + 120, largura - 200, 500),
                  QStringLiteral("Para %1 m³: %2 %3")
                      .arg(numero(*m_b.volume, 2), QString::number(*m_b.betonadas),
                           *m_b.betonadas == 1 ? QStringLiteral("betonada") : QStringLiteral("betonadas")),
                  kFonteDoTraco, kPreto, Qt::AlignHCenter);
            m_y += 800;
        }

        m_y += 200;
        QString nota =
            QStringLiteral("A água a adicionar já desconta a umidade da areia (%1%). Saco de cimento de %2 kg.")
                .arg(numero(m_traco.h * 100.0, 1), numero(m_b.pesoSaco, 1));
        if (m_traco.emVolume())
            nota += QStringLiteral(" Traço medido em volume: os litros são do material solto.");
        m_folha.setFonte(kFonteDaNota);
        m_folha.setTextColor(kCinza);
        m_folha.textBox(QRectF(kMargemLateral, m_y, largura, 700), nota, Qt::AlignLeft);

        const double topo = m_folha.pageHeight() - kMargemInferior + 200;
        texto(QRectF(kMargemLateral, topo, largura, 240), avisoDoRodape(), kFonteDoRodape, kPreto, Qt::AlignLeft);
        m_folha.endDoc();
    }

private:
    void texto(const QRectF& caixa, const QString& conteudo, const Fonte& fonte, const QColor& cor,
               Qt::Alignment alinhamento)
    {
        escreve(m_folha, caixa, conteudo, fonte, cor, alinhamento);
    }

    // Material, kilograms (the admixtures in their unit) and litres, one row each, every other one shaded.
    void materiais()
    {
        const double largura = m_folha.larguraUtil();
        const double xLitros = kMargemLateral + largura - kLarguraDasQuantidades;
        const double xQuantidade = xLitros - kLarguraDasQuantidades;
        const double larguraDoNome = xQuantidade - kMargemLateral - 100;
        texto(QRectF(kMargemLateral + 100, m_y, larguraDoNome, 300), QStringLiteral("Material"), kFonteDaColuna, kAzul,
              Qt::AlignLeft);
        texto(QRectF(xQuantidade, m_y, kLarguraDasQuantidades - 100, 300), QStringLiteral("Quantidade"), kFonteDaColuna,
              kAzul, Qt::AlignRight);
        texto(QRectF(xLitros, m_y, kLarguraDasQuantidades - 100, 300), QStringLiteral("Litros"), kFonteDaColuna, kAzul,
              Qt::AlignRight);
        m_y += 340;
        m_folha.setPenColor(kAzul);
        m_folha.drawLine(kMargemLateral, m_y, kMargemLateral + largura, m_y);
        bool listra = false;
        for (const calc::MaterialDaBetonada& m : m_b.materiais) {
            if (listra)
                m_folha.fillBox(QRectF(kMargemLateral, m_y, largura, kAlturaDaLinha), kListra);
            listra = !listra;
            const double topo = m_y + 110;
            const double altura = kAlturaDaLinha - 140;
            texto(QRectF(kMargemLateral + 100, topo, larguraDoNome, altura), m.nome, kFonteDaLinha, kPreto,
                  Qt::AlignLeft);
            const bool agua = m.tipo == calc::MaterialDaBetonada::Tipo::Agua;
            if (!agua)
                texto(QRectF(xQuantidade, topo, kLarguraDasQuantidades - 100, altura),
                      numero(m.quantidade, m.tipo == calc::MaterialDaBetonada::Tipo::Aditivo ? 2 : 1) +
                          QLatin1Char(' ') + m.unidade,
                      kFonteDaLinha, kPreto, Qt::AlignRight);
            if (m.litros)
                texto(QRectF(xLitros, topo, kLarguraDasQuantidades - 100, altura),
                      numero(*m.litros, 1) + QStringLiteral(" L"), kFonteDaLinha, kPreto, Qt::AlignRight);
            m_y += kAlturaDaLinha;
        }
        m_folha.setPenColor(kAzul);
        m_folha.drawLine(kMargemLateral, m_y, kMargemLateral + largura, m_y);
    }

    Documento& m_folha;
    const calc::CalcState& m_traco;
    const calc::Betonada& m_b;
    QString m_logotipo;
    double m_y = 0.0;
};

} // namespace

QString textoDosSacos(double sacos)
{
    const int inteiros = int(std::floor(sacos));
    const bool meio = sacos - inteiros >= 0.25;
    if (inteiros == 0)
        return meio ? QStringLiteral("meio saco") : QStringLiteral("0 sacos");
    const QString nome = inteiros == 1 ? QStringLiteral("saco") : QStringLiteral("sacos");
    const QString fim = meio ? QStringLiteral(" e meio") : QString();
    return QStringLiteral("%1 %2%3 (%4 %2%3)").arg(QString::number(inteiros), nome, fim, porExtenso(inteiros));
}

QString mensagemDaBetonada(const calc::Betonada& b, const QString& cimento)
{
    using F = calc::FalhaDaBetonada;
    switch (b.falha) {
    case F::Nenhuma:
        return QString();
    case F::SemCimento:
        return QStringLiteral("O traço não tem cimento: não há sacos por que dividi-lo.");
    case F::SemPesoDoSaco:
        return cimento.isEmpty()
                   ? QStringLiteral("O traço não indica o produto cimento: a massa do saco é desconhecida.")
                   : QStringLiteral("O produto \"%1\" não tem o peso do saco em Produtos: informe o Peso do cimento.")
                         .arg(cimento);
    case F::CapacidadeInvalida:
        return QStringLiteral("A capacidade da betoneira deve ser um número de litros maior que zero.");
    case F::CapacidadePequena:
        return QStringLiteral("Na betoneira de %1 L não cabe nem %2 de cimento deste traço: %2 rende %3 L de concreto.")
            .arg(numero(b.capacidade, 0), b.meioSaco ? QStringLiteral("meio saco") : QStringLiteral("um saco"),
                 numero(b.litrosPorSaco * (b.meioSaco ? 0.5 : 1.0), 1));
    case F::VolumeInvalido:
        return QStringLiteral("O volume a concretar deve ser um número de metros cúbicos maior que zero.");
    }
    return QString();
}

void ImprimeBetonada(Documento& folha, const calc::CalcState& traco, const calc::Betonada& betonada,
                     const QString& logotipo)
{
    abreFolhaA4(folha, kMargemLateral, kMargemSuperior, kMargemInferior);
    Composicao(folha, traco, betonada, logotipo).compoe();
}

} // namespace printing
