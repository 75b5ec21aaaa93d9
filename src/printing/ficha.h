#pragma once

#include <QString>
#include <QVariantMap>

namespace calc {
struct CalcState;
}

// The one-page mix sheet: a mix's quantities per batch and per cubic metre, by mass and by loose volume, its
// proportions and how to read them, the characteristics it was designed for and, for a stored mix, its mass and
// cost per cubic metre.
namespace printing {

class Documento;

// Whether the sheet can be printed: 0 it can, 1 the paper would not stay in portrait, 2 no printer is installed or
// the page has no size. Writing a PDF needs no printer: a sheet with a page is composed in state 2 all the same.
enum class EstadoImpressora : qint16 { Pronta = 0, SemRetrato = 1, SemImpressora = 2 };

// Where the mix on the sheet comes from.
struct OrigemDaFicha
{
    // The busy flag: true for a stored mix of the catalogue, whose row gives the header (in use or inactive, the
    // dates) and the cost lines; false for the wizard's experimental mix.
    bool ocupado = false;
    // The stored row (fields of Tracos): Plantao, DataCadastro, DataCotacao, Peso, PrecoCustoSemPerda, Perda,
    // PrecoCustoComPerda are read from it.
    QVariantMap linha;
    // The picture printed in the top left corner; nothing when empty or unreadable.
    QString logotipo;

    static OrigemDaFicha gravado(const QVariantMap& linha, const QString& logotipo);
    static OrigemDaFicha experimental(const QString& logotipo);
};

// The company's logo of a data folder: Imagens/logo.bmp, or else Imagens/modelo.bmp; empty when neither exists.
QString logotipoDaPasta(const QString& pastaDados);
// The logo of the program's data folder.
QString logotipoPadrao();

// The title the sheet prints under "Traço de Concreto": the stored mix's name and variant, or the name given to
// the wizard.
QString tituloDaFicha(const calc::CalcState& estado, const OrigemDaFicha& origem);

// The characteristic lines of the sheet that describe the mix's codes, which the catalogue reports print too: the
// shape of the coarse aggregate (from the shape factor), the measuring condition (from the standard deviation) and
// the use of the concrete; a code without a text gives the line that says it was not given.
QString textoDaForma(const calc::CalcState& estado);
QString textoDaMedicao(const calc::CalcState& estado);
QString textoDoUso(const calc::CalcState& estado);

// A date field as the sheet prints it, "dd-mm-yyyy"; a text that is not a date as it is, Null as nothing.
QString dataDoCampo(const QVariant& valor);

// The maker's notice at the foot of every sheet.
QString avisoDoRodape();

// A number in the sheet's "####.0" and "####.00" patterns: `casas` decimals, no zero before the decimal separator
// (0,25 prints as ",25"), the locale's separator, no thousands separator.
QString semZeroAEsquerda(double valor, int casas);

// Sets the sheet's page up (portrait, margins of 500 twips, the left-hand block) and tells whether it can be
// printed; `impressoraInstalada` says whether the system has a printer (the preview asks; a PDF needs none).
// Nothing is said to the user here: the window that shows the sheet tells of states 1 and 2.
EstadoImpressora PreparaFolha(Documento& folha, bool impressoraInstalada = true);

// Composes the sheet of the mix in `estado` into `folha`. Nothing at all when the page has no size: false then.
bool ImprimeTraco(Documento& folha, EstadoImpressora impressora, const calc::CalcState& estado,
                  const OrigemDaFicha& origem);

} // namespace printing
