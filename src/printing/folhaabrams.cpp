#include "folhaabrams.h"

#include "documento.h"
#include "ficha.h"

#include "calc/abrams.h"
#include "platform/clock.h"

#include <QLocale>

namespace printing {

namespace {

const QColor kPreto(0, 0, 0);
const QColor kAzul(0, 0, 255);

const Fonte kFonteDoTitulo{QStringLiteral("Arial"), 24.0, true, false};
const Fonte kFonteDoTraco{QStringLiteral("Arial"), 16.0, true, false};
const Fonte kFonteDaData{QStringLiteral("Arial"), 9.0, false, true};
const Fonte kFonteDoTexto{QStringLiteral("Arial"), 12.0, false, false};
const Fonte kFonteDoRodape{QStringLiteral("Times"), 8.0, false, true};

constexpr double kMargemLateral = 900.0;
constexpr double kMargemSuperior = 700.0;
constexpr double kMargemInferior = 700.0;
constexpr double kAlturaDaLinha = 360.0;

void texto(Documento& folha, const QRectF& caixa, const QString& conteudo, const Fonte& fonte, const QColor& cor,
           Qt::Alignment alinhamento)
{
    folha.setFonte(fonte);
    folha.setTextColor(cor);
    folha.textBox(caixa, conteudo, alinhamento, true);
}

} // namespace

void ImprimeAbrams(Documento& folha, const calc::Abrams& abrams, const QImage& grafico)
{
    folha.setOrientation(Orientacao::Retrato);
    folha.setPaperSize(QSizeF(kLarguraA4, kAlturaA4));
    folha.setMarginLeft(kMargemLateral);
    folha.setMarginRight(kMargemLateral);
    folha.setMarginTop(kMargemSuperior);
    folha.setMarginBottom(kMargemInferior);
    folha.setHeader(QString());
    folha.setFooter(QString());
    folha.startDoc();

    const double largura = folha.larguraUtil();
    double y = kMargemSuperior;
    texto(folha, QRectF(kMargemLateral + largura - 2600, y, 2600, 260),
          QStringLiteral("Impresso: ") + QLocale().toString(platform::Clock::hoje(), QLocale::ShortFormat),
          kFonteDaData, kPreto, Qt::AlignRight);
    y += 300;
    texto(folha, QRectF(kMargemLateral, y, largura, 620), QStringLiteral("Gráfico de Abrams"), kFonteDoTitulo, kAzul,
          Qt::AlignHCenter);
    y += 700;
    if (!abrams.titulo.isEmpty()) {
        texto(folha, QRectF(kMargemLateral, y, largura, 420), abrams.titulo, kFonteDoTraco, kPreto, Qt::AlignHCenter);
        y += 600;
    }
    const double altura = largura / kProporcaoDoGraficoDeAbrams;
    folha.drawPicture(grafico, QRectF(kMargemLateral, y, largura, altura));
    y += altura + 300;
    for (const QString& linha : calc::linhasDeAbrams(abrams)) {
        texto(folha, QRectF(kMargemLateral, y, largura, kAlturaDaLinha), linha, kFonteDoTexto, kPreto, Qt::AlignLeft);
        y += kAlturaDaLinha;
    }
    texto(folha, QRectF(kMargemLateral, folha.pageHeight() - kMargemInferior + 200, largura, 240), avisoDoRodape(),
          kFonteDoRodape, kPreto, Qt::AlignLeft);
    folha.endDoc();
}

} // namespace printing
