#pragma once

#include "printing/documento.h"
#include "printing/relatorio.h"

#include <QDialog>
#include <QList>

#include <functional>
#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QSplitter;
class QModelIndex;
class QToolBar;
class QTreeView;

namespace platform {
class Database;
}

namespace preview {

class ModeloDoIndice;
class Visualizador;

// The report viewer: the pages of a catalogue report with a tool bar to page through them (previous and next, a page
// number typed in, back and forward through the pages already shown), to zoom (in and out, the page's width, the
// whole page), to see one page or several side by side, to find a word, to copy the page shown, to print and to save
// a PDF, and the report's table of contents beside the pages.
class Visualiza : public QDialog
{
    Q_OBJECT
public:
    // Asks where to write the PDF: the parent and the suggested file; an empty answer gives up.
    using EscolheArquivo = std::function<QString(QWidget* pai, const QString& sugestao)>;

    explicit Visualiza(QWidget* parent = nullptr);
    ~Visualiza() override;

    // Binds a composed report to the viewer: its pages and contents are shown at 100 % from the first page, and
    // its caption becomes the form's.
    void RunReport(std::unique_ptr<printing::Relatorio> relatorio);
    const printing::Relatorio* relatorio() const { return m_relatorio.get(); }
    // Binds a document composed whole (a short report of its own) to the viewer, with its caption; it has no
    // contents.
    void mostraDocumento(std::unique_ptr<printing::Documento> documento, const QString& legenda);
    const printing::Documento* documento() const { return m_documento.get(); }

    QToolBar* Barra = nullptr;
    QToolBar* Navegacao = nullptr;
    QSplitter* Divisor = nullptr;
    QTreeView* Indice = nullptr;
    Visualizador* Visual = nullptr;
    QLineEdit* NumeroDaPagina = nullptr;
    QLabel* TotalDePaginas = nullptr;
    QLineEdit* Procura = nullptr;
    QLabel* Zoom = nullptr;

    // A tool of the bars by its English name ("Zoom in", "PrevPage", "&Back" …, "Page Width", "Whole Page",
    // "Save PDF").
    QAction* ferramenta(const QString& nome) const;

    // The page shown (the one at the top of the window), counted from 1.
    int paginaAtual() const;
    // Shows a page, counted from 1; one outside the report is refused. The page left is kept for Back.
    bool irParaPagina(int pagina);
    void voltar();
    void avancar();
    bool podeVoltar() const { return !m_voltar.isEmpty(); }
    bool podeAvancar() const { return !m_avancar.isEmpty(); }

    void aumentar();
    void diminuir();
    void larguraDaPagina();
    void paginaToda();
    void vistaUnica();
    void variasPaginas();
    // How many pages a row of the view holds: 1 in the single view.
    int paginasPorLinha() const;

    // Finds the next line of the report that holds the text (letter case aside), from the one found last, going
    // round to the first page after the last; marks it and shows its page. False, with a message, when no line holds
    // it; false and silent when the user cancelled the search's progress.
    bool localizar(const QString& texto);
    // The page shown to the clipboard, as its text (line by line, the boxes of a line separated by tabs) and as a
    // picture.
    void copiar();
    // The text of one page (counted from 0), as copiar puts it on the clipboard.
    QString textoDaPagina(int indice) const;
    bool imprimir();
    // Writes the report to a PDF chosen in the save dialog (the report's caption is the suggested name). True when
    // written; a failure is told to the user.
    bool salvarPdf();

    // Replaces the save dialog (tests answer it); an empty function puts the dialog back.
    static void defineEscolhaDeArquivo(EscolheArquivo escolha);

public slots:
    void done(int resultado) override;

private:
    QAction* acao(const QString& nome, const QString& legenda, const QString& dica);
    void montaIndice();
    void indiceClicado(const QModelIndex& entrada);
    void vaiPara(int pagina);
    void atualizaEstado();
    void mostraZoom(double zoom);
    void defineZoom(double zoom);
    void comeca();
    // What is shown, the catalogue report's or the document's: its pages, the texts of a page and its caption.
    const printing::Paginas* paginas() const;
    QList<printing::ItemTexto> textosDe(int indice) const;
    QString legenda() const;

    QToolBar* m_barra = nullptr; // where acao puts the next tool
    ModeloDoIndice* m_modeloDoIndice = nullptr;
    std::unique_ptr<printing::Relatorio> m_relatorio;
    std::unique_ptr<printing::Documento> m_documento;
    QString m_legenda;
    QList<int> m_voltar;
    QList<int> m_avancar;
    QString m_procurado;
    int m_paginaDoAchado = 0; // the line found last: its page and its place among the page's texts
    int m_achado = -1;
};

// Everything around a report run that a test replaces: the printer's orientation and the progress shown while
// the report is laid out, printed or written to a PDF file (given the parent and the number of rows), or searched
// by the viewer's Find (given the number of pages).
struct AmbienteDoRelatorio
{
    std::function<printing::Orientacao()> orientacao;
    std::function<printing::ProgressoDoRelatorio(QWidget* pai, int total)> progresso;
};
void defineAmbienteDoRelatorio(AmbienteDoRelatorio ambiente);

// The orientation of the default printer; portrait when there is none.
printing::Orientacao orientacaoDaImpressora();

// The main window's report commands: composes the report of every mix or of the mixes in use from the database,
// with the logo of the data folder, showing its progress, and shows it modally in the viewer through the program's
// dialogs. True when the viewer was shown; false for a cancelled report, no mix to print (the program's message is
// shown) or rows that could not be read (told to the user).
bool MostraRelatorio(printing::TipoRelatorio tipo, platform::Database& banco, const QString& logotipo, QWidget* pai);
// Shows a composed document modally in the viewer, through the program's dialogs, with print and PDF.
void MostraDocumento(std::unique_ptr<printing::Documento> documento, const QString& legenda, QWidget* pai);
// The progress of a long piece of work in a window with a "Cancelar" button (the test's, when one is set), shown
// only when the work takes a while.
printing::ProgressoDoRelatorio progressoNaJanela(QWidget* pai, int total, const QString& legenda, const QString& acao);

} // namespace preview
