#pragma once

#include "printing/documento.h"
#include "printing/ficha.h"

#include <QWidget>

#include <array>
#include <functional>

class QComboBox;
class QFrame;
class QPushButton;

namespace calc {
struct CalcState;
}

namespace preview {

class Visualizador;

// The mix sheet's preview with its panel: the zoom list `Lente`, the buttons `Botao` 0 "Imprimir", 1 "Diminuir",
// 2 "Aumentar", 3 "Salvar PDF", and the preview `Folha` under them. The preview form ImpTraco is made of one; the
// wizard puts one on its result page for the experimental mix.
class PreviaTraco : public QWidget
{
    Q_OBJECT
public:
    enum Botoes { BotaoImprimir = 0, BotaoDiminuir = 1, BotaoAumentar = 2, BotaoSalvarPdf = 3 };

    // Asks where to write the PDF: the parent and the suggested file; an empty answer gives up.
    using EscolheArquivo = std::function<QString(QWidget* pai, const QString& sugestao)>;

    explicit PreviaTraco(QWidget* parent = nullptr);
    ~PreviaTraco() override;

    QFrame* Painel = nullptr;
    QComboBox* Lente = nullptr;
    std::array<QPushButton*, 4> Botao{};
    Visualizador* Folha = nullptr;

    printing::Documento& documento() { return m_documento; }
    const printing::Documento& documento() const { return m_documento; }
    printing::EstadoImpressora estadoImpressora() const { return m_estado; }

    // PreparaFolha on the sheet, with the messages of states 1 and 2 (state 2 when the system has no printer), and
    // the preview's zoom at 70.
    printing::EstadoImpressora PreparaFolha();
    // Composes the sheet of a mix and shows it. `formulario`, when given, is the host form whose caption grows by
    // the mix title.
    void ImprimeTraco(const calc::CalcState& estado, const printing::OrigemDaFicha& origem,
                      QWidget* formulario = nullptr);
    // What a host does to show a mix: PreparaFolha, ImprimeTraco and the zoom at 100 %.
    void mostraFicha(const calc::CalcState& estado, const printing::OrigemDaFicha& origem,
                     QWidget* formulario = nullptr);
    // Shows a page other than the sheet, composed straight into documento(), under `titulo` (the PDF's default name),
    // from its top at 100 %.
    void mostraDocumento(const QString& titulo);
    // Empties the preview.
    void limpa();
    // The mix title of the sheet shown (the PDF's default name).
    QString titulo() const { return m_titulo; }

    // The current zoom in per cent, as the panel keeps it.
    qint16 zoom() const { return m_zoom; }
    // Puts preview, list and the kept zoom at this zoom.
    void defineZoom(qint16 zoom);

    // The panel's events: a text chosen in the zoom list, a button clicked.
    void LenteClick(const QString& texto);
    void BotaoClick(int indice);

    // Opens the print dialog and prints when the user confirms. True when it printed.
    bool imprimir();
    // Writes the sheet to a PDF file chosen in the save dialog (the mix title is the suggested name). True when
    // written; a failure is told to the user.
    bool salvarPdf();

    // Replaces the save dialog (tests answer it); an empty function puts the dialog back.
    static void defineEscolhaDeArquivo(EscolheArquivo escolha);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void zoomDaFolha(double zoom);
    void mostraZoomNaLente(double zoom);

    printing::Documento m_documento;
    printing::EstadoImpressora m_estado = printing::EstadoImpressora::Pronta;
    qint16 m_zoom = 100;
    int m_ultimoBotao = -1;
    QString m_titulo;
};

} // namespace preview
