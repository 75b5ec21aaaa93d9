#include "folhaavulsa.h"

#include "documento.h"

#include "platform/clock.h"

#include <QLocale>

namespace printing {

void abreFolhaA4(Documento& folha, double margemLateral, double margemSuperior, double margemInferior)
{
    folha.setOrientation(Orientacao::Retrato);
    folha.setPaperSize(QSizeF(kLarguraA4, kAlturaA4));
    folha.setMarginLeft(margemLateral);
    folha.setMarginRight(margemLateral);
    folha.setMarginTop(margemSuperior);
    folha.setMarginBottom(margemInferior);
    folha.setHeader(QString());
    folha.setFooter(QString());
    folha.startDoc();
}

void escreve(Documento& folha, const QRectF& caixa, const QString& texto, const Fonte& fonte, const QColor& cor,
             Qt::Alignment alinhamento)
{
    if (texto.isEmpty())
        return;
    folha.setFonte(fonte);
    folha.setTextColor(cor);
    folha.textBox(caixa, texto, alinhamento, true);
}

QString textoDaImpressao()
{
    return QStringLiteral("Impresso: ") + QLocale().toString(platform::Clock::hoje(), QLocale::ShortFormat);
}

} // namespace printing
