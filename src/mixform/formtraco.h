#pragma once

#include "calc/consistencylimits.h"
#include "calc/padroes.h"
#include "catalogue/catalogo.h"
#include "catalogue/consultas.h"
#include "desktop/dialogs.h"
#include "platform/recordset.h"

#include <QDate>
#include <QVariant>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace calc {
struct CalcState;
struct WizardAnswers;
} // namespace calc
namespace platform {
class Database;
}
namespace widgets {
class CaixaTexto;
}
namespace catalogue {
class TabelaProdutos;
class ProdutosLembrados;
} // namespace catalogue

namespace mixform {

using catalogue::Aviso;
using catalogue::Catalogo;
using catalogue::Consulta;
namespace Consultas = catalogue::Consultas;
using catalogue::Gravacao;
using catalogue::TracoAGravar;
using catalogue::TracoLido;

class JanelaTraco;
using catalogue::TabelaProdutos;

// The catalogue of mixes as the main window shows it: the tab control `Pasta` with every field of one mix, the six
// navigation buttons under it, and the record sets behind them. It shows the current row (MostraNumero), moves
// through the catalogue and switches its fields between viewing and editing; the main window around it holds the
// menus, the tool bars and the status bar.
class FormTraco : public QWidget
{
    Q_OBJECT
public:
    enum class Operacao { Visualizar, Inserir, Alterar };
    // Navigation buttons: first, previous, previous name in use, next name in use, next, last.
    enum Botao { Primeiro = 0, Anterior = 1, AnteriorEmUso = 2, ProximoEmUso = 3, Proximo = 4, Ultimo = 5 };

    FormTraco(platform::Database& db, calc::CalcState& estado, QWidget* parent = nullptr);
    ~FormTraco() override;

    // The main window around the form: its tools, status bar and tool bars.
    void defineJanela(JanelaTraco* janela) { m_janela = janela; }

    // Where the consistency limits come from (the consistency settings form once it is loaded).
    void defineLimites(std::function<calc::ConsistencyLimits()> limites) { m_limites = std::move(limites); }
    calc::ConsistencyLimits limites() const;

    // Opens the four record sets, counts the catalogue, takes the date of the prices and fills the lists. Errors of
    // the database reach the caller, which decides what the window does with them.
    void abre();
    void fecha();

    // The fields' side of the mode switch.
    void Modo(Operacao operacao);
    // Copies the current row into the window, each step on its own: a step that fails is skipped.
    void MostraNumero();
    // Navigation button i pressed.
    void Movimenta(int botao);
    void MostraMovimento(bool visivel);

    // Position of a text in a list, counting from 1; 0 when absent or when the list is empty.
    static int ProcuraNaLista(const QComboBox* lista, const QString& texto);

    // The help topic of a control: the page of `Pasta` it stands on (3001 for the first page), 0 elsewhere.
    int topicoAjuda(const QWidget* controle) const;

    // Where the window sends a right click (MenuBotao) and an Enter that moves to the next field.
    void defineMenuBotao(std::function<void(QWidget*)> menuBotao) { m_menuBotao = std::move(menuBotao); }
    void defineEnter(std::function<void()> enter) { m_enter = std::move(enter); }
    // What "Gráfico de Abrams…" of the results page opens; unset, the button does nothing.
    void defineGraficoAbrams(std::function<void()> mostra) { m_graficoAbrams = std::move(mostra); }

    // Editing the catalogue.
    void Inserindo();
    void Alterando();
    void Excluindo();
    // How an insert or edit ends.
    enum class Fim { Gravar, Cancelar };
    void Gravando(Fim fim);
    // Reads the catalogue again in its order (rows of other workstations included) and goes to the mix of key
    // `codigo`.
    void OrdenarTracos(std::optional<qint64> codigo);
    // Shows the mix of key `codigo`, chosen elsewhere than with the navigation buttons (a list of the catalogue); the
    // buttons go on from it. Refused while a mix is inserted or edited: the window settles that edit first.
    bool mostraTraco(qint64 codigo);
    // Reads the name list again from the catalogue.
    void recarregaNomes();
    // Fills the name list on screen with the catalogue's names as last read.
    void mostraNomes();
    // Recalculates the mix from the boxes while it is inserted or edited, and shows the results.
    void ReCalculo();
    // Shows the mix the wizard designed as a new record being inserted, and recalculates it.
    // The wizard's answers give the physical data and the moisture it designed with.
    void CopiandoTraco(const calc::WizardAnswers& respostas);

    // The catalogue's rules of names, variants and the mix in use.
    Catalogo& catalogo() { return m_catalogo; }

