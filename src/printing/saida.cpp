#include "saida.h"

#include "documento.h"

#include "platform/aplicacao.h"

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace printing {

namespace {

QPageSize tamanhoDoPapel(const Documento& documento)
{
    const QSizeF papel = documento.paperSize();
    return QPageSize(QSizeF(papel.width() / 20.0, papel.height() / 20.0), QPageSize::Point);
}

QPageLayout::Orientation orientacaoDe(const Documento& documento)
{
    return documento.orientation() == Orientacao::Retrato ? QPageLayout::Portrait : QPageLayout::Landscape;
}

void define(QString* erro, const QString& texto)
{
    if (erro)
        *erro = texto;
}

} // namespace

QPageLayout papelDoDocumento(const Documento& documento)
{
    return QPageLayout(tamanhoDoPapel(documento), orientacaoDe(documento), QMarginsF());
}

bool gravaPdf(const Documento& documento, const QString& arquivo, const QString& titulo, QString* erro)
{
    if (documento.pageCount() == 0) {
        define(erro, QStringLiteral("Não há página para gravar."));
        return false;
    }
    QSaveFile saida(arquivo);
    if (!saida.open(QIODevice::WriteOnly)) {
        define(erro, QStringLiteral("Não foi possível criar o arquivo %1: %2").arg(arquivo, saida.errorString()));
        return false;
    }
    {
        QPdfWriter pdf(&saida);
        pdf.setResolution(int(kTwipsPorPolegada));
        pdf.setPageLayout(papelDoDocumento(documento));
        pdf.setTitle(titulo);
        pdf.setCreator(platform::Aplicacao::titulo() + QLatin1Char(' ') + platform::Aplicacao::versao());
        QPainter pintor;
        if (!pintor.begin(&pdf)) {
            define(erro, QStringLiteral("Não foi possível escrever o PDF %1.").arg(arquivo));
            saida.cancelWriting();
            return false;
        }
        for (int pagina = 0; pagina < documento.pageCount(); ++pagina) {
            if (pagina > 0)
                pdf.newPage();
            documento.drawPage(pintor, pagina, QPointF(0.0, 0.0), 1.0);
        }
        pintor.end();
    }
    if (!saida.commit()) {
        define(erro, QStringLiteral("Não foi possível gravar o arquivo %1: %2").arg(arquivo, saida.errorString()));
        return false;
    }
    return true;
}

} // namespace printing
