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

#include <climits>
#include <utility>

namespace preview {

namespace {

using desktop::Dialogs;

void preparaImpressora(const printing::Documento& documento, QPrinter& impressora)
{
    impressora.setFullPage(true);
    impressora.setPageLayout(printing::papelDoDocumento(documento));
}

// The pages the printer was asked for, from 1: all of them, or its page range.
std::pair<int, int> paginasPedidas(const QPrinter& impressora, int paginas)
{
    if (impressora.printRange() != QPrinter::PageRange)
        return {1, paginas};
    return {std::max(1, impressora.fromPage()), std::min(paginas, impressora.toPage())};
}

// Opens the print dialog on a printer set up for the document's paper and prints through `imprimeNa` when the
// user confirms.
bool comDialogo(const printing::Documento& papel, int paginas, QWidget* pai, const QString& titulo,
                const std::function<bool(QPrinter&)>& imprimeNa)
{
    if (paginas == 0)
        return false;
    if (!haImpressora()) {
        avisaSemImpressora();
        return false;
    }
    QPrinter impressora(QPrinter::HighResolution);
    preparaImpressora(papel, impressora);
    impressora.setDocName(titulo.isEmpty() ? platform::Aplicacao::titulo() : titulo);
    impressora.setFromTo(1, paginas);
    QPrintDialog dialogo(&impressora, pai);
    dialogo.setMinMax(1, paginas);
    if (Dialogs::atual().mostraModal(&dialogo) != QDialog::Accepted)
        return false;
    return imprimeNa(impressora);
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
    const auto [primeira, ultima] = paginasPedidas(impressora, documento.pageCount());
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
    return comDialogo(documento, documento.pageCount(), pai, titulo,
                      [&documento](QPrinter& impressora) { return imprime(documento, impressora); });
}

bool imprime(printing::Relatorio& relatorio, QPrinter& impressora, const printing::ProgressoDoRelatorio& progresso)
{
    printing::Documento papel;
    papel.setOrientation(relatorio.orientacaoDasPaginas());
    preparaImpressora(papel, impressora);
    // The report's pages are known once laid out; before that, every page the printer asks for.
    const int paginas = relatorio.paginas().pageCount() > 0 ? relatorio.paginas().pageCount() : INT_MAX;
    const auto [primeira, ultima] = paginasPedidas(impressora, paginas);
    QPainter pintor;
    if (!pintor.begin(&impressora))
        return false;
    const double escala = impressora.resolution() / printing::kTwipsPorPolegada;
    const auto destino = [&, primeira = primeira, ultima = ultima](int pagina) -> QPainter* {
        if (pagina + 1 < primeira || pagina + 1 > ultima)
            return nullptr;
        if (pagina + 1 > primeira)
            impressora.newPage();
        // With the whole paper to draw on, the page's corner is the device's origin.
        pintor.resetTransform();
        pintor.scale(escala, escala);
        return &pintor;
    };
    // Printing lays the report out again: what the viewer kept of it is taken back once printed.
    printing::Relatorio copia(relatorio.tipo(), relatorio.banco(), relatorio.logotipo(),
                              relatorio.orientacaoDaImpressora());
    copia.defineOrientacaoDasPaginas(relatorio.orientacaoDasPaginas());
    if (!copia.desenha(destino, progresso)) {
        impressora.abort();
        return false;
    }
    return pintor.end();
}

bool imprimeComDialogo(printing::Relatorio& relatorio, QWidget* pai,
                       const std::function<printing::ProgressoDoRelatorio()>& progresso)
{
    printing::Documento papel;
    papel.setOrientation(relatorio.orientacaoDasPaginas());
    return comDialogo(papel, relatorio.paginas().pageCount(), pai, relatorio.legenda(), [&](QPrinter& impressora) {
        return imprime(relatorio, impressora, progresso ? progresso() : printing::ProgressoDoRelatorio());
    });
}

} // namespace preview