    // Cost boxes hold numbers; these read and write them.
    double custo(int i) const;
    void defineCusto(int i, double valor);
    void mostraDurabilidade(const calc::CalcState& s);
    // The CO2 of the cubic metre's materials by the products' factors, and the products that have none.
    void mostraCO2(const calc::CalcState& s);
    // The products are read again at the next look-up: their factors or prices were changed by a settings form.
    void esqueceProdutos();

    // What each list, box and picture of the arrays below holds.
    enum Lista {
        ListaNome,
        ListaConsistencia,
        ListaCimento,
        ListaGraudo1,
        ListaGraudo2,
        ListaAditivo1,
        ListaAditivo2,
        ListaAbatimento,
        ListaReducao
    };
    enum CaixaDoTraco { CaixaNome, CaixaConsistencia, CaixaAbatimento, CaixaCadastro, CaixaCotacao, CaixaReducao };
    enum CaixaDeCusto { CustoSemPerda, CustoPerda, CustoComPerda };
    enum Figura { BetoneiraEmUso, BetoneiraParada };

    // Controls, named as the program names them.
    QTabWidget* Pasta = nullptr;
    std::array<widgets::CaixaTexto*, 10> TextoT{};
    std::array<widgets::CaixaTexto*, 10> TextoM{};
    std::array<widgets::CaixaTexto*, 6> TextoC{};
    std::array<widgets::CaixaTexto*, 6> TextoI{};
    std::array<widgets::CaixaTexto*, 7> Texto{};
    std::array<widgets::CaixaTexto*, 3> Custo{};
    // Durability: the class of the environment and the kind of element the mix is checked against, and how it
    // stands against their limits.
    QGroupBox* Durabilidade = nullptr;
    QComboBox* ClasseAgressividade = nullptr;
    QComboBox* Estrutura = nullptr;
    QLabel* TextoDurabilidade = nullptr;
    // "CO₂: … kg CO₂e/m³" of the materials, under the costs.
    QLabel* TextoCO2 = nullptr;
    QPushButton* GraficoAbrams = nullptr;
    std::array<QComboBox*, 9> Combo{};
    std::array<QLabel*, 10> CompT{};
    std::array<QLabel*, 10> CompM{};
    std::array<QLabel*, 10> UnidT{};
    std::array<QLabel*, 10> UnidM{};
    std::array<QRadioButton*, 3> OpcaoForma{};
    std::array<QRadioButton*, 3> OpcaoTextura{};
    std::array<QRadioButton*, 4> TipoConcreto{};
    QComboBox* ClasseCimento = nullptr;
    QLabel* RotVar = nullptr;
    QCheckBox* TracoCorrente = nullptr;
    QLabel* RotuloPlantao = nullptr;
    std::array<QLabel*, 2> Betoneira{};
    QLabel* Faixa = nullptr;
    std::array<QGroupBox*, 6> Massa{};
    std::array<QPushButton*, 6> Movimento{};
    QLabel* Redutor = nullptr;
    QLabel* Reducao = nullptr;
    QLabel* perc1 = nullptr;
    QLabel* perc2 = nullptr;

    // The catalogue as the record set reads it, where the window stands in it and how many mixes it has.
    platform::RecordSet& tracos() { return m_catalogo.tracos(); }
    const platform::RecordSet& tracos() const { return m_catalogo.tracos(); }
    int posicao() const { return m_catalogo.posicao(); }
    int totalRegistros() const { return m_catalogo.total(); }

