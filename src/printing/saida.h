#pragma once

#include "relatorio.h"

#include <QPageLayout>
#include <QString>

// Where a document of the page model goes without a printer: a PDF file. It takes the pages edge to edge on paper of
// the document's size, as the printer does, so both match the preview.
namespace printing {

class Documento;

// The document's paper with no margins: its size, in the document's orientation.
QPageLayout papelDoDocumento(const Documento& documento);

// Writes every page to a PDF file. The file is replaced only once it is complete: on failure it is left as it
// was and `erro` says why, in Portuguese.
bool gravaPdf(const Documento& documento, const QString& arquivo, const QString& titulo = QString(),
              QString* erro = nullptr);

// Runs a catalogue report straight into a PDF file, a page at a time as it is composed, so that a report of any
// length takes the memory of one page. The file is replaced only once it is complete: cancelled through the
// progress (false, `erro` left empty) or failed (false, `erro` says why), it is left as it was.
bool gravaPdf(Relatorio& relatorio, const QString& arquivo, const ProgressoDoRelatorio& progresso = {},
              QString* erro = nullptr);

} // namespace printing
