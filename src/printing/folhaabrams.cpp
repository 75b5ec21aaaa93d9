#include "folhaabrams.h"

#include "documento.h"
#include "ficha.h"
#include "folhaavulsa.h"

#include "calc/abrams.h"

namespace printing {

namespace {

using namespace CorDaFolha;

const Fonte kFonteDoTitulo{QStringLiteral("Arial"), 24.0, true, false};
const Fonte kFonteDoTraco{QStringLiteral("Arial"), 16.0, true, false};
const Fonte kFonteDaData{QStringLiteral("Arial"), 9.0, false, true};
const Fonte kFonteDoTexto{QStringLiteral("Arial"), 12.0, false, false};
const Fonte kFonteDoRodape{QStringLiteral("Times"), 8.0, false, true};

constexpr double kMargemLateral = 900.0;
constexpr double kMargemSuperior = 700.0;
constexpr double kMargemInferior = 700.0;
constexpr double kAlturaDaLinha = 360.0;

} // namespace

void ImprimeAbrams(Documento& folha, const calc::Abrams& abrams, const QImage& grafico)
{
    abreFolhaA4(folha, kMargemLateral, kMargemSuperior, kMargemInferior);

    const double largura = folha.larguraUtil();
    double y = kMargemSuperior;
    escreve(folha, QRectF(kMargemLateral + largura - 2600, y, 2600, 260), textoDaImpressao(), kFonteDaData, kPreto,
            Qt::AlignRight);
    y += 300;
    escreve(folha, QRectF(kMargemLateral, y, largura, 620), QStringLiteral("Gráfico de Abrams"), kFonteDoTitulo, kAzul,
            Qt::AlignHCenter);
    y += 700;
    if (!abrams.titulo.isEmpty()) {
        escreve(folha, QRectF(kMargemLateral, y, largura, 420), abrams.titulo, kFonteDoTraco, kPreto, Qt::AlignHCenter);
        y += 600;
    }
    const double altura = largura / kProporcaoDoGraficoDeAbrams;
    folha.drawPicture(grafico, QRectF(kMargemLateral, y, largura, altura));
    y += altura + 300;
    for (const QString& linha : calc::linhasDeAbrams(abrams)) {
        escreve(folha, QRectF(kMargemLateral, y, largura, kAlturaDaLinha), linha, kFonteDoTexto, kPreto, Qt::AlignLeft);
        y += kAlturaDaLinha;
    }
    escreve(folha, QRectF(kMargemLateral, folha.pageHeight() - kMargemInferior + 200, largura, 240), avisoDoRodape(),
            kFonteDoRodape, kPreto, Qt::AlignLeft);
    folha.endDoc();
}

} // namespace printing
