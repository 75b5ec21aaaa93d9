#pragma once

#include "documento.h"
#include "indicedorelatorio.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QSqlRecord;

namespace platform {
class Database;
class RecordSet;
} // namespace platform

// The two catalogue reports: every stored mix ("Quenvar - Todos", all variants) and the mixes in use ("Quenvar - Em
// Uso", one per name). Each mix gets one detail block with the same figures as its one-page sheet, loaded from its
// row by CarregaTraco; blocks are grouped by mix name under a group header, and every page has the company's logo,
// the report's caption and the print date above, and the maker's notice and the page number below.
//
// A report of a few mixes is composed whole, its pages kept (compoe). A long one is never held in memory: it is
// drawn a page at a time straight onto a PDF writer or a printer (desenha), or laid out once without drawing to
// learn where each page begins, so that the viewer composes only the page it shows (preparaPaginas, paginas).
// Every block and group header has a fixed height, so a page holds the same blocks however it is composed.
namespace printing {

enum class TipoRelatorio : int { Todos = 1, EmUso = 2 };

// Where each detail block was printed.
struct BlocoDoRelatorio
{
    QString titulo; // the mix title: name and two-digit variant
    int pagina = 0;
    double topo = 0.0; // twips from the page's top: the block's controls stand at their places below it
};

// Told how many rows of how many have been printed; answering false cancels the report.
using ProgressoDoRelatorio = std::function<bool(int feitos, int total)>;

class Relatorio : private Paginas
{
public:
    // Layout of the report, twips. Every control of a section stands at its place from the section's top and from
    // the left margin.
    static constexpr double kLarguraDoLayout = 9828.0;
    static constexpr double kMargemEsquerda = 1440.0;
    static constexpr double kMargemSuperior = 650.0;
    static constexpr double kMargemInferior = 650.0;
    static constexpr double kAlturaDoCabecalho = 1200.0;
    static constexpr double kAlturaDoGrupo = 348.0;
    static constexpr double kAlturaDoDetalhe = 6330.0;
    static constexpr double kAlturaDoRodape = 588.0;

    // `orientacaoDaImpressora` is the printer's orientation found at start; `logotipo` the picture of the page
    // header (nothing when empty or unreadable).
    Relatorio(TipoRelatorio tipo, platform::Database& banco, const QString& logotipo,
              Orientacao orientacaoDaImpressora = Orientacao::Retrato);

    TipoRelatorio tipo() const { return m_tipo; }
    platform::Database& banco() const { return m_banco; }
    const QString& logotipo() const { return m_logotipo; }
    // "Quenvar - Todos" or "Quenvar - Em Uso": the page header's title and the viewer's caption.
    QString legenda() const;
    static QString legenda(TipoRelatorio tipo);

    // How many rows the record source gives (the report's mixes). Throws platform::DbError.
    int contaLinhas() const;

    // The layout is for portrait paper: with the printer in landscape, whoever runs the report offers the user
    // portrait pages before composing.
    bool impressoraDeitada() const { return m_orientacaoInicial == Orientacao::Paisagem; }
    // The orientation of the pages composed: the printer's, unless the user took the other.
    Orientacao orientacaoDasPaginas() const { return m_orientacaoDasPaginas; }
    void defineOrientacaoDasPaginas(Orientacao orientacao) { m_orientacaoDasPaginas = orientacao; }

    Relatorio(const Relatorio&) = delete;
    Relatorio& operator=(const Relatorio&) = delete;
    ~Relatorio() override;

    // Runs the report: one block per row, on pages of the orientation chosen, every page and what was drawn on it
    // kept in documento(). False when the progress answered to cancel, with no page kept. Throws platform::DbError
    // when the rows cannot be read.
    bool compoe(const ProgressoDoRelatorio& progresso = {});
    // Runs the report keeping no page: each page is drawn, as it is composed, with the painter `destino` gives for
    // it (see Documento::startDoc), and let go of. Only the count of pages and rows is kept. False when cancelled.
    bool desenha(const Documento::DestinoDasPaginas& destino, const ProgressoDoRelatorio& progresso = {});
    // Lays the report out without drawing it, keeping the contents and where each page begins; paginas() then
    // composes a page when it is asked for, reading its rows again. False when cancelled.
    bool preparaPaginas(const ProgressoDoRelatorio& progresso = {});

    // The pages of the last run: the kept ones after compoe, composed on demand after preparaPaginas (the last few
    // shown are kept); none after desenha.
    const Paginas& paginas() const;
    // What a page (counted from 0) shows, laid out again when it was not kept.
    QList<ItemTexto> textosDaPagina(int indice) const;

    const Documento& documento() const { return m_documento; }
    Documento& documento() { return m_documento; }
    // The contents: where each name and each variant was printed.
    const IndiceDoRelatorio& indice() const { return m_indice; }
    // Where each block was printed, by compoe.
    const QList<BlocoDoRelatorio>& blocos() const { return m_blocos; }
    // Rows printed by the last run.
    int linhas() const { return m_linhas; }
    // The rows the last run went through, those deleted meanwhile included: its progress's total.
    int total() const { return m_total; }
    // The orientation kept at start; the report's own pages take portrait when the user says so, and the printer's
    // setting is never changed, so closing the report has nothing to restore.
    Orientacao orientacaoDaImpressora() const { return m_orientacaoInicial; }

private:
    // What the last run kept.
    enum class Guarda { Tudo, Paginas, Nada };
    // Where a page begins: the row of its first block, and whether that row's group was opened on an earlier page.
    struct InicioDaPagina
    {
        int linha = 0;
        bool continuaGrupo = false;
    };
    struct Leitura;

    bool executa(Guarda guarda, const ProgressoDoRelatorio& progresso);
    void preparaDocumento(Documento& documento) const;
    // Composes the page `indice` of the last preparaPaginas into `documento` (a page of its own), drawn with
    // `pintor` (nothing is drawn without one).
    void compoePagina(int indice, Documento& documento, QPainter* pintor) const;
    void limpa();

    int pageCount() const override;
    QSizeF pageSize() const override;
    void drawPage(QPainter& pintor, int indice, const QPointF& origem, double escala) const override;

    TipoRelatorio m_tipo;
    platform::Database& m_banco;
    QString m_logotipo;
    Orientacao m_orientacaoInicial;
    Orientacao m_orientacaoDasPaginas;
    Documento m_documento;
    IndiceDoRelatorio m_indice;
    QList<BlocoDoRelatorio> m_blocos;
    Guarda m_guarda = Guarda::Nada;
    int m_linhas = 0;
    int m_total = 0;
    std::vector<InicioDaPagina> m_inicios;
    // The rows and the lookups the pages composed on demand read again.
    std::unique_ptr<Leitura> m_leitura;
    // The pages composed on demand that were shown last, newest first.
    struct PaginaPronta
    {
        int indice = -1;
        QPicture figura;
    };
    mutable QList<PaginaPronta> m_prontas;
};

} // namespace printing
