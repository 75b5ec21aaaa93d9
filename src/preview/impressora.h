#pragma once

#include "printing/ficha.h"
#include "printing/relatorio.h"

#include <QString>

#include <functional>

class QPrinter;
class QWidget;

namespace printing {
class Documento;
}

// The printer side of the page model: whether there is a printer, the print dialog, and what the user is told when
// a sheet cannot be printed. The pages go to the printer edge to edge on paper of the document's size, so they
// match the preview.
namespace preview {

// Whether there is a printer to print on: the system's default printer. Writing a PDF needs none.
bool haImpressora();
// Replaces the printer look-up (tests answer either way); an empty function puts the system's back.
void defineProcuraDeImpressora(std::function<bool()> procura);
// Tells the user that no printer is installed: the error sound and the program's "Instalar Impressora" message.
void avisaSemImpressora();
// Tells the user why the sheet just prepared cannot be printed: the error sound and "A impressora não permite
// impressão horizontal." for state 1, the missing printer for state 2, nothing for a sheet that can be printed.
void avisaEstadoDaImpressora(printing::EstadoImpressora estado);

// Prints the pages the printer was asked for (all of them, or its page range). False when the printer cannot be
// opened or the document has no page.
bool imprime(const printing::Documento& documento, QPrinter& impressora);

// Opens the print dialog (through the program's dialogs, so tests can answer it) on a printer set up for the
// document, and prints when the user confirms. With no printer installed the user is told so instead. True when it
// printed.
bool imprimeComDialogo(const printing::Documento& documento, QWidget* pai, const QString& titulo = QString());

// Prints a catalogue report a page at a time as it is composed, so that a report of any length takes the memory of
// one page: the pages the printer was asked for are drawn, the others only laid out. False when the printer cannot
// be opened or the progress answered to cancel (the print job is then abandoned).
bool imprime(printing::Relatorio& relatorio, QPrinter& impressora,
             const printing::ProgressoDoRelatorio& progresso = {});
// The print dialog for a report whose pages are laid out (its page count is known); once the user confirms,
// `progresso` gives the progress of the printing.
bool imprimeComDialogo(printing::Relatorio& relatorio, QWidget* pai,
                       const std::function<printing::ProgressoDoRelatorio()>& progresso = {});

} // namespace preview