    // Window state kept for the whole run.
    bool inserindo = false;
    bool alterando = false;
    bool magoPendente = false;
    bool cancelando = false;
    QString nomeAntigo;
    QVariant marcadorSalvo;
    QDate dataPrecoCusto;
    // How long a save waits, all tries together, for a database another workstation holds.
    int esperaMaximaMs = 20000;
    // The longest name the catalogue keeps.
    static constexpr int TamanhoDoNome = 50;
    // No quantity of a batch or of a cubic metre reaches a million: beyond it the boxes cannot show it.
    static constexpr double kMaiorQuantidade = 1e6;

signals:
    // "Registro 3/12", for the status bar.
    void registro(const QString& texto);
    // The catalogue was read again after a write (a save, an insert, a delete) or another workstation's change.
    void catalogoAlterado();

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    QWidget* montaPaginaTraco();
    QWidget* montaPaginaComponentes();
    QWidget* montaPaginaResultados();
    QWidget* sobreposto(QWidget* baixo, QComboBox* cima);
    widgets::CaixaTexto* caixa(const QString& nome, bool quantidade);
    void preencheListas();
    void preencheLista(QComboBox* lista, const QStringList& itens);
    QStringList consulta(const QString& sql);
    void mostraLinhaDeProduto(int linha, const QString& campoCodigo, const QString& campoTraco,
                              const QString& campoMetro);
    void mostraQuantidades(int linha, const QString& campoTraco, const QString& campoMetro);
    void ligaEventos();
    void explicaControles();
    void nomeiaControles();
    void nomeiaLinha(int linha);
    // Empties every box, as when the catalogue has no mix.
    void limpaTela();
    void validacao(int acao, bool& salvar);
    void selecionaPosicao(QComboBox* lista, int posicao);
    void preencheAbatimentos();
    void alteraTextoT(int linha);
    void alteraTextoM(int linha);
    // The product a list shows ("" for none), the captions and units of its row, and every product row's.
    QString produtoDaLista(int lista) const;
    void mostraProdutoDaLista(int lista);
    void legendasDasListas();
    void escolheMaterial(int lista);
    void escolheNumero(QComboBox* lista, const QString& texto);
    void alteraClasse(const QString& classe);
    void alteraReducao();
    void alteraForma(int i);
    void alteraPerda();
    void clicaTracoCorrente();
    void clicaBetoneira();
    void confereNome();
    void leEstadoDaJanela();
    void leDadosFisicos();
    // Shows a specific or bulk mass (0–5) or the moisture (6) given as text by the settings or the wizard.
    void mostraDadoFisico(int i, const QString& texto);
    void mostraAvisos(const QList<Aviso>& avisos);
    void mostraCalculo(bool comEditado);
    void mostraUnidadesSolidos();
    bool nomeAceito(const QString& nome);
    void corrigeONome(const QString& texto, const QString& titulo, desktop::Dialogs::Icone icone);
    // Checks what the window holds before a save and recalculates it one last time; on a refusal the user is told
    // why and the focus goes to the box to correct.
    bool tracoAceito();
    // The mix's own fields as the last recalculation and the boxes leave them.
    QVariantMap camposDoTraco();
    // The mix as the record set read it, for the write to check that no other workstation changed it since.
    TracoLido tracoLido() const;
    // Runs a write of the catalogue; while another workstation holds the database it waits, with the hourglass
    // and a word in the status bar, before giving up with DbError 3218.
    template <typename Escrita> auto comEspera(Escrita escrita) -> decltype(escrita());
    // A save refused by another workstation's write or by the catalogue's rules: told, and the edit stays open
    // (true), or ended as the user chose; false for the rest, which MostraErro tells (in the user's words for a
    // busy database, a full disk or a protected folder).
    bool recusaDaGravacao(const platform::DbError& erro);
    // Puts a new name in the name list where the catalogue's order has it.
    // Takes the name `antigo` out of the name list and puts `novo` in, either of them possibly empty.
    void trocaNaLista(const QString& antigo, const QString& novo);
    // Back to viewing; a new mix is looked for in the catalogue read again.
    void voltaAVisualizar(std::optional<qint64> reordena);
    // Shows the row of key `codigo` as stored now.
    void releTraco(qint64 codigo);
    // Ends the record set's edit or insert, if it has one.
    void descartaEdicao();
    // The mix shown was deleted at another workstation: told, and the catalogue read again.
    void excluidoEmOutraEstacao();
    int selecionado(const std::array<QRadioButton*, 3>& grupo) const;

    platform::Database& m_db;
    calc::CalcState& m_estado;
    std::unique_ptr<TabelaProdutos> m_tabelaProdutos;
    // The products as this window last read them: forgotten when an insert or an edit begins, so that each edit is
    // priced once from the prices of that moment, the same on every keystroke and in the row saved.
    std::unique_ptr<catalogue::ProdutosLembrados> m_produtos;
    JanelaTraco* m_janela = nullptr;
    bool m_mudandoClasse = false;
    Catalogo m_catalogo;
    TracoLido m_lido;
    std::function<calc::ConsistencyLimits()> m_limites;
    std::function<void(QWidget*)> m_menuBotao;
    std::function<void()> m_enter;
    std::function<void()> m_graficoAbrams;
    QPushButton* m_ultimoBotao = nullptr;
    QList<QWidget*> m_paginas;
};

// What the mix form asks of the main window around it.
class JanelaTraco
{
public:
    virtual ~JanelaTraco() = default;
    // The whole mode switch: the window's tools and the form's fields.
    virtual void Modo(FormTraco::Operacao operacao) = 0;
    virtual void MostraStatus(const QString& texto) = 0;
    // Tool bar "Barra2" (save, cancel) instead of "Barra1" while a mix is inserted or edited.
    virtual void barraDeEdicao(bool editando) = 0;
    virtual bool fechando() const = 0;
    virtual calc::Padroes padroes() const = 0;
};

} // namespace mixform
