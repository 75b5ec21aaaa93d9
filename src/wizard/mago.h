#pragma once

#include "calc/padroes.h"

#include "calc/calcstate.h"
#include "calc/consistencylimits.h"
#include "calc/wizardanswers.h"

#include <QDialog>

#include <array>
#include <functional>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QStackedWidget;
class QVBoxLayout;

namespace widgets {
class CaixaTexto;
}

namespace platform {
class Database;
}

namespace charts {
class GraficoAbrams;
}

namespace wizard {

// "Assistente para Determinação de um Traço de Concreto": designs a mix step by step from what the concrete must
// be. Five pages of questions (name and strength; cement class, superplasticiser and measuring condition; slump,
// coarse aggregate and its shape; use of the concrete and the fine/total aggregate ratio; physical data of the
// materials) and a result page with the experimental mix sheet, which can be printed or copied to the main window
// as a new mix. Loaded hidden at start-up, once the shared database is open; every showing starts a new design.
class Mago : public QDialog
{
    Q_OBJECT
public:
    // Where the wizard takes what belongs to other forms; the application sets them, and each has a stand-in so
    // that the wizard works alone.
    using FonteDeReferencias = std::function<calc::Padroes()>;
    using FonteDeLimites = std::function<calc::ConsistencyLimits()>;
    // An embeddable preview of the experimental mix sheet of the state, with its own printing and PDF buttons.
    using FabricaDeFolha = std::function<QWidget*(const calc::CalcState& estado, QWidget* pai)>;
    // Prints the sheet shown on the result page ("Im&primir"); `folha` is what the page shows.
    using Impressao = std::function<void(QWidget* folha, const calc::CalcState& estado)>;

    static constexpr int NumeroDePaginas = 6;
    static constexpr int PaginaDoResultado = 5;

    explicit Mago(platform::Database& db, QWidget* parent = nullptr);

    // The reference values of the specific-masses settings form; unset, those a new company starts with.
    void defineReferencias(FonteDeReferencias fonte) { m_referencias = std::move(fonte); }
    // The slump limits of the consistency classes; unset, the usual ones.
    void defineLimites(FonteDeLimites fonte) { m_limites = std::move(fonte); }
    // The sheet preview of the result page; unset, the page shows a summary of the mix.
    void defineFolha(FabricaDeFolha fabrica) { m_fabricaDeFolha = std::move(fabrica); }
    // What "Im&primir" does; unset, nothing.
    void defineImpressao(Impressao impressao) { m_impressao = std::move(impressao); }
    // The program's calculation state, which the wizard clears on opening and fills with its mix; the main window
    // owns it. Unset (or null), the wizard works on a state of its own.
    void defineEstado(calc::CalcState* estado);

    calc::CalcState& estado() const { return *m_estado; }
    // Set by "Copiar Traço": the main window copies the wizard's mix into a new record when the wizard closes.
    bool magoPendente() const { return m_magoPendente; }
    // The superplasticiser's water reduction as its box holds it (per cent), which the copy takes along.
    QString reducaoDeAgua() const;
    // The page shown, 0 to 5.
    int pagina() const { return m_pagina; }
    // The answers as the pages hold them now.
    calc::WizardAnswers respostas() const;
    // What the result page shows (the sheet preview or the summary); null before the first finish.
    QWidget* folha() const { return m_folha; }

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Past a page's last control the focus goes to the button that moves forward, never to Fechar.
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    // The caption without the mix: the result page adds the mix's title to it.
    static QString legenda();
    enum Botao { Voltar = 0, Avancar = 1, Concluir = 2, Fechar = 3 };

    QWidget* criaPasso(int pagina, QWidget* controles);
    QWidget* criaPagina0();
    QWidget* criaPagina1();
    QWidget* criaPagina2();
    QWidget* criaPagina3();
    QWidget* criaPagina4();
    QWidget* criaPagina5();
    QWidget* criaGuia();
    void criaBotoes();

    void Form_Activate();
    void MostraPasso();
    void mostraPagina(int pagina);
    void BotaoAssiste_Click(int indice);
    void volta();
    void avanca();
    void conclui();
    void copiaTraco();
    int verificaPagina0() const;
    void avisaPagina0(int codigo);
    bool VerificaValores();

    void CalculaDosagem();
    void calculaTraco();
    void montaFolha();
    void focaPrimeiroControle();
    void mostraConsistencia();
    void relacaoEscolhida(int uso, int posicao);
    void mostraLimites();
    // A strength below the least of the class chosen: the user may go back to raise it (false) or go on (true).
    // Asked once for each strength, class and kind of element.
    bool resistenciaDaClasse();
    QString m_classeAceita;
    calc::ConsistencyLimits limites() const;
    // The bag mass of the class's cement; names the cement in the state.
    std::optional<double> pesoDoSaco();

    // Pages and their texts.
    QStackedWidget* m_painel = nullptr;
    std::array<QLabel*, 5> m_titulo{};
    std::array<QLabel*, 5> m_conteudo{};
    std::array<QLabel*, NumeroDePaginas> m_guia{};
    std::array<QPushButton*, 4> m_botao{};

    // Page 0.
    QComboBox* m_nomeTraco = nullptr;
    widgets::CaixaTexto* m_resistencia = nullptr;
    // Page 1.
    QComboBox* m_classeCimento = nullptr;
    QCheckBox* m_plastificanteOpcao = nullptr;
    QLabel* m_plastificanteLabel = nullptr;
    QComboBox* m_plastificanteCombo = nullptr;
    QButtonGroup* m_opcaoForma = nullptr;
    // Page 2.
    QComboBox* m_abatimento = nullptr;
    QLabel* m_consistencia = nullptr;
    QComboBox* m_agregadoGraudo = nullptr;
    QButtonGroup* m_opcaoTextura = nullptr;
    // Page 3: one ratio list per use, only the chosen use's shown.
    QButtonGroup* m_tipoConcreto = nullptr;
    std::array<QComboBox*, 4> m_concretoTipo{};
    // Durability: the class of the environment, the kind of element and the limits they bring.
    QComboBox* m_classeAgressividade = nullptr;
    QComboBox* m_estrutura = nullptr;
    QLabel* m_limitesDaClasse = nullptr;
    // The strength law with the design's ratio on it, drawn again whenever the ratios are proposed.
    charts::GraficoAbrams* m_grafico = nullptr;
    // Page 4.
    std::array<widgets::CaixaTexto*, 6> m_texto{};
    widgets::CaixaTexto* m_umidadeAreia = nullptr;
    // Page 5.
    QVBoxLayout* m_areaDaFolha = nullptr;
    QWidget* m_folha = nullptr;

    platform::Database& m_db;
    int m_pagina = 0;
    bool m_magoPendente = false;
    // The result page has quantities: a cement product of the class with its bag mass was found.
    bool m_temQuantidades = false;
    // The wizard's own writes to the ratio lists are not the user's choice.
    bool m_preenchendoRelacoes = false;
    // The button the pointer last came onto, so that its sound plays once per arrival.
    QObject* m_ultimoBotao = nullptr;

    calc::CalcState m_estadoProprio;
    calc::CalcState* m_estado = &m_estadoProprio;

    FonteDeReferencias m_referencias;
    FonteDeLimites m_limites;
    FabricaDeFolha m_fabricaDeFolha;
    Impressao m_impressao;
};

} // namespace wizard
