#include "impressora.h"

#include "desktop/dialogs.h"
#include "desktop/som.h"
#include "platform/aplicacao.h"
#include "printing/documento.h"
#include "printing/saida.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace preview {

namespace {

using desktop::Dialogs;

void preparaImpressora(const printing::Documento& documento, QPrinter& impressora)
{
    impressora.setFullPage(true);
    impressora.setPageLayout(printing::papelDoDocumento(documento));
}

std::function<bool()>& procuraDeImpressora()
{
    static std::function<bool()> procura;
    return procura;
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
    Dialogs::aviso(QStringLiteral("Tem que instalar uma impressora!\rPara utilizar todo recurso do Programa."),
                   QStringLiteral("Instalar Impressora"), Dialogs::Icone::Nenhum);
}

void avisaEstadoDaImpressora(printing::EstadoImpressora estado)
{
    if (estado == printing::EstadoImpressora::SemRetrato) {
        desktop::TocaSom(desktop::Som::Erro);
        Dialogs::aviso(QStringLiteral("A impressora não permite impressão horizontal."),
                       QStringLiteral("Impressora Normal"), Dialogs::Icone::Nenhum);
    } else if (estado == printing::EstadoImpressora::SemImpressora) {
        avisaSemImpressora();
    }
}

bool imprime(const printing::Documento& documento, QPrinter& impressora)
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
    const double escala = impressora.resolution() / printing::kTwipsPorPolegada;
    for (int pagina = primeira; pagina <= ultima; ++pagina) {
        if (pagina > primeira)
            impressora.newPage();
        documento.drawPage(pintor, pagina - 1, QPointF(0.0, 0.0), escala);
    }
    return pintor.end();
}

bool imprimeComDialogo(const printing::Documento& documento, QWidget* pai, const QString& titulo)
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
    if (Dialogs::atual().mostraModal(&dialogo) != QDialog::Accepted)
        return false;
    return imprime(documento, impressora);
}

} // namespace preview
