#include "saida.h"

#include "documento.h"

#include "desktop/dialogs.h"
#include "desktop/som.h"
#include "platform/aplicacao.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
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

void preparaImpressora(const Documento& documento, QPrinter& impressora)
{
    impressora.setFullPage(true);
    impressora.setPageLayout(QPageLayout(tamanhoDoPapel(documento), orientacaoDe(documento), QMarginsF()));
}

std::function<bool()>& procuraDeImpressora()
{
    static std::function<bool()> procura;
    return procura;
}

void define(QString* erro, const QString& texto)
{
    if (erro)
        *erro = texto;
}

} // namespace

bool haImpressora()
{
    const std::function<bool()>& procura = procuraDeImpressora();
    return procura ? procura() : !QPrinterInfo::defaultPrinter().isNull();
}

void defineProcuraDeImpressora(std::function<bool()> procura)
{
    procuraDeImpressora() = std::move(procura);
}

void avisaSemImpressora()
{
    desktop::TocaSom(desktop::Som::Erro);
    desktop::Dialogs::aviso(QStringLiteral("Tem que instalar uma impressora!\rPara utilizar todo recurso do Programa."),
                            QStringLiteral("Instalar Impressora"), desktop::Dialogs::Icone::Nenhum);
}

bool imprime(const Documento& documento, QPrinter& impressora)
{
    if (documento.pageCount() == 0)
        return false;
    preparaImpressora(documento, impressora);
    int primeira = 1;
    int ultima = documento.pageCount();
    if (impressora.printRange() == QPrinter::PageRange) {
        primeira = std::max(primeira, impressora.fromPage());
        ultima = std::min(ultima, impressora.toPage());
    }
    QPainter pintor;
    if (!pintor.begin(&impressora))
        return false;
    // With the whole paper to draw on, the page's corner is the device's origin.
    const double escala = impressora.resolution() / kTwipsPorPolegada;
    for (int pagina = primeira; pagina <= ultima; ++pagina) {
        if (pagina > primeira)
            impressora.newPage();
        documento.drawPage(pintor, pagina - 1, QPointF(0.0, 0.0), escala);
    }
    return pintor.end();
}

bool imprimeComDialogo(const Documento& documento, QWidget* pai, const QString& titulo)
{
    if (documento.pageCount() == 0)
        return false;
    if (!haImpressora()) {
        avisaSemImpressora();
        return false;
    }
    QPrinter impressora(QPrinter::HighResolution);
    preparaImpressora(documento, impressora);
    impressora.setDocName(titulo.isEmpty() ? platform::Aplicacao::titulo() : titulo);
    impressora.setFromTo(1, documento.pageCount());
    QPrintDialog dialogo(&impressora, pai);
    dialogo.setMinMax(1, documento.pageCount());
    if (desktop::Dialogs::atual().mostraModal(&dialogo) != QDialog::Accepted)
        return false;
    return imprime(documento, impressora);
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
        pdf.setPageLayout(QPageLayout(tamanhoDoPapel(documento), orientacaoDe(documento), QMarginsF()));
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
