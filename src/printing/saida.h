#pragma once

#include <QString>

#include <functional>

class QPrinter;
class QWidget;

// Where a document of the page model goes: the printer or a PDF file. Both take the recorded pages edge to edge
// on paper of the document's size, so they match the preview.
namespace printing {

class Documento;

// Whether there is a printer to print on: the system's default printer. Writing a PDF needs none.
bool haImpressora();
// Replaces the printer look-up (tests answer either way); an empty function puts the system's back.
void defineProcuraDeImpressora(std::function<bool()> procura);
// Tells the user that no printer is installed: the error sound and the program's "Instalar Impressora" message.
void avisaSemImpressora();

// Prints the pages the printer was asked for (all of them, or its page range). False when the printer cannot be
// opened or the document has no page.
bool imprime(const Documento& documento, QPrinter& impressora);

// Opens the print dialog (through the program's dialogs, so tests can answer it) on a printer set up for the
// document, and prints when the user confirms. With no printer installed the user is told so instead. True when it
// printed.
bool imprimeComDialogo(const Documento& documento, QWidget* pai, const QString& titulo = QString());

// Writes every page to a PDF file. The file is replaced only once it is complete: on failure it is left as it
// was and `erro` says why, in Portuguese.
bool gravaPdf(const Documento& documento, const QString& arquivo, const QString& titulo = QString(),
              QString* erro = nullptr);

} // namespace printing
