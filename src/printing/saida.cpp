#include "saida.h"

#include "documento.h"

#include "platform/aplicacao.h"

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <functional>

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

namespace {

// Opens the PDF file and its writer and lets `desenha` fill the pages (the first is open, each further one begins
// with the writer's newPage); the file is committed only when `desenha` answers true.
bool escrevePdf(const Documento& documento, const QString& arquivo, const QString& titulo, QString* erro,
                const std::function<bool(QPdfWriter&, QPainter&)>& desenha)
{
    QSaveFile saida(arquivo);
    if (!saida.open(QIODevice::WriteOnly)) {
        define(erro, QStringLiteral("Não foi possível criar o arquivo %1: %2").arg(arquivo, saida.errorString()));
        return false;
    }
    bool completo = false;
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
        completo = desenha(pdf, pintor);
        pintor.end();
    }
    if (!completo) {
        saida.cancelWriting();
        return false;
    }
    if (!saida.commit()) {
        define(erro, QStringLiteral("Não foi possível gravar o arquivo %1: %2").arg(arquivo, saida.errorString()));
        return false;
    }
    return true;
}

} // namespace

bool gravaPdf(const Documento& documento, const QString& arquivo, const QString& titulo, QString* erro)
{
    if (documento.pageCount() == 0) {
        define(erro, QStringLiteral("Não há página para gravar."));
        return false;
    }
    return escrevePdf(documento, arquivo, titulo, erro, [&documento](QPdfWriter& pdf, QPainter& pintor) {
        for (int pagina = 0; pagina < documento.pageCount(); ++pagina) {
            if (pagina > 0)
                pdf.newPage();
            documento.drawPage(pintor, pagina, QPointF(0.0, 0.0), 1.0);
        }
        return true;
    });
}

bool gravaPdf(Relatorio& relatorio, const QString& arquivo, const ProgressoDoRelatorio& progresso, QString* erro)
{
    define(erro, QString());
    // The paper is the report's: its document takes the orientation of the pages before composing.
    Documento papel;
    papel.setOrientation(relatorio.orientacaoDasPaginas());
    return escrevePdf(papel, arquivo, relatorio.legenda(), erro, [&](QPdfWriter& pdf, QPainter& pintor) {
        // At the writer's resolution one unit of the device is one twip.
        const auto destino = [&pdf, &pintor](int pagina) {
            if (pagina > 0)
                pdf.newPage();
            return &pintor;
        };
        return relatorio.desenha(destino, progresso);
    });
}

} // namespace printing
